// Engine: the commands of the main window over the engine's state.
//
// The engine owns what the main window owns (the Settings record, the
// CountRun, the WordList, the list statistics, the results box and the
// labels) and offers its commands: count, relist after a display option
// changed, disable output to file, clear the results box. It reaches the
// user only through its Host.
//
// A run is synchronous: CountWords() returns when the run has ended. While it
// runs the engine calls Host::ProcessEvents() now and then (throttled by
// time); a host that wants to stop the run calls CountWords() again from
// there, as the count button does while it shows a run caption.
//
// Not thread-safe: one engine, one thread.

#ifndef VORN_COUNTING_ENGINE_H_
#define VORN_COUNTING_ENGINE_H_

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "counting/engine_state.h"
#include "results/output.h"
#include "util/host.h"
#include "words/scanner.h"

namespace vorn {

// How a command ended.
enum class RunOutcome {
  kListed,     // the run reached its results (a run that lists no entry included)
  kRefused,    // a check refused the run (a message says why)
  kStopped,    // the user stopped the run and chose not to see the results
  kFailed,     // an error ended the run (a message says why)
  kCancelled,  // the user cancelled the count dialog
  kStopAsked,  // the call asked a run under way to stop
};

// The longest clipboard text a count accepts, in characters (16-bit units
// of Text).
inline constexpr int64_t kMaxClipboardChars = 100000;

// Per-file status codes of DoItFromFile.
enum FileStatus : int {
  kFileRead = 0,
  kFileBadPath = 1,
  kFileMissing = 2,
  kFileNotSpecified = 3,
  kFileIsOutput = 4,
  kFileCancelled = 5,
  kFileNotText = 6,
  kFileZeroLength = 10,
  kFileCannotOpen = 11,
  kFileOutputAborted = 12,
  kFileIsFolder = 15,     // the path names a folder
  kFileNotRegular = 16,   // a named pipe, a device or a socket
  kFileLinkLoop = 17,     // symbolic links that lead round in a loop
  kFileSizeUnknown = 18,  // a file whose size the system does not give (/proc)
};

class Engine final : private ScanSink {
 public:
  explicit Engine(Host* host);

  EngineState& state() { return st_; }
  const EngineState& state() const { return st_; }
  Settings& settings() { return st_.settings; }

  // cmdCountWords_Click: starts a count of the chosen source, or, while a
  // run is under way, asks it to stop.
  RunOutcome CountWords();

  // Whether a count trims blanks and tabs from the ends of the input path
  // first, as the window does with what is typed into its box (the default).
  // vorn-cli turns it off: a path given on the command line is taken as it
  // is.
  void SetTrimInputPath(bool trim) { trim_input_path_ = trim; }

  // How often ProcessEvents is called during a run: not before `words`
  // further words (or lines) and not within `interval` of the last call.
  void SetEventThrottle(int words, std::chrono::milliseconds interval);

  // The display options: the caller stores the new value in settings() and
  // then calls this, which relists the results.
  void DisplayOptionChanged(DisplayOption option);

  // "Disable output to file" was ticked or unticked (the caller has stored
  // the new value): unticked, it offers to relist so as to write the file.
  void DisableOutputToFileChanged();

  // "Clear textbox".
  void ClearTextbox();

 private:
  // ScanSink.
  bool OnWord(BytesView word) override;
  bool Yield() override;

  RunOutcome StartCount();
  void StartCountRun(RunOutcome* outcome);
  RunOutcome RunCount();
  RunOutcome ReadSingleFile();
  RunOutcome ReadClipboard();
  int DoItFromFile();
  void ReportInputFileStatus(int status);
  bool ReadLines(const std::string& path, int text_result, int start_code, bool utf8,
                 int64_t length);
  void ScanLine(Bytes* line);
  // Lower-cases (and decodes) one line or piece of a file into line_, and
  // says what the scanner's preparation may find in it.
  Scanner::BlockHints PrepareLine(std::string_view text, bool decode_utf8);
  // Scans one line of a file, or one piece of a long line (last: the piece
  // ends its line).
  void ScanPieceOfLine(std::string_view raw, bool last, bool decode_utf8);
  void ResetPhrases();
  void FlushPendingWords();
  void AddWordToList(BytesView word);
  void FilterWordList();
  void CountOnlyFilter();
  void ShowCountSummary();
  void RequestStop();
  void Tick();
  void ConfigureScanner();
  void ShowFileProgress(int64_t bytes_done, int64_t length, bool lf_only);
  std::string ActivityText() const;

  EngineState st_;
  Scanner scanner_;
  Bytes line_;              // the block being scanned
  bool line_open_ = false;  // pieces of a long line are being scanned
  Text decoded_;            // a decoded UTF-8 line
  Text pending_words_;      // words shown as found, waiting for the end of their line

  // The throttle of ProcessEvents and the run clock.
  int events_every_ = 2048;
  std::chrono::milliseconds events_interval_{40};
  int countdown_ = 0;
  std::chrono::steady_clock::time_point last_events_;
  std::chrono::steady_clock::time_point run_started_;
  bool ended_by_error_ = false;  // a read error ended the run
  bool trim_input_path_ = true;
  int progress_cells_ = -1;
  int64_t next_progress_bytes_ = 0;
};

}  // namespace vorn

#endif  // VORN_COUNTING_ENGINE_H_
