// SettingsWindow: the Settings window of VORN (frmParams).
//
// A modeless window that edits the word rules, filters, words lists and
// output options of the engine's Settings record and holds the commands
// that reset, save and load the settings. It belongs to the main window,
// which creates it with itself; "Hide settings" hides it and it keeps its
// values until the program ends.
//
// Every act of the user goes to the engine through the main window's
// Command: a switch to the option rules (Engine::OptionChanged), the lists
// and boxes to the words-file commands, the buttons to the bulk, reset and
// state commands. The window shows what the engine reports, which the main
// window forwards: every changed setting (ShowSettings), this window's
// labels (OnLabelChanged) and the busy state (ApplyControlStates). So the
// two windows always show the one record.
//
// The controls and their places are the form frmParams.ui, each control
// named as the design names it; this class fills in what only the running
// program knows (the captions and lists the engine gives) and wires the
// controls to the engine.

#ifndef VORN_UI_SETTINGS_WINDOW_H_
#define VORN_UI_SETTINGS_WINDOW_H_

#include <QHash>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "util/host.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace Ui {
class frmParams;
}  // namespace Ui

namespace vorn {

class Engine;
class FrmMain;
class WordsBox;

class SettingsWindow : public QWidget {
  Q_OBJECT
 public:
  // A window of `main`, hidden until ShowBeside.
  explicit SettingsWindow(FrmMain* main);
  ~SettingsWindow() override;

  // Shows the window: beside the main window when that is in its normal
  // state (400 twips below its top, the width of its "Settings" button and
  // 300 twips right of its left edge), otherwise centred on the screen; then
  // "Hide settings" takes the focus.
  void ShowBeside();

  // Shows the settings in the controls: all of them for "", else the field
  // named as FieldNames() names it.
  void ShowSettings(const std::string& field);
  // The labels of this window: the captions of the two words-file buttons,
  // the status line and the path of the settings file.
  void OnLabelChanged(Label label, const std::string& text, bool visible);
  // Locks the frames while the engine is busy (SettingsWindowControls).
  void ApplyControlStates();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The controls of one words-file side: 0 the words to ignore, 1 the
  // count-only words and phrases.
  struct WordsSide {
    QPushButton* select_files;
    QComboBox* files;
    QPushButton* clear_files;
    WordsBox* words;
    QPushButton* clear_words;
  };
  WordsSide Side(int index) const;

  // What the form cannot hold: the items of the lists, which the engine
  // gives, and the sizes taken from the style and the font.
  void CompleteControls();
  // Every check box of the form is the switch of the field its name
  // carries after "chk".
  void CollectSwitches();

  void ConnectControls();
  // Runs an engine command through the main window, then shows the
  // words-file lists and their captions again.
  void Command(const std::function<void()>& command);
  void SwitchClicked(const std::string& field, bool checked);
  // A list of the ignore filters: its choice is stored as it is.
  void ConnectList(QComboBox* box, int16_t* field, const std::string& name);
  void HideSettings();
  void FocusHideButton();

  FrmMain* main_;
  Engine& engine_;
  std::unique_ptr<Ui::frmParams> ui_;
  // The form's controls by name, as the engine names them in
  // SettingsWindowControls.
  QHash<QString, QWidget*> controls_;
  struct SwitchBox {
    QCheckBox* box;
    std::string field;
  };
  std::vector<SwitchBox> switches_;
  bool extra_chars_edited_ = false;
  bool sized_ = false;
};

}  // namespace vorn

#endif  // VORN_UI_SETTINGS_WINDOW_H_
