#include "results/output.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <utility>

#include "results/display_formats.h"
#include "results/ranking.h"
#include "util/file_proc.h"
#include "util/message_table.h"
#include "util/output_file.h"
#include "util/str_proc.h"

namespace vorn {

namespace {

constexpr int kVectorLength = 200;
constexpr char kCrLfBytes[] = "\r\n";

// The output file's bytes as they are made: written to the file.
class OutputFileSink final : public ByteSink {
 public:
  explicit OutputFileSink(OutputFile* file) : file_(file) {}
  int Write(std::string_view bytes) override { return file_->Write(bytes); }

 private:
  OutputFile* file_;
};

// Writes `bytes` as the whole content of the file at `path`. Returns 0 or
// the errno value of the failure, when the file is left as it was (or
// empty, when it had to be written in place).
int WriteWholeFile(const std::string& path, std::string_view bytes) {
  OutputFile file;
  int err = file.Open(path);
  if (err == 0) err = file.Write(bytes);
  if (err == 0) return file.Commit();
  file.Discard();
  return err;
}

// The output file's bytes gathered in memory.
class StringSink final : public ByteSink {
 public:
  explicit StringSink(std::string* out) : out_(out) {}
  int Write(std::string_view bytes) override {
    out_->append(bytes);
    return 0;
  }

 private:
  std::string* out_;
};

// Passes the bytes on and keeps the start of them: the lines up to the
// header line of the listing (the first that begins with "Word") and the
// kVectorLength lines after it, from which the vector files are made.
class VectorLinesSink final : public ByteSink {
 public:
  explicit VectorLinesSink(ByteSink* next) : next_(next) {}

  int Write(std::string_view bytes) override {
    size_t start = 0;
    while (!done_ && start < bytes.size()) {
      size_t end = bytes.find('\n', start);
      const bool whole_line = end != std::string_view::npos;
      end = whole_line ? end + 1 : bytes.size();
      head_.append(bytes.substr(start, end - start));
      if (whole_line) EndLine();
      start = end;
    }
    return next_->Write(bytes);
  }

  const std::string& head() const { return head_; }

 private:
  void EndLine() {
    std::string_view line = std::string_view(head_).substr(line_start_);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (!header_seen_) {
      header_seen_ = TrimSpaces(line).substr(0, 4) == "Word";
    } else if (++lines_ >= kVectorLength) {
      done_ = true;
    }
    line_start_ = head_.size();
  }

  ByteSink* next_;
  std::string head_;
  size_t line_start_ = 0;
  bool header_seen_ = false;
  int lines_ = 0;
  bool done_ = false;
};

// Writes the output file's bytes to `sink`: the file header of the source,
// then the listing. Returns 0 or the errno value of the sink's failure.
int WriteFileListing(EngineState* st, ByteSink* sink, bool touch_textbox) {
  const Settings& s = st->settings;
  Text header;
  switch (s.Source) {
    case InputSource::kSingleFile:
      header = u"File: " + PathText(s.InputFilePath) + Text(kCrLf);
      break;
    case InputSource::kFolder: {
      header = u"Folder: " + PathText(s.FolderPath);
      if (s.IncludeSubfolders) header += u" plus any subfolders";
      header += kCrLf;
      const Text summary = ScannedFilesSummary(*st);
      if (summary.find_first_not_of(u' ') != Text::npos) header += summary;
      break;
    }
    case InputSource::kClipboard:
      break;
  }
  if (!header.empty()) {
    if (const int err = sink->Write(EncodeWindows1252(header)); err != 0) return err;
  }
  const bool was_writing = st->listing.WritingToFile;
  st->listing.WritingToFile = true;
  ListingPass pass(st, sink, touch_textbox);
  if (s.WordOrder == 1) {
    ListWordsAlphabetically(&pass);
  } else {
    ListWordsByFrequency(&pass);
  }
  st->listing.WritingToFile = was_writing;
  return pass.FileError;
}

// The overwrite guard. Returns whether the file pass goes ahead; a refused or
// impossible answer disables file output.
bool ConfirmOverwrite(EngineState* st) {
  Settings& s = st->settings;
  const std::optional<std::string> answer =
      st->host->InputBox("The output file exists.",
                         "To overwrite the current output file click on 'OK'.\r\n"
                         "To write to a different file edit the filepath below.\r\n"
                         "To disable file output click on 'Cancel'.",
                         s.OutputFilePath);
  const std::string path = answer ? std::string(TrimSpaces(std::string_view(*answer))) : "";
  if (path.empty()) {
    s.DisableOutputToFile = 1;
    st->SettingChanged("DisableOutputToFile");
    return false;
  }
  // The path is kept as typed: paths are case-sensitive here.
  const std::string folder = ParentFolder(path);
  if (!folder.empty() && !FolderExists(folder)) {
    st->host->ShowMessage("Error", "Folder does not exist.", Icon::kExclamation);
    s.DisableOutputToFile = 1;
    st->SettingChanged("DisableOutputToFile");
    return false;
  }
  st->ChangeSetting(&s.OutputFilePath, path, "OutputFilePath");
  return true;
}

// Reports that the file at `path` could not be written: "<title>" with
// "The <what>" CR LF path CR LF "could not be written: " and the system's
// description.
void ReportNotWritten(EngineState* st, const std::string& title, const std::string& what,
                      const std::string& path, int err) {
  st->run.ClockRunning = false;
  st->host->ShowMessage(
      title,
      "The " + what + "\r\n" + path + "\r\ncould not be written: " + ErrorDescription(err) + ".",
      Icon::kExclamation);
}

// Reports a failure of the file pass.
void ReportFileError(EngineState* st, int err) {
  if (IsPermissionDenied(err)) {
    st->host->ShowMessage("Permission denied",
                          "Perhaps the output file\r\nis in use by another application.",
                          Icon::kInformation);
  } else {
    ReportNotWritten(st, "Output file not written", "output file", st->settings.OutputFilePath,
                     err);
  }
}

bool ListWordsUnguarded(EngineState* st) {
  Settings& s = st->settings;
  ListingState& listing = st->listing;
  listing.OutputFileWritten = false;
  if (st->stats.ListedCount == 0) {
    st->textbox.Clear();
    NoEntriesMessage(st);
    return true;
  }
  listing.WritingToFile = !s.OutputFilePath.empty() && s.DisableOutputToFile == 0;
  if (listing.WritingToFile && s.WarnOnOverwrite && FileExists(s.OutputFilePath)) {
    listing.WritingToFile = ConfirmOverwrite(st);
  }

  if (listing.WritingToFile) {
    st->textbox.SetText(u"Now writing to output file . . .");
    const bool vectors = s.SortByNumberOfFiles && s.WordOrder == 0 && s.DisplayFormat == 11;
    OutputFile file;
    OutputFileSink sink(&file);
    VectorLinesSink vector_lines(&sink);
    int err = file.Open(s.OutputFilePath);
    if (err == 0) {
      err = WriteFileListing(st, vectors ? static_cast<ByteSink*>(&vector_lines) : &sink,
                             /*touch_textbox=*/true);
    }
    // A stopped pass still leaves what it wrote, as the results box says.
    if (err == 0) {
      err = file.Commit();
    } else {
      file.Discard();
    }
    const bool stopped = st->run.StopRequested;
    if (err != 0) {
      listing.WritingToFile = false;
      ReportFileError(st, err);
      st->textbox.Clear();
      return false;
    }
    if (!stopped && vectors && !WriteVectorFiles(st, vector_lines.head())) {
      listing.WritingToFile = false;
      st->textbox.Clear();
      return false;
    }
    listing.OutputFileWritten = !stopped;
  }
  listing.WritingToFile = false;

  if (st->run.StopRequested) {
    st->textbox.OutputToTxb(u"Output to file was terminated.\r\n");
    return true;
  }

  ListingPass pass(st, nullptr);
  if (s.WordOrder == 1) {
    ListWordsAlphabetically(&pass);
  } else {
    ListWordsByFrequency(&pass);
  }

  if (st->run.StopRequested) {
    st->textbox.OutputToTxb(u"\r\nListing stopped.\r\n");
    return true;
  }
  const Text& text = st->textbox.text();
  if (s.DisplayFormat == 9 && text.size() > 2 && text.compare(text.size() - 2, 2, u", ") == 0) {
    st->textbox.SetText(TextView(text).substr(0, text.size() - 2));
  }
  if (st->textbox.length() > kOutputLimit && !st->textbox.OutputAborted) {
    ReportError(st, "ListWords", -7, "Insufficient memory");
  }
  return true;
}

// Whether the frequency chain stands in the order that BuildFrequencyChain
// gives for the basis `by_files`. Polls the pacer at every link.
bool ChainMatches(EngineState* state, bool by_files) {
  const EngineState& st = *state;
  const WordList& words = st.words;
  const int64_t n = words.DistinctCount();
  auto value = [&](int64_t i) { return by_files ? words.FileCount(i) : words[i].Count; };
  int64_t i = st.stats.ChainHead;
  if (i < 0 || i > n) return false;
  while (i != 0) {
    state->pacer.Poll();
    const int64_t next = words[i].NextInChain;
    if (next < 0 || next > n) return false;
    if (next != 0 && (value(i) < value(next) || (value(i) == value(next) && i > next))) {
      return false;
    }
    i = next;
  }
  return true;
}

}  // namespace

bool IsPermissionDenied(int err) {
  return err == EACCES || err == EPERM || err == EROFS || err == ETXTBSY;
}

bool ListWords(EngineState* st) {
  try {
    return ListWordsUnguarded(st);
  } catch (const std::bad_alloc&) {
    st->listing.WritingToFile = false;
    ReportError(st, "ListWords", ENOMEM, ErrorDescription(ENOMEM));
  } catch (const std::exception& e) {
    st->listing.WritingToFile = false;
    ReportError(st, "ListWords", EIO, e.what());
  }
  return false;
}

std::string RenderFileListing(EngineState* st) {
  std::string bytes;
  StringSink sink(&bytes);
  if (RenderFileListing(st, &sink) != 0) return std::string();
  return bytes;
}

int RenderFileListing(EngineState* st, ByteSink* sink) {
  if (st->stats.ListedCount == 0) return 0;
  try {
    return WriteFileListing(st, sink, /*touch_textbox=*/false);
  } catch (const std::bad_alloc&) {
    return ENOMEM;
  } catch (const std::exception&) {
    return EIO;
  }
}

bool WriteVectorFiles(EngineState* st, std::string_view output_head) {
  std::string source = st->settings.FolderPath;
  StripTrailingBackslashes(&source);
  const size_t slash = source.rfind('/');
  const std::string folder =
      (slash == std::string::npos ? std::string() : source.substr(0, slash + 1)) + "Vectors/";
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    std::filesystem::create_directories(folder, ec);
    if (ec) {
      ReportNotWritten(st, "Vector files not written", "folder for the vector files", folder,
                       ec.value() != 0 ? ec.value() : EIO);
      return false;
    }
  }
  const std::string words_path = folder + Trimmed(kVectorLength) + "words.txt";
  const std::string values_path = folder + Trimmed(kVectorLength) + "values.txt";

  std::string words;
  std::string values;
  bool header_seen = false;
  int written = 0;
  size_t start = 0;
  while (start < output_head.size() && written < kVectorLength) {
    size_t end = output_head.find('\n', start);
    if (end == std::string_view::npos) end = output_head.size();
    std::string_view line = output_head.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = TrimSpaces(line);
    if (!header_seen) {
      // The header is the first line that begins with "Word"; leading
      // spaces (comma style) do not hide it.
      header_seen = line.substr(0, 4) == "Word";
      continue;
    }
    const size_t space = line.find(' ');
    words.append(space == std::string_view::npos ? line : line.substr(0, space));
    words += kCrLfBytes;
    // The file frequency ends the line: it begins one character before the
    // last "." (a relative frequency or a word may hold a "." earlier on).
    const size_t dot = line.rfind('.');
    if (dot != std::string_view::npos) values.append(line.substr(dot == 0 ? 0 : dot - 1));
    values += kCrLfBytes;
    ++written;
  }
  for (const auto& [path, bytes] : {std::pair{&words_path, &words}, {&values_path, &values}}) {
    if (const int err = WriteWholeFile(*path, *bytes); err != 0) {
      ReportNotWritten(st, "Vector files not written", "vector file", *path, err);
      return false;
    }
  }
  st->host->ShowMessage(
      "", "Vector words written to " + words_path + "\r\nVector values written to " + values_path,
      Icon::kNone);
  return true;
}

std::string WordsPhrases(const EngineState& st) {
  if (st.run.AllPhrasesMode || (!st.run.Running && st.listing.AllPhrases)) return "phrases";
  if (st.run.CountOnlyMode && st.run.PhrasesInCountOnly) return "words/phrases";
  return "words";
}

void NoEntriesMessage(EngineState* st) {
  std::string text = "No " + WordsPhrases(*st) + " ";
  if (st->settings.IgnoreShortWords) {
    text += "with at least" + StrForm(st->settings.ShortWordSizeValue()) + " characters\r\n";
  }
  text += "satisfying the specified conditions were found.";
  st->textbox.OutputToTxb(Utf8ToText(text));
}

void ReportError(EngineState* st, const std::string& procedure, int number,
                 const std::string& description) {
  st->run.ClockRunning = false;
  if (number == -7) {
    st->textbox.MarkFull(Utf8ToText(GetMessageText(36)));
    return;
  }
  std::string text = "At " + procedure + " error #" + std::to_string(number) + ".\r\n" +
                     "Description: " + description;
  const std::string advice1 = GetMessageText(34);
  const std::string advice2 = GetMessageText(35);
  if (!advice1.empty() || !advice2.empty()) text += "\r\n";
  if (!advice1.empty()) text += "\r\n" + advice1;
  if (!advice2.empty()) text += "\r\n" + advice2;
  std::string title = GetMessageText(1);
  if (title.empty()) title = "Error";
  st->host->ShowMessage(title, text, Icon::kExclamation);
}

DisplayControls UpdateDisplayOptionControls(EngineState* st) {
  Settings& s = st->settings;
  DisplayControls c;
  c.relative_frequency_enabled = RelativeFrequencyAvailable(s.DisplayFormat);
  c.sort_by_files_enabled = s.WordOrder == 0 && s.DisplayFormat == 11;
  if (!c.sort_by_files_enabled) st->ChangeSetting(&s.SortByNumberOfFiles, 0, "SortByNumberOfFiles");
  return c;
}

bool CheckDisplayFormatAvailable(EngineState* st) {
  static const char* const kNames[] = {"word freq no.files", "word file-list",
                                       "word file-list (+ freq)"};
  const int format = st->settings.DisplayFormat;
  if (format < 11 || format > 13 || st->settings.Source == InputSource::kFolder) return true;
  st->host->ShowMessage("Unavailable display format",
                        std::string("The display format '") + kNames[format - 11] +
                            "' is available\r\nonly when the source of the text is a folder.",
                        Icon::kInformation);
  st->settings.DisplayFormat = 0;
  st->SettingChanged("DisplayFormat");
  return false;
}

void DisplayOptionHandler(EngineState* st, DisplayOption option) {
  // A change of format means nothing while all phrases are being counted.
  if (option == DisplayOption::kDisplayFormat && st->run.AllPhrasesMode && st->run.Running) return;
  bool available = true;
  if (option == DisplayOption::kDisplayFormat) available = CheckDisplayFormatAvailable(st);
  if (option == DisplayOption::kWordOrder || option == DisplayOption::kDisplayFormat) {
    st->host->DisplayControlsChanged(UpdateDisplayOptionControls(st));
  }
  if (available) RedisplayAfterOptionChange(st, option);
}

void RedisplayAfterOptionChange(EngineState* st, DisplayOption option) {
  if (!st->run.ResultsPresent || st->run.Running) return;
  if (option == DisplayOption::kDisplayFormat && st->run.AllPhrasesMode) return;
  Settings& s = st->settings;
  if (!CheckDisplayFormatAvailable(st)) return;
  st->SetBusy(Busy::kRelisting);
  try {
    // The chain follows the sort option; a format or order change may have
    // cleared that option, so the chain is checked then too.
    const bool by_files = s.SortByNumberOfFiles != 0;
    if (option == DisplayOption::kSortByNumberOfFiles || !ChainMatches(st, by_files)) {
      BuildFrequencyChain(
          &st->words, &st->stats, by_files, [st]() { st->textbox.OutputToTxb(u" ."); }, &st->pacer);
    }
  } catch (const std::bad_alloc&) {
    ReportError(st, "RedisplayAfterOptionChange", ENOMEM, ErrorDescription(ENOMEM));
    return;
  }
  ListWords(st);
  if (st->run.Interrupted) {
    std::string title = GetMessageText(1);
    st->host->ShowMessage(title, GetMessageText(22) + "\r\n" + GetMessageText(23),
                          Icon::kInformation);
  }
  st->run.StopRequested = false;
}

void DisableOutputToFileClicked(EngineState* st) {
  const Settings& s = st->settings;
  if (s.DisableOutputToFile != 0 || s.OutputFilePath.empty() || !st->run.RunComplete) return;
  const Answer a = st->host->Ask("Relist?", "Relist words (so as to write to file)?",
                                 Buttons::kYesNo, Answer::kYes);
  if (a != Answer::kYes) return;
  st->SetBusy(Busy::kRelisting);
  ListWords(st);
  st->run.StopRequested = false;
}

void ClearTextboxClicked(EngineState* st) {
  st->textbox.Clear();
  st->HideLabel(Label::kNumberOfWords);
  st->HideLabel(Label::kNumWordsExcluded);
  st->HideLabel(Label::kNumOccurrences);
  st->HideLabel(Label::kTotalNumOccurrences);
  st->run.RunComplete = false;
  st->TextAlreadyRead = false;
}

}  // namespace vorn
