// Comment markers: the pairs of texts that open and close a comment, which
// the scanner passes over without counting what stands between them.
//
// A set is chosen by the name of a file type ("C" for words files). Markers
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

#include "util/text.h"

namespace vorn {

class CommentMarkers {
 public:
  static constexpr size_t kMaxPairs = 10;
  static constexpr int kNoComment = -1;

  struct Pair {
    std::string start;
    std::string end;  // empty: the comment runs to the end of the block
  };

  // The markers of a file type: "C" has "/*" ... "*/" and "//" to the end of
  // the line; any other name has none.
  static CommentMarkers ForType(std::string_view type);

  // Adds a pair; ignored once kMaxPairs are held.
  void Add(std::string_view start, std::string_view end);

  bool empty() const { return pairs_.empty(); }
  const std::vector<Pair>& pairs() const { return pairs_; }

  // The index of the first pair whose start marker stands at block[pos], or
  // kNoComment.
  int FindCommentStart(BytesView block, size_t pos) const;

  // Passes over the comment of pair `open` that begins at *pos (its start
  // marker, or the start of a block the comment runs on into). Sets *pos
  // past the comment's end marker and returns kNoComment; when the end
  // marker is not in the block, or the pair has none, sets *pos to the end
  // of the block and returns `open` while the comment goes on in the next
  // block. With block_ends false (the block is not the end of its line, as
  // for a piece of a long line) a comment running to the end of the line
  // stays open, and the last end.size() - 1 characters are left for the
  // next piece to complete.
  int SkipComment(BytesView block, int open, size_t* pos, bool block_ends = true) const;

 private:
  std::vector<Pair> pairs_;
};

}  // namespace vorn

#endif  // VORN_WORDS_COMMENT_MARKERS_H_
