#include "words/entities.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorn {
namespace {

TEST(EntitiesTest, WhereAnEntityBegins) {
  struct Case {
    std::string s;
    int want;
  } const kCases[] = {
      {"&amp; x", 5},
      {"&eacute;", 8},
      {"&#160;", 1},
      {"&#x", 0},     // shorter than four characters
      {"&#xA0", 1},   // numeric: no ";" needed
      {"&am", 0},     // too short
      {"&amp x", 0},  // no ";"
      {"&am p;", 0},  // a blank before the ";"
      {"&1bc;", 0},   // the second character is no letter
      {"& ab;", 0},
      {"&\xE9t\xE9;", 5},  // accented letters are letters
      {"&abcdefghijklmnopqr;", 20},
      {"&abcdefghijklmnopqrs;", 0},  // the ";" at position 21
      {"&abcdefghijklmnopqrs;t;", 0},
      {"amp;", 0},
      {"x&amp;", 0},
  };
  for (const Case& c : kCases) EXPECT_EQ(IsEntityAt(c.s), c.want) << c.s;
}

TEST(EntitiesTest, DecodesTheKnownEntities) {
  struct Case {
    std::string in;
    std::string want;
  } const kCases[] = {
      {"Caf&eacute; &amp; bar", "Caf\xE9 & bar"},
      {"&quot;q&quot;", "\"q\""},
      {"&copy;&nbsp;&#160;&#8212;", "\xA9  \x97"},
      {"&AElig;&szlig;&yuml;&THORN;&eth;", "\xC6\xDF\xFF\xDE\xF0"},
      {"&Eacute;&EACUTE;", "\xC9&EACUTE;"},  // names keep their case
      {"&amp;amp;", "&amp;"},                // the character put in is not read again
      {"&unknown; &amp;", "&unknown; &"},
      // An "&" with no entity reaches to the next ";", hiding that entity.
      {"a & b &amp; c", "a & b &amp; c"},
      {"a &amp; b &", "a & b &"},
      {"&eacute", "&eacute"},
      {"no entities", "no entities"},
      {"", ""},
  };
  for (const Case& c : kCases) {
    Bytes text = c.in;
    DecodeEntities(&text);
    EXPECT_EQ(text, c.want) << c.in;
  }
}

// Decoding a text that grows piece by piece gives what decoding it whole
// gives, with the decoded text before where the next call goes on dropped.
TEST(EntitiesTest, DecodesATextInPiecesAsAWhole) {
  const std::string kText = "a &amp; b & c &eacute; d &copy; e &nbsp; &#8212; f &unknown; g &Auml;";
  Bytes whole = kText;
  DecodeEntities(&whole);
  for (size_t cut = 0; cut <= kText.size(); ++cut) {
    for (int half = 0; half < 2; ++half) {
      EntityDecodeState state;
      Bytes text = kText.substr(0, cut);
      DecodeEntities(&text, &state);
      const size_t drop = half == 1 ? state.from / 2 : state.from;
      const Bytes dropped = text.substr(0, drop);
      text.erase(0, drop);
      state.from -= drop;
      text += kText.substr(cut);
      DecodeEntities(&text, &state);
      EXPECT_EQ(dropped + text, whole) << cut << " " << drop;
    }
  }
}

// An "&" dropped while it waits for its ";" still hides the entity that
// ends there.
TEST(EntitiesTest, AnAmpersandDroppedStillReachesToTheNextSemicolon) {
  EntityDecodeState state;
  Bytes text = "a & b c";
  DecodeEntities(&text, &state);
  EXPECT_EQ(state.from, 2u);
  text.erase(0, 4);
  state.from = 0;
  state.amp_lost = true;
  text += " &amp; d &amp; e";
  DecodeEntities(&text, &state);
  EXPECT_EQ(text, "b c &amp; d & e");
  EXPECT_FALSE(state.amp_lost);
}

}  // namespace
}  // namespace vorn
