// EngineState: all the run state that the main window owns.
//
// The modules of the engine are plain procedures over this one state, as the
// counting run, the results code and the option handlers share it: the
// Settings record, the CountRun flags and counters, the WordList, the list
// statistics, the results box and the labels. It lives as long as the
// engine; the WordList is emptied at the start of a run, not at its end, so
// that the display options can relist the last results.
//
// Not thread-safe: one engine, one thread.

#ifndef VORN_COUNTING_ENGINE_STATE_H_
#define VORN_COUNTING_ENGINE_STATE_H_

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "counting/word_list.h"
#include "counting/word_lists.h"
#include "input/file_patterns.h"
#include "results/ranking.h"
#include "results/textbox.h"
#include "settings/settings.h"
#include "util/host.h"
#include "util/pacer.h"
#include "util/text.h"

namespace vorn {

// Thrown from a pause of the engine's work when the work is to end at once
// and silently (the window is closing); caught by the command that began it.
struct RunAbandoned {};

// The state of the one counting run.
struct CountRun {
  // Mode flags.
  bool CountOnlyMode = false;
  bool IgnoreMode = false;
  bool AllPhrasesMode = false;
  bool CountArrayMode = false;
  bool PhrasesInCountOnly = false;
  bool ListingFiles = false;
  bool CountingFiles = false;
  bool ReadingFiles = false;
  bool ReadingWordLists = false;

  // "Count all phrases": the numbers of words of the phrases counted, the
  // fewest occurrences listed, and whether phrases made only of words to
  // ignore are left out.
  int PhraseMinWords = 3;
  int PhraseMaxWords = 6;
  int PhraseMinOccurrences = 2;
  bool ExcludeIgnoredPhrases = false;

  // Control flags.
  bool StopRequested = false;
  bool Interrupted = false;
  bool RunComplete = false;
  bool Running = false;         // the count button shows a run caption
  bool ResultsPresent = false;  // the last run produced a listing (finished or stopped)

  // Counters.
  int64_t ElapsedSeconds = 0;
  bool ClockRunning = false;
  int64_t FilesScanned = 0;
  int64_t FilesToScan = 0;
  int64_t FolderCount = 0;
  int64_t WordsRead = 0;
  int64_t ThresholdFrequency = 2;
  int64_t ExcessFrequency = 20;
  int MaxPhraseWords = 1;
  // The phrase windows: window k (2 .. MaxPhraseWords) holds the last up to
  // k words joined by "+", and PhraseWords[k] how many.
  std::vector<Bytes> PhraseBuffer;
  std::vector<int> PhraseWords;

  // Per-file bookkeeping of the word list.
  int32_t CurrentFileIndex = 0;
  std::vector<std::string> ScannedFilePaths;  // 1-based numbers stored 0-based

  Text ClipboardText;
  int64_t InFileBytes = 0;
};

// Options of the listing that are not in Settings.
struct ListingState {
  Text HeaderPrefix;  // the phrase summary in phrase runs, else empty
  // The results are those of a count of all phrases: they are listed as
  // phrases until the next run, whenever they are listed again.
  bool AllPhrases = false;
  int MinColumnWidth = 8;
  bool WritingToFile = false;
  bool OutputFileWritten = false;
};

struct LabelState {
  std::string text;
  bool visible = true;
};

struct EngineState {
  explicit EngineState(Host* h) : host(h), textbox(h) {
    words.SetPacer(&pacer);
    // The settings-file path is shown once a settings file was saved or
    // loaded.
    labels[static_cast<size_t>(Label::kSettingsFile)].visible = false;
  }
  // The word list holds the address of the pacer.
  EngineState(const EngineState&) = delete;
  EngineState& operator=(const EngineState&) = delete;

  Host* host;
  Settings settings;
  CountRun run;
  WordList words;
  RestrictionLists lists;
  // The file-path specifications of a folder run, as last read from their
  // boxes.
  FilePathSpecs file_specs;
  ListStatistics stats;
  Textbox textbox;
  ListingState listing;
  std::array<LabelState, kLabelCount> labels;

  // Interaction flags of the window.
  bool MainWindowLoaded = true;
  bool SettingValues = false;
  bool TextAlreadyRead = false;
  bool SettingAllCheckboxes = false;  // "Check all" or "Clear all" is setting the switches
  // The input-file path and the folder path as they stood when their source
  // was last left (or at start-up): the source options give them back
  // (SourceChosen, window_rules.h).
  std::string RememberedInputFilePath;
  std::string RememberedFolderPath;

  // What the engine is busy with, and whether it is to end that silently.
  Busy busy = Busy::kIdle;
  bool Abandoning = false;
  // Lets events run during long work (the counting path, the sorts, the
  // listings).
  Pacer pacer;

  // Tells the host about a change of the busy state.
  void SetBusy(Busy b);
  // Tells the host that the engine changed a field of the Settings record.
  void SettingChanged(const std::string& field) { host->SettingChanged(field); }
  // Stores `value` in the Settings field `*field`, named `name`, and tells
  // the host when that changed it.
  template <typename T, typename V>
  void ChangeSetting(T* field, V&& value, const char* name) {
    if (*field == value) return;
    *field = static_cast<T>(std::forward<V>(value));
    SettingChanged(name);
  }

  // Sets a label's text (and shows it) and tells the host.
  void SetLabel(Label label, const std::string& text, bool visible = true);
  void HideLabel(Label label);
};

}  // namespace vorn

#endif  // VORN_COUNTING_ENGINE_STATE_H_
