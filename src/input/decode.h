// Decoding of input lines into the engine's Windows-1252 text.
//
// Every valid UTF-8 sequence of a line is decoded and folded into the
// characters that Windows-1252 holds: U+0080..U+009F are removed; U+00A0..
// U+00FF stay; U+010D becomes "c"; U+2010..U+203F follow the punctuation
// table (dashes "-", the em dash " -- ", quotes, the bullet " . ", the
// ellipsis "...", the angle quotes "<" ">") and the rest of that range is
// removed; every other character of Windows-1252 stays (€ Š Œ Ž š œ ž Ÿ ƒ ˆ
// ˜ ™ ...); every other Latin letter becomes its base letter (ř r, ő o, ş s,
// ł l, đ d); a combining accent joins the letter before it when the two make
// a character of Windows-1252 (e + U+0301 is é) and is dropped otherwise, so
// that decomposed text reads as composed text does; anything else becomes a
// space. A byte that does not begin a valid sequence stays as the
// Windows-1252 character of that byte (overlong forms, encoded surrogates and
// values above U+10FFFF are not valid sequences).
//
// Pure functions; thread-safe.

#ifndef VORN_INPUT_DECODE_H_
#define VORN_INPUT_DECODE_H_

#include <string_view>

#include "util/text.h"

namespace vorn {

// Appends the folded text of one UTF-8 line to *out.
void DecodeUtf8Line(std::string_view bytes, Text* out);

// Appends the same folded line, encoded in Windows-1252, to *out: the bytes
// EncodeWindows1252 makes of what DecodeUtf8Line appends to an empty text,
// without the text in between. ASCII runs are copied as they stand.
void DecodeUtf8LineTo1252(std::string_view bytes, Bytes* out);

// Appends what one Unicode code point folds to (possibly nothing, or several
// characters) to *out. A combining accent may instead change the last
// character of *out.
void FoldCodePoint(char32_t cp, Text* out);

// Whether a UTF-8 line may be cut just before bytes[i] and its two parts
// decoded apart with the same result as the whole: bytes[i] is ASCII, or it
// begins a valid sequence of a character that is not a combining mark (a
// combining mark changes the character before it).
bool IsUtf8CutPoint(std::string_view bytes, size_t i);

// Whether code point cp is a combining mark (it joins or is dropped).
bool IsCombiningMark(char32_t cp);

// True when bytes is valid UTF-8 throughout.
bool IsValidUtf8(std::string_view bytes);

// The whole text of a clipboard taken from a file: UTF-8 when it is valid
// UTF-8, else Windows-1252; folded as above.
Text DecodeClipboardBytes(std::string_view bytes);

}  // namespace vorn

#endif  // VORN_INPUT_DECODE_H_
