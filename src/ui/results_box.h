// ResultsBox: the results box of the main window (txbOutput).
//
// It shows the engine's results text as the engine changes it
// (Host::ResultsChanged). The engine counts CR LF as two characters and the
// box shows a line break as one; the box keeps a copy of the engine's text
// so that a change that keeps the first n characters keeps the right part
// of what is shown. Text the user typed into the box is replaced by the
// engine's text at its next change.

#ifndef VORN_UI_RESULTS_BOX_H_
#define VORN_UI_RESULTS_BOX_H_

#include <QPlainTextEdit>
#include <cstdint>

#include "util/host.h"
#include "util/text.h"

namespace vorn {

class ResultsBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit ResultsBox(QWidget* parent);

  void Apply(const ResultsChange& change);
  // The engine's text as the box last received it.
  const Text& engine_text() const { return text_; }

 signals:
  // A click with the left button, or a press of the right one.
  void Clicked(bool right_button);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // The position in the box of the engine's character `engine_position`.
  int BoxPosition(int64_t engine_position) const;
  Text text_;
  bool applying_ = false;
  bool edited_ = false;  // the user typed into the box
};

}  // namespace vorn

#endif  // VORN_UI_RESULTS_BOX_H_
