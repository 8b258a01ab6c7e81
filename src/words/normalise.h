// Word normalisation and rejection filters.
//
// NormaliseWord cleans a measured word before it is counted: "ies" to "y",
// the final "s", the remnants of contractions split at the apostrophe, words
// of one repeated character and Roman numerals. It works on the Windows-1252
// bytes of the counting path. The shape tests (no letter, no vowel or "y",
// four repeated letters, 7-bit) decide later whether an entry is listed or a
// word counted at all.
//
// Pure functions; thread-safe.

#ifndef VORN_WORDS_NORMALISE_H_
#define VORN_WORDS_NORMALISE_H_

#include <cstddef>
#include <cstdint>

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
bool NormaliseWord(Bytes* word, const NormaliseOptions& options);

// True when NormaliseWord may change a word's text under these options (the
// "ies" and final "s" rules); otherwise it only decides whether to discard it.
bool NormaliseChangesWords(const NormaliseOptions& options);

// True when NormaliseWord would discard the word w, which it would not
// change under these options. REQUIRES: !NormaliseChangesWords(options).
bool IsDiscardedSlow(BytesView w, const NormaliseOptions& options);

// One of the letters of Roman numerals, I V X L C D M, in either case.
inline bool IsRomanLetter(char c) {
  switch (c) {
    case 'I':
    case 'V':
    case 'X':
    case 'L':
    case 'C':
    case 'D':
    case 'M':
    case 'i':
    case 'v':
    case 'x':
    case 'l':
    case 'c':
    case 'd':
    case 'm':
      return true;
    default:
      return false;
  }
}

inline bool IsDiscarded(BytesView w, const NormaliseOptions& options) {
  // Most words fail every rule at their first two or last two characters:
  // only those that might be discarded take the full test. A contraction
  // stem ends in "en", "dn" or "sn" and has at most seven letters; a
  // repeated character stands first and second; a Roman numeral has only
  // Roman letters (blanks at the ends aside).
  const size_t n = w.size();
  if (n <= 1) return true;
  const char first = w[0];
  const char last = w[n - 1];
  if (first == ' ' || last == ' ' || first == w[1]) return IsDiscardedSlow(w, options);
  if (IsRomanLetter(first) && IsRomanLetter(w[1]) && IsRomanLetter(last)) {
    return IsDiscardedSlow(w, options);
  }
  if ((last | 0x20) == 'n' && n <= 7) {
    const char before = static_cast<char>(w[n - 2] | 0x20);
    if (before == 'e' || before == 'd' || before == 's') return IsDiscardedSlow(w, options);
  }
  return false;
}

// True when c is a vowel of VowelChars (only the small ones with lower_only).
bool IsVowel(char16_t c, bool lower_only);
// The lower-cased word followed by a blank occurs in "aren couldn didn doesn
// hadn hasn isn shouldn wasn weren wouldn ".
bool IsContractionStem(BytesView word);
// The word, trimmed of blanks, is one character repeated (at least once).
bool IsOneRepeatedChar(BytesView word);
// The word, trimmed and upper-cased, is made of I V X L C D M only and is not
// one of DIM MID VIM CID LID LIVID VIVID CIVIL DILL.
bool IsRomanNumeral(BytesView word);
// A letter of LetterChars: A-Z, a-z, the accented letters of Latin-1 but
// the multiplication and division signs, and Š Œ Ÿ š œ.
bool IsLetterChar(char16_t c);

// No character of the word is a letter of LetterChars.
bool HasNoLetter(TextView word);
// No character of the word is a vowel, "Y" or "y".
bool HasNoVowelOrY(TextView word);
// Some letter of UpperLetterChars stands four times in a row (after
// upper-casing).
bool HasFourRepeatedLetters(TextView word);
// Every character has a key below 128.
bool IsAll7bit(TextView word);
bool IsAll7bit(BytesView word);

}  // namespace vorn

#endif  // VORN_WORDS_NORMALISE_H_
