#include "results/ranking.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "counting/word_list.h"
#include "util/pacer.h"
#include "util/text.h"

namespace vorn {
namespace {

struct Item {
  const char* word;
  int64_t count;
  int files;
  bool listed;
};

// A finalized table of the items, which are given in table (ordinal) order:
// each item is met once in each of its files, then given its count.
WordList MakeList(const std::vector<Item>& items) {
  WordList list;
  for (const Item& it : items) {
    for (int f = 1; f <= it.files; ++f) list.AddOccurrence(T(it.word), f);
  }
  list.Finalize();
  for (size_t k = 0; k < items.size(); ++k) {
    EXPECT_EQ(list.FileCount(static_cast<int64_t>(k) + 1), items[k].files) << items[k].word;
    list[k + 1].Count = items[k].count;
    list[k + 1].Listed = items[k].listed;
  }
  return list;
}

// Computes the statistics and the chain of `list`; returns the chain's words.
std::vector<std::string> Chain(WordList* list, ListStatistics* st, bool by_files = false) {
  ComputeListStatistics(*list, false, st);
  BuildFrequencyChain(list, st, by_files, nullptr);
  std::vector<std::string> out;
  for (int64_t i = st->ChainHead; i != 0; i = (*list)[i].NextInChain) {
    out.emplace_back(list->Word(i));
  }
  return out;
}

using Words = std::vector<std::string>;

TEST(RankingTest, StatisticsOfListedEntries) {
  WordList list = MakeList({{"apple", 2, 1, true},
                            {"fig", 2, 4, true},
                            {"kiwifruit", 9, 9, false},
                            {"pear", 5, 3, true}});
  ListStatistics st;
  EXPECT_EQ(Chain(&list, &st), (Words{"pear", "apple", "fig"}));
  EXPECT_EQ(st.ListedCount, 3);
  EXPECT_EQ(st.ExcludedCount, 1);
  EXPECT_EQ(st.ListedInstances, 9);
  EXPECT_EQ(st.MaxCount, 5);
  EXPECT_EQ(st.MaxFileCount, 4);
  EXPECT_EQ(st.LongestEntryLength, 5);
  EXPECT_EQ(st.TopEntry, u"pear");
  // apple, fig, pear: ranks 2, 3, 1; the unlisted entry has none.
  EXPECT_EQ((std::vector<int64_t>{list[1].Rank, list[2].Rank, list[3].Rank, list[4].Rank}),
            (std::vector<int64_t>{2, 3, 0, 1}));
  EXPECT_EQ(list[3].NextInChain, 0);
  // Of equal counts the first in table order is the top entry.
  list = MakeList({{"a", 4, 1, true}, {"b", 4, 1, true}});
  EXPECT_EQ(Chain(&list, &st), (Words{"a", "b"}));
  EXPECT_EQ(st.TopEntry, u"a");
}

TEST(RankingTest, LongestPhraseWordsOnlyInPhraseRuns) {
  WordList list = MakeList({{"a b c", 1, 1, true}, {"d e", 1, 1, true}, {"f g h i", 1, 1, false}});
  ListStatistics st;
  ComputeListStatistics(list, true, &st);
  EXPECT_EQ(st.LongestPhraseWords, 3);
  ComputeListStatistics(list, false, &st);
  EXPECT_EQ(st.LongestPhraseWords, 0);
}

// `n` listed entries of count 1.
WordList ManyWords(int n) {
  WordList list;
  for (int i = 0; i < n; ++i) list.AddOccurrence(T("w" + std::to_string(i)), 1);
  list.Finalize();
  return list;
}

TEST(RankingTest, ProgressDotsEveryThousandLinks) {
  for (const auto& [entries, want] : {std::pair{999, 0}, {1000, 1}, {2500, 2}, {3000, 3}}) {
    WordList list = ManyWords(entries);
    ListStatistics st;
    ComputeListStatistics(list, false, &st);
    int dots = 0;
    BuildFrequencyChain(&list, &st, false, [&dots]() { ++dots; });
    EXPECT_EQ(dots, want) << entries << " entries";
  }
}

// Enough entries for several sorted runs and their merges, with the pacer
// and without: the chain stands in the one order of descending counts, ties
// in entry order, and the statistics are the same.
TEST(RankingTest, ChainKeepsTiesInEntryOrderPacedOrNot) {
  ListStatistics unpaced;
  for (const bool paced : {false, true}) {
    WordList list = ManyWords(100000);
    for (int64_t i = 1; i <= list.DistinctCount(); ++i) {
      list[i].Count = (i * 7919) % 13 + 1;
      list[i].Listed = i % 10 != 0;
    }
    Pacer pacer;
    int64_t dues = 0;
    pacer.SetThrottle(1, std::chrono::milliseconds(0));
    pacer.SetDue([&dues] { ++dues; });
    ListStatistics st;
    ComputeListStatistics(list, false, &st, paced ? &pacer : nullptr);
    BuildFrequencyChain(&list, &st, false, nullptr, paced ? &pacer : nullptr);
    if (paced) {
      EXPECT_GT(dues, 2 * list.DistinctCount());
      EXPECT_EQ(st.ListedInstances, unpaced.ListedInstances);
      EXPECT_EQ(st.TopEntry, unpaced.TopEntry);
    } else {
      unpaced = st;
    }
    int64_t k = 0;
    for (int64_t prev = 0, i = st.ChainHead; i != 0; prev = i, i = list[i].NextInChain) {
      ASSERT_TRUE(list[i].Listed);
      ASSERT_EQ(list[i].Rank, ++k);
      ASSERT_TRUE(prev == 0 || list[prev].Count > list[i].Count ||
                  (list[prev].Count == list[i].Count && prev < i))
          << prev << " " << i;
    }
    EXPECT_EQ(k, 90000);
    EXPECT_EQ(st.ListedCount, 90000);
  }
}

// The values themselves are shown in the end-to-end comparisons of formats
// 10 and the relative-frequency formats.
TEST(RankingTest, RelativeFrequencyOfNothingIsZero) {
  EXPECT_DOUBLE_EQ(RelativeFrequency(1, 0), 0.0);
}

}  // namespace
}  // namespace vorn
