#include "input/html_head.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorn {
namespace {

// Feeds the lines of a document and returns what follows its head (the rest
// of the line where the body begins, then the lines after it), or "<none>"
// when the document ends inside its head.
std::string Body(const std::vector<std::string>& lines, size_t piece = 0) {
  HtmlHead head;
  std::string body;
  bool in_head = true;
  for (const std::string& line : lines) {
    if (!in_head) {
      body += "|" + line;
      continue;
    }
    // Fed in pieces of `piece` characters when given.
    size_t from = 0;
    do {
      const size_t n = piece == 0 ? line.size() : std::min(piece, line.size() - from);
      const std::string_view text = std::string_view(line).substr(from, n);
      from += n;
      const size_t at = head.Feed(text, from >= line.size());
      if (at != HtmlHead::kGoesOn) {
        body = std::string(text.substr(at)) + line.substr(from);
        in_head = false;
        break;
      }
    } while (from < line.size());
  }
  return in_head ? "<none>" : body;
}

TEST(HtmlHeadTest, WhereTheHeadEnds) {
  struct Case {
    std::vector<std::string> lines;
    std::string body;
  } const kCases[] = {
      // "</head>", in any case, with the rest of its line.
      {{"<!DOCTYPE html>", "<html><head><title>T</title>", "</HEAD><body>x"}, "<body>x"},
      // A body tag, or any tag that cannot stand in a head.
      {{"<!doctype html><html lang=en>", "<meta charset=utf-8>", "<BODY class=a>text"},
       "<BODY class=a>text"},
      {{"<!DOCTYPE html>", "<title>Page</title>", "<p>First paragraph"}, "<p>First paragraph"},
      // Text outside the head's elements.
      {{"<!DOCTYPE html>", "<title>a > b</title><link rel=x>", "  Plain words"}, "Plain words"},
      // Comments, declarations, quoted ">" and scripts that hold tags.
      {{"<!DOCTYPE html><!-- <body> -->", "<meta content=\"a>b\">",
        "<script>if (a<b) document.write('<p>');</script>", "<style>p>b{}</style>", "Body"},
       "Body"},
      {{"<!DOCTYPE html>", "<script>x</scripty></SCRIPT ></head>after"}, "after"},
      // A "<" that opens no tag is text.
      {{"<!DOCTYPE html>", "<title>t</title> < 5 apples"}, "< 5 apples"},
      // A byte-order mark before the document type is no text.
      {{"\xEF\xBB\xBF<!DOCTYPE html>", "<head></head>body"}, "body"},
      // No end: the caller reads the document again.
      {{"<!DOCTYPE html>", "<title>never closed", "words"}, "<none>"},
      {{"<!DOCTYPE html>", "<head>", "<meta name=a>"}, "<none>"},
  };
  for (const Case& c : kCases) {
    EXPECT_EQ(Body(c.lines), c.body) << c.lines[1];
    // The same, fed in pieces of a few characters.
    for (size_t piece : {1, 2, 3, 7}) {
      const std::string got = Body(c.lines, piece);
      // A tag begun in an earlier piece ends the head at the start of the
      // current one.
      EXPECT_TRUE(got == c.body || c.body.find(got) != std::string::npos)
          << c.lines[1] << " " << piece << ": " << got;
    }
  }
}

TEST(HtmlHeadTest, TheHeadMayDeclareUtf8) {
  struct Case {
    std::vector<std::string> lines;
    bool utf8;
  } const kCases[] = {
      {{"<!DOCTYPE html><head>", "<meta charset=\"UTF-8\">", "</head>"}, true},
      {{"<!DOCTYPE html><head>", "<meta http-equiv=c content=\"text/html; CharSet=utf-8\">"}, true},
      {{"<!DOCTYPE html><head>", "<meta charset=latin1>", "</head>charset=utf-8"}, false},
      {{"<!DOCTYPE html><head><meta charset=", "utf-8></head>"}, false},  // not within one line
  };
  for (const Case& c : kCases) {
    for (size_t piece : {0, 1, 5}) {
      HtmlHead head;
      for (const std::string& line : c.lines) {
        size_t from = 0;
        size_t at = HtmlHead::kGoesOn;
        do {
          const size_t n = piece == 0 ? line.size() : std::min(piece, line.size() - from);
          at = head.Feed(std::string_view(line).substr(from, n), from + n >= line.size());
          from += n;
        } while (from < line.size() && at == HtmlHead::kGoesOn);
        if (at != HtmlHead::kGoesOn) break;
      }
      EXPECT_EQ(head.declares_utf8(), c.utf8) << c.lines[1] << " " << piece;
    }
  }
}

TEST(HtmlHeadTest, DoctypeLine) {
  EXPECT_TRUE(IsDoctypeLine("<!DOCTYPE html>"));
  EXPECT_TRUE(IsDoctypeLine("  <!doctype HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">"));
  EXPECT_FALSE(IsDoctypeLine("<!DOCTYPE svg>"));
  EXPECT_FALSE(IsDoctypeLine("<html>"));
}

}  // namespace
}  // namespace vorn
