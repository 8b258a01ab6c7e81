// HtmlHead: finds where the head of an HTML document ends, so that the head
// (its title, metadata, styles and scripts) is passed over and never counted.
//
// The head begins on the line that holds the document type (IsDoctypeLine)
// and ends at the first of:
//   - the end tag "</head>" (the document goes on after it);
//   - a "<body" tag, or the start tag of any element that cannot stand in a
//     head (the document goes on at its "<");
//   - text outside the tags, comments and declarations and outside the
//     title, style and script elements (the document goes on at that text).
// The elements that may stand in a head are html, head, title, base, link,
// meta, style, script, noscript and template. A head may thus end without "</head>", as
// HTML allows; a document that ends while its head goes on (an unclosed
// title or script, say) is read again as if it had no head, by the caller.
//
// The text is fed as it is read: line by line, and long lines in pieces.
// Not thread-safe; one per document.

#ifndef VORN_INPUT_HTML_HEAD_H_
#define VORN_INPUT_HTML_HEAD_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace vorn {

// Whether a line holds the document type of an HTML document: "<!DOCTYPE"
// and "HTML", in any letter case.
bool IsDoctypeLine(std::string_view line);

// Looks for a declaration of the UTF-8 character set ("charset=UTF-8" or
// charset="UTF-8", in any letter case, within one line) in text fed line by
// line, a long line in pieces.
class Utf8Declaration {
 public:
  // Feeds the next text; line_ends tells that it ends its line.
  void Feed(std::string_view text, bool line_ends);
  bool found() const { return found_; }

 private:
  std::string line_tail_;  // the last characters fed of the current line
  bool found_ = false;
};

class HtmlHead {
 public:
  static constexpr size_t kGoesOn = static_cast<size_t>(-1);

  // Feeds the next text of the document from the start of the document-type
  // line on; line_ends tells that the text ends its line. Returns the
  // position in text at which the document goes on after its head (0 when
  // the tag that ends the head began in text fed earlier), or kGoesOn.
  // REQUIRES: no call after one that returned a position.
  size_t Feed(std::string_view text, bool line_ends);

  // Whether the head declared the UTF-8 character set ("charset=UTF-8" or
  // charset="UTF-8", in any letter case, within one line).
  bool declares_utf8() const { return charset_.found(); }

 private:
  enum class State {
    kText,         // between tags
    kTagOpen,      // after "<"
    kTagName,      // in the name of a start or end tag
    kInTag,        // in a tag after its name, up to ">"
    kBang,         // after "<!"
    kBangDash,     // after "<!-"
    kComment,      // in "<!-- ... -->"
    kDeclaration,  // in "<!...>" or "<?...>"
    kRawText,      // in the text of a title, style or script element
    kRawEnd,       // in the text of one of those, matching its end tag
  };

  // What the start tag whose name has just been read does.
  size_t StartTagRead(size_t tag_start);

  State state_ = State::kText;
  size_t bom_seen_ = 0;          // bytes of a leading byte-order mark seen (3: done)
  bool end_tag_ = false;         // the tag being read is an end tag
  bool ends_head_ = false;       // the tag being read is "</head>"
  bool tag_began_here_ = false;  // the "<" of the tag being read is in the current text
  size_t tag_start_ = 0;
  std::string name_;        // the tag name read so far, lower case (at most a few letters)
  std::string raw_end_;     // the element whose text is being passed over
  size_t raw_matched_ = 0;  // characters of "</" + raw_end_ matched so far
  char quote_ = 0;          // the quote of an attribute value being read, or 0
  int dashes_ = 0;          // "-" seen in a row inside a comment
  Utf8Declaration charset_;
};

}  // namespace vorn

#endif  // VORN_INPUT_HTML_HEAD_H_
