#include "words/comment_markers.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "words/scanner.h"

namespace vorn {
namespace {

using Words = std::vector<std::string>;

class Collect : public ScanSink {
 public:
  bool OnWord(BytesView word) override {
    words.emplace_back(word);
    return false;
  }
  bool Yield() override { return false; }
  Words words;
};

TEST(CommentMarkersTest, MarkersOfEachType) {
  const CommentMarkers c = CommentMarkers::ForType("C");
  ASSERT_EQ(c.pairs().size(), 2u);
  EXPECT_EQ(c.pairs()[0].start, "/*");
  EXPECT_EQ(c.pairs()[0].end, "*/");
  EXPECT_EQ(c.pairs()[1].start, "//");
  EXPECT_EQ(c.pairs()[1].end, "");
  EXPECT_TRUE(CommentMarkers::ForType("").empty());
  EXPECT_TRUE(CommentMarkers::ForType("c").empty());
}

// The C pairs and a pair of letters, which match in either case.
CommentMarkers TestMarkers() {
  CommentMarkers m = CommentMarkers::ForType("C");
  m.Add("Qx", "xQ");
  return m;
}

TEST(CommentMarkersTest, FindsTheStartMarkerAtAPosition) {
  const CommentMarkers m = TestMarkers();
  struct Case {
    std::string block;
    size_t pos;
    int want;
  } const kCases[] = {
      {"a /* b ", 2, 0}, {"a // b ", 2, 1}, {"a /* b ", 1, -1}, {"a / * ", 2, -1}, {"qx ", 0, 2},
      {"QX ", 0, 2},     {"qXa ", 0, 2},    {"/", 0, -1},       {"ab/", 2, -1},    {"ab", 5, -1},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(m.FindCommentStart(c.block, c.pos), c.want) << c.block << " at " << c.pos;
  }
}

TEST(CommentMarkersTest, SkipsToTheEndOfAComment) {
  const CommentMarkers m = TestMarkers();
  struct Case {
    std::string block;
    int open;
    size_t pos;
    bool block_ends;
    int want_open;
    size_t want_pos;
  } const kCases[] = {
      {"/* a */ b ", 0, 0, true, -1, 7},
      {"/*/ b ", 0, 0, true, -1, 3},  // the end shares the start's "*"
      {"/* a ", 0, 0, true, 0, 5},    // open into the next block
      {"a */ b ", 0, 0, true, -1, 4},
      {"// a */ ", 1, 0, true, -1, 8},
      {"x qx a XQ b ", 2, 2, true, -1, 9},
      {"qx a qXQ ", 2, 0, true, -1, 8},
      // A piece of a long line: "*/" may be cut in two, "//" runs on.
      {"/* a *", 0, 0, false, 0, 5},
      {"/", 0, 0, false, 0, 0},
      {"// a ", 1, 0, false, 1, 5},
  };
  for (const Case& c : kCases) {
    size_t pos = c.pos;
    EXPECT_EQ(m.SkipComment(c.block, c.open, &pos, c.block_ends), c.want_open) << c.block;
    EXPECT_EQ(pos, c.want_pos) << c.block;
  }
}

// The words of lines scanned one after another, each with its blank.
Words ScanLines(const std::vector<std::string>& lines, std::u16string_view extra = u"") {
  Scanner scanner;
  scanner.Configure(extra, false, NormaliseOptions());
  scanner.SetCommentMarkers(CommentMarkers::ForType("C"));
  Collect sink;
  for (const std::string& line : lines) {
    Bytes block = line + " ";
    scanner.ScanTextBlock(&block, &sink);
  }
  return sink.words;
}

TEST(CommentMarkersTest, TheScannerPassesOverComments) {
  struct Case {
    std::vector<std::string> lines;
    std::u16string extra;
    Words words;
  } const kCases[] = {
      {{"alpha /* beta */ gamma"}, u"", {"alpha", "gamma"}},
      {{"alpha/*beta*/gamma"}, u"", {"alpha", "gamma"}},
      {{"ant /* bee */ /* cat */ dog /**/eel"}, u"", {"ant", "dog", "eel"}},
      {{"/*/ after"}, u"", {"after"}},
      {{"stray */ close"}, u"", {"stray", "close"}},
      // Across lines, an empty one among them.
      {{"one /* two", "three", "", "four */ five"}, u"", {"one", "five"}},
      {{"ant /* bee */", "cat"}, u"", {"ant", "cat"}},
      {{"one // two /* three", "four"}, u"", {"one", "four"}},
      {{"// all of it", "next"}, u"", {"next"}},
      // Never closed: the rest of the file goes uncounted.
      {{"one /* two", "three"}, u"", {"one"}},
      // A marker inside a word is part of the word; one where a word could
      // begin is a marker even when "/" is a word character.
      {{"ant/*bee*/cat"}, u"/", {"ant/", "bee", "/cat"}},
      {{"ant /*bee*/ cat"}, u"/", {"ant", "cat"}},
  };
  for (const Case& c : kCases) EXPECT_EQ(ScanLines(c.lines, c.extra), c.words) << c.lines[0];
}

TEST(CommentMarkersTest, ACommentLeftOpenEndsWithTheFileOrTheMarkers) {
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  scanner.SetCommentMarkers(CommentMarkers::ForType("C"));
  Collect sink;
  Bytes first = "ant /* bee ";
  scanner.ScanTextBlock(&first, &sink);
  EXPECT_TRUE(scanner.InComment());
  scanner.ResetComments();
  Bytes second = "cat /* dog ";
  scanner.ScanTextBlock(&second, &sink);
  EXPECT_TRUE(scanner.InComment());
  scanner.Configure(u"", false, NormaliseOptions());  // no markers any more
  EXPECT_FALSE(scanner.InComment());
  Bytes third = "eel /* fox ";
  scanner.ScanTextBlock(&third, &sink);
  EXPECT_EQ(sink.words, (Words{"ant", "cat", "eel", "fox"}));
}

// Scans one line whole and in pieces cut at the given places.
Words ScanLineInPieces(const Bytes& text, const std::vector<size_t>& cuts) {
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  scanner.SetCommentMarkers(CommentMarkers::ForType("C"));
  Collect sink;
  scanner.BeginLine();
  size_t from = 0;
  for (size_t cut : cuts) {
    scanner.ScanPiece(BytesView(text).substr(from, cut - from), false, &sink,
                      Scanner::BlockHints());
    from = cut;
  }
  Bytes rest = text.substr(from) + " ";
  scanner.ScanPiece(rest, true, &sink, Scanner::BlockHints());
  EXPECT_FALSE(scanner.InComment());
  return sink.words;
}

TEST(CommentMarkersTest, ALongLineInPiecesHasTheCommentsOfTheWholeLine) {
  const std::string kUnits[] = {"alpha ",    "/* c */ ", "be/*ta*/ga ", "x/**/y ",
                                "/*/ z */ ", "wo*/rd ",  "*/ ",         "de/ "};
  Bytes text;
  size_t long_end = 0;
  for (int i = 0; text.size() < 300000; ++i) {
    text += kUnits[(i * 7 + i / 13) % std::size(kUnits)];
    // A comment longer than what a piece keeps back.
    if (i == 20000) {
      text += "/* " + std::string(Scanner::kLookahead + 5000, 'q') + " ";
      long_end = text.size();
      text += "*/ after ";
    }
  }
  // A comment to the end of the line, longer than a piece keeps back too.
  const size_t line_comment = text.size();
  text += "tail // ";
  while (text.size() < line_comment + 2 * Scanner::kLookahead) text += "more */ words ";
  const Words whole = ScanLines({text});
  ASSERT_GT(whole.size(), 1000u);
  EXPECT_EQ(whole.back(), "tail");
  const std::vector<std::vector<size_t>> kCuts = {
      {1},
      {70000, 140003, 210001},
      {Scanner::kLookahead, 2 * Scanner::kLookahead + 1, line_comment + 3},
      {long_end + 1},  // between the "*" and the "/" of a long comment's end
      {line_comment + 20, line_comment + Scanner::kLookahead + 10, text.size() - 5},
  };
  for (const auto& cuts : kCuts) EXPECT_EQ(ScanLineInPieces(text, cuts), whole) << cuts.front();
  // Every place around a "/*" and a "*/".
  const size_t open = text.find("/* c */", 150000);
  for (size_t at = open - 3; at < open + 10; ++at) {
    EXPECT_EQ(ScanLineInPieces(text, {at}), whole) << at;
  }
}

}  // namespace
}  // namespace vorn
