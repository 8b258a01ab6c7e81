// WordLists: the words-to-ignore and count-only lists, and how a counted
// word or phrase is looked up in them.
//
// Each kind has two sources: the box of the Settings window where entries
// are typed (ExtraWords 0 and 1) and a loaded words file. Entries are
// Windows-1252 bytes; the words of a count-only phrase are joined by "+".
// The lists of a file are kept in ordinal order, so that a literal entry is
// found by binary search; the box lists are tried entry by entry.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_COUNTING_WORD_LISTS_H_
#define VORN_COUNTING_WORD_LISTS_H_

#include <memory>
#include <string>
#include <vector>

#include "util/text.h"
#include "words/patterns.h"

namespace vorn {

struct EngineState;
struct Settings;

struct RestrictionLists {
  std::vector<Bytes> ExtraIgnoreWords;    // the words-to-ignore box
  std::vector<Bytes> IgnoreFileWords;     // the loaded words-to-ignore file
  std::vector<Bytes> ExtraCountOnly;      // the count-only box
  std::vector<Bytes> CountOnlyFileWords;  // the loaded count-only file

  // What the reading of the last words file of each kind found.
  bool CountOnlyFileHasWildcards = false;  // refused: "?" or "~"
  bool IgnoreFileHasBrackets = false;      // refused: "<" or ">"
  bool IgnoreFileHasWildcards = false;

  // The lists compiled for one run (PrepareListsForRun): each expression
  // once. Phrases are matched whatever the case.
  struct Compiled {
    PatternMatcher matcher;
    PatternList extra_ignore;
    PatternList ignore_file;  // with pattern matching in that file
    PatternList extra_count_only;
    PatternList count_only_file;  // with pattern matching in that file
    PatternList extra_phrases;
    PatternList file_phrases;
    // The pattern-matching switches as the run began with them: a change
    // made during a run takes effect at the next run.
    bool ignore_file_patterns = false;
    bool count_only_file_patterns = false;
  };
  std::unique_ptr<Compiled> compiled = std::make_unique<Compiled>();

  // The list loaded from the words file of kind `index` (0 words to
  // ignore, 1 count-only).
  std::vector<Bytes>& FileWords(int index) {
    return index == 0 ? IgnoreFileWords : CountOnlyFileWords;
  }

  bool IgnoreSet() const { return !ExtraIgnoreWords.empty() || !IgnoreFileWords.empty(); }
  bool CountOnlySet() const { return !ExtraCountOnly.empty() || !CountOnlyFileWords.empty(); }
  int64_t CountOnlyEntries() const {
    return static_cast<int64_t>(ExtraCountOnly.size() + CountOnlyFileWords.size());
  }
};

// The word filters of the settings, their sizes read once.
struct WordFilters {
  explicit WordFilters(const Settings& s);
  bool ignore_short;
  int short_size;
  int long_size;
  bool ignore_repetitions;
  bool ignore_no_letter;
  bool ignore_no_vowel;
};

// Whether the word filters reject `word` (Windows-1252): too short (when
// short words are ignored) or too long, four repeated letters, no letter,
// no vowel or y (each when its option is on). `scratch` is working space
// kept between calls.
bool FailsWordFilters(const WordFilters& f, BytesView word, Text* scratch);
inline bool FailsWordFilters(const Settings& s, BytesView word, Text* scratch) {
  return FailsWordFilters(WordFilters(s), word, scratch);
}

// While it lives (and `on`), the count-only entries of the box and of the
// file are put aside, as for a run that counts all words or all phrases;
// they come back however the run ends.
class CountOnlyAside {
 public:
  CountOnlyAside(RestrictionLists* lists, bool on) : lists_(lists), on_(on) {
    if (!on_) return;
    box_.swap(lists_->ExtraCountOnly);
    file_.swap(lists_->CountOnlyFileWords);
  }
  ~CountOnlyAside() {
    if (!on_) return;
    lists_->ExtraCountOnly.swap(box_);
    lists_->CountOnlyFileWords.swap(file_);
  }
  CountOnlyAside(const CountOnlyAside&) = delete;
  CountOnlyAside& operator=(const CountOnlyAside&) = delete;

 private:
  RestrictionLists* lists_;
  bool on_;
  std::vector<Bytes> box_;
  std::vector<Bytes> file_;
};

// GetExtraWords: parses box `index` (0 words to ignore, 1 count-only) of
// the Settings into its list. Unless case is significant the text outside
// angle brackets is lower-cased. The words-to-ignore box is split at blanks
// and its text becomes the sorted entries joined by single blanks (the
// window is told); the count-only box is split at ", " and the words of a
// phrase joined by "+". Entries lose the characters that may only stand
// inside a word from their ends and are sorted. Returns false (the list is
// then empty) when the count-only box holds an inadmissible expression,
// which is reported. Ends with CheckAllowedExtraChars.
bool GetExtraWords(EngineState* st, int index);

// Whether every character of the two boxes may stand in a word under the
// current settings (expressions in angle brackets are not looked at);
// reports the first that may not ("Character not allowed"). Does nothing
// before the window has started.
bool CheckAllowedExtraChars(EngineState* st);

// The number of words of the longest count-only entry: its "+" signs that
// stand outside angle brackets and are neither its first nor its last
// character, plus one. At least 1.
int ComputeMaxPhraseWords(const RestrictionLists& lists);

// Whether some count-only entry is a phrase.
bool HasPhrases(const RestrictionLists& lists);

// Compiles the lists for a run (the patterns of each distinct entry once).
void PrepareListsForRun(EngineState* st);

// The lookups of the counting gate. `word` is a word as counted (lower-cased
// unless case is significant); a phrase has its words joined by "+".
bool IsIgnored(EngineState* st, BytesView word);
bool IsCountOnlyWord(EngineState* st, BytesView word);
bool IsCountOnlyPhrase(EngineState* st, BytesView phrase);

// Whether a lookup of a single word in the lists compiled for the run may
// meet a problem: some words-to-ignore or count-only entry holds an
// expression in angle brackets.
bool ListsMayMeetProblems(const EngineState& st);

// The problem met by a lookup since the run began (an invalid expression,
// or one that needs too much work), or nullptr.
const PatternProblem* ListProblem(const EngineState& st);

}  // namespace vorn

#endif  // VORN_COUNTING_WORD_LISTS_H_
