#include "util/text.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vorn {
namespace {

// The characters of the bytes are pinned by the decoding tests and the
// end-to-end comparisons; here each byte comes back from its character.
TEST(TextTest, EveryByteComesBackFromItsCharacter) {
  for (int b = 0; b < 256; ++b) {
    bool ok = false;
    EXPECT_EQ(CharToWindows1252(Windows1252ToChar(static_cast<uint8_t>(b)), &ok), b) << b;
    EXPECT_TRUE(ok) << b;
  }
  // The five codes that Windows-1252 leaves undefined keep their own value.
  for (uint8_t b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(Windows1252ToChar(b), b);
}

TEST(TextTest, CharactersWithoutAByteBecomeQuestionMarks) {
  for (char16_t c : {0x0085, 0x0100, 0x0159, 0x2010, 0x4E2D, 0xD800, 0xFFFD}) {
    bool ok = true;
    EXPECT_EQ(CharToWindows1252(c, &ok), '?') << int{c};
    EXPECT_FALSE(ok) << int{c};
  }
  EXPECT_EQ(CharToWindows1252(0x0100), '?');  // no ok pointer given
  EXPECT_EQ(EncodeWindows1252(u"a\u0100b"), "a?b");
  EXPECT_EQ(Key(u'\u20AC'), 0xAC);  // the sort key is the low byte
}

TEST(TextTest, DecodesAndEncodesWindows1252) {
  const std::string bytes = "caf\xE9 \x80 \x8A\x9F";
  const Text text = DecodeWindows1252(bytes);
  EXPECT_EQ(text, u"caf\u00E9 \u20AC \u0160\u0178");
  EXPECT_EQ(EncodeWindows1252(text), bytes);
  EXPECT_EQ(DecodeWindows1252(std::string("\0x", 2)), Text(u"\0x", 2));
  std::string appended = "x";
  AppendWindows1252(text, &appended);
  EXPECT_EQ(appended, "x" + bytes);
}

TEST(TextTest, OrdinalLessOrdersBytesAsTheCodesOfTheirCharacters) {
  // Pairs of byte strings of every length up to 20, drawn from a few bytes
  // on either side of the places where byte order and character order part,
  // compared as their texts compare.
  const std::string alphabet = "a\x7F\x80\x81\x8A\x9D\x9F\xA0\xFE\xFF";
  std::mt19937 random(3);
  auto draw = [&](size_t n) {
    std::string s(n, ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 20000; ++round) {
    std::string a = draw(random() % 21);
    // Often the same start, so that the difference lies deep in the string.
    std::string b = random() % 2 ? a.substr(0, random() % (a.size() + 1)) + draw(random() % 12)
                                 : draw(random() % 21);
    const Text ta = DecodeWindows1252(a);
    const Text tb = DecodeWindows1252(b);
    ASSERT_EQ(OrdinalLess(a, b), ta < tb) << TextToUtf8(ta) << " / " << TextToUtf8(tb);
    ASSERT_EQ(OrdinalLess(b, a), tb < ta) << TextToUtf8(ta) << " / " << TextToUtf8(tb);
  }
}

TEST(TextTest, Utf8RoundTripsAndUnpairedSurrogatesBecomeReplacementCharacters) {
  for (const Text& c : {Text(u"plain ascii"), Text(u"caf\u00E9 \u20AC"),
                        Text(u"emoji \U0001F600 end"), Text(u"\U0010FFFF")}) {
    EXPECT_EQ(Utf8ToText(TextToUtf8(c)), c) << TextToUtf8(c);
  }
  EXPECT_EQ(TextToUtf8(u"\u00E9\u20AC\U0001F600"), "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  const std::string kReplacement = "\xEF\xBF\xBD";
  EXPECT_EQ(TextToUtf8(Text(1, char16_t{0xD800})), kReplacement);
  const Text reversed = {0xDC00, 0xD800, u'x'};
  EXPECT_EQ(TextToUtf8(reversed), kReplacement + kReplacement + "x");
}

TEST(TextTest, InvalidUtf8BytesBecomeTheirWindows1252Characters) {
  struct Case {
    std::string in;
    Text want;
  };
  const Case kCases[] = {{"caf\xE9", u"caf\u00E9"},                // a Latin-1 byte alone
                         {"\x80", u"\u20AC"},                      // a stray continuation byte
                         {"\xC0\xAF", u"\u00C0\u00AF"},            // an overlong form
                         {"\xED\xA0\x80", u"\u00ED\u00A0\u20AC"},  // an encoded surrogate
                         {"\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"},  // past U+10FFFF
                         {"\xE2\x82", u"\u00E2\u201A"},                      // a truncated sequence
                         {"a\xC3", u"a\u00C3"}};                             // truncated at the end
  for (const auto& c : kCases) EXPECT_EQ(Utf8ToText(c.in), c.want) << c.in;
}

}  // namespace
}  // namespace vorn
