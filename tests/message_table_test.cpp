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

TEST(MessageTableTest, RunCaptionsHoldStop) {
  for (int n : {32, 33}) {
    EXPECT_NE(Lower(GetMessageText(n)).find("stop"), std::string::npos) << n;
  }
  EXPECT_NE(GetMessageText(32), GetMessageText(33));
}

TEST(MessageTableTest, EveryUsedNumberHasAText) {
  const int kUsed[] = {1,  19, 20, 21, 22, 23, 24, 26, 27, 28, 29, 31, 32, 33,  34,  35,  36, 37,
                       38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 50, 91, 101, 102, 103, 104};
  for (int n : kUsed) EXPECT_FALSE(GetMessageText(n).empty()) << n;
  for (int n = 51; n <= 64; ++n) EXPECT_FALSE(GetMessageText(n).empty()) << n;
}

TEST(MessageTableTest, DisplayFormatCaptionsAreDistinct) {
  for (int a = 51; a <= 64; ++a) {
    for (int b = a + 1; b <= 64; ++b) EXPECT_NE(GetMessageText(a), GetMessageText(b)) << a << b;
  }
}

TEST(MessageTableTest, TildeAndMissingEntriesAreEmpty) {
  EXPECT_EQ(GetMessageText(25), "");  // held as "~"
  EXPECT_EQ(GetMessageText(30), "");  // held as "~"
  for (int n : {-1, 0, 2, 49, 65, 90, 105, 32767, 100000}) EXPECT_EQ(GetMessageText(n), "") << n;
}

}  // namespace
}  // namespace vorn
