// Counting a file, or a part of one, into a table of its own.
//
// A parallel run gives each worker a copy of the run's configured scanner
// (PartSetup). A worker reads its file or part with the same line loop as
// the engine and counts every word it is handed into a table of its own,
// in the order the words are first met; the engine then merges the tables
// in file and part order, so that the word list, its entry order and every
// listing come out as reading the words one by one into the list makes
// them. A folder run on one thread counts its files the same way: a small
// table is found faster than the run's list, and the merge looks each word
// up there once a file. The words are merged as the scanner handed them
// over: the gate of the lists and the options that judge a counted word
// are applied at the merge, once per distinct word of the part.
//
// Thread-safe as used: a PartSetup is only read; each call has its own
// scanner and table.

#ifndef VORN_COUNTING_PART_COUNT_H_
#define VORN_COUNTING_PART_COUNT_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "counting/line_scanning.h"
#include "counting/part_words.h"
#include "input/is_text_file.h"
#include "input/line_reader.h"
#include "words/scanner.h"

namespace vorn {

// Whether a folder run reads a file of IsTextFile's `result`.
bool IsTextToRead(int result);

// How the lines of a text file end, by what IsTextFile found (its result and
// start code).
LineEnding EndingOf(int text_result, int start_code);

// Whether the bytes of a text file are read as UTF-8: as IsTextFile found,
// and for a file of 1 to 4 bytes, when those bytes are a multi-byte UTF-8
// sequence ("ñu"). `bytes`: the whole file, read already (null: the file
// is read when its bytes are needed).
bool ReadsAsUtf8(const std::string& path, const TextFileInfo& info,
                 const std::string_view* bytes = nullptr);

// What every worker of a run needs: the scanner as the run configured it
// (its comment markers are set per file) and the options of the lines.
struct PartSetup {
  Scanner scanner;
  bool case_significant = false;
  bool allow_comment_markers = false;
};

// The part of a file to count: [begin, end) of its bytes (end -1: to the
// end of the file). A part other than the whole file begins and ends at
// line boundaries and holds no HTML head (it is not an HTML document).
struct FilePart {
  std::string path;
  LineEnding ending = LineEnding::kCrLfOrCr;
  bool decode_utf8 = false;
  int64_t begin = 0;
  int64_t end = -1;
  // The whole file's bytes, read already (null: the file is read). Only for
  // a part that is the whole file.
  const std::string_view* bytes = nullptr;
};

// What a worker found.
struct PartCount {
  bool opened = false;  // false: the file could not be opened (error says why)
  std::string error;    // a read error that ended the part early
  bool cancelled = false;
  PartWords words;  // every word handed over, in the order first met
};

// A whole file counted by a worker: its words packed (PackWords).
struct PackedCount {
  bool opened = false;  // false: the file could not be opened (error says why)
  std::string error;    // a read error that ended the count early
  std::string words;
};

// Counts the words of `part`. Stops early, with cancelled set, once
// `cancel` becomes true (looked at for every line and word), or once
// `hooks` (may be null: none) asks to stop before a line; `hooks` also
// hears how far the reading is.
void CountPart(const PartSetup& setup, const FilePart& part, const std::atomic<bool>& cancel,
               PartCount* result, FileLineHooks* hooks = nullptr);

// As CountPart, for a whole file, into the calling thread's table, kept
// from file to file (a fresh one costs allocations and new pages); then
// hands the count to `use`.
void CountInKeptTable(const PartSetup& setup, const FilePart& part, const std::atomic<bool>& cancel,
                      FileLineHooks* hooks, const std::function<void(const PartCount&)>& use);

// As CountInKeptTable, with the words then packed into *result.
void CountPacked(const PartSetup& setup, const FilePart& part, const std::atomic<bool>& cancel,
                 PackedCount* result, FileLineHooks* hooks = nullptr);

// Where a file of `length` bytes may be cut into parts of about `part_bytes`
// for parallel counting: offsets right after a line end that also ends the
// line when the file is read whole. Returns the parts' starts, the first
// being 0; a file without such places is one part. Reads the file around
// each place; a file that cannot be read is one part.
std::vector<int64_t> FindPartStarts(const std::string& path, LineEnding ending, int64_t length,
                                    int64_t part_bytes);

}  // namespace vorn

#endif  // VORN_COUNTING_PART_COUNT_H_
