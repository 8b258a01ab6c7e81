// Ranking: list statistics and the frequency chain over a finished WordList.
//
// ComputeListStatistics sums the listed entries; BuildFrequencyChain threads
// the listed entries by descending count (or number of files) and gives each
// its rank, ties in table order. The chain is built with a stable sort (a
// merge sort that lets events run, PacedSort), not with the counting scan it
// replaces, but yields the same ranks, links and progress dots.
//
// Not thread-safe.

#ifndef VORN_RESULTS_RANKING_H_
#define VORN_RESULTS_RANKING_H_

#include <cstdint>
#include <functional>

#include "counting/word_list.h"
#include "util/pacer.h"
#include "util/text.h"

namespace vorn {

struct ListStatistics {
  int64_t ListedCount = 0;
  int64_t ExcludedCount = 0;
  int64_t ListedInstances = 0;
  int64_t MaxCount = 0;
  int64_t MaxFileCount = 0;
  int64_t LongestEntryLength = 0;
  int64_t LongestPhraseWords = 0;
  Text TopEntry;
  int64_t ChainHead = 0;
};

// Fills every field but ChainHead from the table. With all_phrases_mode the
// number of words of the longest listed phrase is kept too. Polls `pacer`
// (may be null) for every entry.
void ComputeListStatistics(const WordList& list, bool all_phrases_mode, ListStatistics* stats,
                           Pacer* pacer = nullptr);

// Sets Rank and NextInChain of every entry and stats->ChainHead: the listed
// entries by descending FileCount (by_files) or Count, equal values in
// ascending entry order; unlisted entries get rank 0. Calls
// `thousand_links` once for every 1000th link (the progress dots: one call
// per multiple of 1000 up to ListedCount). REQUIRES: ComputeListStatistics
// was run on the same table. Polls `pacer` (may be null) throughout; when it
// throws, ranks and links are left unfinished (the chain is to be built
// again).
void BuildFrequencyChain(WordList* list, ListStatistics* stats, bool by_files,
                         const std::function<void()>& thousand_links, Pacer* pacer = nullptr);

// count x 100 / listed_instances, a percentage.
double RelativeFrequency(int64_t count, int64_t listed_instances);

// The base-10 logarithm of x.
double ZipfLog(double x);

}  // namespace vorn

#endif  // VORN_RESULTS_RANKING_H_
