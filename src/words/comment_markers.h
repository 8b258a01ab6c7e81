// Comment markers: the pairs of texts that open and close a comment, which
// the scanner passes over without counting what stands between them.
//
// A set is chosen by the name of a file type ("C" for words files and
// program text; "XML", "HTML" and "PHP" for markup, whose tags, scripts,
// styles and entities count as comments) or by a file's extension. Markers
// are matched ignoring ASCII case. A comment may span blocks: the scanner
// keeps the index of the open pair from one block to the next.
//
// Thread-safe: a set is a value.

#ifndef VORN_WORDS_COMMENT_MARKERS_H_
#define VORN_WORDS_COMMENT_MARKERS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "util/host.h"
#include "util/text.h"

namespace vorn {

class CommentMarkers {
 public:
  static constexpr size_t kMaxPairs = 10;
  static constexpr int kNoComment = -1;
  // What FindCommentStart returns for "<![CDATA[" in the XML set, which has
  // no pair of this index: the section's content is counted.
  static constexpr int kCData = 3;

  enum class Type { kNone, kC, kXml, kHtml, kPhp };

  struct Pair {
    std::string start;
    std::string end;  // empty: the comment runs to the end of the block
  };

  // The markers of a file type, in this order (where two start markers
  // begin at the same place, the first pair wins):
  //   "C":    /* */, // (to the end of the line)
  //   "XML":  <?xml ?>, <!-- -->, < >
  //   "HTML": & ;, <script /script>, <style /style>, <!-- -->, < >
  //   "PHP":  & ;, <script /script>, <style /style>, <!-- -->, <?php php,
  //           < >, /* */, //
  // Any other name has none.
  static CommentMarkers ForType(std::string_view type);

  Type type() const { return type_; }

  // Adds a pair; ignored once kMaxPairs are held.
  void Add(std::string_view start, std::string_view end);

  bool empty() const { return pairs_.empty(); }
  const std::vector<Pair>& pairs() const { return pairs_; }

  // The index of the first pair whose start marker stands at block[pos], or
  // kNoComment. In a markup file (is_markup) an "&" opens a comment only
  // where an entity begins (IsEntityAt), and no other pair is tried. A start
  // marker that begins "<![CDATA[" gives kCData instead of its pair.
  int FindCommentStart(BytesView block, size_t pos, bool is_markup = false) const;

  // Passes over the comment of pair `open` that begins at *pos (its start
  // marker, or the start of a block the comment runs on into). Sets *pos
  // past the comment's end marker and returns kNoComment; when the end
  // marker is not in the block, or the pair has none, sets *pos to the end
  // of the block and returns `open` while the comment goes on in the next
  // block. With block_ends false (the block is not the end of its line, as
  // for a piece of a long line) a comment running to the end of the line
  // stays open, and the last end.size() - 1 characters are left for the
  // next piece to complete.
  //
  // Two openings are no comments: kCData in the XML set passes over
  // "<![CDATA[" alone, and in a markup file a numeric entity ("&#") is passed
  // over with the letters, digits and ";" that follow it.
  int SkipComment(BytesView block, int open, size_t* pos, bool block_ends = true,
                  bool is_markup = false) const;

 private:
  std::vector<Pair> pairs_;
  Type type_ = Type::kNone;
};

// The markers of a file by its extension (lower case, without the dot):
// "php", "xml" and any extension holding "htm" are markup with their sets;
// "cpp" and "c" have the C set; any other has the C set only when comment
// markers are allowed.
struct FileMarkers {
  CommentMarkers markers;
  bool is_markup = false;
};
FileMarkers MarkersForExtension(std::string_view lower_ext, bool allow_comment_markers);

// Before a run with comment markers allowed: whether "/*" and "//" can still
// open comments, that is, no start marker could be read as part of a word
// with the characters the settings allow. When one could, tells the user so
// and returns false.
bool CommentMarkersOK(Host* host, const Settings& settings);

}  // namespace vorn

#endif  // VORN_WORDS_COMMENT_MARKERS_H_
