#include "results/textbox.h"

#include "util/str_proc.h"

namespace vorn {

void Textbox::Notify() {
  if (host_ != nullptr) host_->ResultsChanged(text_);
}

void Textbox::Clear() {
  text_.clear();
  Notify();
}

void Textbox::SetText(TextView text) {
  text_.assign(text);
  Notify();
}

bool Textbox::Append(TextView text) {
  if (length() > kOutputLimit) return false;
  if (text.empty()) return true;
  text_.append(text);
  Notify();
  return true;
}

void Textbox::SetListingProgress(bool listing_files, int64_t files, int64_t folders) {
  listing_files_ = listing_files;
  listed_files_ = files;
  listed_folders_ = folders;
}

// The ending of a full box. It is written past the control's limit on
// purpose: the control is full, and this note is the last text it takes.
void Textbox::AppendFullNote() {
  if (length() > 1024) text_.resize(text_.size() - 256);
  text_ += u"\r\n\r\nTextbox is full.";
  if (listing_files_) {
    std::string note = "\r\n\r\nTo this point: " + Trimmed(listed_files_) + " file";
    if (listed_files_ != 1) note += "s";
    note += " in " + Trimmed(listed_folders_) + " folder";
    if (listed_folders_ != 1) note += "s";
    text_ += Utf8ToText(note);
  }
}

void Textbox::OutputToTxb(TextView s) {
  if (OutputAborted) return;
  Append(s);
  LastTextboxLength = length();
  if (LastTextboxLength > kOutputLimit && LastTextboxLength == PreviousTextboxLength) {
    AppendFullNote();
    OutputAborted = true;
    Notify();
    LastTextboxLength = length();
  } else {
    PreviousTextboxLength = LastTextboxLength;
  }
}

void Textbox::MarkFull(TextView note) {
  AppendFullNote();
  if (!note.empty()) {
    text_ += kCrLf;
    text_ += note;
  }
  OutputAborted = true;
  Notify();
}

}  // namespace vorn
