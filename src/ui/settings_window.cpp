#include "ui/settings_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <algorithm>

#include "app/frm_main.h"
#include "counting/engine.h"
#include "counting/option_rules.h"
#include "counting/window_rules.h"
#include "counting/words_file_commands.h"
#include "settings/settings.h"
#include "ui/named_controls.h"
#include "ui/option_dialogs.h"
#include "ui/qt_text.h"
#include "ui/ui_frmParams.h"
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

void AddItems(QComboBox* box, const std::vector<std::string>& items) {
  for (const std::string& item : items) box->addItem(Qs(item));
  // setupUi measured the list while it was empty, and a combo box keeps
  // the sizes it measured until its style changes: told so, it measures
  // them anew with its items.
  QEvent style_change(QEvent::StyleChange);
  QCoreApplication::sendEvent(box, &style_change);
}

// The left margin that puts a label under the captions of check boxes.
int CheckBoxIndent(const QWidget* w) {
  const QStyle* style = w->style();
  return style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
}

}  // namespace

SettingsWindow::SettingsWindow(FrmMain* main)
    : QWidget(main, Qt::Window),
      main_(main),
      engine_(main->engine()),
      ui_(std::make_unique<Ui::frmParams>()) {
  ui_->setupUi(this);
  // Taken before any dialog of this window exists, so that none of its
  // controls is mistaken for one of the form's.
  controls_ = NamedControls(this);
  setWindowTitle(Qs(GetMessageText(91)));
  CompleteControls();
  CollectSwitches();
  for (int i = 0; i < 2; ++i) {
    Side(i).select_files->setText(Qs(WordsFilesCaption(engine_.state(), i)));
  }
  for (Label l : {Label::kSettingsFileStatus, Label::kSettingsFile}) {
    const LabelState& state = engine_.state().labels[static_cast<size_t>(l)];
    OnLabelChanged(l, state.text, state.visible);
  }
  ShowSettings("");
  // setupUi measured the controls before their captions and items were
  // set, and a window that has not been shown does not measure them again
  // by itself: they are measured anew, so that ShowBeside sizes the window
  // to what it shows.
  for (QWidget* w : findChildren<QWidget*>()) w->updateGeometry();
  ConnectControls();
  ApplyControlStates();
}

SettingsWindow::~SettingsWindow() = default;

SettingsWindow::WordsSide SettingsWindow::Side(int index) const {
  if (index == 0) {
    return {ui_->cmdSelectWordsFile0, ui_->cboWordsFile0, ui_->cmdClearWordsFile0,
            ui_->txbWordsToIgnoreOrCount0, ui_->cmdClearWordsToIgnoreOrCount0};
  }
  return {ui_->cmdSelectWordsFile1, ui_->cboWordsFile1, ui_->cmdClearWordsFile1,
          ui_->txbWordsToIgnoreOrCount1, ui_->cmdClearWordsToIgnoreOrCount1};
}

void SettingsWindow::CompleteControls() {
  AddItems(ui_->cboCommonWordsLanguages, CommonWordsLanguageItems());
  AddItems(ui_->cboExcessFrequency, ExcessFrequencyItems());
  AddItems(ui_->cboThresholdFrequency, ThresholdFrequencyItems());
  AddItems(ui_->cboShortWordSize, ShortWordSizeItems());
  AddItems(ui_->cboLongWordSize, LongWordSizeItems());
  // Wide enough for the five characters the box takes, in this window's font.
  ui_->txbUserSpecifiedExtraChars->setFixedWidth(fontMetrics().horizontalAdvance("MMMMMMMM"));
  // The two comment markers and "with more than" stand under the captions
  // of the check boxes above them, wherever the style draws those.
  const int indent = CheckBoxIndent(this);
  ui_->layCommentSets->setContentsMargins(indent, 0, 0, 0);
  ui_->lblIgnoreLongWords->setContentsMargins(indent, 0, 0, 0);
  // The frame keeps the path's room while no file is shown.
  QSizePolicy policy = ui_->txbStateFile->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  ui_->txbStateFile->setSizePolicy(policy);
  ui_->txbStateFile->hide();
}

void SettingsWindow::CollectSwitches() {
  for (QCheckBox* box : findChildren<QCheckBox*>()) {
    const QString name = box->objectName();
    Q_ASSERT(name.startsWith(QLatin1String("chk")));
    std::string field = Utf8(name.mid(3));
    Q_ASSERT(SwitchField(&engine_.settings(), field) != nullptr);
    switches_.push_back({box, std::move(field)});
  }
}

void SettingsWindow::ConnectControls() {
  for (const SwitchBox& sw : switches_) {
    connect(sw.box, &QCheckBox::clicked, this,
            [this, field = sw.field](bool checked) { SwitchClicked(field, checked); });
  }
  Settings& s = engine_.settings();
  QLineEdit* extra_chars = ui_->txbUserSpecifiedExtraChars;
  connect(extra_chars, &QLineEdit::textEdited, this, [this](const QString& text) {
    engine_.settings().UserSpecifiedExtraChars = Utf8(text);
    extra_chars_edited_ = true;
  });
  connect(extra_chars, &QLineEdit::editingFinished, this, [this, extra_chars] {
    if (!extra_chars_edited_ || !extra_chars->isEnabled()) return;
    extra_chars_edited_ = false;
    Command([this] { engine_.UserExtraCharsBoxLeft(); });
  });
  for (int i = 0; i < 2; ++i) {
    const WordsSide side = Side(i);
    std::string* words = &s.ExtraWords[static_cast<size_t>(i)];
    connect(side.words, &WordsBox::Edited, this,
            [words](const QString& text) { *words = Utf8(text); });
    connect(side.words, &WordsBox::Finished, this,
            [this, i] { Command([this, i] { engine_.BoxLeft(i); }); });
    connect(side.files, &QComboBox::activated, this, [this, i](int position) {
      Command([=, this] { engine_.WordsFileChosen(i, position); });
    });
    connect(side.select_files, &QPushButton::clicked, this,
            [this, i] { Command([this, i] { engine_.AddWordsFileClicked(i); }); });
    connect(side.clear_files, &QPushButton::clicked, this,
            [this, i] { Command([this, i] { engine_.ClearWordsFilesClicked(i); }); });
    connect(side.clear_words, &QPushButton::clicked, this,
            [this, i] { Command([this, i] { engine_.ClearBoxClicked(i); }); });
  }
  connect(ui_->cboCommonWordsLanguages, &QComboBox::activated, this,
          [this](int language) { Command([=, this] { engine_.CommonWordsChosen(language); }); });
  ConnectList(ui_->cboExcessFrequency, &s.ExcessFrequency, "ExcessFrequency");
  ConnectList(ui_->cboThresholdFrequency, &s.ThresholdFrequency, "ThresholdFrequency");
  ConnectList(ui_->cboShortWordSize, &s.ShortWordSize, "ShortWordSize");
  ConnectList(ui_->cboLongWordSize, &s.LongWordSize, "LongWordSize");

  const auto button = [this](QPushButton* b, const std::function<void()>& command) {
    connect(b, &QPushButton::clicked, this, command);
  };
  button(ui_->cmdSetOrClearCheckboxes0,
         [this] { Command([this] { engine_.SetOrClearCheckboxes(false); }); });
  button(ui_->cmdSetOrClearCheckboxes1,
         [this] { Command([this] { engine_.SetOrClearCheckboxes(true); }); });
  button(ui_->cmdListCountOnlyWords,
         [this] { Command([this] { engine_.ListCountOnlyClicked(); }); });
  button(ui_->cmdRestoreDefaults, [this] {
    Command([this] { engine_.RestoreDefaults(); });
    FocusHideButton();
  });
  button(ui_->cmdSaveState, [this] { Command([this] { engine_.SaveSettingsNow(true); }); });
  button(ui_->cmdInitialize, [this] { Command([this] { engine_.Reinitialize(); }); });
  button(ui_->cmdSaveLoadState0, [this] {
    Command([this] { engine_.SaveSettingsToFile(); });
    raise();
    activateWindow();
  });
  button(ui_->cmdSaveLoadState1, [this] {
    Command([this] { engine_.LoadSettingsFromFile(); });
    raise();
    activateWindow();
  });
  button(ui_->cmdQuit, [this] {
    bool quit = false;
    Command([&] { quit = engine_.ConfirmQuit(); });
    if (quit) main_->close();
  });
  connect(ui_->cmdClose, &QPushButton::clicked, this, &SettingsWindow::HideSettings);
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
  if (ui_->cmdClose->isVisible() && ui_->cmdClose->isEnabled()) ui_->cmdClose->setFocus();
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
    const QSize content = ui_->scrSettings->widget()->sizeHint();
    const QMargins m = layout()->contentsMargins();
    QSize wanted(content.width() + m.left() + m.right(), content.height() + m.top() + m.bottom() +
                                                             layout()->spacing() +
                                                             ui_->cmdClose->sizeHint().height());
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
  QLineEdit* extra_chars = ui_->txbUserSpecifiedExtraChars;
  if (is("UserSpecifiedExtraChars") && extra_chars->text() != Qs(s.UserSpecifiedExtraChars)) {
    const QSignalBlocker block(extra_chars);
    extra_chars->setText(Qs(s.UserSpecifiedExtraChars));
  }
  for (int i = 0; i < 2; ++i) {
    const auto k = static_cast<size_t>(i);
    if (is("ExtraWords" + std::to_string(i))) Side(i).words->SetWords(Qs(s.ExtraWords[k]));
    if (is("WordsFiles" + std::to_string(i))) {
      QComboBox* box = Side(i).files;
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
  if (is("CaseSignificant")) {
    ui_->txbWordsToIgnoreOrCount1->setToolTip(Qs(CountOnlyBoxToolTip(s)));
  }
  if (is("CommonWordsLanguage")) SetIndex(ui_->cboCommonWordsLanguages, s.CommonWordsLanguage);
  if (is("ExcessFrequency")) {
    SetIndex(ui_->cboExcessFrequency, s.ExcessFrequency);
    ui_->lblOccurrences2->setText(Qs(ExcessFrequencyLabel(s)));
  }
  if (is("ThresholdFrequency")) SetIndex(ui_->cboThresholdFrequency, s.ThresholdFrequency);
  if (is("ShortWordSize")) SetIndex(ui_->cboShortWordSize, s.ShortWordSize);
  if (is("LongWordSize")) SetIndex(ui_->cboLongWordSize, s.LongWordSize);
}

void SettingsWindow::OnLabelChanged(Label label, const std::string& text, bool visible) {
  switch (label) {
    case Label::kIgnoreFilesCaption:
      ui_->cmdSelectWordsFile0->setText(Qs(text));
      return;
    case Label::kCountOnlyFilesCaption:
      ui_->cmdSelectWordsFile1->setText(Qs(text));
      return;
    case Label::kSettingsFileStatus:
      ui_->lblState->setText(Qs(text));
      return;
    case Label::kSettingsFile:
      ui_->txbStateFile->setText(Qs(text));
      ui_->txbStateFile->setVisible(visible);
      return;
    default:
      return;
  }
}

void SettingsWindow::ApplyControlStates() {
  ApplyStates(controls_, SettingsWindowControls(engine_.state()), false);
}

}  // namespace vorn
