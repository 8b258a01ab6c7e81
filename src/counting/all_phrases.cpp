// "Count all phrases": every run of consecutive words whose number lies in
// the range chosen is counted, and those that occur often enough are listed
// under a summary.
//
// The run is an ordinary count (StartCountRun) in which the phrase windows
// of the counting gate count every full window of a length in the range
// directly, instead of matching it against count-only entries. Phrases made
// only of words to ignore can be left out: a window is such a phrase when
// the words to ignore met in a row, up to the current word, are at least as
// many as the window's words, so each word is looked up once, not once per
// window.

#include <optional>

#include "counting/count_dialogs.h"
#include "counting/engine.h"
#include "counting/window_commands.h"
#include "counting/word_lists.h"
#include "results/output.h"
#include "util/str_proc.h"

namespace vorn {

RunOutcome Engine::CountAllPhrases() {
  return RunCommand([this] { return StartAllPhrases(); });
}

RunOutcome Engine::StartAllPhrases() {
  Settings& s = st_.settings;
  CountRun& run = st_.run;
  if (!CheckSingleFileSource()) return RunOutcome::kRefused;
  if (!GetExtraWords(&st_, 0) || !GetExtraWords(&st_, 1)) return RunOutcome::kRefused;
  run.IgnoreMode = st_.lists.IgnoreSet();
  run.CountOnlyMode = st_.lists.CountOnlySet();  // for the dialog's introduction
  const std::optional<PhraseRunValues> values = AskCountAllPhrases(&st_);
  if (!values) return RunOutcome::kCancelled;
  run.PhraseMinWords = values->min_words;
  run.PhraseMaxWords = values->max_words;
  run.PhraseMinOccurrences = values->min_occurrences;
  run.ExcludeIgnoredPhrases = values->exclude_ignored;
  // Words are not shown as found: there would be far too many.
  st_.ChangeSetting(&s.SuppressWords, 1, "SuppressWords");
  run.AllPhrasesMode = true;
  ClearTextboxClicked(&st_);
  RunOutcome outcome = RunOutcome::kListed;
  {
    const CountOnlyAside aside(&st_.lists, true);
    run.MaxPhraseWords = run.PhraseMaxWords;
    st_.SetLabel(Label::kNumberOfWords, "");
    StartCountRun(&outcome);
  }
  if (st_.words.DistinctCount() > 0 && run.ResultsPresent) {
    st_.SetLabel(Label::kNumOccurrences,
                 "Number of different phrases found: " + Grouped(st_.words.DistinctCount()));
  }
  run.AllPhrasesMode = false;
  run.StopRequested = false;
  return outcome;
}

bool Engine::IsIgnoredInPhrase(BytesView word) {
  const bool ignored = IsIgnored(&st_, word) || FailsWordFilters(st_.settings, word, &scratch_);
  if (ListProblem(st_) != nullptr) list_problem_ = true;
  return ignored;
}

void Engine::AllPhrasesWord(BytesView word) {
  CountRun& run = st_.run;
  const bool exclude = run.IgnoreMode && run.ExcludeIgnoredPhrases;
  if (exclude) ignored_run_ = IsIgnoredInPhrase(word) ? ignored_run_ + 1 : 0;
  if (run.PhraseMinWords == 1 && !(exclude && ignored_run_ > 0)) AddWordToList(word, nullptr);
  for (int k = 2; k <= run.MaxPhraseWords; ++k) {
    if (!PushToWindow(k, word) || k < run.PhraseMinWords) continue;
    // A run being stopped counts no more phrases of ignored words.
    if (exclude && (ignored_run_ >= k || run.StopRequested)) continue;
    AddPhrase(run.PhraseBuffer[static_cast<size_t>(k)]);
  }
  EndPhrasesAfterWord();
}

Text Engine::BuildPhraseSummary() const {
  const CountRun& run = st_.run;
  const int64_t n = st_.stats.ListedCount;
  std::string s = n == 0   ? "There are no phrases"
                  : n == 1 ? "There is one phrase"
                           : "There are" + StrForm(n) + " phrases";
  if (run.PhraseMinWords != run.PhraseMaxWords) {
    s += " with" + StrForm(run.PhraseMinWords) + " to" + StrForm(run.PhraseMaxWords);
  } else {
    s += " of" + StrForm(run.PhraseMinWords);
  }
  s += run.PhraseMaxWords == 1 ? " word which" : " words which";
  s += n == 1 ? " occurs at least" : " occur at least";
  switch (run.PhraseMinOccurrences) {
    case 1:
      s += " once";
      break;
    case 2:
      s += " twice";
      break;
    default:
      s += StrForm(run.PhraseMinOccurrences) + " times";
      break;
  }
  if (run.IgnoreMode) {
    s += run.ExcludeIgnoredPhrases
             ? "\r\nwhen phrases consisting entirely of words to ignore are excluded."
             : "\r\n(including phrases consisting entirely of words to ignore).";
  } else {
    s += ".";
  }
  if (run.PhraseMinWords != run.PhraseMaxWords && n >= 4 && st_.stats.LongestPhraseWords >= 2) {
    s += "\r\nThe longest phrase has" + StrForm(st_.stats.LongestPhraseWords) + " words.";
  }
  s += "\r\n\r\n";
  if (n == 0 && run.ExcludeIgnoredPhrases) {
    s += "You could try repeating the count without excluding phrases consisting only of words "
         "to ignore.";
  }
  return Utf8ToText(s);
}

}  // namespace vorn
