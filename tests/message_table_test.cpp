#include "util/message_table.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

TEST(MessageTableTest, CaptionsDifferAndUnusedNumbersAreEmpty) {
  // The display format captions are all there and all differ.
  for (int a = 51; a <= 64; ++a) {
    EXPECT_FALSE(GetMessageText(a).empty()) << a;
    for (int b = a + 1; b <= 64; ++b) EXPECT_NE(GetMessageText(a), GetMessageText(b)) << a << b;
  }
  // The run button turns from one caption to the other while a count goes on.
  EXPECT_FALSE(GetMessageText(32).empty());
  EXPECT_NE(GetMessageText(32), GetMessageText(33));
  // Entries held as "~" and numbers outside the table.
  for (int n : {25, 30, -1, 0, 2, 49, 65, 90, 105, 32767, 100000}) {
    EXPECT_EQ(GetMessageText(n), "") << n;
  }
}

}  // namespace
}  // namespace vorn
