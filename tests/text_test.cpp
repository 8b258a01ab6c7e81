#include "util/text.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

TEST(TextTest, HighControlBytesMapToTheirCharacters) {
  struct Case {
    uint8_t byte;
    char16_t want;
  };
  const Case kCases[] = {
      {0x80, u'\u20AC'},
      {0x82, u'\u201A'},
      {0x83, u'\u0192'},
      {0x84, u'\u201E'},
      {0x85, u'\u2026'},
      {0x86, u'\u2020'},
      {0x87, u'\u2021'},
      {0x88, u'\u02C6'},
      {0x89, u'\u2030'},
      {0x8A, u'\u0160'},
      {0x8B, u'\u2039'},
      {0x8C, u'\u0152'},
      {0x8E, u'\u017D'},
      {0x91, u'\u2018'},
      {0x92, u'\u2019'},
      {0x93, u'\u201C'},
      {0x94, u'\u201D'},
      {0x95, u'\u2022'},
      {0x96, u'\u2013'},
      {0x97, u'\u2014'},
      {0x98, u'\u02DC'},
      {0x99, u'\u2122'},
      {0x9A, u'\u0161'},
      {0x9B, u'\u203A'},
      {0x9C, u'\u0153'},
      {0x9E, u'\u017E'},
      {0x9F, u'\u0178'},
      // The five undefined codes keep their own value.
      {0x81, 0x0081},
      {0x8D, 0x008D},
      {0x8F, 0x008F},
      {0x90, 0x0090},
      {0x9D, 0x009D},
      // Outside 0x80-0x9F the byte is the character.
      {0x00, 0x0000},
      {0x41, u'A'},
      {0x7F, 0x007F},
      {0xA0, 0x00A0},
      {0xE9, u'\u00E9'},
      {0xFF, u'\u00FF'},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Windows1252ToChar(c.byte), c.want) << int{c.byte};
    bool ok = false;
    EXPECT_EQ(CharToWindows1252(c.want, &ok), c.byte) << int{c.byte};
    EXPECT_TRUE(ok) << int{c.byte};
  }
}

TEST(TextTest, EveryByteRoundTrips) {
  for (int b = 0; b < 256; ++b) {
    bool ok = false;
    EXPECT_EQ(CharToWindows1252(Windows1252ToChar(static_cast<uint8_t>(b)), &ok), b) << b;
    EXPECT_TRUE(ok) << b;
  }
}

TEST(TextTest, CharactersWithoutAByteBecomeQuestionMarks) {
  const char16_t kCases[] = {0x0085, 0x0100, 0x0159, 0x2010, 0x4E2D, 0xD800, 0xFFFD};
  for (char16_t c : kCases) {
    bool ok = true;
    EXPECT_EQ(CharToWindows1252(c, &ok), '?') << int{c};
    EXPECT_FALSE(ok) << int{c};
  }
  EXPECT_EQ(CharToWindows1252(0x0100), '?');  // no ok pointer given
}

TEST(TextTest, KeyIsTheLowByte) {
  EXPECT_EQ(Key(u'\u0160'), 0x60);
  EXPECT_EQ(Key(u'a'), 'a');
  EXPECT_EQ(Key(u'\u20AC'), 0xAC);
}

TEST(TextTest, DecodesAndEncodesWindows1252) {
  const std::string bytes = "caf\xE9 \x80 \x8A\x9F";
  const Text text = DecodeWindows1252(bytes);
  EXPECT_EQ(text, u"caf\u00E9 \u20AC \u0160\u0178");
  EXPECT_EQ(EncodeWindows1252(text), bytes);
  EXPECT_EQ(EncodeWindows1252(u"a\u0100b"), "a?b");
  EXPECT_EQ(DecodeWindows1252(std::string("\0x", 2)), Text(u"\0x", 2));
  EXPECT_TRUE(DecodeWindows1252("").empty());
}

TEST(TextTest, Utf8RoundTrips) {
  const Text kCases[] = {
      u"",           u"plain ascii", u"caf\u00E9 \u20AC", u"\u4E2D\u6587", u"emoji \U0001F600 end",
      u"\U0010FFFF",
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Utf8ToText(TextToUtf8(c)), c) << TextToUtf8(c);
  }
  EXPECT_EQ(TextToUtf8(u"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(TextToUtf8(u"\u20AC"), "\xE2\x82\xAC");
  EXPECT_EQ(TextToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(TextTest, UnpairedSurrogatesBecomeReplacementCharacters) {
  const std::string kReplacement = "\xEF\xBF\xBD";
  EXPECT_EQ(TextToUtf8(Text(1, char16_t{0xD800})), kReplacement);
  EXPECT_EQ(TextToUtf8(Text(1, char16_t{0xDC00})), kReplacement);
  Text reversed = {0xDC00, 0xD800, u'x'};
  EXPECT_EQ(TextToUtf8(reversed), kReplacement + kReplacement + "x");
}

TEST(TextTest, InvalidUtf8BytesBecomeTheirWindows1252Characters) {
  struct Case {
    std::string in;
    Text want;
  };
  const Case kCases[] = {
      {"caf\xE9", u"caf\u00E9"},                          // a Latin-1 byte alone
      {"\x80", u"\u20AC"},                                // a stray continuation byte
      {"\xC0\xAF", u"\u00C0\u00AF"},                      // an overlong form
      {"\xED\xA0\x80", u"\u00ED\u00A0\u20AC"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"},  // past U+10FFFF
      {"\xE2\x82", u"\u00E2\u201A"},                      // a truncated sequence
      {"a\xC3", u"a\u00C3"},                              // truncated at the end
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Utf8ToText(c.in), c.want) << c.in;
  }
}

TEST(TextTest, TMakesTextFromUtf8) { EXPECT_EQ(T("Word \xC3\xA9"), u"Word \u00E9"); }

}  // namespace
}  // namespace vorn
