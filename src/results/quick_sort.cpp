#include "results/quick_sort.h"

#include <utility>

namespace vorn {

namespace {

// The key of s from the 1-based position start_pos: the rest of the string,
// empty when start_pos lies past its end.
TextView KeyFrom(TextView s, int start_pos) {
  const size_t offset = start_pos > 1 ? static_cast<size_t>(start_pos - 1) : 0;
  if (offset >= s.size()) return TextView();
  return s.substr(offset);
}

// The partition sort shared by every variant. key(k) gives the key of
// element k, swap(a, b) exchanges two elements. The pivot key is copied once
// because the element it came from may move while the range is partitioned.
// The second recursive call is a loop, which keeps the order of the work (and
// so the result) while halving the depth of the recursion.
template <class KeyFn, class SwapFn>
void PartitionSort(int64_t lo, int64_t hi, bool descending, const KeyFn& key, const SwapFn& swap) {
  while (lo < hi) {
    const Text pivot(key(lo + (hi - lo) / 2));
    int64_t i = lo;
    int64_t j = hi;
    while (i <= j) {
      if (descending) {
        while (i < hi && key(i) > TextView(pivot)) ++i;
        while (j > lo && key(j) < TextView(pivot)) --j;
      } else {
        while (i < hi && key(i) < TextView(pivot)) ++i;
        while (j > lo && key(j) > TextView(pivot)) --j;
      }
      if (i <= j) {
        if (i < j) swap(i, j);
        ++i;
        --j;
      }
    }
    if (lo < j) PartitionSort(lo, j, descending, key, swap);
    if (i >= hi) return;
    lo = i;
  }
}

bool ValidRange(const std::vector<Text>& arr, int64_t lo, int64_t hi) {
  return lo >= 0 && hi < static_cast<int64_t>(arr.size()) && lo < hi;
}

void Reverse(std::vector<Text>* arr, int64_t lo, int64_t hi) {
  for (int64_t k = 0; lo + k < hi - k; ++k) {
    std::swap((*arr)[static_cast<size_t>(lo + k)], (*arr)[static_cast<size_t>(hi - k)]);
  }
}

// Sorts lo..hi descending by the folded keys: the keys are folded once, the
// pairs sorted by them, and the strings put back in their new order.
void DescendingByFoldedKey(std::vector<Text>* arr, int64_t lo, int64_t hi, int start_pos) {
  std::vector<std::pair<Text, Text>> pairs;
  pairs.reserve(static_cast<size_t>(hi - lo + 1));
  for (int64_t k = lo; k <= hi; ++k) {
    Text& s = (*arr)[static_cast<size_t>(k)];
    Text folded = MakeSortKey(KeyFrom(s, start_pos));
    pairs.emplace_back(std::move(folded), std::move(s));
  }
  PartitionSort(
      0, hi - lo, /*descending=*/true,
      [&pairs](int64_t k) { return TextView(pairs[static_cast<size_t>(k)].first); },
      [&pairs](int64_t a, int64_t b) {
        std::swap(pairs[static_cast<size_t>(a)], pairs[static_cast<size_t>(b)]);
      });
  for (int64_t k = lo; k <= hi; ++k) {
    (*arr)[static_cast<size_t>(k)] = std::move(pairs[static_cast<size_t>(k - lo)].second);
  }
}

}  // namespace

void QuickSortDescending(std::vector<Text>* arr, int64_t lo, int64_t hi, int start_pos) {
  if (arr == nullptr || !ValidRange(*arr, lo, hi)) return;
  PartitionSort(
      lo, hi, /*descending=*/true,
      [arr, start_pos](int64_t k) { return KeyFrom((*arr)[static_cast<size_t>(k)], start_pos); },
      [arr](int64_t a, int64_t b) {
        std::swap((*arr)[static_cast<size_t>(a)], (*arr)[static_cast<size_t>(b)]);
      });
}

void QuickSortAscending(std::vector<Text>* arr, int64_t lo, int64_t hi, int start_pos) {
  if (arr == nullptr || !ValidRange(*arr, lo, hi)) return;
  QuickSortDescending(arr, lo, hi, start_pos);
  Reverse(arr, lo, hi);
}

void QuickSortDescendingFolded(std::vector<Text>* arr, int64_t lo, int64_t hi, bool fold,
                               int start_pos) {
  if (!fold) {
    QuickSortDescending(arr, lo, hi, start_pos);
    return;
  }
  if (arr == nullptr || !ValidRange(*arr, lo, hi)) return;
  DescendingByFoldedKey(arr, lo, hi, start_pos);
}

void QuickSortAscendingFolded(std::vector<Text>* arr, int64_t lo, int64_t hi, bool fold,
                              int start_pos) {
  if (!fold) {
    QuickSortAscending(arr, lo, hi, start_pos);
    return;
  }
  if (arr == nullptr || !ValidRange(*arr, lo, hi)) return;
  DescendingByFoldedKey(arr, lo, hi, start_pos);
  Reverse(arr, lo, hi);
}

void SortWordListByKey(WordList* list, int64_t first, int64_t last, int start_pos) {
  if (list == nullptr || first < 1 || last > list->DistinctCount() || first >= last) return;
  std::vector<WordEntry>& entries = list->entries();
  PartitionSort(
      first - 1, last - 1, /*descending=*/false,
      [&entries, start_pos](int64_t k) {
        return KeyFrom(entries[static_cast<size_t>(k)].SortKey, start_pos);
      },
      [&entries](int64_t a, int64_t b) {
        std::swap(entries[static_cast<size_t>(a)], entries[static_cast<size_t>(b)]);
      });
}

}  // namespace vorn
