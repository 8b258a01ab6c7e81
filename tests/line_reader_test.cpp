#include "input/line_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace vorn {
namespace {

constexpr size_t kBlock = size_t{1} << 20;  // the reader's block size

std::vector<std::string> ReadAll(const std::string& path, LineEnding ending) {
  LineReader reader;
  std::string error;
  EXPECT_TRUE(reader.Open(path, ending, &error)) << error;
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(&line)) lines.emplace_back(line);
  EXPECT_EQ(reader.error(), "");
  return lines;
}

using Lines = std::vector<std::string>;

struct Case {
  std::string in;
  Lines want;
};

TEST(LineReaderTest, CrLfOrCrKeepsLoneLf) {
  TempDir dir;
  const Case kCases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\r\ntwo\r\n", {"one", "two"}},
      {"one\rtwo\r", {"one", "two"}},
      {"one\ntwo\r\nthree", {"one\ntwo", "three"}},
      {"a\r\n\r\n\rb", {"a", "", "", "b"}},
      {"\r\n", {""}},
      {"a\n\r\n", {"a\n"}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ReadAll(dir.Write("f.txt", c.in), LineEnding::kCrLfOrCr), c.want) << c.in;
  }
}

TEST(LineReaderTest, LfModeEndsLinesAtEveryKindOfEnd) {
  TempDir dir;
  const Case kCases[] = {
      {"", {}},
      {"one\ntwo\n", {"one", "two"}},
      {"one\ntwo", {"one", "two"}},
      {"a\n\nb", {"a", "", "b"}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"\n", {""}},
      {"x\n\r\n", {"x", ""}},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ReadAll(dir.Write("f.txt", c.in), LineEnding::kLfOnly), c.want) << c.in;
  }
}

TEST(LineReaderTest, CrLfSplitAcrossBlocksIsOneLineEnd) {
  TempDir dir;
  // The CR is the last byte of the first block, the LF the first of the next.
  std::string text(kBlock - 1, 'a');
  text += "\r\nnext\r\n";
  for (LineEnding ending : {LineEnding::kCrLfOrCr, LineEnding::kLfOnly}) {
    const Lines lines = ReadAll(dir.Write("f.txt", text), ending);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(kBlock - 1, 'a'));
    EXPECT_EQ(lines[1], "next");
  }
  // A lone CR at the block end followed by a line.
  std::string lone(kBlock - 1, 'b');
  lone += "\rc";
  EXPECT_EQ(ReadAll(dir.Write("g.txt", lone), LineEnding::kCrLfOrCr),
            (Lines{std::string(kBlock - 1, 'b'), "c"}));
}

TEST(LineReaderTest, LinesLongerThanABlock) {
  TempDir dir;
  const std::string long_line(3 * kBlock + 17, 'x');
  const std::string text = "short\r\n" + long_line + "\r\n" + long_line + "\r\nend";
  const Lines lines = ReadAll(dir.Write("f.txt", text), LineEnding::kCrLfOrCr);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "short");
  EXPECT_EQ(lines[1], long_line);
  EXPECT_EQ(lines[2], long_line);
  EXPECT_EQ(lines[3], "end");
}

TEST(LineReaderTest, HundredMegabyteLineReadsInSeconds) {
  TempDir dir;
  std::string text(100 * kBlock, 'w');
  text += "\nlast";
  const std::string path = dir.Write("big.txt", text);
  text.clear();
  const auto start = std::chrono::steady_clock::now();
  LineReader reader;
  std::string error;
  ASSERT_TRUE(reader.Open(path, LineEnding::kLfOnly, &error)) << error;
  std::string_view line;
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line.size(), 100 * kBlock);
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(reader.Next(&line));
  EXPECT_EQ(reader.BytesRead(), static_cast<int64_t>(100 * kBlock + 5));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(LineReaderTest, BytesReadFollowsTheLines) {
  TempDir dir;
  LineReader reader;
  std::string error;
  ASSERT_TRUE(reader.Open(dir.Write("f.txt", "ab\r\ncd\re"), LineEnding::kCrLfOrCr, &error));
  std::string_view line;
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(reader.BytesRead(), 4);
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(reader.BytesRead(), 7);
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(reader.BytesRead(), 8);
}

// UTF-16/UTF-32 encoders for the test data.
std::string Utf16(std::u16string_view s, bool le, bool bom) {
  std::string out;
  auto put = [&](char16_t u) {
    const char hi = static_cast<char>(u >> 8);
    const char lo = static_cast<char>(u & 0xFF);
    out += le ? std::string{lo, hi} : std::string{hi, lo};
  };
  if (bom) put(0xFEFF);
  for (char16_t u : s) put(u);
  return out;
}

std::string Utf32(std::u32string_view s, bool le, bool bom) {
  std::string out;
  auto put = [&](char32_t v) {
    char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                 static_cast<char>(v)};
    if (le) std::swap(b[0], b[3]), std::swap(b[1], b[2]);
    out.append(b, 4);
  };
  if (bom) put(0xFEFF);
  for (char32_t v : s) put(v);
  return out;
}

TEST(LineReaderTest, Utf16TranscodesAndEndsLinesAtAnyEnd) {
  TempDir dir;
  const std::u16string text = u"caf\u00E9\r\nline\ntwo\rmusic \U0001D11E end\u2014";
  const Lines want = {"caf\u00E9", "line", "two", "music \U0001D11E end\u2014"};
  EXPECT_EQ(ReadAll(dir.Write("le.txt", Utf16(text, true, true)), LineEnding::kUtf16Le), want);
  EXPECT_EQ(ReadAll(dir.Write("be.txt", Utf16(text, false, true)), LineEnding::kUtf16Be), want);
  // Without a byte-order mark (the .xml rule).
  EXPECT_EQ(ReadAll(dir.Write("nb.xml", Utf16(u"<a/>\r\n", true, false)), LineEnding::kUtf16Le),
            Lines{"<a/>"});
}

TEST(LineReaderTest, Utf16UnpairedSurrogatesAndOddByte) {
  TempDir dir;
  std::u16string text = u"a";
  text += char16_t{0xD800};  // high surrogate without its low half
  text += u"b";
  text += char16_t{0xDC00};                           // lone low surrogate
  std::string bytes = Utf16(text, true, true) + "x";  // and an odd byte at the end
  EXPECT_EQ(ReadAll(dir.Write("s.txt", bytes), LineEnding::kUtf16Le),
            Lines{"a\uFFFDb\uFFFD\uFFFD"});
}

TEST(LineReaderTest, Utf16SurrogatePairAndCrLfAcrossBlocks) {
  TempDir dir;
  // Place a surrogate pair and then a CR LF across the block boundary.
  std::u16string text((kBlock - 2) / 2 - 1, u'z');  // ends 2 bytes before the boundary
  text += u"\U0001F600\r\nnext";
  const std::string bytes = Utf16(text, false, true);
  const Lines lines = ReadAll(dir.Write("b.txt", bytes), LineEnding::kUtf16Be);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 5), "z\U0001F600");
  EXPECT_EQ(lines[1], "next");

  std::u16string text2((kBlock - 2) / 2 - 1, u'y');  // CR in the last unit of the block
  text2 += u"\r\nmore";
  const Lines lines2 = ReadAll(dir.Write("c.txt", Utf16(text2, true, true)), LineEnding::kUtf16Le);
  EXPECT_EQ(lines2.size(), 2u);
  EXPECT_EQ(lines2.back(), "more");
}

TEST(LineReaderTest, Utf32BothOrders) {
  TempDir dir;
  const std::u32string text = U"\u00C5ngstr\u00F6m\r\n\U0001F600\nlast";
  const Lines want = {"\u00C5ngstr\u00F6m", "\U0001F600", "last"};
  EXPECT_EQ(ReadAll(dir.Write("le.txt", Utf32(text, true, true)), LineEnding::kUtf32Le), want);
  EXPECT_EQ(ReadAll(dir.Write("be.txt", Utf32(text, false, true)), LineEnding::kUtf32Be), want);
  // Values that are not code points become U+FFFD.
  std::string bad = Utf32(U"a", false, true);
  bad += std::string("\x00\x11\x00\x00", 4);  // 0x110000
  bad += std::string("\x00\x00\xD8\x00", 4);  // a surrogate
  EXPECT_EQ(ReadAll(dir.Write("bad.txt", bad), LineEnding::kUtf32Be), Lines{"a\uFFFD\uFFFD"});
}

TEST(LineReaderTest, UnicodeEmptyLinesAndOnlyAMark) {
  TempDir dir;
  EXPECT_EQ(ReadAll(dir.Write("e.txt", Utf16(u"", true, true)), LineEnding::kUtf16Le), Lines{});
  EXPECT_EQ(ReadAll(dir.Write("f.txt", Utf16(u"\r\n\r\nx\r\n", true, true)), LineEnding::kUtf16Le),
            (Lines{"", "", "x"}));
}

TEST(LineReaderTest, OpenFailures) {
  TempDir dir;
  LineReader reader;
  std::string error;
  EXPECT_FALSE(reader.Open(dir.File("missing.txt"), LineEnding::kCrLfOrCr, &error));
  EXPECT_EQ(error, "No such file or directory");
  error.clear();
  EXPECT_FALSE(reader.Open(dir.path(), LineEnding::kCrLfOrCr, &error));
  EXPECT_EQ(error, "Is a directory");
  std::string_view line;
  EXPECT_FALSE(reader.Next(&line));
}

TEST(LineReaderTest, ReopeningStartsFresh) {
  TempDir dir;
  LineReader reader;
  std::string error;
  std::string_view line;
  ASSERT_TRUE(reader.Open(dir.Write("a.txt", "a1\na2\na3"), LineEnding::kLfOnly, &error));
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, "a1");
  ASSERT_TRUE(reader.Open(dir.Write("b.txt", "b1\nb2"), LineEnding::kLfOnly, &error));
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, "b1");
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, "b2");
  EXPECT_FALSE(reader.Next(&line));
}

}  // namespace
}  // namespace vorn
