#include "words/scanner.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "support/scan_pieces.h"
#include "support/vector_paths.h"
#include "words/reg_exp.h"
#include "words/simd_text.h"

namespace vorn {
namespace {

// The words of a block as they reach the sink, byte for byte.
class Collect : public ScanSink {
 public:
  bool OnWord(BytesView word) override {
    words.emplace_back(word);
    return false;
  }
  bool Yield() override { return false; }
  std::vector<Bytes> words;
};

// The words of a block of Windows-1252 bytes, as UTF-8.
std::vector<std::string> ScanBytes(Bytes b, std::u16string_view extra = u"",
                                   bool reading_lists = false) {
  Scanner scanner;
  scanner.Configure(extra, reading_lists, NormaliseOptions());
  Collect sink;
  scanner.ScanTextBlock(&b, &sink);
  std::vector<std::string> words;
  for (const Bytes& w : sink.words) words.push_back(TextToUtf8(DecodeWindows1252(w)));
  return words;
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
    bool reading_lists = false;
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
      // While a words file is read, a "<" may begin a word (a pattern), and
      // double hyphens stay; a "<" that begins no word is passed over.
      {u"<colou?r> ", u"", {"<colou?r>"}, true},
      {u"colo<u?>r <colou?r>s ", u"", {"colo<u?>r", "<colou?r>s"}, true},
      {u"<abc> ", u"", {"abc"}, true},
      {u"< ", u"", {}, true},
      {u"</ ", u"", {}, true},
      {u"<< <", u"", {}, true},
      {u"<ab yz> ", u"", {"ab", "yz"}, true},
      {u"</ab> ", u"", {"ab"}, true},
      {u"<> ", u"", {"<>"}, true},
      {u"yes--no ", u"-", {"yes--no"}, true},
      // Tabs become blanks, even where a tab is a word character.
      {u"tab\tword ", u"\t", {"tab", "word"}, true},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Scan(c.text, c.extra, c.reading_lists), c.words)
        << TextToUtf8(c.text) << (c.reading_lists ? " (words file)" : "");
  }
}

TEST(ScannerTest, PrepareBlockAndBlankDoubleHyphens) {
  Bytes hyphens = "<!-- c --> a--b ";
  BlankDoubleHyphens(&hyphens);
  EXPECT_EQ(hyphens, "<!-- c --> a  b ");
  Bytes start = "--ab";
  BlankDoubleHyphens(&start);
  EXPECT_EQ(start, "--ab");
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
  // "<>" belongs to the word it follows, but not beyond the word's limit.
  const Words bracketed = ScanBytes(Bytes(64999, 'a') + "<> ");
  ASSERT_EQ(bracketed.size(), 1u);
  EXPECT_EQ(bracketed[0].size(), 65000u);
  EXPECT_EQ(bracketed[0].substr(64990), "aaaaaaaaa<");
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

bool IsInnerOnlyChar(char c) { return Bytes("'.,()+-").find(c) != Bytes::npos; }

// The scan of a whole block done one byte at a time, as the scanner did it
// before it read runs of word characters from a bitmap: each word measured
// by NumAlpha2, trimmed of inner-only characters at its end and normalised.
std::vector<Bytes> ReferenceScan(Bytes b, std::u16string_view extra, bool reading_lists,
                                 const NormaliseOptions& options) {
  // The preparation, byte by byte.
  const bool keep_tabs = !reading_lists;
  Bytes prepared;
  for (size_t i = 0; i < b.size(); ++i) {
    const uint8_t c = static_cast<uint8_t>(b[i]);
    if (c == 8) continue;
    if (c == '\r' && i + 1 < b.size() && b[i + 1] == '\n') {
      prepared += ' ';
      ++i;
    } else if (c == '\n' || c == 12 || c == '\r' || c == 0xA0 || (c == '\t' && !keep_tabs)) {
      prepared += ' ';
    } else {
      prepared += b[i];
    }
  }
  b = prepared;
  if (!reading_lists) BlankDoubleHyphens(&b);
  Scanner measure;
  measure.Configure(extra, reading_lists, options);
  NormaliseOptions opts = options;
  opts.reading_word_lists = reading_lists;
  const bool changes = NormaliseChangesWords(opts);
  std::vector<Bytes> words;
  const size_t len = b.size();
  size_t pos = 0;
  while (pos + 1 < len) {
    const char c = b[pos];
    size_t n = 0;
    if (measure.classes().IsStart(c) || (c == '<' && reading_lists)) n = measure.NumAlpha2(b, pos);
    if (n != 0) {
      size_t end = pos + n;
      while (end > pos && IsInnerOnlyChar(b[end - 1])) --end;
      Bytes word = b.substr(pos, end - pos);
      pos += n;
      if (word.empty()) continue;
      if (!changes) {
        if (!IsDiscarded(word, opts)) words.push_back(word);
      } else if (NormaliseWord(&word, opts)) {
        words.push_back(word);
      }
      continue;
    }
    ++pos;
    while (pos < len && b[pos] == ' ') ++pos;
  }
  return words;
}

// A line of text with the characters that make scanning hard: words of
// both cases and above 127, every kind of break and blank, hyphens,
// brackets and comments, control characters and bytes of any value.
Bytes GeneratedLine(std::mt19937* rng) {
  static const char* const kPieces[] = {
      " ",     " ",    " ",        "  ",          ", ",   ". ",   "-",         "--",    "---",
      "'",     "\t",   "\r",       "\n",          "\r\n", "\b",   "\x0C",      "\xA0",  "<",
      ">",     "<>",   "<[0-9]+>", "<a b>",       "</b>", "<b>",  "<colou?r>", "<!-- ", " -->",
      "/*",    "*/",   "//",       "&amp;",       "(",    ")",    "+",         "1",     "2nd",
      "1,000", "@",    "_",        ":",           "\\",   "/",    "\xD7",      "\xF7",  "\x8A",
      "\x9F",  "\xC0", "\xDE",     "\xDF",        "\xFF", "\x80", "\x9A",      "don't", "e.g.",
      "I",     "II",   "MCM",      "mississippi", "aaaa", "nn"};
  std::uniform_int_distribution<int> percent(0, 99);
  Bytes line;
  const size_t target = (*rng)() % 400;
  while (line.size() < target) {
    const int p = percent(*rng);
    if (p < 45) {
      const size_t n = 1 + (*rng)() % 12;
      for (size_t i = 0; i < n; ++i) {
        const int q = percent(*rng);
        if (q < 75) {
          line += static_cast<char>('a' + (*rng)() % 26);
        } else if (q < 90) {
          line += static_cast<char>('A' + (*rng)() % 26);
        } else {
          line += static_cast<char>(0xC0 + (*rng)() % 64);
        }
      }
    } else if (p < 95) {
      line += kPieces[(*rng)() % std::size(kPieces)];
    } else {
      line += static_cast<char>((*rng)() % 256);
    }
  }
  return line;
}

struct ScanSetting {
  std::u16string extra;
  bool reading_lists;
  NormaliseOptions options;
};

std::vector<ScanSetting> ScanSettings() {
  NormaliseOptions plain;
  NormaliseOptions changing;
  changing.convert_final_ies = true;
  changing.drop_final_s = true;
  changing.allow_apostrophes = true;
  return {
      {u"", false, plain},
      {u"-'\u2018", false, plain},
      {u"-'\u2018_:\\/.@0123456789()&,", false, changing},
      {u"\u00D7\u00F7\t0123456789", false, plain},
      {u"-", true, plain},
  };
}

// Tests that scan on each path in turn.
using ScannerPathsTest = VectorPathsTest;

TEST_F(ScannerPathsTest, EveryPathHandsOnTheWordsOfTheByteLoop) {
  const std::vector<std::string> paths = VectorPathNames();
  std::mt19937 rng(31337);
  std::vector<Bytes> lines;
  for (int i = 0; i < 400; ++i) lines.push_back(GeneratedLine(&rng) + " ");
  // Runs about the word's limit of 65000 characters, some ended by "<".
  for (size_t n : {64990u, 64999u, 65000u, 65001u, 65063u, 65064u, 65065u, 130001u}) {
    lines.push_back(Bytes(n, 'a') + " x ");
    lines.push_back("b " + Bytes(n, 'a') + "<>z ");
    lines.push_back(Bytes(n - 10, 'a') + "<[0-9]+>" + Bytes(20, 'b') + " ");
  }
  for (const ScanSetting& setting : ScanSettings()) {
    for (size_t i = 0; i < lines.size(); ++i) {
      const std::vector<Bytes> want =
          ReferenceScan(lines[i], setting.extra, setting.reading_lists, setting.options);
      for (const std::string& path : paths) {
        SetVectorPath(path);
        Scanner scanner;
        scanner.Configure(setting.extra, setting.reading_lists, setting.options);
        Collect sink;
        Bytes block = lines[i];
        scanner.ScanTextBlock(&block, &sink);
        ASSERT_EQ(sink.words, want) << path << " line " << i;
      }
    }
  }
}

TEST_F(ScannerPathsTest, EveryPathScansPiecesAndCommentsAlike) {
  // Lines in pieces, with comment markers and as markup: each path hands
  // on the words of the plain loops.
  const std::vector<std::string> paths = VectorPathNames();
  std::mt19937 rng(8086);
  for (int i = 0; i < 300; ++i) {
    Bytes text;
    while (text.size() < 2000) text += GeneratedLine(&rng);
    std::vector<size_t> cuts;
    for (size_t at = rng() % 300; at < text.size(); at += 1 + rng() % 500) cuts.push_back(at);
    const ScanSetting setting = ScanSettings()[i % ScanSettings().size()];
    const int kind = i % 4;  // none, C comments, HTML, in pieces
    std::vector<std::vector<Bytes>> results;
    for (const std::string& path : paths) {
      SetVectorPath(path);
      Scanner scanner;
      scanner.Configure(setting.extra, setting.reading_lists, setting.options);
      if (kind == 1) scanner.SetCommentMarkers(CommentMarkers::ForType("C"));
      if (kind == 2) {
        scanner.SetCommentMarkers(CommentMarkers::ForType("HTML"));
        scanner.SetMarkup(true);
      }
      Collect sink;
      if (kind == 3) {
        ScanPieces(&scanner, text, cuts, &sink);
      } else {
        Bytes block = text + " ";
        scanner.ScanTextBlock(&block, &sink);
      }
      results.push_back(sink.words);
    }
    for (size_t p = 1; p < paths.size(); ++p) {
      ASSERT_EQ(results[p], results[0]) << paths[p] << " text " << i << " kind " << kind;
    }
  }
}

}  // namespace
}  // namespace vorn
