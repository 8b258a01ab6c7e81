#include "input/line_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "input/decode.h"
#include "support/test_files.h"
#include "util/text.h"

namespace vorn {
namespace {

constexpr size_t kBlock = size_t{1} << 20;  // the reader's block size

// The lines of the file; the bytes read by the end go to *bytes_read.
std::vector<std::string> ReadAll(const std::string& path, LineEnding ending,
                                 int64_t* bytes_read = nullptr) {
  LineReader reader;
  std::string error;
  EXPECT_TRUE(reader.Open(path, ending, &error)) << error;
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.Next(&line)) lines.emplace_back(line);
  EXPECT_EQ(reader.error(), "");
  if (bytes_read != nullptr) *bytes_read = reader.BytesRead();
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReaderTest, LineEnds) {
  TempDir dir;
  using Case = std::tuple<LineEnding, std::string, Lines>;
  const LineEnding kCrLf = LineEnding::kCrLfOrCr;
  const LineEnding kLf = LineEnding::kLfOnly;
  const std::string a(kBlock - 1, 'a');
  const Case kCases[] = {// CR LF or a lone CR end a line; a lone LF does not.
                         {kCrLf, "", {}},
                         {kCrLf, "one", {"one"}},
                         {kCrLf, "one\r\ntwo\r\n", {"one", "two"}},
                         {kCrLf, "one\rtwo\r", {"one", "two"}},
                         {kCrLf, "one\ntwo\r\nthree", {"one\ntwo", "three"}},
                         {kCrLf, "a\r\n\r\n\rb", {"a", "", "", "b"}},
                         {kCrLf, "a\n\r\n", {"a\n"}},
                         // The LF reader ends lines at every kind of end.
                         {kLf, "", {}},
                         {kLf, "one\ntwo", {"one", "two"}},
                         {kLf, "a\n\nb", {"a", "", "b"}},
                         {kLf, "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
                         {kLf, "\n", {""}},
                         {kLf, "x\n\r\n", {"x", ""}},
                         // A CR LF split where a block ends (the CR its last
                         // byte) is one line end; a lone CR there ends a line.
                         {kCrLf, a + "\r\nnext\r\n", {a, "next"}},
                         {kLf, a + "\r\nnext\r\n", {a, "next"}},
                         {kCrLf, a + "\rc", {a, "c"}}};
  for (const auto& [ending, in, want] : kCases) {
    EXPECT_EQ(ReadAll(dir.Write("f.txt", in), ending), want) << in.substr(0, 20);
  }
}

// Reads with NextLines, and with Next where it hands nothing over, and
// splits what NextLines gives at its line ends as Next ends lines.
Lines ReadInBlocks(const std::string& path, LineEnding ending, bool* whole_blocks) {
  LineReader reader;
  std::string error;
  EXPECT_TRUE(reader.Open(path, ending, &error)) << error;
  reader.SetPieceLimit(kBlock, false);
  Lines lines;
  std::string piece;
  std::string_view got;
  *whole_blocks = true;
  while (true) {
    if (reader.NextLines(&got)) {
      for (size_t at = 0; at < got.size();) {
        size_t end = at;
        while (end < got.size() && got[end] != '\r' &&
               !(ending == LineEnding::kLfOnly && got[end] == '\n')) {
          ++end;
        }
        // A block ends with a line end, but for the last line of the file.
        if (end == got.size() &&
            reader.BytesRead() != static_cast<int64_t>(std::filesystem::file_size(path))) {
          *whole_blocks = false;
        }
        lines.emplace_back(got.substr(at, end - at));
        at = end + 1;
        if (end + 1 < got.size() && got[end] == '\r' && got[end + 1] == '\n') ++at;
      }
      continue;
    }
    if (!reader.Next(&got)) break;
    piece += got;
    if (!reader.line_continues()) {
      lines.push_back(piece);
      piece.clear();
    }
  }
  EXPECT_EQ(reader.error(), "");
  return lines;
}

TEST(LineReaderTest, WholeLinesInBlocksAreTheLines) {
  TempDir dir;
  const std::string line(kBlock / 3 + 1, 'x');
  const std::string cases[] = {
      "", "one", "one\r\ntwo\r\n", "a\n\r\n\rb", "x\n\r\n",
      // A CR LF split where a block ends, and a CR that ends a block.
      std::string(kBlock - 1, 'a') + "\r\nnext\r\n", std::string(kBlock - 1, 'a') + "\rnext",
      std::string(kBlock, 'a') + "\rnext",
      // Lines longer than a block, in pieces, among short ones.
      "short\n" + std::string(3 * kBlock, 'l') + "\nafter\r\n" + line + "\n" + line + "\n" + line,
      line + "\r" + line + "\r\n" + line + "\n" + line};
  for (const std::string& text : cases) {
    const std::string path = dir.Write("f.txt", text);
    for (const LineEnding ending : {LineEnding::kLfOnly, LineEnding::kCrLfOrCr}) {
      bool whole_blocks = false;
      const Lines in_blocks = ReadInBlocks(path, ending, &whole_blocks);
      EXPECT_TRUE(whole_blocks) << text.size();
      Lines lines = ReadAll(path, ending);
      EXPECT_EQ(in_blocks, lines) << text.size();
    }
  }
  // The Unicode modes have no blocks of lines.
  LineReader reader;
  std::string error;
  ASSERT_TRUE(reader.Open(dir.Write("u.txt", "a\0\n\0"), LineEnding::kUtf16Le, &error));
  std::string_view got;
  EXPECT_FALSE(reader.NextLines(&got));
  EXPECT_TRUE(reader.Next(&got));
}

TEST(LineReaderTest, LinesLongerThanABlock) {
  TempDir dir;
  const std::string long_line(3 * kBlock + 17, 'x');
  for (LineEnding ending : {LineEnding::kCrLfOrCr, LineEnding::kLfOnly}) {
    const std::string end = ending == LineEnding::kLfOnly ? "\n" : "\r\n";
    const std::string text = "short" + end + long_line + end + long_line + end + "end";
    const std::string path = dir.Write("f.txt", text);
    int64_t bytes_read = 0;
    EXPECT_EQ(ReadAll(path, ending, &bytes_read), (Lines{"short", long_line, long_line, "end"}));
    EXPECT_EQ(bytes_read, static_cast<int64_t>(text.size()));
  }
}

// The code units of s in little- or big-endian byte order (a byte-order mark
// is written as U+FEFF in s).
template <typename Char>
std::string Units(std::basic_string_view<Char> s, bool le) {
  std::string out;
  for (Char u : s) {
    for (size_t k = 0; k < sizeof(Char); ++k) {
      out += static_cast<char>(static_cast<uint32_t>(u) >> (8 * (le ? k : sizeof(Char) - 1 - k)));
    }
  }
  return out;
}
std::string Le(std::u16string_view s) { return Units(s, true); }
std::string Be(std::u16string_view s) { return Units(s, false); }

TEST(LineReaderTest, UnicodeTranscodesAndEndsLinesAtAnyEnd) {
  TempDir dir;
  const std::u16string text = u"\uFEFFcaf\u00E9\r\nline\ntwo\rmusic \U0001D11E end\u2014";
  const Lines want = {"caf\u00E9", "line", "two", "music \U0001D11E end\u2014"};
  const std::u32string text32 = U"\uFEFF\u00C5ngstr\u00F6m\r\n\U0001F600\nlast";
  const Lines want32 = {"\u00C5ngstr\u00F6m", "\U0001F600", "last"};
  const char16_t unpaired[] = {0xFEFF, u'a', 0xD800, u'b', 0xDC00};
  const char32_t bad[] = {0xFEFF, U'a', 0x110000, 0xD800};
  using Case = std::tuple<const char*, LineEnding, std::string, Lines>;
  const Case kCases[] = {
      {"le.txt", LineEnding::kUtf16Le, Le(text), want},
      {"be.txt", LineEnding::kUtf16Be, Be(text), want},
      // Without a byte-order mark (the .xml rule); empty lines; only a mark.
      {"nb.xml", LineEnding::kUtf16Le, Le(u"<a/>\r\n"), {"<a/>"}},
      {"f.txt", LineEnding::kUtf16Le, Le(u"\uFEFF\r\n\r\nx\r\n"), {"", "", "x"}},
      {"e.txt", LineEnding::kUtf16Le, Le(u"\uFEFF"), {}},
      // Unpaired surrogates (high, then low) and an odd byte at the end.
      {"s.txt", LineEnding::kUtf16Le, Le({unpaired, 5}) + "x", {"a\uFFFDb\uFFFD\uFFFD"}},
      {"le32.txt", LineEnding::kUtf32Le, Units<char32_t>(text32, true), want32},
      {"be32.txt", LineEnding::kUtf32Be, Units<char32_t>(text32, false), want32},
      // Values that are not code points (0x110000, a surrogate) become U+FFFD.
      {"bad.txt", LineEnding::kUtf32Be, Units<char32_t>({bad, 4}, false), {"a\uFFFD\uFFFD"}},
  };
  for (const auto& [name, ending, bytes, lines] : kCases) {
    EXPECT_EQ(ReadAll(dir.Write(name, bytes), ending), lines) << name;
  }
}

TEST(LineReaderTest, Utf16SurrogatePairAndCrLfAcrossBlocks) {
  TempDir dir;
  // A surrogate pair and then a CR LF across the block boundary: the text
  // ends 2 bytes before the boundary.
  std::u16string text = u"\uFEFF" + std::u16string((kBlock - 2) / 2 - 1, u'z');
  const Lines lines =
      ReadAll(dir.Write("b.txt", Be(text + u"\U0001F600\r\nnext")), LineEnding::kUtf16Be);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 5), "z\U0001F600");
  EXPECT_EQ(lines[1], "next");
  // The CR in the last unit of the block.
  EXPECT_EQ(ReadAll(dir.Write("c.txt", Le(text + u"\r\nmore")), LineEnding::kUtf16Le).back(),
            "more");
}

TEST(LineReaderTest, OpenFailuresAndReopeningStartFresh) {
  TempDir dir;
  LineReader reader;
  std::string error;
  std::string_view line;
  ASSERT_TRUE(reader.Open(dir.Write("a.txt", "a1\na2\na3"), LineEnding::kLfOnly, &error));
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, "a1");
  EXPECT_FALSE(reader.Open(dir.File("missing.txt"), LineEnding::kCrLfOrCr, &error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(reader.Next(&line));
  EXPECT_FALSE(reader.Open(dir.path(), LineEnding::kCrLfOrCr, &error));
  EXPECT_EQ(error, "Is a directory");
  ASSERT_TRUE(reader.Open(dir.Write("a.txt", "a1\na2\na3"), LineEnding::kLfOnly, &error));
  ASSERT_TRUE(reader.Next(&line));
  ASSERT_TRUE(reader.Open(dir.Write("b.txt", "b1\nb2"), LineEnding::kLfOnly, &error));
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, "b1");
  ASSERT_TRUE(reader.Next(&line));
  EXPECT_EQ(line, "b2");
  EXPECT_FALSE(reader.Next(&line));
}

struct Piece {
  std::string text;
  bool continues;
};

std::vector<Piece> ReadPieces(const std::string& path, LineEnding ending, bool utf8) {
  LineReader reader;
  std::string error;
  EXPECT_TRUE(reader.Open(path, ending, &error)) << error;
  reader.SetPieceLimit(kBlock, utf8);
  std::vector<Piece> pieces;
  std::string_view piece;
  while (reader.Next(&piece)) pieces.push_back({std::string(piece), reader.line_continues()});
  EXPECT_EQ(reader.error(), "");
  return pieces;
}

// The lines that pieces make when joined.
Lines Join(const std::vector<Piece>& pieces) {
  Lines lines;
  bool open = false;
  for (const Piece& p : pieces) {
    if (open) {
      lines.back() += p.text;
    } else {
      lines.push_back(p.text);
    }
    open = p.continues;
  }
  return lines;
}

TEST(LineReaderTest, LongLinesComeInPiecesCutBeforeAWordCharacter) {
  TempDir dir;
  // UTF-8 words with accents, decomposed accents and CJK, on a line of
  // 5 MB between two short lines.
  const std::string kWords[] = {"caf\xC3\xA9 ", "e\xCC\x81t\xC3\xA9  ", "\xE4\xB8\xAD\xE6\x96\x87 ",
                                "plain\t", "x\x01y "};
  std::string line;
  for (int i = 0; line.size() < 5 * kBlock; ++i) line += kWords[i % std::size(kWords)];
  for (const LineEnding ending : {LineEnding::kCrLfOrCr, LineEnding::kLfOnly}) {
    const std::string path = dir.Write("long.txt", "first\n" + line + "\nlast\n");
    const std::vector<Piece> pieces = ReadPieces(path, ending, true);
    ASSERT_GT(pieces.size(), 5u);
    const Lines lines = Join(pieces);
    if (ending == LineEnding::kLfOnly) {
      EXPECT_EQ(lines, (Lines{"first", line, "last"}));
    } else {
      EXPECT_EQ(lines, (Lines{"first\n" + line + "\nlast\n"}));
    }
    for (size_t k = 0; k < pieces.size(); ++k) {
      const Piece& p = pieces[k];
      EXPECT_LE(p.text.size(), 2 * kBlock) << k;
      if (!p.continues) continue;
      EXPECT_GE(p.text.size(), kBlock / 2) << k;
      const std::string& next = pieces[k + 1].text;
      EXPECT_TRUE(IsUtf8CutPoint(next, 0)) << k;
      EXPECT_GT(static_cast<unsigned char>(next[0]), ' ') << k;
    }
  }
  // 8-bit text may be cut before any character above the blank.
  const std::string path = dir.Write("w.txt", std::string(3 * kBlock, '\xE9'));
  const std::vector<Piece> pieces = ReadPieces(path, LineEnding::kCrLfOrCr, false);
  EXPECT_GE(pieces.size(), 3u);
  EXPECT_EQ(Join(pieces), Lines{std::string(3 * kBlock, '\xE9')});
}

TEST(LineReaderTest, BlanksAndUnicodeLinesComeInPiecesToo) {
  TempDir dir;
  // A stretch of blanks is cut where it must be; a line with no place to
  // cut at all (combining marks only) comes whole.
  const std::string blanks = "a" + std::string(3 * kBlock, ' ') + "b";
  std::vector<Piece> pieces = ReadPieces(dir.Write("b.txt", blanks), LineEnding::kLfOnly, true);
  EXPECT_GE(pieces.size(), 3u);
  EXPECT_EQ(Join(pieces), Lines{blanks});
  std::string marks;
  while (marks.size() < 3 * kBlock) marks += "\xCC\x81";
  pieces = ReadPieces(dir.Write("m.txt", marks), LineEnding::kLfOnly, true);
  EXPECT_EQ(pieces.size(), 1u);
  EXPECT_EQ(Join(pieces), Lines{marks});

  std::u16string text;
  while (text.size() < 3 * kBlock) text += u"w\u00F6rd e\u0301 ";
  pieces = ReadPieces(dir.Write("u.txt", Le(u"\uFEFF" + text + u"\r\nend")), LineEnding::kUtf16Le,
                      false);
  ASSERT_GE(pieces.size(), 3u);
  std::string want;
  for (char16_t c : text) AppendUtf8(c, &want);
  EXPECT_EQ(Join(pieces), (Lines{want, "end"}));
  for (size_t k = 0; k + 1 < pieces.size(); ++k) {
    EXPECT_TRUE(!pieces[k].continues || IsUtf8CutPoint(pieces[k + 1].text, 0)) << k;
  }
}

TEST(LineReaderTest, BytesReadAlreadyGiveTheLinesOfTheFile) {
  TempDir dir;
  using Case = std::tuple<LineEnding, std::string>;
  const Case kCases[] = {
      {LineEnding::kCrLfOrCr, ""},
      {LineEnding::kCrLfOrCr, "one\ntwo\r\nthree\r"},
      {LineEnding::kCrLfOrCr, "a\r\n\r\n\rb"},
      {LineEnding::kLfOnly, "a\r\nb\rc\nd"},
      {LineEnding::kLfOnly, "x\n\r\n"},
      {LineEnding::kUtf16Le, Le(u"\uFEFFcaf\u00E9\r\nline\ntwo\r")},
      {LineEnding::kUtf16Be, Be(u"\uFEFF\r\n\r\nx") + "y"},
      {LineEnding::kUtf32Le, Units<char32_t>(U"\uFEFF\U0001F600\nlast", true)},
  };
  for (const auto& [ending, bytes] : kCases) {
    const Lines want = ReadAll(dir.Write("f.txt", bytes), ending);
    LineReader reader;
    // A reader that read a file before starts fresh.
    std::string error;
    ASSERT_TRUE(reader.Open(dir.Write("other.txt", "other\n"), LineEnding::kLfOnly, &error));
    reader.OpenBytes(bytes, ending);
    Lines got;
    std::string_view line;
    while (reader.Next(&line)) got.emplace_back(line);
    EXPECT_EQ(got, want) << bytes;
    EXPECT_EQ(reader.BytesRead(), static_cast<int64_t>(bytes.size())) << bytes;
    EXPECT_EQ(reader.error(), "");
    reader.Close();
    EXPECT_FALSE(reader.Next(&line));
  }
}

TEST(LineReaderTest, RewindGoesBackToALine) {
  TempDir dir;
  for (const LineEnding ending : {LineEnding::kLfOnly, LineEnding::kUtf16Be}) {
    const std::string bytes = ending == LineEnding::kLfOnly ? std::string("one\ntwo\nthree")
                                                            : Be(u"\uFEFFone\ntwo\nthree");
    LineReader reader;
    std::string error;
    ASSERT_TRUE(reader.Open(dir.Write("r.txt", bytes), ending, &error));
    std::string_view line;
    ASSERT_TRUE(reader.Next(&line));
    const int64_t second = reader.BytesRead();
    ASSERT_TRUE(reader.Next(&line));
    ASSERT_TRUE(reader.Next(&line));
    EXPECT_FALSE(reader.Next(&line));
    ASSERT_TRUE(reader.Rewind(second));
    ASSERT_TRUE(reader.Next(&line));
    EXPECT_EQ(line, "two");
    ASSERT_TRUE(reader.Rewind(0));
    ASSERT_TRUE(reader.Next(&line));
    EXPECT_EQ(line, "one");
  }
}

}  // namespace
}  // namespace vorn
