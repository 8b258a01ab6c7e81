// FrmMain: the main window of VORN (frmMain).
//
// Its controls and their places are the form frmMain.ui: the introduction
// and the source, output, display and command groups on the left, the
// results box with its count lines on the right. The window sets the texts
// that come from the message table, hands every command to the Engine and
// shows what the engine reports through its Host (QtHost): the labels, the
// indicators, the results box, the busy state and the changed settings. It
// holds no counting rule of its own: which controls are shown and enabled,
// where the focus goes and every check and message come from the engine
// (counting/window_rules.h).
//
// A count runs inside the click that started it; the engine lets events run
// during it, so the window repaints and the count button, which is then the
// stop command, answers. Closing the window during a run stops the run
// silently and then quits.

#ifndef VORN_APP_FRM_MAIN_H_
#define VORN_APP_FRM_MAIN_H_

#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "counting/engine.h"
#include "ui/qt_host.h"

class QLabel;
class QLineEdit;

namespace Ui {
class frmMain;
}

namespace vorn {

class HelpWindow;
class Modals;
class SettingsWindow;

class FrmMain : public QWidget {
  Q_OBJECT
 public:
  // `modals` shows the modal windows (it must outlive the window).
  explicit FrmMain(Modals* modals, QWidget* parent = nullptr);
  ~FrmMain() override;

  Engine& engine() { return engine_; }

  // The start-up sequence once the window is shown: the saved state and
  // its questions, the common-words question, the focus, the timer.
  void StartUp();

  // What the engine reports (QtHost).
  void OnBusyChanged(Busy busy);
  void OnLabelChanged(Label label, const std::string& text, bool visible);
  void OnIndicatorChanged(Indicator indicator, int value);
  void OnResultsChanged(const ResultsChange& change);
  void OnSettingChanged(const std::string& field);
  void OnDisplayControlsChanged(const DisplayControls& controls);
  void ShowSettingsWindow();

  // Whether a quit was asked for during a run and waits for its end.
  bool quit_pending() const { return quit_pending_; }

  // Runs an engine command from a control (of this window or of the
  // Settings window), then brings the controls up to date; a quit asked for
  // during a run happens when the run has ended.
  void Command(const std::function<void()>& command);
  // SetTheFocus: gives the focus to the control the engine's rules name.
  void SetTheFocus();

  // The Settings window (frmParams).
  SettingsWindow* settings_window() { return settings_window_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Completes the form: the texts of the message table, the sizes that
  // follow the font, the controls by name and the labels the engine writes.
  void SetUpControls();
  void ConnectControls();

  void AfterCommand();
  // Shows and enables the controls and sets the focus as the engine's rules
  // say.
  void ApplyControlStates();
  // Shows the settings in the controls (all, or the named field).
  void ShowSettings(const std::string& field);
  void ShowCountLinesOrLink();
  void ShowHelp();
  void OpenManual();
  void Quit();

  QtHost host_;
  Modals* modals_;
  Engine engine_;
  std::unique_ptr<Ui::frmMain> ui_;
  // The controls of the form by their names, as the engine's rules name
  // them.
  QHash<QString, QWidget*> controls_;
  QPointer<HelpWindow> help_;
  SettingsWindow* settings_window_ = nullptr;
  QTimer timer1_;
  int command_depth_ = 0;
  bool quit_pending_ = false;
  bool quitting_ = false;
  bool showing_settings_ = false;
  // Boxes the user typed into since they were last checked.
  QHash<QLineEdit*, bool> edited_;

  // The labels the engine writes (Host::LabelChanged), by Label; null for
  // the captions of buttons and the Settings window's labels.
  QLabel* labels_[kLabelCount] = {};
};

}  // namespace vorn

#endif  // VORN_APP_FRM_MAIN_H_
