// The text of a Word document's XML: turns word/document.xml into the lines
// that the count run reads, and writes those lines to a text file.
//
// ConvertDocumentXml walks the tags of the XML once. Every text run (w:t)
// becomes one line, its entities and character references decoded; a line
// break (w:br, w:cr), a tab (w:tab, w:ptab) or the end of a paragraph
// between two runs appends one blank to the run before it, so that the words
// on either side stay apart, while two runs with nothing between them join
// (a word whose letters are split over two runs stays one word). Tables and
// other elements give no text of their own; the text of a w:delText (deleted
// text) and of an mc:Fallback (a second copy of a text box) is passed over.
// WriteLines then writes the runs one after another and ends a line only
// after a sentence: a run ending in "." before a blank or at the end.
//
// The lines are UTF-8 as the XML is; the caller decodes them (DecodeUtf8Line)
// when it reads the text file. XML that is damaged (a tag or a run that is
// never closed, an "&" that begins no entity) gives whatever text can be
// recovered and names the first problem found.
//
// Pure functions; thread-safe.

#ifndef VORN_INPUT_DOCX_XML_H_
#define VORN_INPUT_DOCX_XML_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The first fault found in a document's XML.
enum class DocxXmlProblem {
  kNone,
  kUnclosedTag,  // a "<" with no ">" after it: the XML ends inside a tag
  kUnclosedRun,  // a text run (w:t) whose closing tag never comes
  kBadEntity,    // an "&" that begins no entity or character reference
};

// DocumentLines and what was found on the way.
struct DocumentText {
  std::vector<std::string> lines;  // one per text run, in document order (UTF-8)
  int64_t total_length = 0;        // the sum of the lines' lengths in bytes
  DocxXmlProblem problem = DocxXmlProblem::kNone;
  size_t problem_offset = 0;  // byte offset in the XML of the first problem
  bool stopped = false;       // the progress callback asked to stop
};

// Called now and then while the XML is converted: `position` bytes of the
// `length` bytes of XML are done and `lines` holds the runs found so far.
// Returning false stops the conversion.
using DocxProgress =
    std::function<bool(size_t position, size_t length, const std::vector<std::string>& lines)>;

// How often (in bytes of XML) ConvertDocumentXml calls its progress callback.
inline constexpr size_t kDocxProgressStep = 64 * 1024;

// Converts the XML of word/document.xml into DocumentLines. A run of blanks
// only gives one blank; an empty run gives an empty line. The last run gets
// no blank appended. The five predefined entities (&amp; &lt; &gt; &quot;
// &apos;) and character references (&#233; &#xE9;) are decoded in one pass;
// an "&" that begins neither stays as it is (kBadEntity). A run that is
// never closed keeps its text up to the next tag (kUnclosedRun). On a "<"
// with no ">" the conversion ends there (kUnclosedTag).
DocumentText ConvertDocumentXml(std::string_view xml, const DocxProgress& progress = {});

// Writes the lines to the file at path (replacing it) with the period rule:
// a line whose text, without its trailing blanks, ends in "." is followed by
// a line break (CR LF) when the text goes on with a blank (the line's own
// trailing blanks, or a next line that begins with one) or when it is the
// last line; every other line is followed directly by the next. When any
// line holds a byte of 0x80 or above, the file begins with the UTF-8
// byte-order mark, so that it is read as UTF-8 however much plain ASCII
// comes first. Returns false and fills *error with the system's description
// when the file cannot be written.
bool WriteLines(const std::string& path, const std::vector<std::string>& lines, std::string* error);

// A short description of the problem ("the XML ends inside a tag"); empty
// for kNone.
std::string DocxXmlProblemText(DocxXmlProblem problem);

}  // namespace vorn

#endif  // VORN_INPUT_DOCX_XML_H_
