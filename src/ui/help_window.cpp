#include "ui/help_window.h"

#include <QFile>
#include <algorithm>

#include "ui/option_dialogs.h"
#include "ui_frmHelp.h"
#include "util/message_table.h"

namespace vorn {

namespace {

// The help text as the resource holds it, without the line break that ends
// the file.
QString HelpText() {
  QFile file(QStringLiteral(":/vorn/help.txt"));
  if (!file.open(QIODevice::ReadOnly)) return QString();
  QString text = QString::fromUtf8(file.readAll());
  while (text.endsWith(QLatin1Char('\n'))) text.chop(1);
  return text;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* main_window)
    : QWidget(main_window, Qt::Window), ui_(std::make_unique<Ui::frmHelp>()) {
  ui_->setupUi(this);
  setWindowTitle(QString::fromStdString(GetMessageText(1)) + ": Help");
  ui_->txbHelpScreen->setPlainText(HelpText());
  connect(ui_->cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::ShowOver(QWidget* main_window) {
  if (!placed_) {
    const QRect frame = main_window->geometry();
    resize(std::max(frame.width() - TwipsToPixels(this, 400), 400),
           std::max(frame.height() + TwipsToPixels(this, 600), 300));
    move(frame.left() + TwipsToPixels(this, 200), frame.top() + TwipsToPixels(this, 480));
    placed_ = true;
  }
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

}  // namespace vorn
