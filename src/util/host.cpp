#include "util/host.h"

namespace vorn {

std::string ProgressBarText(int cells) {
  constexpr int kWidth = 39;
  if (cells > kWidth) cells = kWidth;
  std::string bar(kWidth + 2, ' ');
  bar.front() = '[';
  bar.back() = ']';
  if (cells <= 0) return bar;
  const int hyphens = cells >= 2 ? cells - 1 : 0;
  for (int k = 1; k <= hyphens; ++k) bar[static_cast<size_t>(k)] = '-';
  bar[static_cast<size_t>(hyphens + 1)] = '>';
  return bar;
}

}  // namespace vorn
