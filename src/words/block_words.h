// BlockWords: the words of plain text found a whole block at a time.
//
// For text whose words are plain runs (Scanner::TakesPlainRuns), a block of
// whole lines is lower-cased in one pass and mapped into a bitmap of its
// word characters. The runs of word characters are read off the bitmap 64
// characters at a time, with no test per character, into lists of where
// each begins and ends; only then are the words taken from the lists, so
// that the work on one word does not wait for the search for the next. The
// lines that hold a character the plain rule does not cover ("<", a
// backspace, "--", and for UTF-8 text any byte above 127) are found by one
// search, and left to the scanner.
//
// One BlockWords per thread; the scanner it was made from only configures
// it.

#ifndef VORN_WORDS_BLOCK_WORDS_H_
#define VORN_WORDS_BLOCK_WORDS_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "util/store.h"
#include "util/text.h"
#include "words/scanner.h"
#include "words/simd_text.h"

namespace vorn {

class BlockWords {
 public:
  BlockWords() = default;
  // REQUIRES: scanner.TakesPlainRuns().
  BlockWords(const Scanner& scanner, bool lower, bool decode_utf8) {
    Configure(scanner, lower, decode_utf8);
  }
  // Takes the word characters of `scanner`, whether to lower-case, and
  // whether the text is UTF-8; keeps the buffers. REQUIRES:
  // scanner.TakesPlainRuns().
  void Configure(const Scanner& scanner, bool lower, bool decode_utf8);

  // Takes the block `raw` (whole lines): lower-cases it into the block's
  // text and maps its characters.
  void Load(std::string_view raw);

  // The first position at or after `from` of a character that the plain
  // rule does not cover, or the block's size.
  size_t NextUncovered(size_t from) const;

  // The line around position `at`: [*begin, *end) of the raw block, without
  // its line end. lf_ends: an LF ends a line (not only a CR).
  void LineAround(size_t at, bool lf_ends, size_t* begin, size_t* end) const;

  // Calls f(BytesView word) for each word that begins in [from, to) of the
  // text, in order. `from` and `to` lie at the start of a line or at a
  // character that is no word character. A run of more than kMaxWordChars
  // word characters is cut as the scanner cuts it.
  template <class F>
  void ForEachWord(size_t from, size_t to, F&& f);

 private:
  // Calls f for the words of a run longer than a word may be, from its
  // first start character `start` to `end`, as the scanner cuts it.
  template <class F>
  void CutLongRun(size_t start, size_t end, F& f) const;

  CharClassTable classes_;
  ByteSet word_set_;
  bool lower_ = true;
  bool high_uncovered_ = false;  // bytes above 127 are decoded by the scanner
  std::string_view raw_;
  Store<char> text_;  // the lower-cased block, and blanks after it
  size_t size_ = 0;
  Store<uint64_t> word_bits_;
  // The runs of the stretch being read: where they begin and end.
  static constexpr size_t kStretchWords = 64;
  uint32_t starts_[kStretchWords * 32 + kRunListSlack];
  uint32_t ends_[kStretchWords * 32 + kRunListSlack];
};

template <class F>
void BlockWords::ForEachWord(size_t from, size_t to, F&& f) {
  const char* const text = text_.data();
  // The runs are listed a stretch of text at a time, so that the lists stay
  // small. A run that goes on past a stretch is listed open, and taken with
  // the next one: ends_[k] is the end of the run that begins at starts_[k].
  size_t open = 0;
  for (size_t at = from; at < to;) {
    const size_t stop = std::min(to, (at / 64 + kStretchWords) * 64);
    size_t ended = 0;
    const size_t listed =
        open + Kernels().list_runs(word_bits_.data(), at, stop, starts_ + open, ends_, &ended);
    for (size_t k = 0; k < ended; ++k) {
      size_t start = starts_[k];
      const size_t end = ends_[k];
      // The word begins at the run's first start character and ends at its
      // last: the characters that may only stand inside a word are passed
      // over at the beginning and trimmed off at the end.
      while (!classes_.IsStart(text[start])) {
        if (++start == end) break;
      }
      if (start == end) continue;
      if (end - start > kMaxWordChars) [[unlikely]] {
        CutLongRun(start, end, f);
        continue;
      }
      size_t last = end - 1;
      while (!classes_.IsStart(text[last])) --last;
      f(BytesView(text + start, last + 1 - start));
    }
    open = listed - ended;
    if (open > 0) starts_[0] = starts_[ended];
    at = stop;
  }
}

template <class F>
void BlockWords::CutLongRun(size_t start, size_t end, F& f) const {
  const char* const text = text_.data();
  while (start < end) {
    // A word of kMaxWordChars characters, trimmed; what follows it in the
    // run is read on from its next start character.
    const size_t cut = std::min(end, start + kMaxWordChars);
    size_t last = cut - 1;
    while (!classes_.IsStart(text[last])) --last;
    f(BytesView(text + start, last + 1 - start));
    start = cut;
    while (start < end && !classes_.IsStart(text[start])) ++start;
  }
}

}  // namespace vorn

#endif  // VORN_WORDS_BLOCK_WORDS_H_
