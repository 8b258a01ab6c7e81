#include "counting/word_list.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

TEST(WordListTest, FinalizeGivesOrdinalOrder) {
  WordList list;
  for (const char16_t* w : {u"b", u"a", u"c", u"a", u"Zebra", u"apple"}) list.AddOccurrence(w, 0);
  list.Finalize();
  ASSERT_EQ(list.DistinctCount(), 5);
  EXPECT_EQ(list[1].Word, u"Zebra");
  EXPECT_EQ(list[2].Word, u"a");
  EXPECT_EQ(list[2].Count, 2);
  EXPECT_EQ(list[3].Word, u"apple");
  EXPECT_EQ(list[5].Word, u"c");
}

TEST(WordListTest, OrdinalOrderIsThatOfTheCharacterCodes) {
  // Ÿ is U+0178 (byte 0x9F) and sorts after ÿ, U+00FF (byte 0xFF).
  WordList list;
  list.AddOccurrence(u"\u0178ves", 0);
  list.AddOccurrence(u"\u00FFves", 0);
  list.AddOccurrence(u"zebra", 0);
  list.Finalize();
  EXPECT_EQ(list[1].Word, u"zebra");
  EXPECT_EQ(list[2].Word, u"\u00FFves");
  EXPECT_EQ(list[3].Word, u"\u0178ves");
}

TEST(WordListTest, GrowsPastManyEntries) {
  WordList list;
  for (int i = 0; i < 5001; ++i) list.AddOccurrence(T("w" + std::to_string(i)), 0);
  for (int i = 0; i < 5001; ++i) list.AddOccurrence(T("w" + std::to_string(i)), 0);
  EXPECT_EQ(list.DistinctCount(), 5001);
  list.Finalize();
  for (int64_t i = 1; i <= list.DistinctCount(); ++i) EXPECT_EQ(list[i].Count, 2);
}

TEST(WordListTest, PerFileBookkeeping) {
  WordList list;
  list.AddOccurrence(u"word", 1);
  list.AddOccurrence(u"word", 1);
  list.AddOccurrence(u"other", 2);
  list.AddOccurrence(u"word", 3);
  list.Finalize();
  const WordEntry& e = list[2];
  ASSERT_EQ(e.Word, u"word");
  EXPECT_EQ(e.FileCount, 2);
  ASSERT_EQ(e.Files.size(), 2u);
  EXPECT_EQ(e.Files[0].file_index, 1);
  EXPECT_EQ(e.Files[0].count, 2);
  EXPECT_EQ(e.Files[1].file_index, 3);
  EXPECT_EQ(e.Files[1].count, 1);
}

TEST(WordListTest, PerFileLimits) {
  WordList list;
  for (int i = 0; i < 100000; ++i) list.AddOccurrence(u"many", 1);
  for (int f = 2; f <= 10005; ++f) list.AddOccurrence(u"many", f);
  list.Finalize();
  const WordEntry& e = list[1];
  EXPECT_EQ(e.Count, 100000 + 10004);
  EXPECT_EQ(e.Files[0].count, kMaxCountPerFile);
  EXPECT_EQ(e.Files.size(), static_cast<size_t>(kMaxFilesPerEntry));
  EXPECT_EQ(e.FileCount, 10005);
}

TEST(WordListTest, SortKeys) {
  EXPECT_EQ(MakeSortKey(u"M\u00FCller"), u"mueller");
  EXPECT_EQ(MakeSortKey(u"\u00C9clair"), u"eclair");
  EXPECT_EQ(MakeSortKey(u"\u0152uvre\u00DF"), u"oeuvress");
  EXPECT_EQ(MakeSortKey(u"\u00F0"), u"\u00F0");
  EXPECT_EQ(MakeSortKey(u"\u0160"), u"s");
}

}  // namespace
}  // namespace vorn
