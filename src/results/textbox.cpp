#include "results/textbox.h"

#include <algorithm>

#include "util/str_proc.h"

namespace vorn {

void Textbox::Notify(size_t keep, Caret caret, bool repaint) {
  if (host_ == nullptr) return;
  keep = std::min(keep, text_.size());
  ResultsChange change;
  change.keep = static_cast<int64_t>(keep);
  change.added = TextView(text_).substr(keep);
  change.caret = caret;
  change.repaint = repaint;
  host_->ResultsChanged(change);
}

void Textbox::Clear() {
  text_.clear();
  Notify(0, Caret::kStart, true);
}

void Textbox::SetText(TextView text) {
  text_.assign(text);
  Notify(0, Caret::kStart, true);
}

bool Textbox::Append(TextView text) {
  if (length() > kOutputLimit) return false;
  if (text.empty()) return true;
  const size_t keep = text_.size();
  text_.append(text);
  Notify(keep, Caret::kStart, false);
  return true;
}

void Textbox::Repaint(Caret caret) { Notify(text_.size(), caret, true); }

void Textbox::SetListingProgress(bool listing_files, int64_t files, int64_t folders) {
  listing_files_ = listing_files;
  listed_files_ = files;
  listed_folders_ = folders;
}

// The ending of a full box. It is written past the control's limit on
// purpose: the control is full, and this note is the last text it takes.
size_t Textbox::AppendFullNote() {
  if (length() > 1024) text_.resize(text_.size() - 256);
  const size_t keep = text_.size();
  text_ += u"\r\n\r\nTextbox is full.";
  if (listing_files_) {
    std::string note = "\r\n\r\nTo this point: " + Trimmed(listed_files_) + " file";
    if (listed_files_ != 1) note += "s";
    note += " in " + Trimmed(listed_folders_) + " folder";
    if (listed_folders_ != 1) note += "s";
    text_ += Utf8ToText(note);
  }
  return keep;
}

void Textbox::OutputToTxb(TextView s) {
  if (OutputAborted) return;
  if (length() <= kOutputLimit && !s.empty()) {
    const size_t keep = text_.size();
    text_.append(s);
    Notify(keep, Caret::kEnd, true);
  }
  LastTextboxLength = length();
  if (LastTextboxLength > kOutputLimit && LastTextboxLength == PreviousTextboxLength) {
    const size_t keep = AppendFullNote();
    OutputAborted = true;
    Notify(keep, Caret::kEnd, true);
    LastTextboxLength = length();
  } else {
    PreviousTextboxLength = LastTextboxLength;
  }
}

void Textbox::MarkFull(TextView note) {
  const size_t keep = AppendFullNote();
  if (!note.empty()) {
    text_ += kCrLf;
    text_ += note;
  }
  OutputAborted = true;
  Notify(keep, Caret::kEnd, true);
}

}  // namespace vorn
