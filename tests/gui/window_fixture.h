// WindowFixture: what the window tests share. Each test gets a main window
// of its own over a fresh settings folder, with every modal window answered
// from a script (ScriptedModals), and helpers that act as a user would:
// click a control on its caption, type into a box and press Enter, act at
// the engine's pauses during long work.

#ifndef VORN_TESTS_GUI_WINDOW_FIXTURE_H_
#define VORN_TESTS_GUI_WINDOW_FIXTURE_H_

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/frm_main.h"
#include "support/test_files.h"
#include "tests/gui/scripted_modals.h"

namespace vorn {

class WindowFixture {
 protected:
  // The offscreen platform warns of every window it cannot size or raise.
  static void QuietOffscreenWarnings() {
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& m) {
      if (m.contains("propagateSizeHints") || m.contains("does not support raise")) return;
      qt_message_output(type, context, m);
    });
  }
  void MakeWindow() {
    dir_ = std::make_unique<TempDir>();
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir_->File("config")));
    modals_ = std::make_unique<ScriptedModals>();
    window_ = std::make_unique<FrmMain>(modals_.get());
  }
  void DropWindow() {
    window_.reset();
    modals_.reset();
    dir_.reset();
  }

  ScriptedHost& script() { return modals_->script(); }
  // Whether a message or question holds `part` ("title|text").
  bool Shows(const std::string& part) {
    for (const std::string& d : script().Dialogs()) {
      if (d.find(part) != std::string::npos) return true;
    }
    return false;
  }
  // The messages and questions so far, for failure reports.
  QByteArray Shown() {
    std::string all;
    for (const std::string& d : script().Dialogs()) all += "[" + d + "] ";
    return QByteArray::fromStdString(all);
  }
  // Clicks near the left end of a control, where a check box or option has
  // its box and caption whatever its width.
  static void ClickOnCaption(QAbstractButton* w) {
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
  }
  // Types `text` over what a box holds and presses Enter.
  static void TypeInto(QWidget* box, const QString& text) {
    box->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(box)) line->selectAll();
    if (auto* words = qobject_cast<QPlainTextEdit*>(box)) words->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
  }
  // Runs `action` at every pause of the engine's work until it returns true.
  void DuringWork(std::function<bool()> action) {
    window_->engine().SetEventThrottle(1, std::chrono::milliseconds(0));
    auto* timer = new QTimer(window_.get());
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
      if (action()) timer->stop();
    });
    timer->start(0);
  }

  std::unique_ptr<TempDir> dir_;
  std::unique_ptr<ScriptedModals> modals_;
  std::unique_ptr<FrmMain> window_;
};

}  // namespace vorn

#endif  // VORN_TESTS_GUI_WINDOW_FIXTURE_H_
