// ScriptedHost: a Host for tests. It records every message, question, input
// box, chooser call and label change, and answers questions and input boxes
// from a script of answers given in advance (Yes, or OK, when the script is
// used up).

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
    std::string kind;  // "message", "question", "input", "open", "save", "folder"
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
  // The answer of the next count dialogs (default: count specified when
  // count-only words are set, else count all words).
  void QueueCountChoice(CountChoice c) { count_choices_.push_back(c); }
  // The clipboard text; cut says that the clipboard held more than that.
  void SetClipboard(Text text, bool cut = false) { clipboard_ = {std::move(text), cut}; }
  // Called on every ProcessEvents (for stopping a run from a test).
  void OnProcessEvents(std::function<void()> f) { on_events_ = std::move(f); }

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
  void ResultsChanged(const Text& text) override;
  void ProcessEvents() override;

  const std::vector<Call>& calls() const { return calls_; }
  // Only the message boxes and questions, as "title|text" strings.
  std::vector<std::string> Dialogs() const;
  const std::string& label(Label l) const { return labels_[static_cast<int>(l)]; }
  const Text& results() const { return results_; }
  int process_events_calls() const { return process_events_calls_; }
  void Clear() { calls_.clear(); }

 private:
  std::vector<Call> calls_;
  std::deque<Answer> answers_;
  std::deque<CountChoice> count_choices_;
  ClipboardContent clipboard_;
  std::deque<std::optional<std::string>> inputs_;
  std::deque<std::string> paths_;
  std::function<void()> on_events_;
  std::string labels_[kLabelCount];
  Text results_;
  int process_events_calls_ = 0;
};

}  // namespace vorn

#endif  // VORN_TESTS_SUPPORT_SCRIPTED_HOST_H_
