// The controls of the Settings window and their places, in three columns:
// the word characters, the phrase ends and the comment markers; the ignore
// filters, pattern matching, output and files and the bulk buttons; the
// words-to-ignore and count-only lists and the state commands. "Hide
// settings" stands below them. The columns scroll when the screen is too
// small for them.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include "counting/engine.h"
#include "counting/option_rules.h"
#include "counting/words_file_commands.h"
#include "settings/settings.h"
#include "ui/qt_text.h"
#include "ui/settings_window.h"
#include "ui/words_box.h"

namespace vorn {

namespace {

// A frame of the window: a box without a title, its first control being
// its heading.
QGroupBox* Frame(QWidget* parent) { return new QGroupBox(parent); }

QComboBox* ListOf(const std::vector<std::string>& items, QWidget* parent) {
  auto* box = new QComboBox(parent);
  for (const std::string& item : items) box->addItem(Qs(item));
  return box;
}

// The left margin that puts a label under the captions of check boxes.
int CheckBoxIndent(const QWidget* w) {
  const QStyle* style = w->style();
  return style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
         style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
}

}  // namespace

template <typename W>
W* SettingsWindow::Named(W* widget, const QString& name) {
  widget->setObjectName(name);
  controls_.insert(name, widget);
  return widget;
}

QCheckBox* SettingsWindow::Switch(const char* field, const QString& caption, QWidget* parent) {
  auto* box = Named(new QCheckBox(caption, parent), "chk" + QString::fromLatin1(field));
  Q_ASSERT(SwitchField(&engine_.settings(), field) != nullptr);
  switches_.push_back({box, field});
  return box;
}

QPushButton* SettingsWindow::Button(const QString& caption, const QString& name, QWidget* parent) {
  return Named(new QPushButton(caption, parent), name);
}

void SettingsWindow::BuildControls() {
  auto* content = new QWidget;
  auto* columns = new QHBoxLayout(content);
  auto* first = new QVBoxLayout;
  first->addWidget(BuildWordCharacters());
  first->addWidget(BuildPhraseEnds());
  first->addWidget(BuildCommentMarkers());
  first->addStretch(1);
  auto* second = new QVBoxLayout;
  second->addWidget(BuildIgnoreFilters());
  second->addWidget(BuildPatternMatching());
  second->addWidget(BuildOutputAndFiles());
  second->addWidget(BuildBulkButtons());
  second->addStretch(1);
  auto* third = new QVBoxLayout;
  third->addWidget(BuildIgnoreWords());
  third->addWidget(BuildCountOnlyWords());
  third->addWidget(BuildState());
  third->addStretch(1);
  columns->addLayout(first);
  columns->addLayout(second);
  columns->addLayout(third, 1);

  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("scrSettings");
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(content);

  cmd_close_ = Button("Hide settings", "cmdClose", this);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(cmd_close_);
  auto* outer = new QVBoxLayout(this);
  outer->addWidget(scroll, 1);
  outer->addLayout(bottom);
}

QWidget* SettingsWindow::BuildWordCharacters() {
  auto* frame = Named(Frame(this), "Frame1");
  auto* grid = new QGridLayout(frame);
  grid->addWidget(Named(new QLabel("Allow 'words' with:", frame), "lblAllowWordsWith"), 0, 0, 1, 2);
  const struct {
    const char* field;
    const char* caption;
  } kChars[] = {
      {"AllowWordsWithHyphens", "hyphen -"},
      {"AllowWordsWithApostrophes", "apostrophe '"},
      {"AllowWordsWithUnderscores", "underscore _"},
      {"AllowWordsWithColons", "colon :"},
      {"AllowWordsWithBackslashes", "backslash \\"},
      {"AllowWordsWithForwardslashes", "forward slash /"},
      {"AllowWordsWithParentheses", "parentheses ( )"},
      {"AllowWordsWithAmpersands", "ampersand &&"},  // && shows one "&"
      {"AllowWordsWithPeriods", "period ."},
      {"AllowWordsWithCommas", "comma ,"},
      {"AllowWordsWithAtSigns", "at-sign @"},
      {"AllowWordsWithNumerals", "numerals 123"},
  };
  constexpr int kRows = 6;
  for (int i = 0; i < 12; ++i) {
    grid->addWidget(Switch(kChars[i].field, kChars[i].caption, frame), 1 + i % kRows, i / kRows);
  }
  auto* any = new QHBoxLayout;
  any->addWidget(Switch("AllowWordsWithUserSpecifiedExtraChars", "any of:", frame));
  txb_extra_chars_ = Named(new QLineEdit(frame), "txbUserSpecifiedExtraChars");
  txb_extra_chars_->setToolTip(
      "Up to 5 extra admissible characters, excluding those given above and alphabetic "
      "characters.");
  txb_extra_chars_->setMaxLength(5);
  txb_extra_chars_->setFixedWidth(fontMetrics().horizontalAdvance("MMMMMMMM"));
  any->addWidget(txb_extra_chars_);
  any->addStretch(1);
  grid->addLayout(any, 1 + kRows, 0, 1, 2);
  grid->addWidget(Named(new QLabel("Also:", frame), "lblFurthermore"), 2 + kRows, 0, 1, 2);
  int row = 3 + kRows;
  grid->addWidget(Switch("Only7bitASCII", "Allow only 7-bit ASCII characters", frame), row++, 0, 1,
                  2);
  grid->addWidget(Switch("CaseSignificant", "Upper/lower case significant", frame), row++, 0, 1, 2);
  grid->addWidget(Switch("DropFinalS", "Drop final 's' unless 'ss' or vowel+'s'", frame), row++, 0,
                  1, 2);
  grid->addWidget(Switch("ConvertFinalIes", "Convert final 'ies' to 'y'", frame), row++, 0, 1, 2);
  return frame;
}

QWidget* SettingsWindow::BuildPhraseEnds() {
  // The phrase ends stand on the window itself, outside the frames that a
  // run locks.
  auto* panel = new QWidget(this);
  auto* grid = new QGridLayout(panel);
  grid->addWidget(Named(new QLabel("A phrase must not go beyond:", panel), "Label1"), 0, 0, 1, 2);
  grid->addWidget(Switch("TerminatePhraseAtTab", "tab", panel), 1, 0);
  grid->addWidget(Switch("TerminatePhraseAtEndOfLine", "end of line", panel), 1, 1);
  grid->addWidget(Switch("TerminatePhraseAtPeriod", "period .", panel), 2, 0);
  // The caption names all three closing quotes.
  grid->addWidget(Switch("TerminatePhraseAtDoubleQuote",
                         QStringLiteral("end double quote \" \u201D \u00BB"), panel),
                  2, 1);
  return panel;
}

QWidget* SettingsWindow::BuildCommentMarkers() {
  auto* frame = Named(Frame(this), "Frame2");
  auto* column = new QVBoxLayout(frame);
  column->addWidget(Switch("AllowCommentMarkers", "Allow comment markers:", frame));
  auto* sets = new QVBoxLayout;
  sets->setContentsMargins(CheckBoxIndent(frame), 0, 0, 0);
  sets->addWidget(Named(new QLabel("block:   /* ... */", frame), "lblFirstSet"));
  sets->addWidget(Named(new QLabel("line:    // ...", frame), "lblSecondSet"));
  column->addLayout(sets);
  return frame;
}

QWidget* SettingsWindow::BuildIgnoreWords() {
  auto* frame = Named(Frame(this), "fraIgnoreTheseWords");
  auto* grid = new QGridLayout(frame);
  auto* language_label = Named(new QLabel("Ignore common words in:", frame), "Label2");
  cbo_languages_ = Named(ListOf(CommonWordsLanguageItems(), frame), "cboCommonWordsLanguages");
  language_label->setBuddy(cbo_languages_);
  auto* language = new QHBoxLayout;
  language->addWidget(language_label);
  language->addWidget(cbo_languages_);
  language->addStretch(1);
  grid->addLayout(language, 0, 0, 1, 3);

  cmd_select_words_file_[0] = Button("", "cmdSelectWordsFile0", frame);
  cmd_select_words_file_[0]->setToolTip(
      "Click here to specify one or more files containing words (not phrases) which should be "
      "ignored.");
  grid->addWidget(cmd_select_words_file_[0], 1, 0);
  grid->addWidget(Button("Clear", "cmdClearWordsFile0", frame), 1, 2);
  cbo_words_file_[0] = Named(new QComboBox(frame), "cboWordsFile0");
  cbo_words_file_[0]->setToolTip(
      "To specify (or add) a file containing words to ignore, click on the button labelled "
      "'Words-to-ignore files'.");
  grid->addWidget(cbo_words_file_[0], 2, 0, 1, 3);

  grid->addWidget(Named(new QLabel("Extra words to ignore:", frame), "lblIgnoreTheseWords"), 3, 0,
                  1, 3);
  txb_words_[0] = Named(new WordsBox(frame), "txbWordsToIgnoreOrCount0");
  txb_words_[0]->setToolTip(
      "Extra words to ignore (not phrases) may be added here. Spaces (not commas) should be used "
      "to separate them.  Case is not significant.");
  grid->addWidget(txb_words_[0], 4, 0, 1, 2);
  grid->addWidget(Button("Clear", "cmdClearWordsToIgnoreOrCount0", frame), 4, 2, Qt::AlignTop);
  grid->setColumnStretch(1, 1);
  return frame;
}

QWidget* SettingsWindow::BuildCountOnlyWords() {
  auto* frame = Named(Frame(this), "Frame3");
  auto* grid = new QGridLayout(frame);
  cmd_select_words_file_[1] = Button("", "cmdSelectWordsFile1", frame);
  cmd_select_words_file_[1]->setToolTip(
      "Click here to specify one or more files containing words or phrases which are to be "
      "counted.  All other words and phrases are ignored.");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmd_select_words_file_[1]);
  buttons->addStretch(1);
  buttons->addWidget(Button("List", "cmdListCountOnlyWords", frame));
  grid->addLayout(buttons, 0, 0, 1, 2);
  grid->addWidget(Button("Clear", "cmdClearWordsFile1", frame), 0, 2);
  cbo_words_file_[1] = Named(new QComboBox(frame), "cboWordsFile1");
  cbo_words_file_[1]->setToolTip(
      "To specify (or add) a file containing words or phrases to be counted, click on the button "
      "labelled 'Count-only words/phrases files'.");
  grid->addWidget(cbo_words_file_[1], 1, 0, 1, 3);
  grid->addWidget(Named(new QLabel("Extra count-only words/phrases:", frame), "lblCountTheseWords"),
                  2, 0, 1, 3);
  txb_words_[1] = Named(new WordsBox(frame), "txbWordsToIgnoreOrCount1");
  grid->addWidget(txb_words_[1], 3, 0, 1, 2);
  grid->addWidget(Button("Clear", "cmdClearWordsToIgnoreOrCount1", frame), 3, 2, Qt::AlignTop);
  grid->setColumnStretch(1, 1);
  for (QComboBox* box : cbo_words_file_) {
    // Long paths neither widen the window nor hide the Clear button.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(30);
  }
  return frame;
}

QWidget* SettingsWindow::BuildIgnoreFilters() {
  auto* frame = Named(Frame(this), "Frame5");
  auto* grid = new QGridLayout(frame);
  grid->addWidget(Named(new QLabel("Ignore words:", frame), "lblIgnoreWords"), 0, 0, 1, 3);
  grid->addWidget(Switch("IgnoreNoVowelorY", "which lack a vowel or 'y'", frame), 1, 0, 1, 3);
  grid->addWidget(Switch("IgnoreNoLetter", "which lack a letter", frame), 2, 0, 1, 3);
  cbo_excess_ = Named(ListOf(ExcessFrequencyItems(), frame), "cboExcessFrequency");
  cbo_threshold_ = Named(ListOf(ThresholdFrequencyItems(), frame), "cboThresholdFrequency");
  cbo_short_ = Named(ListOf(ShortWordSizeItems(), frame), "cboShortWordSize");
  cbo_long_ = Named(ListOf(LongWordSizeItems(), frame), "cboLongWordSize");
  lbl_occurrences2_ = Named(new QLabel("occurrences", frame), "lblOccurrences2");
  grid->addWidget(Switch("IgnoreExcessivelyFrequentWords", "with more than", frame), 3, 0);
  grid->addWidget(cbo_excess_, 3, 1);
  grid->addWidget(lbl_occurrences2_, 3, 2);
  grid->addWidget(Switch("IgnoreInfrequentWords", "with fewer than", frame), 4, 0);
  grid->addWidget(cbo_threshold_, 4, 1);
  grid->addWidget(Named(new QLabel("occurrences", frame), "lblOccurrences"), 4, 2);
  grid->addWidget(Switch("IgnoreShortWords", "with fewer than", frame), 5, 0);
  grid->addWidget(cbo_short_, 5, 1);
  grid->addWidget(Named(new QLabel("characters", frame), "lblCharacters"), 5, 2);
  auto* long_words = Named(new QLabel("with more than", frame), "lblIgnoreLongWords");
  long_words->setContentsMargins(CheckBoxIndent(frame), 0, 0, 0);
  grid->addWidget(long_words, 6, 0);
  grid->addWidget(cbo_long_, 6, 1);
  grid->addWidget(Named(new QLabel("characters", frame), "lblCharacters2"), 6, 2);
  grid->addWidget(Switch("IgnoreRepetitions", "containing 4 repetitions of a letter", frame), 7, 0,
                  1, 3);
  grid->setColumnStretch(2, 1);
  return frame;
}

QWidget* SettingsWindow::BuildPatternMatching() {
  auto* frame = Named(Frame(this), "Frame4");
  auto* column = new QVBoxLayout(frame);
  column->addWidget(Named(new QLabel("Enable pattern matching for:", frame), "Label3"));
  column->addWidget(Switch("PatternMatchingInWordsToIgnoreFile", "Words-to-ignore file", frame));
  column->addWidget(
      Switch("PatternMatchingInCountOnlyWordsFile", "Count-only words/phrases file", frame));
  return frame;
}

QWidget* SettingsWindow::BuildOutputAndFiles() {
  auto* frame = Named(Frame(this), "Frame6");
  auto* column = new QVBoxLayout(frame);
  auto* docx = Switch("ExtractTextFromDocx", "Extract text from docx files", frame);
  docx->setToolTip(
      "If checked then text extracted from .docx files will be written to files in an "
      "'extracted_text' subfolder.");
  column->addWidget(docx);
  column->addWidget(Switch("SaveStateOnQuit", "Save settings when quitting", frame));
  column->addWidget(Switch("OutputWithCommas", "Include commas in output file", frame));
  column->addWidget(Switch("WarnOnOverwrite", "Warn on overwrite of output file", frame));
  return frame;
}

QWidget* SettingsWindow::BuildBulkButtons() {
  auto* panel = new QWidget(this);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(Button("Check all checkboxes", "cmdSetOrClearCheckboxes1", panel));
  column->addWidget(Button("Clear all checkboxes", "cmdSetOrClearCheckboxes0", panel));
  column->addWidget(Button("Restore defaults", "cmdRestoreDefaults", panel));
  return panel;
}

QWidget* SettingsWindow::BuildState() {
  auto* frame = Named(Frame(this), "Frame7");
  auto* grid = new QGridLayout(frame);
  grid->addWidget(Button("Save settings", "cmdSaveState", frame), 0, 0);
  grid->addWidget(Button("Reinitialize", "cmdInitialize", frame), 0, 1);
  grid->addWidget(Button("Quit", "cmdQuit", frame), 0, 2);
  grid->addWidget(Button("Save settings to file", "cmdSaveLoadState0", frame), 1, 0, 1, 2);
  grid->addWidget(Button("Load settings from file", "cmdSaveLoadState1", frame), 2, 0, 1, 2);
  lbl_state_ = Named(new QLabel(frame), "lblState");
  lbl_state_->setTextFormat(Qt::PlainText);
  grid->addWidget(lbl_state_, 3, 0, 1, 3);
  txb_state_file_ = Named(new QLineEdit(frame), "txbStateFile");
  txb_state_file_->setReadOnly(true);
  // The frame keeps the path's room while no file is shown.
  QSizePolicy policy = txb_state_file_->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  txb_state_file_->setSizePolicy(policy);
  txb_state_file_->hide();
  grid->addWidget(txb_state_file_, 4, 0, 1, 3);
  return frame;
}

}  // namespace vorn
