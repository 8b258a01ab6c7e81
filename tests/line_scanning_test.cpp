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
                              const CommentMarkers& markers = CommentMarkers()) {
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  scanner.SetCommentMarkers(markers);
  LineScanner scanning(&scanner);
  scanning.SetBatching(batching);
  Collector sink;
  for (const std::string& line : lines) scanning.ScanPieceOfLine(line, true, false, &sink);
  scanning.Flush(&sink);
  return sink.words;
}

TEST(LineScanningTest, LinesScannedTogetherGiveTheWordsOfLinesScannedAlone) {
  static const std::vector<std::string> kPieces = {
      "the",     "Cat",  "dog's", "co-op", "a--b", "<b>", "x<y", "z>",   "e.g.", "(note)",
      "caf\xE9", "1999", "'tis",  "word.", "\t",   "\b",  "-",   "<!--", "-->",  "\xA0",
      "\x01",    "\r",   "\n",    "ab\bc", "\x0c", " ",   "''",  "+",    "x+y",  "it's"};
  std::mt19937 rng(42);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> lines;
    const int n = static_cast<int>(rng() % 40);
    for (int i = 0; i < n; ++i) {
      std::string line;
      const int pieces = static_cast<int>(rng() % 12);
      for (int k = 0; k < pieces; ++k) {
        line += kPieces[rng() % kPieces.size()];
        if (rng() % 3 != 0) line += ' ';
      }
      lines.push_back(line);
    }
    EXPECT_EQ(Scan(lines, true), Scan(lines, false)) << "round " << round;
  }
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
