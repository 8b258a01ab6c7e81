// Patterns: the notation of the words-to-ignore and count-only lists.
//
// An entry is a word or a phrase (words joined by "+"). Each of its items is
// a literal word, a wildcard ("~" stands for any run of characters, none
// included, "?" for exactly one character) or a regular expression in angle
// brackets ("<colou?r>"), which matches a word when it matches anywhere in
// it. A "+" inside angle brackets does not separate items.
//
// Everything here works on Text: the expressions run on PCRE2's 16-bit
// library, whose characters are those of Text. Words of the counting path
// (Bytes) are decoded once per lookup (the BytesView overload).
//
// Matching compiles each distinct expression once per run: a PatternMatcher,
// owned by the run, keeps the compiled expressions, and a PatternList holds a
// list's entries split and compiled, so that looking a word up costs one hash
// lookup for the literal entries and one match per item of the others. An
// expression that backtracks without end is cut off by the matcher's limits
// and reported as too complex, never left running.
//
// Not thread-safe: one PatternMatcher per thread of use.

#ifndef VORN_WORDS_PATTERNS_H_
#define VORN_WORDS_PATTERNS_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "util/host.h"
#include "util/text.h"

namespace vorn {

// Whether item is longer than two characters and begins with "<" and ends
// with ">". Stores the text between them in *inner (when given and true).
bool IsAngleBracketed(TextView item, Text* inner = nullptr);

// The verdicts of CheckVornRegexp.
enum RegexpVerdict : int {
  kRegexpAdmissible = 1,
  kNotBracketed = 0,
  kRegexpInvalid = -1,
  kRegexpHasSpace = -2,
  kRegexpHasDot = -3,
  kRegexpAnchoredBothEnds = -4,
  kRegexpHasDollar = -5,
  kRegexpHasCaret = -6,
  kRegexpUnpairedSquareBrackets = -7,
  kRegexpUnpairedBraces = -8,
  kRegexpUnpairedParentheses = -9,
};

// Whether a bracketed list entry is an expression this program admits: the
// first of the verdicts above that applies, in the order of their codes from
// 0 down to -9, else 1. Stores the text between the brackets in *inner
// (when given and bracketed).
//
// A ".", "$" or "^" counts when it is the first character of the
// expression, or when it is neither preceded by a backslash nor inside
// square brackets. Brackets, braces and parentheses pair when their
// unescaped occurrences alternate opening and closing, so nested pairs of
// one kind ("((a))") do not pair.
int CheckVornRegexp(TextView item, Text* inner = nullptr);

// The text of a verdict ("is valid and is VORN-admissible." for 1); CR LF
// line breaks.
std::string RegexpVerdictText(int code);

// Shows item + CR LF + the verdict text (+ CR LF + trailer when trailer is
// not empty) as an information message titled `title`, when code < 0 or
// show_always.
void ShowRegexpVerdict(Host* host, int code, TextView item, bool show_always,
                       const std::string& title, const std::string& trailer);

// Lower-cases (LowerCaseAccented) every part of text outside angle brackets:
// from a "<" up to the next ">" the text stays as it is.
Text LowerCaseExceptRegexp(TextView text);

// What matching met besides matches: an expression that is not valid, or one
// that needed more work than the matcher's limits allow.
enum class PatternStatus { kOk, kInvalid, kTooComplex };

struct PatternProblem {
  PatternStatus status = PatternStatus::kOk;
  Text expression;  // the text between the angle brackets
};

// The message that stops a run for a problem ("The regular expression" CR LF
// expression CR LF "is invalid." or "needs too much work to match a word.").
std::string PatternProblemMessage(const PatternProblem& problem);

// One compiled expression (PCRE2 code); defined in patterns.cpp.
struct CompiledRegexp;

// An entry split into its items, each classified and its expression
// compiled. Built by PatternMatcher::Compile; stays usable after the
// matcher's Reset (it shares the compiled code).
struct CompiledEntry {
  enum class Kind : uint8_t {
    kLiteral,     // matches only itself
    kAny,         // "~" (after runs of "~" became one)
    kOne,         // "?": any one character
    kGlob,        // "~" and "?" among characters that mean themselves
    kWildcardRe,  // "~" and "?" among other characters of expressions
    kNever,       // a wildcard whose expression does not compile
    kBracketed,   // "<...>"
  };
  struct Item {
    Kind kind = Kind::kLiteral;
    Text text;  // the item ("~" collapsed); for kBracketed the inner text
    std::shared_ptr<const CompiledRegexp> regexp;  // kWildcardRe, kBracketed
  };
  std::vector<Item> items;
  bool caseless = true;  // case is not significant
};

// The compiled expressions of one run and the limits that bound each match.
class PatternMatcher {
 public:
  // At most this many steps of backtracking and this depth of nesting for
  // one match of one expression against one word.
  static constexpr uint32_t kMatchLimit = 1000000;
  static constexpr uint32_t kDepthLimit = 10000;

  PatternMatcher();
  ~PatternMatcher();
  PatternMatcher(const PatternMatcher&) = delete;
  PatternMatcher& operator=(const PatternMatcher&) = delete;

  // Forgets the compiled expressions and the problem met (at the start of a
  // run).
  void Reset();

  // The entry split and compiled for matching, case-insensitively unless
  // case_significant.
  CompiledEntry Compile(TextView entry, bool case_significant);

  // Whether text (a word, or a phrase of words joined by "+") matches the
  // entry: as many items as words, each word matching its item, tried from
  // the first. A bracketed item that is not a valid expression, or that
  // runs out of the limits, records a problem (the first one met since
  // Reset stays) and ends the comparison as kProblem.
  enum class Outcome { kNoMatch, kMatch, kProblem };
  Outcome Try(TextView text, const CompiledEntry& entry);
  bool Match(TextView text, const CompiledEntry& entry) {
    return Try(text, entry) == Outcome::kMatch;
  }
  // The same for text already split at every "+" (SplitWords).
  Outcome TryWords(const std::vector<TextView>& words, const CompiledEntry& entry);
  static void SplitWords(TextView text, std::vector<TextView>* words);

  // The first problem met since Reset.
  const PatternProblem& problem() const { return problem_; }
  bool has_problem() const { return problem_.status != PatternStatus::kOk; }

  // How many expressions this matcher has compiled since it was made.
  uint64_t compilations() const { return compilations_; }

 private:
  struct Pcre;
  std::shared_ptr<const CompiledRegexp> CompileRegexp(const Text& pattern, bool caseless);
  // PCRE2's result of running re on subject.
  int Run(const CompiledRegexp& re, TextView subject);
  Outcome TryItem(TextView word, const CompiledEntry::Item& item, bool caseless);
  void Record(PatternStatus status, const Text& expression);

  std::unique_ptr<Pcre> pcre_;
  std::unordered_map<Text, std::shared_ptr<const CompiledRegexp>> cache_;
  uint64_t compilations_ = 0;
  PatternProblem problem_;
  std::vector<TextView> words_;  // scratch for Try
};

// Whether text matches entry (compiles the entry's items on each call; the
// expressions are compiled once in the matcher).
bool MatchEntry(TextView text, TextView entry, bool case_significant, PatternMatcher* matcher);

// The entries of one list, compiled for a run. When case is not significant
// every entry is lower-cased (LowerCaseAccented) first, and so is every word
// looked up.
class PatternList {
 public:
  void Build(const std::vector<Text>& entries, bool case_significant, PatternMatcher* matcher);

  size_t size() const { return size_; }
  bool case_significant() const { return case_significant_; }
  // Whether an entry holds an expression in angle brackets: only such an
  // entry can meet a problem (PatternMatcher::problem) when matched.
  bool HasExpressions() const;

 private:
  friend bool MatchAgainstList(TextView word, const PatternList& list, PatternMatcher* matcher);

  static constexpr uint32_t kNoLiteral = UINT32_MAX;

  size_t size_ = 0;
  bool case_significant_ = false;
  struct TextHash {
    using is_transparent = void;
    size_t operator()(TextView v) const { return std::hash<TextView>{}(v); }
  };
  // The literal entries, each with the place of its first occurrence.
  std::unordered_map<Text, uint32_t, TextHash, std::equal_to<>> literals_;
  // The other entries in list order, with their places.
  std::vector<CompiledEntry> others_;
  std::vector<uint32_t> other_places_;
};

// Whether word (or phrase) matches an entry of the list: the entries are
// tried in turn, stopping at the first match or at the first problem met
// (the matcher keeps it; the answer is then false). The literal entries are
// found by one hash lookup, with the same result as trying them in turn.
bool MatchAgainstList(TextView word, const PatternList& list, PatternMatcher* matcher);
// The same for a word of the counting path.
bool MatchAgainstList(BytesView word, const PatternList& list, PatternMatcher* matcher);

}  // namespace vorn

#endif  // VORN_WORDS_PATTERNS_H_
