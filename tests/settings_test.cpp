#include "settings/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace vorn {
namespace {

// A record whose main-window, list and dialog fields all differ from their
// defaults, with every Settings-window switch ticked.
Settings Customised() {
  Settings s;
  s.WordsFiles[1].paths = {"/words/a.txt", "/words/b.txt"};
  s.ExtraWords = {"the and", "red, green"};
  s.CommonWordsLanguage = 3;
  s.Source = InputSource::kSingleFile;
  s.OutputFilePath = "/data/out.txt";
  s.FileFilepathSpecifications = {"*.txt", "old"};
  s.IncludeSubfolders = 1;
  s.SuppressWords = 0;
  s.DisableOutputToFile = 1;
  s.DisplayFormat = 11;
  s.CountArrayZeroCellsBlank = 1;
  s.CountArrayWriteRelativeFrequency = 1;
  s.MaxPhraseLength = 9;
  SetOrClearCheckboxes(&s, true);
  s.UserSpecifiedExtraChars = "#$";
  s.ShortWordSize = 5;
  s.ExcessFrequency = 22;
  return s;
}

// The numbers the seven list choices stand for.
std::vector<int> Values(const Settings& s) {
  return {s.ShortWordSizeValue(),       s.LongWordSizeValue(),    s.ThresholdFrequencyValue(),
          s.ExcessFrequencyValue(),     s.MinPhraseLengthValue(), s.MaxPhraseLengthValue(),
          s.MinPhraseOccurrencesValue()};
}

// The values when the seven list choices have the indexes `in`.
std::vector<int> ValuesOf(std::vector<int16_t> in) {
  Settings s;
  int16_t Settings::*const kFields[] = {&Settings::ShortWordSize,       &Settings::LongWordSize,
                                        &Settings::ThresholdFrequency,  &Settings::ExcessFrequency,
                                        &Settings::MinPhraseLength,     &Settings::MaxPhraseLength,
                                        &Settings::MinPhraseOccurrences};
  for (size_t i = 0; i < in.size(); ++i) s.*kFields[i] = in[i];
  return Values(s);
}

TEST(SettingsTest, ValuesFollowTheChosenItemAndAnIndexOutsideTheListIsTheDefault) {
  EXPECT_EQ(ValuesOf({}), (std::vector<int>{3, 50, 2, 20, 3, 6, 2}));
  EXPECT_EQ(ValuesOf({0, 0, 8, 22}), (std::vector<int>{2, 20, 10, 500, 3, 6, 2}));
  EXPECT_EQ(ValuesOf({-1, 9, 200, -1, 30, 30, -1}), (std::vector<int>{3, 50, 2, 20, 3, 6, 2}));
}

TEST(SettingsTest, RestoreDefaultsResetsOnlyTheSettingsWindowOptions) {
  const Settings before = Customised();
  Settings s = before;
  SetDefaultValues(&s);
  EXPECT_EQ(s.AllowWordsWithHyphens, 1);
  EXPECT_EQ(s.AllowWordsWithApostrophes, 0);
  EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, 0);
  EXPECT_EQ(s.UserSpecifiedExtraChars, "");
  EXPECT_EQ(s.TerminatePhraseAtTab, 1);
  EXPECT_EQ(s.PatternMatchingInCountOnlyWordsFile, 0);
  EXPECT_EQ(s.ShortWordSize, 1);
  EXPECT_EQ(s.ExcessFrequency, 10);
  // Lists, language, main-window and dialog fields are left alone.
  EXPECT_EQ(s.WordsFiles[1].paths, before.WordsFiles[1].paths);
  EXPECT_EQ(s.ExtraWords, before.ExtraWords);
  EXPECT_EQ(s.CommonWordsLanguage, 3);
  EXPECT_EQ(s.Source, InputSource::kSingleFile);
  EXPECT_EQ(s.DisplayFormat, 11);
  EXPECT_EQ(s.MaxPhraseLength, 9);
}

TEST(SettingsTest, InitializeResetsTheWholeRecord) {
  const Settings before = Customised();
  Settings s = before;
  Initialize(&s);
  EXPECT_EQ(s.AllowWordsWithApostrophes, 0);
  EXPECT_EQ(s.Source, InputSource::kFolder);
  EXPECT_EQ(s.OutputFilePath, "");
  EXPECT_EQ(s.FileFilepathSpecifications, (std::array<std::string, 2>{"", ""}));
  EXPECT_EQ(s.ExtraWords, (std::array<std::string, 2>{"", ""}));
  EXPECT_EQ(s.DisableOutputToFile, 0);  // the output path is now empty
  EXPECT_EQ(s.SuppressWords, 1);
  EXPECT_EQ(s.DisplayFormat, 0);
  EXPECT_EQ(s.MaxPhraseLength, 5);
  // Kept: the words-file lists (the window asks about them), the language,
  // the subfolder switch and the count-array relative-frequency switch.
  EXPECT_EQ(s.WordsFiles[1].paths, before.WordsFiles[1].paths);
  EXPECT_EQ(s.CommonWordsLanguage, 3);
  EXPECT_EQ(s.IncludeSubfolders, 1);
  EXPECT_EQ(s.CountArrayWriteRelativeFrequency, 1);
}

TEST(SettingsTest, CheckAllTicksAnyOfOnlyWhenItHasCharactersAndClearAllClearsOnlySwitches) {
  for (const auto& [extra, any_of] : {std::pair{"", 0}, {"   ", 0}, {"#", 1}}) {
    Settings s;
    s.UserSpecifiedExtraChars = extra;
    SetOrClearCheckboxes(&s, true);
    EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, any_of) << '"' << extra << '"';
    EXPECT_EQ(s.AllowWordsWithApostrophes, 1) << extra;
    EXPECT_EQ(s.PatternMatchingInCountOnlyWordsFile, 1) << extra;
    EXPECT_EQ(s.UserSpecifiedExtraChars, extra);
  }
  Settings s = Customised();
  SetOrClearCheckboxes(&s, false);
  EXPECT_EQ(s.AllowWordsWithHyphens, 0);
  EXPECT_EQ(s.AllowWordsWithUserSpecifiedExtraChars, 0);
  EXPECT_EQ(s.PatternMatchingInCountOnlyWordsFile, 0);
  EXPECT_EQ(s.UserSpecifiedExtraChars, "#$");
  EXPECT_EQ(s.ShortWordSize, 5);
  EXPECT_EQ(s.IncludeSubfolders, 1);
  EXPECT_EQ(s.DisableOutputToFile, 1);
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

TEST(SetFieldByNameTest, AcceptsGoodValues) {
  Settings s;
  for (const std::string nv :
       {"ShortWordSize=5", "LongWordSize=100", "ThresholdFrequency=10", "ExcessFrequency=300",
        "MinPhraseLength=2", "MaxPhraseLength=30", "MinPhraseOccurrences=1", "IgnoreShortWords=0",
        "DisplayFormat=13", "CommonWordsLanguage=7", "Source=0", "ExtraWords0=the a",
        "ExtraWords(1)=red, green", "FileFilepathSpecifications(1)=old",
        "WordsFiles1=/words/count.txt"}) {
    const size_t eq = nv.find('=');
    EXPECT_EQ(SetFieldByName(&s, nv.substr(0, eq), nv.substr(eq + 1)), "") << nv;
  }
  EXPECT_EQ(Values(s), (std::vector<int>{5, 100, 10, 300, 2, 30, 1}));
  EXPECT_EQ(s.ShortWordSize, 3);  // the index of item "5"
  EXPECT_EQ(s.IgnoreShortWords, 0);
  EXPECT_EQ(s.DisplayFormat, 13);
  EXPECT_EQ(s.CommonWordsLanguage, kNoLanguageSelected);
  EXPECT_EQ(s.Source, InputSource::kClipboard);
  EXPECT_EQ(s.ExtraWords, (std::array<std::string, 2>{"the a", "red, green"}));
  EXPECT_EQ(s.FileFilepathSpecifications[1], "old");
  EXPECT_EQ(s.WordsFiles[1].paths, std::vector<std::string>{"/words/count.txt"});
  EXPECT_EQ(s.WordsFiles[1].selected, 0);
  EXPECT_EQ(SetFieldByName(&s, "WordsFiles1", ""), "");
  EXPECT_TRUE(s.WordsFiles[1].paths.empty());
  EXPECT_EQ(s.WordsFiles[1].selected, -1);
}

TEST(SetFieldByNameTest, RefusesBadValuesAndNamesTheField) {
  const char* const kCases[][3] = {
      {"ShortWordSize", "1", "ShortWordSize takes one of: 2, 3, 4,"},
      {"ShortWordSize", "abc", "ShortWordSize takes one of:"},
      {"AllowWordsWithHyphens", "2", "AllowWordsWithHyphens takes 0 or 1"},
      {"AllowWordsWithHyphens", "1x", "AllowWordsWithHyphens takes 0 or 1"},
      {"WordOrder", "2", "WordOrder takes one of: 0 (By frequency), 1 (Alphabetical)"},
      {"DisplayFormat", "-1", "13 (word file-list (+ freq))"},
      {"CommonWordsLanguage", "8", "7 ([No language selected])"},
      {"CountArrayLayout", "3", "CountArrayLayout takes one of: 0 (alphabetical)"},
      {"Source", "3", "Source takes one of: 0 (clipboard), 1 (single file), 2 (folder)"}};
  for (const auto& c : kCases) {
    Settings s;
    const std::string message = SetFieldByName(&s, c[0], c[1]);
    EXPECT_NE(message.find(c[2]), std::string::npos) << c[0] << "=" << c[1] << ": " << message;
    EXPECT_EQ(s.ShortWordSize, 1) << c[0];
    EXPECT_EQ(s.AllowWordsWithHyphens, 1) << c[0];
    EXPECT_EQ(s.DisplayFormat, 0) << c[0];
    EXPECT_EQ(s.Source, InputSource::kFolder) << c[0];
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

}  // namespace
}  // namespace vorn
