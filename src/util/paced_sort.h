// PacedSort: a merge sort of a vector that lets events run while it works.
//
// One std::sort over a million elements runs for far longer than the window
// may go without handling its events. PacedSort sorts runs of
// kPacedSortRun elements each with std::sort or std::stable_sort, looking at
// the pacer's clock between runs, then merges the runs pairwise, bottom-up,
// polling the pacer for every element merged. A merge takes the element of
// the left run when two compare equal, so with stable runs the whole sort is
// stable.
//
// The pacer may throw (see Pacer); the vector then holds its elements in
// some order, or, mid-merge, an unspecified mix of them: it is only fit to
// be destroyed or assigned. The merge buffer is freed either way.
//
// Not thread-safe.

#ifndef VORN_UTIL_PACED_SORT_H_
#define VORN_UTIL_PACED_SORT_H_

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "util/pacer.h"

namespace vorn {

// Elements sorted in one piece between two looks at the clock: a run takes
// a few milliseconds.
inline constexpr size_t kPacedSortRun = 32768;

enum class SortStability { kUnstable, kStable };

// Sorts *items by less; pacer may be null.
template <class T, class Less>
void PacedSort(std::vector<T>* items, const Less& less, Pacer* pacer, SortStability stability) {
  const size_t n = items->size();
  T* const data = items->data();
  for (size_t lo = 0; lo < n; lo += kPacedSortRun) {
    const size_t hi = std::min(n, lo + kPacedSortRun);
    if (stability == SortStability::kStable) {
      std::stable_sort(data + lo, data + hi, less);
    } else {
      std::sort(data + lo, data + hi, less);
    }
    if (pacer != nullptr) pacer->Check();
  }
  if (n <= kPacedSortRun) return;

  std::vector<T> buffer(n);
  std::vector<T>* from = items;
  std::vector<T>* to = &buffer;
  for (size_t width = kPacedSortRun; width < n; width *= 2) {
    const T* const src = from->data();
    T* const dst = to->data();
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      const size_t mid = std::min(n, lo + width);
      const size_t hi = std::min(n, mid + width);
      size_t a = lo;
      size_t b = mid;
      size_t k = lo;
      while (a < mid && b < hi) {
        // The right element goes first only when it is strictly less.
        if (less(src[b], src[a])) {
          dst[k++] = src[b++];
        } else {
          dst[k++] = src[a++];
        }
        if (pacer != nullptr) pacer->Poll();
      }
      k = static_cast<size_t>(std::copy(src + a, src + mid, dst + k) - dst);
      std::copy(src + b, src + hi, dst + k);
    }
    std::swap(from, to);
  }
  if (from != items) items->swap(buffer);
}

}  // namespace vorn

#endif  // VORN_UTIL_PACED_SORT_H_
