// Character classes and case folding of Windows-1252 text.
//
// A character belongs to a class by its key (the low 8 bits of its code):
// ASCII letters, the accented letters 192-255 but 215 and 247, and the
// characters of AllowedExtraChars. CharClassTable turns one AllowedExtraChars
// string into two 256-entry tables (word character, word start) so that the
// scanner tests a character with one lookup.
//
// Thread-safe: tables are values; the case maps are constant.

#ifndef VORN_WORDS_CHAR_CLASSES_H_
#define VORN_WORDS_CHAR_CLASSES_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "util/text.h"

namespace vorn {

// "'.,()+-": may stand inside a word but never begin or end it.
inline constexpr TextView kInnerOnlyChars = u"'.,()+-";

// The lower-case form of c: A-Z, the accented capitals (Š Œ Ž Ÿ À-Þ but ×).
char16_t LowerChar(char16_t c);
// The upper-case form of c, the mirror image of LowerChar (ß and µ stay).
char16_t UpperChar(char16_t c);

// The same for a Windows-1252 byte (every case pair of Windows-1252 lies in
// Windows-1252).
uint8_t LowerByte(uint8_t b);
uint8_t UpperByte(uint8_t b);
void LowerCaseAccentedInPlace(Bytes* bytes);

// LowerCaseAccented / UpperCaseAccented: the whole text folded.
void LowerCaseAccentedInPlace(Text* text);
Text LowerCaseAccented(TextView text);
Text UpperCaseAccented(TextView text);

// IsWordChar: an ASCII letter, a digit when allow_numerals, an accented
// letter (keys 192-255 but 215 and 247), or a character whose Windows-1252
// form (of its key) stands in `extra`.
bool IsWordChar(char16_t c, bool allow_numerals, TextView extra);

// The word-character and word-start tables of one AllowedExtraChars string,
// for the Windows-1252 bytes of the counting path (a byte is classified by
// the key of the character it stands for).
class CharClassTable {
 public:
  CharClassTable() { Build(u""); }
  explicit CharClassTable(TextView allowed_extra_chars) { Build(allowed_extra_chars); }

  void Build(TextView allowed_extra_chars);

  bool IsWord(char b) const { return word_[static_cast<uint8_t>(b)]; }
  // A word character that is not one of kInnerOnlyChars.
  bool IsStart(char b) const { return start_[static_cast<uint8_t>(b)]; }

 private:
  std::array<bool, 256> word_{};
  std::array<bool, 256> start_{};
};

// The characters that may never be extra word characters: plus sign,
// semicolon, less-than, greater-than, asterisk, question mark, double quote,
// tilde and caret.
inline constexpr std::string_view kForbiddenExtraChars = "+;<>*?\"~^";

// What leaving the "any of:" box does to its text (UTF-8): trims it of
// blanks, removes every forbidden character and trims again, and removes
// every repeated character (the first of each stays). Returns the first
// forbidden character found, or 0 when there was none; the caller reports it
// as "The character " + c + " is not permitted in words." titled "Invalid
// character", and clears AllowWordsWithUserSpecifiedExtraChars when the text
// ends up empty.
char CleanUserExtraChars(std::string* text);

// SetAllowedExtraChars followed by SetAllowedExtraChars2: the characters the
// settings allow inside words besides letters, in their fixed order.
Text BuildAllowedExtraChars(const Settings& s);

// The user's extra characters as Windows-1252 text.
Text UserExtraChars(const Settings& s);

}  // namespace vorn

#endif  // VORN_WORDS_CHAR_CLASSES_H_
