#include "counting/words_files.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "counting/line_scanning.h"
#include "input/decode.h"
#include "input/is_text_file.h"
#include "input/line_reader.h"
#include "results/output.h"
#include "util/file_proc.h"
#include "util/program_folder.h"
#include "util/str_proc.h"
#include "words/char_classes.h"
#include "words/comment_markers.h"
#include "words/patterns.h"
#include "words/scanner.h"

namespace vorn {

namespace {

constexpr char kInadmissibleTitle[] =
    "Extra count-only words/phrases: inadmissible regular expression";

// The classes of special characters a count-only word may hold, with the
// option that lets words hold them.
struct SpecialClass {
  std::string_view chars;
  int16_t Settings::*option;
  const char* name;
};
constexpr std::array<SpecialClass, 11> kSpecialClasses = {{
    {"-", &Settings::AllowWordsWithHyphens, "AllowWordsWithHyphens"},
    {"'", &Settings::AllowWordsWithApostrophes, "AllowWordsWithApostrophes"},
    {"_", &Settings::AllowWordsWithUnderscores, "AllowWordsWithUnderscores"},
    {":", &Settings::AllowWordsWithColons, "AllowWordsWithColons"},
    {"\\", &Settings::AllowWordsWithBackslashes, "AllowWordsWithBackslashes"},
    {"/", &Settings::AllowWordsWithForwardslashes, "AllowWordsWithForwardslashes"},
    {"()", &Settings::AllowWordsWithParentheses, "AllowWordsWithParentheses"},
    {".", &Settings::AllowWordsWithPeriods, "AllowWordsWithPeriods"},
    {",", &Settings::AllowWordsWithCommas, "AllowWordsWithCommas"},
    {"@", &Settings::AllowWordsWithAtSigns, "AllowWordsWithAtSigns"},
    {"0123456789", &Settings::AllowWordsWithNumerals, "AllowWordsWithNumerals"},
}};

// Collects the words of a words file.
class ListSink final : public ScanSink {
 public:
  ListSink(EngineState* st, bool count_only) : st_(st), count_only_(count_only) {}

  bool OnWord(BytesView word) override {
    words_.AddListWord(word);
    // CheckForNonAlphaNumeric: which special characters the entries hold.
    if (count_only_ && !(word.size() > 2 && word.front() == '<' && word.back() == '>')) {
      for (size_t k = 0; k < kSpecialClasses.size(); ++k) {
        if (!found_[k] && word.find_first_of(kSpecialClasses[k].chars) != BytesView::npos) {
          found_[k] = true;
        }
      }
    }
    return Yield();
  }
  bool Yield() override {
    st_->pacer.Poll();
    return st_->run.StopRequested;
  }

  WordList& words() { return words_; }
  const std::array<bool, kSpecialClasses.size()>& found() const { return found_; }

 private:
  EngineState* st_;
  bool count_only_;
  WordList words_;
  std::array<bool, kSpecialClasses.size()> found_{};
};

// Runs of blanks as one blank.
void CollapseBlanks(Bytes* line) {
  line->erase(
      std::unique(line->begin(), line->end(), [](char a, char b) { return a == ' ' && b == ' '; }),
      line->end());
}

void ReplaceAll(Bytes* text, std::string_view from, std::string_view to) {
  size_t at = 0;
  while ((at = text->find(from, at)) != Bytes::npos) {
    text->replace(at, from.size(), to);
    at += to.size();
  }
}

// Whether a "?" or "~" stands outside angle brackets (inside them "?" is
// part of an expression).
bool HasWildcards(BytesView line) {
  bool inside = false;
  for (const char c : line) {
    if (c == '<') inside = true;
    if (c == '>') inside = false;
    if (!inside && (c == '?' || c == '~')) return true;
  }
  return false;
}

// Whether every expression in angle brackets of a count-only line is
// admissible; reports the first that is not, and the line is passed over.
bool AdmissibleLine(EngineState* st, BytesView line) {
  for (size_t open = line.find('<'); open != BytesView::npos; open = line.find('<', open + 1)) {
    const size_t close = line.find('>', open);
    if (close == BytesView::npos) break;
    const Text item = DecodeWindows1252(line.substr(open, close - open + 1));
    const int verdict = CheckVornRegexp(item);
    if (verdict < 0) {
      ShowRegexpVerdict(
          st->host, verdict, item, false, kInadmissibleTitle,
          "\r\nThe following line will be ignored:\r\n" + TextToUtf8(DecodeWindows1252(line)));
      return false;
    }
  }
  return true;
}

}  // namespace

void RemoveWordsFile(EngineState* st, int index, size_t position) {
  WordsFileList& files = st->settings.WordsFiles[static_cast<size_t>(index)];
  if (position >= files.paths.size()) return;
  files.paths.erase(files.paths.begin() + static_cast<std::ptrdiff_t>(position));
  files.selected = -1;
  st->SettingChanged(index == 0 ? "WordsFiles0" : "WordsFiles1");
}

bool ReadWords(EngineState* st, int index, const std::string& path) {
  CountRun& run = st->run;
  const bool count_only = index == 1;
  std::vector<Bytes>& target = st->lists.FileWords(index);
  target.clear();
  RestrictionLists& lists = st->lists;
  (count_only ? lists.CountOnlyFileHasWildcards : lists.IgnoreFileHasBrackets) = false;
  run.StopRequested = false;
  bool mac_note_shown = false;
  bool utf8 = false;
  int result = 0;
  if (!CheckWordsFile(st->host, path, false, &mac_note_shown, &utf8, &result)) return false;

  run.ReadingWordLists = true;
  struct Done {
    CountRun* run;
    ~Done() { run->ReadingWordLists = false; }
  } done{&run};
  Text allowed = u"'0123456789-_@:/.\\,()&";
  allowed += count_only ? u"+" : u"~?";
  NormaliseOptions options;
  options.reading_word_lists = true;
  Scanner scanner;
  scanner.Configure(allowed, /*reading_word_lists=*/true, options);
  scanner.SetCommentMarkers(CommentMarkers::ForType("C"));
  st->textbox.SetText(count_only ? u"Now reading count-only words . . . "
                                 : u"Now reading words to ignore . . . ");

  LineReader reader;
  std::string error;
  if (!reader.Open(path, result == kTextLf ? LineEnding::kLfOnly : LineEnding::kCrLfOrCr, &error)) {
    st->host->ShowMessage("Invalid input file", "This file cannot be opened.", Icon::kInformation);
    return false;
  }
  reader.SetPieceLimit(kPieceBytes, utf8);
  ListSink sink(st, count_only);
  std::string_view raw;
  Text decoded;
  bool refused = false;
  while (!refused && reader.Next(&raw)) {
    Bytes line;
    if (utf8) {
      decoded.clear();
      DecodeUtf8Line(raw, &decoded);
      line = EncodeWindows1252(decoded);
    } else {
      line.assign(raw);
    }
    const std::string_view trimmed = TrimBlanksAndTabs(line);
    if (trimmed.empty()) continue;
    line = Bytes(trimmed);
    if (count_only) {
      if (!AdmissibleLine(st, line)) continue;
      if (HasWildcards(line)) {
        lists.CountOnlyFileHasWildcards = true;  // expressions in brackets are the way
        refused = true;
        break;
      }
      CollapseBlanks(&line);
      ReplaceAll(&line, ", ", ";");
      std::replace(line.begin(), line.end(), ' ', '+');
    } else {
      if (line.find_first_of("<>") != Bytes::npos) {
        lists.IgnoreFileHasBrackets = true;
        refused = true;
        break;
      }
      LowerCaseAccentedInPlace(&line);
    }
    line.push_back(' ');
    scanner.ScanTextBlock(&line, &sink);
    if (sink.Yield()) {
      // Stopped: the file leaves its list.
      run.StopRequested = false;
      return false;
    }
  }
  if (!reader.error().empty()) {
    st->host->ShowMessage("Invalid input file", "This file cannot be opened.", Icon::kInformation);
    return false;
  }
  if (refused) return false;

  WordList& words = sink.words();
  words.Finalize(&st->pacer);
  target.reserve(static_cast<size_t>(words.DistinctCount()));
  for (int64_t i = 1; i <= words.DistinctCount(); ++i) target.emplace_back(words.Word(i));
  lists.IgnoreFileHasWildcards =
      !count_only && std::any_of(target.begin(), target.end(), [](const Bytes& e) {
        return e.find_first_of("~?") != Bytes::npos;
      });
  if (count_only) {
    // The entries can only be found when words may hold their characters.
    for (size_t k = 0; k < kSpecialClasses.size(); ++k) {
      if (sink.found()[k])
        st->ChangeSetting(&(st->settings.*kSpecialClasses[k].option), 1, kSpecialClasses[k].name);
    }
  }
  return true;
}

void AttemptToReadWords(EngineState* st, int index) {
  WordsFileList& files = st->settings.WordsFiles[static_cast<size_t>(index)];
  if (files.selected < 0 || static_cast<size_t>(files.selected) >= files.paths.size()) return;
  const size_t position = static_cast<size_t>(files.selected);
  const std::string path = files.paths[position];
  const bool count_only = index == 1;
  if (!FileExists(path)) {
    st->host->ShowMessage("File not found",
                          std::string("File for ") +
                              (count_only ? "count-only words" : "words-to-ignore") + " not found.",
                          Icon::kExclamation);
    RemoveWordsFile(st, index, position);
    st->lists.FileWords(index).clear();
    return;
  }
  const bool read = ReadWords(st, index, path);
  std::vector<Bytes>& list = st->lists.FileWords(index);
  st->textbox.Clear();
  if (read) {
    const int64_t n = static_cast<int64_t>(list.size());
    if (count_only) {
      const std::string what =
          n == 1 ? "One count-only word/phrase" : NumberInWords(n) + " count-only words/phrases";
      const Answer a =
          st->host->Ask("Count-only words/phrases loaded",
                        what + " loaded from " + path + "\r\n\r\n" +
                            (n == 1 ? "Do you wish to display it?" : "Do you wish to list them?"),
                        Buttons::kYesNo, Answer::kYes);
      if (a == Answer::kYes) ListCountOnlyWords(st);
      // PutCountOnlyWordsIntoLowerCase.
      for (Bytes& entry : list) LowerCaseAccentedInPlace(&entry);
      std::sort(list.begin(), list.end(),
                [](const Bytes& a2, const Bytes& b) { return OrdinalLess(a2, b); });
    } else {
      PopUpMessage m;
      m.text = n == 1 ? "One word-to-ignore loaded" : NumberInWords(n) + " words-to-ignore loaded";
      st->host->ShowPopUp(m);
    }
    return;
  }
  list.clear();
  const std::string title = count_only ? "Error when reading count-only words/phrases" : "Error";
  std::string text;
  if (count_only && st->lists.CountOnlyFileHasWildcards) {
    text = "The file " + path +
           " contains words with wildcards: * ?\r\n\r\nEither these should be removed or "
           "regular expressions\r\nshould be used instead of simple patterns.";
  } else {
    text = std::string("Error when attempting to load ") +
           (count_only ? "count-only words or phrases" : "words-to-ignore") + "\r\nfrom file " +
           path;
  }
  st->host->ShowMessage(title, text, Icon::kExclamation);
  RemoveWordsFile(st, index, position);
}

void ListCountOnlyWords(EngineState* st) {
  const std::vector<Bytes>& list = st->lists.CountOnlyFileWords;
  const int64_t n = static_cast<int64_t>(list.size());
  const bool phrases = std::any_of(list.begin(), list.end(),
                                   [](const Bytes& e) { return e.find('+') != Bytes::npos; });
  std::string head;
  if (n == 1) {
    head = phrases ? "There is one phrase in the count-only file:"
                   : "There is one word in the count-only file:";
  } else {
    const bool words = std::any_of(list.begin(), list.end(),
                                   [](const Bytes& e) { return e.find('+') == Bytes::npos; });
    std::string lower = NumberInWords(n);
    for (char& c : lower) c = static_cast<char>(LowerByte(static_cast<uint8_t>(c)));
    head = "There are " + lower + " " +
           (phrases ? (words ? "words/phrases" : "phrases") : "words") + " in the count-only file:";
  }
  // In alphabetical order of their folded keys.
  std::vector<std::pair<Bytes, Bytes>> keyed;
  keyed.reserve(list.size());
  for (const Bytes& entry : list) {
    Bytes shown = entry;
    std::replace(shown.begin(), shown.end(), '+', ' ');
    Bytes key;
    AppendSortKey(shown, &key);
    keyed.emplace_back(std::move(key), std::move(shown));
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return OrdinalLess(a.first, b.first); });
  Text text = Utf8ToText(head);
  text += u"\r\n\r\n";
  st->textbox.SetText(text);
  Text lines;
  for (const auto& [key, shown] : keyed) {
    lines += DecodeWindows1252(shown);
    lines += u"\r\n";
    if (static_cast<int64_t>(lines.size()) > 4096) {
      st->textbox.OutputToTxb(lines);
      lines.clear();
      if (st->textbox.OutputAborted || st->run.StopRequested) break;
    }
    st->pacer.Poll();
  }
  if (!lines.empty()) st->textbox.OutputToTxb(lines);
  st->run.StopRequested = false;
}

void LoadWordsFile(EngineState* st, int index, const std::string& path) {
  WordsFileList& files = st->settings.WordsFiles[static_cast<size_t>(index)];
  auto at = std::find(files.paths.begin(), files.paths.end(), path);
  if (at == files.paths.end()) {
    if (files.paths.size() >= kMaxWordsFiles) {
      st->host->ShowMessage(index == 0 ? "Words-to-ignore files" : "Count-only words/phrases files",
                            "No more files may be added to this list.", Icon::kExclamation);
      return;
    }
    files.paths.push_back(path);
    at = files.paths.end() - 1;
  }
  files.selected = static_cast<int16_t>(at - files.paths.begin());
  st->SettingChanged(index == 0 ? "WordsFiles0" : "WordsFiles1");
  AttemptToReadWords(st, index);
}

bool LoadCommonWords(EngineState* st, int language) {
  const std::string name = CommonWordsFileName(language);
  if (name.empty()) return false;
  const std::string path = FindDataFile(name);
  if (path.empty()) {
    st->host->ShowMessage("Error", ProgramFolder() + "/" + name + " not found.",
                          Icon::kExclamation);
    return false;
  }
  st->ChangeSetting(&st->settings.CommonWordsLanguage, language, "CommonWordsLanguage");
  LoadWordsFile(st, 0, path);
  return !st->lists.IgnoreFileWords.empty();
}

}  // namespace vorn
