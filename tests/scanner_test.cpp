#include "words/scanner.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "support/scan_pieces.h"
#include "words/reg_exp.h"

namespace vorn {
namespace {

class Collect : public ScanSink {
 public:
  bool OnWord(BytesView word) override {
    words.push_back(TextToUtf8(DecodeWindows1252(word)));
    return false;
  }
  bool Yield() override { return false; }
  std::vector<std::string> words;
};

// The words of a block of Windows-1252 bytes.
std::vector<std::string> ScanBytes(Bytes b, std::u16string_view extra = u"",
                                   bool reading_lists = false) {
  Scanner scanner;
  scanner.Configure(extra, reading_lists, NormaliseOptions());
  Collect sink;
  scanner.ScanTextBlock(&b, &sink);
  return sink.words;
}

std::vector<std::string> Scan(const std::u16string& block, const std::u16string& extra = u"",
                              bool reading_lists = false) {
  return ScanBytes(EncodeWindows1252(block), extra, reading_lists);
}

using Words = std::vector<std::string>;

TEST(ScannerTest, WordsOfABlock) {
  // A bracket too far away to belong to the word before it.
  std::u16string far;
  for (int i = 0; i < 600; ++i) far += u"xy";
  struct Case {
    std::u16string text;
    std::u16string extra;
    Words words;
  };
  const Case kCases[] = {
      // Character classes and the user's extra characters.
      {u"don't stop-now, 2nd time ", u"", {"don", "stop", "now", "nd", "time"}},
      {u"don't stop-now, 2nd time ", u"-", {"don", "stop-now", "nd", "time"}},
      {u"2nd 1,000 ", u"0123456789", {"2nd"}},
      {u"1,000 abc ", u"0123456789,", {"1,000", "abc"}},
      // Callers append a blank: the last character never starts a word.
      {u"ab e", u"", {"ab"}},
      // Characters that may only stand inside a word.
      {u"-well- 'tis ", u"-'", {"well", "tis"}},
      {u"e.g. ", u".", {"e.g"}},
      {u"yes--no ", u"-", {"yes", "no"}},
      // Classified by key: Š (U+0160) has the key 0x60 and is no word
      // character; š and Ÿ are letters.
      {u"ab\u0160ef \u0161ab \u0178ab ", u"", {"ab", "ef", "\u0161ab", "\u0178ab"}},
      {u"ab\u00D7ef ", u"", {"ab", "ef"}},
      {u"ab\u00D7ef ", u"\u00D7", {"ab\u00D7ef"}},
      {u"tab\tword ", u"\t", {"tab\tword"}},
      // Angle brackets: tags go, expressions and "<>" stay with their word.
      {u"word<b>more ", u"", {"word", "more"}},
      {u"xy<>yz ", u"", {"xy<>", "yz"}},
      {u"foo<[0-9]+> ", u"", {"foo<[0-9]+>"}},
      {u"foo<a b> ", u"", {"foo"}},
      {u"foo</b> ", u"", {"foo"}},
      {u"ab<c.d> ", u"", {"ab<c.d>"}},
      {u"ab<ef." + far + u"> ", u"", {"ab", "ef", TextToUtf8(far)}},
  };
  for (const Case& c : kCases) EXPECT_EQ(Scan(c.text, c.extra), c.words) << TextToUtf8(c.text);
}

TEST(ScannerTest, WordsOfAWordsFile) {
  // While a words file is read, a "<" may begin a word (a pattern), and
  // double hyphens stay; a "<" that begins no word is passed over.
  struct Case {
    std::u16string text;
    std::u16string extra;
    Words words;
  };
  const Case kCases[] = {
      {u"<colou?r> ", u"", {"<colou?r>"}},
      {u"colo<u?>r <colou?r>s ", u"", {"colo<u?>r", "<colou?r>s"}},
      {u"<abc> ", u"", {"abc"}},
      {u"< ", u"", {}},
      {u"</ ", u"", {}},
      {u"<< <", u"", {}},
      {u"<ab yz> ", u"", {"ab", "yz"}},
      {u"</ab> ", u"", {"ab"}},
      {u"<> ", u"", {"<>"}},
      {u"yes--no ", u"-", {"yes--no"}},
      // Tabs become blanks, even where a tab is a word character.
      {u"tab\tword ", u"\t", {"tab", "word"}},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Scan(c.text, c.extra, true), c.words) << TextToUtf8(c.text);
  }
}

TEST(ScannerTest, DoubleHyphensAreBlanked) {
  Bytes b = "<!-- c --> a--b ";
  BlankDoubleHyphens(&b);
  EXPECT_EQ(b, "<!-- c --> a  b ");
  Bytes start = "--ab";
  BlankDoubleHyphens(&start);
  EXPECT_EQ(start, "--ab");
}

TEST(ScannerTest, PrepareBlock) {
  Bytes b =
      "ab\bc\r\nd\xA0"
      "e\tf\x0C";
  PrepareBlock(&b, true);
  EXPECT_EQ(b, "abc d e\tf ");
  PrepareBlock(&b, false);
  EXPECT_EQ(b, "abc d e f ");
}

TEST(ScannerTest, CleansTheUsersExtraCharacters) {
  struct Case {
    std::string in;
    std::string want;
    char forbidden;
  } const kCases[] = {
      {"  #$ ", "#$", 0}, {"#+#;$", "#$", '+'}, {"x<y", "xy", '<'},
      {" ^ ", "", '^'},   {"a a", "a ", 0},     {"", "", 0},
  };
  for (const Case& c : kCases) {
    std::string text = c.in;
    EXPECT_EQ(CleanUserExtraChars(&text), c.forbidden) << c.in;
    EXPECT_EQ(text, c.want) << c.in;
  }
}

TEST(ScannerTest, LongWordsAreCutAt65000) {
  Bytes b;
  for (int i = 0; i < 35000; ++i) b += "ab";
  b += " ";
  const Words words = ScanBytes(b);
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0].size(), 65000u);
  EXPECT_EQ(words[1].size(), 5000u);
}

TEST(ScannerTest, EmptyBracketsDoNotTakeAWordPast65000) {
  // "<>" belongs to the word it follows, but not beyond the word's limit.
  Bytes b(64999, 'a');
  b += "<> ";
  const Words words = ScanBytes(b);
  ASSERT_EQ(words.size(), 1u);
  EXPECT_EQ(words[0].size(), 65000u);
  EXPECT_EQ(words[0].substr(64990), "aaaaaaaaa<");
}

TEST(ScannerTest, StopFlagsTellWhatEndedTheWord) {
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  EXPECT_EQ(scanner.NumAlpha2("ab. ", 0), 2u);
  EXPECT_TRUE(scanner.StoppedAtPeriod());
  EXPECT_EQ(scanner.NumAlpha2("ab\t", 0), 2u);
  EXPECT_TRUE(scanner.StoppedAtTab());
  EXPECT_EQ(scanner.NumAlpha2("ab\"", 0), 2u);
  EXPECT_TRUE(scanner.StoppedAtDoubleQuote());
}

TEST(ScannerTest, ManyBracketsStayLinear) {
  // "a<a<a<...>" would cost a search per "<" if the next ">" were not kept.
  Bytes b;
  for (int i = 0; i < 200000; ++i) b += "ab<";
  b += "> ";
  EXPECT_FALSE(ScanBytes(b).empty());
}

TEST(ScannerTest, LongRunsAreMeasuredInLinearWork) {
  // Each run is cut into words of 65000 characters; measuring one of them
  // must not look along the rest of the run.
  struct Case {
    std::string unit;
    std::u16string extra;
  } const kCases[] = {
      {"ab", u""}, {"ab-", u"-"}, {"ab'", u"'"}, {"ab.", u"."}, {"ab-gh'ef.gh,ij", u"-'.,"},
  };
  constexpr size_t kLength = 2000000;
  for (const Case& c : kCases) {
    Bytes b;
    while (b.size() < kLength) b += c.unit;
    b += " ";
    Scanner scanner;
    scanner.Configure(c.extra, false, NormaliseOptions());
    Collect sink;
    scanner.ScanTextBlock(&b, &sink);
    EXPECT_LE(scanner.measured(), 2 * b.size()) << c.unit;
    size_t total = 0;
    for (const std::string& w : sink.words) {
      EXPECT_LE(w.size(), 65000u) << c.unit;
      total += w.size();
    }
    EXPECT_GE(total, b.size() - 2 * sink.words.size() - 1) << c.unit;  // only ends are trimmed
  }
}

// Scans text whole and in pieces cut at the given places; the words must be
// the same.
Words ScanInPieces(const Bytes& text, const std::vector<size_t>& cuts, std::u16string_view extra) {
  Scanner scanner;
  scanner.Configure(extra, false, NormaliseOptions());
  Collect sink;
  ScanPieces(&scanner, text, cuts, &sink);
  return sink.words;
}

TEST(ScannerTest, ALineInPiecesGivesTheWordsOfTheWholeLine) {
  // Words, long words, "--" and its exceptions, brackets and backspaces
  // around every cut.
  const std::string kUnits[] = {
      "alpha ",     "beta-gamma ", "x--y ", "<!-- c --> ", "a-->b ", "foo<[0-9]+>bar ", "ab\bcd ",
      "tab\tword ", "--lead ",     "z-",    "-",           "q<>r ",  "w<b>m "};
  Bytes text;
  for (int i = 0; text.size() < 400000; ++i) {
    text += kUnits[(i * 7 + i / 13) % std::size(kUnits)];
    if (i % 5000 == 0) text += std::string(70000, 'l');  // a word longer than the limit
  }
  const Words whole = ScanBytes(text + " ", u"-");
  ASSERT_GT(whole.size(), 1000u);
  const std::vector<std::vector<size_t>> kCuts = {
      {1},
      {2, 3, 4, 5},
      {70000, 70001, 140003},
      {100000, 200000, 300000},
      {Scanner::kLookahead, 2 * Scanner::kLookahead + 1, 399999},
  };
  for (const auto& cuts : kCuts) {
    EXPECT_EQ(ScanInPieces(text, cuts, u"-"), whole) << cuts.front();
  }
  // Every place around a "--" and a bracket.
  for (size_t at = 199990; at < 200030; ++at) {
    EXPECT_EQ(ScanInPieces(text, {at}, u"-"), whole) << at;
  }
}

TEST(ScannerTest, BracketsAreJudgedWithoutCompilingEachOne) {
  // Seven distinct expressions repeated, and runs of "<(" whose every
  // suffix is a distinct text that is no expression.
  Bytes b;
  for (int i = 0; i < 20000; ++i) b += "wo<rd[0-9]" + std::to_string(i % 7) + ">x ";
  for (int i = 0; i < 200; ++i) {
    for (int k = 0; k < 100; ++k)
      b += std::string(1, static_cast<char>('a' + (i + k) % 26)) + "b<(";
    b += "> ";
  }
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  Collect sink;
  const uint64_t before = RegExpCompilations();
  scanner.ScanTextBlock(&b, &sink);
  EXPECT_EQ(RegExpCompilations() - before, 7u);
  EXPECT_EQ(sink.words.front(), "wo<rd[0-9]0>x");
}

}  // namespace
}  // namespace vorn
