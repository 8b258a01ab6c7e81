// "Count all phrases" through the engine: the phrase windows, where phrases
// end, phrases made only of words to ignore, the summary above the listing,
// and what the command puts aside and gives back.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "counting/engine.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/text.h"

namespace vorn {
namespace {

using Strings = std::vector<std::string>;

class AllPhrasesTest : public ::testing::Test {
 protected:
  AllPhrasesTest() : engine(&host) {
    engine.SetEventThrottle(1, std::chrono::milliseconds(0));
    engine.settings().Source = InputSource::kSingleFile;
    engine.settings().WordOrder = 1;
    engine.settings().DisplayFormat = 8;  // the phrases alone
  }

  // Counts the phrases of `text` with the dialog answered min-max:occ.
  RunOutcome Count(std::string_view text, int min, int max, int occ, bool exclude = false) {
    engine.settings().InputFilePath = dir.Write("in.txt", text);
    host.QueuePhrasesAnswer({DialogExit::kAccept, min - 1, max - 1, occ - 1, exclude, false});
    return engine.CountAllPhrases();
  }

  std::string Results() const { return TextToUtf8(engine.state().textbox.text()); }

  ScriptedHost host;
  Engine engine;
  TempDir dir;
};

TEST_F(AllPhrasesTest, EveryWindowOfTheLengthsChosen) {
  ASSERT_EQ(Count("alpha beta gamma delta\r\n", 2, 3, 1), RunOutcome::kListed);
  EXPECT_EQ(Results(),
            "There are 5 phrases with 2 to 3 words which occur at least once.\r\nThe longest "
            "phrase has 3 words.\r\n\r\nPhrase [longest has 16 characters]\r\nalpha beta\r\nalpha "
            "beta gamma\r\nbeta gamma\r\nbeta gamma delta\r\ngamma delta\r\n");
  EXPECT_EQ(host.label(Label::kNumOccurrences), "Number of different phrases found: 5");
  EXPECT_EQ(engine.settings().SuppressWords, 1);
  EXPECT_FALSE(engine.state().run.AllPhrasesMode);
  ASSERT_EQ(Count("alpha beta gamma alpha beta gamma\r\n", 3, 3, 2), RunOutcome::kListed);
  EXPECT_EQ(Results().substr(0, Results().find("\r\n\r\n")),
            "There is one phrase of 3 words which occurs at least twice.");
}

TEST_F(AllPhrasesTest, PhrasesEndAtAPeriodAndALineEnd) {
  engine.settings().TerminatePhraseAtPeriod = 1;
  engine.settings().TerminatePhraseAtEndOfLine = 1;
  ASSERT_EQ(Count("alpha beta. gamma delta\r\nepsilon zeta\r\n", 2, 2, 1), RunOutcome::kListed);
  EXPECT_NE(Results().find("\r\nalpha beta\r\nepsilon zeta\r\ngamma delta\r\n"), std::string::npos)
      << Results();
  // Without the period rule the phrase runs on over it.
  engine.settings().TerminatePhraseAtPeriod = 0;
  ASSERT_EQ(Count("alpha beta. gamma delta\r\n", 2, 2, 1), RunOutcome::kListed);
  EXPECT_NE(Results().find("\r\nbeta gamma\r\n"), std::string::npos) << Results();
}

TEST_F(AllPhrasesTest, PhrasesOfWordsToIgnore) {
  engine.settings().ExtraWords[0] = "the of";
  const std::string text = "the cat of the dog\r\nthe cat\r\n";
  // Listed unless excluded (the end-to-end listings show them left out).
  ASSERT_EQ(Count(text, 2, 2, 1, /*exclude=*/false), RunOutcome::kListed);
  EXPECT_NE(Results().find("(including phrases consisting entirely of words to ignore)."),
            std::string::npos);
  EXPECT_NE(Results().find("\r\nof the\r\n"), std::string::npos);
  // Nothing left: the summary alone, with the suggestion.
  ASSERT_EQ(Count(text, 2, 2, 3, /*exclude=*/true), RunOutcome::kListed);
  EXPECT_EQ(Results(),
            "There are no phrases of 2 words which occur at least 3 times\r\nwhen phrases "
            "consisting entirely of words to ignore are excluded.\r\n\r\nYou could try repeating "
            "the count without excluding phrases consisting only of words to ignore.");
}

TEST_F(AllPhrasesTest, CountOnlyEntriesArePutAsideAndComeBack) {
  engine.settings().ExtraWords[1] = "gamma";
  ASSERT_EQ(Count("alpha beta gamma\r\n", 2, 2, 1), RunOutcome::kListed);
  EXPECT_NE(Results().find("\r\nalpha beta\r\nbeta gamma\r\n"), std::string::npos) << Results();
  EXPECT_EQ(engine.state().lists.ExtraCountOnly, std::vector<Bytes>{"gamma"});
  // A later count counts only the entry again.
  engine.settings().DisplayFormat = 8;
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(engine.state().words.DistinctCount(), 1);
}

// In a folder run the phrases of one file never run on into the next.
TEST(AllPhrasesFolderTest, PhrasesStayInTheirFile) {
  TempDir dir;
  dir.Write("a.txt", "alpha beta");
  dir.Write("b.txt", "gamma delta");
  ScriptedHost host;
  Engine engine(&host);
  Settings& s = engine.settings();
  s.Source = InputSource::kFolder;
  s.FolderPath = dir.path();
  s.TerminatePhraseAtEndOfLine = 0;
  s.DisplayFormat = 8;
  s.WordOrder = 1;
  host.QueueAnswer(Answer::kOk);  // "Multiple files/folders"
  const TempDir elsewhere;
  host.QueueChosenPath(elsewhere.File("out.txt"));
  host.QueuePhrasesAnswer({DialogExit::kAccept, 1, 1, 0, false, false});
  ASSERT_EQ(engine.CountAllPhrases(), RunOutcome::kListed);
  EXPECT_EQ(ReadFileBytes(elsewhere.File("out.txt")).find("beta gamma"), std::string::npos);
  EXPECT_EQ(engine.state().words.DistinctCount(), 2);
}

}  // namespace
}  // namespace vorn
