#include "counting/count_dialogs.h"

#include <string>

namespace vorn {

namespace {

// The file-list box is shown for a folder source while the display format
// is not already `format`; ticking it sets format 11.
bool FileListVisible(const Settings& s, int format) {
  return s.Source == InputSource::kFolder && s.DisplayFormat != format;
}

void ApplyFileList(EngineState* st, bool ticked) {
  if (!ticked || st->settings.DisplayFormat == 11) return;
  st->settings.DisplayFormat = 11;
  st->SettingChanged("DisplayFormat");
}

}  // namespace

CountWordsDialog MakeCountWordsDialog(const EngineState& st) {
  const CountRun& run = st.run;
  CountWordsDialog d;
  d.caption = "Count words/phrases";
  d.count_only_set = run.CountOnlyMode;
  if (run.CountOnlyMode) {
    d.intro =
        "The 'Settings' window states that only certain words or phrases are to be "
        "counted.  To count these, click on the 'Count only specified words/phrases' "
        "button.\r\n\r\nIf instead you wish to count all words " +
        std::string(run.IgnoreMode ? "(ignoring certain words as specified in the "
                                     "'Settings' window) "
                                   : "") +
        "then click on the 'Count all words' button.";
  } else {
    d.intro = "The 'Settings' window currently states that all words are to be counted " +
              std::string(run.IgnoreMode ? "except for some words to be ignored" : "") +
              ".  To do this, click on the 'Count all words' button.\r\n\r\nIf instead you "
              "wish to count only specified words and phrases then go to the 'Settings' "
              "window, specify them, then click again on the 'Count words/phrases' button. ";
  }
  d.file_list_visible = FileListVisible(st.settings, 11);
  d.file_list_caption = kFileListCaption;
  return d;
}

bool AskCountWords(EngineState* st) {
  const CountWordsDialog dialog = MakeCountWordsDialog(*st);
  const CountWordsAnswer answer = st->host->ShowCountWordsDialog(dialog);
  ApplyFileList(st, dialog.file_list_visible && answer.file_list);
  switch (answer.choice) {
    case CountChoice::kCountSpecified:
      return true;  // the run goes on as the Settings say
    case CountChoice::kCountAllWords:
      st->run.CountOnlyMode = false;
      return true;
    case CountChoice::kGoToSettings:
      st->host->ShowSettingsWindow();
      return false;
    case CountChoice::kCancel:
      return false;
  }
  return false;
}

}  // namespace vorn
