#include "counting/word_lists.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "counting/engine_state.h"
#include "util/str_proc.h"
#include "words/char_classes.h"
#include "words/normalise.h"

namespace vorn {

namespace {

const char* const kBoxFields[] = {"ExtraWords0", "ExtraWords1"};

// Replaces every `from` by `to` in *text.
void ReplaceAll(Text* text, TextView from, TextView to) {
  size_t at = 0;
  while ((at = text->find(from, at)) != Text::npos) {
    text->replace(at, from.size(), to);
    at += to.size();
  }
}

// Splits text at `sep`, each piece trimmed of the characters that may only
// stand inside a word; empty pieces are dropped. The entries come sorted.
std::vector<Bytes> SplitEntries(TextView text, char16_t sep) {
  std::vector<Bytes> entries;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(sep, start);
    if (end == TextView::npos) end = text.size();
    TextView piece = text.substr(start, end - start);
    while (!piece.empty() && kInnerOnlyChars.find(piece.front()) != TextView::npos) {
      piece.remove_prefix(1);
    }
    while (!piece.empty() && kInnerOnlyChars.find(piece.back()) != TextView::npos) {
      piece.remove_suffix(1);
    }
    if (!piece.empty()) entries.push_back(EncodeWindows1252(piece));
    start = end + 1;
  }
  std::sort(entries.begin(), entries.end(),
            [](const Bytes& a, const Bytes& b) { return OrdinalLess(a, b); });
  return entries;
}

Bytes Lowered(BytesView word) {
  Bytes out(word);
  LowerCaseAccentedInPlace(&out);
  return out;
}

std::vector<Text> AsText(const std::vector<Bytes>& list) {
  std::vector<Text> out;
  out.reserve(list.size());
  for (const Bytes& entry : list) out.push_back(DecodeWindows1252(entry));
  return out;
}

bool BinarySearchList(const std::vector<Bytes>& list, BytesView key) {
  return std::binary_search(list.begin(), list.end(), key,
                            [](BytesView a, BytesView b) { return OrdinalLess(a, b); });
}

// The "+" signs of an entry that stand outside angle brackets and are
// neither its first nor its last character.
int InnerPlusSigns(BytesView entry) {
  int plus = 0;
  bool inside = false;
  for (size_t i = 0; i < entry.size(); ++i) {
    const char c = entry[i];
    if (c == '<') inside = true;
    if (c == '>') inside = false;
    if (c == '+' && !inside && i > 0 && i + 1 < entry.size()) ++plus;
  }
  return plus;
}

// Whether every character of box `index` may stand in a word; reports the
// first that may not.
bool CheckBoxChars(EngineState* st, int index) {
  const Settings& s = st->settings;
  const Text box = Utf8ToText(s.ExtraWords[static_cast<size_t>(index)]);
  if (box.empty()) return true;
  Text allowed = BuildAllowedExtraChars(s);
  allowed += u"~?";
  bool inside = false;
  for (size_t i = 0; i < box.size(); ++i) {
    const char16_t c = box[i];
    if (c == u'<') inside = true;
    if (inside) {
      if (c == u'>') inside = false;
      continue;
    }
    if (c == u' ' || IsLetterChar(c) || allowed.find(c) != Text::npos) continue;
    if (index == 1 && c == u',' && i + 1 < box.size() && box[i + 1] == u' ') continue;
    const std::string ch = TextToUtf8(TextView(&box[i], 1));
    const bool could_be_allowed =
        c >= 256 || kForbiddenExtraChars.find(static_cast<char>(c)) == std::string_view::npos;
    std::string text = "The character '" + ch + "' occurs in some extra " +
                       (index == 0 ? "word-to-ignore" : "count-only word") + "\r\nbut is not " +
                       (could_be_allowed ? "currently set as " : "") +
                       "a character allowed in a word.";
    if (c == u',') {
      text += index == 0 ? "\r\n\r\nWords-to-ignore must be separated by a space, not by a "
                           "comma."
                         : "\r\n\r\nCount-only words and phrases must be separated by "
                           "comma+space, not just by comma.";
    } else if (c == u'^') {
      text += std::string("\r\n\r\n") +
              (index == 0 ? "Perhaps some Word-to-ignore" : "Perhaps some count-only word") +
              " is a regular expression\r\nwithout angle brackets.";
    }
    st->host->ShowMessage("Character not allowed", text, Icon::kExclamation);
    return false;
  }
  return true;
}

}  // namespace

bool GetExtraWords(EngineState* st, int index) {
  Settings& s = st->settings;
  std::vector<Bytes>& list = index == 0 ? st->lists.ExtraIgnoreWords : st->lists.ExtraCountOnly;
  Text text = Utf8ToText(TrimBlanksAndTabs(s.ExtraWords[static_cast<size_t>(index)]));
  list.clear();
  // The text as typed is checked first: the entries lose characters below.
  if (st->MainWindowLoaded && !CheckBoxChars(st, index)) return false;
  if (text.empty()) return true;
  if (!s.CaseSignificant) text = LowerCaseExceptRegexp(text);
  if (index == 0) {
    list = SplitEntries(text, u' ');
    Text joined;
    for (const Bytes& entry : list) {
      if (!joined.empty()) joined += u' ';
      joined += DecodeWindows1252(entry);
    }
    st->ChangeSetting(&s.ExtraWords[0], TextToUtf8(joined), kBoxFields[0]);
  } else {
    // Every expression must be admissible.
    if (st->MainWindowLoaded) {
      for (size_t open = text.find(u'<'); open != Text::npos; open = text.find(u'<', open + 1)) {
        const size_t close = text.find(u'>', open);
        if (close == Text::npos) break;
        const TextView item = TextView(text).substr(open, close - open + 1);
        const int verdict = CheckVornRegexp(item);
        if (verdict < 0) {
          ShowRegexpVerdict(st->host, verdict, item, false,
                            "Extra count-only words/phrases: inadmissible regular expression", "");
          return false;
        }
      }
    }
    while (text.find(u"  ") != Text::npos) ReplaceAll(&text, u"  ", u" ");
    ReplaceAll(&text, u" ,", u",");
    ReplaceAll(&text, u", ", u";");
    ReplaceAll(&text, u" ", u"+");
    list = SplitEntries(text, u';');
  }
  return true;
}

bool CheckAllowedExtraChars(EngineState* st) {
  if (!st->MainWindowLoaded || st->SettingValues || st->SettingAllCheckboxes) return true;
  return CheckBoxChars(st, 0) && CheckBoxChars(st, 1);
}

int ComputeMaxPhraseWords(const RestrictionLists& lists) {
  int most = 1;
  for (const auto* list : {&lists.CountOnlyFileWords, &lists.ExtraCountOnly}) {
    for (const Bytes& entry : *list) most = std::max(most, InnerPlusSigns(entry) + 1);
  }
  return most;
}

bool HasPhrases(const RestrictionLists& lists) { return ComputeMaxPhraseWords(lists) > 1; }

void PrepareListsForRun(EngineState* st) {
  RestrictionLists& l = st->lists;
  RestrictionLists::Compiled& c = *l.compiled;
  const Settings& s = st->settings;
  const bool case_significant = s.CaseSignificant != 0;
  c.matcher.Reset();
  c.extra_ignore.Build(AsText(l.ExtraIgnoreWords), case_significant, &c.matcher);
  c.extra_count_only.Build(AsText(l.ExtraCountOnly), case_significant, &c.matcher);
  c.extra_phrases.Build(AsText(l.ExtraCountOnly), false, &c.matcher);
  const std::vector<Bytes> none;
  const bool ignore_patterns = s.PatternMatchingInWordsToIgnoreFile != 0;
  const bool count_only_patterns = s.PatternMatchingInCountOnlyWordsFile != 0;
  c.ignore_file_patterns = ignore_patterns;
  c.count_only_file_patterns = count_only_patterns;
  c.ignore_file.Build(AsText(ignore_patterns ? l.IgnoreFileWords : none), case_significant,
                      &c.matcher);
  c.count_only_file.Build(AsText(count_only_patterns ? l.CountOnlyFileWords : none),
                          case_significant, &c.matcher);
  c.file_phrases.Build(AsText(count_only_patterns ? l.CountOnlyFileWords : none), false,
                       &c.matcher);
}

bool IsIgnored(EngineState* st, BytesView word) {
  const RestrictionLists& l = st->lists;
  RestrictionLists::Compiled& c = *l.compiled;
  if (MatchAgainstList(word, c.extra_ignore, &c.matcher)) return true;
  if (l.IgnoreFileWords.empty() || c.matcher.has_problem()) return false;
  const Bytes lower = Lowered(word);
  if (c.ignore_file_patterns) {
    return MatchAgainstList(BytesView(lower), c.ignore_file, &c.matcher);
  }
  return BinarySearchList(l.IgnoreFileWords, lower);
}

namespace {

// Whether `text` is in the count-only box's list, or else in the loaded
// file's (by its patterns when pattern matching is on in it, else by
// binary search of the lower-cased text).
bool InCountOnlyLists(EngineState* st, BytesView text, const PatternList& box,
                      const PatternList& file) {
  const RestrictionLists& l = st->lists;
  RestrictionLists::Compiled& c = *l.compiled;
  if (MatchAgainstList(text, box, &c.matcher)) return true;
  if (l.CountOnlyFileWords.empty() || c.matcher.has_problem()) return false;
  if (c.count_only_file_patterns) {
    return MatchAgainstList(text, file, &c.matcher);
  }
  return BinarySearchList(l.CountOnlyFileWords, Lowered(text));
}

}  // namespace

bool IsCountOnlyWord(EngineState* st, BytesView word) {
  const RestrictionLists::Compiled& c = *st->lists.compiled;
  return InCountOnlyLists(st, word, c.extra_count_only, c.count_only_file);
}

bool IsCountOnlyPhrase(EngineState* st, BytesView phrase) {
  const RestrictionLists::Compiled& c = *st->lists.compiled;
  return InCountOnlyLists(st, phrase, c.extra_phrases, c.file_phrases);
}

bool ListsMayMeetProblems(const EngineState& st) {
  const RestrictionLists::Compiled& c = *st.lists.compiled;
  return c.extra_ignore.HasExpressions() || c.ignore_file.HasExpressions() ||
         c.extra_count_only.HasExpressions() || c.count_only_file.HasExpressions();
}

const PatternProblem* ListProblem(const EngineState& st) {
  const RestrictionLists::Compiled& c = *st.lists.compiled;
  return c.matcher.has_problem() ? &c.matcher.problem() : nullptr;
}

WordFilters::WordFilters(const Settings& s)
    : ignore_short(s.IgnoreShortWords != 0),
      short_size(s.ShortWordSizeValue()),
      long_size(s.LongWordSizeValue()),
      ignore_repetitions(s.IgnoreRepetitions != 0),
      ignore_no_letter(s.IgnoreNoLetter != 0),
      ignore_no_vowel(s.IgnoreNoVowelorY != 0) {}

bool FailsWordFilters(const WordFilters& f, BytesView word, Text* scratch) {
  const auto len = static_cast<int64_t>(word.size());
  if ((f.ignore_short && len < f.short_size) || len > f.long_size) return true;
  if (!f.ignore_repetitions && !f.ignore_no_letter && !f.ignore_no_vowel) return false;
  scratch->resize(word.size());
  for (size_t k = 0; k < word.size(); ++k) {
    (*scratch)[k] = Windows1252ToChar(static_cast<uint8_t>(word[k]));
  }
  return (f.ignore_repetitions && HasFourRepeatedLetters(*scratch)) ||
         (f.ignore_no_letter && HasNoLetter(*scratch)) ||
         (f.ignore_no_vowel && HasNoVowelOrY(*scratch));
}

}  // namespace vorn
