// The records of the dialogs that the engine opens through its Host.
//
// Each dialog is one host call with a record in and a record out. The
// engine fills in every text, choice and flag that the dialog shows and
// checks what comes back; a host only draws the record and returns what the
// user chose, so the rules and texts stay in the engine.
//
// Positions are in twips relative to what each record names; a host turns
// them into pixels (twips x logical DPI / 1440).

#ifndef VORN_UTIL_DIALOGS_H_
#define VORN_UTIL_DIALOGS_H_

#include <string>
#include <vector>

namespace vorn {

// An open-file or save-file dialog.
struct FileChooser {
  std::string title;
  std::string filter;        // a description, "Text files (*.txt)" or "" for every file
  std::string initial_name;  // the file name shown when the dialog opens
  bool save = false;         // a save dialog (else an open dialog)
  bool file_must_exist = false;
  bool path_must_exist = false;
  bool hide_read_only = false;  // no "open as read-only" box
};

// The folder browser.
struct FolderChooser {
  std::string title;
  std::string initial_folder;
};

// The buttons of the dialog shown before a count.
enum class CountChoice { kCancel, kGoToSettings, kCountSpecified, kCountAllWords };

// "Count words/phrases", shown before a count.
struct CountWordsDialog {
  std::string caption;
  std::string intro;
  bool count_only_set = false;     // "Count only specified words/phrases" is offered
  bool file_list_visible = false;  // the file-list box is shown (unticked)
  std::string file_list_caption;
  int left_of_results = 130;  // twips right of the results box's left edge
};

struct CountWordsAnswer {
  CountChoice choice = CountChoice::kCancel;
  bool file_list = false;  // the file-list box was ticked when the dialog closed
};

// How the two option dialogs below were left.
enum class DialogExit { kCancel, kGoToSettings, kAccept };

// "Count all phrases". The three lists hold `items`; the fields are the
// positions chosen in them.
struct CountAllPhrasesDialog {
  std::string caption;
  std::string intro;
  std::vector<std::string> items;  // "1" .. "30"
  int min_words = 2;
  int max_words = 5;
  int min_occurrences = 1;
  bool exclude_enabled = false;
  bool exclude_checked = true;
  std::string exclude_note;
  bool file_list_visible = false;
  std::string file_list_caption;
  int left_of_results = 130;
};

struct CountAllPhrasesAnswer {
  DialogExit exit = DialogExit::kCancel;
  int min_words = 0;  // list positions
  int max_words = 0;
  int min_occurrences = 0;
  bool exclude = false;
  bool file_list = false;
};

// "Make 2-d count array for Excel".
struct CountArrayDialog {
  std::string caption;
  std::string intro;
  std::string options_text;
  std::string relative_tool_tip;
  int layout = 0;  // 0 alphabetical, 1 by frequency, 2 both tables
  bool zero_cells_blank = false;
  bool write_relative_frequency = false;
  int left_of_results = 200;
};

struct CountArrayAnswer {
  DialogExit exit = DialogExit::kCancel;
  int layout = 0;
  bool zero_cells_blank = false;
  bool write_relative_frequency = false;
};

// "Load or remove this file", for a file of a words-file list. It opens
// with "Cancel" chosen.
enum class LoadOrRemove { kCancel, kLoad, kRemove };

struct LoadOrRemoveDialog {
  std::string caption;
  std::string path;
  int list = 0;    // 0 the words-to-ignore list, 1 the count-only list
  int top = 400;   // twips below the top of the list's box
  int left = 150;  // twips right of the list's left edge
};

// The transient message window: no buttons; it closes itself after
// `interval_ms`, or at once when clicked.
struct PopUpMessage {
  std::string text;
  int width = 2400;  // twips
  int height = 300;
  int interval_ms = 2000;
  // Where it stands: centred on the screen, or `top` and `left` twips from
  // the top-left corner of the control named by `anchor`, as window name
  // "." control name ("frmMain.cmdSaveState").
  bool centre_on_screen = true;
  std::string anchor;
  int top = 0;
  int left = 0;
};

}  // namespace vorn

#endif  // VORN_UTIL_DIALOGS_H_
