#include "app/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QShortcut>
#include <QUrl>
#include <utility>

#include "counting/window_rules.h"
#include "input/file_patterns.h"
#include "ui/help_window.h"
#include "ui/modals.h"
#include "ui/named_controls.h"
#include "ui/qt_text.h"
#include "ui/results_box.h"
#include "ui/settings_window.h"
#include "ui_frmMain.h"
#include "util/message_table.h"
#include "util/program_folder.h"

// The window library's resource (resources/vorn.qrc: the help text and
// the program's icon). A resource of a static library is linked into the
// program only if something names it.
static void LoadResources() { Q_INIT_RESOURCE(vorn); }

namespace vorn {

namespace {

// Sets a check box without announcing the change.
void SetChecked(QCheckBox* box, bool checked) {
  const QSignalBlocker block(box);
  box->setChecked(checked);
}

void SetText(QLineEdit* box, const std::string& text) {
  const QString t = Qs(text);
  if (box->text() == t) return;
  const QSignalBlocker block(box);
  box->setText(t);
}

// The activity indicator's four phases: arrows pointing left, up, right
// and down.
const QString kActivityPhases[4] = {QStringLiteral("\u2190"), QStringLiteral("\u2191"),
                                    QStringLiteral("\u2192"), QStringLiteral("\u2193")};

}  // namespace

FrmMain::FrmMain(Modals* modals, QWidget* parent)
    : QWidget(parent),
      host_(this, modals),
      modals_(modals),
      engine_(&host_),
      ui_(std::make_unique<Ui::frmMain>()) {
  // Once for the program.
  [[maybe_unused]] static const bool resources_loaded = (LoadResources(), true);
  ui_->setupUi(this);
  setWindowTitle(Qs(GetMessageText(1)));
  modals_->SetParentWindow(this);
  SetUpControls();
  settings_window_ = new SettingsWindow(this);
  ShowSettings("");
  ConnectControls();
  ApplyControlStates();
  engine_.SetCountWordsCaption();
  // Events run at least every 25 ms of the engine's work, so that a
  // repaint asked for at any moment is done within two such pauses.
  engine_.SetEventThrottle(2048, std::chrono::milliseconds(25));
  timer1_.setInterval(1000);
  connect(&timer1_, &QTimer::timeout, this, [this] {
    if (engine_.busy() == Busy::kIdle && command_depth_ == 0) engine_.OnTimer();
  });
}

FrmMain::~FrmMain() = default;

void FrmMain::SetUpControls() {
  controls_ = NamedControls(this);
  const std::pair<Label, QLabel*> labels[] = {
      {Label::kNumberOfWords, ui_->lblNumberOfWords},
      {Label::kNumWordsExcluded, ui_->lblNumWordsExcluded},
      {Label::kNumOccurrences, ui_->lblNumOccurrences},
      {Label::kTotalNumOccurrences, ui_->lblTotalNumOccurrences},
      {Label::kTimeElapsed, ui_->lblTimeElapsed0},
      {Label::kTimeElapsed2, ui_->lblTimeElapsed1},
      {Label::kFilesize, ui_->lblFilesize},
      {Label::kXmlSize, ui_->lblXMLsize},
      {Label::kFile, ui_->lblFile},
      {Label::kFilesScanned, ui_->lblFilesScanned},
  };
  for (const auto& [label, widget] : labels) labels_[static_cast<int>(label)] = widget;

  QString intro;
  for (int n : {26, 20, 27, 28, 24, 29}) {
    if (!intro.isEmpty()) intro += "\n\n";
    intro += Qs(GetMessageText(n));
  }
  ui_->txbIntro->setPlainText(intro);
  ui_->txbIntro->setMinimumHeight(fontMetrics().lineSpacing() * 4);
  ui_->txbIntro->setMaximumHeight(fontMetrics().lineSpacing() * 9);
  ui_->lblSelectSource->setText(Qs(GetMessageText(19)));
  ui_->cmdCountArray->setText(Qs(GetMessageText(101)));
  ui_->cboWordOrder->addItems({Qs(GetMessageText(43)), Qs(GetMessageText(44))});
  for (int n = 0; n < kDisplayFormatCount; ++n) {
    ui_->cboDisplayFormat->addItem(QString::number(n) + ": " + Qs(GetMessageText(51 + n)));
  }
  ui_->cmdCountWords->setText(Qs(GetMessageText(21)));
  ui_->cmdCountWords->setMinimumHeight(ui_->cmdCountWords->sizeHint().height() * 3 / 2);
  ui_->cmdCountAllPhrases->setMinimumHeight(ui_->cmdCountWords->minimumHeight());
  // The left column keeps the width its controls ask for.
  ui_->fraControls->setFixedWidth(ui_->fraControls->sizeHint().width() + 20);

  // The window is never narrower than the controls and a results box that
  // still shows a line of the listing.
  ui_->txbOutput->setMinimumWidth(
      ui_->txbOutput->fontMetrics().horizontalAdvance(QString(32, 'x')));
  // The file being read and the count lines appear when the engine writes
  // them; until then the manual link stands where the count lines go.
  for (QLabel* l : {ui_->lblFile, ui_->lblNumberOfWords, ui_->lblNumWordsExcluded,
                    ui_->lblNumOccurrences, ui_->lblTotalNumOccurrences}) {
    l->hide();
  }
  ui_->lblTwirler->setMinimumWidth(fontMetrics().horizontalAdvance("MM"));
  for (int row = 0; row < 4; ++row) {
    ui_->layCounts->setRowMinimumHeight(row, fontMetrics().lineSpacing());
  }
}

void FrmMain::ConnectControls() {
  const InputSource sources[3] = {InputSource::kClipboard, InputSource::kSingleFile,
                                  InputSource::kFolder};
  QRadioButton* const options[3] = {ui_->optOnClipboard, ui_->optInFile, ui_->optFolder};
  for (int i = 0; i < 3; ++i) {
    connect(options[i], &QRadioButton::clicked, this, [this, source = sources[i]] {
      Command([this, source] { engine_.SourceChosen(source); });
      ShowSettings("Source");
    });
  }
  Settings& s = engine_.settings();
  const auto text_box = [this](QLineEdit* box, std::string* field,
                               const std::function<void()>& left) {
    connect(box, &QLineEdit::textEdited, this, [this, box, field](const QString& text) {
      *field = Utf8(text);
      edited_[box] = true;
    });
    connect(box, &QLineEdit::editingFinished, this, [this, box, left] {
      if (!edited_.value(box) || !box->isEnabled()) return;
      edited_[box] = false;
      Command(left);
    });
  };
  text_box(ui_->txbFile0, &s.InputFilePath, [this] { engine_.FileBoxLeft(0); });
  text_box(ui_->txbFile1, &s.OutputFilePath, [this] { engine_.FileBoxLeft(1); });
  text_box(ui_->txbFolder, &s.FolderPath, [this] { engine_.FolderBoxLeft(); });
  QLineEdit* const specs[2] = {ui_->txbFileFilepathSpecifications0,
                               ui_->txbFileFilepathSpecifications1};
  for (int i = 0; i < 2; ++i) {
    text_box(specs[i], &s.FileFilepathSpecifications[static_cast<size_t>(i)],
             [this, i] { engine_.FileSpecBoxLeft(i); });
  }

  const auto button = [this](QPushButton* b, const std::function<void()>& command) {
    connect(b, &QPushButton::clicked, this, [this, command] { Command(command); });
  };
  button(ui_->cmdFile0, [this] { engine_.ChooseInputFile(); });
  button(ui_->cmdFile1, [this] { engine_.ChooseOutputFile(); });
  button(ui_->cmdFolder, [this] { engine_.ChooseFolder(); });
  button(ui_->cmdClearFile0, [this] { engine_.ClearInputFile(); });
  button(ui_->cmdClearFile1, [this] { engine_.ClearOutputFile(); });
  button(ui_->cmdClearFolder, [this] { engine_.ClearFolder(); });
  button(ui_->cmdListFiles, [this] { engine_.ListFiles(); });
  button(ui_->cmdCountArray, [this] { engine_.CountArray(); });
  button(ui_->cmdCountWords, [this] { engine_.CountWords(); });
  button(ui_->cmdCountAllPhrases, [this] { engine_.CountAllPhrases(); });
  button(ui_->cmdSaveState, [this] { engine_.SaveSettingsNow(false); });
  button(ui_->cmdClearOutput, [this] { engine_.ClearTextbox(); });
  button(ui_->cmdSetParameters, [this] { ShowSettingsWindow(); });
  button(ui_->cmdHelp, [this] { ShowHelp(); });
  connect(ui_->cmdQuit, &QPushButton::clicked, this, &QWidget::close);

  // The display options relist the results; refused while busy, the
  // control shows the setting again.
  const auto relist = [this](int16_t* field, int value, DisplayOption option) {
    const int16_t before = *field;
    *field = static_cast<int16_t>(value);
    bool done = false;
    Command([&] { done = engine_.DisplayOptionChanged(option); });
    if (!done) *field = before;
  };
  const auto display = [this, relist](QCheckBox* box, int16_t* field, DisplayOption option) {
    connect(box, &QCheckBox::clicked, this, [box, field, option, relist](bool checked) {
      relist(field, checked ? 1 : 0, option);
      SetChecked(box, *field != 0);
    });
  };
  display(ui_->chkDisplayRelativeFrequency, &s.DisplayRelativeFrequency,
          DisplayOption::kRelativeFrequency);
  display(ui_->chkSortByNumberOfFiles, &s.SortByNumberOfFiles, DisplayOption::kSortByNumberOfFiles);
  const auto list = [this, relist](QComboBox* box, int16_t* field, DisplayOption option) {
    connect(box, &QComboBox::activated, this, [box, field, option, relist](int index) {
      relist(field, index, option);
      const QSignalBlocker block(box);
      box->setCurrentIndex(*field);
    });
  };
  list(ui_->cboWordOrder, &s.WordOrder, DisplayOption::kWordOrder);
  list(ui_->cboDisplayFormat, &s.DisplayFormat, DisplayOption::kDisplayFormat);

  connect(ui_->chkIncludeSubfolders, &QCheckBox::clicked, this,
          [this](bool checked) { engine_.settings().IncludeSubfolders = checked ? 1 : 0; });
  connect(ui_->chkSuppressFilenames, &QCheckBox::clicked, this,
          [this](bool checked) { engine_.settings().SuppressFilenames = checked ? 1 : 0; });
  connect(ui_->chkSuppressWords, &QCheckBox::clicked, this, [this](bool checked) {
    engine_.settings().SuppressWords = checked ? 1 : 0;
    engine_.SuppressWordsChanged();
    ui_->chkSuppressWords->setToolTip(Qs(SuppressWordsToolTip(engine_.settings())));
  });
  connect(ui_->chkDisableOutputToFile, &QCheckBox::clicked, this, [this](bool checked) {
    int16_t& field = engine_.settings().DisableOutputToFile;
    const int16_t before = field;
    field = checked ? 1 : 0;
    bool done = false;
    Command([&] { done = engine_.DisableOutputToFileChanged(); });
    if (!done) field = before;
    SetChecked(ui_->chkDisableOutputToFile, field != 0);
  });

  connect(ui_->txbOutput, &ResultsBox::Clicked, this,
          [this](bool right_button) { engine_.ResultsBoxClicked(right_button); });
  connect(ui_->lblOnlineDocumentation, &QLabel::linkActivated, this, [this] { OpenManual(); });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, [this] { ShowHelp(); });
}

// --- Commands ----------------------------------------------------------------------

void FrmMain::Command(const std::function<void()>& command) {
  ++command_depth_;
  command();
  --command_depth_;
  AfterCommand();
}

void FrmMain::AfterCommand() {
  if (command_depth_ > 0 || engine_.busy() != Busy::kIdle) return;
  if (quit_pending_) {
    close();
    return;
  }
  ApplyControlStates();
  SetTheFocus();
}

void FrmMain::ApplyControlStates() {
  ApplyStates(controls_, MainWindowControls(engine_.state(), false), true);
  if (settings_window_ != nullptr) settings_window_->ApplyControlStates();
}

void FrmMain::SetTheFocus() {
  if (!isVisible()) return;
  QWidget* w = controls_.value(QString::fromStdString(FocusTarget(engine_.state(), false)));
  if (w != nullptr && w->isVisible() && w->isEnabled()) w->setFocus();
}

void FrmMain::StartUp() {
  Command([this] { engine_.StartUp(); });
  timer1_.start();
}

void FrmMain::closeEvent(QCloseEvent* event) {
  if (!quitting_) {
    if (engine_.busy() != Busy::kIdle || command_depth_ > 0) {
      // The run ends silently at its next pause; the click that started it
      // then returns and quits (AfterCommand).
      quit_pending_ = true;
      engine_.StopSilently();
      event->ignore();
      return;
    }
    quitting_ = true;
    timer1_.stop();
    engine_.Quit();
  }
  if (help_ != nullptr) help_->close();
  settings_window_->hide();
  event->accept();
}

// --- What the engine reports ---------------------------------------------------------

void FrmMain::OnBusyChanged(Busy) { ApplyControlStates(); }

void FrmMain::OnLabelChanged(Label label, const std::string& text, bool visible) {
  switch (label) {
    case Label::kCountWordsCaption:
      ui_->cmdCountWords->setText(Qs(text));
      ui_->cmdCountWords->repaint();
      return;
    case Label::kCountArrayCaption:
      ui_->cmdCountArray->setText(Qs(text));
      return;
    case Label::kIgnoreFilesCaption:
    case Label::kCountOnlyFilesCaption:
    case Label::kSettingsFileStatus:
    case Label::kSettingsFile:
      if (settings_window_ != nullptr) settings_window_->OnLabelChanged(label, text, visible);
      return;
    default:
      break;
  }
  QLabel* l = labels_[static_cast<int>(label)];
  if (l == nullptr) return;
  l->setText(Qs(text));
  l->setVisible(visible);
  ShowCountLinesOrLink();
}

void FrmMain::OnIndicatorChanged(Indicator indicator, int value) {
  if (indicator == Indicator::kActivity) {
    ui_->lblTwirler->setText(value >= 0 && value < 4 ? kActivityPhases[value] : QString());
    return;
  }
  QLabel* l = labels_[static_cast<int>(indicator == Indicator::kFolderProgress
                                           ? Label::kNumOccurrences
                                           : Label::kTotalNumOccurrences)];
  if (value < 0) {
    l->setFont(font());
    l->setText(Qs(engine_.state()
                      .labels[static_cast<size_t>(indicator == Indicator::kFolderProgress
                                                      ? Label::kNumOccurrences
                                                      : Label::kTotalNumOccurrences)]
                      .text));
    return;
  }
  l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  l->setText(QString::fromStdString(ProgressBarText(value)));
  l->show();
  ShowCountLinesOrLink();
}

void FrmMain::ShowCountLinesOrLink() {
  bool any = false;
  for (Label l : {Label::kNumberOfWords, Label::kNumWordsExcluded, Label::kNumOccurrences,
                  Label::kTotalNumOccurrences}) {
    any = any || !labels_[static_cast<int>(l)]->isHidden();
  }
  ui_->lblOnlineDocumentation->setVisible(!any);
}

void FrmMain::OnResultsChanged(const ResultsChange& change) { ui_->txbOutput->Apply(change); }

void FrmMain::OnSettingChanged(const std::string& field) {
  ShowSettings(field);
  if (settings_window_ != nullptr) settings_window_->ShowSettings(field);
  if (field == "Source" || field == "OutputFilePath" || field == "InputFilePath" ||
      field == "FolderPath") {
    ApplyControlStates();
  }
}

void FrmMain::OnDisplayControlsChanged(const DisplayControls& controls) {
  ui_->chkDisplayRelativeFrequency->setEnabled(controls.relative_frequency_enabled);
  ui_->chkSortByNumberOfFiles->setEnabled(controls.sort_by_files_enabled);
}

void FrmMain::ShowSettings(const std::string& field) {
  const Settings& s = engine_.settings();
  const bool all = field.empty();
  const auto is = [&](const char* name) { return all || field == name; };
  if (is("Source")) {
    const int index = static_cast<int>(s.Source);
    QRadioButton* const options[3] = {ui_->optOnClipboard, ui_->optInFile, ui_->optFolder};
    for (int i = 0; i < 3; ++i) {
      const QSignalBlocker block(options[i]);
      options[i]->setChecked(i == index);
    }
  }
  if (is("InputFilePath")) SetText(ui_->txbFile0, s.InputFilePath);
  if (is("OutputFilePath")) SetText(ui_->txbFile1, s.OutputFilePath);
  if (is("FolderPath")) SetText(ui_->txbFolder, s.FolderPath);
  QLineEdit* const specs[2] = {ui_->txbFileFilepathSpecifications0,
                               ui_->txbFileFilepathSpecifications1};
  for (int i = 0; i < 2; ++i) {
    const std::string name = "FileFilepathSpecifications" + std::to_string(i);
    if (!all && field != name && field != "Source") continue;
    const std::string& text = s.FileFilepathSpecifications[static_cast<size_t>(i)];
    SetText(specs[i], text);
    specs[i]->setToolTip(Qs(SpecToolTip(i, text)));
  }
  if (is("IncludeSubfolders")) SetChecked(ui_->chkIncludeSubfolders, s.IncludeSubfolders != 0);
  if (is("DisableOutputToFile")) {
    SetChecked(ui_->chkDisableOutputToFile, s.DisableOutputToFile != 0);
  }
  if (is("DisplayRelativeFrequency")) {
    SetChecked(ui_->chkDisplayRelativeFrequency, s.DisplayRelativeFrequency != 0);
  }
  if (is("SortByNumberOfFiles")) {
    SetChecked(ui_->chkSortByNumberOfFiles, s.SortByNumberOfFiles != 0);
  }
  if (is("SuppressFilenames")) SetChecked(ui_->chkSuppressFilenames, s.SuppressFilenames != 0);
  if (is("SuppressWords")) {
    SetChecked(ui_->chkSuppressWords, s.SuppressWords != 0);
    ui_->chkSuppressWords->setToolTip(Qs(SuppressWordsToolTip(s)));
  }
  if (is("WordOrder")) {
    const QSignalBlocker block(ui_->cboWordOrder);
    ui_->cboWordOrder->setCurrentIndex(s.WordOrder);
  }
  if (is("DisplayFormat")) {
    const QSignalBlocker block(ui_->cboDisplayFormat);
    ui_->cboDisplayFormat->setCurrentIndex(s.DisplayFormat);
  }
}

// --- The other windows -----------------------------------------------------------------

void FrmMain::ShowSettingsWindow() { settings_window_->ShowBeside(); }

void FrmMain::ShowHelp() {
  if (help_ == nullptr) help_ = new HelpWindow(this);
  help_->ShowOver(this);
}

void FrmMain::OpenManual() {
  const std::string manual = FindManual();
  if (manual.empty() ||
      !QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(manual)))) {
    modals_->ShowMessage("Online user manual",
                         manual.empty() ? "The user manual was not found beside the program."
                                        : "No program could be started to show the user "
                                          "manual:\r\n" +
                                              manual,
                         Icon::kExclamation);
  }
}

}  // namespace vorn
