// The option dialogs before a count: their records, built from the engine's
// state, and what their answers do to it.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_COUNTING_COUNT_DIALOGS_H_
#define VORN_COUNTING_COUNT_DIALOGS_H_

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

}  // namespace vorn

#endif  // VORN_COUNTING_COUNT_DIALOGS_H_
