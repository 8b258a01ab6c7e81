#include "counting/state_commands.h"

#include <cstdlib>

#include "counting/count_dialogs.h"
#include "counting/window_commands.h"
#include "counting/word_lists.h"
#include "counting/words_files.h"
#include "input/file_patterns.h"
#include "settings/state_file.h"
#include "util/file_proc.h"
#include "util/message_table.h"

namespace vorn {

namespace {

constexpr char kSettingsFilter[] = "VORN settings files (*.vorn) | *.vorn";

// Tells the window that every field of the record may have changed.
void AllSettingsChanged(EngineState* st) {
  for (const std::string& name : FieldNames()) st->SettingChanged(name);
}

// Writes the record to `path` ("" for the state file) and shows a failure
// as a warning titled `title`, or "Save settings" when a text of the record
// cannot be written in the file's format. Returns whether it was written.
bool SaveAndReport(EngineState* st, const std::string& path, const std::string& title) {
  std::string bytes;
  std::string bad_field;
  const bool writable = WriteStateText(st->settings, &bytes, &bad_field);
  const std::string error = SaveState(st, path);
  if (error.empty()) return true;
  st->host->ShowMessage(writable ? title : "Save settings", error, Icon::kExclamation);
  return false;
}

// Whether the selected file of words-file list `index` is `path` and still
// selected: a file that failed to load leaves the list.
bool StillSelected(const Settings& s, int index, const std::string& path) {
  const WordsFileList& files = s.WordsFiles[static_cast<size_t>(index)];
  return files.selected >= 0 && static_cast<size_t>(files.selected) < files.paths.size() &&
         files.paths[static_cast<size_t>(files.selected)] == path;
}

std::string SelectedPath(const Settings& s, int index) {
  const WordsFileList& files = s.WordsFiles[static_cast<size_t>(index)];
  if (files.selected < 0 || static_cast<size_t>(files.selected) >= files.paths.size()) return "";
  return files.paths[static_cast<size_t>(files.selected)];
}

}  // namespace

std::string UserStateFilePath() {
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != 0) {
    base = config;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0) {
    base = std::string(home) + "/.config";
  } else {
    return "";
  }
  return base + "/Quillon Systems/vorn.usr";
}

std::string SaveState(EngineState* st, const std::string& path) {
  std::string target = path;
  if (target.empty()) {
    target = UserStateFilePath();
    if (target.empty()) return std::string(kSaveStateError) + "no home folder is known.";
    const std::string error = MakeStateFolder(ParentFolder(target));
    if (!error.empty()) return std::string(kSaveStateError) + error;
  }
  return SaveStateFile(st->settings, target);
}

int RestoreSavedState(EngineState* st, const std::string& path, std::string* error_text) {
  Settings& s = st->settings;
  const StateReadResult r = ReadStateFile(path.empty() ? UserStateFilePath() : path, &s);
  if (r.status == StateReadStatus::kMissing) return -1;
  AllSettingsChanged(st);
  // The texts read are checked and parsed as when they are typed.
  GetExtraWords(st, 0);
  GetExtraWords(st, 1);
  GetFileFilepathSpecifications(st, 0);
  GetFileFilepathSpecifications(st, 1);
  if (r.status == StateReadStatus::kInvalidData || r.status == StateReadStatus::kReadError) {
    *error_text = r.error;
    return 3;
  }
  if (r.status == StateReadStatus::kPastEndOfFile) {
    if (st->host->Ask("Error restoring saved state", "Input past end of file.  Set default values?",
                      Buttons::kYesNo, Answer::kNo) == Answer::kYes) {
      SetDefaultValues(&s);
      AllSettingsChanged(st);
    }
    st->host->ShowMessage("Save state?",
                          "Saving the settings may fix the 'Input past end of file' error.",
                          Icon::kInformation);
  }
  SyncOutputFileOption(&s);
  int result = r.Code();
  if (!s.InputFilePath.empty()) CheckInputFilePath(st, s.InputFilePath);
  CheckFolder(st, s.FolderPath);
  if (st->SettingValues) return result;
  for (int index = 0; index < 2; ++index) {
    const std::string selected = SelectedPath(s, index);
    if (selected.empty()) continue;
    const std::string kind = index == 0 ? "words-to-ignore" : "count-only words";
    if (st->host->Ask("Load file?",
                      "Do you wish to load the " + kind + " file\r\n" + selected + " ?",
                      Buttons::kYesNo, Answer::kYes) == Answer::kYes) {
      AttemptToReadWords(st, index);
      if (!StillSelected(s, index, selected)) result = 2;
    } else {
      s.WordsFiles[static_cast<size_t>(index)].selected = -1;
      st->SettingChanged("WordsFiles" + std::to_string(index));
      st->ChangeSetting(&s.CommonWordsLanguage, kNoLanguageSelected, "CommonWordsLanguage");
    }
  }
  return result;
}

void RestoreStateAtStartUp(EngineState* st) {
  std::string error;
  const int r = RestoreSavedState(st, "", &error);
  if (r != 1 && r != 3) return;
  const std::string message = r == 1 ? GetMessageText(37) : GetMessageText(38) + ": " + error;
  if (st->host->Ask(GetMessageText(40), message + "\r\n\r\n" + GetMessageText(39), Buttons::kYesNo,
                    Answer::kYes) == Answer::kYes) {
    Initialize(&st->settings);
    AllSettingsChanged(st);
  } else {
    // The damaged file is not overwritten on quitting.
    st->ChangeSetting(&st->settings.SaveStateOnQuit, 0, "SaveStateOnQuit");
  }
}

void SaveSettingsNow(EngineState* st, bool settings_window) {
  if (!SaveAndReport(st, "", "Save state")) return;
  st->host->ShowPopUp(settings_window
                          ? MakePopUp(GetMessageText(50), "frmParams.cmdSaveState", 700, 50)
                          : MakePopUp(GetMessageText(50), "frmMain.cmdSaveState", 800, 150));
}

void SaveSettingsToFile(EngineState* st) {
  FileChooser chooser;
  chooser.title = "Specify file to save settings to";
  chooser.filter = kSettingsFilter;
  chooser.save = true;
  chooser.path_must_exist = true;
  chooser.hide_read_only = true;
  const std::string name = st->host->ChooseFile(chooser);
  if (name.empty()) return;
  st->SetLabel(Label::kSettingsFileStatus, "");
  st->SetLabel(Label::kSettingsFile, name);
  st->SetLabel(Label::kSettingsFileStatus,
               SaveSettingsFile(st, name) ? "Settings saved to" : "Error saving to");
}

bool SaveSettingsFile(EngineState* st, const std::string& path) {
  return SaveAndReport(st, path, "Save settings");
}

void LoadSettingsFromFile(EngineState* st) {
  FileChooser chooser;
  chooser.title = "Specify file to load settings from.";
  chooser.filter = kSettingsFilter;
  chooser.file_must_exist = true;
  chooser.path_must_exist = true;
  chooser.hide_read_only = true;
  const std::string name = st->host->ChooseFile(chooser);
  if (!name.empty()) LoadSettingsFile(st, name);
}

int LoadSettingsFile(EngineState* st, const std::string& name) {
  st->SetLabel(Label::kSettingsFileStatus, "");
  st->SetLabel(Label::kSettingsFile, name);
  std::string error;
  st->SettingValues = true;
  const int r = RestoreSavedState(st, name, &error);
  st->SettingValues = false;
  if (r <= 0) {
    st->SetLabel(Label::kSettingsFileStatus, "Settings loaded from");
    return r;
  }
  if (r == 1 || r == 3) {
    st->host->ShowMessage(
        "Load settings",
        r == 1 ? "Invalid combo box index." : "Error when attempting to load settings: " + error,
        Icon::kExclamation);
    Initialize(&st->settings);
    AllSettingsChanged(st);
  }
  st->SetLabel(Label::kSettingsFileStatus, "Error loading from");
  return r;
}

}  // namespace vorn
