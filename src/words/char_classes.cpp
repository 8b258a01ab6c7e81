#include "words/char_classes.h"

#include <array>

#include "input/decode.h"
#include "util/str_proc.h"

namespace vorn {

char16_t LowerChar(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  switch (c) {
    case 0x0160:
      return 0x0161;  // Š
    case 0x0152:
      return 0x0153;  // Œ
    case 0x017D:
      return 0x017E;  // Ž
    case 0x0178:
      return 0x00FF;  // Ÿ
    default:
      return c;
  }
}

char16_t UpperChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  switch (c) {
    case 0x0161:
      return 0x0160;
    case 0x0153:
      return 0x0152;
    case 0x017E:
      return 0x017D;
    case 0x00FF:
      return 0x0178;
    default:
      return c;
  }
}

namespace {

// The case pairs of Windows-1252 as bytes: A-Z, À-Þ but ×, and Š Œ Ž Ÿ
// (0x8A 0x8C 0x8E 0x9F) with š œ ž ÿ (0x9A 0x9C 0x9E 0xFF).
constexpr std::array<uint8_t, 256> MakeLowerBytes() {
  std::array<uint8_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = static_cast<uint8_t>(b);
  for (int b = 'A'; b <= 'Z'; ++b) t[b] = static_cast<uint8_t>(b + 32);
  for (int b = 0xC0; b <= 0xDE; ++b) {
    if (b != 0xD7) t[b] = static_cast<uint8_t>(b + 32);
  }
  t[0x8A] = 0x9A;
  t[0x8C] = 0x9C;
  t[0x8E] = 0x9E;
  t[0x9F] = 0xFF;
  return t;
}

constexpr std::array<uint8_t, 256> MakeUpperBytes() {
  std::array<uint8_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[b] = static_cast<uint8_t>(b);
  for (int b = 'a'; b <= 'z'; ++b) t[b] = static_cast<uint8_t>(b - 32);
  for (int b = 0xE0; b <= 0xFE; ++b) {
    if (b != 0xF7) t[b] = static_cast<uint8_t>(b - 32);
  }
  t[0x9A] = 0x8A;
  t[0x9C] = 0x8C;
  t[0x9E] = 0x8E;
  t[0xFF] = 0x9F;
  return t;
}

constexpr std::array<uint8_t, 256> kLowerBytes = MakeLowerBytes();
constexpr std::array<uint8_t, 256> kUpperBytes = MakeUpperBytes();

}  // namespace

uint8_t LowerByte(uint8_t b) { return kLowerBytes[b]; }
uint8_t UpperByte(uint8_t b) { return kUpperBytes[b]; }

void LowerCaseAccentedInPlace(Bytes* bytes) {
  for (char& c : *bytes) c = static_cast<char>(kLowerBytes[static_cast<uint8_t>(c)]);
}

void LowerCaseAccentedInPlace(Text* text) {
  for (char16_t& c : *text) c = LowerChar(c);
}

Text LowerCaseAccented(TextView text) {
  Text out(text);
  LowerCaseAccentedInPlace(&out);
  return out;
}

Text UpperCaseAccented(TextView text) {
  Text out(text);
  for (char16_t& c : out) c = UpperChar(c);
  return out;
}

namespace {

bool IsLetterKey(uint8_t k) {
  if (k < 128) return (k >= 'A' && k <= 'Z') || (k >= 'a' && k <= 'z');
  return k >= 192 && k != 215 && k != 247;
}

bool KeyInExtra(uint8_t k, TextView extra) {
  const char16_t as_char = Windows1252ToChar(k);
  for (char16_t e : extra) {
    if (e == as_char) return true;
  }
  return false;
}

}  // namespace

bool IsWordChar(char16_t c, bool allow_numerals, TextView extra) {
  const uint8_t k = Key(c);
  if (IsLetterKey(k)) return true;
  if (allow_numerals && k >= '0' && k <= '9') return true;
  return KeyInExtra(k, extra);
}

void CharClassTable::Build(TextView allowed_extra_chars) {
  Text starts;
  for (char16_t e : allowed_extra_chars) {
    if (kInnerOnlyChars.find(e) == TextView::npos) starts.push_back(e);
  }
  for (int b = 0; b < 256; ++b) {
    const char16_t c = Windows1252ToChar(static_cast<uint8_t>(b));
    word_[b] = IsWordChar(c, false, allowed_extra_chars);
    start_[b] = IsWordChar(c, false, starts);
  }
}

char CleanUserExtraChars(std::string* text) {
  char first_forbidden = 0;
  const Text typed = Utf8ToText(*text);
  Text allowed;
  for (char16_t c : TrimSpaces(TextView(typed))) {
    if (c < 0x80 && kForbiddenExtraChars.find(static_cast<char>(c)) != std::string_view::npos) {
      if (first_forbidden == 0) first_forbidden = static_cast<char>(c);
    } else {
      allowed.push_back(c);
    }
  }
  Text unique;
  for (char16_t c : TrimSpaces(TextView(allowed))) {
    if (unique.find(c) == Text::npos) unique.push_back(c);
  }
  *text = TextToUtf8(unique);
  return first_forbidden;
}

Text UserExtraChars(const Settings& s) {
  Text out;
  DecodeUtf8Line(s.UserSpecifiedExtraChars, &out);
  return out;
}

Text BuildAllowedExtraChars(const Settings& s) {
  Text out;
  if (s.AllowWordsWithHyphens) out += u"-";
  if (s.AllowWordsWithApostrophes) out += u"'\u2018";  // and the left single quotation mark
  if (s.AllowWordsWithUnderscores) out += u"_";
  if (s.AllowWordsWithColons) out += u":";
  if (s.AllowWordsWithBackslashes) out += u"\\";
  if (s.AllowWordsWithForwardslashes) out += u"/";
  if (s.AllowWordsWithPeriods) out += u".";
  if (s.AllowWordsWithAtSigns) out += u"@";
  if (s.AllowWordsWithNumerals) out += u"0123456789";
  if (s.AllowWordsWithParentheses) out += u"()";
  if (s.AllowWordsWithAmpersands) out += u"&";
  if (s.AllowWordsWithUserSpecifiedExtraChars) out += UserExtraChars(s);
  if (s.AllowWordsWithCommas) out += u",";
  return out;
}

}  // namespace vorn
