// Word normalisation and rejection filters.
//
// NormaliseWord cleans a measured word before it is counted: "ies" to "y",
// the final "s", the remnants of contractions split at the apostrophe, words
// of one repeated character and Roman numerals. The shape tests (no letter,
// no vowel or "y", four repeated letters, 7-bit) decide later whether an
// entry is listed or a word counted at all.
//
// Pure functions; thread-safe.

#ifndef VORN_WORDS_NORMALISE_H_
#define VORN_WORDS_NORMALISE_H_

#include "util/text.h"

namespace vorn {

struct NormaliseOptions {
  bool convert_final_ies = false;
  bool drop_final_s = false;
  bool allow_apostrophes = false;
  bool reading_word_lists = false;
  bool all_phrases_mode = false;
};

// Normalises *word in place. Returns false (and leaves *word unspecified)
// when the word is discarded.
bool NormaliseWord(Text* word, const NormaliseOptions& options);

// True when NormaliseWord may change a word's text under these options (the
// "ies" and final "s" rules); otherwise it only decides whether to discard it.
bool NormaliseChangesWords(const NormaliseOptions& options);

// True when NormaliseWord would discard the word w, which it would not
// change under these options. REQUIRES: !NormaliseChangesWords(options).
bool IsDiscardedSlow(TextView w, const NormaliseOptions& options);
inline bool IsDiscarded(TextView w, const NormaliseOptions& options) {
  // Most words fail every rule at their first or last character: only those
  // that might be discarded take the full test.
  const size_t n = w.size();
  if (n <= 1) return true;
  const char16_t first = w[0];
  const char16_t last = w[n - 1];
  switch (first) {
    case u'I':
    case u'V':
    case u'X':
    case u'L':
    case u'C':
    case u'D':
    case u'M':
    case u'i':
    case u'v':
    case u'x':
    case u'l':
    case u'c':
    case u'd':
    case u'm':
    case u' ':
      return IsDiscardedSlow(w, options);
    default:
      break;
  }
  if (last == u'n' || last == u'N' || last == u' ' || first == w[1]) {
    return IsDiscardedSlow(w, options);
  }
  return false;
}

// True when c is a vowel of VowelChars (only the small ones with lower_only).
bool IsVowel(char16_t c, bool lower_only);
// The lower-cased word followed by a blank occurs in "aren couldn didn doesn
// hadn hasn isn shouldn wasn weren wouldn ".
bool IsContractionStem(TextView word);
// The word, trimmed of blanks, is one character repeated (at least once).
bool IsOneRepeatedChar(TextView word);
// The word, trimmed and upper-cased, is made of I V X L C D M only and is not
// one of DIM MID VIM CID LID LIVID VIVID CIVIL DILL.
bool IsRomanNumeral(TextView word);
// No character of the word is a letter of LetterChars.
bool HasNoLetter(TextView word);
// No character of the word is a vowel, "Y" or "y".
bool HasNoVowelOrY(TextView word);
// Some letter of UpperLetterChars stands four times in a row (after
// upper-casing).
bool HasFourRepeatedLetters(TextView word);
// Every character has a key below 128.
bool IsAll7bit(TextView word);

}  // namespace vorn

#endif  // VORN_WORDS_NORMALISE_H_
