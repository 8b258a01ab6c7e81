// The main window's commands for its input and output paths: the "Single
// file", "Output file" and "Folder" buttons with their choosers, the buttons
// that clear those paths, and the check of a chosen input file.
//
// Each command changes the Settings record and tells the host which fields
// changed (Host::SettingChanged); the Engine runs them as commands of its own
// so that they are refused while other work is under way.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_COUNTING_WINDOW_COMMANDS_H_
#define VORN_COUNTING_WINDOW_COMMANDS_H_

#include <string>

#include "counting/engine_state.h"

namespace vorn {

// What CheckInputFilePath found.
enum InputPathStatus : int {
  kInputPathOk = 0,
  kInputPathBad = 1,      // the path ends with "/"
  kInputPathMissing = 2,  // no regular file is there
  kInputPathEmpty = 3,    // the file is empty
};

// "Single file": offers the open-file chooser. A chosen file becomes the
// input file, is checked (CheckInputFilePath), and the results are cleared
// as "Clear textbox" clears them. The source becomes the single file
// whether or not a file was chosen.
void ChooseInputFile(EngineState* st);

// Checks `path` (blanks and tabs at its ends do not count) as an input file
// and returns an InputPathStatus. For a bad or missing path both size labels
// are emptied; otherwise the file size is shown, except while files are
// being listed. A bad path found during the start-up sequence (while
// MainWindowLoaded is false) is taken out of InputFilePath.
int CheckInputFilePath(EngineState* st, const std::string& path);

// CheckFolder: a non-empty `path` that names no folder is reported with
// message text 48 and the path, as a warning titled "Error". Returns whether
// the path is empty or a folder.
bool CheckFolder(EngineState* st, const std::string& path);

// "Output file": offers the save-file chooser; a chosen file becomes the
// output file. While there is an output file, output to it is enabled.
void ChooseOutputFile(EngineState* st);

// "Folder": offers the folder chooser, starting at the current folder. A
// chosen folder becomes the folder to scan; the counts of the last run and
// its elapsed time are emptied, and the text is to be read again.
void ChooseFolder(EngineState* st);

// The buttons that clear a path. Clearing the input file empties the size
// labels too; clearing the output file enables output to file again (for
// the next file chosen).
void ClearInputFile(EngineState* st);
void ClearOutputFile(EngineState* st);
void ClearFolder(EngineState* st);

// A click on the results box; right_button for a press of the right mouse
// button. While files are listed, or words are shown as they are found, the
// work waits for "Click on 'OK' to continue."; a right press with the
// clipboard as source tells how to count the clipboard. Served while busy.
void ResultsBoxClicked(EngineState* st, bool right_button);

}  // namespace vorn

#endif  // VORN_COUNTING_WINDOW_COMMANDS_H_
