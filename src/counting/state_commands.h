// The Settings record saved and restored: the per-user state file read at
// start-up and written by "Save settings", and the ".vorn" settings files of
// the Settings window, with their questions and messages. The line format
// itself is settings/state_file.h.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_COUNTING_STATE_COMMANDS_H_
#define VORN_COUNTING_STATE_COMMANDS_H_

#include <string>

#include "counting/engine_state.h"

namespace vorn {

// The per-user state file: $XDG_CONFIG_HOME (or ~/.config) +
// "/Quillon Systems/vorn.usr"; "" when neither is known.
std::string UserStateFilePath();

// SaveState: writes the record to `path` ("" for the state file, whose
// folder is made when missing). Returns "" or the text of the failure.
std::string SaveState(EngineState* st, const std::string& path);

// RestoreSavedState: reads the record from `path` ("" for the state file)
// and returns -1 (no file), 0 (read, or cut short and handled), 1 (a list
// choice is missing), 2 (a words file chosen for loading failed) or 3 (the
// reading failed; *error_text says why). A file cut short asks whether to
// set the default values and advises saving; the selected words files are
// offered for loading unless st->SettingValues is set.
int RestoreSavedState(EngineState* st, const std::string& path, std::string* error_text);

// The start-up use: restores the state file and, when it was damaged,
// offers to reinitialise (declined, the damaged file is not overwritten on
// quitting).
void RestoreStateAtStartUp(EngineState* st);

// "Save settings" of the main window (settings_window false) or of the
// Settings window: the state file is written, "Settings saved." shows for
// two seconds below the button, or the failure as a warning.
void SaveSettingsNow(EngineState* st, bool settings_window);

// "Save settings to file" and "Load settings from file" of the Settings
// window: a chooser, then the file written or read; the status and path
// labels say what was done ("Settings saved to", "Settings loaded from",
// "Error saving to", "Error loading from"). A load that fails reinitialises
// the record after a warning; a load asks no "Load file?" question.
void SaveSettingsToFile(EngineState* st);
void LoadSettingsFromFile(EngineState* st);

// The two without their choosers: the record written to `path` (a failure
// is a warning titled "Save settings"; returns whether it was written), and
// read from `path` (returns RestoreSavedState's result).
bool SaveSettingsFile(EngineState* st, const std::string& path);
int LoadSettingsFile(EngineState* st, const std::string& path);

}  // namespace vorn

#endif  // VORN_COUNTING_STATE_COMMANDS_H_
