#include "words/char_classes.h"

#include "input/decode.h"

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

struct ByteCaseTables {
  uint8_t lower[256];
  uint8_t upper[256];
  ByteCaseTables() {
    for (int b = 0; b < 256; ++b) {
      const char16_t c = Windows1252ToChar(static_cast<uint8_t>(b));
      lower[b] = CharToWindows1252(LowerChar(c));
      upper[b] = CharToWindows1252(UpperChar(c));
    }
  }
};

const ByteCaseTables& CaseTables() {
  static const ByteCaseTables tables;
  return tables;
}

}  // namespace

uint8_t LowerByte(uint8_t b) { return CaseTables().lower[b]; }
uint8_t UpperByte(uint8_t b) { return CaseTables().upper[b]; }

void LowerCaseAccentedInPlace(Bytes* bytes) {
  const uint8_t* lower = CaseTables().lower;
  for (char& c : *bytes) c = static_cast<char>(lower[static_cast<uint8_t>(c)]);
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
