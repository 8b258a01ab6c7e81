#include "words/patterns.h"

#include <pcre2.h>

#include <algorithm>

#include "words/char_classes.h"
#include "words/reg_exp.h"

namespace vorn {

struct CompiledRegexp {
  pcre2_code* code = nullptr;
  bool valid = false;  // compiled and ran on "X" without error

  CompiledRegexp() = default;
  CompiledRegexp(const CompiledRegexp&) = delete;
  CompiledRegexp& operator=(const CompiledRegexp&) = delete;
  ~CompiledRegexp() { pcre2_code_free(code); }
};

namespace {

// Whether position i of s lies inside square brackets: it is neither the
// first nor the last position, the last "[" before it is not closed before
// it, and the next "[" or "]" after it is a "]".
bool InsideSquareBrackets(TextView s, size_t i) {
  if (i == 0 || i + 1 >= s.size()) return false;
  const size_t open = s.rfind(u'[', i - 1);
  if (open == TextView::npos) return false;
  if (s.substr(open + 1, i - open - 1).find(u']') != TextView::npos) return false;
  const size_t next = s.find_first_of(u"[]", i + 1);
  return next != TextView::npos && s[next] == u']';
}

// Whether s holds c unescaped outside square brackets (the first character
// always counts).
bool HasUnescapedOutside(TextView s, char16_t c) {
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != c) continue;
    if (i == 0) return true;
    if (s[i - 1] == u'\\' || InsideSquareBrackets(s, i)) continue;
    return true;
  }
  return false;
}

// Whether the unescaped occurrences of open and close in s alternate, from
// an open to a close.
bool Pairs(TextView s, char16_t open, char16_t close) {
  bool expect_open = true;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != open && s[i] != close) continue;
    if (i > 0 && s[i - 1] == u'\\') continue;
    if ((s[i] == open) != expect_open) return false;
    expect_open = !expect_open;
  }
  return expect_open;
}

// The characters that make a wildcard's text an expression of its own (a
// wildcard is run as an expression in which only "~" and "?" are replaced).
constexpr TextView kExpressionChars = u"\\^$.|()[]{}*+";

bool HasWildcard(TextView s) { return s.find_first_of(u"~?") != TextView::npos; }

// "~" any run, "?" one character, every other character itself (after
// case folding when caseless).
bool GlobMatch(TextView pattern, TextView text, bool caseless) {
  size_t p = 0;
  size_t t = 0;
  size_t star = TextView::npos;
  size_t mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == u'~') {
      star = p++;
      mark = t;
    } else if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == text[t] ||
                                      (caseless && LowerChar(pattern[p]) == LowerChar(text[t])))) {
      ++p;
      ++t;
    } else if (star != TextView::npos) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'~') ++p;
  return p == pattern.size();
}

// The items of an entry: split at every "+" outside angle brackets.
std::vector<TextView> SplitEntry(TextView entry) {
  std::vector<TextView> items;
  bool in_brackets = false;
  size_t start = 0;
  for (size_t i = 0; i < entry.size(); ++i) {
    const char16_t c = entry[i];
    if (c == u'<') {
      in_brackets = true;
    } else if (c == u'>') {
      in_brackets = false;
    } else if (c == u'+' && !in_brackets) {
      items.push_back(entry.substr(start, i - start));
      start = i + 1;
    }
  }
  items.push_back(entry.substr(start));
  return items;
}

}  // namespace

bool IsAngleBracketed(TextView item, Text* inner) {
  if (item.size() <= 2 || item.front() != u'<' || item.back() != u'>') return false;
  if (inner) inner->assign(item.substr(1, item.size() - 2));
  return true;
}

int CheckVornRegexp(TextView item, Text* inner_out) {
  Text inner;
  if (!IsAngleBracketed(item, &inner)) return kNotBracketed;
  if (inner_out) *inner_out = inner;
  const TextView s = inner;
  if (!IsValidRegExp(s)) return kRegexpInvalid;
  if (s.find(u' ') != TextView::npos) return kRegexpHasSpace;
  if (HasUnescapedOutside(s, u'.')) return kRegexpHasDot;
  if (s.front() == u'^' && s.back() == u'$') return kRegexpAnchoredBothEnds;
  if (HasUnescapedOutside(s, u'$')) return kRegexpHasDollar;
  if (HasUnescapedOutside(s, u'^')) return kRegexpHasCaret;
  if (!Pairs(s, u'[', u']')) return kRegexpUnpairedSquareBrackets;
  if (!Pairs(s, u'{', u'}')) return kRegexpUnpairedBraces;
  if (!Pairs(s, u'(', u')')) return kRegexpUnpairedParentheses;
  return kRegexpAdmissible;
}

std::string RegexpVerdictText(int code) {
  switch (code) {
    case kNotBracketed:
      return "Not a VORN-regexp.";
    case kRegexpInvalid:
      return "is not a valid regular expression.";
    case kRegexpHasSpace:
      return "contains a space -- inadmissible in this program.";
    case kRegexpHasDot:
      return "contains an unescaped '.' outside square brackets.\r\n"
             "Perhaps use '[\\S]' instead of '.'.";
    case kRegexpAnchoredBothEnds:
      return "is of the form '^...$' -- not admissible in this program.";
    case kRegexpHasDollar:
      return "contains an unescaped '$' outside square brackets.\r\n"
             "Perhaps use '\\$' instead.";
    case kRegexpHasCaret:
      return "contains an unescaped '^' outside square brackets.";
    case kRegexpUnpairedSquareBrackets:
      return "contains one or more non-matching square brackets.";
    case kRegexpUnpairedBraces:
      return "contains one or more non-matching braces.";
    case kRegexpUnpairedParentheses:
      return "contains one or more non-matching parentheses.";
    case kRegexpAdmissible:
      return "is valid and is VORN-admissible.";
    default:
      return "";
  }
}

void ShowRegexpVerdict(Host* host, int code, TextView item, bool show_always,
                       const std::string& title, const std::string& trailer) {
  if (code >= 0 && !show_always) return;
  std::string message = TextToUtf8(item) + "\r\n" + RegexpVerdictText(code);
  if (!trailer.empty()) message += "\r\n" + trailer;
  host->ShowMessage(title, message, Icon::kInformation);
}

Text LowerCaseExceptRegexp(TextView text) {
  Text out(text);
  bool in_brackets = false;
  for (char16_t& c : out) {
    if (c == u'<') {
      in_brackets = true;
    } else if (c == u'>') {
      in_brackets = false;
    } else if (!in_brackets) {
      c = LowerChar(c);
    }
  }
  return out;
}

std::string PatternProblemMessage(const PatternProblem& problem) {
  switch (problem.status) {
    case PatternStatus::kOk:
      return "";
    case PatternStatus::kInvalid:
      return "The regular expression\r\n" + TextToUtf8(problem.expression) + "\r\nis invalid.";
    case PatternStatus::kTooComplex:
      return "The regular expression\r\n" + TextToUtf8(problem.expression) +
             "\r\nneeds too much work to match a word.";
  }
  return "";
}

// The match context (with the limits and a JIT stack) and the match data
// that every match of the matcher uses.
struct PatternMatcher::Pcre {
  pcre2_match_context* context = nullptr;
  pcre2_jit_stack* jit_stack = nullptr;
  pcre2_match_data* data = nullptr;

  Pcre() {
    context = pcre2_match_context_create(nullptr);
    pcre2_set_match_limit(context, kMatchLimit);
    pcre2_set_depth_limit(context, kDepthLimit);
    jit_stack = pcre2_jit_stack_create(32 * 1024, 1024 * 1024, nullptr);
    if (jit_stack) pcre2_jit_stack_assign(context, nullptr, jit_stack);
    data = pcre2_match_data_create(1, nullptr);
  }
  ~Pcre() {
    pcre2_match_data_free(data);
    pcre2_jit_stack_free(jit_stack);
    pcre2_match_context_free(context);
  }
  Pcre(const Pcre&) = delete;
  Pcre& operator=(const Pcre&) = delete;
};

PatternMatcher::PatternMatcher() : pcre_(std::make_unique<Pcre>()) {}
PatternMatcher::~PatternMatcher() = default;

void PatternMatcher::Reset() {
  cache_.clear();
  problem_ = PatternProblem();
}

std::shared_ptr<const CompiledRegexp> PatternMatcher::CompileRegexp(const Text& pattern,
                                                                    bool caseless) {
  Text key = pattern;
  key.push_back(caseless ? u'i' : u'c');
  auto it = cache_.find(key);
  if (it != cache_.end()) return it->second;
  ++compilations_;
  auto re = std::make_shared<CompiledRegexp>();
  int error = 0;
  PCRE2_SIZE offset = 0;
  const uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | (caseless ? PCRE2_CASELESS : 0);
  re->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options,
                           &error, &offset, nullptr);
  if (re->code) {
    // Where the library has a JIT compiler, matching goes through it; the
    // interpreter otherwise (the limits bound both).
    pcre2_jit_compile(re->code, PCRE2_JIT_COMPLETE);
    const int rc = Run(*re, u"X");
    re->valid = rc >= 0 || rc == PCRE2_ERROR_NOMATCH;
  }
  return cache_.emplace(std::move(key), std::move(re)).first->second;
}

int PatternMatcher::Run(const CompiledRegexp& re, TextView subject) {
  return pcre2_match(re.code, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0, 0,
                     pcre_->data, pcre_->context);
}

CompiledEntry PatternMatcher::Compile(TextView entry, bool case_significant) {
  CompiledEntry compiled;
  for (TextView part : SplitEntry(entry)) {
    CompiledEntry::Item item;
    if (IsAngleBracketed(part, &item.text)) {
      item.kind = CompiledEntry::Kind::kBracketed;
      item.regexp = CompileRegexp(item.text, !case_significant);
    } else {
      // Runs of "~" are one "~".
      for (char16_t c : part) {
        if (c != u'~' || item.text.empty() || item.text.back() != u'~') item.text.push_back(c);
      }
      if (!HasWildcard(item.text)) {
        item.kind = CompiledEntry::Kind::kLiteral;
      } else if (item.text == u"~") {
        item.kind = CompiledEntry::Kind::kAny;
      } else if (item.text == u"?") {
        item.kind = CompiledEntry::Kind::kOne;
      } else if (item.text.find_first_of(kExpressionChars) == Text::npos) {
        item.kind = CompiledEntry::Kind::kGlob;
      } else {
        Text pattern = u"^";
        for (char16_t c : item.text) {
          if (c == u'~') {
            pattern += u".*";
          } else if (c == u'?') {
            pattern += u'.';
          } else {
            pattern += c;
          }
        }
        pattern += u'$';
        item.regexp = CompileRegexp(pattern, !case_significant);
        item.kind =
            item.regexp->valid ? CompiledEntry::Kind::kWildcardRe : CompiledEntry::Kind::kNever;
      }
    }
    compiled.items.push_back(std::move(item));
  }
  compiled.caseless = !case_significant;
  return compiled;
}

void PatternMatcher::Record(PatternStatus status, const Text& expression) {
  if (problem_.status != PatternStatus::kOk) return;
  problem_.status = status;
  problem_.expression = expression;
}

PatternMatcher::Outcome PatternMatcher::TryItem(TextView word, const CompiledEntry::Item& item,
                                                bool caseless) {
  using Kind = CompiledEntry::Kind;
  if (item.kind == Kind::kBracketed) {
    if (!item.regexp->valid) {
      Record(PatternStatus::kInvalid, item.text);
      return Outcome::kProblem;
    }
    const int rc = Run(*item.regexp, word);
    if (rc >= 0) return Outcome::kMatch;
    if (rc == PCRE2_ERROR_NOMATCH) return Outcome::kNoMatch;
    const bool too_complex = rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
                             rc == PCRE2_ERROR_HEAPLIMIT || rc == PCRE2_ERROR_JIT_STACKLIMIT ||
                             rc == PCRE2_ERROR_NOMEMORY;
    Record(too_complex ? PatternStatus::kTooComplex : PatternStatus::kInvalid, item.text);
    return Outcome::kProblem;
  }
  if (item.kind != Kind::kLiteral && HasWildcard(word)) return Outcome::kNoMatch;
  bool match = false;
  switch (item.kind) {
    case Kind::kLiteral:
      match = word == item.text;
      break;
    case Kind::kAny:
      match = true;
      break;
    case Kind::kOne:
      match = word.size() == 1;
      break;
    case Kind::kGlob:
      match = GlobMatch(item.text, word, caseless);
      break;
    case Kind::kWildcardRe:
      // An error of the engine (its limits included) is no match.
      match = Run(*item.regexp, word) >= 0;
      break;
    case Kind::kNever:
    case Kind::kBracketed:
      break;
  }
  return match ? Outcome::kMatch : Outcome::kNoMatch;
}

void PatternMatcher::SplitWords(TextView text, std::vector<TextView>* words) {
  words->clear();
  size_t start = 0;
  for (size_t plus = text.find(u'+'); plus != TextView::npos; plus = text.find(u'+', start)) {
    words->push_back(text.substr(start, plus - start));
    start = plus + 1;
  }
  words->push_back(text.substr(start));
}

PatternMatcher::Outcome PatternMatcher::TryWords(const std::vector<TextView>& words,
                                                 const CompiledEntry& entry) {
  if (words.size() != entry.items.size()) return Outcome::kNoMatch;
  for (size_t i = 0; i < words.size(); ++i) {
    const Outcome o = TryItem(words[i], entry.items[i], entry.caseless);
    if (o != Outcome::kMatch) return o;
  }
  return Outcome::kMatch;
}

PatternMatcher::Outcome PatternMatcher::Try(TextView text, const CompiledEntry& entry) {
  SplitWords(text, &words_);
  return TryWords(words_, entry);
}

bool MatchEntry(TextView text, TextView entry, bool case_significant, PatternMatcher* matcher) {
  return matcher->Match(text, matcher->Compile(entry, case_significant));
}

void PatternList::Build(const std::vector<Text>& entries, bool case_significant,
                        PatternMatcher* matcher) {
  size_ = entries.size();
  case_significant_ = case_significant;
  literals_.clear();
  others_.clear();
  other_places_.clear();
  for (size_t i = 0; i < entries.size(); ++i) {
    // Expressions keep their case: "\\S" is not "\\s"; they match caselessly.
    const Text entry = case_significant ? entries[i] : LowerCaseExceptRegexp(entries[i]);
    // Without "<" every "+" separates, so the entry matches exactly the
    // text equal to it.
    if (entry.find_first_of(u"<~?") == Text::npos) {
      literals_.emplace(entry, static_cast<uint32_t>(i));
    } else {
      others_.push_back(matcher->Compile(entry, case_significant));
      other_places_.push_back(static_cast<uint32_t>(i));
    }
  }
}

bool PatternList::HasExpressions() const {
  for (const CompiledEntry& entry : others_) {
    for (const CompiledEntry::Item& item : entry.items) {
      if (item.kind == CompiledEntry::Kind::kBracketed) return true;
    }
  }
  return false;
}

bool MatchAgainstList(TextView word, const PatternList& list, PatternMatcher* matcher) {
  static thread_local Text folded;
  static thread_local std::vector<TextView> words;
  if (!list.case_significant_) {
    folded.assign(word);
    LowerCaseAccentedInPlace(&folded);
    word = folded;
  }
  uint32_t literal = PatternList::kNoLiteral;
  if (!list.literals_.empty()) {
    auto it = list.literals_.find(word);
    if (it != list.literals_.end()) literal = it->second;
  }
  if (!list.others_.empty()) {
    PatternMatcher::SplitWords(word, &words);
    for (size_t k = 0; k < list.others_.size() && list.other_places_[k] < literal; ++k) {
      switch (matcher->TryWords(words, list.others_[k])) {
        case PatternMatcher::Outcome::kMatch:
          return true;
        case PatternMatcher::Outcome::kProblem:
          return false;
        case PatternMatcher::Outcome::kNoMatch:
          break;
      }
    }
  }
  return literal != PatternList::kNoLiteral;
}

bool MatchAgainstList(BytesView word, const PatternList& list, PatternMatcher* matcher) {
  static thread_local Text text;
  text.clear();
  for (char b : word) text.push_back(Windows1252ToChar(static_cast<uint8_t>(b)));
  return MatchAgainstList(TextView(text), list, matcher);
}

}  // namespace vorn
