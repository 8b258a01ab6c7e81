// The window's own widgets: the option dialogs give back what was chosen in
// them, the transient message closes itself, and the results box shows the
// engine's text through every kind of change.

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "ui/option_dialogs.h"
#include "ui/results_box.h"

using namespace vorn;

class WidgetsTest : public QObject {
  Q_OBJECT

 private:
  template <typename T>
  static T* Child(QWidget* parent, const char* name) {
    T* w = parent->findChild<T*>(name);
    if (w == nullptr) qFatal("no control %s", name);
    return w;
  }

 private slots:
  void countAllPhrasesDialogGivesBackTheLists() {
    CountAllPhrasesDialog record;
    for (int i = 1; i <= 30; ++i) record.items.push_back(std::to_string(i));
    record.min_words = 1;
    record.max_words = 4;
    record.min_occurrences = 1;
    record.exclude_enabled = false;
    record.exclude_checked = true;
    CountAllPhrasesDialogWidget dialog(record, nullptr);
    QVERIFY(!Child<QCheckBox>(&dialog, "chkExcludePhrases")->isEnabled());
    QVERIFY(Child<QCheckBox>(&dialog, "chkFileList")->isHidden());
    Child<QComboBox>(&dialog, "cboPhraseLength1")->setCurrentIndex(2);
    Child<QPushButton>(&dialog, "cmdCountAllPhrases")->click();
    const CountAllPhrasesAnswer a = dialog.answer();
    QCOMPARE(a.exit, DialogExit::kAccept);
    QCOMPARE(a.min_words, 1);
    QCOMPARE(a.max_words, 2);
    QCOMPARE(a.min_occurrences, 1);
    QVERIFY(a.exclude);
    QVERIFY(!a.file_list);
    CountAllPhrasesDialogWidget again(record, nullptr);
    Child<QPushButton>(&again, "cmdSetParameters")->click();
    QCOMPARE(again.answer().exit, DialogExit::kGoToSettings);
  }

  void countArrayDialogChoosesTheAlphabeticalTableWhenNoneIs() {
    CountArrayDialog record;
    record.layout = -1;
    record.zero_cells_blank = true;
    CountArrayDialogWidget dialog(record, nullptr);
    QVERIFY(Child<QRadioButton>(&dialog, "optAlphabetical")->isChecked());
    Child<QRadioButton>(&dialog, "optBoth")->setChecked(true);
    Child<QCheckBox>(&dialog, "chkWriteRelativeFrequency")->setChecked(true);
    Child<QPushButton>(&dialog, "cmdCreateFile")->click();
    const CountArrayAnswer a = dialog.answer();
    QCOMPARE(a.exit, DialogExit::kAccept);
    QCOMPARE(a.layout, 2);
    QVERIFY(a.zero_cells_blank);
    QVERIFY(a.write_relative_frequency);
  }

  void countWordsDialogOffersTheSpecifiedEntriesOnlyWhenSet() {
    CountWordsDialog record;
    record.file_list_visible = true;
    CountWordsDialogWidget plain(record, nullptr);
    QVERIFY(Child<QPushButton>(&plain, "cmdCountSpecifiedWordsPhrases")->isHidden());
    Child<QCheckBox>(&plain, "chkFileList")->setChecked(true);
    Child<QPushButton>(&plain, "cmdCountAllWords")->click();
    QCOMPARE(plain.answer().choice, CountChoice::kCountAllWords);
    QVERIFY(plain.answer().file_list);
    record.count_only_set = true;
    CountWordsDialogWidget specified(record, nullptr);
    QVERIFY(!Child<QPushButton>(&specified, "cmdCountSpecifiedWordsPhrases")->isHidden());
    Child<QPushButton>(&specified, "cmdCancel")->click();
    QCOMPARE(specified.answer().choice, CountChoice::kCancel);
  }

  void loadOrRemoveOpensWithCancelChosen() {
    LoadRemoveDialogWidget dialog({"Load or remove this file", "/words.txt", 0, 400, 150}, nullptr);
    QCOMPARE(dialog.answer(), LoadOrRemove::kCancel);
    Child<QRadioButton>(&dialog, "optRemoveThisFile")->click();
    QCOMPARE(dialog.answer(), LoadOrRemove::kRemove);
  }

  void transientMessageClosesItselfAndOnAClick() {
    PopUpMessage message;
    message.text = "Settings saved.";
    message.interval_ms = 20;
    PopUpWidget timed(message, nullptr);
    timed.show();
    QVERIFY(QTest::qWaitFor([&] { return !timed.isVisible(); }, 5000));
    message.interval_ms = 600000;
    PopUpWidget clicked(message, nullptr);
    clicked.show();
    QTest::mouseClick(&clicked, Qt::LeftButton);
    QVERIFY(!clicked.isVisible());
  }

  // The box shows the engine's text without its carriage returns, whether
  // a change replaces it, appends to it or keeps only its beginning.
  void resultsBoxFollowsTheEnginesText() {
    ResultsBox box(nullptr);
    const auto apply = [&](int64_t keep, std::u16string_view added) {
      box.Apply({keep, added, Caret::kEnd, false});
    };
    apply(0, u"one\r\ntwo\r\n");
    QCOMPARE(box.toPlainText(), QString("one\ntwo\n"));
    apply(10, u"three\r\n");
    QCOMPARE(box.toPlainText(), QString("one\ntwo\nthree\n"));
    apply(5, u"2\r\n");  // keeps "one\r\n"
    QCOMPARE(box.toPlainText(), QString("one\n2\n"));
    QCOMPARE(box.engine_text(), std::u16string(u"one\r\n2\r\n"));
    // Text the user typed is replaced by the engine's at its next change.
    box.insertPlainText("typed");
    apply(static_cast<int64_t>(box.engine_text().size()), u"end");
    QCOMPARE(box.toPlainText(), QString("one\n2\nend"));
    apply(0, u"");
    QVERIFY(box.toPlainText().isEmpty());
  }
};

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
