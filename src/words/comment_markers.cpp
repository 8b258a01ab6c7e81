#include "words/comment_markers.h"

#include <algorithm>

namespace vorn {

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(BytesView text, std::string_view marker) {
  if (text.size() != marker.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (AsciiLower(text[i]) != AsciiLower(marker[i])) return false;
  }
  return true;
}

// Where `marker` (not empty) first stands in block at or after from,
// ignoring ASCII case; npos when it does not. The next place of each case
// of the first character is kept, so the search stays linear.
size_t FindIgnoringCase(BytesView block, std::string_view marker, size_t from) {
  constexpr size_t kNpos = BytesView::npos;
  const char lower = AsciiLower(marker[0]);
  const bool has_case = lower >= 'a' && lower <= 'z';
  const char upper = has_case ? static_cast<char>(lower - 'a' + 'A') : lower;
  const size_t n = marker.size();
  size_t next_lower = block.find(lower, from);
  size_t next_upper = has_case ? block.find(upper, from) : kNpos;
  while (true) {
    const size_t at = std::min(next_lower, next_upper);
    if (at == kNpos || at + n > block.size()) return kNpos;
    if (EqualsIgnoringCase(block.substr(at + 1, n - 1), marker.substr(1))) return at;
    if (at == next_lower) next_lower = block.find(lower, at + 1);
    if (at == next_upper) next_upper = block.find(upper, at + 1);
  }
}

}  // namespace

CommentMarkers CommentMarkers::ForType(std::string_view type) {
  CommentMarkers m;
  if (type == "C") {
    m.Add("/*", "*/");
    m.Add("//", "");
  }
  // The markup types ("XML", "HTML", "PHP") are to join here.
  return m;
}

void CommentMarkers::Add(std::string_view start, std::string_view end) {
  if (pairs_.size() < kMaxPairs) pairs_.push_back({std::string(start), std::string(end)});
}

int CommentMarkers::FindCommentStart(BytesView block, size_t pos) const {
  // The markup types will need more than a match here: an "&" that begins
  // an entity, and CDATA sections, which are no comments.
  for (size_t i = 0; i < pairs_.size(); ++i) {
    const std::string& start = pairs_[i].start;
    if (start.empty() || pos >= block.size()) continue;
    if (EqualsIgnoringCase(block.substr(pos, start.size()), start)) return static_cast<int>(i);
  }
  return kNoComment;
}

int CommentMarkers::SkipComment(BytesView block, int open, size_t* pos, bool block_ends) const {
  const std::string& end = pairs_[static_cast<size_t>(open)].end;
  if (end.empty()) {
    *pos = block.size();
    return block_ends ? kNoComment : open;
  }
  // The search begins at the start marker itself: the end marker may share
  // its characters ("/*/" is a whole comment).
  const size_t at = FindIgnoringCase(block, end, std::min(*pos, block.size()));
  if (at == BytesView::npos) {
    const size_t keep = block_ends ? 0 : end.size() - 1;
    *pos = std::max(std::min(*pos, block.size()), block.size() - std::min(keep, block.size()));
    return open;
  }
  *pos = at + end.size();
  return kNoComment;
}

}  // namespace vorn
