#include "cli/cli_host.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace vorn {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void HandleInterrupt(int) {
  const int saved = errno;
  g_interrupted = 1;
  errno = saved;
}

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

// The columns of the terminal on standard error (80 when it does not say).
size_t TerminalWidth() {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return 80;
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
  if (!title.empty()) *err_ << title << ": ";
  *err_ << ToLf(text) << "\n";
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

CountWordsAnswer CliHost::ShowCountWordsDialog(const CountWordsDialog& dialog) {
  CountWordsAnswer a;
  a.choice = count_choice_;
  if (a.choice == CountChoice::kCountSpecified && !dialog.count_only_set) {
    a.choice = CountChoice::kCountAllWords;
  }
  return a;
}

CountAllPhrasesAnswer CliHost::ShowCountAllPhrasesDialog(const CountAllPhrasesDialog&) {
  const CountAllPhrasesAnswer answer = phrases_;
  phrases_.exit = DialogExit::kCancel;
  return answer;
}

CountArrayAnswer CliHost::ShowCountArrayDialog(const CountArrayDialog& dialog) {
  return {DialogExit::kAccept, count_array_layout_ >= 0 ? count_array_layout_ : dialog.layout,
          dialog.zero_cells_blank, dialog.write_relative_frequency};
}

void CliHost::ShowPopUp(const PopUpMessage& message) { Print("", message.text); }

void CliHost::LabelChanged(Label label, const std::string& text, bool visible) {
  if (!progress_) return;
  if (label == Label::kTimeElapsed) {
    elapsed_ = visible ? text : "";
  } else if (label == Label::kNumberOfWords) {
    words_ = visible ? text : "";
  } else if (label == Label::kFilesScanned) {
    files_scanned_ = visible ? text : "";
  } else if (label == Label::kFile) {
    file_name_ = visible ? text.substr(text.rfind('/') + 1) : "";
  } else {
    return;
  }
  DrawProgress();
}

void CliHost::ResultsChanged(const ResultsChange& change) {
  if (results_out_ == nullptr || change.added.empty()) return;
  EndProgress();
  *results_out_ << ToLf(TextToUtf8(change.added));
}

void CliHost::IndicatorChanged(Indicator indicator, int value) {
  if (!progress_) return;
  if (indicator == Indicator::kFileProgress) {
    file_progress_ = value;
  } else if (indicator == Indicator::kFolderProgress) {
    folder_progress_ = value;
  } else {
    return;
  }
  DrawProgress();
}

void CliHost::DrawProgress() {
  // A folder run shows how far it went through the files, and which file it
  // reads; a single file how far it went through the file.
  const bool folder = folder_progress_ >= 0;
  const int bar = folder ? folder_progress_ : file_progress_;
  std::string line = elapsed_;
  for (const std::string& part :
       {words_, bar >= 0 ? ProgressBarText(bar) : std::string(),
        folder ? files_scanned_ : std::string(), folder ? file_name_ : std::string()}) {
    if (part.empty()) continue;
    if (!line.empty()) line += "  ";
    line += part;
  }
  if (line.empty()) return;
  // One line of the terminal, without the control characters a file name
  // may hold.
  std::string shown;
  size_t columns = 0;
  const size_t width = TerminalWidth();
  for (const char c : line) {
    const auto b = static_cast<unsigned char>(c);
    if ((b & 0xC0) != 0x80 && ++columns >= width) break;
    shown.push_back(b < 32 || b == 127 ? '?' : c);
  }
  *err_ << "\r\033[K" << shown << std::flush;
  progress_shown_ = true;
}

void CliHost::ProcessEvents() {
  if (!g_interrupted) return;
  g_interrupted = 0;
  const auto& handler = interrupts_++ == 0 ? on_interrupt_ : on_interrupt_again_;
  if (handler) handler();
}

}  // namespace vorn
