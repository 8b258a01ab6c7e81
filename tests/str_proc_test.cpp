#include "util/str_proc.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace vorn {
namespace {

TEST(StrProcTest, NumberForms) {
  EXPECT_EQ(StrForm(5), " 5");
  EXPECT_EQ(StrForm(0), " 0");
  EXPECT_EQ(StrForm(-5), "-5");
  EXPECT_EQ(Trimmed(5), "5");
  EXPECT_EQ(Trimmed(-12), "-12");
  struct Case {
    int64_t in;
    const char* want;
  };
  const Case kCases[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1,000"},
      {12345, "12,345"},
      {123456, "123,456"},
      {1234567, "1,234,567"},
      {-1234, "-1,234"},
      {-999, "-999"},
      {std::numeric_limits<int64_t>::min(), "-9,223,372,036,854,775,808"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Grouped(c.in), c.want) << c.in;
}

TEST(StrProcTest, FormatFractionRoundsHalfAwayFromZeroExactly) {
  struct Case {
    int64_t num;
    int64_t den;
    int decimals;
    bool grouping;
    bool leading_zero;
    const char* want;
  };
  const Case kCases[] = {
      {100, 8, 2, true, true, "12.50"},  // 1 of 8 as a percentage
      {100, 8, 0, true, true, "13"},     // the same with no decimals
      {1, 8, 2, true, true, "0.13"},     // 0.125
      {1, 8, 2, true, false, ".13"},
      {1, 2, 0, true, true, "1"},
      {3, 2, 0, true, true, "2"},
      {5, 2, 0, true, true, "3"},  // ties never go to even
      {-1, 8, 2, true, true, "-0.13"},
      {1, -8, 2, true, true, "-0.13"},
      {-1, -8, 2, true, true, "0.13"},
      {-1, 1000, 2, true, true, "0.00"},  // no "-0.00"
      {1, 3, 2, true, true, "0.33"},
      {2, 3, 2, true, true, "0.67"},
      {2, 3, 0, true, true, "1"},
      {999, 1000, 2, true, true, "1.00"},  // carry into the whole part
      {9999995, 10000, 2, true, true, "1,000.00"},
      {9999995, 10000, 2, false, true, "1000.00"},
      {1234567, 1, 2, true, true, "1,234,567.00"},
      {1, 4, 2, true, false, ".25"},
      {0, 5, 2, true, false, ".00"},
      {0, 5, 0, true, false, "0"},
      {2048, 1024, 2, true, true, "2.00"},
      {std::numeric_limits<int64_t>::max(), 3, 2, true, true, "3,074,457,345,618,258,602.33"},
      {std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::min(), 2, true, true,
       "1.00"},
      {std::numeric_limits<int64_t>::max() - 1, std::numeric_limits<int64_t>::max(), 2, true, true,
       "1.00"},
      {5, 0, 2, true, true, "0.00"},  // a zero denominator gives zero
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(FormatFraction(c.num, c.den, c.decimals, c.grouping, c.leading_zero), c.want)
        << c.num << "/" << c.den << " with " << c.decimals;
  }
}

TEST(StrProcTest, FormatFixedRoundsHalfAwayFromZeroOnTheDoublesValue) {
  struct Case {
    double in;
    int decimals;
    bool grouping;
    bool leading_zero;
    const char* want;
  };
  const Case kCases[] = {
      {0.125, 2, true, true, "0.13"},  // exactly halfway: away from zero
      {-0.125, 2, true, true, "-0.13"},
      {0.375, 2, true, true, "0.38"},
      {2.5, 0, true, true, "3"},
      {0.5, 0, true, true, "1"},
      {1.5, 0, true, true, "2"},
      {-2.5, 0, true, true, "-3"},
      {2.675, 2, true, true, "2.67"},  // the double lies below the half
      {1.005, 2, true, true, "1.00"},
      {0.30103, 4, false, false, ".3010"},  // a log column
      {0.0, 4, false, false, ".0000"},
      {-0.0, 2, true, true, "0.00"},
      {-0.001, 2, true, true, "0.00"},
      {1234567.891, 2, true, true, "1,234,567.89"},
      {1234567.891, 2, false, true, "1234567.89"},
      {12.5, 2, true, true, "12.50"},
      {0.6666666, 3, true, true, "0.667"},
      {99.995, 2, true, true, "100.00"},  // 99.99500000000000454... as a double
      {0.45, 1, true, true, "0.5"},       // 0.450000000000000011...
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(FormatFixed(c.in, c.decimals, c.grouping, c.leading_zero), c.want)
        << c.in << " with " << c.decimals;
  }
}

TEST(StrProcTest, FormatFixedHandlesNonFiniteValues) {
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 2, true), "NaN");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 2, true), "Infinity");
  EXPECT_EQ(FormatFixed(-std::numeric_limits<double>::infinity(), 2, true), "-Infinity");
  EXPECT_EQ(FormatFixed(1.0, -3, true), "1");
}

TEST(StrProcTest, JustifiesAndPads) {
  EXPECT_EQ(RightJustify(TextView(u"Rank"), 8), u"    Rank");
  EXPECT_EQ(RightJustify(TextView(u"toolong"), 3), u"toolong");
  EXPECT_EQ(RightJustify(TextView(u"x"), -1), u"x");
  EXPECT_EQ(RightJustify(std::string_view("12"), 5), "   12");
  EXPECT_EQ(RightJustify(std::string_view("\xC3\xA9"), 3), "  \xC3\xA9");  // one character
  EXPECT_EQ(RightJustify(std::string_view("123456"), 5), "123456");
  EXPECT_EQ(PadRight(u"Word", 8), u"Word    ");
  EXPECT_EQ(PadRight(u"Word", 2), u"Word");
}

TEST(StrProcTest, TrimsBlanksOnly) {
  EXPECT_EQ(TrimSpaces(TextView(u"  a b  ")), u"a b");
  EXPECT_EQ(TrimSpaces(TextView(u"   ")), u"");
  EXPECT_EQ(TrimSpaces(TextView(u"\ta\t")), u"\ta\t");
  EXPECT_EQ(TrimTrailingSpaces(TextView(u"  a  ")), u"  a");
  EXPECT_EQ(TrimTrailingSpaces(TextView(u"  ")), u"");
  EXPECT_EQ(TrimSpaces(std::string_view(" /tmp/x ")), "/tmp/x");
  EXPECT_EQ(TrimSpaces(std::string_view("")), "");
}

TEST(StrProcTest, SafeLeft) {
  struct Case {
    const char* in;
    int64_t n;
    const char* want;
  };
  const Case kCases[] = {
      {"abcdef", 3, "abc"},
      {"abc", 0, ""},
      {"abc", -2, ""},
      {"abc", 3, "abc"},
      {"abc", 100, "abc"},
      {"", 2, ""},
      {"\xC3\xA9t\xC3\xA9", 2, "\xC3\xA9t"},  // characters, not bytes
  };
  for (const auto& c : kCases) EXPECT_EQ(SafeLeft(c.in, c.n), c.want) << c.in << " " << c.n;
}

TEST(StrProcTest, StripTrailingBackslashesKeepsTheRoot) {
  struct Case {
    const char* in;
    const char* want;
  };
  const Case kCases[] = {
      {"/home/user/docs/", "/home/user/docs"},
      {"/home/user/docs///", "/home/user/docs"},
      {"/home/user/docs", "/home/user/docs"},
      {"/", "/"},
      {"//", "/"},
      {"", ""},
      {"rel/", "rel"},
  };
  for (const auto& c : kCases) {
    std::string path = c.in;
    StripTrailingBackslashes(&path);
    EXPECT_EQ(path, c.want) << c.in;
  }
}

TEST(StrProcTest, NumberInWords) {
  struct Case {
    int64_t in;
    const char* want;
  };
  const Case kCases[] = {
      {0, "No"},           {1, "One"},         {7, "Seven"},      {13, "Thirteen"},
      {20, "Twenty"},      {21, "Twenty one"}, {42, "Forty two"}, {50, "Fifty"},
      {99, "Ninety nine"}, {100, "100"},       {1234, "1,234"},   {1000000, "1,000,000"},
      {-3, "-3"},
  };
  for (const auto& c : kCases) EXPECT_EQ(NumberInWords(c.in), c.want) << c.in;
}

TEST(StrProcTest, FormatElapsed) {
  struct Case {
    int64_t in;
    const char* want;
  };
  const Case kCases[] = {
      {0, "0s"},
      {22, "22s"},
      {59, "59s"},
      {60, "1m"},
      {125, "2m 5s"},
      {3599, "59m 59s"},
      {3600, "1h 0m"},
      {3601, "1h 0m 1s"},
      {4 * 3600 + 32 * 60 + 22, "4h 32m 22s"},
      {24 * 3600, "1d 0h 0m"},
      {25 * 3600, "1d 1h 0m"},
      {24 * 3600 + 5 * 60 + 7, "1d 0h 5m 7s"},
      {-5, "0s"},
  };
  for (const auto& c : kCases) EXPECT_EQ(FormatElapsed(c.in), c.want) << c.in;
}

TEST(StrProcTest, FormatByteSize) {
  struct Case {
    int64_t in;
    const char* want;
  };
  const Case kCases[] = {
      {0, "0 bytes"},           {1000, "1000 bytes"},
      {1023, "1023 bytes"},     {1024, "1.00 Kb"},
      {2048, "2.00 Kb"},        {1536, "1.50 Kb"},
      {1048575, "1,024.00 Kb"}, {1048576, "1.00 Mb"},
      {3 * 1048576, "3.00 Mb"}, {int64_t{2000} * 1048576, "2,000.00 Mb"},
  };
  for (const auto& c : kCases) EXPECT_EQ(FormatByteSize(c.in), c.want) << c.in;
}

TEST(StrProcTest, SizeLines) {
  struct Case {
    int64_t in;
    const char* file_line;
    const char* text_line;
  };
  const Case kCases[] = {
      {5000, "Filesize: 5,000 bytes", "Text: 5,000 bytes"},
      {9999, "Filesize: 9,999 bytes", "Text: 9,999 bytes"},
      {10000, "Filesize: 9.77 Kb", "Text: 9.77 Kb"},
      {10 * 1024, "Filesize: 10.00 Kb", "Text: 10.00 Kb"},
      {1048575, "Filesize: 1024.00 Kb", "Text: 1024.00 Kb"},
      {1048576, "Filesize: 1.00 Mb", "Text: 1.00 Mb"},
      {12 * 1048576 + 524288, "Filesize: 12.50 Mb", "Text: 12.50 Mb"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(FormatFileSizeLine(c.in), c.file_line) << c.in;
    EXPECT_EQ(FormatTextSizeLine(c.in), c.text_line) << c.in;
  }
}

TEST(StrProcTest, AsciiCaseChangesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiLower("DocX.TXT \xC3\x89"), "docx.txt \xC3\x89");
  EXPECT_EQ(AsciiUpper("docx.txt \xC3\xA9"), "DOCX.TXT \xC3\xA9");
}

}  // namespace
}  // namespace vorn
