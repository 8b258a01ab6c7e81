// The engine's reading of one file: the checks of its path, its
// classification, and its lines fed to the scanner in pieces.

#include <algorithm>
#include <cmath>
#include <fstream>

#include "counting/engine.h"
#include "counting/line_scanning.h"
#include "counting/window_commands.h"
#include "input/decode.h"
#include "input/docx.h"
#include "input/is_text_file.h"
#include "input/line_reader.h"
#include "results/output.h"
#include "util/file_proc.h"
#include "util/message_table.h"
#include "util/str_proc.h"
#include "words/char_classes.h"
#include "words/comment_markers.h"

namespace vorn {

namespace {

constexpr int kProgressBarWidth = 39;
constexpr int64_t kLargeInputFile = 200000;
constexpr int64_t kInFileProgressMin = 10240;
const std::string kCrLfS = "\r\n";

}  // namespace

int FileStatusOf(PathKind kind) {
  switch (kind) {
    case PathKind::kMissing:
      return kFileMissing;
    case PathKind::kFolder:
      return kFileIsFolder;
    case PathKind::kLinkLoop:
      return kFileLinkLoop;
    case PathKind::kNotRegular:
      return kFileNotRegular;
    case PathKind::kSizeUnknown:
      return kFileSizeUnknown;
    case PathKind::kRegular:
      break;
  }
  return kFileRead;
}

void ReportInputFileStatus(EngineState* st, int status) {
  const Settings& s = st->settings;
  switch (status) {
    case kFileBadPath:
      st->host->ShowMessage("Invalid input", "Invalid input file specification.",
                            Icon::kExclamation);
      break;
    case kFileMissing:
      st->host->ShowMessage("File not found", "Input file does not exist.", Icon::kExclamation);
      break;
    case kFileNotSpecified:
      st->host->ShowMessage(
          "Error",
          s.InputFilePath.empty() ? "Input file not specified." : "Input file is zero-length.",
          Icon::kExclamation);
      break;
    case kFileIsOutput:
      st->host->ShowMessage("Error", "The output file cannot be the same as the input file.",
                            Icon::kExclamation);
      break;
    case kFileIsFolder:
    case kFileNotRegular:
    case kFileLinkLoop:
    case kFileSizeUnknown: {
      // What the path names instead of an ordinary file.
      const char* what = status == kFileIsFolder     ? "is a folder, not a file."
                         : status == kFileNotRegular ? "is not a regular file."
                         : status == kFileLinkLoop   ? "is a link loop."
                                                     : "is a special file whose size is not known.";
      st->host->ShowMessage("Invalid input", s.InputFilePath + kCrLfS + what, Icon::kExclamation);
      break;
    }
    default:
      break;
  }
}

RunOutcome Engine::ReadSingleFile() {
  const Settings& s = st_.settings;
  st_.textbox.SetText(
      T("Now " + ActivityText() + " in" + kCrLfS + s.InputFilePath + kCrLfS + kCrLfS));
  const int status = DoItFromFile();
  // EndFileProgress: the label is itself again, and empty.
  st_.host->IndicatorChanged(Indicator::kFileProgress, -1);
  st_.SetLabel(Label::kTotalNumOccurrences, "", false);
  if (status == kFileRead) return RunOutcome::kListed;
  if ((status >= kFileBadPath && status <= kFileIsOutput) ||
      (status >= kFileIsFolder && status <= kFileSizeUnknown)) {
    ReportInputFileStatus(&st_, status);
    if (status == kFileNotSpecified && !s.InputFilePath.empty()) {
      st_.textbox.SetText(u"Input file is zero length!");
    } else {
      st_.textbox.Clear();
    }
  }
  return status == kFileCancelled ? RunOutcome::kCancelled : RunOutcome::kRefused;
}

int Engine::DoItFromFile() {
  Settings& s = st_.settings;
  CountRun& run = st_.run;
  const std::string& path = s.InputFilePath;  // trimmed by StartCount when wanted
  if (path.empty()) {
    run.StopRequested = true;
    return kFileNotSpecified;
  }
  if (path.back() == '/') return kFileBadPath;
  // Only a regular file is read: a pipe or a device might never end (or never
  // begin), and a file whose size is not known cannot be measured.
  if (const int status = FileStatusOf(ClassifyPath(path)); status != kFileRead) return status;
  if (FileLength(path) == 0) return kFileNotSpecified;
  if (!s.OutputFilePath.empty() && SamePath(path, s.OutputFilePath)) {
    run.StopRequested = true;
    return kFileIsOutput;
  }
  const int64_t length = FileLength(path);
  // A large file and no output file: the results box may not hold the list.
  if (s.Source == InputSource::kSingleFile && s.OutputFilePath.empty() &&
      length > kLargeInputFile) {
    const Answer a = st_.host->Ask(
        "Large input file",
        "The input file is quite large.  It is advisable to specify an output file before "
        "continuing, in case the text window will not hold the result. Do you wish to specify "
        "an output file?",
        Buttons::kYesNoCancel, Answer::kYes);
    if (a == Answer::kCancel) return kFileCancelled;
    if (a == Answer::kYes) {
      FileChooser chooser;
      chooser.title = GetMessageText(47);
      chooser.save = true;
      chooser.hide_read_only = true;
      const std::string out = st_.host->ChooseFile(chooser);
      if (!out.empty()) {
        s.OutputFilePath = out;
        s.DisableOutputToFile = 0;
        st_.SettingChanged("OutputFilePath");
        st_.SettingChanged("DisableOutputToFile");
      }
    }
  }
  run.ReadingFiles = true;
  if (IsDocx(path)) {
    DocxExtraction x;
    int status = kFileDocxFailed;
    if (ExtractDocumentText(path, &x)) {
      StartSingleFileWords();
      status = ReadDocument(path, x);
    }
    run.ReadingFiles = false;
    return status;
  }
  const TextFileInfo info = IsTextFile(path);
  st_.SetLabel(Label::kXmlSize, "", false);
  int status = kFileRead;
  switch (info.result) {
    case kNotText:
      st_.host->ShowMessage("Not a text file", NotATextFileMessage(path, info), Icon::kInformation);
      st_.textbox.Clear();
      status = kFileNotText;
      break;
    case kTextRtf:
      st_.host->ShowMessage("Not a text file", "File " + path + kCrLfS + "is an RTF file.",
                            Icon::kInformation);
      st_.textbox.Clear();
      status = kFileNotText;
      break;
    case kStartZeroLength:
      st_.host->ShowMessage("Invalid input file", "This is a zero-length file.",
                            Icon::kInformation);
      status = kFileZeroLength;
      break;
    case kStartPermissionDenied:
    case kStartUnreadable:
    case kStartEmptyPath:
      st_.host->ShowMessage("Invalid input file", "This file cannot be opened.",
                            Icon::kInformation);
      status = kFileCannotOpen;
      break;
    case kStartMissing:
      status = kFileMissing;
      break;
    default:
      StartSingleFileWords();
      if (!ReadTextFile(path, info, length)) status = kFileCannotOpen;
      break;
  }
  run.ReadingFiles = false;
  return status;
}

void Engine::StartSingleFileWords() {
  st_.words.Clear();
  st_.run.ScannedFilePaths.clear();
  st_.run.CurrentFileIndex = 0;
  st_.run.StopRequested = false;
}

bool Engine::ReadTextFile(const std::string& path, const TextFileInfo& info, int64_t length,
                          const PackedCount* counted, const std::string_view* bytes) {
  Settings& s = st_.settings;
  const bool utf8 = ReadsAsUtf8(path, info, bytes);
  // "Only 7-bit ASCII words" is meant for 8-bit text; in a Unicode file
  // (UTF-8, UTF-16 or UTF-32 alike) it is suspended, so that one text
  // lists the same words in whichever form it is stored.
  const int16_t only7bit = s.Only7bitASCII;
  const bool suspend = only7bit != 0 && (utf8 || info.result == kTextUnicode);
  if (suspend) {
    s.Only7bitASCII = 0;
    st_.SettingChanged("Only7bitASCII");
  }
  if (utf8) st_.SetLabel(Label::kTotalNumOccurrences, "This is a UTF8 file.");
  // The option comes back however the reading ends.
  struct Restore {
    Engine* e;
    int16_t value;
    bool on;
    ~Restore() {
      if (!on) return;
      e->st_.settings.Only7bitASCII = value;
      e->st_.SettingChanged("Only7bitASCII");
    }
  } restore{this, only7bit, suspend};
  const ReadResult read =
      ReadLines(path, info.result, info.start_code, utf8, length, counted, bytes);
  if (read.opened && !read.error.empty()) {
    if (s.Source == InputSource::kFolder) {
      NoteFileNotRead(path, read.error);
    } else {
      // The run ends here; what was found so far is still listed.
      ReportError(&st_, "DoItFromFile", 57, read.error);
      st_.run.StopRequested = true;
      ended_by_error_ = true;
    }
  }
  if (!read.opened && s.Source != InputSource::kFolder) {
    st_.host->ShowMessage("Invalid input file", "This file cannot be opened.", Icon::kInformation);
  }
  return read.opened;
}

void Engine::ShowFileProgress(int64_t bytes_done, int64_t length, bool lf_only) {
  // The bar changes at most 39 times a file: most lines only compare.
  if (bytes_done < next_progress_bytes_) return;
  next_progress_bytes_ = bytes_done + std::max<int64_t>(1, length / (4 * kProgressBarWidth));
  int cells = static_cast<int>(std::lround(kProgressBarWidth * static_cast<double>(bytes_done) /
                                           static_cast<double>(length)));
  if (lf_only) cells = static_cast<int>(cells * 1.2);
  cells = std::min(cells, kProgressBarWidth);
  if (cells == progress_cells_) return;
  progress_cells_ = cells;
  // The head of the bar shows from the first line on.
  st_.host->IndicatorChanged(Indicator::kFileProgress, std::max(cells, 1));
}

Engine::ReadResult Engine::ReadLines(const std::string& path, int text_result, int start_code,
                                     bool utf8, int64_t length, const PackedCount* counted,
                                     const std::string_view* bytes) {
  if (utf8 && text_result == kTextCrLf) {
    st_.SetLabel(Label::kNumWordsExcluded, "This is a UTF-8 text file.");
  } else if (text_result == kTextLf) {
    st_.SetLabel(Label::kNumWordsExcluded, "This is a Unix-type file.");
  } else if (text_result == kTextCr) {
    st_.SetLabel(Label::kNumWordsExcluded, "This is a Macintosh-type file.");
  } else {
    st_.SetLabel(Label::kNumWordsExcluded, "");
  }
  const LineEnding ending = EndingOf(text_result, start_code);
  bool decode_utf8 = utf8 || text_result == kTextUnicode;
  const bool show_progress = length > kInFileProgressMin;
  progress_cells_ = -1;
  next_progress_bytes_ = 0;
  if (show_progress) st_.host->IndicatorChanged(Indicator::kFileProgress, 0);
  // A file a worker has counted already is merged; a large file is counted
  // in parts on several threads when the run allows it, and a folder file
  // on one thread in a table of its own.
  if (counted != nullptr) return MergeCountedFile(*counted);
  if (CanCountInParts(path, ending, length)) {
    return ReadInParts(path, ending, decode_utf8, length, show_progress);
  }
  if (CountsInTableHere(bytes)) {
    return CountInTableHere(path, ending, decode_utf8,
                            FileRange{0, -1, length, show_progress, bytes});
  }
  return ReadRange(path, ending, decode_utf8, FileRange{0, -1, length, show_progress, bytes});
}

Engine::LineHooks::LineHooks(Engine* e, bool progress, bool lf_only, int64_t length)
    : e_(e), progress_(progress), lf_only_(lf_only), length_(length) {}

bool Engine::LineHooks::StopBeforeLine() {
  if (++lines_since_yield_ >= 64) {
    lines_since_yield_ = 0;
    e_->st_.pacer.Hurry();
  }
  return e_->Yield();
}

bool Engine::LineHooks::StopBeforeBlock() {
  // A block is the work of many lines: the clock is looked at every time.
  lines_since_yield_ = 0;
  e_->st_.pacer.Hurry();
  return e_->Yield();
}

void Engine::LineHooks::Progress(int64_t bytes_read) {
  if (progress_) e_->ShowFileProgress(bytes_read, length_, lf_only_);
}

Engine::ReadResult Engine::ReadRange(const std::string& path, LineEnding ending, bool decode_utf8,
                                     const FileRange& range) {
  LineReader reader;
  std::string error;
  if (range.bytes != nullptr) {
    reader.OpenBytes(*range.bytes, ending);
  } else if (!reader.Open(path, ending, &error)) {
    return ReadResult{false, error};
  }
  if (range.begin != 0 && !reader.Rewind(range.begin)) return ReadResult{true, reader.error()};
  reader.SetEnd(range.end);
  // The comments of the file's kind: tags, scripts, styles and entities of
  // markup, the comments of program text.
  const FileMarkers markers =
      MarkersForExtension(LowerExtension(path), st_.settings.AllowCommentMarkers != 0);
  scanner_.SetCommentMarkers(markers.markers);
  scanner_.SetMarkup(markers.is_markup);
  lines_.SetCaseSignificant(st_.settings.CaseSignificant != 0);
  lines_.SetBatching(LineEndsMeanNothing());
  LineHooks hooks(this, range.show_progress, ending == LineEnding::kLfOnly, range.length);
  const bool whole = range.begin == 0 && range.end < 0;
  const bool html = whole && LowerExtension(path).find("htm") != std::string::npos;
  ScanFileLines(&reader, html, &decode_utf8, &lines_, this, &hooks);
  ReadResult result{true, reader.error()};
  reader.Close();
  return result;
}

void Engine::OnPiece(bool starts_line) {
  if (starts_line && phrase_ends_.end_of_line) ResetPhrases();
  FlushPendingWords();
}

}  // namespace vorn
