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
// the size; they become Text where they are kept (the word table's entries).
//
// Settings texts, paths and message texts are UTF-8 std::strings, the
// native form of the platform; they are converted where they meet words.
//
// All functions are pure and may be used from any thread.

#ifndef VORN_UTIL_TEXT_H_
#define VORN_UTIL_TEXT_H_

#include <cstdint>
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

// Appends the UTF-8 form of the code point cp to *out.
void AppendUtf8(char32_t cp, std::string* out);

// Text (any UTF-16 code units) as UTF-8; unpaired surrogates become U+FFFD.
std::string TextToUtf8(TextView text);

// UTF-8 as UTF-16 text, exactly (no folding to Windows-1252); an invalid
// byte becomes the Windows-1252 character of that byte.
Text Utf8ToText(std::string_view utf8);

// The key of the character that the Windows-1252 byte b stands for.
uint8_t KeyOfByte(uint8_t b);

// Shorthand for literal ASCII/UTF-8 message pieces that meet Text.
inline Text T(std::string_view utf8) { return Utf8ToText(utf8); }

}  // namespace vorn

#endif  // VORN_UTIL_TEXT_H_
