// The engine's reading of a .docx document: its text is taken out of the
// archive (input/docx.h), written to a text file in a temporary folder of
// its own, and that file is read like any text file; the folder goes as
// soon as the document has been read.
//
// In a single-file run every failure is a message. In a folder run a
// document that cannot be read is named among the files not read at the
// end, and no question is asked of each document (a checksum error makes
// the document one that is not read).

#include "counting/engine.h"
#include "input/docx.h"
#include "input/is_text_file.h"
#include "util/file_proc.h"

namespace vorn {

namespace {

// A message about the document at `path` as the reason it was not read: on
// one line, without the path.
std::string ReasonOf(std::string text, const std::string& path) {
  for (size_t at = text.find(path); at != std::string::npos; at = text.find(path)) {
    text.erase(at, path.size());
  }
  std::string reason;
  for (char c : text) {
    if (c == '\r' || c == '\n') c = ' ';
    if (c == ' ' && (reason.empty() || reason.back() == ' ')) continue;
    reason.push_back(c);
  }
  while (!reason.empty() && reason.back() == ' ') reason.pop_back();
  return reason;
}

}  // namespace

int Engine::DocumentFailed(const std::string& path, const DocxNotice& notice, int status) {
  if (st_.settings.Source == InputSource::kFolder) {
    NoteFileNotRead(path, ReasonOf(notice.text.empty() ? notice.title : notice.text, path));
    return status;
  }
  if (!notice.text.empty()) st_.host->ShowMessage(notice.title, notice.text, notice.icon);
  st_.SetLabel(Label::kFilesize, "");
  st_.SetLabel(Label::kXmlSize, "");
  st_.textbox.Clear();
  return status;
}

bool Engine::ExtractDocumentText(const std::string& path, DocxExtraction* x) {
  DocxAsk ask;
  // Each document of a folder is read without a question.
  if (st_.settings.Source != InputSource::kFolder) {
    ask = [this](const DocxQuestion& q) {
      return st_.host->Ask(q.title, q.text, q.buttons, q.default_answer);
    };
  }
  *x = ExtractDocument(path, DocxTempBase(), ask);
  if (x->code >= 0) return true;
  DocumentFailed(path, DocxMessage(x->code, path, x->member.read_error), kFileDocxFailed);
  return false;
}

int Engine::ReadDocument(const std::string& path, const DocxExtraction& x) {
  struct RemoveFolder {
    std::string folder;
    ~RemoveFolder() { DeleteTempFolder(folder); }
  } remove{x.temp_folder};
  const DocumentText text =
      ConvertDocumentXml(x.member.xml, [this](size_t, size_t, const std::vector<std::string>&) {
        st_.pacer.Poll();
        return !st_.run.StopRequested;
      });
  if (text.stopped) return kFileRead;  // the run is being stopped
  if (text.problem != DocxXmlProblem::kNone) {
    // The text that could be recovered is counted all the same.
    const DocxNotice notice = DocxXmlMessage(text.problem, path);
    if (st_.settings.Source == InputSource::kFolder) {
      NoteFileNotRead(path, "read in part: " + ReasonOf(notice.text, path));
    } else {
      st_.host->ShowMessage(notice.title, notice.text, notice.icon);
    }
  }
  const std::string text_file = TempTextFilePath(x.temp_folder, path);
  std::string error;
  if (!WriteLines(text_file, text.lines, &error)) {
    return DocumentFailed(path,
                          DocxNotice{"Error",
                                     "The text of " + path + "\r\ncould not be written to " +
                                         text_file + ": " + error + ".",
                                     Icon::kExclamation},
                          kFileExtractNotWritten);
  }
  const int64_t length = FileLength(text_file);
  st_.SetLabel(Label::kXmlSize, ShowTextSize(length));
  if (st_.settings.ExtractTextFromDocx) {
    std::string copy;
    if (!CopyToExtractedText(text_file, path, &copy, &error)) {
      DocumentFailed(
          path,
          DocxNotice{"Error",
                     "The extracted text of " + path + "\r\ncould not be kept: " + error + ".",
                     Icon::kExclamation},
          kFileRead);
    }
  }
  if (length <= 0) return kFileRead;  // a document without text
  if (!ReadTextFile(text_file, IsTextFile(text_file), length)) {
    return DocumentFailed(
        path, DocxNotice{"Invalid input file", "This file cannot be opened.", Icon::kInformation},
        kFileCannotOpen);
  }
  return kFileRead;
}

}  // namespace vorn
