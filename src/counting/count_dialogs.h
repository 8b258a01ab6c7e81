// The option dialogs before a count: their records, built from the engine's
// state, and what their answers do to it.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_COUNTING_COUNT_DIALOGS_H_
#define VORN_COUNTING_COUNT_DIALOGS_H_

#include <optional>
#include <string>

#include "counting/engine_state.h"
#include "util/dialogs.h"

namespace vorn {

// The caption of the file-list box of the count dialogs.
inline constexpr char kFileListCaption[] =
    "Set display format to show frequency and number of files for each word/phrase";

// "Count words/phrases": the introduction by whether count-only and
// words-to-ignore entries are set (CountOnlyMode, IgnoreMode), and the
// file-list box for a folder source while the format is not 11.
CountWordsDialog MakeCountWordsDialog(const EngineState& st);

// Shows the dialog and applies its answer: a ticked file-list box sets the
// display format to 11; "Go to 'Settings'" shows the Settings window;
// "Count all words" clears CountOnlyMode for this run. Returns whether the
// count goes ahead.
bool AskCountWords(EngineState* st);

// What "Count all phrases" settled on: numbers of words and occurrences (not
// list positions), and whether phrases made only of words to ignore are left
// out.
struct PhraseRunValues {
  int min_words;
  int max_words;
  int min_occurrences;
  bool exclude_ignored;
};

// "Count all phrases": the three lists at the positions stored in Settings,
// the introduction and the exclude box by CountOnlyMode and IgnoreMode, and
// the file-list box for a folder source while the format is not 13.
CountAllPhrasesDialog MakeCountAllPhrasesDialog(const EngineState& st);

// Shows the dialog until its answer is usable: a maximum below the minimum
// is refused with a message and the dialog comes back with the user's
// choices; a maximum of one word is explained and the dialog comes back with
// the lengths at positions 2 and 5. Accepted, the three positions are stored
// in Settings. A ticked file-list box sets the display format to 11; "Go to
// 'Settings'" shows the Settings window. Returns nullopt unless accepted.
std::optional<PhraseRunValues> AskCountAllPhrases(EngineState* st);

// "Make 2-d count array": the caption of the count-array button (by
// CountOnlyMode) and the table options stored in Settings.
CountArrayDialog MakeCountArrayDialog(const EngineState& st);

// Shows the dialog; accepted, its options are stored in Settings and true is
// returned. "Go to 'Settings'" shows the Settings window.
bool AskCountArrayOptions(EngineState* st);

// "Load or remove this file" for `path` of words-file list `list` (0 words to
// ignore, 1 count-only), placed below that list's box.
LoadOrRemove AskLoadOrRemove(EngineState* st, int list, const std::string& path);

// The transient message, `top` and `left` twips from the control `anchor`,
// or centred on the screen.
PopUpMessage MakePopUp(std::string text, std::string anchor, int top, int left);
PopUpMessage MakePopUp(std::string text);

}  // namespace vorn

#endif  // VORN_COUNTING_COUNT_DIALOGS_H_
