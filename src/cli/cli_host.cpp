#include "cli/cli_host.h"

#include <csignal>

namespace vorn {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void HandleInterrupt(int) { g_interrupted = 1; }

const char* AnswerName(Answer a) {
  switch (a) {
    case Answer::kOk:
      return "OK";
    case Answer::kCancel:
      return "Cancel";
    case Answer::kYes:
      return "Yes";
    case Answer::kNo:
      return "No";
  }
  return "";
}

}  // namespace

std::string ToLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

CliHost::CliHost(std::ostream* err, bool answer_yes, bool progress)
    : err_(err), answer_yes_(answer_yes), progress_(progress) {}

void CliHost::InstallInterruptHandler() {
  g_interrupted = 0;
  std::signal(SIGINT, HandleInterrupt);
}

void CliHost::RemoveInterruptHandler() { std::signal(SIGINT, SIG_DFL); }

void CliHost::EndProgress() {
  if (progress_shown_) {
    *err_ << "\r\033[K" << std::flush;
    progress_shown_ = false;
  }
}

void CliHost::Print(const std::string& title, const std::string& text) {
  EndProgress();
  *err_ << title << ": " << ToLf(text) << "\n";
}

void CliHost::ShowMessage(const std::string& title, const std::string& text, Icon) {
  Print(title, text);
}

Answer CliHost::Ask(const std::string& title, const std::string& text, Buttons buttons, Answer) {
  Answer a;
  if (buttons == Buttons::kOkCancel || buttons == Buttons::kOk) {
    a = answer_yes_ || buttons == Buttons::kOk ? Answer::kOk : Answer::kCancel;
  } else {
    a = answer_yes_ ? Answer::kYes : Answer::kNo;
  }
  Print(title, text);
  *err_ << "-> " << AnswerName(a) << "\n";
  return a;
}

std::optional<std::string> CliHost::InputBox(const std::string& title, const std::string& prompt,
                                             const std::string& default_text) {
  Print(title, prompt);
  if (!answer_yes_) {
    *err_ << "-> Cancel\n";
    return std::nullopt;
  }
  *err_ << "-> OK: " << default_text << "\n";
  return default_text;
}

std::string CliHost::ChooseFileToOpen(const std::string&, const std::string&) { return ""; }
std::string CliHost::ChooseFileToSave(const std::string&, const std::string&) { return ""; }
std::string CliHost::ChooseFolder(const std::string&) { return ""; }

CountChoice CliHost::CountWordsDialog(const std::string&, bool count_only_set) {
  if (count_choice_ == CountChoice::kCountSpecified && !count_only_set) {
    return CountChoice::kCountAllWords;
  }
  return count_choice_;
}

void CliHost::LabelChanged(Label label, const std::string& text, bool visible) {
  if (!progress_) return;
  if (label == Label::kTimeElapsed) {
    elapsed_ = visible ? text : "";
  } else if (label == Label::kNumberOfWords) {
    words_ = visible ? text : "";
  } else {
    return;
  }
  DrawProgress();
}

void CliHost::DrawProgress() {
  if (elapsed_.empty() && words_.empty()) return;
  *err_ << "\r\033[K" << elapsed_ << (elapsed_.empty() || words_.empty() ? "" : "  ") << words_
        << std::flush;
  progress_shown_ = true;
}

void CliHost::ProcessEvents() {
  if (g_interrupted) {
    g_interrupted = 0;
    if (on_interrupt_) on_interrupt_();
  }
}

}  // namespace vorn
