#include "support/prepared_list.h"

#include "results/quick_sort.h"
#include "results/ranking.h"

namespace vorn {

void Prepare(EngineState* st, const std::vector<Item>& items) {
  st->words.Clear();
  for (const Item& it : items) {
    for (const auto& [file, count] : it.files) {
      for (int k = 0; k < count; ++k) st->words.AddOccurrence(T(it.word), file);
    }
  }
  st->words.Finalize();
  SortWordListByKey(&st->words, 1, st->words.DistinctCount(), 1);
  ComputeListStatistics(st->words, st->run.AllPhrasesMode, &st->stats);
  BuildFrequencyChain(&st->words, &st->stats, st->settings.SortByNumberOfFiles != 0, nullptr);
  st->run.ResultsPresent = true;
  st->run.RunComplete = true;
}

void PrepareFruit(EngineState* st) {
  st->settings.Source = InputSource::kClipboard;
  Prepare(st, {{"apple", {{0, 2}}},
               {"pear", {{0, 5}}},
               {"fig", {{0, 2}}},
               {"banana", {{0, 12}}},
               {"kiwi", {{0, 1}}}});
}

}  // namespace vorn
