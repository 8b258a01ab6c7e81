// QuickSort: the program's one partition sort, in its variants.
//
// The sort is recursive, takes the middle element as pivot and is not
// stable; the order in which it leaves equal keys is part of what the user
// sees (the alphabetical listing), so every variant follows the same steps
// exactly. Keys are the rest of each string from the 1-based character
// position start_pos, compared ordinally. lo and hi are inclusive 0-based
// element positions of the vector.
//
// Pure functions over their arguments; thread-compatible.

#ifndef VORN_RESULTS_QUICK_SORT_H_
#define VORN_RESULTS_QUICK_SORT_H_

#include <cstdint>
#include <vector>

#include "counting/word_list.h"
#include "util/pacer.h"
#include "util/text.h"
#include "util/work_pool.h"

namespace vorn {

void QuickSortDescending(std::vector<Text>* arr, int64_t lo, int64_t hi, int start_pos);

// The descending sort followed by a reversal of lo..hi.
void QuickSortAscending(std::vector<Text>* arr, int64_t lo, int64_t hi, int start_pos);

// As the two above; with fold, each key is first put through MakeSortKey.
void QuickSortDescendingFolded(std::vector<Text>* arr, int64_t lo, int64_t hi, bool fold,
                               int start_pos);
void QuickSortAscendingFolded(std::vector<Text>* arr, int64_t lo, int64_t hi, bool fold,
                              int start_pos);

// Sorts entries first..last (1-based) of the table in place, ascending by
// SortKey from start_pos, with the ascending record partition (no reversal).
// Polls `pacer` (may be null) at every step; when it throws, the entries
// are left in some order, each whole. `helpers` (may be null: none): a
// large range is sorted on a thread of the pool too, in the same order.
void SortWordListByKey(WordList* list, int64_t first, int64_t last, int start_pos,
                       Pacer* pacer = nullptr, WorkerPool* helpers = nullptr);

}  // namespace vorn

#endif  // VORN_RESULTS_QUICK_SORT_H_
