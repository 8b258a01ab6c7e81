#include "results/quick_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "counting/word_list.h"
#include "util/paced_sort.h"
#include "util/pacer.h"
#include "util/text.h"
#include "util/work_pool.h"

namespace vorn {
namespace {

std::vector<Text> Texts(std::initializer_list<const char*> items) {
  std::vector<Text> out;
  for (const char* s : items) out.push_back(T(s));
  return out;
}

std::string Join(const std::vector<Text>& v) {
  std::string out;
  for (const Text& t : v) out += (out.empty() ? "" : ",") + TextToUtf8(t);
  return out;
}

// `items` sorted from lo to hi on the keys from character `start`, joined.
std::string Ascending(std::initializer_list<const char*> items, int64_t lo, int64_t hi,
                      int64_t start = 1) {
  std::vector<Text> v = Texts(items);
  QuickSortAscending(&v, lo, hi, start);
  return Join(v);
}
std::string Descending(std::initializer_list<const char*> items, int64_t lo, int64_t hi,
                       int64_t start = 1) {
  std::vector<Text> v = Texts(items);
  QuickSortDescending(&v, lo, hi, start);
  return Join(v);
}

TEST(QuickSortTest, SortsTheGivenRangeOnTheKeyFromStartPos) {
  EXPECT_EQ(Ascending({"b", "a", "c"}, 0, 2), "a,b,c");
  EXPECT_EQ(Descending({"b", "a", "c"}, 0, 2), "c,b,a");
  EXPECT_EQ(Ascending({"z", "d", "b", "c", "a"}, 1, 3), "z,b,c,d,a");
  // Keys from character 3: "9a" > "5c" > "1b".
  EXPECT_EQ(Descending({"xx1b", "yy9a", "zz5c"}, 0, 2, 3), "yy9a,zz5c,xx1b");
  // A start past the end of a string gives an empty key, the smallest.
  EXPECT_EQ(Ascending({"abc", "a", "ab"}, 0, 2, 3).substr(5), "abc");
  // Ordinal order: upper case before lower case, "\u00e9" after "z".
  EXPECT_EQ(Ascending({"b", "\u00e9", "Z", "a"}, 0, 3), "Z,a,b,\u00e9");
  // Empty, single or out-of-bounds ranges are left alone.
  for (const auto& [lo, hi] : {std::pair{1, 1}, {2, 1}, {0, 0}, {3, 0}, {-1, 1}, {0, 9}}) {
    EXPECT_EQ(Ascending({"c", "b", "a"}, lo, hi), "c,b,a") << lo << ".." << hi;
    EXPECT_EQ(Descending({"a", "b", "c"}, lo, hi), "a,b,c") << lo << ".." << hi;
  }
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
  // "Ärger" folds to "aerger", before "alpha".
  EXPECT_EQ(v, (std::vector<Text>{u"\u00c4rger", u"alpha", u"Beta", u"gamma"}));
  QuickSortDescendingFolded(&v, 0, 3, true, 1);
  EXPECT_EQ(v, (std::vector<Text>{u"gamma", u"Beta", u"alpha", u"\u00c4rger"}));
  std::vector<Text> plain = {u"b", u"B", u"a"};
  QuickSortAscendingFolded(&plain, 0, 2, false, 1);
  EXPECT_EQ(plain, (std::vector<Text>{u"B", u"a", u"b"}));
}

TEST(QuickSortTest, LargeArraysSortedShuffledReversedAndEqual) {
  constexpr int kN = 200000;
  std::vector<Text> sorted;
  for (int i = 0; i < kN; ++i) sorted.push_back(T(std::to_string(1000000 + i)));
  std::vector<Text> v = sorted;
  for (int pass = 0; pass < 3; ++pass) {
    if (pass == 1) std::shuffle(v.begin(), v.end(), std::mt19937(42));
    if (pass == 2) std::reverse(v.begin(), v.end());
    QuickSortAscending(&v, 0, kN - 1, 1);
    EXPECT_EQ(v, sorted) << "pass " << pass;
  }
  std::vector<Text> same(kN, u"x");
  QuickSortDescending(&same, 0, kN - 1, 1);
  EXPECT_EQ(same.front(), u"x");
  // The table sort too, shuffled and already sorted.
  WordList list;
  for (int i = 0; i < kN; ++i) list.AddOccurrence(T("w" + std::to_string(i)), 1);
  list.Finalize();
  std::mt19937 random(7);
  for (int64_t i = kN; i > 1; --i) {
    list.SwapEntries(i, std::uniform_int_distribution<int64_t>(1, i)(random));
  }
  for (int pass = 0; pass < 2; ++pass) {
    SortWordListByKey(&list, 1, kN, 1);
    for (int64_t i = 2; i <= kN; ++i) ASSERT_LE(list.SortKey(i - 1), list.SortKey(i)) << i;
  }
}

TEST(QuickSortTest, SortWordListByKeyMovesWholeEntriesWithinTheRange) {
  WordList list;
  for (const char* w : {"b", "C", "a", "b"}) list.AddOccurrence(T(w), 1);
  list.AddOccurrence(u"C", 2);
  list.Finalize();
  // Finalize leaves ordinal order: C, a, b. By folded key: a, b, C.
  ASSERT_EQ(list.DistinctCount(), 3);
  SortWordListByKey(&list, 1, list.DistinctCount(), 1);
  EXPECT_EQ(list.Word(1), "a");
  EXPECT_EQ(list.Word(2), "b");
  EXPECT_EQ(list[2].Count, 2);
  EXPECT_EQ(list.Word(3), "C");
  EXPECT_EQ(list.SortKey(3), "c");
  EXPECT_EQ(list.FileCount(3), 2);  // its files moved with it
  // Ranges outside the table are left alone.
  for (const auto& [first, last] : {std::pair{1, 1}, {0, 3}, {1, 4}, {3, 1}}) {
    SortWordListByKey(&list, first, last, 1);
    EXPECT_EQ(list.Word(1), "a") << first << ".." << last;
    EXPECT_EQ(list.Word(3), "C") << first << ".." << last;
  }
}

TEST(QuickSortTest, SortWordListByKeyOrdersKeysByCharacterCode) {
  // The keys of "\x8A" (Š) and "\x9F" (Ÿ) are "s" and "y"; "\x8E" (Ž) has the
  // key "\x9E" (ž), whose character, U+017E, sorts after "\xFE" (þ, U+00FE)
  // though its byte is smaller.
  WordList list;
  for (const char* w : {"\x8E", "\xFE", "\x9F", "\x8A", "t", "r"})
    list.AddOccurrence(BytesView(w), 1);
  list.Finalize();
  SortWordListByKey(&list, 1, list.DistinctCount(), 1);
  std::vector<std::string> got;
  for (int64_t i = 1; i <= list.DistinctCount(); ++i) got.emplace_back(list.Word(i));
  EXPECT_EQ(got, (std::vector<std::string>{"r", "\x8A", "t", "\x9F", "\xFE", "\x8E"}));
}

// A finalized table of `n` words of a, b, A, B, Ä and ä (up to six
// characters): many words share one sort key ("ab", "Ab", "aB", "AB").
WordList ManyEqualKeys(int n) {
  static const std::string kChars = std::string("abAB") + "\xC4" + "\xE4";
  std::mt19937 rng(3);
  WordList list;
  for (int k = 0; k < n; ++k) {
    std::string w(1 + rng() % 6, ' ');
    for (char& c : w) c = kChars[rng() % kChars.size()];
    list.AddOccurrence(BytesView(w), 1 + k % 2);
  }
  list.Finalize();
  return list;
}

// Every entry's word, count and number of files, in table order.
std::vector<std::string> Entries(const WordList& list) {
  std::vector<std::string> out;
  for (int64_t i = 1; i <= list.DistinctCount(); ++i) {
    out.push_back(std::string(list.Word(i)) + " " + std::to_string(list[i].Count) + " " +
                  std::to_string(list.FileCount(i)));
  }
  return out;
}

TEST(QuickSortTest, PacedAndHelpedSortsGiveTheSameOrder) {
  WorkerPool pool(1);
  // The key sort: equal keys stand where the plain sort puts them, paced
  // (events run at every step), helped, or both: the same steps were taken.
  WordList plain = ManyEqualKeys(60000);
  ASSERT_GT(plain.DistinctCount(), 10000);
  WordList paced = plain;
  WordList helped = plain;
  WordList helped_paced = plain;
  SortWordListByKey(&plain, 1, plain.DistinctCount(), 1);
  Pacer pacer;
  int64_t dues = 0;
  pacer.SetThrottle(1, std::chrono::milliseconds(0));
  pacer.SetDue([&dues] { ++dues; });
  SortWordListByKey(&paced, 1, paced.DistinctCount(), 1, &pacer);
  EXPECT_GT(dues, paced.DistinctCount());
  EXPECT_EQ(Entries(paced), Entries(plain));
  SortWordListByKey(&helped, 1, helped.DistinctCount(), 1, nullptr, &pool);
  EXPECT_EQ(Entries(helped), Entries(plain));
  dues = 0;
  SortWordListByKey(&helped_paced, 1, helped_paced.DistinctCount(), 1, &pacer, &pool);
  EXPECT_GT(dues, 0);
  EXPECT_EQ(Entries(helped_paced), Entries(plain));
  // The merge sort, stable, of many equal values: each keeps its place
  // among its equals, for sizes around those where the runs change.
  std::mt19937 rng(5);
  for (const size_t n : {kMinHelpedSort - 1, kMinHelpedSort, size_t{50001}, size_t{200003}}) {
    std::vector<std::pair<int, size_t>> items(n);
    for (size_t k = 0; k < n; ++k) items[k] = {static_cast<int>(rng() % 100), k};
    const auto by_value = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::vector<std::pair<int, size_t>> expected = items;
    std::stable_sort(expected.begin(), expected.end(), by_value);
    PacedSort(&items, by_value, &pacer, SortStability::kStable, &pool);
    EXPECT_EQ(items, expected) << n;
  }
}

TEST(QuickSortTest, AHelpedSortEndsWithItsHelperWhenThePacerThrows) {
  WorkerPool pool(1);
  struct Abandoned {};
  Pacer pacer;
  pacer.SetThrottle(1, std::chrono::milliseconds(0));
  int64_t dues = 0;
  pacer.SetDue([&dues] {
    if (++dues == 50) throw Abandoned{};
  });
  WordList list = ManyEqualKeys(60000);
  std::vector<std::string> before = Entries(list);
  EXPECT_THROW(SortWordListByKey(&list, 1, list.DistinctCount(), 1, &pacer, &pool), Abandoned);
  // Every entry is still whole, in some place.
  std::vector<std::string> after = Entries(list);
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before);
  dues = 0;
  std::vector<uint32_t> items(300000);
  for (size_t k = 0; k < items.size(); ++k) items[k] = static_cast<uint32_t>(items.size() - k);
  EXPECT_THROW(PacedSort(&items, std::less<>(), &pacer, SortStability::kUnstable, &pool),
               Abandoned);
}

}  // namespace
}  // namespace vorn
