#include "util/str_proc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace vorn {
namespace {

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

// Checks f(in) == want for each case; a failure names the input.
template <typename F>
void ExpectEach(F f, const std::vector<std::pair<int64_t, std::string>>& cases) {
  for (const auto& [in, want] : cases) EXPECT_EQ(f(in), want) << in;
}

TEST(StrProcTest, NumberForms) {
  EXPECT_EQ(StrForm(5), " 5");
  EXPECT_EQ(StrForm(-5), "-5");
  EXPECT_EQ(Trimmed(-12), "-12");
  ExpectEach(Grouped, {{0, "0"},
                       {999, "999"},
                       {1000, "1,000"},
                       {1234567, "1,234,567"},
                       {-999, "-999"},
                       {-1234, "-1,234"},
                       {kMin, "-9,223,372,036,854,775,808"}});
}

TEST(StrProcTest, FormatFractionRoundsHalfAwayFromZeroExactly) {
  struct Case {
    int64_t num, den;
    int decimals;
    bool grouping, leading_zero;
    const char* want;
  };
  const Case kCases[] = {{100, 8, 2, true, true, "12.50"},  // 1 of 8 as a percentage
                         {100, 8, 0, true, true, "13"},     // the same with no decimals
                         {1, 8, 2, true, true, "0.13"},     // 0.125
                         {1, 8, 2, true, false, ".13"},
                         {5, 2, 0, true, true, "3"},  // ties never go to even
                         {-1, 8, 2, true, true, "-0.13"},
                         {-1, -8, 2, true, true, "0.13"},
                         {-1, 1000, 2, true, true, "0.00"},   // no "-0.00"
                         {999, 1000, 2, true, true, "1.00"},  // carry into the whole part
                         {9999995, 10000, 2, true, true, "1,000.00"},
                         {9999995, 10000, 2, false, true, "1000.00"},
                         {0, 5, 2, true, false, ".00"},
                         {kMax, 3, 2, true, true, "3,074,457,345,618,258,602.33"},
                         {kMin, kMin, 2, true, true, "1.00"},
                         {kMax - 1, kMax, 2, true, true, "1.00"},
                         {5, 0, 2, true, true, "0.00"}};  // a zero denominator gives zero
  for (const auto& c : kCases) {
    EXPECT_EQ(FormatFraction(c.num, c.den, c.decimals, c.grouping, c.leading_zero), c.want)
        << c.num << "/" << c.den << " with " << c.decimals;
  }
}

TEST(StrProcTest, FormatFixedRoundsHalfAwayFromZeroOnTheDoublesValue) {
  struct Case {
    double in;
    int decimals;
    bool grouping, leading_zero;
    const char* want;
  };
  const Case kCases[] = {{0.125, 2, true, true, "0.13"},  // exactly halfway: away from zero
                         {2.5, 0, true, true, "3"},
                         {-2.5, 0, true, true, "-3"},
                         {2.675, 2, true, true, "2.67"},  // the double lies below the half
                         {1.005, 2, true, true, "1.00"},
                         {0.30103, 4, false, false, ".3010"},  // a log column
                         {-0.0, 2, true, true, "0.00"},
                         {-0.001, 2, true, true, "0.00"},
                         {1234567.891, 2, true, true, "1,234,567.89"},
                         {1234567.891, 2, false, true, "1234567.89"},
                         {99.995, 2, true, true, "100.00"},  // 99.99500000000000454... as a double
                         {0.45, 1, true, true, "0.5"}};      // 0.450000000000000011...
  for (const auto& c : kCases) {
    EXPECT_EQ(FormatFixed(c.in, c.decimals, c.grouping, c.leading_zero), c.want)
        << c.in << " with " << c.decimals;
  }
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2, true), "NaN");
  EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 2, true), "-Infinity");
  EXPECT_EQ(FormatFixed(1.0, -3, true), "1");
}

TEST(StrProcTest, JustifiesPadsTrimsBlanksOnlyAndCutsCharacters) {
  EXPECT_EQ(RightJustify(TextView(u"toolong"), 3), u"toolong");
  EXPECT_EQ(RightJustify(std::string_view("\xC3\xA9"), 3), "  \xC3\xA9");  // one character
  EXPECT_EQ(RightJustify(std::string_view("123456"), 5), "123456");
  EXPECT_EQ(TrimSpaces(TextView(u"  a b  ")), u"a b");
  EXPECT_EQ(TrimSpaces(TextView(u"\ta\t")), u"\ta\t");
  EXPECT_EQ(TrimTrailingSpaces(TextView(u"  a  ")), u"  a");
  EXPECT_EQ(AsciiLower("DocX.TXT \xC3\x89"), "docx.txt \xC3\x89");
  EXPECT_EQ(AsciiUpper("docx.txt \xC3\xA9"), "DOCX.TXT \xC3\xA9");
  EXPECT_EQ(SafeLeft("abcdef", 3), "abc");
  EXPECT_EQ(SafeLeft("abc", -2), "");
  EXPECT_EQ(SafeLeft("abc", 100), "abc");
  EXPECT_EQ(SafeLeft("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");  // characters, not bytes
}

TEST(StrProcTest, StripTrailingBackslashesKeepsTheRoot) {
  const char* const kCases[][2] = {{"/home/user/docs///", "/home/user/docs"},
                                   {"/", "/"},
                                   {"//", "/"},
                                   {"", ""},
                                   {"rel/", "rel"}};
  for (const auto& c : kCases) {
    std::string path = c[0];
    StripTrailingBackslashes(&path);
    EXPECT_EQ(path, c[1]) << c[0];
  }
}

TEST(StrProcTest, NumberInWords) {
  ExpectEach(NumberInWords, {{0, "No"},
                             {13, "Thirteen"},
                             {21, "Twenty one"},
                             {99, "Ninety nine"},
                             {100, "100"},
                             {1234, "1,234"},
                             {-3, "-3"}});
}

TEST(StrProcTest, FormatElapsed) {
  ExpectEach(FormatElapsed, {{0, "0s"},
                             {60, "1m"},
                             {125, "2m 5s"},
                             {3601, "1h 0m 1s"},
                             {4 * 3600 + 32 * 60 + 22, "4h 32m 22s"},
                             {24 * 3600, "1d 0h 0m"},
                             {24 * 3600 + 5 * 60 + 7, "1d 0h 5m 7s"},
                             {-5, "0s"}});
}

TEST(StrProcTest, SizeTexts) {
  ExpectEach(FormatByteSize, {{1023, "1023 bytes"},
                              {1024, "1.00 Kb"},
                              {1048575, "1,024.00 Kb"},
                              {1048576, "1.00 Mb"},
                              {int64_t{2000} * 1048576, "2,000.00 Mb"}});
  ExpectEach(FormatFileSizeLine, {{9999, "Filesize: 9,999 bytes"},
                                  {10000, "Filesize: 9.77 Kb"},
                                  {1048575, "Filesize: 1024.00 Kb"},
                                  {12 * 1048576 + 524288, "Filesize: 12.50 Mb"}});
  ExpectEach(
      FormatTextSizeLine,
      {{9999, "Text: 9,999 bytes"}, {10000, "Text: 9.77 Kb"}, {1048575, "Text: 1024.00 Kb"}});
}

}  // namespace
}  // namespace vorn
