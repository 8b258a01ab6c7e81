// BracketJudge: decides whether a bracketed text met inside a word ("<" up
// to the next ">") is a valid regular expression, so that it joins the word.
//
// Text full of brackets is judged at about the cost of any other text: most
// such brackets are no expression and tell so by an unclosed parenthesis,
// which is seen for every "<" sharing the same ">" from one pass over the
// text between them; the others are compiled once per distinct text and
// their verdict kept (within a bound on memory).
//
// Positions are those of the block being scanned: NewBlock() forgets them.
// Not thread-safe; one per scanner.

#ifndef VORN_WORDS_BRACKET_JUDGE_H_
#define VORN_WORDS_BRACKET_JUDGE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "util/text.h"

namespace vorn {

class BracketJudge {
 public:
  // Forgets what was learnt of the positions of the last block.
  void NewBlock() { close_ = kNone; }

  // Whether block[open..close] ("<" ... ">") is a valid expression.
  // REQUIRES: within a block, calls with the same `close` come with rising
  // `open` (the scanner's order).
  bool IsValid(BytesView block, size_t open, size_t close);

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  // The balance of the parentheses of block[i..close_] for each i from
  // from_ on, read from the right: sum_[i - from_] counts ")" as +1 and
  // "(" as -1; low_[i - from_] is the least such sum of the texts that
  // begin after i; plain_[i - from_] says that block[i..close_] holds no
  // "\", "[" or "(?", which would change how parentheses are read.
  void Learn(BytesView block, size_t open, size_t close);
  bool Compiles(BytesView bracketed);

  size_t close_ = kNone;
  size_t from_ = 0;
  std::vector<int32_t> sum_;
  std::vector<int32_t> low_;
  std::vector<bool> plain_;

  struct BytesHash {
    using is_transparent = void;
    size_t operator()(BytesView v) const { return std::hash<BytesView>{}(v); }
  };
  std::unordered_map<Bytes, bool, BytesHash, std::equal_to<>> verdicts_;
  size_t verdict_bytes_ = 0;  // what the verdicts' texts take
};

}  // namespace vorn

#endif  // VORN_WORDS_BRACKET_JUDGE_H_
