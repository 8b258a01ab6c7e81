#include "words/block_words.h"

#include <cstring>

namespace vorn {

namespace {

// Blanks after the text: a word's first eight bytes may be read at once.
constexpr size_t kPadding = 64;

}  // namespace

void BlockWords::Configure(const Scanner& scanner, bool lower, bool decode_utf8) {
  classes_ = scanner.classes();
  lower_ = lower;
  high_uncovered_ = decode_utf8;
  word_set_ = ByteSet();
  for (int c = 0; c < 256; ++c) {
    if (classes_.IsWord(static_cast<char>(c))) word_set_.Add(static_cast<uint8_t>(c));
  }
}

void BlockWords::Load(std::string_view raw) {
  raw_ = raw;
  size_ = raw.size();
  text_.ResizeDiscarding(size_ + kPadding);
  Kernels().lower_copy(raw.data(), size_, text_.data(), lower_);
  std::memset(text_.data() + size_, ' ', kPadding);
  // With the clear bit right after the text, where a run at its end ends.
  word_bits_.ResizeDiscarding(size_ / 64 + 1);
  Kernels().class_bits(text_.data(), size_, word_set_, word_bits_.data());
}

size_t BlockWords::NextUncovered(size_t from) const {
  return from + Kernels().find_uncovered(raw_.data() + from, size_ - from, high_uncovered_);
}

void BlockWords::LineAround(size_t at, bool lf_ends, size_t* begin, size_t* end) const {
  const auto ends_line = [&](char c) { return c == '\r' || (lf_ends && c == '\n'); };
  size_t b = at;
  while (b > 0 && !ends_line(raw_[b - 1])) --b;
  size_t e = at;
  while (e < size_ && !ends_line(raw_[e])) ++e;
  *begin = b;
  *end = e;
}

}  // namespace vorn
