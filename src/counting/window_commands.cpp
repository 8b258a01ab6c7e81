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

void SetPath(EngineState* st, std::string* field, std::string value, const char* name) {
  if (*field == value) return;
  *field = std::move(value);
  st->SettingChanged(name);
}

// Output to file is enabled again; the window's box follows.
void EnableOutputToFile(EngineState* st) {
  if (st->settings.DisableOutputToFile == 0) return;
  st->settings.DisableOutputToFile = 0;
  st->SettingChanged("DisableOutputToFile");
}

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
    SetPath(st, &s.InputFilePath, name, "InputFilePath");
    st->textbox.Clear();
    CheckInputFilePath(st, name);
    ClearTextboxClicked(st);
  }
  if (s.Source != InputSource::kSingleFile) {
    s.Source = InputSource::kSingleFile;
    st->SettingChanged("Source");
  }
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
  if (status == kInputPathBad || status == kInputPathMissing) {
    EmptySizeLabels(st);
  } else if (!st->run.ListingFiles) {
    st->SetLabel(Label::kFilesize, FormatFileSizeLine(size));
  }
  return status;
}

void ChooseOutputFile(EngineState* st) {
  Settings& s = st->settings;
  FileChooser chooser;
  chooser.title = GetMessageText(47);
  chooser.save = true;
  chooser.hide_read_only = true;
  const std::string name = st->host->ChooseFile(chooser);
  st->SetLabel(Label::kTimeElapsed2, "");
  if (!name.empty()) SetPath(st, &s.OutputFilePath, name, "OutputFilePath");
  if (!s.OutputFilePath.empty()) EnableOutputToFile(st);
}

void ChooseFolder(EngineState* st) {
  Settings& s = st->settings;
  FolderChooser chooser;
  chooser.title = GetMessageText(45);
  chooser.initial_folder = s.FolderPath;
  const std::string folder = st->host->ChooseFolder(chooser);
  if (folder.empty()) return;
  SetPath(st, &s.FolderPath, folder, "FolderPath");
  st->TextAlreadyRead = false;
  for (Label l : {Label::kNumberOfWords, Label::kNumWordsExcluded, Label::kNumOccurrences,
                  Label::kTotalNumOccurrences, Label::kTimeElapsed}) {
    st->SetLabel(l, "");
  }
}

void ClearInputFile(EngineState* st) {
  SetPath(st, &st->settings.InputFilePath, "", "InputFilePath");
  EmptySizeLabels(st);
}

void ClearOutputFile(EngineState* st) {
  SetPath(st, &st->settings.OutputFilePath, "", "OutputFilePath");
  EnableOutputToFile(st);
}

void ClearFolder(EngineState* st) { SetPath(st, &st->settings.FolderPath, "", "FolderPath"); }

}  // namespace vorn
