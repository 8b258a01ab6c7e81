#include "settings/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace vorn {
namespace {

// The switches that "Check all" and "Clear all" set, besides
// AllowWordsWithUserSpecifiedExtraChars.
const std::vector<std::pair<const char*, int16_t Settings::*>>& CheckboxSwitches() {
  static const std::vector<std::pair<const char*, int16_t Settings::*>> switches = {
      {"AllowWordsWithHyphens", &Settings::AllowWordsWithHyphens},
      {"AllowWordsWithApostrophes", &Settings::AllowWordsWithApostrophes},
      {"AllowWordsWithUnderscores", &Settings::AllowWordsWithUnderscores},
      {"AllowWordsWithColons", &Settings::AllowWordsWithColons},
      {"AllowWordsWithBackslashes", &Settings::AllowWordsWithBackslashes},
      {"AllowWordsWithForwardslashes", &Settings::AllowWordsWithForwardslashes},
      {"AllowWordsWithParentheses", &Settings::AllowWordsWithParentheses},
      {"AllowWordsWithAmpersands", &Settings::AllowWordsWithAmpersands},
      {"AllowWordsWithPeriods", &Settings::AllowWordsWithPeriods},
      {"AllowWordsWithCommas", &Settings::AllowWordsWithCommas},
      {"AllowWordsWithAtSigns", &Settings::AllowWordsWithAtSigns},
      {"AllowWordsWithNumerals", &Settings::AllowWordsWithNumerals},
      {"CaseSignificant", &Settings::CaseSignificant},
      {"DropFinalS", &Settings::DropFinalS},
      {"ConvertFinalIes", &Settings::ConvertFinalIes},
      {"IgnoreInfrequentWords", &Settings::IgnoreInfrequentWords},
      {"IgnoreRepetitions", &Settings::IgnoreRepetitions},
      {"IgnoreExcessivelyFrequentWords", &Settings::IgnoreExcessivelyFrequentWords},
      {"ExtractTextFromDocx", &Settings::ExtractTextFromDocx},
      {"IgnoreNoLetter", &Settings::IgnoreNoLetter},
      {"IgnoreNoVowelorY", &Settings::IgnoreNoVowelorY},
      {"IgnoreShortWords", &Settings::IgnoreShortWords},
      {"OutputWithCommas", &Settings::OutputWithCommas},
      {"AllowCommentMarkers", &Settings::AllowCommentMarkers},
      {"WarnOnOverwrite", &Settings::WarnOnOverwrite},
      {"SaveStateOnQuit", &Settings::SaveStateOnQuit},
      {"TerminatePhraseAtEndOfLine", &Settings::TerminatePhraseAtEndOfLine},
      {"TerminatePhraseAtPeriod", &Settings::TerminatePhraseAtPeriod},
      {"TerminatePhraseAtDoubleQuote", &Settings::TerminatePhraseAtDoubleQuote},
      {"TerminatePhraseAtTab", &Settings::TerminatePhraseAtTab},
      {"Only7bitASCII", &Settings::Only7bitASCII},
      {"PatternMatchingInWordsToIgnoreFile", &Settings::PatternMatchingInWordsToIgnoreFile},
      {"PatternMatchingInCountOnlyWordsFile", &Settings::PatternMatchingInCountOnlyWordsFile},
  };
  return switches;
}

// A record whose main-window, list and dialog fields all differ from their
// defaults.
Settings Customised() {
  Settings s;
  s.WordsFiles[0].paths = {"/words/ignore.txt"};
  s.WordsFiles[0].selected = 0;
  s.WordsFiles[1].paths = {"/words/a.txt", "/words/b.txt"};
  s.WordsFiles[1].selected = 1;
  s.ExtraWords = {"the and", "red, green"};
  s.CommonWordsLanguage = 3;
  s.Source = InputSource::kSingleFile;
  s.FolderPath = "/data";
  s.InputFilePath = "/data/in.txt";
  s.OutputFilePath = "/data/out.txt";
  s.FileFilepathSpecifications = {"*.txt", "old"};
  s.IncludeSubfolders = 1;
  s.SuppressWords = 0;
  s.SuppressFilenames = 1;
  s.DisableOutputToFile = 1;
  s.DisplayRelativeFrequency = 1;
  s.SortByNumberOfFiles = 1;
  s.WordOrder = 1;
  s.DisplayFormat = 11;
  s.CountArrayLayout = 2;
  s.CountArrayZeroCellsBlank = 1;
  s.CountArrayWriteRelativeFrequency = 1;
  s.MinPhraseLength = 0;
  s.MaxPhraseLength = 9;
  s.MinPhraseOccurrences = 4;
  // Settings-window options away from their defaults.
  SetOrClearCheckboxes(&s, true);
  s.UserSpecifiedExtraChars = "#$";
  s.ShortWordSize = 5;
  s.LongWordSize = 0;
  s.ThresholdFrequency = 7;
  s.ExcessFrequency = 22;
  return s;
}

TEST(SettingsTest, ItemLists) {
  EXPECT_EQ(ExcessFrequencyItems().size(), 23u);
  EXPECT_EQ(ExcessFrequencyItems().front(), "1");
  EXPECT_EQ(ExcessFrequencyItems()[9], "10");
  EXPECT_EQ(ExcessFrequencyItems()[10], "20");
  EXPECT_EQ(ExcessFrequencyItems()[18], "100");
  EXPECT_EQ(ExcessFrequencyItems().back(), "500");
  EXPECT_EQ(ThresholdFrequencyItems().size(), 18u);
  EXPECT_EQ(ThresholdFrequencyItems().front(), "2");
  EXPECT_EQ(ThresholdFrequencyItems()[8], "10");
  EXPECT_EQ(ThresholdFrequencyItems().back(), "100");
  EXPECT_EQ(ShortWordSizeItems().size(), 19u);
  EXPECT_EQ(ShortWordSizeItems().front(), "2");
  EXPECT_EQ(ShortWordSizeItems().back(), "20");
  EXPECT_EQ(LongWordSizeItems(),
            (std::vector<std::string>{"20", "30", "40", "50", "60", "70", "80", "90", "100"}));
  EXPECT_EQ(PhraseLengthItems().size(), 30u);
  EXPECT_EQ(PhraseLengthItems().front(), "1");
  EXPECT_EQ(PhraseLengthItems().back(), "30");
  ASSERT_EQ(CommonWordsLanguageItems().size(), 8u);
  EXPECT_EQ(CommonWordsLanguageItems()[0], "English");
  EXPECT_EQ(CommonWordsLanguageItems()[6], "All six languages");
  EXPECT_EQ(CommonWordsLanguageItems()[kNoLanguageSelected], "[No language selected]");
}

TEST(SettingsTest, DefaultValuesAreTheDefaultItems) {
  const Settings s;
  EXPECT_EQ(s.ShortWordSizeValue(), 3);
  EXPECT_EQ(s.LongWordSizeValue(), 50);
  EXPECT_EQ(s.ThresholdFrequencyValue(), 2);
  EXPECT_EQ(s.ExcessFrequencyValue(), 20);
  EXPECT_EQ(s.MinPhraseLengthValue(), 3);
  EXPECT_EQ(s.MaxPhraseLengthValue(), 6);
  EXPECT_EQ(s.MinPhraseOccurrencesValue(), 2);
}

TEST(SettingsTest, ValuesFollowTheChosenItem) {
  Settings s;
  s.ShortWordSize = 18;
  s.LongWordSize = 8;
  s.ThresholdFrequency = 17;
  s.ExcessFrequency = 0;
  s.MinPhraseLength = 29;
  EXPECT_EQ(s.ShortWordSizeValue(), 20);
  EXPECT_EQ(s.LongWordSizeValue(), 100);
  EXPECT_EQ(s.ThresholdFrequencyValue(), 100);
  EXPECT_EQ(s.ExcessFrequencyValue(), 1);
  EXPECT_EQ(s.MinPhraseLengthValue(), 30);
}

TEST(SettingsTest, IndexOutsideTheListStandsForTheDefault) {
  Settings s;
  s.ShortWordSize = -1;
  s.LongWordSize = 9;
  s.ThresholdFrequency = 200;
  s.ExcessFrequency = -1;
  s.MaxPhraseLength = 30;
  EXPECT_EQ(s.ShortWordSizeValue(), 3);
  EXPECT_EQ(s.LongWordSizeValue(), 50);
  EXPECT_EQ(s.ThresholdFrequencyValue(), 2);
  EXPECT_EQ(s.ExcessFrequencyValue(), 20);
  EXPECT_EQ(s.MaxPhraseLengthValue(), 6);
}

TEST(SettingsTest, RestoreDefaultsResetsTheSettingsWindowOptions) {
  Settings s = Customised();
  SetDefaultValues(&s);
  const Settings fresh;
  for (const auto& [name, member] : CheckboxSwitches()) {
    EXPECT_EQ(s.*member, fresh.*member) << name;
  }
  EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, 0);
  EXPECT_EQ(s.UserSpecifiedExtraChars, "");
  EXPECT_EQ(s.AllowWordsWithHyphens, 1);
  EXPECT_EQ(s.IgnoreShortWords, 1);
  EXPECT_EQ(s.TerminatePhraseAtTab, 1);
  EXPECT_EQ(s.ShortWordSize, 1);
  EXPECT_EQ(s.LongWordSize, 3);
  EXPECT_EQ(s.ThresholdFrequency, 0);
  EXPECT_EQ(s.ExcessFrequency, 10);
}

TEST(SettingsTest, RestoreDefaultsLeavesListsLanguageAndMainWindowFields) {
  const Settings before = Customised();
  Settings s = before;
  SetDefaultValues(&s);
  EXPECT_EQ(s.WordsFiles[0].paths, before.WordsFiles[0].paths);
  EXPECT_EQ(s.WordsFiles[0].selected, before.WordsFiles[0].selected);
  EXPECT_EQ(s.WordsFiles[1].paths, before.WordsFiles[1].paths);
  EXPECT_EQ(s.WordsFiles[1].selected, before.WordsFiles[1].selected);
  EXPECT_EQ(s.ExtraWords, before.ExtraWords);
  EXPECT_EQ(s.CommonWordsLanguage, before.CommonWordsLanguage);
  EXPECT_EQ(s.Source, before.Source);
  EXPECT_EQ(s.FolderPath, before.FolderPath);
  EXPECT_EQ(s.InputFilePath, before.InputFilePath);
  EXPECT_EQ(s.OutputFilePath, before.OutputFilePath);
  EXPECT_EQ(s.FileFilepathSpecifications, before.FileFilepathSpecifications);
  EXPECT_EQ(s.IncludeSubfolders, before.IncludeSubfolders);
  EXPECT_EQ(s.SuppressWords, before.SuppressWords);
  EXPECT_EQ(s.SuppressFilenames, before.SuppressFilenames);
  EXPECT_EQ(s.DisableOutputToFile, before.DisableOutputToFile);
  EXPECT_EQ(s.DisplayRelativeFrequency, before.DisplayRelativeFrequency);
  EXPECT_EQ(s.SortByNumberOfFiles, before.SortByNumberOfFiles);
  EXPECT_EQ(s.WordOrder, before.WordOrder);
  EXPECT_EQ(s.DisplayFormat, before.DisplayFormat);
  EXPECT_EQ(s.CountArrayLayout, before.CountArrayLayout);
  EXPECT_EQ(s.CountArrayZeroCellsBlank, before.CountArrayZeroCellsBlank);
  EXPECT_EQ(s.CountArrayWriteRelativeFrequency, before.CountArrayWriteRelativeFrequency);
  EXPECT_EQ(s.MinPhraseLength, before.MinPhraseLength);
  EXPECT_EQ(s.MaxPhraseLength, before.MaxPhraseLength);
  EXPECT_EQ(s.MinPhraseOccurrences, before.MinPhraseOccurrences);
}

TEST(SettingsTest, InitializeResetsTheWholeRecord) {
  const Settings before = Customised();
  Settings s = before;
  Initialize(&s);
  const Settings fresh;
  for (const auto& [name, member] : CheckboxSwitches()) {
    EXPECT_EQ(s.*member, fresh.*member) << name;
  }
  EXPECT_EQ(s.Source, InputSource::kFolder);
  EXPECT_EQ(s.FolderPath, "");
  EXPECT_EQ(s.InputFilePath, "");
  EXPECT_EQ(s.OutputFilePath, "");
  EXPECT_EQ(s.FileFilepathSpecifications, (std::array<std::string, 2>{"", ""}));
  EXPECT_EQ(s.ExtraWords, (std::array<std::string, 2>{"", ""}));
  EXPECT_EQ(s.DisableOutputToFile, 0);  // the output path is now empty
  EXPECT_EQ(s.SuppressWords, 1);
  EXPECT_EQ(s.SuppressFilenames, 0);
  EXPECT_EQ(s.DisplayRelativeFrequency, 0);
  EXPECT_EQ(s.SortByNumberOfFiles, 0);
  EXPECT_EQ(s.WordOrder, 0);
  EXPECT_EQ(s.DisplayFormat, 0);
  EXPECT_EQ(s.CountArrayLayout, 0);
  EXPECT_EQ(s.CountArrayZeroCellsBlank, 0);
  EXPECT_EQ(s.MinPhraseLength, 2);
  EXPECT_EQ(s.MaxPhraseLength, 5);
  EXPECT_EQ(s.MinPhraseOccurrences, 1);
  EXPECT_EQ(s.ShortWordSize, 1);
  EXPECT_EQ(s.UserSpecifiedExtraChars, "");
  // Kept: the words-file lists (the window asks about them), the language,
  // the subfolder switch and the count-array relative-frequency switch.
  EXPECT_EQ(s.WordsFiles[1].paths, before.WordsFiles[1].paths);
  EXPECT_EQ(s.CommonWordsLanguage, before.CommonWordsLanguage);
  EXPECT_EQ(s.IncludeSubfolders, 1);
  EXPECT_EQ(s.CountArrayWriteRelativeFrequency, 1);
}

TEST(SettingsTest, CheckAllWithEmptyExtraCharsLeavesAnyOfUnticked) {
  for (const char* extra : {"", "   "}) {
    Settings s;
    s.UserSpecifiedExtraChars = extra;
    SetOrClearCheckboxes(&s, true);
    EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, 0) << '"' << extra << '"';
    for (const auto& [name, member] : CheckboxSwitches()) {
      EXPECT_EQ(s.*member, 1) << name;
    }
    EXPECT_EQ(s.UserSpecifiedExtraChars, extra);
  }
}

TEST(SettingsTest, CheckAllTicksAnyOfWhenItHasCharacters) {
  Settings s;
  s.UserSpecifiedExtraChars = "#";
  SetOrClearCheckboxes(&s, true);
  EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, 1);
}

TEST(SettingsTest, ClearAllClearsEverySwitchAndNothingElse) {
  Settings s = Customised();
  const Settings before = s;
  SetOrClearCheckboxes(&s, false);
  EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, 0);
  for (const auto& [name, member] : CheckboxSwitches()) {
    EXPECT_EQ(s.*member, 0) << name;
  }
  EXPECT_EQ(s.UserSpecifiedExtraChars, before.UserSpecifiedExtraChars);
  EXPECT_EQ(s.ShortWordSize, before.ShortWordSize);
  EXPECT_EQ(s.ExcessFrequency, before.ExcessFrequency);
  EXPECT_EQ(s.ExtraWords, before.ExtraWords);
  EXPECT_EQ(s.IncludeSubfolders, 1);
  EXPECT_EQ(s.SuppressWords, 0);
  EXPECT_EQ(s.DisableOutputToFile, 1);
  EXPECT_EQ(s.CountArrayZeroCellsBlank, 1);
}

TEST(SettingsTest, SyncOutputFileOption) {
  Settings s;
  s.DisableOutputToFile = 1;
  s.OutputFilePath = "/tmp/out.txt";
  SyncOutputFileOption(&s);
  EXPECT_EQ(s.DisableOutputToFile, 1);
  s.OutputFilePath.clear();
  SyncOutputFileOption(&s);
  EXPECT_EQ(s.DisableOutputToFile, 0);
}

TEST(SettingsTest, SetFieldByNameAcceptsGoodValues) {
  Settings s;
  struct Case {
    const char* name;
    const char* value;
  };
  const Case kCases[] = {
      {"AllowWordsWithNumerals", "1"},
      {"CaseSignificant", "1"},
      {"IgnoreShortWords", "0"},
      {"ShortWordSize", "5"},
      {"LongWordSize", "100"},
      {"ThresholdFrequency", "10"},
      {"ExcessFrequency", "300"},
      {"MinPhraseLength", "2"},
      {"MaxPhraseLength", "30"},
      {"MinPhraseOccurrences", "1"},
      {"WordOrder", "1"},
      {"DisplayFormat", "13"},
      {"CommonWordsLanguage", "7"},
      {"CountArrayLayout", "2"},
      {"Source", "0"},
      {"UserSpecifiedExtraChars", "#$"},
      {"ExtraWords0", "the a an"},
      {"ExtraWords(1)", "red, green"},
      {"FileFilepathSpecifications0", "*.txt"},
      {"FileFilepathSpecifications(1)", "old"},
      {"OutputFilePath", "/tmp/out.txt"},
      {"WordsFiles1", "/words/count.txt"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(SetFieldByName(&s, c.name, c.value), "") << c.name << "=" << c.value;
  }
  EXPECT_EQ(s.AllowWordsWithNumerals, 1);
  EXPECT_EQ(s.CaseSignificant, 1);
  EXPECT_EQ(s.IgnoreShortWords, 0);
  EXPECT_EQ(s.ShortWordSize, 3);
  EXPECT_EQ(s.ShortWordSizeValue(), 5);
  EXPECT_EQ(s.LongWordSize, 8);
  EXPECT_EQ(s.ThresholdFrequency, 8);
  EXPECT_EQ(s.ExcessFrequencyValue(), 300);
  EXPECT_EQ(s.MinPhraseLength, 1);
  EXPECT_EQ(s.MaxPhraseLength, 29);
  EXPECT_EQ(s.MinPhraseOccurrences, 0);
  EXPECT_EQ(s.WordOrder, 1);
  EXPECT_EQ(s.DisplayFormat, 13);
  EXPECT_EQ(s.CommonWordsLanguage, kNoLanguageSelected);
  EXPECT_EQ(s.CountArrayLayout, 2);
  EXPECT_EQ(s.Source, InputSource::kClipboard);
  EXPECT_EQ(s.UserSpecifiedExtraChars, "#$");
  EXPECT_EQ(s.ExtraWords[0], "the a an");
  EXPECT_EQ(s.ExtraWords[1], "red, green");
  EXPECT_EQ(s.FileFilepathSpecifications[0], "*.txt");
  EXPECT_EQ(s.FileFilepathSpecifications[1], "old");
  EXPECT_EQ(s.OutputFilePath, "/tmp/out.txt");
  EXPECT_EQ(s.WordsFiles[1].paths, std::vector<std::string>{"/words/count.txt"});
  EXPECT_EQ(s.WordsFiles[1].selected, 0);

  EXPECT_EQ(SetFieldByName(&s, "WordsFiles1", ""), "");
  EXPECT_TRUE(s.WordsFiles[1].paths.empty());
  EXPECT_EQ(s.WordsFiles[1].selected, -1);
  EXPECT_EQ(SetFieldByName(&s, "ExtraWords0", ""), "");
  EXPECT_EQ(s.ExtraWords[0], "");
}

TEST(SetFieldByNameTest, RefusesBadValuesAndNamesTheField) {
  struct Case {
    const char* name;
    const char* value;
    const char* want_in_message;
  };
  const Case kCases[] = {
      {"ShortWordSize", "1", "ShortWordSize takes one of: 2, 3, 4,"},
      {"ShortWordSize", "21", "ShortWordSize takes one of:"},
      {"ShortWordSize", "abc", "ShortWordSize takes one of:"},
      {"ShortWordSize", "", "ShortWordSize takes one of:"},
      {"LongWordSize", "55", "LongWordSize takes one of: 20, 30,"},
      {"ExcessFrequency", "15", "ExcessFrequency takes one of: 1, 2,"},
      {"ThresholdFrequency", "1", "ThresholdFrequency takes one of: 2,"},
      {"MinPhraseLength", "0", "MinPhraseLength takes one of: 1, 2,"},
      {"MaxPhraseLength", "31", "MaxPhraseLength takes one of:"},
      {"AllowWordsWithHyphens", "2", "AllowWordsWithHyphens takes 0 or 1"},
      {"AllowWordsWithHyphens", "yes", "AllowWordsWithHyphens takes 0 or 1"},
      {"AllowWordsWithHyphens", "-1", "AllowWordsWithHyphens takes 0 or 1"},
      {"AllowWordsWithHyphens", "1x", "AllowWordsWithHyphens takes 0 or 1"},
      {"WordOrder", "2", "WordOrder takes one of: 0 (By frequency), 1 (Alphabetical)"},
      {"DisplayFormat", "14", "DisplayFormat takes one of: 0 ("},
      {"DisplayFormat", "-1", "13 (word file-list (+ freq))"},
      {"CommonWordsLanguage", "8", "7 ([No language selected])"},
      {"CountArrayLayout", "3", "CountArrayLayout takes one of: 0 (alphabetical)"},
      {"Source", "3", "Source takes one of: 0 (clipboard), 1 (single file), 2 (folder)"},
  };
  for (const auto& c : kCases) {
    Settings s;
    const Settings before = s;
    const std::string message = SetFieldByName(&s, c.name, c.value);
    EXPECT_NE(message.find(c.want_in_message), std::string::npos)
        << c.name << "=" << c.value << ": " << message;
    EXPECT_EQ(s.ShortWordSize, before.ShortWordSize) << c.name;
    EXPECT_EQ(s.AllowWordsWithHyphens, before.AllowWordsWithHyphens) << c.name;
    EXPECT_EQ(s.DisplayFormat, before.DisplayFormat) << c.name;
    EXPECT_EQ(s.Source, before.Source) << c.name;
  }
}

TEST(SetFieldByNameTest, RefusesUnknownNames) {
  for (const char* name : {"Bogus", "shortwordsize", "ExtraWords", "ExtraWords2", "ExtraWords(2)",
                           "WordsFiles", "", "ShortWordSize "}) {
    Settings s;
    const std::string message = SetFieldByName(&s, name, "1");
    EXPECT_NE(message.find("Unknown setting"), std::string::npos) << name << ": " << message;
    EXPECT_NE(message.find("ShortWordSize"), std::string::npos) << name;
  }
}

TEST(SetFieldByNameTest, FieldNamesAreAllAccepted) {
  const std::vector<std::string> names = FieldNames();
  EXPECT_EQ(names.size(), 64u);
  EXPECT_EQ(names.front(), "AllowWordsWithHyphens");
  EXPECT_EQ(names.back(), "MinPhraseOccurrences");
  for (const char* expected :
       {"WordsFiles0", "WordsFiles1", "ExtraWords0", "ExtraWords1", "FileFilepathSpecifications0",
        "FileFilepathSpecifications1", "Source", "UserSpecifiedExtraChars", "IncludeSubfolders"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
  }
  for (const std::string& name : names) {
    Settings s;
    // Every name is known: a value is either taken or refused with a message
    // that names the field, never as an unknown setting.
    const std::string message = SetFieldByName(&s, name, "1");
    if (!message.empty()) {
      EXPECT_EQ(message.rfind(name, 0), 0u) << message;
    }
    EXPECT_EQ(message.find("Unknown setting"), std::string::npos) << name;
  }
}

}  // namespace
}  // namespace vorn
