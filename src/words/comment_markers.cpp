#include "words/comment_markers.h"

#include <algorithm>
#include <string>

#include "words/char_classes.h"
#include "words/entities.h"
#include "words/normalise.h"

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

constexpr std::string_view kCDataStart = "<![CDATA[";

bool IsEntityPair(const CommentMarkers::Pair& pair) { return pair.start == "&" && pair.end == ";"; }

}  // namespace

CommentMarkers CommentMarkers::ForType(std::string_view type) {
  CommentMarkers m;
  if (type == "C") {
    m.type_ = Type::kC;
    m.Add("/*", "*/");
    m.Add("//", "");
  } else if (type == "XML") {
    m.type_ = Type::kXml;
    m.Add("<?xml", "?>");
    m.Add("<!--", "-->");
    m.Add("<", ">");
  } else if (type == "HTML" || type == "PHP") {
    const bool php = type == "PHP";
    m.type_ = php ? Type::kPhp : Type::kHtml;
    m.Add("&", ";");
    m.Add("<script", "/script>");
    m.Add("<style", "/style>");
    m.Add("<!--", "-->");
    if (php) m.Add("<?php", "php");
    m.Add("<", ">");
    if (php) {
      m.Add("/*", "*/");
      m.Add("//", "");
    }
  }
  return m;
}

FileMarkers MarkersForExtension(std::string_view lower_ext, bool allow_comment_markers) {
  if (lower_ext == "php") return {CommentMarkers::ForType("PHP"), true};
  if (lower_ext == "xml") return {CommentMarkers::ForType("XML"), true};
  if (lower_ext.find("htm") != std::string_view::npos) {
    return {CommentMarkers::ForType("HTML"), true};
  }
  if (lower_ext == "cpp" || lower_ext == "c" || allow_comment_markers) {
    return {CommentMarkers::ForType("C"), false};
  }
  return {CommentMarkers(), false};
}

bool CommentMarkersOK(Host* host, const Settings& settings) {
  const Text extra = BuildAllowedExtraChars(settings);
  for (const std::u16string_view marker : {u"/*", u"//"}) {
    size_t n = 0;
    while (n < marker.size() && IsWordChar(marker[n], false, extra)) ++n;
    if (n < marker.size()) continue;
    const std::string m = TextToUtf8(marker);
    host->ShowMessage("Error",
                      "With the current settings the start-comment marker\r\n\"" + m +
                          "\" could be part of a word.\r\n\r\nCheck the 'Settings' window and "
                          "perhaps disallow comment\r\nmarkers or restrict allowable characters "
                          "in 'words'.",
                      Icon::kExclamation);
    return false;
  }
  return true;
}

void CommentMarkers::Add(std::string_view start, std::string_view end) {
  if (pairs_.size() < kMaxPairs) pairs_.push_back({std::string(start), std::string(end)});
}

int CommentMarkers::FindCommentStart(BytesView block, size_t pos, bool is_markup) const {
  if (pos >= block.size()) return kNoComment;
  for (size_t i = 0; i < pairs_.size(); ++i) {
    const std::string& start = pairs_[i].start;
    if (start.empty()) continue;
    if (!EqualsIgnoringCase(block.substr(pos, start.size()), start)) continue;
    // An "&" in markup opens an entity, or nothing.
    if (is_markup && IsEntityPair(pairs_[i])) {
      return IsEntityAt(block.substr(pos)) != 0 ? static_cast<int>(i) : kNoComment;
    }
    if (EqualsIgnoringCase(block.substr(pos, kCDataStart.size()), kCDataStart)) return kCData;
    return static_cast<int>(i);
  }
  return kNoComment;
}

int CommentMarkers::SkipComment(BytesView block, int open, size_t* pos, bool block_ends,
                                bool is_markup) const {
  if (type_ == Type::kXml && open == kCData) {
    // A CDATA section is text: only its opening is passed over.
    *pos = std::min(*pos + kCDataStart.size(), block.size());
    return kNoComment;
  }
  const Pair& pair = pairs_[static_cast<size_t>(open)];
  if (is_markup && IsEntityPair(pair) && *pos + 1 < block.size() && block[*pos] == '&' &&
      block[*pos + 1] == '#') {
    // A numeric entity, with any letters that follow it directly.
    size_t p = *pos + 2;
    while (p < block.size()) {
      const char c = block[p];
      if (c != ';' && !(c >= '0' && c <= '9') &&
          !IsLetterChar(Windows1252ToChar(static_cast<uint8_t>(c)))) {
        break;
      }
      ++p;
    }
    *pos = p;
    return kNoComment;
  }
  const std::string& end = pair.end;
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
