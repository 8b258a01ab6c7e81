#include "counting/words_file_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "counting/engine.h"
#include "counting/words_files.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/program_folder.h"

namespace vorn {
namespace {

using Strings = std::vector<std::string>;

class WordsFileCommandsTest : public ::testing::Test {
 protected:
  WordsFileCommandsTest() : engine(&host), st(engine.state()), s(engine.settings()) {}

  // The calls of one kind, as "title|text".
  Strings CallsOf(const std::string& kind) const {
    Strings out;
    for (const ScriptedHost::Call& c : host.calls()) {
      if (c.kind == kind) out.push_back(c.title + "|" + c.text);
    }
    return out;
  }

  ScriptedHost host;
  Engine engine;
  EngineState& st;
  Settings& s;
  TempDir dir;
};

TEST_F(WordsFileCommandsTest, IgnoreFilesWhileCountOnlyEntriesAreSetAskFirst) {
  s.ExtraWords[1] = "apple, pear";
  host.QueueAnswer(Answer::kNo);
  EXPECT_TRUE(engine.AddWordsFileClicked(0));
  EXPECT_EQ(host.Dialogs(),
            Strings{"Proceed?|Since there are count-only words (that is,\r\nonly specified words "
                    "are to be counted),\r\nspecifying words to be ignored will have no "
                    "effect.\r\nDo you still wish to specify words to be ignored?"});
  EXPECT_TRUE(CallsOf("open").empty());

  // Yes goes on to the chooser; a count-only file is not asked about.
  host.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(engine.AddWordsFileClicked(0));
  EXPECT_TRUE(engine.AddWordsFileClicked(1));
  EXPECT_EQ(CallsOf("question").size(), 2u);
  EXPECT_EQ(CallsOf("open"),
            (Strings{"Specify a file containing words to ignore|Any text file (*.*) | *.*",
                     "Specify a file containing count-only words/phrases|Any text file (*.*) | "
                     "*.*"}));
  EXPECT_TRUE(host.file_chooser().file_must_exist);
  EXPECT_TRUE(host.file_chooser().path_must_exist);
  EXPECT_FALSE(host.file_chooser().save);
  EXPECT_TRUE(s.WordsFiles[0].paths.empty());  // the chooser was cancelled
}

TEST_F(WordsFileCommandsTest, AFullListTakesNoMoreFiles) {
  const struct {
    int index;
    const char* expected;
  } cases[] = {{0, "Words-to-ignore files (99)|No more files may be added to this list."},
               {1, "Count-only words/phrases files (99)|No more files may be added to this list."}};
  for (const auto& c : cases) {
    host.Clear();
    for (size_t i = 0; i < kMaxWordsFiles; ++i) {
      s.WordsFiles[c.index].paths.push_back("/f" + std::to_string(i));
    }
    EXPECT_TRUE(engine.AddWordsFileClicked(c.index));
    EXPECT_EQ(host.Dialogs(), Strings{c.expected});
    EXPECT_TRUE(CallsOf("open").empty());
    EXPECT_EQ(s.WordsFiles[c.index].paths.size(), kMaxWordsFiles);
  }
}

TEST_F(WordsFileCommandsTest, AFileAlreadyInTheListIsNotReadAgain) {
  const std::string file = dir.Write("ignore.txt", "apple banana\r\n");
  s.WordsFiles[0].paths = {file};
  host.QueueChosenPath(file);
  EXPECT_TRUE(engine.AddWordsFileClicked(0));
  EXPECT_EQ(host.Dialogs(),
            Strings{"Already present|" + file +
                    "\r\nis already in this list. \r\nIf the file has changed\r\nselect it from "
                    "the drop-down list and reload it."});
  EXPECT_EQ(s.WordsFiles[0].selected, -1);
  EXPECT_TRUE(st.lists.IgnoreFileWords.empty());
  EXPECT_TRUE(host.settings_changed().empty());
}

TEST_F(WordsFileCommandsTest, AddingAFileSelectsAndReadsIt) {
  const std::string first = dir.Write("first.txt", "pear\r\n");
  const std::string file = dir.Write("ignore.txt", "cherry apple\r\nbanana\r\n");
  s.WordsFiles[0].paths = {first};
  host.QueueChosenPath(file);
  EXPECT_TRUE(engine.AddWordsFileClicked(0));
  EXPECT_EQ(s.WordsFiles[0].paths, (Strings{first, file}));
  EXPECT_EQ(s.WordsFiles[0].selected, 1);
  EXPECT_EQ(st.lists.IgnoreFileWords, (std::vector<Bytes>{"apple", "banana", "cherry"}));
  EXPECT_EQ(CallsOf("popup"), Strings{"|Three words-to-ignore loaded"});
  EXPECT_EQ(host.settings_changed(), Strings{"WordsFiles0"});
  EXPECT_EQ(host.busy_changes(), (std::vector<Busy>{Busy::kReadingWordsFiles, Busy::kIdle}));
}

TEST_F(WordsFileCommandsTest, AChosenFileIsLoadedOrRemoved) {
  const std::string a = dir.Write("a.txt", "apple\r\n");
  const std::string b = dir.Write("b.txt", "banana cherry\r\n");
  s.WordsFiles[0].paths = {a, b};
  s.WordsFiles[0].selected = 0;
  st.lists.IgnoreFileWords = {"apple"};

  host.QueueLoadOrRemove(LoadOrRemove::kCancel);
  EXPECT_TRUE(engine.WordsFileChosen(0, 1));
  EXPECT_EQ(host.load_remove_dialog().path, b);
  EXPECT_EQ(host.load_remove_dialog().list, 0);
  EXPECT_EQ(s.WordsFiles[0].selected, 0);
  EXPECT_EQ(st.lists.IgnoreFileWords, std::vector<Bytes>{"apple"});
  EXPECT_TRUE(host.settings_changed().empty());

  host.QueueLoadOrRemove(LoadOrRemove::kLoad);
  EXPECT_TRUE(engine.WordsFileChosen(0, 1));
  EXPECT_EQ(s.WordsFiles[0].selected, 1);
  EXPECT_EQ(st.lists.IgnoreFileWords, (std::vector<Bytes>{"banana", "cherry"}));
  EXPECT_EQ(CallsOf("popup"), Strings{"|Two words-to-ignore loaded"});

  host.Clear();
  host.QueueLoadOrRemove(LoadOrRemove::kRemove);
  EXPECT_TRUE(engine.WordsFileChosen(0, 1));
  EXPECT_EQ(s.WordsFiles[0].paths, Strings{a});
  EXPECT_EQ(s.WordsFiles[0].selected, -1);
  EXPECT_TRUE(st.lists.IgnoreFileWords.empty());
  EXPECT_EQ(host.settings_changed(), Strings{"WordsFiles0"});

  // A file that is gone leaves the list when loaded; nothing is selected.
  s.WordsFiles[1].paths = {dir.File("gone.txt")};
  st.lists.CountOnlyFileWords = {"old"};
  host.QueueLoadOrRemove(LoadOrRemove::kLoad);
  EXPECT_TRUE(engine.WordsFileChosen(1, 0));
  EXPECT_TRUE(s.WordsFiles[1].paths.empty());
  EXPECT_EQ(s.WordsFiles[1].selected, -1);
  EXPECT_TRUE(st.lists.CountOnlyFileWords.empty());
}

TEST_F(WordsFileCommandsTest, ClearingAListAsksFirst) {
  const struct {
    int index;
    Answer answer;
    const char* title;
  } cases[] = {{0, Answer::kNo, "Clear words-to-ignore files"},
               {0, Answer::kYes, "Clear words-to-ignore files"},
               {1, Answer::kNo, "Clear count-only words/phrases files"},
               {1, Answer::kYes, "Clear count-only words/phrases files"}};
  for (const auto& c : cases) {
    host.Clear();
    s.WordsFiles[c.index] = {{"/a", "/b"}, 1};
    std::vector<Bytes>& loaded =
        c.index == 0 ? st.lists.IgnoreFileWords : st.lists.CountOnlyFileWords;
    loaded = {"word"};
    host.QueueAnswer(c.answer);
    EXPECT_TRUE(engine.ClearWordsFilesClicked(c.index));
    EXPECT_EQ(host.Dialogs(),
              Strings{std::string(c.title) + "|Do you wish to remove ALL files from this list?"});
    const bool cleared = c.answer == Answer::kYes;
    EXPECT_EQ(s.WordsFiles[c.index].paths.size(), cleared ? 0u : 2u);
    EXPECT_EQ(s.WordsFiles[c.index].selected, cleared ? -1 : 1);
    EXPECT_EQ(loaded.empty(), cleared);
    EXPECT_EQ(host.settings_changed().size(), cleared ? 1u : 0u);
  }
}

TEST_F(WordsFileCommandsTest, BoxesAreParsedWhenLeftAndEmptiedWhenCleared) {
  s.ExtraWords = {"pear apple", "big dog, cat"};
  EXPECT_TRUE(engine.BoxLeft(0));
  EXPECT_TRUE(engine.BoxLeft(1));
  EXPECT_EQ(st.lists.ExtraIgnoreWords, (std::vector<Bytes>{"apple", "pear"}));
  EXPECT_EQ(st.lists.ExtraCountOnly, (std::vector<Bytes>{"big+dog", "cat"}));
  host.Clear();
  EXPECT_TRUE(engine.ClearBoxClicked(1));
  EXPECT_EQ(s.ExtraWords[1], "");
  EXPECT_TRUE(st.lists.ExtraCountOnly.empty());
  EXPECT_EQ(st.lists.ExtraIgnoreWords.size(), 2u);
  EXPECT_TRUE(engine.ClearBoxClicked(0));
  EXPECT_TRUE(st.lists.ExtraIgnoreWords.empty());
  EXPECT_EQ(host.settings_changed(), (Strings{"ExtraWords1", "ExtraWords0"}));
}

TEST_F(WordsFileCommandsTest, ChoosingALanguageOffersItsCommonWords) {
  s.CommonWordsLanguage = kNoCommonWordsLanguage;
  host.QueueAnswer(Answer::kNo);
  EXPECT_TRUE(engine.CommonWordsChosen(0));
  EXPECT_EQ(host.Dialogs(), Strings{"Load common words file|Load common words file for English?"});
  EXPECT_EQ(s.CommonWordsLanguage, kNoCommonWordsLanguage);
  EXPECT_EQ(host.settings_changed(), Strings{"CommonWordsLanguage"});
  EXPECT_TRUE(s.WordsFiles[0].paths.empty());

  host.Clear();
  host.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(engine.CommonWordsChosen(0));
  EXPECT_EQ(s.CommonWordsLanguage, 0);
  ASSERT_EQ(s.WordsFiles[0].paths.size(), 1u);
  EXPECT_TRUE(s.WordsFiles[0].paths[0].ends_with("/cwds_en.txt")) << s.WordsFiles[0].paths[0];
  EXPECT_EQ(s.WordsFiles[0].selected, 0);
  EXPECT_TRUE(std::binary_search(st.lists.IgnoreFileWords.begin(), st.lists.IgnoreFileWords.end(),
                                 Bytes("the")));

  // That file loaded, English is not offered again; no language is stored.
  host.Clear();
  s.CommonWordsLanguage = 3;
  EXPECT_TRUE(engine.CommonWordsChosen(0));
  EXPECT_EQ(s.CommonWordsLanguage, 0);
  EXPECT_TRUE(engine.CommonWordsChosen(kNoCommonWordsLanguage));
  EXPECT_EQ(s.CommonWordsLanguage, kNoCommonWordsLanguage);
  EXPECT_TRUE(host.Dialogs().empty());
}

TEST_F(WordsFileCommandsTest, ListShowsTheCountOnlyEntries) {
  EXPECT_TRUE(engine.ListCountOnlyClicked());
  EXPECT_EQ(host.results(), u"There are no count-only words/phrases.");
  st.lists.CountOnlyFileWords = {"pear", "apple"};
  EXPECT_TRUE(engine.ListCountOnlyClicked());
  EXPECT_EQ(host.results(),
            u"There are two words in the count-only file:\r\n\r\napple\r\npear\r\n");
}

TEST_F(WordsFileCommandsTest, RefusedWhileACountRuns) {
  engine.SetEventThrottle(1, std::chrono::milliseconds(0));
  s.Source = InputSource::kSingleFile;
  s.InputFilePath = dir.Write("in.txt", "some words to count\nand some more\n");
  s.OutputFilePath = dir.File("out.txt");
  s.WordsFiles[0].paths = {dir.Write("w.txt", "apple\r\n")};
  s.ExtraWords[0] = "pear";
  host.QueueChosenPath(dir.Write("new.txt", "cherry\r\n"));
  std::vector<bool> results;
  host.OnProcessEvents([&] {
    if (!results.empty() || !st.run.Running) return;
    results = {engine.AddWordsFileClicked(1),
               engine.WordsFileChosen(0, 0),
               engine.ClearWordsFilesClicked(0),
               engine.ClearBoxClicked(0),
               engine.BoxLeft(0),
               engine.CommonWordsChosen(0),
               engine.ListCountOnlyClicked()};
  });
  EXPECT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(results, std::vector<bool>(7, false));
  EXPECT_TRUE(CallsOf("open").empty());
  EXPECT_TRUE(CallsOf("load-remove").empty());
  EXPECT_TRUE(CallsOf("question").empty());
  EXPECT_EQ(s.WordsFiles[0].paths.size(), 1u);
  EXPECT_EQ(s.ExtraWords[0], "pear");
  EXPECT_TRUE(host.settings_changed().empty());
}

}  // namespace
}  // namespace vorn
