// The main window's rules without a window: the controls shown and enabled
// for each source and while work runs, the focus, the source options with
// their remembered paths, leaving the path boxes, start-up and quitting.

#include "counting/window_rules.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "counting/engine.h"
#include "counting/option_rules.h"
#include "settings/state_file.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/str_proc.h"

namespace vorn {
namespace {

using Strings = std::vector<std::string>;

const Strings kFolderOnly = {"cmdFolder",           "txbFolder",
                             "cmdClearFolder",      "chkIncludeSubfolders",
                             "lblScanOnlyFiles",    "txbFileFilepathSpecifications0",
                             "lblExcludeFilepaths", "txbFileFilepathSpecifications1",
                             "cmdListFiles",        "cmdCountArray"};
const Strings kFileOnly = {"cmdFile0", "txbFile0", "cmdClearFile0"};

Strings Join(Strings a, const Strings& b) {
  a.insert(a.end(), b.begin(), b.end());
  std::sort(a.begin(), a.end());
  return a;
}

// The names of the controls that are hidden, or shown but disabled, sorted.
Strings Names(const std::vector<ControlState>& controls, bool hidden) {
  Strings names;
  for (const ControlState& c : controls) {
    if (hidden ? !c.visible : c.visible && !c.enabled) names.push_back(c.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

class WindowRulesTest : public ::testing::Test {
 protected:
  // The state file and the temporary folders of documents go to folders of
  // the test's own.
  WindowRulesTest() : engine(&host), st(engine.state()), s(engine.settings()) {
    setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
    setenv("TMPDIR", tmp.path().c_str(), 1);
  }
  ~WindowRulesTest() override {
    unsetenv("XDG_CONFIG_HOME");
    old_tmpdir_ ? setenv("TMPDIR", old_tmpdir_->c_str(), 1) : unsetenv("TMPDIR");
  }

  std::string StateFile() const { return dir.File("Quillon Systems/vorn.usr"); }
  void WriteStateFile(const Settings& saved) {
    std::string bytes;
    std::string bad;
    ASSERT_TRUE(WriteStateText(saved, &bytes, &bad)) << bad;
    std::filesystem::create_directories(dir.File("Quillon Systems"));
    WriteFileBytes(StateFile(), bytes);
  }

  TempDir dir;
  TempDir tmp;
  ScriptedHost host;
  Engine engine;
  EngineState& st;
  Settings& s;

 private:
  const std::optional<std::string> old_tmpdir_ =
      getenv("TMPDIR") ? std::optional<std::string>(getenv("TMPDIR")) : std::nullopt;
};

TEST_F(WindowRulesTest, ControlsFollowTheSourceAndLockWhileBusy) {
  s.OutputFilePath = dir.File("out.txt");
  struct Case {
    InputSource source;
    bool viewer;
    Strings hidden;
  };
  const Case cases[] = {
      {InputSource::kClipboard, true, Join(kFolderOnly, kFileOnly)},
      {InputSource::kClipboard, false, Join(Join(kFolderOnly, kFileOnly), {"cmdClipboardViewer"})},
      {InputSource::kSingleFile, true, Join(kFolderOnly, {"cmdClipboardViewer"})},
      {InputSource::kFolder, true,
       Join(kFileOnly, {"cmdClipboardViewer", "lblFilesize", "lblXMLsize"})},
  };
  for (const Case& c : cases) {
    s.Source = c.source;
    const std::vector<ControlState> controls = MainWindowControls(st, c.viewer);
    EXPECT_EQ(controls.size(), 29u);
    EXPECT_EQ(Names(controls, true), c.hidden) << static_cast<int>(c.source);
    EXPECT_EQ(Names(controls, false), Strings{}) << static_cast<int>(c.source);
    // Without an output file there is nothing to disable.
    s.OutputFilePath.clear();
    EXPECT_EQ(Names(MainWindowControls(st, c.viewer), false), Strings{"chkDisableOutputToFile"});
    s.OutputFilePath = dir.File("out.txt");
  }
  // Whatever the work, only the count button (the stop command) and the
  // labels stay enabled.
  for (Busy busy :
       {Busy::kCounting, Busy::kListingFiles, Busy::kReadingWordsFiles, Busy::kRelisting}) {
    for (InputSource source :
         {InputSource::kClipboard, InputSource::kSingleFile, InputSource::kFolder}) {
      s.Source = source;
      st.busy = busy;
      for (const ControlState& c : MainWindowControls(st, true)) {
        const bool stays = c.name == "cmdCountWords" || c.name.rfind("lbl", 0) == 0;
        EXPECT_EQ(c.enabled, stays) << c.name << " busy " << static_cast<int>(busy);
      }
    }
  }
  st.busy = Busy::kIdle;
}

TEST_F(WindowRulesTest, TheSettingsWindowLocksItsFramesWhileBusy) {
  const Strings locked = {"Frame1",
                          "Frame2",
                          "Frame3",
                          "Frame5",
                          "Frame6",
                          "Frame7",
                          "cmdRestoreDefaults",
                          "cmdSetOrClearCheckboxes0",
                          "cmdSetOrClearCheckboxes1",
                          "fraIgnoreTheseWords"};
  EXPECT_EQ(Names(SettingsWindowControls(st), false), Strings{});
  EXPECT_EQ(Names(SettingsWindowControls(st), true), Strings{});
  for (Busy busy :
       {Busy::kCounting, Busy::kListingFiles, Busy::kReadingWordsFiles, Busy::kRelisting}) {
    st.busy = busy;
    EXPECT_EQ(Names(SettingsWindowControls(st), false), locked) << static_cast<int>(busy);
  }
  st.busy = Busy::kIdle;
  // What stays enabled may change during a run; what is locked may not.
  for (const char* name :
       {"TerminatePhraseAtTab", "TerminatePhraseAtEndOfLine", "TerminatePhraseAtPeriod",
        "TerminatePhraseAtDoubleQuote", "PatternMatchingInWordsToIgnoreFile",
        "PatternMatchingInCountOnlyWordsFile"}) {
    EXPECT_TRUE(SwitchChangeableDuringWork(name)) << name;
  }
  for (const char* name : {"AllowWordsWithHyphens", "CaseSignificant", "IgnoreShortWords",
                           "SaveStateOnQuit", "ExcessFrequency", "DisplayFormat"}) {
    EXPECT_FALSE(SwitchChangeableDuringWork(name)) << name;
  }
}

TEST_F(WindowRulesTest, FocusAndToolTip) {
  struct Case {
    InputSource source;
    std::string input, folder;
    Busy busy;
    std::string want;
  };
  const Case cases[] = {
      {InputSource::kClipboard, "", "", Busy::kIdle, "cmdCountWords"},
      {InputSource::kSingleFile, "", "/d", Busy::kIdle, "cmdFile0"},
      {InputSource::kSingleFile, " \t", "", Busy::kIdle, "cmdFile0"},
      {InputSource::kSingleFile, "/a.txt", "", Busy::kIdle, "cmdCountWords"},
      {InputSource::kSingleFile, "", "", Busy::kCounting, "cmdCountWords"},
      {InputSource::kFolder, "/a.txt", "", Busy::kIdle, "cmdFolder"},
      {InputSource::kFolder, "", "/d", Busy::kIdle, "cmdCountWords"},
      {InputSource::kFolder, "", "", Busy::kReadingWordsFiles, "cmdCountWords"},
  };
  for (const Case& c : cases) {
    s.Source = c.source;
    s.InputFilePath = c.input;
    s.FolderPath = c.folder;
    st.busy = c.busy;
    EXPECT_EQ(FocusTarget(st, false), c.want)
        << static_cast<int>(c.source) << " '" << c.input << "' '" << c.folder << "'";
  }
  st.busy = Busy::kIdle;
  s.SuppressWords = 1;
  EXPECT_EQ(SuppressWordsToolTip(s), "Check this box for faster processing.");
  s.SuppressWords = 0;
  EXPECT_EQ(SuppressWordsToolTip(s), "");
}

TEST_F(WindowRulesTest, SwitchingSourcesNeverLosesAPath) {
  s.Source = InputSource::kSingleFile;
  s.InputFilePath = "/typed.txt";
  s.FolderPath = "/folder";
  st.TextAlreadyRead = true;
  ASSERT_TRUE(engine.SourceChosen(InputSource::kFolder));
  EXPECT_FALSE(st.TextAlreadyRead);
  EXPECT_EQ(host.settings_changed(), Strings{"Source"});
  // A settings file without an input file was loaded meanwhile: the path
  // typed before the switch comes back.
  s.InputFilePath.clear();
  ASSERT_TRUE(engine.SourceChosen(InputSource::kSingleFile));
  EXPECT_EQ(s.InputFilePath, "/typed.txt");
  EXPECT_EQ(s.FolderPath, "/folder");
  // One that held another input file: that one is kept.
  ASSERT_TRUE(engine.SourceChosen(InputSource::kFolder));
  s.InputFilePath = "/loaded.txt";
  ASSERT_TRUE(engine.SourceChosen(InputSource::kSingleFile));
  EXPECT_EQ(s.InputFilePath, "/loaded.txt");
  // The clipboard remembers both paths.
  ASSERT_TRUE(engine.SourceChosen(InputSource::kClipboard));
  s.InputFilePath.clear();
  s.FolderPath.clear();
  host.Clear();
  ASSERT_TRUE(engine.SourceChosen(InputSource::kFolder));
  EXPECT_EQ(s.FolderPath, "/folder");
  EXPECT_EQ(s.InputFilePath, "");
  EXPECT_EQ(host.settings_changed(), (Strings{"FolderPath", "Source"}));
  ASSERT_TRUE(engine.SourceChosen(InputSource::kSingleFile));
  EXPECT_EQ(s.InputFilePath, "/loaded.txt");
  // A path the user cleared stays cleared, even when the option is clicked
  // again.
  ASSERT_TRUE(engine.ClearInputFile());
  ASSERT_TRUE(engine.SourceChosen(InputSource::kSingleFile));
  ASSERT_TRUE(engine.SourceChosen(InputSource::kFolder));
  ASSERT_TRUE(engine.SourceChosen(InputSource::kSingleFile));
  EXPECT_EQ(s.InputFilePath, "");
}

TEST_F(WindowRulesTest, LeavingThePathBoxes) {
  const std::string file = dir.Write("in.txt", "some words");
  const std::string empty = dir.Write("empty.txt", "");
  struct Case {
    std::string typed;
    std::string dialog;  // "" for none
  };
  const Case cases[] = {
      {" " + file + "\t", ""},
      {"", ""},
      {dir.File("gone.txt"), "File not found|Input file does not exist."},
      {dir.path() + "/", "Invalid input|Invalid input file specification."},
      {dir.path(), "Invalid input|" + dir.path() + "\r\nis a folder, not a file."},
      {empty, "Error|Input file is zero-length."},
  };
  for (const Case& c : cases) {
    host.Clear();
    s.InputFilePath = c.typed;
    st.TextAlreadyRead = true;
    ASSERT_TRUE(engine.FileBoxLeft(0));
    EXPECT_EQ(s.InputFilePath, std::string(TrimBlanksAndTabs(c.typed)));
    EXPECT_EQ(host.Dialogs(), c.dialog.empty() ? Strings{} : Strings{c.dialog}) << c.typed;
    EXPECT_FALSE(st.TextAlreadyRead);
  }
  s.InputFilePath = file;
  ASSERT_TRUE(engine.FileBoxLeft(0));
  EXPECT_EQ(host.label(Label::kFilesize), "Filesize: 10 bytes");
  // The output box: "Disable" is unticked when the path was taken out.
  host.Clear();
  s.OutputFilePath = "  ";
  s.DisableOutputToFile = 1;
  ASSERT_TRUE(engine.FileBoxLeft(1));
  EXPECT_EQ(s.OutputFilePath, "");
  EXPECT_EQ(s.DisableOutputToFile, 0);
  EXPECT_EQ(host.settings_changed(), (Strings{"OutputFilePath", "DisableOutputToFile"}));

  // The folder box.
  s.FolderPath = " " + dir.path() + " ";
  EXPECT_TRUE(engine.FolderBoxLeft());
  EXPECT_EQ(s.FolderPath, dir.path());
  host.Clear();
  s.FolderPath = file;
  EXPECT_FALSE(engine.FolderBoxLeft());
  EXPECT_EQ(host.Dialogs(), Strings{"Error|This folder does not exist:\r\n" + file});
  EXPECT_EQ(host.calls()[0].icon, Icon::kExclamation);
  s.FolderPath.clear();
  EXPECT_TRUE(engine.FolderBoxLeft());
}

TEST_F(WindowRulesTest, CommandsAreRefusedWhileCounting) {
  engine.SetEventThrottle(1, std::chrono::milliseconds(0));
  s.Source = InputSource::kSingleFile;
  s.InputFilePath = dir.Write("a.txt", ManyWords(300));
  s.SaveStateOnQuit = 1;
  std::vector<bool> ran;
  host.OnProcessEvents([&] {
    if (!ran.empty()) return;
    ran = {engine.SourceChosen(InputSource::kFolder), engine.FileBoxLeft(0), engine.FolderBoxLeft(),
           engine.StartUp(), engine.Quit()};
  });
  ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(ran, std::vector<bool>(5, false));
  EXPECT_EQ(s.Source, InputSource::kSingleFile);
  EXPECT_FALSE(std::filesystem::exists(StateFile()));
}

TEST_F(WindowRulesTest, StartUpAsksForCommonWordsOnAFirstStart) {
  const std::string question =
      "Ignore common words?|No words-to-ignore file has been specified.\r\nDo you wish to ignore "
      "the common English words?";
  host.QueueAnswer(Answer::kNo);
  ASSERT_TRUE(engine.StartUp());
  EXPECT_EQ(host.Dialogs(), Strings{question});
  EXPECT_EQ(s.CommonWordsLanguage, kNoLanguageSelected);
  EXPECT_TRUE(st.lists.IgnoreFileWords.empty());
  EXPECT_TRUE(st.MainWindowLoaded);
  EXPECT_EQ(host.label(Label::kCountWordsCaption), "Count words/phrases");
  // Yes: the English list is read into the words to ignore.
  ScriptedHost host2;
  Engine engine2(&host2);
  ASSERT_TRUE(engine2.StartUp());
  EXPECT_EQ(host2.Dialogs(), Strings{question});
  const RestrictionLists& lists = engine2.state().lists;
  EXPECT_EQ(std::count(lists.IgnoreFileWords.begin(), lists.IgnoreFileWords.end(), Bytes("the")),
            1);
  EXPECT_EQ(engine2.settings().CommonWordsLanguage, 0);
  ASSERT_EQ(engine2.settings().WordsFiles[0].paths.size(), 1u);
  EXPECT_NE(engine2.settings().WordsFiles[0].paths[0].find("cwds_en.txt"), std::string::npos);
}

TEST_F(WindowRulesTest, StartUpRestoresTheStateFile) {
  Settings saved;
  Initialize(&saved);
  saved.Source = InputSource::kSingleFile;
  saved.InputFilePath = dir.path() + "/";  // can never name a file
  saved.FolderPath = dir.path();
  saved.ExtraWords[0] = "don't";  // an apostrophe is not allowed: a warning once loaded
  saved.WordsFiles[0].paths = {dir.File("declined.txt")};
  saved.WordsFiles[0].selected = 0;
  WriteStateFile(saved);
  host.QueueAnswer(Answer::kNo);  // "Load file?"
  ASSERT_TRUE(engine.StartUp());
  // The declined file leaves no common-words question, and the box raises
  // no warning while the window is loading.
  ASSERT_EQ(host.Dialogs().size(), 1u);
  EXPECT_EQ(host.Dialogs()[0].substr(0, 11), "Load file?|");
  EXPECT_EQ(s.InputFilePath, "");
  EXPECT_EQ(s.Source, InputSource::kSingleFile);
  // The restored folder is remembered: a settings file without one, loaded
  // before the folder is chosen, does not lose it.
  s.FolderPath.clear();
  ASSERT_TRUE(engine.SourceChosen(InputSource::kFolder));
  EXPECT_EQ(s.FolderPath, dir.path());

  // A damaged file (a list choice out of its list): the restore question,
  // then, reinitialised without words files, the common-words question.
  Settings plain;
  Initialize(&plain);
  WriteStateFile(plain);
  std::string bytes = ReadFileBytes(StateFile());
  size_t line12 = 0;
  for (int i = 1; i < 12; ++i) line12 = bytes.find("\r\n", line12) + 2;
  WriteFileBytes(StateFile(), bytes.replace(line12, bytes.find("\r\n", line12) - line12, "99"));
  ScriptedHost host2;
  Engine engine2(&host2);
  host2.QueueAnswer(Answer::kYes);
  host2.QueueAnswer(Answer::kNo);
  ASSERT_TRUE(engine2.StartUp());
  ASSERT_EQ(host2.Dialogs().size(), 2u);
  EXPECT_EQ(host2.Dialogs()[0].substr(0, 31), "Error restoring saved settings|");
  EXPECT_EQ(host2.Dialogs()[1].substr(0, 21), "Ignore common words?|");
}

TEST_F(WindowRulesTest, QuittingSavesOnlyWhenAskedAndRemovesTemporaryFolders) {
  std::filesystem::create_directories(tmp.File("VORN007/sub"));
  WriteFileBytes(tmp.File("VORN007/sub/Report.txt"), "text");
  std::filesystem::create_directories(tmp.File("VORNX"));
  s.SaveStateOnQuit = 0;
  ASSERT_TRUE(engine.Quit());
  EXPECT_FALSE(std::filesystem::exists(StateFile()));
  EXPECT_EQ(FolderNames(tmp.path()), Strings{"VORNX"});
  s.SaveStateOnQuit = 1;
  s.WordOrder = 1;
  ASSERT_TRUE(engine.Quit());
  ScriptedHost host2;
  Engine engine2(&host2);
  ASSERT_TRUE(engine2.RestoreStateAtStartUp());
  EXPECT_EQ(engine2.settings().WordOrder, 1);
}

}  // namespace
}  // namespace vorn
