#include "util/message_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vorn {
namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

TEST(MessageTableTest, FixedTexts) {
  EXPECT_EQ(GetMessageText(1), "VORN");
  EXPECT_EQ(GetMessageText(21), "Count words/phrases");
  EXPECT_EQ(GetMessageText(43), "By frequency");
  EXPECT_EQ(GetMessageText(44), "Alphabetical");
  EXPECT_EQ(GetMessageText(62), "word freq no.files");
  EXPECT_EQ(GetMessageText(63), "word file-list");
  EXPECT_EQ(GetMessageText(64), "word file-list (+ freq)");
  EXPECT_EQ(GetMessageText(91), "VORN Settings");
  EXPECT_EQ(GetMessageText(101), "Make 2-d count array for Excel");
}

TEST(MessageTableTest, CaptionsDifferAndUnusedNumbersAreEmpty) {
  // The display format captions are all there and all differ.
  for (int a = 51; a <= 64; ++a) {
    EXPECT_FALSE(GetMessageText(a).empty()) << a;
    for (int b = a + 1; b <= 64; ++b) EXPECT_NE(GetMessageText(a), GetMessageText(b)) << a << b;
  }
  // The two run captions both offer to stop.
  EXPECT_NE(Lower(GetMessageText(32)).find("stop"), std::string::npos);
  EXPECT_NE(Lower(GetMessageText(33)).find("stop"), std::string::npos);
  EXPECT_NE(GetMessageText(32), GetMessageText(33));
  // Entries held as "~" and numbers outside the table.
  for (int n : {25, 30, -1, 0, 2, 49, 65, 90, 105, 32767, 100000}) {
    EXPECT_EQ(GetMessageText(n), "") << n;
  }
}

}  // namespace
}  // namespace vorn
