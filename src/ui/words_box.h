// WordsBox: a text box of words of the Settings window (the extra words to
// ignore, the extra count-only words and phrases).
//
// It wraps its text over a few lines but holds no line break: Enter is
// swallowed and announces Finished() at once, and pasted line breaks become
// blanks. Leaving the box after typing in it announces Finished() too, so
// that the window has the engine check the words as leaving the box would.

#ifndef VORN_UI_WORDS_BOX_H_
#define VORN_UI_WORDS_BOX_H_

#include <QPlainTextEdit>

namespace vorn {

class WordsBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit WordsBox(QWidget* parent = nullptr);

  // Replaces the text without announcing a change; the caret goes to the
  // end.
  void SetWords(const QString& text);

 signals:
  // The user typed into the box (the new text).
  void Edited(const QString& text);
  // Enter was pressed, or the box was left after typing in it.
  void Finished();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  bool edited_ = false;
};

}  // namespace vorn

#endif  // VORN_UI_WORDS_BOX_H_
