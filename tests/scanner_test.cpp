#include "words/scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

std::vector<std::string> Scan(const std::u16string& block, const std::u16string& extra = u"",
                              bool reading_lists = false) {
  Scanner scanner;
  scanner.Configure(extra, reading_lists, NormaliseOptions());
  Collect sink;
  Bytes b = EncodeWindows1252(block);
  scanner.ScanTextBlock(&b, &sink);
  return sink.words;
}

using Words = std::vector<std::string>;

TEST(ScannerTest, SplitsByCharacterClasses) {
  EXPECT_EQ(Scan(u"don't stop-now, 2nd time "), (Words{"don", "stop", "now", "nd", "time"}));
  EXPECT_EQ(Scan(u"don't stop-now, 2nd time ", u"-"), (Words{"don", "stop-now", "nd", "time"}));
  EXPECT_EQ(Scan(u"2nd 1,000 ", u"0123456789"), (Words{"2nd"}));
  EXPECT_EQ(Scan(u"1,000 abc ", u"0123456789,"), (Words{"1,000", "abc"}));
}

TEST(ScannerTest, TheLastCharacterNeverStartsAWord) {
  // Callers append a blank so that a final word is seen.
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  Collect sink;
  Bytes b = "ab e";
  scanner.ScanTextBlock(&b, &sink);
  EXPECT_EQ(sink.words, (Words{"ab"}));
}

TEST(ScannerTest, AngleBrackets) {
  EXPECT_EQ(Scan(u"word<b>more "), (Words{"word", "more"}));
  EXPECT_EQ(Scan(u"xy<>yz "), (Words{"xy<>", "yz"}));
  EXPECT_EQ(Scan(u"foo<[0-9]+> "), (Words{"foo<[0-9]+>"}));
  EXPECT_EQ(Scan(u"foo<a b> "), (Words{"foo"}));
  EXPECT_EQ(Scan(u"foo</b> "), (Words{"foo"}));
}

TEST(ScannerTest, DoubleHyphensSeparateWords) {
  EXPECT_EQ(Scan(u"yes--no ", u"-"), (Words{"yes", "no"}));
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

TEST(ScannerTest, InnerOnlyCharactersNeverBeginOrEndAWord) {
  EXPECT_EQ(Scan(u"-well- 'tis ", u"-'"), (Words{"well", "tis"}));
  EXPECT_EQ(Scan(u"e.g. ", u"."), (Words{"e.g"}));
}

TEST(ScannerTest, ClassifiesByKey) {
  // Š (U+0160) has the key 0x60 and is no word character; š and Ÿ are letters.
  EXPECT_EQ(Scan(u"ab\u0160ef \u0161ab \u0178ab "), (Words{"ab", "ef", "\u0161ab", "\u0178ab"}));
  EXPECT_EQ(Scan(u"ab\u00D7ef "), (Words{"ab", "ef"}));
  EXPECT_EQ(Scan(u"ab\u00D7ef ", u"\u00D7"), (Words{"ab\u00D7ef"}));
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
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  Collect sink;
  scanner.ScanTextBlock(&b, &sink);
  ASSERT_EQ(sink.words.size(), 2u);
  EXPECT_EQ(sink.words[0].size(), 65000u);
  EXPECT_EQ(sink.words[1].size(), 5000u);
}

TEST(ScannerTest, EmptyBracketsDoNotTakeAWordPast65000) {
  // "<>" belongs to the word it follows, but not beyond the word's limit.
  Bytes b(64999, 'a');
  b += "<> ";
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  Collect sink;
  scanner.ScanTextBlock(&b, &sink);
  ASSERT_EQ(sink.words.size(), 1u);
  EXPECT_EQ(sink.words[0].size(), 65000u);
  EXPECT_EQ(sink.words[0].substr(64990), "aaaaaaaaa<");
}

TEST(ScannerTest, HandsOnNormalisedWords) {
  Scanner scanner;
  NormaliseOptions o;
  o.drop_final_s = true;
  o.convert_final_ies = true;
  scanner.Configure(u"", false, o);
  Collect sink;
  Bytes b = "cats babies cat ";
  scanner.ScanTextBlock(&b, &sink);
  EXPECT_EQ(sink.words, (Words{"cat", "baby", "cat"}));
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
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  Collect sink;
  scanner.ScanTextBlock(&b, &sink);
  EXPECT_FALSE(sink.words.empty());
}

}  // namespace
}  // namespace vorn
