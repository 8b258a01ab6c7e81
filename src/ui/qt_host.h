// QtHost: the Host of the desktop program.
//
// The modal windows go to a Modals (the widgets, or a test's script); the
// labels, indicators, the results box, the busy state and the settings
// notices go to the main window, which shows them in its controls. Pending
// events run through the Qt event loop.

#ifndef VORN_UI_QT_HOST_H_
#define VORN_UI_QT_HOST_H_

#include <optional>
#include <string>

#include "util/host.h"

namespace vorn {

class FrmMain;
class Modals;

class QtHost final : public Host {
 public:
  QtHost(FrmMain* window, Modals* modals) : window_(window), modals_(modals) {}

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
  void ShowSettingsWindow() override;
  ClipboardContent ReadClipboard() override;
  void BusyChanged(Busy busy) override;
  void LabelChanged(Label label, const std::string& text, bool visible) override;
  void IndicatorChanged(Indicator indicator, int value) override;
  void ResultsChanged(const ResultsChange& change) override;
  void SettingChanged(const std::string& field) override;
  void DisplayControlsChanged(const DisplayControls& controls) override;
  void ProcessEvents() override;

 private:
  FrmMain* window_;
  Modals* modals_;
};

}  // namespace vorn

#endif  // VORN_UI_QT_HOST_H_
