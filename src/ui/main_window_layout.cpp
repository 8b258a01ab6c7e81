// The controls of the main window and their places: the introduction and
// the source, output, display and command groups on the left, the results
// box with its count lines on the right.

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/results_box.h"
#include "util/message_table.h"

namespace vorn {

template <typename W>
W* MainWindow::Named(W* widget, const char* name) {
  widget->setObjectName(name);
  controls_.insert(name, widget);
  return widget;
}

void MainWindow::BuildControls() {
  auto* left = new QVBoxLayout;
  intro_ = Named(new QPlainTextEdit(this), "txbIntro");
  intro_->setReadOnly(true);
  intro_->setFocusPolicy(Qt::NoFocus);
  QString intro;
  for (int n : {26, 20, 27, 28, 24, 29}) {
    if (!intro.isEmpty()) intro += "\n\n";
    intro += Qs(GetMessageText(n));
  }
  intro_->setPlainText(intro);
  intro_->setMinimumHeight(fontMetrics().lineSpacing() * 4);
  intro_->setMaximumHeight(fontMetrics().lineSpacing() * 9);
  left->addWidget(intro_, 1);
  left->addWidget(BuildSourceGroup());
  left->addWidget(BuildOutputGroup());
  left->addWidget(BuildDisplayGroup());
  left->addWidget(BuildCommands());
  left->addStretch(0);

  auto* left_panel = new QWidget(this);
  left_panel->setLayout(left);
  left->setContentsMargins(0, 0, 0, 0);
  left_panel->setFixedWidth(left_panel->sizeHint().width() + 20);

  auto* outer = new QHBoxLayout(this);
  outer->addWidget(left_panel);
  outer->addWidget(BuildResults(), 1);
}

QWidget* MainWindow::BuildSourceGroup() {
  auto* group = Named(new QGroupBox(this), "fraSource");
  auto* grid = new QGridLayout(group);
  grid->addWidget(Named(new QLabel(Qs(GetMessageText(19)), group), "lblSelectSource"), 0, 0, 1, 3);
  auto* options = new QHBoxLayout;
  const char* names[] = {"optOnClipboard", "optInFile", "optFolder"};
  const char* captions[] = {"Clipboard", "Single file", "Folder"};
  for (int i = 0; i < 3; ++i) {
    source_[i] = Named(new QRadioButton(captions[i], group), names[i]);
    options->addWidget(source_[i]);
  }
  options->addStretch(1);
  options->addWidget(Named(new QPushButton("View clipboard", group), "cmdClipboardViewer"));
  grid->addLayout(options, 1, 0, 1, 3);

  grid->addWidget(Named(new QPushButton("Single file", group), "cmdFile0"), 2, 0);
  txb_file_[0] = Named(new QLineEdit(group), "txbFile0");
  grid->addWidget(txb_file_[0], 2, 1);
  cmd_count_array_ = Named(new QPushButton(Qs(GetMessageText(101)), group), "cmdCountArray");
  grid->addWidget(cmd_count_array_, 2, 0, 1, 2);
  grid->addWidget(Named(new QPushButton("Clear", group), "cmdClearFile0"), 2, 2);
  auto* sizes = new QHBoxLayout;
  labels_[static_cast<int>(Label::kFilesize)] = Named(new QLabel(group), "lblFilesize");
  labels_[static_cast<int>(Label::kXmlSize)] = Named(new QLabel(group), "lblXMLsize");
  sizes->addWidget(labels_[static_cast<int>(Label::kFilesize)]);
  sizes->addWidget(labels_[static_cast<int>(Label::kXmlSize)]);
  sizes->addStretch(1);
  grid->addLayout(sizes, 3, 0, 1, 3);

  grid->addWidget(Named(new QPushButton("Folder", group), "cmdFolder"), 4, 0);
  txb_folder_ = Named(new QLineEdit(group), "txbFolder");
  txb_folder_->setToolTip("To specify a folder click on the button labelled 'Folder'.");
  grid->addWidget(txb_folder_, 4, 1);
  grid->addWidget(Named(new QPushButton("Clear", group), "cmdClearFolder"), 4, 2);
  chk_include_subfolders_ =
      Named(new QCheckBox("Include subfolders", group), "chkIncludeSubfolders");
  grid->addWidget(chk_include_subfolders_, 5, 0, 1, 3);
  const char* spec_labels[] = {"lblScanOnlyFiles", "lblExcludeFilepaths"};
  const char* spec_captions[] = {"Scan files matching patterns:",
                                 "Exclude filepaths containing text:"};
  const char* spec_boxes[] = {"txbFileFilepathSpecifications0", "txbFileFilepathSpecifications1"};
  for (int i = 0; i < 2; ++i) {
    auto* label = Named(new QLabel(spec_captions[i], group), spec_labels[i]);
    txb_specs_[i] = Named(new QLineEdit(group), spec_boxes[i]);
    label->setBuddy(txb_specs_[i]);
    grid->addWidget(label, 6 + 2 * i, 0, 1, 3);
    grid->addWidget(txb_specs_[i], 7 + 2 * i, 0, 1, 3);
  }
  auto* list_files = Named(new QPushButton("List files to be scanned", group), "cmdListFiles");
  grid->addWidget(list_files, 10, 0, 1, 2, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);
  return group;
}

QWidget* MainWindow::BuildOutputGroup() {
  auto* group = Named(new QGroupBox(this), "fraOutput");
  auto* row = new QHBoxLayout(group);
  row->addWidget(Named(new QPushButton("Output file", group), "cmdFile1"));
  txb_file_[1] = Named(new QLineEdit(group), "txbFile1");
  txb_file_[1]->setToolTip("To specify an output file click on the button labelled 'Output file'");
  row->addWidget(txb_file_[1], 1);
  row->addWidget(Named(new QPushButton("Clear", group), "cmdClearFile1"));
  chk_disable_output_ = Named(new QCheckBox("Disable", group), "chkDisableOutputToFile");
  chk_disable_output_->setToolTip("Disable output to file");
  row->addWidget(chk_disable_output_);
  return group;
}

QWidget* MainWindow::BuildDisplayGroup() {
  auto* group = Named(new QGroupBox("Display", this), "fraDisplay");
  auto* grid = new QGridLayout(group);
  cbo_word_order_ = Named(new QComboBox(group), "cboWordOrder");
  cbo_word_order_->addItems({Qs(GetMessageText(43)), Qs(GetMessageText(44))});
  cbo_display_format_ = Named(new QComboBox(group), "cboDisplayFormat");
  for (int n = 0; n < kDisplayFormatCount; ++n) {
    cbo_display_format_->addItem(QString::number(n) + ": " + Qs(GetMessageText(51 + n)));
  }
  auto* order_label = Named(new QLabel("Word order:", group), "lblWordOrder");
  auto* format_label = Named(new QLabel("Format:", group), "lblDisplayFormat");
  order_label->setBuddy(cbo_word_order_);
  format_label->setBuddy(cbo_display_format_);
  grid->addWidget(order_label, 0, 0);
  grid->addWidget(cbo_word_order_, 0, 1);
  grid->addWidget(format_label, 1, 0);
  grid->addWidget(cbo_display_format_, 1, 1);
  chk_relative_ =
      Named(new QCheckBox("Display relative frequency instead of absolute frequency", group),
            "chkDisplayRelativeFrequency");
  chk_relative_->setToolTip(
      "'Relative frequency' is explained in 'Report Formats' in the online user manual.");
  chk_sort_by_files_ = Named(new QCheckBox("Sort by number of files instead of frequency", group),
                             "chkSortByNumberOfFiles");
  chk_suppress_words_ =
      Named(new QCheckBox("Don't display words as found", group), "chkSuppressWords");
  chk_suppress_filenames_ =
      Named(new QCheckBox("Don't display filenames", group), "chkSuppressFilenames");
  int row = 2;
  for (QCheckBox* box :
       {chk_relative_, chk_sort_by_files_, chk_suppress_words_, chk_suppress_filenames_}) {
    grid->addWidget(box, row++, 0, 1, 3);
  }
  grid->setColumnStretch(2, 1);
  return group;
}

QWidget* MainWindow::BuildCommands() {
  auto* panel = Named(new QWidget(this), "fraCommands");
  auto* grid = new QGridLayout(panel);
  grid->setContentsMargins(0, 0, 0, 0);
  cmd_count_words_ = Named(new QPushButton(Qs(GetMessageText(21)), panel), "cmdCountWords");
  cmd_count_words_->setToolTip("Count all words or count specified words/phrases");
  QFont bold = cmd_count_words_->font();
  bold.setBold(true);
  cmd_count_words_->setFont(bold);
  cmd_count_words_->setMinimumHeight(cmd_count_words_->sizeHint().height() * 3 / 2);
  auto* phrases = Named(new QPushButton("Count all phrases", panel), "cmdCountAllPhrases");
  phrases->setToolTip("Count all phrases with a specified number of words");
  phrases->setMinimumHeight(cmd_count_words_->minimumHeight());
  auto* settings = Named(new QPushButton("Settings", panel), "cmdSetParameters");
  settings->setToolTip(
      "Define what counts as a word, specify words to ignore and words/phrases to count");
  grid->addWidget(cmd_count_words_, 0, 0, 1, 2);
  grid->addWidget(phrases, 0, 2, 1, 2);
  grid->addWidget(settings, 1, 0);
  grid->addWidget(Named(new QPushButton("Save settings", panel), "cmdSaveState"), 1, 1);
  grid->addWidget(Named(new QPushButton("Clear textbox", panel), "cmdClearOutput"), 1, 2);
  grid->addWidget(Named(new QPushButton("Help", panel), "cmdHelp"), 1, 3);
  grid->addWidget(Named(new QPushButton("Quit", panel), "cmdQuit"), 2, 3);
  return panel;
}

QWidget* MainWindow::BuildResults() {
  auto* panel = Named(new QWidget(this), "fraResults");
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  results_ = new ResultsBox(panel);
  // The window is never narrower than the controls and a results box that
  // still shows a line of the listing.
  results_->setMinimumWidth(results_->fontMetrics().horizontalAdvance(QString(32, 'x')));
  controls_.insert("txbOutput", results_);
  column->addWidget(results_, 1);

  const auto label = [&](Label l, const char* name) {
    auto* lbl = Named(new QLabel(panel), name);
    lbl->setTextFormat(Qt::PlainText);
    labels_[static_cast<int>(l)] = lbl;
    return lbl;
  };
  column->addWidget(label(Label::kFile, "lblFile"));
  labels_[static_cast<int>(Label::kFile)]->hide();

  auto* counts = Named(new QWidget(panel), "fraCounts");
  auto* grid = new QGridLayout(counts);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->addWidget(label(Label::kNumberOfWords, "lblNumberOfWords"), 0, 0);
  grid->addWidget(label(Label::kNumWordsExcluded, "lblNumWordsExcluded"), 1, 0);
  grid->addWidget(label(Label::kNumOccurrences, "lblNumOccurrences"), 2, 0);
  grid->addWidget(label(Label::kTotalNumOccurrences, "lblTotalNumOccurrences"), 3, 0);
  manual_link_ = Named(new QLabel(panel), "lblOnlineDocumentation");
  manual_link_->setText("<a href=\"manual\">Online user manual</a>");
  manual_link_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  grid->addWidget(manual_link_, 0, 0, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
  grid->addWidget(label(Label::kTimeElapsed, "lblTimeElapsed0"), 0, 1, Qt::AlignRight);
  grid->addWidget(label(Label::kTimeElapsed2, "lblTimeElapsed1"), 1, 1, Qt::AlignRight);
  grid->addWidget(label(Label::kFilesScanned, "lblFilesScanned"), 2, 1, Qt::AlignRight);
  twirler_ = Named(new QLabel(panel), "lblTwirler");
  twirler_->setMinimumWidth(fontMetrics().horizontalAdvance("MM"));
  grid->addWidget(twirler_, 3, 1, Qt::AlignRight);
  grid->setColumnStretch(0, 1);
  for (int row = 0; row < 4; ++row) grid->setRowMinimumHeight(row, fontMetrics().lineSpacing());
  column->addWidget(counts);
  for (Label l : {Label::kNumberOfWords, Label::kNumWordsExcluded, Label::kNumOccurrences,
                  Label::kTotalNumOccurrences}) {
    labels_[static_cast<int>(l)]->hide();
  }
  return panel;
}

}  // namespace vorn
