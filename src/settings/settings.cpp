#include "settings/settings.h"

#include <charconv>
#include <cstdlib>
#include <utility>

#include "util/message_table.h"
#include "util/str_proc.h"

namespace vorn {
namespace {

std::vector<std::string> NumberRange(int first, int last, int step) {
  std::vector<std::string> items;
  for (int n = first; n <= last; n += step) items.push_back(std::to_string(n));
  return items;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> items;
  for (const auto& part : parts) items.insert(items.end(), part.begin(), part.end());
  return items;
}

// The number of item `index` of `items`, or of item `fallback` when the index
// lies outside the list.
int ItemValue(const std::vector<std::string>& items, int16_t index, int16_t fallback) {
  if (index < 0 || static_cast<size_t>(index) >= items.size()) index = fallback;
  return std::atoi(items[static_cast<size_t>(index)].c_str());
}

// The defaults of the list choices.
constexpr int16_t kDefaultExcessFrequency = 10;      // "20"
constexpr int16_t kDefaultThresholdFrequency = 0;    // "2"
constexpr int16_t kDefaultShortWordSize = 1;         // "3"
constexpr int16_t kDefaultLongWordSize = 3;          // "50"
constexpr int16_t kDefaultMinPhraseLength = 2;       // "3"
constexpr int16_t kDefaultMaxPhraseLength = 5;       // "6"
constexpr int16_t kDefaultMinPhraseOccurrences = 1;  // "2"

}  // namespace

const std::vector<std::string>& ExcessFrequencyItems() {
  static const std::vector<std::string> items =
      Concat({NumberRange(1, 9, 1), NumberRange(10, 90, 10), NumberRange(100, 500, 100)});
  return items;
}

const std::vector<std::string>& ThresholdFrequencyItems() {
  static const std::vector<std::string> items =
      Concat({NumberRange(2, 9, 1), NumberRange(10, 90, 10), NumberRange(100, 100, 1)});
  return items;
}

const std::vector<std::string>& ShortWordSizeItems() {
  static const std::vector<std::string> items = NumberRange(2, 20, 1);
  return items;
}

const std::vector<std::string>& LongWordSizeItems() {
  static const std::vector<std::string> items = NumberRange(20, 100, 10);
  return items;
}

const std::vector<std::string>& PhraseLengthItems() {
  static const std::vector<std::string> items = NumberRange(1, 30, 1);
  return items;
}

const std::vector<std::string>& CommonWordsLanguageItems() {
  static const std::vector<std::string> items = {
      "English", "German", "Spanish",           "Portuguese",
      "Italian", "French", "All six languages", "[No language selected]"};
  return items;
}

int Settings::ShortWordSizeValue() const {
  return ItemValue(ShortWordSizeItems(), ShortWordSize, kDefaultShortWordSize);
}
int Settings::LongWordSizeValue() const {
  return ItemValue(LongWordSizeItems(), LongWordSize, kDefaultLongWordSize);
}
int Settings::ThresholdFrequencyValue() const {
  return ItemValue(ThresholdFrequencyItems(), ThresholdFrequency, kDefaultThresholdFrequency);
}
int Settings::ExcessFrequencyValue() const {
  return ItemValue(ExcessFrequencyItems(), ExcessFrequency, kDefaultExcessFrequency);
}
int Settings::MinPhraseLengthValue() const {
  return ItemValue(PhraseLengthItems(), MinPhraseLength, kDefaultMinPhraseLength);
}
int Settings::MaxPhraseLengthValue() const {
  return ItemValue(PhraseLengthItems(), MaxPhraseLength, kDefaultMaxPhraseLength);
}
int Settings::MinPhraseOccurrencesValue() const {
  return ItemValue(PhraseLengthItems(), MinPhraseOccurrences, kDefaultMinPhraseOccurrences);
}

void SetDefaultValues(Settings* s) {
  s->UserSpecifiedExtraChars.clear();
  s->CaseSignificant = 0;
  s->IgnoreShortWords = 1;
  s->IgnoreInfrequentWords = 0;
  s->IgnoreRepetitions = 1;
  s->IgnoreExcessivelyFrequentWords = 0;
  s->ExtractTextFromDocx = 0;
  s->IgnoreNoLetter = 1;
  s->IgnoreNoVowelorY = 1;
  s->AllowWordsWithHyphens = 1;
  s->AllowWordsWithApostrophes = 0;
  s->AllowWordsWithUnderscores = 0;
  s->AllowWordsWithColons = 0;
  s->AllowWordsWithBackslashes = 0;
  s->AllowWordsWithForwardslashes = 0;
  s->AllowWordsWithParentheses = 0;
  s->AllowWordsWithAmpersands = 0;
  s->AllowWordsWithUserSpecifiedExtraChars = 0;
  s->AllowWordsWithPeriods = 0;
  s->AllowWordsWithCommas = 0;
  s->AllowWordsWithAtSigns = 0;
  s->AllowWordsWithNumerals = 0;
  s->DropFinalS = 0;
  s->ConvertFinalIes = 0;
  s->OutputWithCommas = 0;
  s->AllowCommentMarkers = 0;
  s->WarnOnOverwrite = 0;
  s->SaveStateOnQuit = 0;
  s->TerminatePhraseAtEndOfLine = 1;
  s->TerminatePhraseAtPeriod = 1;
  s->TerminatePhraseAtDoubleQuote = 1;
  s->TerminatePhraseAtTab = 1;
  s->Only7bitASCII = 0;
  s->PatternMatchingInWordsToIgnoreFile = 0;
  s->PatternMatchingInCountOnlyWordsFile = 0;
  s->ShortWordSize = kDefaultShortWordSize;
  s->LongWordSize = kDefaultLongWordSize;
  s->ThresholdFrequency = kDefaultThresholdFrequency;
  s->ExcessFrequency = kDefaultExcessFrequency;
}

void Initialize(Settings* s) {
  s->MinPhraseLength = kDefaultMinPhraseLength;
  s->MaxPhraseLength = kDefaultMaxPhraseLength;
  s->MinPhraseOccurrences = kDefaultMinPhraseOccurrences;
  s->DisplayRelativeFrequency = 0;
  s->SortByNumberOfFiles = 0;
  s->Source = InputSource::kFolder;
  s->FolderPath.clear();
  s->InputFilePath.clear();
  s->OutputFilePath.clear();
  for (int i = 0; i < 2; ++i) {
    s->FileFilepathSpecifications[i].clear();
    s->ExtraWords[i].clear();
  }
  SyncOutputFileOption(s);
  SetDefaultValues(s);
  s->SuppressWords = 1;
  s->SuppressFilenames = 0;
  s->WordOrder = 0;
  s->DisplayFormat = 0;
  s->CountArrayLayout = 0;
  s->CountArrayZeroCellsBlank = 0;
}

void SetOrClearCheckboxes(Settings* s, bool value) {
  const int16_t v = value ? 1 : 0;
  s->AllowWordsWithHyphens = v;
  s->AllowWordsWithApostrophes = v;
  s->AllowWordsWithUnderscores = v;
  s->AllowWordsWithColons = v;
  s->AllowWordsWithBackslashes = v;
  s->AllowWordsWithForwardslashes = v;
  s->AllowWordsWithParentheses = v;
  s->AllowWordsWithAmpersands = v;
  // Ticking "any of:" with nothing but blanks in its box would be undone at
  // once by its handler; do not tick it in the first place.
  s->AllowWordsWithUserSpecifiedExtraChars =
      (value && !TrimSpaces(std::string_view(s->UserSpecifiedExtraChars)).empty()) ? 1 : 0;
  s->AllowWordsWithPeriods = v;
  s->AllowWordsWithCommas = v;
  s->AllowWordsWithAtSigns = v;
  s->AllowWordsWithNumerals = v;
  s->CaseSignificant = v;
  s->DropFinalS = v;
  s->ConvertFinalIes = v;
  s->IgnoreInfrequentWords = v;
  s->IgnoreRepetitions = v;
  s->IgnoreExcessivelyFrequentWords = v;
  s->ExtractTextFromDocx = v;
  s->IgnoreNoLetter = v;
  s->IgnoreNoVowelorY = v;
  s->IgnoreShortWords = v;
  s->OutputWithCommas = v;
  s->AllowCommentMarkers = v;
  s->WarnOnOverwrite = v;
  s->SaveStateOnQuit = v;
  s->TerminatePhraseAtEndOfLine = v;
  s->TerminatePhraseAtPeriod = v;
  s->TerminatePhraseAtDoubleQuote = v;
  s->TerminatePhraseAtTab = v;
  s->Only7bitASCII = v;
  s->PatternMatchingInWordsToIgnoreFile = v;
  s->PatternMatchingInCountOnlyWordsFile = v;
}

void SyncOutputFileOption(Settings* s) {
  if (s->OutputFilePath.empty()) s->DisableOutputToFile = 0;
}

// ---------------------------------------------------------------------------
// Setting fields by name.

namespace {

enum class FieldKind { kSwitch, kNumberList, kIndex, kText, kSource, kWordsFiles };

struct FieldDef {
  std::string name;
  FieldKind kind = FieldKind::kText;
  int16_t* (*number)(Settings*) = nullptr;
  std::string* (*text)(Settings*) = nullptr;
  WordsFileList* (*files)(Settings*) = nullptr;
  // kNumberList: the item texts; kIndex: the caption of each index.
  std::vector<std::string> items;
};

std::vector<std::string> MessageTexts(int first, int last) {
  std::vector<std::string> texts;
  for (int n = first; n <= last; ++n) texts.push_back(GetMessageText(n));
  return texts;
}

using NumberField = int16_t* (*)(Settings*);
using TextField = std::string* (*)(Settings*);
using FilesField = WordsFileList* (*)(Settings*);

FieldDef MakeNumber(std::string name, FieldKind kind, NumberField number,
                    std::vector<std::string> items = {}) {
  FieldDef f;
  f.name = std::move(name);
  f.kind = kind;
  f.number = number;
  f.items = std::move(items);
  return f;
}

FieldDef MakeText(std::string name, TextField text) {
  FieldDef f;
  f.name = std::move(name);
  f.kind = FieldKind::kText;
  f.text = text;
  return f;
}

FieldDef MakeFiles(std::string name, FilesField files) {
  FieldDef f;
  f.name = std::move(name);
  f.kind = FieldKind::kWordsFiles;
  f.files = files;
  return f;
}

// Each macro names the field once, so the name SetFieldByName accepts is the
// field's own name.
#define VORN_SWITCH(f) MakeNumber(#f, FieldKind::kSwitch, [](Settings* s) { return &s->f; })
#define VORN_NUMBER_LIST(f, items) \
  MakeNumber(                      \
      #f, FieldKind::kNumberList, [](Settings* s) { return &s->f; }, items)
#define VORN_INDEX(f, captions) \
  MakeNumber(                   \
      #f, FieldKind::kIndex, [](Settings* s) { return &s->f; }, captions)
#define VORN_TEXT(f) MakeText(#f, [](Settings* s) { return &s->f; })
#define VORN_TEXT_AT(f, i) MakeText(#f #i, [](Settings* s) { return &s->f[i]; })
#define VORN_FILES_AT(f, i) MakeFiles(#f #i, [](Settings* s) { return &s->f[i]; })

const std::vector<FieldDef>& Fields() {
  static const std::vector<FieldDef> fields = {
      VORN_SWITCH(AllowWordsWithHyphens),
      VORN_SWITCH(AllowWordsWithApostrophes),
      VORN_SWITCH(AllowWordsWithUnderscores),
      VORN_SWITCH(AllowWordsWithColons),
      VORN_SWITCH(AllowWordsWithBackslashes),
      VORN_SWITCH(AllowWordsWithForwardslashes),
      VORN_SWITCH(AllowWordsWithParentheses),
      VORN_SWITCH(AllowWordsWithAmpersands),
      VORN_SWITCH(AllowWordsWithPeriods),
      VORN_SWITCH(AllowWordsWithCommas),
      VORN_SWITCH(AllowWordsWithAtSigns),
      VORN_SWITCH(AllowWordsWithNumerals),
      VORN_SWITCH(AllowWordsWithUserSpecifiedExtraChars),
      VORN_TEXT(UserSpecifiedExtraChars),
      VORN_SWITCH(Only7bitASCII),
      VORN_SWITCH(CaseSignificant),
      VORN_SWITCH(DropFinalS),
      VORN_SWITCH(ConvertFinalIes),
      VORN_SWITCH(AllowCommentMarkers),
      VORN_SWITCH(TerminatePhraseAtTab),
      VORN_SWITCH(TerminatePhraseAtEndOfLine),
      VORN_SWITCH(TerminatePhraseAtPeriod),
      VORN_SWITCH(TerminatePhraseAtDoubleQuote),
      VORN_SWITCH(IgnoreNoVowelorY),
      VORN_SWITCH(IgnoreNoLetter),
      VORN_SWITCH(IgnoreExcessivelyFrequentWords),
      VORN_NUMBER_LIST(ExcessFrequency, ExcessFrequencyItems()),
      VORN_SWITCH(IgnoreInfrequentWords),
      VORN_NUMBER_LIST(ThresholdFrequency, ThresholdFrequencyItems()),
      VORN_SWITCH(IgnoreShortWords),
      VORN_NUMBER_LIST(ShortWordSize, ShortWordSizeItems()),
      VORN_NUMBER_LIST(LongWordSize, LongWordSizeItems()),
      VORN_SWITCH(IgnoreRepetitions),
      VORN_FILES_AT(WordsFiles, 0),
      VORN_FILES_AT(WordsFiles, 1),
      VORN_TEXT_AT(ExtraWords, 0),
      VORN_TEXT_AT(ExtraWords, 1),
      VORN_INDEX(CommonWordsLanguage, CommonWordsLanguageItems()),
      VORN_SWITCH(PatternMatchingInWordsToIgnoreFile),
      VORN_SWITCH(PatternMatchingInCountOnlyWordsFile),
      VORN_SWITCH(ExtractTextFromDocx),
      VORN_SWITCH(SaveStateOnQuit),
      VORN_SWITCH(OutputWithCommas),
      VORN_SWITCH(WarnOnOverwrite),
      MakeNumber("Source", FieldKind::kSource, nullptr, {"clipboard", "single file", "folder"}),
      VORN_TEXT(FolderPath),
      VORN_TEXT(InputFilePath),
      VORN_TEXT(OutputFilePath),
      VORN_TEXT_AT(FileFilepathSpecifications, 0),
      VORN_TEXT_AT(FileFilepathSpecifications, 1),
      VORN_SWITCH(IncludeSubfolders),
      VORN_SWITCH(SuppressWords),
      VORN_SWITCH(SuppressFilenames),
      VORN_SWITCH(DisableOutputToFile),
      VORN_SWITCH(DisplayRelativeFrequency),
      VORN_SWITCH(SortByNumberOfFiles),
      VORN_INDEX(WordOrder, MessageTexts(43, 44)),
      VORN_INDEX(DisplayFormat, MessageTexts(51, 50 + kDisplayFormatCount)),
      VORN_INDEX(CountArrayLayout,
                 (std::vector<std::string>{"alphabetical", "by frequency", "both tables"})),
      VORN_SWITCH(CountArrayZeroCellsBlank),
      VORN_SWITCH(CountArrayWriteRelativeFrequency),
      VORN_NUMBER_LIST(MinPhraseLength, PhraseLengthItems()),
      VORN_NUMBER_LIST(MaxPhraseLength, PhraseLengthItems()),
      VORN_NUMBER_LIST(MinPhraseOccurrences, PhraseLengthItems()),
  };
  return fields;
}

#undef VORN_SWITCH
#undef VORN_NUMBER_LIST
#undef VORN_INDEX
#undef VORN_TEXT
#undef VORN_TEXT_AT
#undef VORN_FILES_AT

// Parses a whole decimal integer (blanks around it allowed).
bool ParseInteger(std::string_view text, int64_t* out) {
  text = TrimSpaces(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, *out);
  return result.ec == std::errc() && result.ptr == end;
}

// "ExtraWords(0)" is accepted for "ExtraWords0".
std::string CanonicalName(std::string_view name) {
  const size_t open = name.find('(');
  if (open != std::string_view::npos && name.size() == open + 3 && name.back() == ')') {
    return std::string(name.substr(0, open)) + name[open + 1];
  }
  return std::string(name);
}

std::string ValuesMessage(const FieldDef& field, std::string_view value) {
  std::string message = field.name;
  switch (field.kind) {
    case FieldKind::kSwitch:
      message += " takes 0 or 1";
      break;
    case FieldKind::kNumberList:
      message += " takes one of: ";
      for (size_t i = 0; i < field.items.size(); ++i) {
        if (i > 0) message += ", ";
        message += field.items[i];
      }
      break;
    case FieldKind::kIndex:
    case FieldKind::kSource:
      message += " takes one of: ";
      for (size_t i = 0; i < field.items.size(); ++i) {
        if (i > 0) message += ", ";
        message += std::to_string(i) + " (" + field.items[i] + ")";
      }
      break;
    case FieldKind::kText:
    case FieldKind::kWordsFiles:
      message += " takes any text";
      break;
  }
  message += " (not \"" + std::string(value) + "\")";
  return message;
}

}  // namespace

std::string SetFieldByName(Settings* s, std::string_view name, std::string_view value) {
  const std::string canonical = CanonicalName(name);
  const FieldDef* field = nullptr;
  for (const FieldDef& f : Fields()) {
    if (f.name == canonical) {
      field = &f;
      break;
    }
  }
  if (field == nullptr) {
    std::string message = "Unknown setting \"" + std::string(name) + "\"; the settings are: ";
    const std::vector<std::string> names = FieldNames();
    for (size_t i = 0; i < names.size(); ++i) {
      if (i > 0) message += ", ";
      message += names[i];
    }
    return message;
  }

  int64_t n = 0;
  switch (field->kind) {
    case FieldKind::kSwitch:
      if (!ParseInteger(value, &n) || (n != 0 && n != 1)) return ValuesMessage(*field, value);
      *field->number(s) = static_cast<int16_t>(n);
      return "";
    case FieldKind::kNumberList:
      if (ParseInteger(value, &n)) {
        for (size_t i = 0; i < field->items.size(); ++i) {
          if (std::to_string(n) == field->items[i]) {
            *field->number(s) = static_cast<int16_t>(i);
            return "";
          }
        }
      }
      return ValuesMessage(*field, value);
    case FieldKind::kIndex:
      if (!ParseInteger(value, &n) || n < 0 || n >= static_cast<int64_t>(field->items.size())) {
        return ValuesMessage(*field, value);
      }
      *field->number(s) = static_cast<int16_t>(n);
      return "";
    case FieldKind::kSource:
      if (!ParseInteger(value, &n) || n < 0 || n >= static_cast<int64_t>(field->items.size())) {
        return ValuesMessage(*field, value);
      }
      s->Source = static_cast<InputSource>(n);
      return "";
    case FieldKind::kText:
      *field->text(s) = std::string(value);
      return "";
    case FieldKind::kWordsFiles: {
      WordsFileList* list = field->files(s);
      list->paths.clear();
      list->selected = -1;
      if (!value.empty()) {
        list->paths.emplace_back(value);
        list->selected = 0;
      }
      return "";
    }
  }
  return ValuesMessage(*field, value);
}

std::vector<std::string> FieldNames() {
  std::vector<std::string> names;
  for (const FieldDef& f : Fields()) names.push_back(f.name);
  return names;
}

}  // namespace vorn
