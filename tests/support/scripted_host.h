// ScriptedHost: a Host for tests. It records every message, question, input
// box, chooser and dialog call, label change, busy state and settings
// notice, rebuilds the results box from the changes it is sent, and answers
// questions, input boxes and dialogs from a script given in advance (Yes,
// or OK, when the script is used up).

#ifndef VORN_TESTS_SUPPORT_SCRIPTED_HOST_H_
#define VORN_TESTS_SUPPORT_SCRIPTED_HOST_H_

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "util/host.h"

namespace vorn {

class ScriptedHost : public Host {
 public:
  struct Call {
    // "message", "question", "input", "open", "save", "folder",
    // "count-dialog", "phrases-dialog", "array-dialog", "load-remove",
    // "popup", "settings-window"
    std::string kind;
    std::string title;
    std::string text;
    Icon icon = Icon::kNone;
    Buttons buttons = Buttons::kOk;
    Answer answer = Answer::kOk;
  };

  // Answers for the next questions, in order.
  void QueueAnswer(Answer a) { answers_.push_back(a); }
  // Texts for the next input boxes (nullopt = Cancel) and choosers.
  void QueueInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
  void QueueChosenPath(std::string path) { paths_.push_back(std::move(path)); }
  // The button chosen in the next count dialogs (default: count only the
  // specified entries when there are any, else count all words).
  void QueueCountChoice(CountChoice c) { count_choices_.push_back(c); }
  // The answers of the next count-all-phrases, count-array and
  // load-or-remove dialogs (default: accept the record as it came).
  void QueuePhrasesAnswer(CountAllPhrasesAnswer a) { phrases_answers_.push_back(a); }
  void QueueArrayAnswer(CountArrayAnswer a) { array_answers_.push_back(a); }
  void QueueLoadOrRemove(LoadOrRemove a) { load_remove_answers_.push_back(a); }
  // Compares the rebuilt results box with `truth` (the engine's own text)
  // after every change; results_mismatches() counts the differences.
  void CheckResultsAgainst(const Text* truth) { truth_ = truth; }
  int results_mismatches() const { return results_mismatches_; }
  // Called on every ProcessEvents (for stopping a run from a test).
  void OnProcessEvents(std::function<void()> f) { on_events_ = std::move(f); }

  void ShowMessage(const std::string& title, const std::string& text, Icon icon) override;
  Answer Ask(const std::string& title, const std::string& text, Buttons buttons,
             Answer default_answer) override;
  std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                      const std::string& default_text) override;
  std::string ChooseFile(const FileChooser& chooser) override;
  std::string ChooseFolder(const FolderChooser& chooser) override;
  CountWordsAnswer ShowCountWordsDialog(const CountWordsDialog& dialog) override;
  CountAllPhrasesAnswer ShowCountAllPhrasesDialog(const CountAllPhrasesDialog& dialog) override;
  CountArrayAnswer ShowCountArrayDialog(const CountArrayDialog& dialog) override;
  LoadOrRemove ShowLoadOrRemoveDialog(const LoadOrRemoveDialog& dialog) override;
  void ShowPopUp(const PopUpMessage& message) override;
  void ShowSettingsWindow() override;
  ClipboardContent ReadClipboard() override { return {}; }
  void BusyChanged(Busy busy) override { busy_changes_.push_back(busy); }
  void LabelChanged(Label label, const std::string& text, bool visible) override;
  void IndicatorChanged(Indicator indicator, int value) override;
  void ResultsChanged(const ResultsChange& change) override;
  void SettingChanged(const std::string& field) override { settings_changed_.push_back(field); }
  void DisplayControlsChanged(const DisplayControls& controls) override { controls_ = controls; }
  void ProcessEvents() override;

  const std::vector<Call>& calls() const { return calls_; }
  // Only the message boxes and questions, as "title|text" strings.
  std::vector<std::string> Dialogs() const;
  const std::string& label(Label l) const { return labels_[static_cast<int>(l)]; }
  int indicator(Indicator i) const { return indicators_[static_cast<int>(i)]; }
  // The results box as rebuilt from the changes sent.
  const Text& results() const { return results_; }
  // The number of changes sent and the characters they carried.
  int64_t results_changes() const { return results_changes_; }
  int64_t results_chars_sent() const { return results_chars_sent_; }
  Caret caret() const { return caret_; }
  const std::vector<Busy>& busy_changes() const { return busy_changes_; }
  const std::vector<std::string>& settings_changed() const { return settings_changed_; }
  const DisplayControls& display_controls() const { return controls_; }
  // The last record of the phrases and load-or-remove dialogs and the
  // choosers.
  const CountAllPhrasesDialog& phrases_dialog() const { return phrases_dialog_; }
  const LoadOrRemoveDialog& load_remove_dialog() const { return load_remove_dialog_; }
  const FileChooser& file_chooser() const { return file_chooser_; }
  const FolderChooser& folder_chooser() const { return folder_chooser_; }
  void Clear() {
    calls_.clear();
    busy_changes_.clear();
    settings_changed_.clear();
  }

 private:
  std::vector<Call> calls_;
  std::deque<Answer> answers_;
  std::deque<CountAllPhrasesAnswer> phrases_answers_;
  std::deque<CountArrayAnswer> array_answers_;
  std::deque<LoadOrRemove> load_remove_answers_;
  CountAllPhrasesDialog phrases_dialog_;
  LoadOrRemoveDialog load_remove_dialog_;
  FileChooser file_chooser_;
  FolderChooser folder_chooser_;
  std::vector<Busy> busy_changes_;
  std::vector<std::string> settings_changed_;
  DisplayControls controls_;
  int indicators_[3] = {-1, -1, -1};
  const Text* truth_ = nullptr;
  int results_mismatches_ = 0;
  int64_t results_changes_ = 0;
  int64_t results_chars_sent_ = 0;
  Caret caret_ = Caret::kStart;
  std::deque<std::optional<std::string>> inputs_;
  std::deque<std::string> paths_;
  std::deque<CountChoice> count_choices_;
  std::function<void()> on_events_;
  std::string labels_[kLabelCount];
  Text results_;
};

}  // namespace vorn

#endif  // VORN_TESTS_SUPPORT_SCRIPTED_HOST_H_
