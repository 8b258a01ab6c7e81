#include "words/scanner.h"

#include <algorithm>
#include <bit>

namespace vorn {

namespace {

// A bracketed run longer than this is no expression: a "<" whose ">" is
// further away ends the word. This bounds the work spent on each "<" met
// inside a word, and how far a word's measure looks ahead.
constexpr size_t kMaxBracketChars = 1000;
constexpr size_t kNone = static_cast<size_t>(-1);

bool IsInnerOnly(char c) {
  switch (c) {
    case '\'':
    case '.':
    case ',':
    case '(':
    case ')':
    case '+':
    case '-':
      return true;
    default:
      return false;
  }
}

bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

void PrepareBlock(Bytes* block, bool keep_tabs, size_t from) {
  Bytes& b = *block;
  if (from >= b.size()) return;
  // Nothing before the first character the steps below change moves.
  const size_t first = from + Kernels().find_prepare(b.data() + from, b.size() - from);
  if (first == b.size()) return;
  size_t out = first;
  const size_t n = b.size();
  for (size_t i = first; i < n; ++i) {
    const uint8_t c = static_cast<uint8_t>(b[i]);
    if (c == 8) continue;
    if (c == '\r' && i + 1 < n && b[i + 1] == '\n') {
      b[out++] = ' ';
      ++i;
    } else if (c == '\n' || c == 12 || c == '\r' || c == 0xA0 || (c == '\t' && !keep_tabs)) {
      b[out++] = ' ';
    } else {
      b[out++] = b[i];
    }
  }
  b.resize(out);
}

void BlankDoubleHyphens(Bytes* block, size_t* from, size_t line_offset, bool more_follows) {
  Bytes& b = *block;
  size_t search = std::min(*from, b.size());
  size_t q = b.find("--", search);
  while (q != Bytes::npos) {
    if (more_follows && q + 2 >= b.size()) {
      *from = q;  // a ">" may follow in the next piece
      return;
    }
    if (q + line_offset >= 2) {
      const bool ends_open = q >= 2 && b.compare(q - 2, 4, "<!--") == 0;
      const bool starts_close = q + 2 < b.size() && b[q + 2] == '>';
      if (!ends_open && !starts_close) {
        b[q] = ' ';
        b[q + 1] = ' ';
      }
    }
    search = q + 2;
    q = b.find("--", search);
  }
  // A "-" at the end may pair with one that begins the next piece.
  *from = b.empty() ? 0 : std::max(search, b.size() - 1);
}

void BlankDoubleHyphens(Bytes* block) {
  size_t from = 0;
  BlankDoubleHyphens(block, &from, 0, false);
}

void Scanner::Configure(TextView allowed_extra_chars, bool reading_word_lists,
                        const NormaliseOptions& options) {
  classes_.Build(allowed_extra_chars);
  word_set_ = ByteSet();
  for (int c = 0; c < 256; ++c) {
    if (classes_.IsWord(static_cast<char>(c))) word_set_.Add(static_cast<uint8_t>(c));
  }
  reading_word_lists_ = reading_word_lists;
  options_ = options;
  options_.reading_word_lists = reading_word_lists;
  changes_words_ = NormaliseChangesWords(options_);
  SetCommentMarkers(CommentMarkers());
  markup_ = false;
}

bool Scanner::TakesPlainRuns() const {
  if (reading_word_lists_ || changes_words_ || markup_ || !markers_.empty()) return false;
  for (int c = 0; c <= ' '; ++c) {
    if (classes_.IsWord(static_cast<char>(c))) return false;
  }
  return !classes_.IsWord(static_cast<char>(0xA0));
}

size_t Scanner::NextGreaterThan(BytesView block, size_t from) {
  if (from < gt_from_ || (gt_at_ != kNone && gt_at_ < from)) {
    const size_t at = block.find('>', from);
    gt_at_ = at == BytesView::npos ? kNone : at;
  }
  gt_from_ = from;
  return gt_at_;
}

size_t Scanner::NextSpace(BytesView block, size_t from) {
  if (from < space_from_ || (space_at_ != kNone && space_at_ < from)) {
    const size_t at = block.find(' ', from);
    space_at_ = at == BytesView::npos ? kNone : at;
  }
  space_from_ = from;
  return space_at_;
}

size_t Scanner::NumAlpha2(BytesView b, size_t pos) {
  judge_.NewBlock();
  return MeasureWord(b, pos);
}

size_t Scanner::MeasureWord(BytesView b, size_t pos) {
  const size_t len = b.size();
  size_t p = pos;
  while (p < len) {
    // The run of word characters, at most up to the word's limit.
    const size_t limit = std::min(len, pos + kMaxWordChars);
    const size_t run = p;
    while (p < limit && classes_.IsWord(b[p])) ++p;
    measured_ += p - run;
    if (p - pos >= kMaxWordChars || p >= len) break;
    const char c = b[p];
    if (c != '<' || markup_) break;
    if (p + 1 < len && b[p + 1] == '/') break;
    // A ">" further away than an expression may reach ends the word, as no
    // ">" at all does: what a word is never depends on text far beyond it.
    const size_t q = NextGreaterThan(b, p + 1);
    if (q == kNone || q - p + 1 > kMaxBracketChars) break;
    if (q == p + 1) {  // "<>" belongs to the word, within its limit
      p = std::min(p + 2, pos + kMaxWordChars);
      break;
    }
    const size_t space = NextSpace(b, p + 1);
    if (space != kNone && space < q) break;
    bool plain_tag = true;
    for (size_t k = p + 1; k < q; ++k) {
      if (!IsAsciiAlnum(b[k])) {
        plain_tag = false;
        break;
      }
    }
    if (plain_tag) break;
    if (judge_.IsValid(b, p, q)) {
      p = q + 1;
    } else {
      ++p;
    }
    if (p - pos >= kMaxWordChars) {
      p = pos + kMaxWordChars;
      break;
    }
  }
  stopped_at_ = p < len ? b[p] : 0;
  return p - pos;
}

[[gnu::always_inline]] inline size_t Scanner::WordRunEnd(size_t from, size_t limit) const {
  // The bitmap ends in a clear bit at the block's end, so the search ends
  // there at the latest.
  size_t w = from / 64;
  uint64_t gaps = ~word_bits_[w] >> (from % 64);
  if (gaps != 0) return std::min(limit, from + std::countr_zero(gaps));
  while (++w * 64 < limit) {
    gaps = ~word_bits_[w];
    if (gaps != 0) return std::min(limit, w * 64 + std::countr_zero(gaps));
  }
  return limit;
}

// Inlined into the scan loop: a call per word costs measurably.
[[gnu::always_inline]] inline size_t Scanner::MeasureFromStart(BytesView b, size_t pos) {
  // The common case: a run of word characters, read from the bitmap, ended
  // by anything but "<" well within the word's limit.
  const size_t len = b.size();
  // Never past the word's limit: a longer run is measured again from where
  // the word ends, so looking further would make a long run quadratic.
  const size_t limit = std::min(len, pos + kMaxWordChars);
  const size_t p = WordRunEnd(pos + 1, limit);
  measured_ += p - pos;
  if (p < limit && b[p] != '<') {
    stopped_at_ = b[p];
    return p - pos;
  }
  return MeasureWord(b, pos);
}

[[gnu::always_inline]] inline bool Scanner::TakeWord(BytesView b, size_t start, size_t n) {
  size_t end = start + n;
  while (end > start && IsInnerOnly(b[end - 1])) --end;
  if (end == start) return false;
  const BytesView measured = b.substr(start, end - start);
  if (!changes_words_) {
    // The rules can only discard the word: it is handed on as it stands.
    word_view_ = measured;
    return !IsDiscarded(measured, options_);
  }
  word_.assign(measured);
  if (!NormaliseWord(&word_, options_)) return false;
  word_view_ = word_;
  return true;
}

template <bool kMarkers>
size_t Scanner::ScanLoop(BytesView b, size_t pos, size_t stop, bool block_ends, ScanSink* sink,
                         bool* ended) {
  const size_t len = b.size();
  size_t skipped = 0;
  while (pos + 1 < len && pos < stop) {
    if constexpr (kMarkers) {
      // Markers are looked for where a word could begin or a character is
      // passed over, never inside a word. After a comment the loop's test
      // runs again: a block that ends there (or holds only its trailing
      // blank) is done, and the next position may open another comment.
      if (comment_open_ == CommentMarkers::kNoComment) {
        comment_open_ = markers_.FindCommentStart(b, pos, markup_);
      }
      if (comment_open_ != CommentMarkers::kNoComment) {
        comment_open_ = markers_.SkipComment(b, comment_open_, &pos, block_ends, markup_);
        if (++skipped % 65536 == 0 && sink->Yield()) {
          *ended = true;
          return pos;
        }
        continue;
      }
    }
    const char c = b[pos];
    size_t n = 0;
    if (classes_.IsStart(c)) {
      n = MeasureFromStart(b, pos);
    } else if (c == '<' && reading_word_lists_) {
      // A pattern in a words file; a "<" that measures nothing is passed
      // over below like any other character.
      n = MeasureWord(b, pos);
    }
    if (n != 0) {
      const size_t start = pos;
      pos += n;
      if (TakeWord(b, start, n) && sink->OnWord(word_view_)) {
        *ended = true;
        return pos;
      }
      continue;
    }
    // Not a word start: on to the next character other than a blank.
    ++pos;
    while (pos < len && b[pos] == ' ') ++pos;
    if (++skipped % 65536 == 0 && sink->Yield()) {
      *ended = true;
      return pos;
    }
  }
  return pos;
}

size_t Scanner::ScanRange(BytesView b, size_t pos, size_t stop, bool block_ends, ScanSink* sink,
                          bool* ended) {
  gt_from_ = space_from_ = kNone;  // forces a fresh search in this block
  gt_at_ = space_at_ = 0;
  judge_.NewBlock();
  word_bits_.resize(b.size() / 64 + 1);
  Kernels().class_bits(b.data(), b.size(), word_set_, word_bits_.data());
  if (markers_.empty()) return ScanLoop<false>(b, pos, stop, block_ends, sink, ended);
  return ScanLoop<true>(b, pos, stop, block_ends, sink, ended);
}

void Scanner::SetCommentMarkers(const CommentMarkers& markers) {
  markers_ = markers;
  comment_open_ = CommentMarkers::kNoComment;
}

void Scanner::ScanTextBlock(Bytes* block, ScanSink* sink, const BlockHints& hints) {
  if (hints.may_need_prepare) PrepareBlock(block, !reading_word_lists_);
  if (!reading_word_lists_ && hints.may_hold_hyphens) BlankDoubleHyphens(block);
  if (markup_) DecodeEntities(block);
  bool ended = false;
  ScanRange(*block, 0, kNone, true, sink, &ended);
}

void Scanner::BeginLine() {
  carry_.clear();
  carry_offset_ = 0;
  hyphens_from_ = 0;
  decode_ = EntityDecodeState();
}

bool Scanner::ScanPiece(BytesView piece, bool last, ScanSink* sink, const BlockHints& hints) {
  const size_t old = carry_.size();
  carry_.append(piece);
  if (hints.may_need_prepare) PrepareBlock(&carry_, !reading_word_lists_, old);
  // Always: a "--" held back at the end of the last piece is decided now.
  if (!reading_word_lists_) BlankDoubleHyphens(&carry_, &hyphens_from_, carry_offset_, !last);
  if (markup_) {
    // Entities are decoded after the steps above, as in a whole block. The
    // text shrinks only where an entity was: the search for "--" goes on at
    // most that much earlier, which finds nothing new.
    const size_t before = carry_.size();
    DecodeEntities(&carry_, &decode_);
    const size_t shrunk = before - carry_.size();
    hyphens_from_ = hyphens_from_ > shrunk ? hyphens_from_ - shrunk : 0;
  }
  const size_t stop = last ? kNone : carry_.size() > kLookahead ? carry_.size() - kLookahead : 0;
  bool ended = false;
  const size_t pos = ScanRange(carry_, 0, stop, last, sink, &ended);
  if (ended || last) {
    BeginLine();
    return ended;
  }
  carry_.erase(0, pos);
  carry_offset_ += pos;
  hyphens_from_ = hyphens_from_ > pos ? hyphens_from_ - pos : 0;
  if (decode_.from >= pos) {
    decode_.from -= pos;
  } else {
    // An "&" still waiting for its ";" is gone with the scanned text.
    decode_.from = 0;
    decode_.amp_lost = true;
  }
  return false;
}

}  // namespace vorn
