#include "util/store.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

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

}  // namespace
}  // namespace vorn
