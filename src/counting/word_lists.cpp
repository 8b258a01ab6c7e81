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

// The text outside angle brackets lower-cased.
Text LowerOutsideBrackets(TextView text) {
  Text out(text);
  bool inside = false;
  for (char16_t& c : out) {
    if (c == u'<') inside = true;
    if (!inside) c = LowerChar(c);
    if (c == u'>') inside = false;
  }
  return out;
}

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

// Whether `text` matches `entry`.
bool EntryMatches(BytesView entry, BytesView text, bool case_significant) {
  if (case_significant) return entry == text;
  return Lowered(entry) == Lowered(text);
}

bool MatchAgainstList(const std::vector<Bytes>& list, BytesView text, bool case_significant) {
  return std::any_of(list.begin(), list.end(), [&](const Bytes& entry) {
    return EntryMatches(entry, text, case_significant);
  });
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
  if (!s.CaseSignificant) text = LowerOutsideBrackets(text);
  if (index == 0) {
    list = SplitEntries(text, u' ');
    Text joined;
    for (const Bytes& entry : list) {
      if (!joined.empty()) joined += u' ';
      joined += DecodeWindows1252(entry);
    }
    st->ChangeSetting(&s.ExtraWords[0], TextToUtf8(joined), kBoxFields[0]);
  } else {
    while (text.find(u"  ") != Text::npos) ReplaceAll(&text, u"  ", u" ");
    ReplaceAll(&text, u" ,", u",");
    ReplaceAll(&text, u", ", u";");
    ReplaceAll(&text, u" ", u"+");
    list = SplitEntries(text, u';');
  }
  return true;
}

bool CheckAllowedExtraChars(EngineState* st) {
  if (!st->MainWindowLoaded) return true;
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

bool IsIgnored(EngineState* st, BytesView word) {
  const RestrictionLists& l = st->lists;
  const bool case_significant = st->settings.CaseSignificant != 0;
  if (MatchAgainstList(l.ExtraIgnoreWords, word, case_significant)) return true;
  if (l.IgnoreFileWords.empty()) return false;
  const Bytes lower = Lowered(word);
  if (st->settings.PatternMatchingInWordsToIgnoreFile) {
    return MatchAgainstList(l.IgnoreFileWords, lower, case_significant);
  }
  return BinarySearchList(l.IgnoreFileWords, lower);
}

bool IsCountOnlyWord(EngineState* st, BytesView word) {
  const RestrictionLists& l = st->lists;
  const bool case_significant = st->settings.CaseSignificant != 0;
  if (MatchAgainstList(l.ExtraCountOnly, word, case_significant)) return true;
  if (l.CountOnlyFileWords.empty()) return false;
  if (st->settings.PatternMatchingInCountOnlyWordsFile) {
    return MatchAgainstList(l.CountOnlyFileWords, word, case_significant);
  }
  return BinarySearchList(l.CountOnlyFileWords, Lowered(word));
}

bool IsCountOnlyPhrase(EngineState* st, BytesView phrase) {
  // Phrases are matched whatever the case.
  const RestrictionLists& l = st->lists;
  if (MatchAgainstList(l.ExtraCountOnly, phrase, false)) return true;
  if (l.CountOnlyFileWords.empty()) return false;
  if (st->settings.PatternMatchingInCountOnlyWordsFile) {
    return MatchAgainstList(l.CountOnlyFileWords, phrase, false);
  }
  return BinarySearchList(l.CountOnlyFileWords, Lowered(phrase));
}

}  // namespace vorn
