// The commands of the words-file lists and boxes of the Settings window:
// the buttons that add a words file and clear a list, a path chosen from a
// list, the buttons that clear the two boxes, leaving a box, the language
// of the common words, and the "List" button of the count-only entries.
//
// `index` names the kind: 0 words to ignore, 1 count-only; any other value
// does nothing. Each command changes the Settings record and tells the host
// which fields changed (Host::SettingChanged); the Engine runs them as
// commands of its own so that they are refused while other work is under
// way.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_COUNTING_WORDS_FILE_COMMANDS_H_
#define VORN_COUNTING_WORDS_FILE_COMMANDS_H_

#include <string>

#include "counting/engine_state.h"

namespace vorn {

// The caption of the button of list `index`: "Words-to-ignore files (n)" or
// "Count-only words/phrases files (n)", n the number of paths it holds.
std::string WordsFilesCaption(const EngineState& st, int index);

// The button of list `index`. Before a words-to-ignore file is added while
// count-only entries are set, asks whether to go on ("Proceed?"). A full
// list (kMaxWordsFiles) is reported. Otherwise offers the open-file
// chooser: a path already in the list is reported ("Already present") and
// nothing else happens; a new one is added, selected and read
// (LoadWordsFile).
void AddWordsFileClicked(EngineState* st, int index);

// The path at `position` of list `index` was chosen from the drop-down
// list: asks "Load or remove this file". Load selects it and reads it (a
// file that cannot be read leaves the list, which then has no selection);
// remove takes it out of the list and empties the loaded list of that kind;
// cancel changes nothing.
void WordsFileChosen(EngineState* st, int index, int position);

// The button that clears list `index`: asked and answered Yes, every path
// leaves the list and the loaded list of that kind is emptied.
void ClearWordsFilesClicked(EngineState* st, int index);

// The button that clears box `index`: empties the box (ExtraWords) and its
// list.
void ClearBoxClicked(EngineState* st, int index);

// Leaving box `index`, or Enter in it: parses it into its list
// (GetExtraWords). Returns what GetExtraWords returned.
bool BoxLeft(EngineState* st, int index);

// `language` (a position of CommonWordsLanguageItems()) was chosen from the
// drop-down list; Settings still hold the language shown before. "[No
// language selected]" is stored. For a language whose common-words file is
// not the selected words-to-ignore file, asks whether to load it: Yes loads
// it (LoadCommonWords) and stores the language; No, or a file that cannot
// be found, keeps the previous language and tells the window to show it
// again. When that file is already selected the language is stored.
void CommonWordsChosen(EngineState* st, int language);

// The "List" button: the entries of the loaded count-only file in the
// results box (ListCountOnlyWords), or "There are no count-only
// words/phrases." when neither the box nor a file sets any.
void ListCountOnlyClicked(EngineState* st);

}  // namespace vorn

#endif  // VORN_COUNTING_WORDS_FILE_COMMANDS_H_
