// The option rules of the Settings window, without a window: the
// re-reading question, "any of:" without characters, "Check all" and the two
// resets (the labels that follow the options are seen in the window's test).

#include "counting/option_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting/engine.h"
#include "support/scripted_host.h"

namespace vorn {
namespace {

using Strings = std::vector<std::string>;

class OptionRulesTest : public ::testing::Test {
 protected:
  OptionRulesTest() : engine(&host) { engine.settings().Source = InputSource::kSingleFile; }

  // The user ticks or unticks a switch of the Settings window.
  void Toggle(int16_t Settings::*field, const std::string& name) {
    int16_t& value = engine.settings().*field;
    const int previous = value;
    value = value == 1 ? 0 : 1;
    EXPECT_TRUE(engine.OptionChanged(name, previous));
  }

  ScriptedHost host;
  Engine engine;
};

TEST_F(OptionRulesTest, TheRereadingQuestionIsAskedOnce) {
  Settings& s = engine.settings();
  s.AllowWordsWithNumerals = 1;
  engine.state().TextAlreadyRead = true;
  const std::string question = "VORN|Changing this entails reading the file anew.  Is this OK?";
  // No: the box is ticked again, and nothing more is asked.
  host.QueueAnswer(Answer::kNo);
  Toggle(&Settings::AllowWordsWithNumerals, "AllowWordsWithNumerals");
  EXPECT_EQ(s.AllowWordsWithNumerals, 1);
  EXPECT_EQ(host.Dialogs(), Strings{question});
  // Yes: the flag is cleared, so the next change asks nothing.
  host.QueueAnswer(Answer::kYes);
  Toggle(&Settings::AllowWordsWithNumerals, "AllowWordsWithNumerals");
  Toggle(&Settings::AllowWordsWithNumerals, "AllowWordsWithNumerals");
  EXPECT_EQ(host.Dialogs(), (Strings{question, question}));
  EXPECT_FALSE(engine.state().TextAlreadyRead);
  EXPECT_FALSE(engine.OptionChanged("DisplayFormat", 0));
}

TEST_F(OptionRulesTest, AnyOfNeedsCharactersInItsBox) {
  Settings& s = engine.settings();
  s.UserSpecifiedExtraChars = "   ";
  Toggle(&Settings::AllowWordsWithUserSpecifiedExtraChars, "AllowWordsWithUserSpecifiedExtraChars");
  EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, 0);
  EXPECT_EQ(s.UserSpecifiedExtraChars, "");
  s.UserSpecifiedExtraChars = " # ";
  Toggle(&Settings::AllowWordsWithUserSpecifiedExtraChars, "AllowWordsWithUserSpecifiedExtraChars");
  EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, 1);
  EXPECT_EQ(s.UserSpecifiedExtraChars, "#");
}

TEST_F(OptionRulesTest, LeavingTheExtraCharactersBox) {
  Settings& s = engine.settings();
  struct Case {
    std::string typed;
    std::string kept;
    std::vector<std::string> dialogs;
  };
  const Case cases[] = {
      {" #%# ", "#%", {}},
      {"+#;", "#", {"Invalid character|The character + is not permitted in words."}},
      {" ?~ ", "", {"Invalid character|The character ? is not permitted in words."}},
      {"", "", {}},
  };
  for (const Case& c : cases) {
    host.Clear();
    s.AllowWordsWithUserSpecifiedExtraChars = 1;
    s.UserSpecifiedExtraChars = c.typed;
    ASSERT_TRUE(engine.UserExtraCharsBoxLeft());
    EXPECT_EQ(s.UserSpecifiedExtraChars, c.kept) << c.typed;
    EXPECT_EQ(host.Dialogs(), c.dialogs) << c.typed;
    // "any of:" needs characters in its box.
    EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, c.kept.empty() ? 0 : 1) << c.typed;
  }
}

TEST_F(OptionRulesTest, SwitchesByName) {
  Settings& s = engine.settings();
  EXPECT_EQ(SwitchField(&s, "AllowWordsWithNumerals"), &s.AllowWordsWithNumerals);
  EXPECT_EQ(SwitchField(&s, "PatternMatchingInCountOnlyWordsFile"),
            &s.PatternMatchingInCountOnlyWordsFile);
  // Lists, texts and the main window's switches are no switches of the
  // Settings window.
  for (const char* name : {"ExcessFrequency", "UserSpecifiedExtraChars", "SuppressWords", ""}) {
    EXPECT_EQ(SwitchField(&s, name), nullptr) << name;
  }
}

TEST_F(OptionRulesTest, CheckAllAndTheResets) {
  Settings& s = engine.settings();
  s.ExtraWords[0] = "the";
  s.WordsFiles[0].paths = {"/some/file.txt"};
  s.WordsFiles[0].selected = 0;
  ASSERT_TRUE(engine.SetOrClearCheckboxes(true));
  EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, 0);  // its box is empty
  EXPECT_EQ(s.AllowWordsWithNumerals, 1);
  EXPECT_EQ(s.PatternMatchingInCountOnlyWordsFile, 1);
  EXPECT_EQ(s.CaseSignificant, 1);
  EXPECT_EQ(host.Dialogs(), Strings{});
  ASSERT_TRUE(engine.RestoreDefaults());
  EXPECT_EQ(s.AllowWordsWithNumerals, 0);
  // "Reinitialize" asks about the words files.
  engine.state().SetLabel(Label::kSettingsFileStatus, "Settings saved to");
  engine.state().SetLabel(Label::kSettingsFile, "/some/settings.vorn");
  host.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(engine.Reinitialize());
  EXPECT_EQ(host.Dialogs(),
            Strings{"Reinitialize|Do you wish to clear all words-to-ignore files?"});
  EXPECT_TRUE(s.WordsFiles[0].paths.empty());
  EXPECT_EQ(s.ExtraWords[0], "");
  // It says so below its button, and the settings file shown is forgotten.
  EXPECT_EQ(host.calls().back().kind, "popup");
  EXPECT_EQ(host.calls().back().text, "Program reinitialized");
  EXPECT_FALSE(engine.state().labels[static_cast<size_t>(Label::kSettingsFile)].visible);
  EXPECT_EQ(engine.state().labels[static_cast<size_t>(Label::kSettingsFileStatus)].text, "");
}

}  // namespace
}  // namespace vorn
