// What a window built on the engine relies on: the busy states and the
// commands refused while busy, the silent stop, the results box sent as
// changes, the settings notices, and the labels and indicators.

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "counting/engine.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/message_table.h"
#include "util/text.h"

namespace vorn {
namespace {

class EngineContractTest : public ::testing::Test {
 protected:
  EngineContractTest() : engine(&host) {
    engine.SetEventThrottle(1, std::chrono::milliseconds(0));
    engine.settings().Source = InputSource::kSingleFile;
    host.CheckResultsAgainst(&engine.state().textbox.text());
  }

  RunOutcome CountFile(std::string_view name, std::string_view bytes) {
    engine.settings().InputFilePath = dir.Write(name, bytes);
    return engine.CountWords();
  }

  std::string Results() const { return TextToUtf8(engine.state().textbox.text()); }

  bool Asked() const {
    return std::any_of(host.calls().begin(), host.calls().end(),
                       [](const ScriptedHost::Call& c) { return c.kind == "question"; });
  }

  ScriptedHost host;
  Engine engine;
  TempDir dir;
};

// A count command that arrives while the results are relisted used to empty
// the word list under the listing, and the listing read past its end. It
// now stops the listing.
TEST_F(EngineContractTest, ACountDuringARelistStopsIt) {
  engine.settings().OutputFilePath = dir.File("out.txt");
  ASSERT_EQ(CountFile("a.txt", ManyWords(20000)), RunOutcome::kListed);
  dir.Write("a.txt", "one two three\n");  // a new count would find less
  host.Clear();
  std::vector<RunOutcome> during;
  host.OnProcessEvents([&] {
    if (during.empty() && engine.state().listing.WritingToFile) {
      during.push_back(engine.CountWords());
    }
  });
  engine.settings().WordOrder = 1;
  EXPECT_TRUE(engine.DisplayOptionChanged(DisplayOption::kWordOrder));
  EXPECT_EQ(during, std::vector<RunOutcome>{RunOutcome::kStopAsked});
  EXPECT_EQ(engine.state().words.DistinctCount(), 20000);
  EXPECT_EQ(Results(), "Output to file was terminated.\r\n");
  EXPECT_EQ(host.busy_changes(), (std::vector<Busy>{Busy::kRelisting, Busy::kIdle}));
  EXPECT_FALSE(Asked());
}

TEST_F(EngineContractTest, OnlyTheStopCommandWorksWhileCounting) {
  ASSERT_EQ(CountFile("a.txt", "earlier results here\n"), RunOutcome::kListed);
  const std::string earlier = Results();
  host.Clear();
  std::vector<bool> refused;
  Busy seen = Busy::kIdle;
  host.OnProcessEvents([&] {
    if (!refused.empty()) return;
    seen = engine.busy();
    engine.settings().WordOrder = 1;
    refused.push_back(!engine.DisplayOptionChanged(DisplayOption::kWordOrder));
    engine.settings().WordOrder = 0;
    refused.push_back(!engine.DisableOutputToFileChanged());
    refused.push_back(!engine.ClearTextbox());
  });
  ASSERT_EQ(CountFile("b.txt", ManyWords(300)), RunOutcome::kListed);
  EXPECT_EQ(seen, Busy::kCounting);
  EXPECT_EQ(refused, (std::vector<bool>{true, true, true}));
  EXPECT_EQ(host.busy_changes(), (std::vector<Busy>{Busy::kCounting, Busy::kIdle}));
  EXPECT_NE(Results(), earlier);
  EXPECT_EQ(engine.state().words.DistinctCount(), 300);
}

// The window closes during a run: wherever the run is, it ends without a
// question and without a listing, and the engine is usable again.
TEST_F(EngineContractTest, SilentStopAtEveryPause) {
  engine.settings().OutputFilePath = dir.File("out.txt");
  const std::string text = ManyWords(1500);
  // A whole run first, noting the phase at each pause: the results box, or
  // the file pass, and how far the word list is.
  std::vector<std::string> said;
  host.OnProcessEvents([&] {
    const EngineState& st = engine.state();
    if (st.listing.WritingToFile) {
      said.push_back("(file)");
    } else {
      said.push_back(Results().substr(0, 14) + (st.run.WordsRead < 1500 ? "|reading"
                                                : st.words.finalized()  ? "|sorted"
                                                                        : "|finalizing"));
    }
  });
  ASSERT_EQ(CountFile("a.txt", text), RunOutcome::kListed);
  const std::string want = Results();
  const std::string want_file = ReadFileBytes(dir.File("out.txt"));
  const size_t first_box_listing =
      said.rend() - std::find(said.rbegin(), said.rend(), std::string("(file)"));
  // Stop at the first pause of each phase, and at pauses spread over all.
  std::vector<size_t> stops;
  for (size_t i = 0; i < said.size(); ++i) {
    if (i == 0 || said[i] != said[i - 1] || i % (said.size() / 25 + 1) == 0) stops.push_back(i);
  }
  for (const char* phase : {"Now counting a|reading", "Now counting a|finalizing",
                            "Now counting a|sorted", "Now setting up|sorted", "(file)"}) {
    EXPECT_NE(std::find(said.begin(), said.end(), phase), said.end()) << phase;
  }
  for (const size_t stop_at : stops) {
    host.Clear();
    WriteFileBytes(dir.File("out.txt"), "");
    size_t calls = 0;
    host.OnProcessEvents([&] {
      if (calls++ == stop_at) engine.StopSilently();
    });
    EXPECT_EQ(CountFile("a.txt", text), RunOutcome::kStopped) << said[stop_at];
    EXPECT_FALSE(Asked()) << said[stop_at];
    // No listing, unless the file was whole before the stop.
    const std::string out = ReadFileBytes(dir.File("out.txt"));
    EXPECT_TRUE(out.empty() || stop_at >= first_box_listing) << said[stop_at];
    EXPECT_EQ(engine.busy(), Busy::kIdle);
    EXPECT_EQ(host.busy_changes().back(), Busy::kIdle);
    EXPECT_FALSE(engine.state().run.ResultsPresent);
    EXPECT_EQ(engine.state().words.DistinctCount(), 0);
    EXPECT_EQ(host.indicator(Indicator::kActivity), -1);
    EXPECT_EQ(host.label(Label::kCountWordsCaption), GetMessageText(21));
  }
  // The next count lists what an undisturbed one does.
  host.OnProcessEvents({});
  EXPECT_EQ(CountFile("a.txt", text), RunOutcome::kListed);
  EXPECT_EQ(Results(), want);
  EXPECT_EQ(ReadFileBytes(dir.File("out.txt")), want_file);
}

TEST_F(EngineContractTest, SilentStopSkipsTheStopQuestionsAndEndsARelist) {
  ASSERT_EQ(CountFile("a.txt", ManyWords(2000)), RunOutcome::kListed);
  host.Clear();
  // A stop already asked for (with its question) is overtaken by the silent
  // one before the "list those found?" question.
  int calls = 0;
  host.OnProcessEvents([&] {
    ++calls;
    if (calls == 5) engine.CountWords();
    if (calls == 6) engine.StopSilently();
  });
  EXPECT_EQ(CountFile("a.txt", ManyWords(2000)), RunOutcome::kStopped);
  EXPECT_EQ(host.Dialogs().size(), 0u);

  host.OnProcessEvents({});
  ASSERT_EQ(CountFile("a.txt", ManyWords(2000)), RunOutcome::kListed);
  host.Clear();
  host.OnProcessEvents([&] { engine.StopSilently(); });
  engine.settings().WordOrder = 1;
  EXPECT_TRUE(engine.DisplayOptionChanged(DisplayOption::kWordOrder));
  EXPECT_EQ(host.busy_changes(), (std::vector<Busy>{Busy::kRelisting, Busy::kIdle}));
  EXPECT_FALSE(engine.state().run.ResultsPresent);
  EXPECT_TRUE(host.Dialogs().empty());
}

// Memory that runs out while the word list is being put in order ends the
// run with a report; the half-ordered list is never relisted.
TEST_F(EngineContractTest, AFailureWhileFinalizingDropsTheResults) {
  host.OnProcessEvents([&] {
    const EngineState& st = engine.state();
    if (st.run.WordsRead == 1500 && !st.words.finalized()) throw std::bad_alloc();
  });
  EXPECT_EQ(CountFile("a.txt", ManyWords(1500)), RunOutcome::kFailed);
  ASSERT_EQ(host.Dialogs().size(), 1u);
  EXPECT_NE(host.Dialogs()[0].find("Description: "), std::string::npos);
  EXPECT_EQ(engine.state().words.DistinctCount(), 0);
  host.OnProcessEvents({});
  engine.settings().WordOrder = 1;
  EXPECT_TRUE(engine.DisplayOptionChanged(DisplayOption::kWordOrder));
  EXPECT_EQ(host.Dialogs().size(), 1u);
}

TEST_F(EngineContractTest, ResultsGoAsChangesThatRebuildTheText) {
  engine.settings().SuppressWords = 0;
  ASSERT_EQ(CountFile("a.txt", ManyWords(1500)), RunOutcome::kListed);
  EXPECT_EQ(host.results(), engine.state().textbox.text());
  EXPECT_EQ(host.results_mismatches(), 0);
  // The words shown as found went line by line; each change carried its
  // own words, not the whole box.
  EXPECT_GT(host.results_changes(), 150);
  EXPECT_LT(host.results_chars_sent(), 3 * 60000);
  // A listing leaves the caret at the start.
  EXPECT_EQ(host.caret(), Caret::kStart);
  // A box that overflows ends with its note, the caret after it.
  ASSERT_EQ(CountFile("a.txt", ManyWords(12000)), RunOutcome::kListed);
  EXPECT_TRUE(host.results().ends_with(u"Textbox is full.\r\n" + Utf8ToText(GetMessageText(36))))
      << Results().substr(Results().size() - 200);
  EXPECT_EQ(host.caret(), Caret::kEnd);
  EXPECT_EQ(host.results_mismatches(), 0);

  engine.settings().DisplayFormat = 9;
  engine.DisplayOptionChanged(DisplayOption::kDisplayFormat);
  EXPECT_TRUE(engine.ClearTextbox());
  EXPECT_EQ(host.results(), u"");
  EXPECT_EQ(host.results_mismatches(), 0);
}

TEST_F(EngineContractTest, TheWindowHearsOfTheSettingsTheEngineChanges) {
  engine.settings().Only7bitASCII = 1;
  engine.settings().InputFilePath = "  " + dir.Write("u.txt", "caf\xC3\xA9 bar\n") + " ";
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(host.settings_changed(),
            (std::vector<std::string>{"InputFilePath", "Only7bitASCII", "Only7bitASCII"}));
  EXPECT_EQ(engine.settings().Only7bitASCII, 1);

  // A folder format without a folder, chosen with no results to show.
  host.Clear();
  engine.ClearTextbox();
  engine.state().run.ResultsPresent = false;
  engine.settings().DisplayFormat = 12;
  engine.settings().SortByNumberOfFiles = 1;
  EXPECT_TRUE(engine.DisplayOptionChanged(DisplayOption::kDisplayFormat));
  EXPECT_EQ(engine.settings().DisplayFormat, 0);
  EXPECT_EQ(host.settings_changed(),
            (std::vector<std::string>{"DisplayFormat", "SortByNumberOfFiles"}));
  EXPECT_EQ(host.Dialogs().size(), 1u);
  EXPECT_TRUE(host.display_controls().relative_frequency_enabled);
  EXPECT_FALSE(host.display_controls().sort_by_files_enabled);

  // A cancelled overwrite question disables file output.
  ASSERT_EQ(CountFile("a.txt", "one two three\n"), RunOutcome::kListed);
  host.Clear();
  engine.settings().OutputFilePath = dir.Write("out.txt", "old");
  engine.settings().DisableOutputToFile = 0;
  engine.settings().WarnOnOverwrite = 1;
  host.QueueInput(std::nullopt);
  engine.settings().WordOrder = 1;
  engine.DisplayOptionChanged(DisplayOption::kWordOrder);
  EXPECT_EQ(host.settings_changed(), std::vector<std::string>{"DisableOutputToFile"});
  EXPECT_EQ(ReadFileBytes(dir.File("out.txt")), "old");
}

TEST_F(EngineContractTest, LabelsAndIndicators) {
  std::vector<int> bar;
  host.OnProcessEvents([&] {
    if (engine.state().run.ReadingFiles) bar.push_back(host.indicator(Indicator::kFileProgress));
  });
  ASSERT_EQ(CountFile("a.txt", ManyWords(4000)), RunOutcome::kListed);
  ASSERT_FALSE(bar.empty());
  EXPECT_TRUE(std::is_sorted(bar.begin(), bar.end()));
  EXPECT_GE(bar.front(), 0);
  EXPECT_GE(bar.back(), 38);
  // The bar gives the label back at the end; the spinner is blank.
  EXPECT_EQ(host.indicator(Indicator::kFileProgress), -1);
  EXPECT_EQ(host.indicator(Indicator::kActivity), -1);
  EXPECT_EQ(ProgressBarText(0), "[" + std::string(39, ' ') + "]");
  EXPECT_EQ(ProgressBarText(3), "[-->" + std::string(36, ' ') + "]");
  EXPECT_EQ(host.label(Label::kCountArrayCaption), GetMessageText(101));

  engine.settings().WordsFiles[1].paths = {"a.txt", "b.txt"};
  engine.OnTimer();
  EXPECT_EQ(host.label(Label::kIgnoreFilesCaption), "Words-to-ignore files (0)");
  EXPECT_EQ(host.label(Label::kCountOnlyFilesCaption), "Count-only words/phrases files (2)");
}

// The window's own reactions that are served during a run.
TEST_F(EngineContractTest, WordsAsFoundAndClicksOnTheResultsDuringARun) {
  bool done = false;
  host.OnProcessEvents([&] {
    if (done || engine.state().textbox.empty()) return;
    done = true;
    engine.ResultsBoxClicked(false);  // words not shown: nothing
    engine.settings().SuppressWords = 0;
    engine.SuppressWordsChanged();
    EXPECT_TRUE(Results().ends_with("\r\n"));
    engine.ResultsBoxClicked(false);
  });
  ASSERT_EQ(CountFile("a.txt", ManyWords(500)), RunOutcome::kListed);
  EXPECT_TRUE(done);
  engine.ResultsBoxClicked(false);  // idle: nothing
  engine.ResultsBoxClicked(true);   // not the clipboard: nothing
  engine.settings().Source = InputSource::kClipboard;
  engine.ResultsBoxClicked(true);
  EXPECT_EQ(host.Dialogs(),
            (std::vector<std::string>{
                "Scanning files|Click on 'OK' to continue.",
                "Text on clipboard|To count words/phrases on the clipboard click on 'Count ...'"}));
}

}  // namespace
}  // namespace vorn
