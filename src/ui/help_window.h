// HelpWindow: the help window (frmHelp), a resizable window with the help
// text and "Close". Its layout is the form frmHelp.ui; the help text is the
// resource :/vorn/help.txt (resources/help.txt): a short guide in English,
// paragraphs separated by one empty line, each paragraph a single line that
// the window wraps to its width.

#ifndef VORN_UI_HELP_WINDOW_H_
#define VORN_UI_HELP_WINDOW_H_

#include <QWidget>
#include <memory>

namespace Ui {
class frmHelp;
}

namespace vorn {

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* main_window);
  ~HelpWindow() override;

  // Shows the window over the main window: the first time 480 twips below
  // and 200 right of its corner, 400 twips narrower and 600 lower than it;
  // a minimised window is restored.
  void ShowOver(QWidget* main_window);

 private:
  std::unique_ptr<Ui::frmHelp> ui_;
  bool placed_ = false;
};

}  // namespace vorn

#endif  // VORN_UI_HELP_WINDOW_H_
