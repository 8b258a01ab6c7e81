// The rules by which changing one option of the Settings window affects
// another or asks the user first, as engine operations the windows call:
// an option change that needs the text read anew asks once, "any of:" needs
// characters in its box, the extra-characters check runs after the "Allow
// words with" options, and "Check all" / "Clear all" and the two resets
// change the switches as one change each.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_COUNTING_OPTION_RULES_H_
#define VORN_COUNTING_OPTION_RULES_H_

#include <cstdint>
#include <string>

#include "counting/engine_state.h"

namespace vorn {

// ConfirmRereading: asks whether a change that needs the source read anew
// may go ahead ("Changing this entails reading the file anew.  Is this
// OK?"); Yes clears TextAlreadyRead.
bool ConfirmRereading(EngineState* st);

// OnOptionChanged: the switch of the Settings window named `field` (as
// FieldNames() names it) has been changed to the value it now holds, from
// `previous`. While the window is not loaded or the program sets options,
// nothing happens. With the last text still held the user is asked first;
// No puts the switch back. Then the switch's follow-up: the
// extra-characters check after an "Allow words with" switch, and "any of:"
// without characters in its box unticked again. Returns false for a name
// that is no switch of the Settings window.
bool OnOptionChanged(EngineState* st, const std::string& field, int previous);

// "Check all checkboxes" (check true) and "Clear all checkboxes": every
// switch of the Settings window set, each change running its handler; "any
// of:" is ticked only when its box holds characters.
void SetOrClearCheckboxesCommand(EngineState* st, bool check);

// "Restore defaults": SetDefaultValues, the window told of every change.
void RestoreDefaults(EngineState* st);

// "Reinitialize": Initialize, then, for each words-file list that holds a
// file, "Do you wish to clear all words-to-ignore files?" (or
// count-only-words/phrases files); Yes empties the list. Then "Program
// reinitialized" shows for two seconds below the button, the settings-file
// path is hidden and the status line above it emptied.
void Reinitialize(EngineState* st);

// The field of the Settings-window switch named `field` (as FieldNames()
// names it) in `s`, or nullptr for a name that is no such switch.
int16_t* SwitchField(Settings* s, const std::string& field);

// Whether the switch named `field` may change while work is under way: the
// phrase ends and the two pattern-matching switches, which the Settings
// window leaves enabled during a run. A run keeps the values it began with;
// a change takes effect at the next run.
bool SwitchChangeableDuringWork(const std::string& field);

// Leaving the "any of:" box (UserSpecifiedExtraChars): its text is cleaned
// (CleanUserExtraChars), the first forbidden character is reported ("The
// character + is not permitted in words.", titled "Invalid character"), and
// when the box ends up empty "any of:" is unticked, its handler running.
void UserExtraCharsBoxLeft(EngineState* st);

// The tool tip of the count-only box, which names whether case is
// significant.
std::string CountOnlyBoxToolTip(const Settings& s);

// The word after the excess-frequency list: "occurrence" for 1, else
// "occurrences".
std::string ExcessFrequencyLabel(const Settings& s);

}  // namespace vorn

#endif  // VORN_COUNTING_OPTION_RULES_H_
