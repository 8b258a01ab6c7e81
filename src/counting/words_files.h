// WordsFiles: reading a words-to-ignore or count-only file into its list,
// and adding, selecting and removing the paths of the two words-file lists
// (their Settings-window commands are in words_file_commands.h).
//
// A words file is plain text (Windows-1252 or UTF-8), read line by line
// with C comments honoured. A words-to-ignore file holds words; a
// count-only file holds words and phrases separated by ", " or line breaks,
// and may hold expressions in angle brackets but no wildcards. The words
// are collected in a word list of their own, so the results of the last
// count stay.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_COUNTING_WORDS_FILES_H_
#define VORN_COUNTING_WORDS_FILES_H_

#include <string>

#include "counting/engine_state.h"

namespace vorn {

// The most paths a words-file list holds.
inline constexpr size_t kMaxWordsFiles = 99;

// Removes the path at `position` (if there is one) from list `index`; the
// list is left with no selection.
void RemoveWordsFile(EngineState* st, int index, size_t position);

// ReadWords: reads the file at `path` into the file list of kind `index`
// (0 words to ignore, 1 count-only). Returns false when the file cannot be
// used (reported by the file check), holds brackets (words to ignore) or
// wildcards (count-only), or the reading was stopped; the list is then
// empty. Reading a count-only file switches on the "Allow words with"
// options of the special characters its words hold (the window is told).
bool ReadWords(EngineState* st, int index, const std::string& path);

// AttemptToReadWords: reads the selected file of list `index` and reports
// the outcome: a count-only file offers to list what it loaded, a
// words-to-ignore file says how many words it loaded in a transient
// message; a failure is reported and the file leaves the list.
void AttemptToReadWords(EngineState* st, int index);

// Adds `path` to list `index` unless it is there already (at most
// kMaxWordsFiles paths: "No more files may be added to this list."),
// selects it and reads it (AttemptToReadWords).
void LoadWordsFile(EngineState* st, int index, const std::string& path);

// The common words of `language` (a CommonWordsLanguage position, 0 to 6)
// as the words-to-ignore file, from the program's folder. Returns whether
// they were loaded; a missing file is reported.
bool LoadCommonWords(EngineState* st, int language);

// ListCountOnlyWords: the entries of the loaded count-only file in the
// results box, in alphabetical order.
void ListCountOnlyWords(EngineState* st);

}  // namespace vorn

#endif  // VORN_COUNTING_WORDS_FILES_H_
