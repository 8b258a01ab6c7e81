#include "words/entities.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "words/normalise.h"

namespace vorn {

namespace {

struct Entity {
  std::string_view name;  // from "&" to ";"
  uint8_t byte;           // its Windows-1252 character
};

// Sorted by name (byte order) for a binary search.
constexpr std::array<Entity, 68> kEntities = {{
    {"&#160;", 0x20},   {"&#8212;", 0x97},  {"&AElig;", 0xC6},  {"&Aacute;", 0xC1},
    {"&Acirc;", 0xC2},  {"&Agrave;", 0xC0}, {"&Aring;", 0xC5},  {"&Atilde;", 0xC3},
    {"&Auml;", 0xC4},   {"&Ccedil;", 0xC7}, {"&ETH;", 0xD0},    {"&Eacute;", 0xC9},
    {"&Ecirc;", 0xCA},  {"&Egrave;", 0xC8}, {"&Euml;", 0xCB},   {"&Iacute;", 0xCD},
    {"&Icirc;", 0xCE},  {"&Igrave;", 0xCC}, {"&Iuml;", 0xCF},   {"&Ntilde;", 0xD1},
    {"&Oacute;", 0xD3}, {"&Ocirc;", 0xD4},  {"&Ograve;", 0xD2}, {"&Oslash;", 0xD8},
    {"&Otilde;", 0xD5}, {"&Ouml;", 0xD6},   {"&THORN;", 0xDE},  {"&Uacute;", 0xDA},
    {"&Ucirc;", 0xDB},  {"&Ugrave;", 0xD9}, {"&Uuml;", 0xDC},   {"&Yacute;", 0xDD},
    {"&aacute;", 0xE1}, {"&acirc;", 0xE2},  {"&aelig;", 0xE6},  {"&agrave;", 0xE0},
    {"&amp;", '&'},     {"&aring;", 0xE5},  {"&atilde;", 0xE3}, {"&auml;", 0xE4},
    {"&ccedil;", 0xE7}, {"&copy;", 0xA9},   {"&eacute;", 0xE9}, {"&ecirc;", 0xEA},
    {"&egrave;", 0xE8}, {"&eth;", 0xF0},    {"&euml;", 0xEB},   {"&iacute;", 0xED},
    {"&icirc;", 0xEE},  {"&igrave;", 0xEC}, {"&iuml;", 0xEF},   {"&nbsp;", 0x20},
    {"&ntilde;", 0xF1}, {"&oacute;", 0xF3}, {"&ocirc;", 0xF4},  {"&ograve;", 0xF2},
    {"&oslash;", 0xF8}, {"&otilde;", 0xF5}, {"&ouml;", 0xF6},   {"&quot;", '"'},
    {"&szlig;", 0xDF},  {"&thorn;", 0xFE},  {"&uacute;", 0xFA}, {"&ucirc;", 0xFB},
    {"&ugrave;", 0xF9}, {"&uuml;", 0xFC},   {"&yacute;", 0xFD}, {"&yuml;", 0xFF},
}};

// The longest name in the table: a longer "&...;" is unknown.
constexpr size_t kLongestEntity = 8;

bool FindEntity(BytesView e, uint8_t* byte) {
  if (e.size() > kLongestEntity) return false;
  const auto it = std::lower_bound(kEntities.begin(), kEntities.end(), e,
                                   [](const Entity& a, BytesView b) { return a.name < b; });
  if (it == kEntities.end() || it->name != e) return false;
  *byte = it->byte;
  return true;
}

}  // namespace

int IsEntityAt(BytesView s) {
  if (s.size() < 4 || s[0] != '&') return 0;
  if (s[1] == '#') return 1;
  // Only the first 20 characters can hold the ";": looking no further keeps
  // a line of many "&" and no ";" linear.
  const size_t semi = s.substr(0, 20).find(';');
  if (semi == BytesView::npos) return 0;
  const size_t p = semi + 1;
  if (s.substr(0, semi).find(' ') != BytesView::npos) return 0;
  if (!IsLetterChar(Windows1252ToChar(static_cast<uint8_t>(s[1])))) return 0;
  return static_cast<int>(p);
}

void DecodeEntities(Bytes* text, EntityDecodeState* state) {
  // One pass that writes the text again where it stands (w never passes r),
  // so that a line full of entities costs no more than one without.
  Bytes& t = *text;
  size_t r = std::min(state->from, t.size());
  size_t w = r;
  auto copy = [&t, &r, &w](size_t to) {
    if (w != r)
      std::copy(t.begin() + static_cast<ptrdiff_t>(r), t.begin() + static_cast<ptrdiff_t>(to),
                t.begin() + static_cast<ptrdiff_t>(w));
    w += to - r;
    r = to;
  };
  if (state->amp_lost) {
    // The "&" is gone with the text before: its "&...;" is far too long to
    // be known, so the search goes on after the ";".
    const size_t semi = t.find(';', r);
    if (semi == Bytes::npos) {
      state->from = t.size();
      return;
    }
    state->amp_lost = false;
    copy(semi + 1);
  }
  while (true) {
    const size_t amp = t.find('&', r);
    if (amp == Bytes::npos) break;
    const size_t semi = t.find(';', amp + 1);
    if (semi == Bytes::npos) {
      const size_t from = w + (amp - r);
      copy(t.size());
      t.resize(w);
      state->from = from;
      return;
    }
    uint8_t byte = 0;
    if (FindEntity(BytesView(t).substr(amp, semi + 1 - amp), &byte)) {
      copy(amp);
      t[w++] = static_cast<char>(byte);
      r = semi + 1;
    } else {
      copy(semi + 1);
    }
  }
  copy(t.size());
  t.resize(w);
  state->from = w;
}

void DecodeEntities(Bytes* text) {
  EntityDecodeState state;
  DecodeEntities(text, &state);
}

}  // namespace vorn
