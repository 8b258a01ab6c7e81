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

#include <optional>
#include <string>

#include "util/text.h"

namespace vorn {

enum class Icon { kNone, kInformation, kExclamation, kQuestion };
enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Answer { kOk, kCancel, kYes, kNo };

// The buttons of the dialog shown before a count: count only the count-only
// words and phrases, count all words, or nothing.
enum class CountChoice { kCancel, kCountSpecified, kCountAllWords };

// What Host::ReadClipboard found: the text, or only its beginning when the
// clipboard held more than the host was willing to read (cut).
struct ClipboardContent {
  Text text;
  bool cut = false;
};

// The labels of the main window that the engine writes.
enum class Label {
  kNumberOfWords,        // lblNumberOfWords
  kNumWordsExcluded,     // lblNumWordsExcluded
  kNumOccurrences,       // lblNumOccurrences (also the folder progress bar)
  kTotalNumOccurrences,  // lblTotalNumOccurrences (also the in-file progress bar)
  kTimeElapsed,          // lblTimeElapsed 0
  kFilesize,             // lblFilesize
  kXmlSize,              // lblXMLsize
  kFile,                 // lblFile: the file being read
  kCountWordsCaption,    // the caption of cmdCountWords
};
inline constexpr int kLabelCount = 9;

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
  virtual std::string ChooseFileToOpen(const std::string& title, const std::string& filter) = 0;
  virtual std::string ChooseFileToSave(const std::string& title, const std::string& filter) = 0;
  virtual std::string ChooseFolder(const std::string& title) = 0;

  // The "Count words/phrases" dialog shown before a count, with its
  // introduction text; count_only_set tells whether count-only words or
  // phrases are specified.
  virtual CountChoice CountWordsDialog(const std::string& intro, bool count_only_set) = 0;

  // The text on the clipboard, exactly as it is there (empty when none). A
  // host may stop reading a clipboard once its text is surely longer than a
  // count accepts (kMaxClipboardChars, counting/engine.h); it then returns
  // what it read with cut set.
  virtual ClipboardContent ReadClipboard() = 0;

  // A label changed its text or its visibility.
  virtual void LabelChanged(Label label, const std::string& text, bool visible) = 0;

  // The results box now holds `text` (replaced, cleared or appended to).
  virtual void ResultsChanged(const Text& text) = 0;

  // Lets pending events run: timers, the stop command, repainting. The engine
  // calls it often on the counting path but throttled by time, so it may do
  // real work each time it is called.
  virtual void ProcessEvents() = 0;
};

}  // namespace vorn

#endif  // VORN_UTIL_HOST_H_
