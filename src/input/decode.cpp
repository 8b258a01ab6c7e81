#include "input/decode.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vorn {

namespace {

// Base letters of the Latin letters outside Windows-1252, two characters per
// code point, blank-padded; "  " means the character has no base letter and
// becomes a space. Derived from the Unicode compatibility decompositions and
// character names (ligatures such as U+0133 give two letters).
constexpr char32_t kLatinExtendedFirst = 0x0100;
constexpr std::string_view kLatinExtendedAB =
    "A a A a A a C c C c C c C c D d "  // 0100
    "D d E e E e E e E e E e G g G g "  // 0110
    "G g G g H h H h I i I i I i I i "  // 0120
    "I i IJijJ j K k k L l L l L l L "  // 0130
    "l L l N n N n N n n N n O o O o "  // 0140
    "O o     R r R r R r S s S s S s "  // 0150
    "S s T t T t T t U u U u U u U u "  // 0160
    "U u U u W w Y y Y Z z Z z Z z s "  // 0170
    "b B B b     O C c D D D d d E E "  // 0180
    "E F f G G hvI I K k l   M N n O "  // 0190
    "O o OIoiP p       S   t T t T U "  // 01A0
    "u U V Y y Z z Z Z z z         w "  // 01B0
    "        DZDzdzLJLjljNJNjnjA a I "  // 01C0
    "i O o U u U u U u U u U u e A a "  // 01D0
    "A a AEaeG g G g K k O o O o Z z "  // 01E0
    "j DZDzdzG g HVW N n A a AEaeO o "  // 01F0
    "A a A a E e E e I i I i O o O o "  // 0200
    "R r R r U u U u S s T t Y y H h "  // 0210
    "N d OUouZ z A a E e O o O o O o "  // 0220
    "O o Y y l n t j dbqpA C c L T s "  // 0230
    "z     B U V E e J j Q q R r Y y "  // 0240
    ;
constexpr char32_t kLatinAdditionalFirst = 0x1E00;
constexpr std::string_view kLatinExtendedAdditional =
    "A a B b B b B b C c D d D d D d "  // 1E00
    "D d D d E e E e E e E e E e F f "  // 1E10
    "G g H h H h H h H h H h I i I i "  // 1E20
    "K k K k K k L l L l L l L l M m "  // 1E30
    "M m M m N n N n N n N n O o O o "  // 1E40
    "O o O o P p P p R r R r R r R r "  // 1E50
    "S s S s S s S s S s T t T t T t "  // 1E60
    "T t U u U u U u U u U u V v V v "  // 1E70
    "W w W w W w W w W w X x X x Y y "  // 1E80
    "Z z Z z Z z h t w y a s s s SSd "  // 1E90
    "A a A a A a A a A a A a A a A a "  // 1EA0
    "A a A a A a A a E e E e E e E e "  // 1EB0
    "E e E e E e E e I i I i O o O o "  // 1EC0
    "O o O o O o O o O o O o O o O o "  // 1ED0
    "O o O o U u U u U u U u U u U u "  // 1EE0
    "U u Y y Y y Y y Y y LLllV v Y y "  // 1EF0
    ;

static_assert(kLatinExtendedAB.size() == 2 * (0x0250 - kLatinExtendedFirst));
static_assert(kLatinExtendedAdditional.size() == 2 * (0x1F00 - kLatinAdditionalFirst));

// Appends the base letters of entry `index` of `table`; false when it has none.
bool AppendBaseLetters(std::string_view table, size_t index, Text* out) {
  const char first = table[2 * index];
  const char second = table[2 * index + 1];
  if (first == ' ') return false;
  out->push_back(static_cast<char16_t>(first));
  if (second != ' ') out->push_back(static_cast<char16_t>(second));
  return true;
}

// A combining accent after a letter: the letters it composes with into a
// character of Windows-1252, and what they compose to. Text written in
// decomposed form (common on some systems) then reads as the composed text.
struct Composition {
  char32_t mark;
  std::u16string_view bases;
  std::u16string_view composed;
};
constexpr Composition kCompositions[] = {
    {0x0300, u"AaEeIiOoUu", u"\u00C0\u00E0\u00C8\u00E8\u00CC\u00EC\u00D2\u00F2\u00D9\u00F9"},
    {0x0301, u"AaEeIiOoUuYy",
     u"\u00C1\u00E1\u00C9\u00E9\u00CD\u00ED\u00D3\u00F3\u00DA\u00FA\u00DD\u00FD"},
    {0x0302, u"AaEeIiOoUu", u"\u00C2\u00E2\u00CA\u00EA\u00CE\u00EE\u00D4\u00F4\u00DB\u00FB"},
    {0x0303, u"AaNnOo", u"\u00C3\u00E3\u00D1\u00F1\u00D5\u00F5"},
    {0x0308, u"AaEeIiOoUuYy",
     u"\u00C4\u00E4\u00CB\u00EB\u00CF\u00EF\u00D6\u00F6\u00DC\u00FC\u0178\u00FF"},
    {0x030A, u"Aa", u"\u00C5\u00E5"},
    {0x030C, u"SsZz", u"\u0160\u0161\u017D\u017E"},
    {0x0327, u"Cc", u"\u00C7\u00E7"},
};

// A combining mark joins the letter before it when the two make a character
// of Windows-1252; otherwise it is dropped, so that the letter keeps its word
// together (a decomposed "r" + caron reads as "r", as the composed one does).
void ApplyCombiningMark(char32_t mark, Text* out) {
  if (out->empty()) return;
  const char16_t last = out->back();
  for (const Composition& c : kCompositions) {
    if (c.mark != mark) continue;
    const size_t at = c.bases.find(last);
    if (at != std::u16string_view::npos) out->back() = c.composed[at];
    return;
  }
}

// U+2010..U+203F: dashes, quotes, bullet, ellipsis and angle quotes become
// their plain forms; the rest of the range is removed.
void FoldGeneralPunctuation(char32_t cp, Text* out) {
  if (cp <= 0x2013) {
    out->push_back(u'-');
  } else if (cp == 0x2014) {
    out->append(u" -- ");
  } else if (cp == 0x2015) {
    out->append(u"--");
  } else if (cp == 0x2016) {
    out->push_back(u'|');
  } else if (cp == 0x2017) {
    out->push_back(Windows1252ToChar(137));
  } else if (cp <= 0x201B) {
    out->push_back(u'\'');
  } else if (cp <= 0x201F) {
    out->push_back(u'"');
  } else if (cp == 0x2022) {
    out->append(u" . ");
  } else if (cp == 0x2026) {
    out->append(u"...");
  } else if (cp == 0x2039) {
    out->push_back(u'<');
  } else if (cp == 0x203A) {
    out->push_back(u'>');
  }
}

// Length of the well-formed UTF-8 sequence at bytes[i] and its code point,
// or 0 when the byte there does not begin one (overlong forms, encoded
// surrogates, code points above U+10FFFF and truncated sequences included).
size_t DecodeSequence(std::string_view bytes, size_t i, char32_t* cp) {
  const size_t n = bytes.size();
  const auto b = [&](size_t k) { return static_cast<uint8_t>(bytes[k]); };
  const uint8_t b0 = b(i);
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  }
  const auto cont = [&](size_t k, uint8_t lo = 0x80, uint8_t hi = 0xBF) {
    return k < n && b(k) >= lo && b(k) <= hi;
  };
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    if (!cont(i + 1)) return 0;
    *cp = (static_cast<char32_t>(b0 & 0x1F) << 6) | (b(i + 1) & 0x3F);
    return 2;
  }
  if (b0 >= 0xE0 && b0 <= 0xEF) {
    const uint8_t lo = b0 == 0xE0 ? 0xA0 : 0x80;
    const uint8_t hi = b0 == 0xED ? 0x9F : 0xBF;
    if (!cont(i + 1, lo, hi) || !cont(i + 2)) return 0;
    *cp = (static_cast<char32_t>(b0 & 0x0F) << 12) | (static_cast<char32_t>(b(i + 1) & 0x3F) << 6) |
          (b(i + 2) & 0x3F);
    return 3;
  }
  if (b0 >= 0xF0 && b0 <= 0xF4) {
    const uint8_t lo = b0 == 0xF0 ? 0x90 : 0x80;
    const uint8_t hi = b0 == 0xF4 ? 0x8F : 0xBF;
    if (!cont(i + 1, lo, hi) || !cont(i + 2) || !cont(i + 3)) return 0;
    *cp = (static_cast<char32_t>(b0 & 0x07) << 18) |
          (static_cast<char32_t>(b(i + 1) & 0x3F) << 12) |
          (static_cast<char32_t>(b(i + 2) & 0x3F) << 6) | (b(i + 3) & 0x3F);
    return 4;
  }
  return 0;
}

}  // namespace

void FoldCodePoint(char32_t cp, Text* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char16_t>(cp));
    return;
  }
  if (cp <= 0x9F) return;  // C1 controls
  if (cp <= 0xFF) {
    out->push_back(static_cast<char16_t>(cp));
    return;
  }
  if (cp == 0x010D) {
    out->push_back(u'c');
    return;
  }
  if (cp >= 0x2010 && cp <= 0x203F) {
    FoldGeneralPunctuation(cp, out);
    return;
  }
  if (cp <= 0xFFFF) {
    bool ok = false;
    const uint8_t b = CharToWindows1252(static_cast<char16_t>(cp), &ok);
    if (ok && b >= 0x80) {
      out->push_back(Windows1252ToChar(b));
      return;
    }
  }
  if (cp >= kLatinExtendedFirst && cp < 0x0250) {
    if (AppendBaseLetters(kLatinExtendedAB, cp - kLatinExtendedFirst, out)) return;
  } else if (cp >= kLatinAdditionalFirst && cp < 0x1F00) {
    if (AppendBaseLetters(kLatinExtendedAdditional, cp - kLatinAdditionalFirst, out)) return;
  } else if (IsCombiningMark(cp)) {
    ApplyCombiningMark(cp, out);
    return;
  }
  out->push_back(u' ');
}

void DecodeUtf8Line(std::string_view bytes, Text* out) {
  const size_t n = bytes.size();
  out->reserve(out->size() + n);
  size_t i = 0;
  while (i < n) {
    // Most text is ASCII: copy runs of it without decoding.
    size_t run = i;
    while (run < n && static_cast<uint8_t>(bytes[run]) < 0x80) ++run;
    if (run > i) {
      const size_t old = out->size();
      out->resize(old + (run - i));
      char16_t* dst = out->data() + old;
      for (size_t k = i; k < run; ++k) *dst++ = static_cast<char16_t>(bytes[k]);
      i = run;
      if (i == n) break;
    }
    char32_t cp = 0;
    const size_t len = DecodeSequence(bytes, i, &cp);
    if (len == 0) {
      out->push_back(Windows1252ToChar(static_cast<uint8_t>(bytes[i])));
      ++i;
    } else {
      FoldCodePoint(cp, out);
      i += len;
    }
  }
}

void DecodeUtf8LineTo1252(std::string_view bytes, Bytes* out) {
  const size_t n = bytes.size();
  const char* const p = bytes.data();
  out->reserve(out->size() + n);
  // What a sequence folds to may depend on the character before it (a
  // combining mark changes it): the last character appended is kept as
  // text, and a sequence is folded after it.
  Text folded;
  char16_t last = 0;
  bool has_last = false;
  size_t i = 0;
  while (i < n) {
    size_t run = i;
    while (run + 8 <= n) {
      uint64_t eight;
      std::memcpy(&eight, p + run, 8);
      if ((eight & 0x8080808080808080ULL) != 0) break;
      run += 8;
    }
    while (run < n && static_cast<uint8_t>(p[run]) < 0x80) ++run;
    if (run > i) {
      out->append(p + i, run - i);
      last = static_cast<char16_t>(p[run - 1]);
      has_last = true;
      i = run;
      if (i == n) break;
    }
    folded.clear();
    if (has_last) folded.push_back(last);
    char32_t cp = 0;
    const size_t len = DecodeSequence(bytes, i, &cp);
    if (len == 0) {
      folded.push_back(Windows1252ToChar(static_cast<uint8_t>(p[i])));
      ++i;
    } else {
      FoldCodePoint(cp, &folded);
      i += len;
    }
    if (has_last) out->pop_back();
    AppendWindows1252(folded, out);
    has_last = !folded.empty();
    if (has_last) last = folded.back();
  }
}

bool IsCombiningMark(char32_t cp) {
  return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) ||
         (cp >= 0x1DC0 && cp <= 0x1DFF) || (cp >= 0x20D0 && cp <= 0x20FF) ||
         (cp >= 0xFE20 && cp <= 0xFE2F);
}

bool IsUtf8CutPoint(std::string_view bytes, size_t i) {
  if (i >= bytes.size()) return false;
  if (static_cast<uint8_t>(bytes[i]) < 0x80) return true;
  char32_t cp = 0;
  return DecodeSequence(bytes, i, &cp) != 0 && !IsCombiningMark(cp);
}

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (static_cast<uint8_t>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    char32_t cp = 0;
    const size_t len = DecodeSequence(bytes, i, &cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

Text DecodeClipboardBytes(std::string_view bytes) {
  Text out;
  if (IsValidUtf8(bytes)) {
    // A byte-order mark at the start says only that the text is UTF-8.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    DecodeUtf8Line(bytes, &out);
  } else {
    out = DecodeWindows1252(bytes);
  }
  return out;
}

}  // namespace vorn
