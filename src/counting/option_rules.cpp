#include "counting/option_rules.h"

#include <iterator>

#include "counting/count_dialogs.h"
#include "counting/word_lists.h"
#include "util/str_proc.h"
#include "words/char_classes.h"

namespace vorn {

namespace {

// A switch of the Settings window, and what its change sets off.
enum class FollowUp { kNothing, kCheckExtraChars, kUserExtraChars };

struct Switch {
  const char* name;
  int16_t Settings::*field;
  FollowUp follow_up;
};

// In the order "Check all" and "Clear all" set them.
constexpr Switch kSwitches[] = {
    {"AllowWordsWithHyphens", &Settings::AllowWordsWithHyphens, FollowUp::kCheckExtraChars},
    {"AllowWordsWithApostrophes", &Settings::AllowWordsWithApostrophes, FollowUp::kCheckExtraChars},
    {"AllowWordsWithUnderscores", &Settings::AllowWordsWithUnderscores, FollowUp::kCheckExtraChars},
    {"AllowWordsWithColons", &Settings::AllowWordsWithColons, FollowUp::kCheckExtraChars},
    {"AllowWordsWithBackslashes", &Settings::AllowWordsWithBackslashes, FollowUp::kNothing},
    {"AllowWordsWithForwardslashes", &Settings::AllowWordsWithForwardslashes,
     FollowUp::kCheckExtraChars},
    {"AllowWordsWithParentheses", &Settings::AllowWordsWithParentheses, FollowUp::kCheckExtraChars},
    {"AllowWordsWithAmpersands", &Settings::AllowWordsWithAmpersands, FollowUp::kCheckExtraChars},
    {"AllowWordsWithUserSpecifiedExtraChars", &Settings::AllowWordsWithUserSpecifiedExtraChars,
     FollowUp::kUserExtraChars},
    {"AllowWordsWithPeriods", &Settings::AllowWordsWithPeriods, FollowUp::kCheckExtraChars},
    {"AllowWordsWithCommas", &Settings::AllowWordsWithCommas, FollowUp::kCheckExtraChars},
    {"AllowWordsWithAtSigns", &Settings::AllowWordsWithAtSigns, FollowUp::kCheckExtraChars},
    {"AllowWordsWithNumerals", &Settings::AllowWordsWithNumerals, FollowUp::kCheckExtraChars},
    {"CaseSignificant", &Settings::CaseSignificant, FollowUp::kNothing},
    {"DropFinalS", &Settings::DropFinalS, FollowUp::kNothing},
    {"ConvertFinalIes", &Settings::ConvertFinalIes, FollowUp::kNothing},
    {"IgnoreInfrequentWords", &Settings::IgnoreInfrequentWords, FollowUp::kNothing},
    {"IgnoreRepetitions", &Settings::IgnoreRepetitions, FollowUp::kNothing},
    {"IgnoreExcessivelyFrequentWords", &Settings::IgnoreExcessivelyFrequentWords,
     FollowUp::kNothing},
    {"ExtractTextFromDocx", &Settings::ExtractTextFromDocx, FollowUp::kNothing},
    {"IgnoreNoLetter", &Settings::IgnoreNoLetter, FollowUp::kNothing},
    {"IgnoreNoVowelorY", &Settings::IgnoreNoVowelorY, FollowUp::kNothing},
    {"IgnoreShortWords", &Settings::IgnoreShortWords, FollowUp::kNothing},
    {"OutputWithCommas", &Settings::OutputWithCommas, FollowUp::kNothing},
    {"AllowCommentMarkers", &Settings::AllowCommentMarkers, FollowUp::kNothing},
    {"WarnOnOverwrite", &Settings::WarnOnOverwrite, FollowUp::kNothing},
    {"SaveStateOnQuit", &Settings::SaveStateOnQuit, FollowUp::kNothing},
    {"TerminatePhraseAtEndOfLine", &Settings::TerminatePhraseAtEndOfLine, FollowUp::kNothing},
    {"TerminatePhraseAtPeriod", &Settings::TerminatePhraseAtPeriod, FollowUp::kNothing},
    {"TerminatePhraseAtDoubleQuote", &Settings::TerminatePhraseAtDoubleQuote, FollowUp::kNothing},
    {"TerminatePhraseAtTab", &Settings::TerminatePhraseAtTab, FollowUp::kNothing},
    {"Only7bitASCII", &Settings::Only7bitASCII, FollowUp::kNothing},
    {"PatternMatchingInWordsToIgnoreFile", &Settings::PatternMatchingInWordsToIgnoreFile,
     FollowUp::kNothing},
    {"PatternMatchingInCountOnlyWordsFile", &Settings::PatternMatchingInCountOnlyWordsFile,
     FollowUp::kNothing},
};

const Switch* FindSwitch(const std::string& name) {
  for (const Switch& sw : kSwitches) {
    if (name == sw.name) return &sw;
  }
  return nullptr;
}

// Sets a switch as the program does: its handler runs unless SettingValues.
void SetSwitch(EngineState* st, const Switch& sw, int16_t value) {
  int16_t& field = st->settings.*sw.field;
  if (field == value) return;
  const int previous = field;
  field = value;
  st->SettingChanged(sw.name);
  OnOptionChanged(st, sw.name, previous);
}

}  // namespace

bool ConfirmRereading(EngineState* st) {
  const InputSource source = st->settings.Source;
  const std::string name = source == InputSource::kSingleFile ? "file"
                           : source == InputSource::kFolder   ? "files"
                                                              : "clipboard";
  if (st->host->Ask("VORN", "Changing this entails reading the " + name + " anew.  Is this OK?",
                    Buttons::kYesNo, Answer::kYes) != Answer::kYes) {
    return false;
  }
  st->TextAlreadyRead = false;
  return true;
}

bool OnOptionChanged(EngineState* st, const std::string& field, int previous) {
  const Switch* sw = FindSwitch(field);
  if (sw == nullptr) return false;
  if (!st->MainWindowLoaded || st->SettingValues) return true;
  Settings& s = st->settings;
  int16_t& value = s.*sw->field;
  if (st->TextAlreadyRead && !ConfirmRereading(st)) {
    st->SettingValues = true;
    value = value == 1 ? 0 : 1;
    st->SettingChanged(field);
    st->SettingValues = false;
  }
  switch (sw->follow_up) {
    case FollowUp::kNothing:
      break;
    case FollowUp::kCheckExtraChars:
      CheckAllowedExtraChars(st);
      break;
    case FollowUp::kUserExtraChars:
      if (value == 1 && previous != 1) {
        st->ChangeSetting(&s.UserSpecifiedExtraChars,
                          std::string(TrimBlanksAndTabs(s.UserSpecifiedExtraChars)),
                          "UserSpecifiedExtraChars");
        if (s.UserSpecifiedExtraChars.empty()) {
          SetSwitch(st, *sw, 0);
          break;
        }
      }
      CheckAllowedExtraChars(st);
      break;
  }
  return true;
}

void SetOrClearCheckboxesCommand(EngineState* st, bool check) {
  const int16_t v = check ? 1 : 0;
  st->SettingAllCheckboxes = true;
  for (const Switch& sw : kSwitches) {
    int16_t value = v;
    if (sw.field == &Settings::AllowWordsWithUserSpecifiedExtraChars) {
      value = check && !st->settings.UserSpecifiedExtraChars.empty() ? 1 : 0;
    }
    SetSwitch(st, sw, value);
  }
  st->SettingAllCheckboxes = false;
}

void RestoreDefaults(EngineState* st) {
  st->TextAlreadyRead = false;
  SetDefaultValues(&st->settings);
  for (const std::string& name : FieldNames()) st->SettingChanged(name);
}

void Reinitialize(EngineState* st) {
  st->TextAlreadyRead = false;
  Initialize(&st->settings);
  for (const std::string& name : FieldNames()) st->SettingChanged(name);
  if (!st->MainWindowLoaded) return;
  for (int index = 0; index < 2; ++index) {
    WordsFileList& files = st->settings.WordsFiles[static_cast<size_t>(index)];
    if (files.paths.empty()) continue;
    const std::string kind = index == 0 ? "words-to-ignore" : "count-only-words/phrases";
    if (st->host->Ask("Reinitialize", "Do you wish to clear all " + kind + " files?",
                      Buttons::kYesNo, Answer::kYes) == Answer::kYes) {
      files.paths.clear();
      files.selected = -1;
      st->lists.FileWords(index).clear();
      st->SettingChanged("WordsFiles" + std::to_string(index));
    }
  }
  st->host->ShowPopUp(MakePopUp("Program reinitialized", "frmParams.cmdInitialize", 800, 0));
  st->SetLabel(Label::kSettingsFile, "", false);
  st->SetLabel(Label::kSettingsFileStatus, "");
}

int16_t* SwitchField(Settings* s, const std::string& field) {
  const Switch* sw = FindSwitch(field);
  return sw == nullptr ? nullptr : &(s->*sw->field);
}

bool SwitchChangeableDuringWork(const std::string& field) {
  for (const char* name :
       {"TerminatePhraseAtTab", "TerminatePhraseAtEndOfLine", "TerminatePhraseAtPeriod",
        "TerminatePhraseAtDoubleQuote", "PatternMatchingInWordsToIgnoreFile",
        "PatternMatchingInCountOnlyWordsFile"}) {
    if (field == name) return true;
  }
  return false;
}

void UserExtraCharsBoxLeft(EngineState* st) {
  Settings& s = st->settings;
  std::string text = s.UserSpecifiedExtraChars;
  const char forbidden = CleanUserExtraChars(&text);
  st->ChangeSetting(&s.UserSpecifiedExtraChars, text, "UserSpecifiedExtraChars");
  if (forbidden != 0) {
    st->host->ShowMessage("Invalid character",
                          std::string("The character ") + forbidden + " is not permitted in words.",
                          Icon::kExclamation);
  }
  if (s.UserSpecifiedExtraChars.empty()) {
    SetSwitch(st, *FindSwitch("AllowWordsWithUserSpecifiedExtraChars"), 0);
  }
}

std::string CountOnlyBoxToolTip(const Settings& s) {
  return std::string(
             "Extra words and phrases to be counted may be added here.  A comma plus a space "
             "should be used to separate them (not just a comma).") +
         (s.CaseSignificant ? "  Case is significant." : "  Case is not significant.");
}

std::string ExcessFrequencyLabel(const Settings& s) {
  return s.ExcessFrequencyValue() == 1 ? "occurrence" : "occurrences";
}

}  // namespace vorn
