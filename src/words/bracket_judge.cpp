#include "words/bracket_judge.h"

#include <algorithm>

#include "words/reg_exp.h"

namespace vorn {

void BracketJudge::Learn(BytesView block, size_t open, size_t close) {
  close_ = close;
  from_ = open;
  const size_t n = close - open + 1;
  sum_.resize(n);
  low_.resize(n);
  plain_.resize(n);
  int32_t sum = 0;
  int32_t low = 0;  // the sum of the empty text after close
  bool plain = true;
  for (size_t i = close + 1; i-- > open;) {
    const char c = block[i];
    low_[i - open] = low;
    if (c == ')') ++sum;
    if (c == '(') {
      --sum;
      if (i + 1 <= close && block[i + 1] == '?') plain = false;
    }
    if (c == '\\' || c == '[') plain = false;
    sum_[i - open] = sum;
    plain_[i - open] = plain;
    low = std::min(low, sum);
  }
}

bool BracketJudge::IsValid(BytesView block, size_t open, size_t close) {
  if (close != close_ || open < from_) Learn(block, open, close);
  const size_t k = open - from_;
  // Balanced: no prefix closes more than it opened, and all are closed.
  if (plain_[k] && (sum_[k] != 0 || low_[k] < 0)) return false;
  const BytesView bracketed = block.substr(open, close - open + 1);
  if (!plain_[k] && IsUnbalancedRegExp(bracketed)) return false;
  return Compiles(bracketed);
}

bool BracketJudge::Compiles(BytesView bracketed) {
  constexpr size_t kMaxVerdictBytes = size_t{4} << 20;
  const auto it = verdicts_.find(bracketed);
  if (it != verdicts_.end()) return it->second;
  if (verdict_bytes_ + bracketed.size() > kMaxVerdictBytes) {
    verdicts_.clear();
    verdict_bytes_ = 0;
  }
  const bool valid = IsValidRegExp(DecodeWindows1252(bracketed));
  verdicts_.emplace(Bytes(bracketed), valid);
  verdict_bytes_ += bracketed.size() + sizeof(Bytes);
  return valid;
}

}  // namespace vorn
