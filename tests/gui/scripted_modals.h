// ScriptedModals: the modal windows of the window tests, answered from a
// script. Every call goes to a ScriptedHost, which records it and answers
// from its queues, so that no test waits on a nested event loop.

#ifndef VORN_TESTS_GUI_SCRIPTED_MODALS_H_
#define VORN_TESTS_GUI_SCRIPTED_MODALS_H_

#include "support/scripted_host.h"
#include "ui/modals.h"

namespace vorn {

class ScriptedModals final : public Modals {
 public:
  ScriptedHost& script() { return script_; }

  void SetParentWindow(QWidget*) override {}
  void ShowMessage(const std::string& title, const std::string& text, Icon icon) override {
    script_.ShowMessage(title, text, icon);
  }
  Answer Ask(const std::string& title, const std::string& text, Buttons buttons,
             Answer default_answer) override {
    return script_.Ask(title, text, buttons, default_answer);
  }
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& default_text) override {
    return script_.InputBox(title, prompt, default_text);
  }
  std::string ChooseFile(const FileChooser& chooser) override {
    return script_.ChooseFile(chooser);
  }
  std::string ChooseFolder(const FolderChooser& chooser) override {
    return script_.ChooseFolder(chooser);
  }
  CountWordsAnswer ShowCountWordsDialog(const CountWordsDialog& dialog) override {
    return script_.ShowCountWordsDialog(dialog);
  }
  CountAllPhrasesAnswer ShowCountAllPhrasesDialog(const CountAllPhrasesDialog& dialog) override {
    return script_.ShowCountAllPhrasesDialog(dialog);
  }
  CountArrayAnswer ShowCountArrayDialog(const CountArrayDialog& dialog) override {
    return script_.ShowCountArrayDialog(dialog);
  }
  LoadOrRemove ShowLoadOrRemoveDialog(const LoadOrRemoveDialog& dialog) override {
    return script_.ShowLoadOrRemoveDialog(dialog);
  }
  void ShowPopUp(const PopUpMessage& message) override { script_.ShowPopUp(message); }

 private:
  ScriptedHost script_;
};

}  // namespace vorn

#endif  // VORN_TESTS_GUI_SCRIPTED_MODALS_H_
