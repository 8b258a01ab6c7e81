#include "results/ranking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting/word_list.h"
#include "util/text.h"

namespace vorn {
namespace {

struct Item {
  const char* word;
  int64_t count;
  int64_t files;
  bool listed;
};

// A finalized table with the given counts (entries in ordinal order).
WordList MakeList(const std::vector<Item>& items) {
  WordList list;
  for (const Item& it : items) list.AddOccurrence(T(it.word), 1);
  list.Finalize();
  for (const Item& it : items) {
    for (int64_t i = 1; i <= list.DistinctCount(); ++i) {
      if (list[i].Word == T(it.word)) {
        list[i].Count = it.count;
        list[i].FileCount = it.files;
        list[i].Listed = it.listed;
      }
    }
  }
  return list;
}

std::vector<std::string> ChainWords(const WordList& list, const ListStatistics& st) {
  std::vector<std::string> out;
  for (int64_t i = st.ChainHead; i != 0; i = list[i].NextInChain) {
    out.push_back(TextToUtf8(list[i].Word));
  }
  return out;
}

TEST(RankingTest, StatisticsOfListedEntries) {
  WordList list = MakeList({{"apple", 2, 1, true},
                            {"pear", 5, 3, true},
                            {"fig", 2, 4, true},
                            {"kiwifruit", 9, 9, false}});
  ListStatistics st;
  ComputeListStatistics(list, false, &st);
  EXPECT_EQ(st.ListedCount, 3);
  EXPECT_EQ(st.ExcludedCount, 1);
  EXPECT_EQ(st.ListedInstances, 9);
  EXPECT_EQ(st.MaxCount, 5);
  EXPECT_EQ(st.MaxFileCount, 4);
  EXPECT_EQ(st.LongestEntryLength, 5);
  EXPECT_EQ(st.LongestPhraseWords, 0);
  EXPECT_EQ(st.TopEntry, u"pear");
}

TEST(RankingTest, TopEntryIsFirstInTableOrder) {
  WordList list = MakeList({{"b", 4, 1, true}, {"a", 4, 1, true}, {"c", 1, 1, true}});
  ListStatistics st;
  ComputeListStatistics(list, false, &st);
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

TEST(RankingTest, AppleFigPearChain) {
  WordList list = MakeList({{"apple", 2, 1, true}, {"pear", 5, 1, true}, {"fig", 2, 1, true}});
  ListStatistics st;
  ComputeListStatistics(list, false, &st);
  int dots = 0;
  BuildFrequencyChain(&list, &st, false, [&dots]() { ++dots; });
  EXPECT_EQ(ChainWords(list, st), (std::vector<std::string>{"pear", "apple", "fig"}));
  EXPECT_EQ(list[1].Word, u"apple");
  EXPECT_EQ(list[1].Rank, 2);
  EXPECT_EQ(list[2].Rank, 3);  // fig
  EXPECT_EQ(list[3].Rank, 1);  // pear
  EXPECT_EQ(dots, 0);
}

TEST(RankingTest, UnlistedEntryHasNoRank) {
  WordList list = MakeList({{"a", 3, 1, true}, {"b", 9, 1, false}, {"c", 1, 1, true}});
  ListStatistics st;
  ComputeListStatistics(list, false, &st);
  BuildFrequencyChain(&list, &st, false, nullptr);
  EXPECT_EQ(list[2].Rank, 0);
  EXPECT_EQ(list[2].NextInChain, 0);
  EXPECT_EQ(ChainWords(list, st), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(st.ExcludedCount, 1);
  EXPECT_EQ(st.ListedInstances, 4);
}

TEST(RankingTest, ByFilesKeepsTableOrderForEqualFileCounts) {
  WordList list = MakeList({{"alpha", 1, 2, true}, {"beta", 9, 2, true}, {"gamma", 5, 3, true}});
  ListStatistics st;
  ComputeListStatistics(list, false, &st);
  BuildFrequencyChain(&list, &st, true, nullptr);
  EXPECT_EQ(ChainWords(list, st), (std::vector<std::string>{"gamma", "alpha", "beta"}));
  BuildFrequencyChain(&list, &st, false, nullptr);
  EXPECT_EQ(ChainWords(list, st), (std::vector<std::string>{"beta", "gamma", "alpha"}));
}

TEST(RankingTest, EmptyTableLeavesEmptyChain) {
  WordList list = MakeList({{"a", 1, 1, false}});
  ListStatistics st;
  ComputeListStatistics(list, false, &st);
  st.ChainHead = 99;
  BuildFrequencyChain(&list, &st, false, nullptr);
  EXPECT_EQ(st.ChainHead, 0);
  WordList empty;
  ComputeListStatistics(empty, false, &st);
  BuildFrequencyChain(&empty, &st, false, nullptr);
  EXPECT_EQ(st.ChainHead, 0);
  EXPECT_EQ(st.ListedCount, 0);
}

TEST(RankingTest, ProgressDotsEveryThousandLinks) {
  struct Case {
    int listed;
    int dots;
  };
  const Case kCases[] = {{999, 0}, {1000, 1}, {1001, 1}, {2500, 2}, {3000, 3}};
  for (const auto& c : kCases) {
    WordList list;
    for (int i = 0; i < c.listed; ++i) list.AddOccurrence(T("w" + std::to_string(i)), 1);
    list.Finalize();
    ListStatistics st;
    ComputeListStatistics(list, false, &st);
    int dots = 0;
    BuildFrequencyChain(&list, &st, false, [&dots]() { ++dots; });
    EXPECT_EQ(dots, c.dots) << c.listed;
  }
}

TEST(RankingTest, RanksAreConsecutiveAndChainCoversAllListed) {
  WordList list;
  for (int i = 0; i < 5000; ++i) list.AddOccurrence(T("w" + std::to_string(i)), 1);
  list.Finalize();
  for (int64_t i = 1; i <= list.DistinctCount(); ++i) list[i].Count = (i * 7919) % 13 + 1;
  ListStatistics st;
  ComputeListStatistics(list, false, &st);
  BuildFrequencyChain(&list, &st, false, nullptr);
  int64_t k = 0;
  int64_t prev = 0;
  for (int64_t i = st.ChainHead; i != 0; i = list[i].NextInChain) {
    ++k;
    ASSERT_EQ(list[i].Rank, k);
    if (prev != 0) {
      ASSERT_TRUE(list[prev].Count > list[i].Count ||
                  (list[prev].Count == list[i].Count && prev < i));
    }
    prev = i;
  }
  EXPECT_EQ(k, 5000);
}

TEST(RankingTest, RelativeFrequencyAndZipf) {
  EXPECT_DOUBLE_EQ(RelativeFrequency(3, 12), 25.0);
  EXPECT_DOUBLE_EQ(RelativeFrequency(1, 8), 12.5);
  EXPECT_DOUBLE_EQ(RelativeFrequency(1, 0), 0.0);
  EXPECT_DOUBLE_EQ(ZipfLog(1), 0.0);
  EXPECT_NEAR(ZipfLog(2), 0.30103, 1e-5);
  EXPECT_DOUBLE_EQ(ZipfLog(1000), 3.0);
}

}  // namespace
}  // namespace vorn
