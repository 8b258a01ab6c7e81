#include "results/ranking.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "util/paced_sort.h"

namespace vorn {

void ComputeListStatistics(const WordList& list, bool all_phrases_mode, ListStatistics* stats,
                           Pacer* pacer) {
  stats->LongestEntryLength = 0;
  stats->ListedCount = 0;
  stats->MaxCount = 0;
  stats->MaxFileCount = 0;
  stats->ExcludedCount = 0;
  stats->ListedInstances = 0;
  stats->LongestPhraseWords = 0;
  stats->TopEntry.clear();
  const int64_t n = list.DistinctCount();
  for (int64_t i = 1; i <= n; ++i) {
    if (pacer != nullptr) pacer->Poll();
    const WordEntry& e = list[i];
    if (!e.Listed) {
      ++stats->ExcludedCount;
      continue;
    }
    const BytesView word = list.Word(i);
    ++stats->ListedCount;
    stats->ListedInstances += e.Count;
    if (e.Count > stats->MaxCount) {
      stats->MaxCount = e.Count;
      stats->TopEntry = DecodeWindows1252(word);
    }
    stats->MaxFileCount = std::max(stats->MaxFileCount, list.FileCount(i));
    stats->LongestEntryLength =
        std::max(stats->LongestEntryLength, static_cast<int64_t>(word.size()));
    if (all_phrases_mode) {
      const int64_t words = 1 + std::count(word.begin(), word.end(), ' ');
      stats->LongestPhraseWords = std::max(stats->LongestPhraseWords, words);
    }
  }
}

void BuildFrequencyChain(WordList* list, ListStatistics* stats, bool by_files,
                         const std::function<void()>& thousand_links, Pacer* pacer) {
  const int64_t n = list->DistinctCount();
  stats->ChainHead = 0;
  // Entries are ranked from the largest value down to 1, so an entry whose
  // value is 0 gets no rank; a stable sort keeps equal values in entry order
  // (the order they are gathered in). Entry numbers fit in 32 bits (the
  // WordList holds no more).
  auto value = [list, by_files](int64_t i) {
    return by_files ? list->FileCount(i) : (*list)[i].Count;
  };
  std::vector<int32_t> order;
  order.reserve(static_cast<size_t>(stats->ListedCount > 0 ? stats->ListedCount : 0));
  for (int64_t i = 1; i <= n; ++i) {
    if (pacer != nullptr) pacer->Poll();
    WordEntry& e = (*list)[i];
    e.Rank = 0;
    e.NextInChain = 0;
    if (e.Listed && value(i) >= 1) order.push_back(static_cast<int32_t>(i));
  }
  PacedSort(
      &order, [&value](int32_t a, int32_t b) { return value(a) > value(b); }, pacer,
      SortStability::kStable);
  for (size_t k = 0; k < order.size(); ++k) {
    if (pacer != nullptr) pacer->Poll();
    WordEntry& e = (*list)[order[k]];
    e.Rank = static_cast<int32_t>(k + 1);
    if (k + 1 < order.size()) e.NextInChain = order[k + 1];
  }
  if (order.empty()) return;
  stats->ChainHead = order.front();
  // The linking walk counts k up to ListedCount and shows a dot at every
  // multiple of 1000 it reaches.
  if (thousand_links) {
    for (int64_t k = 1000; k <= stats->ListedCount; k += 1000) thousand_links();
  }
}

double RelativeFrequency(int64_t count, int64_t listed_instances) {
  if (listed_instances == 0) return 0.0;
  return static_cast<double>(count) * 100.0 / static_cast<double>(listed_instances);
}

double ZipfLog(double x) { return std::log10(x); }

}  // namespace vorn
