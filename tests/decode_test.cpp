#include "input/decode.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "util/text.h"

namespace vorn {
namespace {

Text Decode(std::string_view bytes) {
  Text out;
  DecodeUtf8Line(bytes, &out);
  return out;
}

// Engine text as UTF-8, so that failures print readably.
std::string Shown(std::string_view bytes) { return TextToUtf8(Decode(bytes)); }

struct Case {
  const char* in;
  const char* want;  // UTF-8 of the expected engine text
};

TEST(DecodeTest, CharactersAreFoldedIntoWindows1252) {
  const Case kCases[] = {// Punctuation folds to plain forms.
                         {"\u2010a\u2011b\u2012c\u2013d", "-a-b-c-d"},
                         {"one\u2014two", "one -- two"},
                         {"a\u2015b\u2016c", "a--b|c"},
                         {"a\u2017b", "a\u2030b"},  // the character of Windows-1252 code 137
                         {"\u2018it\u2019s\u201A\u201B", "'it's''"},
                         {"\u201Cq\u201D\u201E\u201F", "\"q\"\"\""},
                         {"\u2022item", " . item"},
                         {"wait\u2026", "wait..."},
                         {"\u2039a\u203A", "<a>"},
                         // The rest of the range is removed, also characters Windows-1252 has.
                         {"a\u2020b\u2021c\u2030d\u2032e\u203Fz", "abcdez"},
                         // Windows-1252 characters stay; C1 controls are removed.
                         {"\u0160\u0153\u0178\u20AC\u017D\u0192\u02C6\u02DC\u2122",
                          "\u0160\u0153\u0178\u20AC\u017D\u0192\u02C6\u02DC\u2122"},
                         {"caf\u00E9 \u00DF\u00FF\u00A0", "caf\u00E9 \u00DF\u00FF\u00A0"},
                         {"a\u0080b\u009Fc", "abc"},
                         // Latin letters become their base letters.
                         {"\u0159\u0158\u0151\u015F\u0142\u0141\u0111\u0131\u010D", "rRoslLdic"},
                         {"\u0133\u0132", "ijIJ"},
                         {"\u01C5", "Dz"},
                         {"\u1EA1\u1EF9", "ay"},
                         {"\u1E9E", "SS"},
                         // Other characters become spaces.
                         {"a\u4E2D\u6587b", "a  b"},     // CJK
                         {"\u041C\u0438\u03B1", "   "},  // Cyrillic and Greek
                         {"x\xF0\x9F\x98\x80y", "x y"},  // emoji
                         {"\uFEFFtext", " text"},        // byte-order mark
                         {"\u01C0", " "},                // a Latin click letter has no base letter
                                                         // Combining accents join their letter.
                         {"re\u0301sume\u0301", "r\u00E9sum\u00E9"},
                         {"S\u030Ckoda", "\u0160koda"},
                         {"r\u030C", "r"},   // no Windows-1252 character: the accent is dropped
                         {"\u0301x", "x"}};  // nothing to join at the start
  for (const auto& c : kCases) EXPECT_EQ(Shown(c.in), c.want) << c.in;
}

TEST(DecodeTest, InvalidBytesStayAsWindows1252) {
  struct ByteCase {
    std::string in;
    Text want;
  };
  const ByteCase kCases[] = {
      {"a\x80z", u"a\u20ACz"},          // lone continuation byte
      {"\xC3(", u"\u00C3("},            // truncated two-byte sequence
      {"x\xE2\x80", u"x\u00E2\u20AC"},  // truncated at the end of the line
      {"\xE2\x80"
       "A",
       u"\u00E2\u20ACA"},                                 // truncated inside the line
      {"\xC0\xAF", u"\u00C0\u00AF"},                      // overlong "/"
      {"\xE0\x80\xAF", u"\u00E0\u20AC\u00AF"},            // overlong three-byte form
      {"\xED\xA0\x80", u"\u00ED\u00A0\u20AC"},            // encoded surrogate
      {"\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"},  // above U+10FFFF
      {"\xF5\x81", u"\u00F5\u0081"},                      // never a lead byte
      {"\xC2"
       "A\xC3\xA9",
       u"\u00C2A\u00E9"},  // 194, 65 stays; the rest is decoded
      {"\x8A\x9A", u"\u0160\u0161"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Decode(c.in), c.want) << c.in;
}

TEST(DecodeTest, AppendsAndFoldsCodePointsOfEveryPlane) {
  Text out = u"ab";
  DecodeUtf8Line("c\u2026", &out);
  EXPECT_EQ(out, u"abc...");
  out.clear();
  for (char32_t c : {U'A', U'\x85', U'\xE9', U'\u0159', U'\xFFFD', U'\U0001F600', U'\U0010FFFF'}) {
    FoldCodePoint(c, &out);
  }
  FoldCodePoint(0xD800, &out);
  EXPECT_EQ(out, u"A\u00E9r    ");
}

TEST(DecodeTest, IsValidUtf8) {
  for (const char* s : {"", "plain", "caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x98\x80"}) {
    EXPECT_TRUE(IsValidUtf8(s)) << s;
  }
  for (const char* s : {"caf\xE9", "\xC3", "\xC0\x80", "\xED\xBF\xBF", "\xF4\x90\x80\x80"}) {
    EXPECT_FALSE(IsValidUtf8(s)) << s;
  }
}

TEST(DecodeTest, ClipboardBytesAreUtf8WhenValidElseWindows1252) {
  EXPECT_EQ(DecodeClipboardBytes("\xEF\xBB\xBF\xE2\x80\x9Cquoted\xE2\x80\x9D"), u"\"quoted\"");
  // "Ã©" in Windows-1252 is valid UTF-8 on its own; the invalid byte \xE9
  // elsewhere makes the whole text Windows-1252.
  EXPECT_EQ(DecodeClipboardBytes("\xC3\xA9 caf\xE9 \x93x\x94"),
            u"\u00C3\u00A9 caf\u00E9 \u201Cx\u201D");
  EXPECT_EQ(DecodeClipboardBytes(""), u"");
}

TEST(DecodeTest, LongAsciiRunsKeepTheCharactersBetweenThem) {
  // ASCII runs are copied in one go; what stands between them is still
  // decoded, and a byte that begins no sequence stays a Windows-1252 byte.
  const std::string bytes =
      std::string(5000, 'a') + "\xC3\xA9" + std::string(4096, 'b') + "\x93" + std::string(3, 'c');
  const Text want = Text(5000, u'a') + u"\u00E9" + Text(4096, u'b') + u"\u201C" + u"ccc";
  EXPECT_EQ(Decode(bytes), want);
}

TEST(DecodeTest, DirectWindows1252DecodingGivesTheBytesOfTheDecodedText) {
  // Fragments whose folding depends on what stands before them (combining
  // marks after ASCII, after a decoded letter, after an invalid byte, at the
  // start), punctuation that folds to several characters, invalid and cut
  // sequences, long ASCII runs.
  const std::vector<std::string> kFragments = {"e",
                                               "\xCC\x81",
                                               "\xC3\xA9",
                                               "S",
                                               "\xCC\x8C",
                                               "\xE2\x80\x94",
                                               "\xE2\x80\x93",
                                               "\xC2\xA0",
                                               "\xC2\x85",
                                               "\x80",
                                               "\xFF",
                                               "\xE2\x80",
                                               "\xF0\x9F\x98\x80",
                                               "\xC5\x99",
                                               " ",
                                               "\t",
                                               "-",
                                               "<",
                                               "abcdefghijklmnop",
                                               "\xC3",
                                               "\x8A"};
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    std::string line;
    const int n = static_cast<int>(rng() % 12);
    for (int i = 0; i < n; ++i) line += kFragments[rng() % kFragments.size()];
    Bytes direct = "kept";
    DecodeUtf8LineTo1252(line, &direct);
    EXPECT_EQ(direct, "kept" + EncodeWindows1252(Decode(line))) << round;
  }
}

}  // namespace
}  // namespace vorn
