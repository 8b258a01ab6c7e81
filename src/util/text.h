// Text as the engine holds it.
//
// Words, lines and the results box are sequences of 16-bit characters that
// each carry one Windows-1252 character, as the Unicode character that
// Windows-1252 maps the byte to (0x8A is U+0160 "Š", 0x80 is U+20AC "€"; the
// five codes Windows-1252 leaves undefined map to U+0081, U+008D, U+008F,
// U+0090 and U+009D). Every character-class test looks at the low 8 bits of a
// character, its key, so U+0160 has the key 0x60.
//
// Since every character the engine holds is a Windows-1252 character, the
// counting path carries lines and words as Windows-1252 bytes (Bytes), half
// the size, and the word table keeps them so; they become Text where they
// are shown. OrdinalLess orders such bytes as Text orders their characters.
//
// Settings texts, paths and message texts are UTF-8 std::strings, the
// native form of the platform; they are converted where they meet words.
//
// All functions are pure and may be used from any thread.

#ifndef VORN_UTIL_TEXT_H_
#define VORN_UTIL_TEXT_H_

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace vorn {

using Text = std::u16string;
using TextView = std::u16string_view;
// Windows-1252 bytes, one per character.
using Bytes = std::string;
using BytesView = std::string_view;

inline constexpr char16_t kCr = u'\r';
inline constexpr char16_t kLf = u'\n';
inline constexpr char16_t kTab = u'\t';
inline constexpr TextView kCrLf = u"\r\n";

// The key of a character: the low 8 bits of its code.
inline constexpr uint8_t Key(char16_t c) { return static_cast<uint8_t>(c & 0xFF); }

// The character that the Windows-1252 byte b stands for.
char16_t Windows1252ToChar(uint8_t b);

// The Windows-1252 byte of c. Stores false in *ok (when given) and returns
// '?' when Windows-1252 has no byte for c.
uint8_t CharToWindows1252(char16_t c, bool* ok = nullptr);

// Bytes as Windows-1252 text, one character per byte.
Text DecodeWindows1252(std::string_view bytes);

// Text as Windows-1252 bytes; characters without a byte become '?'.
std::string EncodeWindows1252(TextView text);

// Appends the Windows-1252 bytes of text to *out, as EncodeWindows1252.
void AppendWindows1252(TextView text, std::string* out);

namespace internal {

// The characters of the bytes 0x80 to 0x9F. The five codes Windows-1252
// leaves undefined keep their own value, so every byte has a character and
// every such character its byte.
inline constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

constexpr char16_t CharOfByte(int b) {
  return b >= 0x80 && b <= 0x9F ? kHighControls[static_cast<size_t>(b - 0x80)]
                                : static_cast<char16_t>(b);
}

// For every byte, the place of its character among the 256 characters of
// Windows-1252 in the order of their codes.
constexpr std::array<uint8_t, 256> MakeOrdinalRanks() {
  std::array<uint8_t, 256> rank{};
  for (int b = 0; b < 256; ++b) {
    int below = 0;
    for (int o = 0; o < 256; ++o) below += CharOfByte(o) < CharOfByte(b) ? 1 : 0;
    rank[static_cast<size_t>(b)] = static_cast<uint8_t>(below);
  }
  return rank;
}

inline constexpr std::array<uint8_t, 256> kOrdinalRanks = MakeOrdinalRanks();

}  // namespace internal

// Whether the text of the Windows-1252 bytes a comes before that of b in
// ordinal order, the order of the characters' codes (as TextView's operator<
// orders the decoded texts): the bytes 0x80 to 0x9F stand for characters
// that sort among or after the others ("\x8A", U+0160, comes after "\xFF").
inline bool OrdinalLess(BytesView a, BytesView b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  const char* pa = a.data();
  const char* pb = b.data();
  size_t i = 0;
  // Eight bytes at a time up to the first difference.
  for (; i + 8 <= n; i += 8) {
    uint64_t x;
    uint64_t y;
    std::memcpy(&x, pa + i, 8);
    std::memcpy(&y, pb + i, 8);
    if (x != y) {
      i += static_cast<size_t>(__builtin_ctzll(x ^ y) / 8);
      return internal::kOrdinalRanks[static_cast<uint8_t>(pa[i])] <
             internal::kOrdinalRanks[static_cast<uint8_t>(pb[i])];
    }
  }
  for (; i < n; ++i) {
    if (pa[i] != pb[i]) {
      return internal::kOrdinalRanks[static_cast<uint8_t>(pa[i])] <
             internal::kOrdinalRanks[static_cast<uint8_t>(pb[i])];
    }
  }
  return a.size() < b.size();
}

// Appends the UTF-8 form of the code point cp to *out.
void AppendUtf8(char32_t cp, std::string* out);

// Text (any UTF-16 code units) as UTF-8; unpaired surrogates become U+FFFD.
std::string TextToUtf8(TextView text);

// UTF-8 as UTF-16 text, exactly (no folding to Windows-1252); an invalid
// byte becomes the Windows-1252 character of that byte.
Text Utf8ToText(std::string_view utf8);

// A path as the results show it: Utf8ToText, with every control character
// (a line break in a file name) shown as "?", so that one path stays one
// line.
Text PathText(std::string_view utf8_path);

// The key of the character that the Windows-1252 byte b stands for.
uint8_t KeyOfByte(uint8_t b);

// Shorthand for literal ASCII/UTF-8 message pieces that meet Text.
inline Text T(std::string_view utf8) { return Utf8ToText(utf8); }

}  // namespace vorn

#endif  // VORN_UTIL_TEXT_H_
