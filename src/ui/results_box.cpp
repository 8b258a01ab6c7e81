#include "ui/results_box.h"

#include <QFontDatabase>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

namespace vorn {

namespace {

// The engine's text as the box shows it: carriage returns left out, as a
// CR LF is one line break and a lone CR ends nothing in the box.
QString BoxText(TextView text) {
  QString s;
  s.reserve(static_cast<qsizetype>(text.size()));
  for (char16_t c : text) {
    if (c != u'\r') s.append(QChar(c));
  }
  return s;
}

}  // namespace

ResultsBox::ResultsBox(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("txbOutput");
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setUndoRedoEnabled(false);
  connect(document(), &QTextDocument::contentsChanged, this, [this] {
    if (!applying_) edited_ = true;
  });
}

int ResultsBox::BoxPosition(int64_t engine_position) const {
  const auto end = text_.begin() + static_cast<std::ptrdiff_t>(engine_position);
  return static_cast<int>(engine_position - std::count(text_.begin(), end, u'\r'));
}

void ResultsBox::Apply(const ResultsChange& change) {
  applying_ = true;
  const int64_t keep = std::clamp<int64_t>(change.keep, 0, static_cast<int64_t>(text_.size()));
  const bool append = keep == static_cast<int64_t>(text_.size());
  const int box_keep = edited_ || append ? 0 : BoxPosition(keep);
  text_.resize(static_cast<size_t>(keep));
  text_.append(change.added);
  QTextCursor cursor(document());
  if (edited_ || keep == 0) {
    setPlainText(BoxText(text_));
    edited_ = false;
  } else {
    if (append) {
      cursor.movePosition(QTextCursor::End);
    } else {
      cursor.setPosition(box_keep);
      cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    }
    cursor.insertText(BoxText(change.added));
  }
  QTextCursor caret(document());
  caret.movePosition(change.caret == Caret::kEnd ? QTextCursor::End : QTextCursor::Start);
  setTextCursor(caret);
  if (change.caret == Caret::kEnd) {
    ensureCursorVisible();
  } else {
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
  }
  if (change.repaint) viewport()->repaint();
  applying_ = false;
}

void ResultsBox::mousePressEvent(QMouseEvent* event) {
  QPlainTextEdit::mousePressEvent(event);
  if (event->button() == Qt::RightButton) emit Clicked(true);
}

void ResultsBox::mouseReleaseEvent(QMouseEvent* event) {
  QPlainTextEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton) emit Clicked(false);
}

}  // namespace vorn
