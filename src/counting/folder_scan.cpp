// The engine's folder runs: the checks of the folder source, the two passes
// over the folder tree (the files are counted, then read), and "List files
// to be scanned".
//
// The counting pass walks the tree once and keeps the files it accepts, in
// the order read, with the number of folders entered before each; the
// reading pass reads that list, so the two passes agree on every file even
// when the tree changes in between.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <memory>
#include <system_error>

#include "counting/engine.h"
#include "counting/window_commands.h"
#include "input/docx.h"
#include "input/file_patterns.h"
#include "input/folder_walk.h"
#include "input/is_text_file.h"
#include "results/display_formats.h"
#include "util/file_proc.h"
#include "util/message_table.h"
#include "util/pages.h"
#include "util/str_proc.h"

namespace vorn {

namespace {

const std::string kCrLfS = "\r\n";
constexpr int kProgressBarWidth = 39;
constexpr int64_t kMaxCountArrayFiles = 10000;
// How many bytes of small files the counting pass keeps for the reading
// pass at most.
constexpr int64_t kKeptBytesMax = int64_t{64} << 20;
// The size of the blocks the kept bytes are copied into: a large page.
constexpr size_t kKeptBlockBytes = kLargePageBytes;
// The files that could not be read are named in one message, at most this
// many of them.
constexpr size_t kNotReadNamed = 10;

std::string FileFolderCountText(int64_t files, int64_t folders) {
  return std::to_string(files) + " file" + (files == 1 ? "" : "s") + " in " +
         std::to_string(folders) + " folder" + (folders == 1 ? "" : "s");
}

// The path as the file system resolves it, or as given when it cannot.
std::filesystem::path Resolved(const std::string& path) {
  std::error_code ec;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
  return ec ? std::filesystem::path(path).lexically_normal() : resolved;
}

// Whether `folder` is `top` or, with `below`, a folder under it.
bool SameOrBelow(const std::filesystem::path& folder, const std::filesystem::path& top,
                 bool below) {
  if (folder == top) return true;
  if (!below) return false;
  const std::filesystem::path rel = folder.lexically_relative(top);
  return !rel.empty() && *rel.begin() != "..";
}

}  // namespace

// The counting pass (and the listing) as the walk's visitor. With n
// threads, n - 1 workers look at the files (their stamps and kinds) while
// the walk goes on, and the engine too while it waits for them; every event
// of the walk is then handled in the order the walk met it, so that the
// pass finds what it finds on one thread.
struct Engine::CountingPass final : FolderVisitor {
  // One event of the walk.
  struct Event {
    enum class Kind { kFile, kSubfolder, kUnreadable } kind = Kind::kFile;
    std::string path;
    int error = 0;
    FileLook look;
  };
  // The events of one piece of work: consecutive files that one task looks
  // at, or one other event. Files go out in runs, so that the handing over
  // costs the engine's thread little per file.
  using Events = std::vector<Event>;
  // How many files a task looks at, at most, and how many pieces of work
  // may wait to be handled.
  static constexpr size_t kRun = 16;
  static constexpr size_t kWindow = 8;

  explicit CountingPass(Engine* e) : engine(e) {
    if (e->threads_ > 1) group = std::make_unique<WorkerGroup<Events>>(e->Pool());
  }

  bool OnFile(const std::string& path) override {
    if (group == nullptr) return engine->CountFolderFile(path, LookAtFile(path));
    files.push_back(path);
    if (files.size() < kRun) return true;
    PostFiles();
    return Handle(false);
  }
  bool OnSubfolder(const std::string& path) override {
    if (group == nullptr) return SubfolderEntered();
    PostFiles();
    group->work.PostReady(Events{Event{Event::Kind::kSubfolder, path, 0, {}}});
    return Handle(false);
  }
  void OnUnreadable(const std::string& path, int error) override {
    if (group == nullptr) {
      engine->NoteFileNotRead(path, ErrorDescription(error));
      return;
    }
    PostFiles();
    group->work.PostReady(Events{Event{Event::Kind::kUnreadable, path, error, {}}});
    Handle(false);
  }
  // After the walk: the events still waiting.
  void Finish() {
    if (group == nullptr) return;
    PostFiles();
    Handle(true);
  }

 private:
  // Hands the files met since the last piece of work to a worker.
  void PostFiles() {
    if (files.empty()) return;
    group->work.Post(
        [paths = std::move(files), freed = std::move(handled), &cancel = group->cancel]() mutable {
          // What a worker allocated is best freed by it: two threads freeing
          // each other's memory wait for each other's locks.
          freed.clear();
          Events events;
          events.reserve(paths.size());
          for (std::string& path : paths) {
            if (cancel) break;
            FileLook look = LookAtFile(path);
            events.push_back(Event{Event::Kind::kFile, std::move(path), 0, std::move(look)});
          }
          return events;
        });
    files.clear();
    handled.clear();
  }
  bool SubfolderEntered() {
    ++engine->st_.run.FolderCount;
    engine->st_.pacer.Check();
    return !engine->st_.run.StopRequested;
  }
  // Handles the events whose turn has come: every one (all), or those
  // ready, waiting only while too many are waiting. False once an event
  // ended the walk.
  bool Handle(bool all) {
    while (!ended && !group->work.empty()) {
      const bool wait = all || group->work.pending() >= kWindow;
      if (!group->work.FrontReady(std::chrono::milliseconds(0))) {
        if (!wait) break;
        // The engine looks at files too while it waits.
        if (!group->pool.RunPending() && !group->work.FrontReady(kWorkerWaitStep)) {
          engine->st_.pacer.Check();
        }
        continue;
      }
      Events events = group->work.TakeFront();
      for (Event& event : events) {
        if (ended) break;
        switch (event.kind) {
          case Event::Kind::kFile:
            ended = !engine->CountFolderFile(std::move(event.path), event.look);
            break;
          case Event::Kind::kSubfolder:
            ended = !SubfolderEntered();
            break;
          case Event::Kind::kUnreadable:
            engine->NoteFileNotRead(event.path, ErrorDescription(event.error));
            break;
        }
      }
      handled.push_back(std::move(events));
    }
    return !ended;
  }

  Engine* engine;
  std::unique_ptr<WorkerGroup<Events>> group;
  std::vector<std::string> files;  // met by the walk, not yet handed over
  std::vector<Events> handled;     // for the next task to free
  bool ended = false;
};

Engine::FileLook Engine::LookAtFile(const std::string& path) {
  FileLook look;
  // A document is read for its text; a broken one is named when it is read.
  look.document = IsDocx(path);
  if (look.document) {
    look.stamp = StampOf(path);
    return look;
  }
  // One open and one read of the head give the stamp, the kind of text and,
  // for a small file, all its bytes.
  FileSample sample;
  look.info = LookAtTextFile(path, &sample);
  look.stamp = sample.stamp;
  if (look.stamp.size < 0) look.stamp = StampOf(path);  // not opened, but it may be there
  if (sample.whole) {
    look.whole = true;
    look.bytes = std::move(sample.bytes);
  }
  return look;
}

void Engine::NoteFileNotRead(const std::string& path, const std::string& reason) {
  not_read_.push_back(PathText(path + " (" + reason + ")"));
}

void Engine::ReportFilesNotRead() {
  if (not_read_.empty()) return;
  const size_t n = not_read_.size();
  Text text = n == 1 ? T("This file or folder could not be read:")
                     : T(Grouped(static_cast<int64_t>(n)) + " files or folders could not be read:");
  for (size_t i = 0; i < n && i < kNotReadNamed; ++i) text += u"\r\n" + not_read_[i];
  if (n > kNotReadNamed) {
    text += T(kCrLfS + "and " + Grouped(static_cast<int64_t>(n - kNotReadNamed)) + " more.");
  }
  st_.host->ShowMessage("Files not read", TextToUtf8(text), Icon::kInformation);
  not_read_.clear();
}

bool Engine::TextToRead(const std::string& path, const TextFileInfo& info) {
  // A file that cannot be read is named; one that is not text, is empty or
  // has gone is passed over.
  if (info.result == kStartPermissionDenied) NoteFileNotRead(path, ErrorDescription(EACCES));
  if (info.result == kStartUnreadable) NoteFileNotRead(path, "cannot be opened");
  return IsTextToRead(info.result);
}

bool Engine::CheckFolderSource() {
  Settings& s = st_.settings;
  std::string folder(TrimBlanksAndTabs(s.FolderPath));
  StripTrailingBackslashes(&folder);
  st_.ChangeSetting(&s.FolderPath, folder, "FolderPath");
  if (folder.empty()) {
    st_.host->ShowMessage("Error", "Folder not specified.", Icon::kExclamation);
    return false;
  }
  if (ClassifyPath(folder) != PathKind::kFolder) {
    st_.host->ShowMessage("Invalid input", "Folder does not exist", Icon::kExclamation);
    return false;
  }
  const FolderListing top = ListFolder(folder);
  if (top.error != 0) {
    st_.host->ShowMessage(
        "Invalid input",
        "The folder " + folder + kCrLfS + "cannot be read: " + ErrorDescription(top.error) + ".",
        Icon::kExclamation);
    return false;
  }
  // A tree whose files all lie in subfolders is as good as any when the
  // subfolders are read.
  bool any = s.IncludeSubfolders != 0 && !top.folders.empty();
  for (const FolderListing::File& file : top.files) {
    any = any || MatchFilePattern(file.name, "*.*", false);
  }
  if (!any) {
    st_.host->ShowMessage("Nothing to do", "Folder contains no files.", Icon::kInformation);
    return false;
  }
  return CheckOutputOutsideFolder(s.OutputFilePath);
}

bool Engine::CheckOutputOutsideFolder(const std::string& output) {
  const Settings& s = st_.settings;
  if (output.empty() || (s.DisableOutputToFile && !st_.run.CountArrayMode)) return true;
  // Compared as the file system resolves them: "." and "..", links and
  // relative paths lead to the same folder.
  const std::filesystem::path out_folder = Resolved(output).parent_path();
  if (!SameOrBelow(out_folder, Resolved(s.FolderPath), s.IncludeSubfolders != 0)) return true;
  st_.host->ShowMessage("Invalid output file",
                        "The output file cannot be in the folder or a subfolder.",
                        Icon::kInformation);
  return false;
}

void Engine::ShowFileHeading(const std::string& path) {
  const Settings& s = st_.settings;
  CountRun& run = st_.run;
  Textbox& box = st_.textbox;
  if (run.ReadingFiles && !s.SuppressWords && !s.SuppressFilenames && !box.empty() &&
      !box.text().ends_with(kCrLf)) {
    box.OutputToTxb(kCrLf);
  }
  if (s.SuppressFilenames && !run.ListingFiles) return;
  Text heading;
  if (static_cast<int64_t>(s.FolderPath.size()) > kFolderAbbreviationMin) {
    heading = u"{Folder}" + PathText(std::string_view(path).substr(s.FolderPath.size()));
  } else {
    heading = PathText(path);
  }
  box.OutputToTxb(heading + Text(kCrLf));
}

bool Engine::CountFolderFile(std::string path, const FileLook& look) {
  const Settings& s = st_.settings;
  CountRun& run = st_.run;
  st_.pacer.Check();
  if (run.StopRequested) return false;
  // A count-only file is never among the files counted.
  const WordsFileList& count_only = s.WordsFiles[1];
  if (count_only.selected >= 0 &&
      static_cast<size_t>(count_only.selected) < count_only.paths.size() &&
      CountOnlyIdentity(count_only.paths[static_cast<size_t>(count_only.selected)])
          .Matches(path, look.stamp)) {
    remembered_message_ =
        "The file " + path + kCrLfS + "is among the files to be scanned." + kCrLfS +
        "But this file is the same as the count-only words/phrases file" + kCrLfS +
        "currently specified in the Settings panel. " + "This is not permitted.";
    run.StopRequested = true;
    return false;
  }
  const FileStamp& stamp = look.stamp;
  const TextFileInfo& info = look.info;
  if (!look.document && !TextToRead(path, info)) return true;
  if (run.ListingFiles) {
    ShowFileHeading(path);
    // A host that shows every line as it comes needs no box to hold them.
    if (listing_printed_ && st_.textbox.length() > kOutputLimit) st_.textbox.Clear();
    if (st_.textbox.OutputAborted) {
      run.StopRequested = true;
      return false;
    }
  }
  ++run.FilesScanned;
  FolderFile file;
  file.folder = run.FolderCount;
  file.info = info;
  file.stamp = stamp;
  // A small file read whole is kept for the reading pass, within a bound.
  if (look.whole && !run.ListingFiles &&
      kept_bytes_ + static_cast<int64_t>(look.bytes.size()) <= kKeptBytesMax) {
    kept_bytes_ += static_cast<int64_t>(look.bytes.size());
    file.kept = true;
    file.bytes = KeepBytes(look.bytes);
  }
  file.path = std::move(path);
  folder_files_.push_back(std::move(file));
  if (run.ListingFiles) {
    st_.textbox.SetListingProgress(true, run.FilesScanned, run.FolderCount);
  } else if (run.FilesScanned < 10 || run.FilesScanned % 5 == 0) {
    st_.textbox.SetText(T("Counting files . . . " + std::to_string(run.FilesScanned)));
  }
  return true;
}

RunOutcome Engine::ScanFolder() {
  Settings& s = st_.settings;
  CountRun& run = st_.run;
  if (!CheckFolderSource()) return RunOutcome::kRefused;
  st_.SetLabel(Label::kCountWordsCaption, GetMessageText(32));
  run.StopRequested = false;
  remembered_message_.clear();
  not_read_.clear();
  folder_files_.clear();
  DropKeptBytes();
  // However the run ends, the files it kept go with it.
  struct Release {
    Engine* e;
    ~Release() {
      e->folder_files_.clear();
      e->DropKeptBytes();
      e->table_setup_.reset();  // the reading pass's, on one thread
    }
  } release{this};
  // Each run looks at the count-only and output files afresh.
  count_only_identity_ = PathIdentity();
  output_identity_ = PathIdentity();

  // The counting pass.
  run.CountingFiles = true;
  run.FolderCount = 1;
  run.FilesScanned = 0;
  CountingPass pass(this);
  if (WalkFolderTree(s.FolderPath, st_.file_specs, s.IncludeSubfolders != 0, &pass)) {
    pass.Finish();
  }
  run.FilesToScan = run.FilesScanned;
  run.CountingFiles = false;
  st_.textbox.SetListingProgress(false, 0, 0);
  if (!run.ListingFiles) st_.textbox.Clear();
  if (run.StopRequested) {
    Text note = st_.textbox.empty() ? Text() : Text(kCrLf);
    note += T("Stopped while counting files (so far: " +
              FileFolderCountText(run.FilesScanned, run.FolderCount) + ")." + kCrLfS);
    if (!remembered_message_.empty()) note += T(remembered_message_ + kCrLfS);
    st_.textbox.OutputToTxb(note);
    if (!remembered_message_.empty()) return RunOutcome::kRefused;
    return RunOutcome::kStopped;
  }
  ReportFilesNotRead();
  if (run.ListingFiles) {
    const std::string summary =
        run.FilesScanned == 0
            ? "No files will be scanned."
            : FileFolderCountText(run.FilesScanned, run.FolderCount) + " will be scanned.";
    st_.textbox.OutputToTxb(T(kCrLfS + summary + kCrLfS));
    return RunOutcome::kListed;
  }

  // Questions before the reading.
  if (run.CountArrayMode && run.FilesToScan > kMaxCountArrayFiles) {
    st_.host->ShowMessage("Too many files",
                          "The number of files to be scanned is " +
                              std::to_string(run.FilesToScan) + "." + kCrLfS +
                              "But when creating an Excel file of words/phrases vs files" + kCrLfS +
                              "the maximum number of files is 10,000.",
                          Icon::kInformation);
    return RunOutcome::kRefused;
  }
  if (s.OutputFilePath.empty() && !listing_printed_ &&
      (run.FilesToScan >= 2 || run.FolderCount >= 2)) {
    const Answer a = st_.host->Ask("Multiple files/folders",
                                   "When scanning multiple files or folders" + kCrLfS +
                                       "you must specify an output file in case" + kCrLfS +
                                       "the text window will not hold the result.",
                                   Buttons::kOkCancel, Answer::kOk);
    if (a != Answer::kOk) return RunOutcome::kCancelled;
    vorn::ChooseOutputFile(&st_);
    if (s.OutputFilePath.empty()) return RunOutcome::kCancelled;
    if (!CheckOutputOutsideFolder(s.OutputFilePath)) return RunOutcome::kRefused;
  }

  // The reading pass.
  const int64_t folders = run.FolderCount;
  run.FilesScanned = 0;
  run.FolderCount = 1;
  st_.words.Clear();
  run.ScannedFilePaths.clear();
  run.CurrentFileIndex = 0;
  run.StopRequested = false;
  for (Label l : {Label::kNumWordsExcluded, Label::kNumOccurrences, Label::kTotalNumOccurrences}) {
    st_.HideLabel(l);
  }
  st_.host->IndicatorChanged(Indicator::kFolderProgress, 0);
  run.ReadingFiles = true;
  // With several threads, workers read and count the files ahead of their
  // turn; each is then merged in its turn. On one thread each is counted in
  // its turn, into a table of its own when the run allows it.
  auto ahead = StartFolderAhead();
  if (ahead == nullptr && CountsInParts()) {
    table_setup_ = std::make_unique<PartSetup>(MakePartSetup());
  }
  for (size_t i = 0; i < folder_files_.size(); ++i) {
    if (run.StopRequested) break;
    const FolderFile& file = folder_files_[i];
    run.FolderCount = file.folder;
    FileAhead* found = nullptr;
    if (ahead != nullptr) {
      found = TakeNextAhead(ahead.get());
      if (found == nullptr) break;  // stopped while waiting
    }
    ReadFolderFile(file, found);
    st_.host->IndicatorChanged(Indicator::kFileProgress, -1);
    st_.SetLabel(Label::kTotalNumOccurrences, "", false);
    st_.pacer.Check();
  }
  // Work still under way after a stop ends before the files it reads go.
  ahead.reset();
  run.ReadingFiles = false;
  // A whole pass went through every folder, those after the last file too.
  if (!run.StopRequested) run.FolderCount = folders;
  st_.host->IndicatorChanged(Indicator::kFolderProgress, -1);
  st_.SetLabel(Label::kNumOccurrences, "", false);
  st_.HideLabel(Label::kFilesScanned);
  folder_files_.clear();
  DropKeptBytes();
  ReportFilesNotRead();
  return RunOutcome::kListed;
}

void Engine::ReadFolderFile(const FolderFile& file, FileAhead* ahead) {
  const Settings& s = st_.settings;
  CountRun& run = st_.run;
  const std::string& path = file.path;
  st_.SetLabel(Label::kFile, path);
  // The file may have gone or changed since it was counted.
  const FileStamp stamp = ahead != nullptr ? ahead->stamp : StampOf(path);
  if (stamp.size < 0) {
    NoteFileNotRead(path, "no longer a file");
    return;
  }
  // The output file is never read as input.
  if (!s.OutputFilePath.empty() && !s.DisableOutputToFile &&
      OutputIdentity(s.OutputFilePath).Matches(path, stamp)) {
    return;
  }
  const int64_t length = stamp.size;
  st_.SetLabel(Label::kFilesize, FormatFileSizeLine(length));
  const bool document = ahead != nullptr ? ahead->document : IsDocx(path);
  const bool unchanged = stamp == file.stamp;
  const TextFileInfo info = ahead != nullptr        ? ahead->info
                            : unchanged || document ? file.info
                                                    : IsTextFile(path);
  // The bytes the counting pass kept are the file's while it is unchanged.
  const std::string_view* bytes = document ? nullptr : file.KeptBytes(stamp);
  if (!document && !TextToRead(path, info)) return;
  DocxExtraction extraction;
  if (document && !ExtractDocumentText(path, &extraction)) return;
  FlushPendingWords();
  ShowFileHeading(path);
  // The headings are progress, not results: a full box starts again.
  if (st_.textbox.length() > kOutputLimit) st_.textbox.Clear();
  ++run.FilesScanned;
  run.ScannedFilePaths.push_back(path);
  run.CurrentFileIndex = static_cast<int32_t>(run.ScannedFilePaths.size());
  ResetPhrases();
  const double share = static_cast<double>(run.FilesScanned) /
                       static_cast<double>(std::max<int64_t>(run.FilesToScan, 1));
  const int cells =
      std::min(kProgressBarWidth, static_cast<int>(std::lround(kProgressBarWidth * share)));
  st_.host->IndicatorChanged(Indicator::kFolderProgress, std::max(cells, 1));
  st_.SetLabel(Label::kFilesScanned,
               Grouped(run.FilesScanned) + " of " + Grouped(run.FilesToScan) + " files");
  if (document) {
    ReadDocument(path, extraction);
  } else {
    ReadTextFile(path, info, length, ahead != nullptr ? ahead->count.get() : nullptr, bytes);
  }
  FlushPendingWords();
}

std::string_view Engine::KeepBytes(std::string_view bytes) {
  if (bytes.size() > kept_block_left_) {
    const size_t size = std::max(kKeptBlockBytes, bytes.size());
    kept_blocks_.push_back(MakePreparedBlock(size));
    kept_next_ = kept_blocks_.back().get();
    kept_block_left_ = size;
  }
  std::copy(bytes.begin(), bytes.end(), kept_next_);
  const std::string_view kept(kept_next_, bytes.size());
  kept_next_ += bytes.size();
  kept_block_left_ -= bytes.size();
  return kept;
}

void Engine::DropKeptBytes() {
  kept_blocks_.clear();
  kept_next_ = nullptr;
  kept_block_left_ = 0;
  kept_bytes_ = 0;
}

const PathIdentity& Engine::CountOnlyIdentity(const std::string& path) {
  if (count_only_identity_.path() != path) count_only_identity_ = PathIdentity(path);
  return count_only_identity_;
}

const PathIdentity& Engine::OutputIdentity(const std::string& path) {
  if (output_identity_.path() != path) output_identity_ = PathIdentity(path);
  return output_identity_;
}

void Engine::NoFilesMessage() {
  const Settings& s = st_.settings;
  const bool specified = !st_.file_specs.patterns.empty() || !st_.file_specs.exclude_texts.empty();
  st_.host->ShowMessage("No files found",
                        std::string("No scanable files ") + (specified ? "as specified " : "") +
                            "were found in this folder" +
                            (s.IncludeSubfolders ? " or in its subfolders" : "") + ".",
                        Icon::kInformation);
}

RunOutcome Engine::ListFiles() {
  return RunCommand([this] {
    CountRun& run = st_.run;
    Settings& s = st_.settings;
    GetFileFilepathSpecifications(&st_, 0);
    GetFileFilepathSpecifications(&st_, 1);
    if (!CheckFilePatterns(st_.host, st_.file_specs)) return RunOutcome::kRefused;
    for (Label l :
         {Label::kNumWordsExcluded, Label::kNumOccurrences, Label::kTotalNumOccurrences}) {
      st_.HideLabel(l);
    }
    st_.textbox.Clear();
    st_.textbox.OutputAborted = false;
    std::string folder(TrimBlanksAndTabs(s.FolderPath));
    StripTrailingBackslashes(&folder);
    if (static_cast<int64_t>(folder.size()) > kFolderAbbreviationMin) {
      st_.textbox.OutputToTxb(u"{Folder} = " + PathText(folder) + u"\r\n\r\n");
    }
    run.ListingFiles = true;
    run.Running = true;
    st_.SetBusy(Busy::kListingFiles);
    struct Done {
      Engine* e;
      ~Done() {
        e->st_.run.ListingFiles = false;
        e->st_.run.Running = false;
        e->st_.run.StopRequested = false;
        e->st_.HideLabel(Label::kFile);
        e->st_.SetLabel(Label::kFilesize, "");
        e->SetCountWordsCaption();
      }
    } done{this};
    const RunOutcome outcome = ScanFolder();
    st_.textbox.Repaint(Caret::kStart);
    st_.SetBusy(Busy::kIdle);
    return outcome;
  });
}

bool Engine::FileSpecBoxLeft(int index) {
  if (index != 0 && index != 1) return false;
  return RunStateCommand(Busy::kIdle, [this, index] { vorn::FileSpecBoxLeft(&st_, index); });
}

}  // namespace vorn
