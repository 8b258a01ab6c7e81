// The settings saved and restored through the engine: the start-up restore
// with its questions, "Save settings", and the settings files of the
// Settings window.

#include "counting/state_commands.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "counting/engine.h"
#include "settings/state_file.h"
#include "support/scripted_host.h"
#include "support/test_files.h"

namespace vorn {
namespace {

using Strings = std::vector<std::string>;

class StateCommandsTest : public ::testing::Test {
 protected:
  StateCommandsTest() : engine(&host) { setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1); }
  ~StateCommandsTest() override { unsetenv("XDG_CONFIG_HOME"); }

  std::string StateFile() const { return dir.File("Quillon Systems/vorn.usr"); }

  // The bytes of the record `change` makes of the defaults.
  template <typename F>
  std::string SavedBytes(F change) {
    Settings s;
    Initialize(&s);
    change(&s);
    std::string bytes;
    std::string bad;
    EXPECT_TRUE(WriteStateText(s, &bytes, &bad)) << bad;
    return bytes;
  }

  TempDir dir;
  ScriptedHost host;
  Engine engine;
};

TEST_F(StateCommandsTest, SaveSettingsMakesTheFolderAndConfirms) {
  engine.settings().WordOrder = 1;
  ASSERT_TRUE(engine.SaveSettingsNow(false));
  EXPECT_EQ(ReadFileBytes(StateFile()), SavedBytes([](Settings* s) { s->WordOrder = 1; }));
  EXPECT_EQ(host.calls().back().kind, "popup");
  EXPECT_EQ(host.calls().back().text, "Settings saved.");
  // A text the file cannot hold is refused, naming the field; the file
  // stays as it was.
  const std::string before = ReadFileBytes(StateFile());
  engine.settings().ExtraWords[0] = "say \"hi\"";
  ASSERT_TRUE(engine.SaveSettingsNow(false));
  ASSERT_EQ(host.Dialogs().size(), 1u);
  EXPECT_EQ(host.Dialogs()[0].substr(0, 14), "Save settings|");
  EXPECT_NE(host.Dialogs()[0].find("ExtraWords0"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(StateFile()), before);
}

TEST_F(StateCommandsTest, StartUpRestoresAndOffersTheWordsFiles) {
  const std::string words = dir.Write("ignore.txt", "alpha\r\nbeta\r\n");
  std::filesystem::create_directories(dir.File("Quillon Systems"));
  WriteFileBytes(StateFile(), SavedBytes([&](Settings* s) {
                   s->WordOrder = 1;
                   s->WordsFiles[0].paths = {words};
                   s->WordsFiles[0].selected = 0;
                   s->CommonWordsLanguage = 0;
                 }));
  // No: the list keeps its path without a selection, and no language.
  host.QueueAnswer(Answer::kNo);
  ASSERT_TRUE(engine.RestoreStateAtStartUp());
  EXPECT_EQ(host.Dialogs(),
            Strings{"Load file?|Do you wish to load the words-to-ignore file\r\n" + words + " ?"});
  EXPECT_EQ(engine.settings().WordOrder, 1);
  EXPECT_EQ(engine.settings().WordsFiles[0].selected, -1);
  EXPECT_EQ(engine.settings().CommonWordsLanguage, kNoLanguageSelected);
  // Yes: the file is read.
  ScriptedHost host2;
  Engine engine2(&host2);
  ASSERT_TRUE(engine2.RestoreStateAtStartUp());
  EXPECT_EQ(engine2.state().lists.IgnoreFileWords.size(), 2u);
}

TEST_F(StateCommandsTest, StartUpWithADamagedFile) {
  std::string bytes = SavedBytes([](Settings* s) { s->WordOrder = 1; });
  // A list choice out of its list on line 12: the reading fails.
  const size_t line12 = [&] {
    size_t at = 0;
    for (int i = 1; i < 12; ++i) at = bytes.find("\r\n", at) + 2;
    return at;
  }();
  bytes.replace(line12, bytes.find("\r\n", line12) - line12, "99");
  std::filesystem::create_directories(dir.File("Quillon Systems"));
  WriteFileBytes(StateFile(), bytes);
  host.QueueAnswer(Answer::kNo);
  ASSERT_TRUE(engine.RestoreStateAtStartUp());
  EXPECT_EQ(host.Dialogs(),
            Strings{"Error restoring saved settings|The saved settings could not be read: Invalid "
                    "data\r\n\r\nDo you wish to reinitialize all settings?"});
  EXPECT_EQ(engine.settings().SaveStateOnQuit, 0);
  // Cut short: the fields read stay, defaults are offered, saving advised.
  WriteFileBytes(StateFile(), bytes.substr(0, line12));
  ScriptedHost host2;
  Engine engine2(&host2);
  host2.QueueAnswer(Answer::kNo);
  ASSERT_TRUE(engine2.RestoreStateAtStartUp());
  EXPECT_EQ(host2.Dialogs(),
            (Strings{"Error restoring saved state|Input past end of file.  Set default values?",
                     "Save state?|Saving the settings may fix the 'Input past end of file' "
                     "error."}));
}

TEST_F(StateCommandsTest, SettingsFilesOfTheSettingsWindow) {
  const std::string file = dir.File("mine.vorn");
  engine.settings().DisplayFormat = 7;
  engine.settings().WordsFiles[1].paths = {dir.Write("only.txt", "gamma\r\n")};
  engine.settings().WordsFiles[1].selected = 0;
  host.QueueChosenPath(file);
  ASSERT_TRUE(engine.SaveSettingsToFile());
  EXPECT_EQ(host.label(Label::kSettingsFileStatus), "Settings saved to");
  EXPECT_EQ(host.label(Label::kSettingsFile), file);
  // Loaded into a fresh record, without "Load file?".
  ScriptedHost host2;
  Engine engine2(&host2);
  host2.QueueChosenPath(file);
  ASSERT_TRUE(engine2.LoadSettingsFromFile());
  EXPECT_EQ(host2.Dialogs(), Strings{});
  EXPECT_EQ(engine2.settings().DisplayFormat, 7);
  EXPECT_EQ(host2.label(Label::kSettingsFileStatus), "Settings loaded from");
  // A damaged file (a list choice that is no number after the eleven texts):
  // a warning, and the record reinitialised.
  std::string damaged;
  for (int i = 0; i < 11; ++i) damaged += "\"\"\r\n";
  WriteFileBytes(file, damaged + "not a number\r\n");
  host2.QueueChosenPath(file);
  ASSERT_TRUE(engine2.LoadSettingsFromFile());
  ASSERT_EQ(host2.Dialogs().size(), 1u);
  EXPECT_EQ(host2.Dialogs()[0].substr(0, 14), "Load settings|");
  EXPECT_EQ(engine2.settings().DisplayFormat, 0);
  EXPECT_EQ(host2.label(Label::kSettingsFileStatus), "Error loading from");
}

}  // namespace
}  // namespace vorn
