#include "ui/words_box.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>

namespace vorn {

WordsBox::WordsBox(QWidget* parent) : QPlainTextEdit(parent) {
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  const int lines = 3;
  setFixedHeight(fontMetrics().lineSpacing() * lines + 2 * frameWidth() +
                 static_cast<int>(2 * document()->documentMargin()));
  connect(this, &QPlainTextEdit::textChanged, this, [this] {
    edited_ = true;
    emit Edited(toPlainText());
  });
}

void WordsBox::SetWords(const QString& text) {
  if (toPlainText() == text) return;
  const QSignalBlocker block(this);
  setPlainText(text);
  moveCursor(QTextCursor::End);
}

void WordsBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    edited_ = false;
    emit Finished();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void WordsBox::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  // A message box or another window taking the focus does not leave the
  // box; the next control of this window does.
  if (!edited_ || event->reason() == Qt::ActiveWindowFocusReason ||
      event->reason() == Qt::PopupFocusReason) {
    return;
  }
  edited_ = false;
  emit Finished();
}

void WordsBox::insertFromMimeData(const QMimeData* source) {
  if (!source->hasText()) return;
  QString text = source->text();
  text.replace(QRegularExpression(QStringLiteral("[\\r\\n]+")), QStringLiteral(" "));
  insertPlainText(text);
}

}  // namespace vorn
