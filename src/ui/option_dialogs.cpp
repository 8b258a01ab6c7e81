#include "ui/option_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/qt_text.h"
#include "ui_frmCountWordsPhrases.h"

namespace vorn {

namespace {

QLabel* WrappedLabel(const QString& name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setWordWrap(true);
  return label;
}

QPushButton* Button(const QString& name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

QCheckBox* CheckBox(const QString& name, const QString& caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

// The row of buttons at the foot of a dialog.
QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (QPushButton* b : buttons) row->addWidget(b);
  return row;
}

// A dialog as wide as a paragraph reads well.
void SetReadableWidth(QDialog* dialog) { dialog->setMinimumWidth(TwipsToPixels(dialog, 7200)); }

// The file-list box: the engine's caption, shown when the record says so.
void ShowFileList(QCheckBox* box, const std::string& caption, bool visible) {
  box->setText(Qs(caption));
  box->setVisible(visible);
}

bool FileListTicked(const QCheckBox* box) { return !box->isHidden() && box->isChecked(); }

}  // namespace

int TwipsToPixels(const QWidget* widget, int twips) { return twips * widget->logicalDpiX() / 1440; }

// --- Count words/phrases ------------------------------------------------------

CountWordsDialogWidget::CountWordsDialogWidget(const CountWordsDialog& record, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmCountWordsPhrases>()) {
  ui_->setupUi(this);
  setWindowTitle(Qs(record.caption));
  SetReadableWidth(this);
  ui_->lblIntro->setText(Qs(record.intro));
  ShowFileList(ui_->chkFileList, record.file_list_caption, record.file_list_visible);
  ui_->cmdCountSpecifiedWordsPhrases->setVisible(record.count_only_set);
  connect(ui_->cmdCountSpecifiedWordsPhrases, &QPushButton::clicked, this,
          [this] { Choose(CountChoice::kCountSpecified); });
  connect(ui_->cmdCountAllWords, &QPushButton::clicked, this,
          [this] { Choose(CountChoice::kCountAllWords); });
  connect(ui_->cmdSetParameters, &QPushButton::clicked, this,
          [this] { Choose(CountChoice::kGoToSettings); });
  connect(ui_->cmdCancel, &QPushButton::clicked, this, [this] { Choose(CountChoice::kCancel); });
  (record.count_only_set ? ui_->cmdCountSpecifiedWordsPhrases : ui_->cmdCountAllWords)->setFocus();
}

CountWordsDialogWidget::~CountWordsDialogWidget() = default;

void CountWordsDialogWidget::Choose(CountChoice choice) {
  choice_ = choice;
  choice == CountChoice::kCancel ? reject() : accept();
}

CountWordsAnswer CountWordsDialogWidget::answer() const {
  return {choice_, FileListTicked(ui_->chkFileList)};
}

void OptionDialog::AddExitButtons(QBoxLayout* layout, const char* name, const char* caption) {
  QPushButton* accept_button = Button(name, caption, this);
  QPushButton* settings = Button("cmdSetParameters", "Go to 'Settings'", this);
  QPushButton* cancel = Button("cmdCancel", "Cancel", this);
  accept_button->setDefault(true);
  layout->addLayout(ButtonRow({accept_button, settings, cancel}));
  const auto leave = [this](DialogExit exit) {
    exit_ = exit;
    exit == DialogExit::kCancel ? reject() : accept();
  };
  connect(accept_button, &QPushButton::clicked, this, [leave] { leave(DialogExit::kAccept); });
  connect(settings, &QPushButton::clicked, this, [leave] { leave(DialogExit::kGoToSettings); });
  connect(cancel, &QPushButton::clicked, this, [leave] { leave(DialogExit::kCancel); });
}

// --- Count all phrases ----------------------------------------------------------

CountAllPhrasesDialogWidget::CountAllPhrasesDialogWidget(const CountAllPhrasesDialog& record,
                                                         QWidget* parent)
    : OptionDialog(parent) {
  setObjectName("frmCountAllPhrases");
  setWindowTitle(Qs(record.caption));
  SetReadableWidth(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(WrappedLabel("lblIntro", Qs(record.intro), this));
  QStringList items;
  for (const std::string& item : record.items) items << Qs(item);
  auto* grid = new QGridLayout;
  const auto add_list = [&](const QString& label_name, const QString& caption,
                            const QString& list_name, int position, int row) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(label_name);
    auto* list = new QComboBox(this);
    list->setObjectName(list_name);
    list->addItems(items);
    list->setCurrentIndex(position);
    label->setBuddy(list);
    grid->addWidget(label, row, 0);
    grid->addWidget(list, row, 1);
    return list;
  };
  min_words_ =
      add_list("lblPhraseLength0", "Minimum number of words in phrase:", "cboPhraseLength0",
               record.min_words, 0);
  max_words_ =
      add_list("lblPhraseLength1", "Maximum number of words in phrase:", "cboPhraseLength1",
               record.max_words, 1);
  min_occurrences_ =
      add_list("lblMinimumFrequency", "Minimum number of occurrences:", "cboMinimumFrequency",
               record.min_occurrences, 2);
  grid->setColumnStretch(2, 1);
  layout->addLayout(grid);
  exclude_ =
      CheckBox("chkExcludePhrases", "Exclude phrases consisting only of words to ignore", this);
  exclude_->setEnabled(record.exclude_enabled);
  exclude_->setChecked(record.exclude_checked);
  layout->addWidget(exclude_);
  layout->addWidget(WrappedLabel("lblExcludeNote", Qs(record.exclude_note), this));
  file_list_ = CheckBox("chkFileList", Qs(record.file_list_caption), this);
  file_list_->setVisible(record.file_list_visible);
  layout->addWidget(file_list_);
  AddExitButtons(layout, "cmdCountAllPhrases", "Count phrases");
}

CountAllPhrasesAnswer CountAllPhrasesDialogWidget::answer() const {
  CountAllPhrasesAnswer a;
  a.exit = exit_;
  a.min_words = min_words_->currentIndex();
  a.max_words = max_words_->currentIndex();
  a.min_occurrences = min_occurrences_->currentIndex();
  a.exclude = exclude_->isChecked();
  a.file_list = !file_list_->isHidden() && file_list_->isChecked();
  return a;
}

// --- Count array -------------------------------------------------------------------

CountArrayDialogWidget::CountArrayDialogWidget(const CountArrayDialog& record, QWidget* parent)
    : OptionDialog(parent) {
  setObjectName("frmCountArray");
  setWindowTitle(Qs(record.caption));
  SetReadableWidth(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(WrappedLabel("lblIntro", Qs(record.intro), this));
  auto* options = new QGroupBox("Options", this);
  options->setObjectName("lblOptions");
  auto* options_layout = new QVBoxLayout(options);
  options_layout->addWidget(WrappedLabel("lblOptionsText", Qs(record.options_text), options));
  layout_ = new QButtonGroup(this);
  const char* names[] = {"optAlphabetical", "optByFrequency", "optBoth"};
  const char* captions[] = {"One table, words/phrases listed in alphabetical order",
                            "One table, words/phrases listed by frequency",
                            "Two tables, alphabetical followed by frequency"};
  for (int i = 0; i < 3; ++i) {
    auto* option = new QRadioButton(captions[i], options);
    option->setObjectName(names[i]);
    layout_->addButton(option, i);
    options_layout->addWidget(option);
  }
  // With no layout chosen, the alphabetical table is.
  const int chosen = record.layout >= 0 && record.layout <= 2 ? record.layout : 0;
  layout_->button(chosen)->setChecked(true);
  zero_cells_blank_ = CheckBox("chkZeroCellsBlank", "Leave cell blank if count is zero", options);
  zero_cells_blank_->setChecked(record.zero_cells_blank);
  relative_ = CheckBox("chkWriteRelativeFrequency",
                       "Write relative frequency instead of absolute frequency", options);
  relative_->setChecked(record.write_relative_frequency);
  relative_->setToolTip(Qs(record.relative_tool_tip));
  options_layout->addWidget(zero_cells_blank_);
  options_layout->addWidget(relative_);
  layout->addWidget(options);
  AddExitButtons(layout, "cmdCreateFile", "Create Excel file");
}

CountArrayAnswer CountArrayDialogWidget::answer() const {
  return {exit_, layout_->checkedId(), zero_cells_blank_->isChecked(), relative_->isChecked()};
}

// --- Load or remove --------------------------------------------------------------

LoadRemoveDialogWidget::LoadRemoveDialogWidget(const LoadOrRemoveDialog& record, QWidget* parent)
    : QDialog(parent) {
  setObjectName("frmLoadRemove");
  setWindowTitle(Qs(record.caption));
  auto* layout = new QVBoxLayout(this);
  QLabel* file = WrappedLabel("lblFile", Qs(record.path), this);
  file->setTextFormat(Qt::PlainText);
  layout->addWidget(file);
  load_ = new QRadioButton("Load this file", this);
  load_->setObjectName("optLoadThisFile");
  remove_ = new QRadioButton("Remove this file from the list", this);
  remove_->setObjectName("optRemoveThisFile");
  auto* cancel = new QRadioButton("Cancel", this);
  cancel->setObjectName("optCancel");
  cancel->setChecked(true);
  layout->addWidget(load_);
  layout->addWidget(remove_);
  layout->addWidget(cancel);
  QPushButton* close = Button("cmdClose", "Close", this);
  close->setDefault(true);
  layout->addLayout(ButtonRow({close}));
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  for (QRadioButton* option : {load_, remove_, cancel}) {
    connect(option, &QRadioButton::clicked, close, [close] { close->setFocus(); });
  }
  close->setFocus();
}

LoadOrRemove LoadRemoveDialogWidget::answer() const {
  if (load_->isChecked()) return LoadOrRemove::kLoad;
  if (remove_->isChecked()) return LoadOrRemove::kRemove;
  return LoadOrRemove::kCancel;
}

// --- The transient message ---------------------------------------------------------

PopUpWidget::PopUpWidget(const PopUpMessage& message, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
  setObjectName("frmPopUp");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 4);
  QLabel* text = WrappedLabel("lblMessage", Qs(message.text), this);
  text->setAlignment(Qt::AlignCenter);
  layout->addWidget(text);
  setMinimumSize(TwipsToPixels(this, message.width), TwipsToPixels(this, message.height));
  setStyleSheet("QDialog#frmPopUp { border: 1px solid palette(dark); }");
  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  timer_->setInterval(message.interval_ms);
  connect(timer_, &QTimer::timeout, this, &QDialog::accept);
}

void PopUpWidget::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  timer_->start();
}

void PopUpWidget::mouseReleaseEvent(QMouseEvent* event) {
  timer_->stop();
  accept();
  event->accept();
}

}  // namespace vorn
