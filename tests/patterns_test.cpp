#include "words/patterns.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/scripted_host.h"

namespace vorn {
namespace {

TEST(PatternsTest, CheckVornRegexpGivesTheFirstVerdictThatApplies) {
  struct Case {
    const char16_t* item;
    int verdict;
  } const kCases[] = {
      {u"colour", 0},         {u"<>", 0},          {u"<a", 0},       {u"<colou?r>", 1},
      {u"<a[.]>", 1},         {u"<a\\(b>", 1},     {u"<a\\.b>", 1},  {u"<a\\$>", 1},
      {u"<[^a]b>", 1},        {u"<[a-z]{2,}>", 1}, {u"<(a)(b)>", 1}, {u"<(a>", -1},
      {u"<(a b>", -1},        {u"<a b>", -2},      {u"<a b.>", -2},  {u"<a.b>", -3},
      {u"<.ab>", -3},         {u"<[a]b.c>", -3},   {u"<^a.$>", -3},  {u"<^colou?r$>", -4},
      {u"<a$>", -5},          {u"<^a>", -6},       {u"<a^b>", -6},   {u"<[a]]>", -7},
      {u"<[[:alpha:]]>", -7}, {u"<a{2}}>", -8},    {u"<((a))>", -9}, {u"<\\((a)>", 1},
  };
  for (const Case& c : kCases) {
    Text inner;
    EXPECT_EQ(CheckVornRegexp(c.item, &inner), c.verdict) << TextToUtf8(c.item);
    const TextView item = c.item;
    if (c.verdict != 0) {
      EXPECT_EQ(inner, item.substr(1, item.size() - 2));
    }
  }
}

TEST(PatternsTest, VerdictsAreShownWhenInadmissibleOrAsked) {
  struct Case {
    int code;
    bool show_always;
    std::string trailer;
    std::string shown;  // "" when nothing is shown
  } const kCases[] = {
      {1, false, "", ""},
      {1, true, "", "<x>\r\nis valid and is VORN-admissible."},
      {-3, false, "Entry ignored.",
       "<x>\r\ncontains an unescaped '.' outside square brackets.\r\n"
       "Perhaps use '[\\S]' instead of '.'.\r\nEntry ignored."},
      {-4, false, "", "<x>\r\nis of the form '^...$' -- not admissible in this program."},
      {-5, false, "",
       "<x>\r\ncontains an unescaped '$' outside square brackets.\r\nPerhaps use '\\$' instead."},
  };
  for (const Case& c : kCases) {
    ScriptedHost host;
    ShowRegexpVerdict(&host, c.code, u"<x>", c.show_always, "Words to ignore", c.trailer);
    if (c.shown.empty()) {
      EXPECT_TRUE(host.calls().empty()) << c.code;
    } else {
      ASSERT_EQ(host.calls().size(), 1u) << c.code;
      EXPECT_EQ(host.calls()[0].title, "Words to ignore");
      EXPECT_EQ(host.calls()[0].text, c.shown);
      EXPECT_EQ(host.calls()[0].icon, Icon::kInformation);
    }
  }
  for (int code = -9; code <= 1; ++code) EXPECT_FALSE(RegexpVerdictText(code).empty()) << code;
}

TEST(PatternsTest, LowerCaseExceptRegexpLeavesExpressionsAlone) {
  EXPECT_EQ(LowerCaseExceptRegexp(u"ABC+<[A-Z]\\D>+D\u00C9F"), u"abc+<[A-Z]\\D>+d\u00E9f");
  EXPECT_EQ(LowerCaseExceptRegexp(u"A<B"), u"a<B");
}

TEST(PatternsTest, MatchEntryByItemKind) {
  struct Case {
    const char16_t* entry;
    const char16_t* text;
    bool case_significant;
    bool match;
  } const kCases[] = {
      // Expressions match anywhere in the word.
      {u"<colou?r>", u"colour", true, true},
      {u"<colou?r>", u"watercolors", true, true},
      {u"<colou?r>", u"colr", true, false},
      {u"<COLOU?R>", u"Colour", false, true},
      {u"<COLOU?R>", u"Colour", true, false},
      {u"<a+>+b", u"aa+b", true, true},
      {u"<a+>+b", u"aa", true, false},
      // Wildcards match the whole word.
      {u"b?t", u"bat", true, true},
      {u"b?t", u"boat", true, false},
      {u"b?t", u"bt", true, false},
      {u"b~t", u"bt", true, true},
      {u"b~t", u"blackout", true, true},
      {u"b~t", u"blackouts", true, false},
      {u"b~~~t", u"boat", true, true},
      {u"B~T", u"bat", false, true},
      {u"B~T", u"bat", true, false},
      {u"\u00C9~", u"\u00E9cole", false, true},
      {u"~", u"anything", true, true},
      {u"?", u"a", true, true},
      {u"?", u"ab", true, false},
      // A word holding a wildcard character matches no wildcard.
      {u"b~t", u"b~t", true, false},
      {u"~", u"a?b", true, false},
      // Other characters of a wildcard keep their meaning in expressions.
      {u"e.g~", u"exgs", true, true},
      {u"[bc]at~", u"cats", true, true},
      {u"a(~", u"a(b", true, false},
      // Literals match only themselves, whatever the case flag.
      {u"e.g", u"e.g", true, true},
      {u"e.g", u"eeg", true, false},
      {u"e.g", u"E.g", false, false},
      // Phrases: as many words as items.
      {u"o~+l~", u"old+lace", true, true},
      {u"o~+l~", u"old", true, false},
      {u"~+~", u"a+b", true, true},
      {u"~", u"a+b", true, false},
      {u"old+<l.c>", u"old+lace", true, true},
  };
  PatternMatcher matcher;
  for (const Case& c : kCases) {
    EXPECT_EQ(MatchEntry(c.text, c.entry, c.case_significant, &matcher), c.match)
        << TextToUtf8(c.entry) << " / " << TextToUtf8(c.text);
  }
  EXPECT_FALSE(matcher.has_problem());
}

// Wildcards of characters that mean themselves are matched without an
// expression; the same wildcard with "\E" (which an expression ignores) goes
// through the expression, and both must agree.
TEST(PatternsTest, WildcardsAgreeWithTheirExpressions) {
  std::mt19937 rng(11);
  PatternMatcher matcher;
  for (int n = 0; n < 3000; ++n) {
    Text entry;
    for (size_t k = 1 + rng() % 5; k > 0; --k) entry += u"ab~?"[rng() % 4];
    if (entry.find_first_of(u"~?") == Text::npos) continue;
    Text word;
    for (size_t k = rng() % 6; k > 0; --k) word += u"abAB"[rng() % 4];
    const bool case_significant = rng() % 2 == 0;
    EXPECT_EQ(MatchEntry(word, entry, case_significant, &matcher),
              MatchEntry(word, entry + u"\\E", case_significant, &matcher))
        << TextToUtf8(entry) << " / " << TextToUtf8(word) << " " << case_significant;
  }
}

TEST(PatternsTest, ProblemsAreRecordedAndReported) {
  struct Case {
    const char16_t* entry;
    const char16_t* text;
    PatternStatus status;
    std::string message;
  } const kCases[] = {
      {u"<(a>", u"abc", PatternStatus::kInvalid, "The regular expression\r\n(a\r\nis invalid."},
      // A catastrophic expression runs into the matcher's limits.
      {u"<(\\w+)+\\d>", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaac", PatternStatus::kTooComplex,
       "The regular expression\r\n(\\w+)+\\d\r\nneeds too much work to match a word."},
      // Not met when an earlier word of the phrase does not match.
      {u"x+<(a>", u"y+abc", PatternStatus::kOk, ""},
      {u"x+<(a>", u"abc", PatternStatus::kOk, ""},
  };
  for (const Case& c : kCases) {
    PatternMatcher matcher;
    EXPECT_FALSE(MatchEntry(c.text, c.entry, false, &matcher)) << TextToUtf8(c.entry);
    EXPECT_EQ(matcher.problem().status, c.status) << TextToUtf8(c.entry);
    EXPECT_EQ(PatternProblemMessage(matcher.problem()), c.message);
    matcher.Reset();
    EXPECT_FALSE(matcher.has_problem());
  }
}

TEST(PatternsTest, ListsStopAtTheFirstMatchOrProblemInTheirOrder) {
  struct Case {
    std::vector<Text> entries;
    bool case_significant;
    const char16_t* word;
    bool match;
    bool problem;
  } const kCases[] = {
      {{u"<(a>", u"abc"}, true, u"abc", false, true},
      {{u"abc", u"<(a>"}, true, u"abc", true, false},
      {{u"x~", u"<(a>", u"abc"}, true, u"abc", false, true},
      {{u"a~", u"<(a>", u"abc"}, true, u"abc", true, false},
      {{u"Colour", u"<ZZ>"}, false, u"COLOUR", true, false},
      {{u"Colour", u"<ZZ>"}, true, u"COLOUR", false, false},
      {{u"OLD+l~"}, false, u"old+LACE", true, false},
      {{}, false, u"abc", false, false},
  };
  for (const Case& c : kCases) {
    PatternMatcher matcher;
    PatternList list;
    list.Build(c.entries, c.case_significant, &matcher);
    EXPECT_EQ(MatchAgainstList(TextView(c.word), list, &matcher), c.match) << TextToUtf8(c.word);
    EXPECT_EQ(matcher.has_problem(), c.problem) << TextToUtf8(c.word);
  }
  PatternMatcher matcher;
  PatternList list;
  list.Build({u"b?t", u"caf\u00E9"}, false, &matcher);
  EXPECT_TRUE(MatchAgainstList(BytesView("CAF\xC9"), list, &matcher));
  EXPECT_TRUE(MatchAgainstList(BytesView("BAT"), list, &matcher));
  EXPECT_FALSE(MatchAgainstList(BytesView("boat"), list, &matcher));
}

TEST(PatternsTest, EachExpressionIsCompiledOncePerRun) {
  const std::vector<Text> entries = {u"<colou?r>",   u"b?t",     u"e.g~",
                                     u"<colou?r>+x", u"literal", u"<colou?r>"};
  PatternMatcher matcher;
  for (int run = 1; run <= 2; ++run) {
    matcher.Reset();
    PatternList list;
    list.Build(entries, false, &matcher);
    int matches = 0;
    for (int n = 0; n < 500; ++n) {
      for (const char16_t* w : {u"colour", u"bat", u"egg", u"none", u"colour+x"}) {
        matches += MatchAgainstList(TextView(w), list, &matcher) ? 1 : 0;
      }
      matches += MatchEntry(u"colour", u"<colou?r>", false, &matcher) ? 1 : 0;
    }
    EXPECT_EQ(matches, 500 * 5);
    // "colou?r" and "^e.g.*$", each once per run.
    EXPECT_EQ(matcher.compilations(), 2u * run);
  }
}

}  // namespace
}  // namespace vorn
