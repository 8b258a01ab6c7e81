// The small modal windows of the program: the option dialogs shown before a
// count, a count of all phrases and a count array, the load-or-remove
// dialog of the words-file lists, and the transient message.
//
// Each dialog's layout and fixed captions are in its form (frm*.ui beside
// this file); the dialog fills the form from the engine's record
// (util/dialogs.h), which holds every other text and choice, and gives back
// the answer record; the engine checks the answer. The controls carry the
// names the engine's records speak of.

#ifndef VORN_UI_OPTION_DIALOGS_H_
#define VORN_UI_OPTION_DIALOGS_H_

#include <QDialog>
#include <memory>

#include "util/dialogs.h"

class QPushButton;
class QTimer;

QT_BEGIN_NAMESPACE
namespace Ui {
class frmCountWordsPhrases;
class frmCountAllPhrases;
class frmCountArray;
class frmLoadRemove;
class frmPopUp;
}  // namespace Ui
QT_END_NAMESPACE

namespace vorn {

// "Count words/phrases".
class CountWordsDialogWidget : public QDialog {
  Q_OBJECT
 public:
  CountWordsDialogWidget(const CountWordsDialog& record, QWidget* parent);
  ~CountWordsDialogWidget() override;
  CountWordsAnswer answer() const;

 private:
  void Choose(CountChoice choice);
  std::unique_ptr<Ui::frmCountWordsPhrases> ui_;
  CountChoice choice_ = CountChoice::kCancel;
};

// A dialog left by its accepting button, "Go to 'Settings'" or "Cancel".
class OptionDialog : public QDialog {
  Q_OBJECT
 public:
  explicit OptionDialog(QWidget* parent) : QDialog(parent) {}

 protected:
  // Leaves the dialog by the exit of the button clicked, for the three
  // buttons of its form.
  void ConnectExitButtons(QPushButton* accept_button, QPushButton* settings, QPushButton* cancel);
  DialogExit exit_ = DialogExit::kCancel;

 private:
  void Leave(DialogExit exit);
};

// "Count all phrases".
class CountAllPhrasesDialogWidget : public OptionDialog {
  Q_OBJECT
 public:
  CountAllPhrasesDialogWidget(const CountAllPhrasesDialog& record, QWidget* parent);
  ~CountAllPhrasesDialogWidget() override;
  CountAllPhrasesAnswer answer() const;

 private:
  std::unique_ptr<Ui::frmCountAllPhrases> ui_;
};

// "Make 2-d count array for Excel".
class CountArrayDialogWidget : public OptionDialog {
  Q_OBJECT
 public:
  CountArrayDialogWidget(const CountArrayDialog& record, QWidget* parent);
  ~CountArrayDialogWidget() override;
  CountArrayAnswer answer() const;

 private:
  std::unique_ptr<Ui::frmCountArray> ui_;
};

// "Load or remove this file". Opens with "Cancel" chosen and the focus on
// "Close".
class LoadRemoveDialogWidget : public QDialog {
  Q_OBJECT
 public:
  LoadRemoveDialogWidget(const LoadOrRemoveDialog& record, QWidget* parent);
  ~LoadRemoveDialogWidget() override;
  LoadOrRemove answer() const;

 private:
  std::unique_ptr<Ui::frmLoadRemove> ui_;
};

// The transient message: no buttons; it closes itself after the interval,
// or at once when clicked.
class PopUpWidget : public QDialog {
  Q_OBJECT
 public:
  PopUpWidget(const PopUpMessage& message, QWidget* parent);
  ~PopUpWidget() override;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::frmPopUp> ui_;
  QTimer* timer_;
};

// Twips in pixels of `widget`'s screen (twips x logical DPI / 1440).
int TwipsToPixels(const QWidget* widget, int twips);

}  // namespace vorn

#endif  // VORN_UI_OPTION_DIALOGS_H_
