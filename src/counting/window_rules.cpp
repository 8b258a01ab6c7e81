#include "counting/window_rules.h"

#include <algorithm>
#include <cstdint>

#include "counting/engine.h"
#include "counting/state_commands.h"
#include "counting/window_commands.h"
#include "counting/words_files.h"
#include "input/docx.h"
#include "results/output.h"
#include "util/file_proc.h"
#include "util/message_table.h"
#include "util/str_proc.h"

namespace vorn {

namespace {

// An input path that fails its check is reported with the count's text of
// the same code.
static_assert(int{kInputPathBad} == int{kFileBadPath} &&
              int{kInputPathMissing} == int{kFileMissing} &&
              int{kInputPathEmpty} == int{kFileNotSpecified});

constexpr int kEnglish = 0;  // the CommonWordsLanguage of "cwds_en.txt"

bool Blank(const std::string& path) { return TrimBlanksAndTabs(path).empty(); }

void TrimPathField(EngineState* st, std::string* field, const char* name) {
  st->ChangeSetting(field, std::string(TrimBlanksAndTabs(*field)), name);
}

// What a count would report for an input path that failed its check: the
// check knows only "missing" and "empty", the count tells a folder, a pipe
// or a link loop from a missing file.
int CountStatusOf(int check_status, const std::string& path) {
  if (check_status == kInputPathBad) return kFileBadPath;
  const int status = FileStatusOf(ClassifyPath(path));
  return status == kFileRead ? check_status : status;
}

}  // namespace

std::vector<ControlState> MainWindowControls(const EngineState& st, bool clipboard_viewer) {
  const InputSource source = st.settings.Source;
  const bool clip = source == InputSource::kClipboard;
  const bool file = source == InputSource::kSingleFile;
  const bool folder = source == InputSource::kFolder;
  // While work runs the source must not change under it: only the stop
  // command (the count button) is left.
  const bool idle = st.busy == Busy::kIdle;
  const bool output = !st.settings.OutputFilePath.empty();
  return {
      {"optOnClipboard", true, idle},
      {"optInFile", true, idle},
      {"optFolder", true, idle},
      {"cmdFile0", file, idle && file},
      {"txbFile0", file, idle && file},
      {"cmdClearFile0", file, idle && file},
      {"lblFilesize", !folder, true},
      {"lblXMLsize", !folder, true},
      {"cmdFolder", folder, idle && folder},
      {"txbFolder", folder, idle && folder},
      {"cmdClearFolder", folder, idle && folder},
      {"chkIncludeSubfolders", folder, idle},
      {"lblScanOnlyFiles", folder, true},
      {"txbFileFilepathSpecifications0", folder, idle},
      {"lblExcludeFilepaths", folder, true},
      {"txbFileFilepathSpecifications1", folder, idle},
      {"cmdListFiles", folder, idle},
      {"cmdCountArray", folder, idle && folder},
      {"cmdClipboardViewer", clip && clipboard_viewer, idle},
      {"cmdFile1", true, idle},
      {"txbFile1", true, idle},
      {"cmdClearFile1", true, idle},
      {"chkDisableOutputToFile", true, idle && output},
      {"cmdCountWords", true, true},
      {"cmdCountAllPhrases", true, idle},
      {"cmdSetParameters", true, idle},
      {"cmdSaveState", true, idle},
      {"cmdClearOutput", true, idle},
      {"cmdHelp", true, idle},
  };
}

std::vector<ControlState> SettingsWindowControls(const EngineState& st) {
  const bool idle = st.busy == Busy::kIdle;
  std::vector<ControlState> controls;
  for (const char* name :
       {"Frame1", "Frame2", "fraIgnoreTheseWords", "Frame3", "Frame5", "Frame6", "Frame7",
        "cmdSetOrClearCheckboxes0", "cmdSetOrClearCheckboxes1", "cmdRestoreDefaults"}) {
    controls.push_back({name, true, idle});
  }
  return controls;
}

std::string FocusTarget(const EngineState& st, bool clipboard_viewer) {
  const Settings& s = st.settings;
  const std::vector<ControlState> controls = MainWindowControls(st, clipboard_viewer);
  const auto usable = [&controls](const std::string& name) {
    const auto c = std::find_if(controls.begin(), controls.end(),
                                [&name](const ControlState& x) { return x.name == name; });
    return c != controls.end() && c->visible && c->enabled;
  };
  std::string path_button;
  if (s.Source == InputSource::kSingleFile && Blank(s.InputFilePath)) path_button = "cmdFile0";
  if (s.Source == InputSource::kFolder && Blank(s.FolderPath)) path_button = "cmdFolder";
  if (!path_button.empty() && usable(path_button)) return path_button;
  return usable("cmdCountWords") ? "cmdCountWords" : "";
}

std::string SuppressWordsToolTip(const Settings& s) {
  return s.SuppressWords != 0 ? GetMessageText(31) : "";
}

void SourceChosen(EngineState* st, InputSource source) {
  Settings& s = st->settings;
  st->TextAlreadyRead = false;
  const InputSource left = s.Source;
  if (source == left) return;
  // Both paths stay in Settings (the state file keeps both). A remembered
  // path only fills a field that was emptied while another source was
  // selected (a settings file loaded, "Reinitialize"), and an empty field is
  // remembered only when its own source is left, where the user saw it
  // emptied: no path the user set is replaced by an older one or forgotten.
  const auto remember = [&](InputSource owner, const std::string& path, std::string* memory) {
    if (left == owner || !Blank(path)) *memory = path;
  };
  if (source != InputSource::kSingleFile) {
    remember(InputSource::kSingleFile, s.InputFilePath, &st->RememberedInputFilePath);
  } else if (Blank(s.InputFilePath)) {
    st->ChangeSetting(&s.InputFilePath, st->RememberedInputFilePath, "InputFilePath");
  }
  if (source != InputSource::kFolder) {
    remember(InputSource::kFolder, s.FolderPath, &st->RememberedFolderPath);
  } else if (Blank(s.FolderPath)) {
    st->ChangeSetting(&s.FolderPath, st->RememberedFolderPath, "FolderPath");
  }
  st->ChangeSetting(&s.Source, source, "Source");
}

void FileBoxLeft(EngineState* st, int index) {
  Settings& s = st->settings;
  if (index == 0) {
    TrimPathField(st, &s.InputFilePath, "InputFilePath");
    if (!s.InputFilePath.empty()) {
      const int status = CheckInputFilePath(st, s.InputFilePath);
      if (status > kInputPathOk) {
        ReportInputFileStatus(st, CountStatusOf(status, s.InputFilePath));
      }
    }
    st->TextAlreadyRead = false;
  } else if (index == 1) {
    TrimPathField(st, &s.OutputFilePath, "OutputFilePath");
  } else {
    return;
  }
  const int16_t disabled = s.DisableOutputToFile;
  SyncOutputFileOption(&s);
  if (s.DisableOutputToFile != disabled) st->SettingChanged("DisableOutputToFile");
}

bool FolderBoxLeft(EngineState* st) {
  Settings& s = st->settings;
  TrimPathField(st, &s.FolderPath, "FolderPath");
  return CheckFolder(st, s.FolderPath);
}

void StartUp(EngineState* st) {
  Settings& s = st->settings;
  // The window counts as loaded afterwards even when the sequence fails.
  struct Loaded {
    EngineState* st;
    ~Loaded() { st->MainWindowLoaded = true; }
  } loaded{st};
  st->MainWindowLoaded = false;
  RestoreStateAtStartUp(st);
  // A list that holds files, even none of them loaded (the user declined
  // them), is the user's choice: the question is for a first start.
  if (s.WordsFiles[0].paths.empty()) {
    if (st->host->Ask(GetMessageText(42), GetMessageText(41), Buttons::kYesNo, Answer::kYes) ==
        Answer::kYes) {
      LoadCommonWords(st, kEnglish);
    } else {
      st->ChangeSetting(&s.CommonWordsLanguage, kNoLanguageSelected, "CommonWordsLanguage");
    }
  }
  // Switching the source after start-up gives back the restored paths.
  st->RememberedInputFilePath = s.InputFilePath;
  st->RememberedFolderPath = s.FolderPath;
  st->run.CountOnlyMode = st->lists.CountOnlySet();
  SetCountWordsCaption(st);
  // The display controls as the restored order and format allow them.
  st->host->DisplayControlsChanged(UpdateDisplayOptionControls(st));
}

void SetCountWordsCaption(EngineState* st) {
  st->SetLabel(Label::kCountWordsCaption, GetMessageText(21));
  st->SetLabel(Label::kCountArrayCaption, GetMessageText(st->run.CountOnlyMode ? 102 : 101));
}

void QuitSequence(EngineState* st) {
  if (st->settings.SaveStateOnQuit == 1) SaveSettingsNow(st, false);
  DeleteAllTempFolders(DocxTempBase());
}

bool ConfirmQuit(EngineState* st) {
  return st->host->Ask("Quit", "Really quit?", Buttons::kYesNo, Answer::kYes) == Answer::kYes;
}

}  // namespace vorn
