#include "settings/state_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

#include "util/file_proc.h"
#include "util/output_file.h"
#include "util/text.h"

namespace vorn {
namespace {

// What a line of the file holds and how it is read.
enum class LineKind {
  kText,         // a text field
  kIgnoredText,  // always written empty; skipped on reading
  kFixedNumber,  // a constant; skipped on reading
  kSwitch,       // a check value 0, 1 or 2
  kListIndex,    // the position in a list of `items` items, or -1
  kLanguage,     // CommonWordsLanguage: a list position read as a switch is
  kWordsFiles,   // a count, that many paths, the selected position
  kSource,       // the code of InputSource
  kLayout,       // the code of CountArrayLayout
};

using NumberField = int16_t* (*)(Settings*);
using TextAccessor = std::string* (*)(Settings*);

struct LineDef {
  LineKind kind = LineKind::kText;
  const char* name = "";
  NumberField number = nullptr;
  TextAccessor text = nullptr;
  int items = 0;  // kListIndex, kLanguage: the list's length
  int16_t fixed = 0;
  int list = 0;  // kWordsFiles: which list
};

LineDef TextLine(const char* name, TextAccessor text) {
  LineDef d;
  d.kind = LineKind::kText;
  d.name = name;
  d.text = text;
  return d;
}

LineDef Number(LineKind kind, const char* name, NumberField number, int items = 0) {
  LineDef d;
  d.kind = kind;
  d.name = name;
  d.number = number;
  d.items = items;
  return d;
}

LineDef Ignored() {
  LineDef d;
  d.kind = LineKind::kIgnoredText;
  return d;
}

LineDef Fixed(int16_t value) {
  LineDef d;
  d.kind = LineKind::kFixedNumber;
  d.fixed = value;
  return d;
}

LineDef Files(const char* name, int list) {
  LineDef d;
  d.kind = LineKind::kWordsFiles;
  d.name = name;
  d.list = list;
  return d;
}

int Items(const std::vector<std::string>& items) { return static_cast<int>(items.size()); }

#define VORN_TEXT(f) TextLine(#f, [](Settings* s) { return &s->f; })
#define VORN_TEXT_AT(f, i) TextLine(#f #i, [](Settings* s) { return &s->f[i]; })
#define VORN_SWITCH(f) Number(LineKind::kSwitch, #f, [](Settings* s) { return &s->f; })
#define VORN_INDEX(f, n) \
  Number(                \
      LineKind::kListIndex, #f, [](Settings* s) { return &s->f; }, n)

// The fields in the order of the file's lines. The words-file lists take a
// variable number of lines each; every other entry is one line.
const std::vector<LineDef>& Layout() {
  static const std::vector<LineDef> layout = {
      VORN_TEXT(FolderPath),
      VORN_TEXT_AT(ExtraWords, 0),
      VORN_TEXT(InputFilePath),
      VORN_TEXT_AT(FileFilepathSpecifications, 0),
      Ignored(),
      Ignored(),
      VORN_TEXT_AT(ExtraWords, 1),
      VORN_TEXT(OutputFilePath),
      VORN_TEXT_AT(FileFilepathSpecifications, 1),
      Ignored(),
      Ignored(),
      VORN_INDEX(ShortWordSize, Items(ShortWordSizeItems())),
      VORN_INDEX(LongWordSize, Items(LongWordSizeItems())),
      VORN_INDEX(ThresholdFrequency, Items(ThresholdFrequencyItems())),
      VORN_SWITCH(IgnoreShortWords),
      VORN_SWITCH(IgnoreInfrequentWords),
      VORN_SWITCH(IgnoreRepetitions),
      VORN_SWITCH(IgnoreExcessivelyFrequentWords),
      VORN_SWITCH(ExtractTextFromDocx),
      VORN_SWITCH(IgnoreNoLetter),
      VORN_SWITCH(CaseSignificant),
      VORN_SWITCH(DropFinalS),
      VORN_SWITCH(AllowWordsWithHyphens),
      VORN_SWITCH(AllowWordsWithApostrophes),
      VORN_SWITCH(AllowWordsWithUnderscores),
      VORN_SWITCH(AllowWordsWithColons),
      VORN_SWITCH(AllowWordsWithBackslashes),
      VORN_SWITCH(AllowWordsWithForwardslashes),
      VORN_SWITCH(AllowWordsWithParentheses),
      VORN_SWITCH(AllowWordsWithPeriods),
      VORN_SWITCH(AllowWordsWithCommas),
      VORN_SWITCH(AllowWordsWithAtSigns),
      VORN_SWITCH(AllowWordsWithNumerals),
      VORN_SWITCH(AllowWordsWithAmpersands),
      VORN_SWITCH(AllowWordsWithUserSpecifiedExtraChars),
      Fixed(0),
      VORN_SWITCH(OutputWithCommas),
      Fixed(1),
      VORN_SWITCH(AllowCommentMarkers),
      VORN_SWITCH(WarnOnOverwrite),
      VORN_SWITCH(SaveStateOnQuit),
      VORN_SWITCH(SuppressWords),
      VORN_SWITCH(DisableOutputToFile),
      VORN_SWITCH(IncludeSubfolders),
      VORN_INDEX(WordOrder, 2),
      VORN_INDEX(DisplayFormat, kDisplayFormatCount),
      VORN_SWITCH(Only7bitASCII),
      Files("WordsFiles0", 0),
      Files("WordsFiles1", 1),
      Number(LineKind::kSource, "Source", nullptr),
      VORN_SWITCH(SuppressFilenames),
      VORN_TEXT(UserSpecifiedExtraChars),
      Ignored(),
      VORN_SWITCH(TerminatePhraseAtEndOfLine),
      VORN_SWITCH(TerminatePhraseAtPeriod),
      VORN_SWITCH(TerminatePhraseAtDoubleQuote),
      VORN_SWITCH(CountArrayZeroCellsBlank),
      Number(LineKind::kLayout, "CountArrayLayout",
             [](Settings* s) { return &s->CountArrayLayout; }),
      VORN_INDEX(MinPhraseLength, Items(PhraseLengthItems())),
      VORN_INDEX(MaxPhraseLength, Items(PhraseLengthItems())),
      VORN_INDEX(MinPhraseOccurrences, Items(PhraseLengthItems())),
      VORN_SWITCH(TerminatePhraseAtTab),
      VORN_INDEX(ExcessFrequency, Items(ExcessFrequencyItems())),
      VORN_SWITCH(PatternMatchingInWordsToIgnoreFile),
      VORN_SWITCH(PatternMatchingInCountOnlyWordsFile),
      VORN_SWITCH(DisplayRelativeFrequency),
      VORN_SWITCH(CountArrayWriteRelativeFrequency),
      VORN_SWITCH(SortByNumberOfFiles),
      VORN_SWITCH(ConvertFinalIes),
      Number(
          LineKind::kLanguage, "CommonWordsLanguage",
          [](Settings* s) { return &s->CommonWordsLanguage; }, Items(CommonWordsLanguageItems())),
      VORN_SWITCH(IgnoreNoVowelorY),
  };
  return layout;
}

#undef VORN_TEXT
#undef VORN_TEXT_AT
#undef VORN_SWITCH
#undef VORN_INDEX

// ---------------------------------------------------------------------------
// Writing.

// Whether the UTF-8 text can stand between the quotes of a line and come
// back unchanged: no quote or line break, valid UTF-8, and every character
// one Windows-1252 has a byte for. Appends its quoted bytes to *out and
// returns true, or returns false (*out then holds part of them).
bool AppendQuotedText(const std::string& utf8, std::string* out) {
  if (utf8.find_first_of("\"\r\n") != std::string::npos) return false;
  const Text text = Utf8ToText(utf8);
  // Utf8ToText takes an invalid byte for the Windows-1252 character of that
  // byte; such a text would come back as different UTF-8.
  if (TextToUtf8(text) != utf8) return false;
  out->push_back('"');
  for (char16_t c : text) {
    bool ok = true;
    const uint8_t b = CharToWindows1252(c, &ok);
    if (!ok) return false;
    out->push_back(static_cast<char>(b));
  }
  out->push_back('"');
  return true;
}

void AppendNumber(int value, std::string* out) {
  *out += std::to_string(value);
  *out += "\r\n";
}

// The reason a text field cannot be written, for the message of a refused
// save.
std::string RefusalReason(const std::string& utf8) {
  if (utf8.find('"') != std::string::npos) return "a double quote";
  if (utf8.find_first_of("\r\n") != std::string::npos) return "a line break";
  if (TextToUtf8(Utf8ToText(utf8)) != utf8) return "bytes that are not UTF-8 text";
  return "a character that the settings file cannot hold";
}

// The text of the field named `name` (the words-file paths for
// "WordsFilesN" are found by the caller).
const std::string* FindText(const Settings& s, const std::string& name) {
  if (name == "FolderPath") return &s.FolderPath;
  if (name == "InputFilePath") return &s.InputFilePath;
  if (name == "OutputFilePath") return &s.OutputFilePath;
  if (name == "UserSpecifiedExtraChars") return &s.UserSpecifiedExtraChars;
  for (int i = 0; i < 2; ++i) {
    if (name == "ExtraWords" + std::to_string(i)) return &s.ExtraWords[i];
    if (name == "FileFilepathSpecifications" + std::to_string(i)) {
      return &s.FileFilepathSpecifications[i];
    }
  }
  return nullptr;
}

// ---------------------------------------------------------------------------
// Reading.

// The lines of the file, one at a time, whatever their ends: CR LF, CR or
// LF. A last line without an end is a line too.
class LineSource {
 public:
  explicit LineSource(std::string_view bytes) : bytes_(bytes) {}

  // Stores the next line (without its end) in *line and returns true, or
  // returns false at the end of the bytes.
  bool Next(std::string_view* line) {
    if (pos_ >= bytes_.size()) return false;
    size_t end = pos_;
    while (end < bytes_.size() && bytes_[end] != '\r' && bytes_[end] != '\n') ++end;
    *line = bytes_.substr(pos_, end - pos_);
    if (end < bytes_.size()) {
      // CR LF, a lone CR or a lone LF.
      if (bytes_[end] == '\r' && end + 1 < bytes_.size() && bytes_[end + 1] == '\n') ++end;
      ++end;
    }
    pos_ = end;
    ++number_;
    return true;
  }

  // The number of the line last given (0 before the first).
  int number() const { return number_; }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
  int number_ = 0;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The text field of a line, as Windows-1252 bytes.
std::string_view FieldText(std::string_view line) {
  size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  if (start < line.size() && line[start] == '"') {
    const size_t close = line.find('"', start + 1);
    return line.substr(start + 1,
                       (close == std::string_view::npos ? line.size() : close) - (start + 1));
  }
  size_t end = line.find(',', start);
  if (end == std::string_view::npos) end = line.size();
  while (end > start && IsBlank(line[end - 1])) --end;
  return line.substr(start, end - start);
}

std::string TextValue(std::string_view line) {
  return TextToUtf8(DecodeWindows1252(FieldText(line)));
}

// A number beyond every 16-bit value; the integer part of a parsed number
// stops growing there.
constexpr int64_t kHuge = 1'000'000;

// Reads the decimal number at the start of `text` (an optional sign, digits,
// and an optional fraction), rounded half to even. Stores it in *value and
// the length of what was read in *used; returns false when `text` does not
// begin with a number. Numbers past kHuge are stored as kHuge or -kHuge.
bool LeadingNumber(std::string_view text, int64_t* value, size_t* used) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int64_t whole = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    digits = true;
    whole = whole * 10 + (text[i] - '0');
    if (whole > kHuge) whole = kHuge;
  }
  // The fraction compared with one half: -1 below, 0 equal, 1 above.
  int half = -1;
  if (i < text.size() && text[i] == '.') {
    ++i;
    bool first = true;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
      digits = true;
      const int d = text[i] - '0';
      if (first) {
        half = d > 5 ? 1 : (d == 5 ? 0 : -1);
        first = false;
      } else if (half == 0 && d != 0) {
        half = 1;
      }
    }
  }
  if (!digits) return false;
  if (half > 0 || (half == 0 && whole % 2 != 0)) whole = whole + 1 > kHuge ? kHuge : whole + 1;
  *value = negative ? -whole : whole;
  *used = i;
  return true;
}

// A switch: the leading number of the line's text, 0 if it has none.
int64_t SwitchValue(std::string_view line) {
  std::string_view text = FieldText(line);
  int64_t value = 0;
  size_t used = 0;
  return LeadingNumber(text, &value, &used) ? value : 0;
}

// A 16-bit number: the line's text must be a number and nothing else.
bool ShortValue(std::string_view line, int16_t* out) {
  const std::string_view text = FieldText(line);
  int64_t value = 0;
  size_t used = 0;
  if (!LeadingNumber(text, &value, &used) || used != text.size()) return false;
  if (value < INT16_MIN || value > INT16_MAX) return false;
  *out = static_cast<int16_t>(value);
  return true;
}

bool InList(int64_t value, int items) { return value >= -1 && value < items; }

// Reads the lines of `layout` into *s, stopping at the first missing line or
// bad value; fills in the status, line and field of *result.
void ReadLines(std::string_view bytes, Settings* s, StateReadResult* result) {
  LineSource lines(bytes);
  std::string_view line;
  const auto past_end = [&] {
    result->status = StateReadStatus::kPastEndOfFile;
    result->line = lines.number() + 1;
  };
  const auto invalid = [&](const char* name) {
    result->status = StateReadStatus::kInvalidData;
    result->line = lines.number();
    result->field = name;
    result->error = std::string(kInvalidDataText);
  };

  for (const LineDef& def : Layout()) {
    if (def.kind == LineKind::kSwitch && std::string_view(def.name) == "CountArrayZeroCellsBlank") {
      result->count_dialog_reached = true;
    }
    if (def.kind == LineKind::kWordsFiles) {
      WordsFileList& list = s->WordsFiles[def.list];
      list.paths.clear();
      list.selected = -1;
      int16_t count = 0;
      if (!lines.Next(&line)) return past_end();
      if (!ShortValue(line, &count) || count < 0) return invalid(def.name);
      for (int k = 0; k < count; ++k) {
        if (!lines.Next(&line)) return past_end();
        list.paths.push_back(TextValue(line));
      }
      int16_t selected = -1;
      if (!lines.Next(&line)) return past_end();
      if (!ShortValue(line, &selected)) return invalid(def.name);
      if (count != 0) {
        if (!InList(selected, count)) return invalid(def.name);
        list.selected = selected;
      }
      continue;
    }

    if (!lines.Next(&line)) return past_end();
    int16_t n = 0;
    switch (def.kind) {
      case LineKind::kText:
        *def.text(s) = TextValue(line);
        break;
      case LineKind::kIgnoredText:
      case LineKind::kFixedNumber:
        break;
      case LineKind::kSwitch: {
        const int64_t v = SwitchValue(line);
        if (v < 0 || v > 2) return invalid(def.name);
        *def.number(s) = static_cast<int16_t>(v);
        break;
      }
      case LineKind::kLanguage: {
        const int64_t v = SwitchValue(line);
        if (!InList(v, def.items)) return invalid(def.name);
        *def.number(s) = static_cast<int16_t>(v);
        break;
      }
      case LineKind::kListIndex:
        if (!ShortValue(line, &n) || !InList(n, def.items)) return invalid(def.name);
        *def.number(s) = n;
        break;
      case LineKind::kSource:
        if (!ShortValue(line, &n)) return invalid(def.name);
        s->Source = n == 0   ? InputSource::kClipboard
                    : n == 1 ? InputSource::kSingleFile
                             : InputSource::kFolder;
        break;
      case LineKind::kLayout:
        if (!ShortValue(line, &n)) return invalid(def.name);
        *def.number(s) = (n == 1 || n == 2) ? n : 0;
        break;
      case LineKind::kWordsFiles:
        break;
    }
  }
}

}  // namespace

int16_t StateReadResult::Code() const {
  switch (status) {
    case StateReadStatus::kComplete:
      return list_choice_missing ? 1 : 0;
    case StateReadStatus::kPastEndOfFile:
      return 0;
    case StateReadStatus::kInvalidData:
    case StateReadStatus::kReadError:
      return 3;
    case StateReadStatus::kMissing:
      return -1;
  }
  return 3;
}

bool WriteStateText(const Settings& s, std::string* bytes, std::string* bad_field) {
  bytes->clear();
  bad_field->clear();
  // The accessors of the layout take a mutable record; they only read here.
  Settings copy = s;
  std::string out;
  const auto refuse = [&](const char* name) {
    *bad_field = name;
    return false;
  };
  for (const LineDef& def : Layout()) {
    switch (def.kind) {
      case LineKind::kText:
        if (!AppendQuotedText(*def.text(&copy), &out)) return refuse(def.name);
        out += "\r\n";
        break;
      case LineKind::kIgnoredText:
        out += "\"\"\r\n";
        break;
      case LineKind::kFixedNumber:
        AppendNumber(def.fixed, &out);
        break;
      case LineKind::kSwitch:
      case LineKind::kListIndex:
      case LineKind::kLanguage:
      case LineKind::kLayout:
        AppendNumber(*def.number(&copy), &out);
        break;
      case LineKind::kSource:
        AppendNumber(static_cast<int16_t>(copy.Source), &out);
        break;
      case LineKind::kWordsFiles: {
        const WordsFileList& list = copy.WordsFiles[def.list];
        if (list.paths.size() > static_cast<size_t>(INT16_MAX)) return refuse(def.name);
        AppendNumber(static_cast<int>(list.paths.size()), &out);
        for (const std::string& path : list.paths) {
          if (!AppendQuotedText(path, &out)) return refuse(def.name);
          out += "\r\n";
        }
        AppendNumber(list.selected, &out);
        break;
      }
    }
  }
  *bytes = std::move(out);
  return true;
}

namespace {

std::string SaveStateFileOrThrow(const Settings& s, const std::string& path) {
  std::string bytes;
  std::string bad_field;
  if (!WriteStateText(s, &bytes, &bad_field)) {
    std::string reason;
    if (const std::string* text = FindText(s, bad_field)) {
      reason = RefusalReason(*text);
    } else {
      const WordsFileList& list = s.WordsFiles[bad_field == "WordsFiles1" ? 1 : 0];
      reason = "more paths than the settings file can hold";
      for (const std::string& p : list.paths) {
        std::string probe;
        if (!AppendQuotedText(p, &probe)) {
          reason = RefusalReason(p);
          break;
        }
      }
    }
    return std::string(kSaveStateError) + "the setting " + bad_field + " holds " + reason +
           ", which the settings file cannot hold; nothing was saved";
  }
  OutputFile file;
  int err = file.Open(path);
  if (err == 0) err = file.Write(bytes);
  if (err == 0) err = file.Commit();
  if (err != 0) {
    file.Discard();
    return std::string(kSaveStateError) + ErrorDescription(err);
  }
  return "";
}

}  // namespace

StateReadResult ParseStateText(std::string_view bytes, Settings* s) {
  StateReadResult result;
  ReadLines(bytes, s, &result);
  if (result.status == StateReadStatus::kPastEndOfFile && result.count_dialog_reached) {
    s->CountArrayZeroCellsBlank = 0;
    s->CountArrayLayout = 0;
  }
  result.list_choice_missing = s->ShortWordSize == -1 || s->LongWordSize == -1 ||
                               s->ThresholdFrequency == -1 || s->ExcessFrequency == -1 ||
                               s->WordOrder == -1 || s->DisplayFormat == -1;
  return result;
}

namespace {

StateReadResult ReadStateFileOrThrow(const std::string& path, Settings* s) {
  StateReadResult result;
  const auto fail = [&](int err) {
    result.status = StateReadStatus::kReadError;
    result.error = ErrorDescription(err);
    return result;
  };
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      result.status = StateReadStatus::kMissing;
      return result;
    }
    return fail(errno);
  }
  if (S_ISDIR(st.st_mode)) return fail(EISDIR);
  // Opened without waiting, so that a named pipe cannot hold the reading up.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(errno);
  struct stat opened;
  if (::fstat(fd, &opened) != 0) {
    const int err = errno;
    ::close(fd);
    return fail(err);
  }
  if (!S_ISREG(opened.st_mode)) {
    // A pipe, a device or a socket holds no settings.
    const int err = S_ISDIR(opened.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return fail(err);
  }
  // A settings file is a few kilobytes; anything past this is no settings
  // file and is not taken into memory.
  constexpr int64_t kMaxBytes = int64_t{64} << 20;
  if (opened.st_size > kMaxBytes) {
    ::close(fd);
    return fail(EFBIG);
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      return fail(err);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
    if (static_cast<int64_t>(bytes.size()) > kMaxBytes) {
      ::close(fd);
      return fail(EFBIG);
    }
  }
  ::close(fd);
  return ParseStateText(bytes, s);
}

}  // namespace

std::string SaveStateFile(const Settings& s, const std::string& path) {
  try {
    return SaveStateFileOrThrow(s, path);
  } catch (...) {
    return std::string(kSaveStateError) + ErrorDescription(ENOMEM);
  }
}

StateReadResult ReadStateFile(const std::string& path, Settings* s) {
  try {
    return ReadStateFileOrThrow(path, s);
  } catch (...) {
    StateReadResult result;
    result.status = StateReadStatus::kReadError;
    result.error = ErrorDescription(ENOMEM);
    return result;
  }
}

std::string MakeStateFolder(const std::string& folder) {
  std::error_code ec;
  try {
    std::filesystem::create_directories(folder, ec);
  } catch (...) {
    return ErrorDescription(ENOMEM);
  }
  if (ec) return ErrorDescription(ec.value());
  if (!FolderExists(folder)) return ErrorDescription(ENOTDIR);
  return "";
}

}  // namespace vorn
