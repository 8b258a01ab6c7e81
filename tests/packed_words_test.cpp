#include "counting/packed_words.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "counting/part_count.h"
#include "support/test_files.h"

namespace vorn {
namespace {

using Words = std::vector<std::pair<std::string, int64_t>>;

// Refuses the words that begin with "x".
class NoX final : public WordList::Gate {
 public:
  bool Admits(BytesView word) override { return word.empty() || word[0] != 'x'; }
};

Words Unpacked(std::string_view packed) {
  Words words;
  ForEachPackedWord(packed, [&](BytesView w, int64_t count) { words.emplace_back(w, count); });
  return words;
}

Words InOrder(const PartWords& table) {
  Words words;
  table.ForEachEntryInOrder([&](BytesView w, int64_t count) { words.emplace_back(w, count); });
  return words;
}

TEST(PackedWordsTest, UnpacksTheTableInItsOrderWithEveryCountAndLength) {
  PartWords table;
  NoX gate;
  // Counts and lengths that take one, two and three bytes packed.
  const std::string long_word(300, 'l');
  for (int k = 0; k < 20000; ++k) table.Add("often", &gate);
  for (int k = 0; k < 200; ++k) table.Add(long_word, &gate);
  table.Add("xcluded", &gate);
  table.Add("once", &gate);
  std::string packed = "head";
  PackWords(table, &packed);
  ASSERT_EQ(packed.substr(0, 4), "head");
  const Words want{{"often", 20000}, {long_word, 200}, {"xcluded", 0}, {"once", 1}};
  EXPECT_EQ(Unpacked(std::string_view(packed).substr(4)), want);

  std::string empty;
  PackWords(PartWords(), &empty);
  EXPECT_TRUE(empty.empty());
  EXPECT_TRUE(Unpacked(empty).empty());
}

// Counts `part` with CountPart into a table of its own.
Words CountedAlone(const PartSetup& setup, const FilePart& part) {
  const std::atomic<bool> cancel{false};
  PartCount count;
  CountPart(setup, part, cancel, &count);
  return InOrder(count.words);
}

TEST(PackedWordsTest, EachFileCountedOnOneThreadGetsOnlyItsOwnWords) {
  TempDir dir;
  PartSetup setup;
  setup.scanner.Configure(u"", false, NormaliseOptions());
  const std::atomic<bool> cancel{false};
  // A large file first, whose table the next file must not inherit.
  const std::string big = dir.Write("big.txt", ManyWords(30000));
  const std::string small_bytes = "The cat and the hat.\r\nThe end.\r\n";
  const std::string small = dir.Write("small.txt", small_bytes);
  const std::string_view kept(small_bytes);
  const std::vector<FilePart> parts{
      FilePart{big, LineEnding::kCrLfOrCr, false, 0, -1, nullptr},
      FilePart{small, LineEnding::kCrLfOrCr, false, 0, -1, nullptr},
      FilePart{small, LineEnding::kCrLfOrCr, false, 0, -1, &kept},
      FilePart{big, LineEnding::kCrLfOrCr, false, 0, -1, nullptr},
  };
  for (const FilePart& part : parts) {
    PackedCount packed;
    CountPacked(setup, part, cancel, &packed);
    EXPECT_TRUE(packed.opened);
    EXPECT_EQ(packed.error, "");
    EXPECT_EQ(Unpacked(packed.words), CountedAlone(setup, part)) << part.path;
  }
  const Words small_words{{"the", 3}, {"cat", 1}, {"and", 1}, {"hat", 1}, {"end", 1}};
  EXPECT_EQ(CountedAlone(setup, parts[1]), small_words);

  PackedCount missing;
  CountPacked(setup, FilePart{dir.File("gone.txt"), LineEnding::kCrLfOrCr, false, 0, -1, nullptr},
              cancel, &missing);
  EXPECT_FALSE(missing.opened);
  EXPECT_NE(missing.error, "");
  EXPECT_TRUE(missing.words.empty());
}

}  // namespace
}  // namespace vorn
