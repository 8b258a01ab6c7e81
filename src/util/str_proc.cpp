#include "util/str_proc.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace vorn {
namespace {

// Decimal places beyond this are not meaningful for any figure VORN shows;
// the limit keeps the formatting buffers bounded.
constexpr int kMaxDecimals = 30;

__extension__ typedef unsigned __int128 Uint128;

uint64_t Magnitude(int64_t n) {
  return n < 0 ? static_cast<uint64_t>(0) - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
}

// Inserts "," between groups of three digits of a run of decimal digits.
std::string GroupDigits(const std::string& digits) {
  std::string out;
  out.reserve(digits.size() + digits.size() / 3);
  const size_t first = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i >= first && (i - first) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return out;
}

// Joins sign, whole digits and decimal digits into the shown form. A value
// that shows as zero carries no minus sign.
std::string Assemble(bool negative, std::string whole, const std::string& frac, bool grouping,
                     bool leading_zero) {
  const bool all_zero = whole.find_first_not_of('0') == std::string::npos &&
                        frac.find_first_not_of('0') == std::string::npos;
  std::string out;
  if (negative && !all_zero) out.push_back('-');
  if (!frac.empty() && !leading_zero && whole == "0") whole.clear();
  out += grouping ? GroupDigits(whole) : whole;
  if (!frac.empty()) {
    out.push_back('.');
    out += frac;
  }
  return out;
}

// Adds one unit in the last place of a string of decimal digits.
void IncrementDigits(std::string* digits) {
  for (size_t i = digits->size(); i-- > 0;) {
    if ((*digits)[i] == '9') {
      (*digits)[i] = '0';
    } else {
      ++(*digits)[i];
      return;
    }
  }
  digits->insert(digits->begin(), '1');
}

// Whether value * 10^decimals lies exactly halfway between two integers.
// value = m * 2^e with m odd; the product is m * 5^d * 2^(e + d), which is
// an odd multiple of 1/2 exactly when e + d = -1.
bool IsExactTie(double value, int decimals) {
  if (value == 0 || !std::isfinite(value)) return false;
  int exp = 0;
  double mant = std::frexp(std::fabs(value), &exp);  // value = mant * 2^exp
  auto m = static_cast<uint64_t>(std::ldexp(mant, 53));
  int e = exp - 53;
  while ((m & 1) == 0) {
    m >>= 1;
    ++e;
  }
  return e + decimals == -1;
}

int64_t Utf8Length(std::string_view s) {
  int64_t n = 0;
  for (char c : s) {
    if ((static_cast<uint8_t>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

}  // namespace

std::string StrForm(int64_t n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }

std::string Trimmed(int64_t n) { return std::to_string(n); }

std::string Grouped(int64_t n) {
  return Assemble(n < 0, std::to_string(Magnitude(n)), "", true, true);
}

std::string FormatFraction(int64_t numerator, int64_t denominator, int decimals, bool grouping,
                           bool leading_zero) {
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  if (denominator == 0) numerator = 0, denominator = 1;
  const bool negative = (numerator < 0) != (denominator < 0);
  const uint64_t a = Magnitude(numerator);
  const uint64_t b = Magnitude(denominator);
  std::string whole = std::to_string(a / b);
  // The remainder stays below b < 2^64, so ten times it fits in 128 bits.
  Uint128 rem = a % b;
  std::string frac;
  frac.reserve(decimals);
  for (int i = 0; i < decimals; ++i) {
    rem *= 10;
    frac.push_back(static_cast<char>('0' + static_cast<int>(rem / b)));
    rem %= b;
  }
  if (rem * 2 >= b) {
    std::string digits = whole + frac;
    IncrementDigits(&digits);
    whole = digits.substr(0, digits.size() - frac.size());
    frac = digits.substr(digits.size() - frac.size());
  }
  return Assemble(negative, whole, frac, grouping, leading_zero);
}

std::string FormatFixed(double value, int decimals, bool grouping, bool leading_zero) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  // printf rounds the exact binary value correctly, ties to even; a value
  // exactly halfway is moved one step away from zero so that it rounds up.
  if (IsExactTie(value, decimals)) {
    value = std::nextafter(value, value < 0 ? -HUGE_VAL : HUGE_VAL);
  }
  const int size = std::snprintf(nullptr, 0, "%.*f", decimals, std::fabs(value));
  if (size <= 0) return "";
  std::string buf(static_cast<size_t>(size) + 1, '\0');
  std::snprintf(buf.data(), buf.size(), "%.*f", decimals, std::fabs(value));
  buf.resize(static_cast<size_t>(size));
  const size_t point = buf.find('.');
  std::string whole = point == std::string::npos ? buf : buf.substr(0, point);
  std::string frac = point == std::string::npos ? "" : buf.substr(point + 1);
  return Assemble(std::signbit(value), whole, frac, grouping, leading_zero);
}

Text RightJustify(TextView s, int64_t width) {
  Text out;
  AppendRightJustified(&out, s, width);
  return out;
}

void AppendRightJustified(Text* out, TextView s, int64_t width) {
  const auto len = static_cast<int64_t>(s.size());
  if (len < width) out->append(static_cast<size_t>(width - len), u' ');
  *out += s;
}

std::string RightJustify(std::string_view s, int64_t width) {
  const int64_t len = Utf8Length(s);
  if (len >= width) return std::string(s);
  std::string out(static_cast<size_t>(width - len), ' ');
  out += s;
  return out;
}

TextView TrimSpaces(TextView s) {
  const size_t first = s.find_first_not_of(u' ');
  if (first == TextView::npos) return TextView();
  const size_t last = s.find_last_not_of(u' ');
  return s.substr(first, last - first + 1);
}

TextView TrimTrailingSpaces(TextView s) {
  const size_t last = s.find_last_not_of(u' ');
  if (last == TextView::npos) return TextView();
  return s.substr(0, last + 1);
}

std::string_view TrimSpaces(std::string_view s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::string_view();
  const size_t last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

std::string SafeLeft(std::string_view s, int64_t n) {
  if (n <= 0) return "";
  // Counts characters, not bytes, so that a multi-byte character is never cut.
  int64_t seen = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<uint8_t>(s[i]) & 0xC0) != 0x80) {
      if (seen == n) return std::string(s.substr(0, i));
      ++seen;
    }
  }
  return std::string(s);
}

void StripTrailingBackslashes(std::string* path) {
  while (path->size() >= 2 && path->back() == '/') path->pop_back();
}

std::string NumberInWords(int64_t n) {
  static constexpr const char* kSmall[] = {
      "No",       "One",     "Two",     "Three",     "Four",     "Five",     "Six",
      "Seven",    "Eight",   "Nine",    "Ten",       "Eleven",   "Twelve",   "Thirteen",
      "Fourteen", "Fifteen", "Sixteen", "Seventeen", "Eighteen", "Nineteen", "Twenty"};
  static constexpr const char* kTens[] = {"",      "",      "Twenty",  "Thirty", "Forty",
                                          "Fifty", "Sixty", "Seventy", "Eighty", "Ninety"};
  if (n >= 0 && n <= 20) return kSmall[n];
  if (n > 20 && n <= 99) {
    std::string out = kTens[n / 10];
    if (n % 10 != 0) out += " " + AsciiLower(kSmall[n % 10]);
    return out;
  }
  return Grouped(n);
}

std::string FormatElapsed(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  const int64_t s = seconds % 60;
  const int64_t m = seconds / 60;
  const std::string seconds_part = std::to_string(s) + "s";
  if (m == 0) return seconds_part;
  const int64_t d = m / 1440;
  const int64_t r = m % 1440;
  std::string out;
  if (d > 0) out = std::to_string(d) + "d ";
  out += std::to_string(r / 60) + "h " + std::to_string(r % 60) + "m";
  if (s > 0) out += " " + seconds_part;
  if (out.rfind("0h ", 0) == 0) out.erase(0, 3);
  return out;
}

std::string FormatByteSize(int64_t n) {
  if (n < 1024) return std::to_string(n) + " bytes";
  if (n < 1048576) return FormatFraction(n, 1024, 2, true) + " Kb";
  return FormatFraction(n, 1048576, 2, true) + " Mb";
}

namespace {

std::string SizeLine(const char* prefix, int64_t n) {
  if (n < 10000) return prefix + Grouped(n) + " bytes";
  if (n < 1048576) return prefix + FormatFraction(n, 1024, 2, false) + " Kb";
  return prefix + FormatFraction(n, 1048576, 2, false) + " Mb";
}

}  // namespace

std::string FormatFileSizeLine(int64_t n) { return SizeLine("Filesize: ", n); }

std::string FormatTextSizeLine(int64_t n) { return SizeLine("Text: ", n); }

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string_view TrimBlanksAndTabs(std::string_view s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

}  // namespace vorn
