#include "words/comment_markers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "support/scan_pieces.h"
#include "support/scripted_host.h"
#include "words/scanner.h"

namespace vorn {
namespace {

using Words = std::vector<std::string>;

class Collect : public ScanSink {
 public:
  bool OnWord(BytesView word) override {
    words.emplace_back(word);
    return false;
  }
  bool Yield() override { return false; }
  Words words;
};

TEST(CommentMarkersTest, MarkersOfEachType) {
  for (const char* type : {"", "c", "html"}) {
    EXPECT_TRUE(CommentMarkers::ForType(type).empty()) << type;
  }
  struct Case {
    std::string type;
    CommentMarkers::Type want_type;
    std::vector<std::string> pairs;  // start + " " + end
  } const kCases[] = {
      {"C", CommentMarkers::Type::kC, {"/* */", "// "}},
      {"XML", CommentMarkers::Type::kXml, {"<?xml ?>", "<!-- -->", "< >"}},
      {"HTML",
       CommentMarkers::Type::kHtml,
       {"& ;", "<script /script>", "<style /style>", "<!-- -->", "< >"}},
      {"PHP",
       CommentMarkers::Type::kPhp,
       {"& ;", "<script /script>", "<style /style>", "<!-- -->", "<?php php", "< >", "/* */",
        "// "}},
      {"TXT", CommentMarkers::Type::kNone, {}},
  };
  for (const Case& k : kCases) {
    const CommentMarkers m = CommentMarkers::ForType(k.type);
    EXPECT_EQ(m.type(), k.want_type) << k.type;
    std::vector<std::string> pairs;
    for (const CommentMarkers::Pair& p : m.pairs()) pairs.push_back(p.start + " " + p.end);
    EXPECT_EQ(pairs, k.pairs) << k.type;
  }
}

TEST(CommentMarkersTest, MarkersOfEachExtension) {
  struct Case {
    std::string ext;
    bool allow;
    CommentMarkers::Type want_type;
    bool want_markup;
  } const kCases[] = {
      {"php", false, CommentMarkers::Type::kPhp, true},
      {"xml", false, CommentMarkers::Type::kXml, true},
      {"htm", false, CommentMarkers::Type::kHtml, true},
      {"html", true, CommentMarkers::Type::kHtml, true},
      {"shtml", false, CommentMarkers::Type::kHtml, true},
      {"xhtm", false, CommentMarkers::Type::kHtml, true},
      {"cpp", false, CommentMarkers::Type::kC, false},
      {"c", false, CommentMarkers::Type::kC, false},
      {"h", false, CommentMarkers::Type::kNone, false},
      {"txt", false, CommentMarkers::Type::kNone, false},
      {"txt", true, CommentMarkers::Type::kC, false},
      {"", true, CommentMarkers::Type::kC, false},
  };
  for (const Case& c : kCases) {
    const FileMarkers f = MarkersForExtension(c.ext, c.allow);
    EXPECT_EQ(f.markers.type(), c.want_type) << c.ext;
    EXPECT_EQ(f.is_markup, c.want_markup) << c.ext;
    EXPECT_EQ(f.markers.empty(), c.want_type == CommentMarkers::Type::kNone) << c.ext;
  }
}

TEST(CommentMarkersTest, FindsTheMarkupStartMarkers) {
  struct Case {
    std::string type;
    bool markup;
    std::string block;
    int want;
  } const kCases[] = {
      {"HTML", true, "&amp; x ", 0},
      {"HTML", true, "& x; ", -1},  // no entity: no comment, and no other pair
      {"HTML", true, "&ab ", -1},
      {"HTML", true, "&#1 ", 0},
      {"HTML", false, "& x ", 0},  // outside markup an "&" is a plain marker
      {"HTML", true, "<SCRIPT>x ", 1},
      {"HTML", true, "<Style>x ", 2},
      {"HTML", true, "<!-- x ", 3},
      {"HTML", true, "<p> ", 4},
      {"HTML", true, "<![CDATA[ x ", 3},  // the CDATA index is the comment pair here
      {"XML", true, "<?XML ?> ", 0},
      {"XML", true, "<!-- x ", 1},
      {"XML", true, "<a> ", 2},
      {"XML", true, "<![CDATA[ x ", CommentMarkers::kCData},
      {"XML", true, "<![cdata[ x ", CommentMarkers::kCData},
      {"XML", true, "<![CDATA x ", 2},
      {"PHP", true, "<?php x ", 4},
      {"PHP", true, "<?x ", 5},
      {"PHP", true, "/* x ", 6},
      {"PHP", true, "// x ", 7},
      {"PHP", true, "x ", -1},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(CommentMarkers::ForType(c.type).FindCommentStart(c.block, 0, c.markup), c.want)
        << c.type << " " << c.block;
  }
}

TEST(CommentMarkersTest, SkipsMarkupOpenings) {
  struct Case {
    std::string type;
    bool markup;
    std::string block;
    int open;
    int want_open;
    size_t want_pos;
  } const kCases[] = {
      {"XML", true, "<![CDATA[ words ]]> ", CommentMarkers::kCData, -1, 9},
      {"HTML", true, "&#160;x y ", 0, -1, 7},  // with the letters that follow
      {"HTML", true, "&#8212abc;d-e ", 0, -1, 11},
      {"HTML", true, "&#", 0, -1, 2},
      {"HTML", true, "&amp;x ", 0, -1, 5},
      {"HTML", false, "&#160;x y ", 0, -1, 6},  // outside markup: to the ";"
      {"HTML", true, "<SCRIPT>a</Script> b ", 1, -1, 18},
      {"PHP", true, "<?php echo ", 4, -1, 5},  // the end marker ends the start marker
  };
  for (const Case& c : kCases) {
    size_t pos = 0;
    EXPECT_EQ(CommentMarkers::ForType(c.type).SkipComment(c.block, c.open, &pos, true, c.markup),
              c.want_open)
        << c.block;
    EXPECT_EQ(pos, c.want_pos) << c.block;
  }
}

// The C pairs and a pair of letters, which match in either case.
CommentMarkers TestMarkers() {
  CommentMarkers m = CommentMarkers::ForType("C");
  m.Add("Qx", "xQ");
  return m;
}

TEST(CommentMarkersTest, FindsTheStartMarkerAtAPosition) {
  const CommentMarkers m = TestMarkers();
  struct Case {
    std::string block;
    size_t pos;
    int want;
  } const kCases[] = {
      {"a /* b ", 2, 0}, {"a // b ", 2, 1}, {"a /* b ", 1, -1}, {"a / * ", 2, -1}, {"qx ", 0, 2},
      {"QX ", 0, 2},     {"qXa ", 0, 2},    {"/", 0, -1},       {"ab/", 2, -1},    {"ab", 5, -1},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(m.FindCommentStart(c.block, c.pos), c.want) << c.block << " at " << c.pos;
  }
}

TEST(CommentMarkersTest, SkipsToTheEndOfAComment) {
  const CommentMarkers m = TestMarkers();
  struct Case {
    std::string block;
    int open;
    size_t pos;
    bool block_ends;
    int want_open;
    size_t want_pos;
  } const kCases[] = {
      {"/* a */ b ", 0, 0, true, -1, 7},
      {"/*/ b ", 0, 0, true, -1, 3},  // the end shares the start's "*"
      {"/* a ", 0, 0, true, 0, 5},    // open into the next block
      {"a */ b ", 0, 0, true, -1, 4},
      {"// a */ ", 1, 0, true, -1, 8},
      {"x qx a XQ b ", 2, 2, true, -1, 9},
      {"qx a qXQ ", 2, 0, true, -1, 8},
      // A piece of a long line: "*/" may be cut in two, "//" runs on.
      {"/* a *", 0, 0, false, 0, 5},
      {"/", 0, 0, false, 0, 0},
      {"// a ", 1, 0, false, 1, 5},
  };
  for (const Case& c : kCases) {
    size_t pos = c.pos;
    EXPECT_EQ(m.SkipComment(c.block, c.open, &pos, c.block_ends), c.want_open) << c.block;
    EXPECT_EQ(pos, c.want_pos) << c.block;
  }
}

// The words of lines scanned one after another, each with its blank.
Words ScanLines(const std::vector<std::string>& lines, std::u16string_view extra = u"") {
  Scanner scanner;
  scanner.Configure(extra, false, NormaliseOptions());
  scanner.SetCommentMarkers(CommentMarkers::ForType("C"));
  Collect sink;
  for (const std::string& line : lines) {
    Bytes block = line + " ";
    scanner.ScanTextBlock(&block, &sink);
  }
  return sink.words;
}

TEST(CommentMarkersTest, TheScannerPassesOverComments) {
  struct Case {
    std::vector<std::string> lines;
    std::u16string extra;
    Words words;
  } const kCases[] = {
      {{"alpha/*beta*/gamma"}, u"", {"alpha", "gamma"}},
      {{"ant /* bee */ /* cat */ dog /**/eel"}, u"", {"ant", "dog", "eel"}},
      {{"/*/ after"}, u"", {"after"}},
      {{"stray */ close"}, u"", {"stray", "close"}},
      // Across lines, an empty one among them.
      {{"one /* two", "three", "", "four */ five"}, u"", {"one", "five"}},
      {{"one // two /* three", "four"}, u"", {"one", "four"}},
      // Never closed: the rest of the file goes uncounted.
      {{"one /* two", "three"}, u"", {"one"}},
      // A marker inside a word is part of the word; one where a word could
      // begin is a marker even when "/" is a word character.
      {{"ant/*bee*/cat"}, u"/", {"ant/", "bee", "/cat"}},
      {{"ant /*bee*/ cat"}, u"/", {"ant", "cat"}},
  };
  for (const Case& c : kCases) EXPECT_EQ(ScanLines(c.lines, c.extra), c.words) << c.lines[0];
}

TEST(CommentMarkersTest, ACommentLeftOpenEndsWithTheFileOrTheMarkers) {
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  scanner.SetCommentMarkers(CommentMarkers::ForType("C"));
  Collect sink;
  Bytes first = "ant /* bee ";
  scanner.ScanTextBlock(&first, &sink);
  EXPECT_TRUE(scanner.InComment());
  scanner.ResetComments();
  Bytes second = "cat /* dog ";
  scanner.ScanTextBlock(&second, &sink);
  EXPECT_TRUE(scanner.InComment());
  scanner.Configure(u"", false, NormaliseOptions());  // no markers any more
  EXPECT_FALSE(scanner.InComment());
  Bytes third = "eel /* fox ";
  scanner.ScanTextBlock(&third, &sink);
  EXPECT_EQ(sink.words, (Words{"ant", "cat", "eel", "fox"}));
}

// The words of the lines of a file with this extension, each line with its
// blank, the markers and markup chosen by the extension.
Words ScanFile(std::string_view ext, const std::vector<std::string>& lines, bool allow = false) {
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  const FileMarkers f = MarkersForExtension(ext, allow);
  scanner.SetCommentMarkers(f.markers);
  scanner.SetMarkup(f.is_markup);
  Collect sink;
  for (const std::string& line : lines) {
    Bytes block = line + " ";
    scanner.ScanTextBlock(&block, &sink);
  }
  return sink.words;
}

TEST(CommentMarkersTest, TheScannerPassesOverMarkupByExtension) {
  struct Case {
    std::string ext;
    std::vector<std::string> lines;
    Words words;
  } const kCases[] = {
      {"html", {"<p>caf&Eacute;s</p>"}, {"caf\xC9s"}},
      {"htm", {"tom & jerry; ok"}, {"tom", "jerry", "ok"}},
      {"htm", {"caf&#233;s ok"}, {"caf", "ok"}},  // a numeric entity with its letters
      {"htm", {"em&#8212;dash"}, {"em", "dash"}},
      // An entity cut by a line end is not decoded.
      {"htm", {"caf&eac", "ute; more"}, {"caf", "eac", "ute", "more"}},
      {"php", {"<?PHP /* note */ print; // rest", "end"}, {"print", "end"}},
  };
  for (const Case& c : kCases) EXPECT_EQ(ScanFile(c.ext, c.lines), c.words) << c.lines[0];
}

TEST(CommentMarkersTest, StartMarkersThatCouldBePartOfAWord) {
  Settings s;
  SetDefaultValues(&s);
  {
    ScriptedHost host;
    EXPECT_TRUE(CommentMarkersOK(&host, s));
    EXPECT_TRUE(host.calls().empty());
  }
  s.AllowWordsWithForwardslashes = 1;
  ScriptedHost host;
  EXPECT_FALSE(CommentMarkersOK(&host, s));
  ASSERT_EQ(host.calls().size(), 1u);
  EXPECT_EQ(host.calls()[0].kind, "message");
  EXPECT_EQ(host.calls()[0].title, "Error");
  EXPECT_EQ(host.calls()[0].icon, Icon::kExclamation);
  EXPECT_EQ(host.calls()[0].text,
            "With the current settings the start-comment marker\r\n\"//\" could be part of a "
            "word.\r\n\r\nCheck the 'Settings' window and perhaps disallow comment\r\nmarkers or "
            "restrict allowable characters in 'words'.");
}

// Scans one line whole and in pieces cut at the given places.
Words ScanLineInPieces(const Bytes& text, const std::vector<size_t>& cuts,
                       std::string_view ext = "c") {
  Scanner scanner;
  scanner.Configure(u"", false, NormaliseOptions());
  const FileMarkers f = MarkersForExtension(ext, false);
  scanner.SetCommentMarkers(f.markers);
  scanner.SetMarkup(f.is_markup);
  Collect sink;
  ScanPieces(&scanner, text, cuts, &sink);
  EXPECT_FALSE(scanner.InComment());
  return sink.words;
}

TEST(CommentMarkersTest, ALongLineInPiecesHasTheCommentsOfTheWholeLine) {
  const std::string kUnits[] = {"alpha ",    "/* c */ ", "be/*ta*/ga ", "x/**/y ",
                                "/*/ z */ ", "wo*/rd ",  "*/ ",         "de/ "};
  Bytes text;
  size_t long_end = 0;
  for (int i = 0; text.size() < 300000; ++i) {
    text += kUnits[(i * 7 + i / 13) % std::size(kUnits)];
    // A comment longer than what a piece keeps back.
    if (i == 20000) {
      text += "/* " + std::string(Scanner::kLookahead + 5000, 'q') + " ";
      long_end = text.size();
      text += "*/ after ";
    }
  }
  // A comment to the end of the line, longer than a piece keeps back too.
  const size_t line_comment = text.size();
  text += "tail // ";
  while (text.size() < line_comment + 2 * Scanner::kLookahead) text += "more */ words ";
  const Words whole = ScanLines({text});
  ASSERT_GT(whole.size(), 1000u);
  EXPECT_EQ(whole.back(), "tail");
  const std::vector<std::vector<size_t>> kCuts = {
      {1},
      {70000, 140003, 210001},
      {Scanner::kLookahead, 2 * Scanner::kLookahead + 1, line_comment + 3},
      {long_end + 1},  // between the "*" and the "/" of a long comment's end
      {line_comment + 20, line_comment + Scanner::kLookahead + 10, text.size() - 5},
  };
  for (const auto& cuts : kCuts) EXPECT_EQ(ScanLineInPieces(text, cuts), whole) << cuts.front();
  // Every place around a "/*" and a "*/".
  const size_t open = text.find("/* c */", 150000);
  for (size_t at = open - 3; at < open + 10; ++at) {
    EXPECT_EQ(ScanLineInPieces(text, {at}), whole) << at;
  }
}

TEST(CommentMarkersTest, ALongMarkupLineInPiecesHasTheWordsOfTheWholeLine) {
  const std::string kUnits[] = {"caf&eacute; ",       "<p>",       "&amp; ",      "line<br/>next ",
                                "& stray ",           "&#8212;x ", "<!-- c --> ", "word; ",
                                "<script>s</script>", "&nbsp;",    "a&copy;b ",   "--x-- "};
  Bytes text;
  for (int i = 0; text.size() < 300000; ++i) text += kUnits[(i * 7 + i / 11) % std::size(kUnits)];
  const Words whole = ScanFile("htm", {text});
  ASSERT_GT(whole.size(), 1000u);
  EXPECT_NE(std::find(whole.begin(), whole.end(), "caf\xE9"), whole.end());
  EXPECT_NE(std::find(whole.begin(), whole.end(), "next"), whole.end());
  EXPECT_EQ(std::find(whole.begin(), whole.end(), "script"), whole.end());
  const std::vector<std::vector<size_t>> kCuts = {
      {1},
      {70000, 140003, 210001},
      {Scanner::kLookahead, 2 * Scanner::kLookahead + 1},
  };
  for (const auto& cuts : kCuts) {
    EXPECT_EQ(ScanLineInPieces(text, cuts, "htm"), whole) << cuts.front();
  }
  // Every place around an entity.
  const size_t at_entity = text.find("caf&eacute;", 150000);
  for (size_t at = at_entity; at < at_entity + 12; ++at) {
    EXPECT_EQ(ScanLineInPieces(text, {at}, "htm"), whole) << at;
  }
}

}  // namespace
}  // namespace vorn
