// Count array: the table of the listed words or phrases (rows) against the
// files of a folder run (columns), written in place of the listing at the end
// of a count-array run, as a tab-delimited file for a spreadsheet.
//
// Each cell is the entry's count in that file, or that count as a whole
// percentage of the row total; a row ends with its total, and a table ends
// with the totals of the columns. The table stands in alphabetical order
// (the order of the WordList), in order of decreasing row total, or both, one
// after the other. Rows are made one at a time from the entry's file tallies
// and go to the file as they are made, so that a table of thousands of files
// by a million entries is never held whole; the file is written through
// OutputFile, so it takes its place only once it is complete.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_RESULTS_COUNT_ARRAY_H_
#define VORN_RESULTS_COUNT_ARRAY_H_

#include <ctime>
#include <string>

#include "counting/engine_state.h"
#include "util/text.h"

namespace vorn {

// What WriteCountArray did.
enum class CountArrayOutcome {
  kWritten,    // the file is written and the results box says so
  kNoEntries,  // nothing is listed: the no-entries message, no file written
  kStopped,    // a stop was asked while the file was written: the file is left as it was
  kFailed,     // the file could not be written: the results box says why
};

// WriteCountArray: writes the count array of the finished run to
// Settings::OutputFilePath (Windows-1252, CR LF) with the layout, zero cells
// and relative-frequency options of the Settings, then shows in the results
// box that the file was created and how a spreadsheet is to read it.
//
// Columns are the files of st->run.ScannedFilePaths, numbered from 1; rows
// are the entries with Listed set. The by-frequency table orders its rows by
// decreasing row total (the sum of the entry's recorded per-file counts),
// equal totals by ascending ordinal order of the word; it does not use the
// frequency chain.
//
// Returns kNoEntries after NoEntriesMessage when st->stats.ListedCount is 0.
// Returns kFailed when the file cannot be opened or written, or memory runs
// out: CR LF, "Error: " and the system's description of the error are
// appended to the results box. Returns kStopped when st->run.StopRequested
// is found set during the writing: "Output to file was terminated." is
// appended to the results box on a line of its own (the flag stays set for
// the caller). In both cases the output file is left as it was before the
// call. The engine's pacer is polled throughout; when it throws, the
// exception passes on and the output file is left as it was as well.
//
// REQUIRES: the WordList is finalized and in table order, the filters have
// set Listed, and st->stats was computed from it (ComputeListStatistics).
// Every file index of the tallies lies in 1..ScannedFilePaths.size() (a
// tally outside is left out of the row and of every total).
[[nodiscard]] CountArrayOutcome WriteCountArray(EngineState* st);

// As above, with `now` (local time) as the time of writing shown in the
// file's first line.
[[nodiscard]] CountArrayOutcome WriteCountArray(EngineState* st, const std::tm& now);

// The date and time `t` (local time): the date as year-month-day
// ("2024-03-09"), the time as hours:minutes in 24-hour form ("14:05"), or
// hours:minutes:seconds with_seconds. Returns time + " on " + date in the
// "on" form, otherwise date + " " + time.
std::string FormatDateTimeStamp(const std::tm& t, bool on_form, bool with_seconds);

// NoteExcelTextColumn: sets *hint when a spreadsheet would misread the row
// label `label` (Windows-1252 bytes) unless its column is formatted as text:
// the label, lower-cased, is "true" or "false"; or numerals_allowed (words
// may hold digits) and the label looks like a number: without its blanks at
// both ends it is not empty, consists only of the characters
// "0123456789-+,." and has its first "-" and its first "+", if any, at its
// start. Leaves *hint as it was otherwise.
void NoteExcelTextColumn(BytesView label, bool numerals_allowed, bool* hint);

}  // namespace vorn

#endif  // VORN_RESULTS_COUNT_ARRAY_H_
