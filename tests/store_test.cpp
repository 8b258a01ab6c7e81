#include "util/store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "util/chunked_store.h"

namespace vorn {
namespace {

struct Record {
  int64_t value;
  int64_t twice;
};

bool Holds(const Store<Record>& s, size_t n, int64_t first) {
  if (s.size() != n) return false;
  for (size_t k = 0; k < n; ++k) {
    const int64_t v = first + static_cast<int64_t>(k);
    if (s[k].value != v || s[k].twice != 2 * v) return false;
  }
  return true;
}

TEST(StoreTest, RecordsSurviveGrowingPastTheMappedSizeShrinkingCopyingAndMoving) {
  // 16-byte records: a million of them fill the first mapped block (16 MB);
  // growth goes on by remapping.
  Store<Record> s;
  for (int64_t i = 0; i < 1500000; ++i) s.push_back(Record{i, 2 * i});
  ASSERT_TRUE(Holds(s, 1500000, 0));
  s.EraseFront(1000);
  ASSERT_TRUE(Holds(s, 1499000, 1000));
  s.Truncate(50000);  // below the mapped size: the block shrinks in place
  s.ShrinkToFit();
  ASSERT_TRUE(Holds(s, 50000, 1000));
  s.push_back(Record{51000, 102000});
  ASSERT_TRUE(Holds(s, 50001, 1000));

  Store<Record> copy(s);
  Store<Record> moved(std::move(s));
  EXPECT_TRUE(Holds(copy, 50001, 1000));
  EXPECT_TRUE(Holds(moved, 50001, 1000));
  EXPECT_TRUE(s.empty());  // NOLINT(bugprone-use-after-move): a moved-from store is empty
  copy = moved;
  moved = std::move(copy);
  EXPECT_TRUE(Holds(moved, 50001, 1000));
}

TEST(StoreTest, AssignZerosZeroesOldRecordsAndFreshBlocksAlike) {
  Store<Record> s;
  for (size_t n : {size_t{10}, size_t{1100000}}) {
    // Over records written before (no new block), then into a fresh one.
    s.ResizeUninitialized(n);
    for (size_t k = 0; k < n; ++k) s[k] = Record{7, 7};
    s.AssignZeros(n);
    for (size_t k = 0; k < n; ++k) ASSERT_EQ(s[k].value | s[k].twice, 0) << n << " at " << k;
    s.Release();
    s.AssignZeros(n);
    for (size_t k = 0; k < n; ++k) ASSERT_EQ(s[k].value | s[k].twice, 0) << n << " at " << k;
  }
}

TEST(ChunkedStoreTest, RecordsKeepTheirValuesAndPlacesAcrossChunks) {
  ChunkedStore<Record> s;
  const size_t n = 2 * ChunkedStore<Record>::kChunkRecords + 3;
  for (size_t k = 0; k < n; ++k) {
    const auto v = static_cast<int64_t>(k);
    s.push_back({v, 2 * v});
  }
  const Record* first = &s[0];
  ASSERT_EQ(s.size(), n);
  for (size_t k = 0; k < n; ++k) {
    const auto v = static_cast<int64_t>(k);
    ASSERT_EQ(s[k].value, v) << k;
    ASSERT_EQ(s[k].twice, 2 * v) << k;
  }
  // Growing never moved the first record.
  s.push_back({-1, -2});
  EXPECT_EQ(&s[0], first);
  // A copy holds the same records in records of its own; a moved-from
  // store is empty.
  ChunkedStore<Record> copy = s;
  ASSERT_EQ(copy.size(), n + 1);
  EXPECT_NE(&copy[0], first);
  EXPECT_EQ(copy[n].twice, -2);
  EXPECT_EQ(copy[n - 1].value, static_cast<int64_t>(n - 1));
  ChunkedStore<Record> moved = std::move(copy);
  EXPECT_TRUE(copy.empty());  // NOLINT(bugprone-use-after-move)
  EXPECT_EQ(moved.size(), n + 1);
  s.Release();
  EXPECT_TRUE(s.empty());
  s.push_back({7, 14});
  EXPECT_EQ(s[0].twice, 14);
}

}  // namespace
}  // namespace vorn
