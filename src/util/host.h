// Host: the one way the engine reaches the outside world.
//
// The engine never prints, never opens a window and never reads the keyboard.
// Everything the user must see or answer goes through a Host: message boxes,
// questions, the input box, the file and folder choosers, the labels and the
// results box of the main window, and "let pending events run". The desktop
// program implements it with widgets, vorn-cli with standard error, and the
// tests with a scripted host that records every call and answers from a
// script.
//
// Message texts use CR LF for line breaks, as the program writes them.
// All calls come from the thread that runs the engine's commands.

#ifndef VORN_UTIL_HOST_H_
#define VORN_UTIL_HOST_H_

#include <cstdint>
#include <optional>
#include <string>

#include "util/dialogs.h"
#include "util/text.h"

namespace vorn {

enum class Icon { kNone, kInformation, kExclamation, kQuestion };
enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Answer { kOk, kCancel, kYes, kNo };

// What the engine is busy with. While it is busy the window locks its
// commands: every command but the stop command is refused (the engine
// refuses it too), and the stop command acts as stop.
enum class Busy {
  kIdle,
  kCounting,           // a count run, from its checks to its listing
  kListingFiles,       // "List files to be scanned"
  kReadingWordsFiles,  // a words-to-ignore or count-only file is read
  kRelisting,          // the results are listed again (a display option, file output)
};

// What Host::ReadClipboard found: the text, or only its beginning when the
// clipboard held more than the host was willing to read (cut).
struct ClipboardContent {
  Text text;
  bool cut = false;
};

// The labels of the main window that the engine writes.
enum class Label {
  kNumberOfWords,          // lblNumberOfWords
  kNumWordsExcluded,       // lblNumWordsExcluded
  kNumOccurrences,         // lblNumOccurrences (or the folder progress bar)
  kTotalNumOccurrences,    // lblTotalNumOccurrences (or the in-file progress bar)
  kTimeElapsed,            // lblTimeElapsed 0
  kTimeElapsed2,           // lblTimeElapsed 1
  kFilesize,               // lblFilesize
  kXmlSize,                // lblXMLsize
  kFile,                   // lblFile: the file being read
  kCountWordsCaption,      // the caption of cmdCountWords
  kCountArrayCaption,      // the caption of cmdCountArray
  kIgnoreFilesCaption,     // "Words-to-ignore files (n)"
  kCountOnlyFilesCaption,  // "Count-only words/phrases files (n)"
  kFilesScanned,           // a folder run: "12 of 1,189 files", the file being read included
  kSettingsFileStatus,     // the Settings window: "Settings saved to", "Error loading from", ...
  kSettingsFile,           // the Settings window: the settings file saved or loaded
};
inline constexpr int kLabelCount = 16;

// Indicators that show a value rather than a text.
enum class Indicator {
  // The folder progress bar, in lblNumOccurrences: 0 the empty bar, 1 to
  // 39 the position of its head (ProgressBarText draws it); -1 gives the
  // label back to its text, in its own font.
  kFolderProgress,
  // The in-file progress bar, in lblTotalNumOccurrences, the same way.
  kFileProgress,
  // The activity indicator: 0 to 3, the phase of the spinner; -1 blank.
  kActivity,
};

// One change of the results box: the first `keep` characters of the text it
// held stay, and `added` follows them. Clearing is keep 0 with nothing
// added; replacing is keep 0 with the new text; appending keeps the whole
// old text. `added` is valid only during the call.
enum class Caret { kStart, kEnd };
struct ResultsChange {
  int64_t keep = 0;
  TextView added;
  Caret caret = Caret::kStart;  // where the caret goes afterwards
  bool repaint = false;         // the box is to be repainted now
};

// The state of the display controls after a display option was handled.
struct DisplayControls {
  bool relative_frequency_enabled = true;  // "Display relative frequency ..."
  bool sort_by_files_enabled = false;      // "Sort by number of files ..."
};

class Host {
 public:
  virtual ~Host() = default;

  // A modal message box with an OK button.
  virtual void ShowMessage(const std::string& title, const std::string& text, Icon icon) = 0;

  // A modal question. Returns the button the user chose; default_answer is
  // the button that has the focus.
  virtual Answer Ask(const std::string& title, const std::string& text, Buttons buttons,
                     Answer default_answer) = 0;

  // The input box. Returns the text entered (possibly empty), or nullopt when
  // the user cancelled.
  virtual std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                              const std::string& default_text) = 0;

  // File and folder choosers. Each returns the chosen path, or the empty
  // string when the user cancelled.
  virtual std::string ChooseFile(const FileChooser& chooser) = 0;
  virtual std::string ChooseFolder(const FolderChooser& chooser) = 0;

  // The modal dialogs of the count commands, the words-file lists and the
  // transient message (dialogs.h). The engine has filled in every text and
  // checks the answer.
  virtual CountWordsAnswer ShowCountWordsDialog(const CountWordsDialog& dialog) = 0;
  virtual CountAllPhrasesAnswer ShowCountAllPhrasesDialog(const CountAllPhrasesDialog& dialog) = 0;
  virtual CountArrayAnswer ShowCountArrayDialog(const CountArrayDialog& dialog) = 0;
  virtual LoadOrRemove ShowLoadOrRemoveDialog(const LoadOrRemoveDialog& dialog) = 0;
  virtual void ShowPopUp(const PopUpMessage& message) = 0;

  // Shows the Settings window ("Go to 'Settings'", or a setting that must be
  // mended before a count).
  virtual void ShowSettingsWindow() = 0;

  // The text on the clipboard, exactly as it is there (empty when none). A
  // host may stop reading a clipboard once its text is surely longer than a
  // count accepts (kMaxClipboardChars, counting/engine.h); it then returns
  // what it read with cut set.
  virtual ClipboardContent ReadClipboard() = 0;

  // The engine became busy, or idle again (Busy::kIdle). Idle after a silent
  // stop means the engine has unwound and the program may end.
  virtual void BusyChanged(Busy busy) = 0;

  // A label changed its text or its visibility.
  virtual void LabelChanged(Label label, const std::string& text, bool visible) = 0;

  // An indicator changed its value.
  virtual void IndicatorChanged(Indicator indicator, int value) = 0;

  // The results box changed.
  virtual void ResultsChanged(const ResultsChange& change) = 0;

  // The engine changed a field of the Settings record that the window shows,
  // named as Settings' FieldNames() name it ("InputFilePath").
  virtual void SettingChanged(const std::string& field) = 0;

  // The display controls are to be enabled as given.
  virtual void DisplayControlsChanged(const DisplayControls& controls) = 0;

  // Lets pending events run: timers, the stop command, repainting. The engine
  // calls it at most every few tens of milliseconds during its work, never
  // more than 100 ms apart on the machines it is built for.
  virtual void ProcessEvents() = 0;
};

// The text of a progress bar, 41 characters: for `cells` 1 to 39 "[" +
// cells - 1 hyphens + ">" + spaces + "]"; for 0 the empty bar of spaces.
std::string ProgressBarText(int cells);

}  // namespace vorn

#endif  // VORN_UTIL_HOST_H_
