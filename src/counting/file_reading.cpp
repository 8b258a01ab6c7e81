// The engine's reading of one file: the checks of its path, its
// classification, and its lines fed to the scanner in pieces.

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <optional>

#include "counting/engine.h"
#include "counting/window_commands.h"
#include "input/decode.h"
#include "input/docx.h"
#include "input/html_head.h"
#include "input/is_text_file.h"
#include "input/line_reader.h"
#include "results/output.h"
#include "util/file_proc.h"
#include "util/message_table.h"
#include "util/str_proc.h"
#include "words/char_classes.h"
#include "words/comment_markers.h"
#include "words/simd_text.h"

namespace vorn {

namespace {

constexpr int kProgressBarWidth = 39;
constexpr int64_t kLargeInputFile = 200000;
constexpr int64_t kInFileProgressMin = 10240;
// Lines longer than this are read and scanned in pieces of about this size.
constexpr size_t kPieceBytes = size_t{1} << 20;
const std::string kCrLfS = "\r\n";

// Removes bytes of code 32 or below from the start, or the end.
std::string_view TrimLeadingControls(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && static_cast<unsigned char>(s[b]) <= 32) ++b;
  return s.substr(b);
}

std::string_view TrimTrailingControls(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(0, e);
}

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

bool Engine::ReadTextFile(const std::string& path, const TextFileInfo& info, int64_t length) {
  Settings& s = st_.settings;
  bool utf8 = info.utf8;
  if (info.result == kStartTiny) {
    // A file of 1 to 4 bytes is read as it is; it is UTF-8 when those
    // bytes are a multi-byte UTF-8 sequence ("ñu").
    std::ifstream in(path, std::ios::binary);
    std::string bytes(4, '\0');
    in.read(bytes.data(), 4);
    bytes.resize(static_cast<size_t>(in.gcount()));
    utf8 = IsValidUtf8(bytes) &&
           std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
  }
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
  const ReadResult read = ReadLines(path, info.result, info.start_code, utf8, length);
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
                                     bool utf8, int64_t length) {
  if (utf8 && text_result == kTextCrLf) {
    st_.SetLabel(Label::kNumWordsExcluded, "This is a UTF-8 text file.");
  } else if (text_result == kTextLf) {
    st_.SetLabel(Label::kNumWordsExcluded, "This is a Unix-type file.");
  } else if (text_result == kTextCr) {
    st_.SetLabel(Label::kNumWordsExcluded, "This is a Macintosh-type file.");
  } else {
    st_.SetLabel(Label::kNumWordsExcluded, "");
  }
  LineEnding ending = LineEnding::kCrLfOrCr;
  bool decode_utf8 = utf8;
  if (text_result == kTextLf) ending = LineEnding::kLfOnly;
  if (text_result == kTextUnicode) {
    decode_utf8 = true;
    switch (start_code) {
      case kStartUtf16Be:
        ending = LineEnding::kUtf16Be;
        break;
      case kStartUtf32Be:
        ending = LineEnding::kUtf32Be;
        break;
      case kStartUtf32Le:
        ending = LineEnding::kUtf32Le;
        break;
      default:
        ending = LineEnding::kUtf16Le;
        break;
    }
  }
  const bool show_progress = length > kInFileProgressMin;
  progress_cells_ = -1;
  next_progress_bytes_ = 0;
  if (show_progress) st_.host->IndicatorChanged(Indicator::kFileProgress, 0);
  LineReader reader;
  std::string error;
  if (!reader.Open(path, ending, &error)) return ReadResult{false, error};
  reader.SetPieceLimit(kPieceBytes, decode_utf8);
  // The comments of the file's kind: tags, scripts, styles and entities of
  // markup, the comments of program text.
  const FileMarkers markers =
      MarkersForExtension(LowerExtension(path), st_.settings.AllowCommentMarkers != 0);
  scanner_.SetCommentMarkers(markers.markers);
  scanner_.SetMarkup(markers.is_markup);
  // An HTML document's head is passed over; it may declare UTF-8.
  bool doctype_seen = LowerExtension(path).find("htm") == std::string::npos;
  std::optional<HtmlHead> head;
  int64_t head_start = 0;
  bool continuing = false;  // the last piece's line goes on
  line_open_ = false;
  std::string_view raw;
  int lines_since_yield = 0;
  while (true) {
    if (++lines_since_yield >= 64) {
      lines_since_yield = 0;
      st_.pacer.Hurry();
    }
    if (Yield()) break;
    const int64_t piece_start = reader.BytesRead();
    if (!reader.Next(&raw)) {
      if (head && reader.error().empty()) {
        // The document ended inside its head: it is read again from its
        // document type on, as if it had no head.
        head.reset();
        continuing = false;
        if (reader.Rewind(head_start)) continue;
      }
      break;
    }
    const bool first = !continuing;
    const bool last = !reader.line_continues();
    continuing = !last;
    if (show_progress) ShowFileProgress(reader.BytesRead(), length, ending == LineEnding::kLfOnly);
    if (!doctype_seen && first && IsDoctypeLine(raw)) {
      doctype_seen = true;
      head.emplace();
      head_start = piece_start;
    }
    if (head) {
      const size_t at = head->Feed(raw, last);
      if (head->declares_utf8() && !decode_utf8) {
        decode_utf8 = true;
        reader.SetPieceLimit(kPieceBytes, true);
      }
      if (at == HtmlHead::kGoesOn) continue;
      head.reset();
      raw.remove_prefix(at);  // the rest begins a line of the body
    }
    ScanPieceOfLine(raw, last, decode_utf8);
  }
  ReadResult result{true, reader.error()};
  reader.Close();
  return result;
}

Scanner::BlockHints Engine::PrepareLine(std::string_view text, bool decode_utf8) {
  const bool lower = !st_.settings.CaseSignificant;
  Scanner::BlockHints hints;
  if (decode_utf8) {
    decoded_.clear();
    DecodeUtf8Line(text, &decoded_);
    line_ = EncodeWindows1252(decoded_);
    if (lower) Kernels().lower_copy(line_.data(), line_.size(), line_.data(), true);
    return hints;
  }
  line_.resize(text.size());
  const uint32_t seen = Kernels().lower_copy(text.data(), text.size(), line_.data(), lower);
  hints.may_need_prepare = (seen & kHintPrepare) != 0;
  hints.may_hold_hyphens = (seen & kHintHyphen) != 0;
  return hints;
}

void Engine::ScanPieceOfLine(std::string_view raw, bool last, bool decode_utf8) {
  // A line is trimmed of blanks and control characters at both ends, and an
  // empty line is passed over.
  std::string_view text = raw;
  if (!line_open_) text = TrimLeadingControls(text);
  if (last) text = TrimTrailingControls(text);
  if (text.empty()) {
    if (last && line_open_) {
      line_open_ = false;
      scanner_.ScanPiece(" ", true, this, Scanner::BlockHints{false, false});
    }
    return;
  }
  if (!line_open_ && phrase_ends_.end_of_line) ResetPhrases();
  FlushPendingWords();
  const Scanner::BlockHints hints = PrepareLine(text, decode_utf8);
  if (last) line_.push_back(' ');
  if (!line_open_ && last) {
    scanner_.ScanTextBlock(&line_, this, hints);
    return;
  }
  // A long line, in pieces.
  if (!line_open_) scanner_.BeginLine();
  line_open_ = !last;
  scanner_.ScanPiece(line_, last, this, hints);
}

}  // namespace vorn
