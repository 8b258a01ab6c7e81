#include "ui/qt_host.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QString>
#include <algorithm>

#include "app/frm_main.h"
#include "counting/engine.h"
#include "ui/modals.h"

namespace vorn {

void QtHost::ShowMessage(const std::string& title, const std::string& text, Icon icon) {
  modals_->ShowMessage(title, text, icon);
}

Answer QtHost::Ask(const std::string& title, const std::string& text, Buttons buttons,
                   Answer default_answer) {
  return modals_->Ask(title, text, buttons, default_answer);
}

std::optional<std::string> QtHost::InputBox(const std::string& title, const std::string& prompt,
                                            const std::string& default_text) {
  return modals_->InputBox(title, prompt, default_text);
}

std::string QtHost::ChooseFile(const FileChooser& chooser) { return modals_->ChooseFile(chooser); }

std::string QtHost::ChooseFolder(const FolderChooser& chooser) {
  return modals_->ChooseFolder(chooser);
}

CountWordsAnswer QtHost::ShowCountWordsDialog(const CountWordsDialog& dialog) {
  return modals_->ShowCountWordsDialog(dialog);
}

CountAllPhrasesAnswer QtHost::ShowCountAllPhrasesDialog(const CountAllPhrasesDialog& dialog) {
  return modals_->ShowCountAllPhrasesDialog(dialog);
}

CountArrayAnswer QtHost::ShowCountArrayDialog(const CountArrayDialog& dialog) {
  return modals_->ShowCountArrayDialog(dialog);
}

LoadOrRemove QtHost::ShowLoadOrRemoveDialog(const LoadOrRemoveDialog& dialog) {
  return modals_->ShowLoadOrRemoveDialog(dialog);
}

void QtHost::ShowPopUp(const PopUpMessage& message) { modals_->ShowPopUp(message); }

void QtHost::ShowSettingsWindow() { window_->ShowSettingsWindow(); }

ClipboardContent QtHost::ReadClipboard() {
  const QString text = QGuiApplication::clipboard()->text();
  ClipboardContent content;
  // A count refuses more than kMaxClipboardChars; one character beyond them
  // is enough to tell.
  const qsizetype keep = std::min<qsizetype>(text.size(), kMaxClipboardChars + 1);
  content.cut = keep < text.size();
  content.text.assign(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(keep));
  return content;
}

void QtHost::BusyChanged(Busy busy) { window_->OnBusyChanged(busy); }

void QtHost::LabelChanged(Label label, const std::string& text, bool visible) {
  window_->OnLabelChanged(label, text, visible);
}

void QtHost::IndicatorChanged(Indicator indicator, int value) {
  window_->OnIndicatorChanged(indicator, value);
}

void QtHost::ResultsChanged(const ResultsChange& change) { window_->OnResultsChanged(change); }

void QtHost::SettingChanged(const std::string& field) { window_->OnSettingChanged(field); }

void QtHost::DisplayControlsChanged(const DisplayControls& controls) {
  window_->OnDisplayControlsChanged(controls);
}

void QtHost::ProcessEvents() {
  // The second pass delivers what the first one posted (above all the
  // repaints that its events asked for), so that they need not wait for
  // the engine's next pause.
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace vorn
