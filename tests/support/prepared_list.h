// Word lists made by hand for the results tests: counted as a run counts
// them, then sorted, summed and ranked as the end of a run does.

#ifndef VORN_TESTS_SUPPORT_PREPARED_LIST_H_
#define VORN_TESTS_SUPPORT_PREPARED_LIST_H_

#include <string>
#include <utility>
#include <vector>

#include "counting/engine_state.h"

namespace vorn {

// A word and its occurrences per file: {file number, count}.
struct Item {
  std::string word;
  std::vector<std::pair<int, int>> files;
};

// Counts the items into st->words, sorts the table, computes the statistics
// and builds the chain; marks the results as present.
void Prepare(EngineState* st, const std::vector<Item>& items);

// banana 12, pear 5, apple 2, fig 2, kiwi 1 (clipboard source).
void PrepareFruit(EngineState* st);

}  // namespace vorn

#endif  // VORN_TESTS_SUPPORT_PREPARED_LIST_H_
