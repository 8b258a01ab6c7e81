#include "counting/engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/str_proc.h"
#include "util/text.h"

namespace vorn {
namespace {

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() : engine(&host) {
    engine.SetEventThrottle(1, std::chrono::milliseconds(0));
    engine.settings().Source = InputSource::kSingleFile;
  }

  RunOutcome CountFile(std::string_view name, std::string_view bytes) {
    engine.settings().InputFilePath = dir.Write(name, bytes);
    return engine.CountWords();
  }

  std::string Results() const { return TextToUtf8(engine.state().textbox.text()); }

  ScriptedHost host;
  Engine engine;
  TempDir dir;
};

TEST_F(EngineTest, CountsAFileAndListsIt) {
  EXPECT_EQ(CountFile("a.txt", "The cat and the hat.\r\nThe end\r\n"), RunOutcome::kListed);
  EXPECT_EQ(Results(),
            "     Rank      Freq  Word [longest has 3 characters]\r\n"
            "        1         3  the\r\n"
            "        2         1  and\r\n"
            "        3         1  cat\r\n"
            "        4         1  end\r\n"
            "        5         1  hat\r\n");
  EXPECT_EQ(host.label(Label::kNumberOfWords), "Number of words in this list: 5");
  EXPECT_EQ(host.label(Label::kNumOccurrences), "Number of instances of words in this list: 7");
  EXPECT_EQ(host.label(Label::kTotalNumOccurrences), "Total number of instances of words: 7");
  EXPECT_EQ(host.label(Label::kNumWordsExcluded), "Number of words ignored: 0");
  EXPECT_TRUE(host.Dialogs().empty());
}

TEST_F(EngineTest, DisplayOptionsRelistWithoutANewCount) {
  ASSERT_EQ(CountFile("a.txt", "The cat and the hat.\r\nThe end\r\n"), RunOutcome::kListed);
  engine.settings().WordOrder = 1;
  engine.settings().DisplayFormat = 7;
  engine.DisplayOptionChanged(DisplayOption::kDisplayFormat);
  EXPECT_EQ(Results(),
            "  Word         Freq\r\n  and             1\r\n  cat             1\r\n"
            "  end             1\r\n  hat             1\r\n  the             3\r\n");
  engine.settings().DisplayRelativeFrequency = 1;
  engine.DisplayOptionChanged(DisplayOption::kRelativeFrequency);
  EXPECT_NE(Results().find("  the        42.86%\r\n"), std::string::npos) << Results();

  // Unticking "Disable output to file" offers to write the file.
  const std::string out = dir.File("out.txt");
  engine.settings().OutputFilePath = out;
  engine.settings().DisableOutputToFile = 0;
  engine.DisableOutputToFileChanged();
  EXPECT_EQ(host.Dialogs().back(), "Relist?|Relist words (so as to write to file)?");
  EXPECT_NE(ReadFileBytes(out).find("the       42.86%\r\n"), std::string::npos);
}

TEST_F(EngineTest, RefusesBadInputFiles) {
  struct Case {
    std::string path;
    std::string dialog;
  };
  const std::string folder = dir.path();
  dir.Write("empty.txt", "");
  const std::string fifo = dir.MakeFifo("fifo");
  const std::string loop = dir.MakeLinkLoop("loop");
  ASSERT_FALSE(fifo.empty() || loop.empty());
  const Case cases[] = {
      {"", "Invalid input|Input file not specified!"},
      {dir.File("missing.txt"), "File not found|Input file does not exist."},
      {folder + "/", "Invalid input|Invalid input file specification."},
      {folder, "Invalid input|" + folder + "\r\nis a folder, not a file."},
      {dir.File("empty.txt"), "Empty file|Input file is zero-length!"},
      {fifo, "Invalid input|" + fifo + "\r\nis not a regular file."},
      {"/dev/zero", "Invalid input|/dev/zero\r\nis not a regular file."},
      {loop, "Invalid input|" + loop + "\r\nis a link loop."},
      {"/proc/version",
       "Invalid input|/proc/version\r\nis a special file whose size is not known."},
  };
  for (const Case& c : cases) {
    host.Clear();
    engine.settings().InputFilePath = c.path;
    EXPECT_EQ(engine.CountWords(), RunOutcome::kRefused) << c.path;
    ASSERT_EQ(host.Dialogs().size(), 1u) << c.path;
    EXPECT_EQ(host.Dialogs()[0], c.dialog) << c.path;
  }
}

// The window trims what is typed into its input-file box; vorn-cli turns
// that off and reads a name with blanks at its ends as it is.
TEST_F(EngineTest, InputPathIsTrimmedUnlessTurnedOff) {
  const std::string plain = dir.Write("name.txt", "plain words\n");
  dir.Write("name.txt ", "blank words\n");
  engine.settings().InputFilePath = plain + " ";
  EXPECT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_NE(Results().find("plain"), std::string::npos) << Results();
  EXPECT_EQ(engine.settings().InputFilePath, plain);
  engine.SetTrimInputPath(false);
  engine.settings().InputFilePath = plain + " ";
  EXPECT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_NE(Results().find("blank"), std::string::npos) << Results();
  EXPECT_EQ(engine.settings().InputFilePath, plain + " ");
}

// An output file in a folder that does not exist: the run does not start.
TEST_F(EngineTest, OutputFileInAMissingFolder) {
  engine.settings().InputFilePath = dir.Write("in.txt", "some words here\n");
  engine.settings().OutputFilePath = dir.File("no/such/folder/out.txt");
  EXPECT_EQ(engine.CountWords(), RunOutcome::kRefused);
  EXPECT_EQ(Results().substr(0, 7), "Error: ");
  EXPECT_NE(Results().find("or a different file should be specified as the output file."),
            std::string::npos);
}

TEST_F(EngineTest, TinyUtf8File) {
  EXPECT_EQ(CountFile("tiny.txt", "\xC3\xB1u\xC3\xB1"), RunOutcome::kListed);  // "ñuñ"
  EXPECT_NE(Results().find(TextToUtf8(u"  \u00F1u\u00F1\r\n")), std::string::npos) << Results();
}

// A document that ends inside its head is counted as if it had none (where
// the head ends is tested with the head reader; a head passed over, with the
// tags of the body, is pinned by the markup_htm expected files).
TEST_F(EngineTest, AHeadThatNeverEndsIsCountedAsText) {
  EXPECT_EQ(CountFile("b.html", "<!DOCTYPE html>\n<title>kept title\nkept words\n"),
            RunOutcome::kListed);
  EXPECT_NE(Results().find("        1         2  kept\r\n"), std::string::npos) << Results();
}

// UTF-8 found only past the sample that the file's kind is judged by, and a
// declaration only past the lines looked at for one: the head that declares
// it makes the page read as UTF-8 from there on; a page without one reads
// as Windows-1252.
TEST_F(EngineTest, AHeadMayDeclareUtf8BelowTheLinesLookedAtFirst) {
  std::string head = "<!DOCTYPE html>\n<html><head>\n";
  for (int i = 0; i < 12; ++i) head += "<meta name=\"m" + std::to_string(i) + "\" content=\"c\">\n";
  const std::string body =
      "</head>\n<body>\n" + std::string(20000, 'x') + "\ncaf\xC3\xA9 caf\xC3\xA9\n";
  const std::string utf8_cafe = TextToUtf8(u"  caf\u00E9\r\n");
  ASSERT_EQ(CountFile("declared.htm", head + "<meta charset=\"utf-8\">\n" + body),
            RunOutcome::kListed);
  EXPECT_NE(Results().find("        2  caf"), std::string::npos) << Results();
  EXPECT_NE(Results().find(utf8_cafe), std::string::npos) << Results();
  ASSERT_EQ(CountFile("undeclared.htm", head + body), RunOutcome::kListed);
  EXPECT_EQ(Results().find(utf8_cafe), std::string::npos) << Results();
}

TEST_F(EngineTest, ALongLineCountsAsItsWords) {
  // Lines of several megabytes are read in pieces; the words across the
  // cuts, the UTF-8 characters and the blanks at the ends are those of the
  // whole line.
  std::string line = "\t  ";
  int64_t each = 0;
  while (line.size() < 5'000'000) {
    line += "caf\xC3\xA9 na\xC3\xAFve-ly x--y ";  // "x" and "y" are dropped
    ++each;
  }
  line += "finis\t \n";
  EXPECT_EQ(CountFile("long.txt", "start\n" + line + "end\n"), RunOutcome::kListed);
  EXPECT_EQ(host.label(Label::kNumberOfWords), "Number of words in this list: 5");
  EXPECT_EQ(host.label(Label::kTotalNumOccurrences),
            "Total number of instances of words: " + Grouped(2 * each + 3));
  for (const char16_t* w : {u"caf\u00E9", u"na\u00EFve-ly", u"finis", u"start"}) {
    EXPECT_NE(Results().find("  " + TextToUtf8(w) + "\r\n"), std::string::npos) << Results();
  }
}

TEST_F(EngineTest, FrequencyLimitsThatExcludeEverythingAreRefused) {
  engine.settings().IgnoreInfrequentWords = 1;
  engine.settings().IgnoreExcessivelyFrequentWords = 1;
  engine.settings().ThresholdFrequency = 3;  // "5"
  engine.settings().ExcessFrequency = 3;     // "4"
  EXPECT_EQ(CountFile("a.txt", "some words here\n"), RunOutcome::kRefused);
  EXPECT_EQ(host.Dialogs()[0],
            "Invalid input|The settings currently say to ignore words\r\nwith fewer than 5 "
            "occurrences and with more than 4 occurrences,\r\nwhich implies that all words will "
            "be ignored.");
  host.Clear();
  engine.settings().ExcessFrequency = 4;  // "5": equal limits start
  EXPECT_EQ(CountFile("a.txt", "some words here\n"), RunOutcome::kListed);
}

TEST_F(EngineTest, StopWithFewEntriesAsksNothingMore) {
  host.OnProcessEvents([this] {
    const EngineState& st = engine.state();
    if (st.run.Running && !st.run.StopRequested && st.words.DistinctCount() >= 10) {
      engine.CountWords();
    }
  });
  host.QueueAnswer(Answer::kNo);  // "Do you wish to list those which were found?"
  EXPECT_EQ(CountFile("a.txt", ManyWords(100)), RunOutcome::kStopped);
  const auto dialogs = host.Dialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0].substr(0, dialogs[0].find('|')), "Counting interrupted");
  EXPECT_NE(dialogs[0].find("Do you wish to list those which were found?"), std::string::npos);
}

TEST_F(EngineTest, StopAfter800EntriesAsksFirst) {
  int stop_asked = 0;
  host.OnProcessEvents([&] {
    const EngineState& st = engine.state();
    if (st.run.Running && !st.run.StopRequested && st.words.DistinctCount() > 800 &&
        stop_asked++ == 0) {
      engine.CountWords();
    }
  });
  host.QueueAnswer(Answer::kYes);  // Really stop?
  host.QueueAnswer(Answer::kYes);  // list those found
  EXPECT_EQ(CountFile("a.txt", ManyWords(3000)), RunOutcome::kListed);
  const auto dialogs = host.Dialogs();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_NE(dialogs[0].find(" found so far.\r\n\r\nReally stop?"), std::string::npos);
  EXPECT_TRUE(engine.state().run.Interrupted);
  EXPECT_NE(Results().find("        1         1  waabord"), std::string::npos);
}

TEST_F(EngineTest, StoppedWithNothingFoundShowsStopped) {
  host.OnProcessEvents([this] {
    if (engine.state().run.Running && !engine.state().run.StopRequested) engine.CountWords();
  });
  EXPECT_EQ(CountFile("a.txt", std::string(50, '\n') + "words here\n"), RunOutcome::kStopped);
  EXPECT_EQ(Results().substr(Results().size() - 11), "\r\n\r\nStopped");
  EXPECT_TRUE(host.Dialogs().empty());
}

TEST_F(EngineTest, SwitchesChangedDuringARunTakeEffectAtTheNextRun) {
  // The Settings window leaves the phrase ends and pattern matching enabled
  // during a run; the other switches are refused then. `change` runs at
  // the first pause of a run.
  const auto during_run = [this](std::function<void()> change) {
    host.OnProcessEvents([this, change, done = false]() mutable {
      if (!engine.state().run.Running || done) return;
      done = true;
      change();
    });
  };
  Settings& s = engine.settings();
  std::string filler;
  for (int i = 0; i < 200; ++i) filler += "one alpha. beta one\n";

  // A phrase end.
  s.ExtraWords[1] = "alpha beta";
  during_run([&] {
    s.TerminatePhraseAtPeriod = 0;
    EXPECT_TRUE(engine.OptionChanged("TerminatePhraseAtPeriod", 1));
    EXPECT_FALSE(engine.OptionChanged("AllowWordsWithNumerals", 0));
  });
  ASSERT_EQ(CountFile("a.txt", filler), RunOutcome::kListed);
  EXPECT_EQ(s.TerminatePhraseAtPeriod, 0);
  EXPECT_EQ(Results().find("alpha beta"), std::string::npos) << Results();
  host.OnProcessEvents(nullptr);
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_NE(Results().find("alpha beta"), std::string::npos) << Results();

  // Pattern matching in the words-to-ignore file.
  ASSERT_TRUE(engine.ClearBoxClicked(1));
  s.PatternMatchingInWordsToIgnoreFile = 1;
  ASSERT_TRUE(engine.LoadWordsFile(0, dir.Write("ignore.txt", "b?t\nother\n")));
  ASSERT_EQ(engine.state().lists.IgnoreFileWords.size(), 2u);
  during_run([&] {
    s.PatternMatchingInWordsToIgnoreFile = 0;
    EXPECT_TRUE(engine.OptionChanged("PatternMatchingInWordsToIgnoreFile", 1));
  });
  ASSERT_EQ(CountFile("b.txt", filler + "bat bit\n"), RunOutcome::kListed);
  EXPECT_EQ(Results().find(" bat"), std::string::npos) << Results();
  EXPECT_NE(Results().find(" one"), std::string::npos) << Results();
  host.OnProcessEvents(nullptr);
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_NE(Results().find(" bat"), std::string::npos) << Results();
}

TEST_F(EngineTest, LargeFileWithoutOutputFileAsks) {
  std::string big;
  while (big.size() <= 200000) big += "lorem ipsum dolor sit amet\n";
  host.QueueAnswer(Answer::kCancel);
  EXPECT_EQ(CountFile("big.txt", big), RunOutcome::kCancelled);
  EXPECT_EQ(host.Dialogs()[0].substr(0, 17), "Large input file|");
  host.Clear();
  std::string exact(200000, 'a');
  for (size_t i = 5; i < exact.size(); i += 6) exact[i] = ' ';
  EXPECT_EQ(CountFile("exact.txt", exact), RunOutcome::kListed);
  EXPECT_TRUE(host.Dialogs().empty());
}

}  // namespace
}  // namespace vorn
