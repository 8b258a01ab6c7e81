#include "ui/help_window.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/help_text.h"
#include "ui/option_dialogs.h"
#include "util/message_table.h"

namespace vorn {

HelpWindow::HelpWindow(QWidget* main_window) : QWidget(main_window, Qt::Window) {
  setObjectName("frmHelp");
  setWindowTitle(QString::fromStdString(GetMessageText(1)) + ": Help");
  auto* layout = new QVBoxLayout(this);
  auto* text = new QPlainTextEdit(this);
  text->setObjectName("txbHelpScreen");
  text->setReadOnly(true);
  text->setPlainText(QString::fromUtf8(HelpText()));
  layout->addWidget(text, 1);
  auto* close = new QPushButton("Close", this);
  close->setObjectName("cmdClose");
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(close);
  row->addStretch(1);
  layout->addLayout(row);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
}

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
