#include "counting/count_dialogs.h"

#include <algorithm>
#include <string>
#include <utility>

#include "util/message_table.h"

namespace vorn {

namespace {

// The file-list box is shown for a folder source while the display format
// is not already `format`; ticking it sets format 11.
bool FileListVisible(const Settings& s, int format) {
  return s.Source == InputSource::kFolder && s.DisplayFormat != format;
}

void ApplyFileList(EngineState* st, bool ticked) {
  if (ticked) st->ChangeSetting(&st->settings.DisplayFormat, 11, "DisplayFormat");
}

// A position of a phrase-length list that a host handed back, kept inside
// the list.
int ClampPosition(int position) {
  const int last = static_cast<int>(PhraseLengthItems().size()) - 1;
  return std::clamp(position, 0, last);
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

CountAllPhrasesDialog MakeCountAllPhrasesDialog(const EngineState& st) {
  const Settings& s = st.settings;
  const CountRun& run = st.run;
  CountAllPhrasesDialog d;
  d.caption = "Count all phrases";
  d.intro =
      "This operation counts all phrases containing a number of words within a specified range "
      "which occur at least a specified number of times.";
  if (run.CountOnlyMode) {
    d.intro +=
        "  It ignores the specification of count-only words/phrases in the 'Settings' window.";
  }
  d.items = PhraseLengthItems();
  // A stored position outside the list stands for its default, as in Settings.
  d.min_words = s.MinPhraseLengthValue() - 1;
  d.max_words = s.MaxPhraseLengthValue() - 1;
  d.min_occurrences = s.MinPhraseOccurrencesValue() - 1;
  d.exclude_checked = true;
  d.exclude_enabled = run.IgnoreMode;
  d.exclude_note = run.IgnoreMode ? "If this checkbox is checked then this operation uses the "
                                    "words-to-ignore specification in the 'Settings' window."
                                  : "No words-to-ignore are specified in the 'Settings' window.";
  d.file_list_visible = FileListVisible(s, 13);
  d.file_list_caption = kFileListCaption;
  return d;
}

std::optional<PhraseRunValues> AskCountAllPhrases(EngineState* st) {
  CountAllPhrasesDialog dialog = MakeCountAllPhrasesDialog(*st);
  for (;;) {
    const CountAllPhrasesAnswer answer = st->host->ShowCountAllPhrasesDialog(dialog);
    ApplyFileList(st, dialog.file_list_visible && answer.file_list);
    dialog.file_list_visible = FileListVisible(st->settings, 13);
    switch (answer.exit) {
      case DialogExit::kGoToSettings:
        st->host->ShowSettingsWindow();
        return std::nullopt;
      case DialogExit::kCancel:
        return std::nullopt;
      case DialogExit::kAccept:
        break;
    }
    const int min_words = ClampPosition(answer.min_words);
    const int max_words = ClampPosition(answer.max_words);
    const int min_occurrences = ClampPosition(answer.min_occurrences);
    // Shown again, the dialog keeps what the user chose.
    dialog.min_words = min_words;
    dialog.max_words = max_words;
    dialog.min_occurrences = min_occurrences;
    dialog.exclude_checked = answer.exclude;
    if (max_words < min_words) {
      st->host->ShowMessage("Invalid input",
                            "The maximum number of words in each phrase\r\nmust not be less "
                            "than the minimum number.",
                            Icon::kExclamation);
      continue;
    }
    if (max_words == 0) {
      st->host->ShowMessage("Count all phrases",
                            "To count all and only 'phrases' with one word please\r\ncancel "
                            "then click on the 'Count words/phrases' button\r\nthen click on "
                            "the 'Count all words' button.",
                            Icon::kInformation);
      dialog.min_words = 2;
      dialog.max_words = 5;
      continue;
    }
    Settings& s = st->settings;
    st->ChangeSetting(&s.MinPhraseLength, min_words, "MinPhraseLength");
    st->ChangeSetting(&s.MaxPhraseLength, max_words, "MaxPhraseLength");
    st->ChangeSetting(&s.MinPhraseOccurrences, min_occurrences, "MinPhraseOccurrences");
    return PhraseRunValues{min_words + 1, max_words + 1, min_occurrences + 1,
                           st->run.IgnoreMode && answer.exclude};
  }
}

CountArrayDialog MakeCountArrayDialog(const EngineState& st) {
  const Settings& s = st.settings;
  CountArrayDialog d;
  d.caption = GetMessageText(st.run.CountOnlyMode ? 102 : 101);
  d.intro =
      "This program can be used to create a tab-delimited text file which can be read into "
      "Excel.  The words/phrases to be counted are to be specified in the 'Settings' window as "
      "usual.  Regular expressions can be used for count-only words/phrases.";
  d.options_text =
      "The Excel file shows a table with words/phrases down the left side and file indices "
      "(pointers to the file paths) across the top.  You can choose to have one table with the "
      "words/phrases ordered either alphabetically or by frequency, or two tables (the first "
      "with alphabetical ordering, the second by frequency).  You can also choose whether a "
      "cell (showing the count for a particular word/phrase) should be left blank if the count "
      "is zero.";
  d.relative_tool_tip =
      "'Relative frequency' is explained in 'Creation of an Excel File with a Table of "
      "Words/Phrases vs Files' in the online user manual.";
  d.layout = s.CountArrayLayout >= 0 && s.CountArrayLayout <= 2 ? s.CountArrayLayout : 0;
  d.zero_cells_blank = s.CountArrayZeroCellsBlank != 0;
  d.write_relative_frequency = s.CountArrayWriteRelativeFrequency != 0;
  d.left_of_results = 200;
  return d;
}

bool AskCountArrayOptions(EngineState* st) {
  const CountArrayAnswer answer = st->host->ShowCountArrayDialog(MakeCountArrayDialog(*st));
  switch (answer.exit) {
    case DialogExit::kGoToSettings:
      st->host->ShowSettingsWindow();
      return false;
    case DialogExit::kCancel:
      return false;
    case DialogExit::kAccept:
      break;
  }
  Settings& s = st->settings;
  const int layout = answer.layout >= 0 && answer.layout <= 2 ? answer.layout : 0;
  st->ChangeSetting(&s.CountArrayLayout, layout, "CountArrayLayout");
  st->ChangeSetting(&s.CountArrayZeroCellsBlank, answer.zero_cells_blank ? 1 : 0,
                    "CountArrayZeroCellsBlank");
  st->ChangeSetting(&s.CountArrayWriteRelativeFrequency, answer.write_relative_frequency ? 1 : 0,
                    "CountArrayWriteRelativeFrequency");
  return true;
}

LoadOrRemove AskLoadOrRemove(EngineState* st, int list, const std::string& path) {
  LoadOrRemoveDialog d;
  d.caption = "Load or remove this file";
  d.path = path;
  d.list = list;
  d.top = list == 0 ? 400 : 750;
  d.left = 150;
  return st->host->ShowLoadOrRemoveDialog(d);
}

PopUpMessage MakePopUp(std::string text, std::string anchor, int top, int left) {
  PopUpMessage m = MakePopUp(std::move(text));
  m.centre_on_screen = false;
  m.anchor = std::move(anchor);
  m.top = top;
  m.left = left;
  return m;
}

PopUpMessage MakePopUp(std::string text) {
  PopUpMessage m;
  m.text = std::move(text);
  m.width = 2400;
  m.height = 300;
  m.interval_ms = 2000;
  m.centre_on_screen = true;
  return m;
}

}  // namespace vorn
