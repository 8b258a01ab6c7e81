// Display formats: how the listed entries of the WordList become lines.
//
// A listing is one pass over the entries, alphabetical (the table) or by
// frequency (the chain), to one destination: the results box, or the text of
// the output file in tab or comma style. The ListingPass holds what one pass
// needs (the column widths, the destination and the results-box buffer); the
// column builders, line builders and DisplayNextLine work on it. Each column
// builder takes an entry number, 0 for the header text of its column.
//
// Results-box lines collect in OutputBuffer and go to the box in chunks of a
// little more than 2048 characters; no line is taken once the buffer holds
// OutputLimit characters (OutputAborted). The walk polls the engine's pacer
// (which lets pending events run) for every entry and every file line, and
// ends early when a stop is asked.
//
// Not thread-safe; works on the engine's state.

#ifndef VORN_RESULTS_DISPLAY_FORMATS_H_
#define VORN_RESULTS_DISPLAY_FORMATS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "counting/engine_state.h"
#include "settings/settings.h"
#include "util/text.h"

namespace vorn {

// The length of "{Folder}" plus 5: longer folder paths are abbreviated in
// the file lists of formats 12 and 13.
inline constexpr int64_t kFolderAbbreviationMin = 13;

// Where a file pass puts the bytes of the output file (Windows-1252, CR LF).
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Takes the next bytes. Returns 0, or the errno value of a failure.
  [[nodiscard]] virtual int Write(std::string_view bytes) = 0;
};

// The bytes that a file pass gathers before it hands them on.
inline constexpr size_t kFileChunk = 64 * 1024;

struct ListingPass {
  // file_sink: where the lines of a file pass go, in chunks of about
  // kFileChunk bytes, as they are made; null for the results-box pass.
  // touch_textbox: the pass may change the results box (false only when the
  // file's bytes are rendered without a window, for vorn-cli).
  ListingPass(EngineState* state, ByteSink* file_sink, bool may_touch_textbox = true)
      : st(state), file(file_sink), touch_textbox(may_touch_textbox) {}

  bool ToFile() const { return file != nullptr; }

  EngineState* st;
  ByteSink* file;
  bool touch_textbox;

  // A file pass: the bytes not yet handed to the sink, and the first
  // failure of the sink (the pass ends there).
  Bytes FileBuffer;
  int FileError = 0;

  int64_t RankWidth = 0;
  int64_t FreqWidth = 0;
  int64_t WordWidth = 0;
  Text OutputBuffer;

  // Format 9 in the file: whether an entry has been written yet (the
  // separator ", " goes between entries, never after the last).
  bool wrote_list_entry = false;
  // The results box refused a chunk: nothing more can appear in it.
  bool textbox_refused = false;
};

// Whether the relative-frequency option applies to display format `format`
// (0, 1, 2, 4, 5, 7, 11 and 13).
bool RelativeFrequencyAvailable(int format);

// Whether frequencies show as relative ones: the option is ticked and the
// current format has it.
bool ShowRelativeFrequency(const Settings& s);

// The caption of display format i (0..13) in the format list.
std::string DisplayFormatName(int i);

// The header text of the word column: "Word or phrase", "Phrase" or "Word".
Text WordHeader(const EngineState& st);

// Column builders: each appends its column of entry i to *line (i = 0
// gives the header text). A line is built in one string, without a string
// for each column.
void AppendRankColumn(Text* line, const ListingPass& pass, int64_t i);
void AppendFrequencyColumn(Text* line, const ListingPass& pass, int64_t i);
// Also widens pass->WordWidth to the header text when that is longer.
void AppendWordColumn(Text* line, ListingPass* pass, int64_t i);
// With SortByNumberOfFiles the value is followed by the file frequency,
// FileCount divided by the number of files scanned.
void AppendFilesColumn(Text* line, ListingPass* pass, int64_t i);
void AppendLogRankColumn(Text* line, const ListingPass& pass, int64_t i);
void AppendLogFrequencyColumn(Text* line, const ListingPass& pass, int64_t i);
// The file lines of entry i, each ending with CR LF.
Text FileListBlock(const ListingPass& pass, int64_t i, bool with_frequency);

// Sets RankWidth, FreqWidth and WordWidth, then emits the header line.
void ComputeColumnWidths(ListingPass* pass);

// The line of entry i (0 = header) in the three styles.
Text FormatLineForTextbox(ListingPass* pass, int64_t i);
Text FormatLineWithTabs(ListingPass* pass, int64_t i);
Text FormatLineWithCommas(ListingPass* pass, int64_t i);

// Builds the line of entry i (0 = header) for the pass's destination and
// emits it.
void DisplayNextLine(ListingPass* pass, int64_t i);

// The whole listing (summary for a folder source, header, entry lines) in
// table order / in chain order. The results-box pass reports a full box
// through ReportError (code -7). A file pass hands every byte to its sink
// before it returns, and ends early at a failure of the sink (FileError).
void ListWordsAlphabetically(ListingPass* pass);
void ListWordsByFrequency(ListingPass* pass);

// The summary block of a folder source: files and folders scanned, the stop
// note, and the numbers of listed words and instances, ending with an empty
// line.
Text ScannedFilesSummary(const EngineState& st);

}  // namespace vorn

#endif  // VORN_RESULTS_DISPLAY_FORMATS_H_
