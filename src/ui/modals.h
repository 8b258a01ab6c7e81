// Modals: every modal window of the program behind one interface.
//
// The message boxes, questions, the input box, the file and folder choosers,
// the option dialogs of the count commands, the load-or-remove dialog and the
// transient message all go through a Modals. The program shows widgets
// (WidgetModals); the window tests answer from a script, so that no test
// waits on a nested event loop.

#ifndef VORN_UI_MODALS_H_
#define VORN_UI_MODALS_H_

#include <optional>
#include <string>

#include "util/dialogs.h"
#include "util/host.h"

class QWidget;

namespace vorn {

class Modals {
 public:
  virtual ~Modals() = default;

  // The window the modal windows belong to, and the positions they are
  // placed relative to (the left edge of the results box, the controls a
  // transient message is anchored to).
  virtual void SetParentWindow(QWidget* window) = 0;

  virtual void ShowMessage(const std::string& title, const std::string& text, Icon icon) = 0;
  virtual Answer Ask(const std::string& title, const std::string& text, Buttons buttons,
                     Answer default_answer) = 0;
  virtual std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                              const std::string& default_text) = 0;
  virtual std::string ChooseFile(const FileChooser& chooser) = 0;
  virtual std::string ChooseFolder(const FolderChooser& chooser) = 0;
  virtual CountWordsAnswer ShowCountWordsDialog(const CountWordsDialog& dialog) = 0;
  virtual CountAllPhrasesAnswer ShowCountAllPhrasesDialog(const CountAllPhrasesDialog& dialog) = 0;
  virtual CountArrayAnswer ShowCountArrayDialog(const CountArrayDialog& dialog) = 0;
  virtual LoadOrRemove ShowLoadOrRemoveDialog(const LoadOrRemoveDialog& dialog) = 0;
  virtual void ShowPopUp(const PopUpMessage& message) = 0;
};

}  // namespace vorn

#endif  // VORN_UI_MODALS_H_
