#include "results/quick_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "counting/word_list.h"
#include "util/text.h"

namespace vorn {
namespace {

std::vector<Text> Texts(std::initializer_list<const char*> items) {
  std::vector<Text> out;
  for (const char* s : items) out.push_back(T(s));
  return out;
}

std::string Join(const std::vector<Text>& v) {
  std::string out;
  for (const Text& t : v) {
    if (!out.empty()) out += ",";
    out += TextToUtf8(t);
  }
  return out;
}

TEST(QuickSortTest, AscendingAndDescendingOnThreeElements) {
  std::vector<Text> a = Texts({"b", "a", "c"});
  QuickSortAscending(&a, 0, 2, 1);
  EXPECT_EQ(Join(a), "a,b,c");
  std::vector<Text> d = Texts({"b", "a", "c"});
  QuickSortDescending(&d, 0, 2, 1);
  EXPECT_EQ(Join(d), "c,b,a");
}

TEST(QuickSortTest, EmptyOrSingleRangeIsLeftAlone) {
  struct Case {
    int64_t lo, hi;
  };
  const Case kCases[] = {{1, 1}, {2, 1}, {0, 0}, {3, 0}, {-1, 1}, {0, 9}};
  for (const auto& c : kCases) {
    std::vector<Text> v = Texts({"c", "b", "a"});
    QuickSortDescending(&v, c.lo, c.hi, 1);
    QuickSortAscending(&v, c.lo, c.hi, 1);
    EXPECT_EQ(Join(v), "c,b,a") << c.lo << ".." << c.hi;
  }
}

TEST(QuickSortTest, SortsOnlyTheGivenRange) {
  std::vector<Text> v = Texts({"z", "d", "b", "c", "a"});
  QuickSortAscending(&v, 1, 3, 1);
  EXPECT_EQ(Join(v), "z,b,c,d,a");
}

TEST(QuickSortTest, KeyStartsAtStartPos) {
  // Keys from character 3: "9a" > "5c" > "1b".
  std::vector<Text> v = Texts({"xx1b", "yy9a", "zz5c"});
  QuickSortDescending(&v, 0, 2, 3);
  EXPECT_EQ(Join(v), "yy9a,zz5c,xx1b");
  // A start past the end of a string gives an empty key, the smallest.
  std::vector<Text> w = Texts({"abc", "a", "ab"});
  QuickSortAscending(&w, 0, 2, 3);
  EXPECT_EQ(TextToUtf8(w[2]), "abc");
}

TEST(QuickSortTest, ComparesOrdinally) {
  // Upper case sorts before lower case; "é" (U+00E9) after "z".
  std::vector<Text> v = {u"b", u"\u00e9", u"Z", u"a"};
  QuickSortAscending(&v, 0, 3, 1);
  EXPECT_EQ(v, (std::vector<Text>{u"Z", u"a", u"b", u"\u00e9"}));
}

TEST(QuickSortTest, AscendingReversesEqualKeysOfTheDescendingPass) {
  // Keys from position 2 are equal for "1k" and "2k"; whatever order the
  // descending pass leaves them in, the ascending sort shows the reverse.
  std::vector<Text> d = Texts({"1k", "2k", "3a"});
  QuickSortDescending(&d, 0, 2, 2);
  std::vector<Text> a = Texts({"1k", "2k", "3a"});
  QuickSortAscending(&a, 0, 2, 2);
  std::reverse(d.begin(), d.end());
  EXPECT_EQ(a, d);
}

TEST(QuickSortTest, FoldedSortsUseTheSortKey) {
  std::vector<Text> v = {u"Beta", u"alpha", u"\u00c4rger", u"gamma"};
  QuickSortAscendingFolded(&v, 0, 3, true, 1);
  // "Ärger" folds to "aerger": after "alpha"? "ae" < "al".
  EXPECT_EQ(v, (std::vector<Text>{u"\u00c4rger", u"alpha", u"Beta", u"gamma"}));
  std::vector<Text> d = v;
  QuickSortDescendingFolded(&d, 0, 3, true, 1);
  EXPECT_EQ(d, (std::vector<Text>{u"gamma", u"Beta", u"alpha", u"\u00c4rger"}));
  std::vector<Text> plain = {u"b", u"B", u"a"};
  QuickSortAscendingFolded(&plain, 0, 2, false, 1);
  EXPECT_EQ(plain, (std::vector<Text>{u"B", u"a", u"b"}));
}

TEST(QuickSortTest, LargeArraysSortedAndShuffled) {
  constexpr int kN = 200000;
  std::vector<Text> sorted;
  sorted.reserve(kN);
  for (int i = 0; i < kN; ++i) {
    std::string s = std::to_string(i);
    sorted.push_back(T(std::string(7 - s.size(), '0') + s));
  }
  std::vector<Text> v = sorted;
  QuickSortAscending(&v, 0, kN - 1, 1);
  EXPECT_EQ(v, sorted);
  std::shuffle(v.begin(), v.end(), std::mt19937(42));
  QuickSortAscending(&v, 0, kN - 1, 1);
  EXPECT_EQ(v, sorted);
  std::reverse(v.begin(), v.end());
  QuickSortAscending(&v, 0, kN - 1, 1);
  EXPECT_EQ(v, sorted);
  // Many equal keys.
  std::vector<Text> same(kN, u"x");
  QuickSortDescending(&same, 0, kN - 1, 1);
  EXPECT_EQ(same.front(), u"x");
}

WordList MakeList(const std::vector<std::string>& words) {
  WordList list;
  for (const std::string& w : words) list.AddOccurrence(T(w), 1);
  list.Finalize();
  return list;
}

TEST(QuickSortTest, SortWordListByKeyMovesWholeEntries) {
  WordList list = MakeList({"b", "C", "a", "b"});
  // Finalize leaves ordinal order: C, a, b. By folded key: a, b, C.
  ASSERT_EQ(list.DistinctCount(), 3);
  SortWordListByKey(&list, 1, list.DistinctCount(), 1);
  EXPECT_EQ(list[1].Word, u"a");
  EXPECT_EQ(list[2].Word, u"b");
  EXPECT_EQ(list[2].Count, 2);
  EXPECT_EQ(list[3].Word, u"C");
  EXPECT_EQ(list[3].SortKey, u"c");
}

TEST(QuickSortTest, SortWordListByKeyKeepsOutOfRangeAlone) {
  WordList list = MakeList({"b", "a"});
  list[1].SortKey = u"z";  // "a" now sorts last
  SortWordListByKey(&list, 1, 1, 1);
  SortWordListByKey(&list, 0, 2, 1);
  SortWordListByKey(&list, 1, 3, 1);
  EXPECT_EQ(list[1].Word, u"a");
  SortWordListByKey(&list, 1, 2, 1);
  EXPECT_EQ(list[1].Word, u"b");
}

TEST(QuickSortTest, SortWordListByKeyLargeShuffledTable) {
  constexpr int kN = 200000;
  WordList list;
  for (int i = 0; i < kN; ++i) list.AddOccurrence(T("w" + std::to_string(i)), 1);
  list.Finalize();
  std::shuffle(list.entries().begin(), list.entries().end(), std::mt19937(7));
  SortWordListByKey(&list, 1, kN, 1);
  for (int64_t i = 2; i <= kN; ++i) ASSERT_LE(list[i - 1].SortKey, list[i].SortKey) << i;
  SortWordListByKey(&list, 1, kN, 1);  // already sorted
  for (int64_t i = 2; i <= kN; ++i) ASSERT_LE(list[i - 1].SortKey, list[i].SortKey) << i;
}

}  // namespace
}  // namespace vorn
