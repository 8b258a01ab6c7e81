#include "words/scanner.h"

#include <algorithm>

#include "words/reg_exp.h"

namespace vorn {

namespace {

constexpr size_t kMaxWordChars = 65000;
// A bracketed run longer than this never joins a word as an expression: its
// "<" alone joins, as for an invalid expression. This bounds the work spent
// on each "<" met inside a word.
constexpr size_t kMaxBracketChars = 1000;
constexpr size_t kNone = static_cast<size_t>(-1);

bool IsInnerOnly(char16_t c) {
  switch (c) {
    case u'\'':
    case u'.':
    case u',':
    case u'(':
    case u')':
    case u'+':
    case u'-':
      return true;
    default:
      return false;
  }
}

bool IsAsciiAlnum(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

}  // namespace

void PrepareBlock(Text* block, bool keep_tabs) {
  Text& b = *block;
  bool needed = false;
  for (char16_t c : b) {
    if (c <= 13 || c == 0xA0) {
      needed = true;
      break;
    }
  }
  if (!needed) return;
  size_t out = 0;
  const size_t n = b.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t c = b[i];
    if (c == 8) continue;
    if (c == kCr && i + 1 < n && b[i + 1] == kLf) {
      b[out++] = u' ';
      ++i;
    } else if (c == kLf || c == 12 || c == kCr || c == 0xA0 || (c == kTab && !keep_tabs)) {
      b[out++] = u' ';
    } else {
      b[out++] = c;
    }
  }
  b.resize(out);
}

void BlankDoubleHyphens(Text* block) {
  Text& b = *block;
  size_t q = b.find(u"--");
  while (q != Text::npos) {
    if (q >= 2) {
      const bool ends_open = b.compare(q - 2, 4, u"<!--") == 0;
      const bool starts_close = q + 2 < b.size() && b[q + 2] == u'>';
      if (!ends_open && !starts_close) {
        b[q] = u' ';
        b[q + 1] = u' ';
      }
    }
    q = b.find(u"--", q + 2);
  }
}

void Scanner::Configure(TextView allowed_extra_chars, bool reading_word_lists,
                        const NormaliseOptions& options) {
  classes_.Build(allowed_extra_chars);
  reading_word_lists_ = reading_word_lists;
  options_ = options;
  options_.reading_word_lists = reading_word_lists;
  changes_words_ = NormaliseChangesWords(options_);
}

size_t Scanner::NextGreaterThan(TextView block, size_t from) {
  if (from < gt_from_ || (gt_at_ != kNone && gt_at_ < from)) {
    const size_t at = block.find(u'>', from);
    gt_at_ = at == TextView::npos ? kNone : at;
  }
  gt_from_ = from;
  return gt_at_;
}

size_t Scanner::NextSpace(TextView block, size_t from) {
  if (from < space_from_ || (space_at_ != kNone && space_at_ < from)) {
    const size_t at = block.find(u' ', from);
    space_at_ = at == TextView::npos ? kNone : at;
  }
  space_from_ = from;
  return space_at_;
}

size_t Scanner::NumAlpha2(TextView b, size_t pos) {
  const size_t len = b.size();
  size_t p = pos;
  while (p < len) {
    // The run of word characters, at most up to the word's limit.
    const size_t limit = std::min(len, pos + kMaxWordChars);
    while (p < limit && classes_.IsWord(b[p])) ++p;
    if (p - pos >= kMaxWordChars || p >= len) break;
    const char16_t c = b[p];
    if (c != u'<') break;
    if (p + 1 < len && b[p + 1] == u'/') break;
    const size_t q = NextGreaterThan(b, p + 1);
    if (q == kNone) break;
    if (q == p + 1) {  // "<>" belongs to the word
      p += 2;
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
    if (q - p + 1 <= kMaxBracketChars && IsValidRegExp(b.substr(p, q - p + 1))) {
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

bool Scanner::GetNextWord(TextView b, size_t* pos) {
  // The common case in one tight loop: a run of word characters ended by
  // anything but "<", well within the word's limit.
  size_t n;
  size_t p = *pos + 1;
  const size_t len = b.size();
  while (p < len && classes_.IsWord(b[p])) ++p;
  if (p < len && b[p] != u'<' && p - *pos < kMaxWordChars) {
    stopped_at_ = b[p];
    n = p - *pos;
  } else {
    n = NumAlpha2(b, *pos);
  }
  if (n == 0) return false;
  const size_t start = *pos;
  *pos += n;
  size_t end = start + n;
  while (end > start && IsInnerOnly(b[end - 1])) --end;
  if (end == start) return false;
  const TextView measured = b.substr(start, end - start);
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

void Scanner::ScanTextBlock(Text* block, ScanSink* sink, const BlockHints& hints) {
  if (hints.may_need_prepare) PrepareBlock(block, !reading_word_lists_);
  if (!reading_word_lists_ && hints.may_hold_hyphens) BlankDoubleHyphens(block);
  const TextView b = *block;
  const size_t len = b.size();
  gt_from_ = space_from_ = kNone;  // forces a fresh search in this block
  gt_at_ = space_at_ = 0;
  size_t pos = 0;
  size_t skipped = 0;
  while (pos + 1 < len) {
    const char16_t c = b[pos];
    if (classes_.IsStart(c) || (c == u'<' && reading_word_lists_)) {
      const size_t before = pos;
      if (GetNextWord(b, &pos) && sink->OnWord(word_view_)) return;
      if (pos != before) continue;
    }
    // Not a word start: on to the next character other than a blank.
    ++pos;
    while (pos < len && b[pos] == u' ') ++pos;
    if (pos >= len) return;
    if (++skipped % 65536 == 0 && sink->Yield()) return;
  }
}

}  // namespace vorn
