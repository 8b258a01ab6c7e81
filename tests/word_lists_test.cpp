// The words-to-ignore and count-only lists as a count uses them: the boxes,
// the character check, the gate in front of the word list, phrases.

#include "counting/word_lists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting/engine.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/text.h"

namespace vorn {
namespace {

class WordListsTest : public ::testing::Test {
 protected:
  WordListsTest() : engine(&host) {
    engine.settings().Source = InputSource::kSingleFile;
    engine.settings().InputFilePath =
        dir.Write("a.txt",
                  "In New York today the cat sat. New York is big; the cat and the dog.\r\n"
                  "Zeta alpha the and Cat\r\n");
  }

  // The words of the listing, in its order.
  std::vector<std::string> Listed() const {
    std::vector<std::string> out;
    const EngineState& st = engine.state();
    for (int64_t i = st.stats.ChainHead; i != 0; i = st.words[i].NextInChain) {
      out.emplace_back(st.words.Word(i));
    }
    return out;
  }

  ScriptedHost host;
  Engine engine;
  TempDir dir;
};

TEST_F(WordListsTest, TheIgnoreBoxIsSortedAndItsWordsAreNotCounted) {
  engine.settings().ExtraWords[0] = " zeta  the and alpha ";
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(engine.settings().ExtraWords[0], "alpha and the zeta");
  EXPECT_EQ(host.settings_changed(), std::vector<std::string>{"ExtraWords0"});
  EXPECT_EQ(Listed(),
            (std::vector<std::string>{"cat", "new", "york", "big", "dog", "sat", "today"}));
  EXPECT_EQ(engine.state().words.DistinctCount(), 9);  // "in" and "is" are too short
  EXPECT_EQ(host.label(Label::kNumWordsExcluded),
            "No. of words ignored (other than words-to-ignore): 2");
}

TEST_F(WordListsTest, CountOnlyWordsAndPhrases) {
  engine.settings().ExtraWords[1] = "New York,  cat";
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(engine.state().lists.ExtraCountOnly, (std::vector<Bytes>{"cat", "new+york"}));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"cat", "new york"}));
  EXPECT_EQ(engine.state().words[1].Count, 3);
  EXPECT_EQ(host.label(Label::kNumberOfWords), "Both words or phrases to be counted were found.");
  EXPECT_EQ(host.label(Label::kNumWordsExcluded), "");

  // A phrase ends at a period: "sat. New" is no phrase.
  engine.settings().ExtraWords[1] = "sat new";
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_TRUE(Listed().empty());

  // "Count all words" puts the count-only entries aside for one run.
  engine.settings().ExtraWords[1] = "cat";
  host.QueueCountChoice(CountChoice::kCountAllWords);
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(Listed().size(), 11u);
  EXPECT_EQ(engine.state().lists.ExtraCountOnly, std::vector<Bytes>{"cat"});
}

TEST_F(WordListsTest, BoxCharactersThatCannotStandInWords) {
  struct Case {
    int box;
    std::string text;
    std::string message;  // "" when accepted
  };
  const Case cases[] = {
      {0, "zeta, alpha",
       "The character ',' occurs in some extra word-to-ignore\r\nbut is not currently set as a "
       "character allowed in a word.\r\n\r\nWords-to-ignore must be separated by a space, not "
       "by a comma."},
      {1, "zeta,alpha",
       "The character ',' occurs in some extra count-only word\r\nbut is not currently set as a "
       "character allowed in a word.\r\n\r\nCount-only words and phrases must be separated by "
       "comma+space, not just by comma."},
      {1, "zeta, alpha <a;b> b?t", ""},
      {0, "^the",
       "The character '^' occurs in some extra word-to-ignore\r\nbut is not a character allowed "
       "in a word.\r\n\r\nPerhaps some Word-to-ignore is a regular expression\r\nwithout angle "
       "brackets."},
      {0, "e-mail x#y",
       "The character '#' occurs in some extra word-to-ignore\r\nbut is not currently set as a "
       "character allowed in a word."},
  };
  for (const Case& c : cases) {
    host.Clear();
    engine.settings().ExtraWords = {"", ""};
    engine.settings().ExtraWords[static_cast<size_t>(c.box)] = c.text;
    const RunOutcome outcome = engine.CountWords();
    EXPECT_EQ(outcome, c.message.empty() ? RunOutcome::kListed : RunOutcome::kRefused) << c.text;
    if (!c.message.empty()) {
      EXPECT_EQ(host.Dialogs(), std::vector<std::string>{"Character not allowed|" + c.message});
    }
  }
}

TEST_F(WordListsTest, PhraseWindowsAndTheLongestEntry) {
  RestrictionLists lists;
  lists.ExtraCountOnly = {"a+b+c", "+x", "<a+b>+c"};
  lists.CountOnlyFileWords = {"new+york"};
  EXPECT_EQ(ComputeMaxPhraseWords(lists), 3);
  lists.ExtraCountOnly = {"<a+b+c>", "x+"};
  EXPECT_EQ(ComputeMaxPhraseWords(lists), 2);
  EXPECT_EQ(ComputeMaxPhraseWords(RestrictionLists()), 1);
}

TEST_F(WordListsTest, ACountOnlyFileIsNeverTheFileCounted) {
  Settings& s = engine.settings();
  s.WordsFiles[1].paths = {s.InputFilePath};
  s.WordsFiles[1].selected = 0;
  EXPECT_EQ(engine.CountWords(), RunOutcome::kRefused);
  EXPECT_EQ(host.Dialogs(),
            std::vector<std::string>{"Invalid input|The file to be scanned, " + s.InputFilePath +
                                     ",\r\ncannot be the same as the count-only words/phrases "
                                     "file\r\ncurrently specified in the Settings panel."});
}

}  // namespace
}  // namespace vorn
