// Textbox: the results box of the main window, as the engine owns it.
//
// The box behaves like the multi-line text control it stands for: it accepts
// appended text while it holds at most OutputLimit (65000) characters, and
// refuses any append once it holds more (the control is full). OutputToTxb is
// the one way other code appends messages; it notices a full control and ends
// the text with "Textbox is full.". Every change is passed to the host as
// what changed (ResultsChange), never as the whole text.
//
// Not thread-safe; owned by the engine.

#ifndef VORN_RESULTS_TEXTBOX_H_
#define VORN_RESULTS_TEXTBOX_H_

#include <cstdint>

#include "util/host.h"
#include "util/text.h"

namespace vorn {

inline constexpr int64_t kOutputLimit = 65000;

class Textbox {
 public:
  explicit Textbox(Host* host) : host_(host) {}

  const Text& text() const { return text_; }
  int64_t length() const { return static_cast<int64_t>(text_.size()); }
  bool empty() const { return text_.empty(); }

  // ClearOutputTextbox: empties the box.
  void Clear();

  // Replaces the whole text (as assigning the control's text does; the text
  // is kept whole). The caret goes to the start; the box is repainted.
  void SetText(TextView text);

  // Appends text as the control does: refused (returns false) when the box
  // already holds more than OutputLimit characters. Not repainted yet.
  bool Append(TextView text);

  // Puts the caret at `caret` and repaints the box.
  void Repaint(Caret caret);

  // OutputToTxb: appends `s` unless OutputAborted. When the box holds more
  // than OutputLimit characters and did not grow since the last call, drops
  // the last 256 characters (when it holds more than 1024), appends CR LF,
  // CR LF, "Textbox is full." and, while files are only being listed, CR LF,
  // CR LF, "To this point: " and the files/folders count; then sets
  // OutputAborted.
  void OutputToTxb(TextView s);

  // The textbox-full note of the error reporter (code -7): the same ending
  // as OutputToTxb's full handling, followed by `note` on a line of its own,
  // and OutputAborted set.
  void MarkFull(TextView note);

  // Set while files are only being listed, with the counts shown in the
  // "To this point: " note.
  void SetListingProgress(bool listing_files, int64_t files, int64_t folders);

  bool OutputAborted = false;
  int64_t LastTextboxLength = 0;
  int64_t PreviousTextboxLength = 0;

 private:
  // Tells the host that the first `keep` characters stayed and the rest of
  // the text is new.
  void Notify(size_t keep, Caret caret, bool repaint);
  // Returns how many characters of the old text the note kept.
  size_t AppendFullNote();

  Host* host_;
  Text text_;
  bool listing_files_ = false;
  int64_t listed_files_ = 0;
  int64_t listed_folders_ = 0;
};

}  // namespace vorn

#endif  // VORN_RESULTS_TEXTBOX_H_
