// StrProc: number forms, padding and the formatting helpers used in messages,
// labels and listings.
//
// Number forms: the Str form of a number is its decimal digits preceded by
// one blank when it is not negative (" 5", "-5"); the trimmed form has no
// blank. Digit grouping uses "," for thousands and "." for decimals. A number
// shown with a fixed number of decimals is rounded half away from zero on its
// exact value; exact fractions of whole numbers are rounded exactly.
//
// Pure functions; thread-safe.

#ifndef VORN_UTIL_STR_PROC_H_
#define VORN_UTIL_STR_PROC_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "util/text.h"

namespace vorn {

// " 5" for 5, "-5" for -5.
std::string StrForm(int64_t n);
// "5".
std::string Trimmed(int64_t n);
// 12345 -> "12,345".
std::string Grouped(int64_t n);
// numerator / denominator with `decimals` decimals, rounded half away from
// zero on the exact fraction, with or without digit grouping, and with a
// leading zero before the point ("0.50") unless leading_zero is false
// (".50"). A value that shows as zero has no minus sign. At most 30
// decimals are shown. A zero denominator gives the form of 0.
std::string FormatFraction(int64_t numerator, int64_t denominator, int decimals, bool grouping,
                           bool leading_zero = true);
// A double with `decimals` decimals (rounded half away from zero on the
// double's value), with or without grouping and leading zero.
std::string FormatFixed(double value, int decimals, bool grouping, bool leading_zero = true);

// Right-justifies s in a field of `width` characters (padding on the left);
// a longer s is kept whole.
Text RightJustify(TextView s, int64_t width);
std::string RightJustify(std::string_view s, int64_t width);
// As RightJustify, appending the field to *out.
void AppendRightJustified(Text* out, TextView s, int64_t width);

// Removes blanks (U+0020) at both ends / at the end.
TextView TrimSpaces(TextView s);
TextView TrimTrailingSpaces(TextView s);
std::string_view TrimSpaces(std::string_view s);
// Without blanks and tabs at either end, as the window takes what is typed
// into its path boxes.
std::string_view TrimBlanksAndTabs(std::string_view s);

// The first n characters; empty for n <= 0; the whole text when n >= length.
std::string SafeLeft(std::string_view s, int64_t n);

// Drops trailing "/" while the path has at least 2 characters ("/" stays).
void StripTrailingBackslashes(std::string* path);

// "No", "One", ... "Twenty", "Forty two", ..., "1,234".
std::string NumberInWords(int64_t n);

// The compact duration: "0s", "22s", "1m", "2m 5s", "4h 32m 22s", "1d 1h 0m".
std::string FormatElapsed(int64_t seconds);

// "1023 bytes", "2.00 Kb", "3.00 Mb".
std::string FormatByteSize(int64_t n);

// "Filesize: 9,999 bytes", "Filesize: 10.00 Kb", ... (thresholds 10000 and
// 1048576); FormatTextSizeLine has the prefix "Text: ".
std::string FormatFileSizeLine(int64_t n);
std::string FormatTextSizeLine(int64_t n);

// Lower-cased ASCII copy of a UTF-8 string (for extensions and names).
std::string AsciiLower(std::string_view s);
std::string AsciiUpper(std::string_view s);

}  // namespace vorn

#endif  // VORN_UTIL_STR_PROC_H_
