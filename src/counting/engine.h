// Engine: the commands of the main window over the engine's state.
//
// The engine owns what the main window owns (the Settings record, the
// CountRun, the WordList, the list statistics, the results box and the
// labels) and offers its commands: count, relist after a display option
// changed, disable output to file, clear the results box. It reaches the
// user only through its Host.
//
// Every command is synchronous: it returns when its work has ended. While it
// works the engine lets pending events run (Host::ProcessEvents) at least
// every 100 ms and tells the host when it becomes busy and idle again
// (Host::BusyChanged). From inside ProcessEvents a host may call only the
// stop commands (CountWords, which then acts as stop, and StopSilently),
// OnTimer, SuppressWordsChanged and busy(); every other command is refused
// while one is under way.
//
// Not thread-safe: one engine, one thread.

#ifndef VORN_COUNTING_ENGINE_H_
#define VORN_COUNTING_ENGINE_H_

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "counting/engine_state.h"
#include "counting/line_scanning.h"
#include "counting/part_count.h"
#include "counting/window_commands.h"
#include "input/docx.h"
#include "input/is_text_file.h"
#include "results/output.h"
#include "util/file_proc.h"
#include "util/host.h"
#include "util/pages.h"
#include "util/work_pool.h"
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
  kBusy,       // refused: another command is under way
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
  kFileDocxFailed = 13,         // the text of a .docx document could not be taken out
  kFileExtractNotWritten = 14,  // nor written to its temporary file
  kFileIsFolder = 15,           // the path names a folder
  kFileNotRegular = 16,         // a named pipe, a device or a socket
  kFileLinkLoop = 17,           // symbolic links that lead round in a loop
  kFileSizeUnknown = 18,        // a file whose size the system does not give (/proc)
};

// The FileStatus of a path that names `kind` (ClassifyPath): kFileRead for
// a regular file, else the status that refuses it.
int FileStatusOf(PathKind kind);

// Reports a FileStatus of the single input file as a count reports it: a
// warning for kFileBadPath, kFileMissing, kFileNotSpecified (no path, or an
// empty file), kFileIsOutput and the paths that name no ordinary file
// (kFileIsFolder to kFileSizeUnknown); nothing for the other codes. The
// texts name st->settings.InputFilePath.
void ReportInputFileStatus(EngineState* st, int status);

class Engine final : private LineScanner::Sink {
 public:
  explicit Engine(Host* host);

  EngineState& state() { return st_; }
  const EngineState& state() const { return st_; }
  Settings& settings() { return st_.settings; }

  // cmdCountWords_Click: starts a count of the chosen source, or, while a
  // run is under way, asks it to stop (with the "Really stop?" question
  // once more than 800 entries are found). While results are relisted or a
  // words file is read it stops that, without a question.
  RunOutcome CountWords();

  // "Count all phrases": the dialog, then a count of every phrase of the
  // numbers of words chosen that occurs at least the number of times chosen,
  // headed by a summary. The user's count-only entries are put aside for
  // the run. While a run is under way it is refused (kBusy); the stop
  // command is CountWords.
  RunOutcome CountAllPhrases();

  // "Make 2-d count array for Excel": the checks of the folder and of the
  // output file, the options dialog, and a folder run that writes the table
  // of words or phrases against files to the output file.
  RunOutcome CountArray();

  // Ends the work under way at once and silently, as when the window
  // closes: no question, no listing, the results dropped. The engine
  // unwinds at its next pause and then reports Busy::kIdle. Does nothing
  // while idle.
  void StopSilently();

  // What the engine is busy with.
  Busy busy() const { return st_.busy; }

  // The window's one-second timer while no command is under way: the
  // captions of the count buttons and of the words-file buttons. (During a
  // run the engine serves its timers itself.)
  void OnTimer();

  // SetCountWordsCaption: the captions of the count button and of the
  // count-array button, by whether count-only entries are set.
  void SetCountWordsCaption();

  // Whether a count trims blanks and tabs from the ends of the input path
  // first, as the window does with what is typed into its box (the default).
  // vorn-cli turns it off: a path given on the command line is taken as it
  // is.
  void SetTrimInputPath(bool trim) { trim_input_path_ = trim; }

  // Whether the host shows the whole listing wherever it goes (vorn-cli
  // prints it) rather than in the results box alone: a folder run then asks
  // for no output file in case the box will not hold the result, and "List
  // files to be scanned" goes on when the box is full (it is emptied).
  void SetListingPrinted(bool printed) { listing_printed_ = printed; }

  // How often ProcessEvents is called during work: not before `words`
  // further steps (words, lines, entries) and not within `interval` of the
  // last call.
  void SetEventThrottle(int words, std::chrono::milliseconds interval);

  // The display options: the caller stores the new value in settings() and
  // then calls this. It enables the display controls for the new order and
  // format (DisplayControlsChanged), refuses formats 11 to 13 without a
  // folder source (setting the format back to 0), and relists the results
  // when there are any. Returns false, changing nothing, while busy.
  bool DisplayOptionChanged(DisplayOption option);

  // "Disable output to file" was ticked or unticked (the caller has stored
  // the new value): unticked, it offers to relist so as to write the file.
  // Returns false, changing nothing, while busy.
  bool DisableOutputToFileChanged();

  // "Clear textbox". Returns false, changing nothing, while busy.
  bool ClearTextbox();

  // The path buttons of the main window (window_commands.h): "Single file",
  // "Output file" and "Folder" with their choosers, and the buttons that
  // clear those paths. Each returns false, changing nothing, while busy.
  bool ChooseInputFile();
  bool ChooseOutputFile();
  bool ChooseFolder();
  bool ClearInputFile();
  bool ClearOutputFile();
  bool ClearFolder();

  // Adds a words file to list `index` (0 words to ignore, 1 count-only),
  // selects and reads it; the common words of a language as the
  // words-to-ignore file (words_files.h). Busy reading words files; each
  // returns false, changing nothing, while other work runs.
  bool LoadWordsFile(int index, const std::string& path);
  bool LoadCommonWords(int language);

  // The words-file lists and boxes of the Settings window
  // (words_file_commands.h). Those that may read a file are busy reading
  // words files; "List" is busy relisting, so that the stop command ends a
  // long listing. Each returns false, changing nothing, while other work
  // runs.
  bool AddWordsFileClicked(int index);
  bool WordsFileChosen(int index, int position);
  bool ClearWordsFilesClicked(int index);
  bool ClearBoxClicked(int index);
  bool BoxLeft(int index);
  bool CommonWordsChosen(int language);
  bool ListCountOnlyClicked();

  // "List files to be scanned": the files of the folder that a count would
  // read, one heading each, in the results box. Busy listing files; the
  // stop command ends it.
  RunOutcome ListFiles();

  // A file-path specification box (0 patterns, 1 exclusion texts) lost the
  // focus: its text is normalised (file_patterns.h). False, changing
  // nothing, while busy.
  bool FileSpecBoxLeft(int index);

  // The settings saved and restored (state_commands.h): the start-up
  // restore of the state file, "Save settings" (of the main window or of
  // the Settings window), and the settings files of the Settings window.
  // Each returns false, changing nothing, while busy.
  bool RestoreStateAtStartUp();
  bool SaveSettingsNow(bool settings_window);
  bool SaveSettingsToFile();
  bool LoadSettingsFromFile();

  // The option rules of the Settings window (option_rules.h): a switch the
  // caller has changed (named as FieldNames() names it, with the value it
  // held before), leaving the "any of:" box, "Check all checkboxes" /
  // "Clear all checkboxes", "Restore defaults" and "Reinitialize". Each
  // returns false, changing nothing, while busy (and OptionChanged for a
  // name that is no switch). A switch that may change during work
  // (SwitchChangeableDuringWork) is an exception: while busy its change is
  // kept without its handler, and takes effect at the next run.
  bool OptionChanged(const std::string& field, int previous);
  bool UserExtraCharsBoxLeft();
  bool SetOrClearCheckboxes(bool check);
  bool RestoreDefaults();
  bool Reinitialize();

  // The Settings window's "Quit": true when the user confirmed it
  // (ConfirmQuit, window_rules.h) and the quit sequence is to follow; false
  // when answered No, and while busy.
  bool ConfirmQuit();

  // The main window's rules (window_rules.h): a source option clicked, a
  // path box left (0 the input file, 1 the output file), the folder box
  // left, the start-up sequence once the window is shown, and the quit
  // sequence. Each returns false, changing nothing, while busy; FolderBoxLeft
  // also when the folder is not acceptable. StartUp is busy reading words
  // files. A window that closes during work stops it (StopSilently) and
  // calls Quit once the engine is idle again.
  bool SourceChosen(InputSource source);
  bool FileBoxLeft(int index);
  bool FolderBoxLeft();
  bool StartUp();
  bool Quit();

  // A click on the results box (window_commands.h); served while busy.
  void ResultsBoxClicked(bool right_button) { vorn::ResultsBoxClicked(&st_, right_button); }

  // Hands the bytes of the output file's listing to `sink` (as
  // RenderFileListing does) as a command of its own: busy relisting, and
  // stopped by the stop commands. Returns 0 or the sink's errno value.
  int RenderListing(ByteSink* sink);

  // How many threads a count may use to read and count files: at least 1
  // (all work on the engine's thread); by default the machine's processors.
  // A run on several threads gives the same results as a run on one.
  void SetThreads(int threads) { threads_ = threads < 1 ? 1 : threads; }
  int threads() const { return threads_; }
  // The size of the parts a large single file is cut into when it is
  // counted on several threads (0, the default: the engine chooses, by the
  // file's size and the threads). Changes only how the work is shared out.
  void SetPartBytes(int64_t bytes) { part_bytes_ = bytes < 0 ? 0 : bytes; }
  // Whether every word goes into the list as it is read, never through a
  // table of a file or part (false, the default: wherever the run allows
  // it). The results are the same either way: the word by word reading is
  // what the tests compare the others with.
  void SetWordByWord(bool on) { word_by_word_ = on; }

  // "Don't display words as found" was ticked or unticked (the caller has
  // stored the new value); served while busy.
  void SuppressWordsChanged();

 private:
  // Folder runs (folder_scan.cpp).
  struct CountingPass;
  struct FolderFile {
    std::string path;
    int64_t folder = 1;  // the folders entered up to the file's own
    // What the counting pass found, and the state of the file it found it
    // in: the reading pass classifies a file again only when it changed.
    TextFileInfo info;
    FileStamp stamp;
    // A small file's bytes as the counting pass read them whole (when
    // `kept`, in kept_blocks_): the reading pass reads them instead of the
    // file while the file's stamp is the same.
    bool kept = false;
    std::string_view bytes;
    // The kept bytes while the file's stamp (`now`) is the one the counting
    // pass found; null when they are not the file's.
    const std::string_view* KeptBytes(const FileStamp& now) const {
      return kept && now == stamp ? &bytes : nullptr;
    }
  };
  bool CheckFolderSource();
  // Refuses an output file (`output`) in the folder of a folder run or, with
  // subfolders, below it.
  bool CheckOutputOutsideFolder(const std::string& output);
  RunOutcome ScanFolder();
  // What the counting pass finds out about a file (on any thread): its
  // stamp, whether it is a document, what IsTextFile says of it, and when
  // the one read of its head got the whole file, its bytes.
  struct FileLook {
    FileStamp stamp;
    bool document = false;
    TextFileInfo info;
    bool whole = false;
    std::string bytes;
  };
  static FileLook LookAtFile(const std::string& path);
  bool CountFolderFile(std::string path, const FileLook& look);
  // What a worker found out about a file of the reading pass ahead of its
  // turn (parallel_reading.cpp): its stamp, whether it is a document, what
  // IsTextFile says, and when it is text to read, its words.
  struct FileAhead {
    FileStamp stamp;
    bool document = false;
    TextFileInfo info;
    // Its words, when a worker counted them (the small files the engine
    // counts itself have none).
    std::unique_ptr<PackedCount> count;
    // A small file the engine counts itself, unless a worker with nothing
    // else to do has begun it first: who took it (FolderAhead's kClaim...;
    // 0 while the file is not offered).
    std::atomic<uint8_t> claim{0};
  };
  class FolderAhead;
  struct FolderAheadEnd {
    void operator()(FolderAhead* ahead) const;
  };
  // The workers of a reading pass (null when the run counts on one thread),
  // and what they found for the next file (null when a stop was asked for
  // while waiting).
  std::unique_ptr<FolderAhead, FolderAheadEnd> StartFolderAhead();
  // The file stays the reading pass's until the next one is taken.
  FileAhead* TakeNextAhead(FolderAhead* ahead);
  // Reads a file of the reading pass; `ahead`: what a worker found (null:
  // everything is done here).
  void ReadFolderFile(const FolderFile& file, FileAhead* ahead);
  // Whether a folder run reads a file that IsTextFile classified; a file
  // that cannot be opened is noted as not read.
  bool TextToRead(const std::string& path, const TextFileInfo& info);
  void ShowFileHeading(const std::string& path);
  // Copies `bytes` into kept_blocks_; returns the copy.
  std::string_view KeepBytes(std::string_view bytes);
  // Lets the kept bytes go.
  void DropKeptBytes();
  // The identity of the count-only file or the output file at `path`, taken
  // once a run (again when the path changes).
  const PathIdentity& CountOnlyIdentity(const std::string& path);
  const PathIdentity& OutputIdentity(const std::string& path);
  void NoteFileNotRead(const std::string& path, const std::string& reason);
  void ReportFilesNotRead();
  void NoFilesMessage();

  // ScanSink.
  bool OnWord(BytesView word) override;
  bool Yield() override;

  // Runs one command: marks it under way, and when it ends (normally, by a
  // silent stop, or by an exception) leaves the engine idle and usable.
  RunOutcome RunCommand(const std::function<RunOutcome()>& body);
  // Runs a command that only works on the state; false when refused.
  bool RunStateCommand(void (*command)(EngineState*));
  // Runs `work` as a command, busy with `busy` (none for Busy::kIdle); false
  // when refused.
  bool RunStateCommand(Busy busy, const std::function<void()>& work);
  // Puts the run state back after a command was abandoned or failed.
  void Unwind();
  // A pause of the work: the timers, then pending events.
  void Pause();
  // Trims the input path (when wanted) and refuses a single-file source
  // without a file or with an empty one.
  bool CheckSingleFileSource();
  RunOutcome StartCount();
  void StartCountRun(RunOutcome* outcome);
  RunOutcome RunCount();
  RunOutcome ReadSingleFile();
  RunOutcome ReadClipboard();
  int DoItFromFile();
  // A .docx document (document_reading.cpp): its text taken out of the
  // archive (false when it could not be, which is reported), then read from
  // its temporary file; ReadDocument returns a FileStatus.
  bool ExtractDocumentText(const std::string& path, DocxExtraction* x);
  int ReadDocument(const std::string& path, const DocxExtraction& x);
  // Reports why a document was not read (a message, or in a folder run a
  // note among the files not read) and returns `status`.
  int DocumentFailed(const std::string& path, const DocxNotice& notice, int status);
  // Empties the word list for the reading of a single file.
  void StartSingleFileWords();
  // Reads a file that IsTextFile found to be text, of `length` bytes. False
  // when it cannot be opened.
  // `counted`: what a worker counted in the file already, to be merged
  // (null: the file is read here); `bytes`: the whole file, read already,
  // to be read instead of the file (null: the file is opened).
  bool ReadTextFile(const std::string& path, const TextFileInfo& info, int64_t length,
                    const PackedCount* counted = nullptr, const std::string_view* bytes = nullptr);
  // How ReadLines ended: whether the file opened, and the error that ended
  // the reading ("" for none).
  struct ReadResult {
    bool opened = false;
    std::string error;
  };
  ReadResult ReadLines(const std::string& path, int text_result, int start_code, bool utf8,
                       int64_t length, const PackedCount* counted, const std::string_view* bytes);
  // Parallel reading (parallel_reading.cpp). Whether the run may count its
  // files on worker threads: its words reach the list one by one, with no
  // phrase windows, no words shown as found and no expression that may
  // fail, so that merging the workers' tables in order is the same.
  bool CountsInParallel() const;
  // Whether the run's tables may be counted apart and merged in order (as
  // CountsInParallel, on any number of threads).
  bool CountsInParts() const;
  // Whether a run's words reach the list one by one, so that line ends mean
  // nothing to it: no phrase windows, no words shown as found.
  bool LineEndsMeanNothing() const;
  PartSetup MakePartSetup() const;
  // Reads the lines of bytes [begin, end) of a file here (end -1: to its
  // end; a part other than the whole file begins and ends at line
  // boundaries); the in-file progress bar measures against `length`.
  struct FileRange {
    int64_t begin = 0;
    int64_t end = -1;
    int64_t length = 0;
    bool show_progress = false;
    const std::string_view* bytes = nullptr;  // the whole file, read already
  };
  ReadResult ReadRange(const std::string& path, LineEnding ending, bool decode_utf8,
                       const FileRange& range);
  // What the engine does between the lines it reads: lets events run now
  // and then, and moves the in-file progress bar (file_reading.cpp).
  class LineHooks;
  // Whether the single input file is counted in parts, and that reading:
  // the engine counts the beginning of the file, then the workers count the
  // parts, and so does the engine when no worker has begun the one it needs
  // next, each into a table of its own (a small table is found faster), on
  // one thread all of them. When the beginning or the first part is mostly
  // distinct words, merging would cost more than it saves, and the engine
  // reads the rest itself.
  bool CanCountInParts(const std::string& path, LineEnding ending, int64_t length) const;
  // Waits until the oldest result of `group` is there, letting the window's
  // events run, and meanwhile counts here a task no worker has begun.
  // Returns false once a stop was asked for (the tasks counted ahead are
  // then dropped).
  template <typename Result>
  bool AwaitFront(WorkerGroup<Result>* group);
  ReadResult ReadInParts(const std::string& path, LineEnding ending, bool decode_utf8,
                         int64_t length, bool show_progress);
  // A folder file that no worker counts (on one thread), counted here into
  // a table of its own and merged; a small file is read word by word
  // instead, as a table and its merge would cost it more.
  bool CountsInTableHere(const std::string_view* bytes) const;
  ReadResult CountInTableHere(const std::string& path, LineEnding ending, bool decode_utf8,
                              const FileRange& range);
  // Whether a folder file with these kept bytes (null: none) is read word
  // by word by the engine, but for a worker with nothing else to do: a
  // small one, whose table and its merge would cost more than the reading.
  static bool ReadsWordByWord(const std::string_view* kept) {
    return kept != nullptr && kept->size() <= 1024;
  }
  // Merge the words a worker counted, packed or in its table, as if they
  // had been met here, in order.
  ReadResult MergeCountedFile(const PackedCount& counted);
  void MergePart(const PartCount& part);
  void MergeWord(BytesView word, int64_t count);
  void ScanLine(Bytes* line);
  // LineScanner::Sink: a piece of a file's text is about to be scanned.
  void OnPiece(bool starts_line) override;
  void ResetPhrases();
  void FlushPendingWords();
  void AddWordToList(BytesView word, WordList::Gate* gate);
  void NewEntry(BytesView word);
  void ReportListProblem();
  void CountOnlyWord(BytesView word);
  // Adds `word` to phrase window k; true when the window then holds k words.
  bool PushToWindow(int k, BytesView word);
  // Counts the phrase of a window (its words joined by "+").
  void AddPhrase(BytesView window);
  // The phrases end after a word that stopped at a period, a double quote
  // or a tab, as the settings say.
  void EndPhrasesAfterWord();
  // "Count all phrases" (all_phrases.cpp).
  RunOutcome StartAllPhrases();
  RunOutcome StartCountArray();
  void AllPhrasesWord(BytesView word);
  bool IsIgnoredInPhrase(BytesView word);
  Text BuildPhraseSummary() const;
  void FilterWordList();
  void CountOnlyFilter();
  void ShowCountSummary();
  void RequestStop();
  void Tick();
  void ConfigureScanner();
  void ShowFileProgress(int64_t bytes_done, int64_t length, bool lf_only);
  std::string ActivityText() const;

  // The lookups of the gate, made once per distinct word.
  struct IgnoreGate final : WordList::Gate {
    explicit IgnoreGate(Engine* e) : engine(e) {}
    bool Admits(BytesView word) override;
    Engine* engine;
  };
  struct CountOnlyGate final : WordList::Gate {
    explicit CountOnlyGate(Engine* e) : engine(e) {}
    bool Admits(BytesView word) override;
    Engine* engine;
  };

  EngineState st_;
  IgnoreGate ignore_gate_{this};
  CountOnlyGate count_only_gate_{this};
  bool list_problem_ = false;  // a lookup met a pattern it cannot match
  int ignored_run_ = 0;        // words to ignore met in a row, the last word's included
  Text scratch_;               // working space of the word filters
  Bytes phrase_;               // a counted phrase, its words joined by blanks
  Scanner scanner_;
  LineScanner lines_{&scanner_};  // the lines of the file being read
  Bytes line_;                    // a clipboard line being scanned
  Text decoded_;                  // a decoded clipboard line
  Text pending_words_;            // words shown as found, waiting for the end of their line

  // The run clock, and the activity indicator's phase and last turn.
  std::chrono::steady_clock::time_point run_started_;
  int activity_ = -1;
  std::chrono::steady_clock::time_point activity_turned_;
  std::vector<FolderFile, PreparedAllocator<FolderFile>>
      folder_files_;  // the files the counting pass accepted
  // The bytes of the small files kept for the reading pass, copied by the
  // engine's thread into blocks of its own: memory the workers allocated
  // and the engine's thread held would make the workers' heaps grow page
  // by page (a system call each).
  std::vector<PreparedBlock> kept_blocks_;
  char* kept_next_ = nullptr;   // the unused end of the last block,
  size_t kept_block_left_ = 0;  // and its size
  int64_t kept_bytes_ = 0;      // the bytes kept in all
  // The count-only file and the output file of a folder run, as the files
  // read are compared with them.
  PathIdentity count_only_identity_;
  PathIdentity output_identity_;
  std::vector<Text> not_read_;      // files and folders that could not be read
  std::string remembered_message_;  // why the counting pass stopped
  bool in_command_ = false;
  bool ended_by_error_ = false;  // a read error ended the run
  bool trim_input_path_ = true;
  bool listing_printed_ = false;
  int progress_cells_ = -1;
  // The phrase ends as the run began with them: the Settings window leaves
  // them enabled during a run, and a change takes effect at the next run.
  struct PhraseEnds {
    bool tab = true;
    bool end_of_line = true;
    bool period = true;
    bool double_quote = true;
  } phrase_ends_;
  int64_t next_progress_bytes_ = 0;
  int threads_ = DefaultThreadCount();
  // The workers of parallel runs (threads_ - 1 threads), made when first
  // needed and kept from run to run: starting a thread costs a run more
  // than the thread waiting idle between runs.
  std::unique_ptr<WorkerPool> pool_;
  int pool_asked_ = 0;  // the threads asked of the pool (it may have fewer)
  WorkerPool* Pool();
  int64_t part_bytes_ = 0;
  bool word_by_word_ = false;
  // The scanner of a folder run's files counted in tables here (null: none
  // is).
  std::unique_ptr<PartSetup> table_setup_;
};

class Engine::LineHooks final : public FileLineHooks {
 public:
  // progress: the in-file progress bar shows how far into `length` bytes
  // the reading is.
  LineHooks(Engine* e, bool progress, bool lf_only, int64_t length);
  bool StopBeforeLine() override;
  bool StopBeforeBlock() override;
  void Progress(int64_t bytes_read) override;

 private:
  Engine* e_;
  bool progress_;
  bool lf_only_;
  int64_t length_;
  int lines_since_yield_ = 0;
};

}  // namespace vorn

#endif  // VORN_COUNTING_ENGINE_H_
