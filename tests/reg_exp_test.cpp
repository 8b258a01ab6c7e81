#include "words/reg_exp.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vorn {
namespace {

TEST(RegExpTest, UnbalancedPatternsAreInvalid) {
  struct Case {
    const char* pattern;
    bool unbalanced;
  } const kCases[] = {
      {"<(ab>", true},           {"<ab)>", true},     {"<[ab>", true},   {"<(a)(b>", true},
      {"<[0-9]+>", false},       {"<(a|b)>", false},  {"<\\(a>", false}, {"<[(]>", false},
      {"<[]()]>", false},        {"<[^]()]>", false}, {"<(?#(>", false}, {"<\\Q(\\E>", false},
      {"<[[:alpha:](]>", false}, {"<a\\>", false},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(IsUnbalancedRegExp(c.pattern), c.unbalanced) << c.pattern;
    if (c.unbalanced) {
      EXPECT_FALSE(IsValidRegExp(Utf8ToText(c.pattern))) << c.pattern;
    }
  }
  // Whatever the quick look calls unbalanced, the compiler refuses too.
  std::mt19937 rng(5);
  const std::string kAlphabet = "ab()[]^\\|*+?.{}:Q#x";
  for (int n = 0; n < 20000; ++n) {
    std::string p = "<";
    for (size_t k = rng() % 8; k > 0; --k) p += kAlphabet[rng() % kAlphabet.size()];
    p += ">";
    if (IsUnbalancedRegExp(p)) {
      EXPECT_FALSE(IsValidRegExp(Utf8ToText(p))) << p;
    }
  }
}

}  // namespace
}  // namespace vorn
