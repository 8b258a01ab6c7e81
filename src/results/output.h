// Output destinations: the output file and the results box.
//
// ListWords is the single entry point once a run has results: it guards
// against overwriting, writes the output file (Windows-1252, CR LF) with its
// header and the listing, then lists again into the results box. The file is
// written as the lines are made and takes its place only when it is whole.
// The display-option handlers relist through it without a new count.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_RESULTS_OUTPUT_H_
#define VORN_RESULTS_OUTPUT_H_

#include <string>
#include <string_view>

#include "counting/engine_state.h"
#include "results/display_formats.h"
#include "util/text.h"

namespace vorn {

// Writes the output file (when one is named and file output is not
// disabled) and then the results box. Does nothing but NoEntriesMessage when
// no entry is listed. The file is written whole or not at all (OutputFile):
// when it cannot be written, "Permission denied" (the file may not be
// written) or "Output file not written" (naming the file and the system's
// description of the error) is shown, the results box is emptied, and
// ListWords returns false; so it does when a vector file cannot be written
// or the listing fails otherwise (reported by ReportError). Returns true
// otherwise.
bool ListWords(EngineState* st);

// The bytes that ListWords writes to the output file (file header, listing
// header and lines, Windows-1252, CR LF), built without touching the file or
// the results box. Used by vorn-cli when no output file is named. Empty when
// nothing is listed or the listing could not be made.
std::string RenderFileListing(EngineState* st);

// As above, handing the bytes to `sink` in pieces as they are made, so that
// the whole listing is never held at once. Returns 0, or the errno value of
// the sink's failure (ENOMEM when memory ran out), after which nothing more
// is handed on.
[[nodiscard]] int RenderFileListing(EngineState* st, ByteSink* sink);

// Writes the two vector files of the words-by-files format beside the source
// folder, in its sibling folder "Vectors" (created when missing):
// "200words.txt" gets the first word of each of the first 200 lines after the
// header of `output_head` (the start of the output file just written, at
// least up to those lines), "200values.txt" the file frequency that ends each
// of those lines. Shows where they went and returns true; when a file (or
// the folder) cannot be written, shows "Vector files not written" with its
// path and the system's description of the error and returns false.
[[nodiscard]] bool WriteVectorFiles(EngineState* st, std::string_view output_head);

// Whether errno value `err` means the output file may not be written (in use
// or read-only): EACCES, EPERM, EROFS, ETXTBSY.
bool IsPermissionDenied(int err);

// "words", "phrases" or "words/phrases": what the run counted.
std::string WordsPhrases(const EngineState& st);

// Tells in the results box that nothing is listed.
void NoEntriesMessage(EngineState* st);

// The error reporter. Shows "At " + procedure + " error #" + number + "." +
// CR LF + "Description: " + description and the advice texts, with the
// exclamation icon. The code -7 (results box full) instead ends the results
// box with the textbox-full note and sets OutputAborted.
void ReportError(EngineState* st, const std::string& procedure, int number,
                 const std::string& description);

// Which display option changed, for RedisplayAfterOptionChange.
enum class DisplayOption { kWordOrder, kDisplayFormat, kRelativeFrequency, kSortByNumberOfFiles };

// Which of the relative-frequency and sort-by-files boxes are enabled for the
// current order and format; a disabled sort-by-files box is cleared (the
// host is told).
DisplayControls UpdateDisplayOptionControls(EngineState* st);

// Formats 11 to 13 need a folder source: otherwise shows "Unavailable display
// format", sets the format back to 0 (the host is told) and returns false.
bool CheckDisplayFormatAvailable(EngineState* st);

// The whole handler of a display option's change (the caller has stored the
// new value): the availability of the format, the display controls
// (DisplayControlsChanged), and the relisting when there are results.
void DisplayOptionHandler(EngineState* st, DisplayOption option);

// Relists after a display option changed, when there are results.
void RedisplayAfterOptionChange(EngineState* st, DisplayOption option);

// The "Disable output to file" box was clicked (the caller has stored the
// new value).
void DisableOutputToFileClicked(EngineState* st);

// The "Clear textbox" button.
void ClearTextboxClicked(EngineState* st);

}  // namespace vorn

#endif  // VORN_RESULTS_OUTPUT_H_
