#include "support/scripted_host.h"

#include <cstdlib>

namespace vorn {

namespace {

// The next scripted answer, or `fallback` when the script is used up.
template <typename T>
T Next(std::deque<T>* script, T fallback) {
  if (script->empty()) return fallback;
  T next = std::move(script->front());
  script->pop_front();
  return next;
}

}  // namespace

void ScriptedHost::ShowMessage(const std::string& title, const std::string& text, Icon icon) {
  calls_.push_back({"message", title, text, icon, Buttons::kOk, Answer::kOk});
}

Answer ScriptedHost::Ask(const std::string& title, const std::string& text, Buttons buttons,
                         Answer /*default_answer*/) {
  const Answer a = Next(&answers_, buttons == Buttons::kOkCancel ? Answer::kOk : Answer::kYes);
  calls_.push_back({"question", title, text, Icon::kQuestion, buttons, a});
  return a;
}

std::optional<std::string> ScriptedHost::InputBox(const std::string& title,
                                                  const std::string& prompt,
                                                  const std::string& default_text) {
  const std::optional<std::string> r = Next(&inputs_, std::optional<std::string>(default_text));
  calls_.push_back(
      {"input", title, prompt, Icon::kNone, Buttons::kOkCancel, r ? Answer::kOk : Answer::kCancel});
  return r;
}

std::string ScriptedHost::ChooseFile(const FileChooser& chooser) {
  file_chooser_ = chooser;
  calls_.push_back({chooser.save ? "save" : "open", chooser.title, chooser.filter, Icon::kNone,
                    Buttons::kOk, Answer::kOk});
  return Next(&paths_, std::string());
}

std::string ScriptedHost::ChooseFolder(const FolderChooser& chooser) {
  folder_chooser_ = chooser;
  calls_.push_back({"folder", chooser.title, "", Icon::kNone, Buttons::kOk, Answer::kOk});
  return Next(&paths_, std::string());
}

CountWordsAnswer ScriptedHost::ShowCountWordsDialog(const CountWordsDialog& dialog) {
  CountWordsAnswer a;
  a.choice = Next(&count_choices_, dialog.count_only_set ? CountChoice::kCountSpecified
                                                         : CountChoice::kCountAllWords);
  calls_.push_back(
      {"count-dialog", dialog.caption, dialog.intro, Icon::kNone, Buttons::kOk, Answer::kOk});
  return a;
}

CountAllPhrasesAnswer ScriptedHost::ShowCountAllPhrasesDialog(const CountAllPhrasesDialog& dialog) {
  phrases_dialog_ = dialog;
  const CountAllPhrasesAnswer a =
      Next(&phrases_answers_,
           CountAllPhrasesAnswer{DialogExit::kAccept, dialog.min_words, dialog.max_words,
                                 dialog.min_occurrences, dialog.exclude_checked, false});
  calls_.push_back(
      {"phrases-dialog", dialog.caption, dialog.intro, Icon::kNone, Buttons::kOk, Answer::kOk});
  return a;
}

CountArrayAnswer ScriptedHost::ShowCountArrayDialog(const CountArrayDialog& dialog) {
  const CountArrayAnswer a = Next(
      &array_answers_, CountArrayAnswer{DialogExit::kAccept, dialog.layout, dialog.zero_cells_blank,
                                        dialog.write_relative_frequency});
  calls_.push_back(
      {"array-dialog", dialog.caption, dialog.intro, Icon::kNone, Buttons::kOk, Answer::kOk});
  return a;
}

LoadOrRemove ScriptedHost::ShowLoadOrRemoveDialog(const LoadOrRemoveDialog& dialog) {
  load_remove_dialog_ = dialog;
  const LoadOrRemove a = Next(&load_remove_answers_, LoadOrRemove::kCancel);
  calls_.push_back(
      {"load-remove", dialog.caption, dialog.path, Icon::kNone, Buttons::kOk, Answer::kOk});
  return a;
}

void ScriptedHost::ShowPopUp(const PopUpMessage& message) {
  calls_.push_back({"popup", "", message.text, Icon::kNone, Buttons::kOk, Answer::kOk});
}

void ScriptedHost::ShowSettingsWindow() {
  calls_.push_back({"settings-window", "", "", Icon::kNone, Buttons::kOk, Answer::kOk});
}

void ScriptedHost::LabelChanged(Label label, const std::string& text, bool visible) {
  labels_[static_cast<int>(label)] = visible ? text : "";
}

void ScriptedHost::IndicatorChanged(Indicator indicator, int value) {
  indicators_[static_cast<int>(indicator)] = value;
}

void ScriptedHost::ResultsChanged(const ResultsChange& change) {
  // A change never keeps more than the box held.
  if (change.keep < 0 || change.keep > static_cast<int64_t>(results_.size())) std::abort();
  results_.resize(static_cast<size_t>(change.keep));
  results_.append(change.added);
  caret_ = change.caret;
  if (truth_ != nullptr && *truth_ != results_) ++results_mismatches_;
  ++results_changes_;
  results_chars_sent_ += static_cast<int64_t>(change.added.size());
}

void ScriptedHost::ProcessEvents() {
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
