#include "ui/settings_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>

#include "counting/engine.h"
#include "counting/option_rules.h"
#include "counting/window_rules.h"
#include "counting/words_file_commands.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/words_box.h"
#include "util/message_table.h"

namespace vorn {

namespace {

void SetChecked(QCheckBox* box, bool checked) {
  const QSignalBlocker block(box);
  box->setChecked(checked);
}

void SetIndex(QComboBox* box, int index) {
  const QSignalBlocker block(box);
  box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

int TwipsToPixels(const QWidget* w, int twips) { return twips * w->logicalDpiY() / 1440; }

}  // namespace

SettingsWindow::SettingsWindow(MainWindow* main)
    : QWidget(main, Qt::Window), main_(main), engine_(main->engine()) {
  setObjectName("frmParams");
  setWindowTitle(Qs(GetMessageText(91)));
  BuildControls();
  for (int i = 0; i < 2; ++i) {
    cmd_select_words_file_[i]->setText(Qs(WordsFilesCaption(engine_.state(), i)));
  }
  for (Label l : {Label::kSettingsFileStatus, Label::kSettingsFile}) {
    const LabelState& state = engine_.state().labels[static_cast<size_t>(l)];
    OnLabelChanged(l, state.text, state.visible);
  }
  ShowSettings("");
  ConnectControls();
  ApplyControlStates();
}

void SettingsWindow::ConnectControls() {
  for (const SwitchBox& sw : switches_) {
    connect(sw.box, &QCheckBox::clicked, this,
            [this, field = sw.field](bool checked) { SwitchClicked(field, checked); });
  }
  Settings& s = engine_.settings();
  connect(txb_extra_chars_, &QLineEdit::textEdited, this, [this](const QString& text) {
    engine_.settings().UserSpecifiedExtraChars = Utf8(text);
    extra_chars_edited_ = true;
  });
  connect(txb_extra_chars_, &QLineEdit::editingFinished, this, [this] {
    if (!extra_chars_edited_ || !txb_extra_chars_->isEnabled()) return;
    extra_chars_edited_ = false;
    Command([this] { engine_.UserExtraCharsBoxLeft(); });
  });
  for (int i = 0; i < 2; ++i) {
    std::string* words = &s.ExtraWords[static_cast<size_t>(i)];
    connect(txb_words_[i], &WordsBox::Edited, this,
            [words](const QString& text) { *words = Utf8(text); });
    connect(txb_words_[i], &WordsBox::Finished, this,
            [this, i] { Command([this, i] { engine_.BoxLeft(i); }); });
    connect(cbo_words_file_[i], &QComboBox::activated, this, [this, i](int position) {
      Command([=, this] { engine_.WordsFileChosen(i, position); });
    });
  }
  connect(cbo_languages_, &QComboBox::activated, this,
          [this](int language) { Command([=, this] { engine_.CommonWordsChosen(language); }); });
  ConnectList(cbo_excess_, &s.ExcessFrequency, "ExcessFrequency");
  ConnectList(cbo_threshold_, &s.ThresholdFrequency, "ThresholdFrequency");
  ConnectList(cbo_short_, &s.ShortWordSize, "ShortWordSize");
  ConnectList(cbo_long_, &s.LongWordSize, "LongWordSize");

  const auto button = [this](const QString& name, const std::function<void()>& command) {
    auto* b = qobject_cast<QPushButton*>(controls_.value(name));
    Q_ASSERT(b != nullptr);
    connect(b, &QPushButton::clicked, this, command);
  };
  for (int i = 0; i < 2; ++i) {
    const QString n = QString::number(i);
    button("cmdSelectWordsFile" + n,
           [this, i] { Command([this, i] { engine_.AddWordsFileClicked(i); }); });
    button("cmdClearWordsFile" + n,
           [this, i] { Command([this, i] { engine_.ClearWordsFilesClicked(i); }); });
    button("cmdClearWordsToIgnoreOrCount" + n,
           [this, i] { Command([this, i] { engine_.ClearBoxClicked(i); }); });
    button("cmdSetOrClearCheckboxes" + n,
           [this, i] { Command([this, i] { engine_.SetOrClearCheckboxes(i == 1); }); });
  }
  button("cmdListCountOnlyWords", [this] { Command([this] { engine_.ListCountOnlyClicked(); }); });
  button("cmdRestoreDefaults", [this] {
    Command([this] { engine_.RestoreDefaults(); });
    FocusHideButton();
  });
  button("cmdSaveState", [this] { Command([this] { engine_.SaveSettingsNow(true); }); });
  button("cmdInitialize", [this] { Command([this] { engine_.Reinitialize(); }); });
  button("cmdSaveLoadState0", [this] {
    Command([this] { engine_.SaveSettingsToFile(); });
    raise();
    activateWindow();
  });
  button("cmdSaveLoadState1", [this] {
    Command([this] { engine_.LoadSettingsFromFile(); });
    raise();
    activateWindow();
  });
  button("cmdQuit", [this] {
    bool quit = false;
    Command([&] { quit = engine_.ConfirmQuit(); });
    if (quit) main_->close();
  });
  connect(cmd_close_, &QPushButton::clicked, this, &SettingsWindow::HideSettings);
}

// --- Commands ------------------------------------------------------------------------

void SettingsWindow::Command(const std::function<void()>& command) {
  main_->Command(command);
  // A list the user chose from shows the engine's choice again (a
  // cancelled choice, a file that failed to load).
  ShowSettings("WordsFiles0");
  ShowSettings("WordsFiles1");
  ShowSettings("CommonWordsLanguage");
  if (engine_.busy() == Busy::kIdle) engine_.OnTimer();
}

void SettingsWindow::SwitchClicked(const std::string& field, bool checked) {
  int16_t* value = SwitchField(&engine_.settings(), field);
  const int previous = *value;
  *value = checked ? 1 : 0;
  bool done = false;
  main_->Command([&] { done = engine_.OptionChanged(field, previous); });
  // Refused while busy: the box shows the setting again.
  if (!done) *value = static_cast<int16_t>(previous);
  ShowSettings(field);
}

void SettingsWindow::ConnectList(QComboBox* box, int16_t* field, const std::string& name) {
  // The choice counts from the next run (the frame is locked during one).
  connect(box, &QComboBox::activated, this, [this, field, name](int index) {
    *field = static_cast<int16_t>(index);
    ShowSettings(name);
  });
}

void SettingsWindow::HideSettings() {
  hide();
  main_->SetTheFocus();
}

void SettingsWindow::FocusHideButton() {
  if (cmd_close_->isVisible() && cmd_close_->isEnabled()) cmd_close_->setFocus();
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
  // Closing the window only hides it, as "Hide settings" does.
  event->accept();
  main_->SetTheFocus();
}

// --- Showing ---------------------------------------------------------------------------

void SettingsWindow::ShowBeside() {
  const QRect area = (main_->screen() != nullptr ? main_->screen() : screen())->availableGeometry();
  show();
  if (!sized_) {
    // The first time, the whole window when the screen has room for it,
    // else what fits (the columns then scroll). The sizes are those of the
    // shown window, whose style and fonts are settled.
    sized_ = true;
    const QSize content = findChild<QScrollArea*>("scrSettings")->widget()->sizeHint();
    const QMargins m = layout()->contentsMargins();
    QSize wanted(content.width() + m.left() + m.right(), content.height() + m.top() + m.bottom() +
                                                             layout()->spacing() +
                                                             cmd_close_->sizeHint().height());
    const QSize room(area.width() - 20, area.height() - 40);
    if (wanted.height() > room.height()) {
      wanted.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    }
    resize(wanted.boundedTo(room));
  }
  QPoint place;
  if (main_->windowState() == Qt::WindowNoState) {
    const QWidget* settings_button = main_->findChild<QWidget*>("cmdSetParameters");
    place = QPoint(main_->x() + settings_button->width() + TwipsToPixels(main_, 300),
                   main_->y() + TwipsToPixels(main_, 400));
  } else {
    place = area.center() - QPoint(width() / 2, height() / 2);
  }
  // Kept on the screen.
  place.setX(std::clamp(place.x(), area.left(), std::max(area.left(), area.right() - width())));
  place.setY(std::clamp(place.y(), area.top(), std::max(area.top(), area.bottom() - height())));
  move(place);
  raise();
  activateWindow();
  FocusHideButton();
}

void SettingsWindow::ShowSettings(const std::string& field) {
  Settings& s = engine_.settings();
  const bool all = field.empty();
  const auto is = [&](const std::string& name) { return all || field == name; };
  for (const SwitchBox& sw : switches_) {
    if (is(sw.field)) SetChecked(sw.box, *SwitchField(&s, sw.field) != 0);
  }
  if (is("UserSpecifiedExtraChars") && txb_extra_chars_->text() != Qs(s.UserSpecifiedExtraChars)) {
    const QSignalBlocker block(txb_extra_chars_);
    txb_extra_chars_->setText(Qs(s.UserSpecifiedExtraChars));
  }
  for (int i = 0; i < 2; ++i) {
    const auto k = static_cast<size_t>(i);
    if (is("ExtraWords" + std::to_string(i))) txb_words_[i]->SetWords(Qs(s.ExtraWords[k]));
    if (is("WordsFiles" + std::to_string(i))) {
      QComboBox* box = cbo_words_file_[i];
      QStringList paths;
      for (const std::string& path : s.WordsFiles[k].paths) paths << Qs(path);
      QStringList shown;
      for (int n = 0; n < box->count(); ++n) shown << box->itemText(n);
      if (shown != paths) {
        const QSignalBlocker block(box);
        box->clear();
        box->addItems(paths);
      }
      SetIndex(box, s.WordsFiles[k].selected);
    }
  }
  if (is("CaseSignificant")) txb_words_[1]->setToolTip(Qs(CountOnlyBoxToolTip(s)));
  if (is("CommonWordsLanguage")) SetIndex(cbo_languages_, s.CommonWordsLanguage);
  if (is("ExcessFrequency")) {
    SetIndex(cbo_excess_, s.ExcessFrequency);
    lbl_occurrences2_->setText(Qs(ExcessFrequencyLabel(s)));
  }
  if (is("ThresholdFrequency")) SetIndex(cbo_threshold_, s.ThresholdFrequency);
  if (is("ShortWordSize")) SetIndex(cbo_short_, s.ShortWordSize);
  if (is("LongWordSize")) SetIndex(cbo_long_, s.LongWordSize);
}

void SettingsWindow::OnLabelChanged(Label label, const std::string& text, bool visible) {
  switch (label) {
    case Label::kIgnoreFilesCaption:
      cmd_select_words_file_[0]->setText(Qs(text));
      return;
    case Label::kCountOnlyFilesCaption:
      cmd_select_words_file_[1]->setText(Qs(text));
      return;
    case Label::kSettingsFileStatus:
      lbl_state_->setText(Qs(text));
      return;
    case Label::kSettingsFile:
      txb_state_file_->setText(Qs(text));
      txb_state_file_->setVisible(visible);
      return;
    default:
      return;
  }
}

void SettingsWindow::ApplyControlStates() {
  for (const ControlState& c : SettingsWindowControls(engine_.state())) {
    QWidget* w = controls_.value(QString::fromStdString(c.name));
    if (w == nullptr) continue;
    w->setEnabled(c.enabled);
  }
}

}  // namespace vorn
