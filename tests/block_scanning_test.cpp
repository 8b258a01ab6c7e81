// Reading a file a block at a time counts the same words, in the same order
// of first occurrence, as reading it line by line, whatever the text, the
// word characters, the case rule and the encoding.

#include "counting/block_scanning.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/test_files.h"
#include "support/vector_paths.h"
#include "words/normalise.h"

namespace vorn {
namespace {

using Entries = std::vector<std::pair<std::string, int64_t>>;

// Counts the words it is handed into a table; asks nothing of the reading.
class Counter final : public LineScanner::Sink, public FileLineHooks {
 public:
  bool OnWord(BytesView word) override {
    words.Add(word, nullptr);
    return false;
  }
  bool Yield() override { return false; }
  void OnPiece(bool) override {}
  bool StopBeforeLine() override { return false; }
  PartWords words;
};

class DiscardGate final : public WordList::Gate {
 public:
  explicit DiscardGate(const NormaliseOptions& o) : options(o) {}
  bool Admits(BytesView word) override { return !IsDiscarded(word, options); }
  NormaliseOptions options;
};

struct Reading {
  TextView allowed = u"";
  bool case_significant = false;
  bool utf8 = false;
  LineEnding ending = LineEnding::kLfOnly;
};

// The words of `text` (or of the file at `path`), counted in blocks or line
// by line: every entry with occurrences, in the order first met.
Entries Count(const Reading& r, bool in_blocks, const std::string& text,
              const std::string& path = "") {
  Scanner scanner;
  scanner.Configure(r.allowed, false, NormaliseOptions());
  LineScanner lines(&scanner);
  lines.SetCaseSignificant(r.case_significant);
  lines.SetBatching(true);
  LineReader reader;
  std::string error;
  if (path.empty()) {
    reader.OpenBytes(text, r.ending);
  } else {
    EXPECT_TRUE(reader.Open(path, r.ending, &error)) << error;
  }
  Counter counter;
  bool decode = r.utf8;
  if (in_blocks) {
    EXPECT_TRUE(scanner.TakesPlainRuns());
    BlockWords blocks(scanner, !r.case_significant, r.utf8);
    DiscardGate gate(scanner.options());
    ScanFileBlocks(&reader, r.ending == LineEnding::kLfOnly, r.utf8, &blocks, &counter.words, &gate,
                   &lines, &counter, &counter);
  } else {
    ScanFileLines(&reader, false, &decode, &lines, &counter, &counter);
  }
  EXPECT_EQ(reader.error(), "");
  Entries entries;
  counter.words.ForEachEntryInOrder([&](BytesView word, int64_t count) {
    if (count != 0) entries.emplace_back(std::string(word), count);
  });
  return entries;
}

// Pieces of text that tell the two readings apart, if anything does: the
// characters the plain rule leaves to the scanner, line ends of every kind,
// characters that may only stand inside a word, and bytes above 127.
const std::vector<std::string> kPieces = {
    "the",     "Cat",       "dog's", "co-op",  "a--b",  "<b>",
    "x<y",     "z>",        "e.g.",  "(note)", "1999",  "'tis",
    "word.",   "\t",        "\b",    "-",      "--",    "\xA0",
    "\x01",    "\r",        "\n",    "\r\n",   "ab\bc", "\x0c",
    " ",       "''",        "+",     "x+y",    "it's",  std::string(1, '\0'),
    "IIi",     "mm",        "aren",  "x",      "_id",   "a_b",
    "caf\xE9", "\xC9T\xC9", "\x8A",  "--x",    "-->",   "<!--",
    "..a..",   "(a)",       "a.",    "don't"};
const std::vector<std::string> kUtf8 = {"\xC3\xA9t\xC3\xA9", "e\xCC\x81",     "\xE2\x80\x94",
                                        "\xC2\xA0",          "\xE2\x80\x9Cq", "\xC5\x93uvre"};

std::string RandomText(std::mt19937* rng, size_t pieces, bool utf8) {
  std::string text;
  for (size_t k = 0; k < pieces; ++k) {
    text += utf8 && (*rng)() % 4 == 0 ? kUtf8[(*rng)() % kUtf8.size()]
                                      : kPieces[(*rng)() % kPieces.size()];
    if ((*rng)() % 3 != 0) text += (*rng)() % 5 == 0 ? '\n' : ' ';
  }
  return text;
}

const TextView kAllowed[] = {u"", u"-'", u"'.,()+-", u"_0123456789", u"-.'_"};

class BlockScanningTest : public VectorPathsTest {};

TEST_F(BlockScanningTest, BlocksCountTheWordsOfLines) {
  for (const std::string& path : VectorPathNames()) {
    SetVectorPath(path);
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
      Reading r;
      r.allowed = kAllowed[round % std::size(kAllowed)];
      r.case_significant = round % 7 == 3;
      r.utf8 = round % 3 == 1;
      r.ending = round % 2 == 0 ? LineEnding::kLfOnly : LineEnding::kCrLfOrCr;
      const std::string text = RandomText(&rng, rng() % 400, r.utf8);
      ASSERT_EQ(Count(r, true, text), Count(r, false, text)) << path << " round " << round;
    }
  }
}

TEST_F(BlockScanningTest, LargeFilesCountAsReadLineByLine) {
  // Several blocks, line ends of every kind where blocks end, a line longer
  // than a block, and runs of word characters longer than a word may be.
  TempDir dir;
  std::mt19937 rng(11);
  for (int round = 0; round < 4; ++round) {
    Reading r;
    r.allowed = kAllowed[round % std::size(kAllowed)];
    r.utf8 = round == 2;
    r.ending = round % 2 == 0 ? LineEnding::kLfOnly : LineEnding::kCrLfOrCr;
    std::string text = RandomText(&rng, 300000, r.utf8);
    text += "\n" + std::string(70000, 'w') + "x " + std::string(130001, 'q') + "\r\n";
    text += std::string(size_t{3} << 20, 'y') + " long line\r";
    text += RandomText(&rng, 200000, r.utf8);
    const std::string path = dir.Write("big" + std::to_string(round) + ".txt", text);
    ASSERT_EQ(Count(r, true, "", path), Count(r, false, "", path)) << "round " << round;
  }
}

}  // namespace
}  // namespace vorn
