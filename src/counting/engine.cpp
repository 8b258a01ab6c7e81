#include "counting/engine.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <fstream>
#include <new>
#include <optional>

#include "counting/count_dialogs.h"
#include "counting/option_rules.h"
#include "counting/state_commands.h"
#include "counting/window_commands.h"
#include "counting/window_rules.h"
#include "counting/word_lists.h"
#include "counting/words_file_commands.h"
#include "counting/words_files.h"
#include "input/decode.h"
#include "input/file_patterns.h"
#include "results/count_array.h"
#include "results/output.h"
#include "results/quick_sort.h"
#include "util/file_proc.h"
#include "util/helper_thread.h"
#include "util/message_table.h"
#include "util/str_proc.h"
#include "words/char_classes.h"
#include "words/comment_markers.h"
#include "words/normalise.h"

namespace vorn {

namespace {

constexpr int64_t kStopPromptMin = 800;
// Fewer entries than this are filtered on one thread even with a worker.
constexpr int64_t kMinHelpedFilter = 4096;
const std::string kCrLfS = "\r\n";

// How a run ended that wrote a count array.
RunOutcome CountArrayOutcomeOf(CountArrayOutcome written) {
  switch (written) {
    case CountArrayOutcome::kWritten:
    case CountArrayOutcome::kNoEntries:
      return RunOutcome::kListed;
    case CountArrayOutcome::kStopped:
      return RunOutcome::kStopped;
    case CountArrayOutcome::kFailed:
      break;
  }
  return RunOutcome::kFailed;
}

}  // namespace

Engine::Engine(Host* host) : st_(host) {
  Initialize(&st_.settings);
  st_.pacer.SetDue([this] { Pause(); });
}

void Engine::SetEventThrottle(int words, std::chrono::milliseconds interval) {
  st_.pacer.SetThrottle(words, interval);
}

// --- Pauses and the run clock -------------------------------------------------

bool Engine::Yield() {
  st_.pacer.Poll();
  return st_.run.StopRequested;
}

void Engine::Pause() {
  Tick();
  st_.host->ProcessEvents();
  if (st_.Abandoning) throw RunAbandoned{};
}

// The two one-second timers: the elapsed time and distinct-entry labels, and
// the count button's caption.
void Engine::Tick() {
  CountRun& run = st_.run;
  if (run.ClockRunning) {
    const auto secs = std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::steady_clock::now() - run_started_)
                          .count();
    if (secs != run.ElapsedSeconds) {
      run.ElapsedSeconds = secs;
      if (st_.settings.Source != InputSource::kClipboard) {
        st_.SetLabel(Label::kTimeElapsed, "Time elapsed: " + FormatElapsed(secs));
      }
      const std::string kind = run.AllPhrasesMode ? "phrases" : WordsPhrases(st_);
      st_.SetLabel(Label::kNumberOfWords, "Number of different " + kind + " found so far: " +
                                              Grouped(st_.words.DistinctCount()));
    }
  }
  if (run.Running) {
    // The activity indicator turns four times a second.
    const auto now = std::chrono::steady_clock::now();
    if (activity_ < 0 || now - activity_turned_ >= std::chrono::milliseconds(250)) {
      activity_ = (activity_ + 1) % 4;
      activity_turned_ = now;
      st_.host->IndicatorChanged(Indicator::kActivity, activity_);
    }
    if (run.StopRequested) {
      st_.SetLabel(Label::kCountWordsCaption, GetMessageText(32));
    } else if (st_.labels[static_cast<int>(Label::kCountWordsCaption)].text == GetMessageText(32) &&
               st_.words.DistinctCount() > kStopPromptMin) {
      st_.SetLabel(Label::kCountWordsCaption, GetMessageText(33));
    }
  }
}

// --- The count command --------------------------------------------------------

void Engine::RequestStop() {
  CountRun& run = st_.run;
  const std::string caption = st_.labels[static_cast<int>(Label::kCountWordsCaption)].text;
  if (run.AllPhrasesMode) {
    if (st_.host->Ask("Counting all phrases", "Really stop?", Buttons::kYesNo, Answer::kNo) !=
        Answer::kYes) {
      return;
    }
    st_.textbox.SetText(u"Counting of all phrases was stopped.");
  } else if (!run.ListingFiles && !run.CountingFiles && !run.ReadingWordLists &&
             st_.words.DistinctCount() > kStopPromptMin) {
    const std::string text =
        Grouped(st_.words.DistinctCount()) + " found so far." + kCrLfS + kCrLfS + "Really stop?";
    if (st_.host->Ask(caption, text, Buttons::kYesNo, Answer::kNo) != Answer::kYes) return;
  }
  run.StopRequested = true;
  run.ClockRunning = false;
}

RunOutcome Engine::CountWords() {
  switch (st_.busy) {
    case Busy::kCounting:
    case Busy::kListingFiles:
      RequestStop();
      return RunOutcome::kStopAsked;
    case Busy::kRelisting:
    case Busy::kReadingWordsFiles:
      st_.run.StopRequested = true;
      return RunOutcome::kStopAsked;
    case Busy::kIdle:
      break;
  }
  return RunCommand([this] { return StartCount(); });
}

void Engine::StopSilently() {
  if (!in_command_) return;
  st_.Abandoning = true;
  st_.run.StopRequested = true;
  st_.pacer.Hurry();
}

RunOutcome Engine::RunCommand(const std::function<RunOutcome()>& body) {
  if (in_command_) return RunOutcome::kBusy;
  in_command_ = true;
  RunOutcome outcome;
  try {
    outcome = body();
  } catch (const RunAbandoned&) {
    Unwind();
    outcome = RunOutcome::kStopped;
  } catch (const std::exception& e) {
    // Nothing the standard library throws (memory, the file system) leaves
    // the command: the work ends with a report and the window is usable.
    Unwind();
    const bool no_memory = dynamic_cast<const std::bad_alloc*>(&e) != nullptr;
    ReportError(&st_, "CountWords", no_memory ? ENOMEM : EIO,
                no_memory ? ErrorDescription(ENOMEM) : std::string(e.what()));
    outcome = RunOutcome::kFailed;
  }
  st_.Abandoning = false;
  in_command_ = false;
  st_.SetBusy(Busy::kIdle);
  return outcome;
}

void Engine::Unwind() {
  CountRun& run = st_.run;
  // The word list may have been left half sorted, or half finalized by a
  // failure: the results are dropped.
  if (st_.Abandoning || !st_.words.finalized()) {
    st_.words.Clear();
    run.ResultsPresent = false;
    run.RunComplete = false;
  }
  run.Running = false;
  run.ClockRunning = false;
  run.StopRequested = false;
  run.ReadingFiles = false;
  run.ReadingWordLists = false;
  run.ListingFiles = false;
  run.CountingFiles = false;
  st_.listing.WritingToFile = false;
  lines_.BeginFile();
  pending_words_.clear();
  activity_ = -1;
  st_.host->IndicatorChanged(Indicator::kActivity, -1);
  SetCountWordsCaption();
}

void Engine::SetCountWordsCaption() { vorn::SetCountWordsCaption(&st_); }

void Engine::OnTimer() {
  if (in_command_) return;
  st_.SetLabel(Label::kIgnoreFilesCaption, WordsFilesCaption(st_, 0));
  st_.SetLabel(Label::kCountOnlyFilesCaption, WordsFilesCaption(st_, 1));
}

bool Engine::LoadWordsFile(int index, const std::string& path) {
  return RunCommand([this, index, &path] {
           st_.SetBusy(Busy::kReadingWordsFiles);
           vorn::LoadWordsFile(&st_, index, path);
           return RunOutcome::kListed;
         }) != RunOutcome::kBusy;
}

bool Engine::LoadCommonWords(int language) {
  return RunCommand([this, language] {
           st_.SetBusy(Busy::kReadingWordsFiles);
           vorn::LoadCommonWords(&st_, language);
           return RunOutcome::kListed;
         }) != RunOutcome::kBusy;
}

int Engine::RenderListing(ByteSink* sink) {
  int failure = 0;
  RunCommand([this, sink, &failure] {
    st_.SetBusy(Busy::kRelisting);
    failure = RenderFileListing(&st_, sink);
    return RunOutcome::kListed;
  });
  return failure;
}

void Engine::SuppressWordsChanged() {
  if (st_.settings.SuppressWords == 0 && st_.run.Running && !st_.textbox.empty()) {
    st_.textbox.OutputToTxb(kCrLf);
  }
}

bool Engine::CheckSingleFileSource() {
  Settings& s = st_.settings;
  if (trim_input_path_) {
    std::string trimmed = std::string(TrimBlanksAndTabs(s.InputFilePath));
    if (trimmed != s.InputFilePath) {
      s.InputFilePath = std::move(trimmed);
      st_.SettingChanged("InputFilePath");
    }
  }
  if (s.Source != InputSource::kSingleFile) return true;
  if (s.InputFilePath.empty()) {
    st_.host->ShowMessage("Invalid input", "Input file not specified!", Icon::kExclamation);
    return false;
  }
  // Other kinds of path are reported by DoItFromFile.
  if (ClassifyPath(s.InputFilePath) == PathKind::kRegular && FileLength(s.InputFilePath) == 0) {
    st_.host->ShowMessage("Empty file", "Input file is zero-length!", Icon::kExclamation);
    return false;
  }
  return true;
}

RunOutcome Engine::StartCount() {
  CountRun& run = st_.run;
  if (!CheckSingleFileSource()) return RunOutcome::kRefused;
  // The entries of the two boxes, as they stand now.
  if (!GetExtraWords(&st_, 0) || !GetExtraWords(&st_, 1)) return RunOutcome::kRefused;
  RestrictionLists& lists = st_.lists;
  run.CountOnlyMode = lists.CountOnlySet();
  run.IgnoreMode = lists.IgnoreSet();

  if (!run.CountArrayMode && !AskCountWords(&st_)) return RunOutcome::kCancelled;
  // "Count all words": the count-only entries are put aside for this run.
  const CountOnlyAside aside(&lists, !run.CountOnlyMode && lists.CountOnlySet());
  st_.SetLabel(Label::kNumberOfWords, "");
  RunOutcome outcome = RunOutcome::kListed;
  StartCountRun(&outcome);
  run.StopRequested = false;
  return outcome;
}

void Engine::StartCountRun(RunOutcome* outcome) {
  Settings& s = st_.settings;
  CountRun& run = st_.run;
  // The output file is never the input file: truncating it below would lose
  // the input.
  if (s.Source == InputSource::kSingleFile && !s.OutputFilePath.empty() && !s.DisableOutputToFile &&
      SamePath(s.InputFilePath, s.OutputFilePath)) {
    ReportInputFileStatus(&st_, kFileIsOutput);
    *outcome = RunOutcome::kRefused;
    return;
  }
  if (!s.OutputFilePath.empty() && (!s.DisableOutputToFile || run.CountArrayMode)) {
    // The output file is emptied now so that a failure shows before the
    // count. With "Warn on overwrite" the file is only tested, not emptied
    // or made: the question before it is written must still be worth asking.
    const bool exists = FileExists(s.OutputFilePath);
    std::ofstream out;
    if (s.WarnOnOverwrite && exists) {
      out.open(s.OutputFilePath, std::ios::binary | std::ios::app);
    } else {
      out.open(s.OutputFilePath, std::ios::binary | std::ios::trunc);
    }
    const int err = errno;
    const bool opened = static_cast<bool>(out);
    out.close();
    if (opened && s.WarnOnOverwrite && !exists) std::remove(s.OutputFilePath.c_str());
    if (!opened) {
      st_.textbox.SetText(T("Error: " + ErrorDescription(err) + kCrLfS + kCrLfS +
                            "If the output file is open in Excel then it must first be closed" +
                            kCrLfS +
                            "or a different file should be specified as the output file."));
      run.StopRequested = false;
      *outcome = RunOutcome::kRefused;
      return;
    }
  }
  // A count-only file is never the file counted.
  const WordsFileList& count_only_files = s.WordsFiles[1];
  if (s.Source == InputSource::kSingleFile && count_only_files.selected >= 0 &&
      static_cast<size_t>(count_only_files.selected) < count_only_files.paths.size() &&
      SamePath(s.InputFilePath,
               count_only_files.paths[static_cast<size_t>(count_only_files.selected)])) {
    st_.host->ShowMessage("Invalid input",
                          "The file to be scanned, " + s.InputFilePath + "," + kCrLfS +
                              "cannot be the same as the count-only words/phrases file" + kCrLfS +
                              "currently specified in the Settings panel.",
                          Icon::kExclamation);
    *outcome = RunOutcome::kRefused;
    return;
  }
  if (!run.AllPhrasesMode) run.MaxPhraseWords = ComputeMaxPhraseWords(st_.lists);
  run.PhrasesInCountOnly = run.MaxPhraseWords > 1;
  PrepareListsForRun(&st_);
  run.PhraseBuffer.assign(static_cast<size_t>(run.MaxPhraseWords) + 1, Bytes());
  run.PhraseWords.assign(static_cast<size_t>(run.MaxPhraseWords) + 1, 0);
  // Lock the window.
  run.Running = true;
  st_.SetBusy(Busy::kCounting);
  run.StopRequested = false;
  *outcome = RunCount();
  run.ClockRunning = false;
  if (run.ElapsedSeconds < 3) st_.SetLabel(Label::kTimeElapsed, "");
  // Unlock.
  run.Running = false;
  activity_ = -1;
  st_.host->IndicatorChanged(Indicator::kActivity, -1);
  SetCountWordsCaption();
  st_.SetBusy(Busy::kIdle);
  run.StopRequested = false;
}

std::string Engine::ActivityText() const {
  if (st_.run.AllPhrasesMode) return "counting all phrases";
  if (st_.run.CountOnlyMode) return "counting specified words/phrases";
  return "counting all words";
}

RunOutcome Engine::RunCount() {
  Settings& s = st_.settings;
  CountRun& run = st_.run;
  // Reset.
  for (Label l : {Label::kNumWordsExcluded, Label::kNumOccurrences, Label::kTotalNumOccurrences}) {
    st_.HideLabel(l);
  }
  run.CountOnlyMode = run.AllPhrasesMode || st_.lists.CountOnlySet();
  // Display-format check.
  if (s.DisplayFormat >= 11 && s.Source != InputSource::kFolder) {
    if (!CheckDisplayFormatAvailable(&st_)) return RunOutcome::kRefused;
  }
  // Comment markers that words could hold are refused.
  if (s.AllowCommentMarkers && !CommentMarkersOK(st_.host, s)) {
    st_.host->ShowSettingsWindow();
    return RunOutcome::kRefused;
  }
  // The file-path specifications.
  if (s.Source != InputSource::kClipboard) {
    GetFileFilepathSpecifications(&st_, 0);
    GetFileFilepathSpecifications(&st_, 1);
    if (!CheckFilePatterns(st_.host, st_.file_specs)) return RunOutcome::kRefused;
  }
  // Frequency limits.
  run.ThresholdFrequency = s.ThresholdFrequencyValue();
  run.ExcessFrequency = s.ExcessFrequencyValue();
  const std::string kind = WordsPhrases(st_);
  if (s.IgnoreInfrequentWords && s.IgnoreExcessivelyFrequentWords &&
      run.ThresholdFrequency > run.ExcessFrequency) {
    st_.host->ShowMessage("Invalid input",
                          "The settings currently say to ignore " + kind + kCrLfS +
                              "with fewer than " + std::to_string(run.ThresholdFrequency) +
                              " occurrences and with more than " +
                              std::to_string(run.ExcessFrequency) + " occurrences," + kCrLfS +
                              "which implies that all " + kind + " will be ignored.",
                          Icon::kInformation);
    return RunOutcome::kRefused;
  }
  // Extra characters.
  if (!CheckAllowedExtraChars(&st_)) return RunOutcome::kRefused;
  // Set-up.
  st_.SetLabel(Label::kCountWordsCaption, GetMessageText(32));
  ConfigureScanner();
  st_.textbox.OutputAborted = false;
  run.Interrupted = false;
  run.ReadingWordLists = false;
  run.WordsRead = 0;
  run.ElapsedSeconds = 0;
  run_started_ = std::chrono::steady_clock::now();
  run.ClockRunning = true;
  st_.SetLabel(Label::kTimeElapsed, "Time elapsed: 0s");
  pending_words_.clear();
  ended_by_error_ = false;
  st_.listing.HeaderPrefix.clear();
  st_.listing.AllPhrases = run.AllPhrasesMode;
  st_.listing.MinColumnWidth = 8;

  // Source.
  RunOutcome read;
  switch (s.Source) {
    case InputSource::kClipboard:
      read = ReadClipboard();
      break;
    case InputSource::kSingleFile:
      read = ReadSingleFile();
      break;
    case InputSource::kFolder:
      read = ScanFolder();
      break;
  }
  if (read != RunOutcome::kListed) return read;
  FlushPendingWords();

  // Alphabetical sort.
  const bool stopped = run.StopRequested;
  // The sorts share their work with a worker, which has nothing else to do
  // by now.
  WorkerPool* const helpers = threads_ > 1 ? Pool() : nullptr;
  st_.words.Finalize(&st_.pacer, helpers);
  if (st_.words.DistinctCount() > 1 && !(run.AllPhrasesMode && stopped)) {
    SortWordListByKey(&st_.words, 1, st_.words.DistinctCount(), 1, &st_.pacer, helpers);
  }
  // Stop handling.
  if (stopped) {
    run.StopRequested = false;
    Text note = st_.textbox.empty() ? Text() : Text(u"\r\n\r\n");
    const int64_t found = st_.words.DistinctCount();
    if (run.AllPhrasesMode || found == 0) {
      note += u"Stopped";
    } else {
      note += T("Stopped with " + std::to_string(found) + " word" + (found == 1 ? "" : "s") +
                " found.");
    }
    st_.textbox.OutputToTxb(note);
    bool list = false;
    if (!run.CountArrayMode && found > 0) {
      list = st_.host->Ask("Counting interrupted",
                           "The operation was stopped before all " + kind + " were counted." +
                               kCrLfS + "Do you wish to list those which were found?",
                           Buttons::kYesNo, Answer::kYes) == Answer::kYes;
    }
    if (!list) {
      run.ResultsPresent = false;
      return ended_by_error_ ? RunOutcome::kFailed : RunOutcome::kStopped;
    }
    run.Interrupted = true;
  }
  // Results phase.
  run.RunComplete = !run.Interrupted;
  if (s.Source == InputSource::kFolder) {
    if (run.FilesScanned == 0) {
      NoFilesMessage();
      return RunOutcome::kRefused;
    }
    if (run.RunComplete) {
      st_.HideLabel(Label::kFile);
      st_.SetLabel(Label::kFilesize, "");
      st_.SetLabel(Label::kXmlSize, "");
    }
  }
  st_.textbox.SetText(u"Processing . . .");
  st_.SetLabel(Label::kNumWordsExcluded, "");
  if (!run.CountOnlyMode) {
    st_.textbox.SetText(u"Now filtering words . . .");
    FilterWordList();
  } else {
    CountOnlyFilter();
  }
  st_.textbox.Clear();
  ComputeListStatistics(st_.words, run.AllPhrasesMode, &st_.stats, &st_.pacer);
  // A count array takes the place of the listing; the results are not
  // listed again.
  if (run.CountArrayMode) return CountArrayOutcomeOf(WriteCountArray(&st_));
  st_.textbox.SetText(u"Now setting up frequency chain . . .");
  BuildFrequencyChain(
      &st_.words, &st_.stats, s.SortByNumberOfFiles != 0,
      [this] {
        st_.textbox.Append(u" .");
        st_.pacer.Check();
      },
      &st_.pacer);
  st_.textbox.Clear();
  ShowCountSummary();
  run.ResultsPresent = true;
  if (run.AllPhrasesMode) {
    // The summary heads the listing, or stands alone when nothing is listed.
    const Text summary = BuildPhraseSummary();
    st_.listing.HeaderPrefix.clear();
    if (st_.stats.ListedCount == 0) {
      st_.SetLabel(Label::kNumberOfWords, "");
      st_.textbox.SetText(summary);
    } else {
      st_.listing.HeaderPrefix = summary;
      if (!ListWords(&st_)) return RunOutcome::kFailed;
    }
  } else if (st_.words.DistinctCount() > 0) {
    // A listing whose file could not be written has been reported; the run
    // has failed.
    if (!ListWords(&st_)) return RunOutcome::kFailed;
  } else {
    NoEntriesMessage(&st_);
  }
  return ended_by_error_ ? RunOutcome::kFailed : RunOutcome::kListed;
}

void Engine::ConfigureScanner() {
  const Settings& s = st_.settings;
  NormaliseOptions o;
  o.convert_final_ies = s.ConvertFinalIes != 0;
  o.drop_final_s = s.DropFinalS != 0;
  o.allow_apostrophes = s.AllowWordsWithApostrophes != 0;
  o.all_phrases_mode = st_.run.AllPhrasesMode;
  scanner_.Configure(BuildAllowedExtraChars(s), false, o);
  phrase_ends_ = {s.TerminatePhraseAtTab != 0, s.TerminatePhraseAtEndOfLine != 0,
                  s.TerminatePhraseAtPeriod != 0, s.TerminatePhraseAtDoubleQuote != 0};
}

// --- Filters and summary ------------------------------------------------------

void Engine::FilterWordList() {
  const Settings& s = st_.settings;
  const WordFilters filters(s);
  WordList& words = st_.words;
  const int64_t n = words.DistinctCount();
  // Entries first..last; each entry is judged on its own.
  const auto filter = [&](int64_t first, int64_t last, const auto& poll) {
    Text scratch;
    for (int64_t i = first; i <= last; ++i) {
      poll();
      WordEntry& e = words[i];
      e.Listed = !FailsWordFilters(filters, words.Word(i), &scratch) &&
                 !((s.IgnoreInfrequentWords && e.Count < st_.run.ThresholdFrequency) ||
                   (s.IgnoreExcessivelyFrequentWords && e.Count > st_.run.ExcessFrequency));
    }
  };
  // With a worker, the second half of a large table is judged beside the
  // first.
  const int64_t half = threads_ > 1 && n >= kMinHelpedFilter ? n / 2 : n;
  std::optional<HelperThread> helper;
  if (half < n) {
    helper.emplace(
        [&](const std::atomic<bool>& stop) {
          filter(half + 1, n, [&stop] {
            if (stop.load(std::memory_order_relaxed)) throw HelperStopped{};
          });
        },
        Pool());
  }
  filter(1, half, [this] { st_.pacer.Poll(); });
  if (helper) helper->Wait(&st_.pacer);
}

void Engine::CountOnlyFilter() {
  const Settings& s = st_.settings;
  CountRun& run = st_.run;
  const std::string kind = WordsPhrases(st_);
  if (s.IgnoreInfrequentWords && s.IgnoreExcessivelyFrequentWords) {
    st_.textbox.SetText(T("Excluding too frequent or too infrequent " + kind + " ..."));
  } else if (s.IgnoreInfrequentWords) {
    st_.textbox.SetText(T("Excluding too infrequent " + kind + " ..."));
  } else if (s.IgnoreExcessivelyFrequentWords) {
    st_.textbox.SetText(T("Excluding too frequent " + kind + " ..."));
  }
  if (run.AllPhrasesMode) {
    run.ThresholdFrequency = run.PhraseMinOccurrences;
  } else {
    run.ThresholdFrequency = s.ThresholdFrequencyValue();
    run.ExcessFrequency = s.ExcessFrequencyValue();
  }
  const int64_t short_size = s.ShortWordSizeValue();
  const int64_t long_size = s.LongWordSizeValue();
  WordList& words = st_.words;
  for (int64_t i = 1; i <= words.DistinctCount(); ++i) {
    st_.pacer.Poll();
    WordEntry& e = words[i];
    const int64_t len = static_cast<int64_t>(words.Word(i).size());
    bool keep = true;
    if (e.Count < run.ThresholdFrequency && (run.AllPhrasesMode || s.IgnoreInfrequentWords)) {
      keep = false;
    }
    if (!run.AllPhrasesMode && s.IgnoreExcessivelyFrequentWords && e.Count > run.ExcessFrequency) {
      keep = false;
    }
    if (s.IgnoreShortWords && len < short_size) keep = false;
    if (len > long_size) keep = false;
    e.Listed = keep;
  }
}

void Engine::ShowCountSummary() {
  const CountRun& run = st_.run;
  const ListStatistics& stats = st_.stats;
  const std::string kind = WordsPhrases(st_);
  const int64_t entries = st_.words.DistinctCount();
  const int64_t wanted = st_.lists.CountOnlyEntries();
  if (run.CountOnlyMode && !run.AllPhrasesMode && entries == wanted) {
    const std::string what = run.PhrasesInCountOnly ? "word or phrase" : "word";
    const std::string whats = run.PhrasesInCountOnly ? "words or phrases" : "words";
    st_.SetLabel(Label::kNumberOfWords, entries == 1 ? "The " + what + " to be counted was found."
                                        : entries == 2
                                            ? "Both " + whats + " to be counted were found."
                                            : "All " + std::to_string(entries) + " " + whats +
                                                  " to be counted were found.");
  } else {
    st_.SetLabel(Label::kNumberOfWords,
                 "Number of " + kind + " in this list: " + Grouped(stats.ListedCount));
  }
  if (run.CountOnlyMode) {
    st_.SetLabel(Label::kNumWordsExcluded, "");
  } else {
    st_.SetLabel(Label::kNumWordsExcluded,
                 std::string(run.IgnoreMode ? "No. of words ignored (other than words-to-ignore):"
                                            : "Number of words ignored:") +
                     " " + Grouped(stats.ExcludedCount));
  }
  const int64_t total = st_.words.TotalCount();
  if (!run.Interrupted && total > 0) {
    if (!run.CountOnlyMode) {
      st_.SetLabel(Label::kNumOccurrences, "Number of instances of " + kind +
                                               " in this list: " + Grouped(stats.ListedInstances));
      st_.SetLabel(Label::kTotalNumOccurrences,
                   "Total number of instances of " + kind + ": " + Grouped(total));
    } else {
      st_.SetLabel(Label::kNumOccurrences, "No. of instances of " + kind +
                                               " in this list: " + Grouped(stats.ListedInstances));
      st_.HideLabel(Label::kTotalNumOccurrences);
    }
  }
  st_.run.ClockRunning = false;
}

// --- Counting words -------------------------------------------------------------

bool Engine::OnWord(BytesView word) {
  CountRun& run = st_.run;
  ++run.WordsRead;
  // GetWords2: the gate in front of the word list.
  if (!st_.settings.Only7bitASCII || IsAll7bit(word)) {
    if (run.AllPhrasesMode) {
      AllPhrasesWord(word);
    } else if (run.CountOnlyMode) {
      CountOnlyWord(word);
    } else {
      AddWordToList(word, run.IgnoreMode ? &ignore_gate_ : nullptr);
    }
    if (list_problem_) ReportListProblem();
  }
  return Yield();
}

// An expression of a list that cannot be matched ends the run.
void Engine::ReportListProblem() {
  list_problem_ = false;
  const PatternProblem* problem = ListProblem(st_);
  if (problem == nullptr || st_.run.StopRequested) return;
  st_.host->ShowMessage(st_.labels[static_cast<int>(Label::kCountWordsCaption)].text,
                        PatternProblemMessage(*problem), Icon::kExclamation);
  st_.run.StopRequested = true;
  ended_by_error_ = true;
}

// The lists are looked at only for a word met for the first time (and for
// phrases); a problem of their patterns is reported after the word.
bool Engine::IgnoreGate::Admits(BytesView word) {
  const bool admitted = !IsIgnored(&engine->st_, word);
  engine->list_problem_ = ListProblem(engine->st_) != nullptr;
  return admitted;
}

bool Engine::CountOnlyGate::Admits(BytesView word) {
  const bool admitted = IsCountOnlyWord(&engine->st_, word);
  engine->list_problem_ = ListProblem(engine->st_) != nullptr;
  return admitted;
}

// The count-only branch of the gate: the word itself, then every phrase that
// ends with it.
void Engine::CountOnlyWord(BytesView word) {
  CountRun& run = st_.run;
  AddWordToList(word, &count_only_gate_);
  for (int k = 2; k <= run.MaxPhraseWords; ++k) {
    if (!PushToWindow(k, word)) continue;
    const Bytes& window = run.PhraseBuffer[static_cast<size_t>(k)];
    if (IsCountOnlyPhrase(&st_, window)) AddPhrase(window);
    if (ListProblem(st_) != nullptr) list_problem_ = true;
  }
  EndPhrasesAfterWord();
}

bool Engine::PushToWindow(int k, BytesView word) {
  CountRun& run = st_.run;
  Bytes& window = run.PhraseBuffer[static_cast<size_t>(k)];
  int& words = run.PhraseWords[static_cast<size_t>(k)];
  if (words == k) {
    window.erase(0, window.find('+') + 1);
    --words;
  }
  if (words > 0) window += '+';
  window.append(word);
  ++words;
  return words == k;
}

void Engine::AddPhrase(BytesView window) {
  phrase_.assign(window);
  std::replace(phrase_.begin(), phrase_.end(), '+', ' ');
  AddWordToList(phrase_, nullptr);
}

void Engine::EndPhrasesAfterWord() {
  if ((phrase_ends_.period && scanner_.StoppedAtPeriod()) ||
      (phrase_ends_.double_quote && scanner_.StoppedAtDoubleQuote()) ||
      (phrase_ends_.tab && scanner_.StoppedAtTab())) {
    ResetPhrases();
  }
}

void Engine::AddWordToList(BytesView word, WordList::Gate* gate) {
  CountRun& run = st_.run;
  if (!run.ReadingWordLists && !(run.CountOnlyMode && run.PhrasesInCountOnly) &&
      static_cast<int64_t>(word.size()) > kMaxWordLength) {
    return;
  }
  if (st_.words.AddGated(word, run.CurrentFileIndex, gate) == WordList::Gated::kNew) NewEntry(word);
}

// A word or phrase made a new entry: the progress label, and the word shown
// as found.
void Engine::NewEntry(BytesView word) {
  const CountRun& run = st_.run;
  const int64_t n = st_.words.DistinctCount();
  if (n == 1) {
    if (run.CountOnlyMode && !run.AllPhrasesMode) {
      st_.SetLabel(Label::kNumberOfWords, run.PhrasesInCountOnly
                                              ? "One word or phrase found so far."
                                              : "One word found so far.");
    }
  } else if (!run.AllPhrasesMode && (n % (n / 100 + 10) == 0 || run.CountOnlyMode)) {
    st_.SetLabel(Label::kNumberOfWords,
                 "Number of different " + WordsPhrases(st_) + " found so far: " + Grouped(n));
  }
  if (!st_.settings.SuppressWords) {
    pending_words_.append(DecodeWindows1252(word));
    pending_words_.append(u", ");
  }
}

// ResetPhrases: empties the phrase windows (a phrase ends here).
void Engine::ResetPhrases() {
  CountRun& run = st_.run;
  ignored_run_ = 0;
  for (size_t k = 2; k < run.PhraseBuffer.size(); ++k) {
    run.PhraseBuffer[k].clear();
    run.PhraseWords[k] = 0;
  }
}

// The words shown as found on the last line go to the results box, which is
// emptied when they overfill it.
void Engine::FlushPendingWords() {
  if (pending_words_.empty()) return;
  st_.textbox.OutputToTxb(pending_words_);
  pending_words_.clear();
  if (st_.textbox.length() > kOutputLimit) st_.textbox.Clear();
}

void Engine::ScanLine(Bytes* line) {
  if (!st_.settings.CaseSignificant) LowerCaseAccentedInPlace(line);
  if (phrase_ends_.end_of_line) {
    ResetPhrases();
  }
  line->push_back(' ');
  scanner_.ScanTextBlock(line, this);
}

// --- The clipboard --------------------------------------------------------------

RunOutcome Engine::ReadClipboard() {
  CountRun& run = st_.run;
  st_.SetLabel(Label::kTimeElapsed, "");
  const ClipboardContent content = st_.host->ReadClipboard();
  const Text& clip = content.text;
  if (clip.empty() && !content.cut) {
    st_.host->ShowMessage("Clipboard", "There is no text on the clipboard.", Icon::kInformation);
    return RunOutcome::kRefused;
  }
  if (content.cut || static_cast<int64_t>(clip.size()) > kMaxClipboardChars) {
    // A host that stopped reading knows only that there is more.
    const std::string count = content.cut ? "more than " + Grouped(kMaxClipboardChars)
                                          : Grouped(static_cast<int64_t>(clip.size()));
    st_.host->ShowMessage("Too much clipboard text",
                          "There are " + count + " characters in the text on the clipboard." +
                              kCrLfS + "The maximum permitted is " + Grouped(kMaxClipboardChars) +
                              ".  If possible," + kCrLfS +
                              "count word frequencies for this text using an input file.",
                          Icon::kInformation);
    return RunOutcome::kRefused;
  }
  const size_t look = std::min<size_t>(clip.size(), 3000);
  for (size_t i = 0; i < look; ++i) {
    const char16_t c = clip[i];
    if (c < 32 && c != kTab && c != kLf && c != 12 && c != kCr) {
      st_.host->ShowMessage("Invalid input",
                            "The text on the clipboard does not consist" + kCrLfS +
                                "solely of natural language words.",
                            Icon::kExclamation);
      return RunOutcome::kRefused;
    }
  }
  run.ClipboardText = clip;
  st_.words.Clear();
  run.ScannedFilePaths.clear();
  run.CurrentFileIndex = 0;
  st_.textbox.Clear();
  // Fold the clipboard's characters into the program's character set.
  const std::string utf8 = TextToUtf8(clip);
  decoded_.clear();
  DecodeUtf8Line(utf8, &decoded_);
  line_ = EncodeWindows1252(decoded_);
  ScanLine(&line_);
  return RunOutcome::kListed;
}

bool Engine::DisplayOptionChanged(DisplayOption option) {
  return RunCommand([this, option] {
           DisplayOptionHandler(&st_, option);
           return RunOutcome::kListed;
         }) != RunOutcome::kBusy;
}

bool Engine::DisableOutputToFileChanged() { return RunStateCommand(&DisableOutputToFileClicked); }

bool Engine::ClearTextbox() { return RunStateCommand(&ClearTextboxClicked); }

bool Engine::RunStateCommand(void (*command)(EngineState*)) {
  return RunCommand([this, command] {
           command(&st_);
           return RunOutcome::kListed;
         }) != RunOutcome::kBusy;
}

bool Engine::RunStateCommand(Busy busy, const std::function<void()>& work) {
  return RunCommand([this, busy, &work] {
           if (busy != Busy::kIdle) st_.SetBusy(busy);
           work();
           return RunOutcome::kListed;
         }) != RunOutcome::kBusy;
}

bool Engine::AddWordsFileClicked(int index) {
  return RunStateCommand(Busy::kReadingWordsFiles,
                         [this, index] { vorn::AddWordsFileClicked(&st_, index); });
}
bool Engine::WordsFileChosen(int index, int position) {
  return RunStateCommand(Busy::kReadingWordsFiles,
                         [this, index, position] { vorn::WordsFileChosen(&st_, index, position); });
}
bool Engine::ClearWordsFilesClicked(int index) {
  return RunStateCommand(Busy::kIdle, [this, index] { vorn::ClearWordsFilesClicked(&st_, index); });
}
bool Engine::ClearBoxClicked(int index) {
  return RunStateCommand(Busy::kIdle, [this, index] { vorn::ClearBoxClicked(&st_, index); });
}
bool Engine::BoxLeft(int index) {
  return RunStateCommand(Busy::kIdle, [this, index] { vorn::BoxLeft(&st_, index); });
}
bool Engine::CommonWordsChosen(int language) {
  return RunStateCommand(Busy::kReadingWordsFiles,
                         [this, language] { vorn::CommonWordsChosen(&st_, language); });
}
bool Engine::ListCountOnlyClicked() {
  return RunStateCommand(Busy::kRelisting, [this] { vorn::ListCountOnlyClicked(&st_); });
}

bool Engine::ChooseInputFile() { return RunStateCommand(&vorn::ChooseInputFile); }
bool Engine::ChooseOutputFile() { return RunStateCommand(&vorn::ChooseOutputFile); }
bool Engine::ChooseFolder() { return RunStateCommand(&vorn::ChooseFolder); }
bool Engine::ClearInputFile() { return RunStateCommand(&vorn::ClearInputFile); }
bool Engine::ClearOutputFile() { return RunStateCommand(&vorn::ClearOutputFile); }
bool Engine::ClearFolder() { return RunStateCommand(&vorn::ClearFolder); }

bool Engine::SourceChosen(InputSource source) {
  return RunStateCommand(Busy::kIdle, [this, source] { vorn::SourceChosen(&st_, source); });
}
bool Engine::FileBoxLeft(int index) {
  return RunStateCommand(Busy::kIdle, [this, index] { vorn::FileBoxLeft(&st_, index); });
}
bool Engine::FolderBoxLeft() {
  bool acceptable = false;
  const bool ran =
      RunStateCommand(Busy::kIdle, [this, &acceptable] { acceptable = vorn::FolderBoxLeft(&st_); });
  return ran && acceptable;
}
bool Engine::StartUp() {
  return RunStateCommand(Busy::kReadingWordsFiles, [this] { vorn::StartUp(&st_); });
}
bool Engine::Quit() { return RunStateCommand(&QuitSequence); }

bool Engine::RestoreStateAtStartUp() {
  return RunStateCommand(Busy::kReadingWordsFiles, [this] { vorn::RestoreStateAtStartUp(&st_); });
}
bool Engine::SaveSettingsNow(bool settings_window) {
  return RunStateCommand(Busy::kIdle,
                         [this, settings_window] { vorn::SaveSettingsNow(&st_, settings_window); });
}
bool Engine::SaveSettingsToFile() {
  return RunStateCommand(Busy::kIdle, [this] { vorn::SaveSettingsToFile(&st_); });
}
bool Engine::LoadSettingsFromFile() {
  return RunStateCommand(Busy::kReadingWordsFiles, [this] { vorn::LoadSettingsFromFile(&st_); });
}

bool Engine::OptionChanged(const std::string& field, int previous) {
  if (in_command_ && SwitchChangeableDuringWork(field)) return true;
  bool known = false;
  const bool ran =
      RunStateCommand(Busy::kIdle, [&] { known = vorn::OnOptionChanged(&st_, field, previous); });
  return ran && known;
}
bool Engine::UserExtraCharsBoxLeft() {
  return RunStateCommand(Busy::kIdle, [this] { vorn::UserExtraCharsBoxLeft(&st_); });
}
bool Engine::SetOrClearCheckboxes(bool check) {
  return RunStateCommand(Busy::kIdle, [this, check] { SetOrClearCheckboxesCommand(&st_, check); });
}
bool Engine::RestoreDefaults() {
  return RunStateCommand(Busy::kIdle, [this] { vorn::RestoreDefaults(&st_); });
}
bool Engine::Reinitialize() {
  return RunStateCommand(Busy::kIdle, [this] { vorn::Reinitialize(&st_); });
}

bool Engine::ConfirmQuit() {
  bool confirmed = false;
  const bool ran = RunStateCommand(Busy::kIdle, [&] { confirmed = vorn::ConfirmQuit(&st_); });
  return ran && confirmed;
}

}  // namespace vorn
