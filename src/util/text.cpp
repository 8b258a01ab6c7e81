#include "util/text.h"

#include <array>

namespace vorn {
namespace {

using internal::kHighControls;

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Decodes one well-formed UTF-8 sequence at s[i]. Returns its length and
// stores the code point, or returns 0 when the bytes there are not a
// well-formed sequence (overlong forms, surrogates and values past U+10FFFF
// included).
size_t DecodeSequence(std::string_view s, size_t i, char32_t* cp) {
  const auto b0 = static_cast<uint8_t>(s[i]);
  size_t len;
  char32_t value;
  char32_t min;
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  } else if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    value = b0 & 0x1F;
    min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    value = b0 & 0x0F;
    min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    value = b0 & 0x07;
    min = 0x10000;
  } else {
    return 0;
  }
  if (s.size() - i < len) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<uint8_t>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    value = (value << 6) | (b & 0x3F);
  }
  if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *cp = value;
  return len;
}

}  // namespace

char16_t Windows1252ToChar(uint8_t b) {
  if (b >= 0x80 && b <= 0x9F) return kHighControls[b - 0x80];
  return static_cast<char16_t>(b);
}

uint8_t CharToWindows1252(char16_t c, bool* ok) {
  if (ok != nullptr) *ok = true;
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<uint8_t>(c);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == c) return static_cast<uint8_t>(0x80 + i);
  }
  if (ok != nullptr) *ok = false;
  return '?';
}

Text DecodeWindows1252(std::string_view bytes) {
  Text out;
  out.resize(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i) {
    out[i] = Windows1252ToChar(static_cast<uint8_t>(bytes[i]));
  }
  return out;
}

std::string EncodeWindows1252(TextView text) {
  std::string out;
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    out[i] = static_cast<char>(CharToWindows1252(text[i]));
  }
  return out;
}

void AppendWindows1252(TextView text, std::string* out) {
  const size_t start = out->size();
  out->resize(start + text.size());
  char* p = out->data() + start;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    p[i] = static_cast<char>(c < 0x80 ? static_cast<uint8_t>(c) : CharToWindows1252(c));
  }
}

std::string TextToUtf8(TextView text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      const char32_t cp = 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                          (static_cast<char32_t>(text[i + 1]) - 0xDC00);
      AppendUtf8(cp, &out);
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      AppendUtf8(kReplacement, &out);
    } else {
      AppendUtf8(c, &out);
    }
  }
  return out;
}

Text Utf8ToText(std::string_view utf8) {
  Text out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    const size_t len = DecodeSequence(utf8, i, &cp);
    if (len == 0) {
      out.push_back(Windows1252ToChar(static_cast<uint8_t>(utf8[i])));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

Text PathText(std::string_view utf8_path) {
  Text out = Utf8ToText(utf8_path);
  for (char16_t& c : out) {
    if (c < 32 || c == 127) c = u'?';
  }
  return out;
}

void AppendUtf8(char32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

uint8_t KeyOfByte(uint8_t b) { return Key(Windows1252ToChar(b)); }

}  // namespace vorn
