#include "counting/part_words.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace vorn {
namespace {

// Refuses the words that begin with "x".
class NoX final : public WordList::Gate {
 public:
  bool Admits(BytesView word) override {
    ++asked;
    return word.empty() || word[0] != 'x';
  }
  int asked = 0;
};

TEST(PartWordsTest, CountsAsThePlainModelInTheOrderFirstMet) {
  std::mt19937 rng(3);
  // Words that share their first eight bytes, differ only in length or in
  // their last byte, and words of up to eight bytes of every length.
  std::vector<std::string> pool;
  for (int k = 0; k < 3000; ++k) {
    std::string w = k % 3 == 0 ? "sharedhead" : k % 3 == 1 ? "x" : "";
    const size_t n = 1 + rng() % 20;
    for (size_t i = 0; i < n; ++i) w += static_cast<char>('a' + rng() % 3);
    pool.push_back(w);
  }
  PartWords words;
  NoX gate;
  std::map<std::string, int64_t> model;
  std::vector<std::string> order;
  // Every word is followed by blanks in the text it is taken from.
  std::string text;
  for (int k = 0; k < 50000; ++k) {
    const std::string& w = pool[rng() % pool.size()];
    if (model[w]++ == 0) order.push_back(w);
    text = w + std::string(8, ' ');
    if (k % 2 == 0) {
      words.AddPadded(BytesView(text.data(), w.size()), &gate);
    } else {
      words.Add(w, &gate);
    }
  }
  std::vector<std::pair<std::string, int64_t>> got;
  words.ForEachEntryInOrder([&](BytesView w, int64_t count) { got.emplace_back(w, count); });
  ASSERT_EQ(got.size(), order.size());
  EXPECT_EQ(gate.asked, static_cast<int>(order.size()));
  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(got[i].first, order[i]);
    EXPECT_EQ(got[i].second, order[i][0] == 'x' ? 0 : model[order[i]]) << order[i];
  }
  EXPECT_EQ(words.DistinctCount(), static_cast<int64_t>(order.size()));
}

TEST(PartWordsTest, ACleanedTableCountsAfreshInTheOrderOfItsNewWords) {
  PartWords words;
  NoX gate;
  // Enough distinct words that the index grows past the size kept.
  for (int k = 0; k < 5000; ++k) words.Add("w" + std::to_string(k), &gate);
  words.Add("xray", &gate);
  for (int round = 0; round < 2; ++round) {
    words.Clear();
    EXPECT_EQ(words.DistinctCount(), 0);
    EXPECT_EQ(words.TextBytes(), 0u);
    for (const char* w : {"beta", "w7", "beta", "xray", "alpha", "beta"}) words.Add(w, &gate);
    std::vector<std::pair<std::string, int64_t>> got;
    words.ForEachEntryInOrder([&](BytesView w, int64_t count) { got.emplace_back(w, count); });
    const std::vector<std::pair<std::string, int64_t>> want{
        {"beta", 3}, {"w7", 1}, {"xray", 0}, {"alpha", 1}};
    EXPECT_EQ(got, want) << "round " << round;
  }
}

}  // namespace
}  // namespace vorn
