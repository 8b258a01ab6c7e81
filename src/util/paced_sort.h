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
// Helped (given a worker pool), a second thread sorts runs and merges
// pairs beside the calling one, and the runs are at most half the
// elements, so that there are two to share. Each run and each merge is made
// as on one thread: a stable sort gives the same order either way, an
// unstable one only when no two elements compare equal. The pacer is used on
// the calling thread only.
//
// The pacer may throw (see Pacer); the vector then holds its elements in
// some order, or, mid-merge, an unspecified mix of them: it is only fit to
// be destroyed or assigned. The merge buffer is freed either way, and a
// helper is stopped and joined.
//
// Not thread-safe.

#ifndef VORN_UTIL_PACED_SORT_H_
#define VORN_UTIL_PACED_SORT_H_

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <utility>
#include <vector>

#include "util/helper_thread.h"
#include "util/pacer.h"

namespace vorn {

// Elements sorted in one piece between two looks at the clock: a run takes
// a few milliseconds.
inline constexpr size_t kPacedSortRun = 32768;

enum class SortStability { kUnstable, kStable };

// Fewer elements than this are sorted on one thread even when helped.
inline constexpr size_t kMinHelpedSort = 4096;

namespace paced_sort_internal {

// Does task(k, pacer, stop) for every k < count, in turns taken from the
// front: on this thread, with `pacer`, checking it after each task, and
// when helped on a thread of `helpers` too, with no pacer and a flag that
// asks it to stop.
template <class Task>
void Share(size_t count, WorkerPool* helpers, Pacer* pacer, const Task& task) {
  static const std::atomic<bool> kNever{false};
  std::atomic<size_t> next{0};
  const auto own_turns = [&] {
    for (size_t k; (k = next.fetch_add(1)) < count;) {
      task(k, pacer, kNever);
      if (pacer != nullptr) pacer->Check();
    }
  };
  if (helpers == nullptr || count < 2) {
    own_turns();
    return;
  }
  HelperThread helper(
      [&](const std::atomic<bool>& stop) {
        for (size_t k; !stop && (k = next.fetch_add(1)) < count;) task(k, nullptr, stop);
      },
      helpers);
  own_turns();
  helper.Wait(pacer);
}

}  // namespace paced_sort_internal

// Sorts *items by less; pacer may be null. `helpers` (may be null: none):
// a thread of the pool shares the work (see above).
template <class T, class Less>
void PacedSort(std::vector<T>* items, const Less& less, Pacer* pacer, SortStability stability,
               WorkerPool* helpers = nullptr) {
  const size_t n = items->size();
  T* const data = items->data();
  if (n < kMinHelpedSort) helpers = nullptr;
  const size_t run = helpers != nullptr ? std::min(kPacedSortRun, (n + 1) / 2) : kPacedSortRun;
  paced_sort_internal::Share((n + run - 1) / run, helpers, pacer,
                             [&](size_t k, Pacer* /*pacer*/, const std::atomic<bool>& /*stop*/) {
                               const size_t lo = k * run;
                               const size_t hi = std::min(n, lo + run);
                               if (stability == SortStability::kStable) {
                                 std::stable_sort(data + lo, data + hi, less);
                               } else {
                                 std::sort(data + lo, data + hi, less);
                               }
                             });
  if (n <= run) return;

  std::vector<T> buffer(n);
  std::vector<T>* from = items;
  std::vector<T>* to = &buffer;
  for (size_t width = run; width < n; width *= 2) {
    const T* const src = from->data();
    T* const dst = to->data();
    paced_sort_internal::Share(
        (n + 2 * width - 1) / (2 * width), helpers, pacer,
        [&](size_t pair, Pacer* own_pacer, const std::atomic<bool>& stop) {
          const size_t lo = pair * 2 * width;
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
            if (own_pacer != nullptr) {
              own_pacer->Poll();
            } else if ((k & 4095) == 0 && stop.load(std::memory_order_relaxed)) {
              throw HelperStopped{};
            }
          }
          k = static_cast<size_t>(std::copy(src + a, src + mid, dst + k) - dst);
          std::copy(src + b, src + hi, dst + k);
        });
    std::swap(from, to);
  }
  if (from != items) items->swap(buffer);
}

}  // namespace vorn

#endif  // VORN_UTIL_PACED_SORT_H_
