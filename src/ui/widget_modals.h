// WidgetModals: the modal windows of the desktop program, as widgets.

#ifndef VORN_UI_WIDGET_MODALS_H_
#define VORN_UI_WIDGET_MODALS_H_

#include <QPointer>
#include <QWidget>

#include "ui/modals.h"

namespace vorn {

class WidgetModals : public Modals {
 public:
  void SetParentWindow(QWidget* window) override { window_ = window; }

  void ShowMessage(const std::string& title, const std::string& text, Icon icon) override;
  Answer Ask(const std::string& title, const std::string& text, Buttons buttons,
             Answer default_answer) override;
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& default_text) override;
  std::string ChooseFile(const FileChooser& chooser) override;
  std::string ChooseFolder(const FolderChooser& chooser) override;
  CountWordsAnswer ShowCountWordsDialog(const CountWordsDialog& dialog) override;
  CountAllPhrasesAnswer ShowCountAllPhrasesDialog(const CountAllPhrasesDialog& dialog) override;
  CountArrayAnswer ShowCountArrayDialog(const CountArrayDialog& dialog) override;
  LoadOrRemove ShowLoadOrRemoveDialog(const LoadOrRemoveDialog& dialog) override;
  void ShowPopUp(const PopUpMessage& message) override;

 private:
  // Places `dialog` over the main window, `twips` right of the left edge
  // of the results box.
  void PlaceOverResults(QWidget* dialog, int twips) const;
  // The window a message box or chooser belongs to: the active window of
  // the program (the main window or one of its windows, such as the
  // Settings window), else the main window.
  QWidget* Owner() const;
  QPointer<QWidget> window_;
};

}  // namespace vorn

#endif  // VORN_UI_WIDGET_MODALS_H_
