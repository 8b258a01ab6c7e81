// Words files read into their lists, and counts restricted by them.

#include "counting/words_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting/engine.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/text.h"

namespace vorn {
namespace {

class WordsFilesTest : public ::testing::Test {
 protected:
  WordsFilesTest() : engine(&host) {
    engine.settings().Source = InputSource::kSingleFile;
    engine.settings().InputFilePath =
        dir.Write("text.txt",
                  "The colour and color of the watercolors.\r\nIn New York today, Paris. "
                  "That bat, this bet, the boat at o'clock.\r\n");
  }

  // Loads `bytes` as a words file of list `index`.
  void Load(int index, std::string_view name, std::string_view bytes) {
    engine.LoadWordsFile(index, dir.Write(name, bytes));
  }

  std::vector<std::string> Listed() {
    std::vector<std::string> out;
    const EngineState& st = engine.state();
    for (int64_t i = 1; i <= st.words.DistinctCount(); ++i) {
      if (st.words[i].Listed) out.emplace_back(st.words.Word(i));
    }
    return out;
  }

  const std::vector<Bytes>& CountOnly() const { return engine.state().lists.CountOnlyFileWords; }
  const std::vector<Bytes>& Ignore() const { return engine.state().lists.IgnoreFileWords; }

  ScriptedHost host;
  Engine engine;
  TempDir dir;
};

TEST_F(WordsFilesTest, ACountOnlyFileOfWordsPhrasesAndExpressions) {
  host.QueueAnswer(Answer::kNo);  // "Do you wish to list them?"
  Load(1, "only.txt",
       "New York, Paris\r\n/* a comment\r\nover two lines */ o'clock\r\n// a line comment\r\n"
       "<colou?r>\r\n");
  EXPECT_EQ(CountOnly(), (std::vector<Bytes>{"<colou?r>", "new+york", "o'clock", "paris"}));
  EXPECT_EQ(host.Dialogs(),
            std::vector<std::string>{"Count-only words/phrases loaded|Four "
                                     "count-only words/phrases loaded from " +
                                     dir.File("only.txt") + "\r\n\r\nDo you wish to list them?"});
  // Its words hold apostrophes: words may hold them now.
  EXPECT_EQ(engine.settings().AllowWordsWithApostrophes, 1);
  EXPECT_NE(std::find(host.settings_changed().begin(), host.settings_changed().end(),
                      "AllowWordsWithApostrophes"),
            host.settings_changed().end());

  // Without pattern matching the expression is no entry (with it, see the
  // end-to-end lists).
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"new york", "o'clock", "paris"}));
}

TEST_F(WordsFilesTest, AWordsToIgnoreFileWithWildcards) {
  Load(0, "ignore.txt", "b?t th~ OF\r\n");
  EXPECT_EQ(Ignore(), (std::vector<Bytes>{"b?t", "of", "th~"}));
  EXPECT_EQ(host.calls().back().kind, "popup");
  EXPECT_EQ(host.calls().back().text, "Three words-to-ignore loaded");
  // Without pattern matching the entries are only words.
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(Listed().size(), 15u);
}

// Each refused file is reported and leaves its list, which is then empty
// (the file check's other refusals are tested with the check).
TEST_F(WordsFilesTest, RefusedFiles) {
  struct Case {
    int index;
    std::string bytes;
    std::string dialog_start;
  };
  const Case cases[] = {
      {1, "bat, b?t\r\n",
       "Error when reading count-only words/phrases|The file %s contains words with wildcards: "
       "* ?\r\n\r\nEither these should be removed or regular expressions\r\nshould be used "
       "instead of simple patterns."},
      {0, "the <the>\r\n", "Error|Error when attempting to load words-to-ignore\r\nfrom file %s"},
      {0, std::string("\x01\x02\x03\x00\x05 binary", 12), "Not a text file|"},
  };
  for (const Case& c : cases) {
    host.Clear();
    const std::string path = dir.Write("words.txt", c.bytes);
    engine.LoadWordsFile(c.index, path);
    std::string want = c.dialog_start;
    if (const size_t at = want.find("%s"); at != std::string::npos) want.replace(at, 2, path);
    ASSERT_FALSE(host.Dialogs().empty()) << c.bytes;
    EXPECT_EQ(host.Dialogs()[0].substr(0, want.size()), want);
    EXPECT_TRUE(engine.settings().WordsFiles[static_cast<size_t>(c.index)].paths.empty());
    EXPECT_TRUE((c.index == 0 ? Ignore() : CountOnly()).empty());
  }
}

TEST_F(WordsFilesTest, OddButUsableFiles) {
  // CR line ends, LF line ends of a large file, an unclosed comment.
  host.QueueAnswer(Answer::kNo);
  Load(1, "mac.txt", "new york\rparis\r");
  EXPECT_EQ(CountOnly(), (std::vector<Bytes>{"new+york", "paris"}));
  std::string big;
  for (int i = 0; big.size() < 600000; ++i) big += "word" + std::to_string(i) + "x\n";
  Load(0, "unix.txt", big + "zebra /* never closed\nmore words\n");
  EXPECT_GT(Ignore().size(), 50000u);
  EXPECT_EQ(Ignore().back(), "zebra");
}

TEST_F(WordsFilesTest, ExpressionsThatCannotBeUsed) {
  host.QueueAnswer(Answer::kNo);
  Load(1, "only.txt", "paris\r\n<a.b> york\r\n<[a-z]+s>\r\n");
  EXPECT_EQ(CountOnly(), (std::vector<Bytes>{"<[a-z]+s>", "paris"}));
  EXPECT_EQ(host.Dialogs()[0],
            "Extra count-only words/phrases: inadmissible regular expression|<a.b>\r\ncontains "
            "an unescaped '.' outside square brackets.\r\nPerhaps use '[\\S]' instead of "
            "'.'.\r\n\r\nThe following line will be ignored:\r\n<a.b> york");

  // In the box: refused before the count.
  host.Clear();
  engine.settings().ExtraWords[1] = "<(a>";
  EXPECT_EQ(engine.CountWords(), RunOutcome::kRefused);
  EXPECT_EQ(host.Dialogs(),
            std::vector<std::string>{"Extra count-only words/phrases: inadmissible regular "
                                     "expression|<(a>\r\nis not a valid regular expression."});

  // An expression that would backtrack for ever ends the run with a report.
  host.Clear();
  engine.settings().ExtraWords[1] = "<(\\w+)+\\d>";
  engine.settings().InputFilePath =
      dir.Write("long.txt", "abcdefghij" + std::string(30, 'a') + " end\r\n");
  EXPECT_EQ(engine.CountWords(), RunOutcome::kFailed);
  ASSERT_EQ(host.Dialogs().size(), 1u);
  EXPECT_NE(host.Dialogs()[0].find("needs too much work to match a word."), std::string::npos);
}

}  // namespace
}  // namespace vorn
