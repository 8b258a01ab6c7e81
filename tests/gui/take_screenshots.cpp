// vorn-screenshots: photographs the VORN windows for the documentation.
//
// Run under a virtual display (make screenshots runs it in Xvfb at
// 1280x800): it opens the main window as the program does, with a fresh
// settings folder, counts the bundled sample text, and saves PNG pictures
// of the main window, the Settings window, the help window and a message
// box to the folder given as its argument.
//
// Usage: vorn-screenshots OUTPUT_FOLDER SAMPLE_TEXT

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/frm_main.h"
#include "ui/widget_modals.h"

namespace {

// Waits `ms` milliseconds with events running, so that the windows are
// drawn.
void Settle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

bool Save(QWidget* widget, const QString& path) {
  const bool ok = widget->grab().save(path);
  std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: vorn-screenshots OUTPUT_FOLDER SAMPLE_TEXT\n");
    return 2;
  }
  // A first start: no saved settings.
  QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", qPrintable(config.path()), 1);
  QApplication app(argc, argv);
  const QString out = QString::fromLocal8Bit(argv[1]);
  const std::string sample =
      QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath().toStdString();
  QDir().mkpath(out);

  vorn::WidgetModals modals;
  vorn::FrmMain window(&modals);
  const QRect screen = QApplication::primaryScreen()->availableGeometry();
  window.resize(std::min(1200, screen.width() - 40), std::min(740, screen.height() - 40));
  window.move(screen.left() + 20, screen.top() + 20);
  window.show();
  // The common-words question of a first start: answered Yes, and
  // photographed as the message box.
  bool ok = true;
  QTimer::singleShot(800, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) return;
    ok = Save(box, out + "/message-box.png") && ok;
    if (auto* message = qobject_cast<QMessageBox*>(box)) {
      message->button(QMessageBox::Yes)->click();
    }
  });
  window.StartUp();
  // The count dialog is answered "Count all words"; any other message
  // would stop the pictures: it is written out and closed.
  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) return;
    if (auto* all = box->findChild<QPushButton*>("cmdCountAllWords")) {
      all->click();
      return;
    }
    if (auto* message = qobject_cast<QMessageBox*>(box)) {
      std::fprintf(stderr, "unexpected message: %s\n", qPrintable(message->text()));
    }
    ok = false;
    box->close();
  });
  watchdog.start(300);

  vorn::Settings& s = window.engine().settings();
  s.Source = vorn::InputSource::kSingleFile;
  s.InputFilePath = sample;
  s.DisplayFormat = 0;
  window.OnSettingChanged("");
  window.engine().SourceChosen(vorn::InputSource::kSingleFile);
  window.engine().FileBoxLeft(0);
  window.findChild<QPushButton*>("cmdCountWords")->click();
  Settle(800);
  ok = Save(&window, out + "/main-window.png") && ok;

  window.findChild<QPushButton*>("cmdSetParameters")->click();
  Settle(800);
  QWidget* settings = window.findChild<QWidget*>("frmParams");
  ok = settings != nullptr && Save(settings, out + "/settings-window.png") && ok;
  window.findChild<QPushButton*>("cmdClose")->click();

  window.findChild<QPushButton*>("cmdHelp")->click();
  Settle(800);
  QWidget* help = window.findChild<QWidget*>("frmHelp");
  ok = help != nullptr && Save(help, out + "/help-window.png") && ok;
  return ok ? 0 : 1;
}
