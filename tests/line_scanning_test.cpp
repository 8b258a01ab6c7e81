// LineScanner: short lines scanned together as one block hand the sink the
// same words, in the same order, as the lines scanned one by one.

#include "counting/line_scanning.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "words/comment_markers.h"

namespace vorn {
namespace {

// Collects the words; line ends mean nothing to it.
class Collector final : public LineScanner::Sink {
 public:
  bool OnWord(BytesView word) override {
    words.emplace_back(word);
    return false;
  }
  bool Yield() override { return false; }
  void OnPiece(bool) override {}
  std::vector<std::string> words;
};

std::vector<std::string> Scan(const std::vector<std::string>& lines, bool batching,
                              const CommentMarkers& markers = CommentMarkers(),
                              bool decode_utf8 = false, TextView allowed = u"") {
  Scanner scanner;
  scanner.Configure(allowed, false, NormaliseOptions());
  scanner.SetCommentMarkers(markers);
  LineScanner scanning(&scanner);
  scanning.SetBatching(batching);
  Collector sink;
  for (const std::string& line : lines) scanning.ScanPieceOfLine(line, true, decode_utf8, &sink);
  scanning.Flush(&sink);
  return sink.words;
}

TEST(LineScanningTest, LinesScannedTogetherGiveTheWordsOfLinesScannedAlone) {
  static const std::vector<std::string> kPieces = {
      "the",     "Cat",  "dog's", "co-op", "a--b", "<b>", "x<y", "z>",   "e.g.", "(note)",
      "caf\xE9", "1999", "'tis",  "word.", "\t",   "\b",  "-",   "<!--", "-->",  "\xA0",
      "\x01",    "\r",   "\n",    "ab\bc", "\x0c", " ",   "''",  "+",    "x+y",  "it's"};
  std::mt19937 rng(42);
  // UTF-8 lines are judged by their decoded text: a dash may decode to a
  // hyphen, a no-break space to a blank.
  static const std::vector<std::string> kUtf8 = {
      "\xC3\xA9t\xC3\xA9", "e\xCC\x81", "\xE2\x80\x94",  "\xE2\x80\x93", "\xC2\xA0",
      "\xC2\x85",          "\xFF",      "\xE2\x80\x9Cq", "\xC5\x93uvre"};
  for (int round = 0; round < 400; ++round) {
    const bool utf8 = round % 2 == 1;
    std::vector<std::string> lines;
    const int n = static_cast<int>(rng() % 40);
    for (int i = 0; i < n; ++i) {
      std::string line;
      const int pieces = static_cast<int>(rng() % 12);
      for (int k = 0; k < pieces; ++k) {
        line +=
            utf8 && rng() % 3 == 0 ? kUtf8[rng() % kUtf8.size()] : kPieces[rng() % kPieces.size()];
        if (rng() % 3 != 0) line += ' ';
      }
      lines.push_back(line);
    }
    const TextView allowed = round % 4 < 2 ? u"" : u"-+";
    EXPECT_EQ(Scan(lines, true, CommentMarkers(), utf8, allowed),
              Scan(lines, false, CommentMarkers(), utf8, allowed))
        << "round " << round;
  }
  // A horizontal bar decodes to a double hyphen, which parts the words
  // even where a hyphen is a word character.
  const std::vector<std::string> bar = {"one", "ham\xE2\x80\x95jug", "two"};
  EXPECT_EQ(Scan(bar, true, CommentMarkers(), true, u"-"),
            (std::vector<std::string>{"one", "ham", "jug", "two"}));
  // A line longer than a block is scanned alone, between blocks.
  const std::vector<std::string> lines = {"one two", std::string(70000, 'w') + " three", "four"};
  EXPECT_EQ(Scan(lines, true), Scan(lines, false));
}

TEST(LineScanningTest, CommentMarkersKeepEveryLineApart) {
  const CommentMarkers c = MarkersForExtension("c", true).markers;
  const std::vector<std::string> lines = {"int a; /* open", "still comment */ after", "// rest",
                                          "next line"};
  EXPECT_EQ(Scan(lines, true, c), Scan(lines, false, c));
  EXPECT_EQ(Scan(lines, true, c), (std::vector<std::string>{"int", "after", "next", "line"}));
}

}  // namespace
}  // namespace vorn
