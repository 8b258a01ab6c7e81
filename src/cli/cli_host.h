// CliHost: the Host of vorn-cli.
//
// Message boxes go to standard error as their title, ": " and their text
// (CR LF shown as a new line); questions the same way, followed by the answer
// taken, which is Yes (OK) unless the user asked for No. Nothing waits for
// input. When standard error is a terminal a progress line is kept up to
// date there, from the labels and indicators the engine sends. Ctrl-C asks
// the run to stop, as the stop command does; a second Ctrl-C stops it
// silently.

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
  // The table layout answered in the count-array dialog (0 alphabetical,
  // 1 by frequency, 2 both; -1: the one the record holds).
  void SetCountArrayLayout(int layout) { count_array_layout_ = layout; }
  // The answer to the count-all-phrases dialog: numbers of words and
  // occurrences, and the exclude box. The dialog is answered once; shown
  // again (the answer was refused) it is cancelled.
  void SetPhrases(int min_words, int max_words, int min_occurrences, bool exclude) {
    phrases_ = CountAllPhrasesAnswer{DialogExit::kAccept, min_words - 1, max_words - 1,
                                     min_occurrences - 1, exclude,       false};
  }
  // Called from ProcessEvents when Ctrl-C was pressed: `first` the first
  // time, `again` every later time.
  void OnInterrupt(std::function<void()> first, std::function<void()> again) {
    on_interrupt_ = std::move(first);
    on_interrupt_again_ = std::move(again);
  }
  // Ends the progress line, if one is shown.
  void EndProgress();
  // Writes every text added to the results box to `out` as it comes, in
  // UTF-8 with LF line ends (null: none).
  void StreamResults(std::ostream* out) { results_out_ = out; }

  void ShowMessage(const std::string& title, const std::string& text, Icon icon) override;
  Answer Ask(const std::string& title, const std::string& text, Buttons buttons,
             Answer default_answer) override;
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& default_text) override;
  // Nothing is chosen: the command line named every file.
  std::string ChooseFile(const FileChooser&) override { return ""; }
  std::string ChooseFolder(const FolderChooser&) override { return ""; }
  CountWordsAnswer ShowCountWordsDialog(const CountWordsDialog& dialog) override;
  // The options of the command line stand in the record already.
  CountAllPhrasesAnswer ShowCountAllPhrasesDialog(const CountAllPhrasesDialog& dialog) override;
  CountArrayAnswer ShowCountArrayDialog(const CountArrayDialog& dialog) override;
  LoadOrRemove ShowLoadOrRemoveDialog(const LoadOrRemoveDialog&) override {
    return LoadOrRemove::kCancel;
  }
  void ShowPopUp(const PopUpMessage& message) override;
  void ShowSettingsWindow() override {}
  ClipboardContent ReadClipboard() override { return clipboard_; }
  void BusyChanged(Busy) override {}
  void LabelChanged(Label label, const std::string& text, bool visible) override;
  void IndicatorChanged(Indicator indicator, int value) override;
  void ResultsChanged(const ResultsChange& change) override;
  void SettingChanged(const std::string&) override {}
  void DisplayControlsChanged(const DisplayControls&) override {}
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
  int file_progress_ = -1;
  std::ostream* results_out_ = nullptr;
  int folder_progress_ = -1;
  std::string files_scanned_;  // "12 of 1,189 files"
  std::string file_name_;      // the name of the file being read
  ClipboardContent clipboard_;
  CountChoice count_choice_ = CountChoice::kCountSpecified;
  CountAllPhrasesAnswer phrases_;
  int count_array_layout_ = -1;
  std::function<void()> on_interrupt_;
  std::function<void()> on_interrupt_again_;
  int interrupts_ = 0;
};

// CR LF and lone CR as LF.
std::string ToLf(std::string_view text);

}  // namespace vorn

#endif  // VORN_CLI_CLI_HOST_H_
