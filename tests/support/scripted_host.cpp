#include "support/scripted_host.h"

namespace vorn {

void ScriptedHost::ShowMessage(const std::string& title, const std::string& text, Icon icon) {
  calls_.push_back({"message", title, text, icon, Buttons::kOk, Answer::kOk});
}

Answer ScriptedHost::Ask(const std::string& title, const std::string& text, Buttons buttons,
                         Answer /*default_answer*/) {
  Answer a = (buttons == Buttons::kOkCancel) ? Answer::kOk : Answer::kYes;
  if (!answers_.empty()) {
    a = answers_.front();
    answers_.pop_front();
  }
  calls_.push_back({"question", title, text, Icon::kQuestion, buttons, a});
  return a;
}

std::optional<std::string> ScriptedHost::InputBox(const std::string& title,
                                                  const std::string& prompt,
                                                  const std::string& default_text) {
  std::optional<std::string> r = default_text;
  if (!inputs_.empty()) {
    r = inputs_.front();
    inputs_.pop_front();
  }
  calls_.push_back(
      {"input", title, prompt, Icon::kNone, Buttons::kOkCancel, r ? Answer::kOk : Answer::kCancel});
  return r;
}

std::string ScriptedHost::ChooseFileToOpen(const std::string& title, const std::string&) {
  calls_.push_back({"open", title, "", Icon::kNone, Buttons::kOk, Answer::kOk});
  if (paths_.empty()) return "";
  std::string p = paths_.front();
  paths_.pop_front();
  return p;
}

std::string ScriptedHost::ChooseFileToSave(const std::string& title, const std::string&) {
  calls_.push_back({"save", title, "", Icon::kNone, Buttons::kOk, Answer::kOk});
  if (paths_.empty()) return "";
  std::string p = paths_.front();
  paths_.pop_front();
  return p;
}

std::string ScriptedHost::ChooseFolder(const std::string& title) {
  calls_.push_back({"folder", title, "", Icon::kNone, Buttons::kOk, Answer::kOk});
  if (paths_.empty()) return "";
  std::string p = paths_.front();
  paths_.pop_front();
  return p;
}

CountChoice ScriptedHost::CountWordsDialog(const std::string& intro, bool count_only_set) {
  CountChoice c = count_only_set ? CountChoice::kCountSpecified : CountChoice::kCountAllWords;
  if (!count_choices_.empty()) {
    c = count_choices_.front();
    count_choices_.pop_front();
  }
  calls_.push_back(
      {"count-dialog", "Count words/phrases", intro, Icon::kNone, Buttons::kOk, Answer::kOk});
  return c;
}

void ScriptedHost::LabelChanged(Label label, const std::string& text, bool visible) {
  labels_[static_cast<int>(label)] = visible ? text : "";
}

void ScriptedHost::ResultsChanged(const Text& text) { results_ = text; }

void ScriptedHost::ProcessEvents() {
  ++process_events_calls_;
  if (on_events_) on_events_();
}

std::vector<std::string> ScriptedHost::Dialogs() const {
  std::vector<std::string> out;
  for (const Call& c : calls_) {
    if (c.kind == "message" || c.kind == "question") out.push_back(c.title + "|" + c.text);
  }
  return out;
}

}  // namespace vorn
