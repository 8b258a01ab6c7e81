#include "results/quick_sort.h"

#include <atomic>
#include <string>
#include <utility>

#include "util/helper_thread.h"
#include "util/paced_sort.h"

namespace vorn {

namespace {

// The key of s from the 1-based position start_pos: the rest of the string,
// empty when start_pos lies past its end.
template <class View>
View KeyFrom(View s, int start_pos) {
  const size_t offset = start_pos > 1 ? static_cast<size_t>(start_pos - 1) : 0;
  if (offset >= s.size()) return View();
  return s.substr(offset);
}

bool TextLess(TextView a, TextView b) { return a < b; }

// One partition step of the sort below: the range lo..hi is split around
// the key of its middle element into lo..*j (keys not after it) and
// *i..hi (keys not before it). The pivot key is copied once because the
// element it came from may move while the range is partitioned.
template <class View, class KeyFn, class LessFn, class SwapFn, class PollFn>
void Partition(int64_t lo, int64_t hi, bool descending, const KeyFn& key, const LessFn& less,
               const SwapFn& swap, const PollFn& poll, int64_t* i_out, int64_t* j_out) {
  using Str = std::basic_string<typename View::value_type>;
  const Str pivot_text(key(lo + (hi - lo) / 2));
  const View pivot(pivot_text);
  int64_t i = lo;
  int64_t j = hi;
  while (i <= j) {
    if (descending) {
      while (i < hi && less(pivot, key(i))) {
        ++i;
        poll();
      }
      while (j > lo && less(key(j), pivot)) {
        --j;
        poll();
      }
    } else {
      while (i < hi && less(key(i), pivot)) {
        ++i;
        poll();
      }
      while (j > lo && less(pivot, key(j))) {
        --j;
        poll();
      }
    }
    if (i <= j) {
      if (i < j) swap(i, j);
      ++i;
      --j;
      poll();
    }
  }
  *i_out = i;
  *j_out = j;
}

// The partition sort shared by every variant. key(k) gives the key of
// element k as a View, less(a, b) orders two keys, swap(a, b) exchanges two
// elements, poll() is called for every step of the scans (it may throw; the
// elements are then in some order, each in one place). The second recursive
// call is a loop, which keeps the order of the work (and so the result)
// while halving the depth of the recursion.
template <class View, class KeyFn, class LessFn, class SwapFn, class PollFn>
void PartitionSort(int64_t lo, int64_t hi, bool descending, const KeyFn& key, const LessFn& less,
                   const SwapFn& swap, const PollFn& poll) {
  while (lo < hi) {
    poll();
    int64_t i = 0;
    int64_t j = 0;
    Partition<View>(lo, hi, descending, key, less, swap, poll, &i, &j);
    if (lo < j) PartitionSort<View>(lo, j, descending, key, less, swap, poll);
    if (i >= hi) return;
    lo = i;
  }
}

// The Text variants sort no more than the file lines of one entry
// (kMaxFilesPerEntry at most): they do not pause.
constexpr auto kNoPoll = [] {};

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
    Text folded = MakeSortKey(KeyFrom(TextView(s), start_pos));
    pairs.emplace_back(std::move(folded), std::move(s));
  }
  PartitionSort<TextView>(
      0, hi - lo, /*descending=*/true,
      [&pairs](int64_t k) { return TextView(pairs[static_cast<size_t>(k)].first); }, TextLess,
      [&pairs](int64_t a, int64_t b) {
        std::swap(pairs[static_cast<size_t>(a)], pairs[static_cast<size_t>(b)]);
      },
      kNoPoll);
  for (int64_t k = lo; k <= hi; ++k) {
    (*arr)[static_cast<size_t>(k)] = std::move(pairs[static_cast<size_t>(k - lo)].second);
  }
}

}  // namespace

void QuickSortDescending(std::vector<Text>* arr, int64_t lo, int64_t hi, int start_pos) {
  if (arr == nullptr || !ValidRange(*arr, lo, hi)) return;
  PartitionSort<TextView>(
      lo, hi, /*descending=*/true,
      [arr, start_pos](int64_t k) {
        return KeyFrom(TextView((*arr)[static_cast<size_t>(k)]), start_pos);
      },
      TextLess,
      [arr](int64_t a, int64_t b) {
        std::swap((*arr)[static_cast<size_t>(a)], (*arr)[static_cast<size_t>(b)]);
      },
      kNoPoll);
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

void SortWordListByKey(WordList* list, int64_t first, int64_t last, int start_pos, Pacer* pacer,
                       WorkerPool* helpers) {
  if (list == nullptr || first < 1 || last > list->DistinctCount() || first >= last) return;
  // The keys are Windows-1252 bytes; OrdinalLess orders them as their
  // characters' codes. Elements are 0-based here, entries 1-based.
  const auto key = [list, start_pos](int64_t k) {
    return KeyFrom(list->SortKey(k + 1), start_pos);
  };
  const auto swap = [list](int64_t a, int64_t b) { list->SwapEntries(a + 1, b + 1); };
  const auto poll = [pacer] {
    if (pacer != nullptr) pacer->Poll();
  };
  int64_t lo = first - 1;
  const int64_t hi = last - 1;
  if (helpers != nullptr && hi - lo >= static_cast<int64_t>(kMinHelpedSort)) {
    // The two sides of the first partition are sorted at once, the first
    // by a helper: each side is sorted as it would be on its own, so the
    // order is the same.
    poll();
    int64_t i = 0;
    int64_t j = 0;
    Partition<BytesView>(lo, hi, /*descending=*/false, key, OrdinalLess, swap, poll, &i, &j);
    HelperThread helper(
        [&, j](const std::atomic<bool>& stop) {
          const auto stop_poll = [&stop] {
            if (stop.load(std::memory_order_relaxed)) throw HelperStopped{};
          };
          if (lo < j) {
            PartitionSort<BytesView>(lo, j, /*descending=*/false, key, OrdinalLess, swap,
                                     stop_poll);
          }
        },
        helpers);
    if (i < hi) PartitionSort<BytesView>(i, hi, /*descending=*/false, key, OrdinalLess, swap, poll);
    helper.Wait(pacer);
    return;
  }
  PartitionSort<BytesView>(lo, hi, /*descending=*/false, key, OrdinalLess, swap, poll);
}

}  // namespace vorn
