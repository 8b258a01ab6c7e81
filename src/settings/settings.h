// Settings: the one record of every option that governs a counting run.
//
// Switches are check values 0 or 1; list choices are the 16-bit index of the
// chosen item (-1 for none), and the value the counting logic uses is the
// item's text as a number (ShortWordSizeValue() and so on). Texts are UTF-8.
// Where a field comes in a pair, index 0 is the words-to-ignore side (or the
// include-patterns side) and index 1 the count-only side (or the exclude
// side).
//
// The record is a plain value owned by the engine; the desktop program shows
// it in its controls. Not thread-safe.

#ifndef VORN_SETTINGS_SETTINGS_H_
#define VORN_SETTINGS_SETTINGS_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The source of a run, with the codes of the state file.
enum class InputSource : int16_t { kClipboard = 0, kSingleFile = 1, kFolder = 2 };

// A drop-down list of words files with its selected position (-1 for none).
struct WordsFileList {
  std::vector<std::string> paths;
  int16_t selected = -1;
};

struct Settings {
  // Words and characters.
  int16_t AllowWordsWithHyphens = 1;
  int16_t AllowWordsWithApostrophes = 0;
  int16_t AllowWordsWithUnderscores = 0;
  int16_t AllowWordsWithColons = 0;
  int16_t AllowWordsWithBackslashes = 0;
  int16_t AllowWordsWithForwardslashes = 0;
  int16_t AllowWordsWithParentheses = 0;
  int16_t AllowWordsWithAmpersands = 0;
  int16_t AllowWordsWithPeriods = 0;
  int16_t AllowWordsWithCommas = 0;
  int16_t AllowWordsWithAtSigns = 0;
  int16_t AllowWordsWithNumerals = 0;
  int16_t AllowWordsWithUserSpecifiedExtraChars = 0;
  std::string UserSpecifiedExtraChars;
  int16_t Only7bitASCII = 0;
  int16_t CaseSignificant = 0;
  int16_t DropFinalS = 0;
  int16_t ConvertFinalIes = 0;
  int16_t AllowCommentMarkers = 0;

  // Phrase ends.
  int16_t TerminatePhraseAtTab = 1;
  int16_t TerminatePhraseAtEndOfLine = 1;
  int16_t TerminatePhraseAtPeriod = 1;
  int16_t TerminatePhraseAtDoubleQuote = 1;

  // Words to ignore by shape and frequency.
  int16_t IgnoreNoVowelorY = 1;
  int16_t IgnoreNoLetter = 1;
  int16_t IgnoreExcessivelyFrequentWords = 0;
  int16_t ExcessFrequency = 10;  // item "20"
  int16_t IgnoreInfrequentWords = 0;
  int16_t ThresholdFrequency = 0;  // item "2"
  int16_t IgnoreShortWords = 1;
  int16_t ShortWordSize = 1;  // item "3"
  int16_t LongWordSize = 3;   // item "50"
  int16_t IgnoreRepetitions = 1;

  // Lists of words.
  std::array<WordsFileList, 2> WordsFiles;
  std::array<std::string, 2> ExtraWords;
  int16_t CommonWordsLanguage = 0;
  int16_t PatternMatchingInWordsToIgnoreFile = 0;
  int16_t PatternMatchingInCountOnlyWordsFile = 0;

  // Output and miscellaneous.
  int16_t ExtractTextFromDocx = 0;
  int16_t SaveStateOnQuit = 0;
  int16_t OutputWithCommas = 0;
  int16_t WarnOnOverwrite = 0;

  // Main-window fields.
  InputSource Source = InputSource::kFolder;
  std::string FolderPath;
  std::string InputFilePath;
  std::string OutputFilePath;
  std::array<std::string, 2> FileFilepathSpecifications;
  int16_t IncludeSubfolders = 0;
  int16_t SuppressWords = 1;
  int16_t SuppressFilenames = 0;
  int16_t DisableOutputToFile = 0;
  int16_t DisplayRelativeFrequency = 0;
  int16_t SortByNumberOfFiles = 0;
  int16_t WordOrder = 0;      // 0 by frequency, 1 alphabetical
  int16_t DisplayFormat = 0;  // 0 to 13

  // Count-dialog fields.
  int16_t CountArrayLayout = 0;  // 0 alphabetical, 1 by frequency, 2 both tables
  int16_t CountArrayZeroCellsBlank = 0;
  int16_t CountArrayWriteRelativeFrequency = 0;
  int16_t MinPhraseLength = 2;       // item "3"
  int16_t MaxPhraseLength = 5;       // item "6"
  int16_t MinPhraseOccurrences = 1;  // item "2"

  // The numbers that the list choices stand for (their item texts). An index
  // outside its list (none chosen, or a damaged settings file) stands for the
  // default item, so that no choice can make every word too short or too long.
  int ShortWordSizeValue() const;
  int LongWordSizeValue() const;
  int ThresholdFrequencyValue() const;
  int ExcessFrequencyValue() const;
  int MinPhraseLengthValue() const;
  int MaxPhraseLengthValue() const;
  int MinPhraseOccurrencesValue() const;
};

// The item texts of the option lists, in list order.
const std::vector<std::string>& ExcessFrequencyItems();     // "1".."9", "10".."90", "100".."500"
const std::vector<std::string>& ThresholdFrequencyItems();  // "2".."9", "10".."90", "100"
const std::vector<std::string>& ShortWordSizeItems();       // "2".."20"
const std::vector<std::string>& LongWordSizeItems();        // "20".."100" in steps of 10
const std::vector<std::string>& PhraseLengthItems();        // "1".."30"
const std::vector<std::string>&
CommonWordsLanguageItems();  // "English" .. "[No language selected]"
inline constexpr int kDisplayFormatCount = 14;
inline constexpr int kNoLanguageSelected = 7;

// Resets the Settings-window options to their defaults. Leaves the
// words-file lists, the extra-words texts, CommonWordsLanguage, the
// main-window fields and the dialog fields alone.
void SetDefaultValues(Settings* s);

// Resets the whole record as "Reinitialize" does, without the questions of
// the window (the words-file lists are kept; the caller asks about them).
// IncludeSubfolders, DisableOutputToFile (unless OutputFilePath is empty) and
// CountArrayWriteRelativeFrequency keep their values.
void Initialize(Settings* s);

// "Check all checkboxes" (value true) and "Clear all checkboxes" (false).
void SetOrClearCheckboxes(Settings* s, bool value);

// Keeps DisableOutputToFile consistent with OutputFilePath: 0 while the path
// is empty.
void SyncOutputFileOption(Settings* s);

// Sets one field by its name, as `vorn-cli --set NAME=VALUE` does. Switches
// take 0 or 1; lists whose items are numbers take the number shown; WordOrder,
// DisplayFormat, CommonWordsLanguage, CountArrayLayout and Source take their
// index or code; texts take the text. The fields of a pair are named with
// their index, "ExtraWords0" or "ExtraWords(0)"; "WordsFiles0" takes one path,
// which becomes the whole list with that path selected (the empty text
// empties the list). Returns the empty string on success, otherwise a message
// that names the field and the values it takes; *s is then unchanged.
std::string SetFieldByName(Settings* s, std::string_view name, std::string_view value);

// The names SetFieldByName accepts, in record order.
std::vector<std::string> FieldNames();

}  // namespace vorn

#endif  // VORN_SETTINGS_SETTINGS_H_
