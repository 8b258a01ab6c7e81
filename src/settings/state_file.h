// StateFile: the line format in which the whole Settings record is saved,
// both as the per-user state file and as the ".vorn" settings files.
//
// Every value stands on a line of its own, in a fixed order, with CR LF line
// ends; the file holds Windows-1252 bytes while the record holds UTF-8 texts.
// Texts stand between double quotes with nothing escaped, switches and list
// choices are decimal numbers, -1 meaning no choice. There is no header and
// no version: a file is read field by field until its last line.
//
// This layer only turns a record into bytes and bytes into a record, and
// reads and writes whole files. Questions to the user, loading the selected
// words files and the checks of paths and texts belong to the caller.
//
// All functions are reentrant. WriteStateText and ParseStateText may throw
// std::bad_alloc; the file functions throw nothing.

#ifndef VORN_SETTINGS_STATE_FILE_H_
#define VORN_SETTINGS_STATE_FILE_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings.h"

namespace vorn {

// The number of lines of a state file whose two words-file lists are empty;
// every path in a list adds one line.
inline constexpr int kStateFileLines = 73;

// The text that begins every message of a failed save.
inline constexpr std::string_view kSaveStateError = "Error when attempting to save state: ";

// The text of a failed read caused by a value its field cannot take.
inline constexpr std::string_view kInvalidDataText = "Invalid data";

enum class StateReadStatus {
  kComplete,       // every line was read
  kPastEndOfFile,  // the file ended before its last line
  kInvalidData,    // a line held a value its field cannot take
  kReadError,      // the file could not be read (ReadStateFile only)
  kMissing,        // no file at the path; nothing was read (ReadStateFile only)
};

struct StateReadResult {
  StateReadStatus status = StateReadStatus::kComplete;
  // kPastEndOfFile: the number (from 1) of the first line that was missing.
  // kInvalidData: the number of the line with the bad value. Else 0.
  int line = 0;
  // kInvalidData: the field of that line, by its --set name ("ShortWordSize",
  // "WordsFiles0" for the count, the paths and the selection of list 0).
  std::string field;
  // kInvalidData: kInvalidDataText; kReadError: the system's description of the
  // error. Else empty.
  std::string error;
  // Whether the reading reached the count-dialog fields (the line of
  // CountArrayZeroCellsBlank). After a past-end-of-file stop with this set,
  // the reader has already set CountArrayZeroCellsBlank to 0 and
  // CountArrayLayout to alphabetical.
  bool count_dialog_reached = false;
  // Whether, after the reading stopped, any of ShortWordSize, LongWordSize,
  // ThresholdFrequency, ExcessFrequency, WordOrder and DisplayFormat holds
  // no choice (-1).
  bool list_choice_missing = false;

  // The result as a 16-bit code: -1 missing; 0 complete without a missing
  // list choice, or past end of file; 1 complete with a missing list choice;
  // 3 invalid data or a read error.
  int16_t Code() const;
};

// Turns the record into the bytes of a state file. Returns true and stores
// the bytes in *bytes; or, when a text (the words-file paths included) holds
// a double quote, a CR or an LF, is not valid UTF-8 or holds a character
// Windows-1252 has no byte for, or when a words-file list holds more paths
// than a 16-bit count can say, returns false and stores the --set name of
// the first such field in line order in *bad_field ("ExtraWords0",
// "WordsFiles1") and leaves *bytes empty.
bool WriteStateText(const Settings& s, std::string* bytes, std::string* bad_field);

// Writes the state file at `path` (its folder must exist). Returns "" on
// success, otherwise kSaveStateError followed by the system's description of
// the error, or by a sentence naming the field that cannot be written (then
// nothing was touched). The file is written beside the target and renamed
// over it, so a failed save leaves the earlier file as it was; a read-only
// file is refused.
std::string SaveStateFile(const Settings& s, const std::string& path);

// Reads the lines of a state file in order into *s, storing every value as
// soon as it is read, and stops at the first missing line (kPastEndOfFile)
// or the first value its field cannot take (kInvalidData); the fields read
// before the stop keep their new values, the others stay as they were. Lines
// may end in CR LF, CR or LF.
//
// A text is what stands between the first double quote of its line and the
// next one, or, on a line without an opening quote, the line up to its first
// comma without surrounding blanks. A switch is the leading decimal number
// of its text (0 if none) rounded half to even, and must be 0, 1 or 2. A list
// choice, count or code must be a decimal number (a fraction is rounded half
// to even) within 16 bits; a list choice must be -1 or an item of its list, a
// count must not be negative, and a words-file selection must be -1 or a
// position in the list read (it is -1 whatever the file says when the list is
// empty). A Source code other than 0 or 1 selects the folder; a
// CountArrayLayout code other than 1 or 2 selects alphabetical order.
StateReadResult ParseStateText(std::string_view bytes, Settings* s);

// Reads the state file at `path` into *s as ParseStateText does. Gives
// kMissing when no file is there (also when a part of the path is no
// folder), and kReadError with the system's description when the file
// cannot be read; *s is unchanged in both cases.
StateReadResult ReadStateFile(const std::string& path, Settings* s);

// Creates `folder` and any missing folders above it, for the state file.
// Returns "" when the folder exists afterwards, else the system's
// description of the error.
std::string MakeStateFolder(const std::string& folder);

}  // namespace vorn

#endif  // VORN_SETTINGS_STATE_FILE_H_
