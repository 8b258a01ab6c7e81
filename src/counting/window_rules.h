// The main window's rules: which controls are shown and enabled for the
// source and while work is under way, where the focus goes, the source
// options with their remembered paths, the checks made when a path box is
// left, the start-up sequence and the quit sequence.
//
// The window only applies what these give: it shows and enables its
// controls as MainWindowControls says and moves the focus to FocusTarget
// after every command. The commands run through the Engine (engine.h), which
// refuses them while other work is under way.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_COUNTING_WINDOW_RULES_H_
#define VORN_COUNTING_WINDOW_RULES_H_

#include <string>
#include <vector>

#include "counting/engine_state.h"

namespace vorn {

// The state of one control of the main window, named by its objectName
// ("cmdFile0" for element 0 of cmdFile, "txbFileFilepathSpecifications1").
struct ControlState {
  std::string name;
  bool visible = true;
  bool enabled = true;
};

// Every control whose visibility or enabling follows a rule, for the
// current source, output file and busy state, in a fixed order. Visibility
// follows the source alone: the folder controls, the pattern labels and
// boxes, "List files to be scanned" and the count-array button (in place of
// the single-file button and box) for a folder; the single-file controls for
// a single file; the two size labels for a single file and for the
// clipboard (where they show the size of its text). While the engine is busy
// (any Busy but kIdle) the source options, the path controls and the
// commands are disabled; the count button stays enabled (it is the stop
// command) and the labels stay enabled (they show the run's sizes). When
// idle the controls of the source are enabled and "Disable" is enabled only
// while there is an output file. `clipboard_viewer` says whether a
// clipboard viewer was found ("View clipboard" is shown only with one, for
// the clipboard source).
std::vector<ControlState> MainWindowControls(const EngineState& st, bool clipboard_viewer);

// The controls of the Settings window that are locked while the engine is
// busy (any Busy but kIdle): the frames of the word characters (Frame1), the
// comment markers (Frame2), the words to ignore (fraIgnoreTheseWords), the
// count-only words (Frame3), the ignore filters (Frame5), the output and
// files (Frame6) and the state commands (Frame7), with every control inside
// them, and the bulk buttons cmdSetOrClearCheckboxes0 and 1 and
// cmdRestoreDefaults. The pattern-matching frame (Frame4), the phrase ends
// and "Hide settings" are never locked (SwitchChangeableDuringWork).
std::vector<ControlState> SettingsWindowControls(const EngineState& st);

// SetTheFocus: the objectName of the control that should have the focus
// ("" for none): for the clipboard the count button; for a single file the
// "Single file" button while no input file is set, else the count button;
// for a folder the "Folder" button while no folder is set, else the count
// button. A path of blanks and tabs counts as none. A control that
// MainWindowControls disables is never chosen.
std::string FocusTarget(const EngineState& st, bool clipboard_viewer);

// The tool tip of "Don't display words as found": message text 31 while it
// is ticked, else empty.
std::string SuppressWordsToolTip(const Settings& s);

// A source option was clicked: the text is to be read again, and the path
// of the source left is remembered while the path of the source chosen
// comes back (Clipboard remembers both; Single file gives back the input
// file and remembers the folder; Folder the reverse). Both paths stay in
// Settings whatever the source, so no path is ever lost: a path comes back
// only into an empty field (a path set while another source was selected,
// by a settings file loaded, is kept), an empty field is remembered only
// when its own source is left, and clicking the selected option again
// gives nothing back. Sets Source. Every changed field is announced
// (SettingChanged).
void SourceChosen(EngineState* st, InputSource source);

// A path box was left after the user typed in it (the window has stored
// the box's text in Settings): 0 the input file, 1 the output file; any
// other index does nothing. The text is trimmed of blanks and tabs. Index
// 0: a non-empty path is checked (CheckInputFilePath) and a status above 0
// reported as a count would report it (ReportInputFileStatus); the text is
// to be read again. Both indexes then keep DisableOutputToFile consistent
// with the output path (SyncOutputFileOption).
void FileBoxLeft(EngineState* st, int index);

// The folder box was left: the text is trimmed; a non-empty path that is
// not a folder is reported with message text 48 and the path, as a warning
// titled "Error". Returns whether the folder is acceptable (empty counts).
bool FolderBoxLeft(EngineState* st);

// The start-up sequence once the window is shown: the state file restored
// with its questions (RestoreStateAtStartUp); when the words-to-ignore list
// then holds no file, the question of message text 41 (titled 42): Yes
// loads the English common words (LoadCommonWords; a missing file is
// reported), No sets CommonWordsLanguage to "no language selected"; the
// remembered paths of the sources taken from Settings; the count buttons'
// captions. MainWindowLoaded is false during the sequence and true after it.
void StartUp(EngineState* st);

// SetCountWordsCaption: the captions of the count button (message text 21)
// and of the count-array button (102 in count-only mode, else 101).
void SetCountWordsCaption(EngineState* st);

// The quit sequence (the "Quit" button, and closing the window): the
// settings are saved when SaveStateOnQuit is 1 (SaveSettingsNow; a failure
// is reported), and the temporary folders of documents are removed
// (DeleteAllTempFolders under DocxTempBase()).
void QuitSequence(EngineState* st);

// The Settings window's "Quit": asks "Really quit?" (Yes and No, titled
// "Quit") and returns whether the answer was Yes, when the quit sequence is
// to follow.
bool ConfirmQuit(EngineState* st);

}  // namespace vorn

#endif  // VORN_COUNTING_WINDOW_RULES_H_
