// The message table: texts of the program fetched by number.
//
// The table is built into the program (English). Numbers and roles:
//   1 the program's title; 19 the source heading; 20, 24, 26-29 the
//   introduction; 21 the caption of the count button; 22, 23 the notice after
//   relisting a stopped run; 31 the tool tip of "Don't display words as
//   found"; 32, 33 the two run captions of the count button (each holds
//   "stop"); 34, 35 the advice lines of the error reporter; 36 the note of a
//   full results box; 37-40 the restore-failure question; 41, 42 the
//   common-words question; 43, 44 the two word orders; 45-48 chooser titles
//   and the folder check; 50 "settings saved"; 51-64 the fourteen display
//   formats; 91 the Settings window caption; 101, 102 the count-array button;
//   103, 104 the count-array "no output file" message.
// An entry holding "~" is intentionally empty.
//
// Thread-safe.

#ifndef VORN_UTIL_MESSAGE_TABLE_H_
#define VORN_UTIL_MESSAGE_TABLE_H_

#include <string>

namespace vorn {

// Text n of the table; the empty text for a missing entry or one that holds
// "~".
std::string GetMessageText(int n);

}  // namespace vorn

#endif  // VORN_UTIL_MESSAGE_TABLE_H_
