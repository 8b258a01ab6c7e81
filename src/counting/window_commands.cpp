#include "counting/window_commands.h"

#include <cstdint>
#include <string_view>
#include <utility>

#include "results/output.h"
#include "util/file_proc.h"
#include "util/message_table.h"
#include "util/str_proc.h"

namespace vorn {

namespace {

void EmptySizeLabels(EngineState* st) {
  st->SetLabel(Label::kFilesize, "");
  st->SetLabel(Label::kXmlSize, "");
}

}  // namespace

void ChooseInputFile(EngineState* st) {
  Settings& s = st->settings;
  st->TextAlreadyRead = false;
  FileChooser chooser;
  chooser.title = GetMessageText(46);
  chooser.filter = "A text file or a docx file";
  chooser.file_must_exist = true;
  chooser.path_must_exist = true;
  const std::string name = st->host->ChooseFile(chooser);
  st->SetLabel(Label::kTimeElapsed2, "");
  if (!name.empty()) {
    st->ChangeSetting(&s.InputFilePath, name, "InputFilePath");
    st->textbox.Clear();
    CheckInputFilePath(st, name);
    ClearTextboxClicked(st);
  }
  st->ChangeSetting(&s.Source, InputSource::kSingleFile, "Source");
}

int CheckInputFilePath(EngineState* st, const std::string& path) {
  const std::string trimmed = std::string(TrimBlanksAndTabs(path));
  int status = kInputPathOk;
  int64_t size = 0;
  if (!trimmed.empty() && trimmed.back() == '/') {
    status = kInputPathBad;
  } else if (!FileExists(trimmed)) {
    status = kInputPathMissing;
  } else {
    size = FileLength(trimmed);
    if (size == 0) status = kInputPathEmpty;
  }
  if (status == kInputPathBad && !st->MainWindowLoaded) {
    // A restored path that can never name a file is not kept.
    st->ChangeSetting(&st->settings.InputFilePath, "", "InputFilePath");
  }
  if (status == kInputPathBad || status == kInputPathMissing) {
    EmptySizeLabels(st);
  } else if (!st->run.ListingFiles) {
    st->SetLabel(Label::kFilesize, FormatFileSizeLine(size));
  }
  return status;
}

bool CheckFolder(EngineState* st, const std::string& path) {
  if (path.empty() || FolderExists(path)) return true;
  st->host->ShowMessage("Error", GetMessageText(48) + "\r\n" + path, Icon::kExclamation);
  return false;
}

void ChooseOutputFile(EngineState* st) {
  Settings& s = st->settings;
  FileChooser chooser;
  chooser.title = GetMessageText(47);
  chooser.save = true;
  chooser.hide_read_only = true;
  const std::string name = st->host->ChooseFile(chooser);
  st->SetLabel(Label::kTimeElapsed2, "");
  if (!name.empty()) st->ChangeSetting(&s.OutputFilePath, name, "OutputFilePath");
  if (!s.OutputFilePath.empty())
    st->ChangeSetting(&s.DisableOutputToFile, 0, "DisableOutputToFile");
}

void ChooseFolder(EngineState* st) {
  Settings& s = st->settings;
  FolderChooser chooser;
  chooser.title = GetMessageText(45);
  chooser.initial_folder = s.FolderPath;
  const std::string folder = st->host->ChooseFolder(chooser);
  if (folder.empty()) return;
  st->ChangeSetting(&s.FolderPath, folder, "FolderPath");
  st->TextAlreadyRead = false;
  for (Label l : {Label::kNumberOfWords, Label::kNumWordsExcluded, Label::kNumOccurrences,
                  Label::kTotalNumOccurrences, Label::kTimeElapsed}) {
    st->SetLabel(l, "");
  }
}

void ClearInputFile(EngineState* st) {
  st->ChangeSetting(&st->settings.InputFilePath, "", "InputFilePath");
  EmptySizeLabels(st);
}

void ClearOutputFile(EngineState* st) {
  Settings& s = st->settings;
  st->ChangeSetting(&s.OutputFilePath, "", "OutputFilePath");
  st->ChangeSetting(&s.DisableOutputToFile, 0, "DisableOutputToFile");
}

void ClearFolder(EngineState* st) { st->ChangeSetting(&st->settings.FolderPath, "", "FolderPath"); }

void ResultsBoxClicked(EngineState* st, bool right_button) {
  const CountRun& run = st->run;
  if (right_button) {
    if (st->settings.Source == InputSource::kClipboard) {
      st->host->ShowMessage("Text on clipboard",
                            "To count words/phrases on the clipboard click on 'Count ...'",
                            Icon::kInformation);
    }
    return;
  }
  if (run.ListingFiles) {
    st->host->ShowMessage("Listing files to be scanned", "Click on 'OK' to continue.", Icon::kNone);
  } else if (run.Running && st->settings.SuppressWords == 0) {
    st->host->ShowMessage("Scanning files", "Click on 'OK' to continue.", Icon::kNone);
  }
}

}  // namespace vorn
