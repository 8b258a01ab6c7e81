#include "ui/widget_modals.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "ui/option_dialogs.h"
#include "ui/qt_text.h"

namespace vorn {

namespace {

QMessageBox::Icon BoxIcon(Icon icon) {
  switch (icon) {
    case Icon::kInformation:
      return QMessageBox::Information;
    case Icon::kExclamation:
      return QMessageBox::Warning;
    case Icon::kQuestion:
      return QMessageBox::Question;
    case Icon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton BoxButton(Answer a) {
  switch (a) {
    case Answer::kOk:
      return QMessageBox::Ok;
    case Answer::kCancel:
      return QMessageBox::Cancel;
    case Answer::kYes:
      return QMessageBox::Yes;
    case Answer::kNo:
      return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

// The engine's filter is a description, with its patterns in brackets when
// it has any ("Settings files (*.vorn)"); a description alone offers every
// file.
QString DialogFilter(const std::string& filter) {
  if (filter.empty()) return {};
  QString f = Qs(filter);
  if (!f.contains('(')) f += " (*)";
  return f;
}

}  // namespace

void WidgetModals::ShowMessage(const std::string& title, const std::string& text, Icon icon) {
  QMessageBox box(BoxIcon(icon), Qs(title), Qs(text), QMessageBox::Ok, Owner());
  box.setObjectName("messageBox");
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

Answer WidgetModals::Ask(const std::string& title, const std::string& text, Buttons buttons,
                         Answer default_answer) {
  QMessageBox::StandardButtons standard;
  Answer escape = Answer::kCancel;
  switch (buttons) {
    case Buttons::kOk:
      standard = QMessageBox::Ok;
      escape = Answer::kOk;
      break;
    case Buttons::kOkCancel:
      standard = QMessageBox::Ok | QMessageBox::Cancel;
      break;
    case Buttons::kYesNo:
      standard = QMessageBox::Yes | QMessageBox::No;
      escape = Answer::kNo;
      break;
    case Buttons::kYesNoCancel:
      standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      break;
  }
  QMessageBox box(QMessageBox::Question, Qs(title), Qs(text), standard, Owner());
  box.setObjectName("messageBox");
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(BoxButton(default_answer));
  box.setEscapeButton(BoxButton(escape));
  switch (box.exec()) {
    case QMessageBox::Ok:
      return Answer::kOk;
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    case QMessageBox::Cancel:
      return Answer::kCancel;
    default:
      return escape;
  }
}

std::optional<std::string> WidgetModals::InputBox(const std::string& title,
                                                  const std::string& prompt,
                                                  const std::string& default_text) {
  bool ok = false;
  const QString text = QInputDialog::getText(Owner(), Qs(title), Qs(prompt), QLineEdit::Normal,
                                             Qs(default_text), &ok);
  if (!ok) return std::nullopt;
  return Utf8(text);
}

std::string WidgetModals::ChooseFile(const FileChooser& chooser) {
  QFileDialog dialog(Owner(), Qs(chooser.title));
  dialog.setObjectName("CommonDialog1");
  dialog.setNameFilter(DialogFilter(chooser.filter));
  if (chooser.save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setFileMode(chooser.file_must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  }
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (!chooser.initial_name.empty()) dialog.selectFile(Qs(chooser.initial_name));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
  return Utf8(dialog.selectedFiles().first());
}

std::string WidgetModals::ChooseFolder(const FolderChooser& chooser) {
  return Utf8(
      QFileDialog::getExistingDirectory(Owner(), Qs(chooser.title), Qs(chooser.initial_folder)));
}

QWidget* WidgetModals::Owner() const {
  QWidget* active = QApplication::activeWindow();
  if (active != nullptr && window_ != nullptr &&
      (active == window_ || active->parentWidget() == window_)) {
    return active;
  }
  return window_;
}

void WidgetModals::PlaceOverResults(QWidget* dialog, int twips) const {
  if (window_ == nullptr) return;
  const QWidget* results = window_->findChild<QWidget*>("txbOutput");
  const QWidget* anchor = results != nullptr ? results : window_.data();
  const QPoint corner = anchor->mapToGlobal(QPoint(0, 0));
  dialog->adjustSize();
  dialog->move(corner.x() + TwipsToPixels(anchor, twips), corner.y() + TwipsToPixels(anchor, 300));
}

CountWordsAnswer WidgetModals::ShowCountWordsDialog(const CountWordsDialog& record) {
  CountWordsDialogWidget dialog(record, window_);
  PlaceOverResults(&dialog, record.left_of_results);
  dialog.exec();
  return dialog.answer();
}

CountAllPhrasesAnswer WidgetModals::ShowCountAllPhrasesDialog(const CountAllPhrasesDialog& record) {
  CountAllPhrasesDialogWidget dialog(record, window_);
  PlaceOverResults(&dialog, record.left_of_results);
  dialog.exec();
  return dialog.answer();
}

CountArrayAnswer WidgetModals::ShowCountArrayDialog(const CountArrayDialog& record) {
  CountArrayDialogWidget dialog(record, window_);
  PlaceOverResults(&dialog, record.left_of_results);
  dialog.exec();
  return dialog.answer();
}

LoadOrRemove WidgetModals::ShowLoadOrRemoveDialog(const LoadOrRemoveDialog& record) {
  LoadRemoveDialogWidget dialog(record, Owner());
  // Below the list the file was chosen from, when it is shown.
  const QWidget* anchor = window_;
  if (window_ != nullptr) {
    const QWidget* list =
        window_->findChild<QWidget*>("cboWordsFile" + QString::number(record.list));
    if (list != nullptr && list->isVisible()) anchor = list;
  }
  if (anchor != nullptr) {
    const QPoint corner = anchor->mapToGlobal(QPoint(0, 0));
    dialog.move(corner.x() + TwipsToPixels(anchor, record.left),
                corner.y() + TwipsToPixels(anchor, record.top));
  }
  dialog.exec();
  return dialog.answer();
}

void WidgetModals::ShowPopUp(const PopUpMessage& message) {
  PopUpWidget popup(message, Owner());
  popup.adjustSize();
  const QWidget* anchor = nullptr;
  if (!message.centre_on_screen) {
    // "frmMain.cmdSaveState": a control of a window of the program.
    const std::string& a = message.anchor;
    const size_t dot = a.find('.');
    const QString window_name = Qs(a.substr(0, dot == std::string::npos ? 0 : dot));
    const QString control = Qs(dot == std::string::npos ? a : a.substr(dot + 1));
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (!window_name.isEmpty() && top->objectName() != window_name) continue;
      anchor = top->findChild<QWidget*>(control);
      if (anchor != nullptr && anchor->isVisible()) break;
      anchor = nullptr;
    }
  }
  if (anchor != nullptr) {
    const QPoint corner = anchor->mapToGlobal(QPoint(0, 0));
    popup.move(corner.x() + TwipsToPixels(anchor, message.left),
               corner.y() + TwipsToPixels(anchor, message.top));
  } else {
    const QScreen* screen = window_ != nullptr ? window_->screen() : QApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    popup.move(area.center() - QPoint(popup.width() / 2, popup.height() / 2));
  }
  popup.exec();
}

}  // namespace vorn
