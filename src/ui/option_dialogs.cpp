#include "ui/option_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "ui/qt_text.h"
#include "ui_frmCountAllPhrases.h"
#include "ui_frmCountArray.h"
#include "ui_frmCountWordsPhrases.h"
#include "ui_frmLoadRemove.h"
#include "ui_frmPopUp.h"

namespace vorn {

namespace {

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

// --- The exits of the option dialogs ------------------------------------------

void OptionDialog::ConnectExitButtons(QPushButton* accept_button, QPushButton* settings,
                                      QPushButton* cancel) {
  connect(accept_button, &QPushButton::clicked, this, [this] { Leave(DialogExit::kAccept); });
  connect(settings, &QPushButton::clicked, this, [this] { Leave(DialogExit::kGoToSettings); });
  connect(cancel, &QPushButton::clicked, this, [this] { Leave(DialogExit::kCancel); });
}

void OptionDialog::Leave(DialogExit exit) {
  exit_ = exit;
  exit == DialogExit::kCancel ? reject() : accept();
}

// --- Count all phrases ----------------------------------------------------------

CountAllPhrasesDialogWidget::CountAllPhrasesDialogWidget(const CountAllPhrasesDialog& record,
                                                         QWidget* parent)
    : OptionDialog(parent), ui_(std::make_unique<Ui::frmCountAllPhrases>()) {
  ui_->setupUi(this);
  setWindowTitle(Qs(record.caption));
  SetReadableWidth(this);
  ui_->lblIntro->setText(Qs(record.intro));
  QStringList items;
  for (const std::string& item : record.items) items << Qs(item);
  const auto fill = [&items](QComboBox* list, int position) {
    list->addItems(items);
    list->setCurrentIndex(position);
  };
  fill(ui_->cboPhraseLength0, record.min_words);
  fill(ui_->cboPhraseLength1, record.max_words);
  fill(ui_->cboMinimumFrequency, record.min_occurrences);
  ui_->chkExcludePhrases->setEnabled(record.exclude_enabled);
  ui_->chkExcludePhrases->setChecked(record.exclude_checked);
  ui_->lblExcludeNote->setText(Qs(record.exclude_note));
  ShowFileList(ui_->chkFileList, record.file_list_caption, record.file_list_visible);
  ConnectExitButtons(ui_->cmdCountAllPhrases, ui_->cmdSetParameters, ui_->cmdCancel);
}

CountAllPhrasesDialogWidget::~CountAllPhrasesDialogWidget() = default;

CountAllPhrasesAnswer CountAllPhrasesDialogWidget::answer() const {
  CountAllPhrasesAnswer a;
  a.exit = exit_;
  a.min_words = ui_->cboPhraseLength0->currentIndex();
  a.max_words = ui_->cboPhraseLength1->currentIndex();
  a.min_occurrences = ui_->cboMinimumFrequency->currentIndex();
  a.exclude = ui_->chkExcludePhrases->isChecked();
  a.file_list = FileListTicked(ui_->chkFileList);
  return a;
}

// --- Count array -------------------------------------------------------------------

CountArrayDialogWidget::CountArrayDialogWidget(const CountArrayDialog& record, QWidget* parent)
    : OptionDialog(parent), ui_(std::make_unique<Ui::frmCountArray>()) {
  ui_->setupUi(this);
  setWindowTitle(Qs(record.caption));
  SetReadableWidth(this);
  ui_->lblIntro->setText(Qs(record.intro));
  ui_->lblOptionsText->setText(Qs(record.options_text));
  // The record's layout numbers the options in their order.
  ui_->grpLayout->setId(ui_->optAlphabetical, 0);
  ui_->grpLayout->setId(ui_->optByFrequency, 1);
  ui_->grpLayout->setId(ui_->optBoth, 2);
  // With no layout chosen, the alphabetical table is.
  const int chosen = record.layout >= 0 && record.layout <= 2 ? record.layout : 0;
  ui_->grpLayout->button(chosen)->setChecked(true);
  ui_->chkZeroCellsBlank->setChecked(record.zero_cells_blank);
  ui_->chkWriteRelativeFrequency->setChecked(record.write_relative_frequency);
  ui_->chkWriteRelativeFrequency->setToolTip(Qs(record.relative_tool_tip));
  ConnectExitButtons(ui_->cmdCreateFile, ui_->cmdSetParameters, ui_->cmdCancel);
}

CountArrayDialogWidget::~CountArrayDialogWidget() = default;

CountArrayAnswer CountArrayDialogWidget::answer() const {
  return {exit_, ui_->grpLayout->checkedId(), ui_->chkZeroCellsBlank->isChecked(),
          ui_->chkWriteRelativeFrequency->isChecked()};
}

// --- Load or remove --------------------------------------------------------------

LoadRemoveDialogWidget::LoadRemoveDialogWidget(const LoadOrRemoveDialog& record, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmLoadRemove>()) {
  ui_->setupUi(this);
  setWindowTitle(Qs(record.caption));
  ui_->lblFile->setText(Qs(record.path));
  QPushButton* close = ui_->cmdClose;
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  for (QRadioButton* option : {ui_->optLoadThisFile, ui_->optRemoveThisFile, ui_->optCancel}) {
    connect(option, &QRadioButton::clicked, close, [close] { close->setFocus(); });
  }
  close->setFocus();
}

LoadRemoveDialogWidget::~LoadRemoveDialogWidget() = default;

LoadOrRemove LoadRemoveDialogWidget::answer() const {
  if (ui_->optLoadThisFile->isChecked()) return LoadOrRemove::kLoad;
  if (ui_->optRemoveThisFile->isChecked()) return LoadOrRemove::kRemove;
  return LoadOrRemove::kCancel;
}

// --- The transient message ---------------------------------------------------------

PopUpWidget::PopUpWidget(const PopUpMessage& message, QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog), ui_(std::make_unique<Ui::frmPopUp>()) {
  ui_->setupUi(this);
  ui_->lblMessage->setText(Qs(message.text));
  setMinimumSize(TwipsToPixels(this, message.width), TwipsToPixels(this, message.height));
  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  timer_->setInterval(message.interval_ms);
  connect(timer_, &QTimer::timeout, this, &QDialog::accept);
}

PopUpWidget::~PopUpWidget() = default;

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
