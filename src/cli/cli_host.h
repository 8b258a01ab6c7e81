// CliHost: the Host of vorn-cli.
//
// Message boxes go to standard error as their title, ": " and their text
// (CR LF shown as a new line); questions the same way, followed by the answer
// taken, which is Yes (OK) unless the user asked for No. Nothing waits for
// input. When standard error is a terminal a progress line is kept up to
// date there. Ctrl-C asks the run to stop, as the stop command does.

#ifndef VORN_CLI_CLI_HOST_H_
#define VORN_CLI_CLI_HOST_H_

#include <functional>
#include <ostream>
#include <string>

#include "util/host.h"

namespace vorn {

class CliHost : public Host {
 public:
  CliHost(std::ostream* err, bool answer_yes, bool progress);

  // The clipboard text of a --clipboard run.
  void SetClipboard(ClipboardContent content) { clipboard_ = std::move(content); }
  // The answer to the count dialog.
  void SetCountChoice(CountChoice c) { count_choice_ = c; }
  // Called from ProcessEvents when Ctrl-C was pressed.
  void OnInterrupt(std::function<void()> f) { on_interrupt_ = std::move(f); }
  // Ends the progress line, if one is shown.
  void EndProgress();

  void ShowMessage(const std::string& title, const std::string& text, Icon icon) override;
  Answer Ask(const std::string& title, const std::string& text, Buttons buttons,
             Answer default_answer) override;
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& default_text) override;
  std::string ChooseFileToOpen(const std::string& title, const std::string& filter) override;
  std::string ChooseFileToSave(const std::string& title, const std::string& filter) override;
  std::string ChooseFolder(const std::string& title) override;
  CountChoice CountWordsDialog(const std::string& intro, bool count_only_set) override;
  ClipboardContent ReadClipboard() override { return clipboard_; }
  void LabelChanged(Label label, const std::string& text, bool visible) override;
  void ResultsChanged(const Text&) override {}
  void ProcessEvents() override;

  // Installs and removes the Ctrl-C handler.
  static void InstallInterruptHandler();
  static void RemoveInterruptHandler();

 private:
  void Print(const std::string& title, const std::string& text);
  void DrawProgress();

  std::ostream* err_;
  bool answer_yes_;
  bool progress_;
  bool progress_shown_ = false;
  std::string elapsed_;
  std::string words_;
  ClipboardContent clipboard_;
  CountChoice count_choice_ = CountChoice::kCountSpecified;
  std::function<void()> on_interrupt_;
};

// CR LF and lone CR as LF.
std::string ToLf(std::string_view text);

}  // namespace vorn

#endif  // VORN_CLI_CLI_HOST_H_
