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

#ifndef VORN_UI_SETTINGS_WINDOW_H_
#define VORN_UI_SETTINGS_WINDOW_H_

#include <QHash>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "util/host.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorn {

class Engine;
class MainWindow;
class WordsBox;

class SettingsWindow : public QWidget {
  Q_OBJECT
 public:
  // A window of `main`, hidden until ShowBeside.
  explicit SettingsWindow(MainWindow* main);

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
  // Building the window (settings_window_layout.cpp).
  void BuildControls();
  QWidget* BuildWordCharacters();
  QWidget* BuildPhraseEnds();
  QWidget* BuildCommentMarkers();
  QWidget* BuildIgnoreWords();
  QWidget* BuildCountOnlyWords();
  QWidget* BuildIgnoreFilters();
  QWidget* BuildPatternMatching();
  QWidget* BuildOutputAndFiles();
  QWidget* BuildBulkButtons();
  QWidget* BuildState();
  template <typename W>
  W* Named(W* widget, const QString& name);
  // A check box of the switch `field` (chk + field), with its caption.
  QCheckBox* Switch(const char* field, const QString& caption, QWidget* parent);
  QPushButton* Button(const QString& caption, const QString& name, QWidget* parent);

  void ConnectControls();
  // Runs an engine command through the main window, then shows the
  // words-file lists and their captions again.
  void Command(const std::function<void()>& command);
  void SwitchClicked(const std::string& field, bool checked);
  // A list of the ignore filters: its choice is stored as it is.
  void ConnectList(QComboBox* box, int16_t* field, const std::string& name);
  void HideSettings();
  void FocusHideButton();

  MainWindow* main_;
  Engine& engine_;
  QHash<QString, QWidget*> controls_;
  struct SwitchBox {
    QCheckBox* box;
    std::string field;
  };
  std::vector<SwitchBox> switches_;
  QLineEdit* txb_extra_chars_ = nullptr;
  bool extra_chars_edited_ = false;
  WordsBox* txb_words_[2] = {};
  QComboBox* cbo_words_file_[2] = {};
  QPushButton* cmd_select_words_file_[2] = {};
  QComboBox* cbo_languages_ = nullptr;
  QComboBox* cbo_excess_ = nullptr;
  QComboBox* cbo_threshold_ = nullptr;
  QComboBox* cbo_short_ = nullptr;
  QComboBox* cbo_long_ = nullptr;
  QLabel* lbl_occurrences2_ = nullptr;
  QLabel* lbl_state_ = nullptr;
  QLineEdit* txb_state_file_ = nullptr;
  QPushButton* cmd_close_ = nullptr;
  bool sized_ = false;
};

}  // namespace vorn

#endif  // VORN_UI_SETTINGS_WINDOW_H_
