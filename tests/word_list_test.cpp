#include "counting/word_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "util/paced_sort.h"
#include "util/pacer.h"

namespace vorn {
namespace {

// The words of the table in entry order, as text.
std::vector<Text> Words(const WordList& list) {
  std::vector<Text> out;
  for (int64_t i = 1; i <= list.DistinctCount(); ++i) {
    out.push_back(DecodeWindows1252(list.Word(i)));
  }
  return out;
}

TEST(WordListTest, FinalizeGivesOrdinalOrder) {
  WordList list;
  for (const char16_t* w : {u"b", u"a", u"c", u"a", u"Zebra", u"apple"}) list.AddOccurrence(w, 0);
  list.Finalize();
  EXPECT_EQ(Words(list), (std::vector<Text>{u"Zebra", u"a", u"apple", u"b", u"c"}));
  EXPECT_EQ(list[2].Count, 2);
  EXPECT_EQ(list.TotalCount(), 6);
}

TEST(WordListTest, GrowsPastManyEntries) {
  WordList list;
  for (int i = 0; i < 5001; ++i) list.AddOccurrence(T("w" + std::to_string(i)), 0);
  for (int i = 0; i < 5001; ++i) list.AddOccurrence(T("w" + std::to_string(i)), 0);
  EXPECT_EQ(list.DistinctCount(), 5001);
  list.Finalize();
  for (int64_t i = 1; i <= list.DistinctCount(); ++i) EXPECT_EQ(list[i].Count, 2);
}

TEST(WordListTest, LongWordsAndWordsThatShareTheirStart) {
  // Words longer than the eight bytes compared at a time, differing only
  // at their end or only in length.
  const std::string long_word(300, 'q');
  const std::vector<std::string> words = {long_word + "b", long_word + "a", long_word, "qqqqqqqqx",
                                          "qqqqqqqq"};
  WordList list;
  for (int pass = 0; pass < 2; ++pass) {
    for (const std::string& w : words) list.AddOccurrence(BytesView(w), 0);
  }
  list.Finalize();
  ASSERT_EQ(list.DistinctCount(), 5);
  EXPECT_EQ(list.Word(1), "qqqqqqqq");
  EXPECT_EQ(list.Word(2), long_word);
  EXPECT_EQ(list.Word(3), long_word + "a");
  EXPECT_EQ(list.Word(4), long_word + "b");
  EXPECT_EQ(list.Word(5), "qqqqqqqqx");
  for (int64_t i = 1; i <= 5; ++i) EXPECT_EQ(list[i].Count, 2) << i;
}

TEST(WordListTest, PerFileBookkeeping) {
  WordList list;
  list.AddOccurrence(u"word", 1);
  list.AddOccurrence(u"word", 1);
  list.AddOccurrence(u"other", 2);
  list.AddOccurrence(u"word", 3);
  list.Finalize();
  // "word" was met first and moved behind "other": its files moved with it.
  ASSERT_EQ(list.Word(2), "word");
  EXPECT_EQ(list.FileCount(2), 2);
  const std::vector<FileTally> files = list.Files(2);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].file_index, 1);
  EXPECT_EQ(files[0].count, 2);
  EXPECT_EQ(files[1].file_index, 3);
  EXPECT_EQ(files[1].count, 1);
  EXPECT_EQ(list.FileCount(1), 1);
  EXPECT_EQ(list.Files(1).size(), 1u);
}

TEST(WordListTest, FilesOfOneFileAndOfAWordsFile) {
  // Words of file 0 only: one file each, the count capped per file.
  WordList list;
  for (int i = 0; i < 100001; ++i) list.AddOccurrence(u"often", 0);
  list.AddOccurrence(u"once", 0);
  list.Finalize();
  EXPECT_EQ(list.FileCount(1), 1);
  EXPECT_EQ(list.Files(1).size(), 1u);
  EXPECT_EQ(list.Files(1)[0].count, kMaxCountPerFile);
  EXPECT_EQ(list.Files(2)[0].count, 1);
  // Words of file 0 and then of file 1: the tallies of file 0 are kept.
  list.Clear();
  list.AddOccurrence(u"both", 0);
  list.AddOccurrence(u"both", 0);
  list.AddOccurrence(u"both", 1);
  list.Finalize();
  const std::vector<FileTally> files = list.Files(1);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].file_index, 0);
  EXPECT_EQ(files[0].count, 2);
  EXPECT_EQ(files[1].file_index, 1);
  EXPECT_EQ(list.FileCount(1), 2);
  // A words file has no files.
  list.Clear();
  list.AddListWord("listed");
  list.Finalize();
  EXPECT_EQ(list.FileCount(1), 0);
  EXPECT_TRUE(list.Files(1).empty());
}

TEST(WordListTest, PerFileLimits) {
  WordList list;
  for (int i = 0; i < 100000; ++i) list.AddOccurrence(u"many", 1);
  for (int f = 2; f <= 10005; ++f) list.AddOccurrence(u"many", f);
  list.Finalize();
  const WordEntry& e = list[1];
  EXPECT_EQ(e.Count, 100000 + 10004);
  const std::vector<FileTally> files = list.Files(1);
  EXPECT_EQ(files[0].count, kMaxCountPerFile);
  ASSERT_EQ(files.size(), static_cast<size_t>(kMaxFilesPerEntry));
  EXPECT_EQ(files.back().file_index, kMaxFilesPerEntry);
  EXPECT_EQ(list.FileCount(1), 10005);
}

TEST(WordListTest, SortKeys) {
  const struct {
    Text word;
    Text key;
  } kCases[] = {
      {u"M\u00FCller", u"mueller"}, {u"\u00C9clair", u"eclair"}, {u"\u0152uvre\u00DF", u"oeuvress"},
      {u"\u00F0", u"\u00F0"},       {u"\u0160", u"s"},           {u"plain", u"plain"},
      {u"\u017D", u"\u017E"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(MakeSortKey(c.word), c.key) << TextToUtf8(c.word);
    Bytes key;
    AppendSortKey(EncodeWindows1252(c.word), &key);
    EXPECT_EQ(key, EncodeWindows1252(c.key)) << TextToUtf8(c.word);
  }
}

TEST(WordListTest, EveryEntryGetsTheSortKeyOfItsWord) {
  // Every character, at the start and inside a word, in words that are
  // their own key and words that are not.
  WordList list;
  for (int b = 1; b < 256; ++b) {
    const std::string c(1, static_cast<char>(b));
    for (const std::string& w : {c, "x" + c + "y", c + "\xDF" + c}) list.AddOccurrence(w, 0);
  }
  list.Finalize();
  for (int64_t i = 1; i <= list.DistinctCount(); ++i) {
    const Text word = DecodeWindows1252(list.Word(i));
    bool encodable = true;
    for (char16_t c : MakeSortKey(word)) CharToWindows1252(c, &encodable);
    ASSERT_TRUE(encodable) << TextToUtf8(word);
    EXPECT_EQ(DecodeWindows1252(list.SortKey(i)), MakeSortKey(word)) << TextToUtf8(word);
  }
}

TEST(WordListTest, ClearStartsAfresh) {
  WordList list;
  list.AddOccurrence(u"old", 2);
  list.Finalize();
  list.Clear();
  EXPECT_EQ(list.DistinctCount(), 0);
  EXPECT_FALSE(list.finalized());
  EXPECT_TRUE(list.AddOccurrence(u"old", 0));
  EXPECT_FALSE(list.AddOccurrence(u"old", 0));
  list.Finalize();
  EXPECT_EQ(list.FileCount(1), 1);
  EXPECT_EQ(list[1].Count, 2);
}

// `n` words of 1 to 12 characters, with repeats, drawn from the letters of
// both cases and characters whose bytes and codes sort differently.
std::vector<std::string> RandomWords(int n, uint32_t seed) {
  static const std::string kChars =
      std::string("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") + "\x8A" + "\x8E" +
      "\x9F" + "\xC4" + "\xE4" + "\xFE" + "\xFF";
  std::mt19937 rng(seed);
  std::vector<std::string> words;
  for (int k = 0; k < n; ++k) {
    std::string w(1 + rng() % 12, ' ');
    for (char& c : w) c = kChars[rng() % kChars.size()];
    words.push_back(std::move(w));
  }
  return words;
}

// Counts the words into a new table, the k-th word from file k % 3.
void CountInto(WordList* list, const std::vector<std::string>& words) {
  for (size_t k = 0; k < words.size(); ++k) {
    list->AddOccurrence(BytesView(words[k]), static_cast<int32_t>(k % 3));
  }
}

// The entries' words, counts and files, for comparing two tables.
std::vector<std::string> Contents(const WordList& list) {
  std::vector<std::string> out;
  for (int64_t i = 1; i <= list.DistinctCount(); ++i) {
    std::string line(list.Word(i));
    line += " " + std::to_string(list[i].Count) + " " + std::string(list.SortKey(i));
    for (const FileTally& f : list.Files(i)) {
      line += " " + std::to_string(f.file_index) + ":" + std::to_string(f.count);
    }
    out.push_back(std::move(line));
  }
  return out;
}

// Enough words for several sorted runs and their merges.
constexpr int kManyWords = 80000;

TEST(WordListTest, PacedFinalizeLetsEventsRunAndGivesTheSameTable) {
  const std::vector<std::string> words = RandomWords(kManyWords, 1);
  WordList plain;
  CountInto(&plain, words);
  ASSERT_GT(plain.DistinctCount(), 2 * static_cast<int64_t>(kPacedSortRun));
  WordList paced = plain;
  plain.Finalize();

  Pacer pacer;
  int64_t dues = 0;
  pacer.SetThrottle(1, std::chrono::milliseconds(0));
  pacer.SetDue([&dues] { ++dues; });
  paced.Finalize(&pacer);
  EXPECT_GT(dues, paced.DistinctCount());
  EXPECT_EQ(Contents(paced), Contents(plain));

  // The one ordinal order, from the words alone.
  std::vector<std::string> want = words;
  std::sort(want.begin(), want.end(),
            [](const std::string& a, const std::string& b) { return OrdinalLess(a, b); });
  want.erase(std::unique(want.begin(), want.end()), want.end());
  ASSERT_EQ(static_cast<int64_t>(want.size()), paced.DistinctCount());
  for (int64_t i = 1; i <= paced.DistinctCount(); ++i) {
    ASSERT_EQ(paced.Word(i), want[static_cast<size_t>(i - 1)]) << i;
  }
}

}  // namespace
}  // namespace vorn
