// The Settings window driven by its controls over the main window's engine,
// with every modal window answered from a script (ScriptedModals).

#include "ui/settings_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <functional>
#include <memory>

#include "app/frm_main.h"
#include "support/test_files.h"
#include "tests/gui/window_fixture.h"
#include "util/message_table.h"

using vorn::Answer;
using vorn::Busy;
using vorn::FrmMain;
using vorn::InputSource;
using vorn::LoadOrRemove;
using vorn::ScriptedModals;
using vorn::TempDir;

namespace {

using Strings = std::vector<std::string>;

}  // namespace

class SettingsWindowTest : public QObject, private vorn::WindowFixture {
  Q_OBJECT

 private:
  vorn::Engine& engine() { return window_->engine(); }
  vorn::Settings& settings() { return window_->engine().settings(); }
  QWidget* frm() { return window_->findChild<QWidget*>("frmParams"); }
  // A control of the Settings window, or of the main window.
  template <typename T>
  T* Child(const char* name) {
    T* w = frm()->findChild<T*>(name);
    if (w == nullptr) qFatal("no control %s", name);
    return w;
  }
  template <typename T>
  T* Main(const char* name) {
    for (T* w : window_->findChildren<T*>(name)) {
      if (w->window() == window_.get()) return w;
    }
    qFatal("no control %s in the main window", name);
  }
  bool PopUpShown(const std::string& text) {
    for (const auto& c : script().calls()) {
      if (c.kind == "popup" && c.text == text) return true;
    }
    return false;
  }
  QString Results() { return Main<QPlainTextEdit>("txbOutput")->toPlainText(); }
  void Click(QAbstractButton* w) { ClickOnCaption(w); }
  void Click(const char* name) { Click(Child<QAbstractButton>(name)); }
  bool Checked(const char* name) { return Child<QCheckBox>(name)->isChecked(); }
  void Choose(const char* name, int index) {
    auto* box = Child<QComboBox>(name);
    box->setCurrentIndex(index);
    emit box->activated(index);
  }
  void Type(const char* name, const QString& text) { TypeInto(Child<QWidget>(name), text); }
  // A started window (no common words: the words-to-ignore list is empty)
  // with the source `source` and the Settings window open.
  void Start(InputSource source) {
    script().QueueAnswer(Answer::kNo);
    window_->show();
    window_->StartUp();
    const char* options[] = {"optOnClipboard", "optInFile", "optFolder"};
    Click(Main<QAbstractButton>(options[static_cast<int>(source)]));
    Click(Main<QAbstractButton>("cmdSetParameters"));
    QVERIFY(frm()->isVisible());
    script().Clear();
  }

 private slots:
  void initTestCase() { QuietOffscreenWarnings(); }
  void init() { MakeWindow(); }
  void cleanup() { DropWindow(); }

  void controlsCarryTheirNamesCaptionsAndToolTips() {
    Start(InputSource::kClipboard);
    QCOMPARE(frm()->windowTitle().toStdString(), vorn::GetMessageText(91));
    for (const char* name :
         {"Frame1", "Frame2", "Frame3", "Frame4", "Frame5", "Frame6", "Frame7",
          "fraIgnoreTheseWords", "chkAllowWordsWithUserSpecifiedExtraChars", "txbStateFile",
          "cmdSetOrClearCheckboxes0", "cmdSetOrClearCheckboxes1", "cmdSaveLoadState0",
          "cmdSaveLoadState1", "cmdListCountOnlyWords", "cboCommonWordsLanguages"}) {
      QVERIFY2(frm()->findChild<QWidget*>(name) != nullptr, name);
    }
    QCOMPARE(Child<QCheckBox>("chkAllowWordsWithAmpersands")->text().remove("&&"),
             QString("ampersand "));
    QCOMPARE(Child<QCheckBox>("chkTerminatePhraseAtDoubleQuote")->text(),
             QString("end double quote \" \u201D \u00BB"));
    QCOMPARE(Child<QPushButton>("cmdSelectWordsFile0")->text(),
             QString("Words-to-ignore files (0)"));
    QVERIFY(!Child<QLineEdit>("txbStateFile")->isVisible());
    // The count-only box says whether case is significant, as the option
    // changes.
    QVERIFY(
        Child<QWidget>("txbWordsToIgnoreOrCount1")->toolTip().endsWith("Case is not significant."));
    Click("chkCaseSignificant");
    QVERIFY(Child<QWidget>("txbWordsToIgnoreOrCount1")->toolTip().endsWith("Case is significant."));
    // "occurrence" after the excess-frequency list's "1".
    Choose("cboExcessFrequency", 0);
    QCOMPARE(settings().ExcessFrequency, int16_t{0});
    QCOMPARE(Child<QLabel>("lblOccurrences2")->text(), QString("occurrence"));
    // "Hide settings" hides the window.
    Click("cmdClose");
    QVERIFY(!frm()->isVisible());
  }

  void openedOverAMaximisedMainWindowItIsCentred() {
    Start(InputSource::kClipboard);
    Click("cmdClose");
    window_->showMaximized();
    QTRY_VERIFY(window_->windowState() & Qt::WindowMaximized);
    Click(Main<QAbstractButton>("cmdSetParameters"));
    const QRect area = window_->screen()->availableGeometry();
    QVERIFY(frm()->isVisible());
    QVERIFY(frm()->width() <= area.width() && frm()->height() <= area.height());
    const QPoint off = frm()->geometry().center() - area.center();
    QVERIFY2(std::abs(off.x()) <= 2 && std::abs(off.y()) <= 2,
             qPrintable(QString("%1,%2").arg(off.x()).arg(off.y())));
  }

  void anyOfNeedsCharactersAndForbiddenOnesAreRefused() {
    Start(InputSource::kClipboard);
    // "any of:" with an empty box unticks itself.
    Click("chkAllowWordsWithUserSpecifiedExtraChars");
    QVERIFY(!Checked("chkAllowWordsWithUserSpecifiedExtraChars"));
    QCOMPARE(settings().AllowWordsWithUserSpecifiedExtraChars, int16_t{0});
    // A character that may never stand in a word is taken out of the box.
    Type("txbUserSpecifiedExtraChars", "+#;#");
    QCOMPARE(script().Dialogs(),
             Strings{"Invalid character|The character + is not permitted in words."});
    QCOMPARE(Child<QLineEdit>("txbUserSpecifiedExtraChars")->text(), QString("#"));
    QCOMPARE(settings().UserSpecifiedExtraChars, std::string("#"));
    Click("chkAllowWordsWithUserSpecifiedExtraChars");
    QVERIFY(Checked("chkAllowWordsWithUserSpecifiedExtraChars"));
    // Emptied, the box unticks "any of:" again.
    Type("txbUserSpecifiedExtraChars", "?");
    QCOMPARE(Child<QLineEdit>("txbUserSpecifiedExtraChars")->text(), QString(""));
    QVERIFY(!Checked("chkAllowWordsWithUserSpecifiedExtraChars"));
  }

  void enterInAWordsBoxChecksItsWords() {
    Start(InputSource::kClipboard);
    auto* box = Child<QPlainTextEdit>("txbWordsToIgnoreOrCount0");
    Type("txbWordsToIgnoreOrCount0", "zeta alpha");
    QCOMPARE(box->toPlainText(), QString("alpha zeta"));
    QCOMPARE(settings().ExtraWords[0], std::string("alpha zeta"));
    QVERIFY(script().Dialogs().empty());
    // A comma cannot stand in a word: reported, and no line break is typed.
    Type("txbWordsToIgnoreOrCount0", "zeta, alpha");
    QVERIFY2(Shows("Character not allowed|The character ','"), Shown());
    QVERIFY(!box->toPlainText().contains('\n'));
    Click("cmdClearWordsToIgnoreOrCount0");
    QVERIFY(box->toPlainText().isEmpty());
    QVERIFY(settings().ExtraWords[0].empty());
  }

  void loadOrRemoveAFileOfTheList() {
    Start(InputSource::kClipboard);
    const std::string a = dir_->Write("a.txt", "alpha beta gamma\r\n");
    const std::string b = dir_->Write("b.txt", "delta epsilon\r\n");
    script().QueueChosenPath(a);
    Click("cmdSelectWordsFile0");
    script().QueueChosenPath(b);
    Click("cmdSelectWordsFile0");
    auto* list = Child<QComboBox>("cboWordsFile0");
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentText().toStdString(), b);
    QCOMPARE(Child<QPushButton>("cmdSelectWordsFile0")->text(),
             QString("Words-to-ignore files (2)"));
    QCOMPARE(engine().state().lists.IgnoreFileWords.size(), size_t{2});
    // Cancel changes nothing: the list shows the loaded file again.
    script().QueueLoadOrRemove(LoadOrRemove::kCancel);
    Choose("cboWordsFile0", 0);
    QCOMPARE(script().load_remove_dialog().path, a);
    QCOMPARE(list->currentText().toStdString(), b);
    // Load.
    script().QueueLoadOrRemove(LoadOrRemove::kLoad);
    Choose("cboWordsFile0", 0);
    QCOMPARE(list->currentText().toStdString(), a);
    QCOMPARE(engine().state().lists.IgnoreFileWords.size(), size_t{3});
    // Remove: out of the list, and its words no longer ignored.
    script().QueueLoadOrRemove(LoadOrRemove::kRemove);
    Choose("cboWordsFile0", 0);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->itemText(0).toStdString(), b);
    QCOMPARE(list->currentIndex(), -1);
    QVERIFY(engine().state().lists.IgnoreFileWords.empty());
    QCOMPARE(Child<QPushButton>("cmdSelectWordsFile0")->text(),
             QString("Words-to-ignore files (1)"));
    // "Clear" empties the list once asked.
    script().QueueAnswer(Answer::kYes);
    Click("cmdClearWordsFile0");
    QCOMPARE(list->count(), 0);
  }

  void aCountOnlyFileSwitchesOnItsCharactersInBothWindows() {
    Start(InputSource::kClipboard);
    QVERIFY(!Checked("chkAllowWordsWithAtSigns"));
    script().QueueChosenPath(dir_->Write("only.txt", "me@home, you@work\r\n"));
    script().QueueAnswer(Answer::kNo);  // do not list them
    Click("cmdSelectWordsFile1");
    QVERIFY2(Shows("Count-only words/phrases loaded|"), Shown());
    // The engine switched the at-sign on itself: the window shows it.
    QCOMPARE(settings().AllowWordsWithAtSigns, int16_t{1});
    QVERIFY(Checked("chkAllowWordsWithAtSigns"));
    QCOMPARE(Child<QPushButton>("cmdSelectWordsFile1")->text(),
             QString("Count-only words/phrases files (1)"));
    Click("cmdListCountOnlyWords");
    QVERIFY2(Results().contains("me@home"), qPrintable(Results()));
  }

  void aCommonWordsLanguage() {
    Start(InputSource::kClipboard);
    auto* languages = Child<QComboBox>("cboCommonWordsLanguages");
    QCOMPARE(languages->currentIndex(), vorn::kNoLanguageSelected);
    script().QueueAnswer(Answer::kYes);
    Choose("cboCommonWordsLanguages", 1);
    QCOMPARE(script().Dialogs(),
             Strings{"Load common words file|Load common words file for German?"});
    QCOMPARE(settings().CommonWordsLanguage, int16_t{1});
    QVERIFY(Child<QComboBox>("cboWordsFile0")->currentText().endsWith("/cwds_de.txt"));
    QVERIFY(!engine().state().lists.IgnoreFileWords.empty());
    // Declined, the list shows the language loaded before.
    script().QueueAnswer(Answer::kNo);
    Choose("cboCommonWordsLanguages", 2);
    QCOMPARE(languages->currentIndex(), 1);
    QCOMPARE(settings().CommonWordsLanguage, int16_t{1});
  }

  void saveAndLoadASettingsFile() {
    Start(InputSource::kClipboard);
    const std::string file = dir_->File("mine.vorn");
    Click("chkCaseSignificant");
    Type("txbWordsToIgnoreOrCount0", "zeta");
    script().QueueChosenPath(file);
    Click("cmdSaveLoadState0");
    QVERIFY(QFileInfo::exists(QString::fromStdString(file)));
    QCOMPARE(Child<QLabel>("lblState")->text(), QString("Settings saved to"));
    QVERIFY(Child<QLineEdit>("txbStateFile")->isVisible());
    QCOMPARE(Child<QLineEdit>("txbStateFile")->text().toStdString(), file);
    // Changed, then loaded back: both boxes as saved, no question.
    Click("chkCaseSignificant");
    Click("cmdClearWordsToIgnoreOrCount0");
    script().Clear();
    script().QueueChosenPath(file);
    Click("cmdSaveLoadState1");
    QVERIFY2(script().Dialogs().empty(), Shown());
    QVERIFY(Checked("chkCaseSignificant"));
    QCOMPARE(Child<QPlainTextEdit>("txbWordsToIgnoreOrCount0")->toPlainText(), QString("zeta"));
    QCOMPARE(Child<QLabel>("lblState")->text(), QString("Settings loaded from"));
    // "Save settings" writes the state file, and says so below its button.
    Click("cmdSaveState");
    QVERIFY(PopUpShown(vorn::GetMessageText(50)));
    QVERIFY(
        QFileInfo::exists(QString::fromStdString(dir_->File("config/Quillon Systems/vorn.usr"))));
  }

  void restoreDefaultsAndReinitialize() {
    Start(InputSource::kClipboard);
    const std::string words = dir_->Write("w.txt", "alpha beta gamma\r\n");
    script().QueueChosenPath(words);
    Click("cmdSelectWordsFile0");
    Type("txbWordsToIgnoreOrCount0", "zeta");
    Click("cmdSetOrClearCheckboxes1");
    QVERIFY(Checked("chkAllowWordsWithNumerals"));
    QVERIFY(Checked("chkIgnoreInfrequentWords"));
    QVERIFY(!Checked("chkAllowWordsWithUserSpecifiedExtraChars"));  // its box is empty
    Choose("cboExcessFrequency", 0);
    script().Clear();
    // "Restore defaults" resets the switches and lists without a question
    // and leaves the words lists and the boxes alone.
    Click("cmdRestoreDefaults");
    QVERIFY2(script().Dialogs().empty(), Shown());
    QVERIFY(!Checked("chkAllowWordsWithNumerals"));
    QVERIFY(Checked("chkAllowWordsWithHyphens"));
    QCOMPARE(Child<QComboBox>("cboExcessFrequency")->currentText(), QString("20"));
    QCOMPARE(Child<QLabel>("lblOccurrences2")->text(), QString("occurrences"));
    QCOMPARE(Child<QComboBox>("cboWordsFile0")->count(), 1);
    QCOMPARE(Child<QPlainTextEdit>("txbWordsToIgnoreOrCount0")->toPlainText(), QString("zeta"));
    // "Reinitialize" asks about the words files: No keeps them.
    script().QueueAnswer(Answer::kNo);
    Click("cmdInitialize");
    QCOMPARE(script().Dialogs(),
             Strings{"Reinitialize|Do you wish to clear all words-to-ignore files?"});
    QCOMPARE(Child<QComboBox>("cboWordsFile0")->count(), 1);
    QVERIFY(Child<QPlainTextEdit>("txbWordsToIgnoreOrCount0")->toPlainText().isEmpty());
    // "Clear all checkboxes".
    Click("cmdSetOrClearCheckboxes0");
    QVERIFY(!Checked("chkAllowWordsWithHyphens"));
    QVERIFY(!Checked("chkTerminatePhraseAtTab"));
  }

  void framesAreLockedDuringARun() {
    const std::string big = dir_->Write("many.txt", vorn::ManyWords(20000));
    Start(InputSource::kSingleFile);
    settings().InputFilePath = big;
    window_->OnSettingChanged("InputFilePath");
    // Which controls are locked is the window rules' to say (tested with
    // them); a few of them show that the window follows.
    const char* locked[] = {"Frame1", "fraIgnoreTheseWords", "cmdRestoreDefaults"};
    const char* open[] = {"Frame4", "chkTerminatePhraseAtTab",
                          "chkPatternMatchingInWordsToIgnoreFile", "cmdClose"};
    bool seen = false;
    bool all_locked = true;
    bool all_open = true;
    DuringWork([&] {
      if (!engine().state().run.Running) return false;
      for (const char* name : locked) all_locked = all_locked && !Child<QWidget>(name)->isEnabled();
      for (const char* name : open) all_open = all_open && Child<QWidget>(name)->isEnabled();
      // A phrase end may change during the run; it counts from the next one.
      Click("chkTerminatePhraseAtPeriod");
      seen = true;
      return true;
    });
    Click(Main<QAbstractButton>("cmdCountWords"));
    QVERIFY(seen);
    QVERIFY(all_locked);
    QVERIFY(all_open);
    QVERIFY(!Checked("chkTerminatePhraseAtPeriod"));
    QCOMPARE(settings().TerminatePhraseAtPeriod, int16_t{0});
    QCOMPARE(engine().busy(), Busy::kIdle);
    for (const char* name : locked) QVERIFY2(Child<QWidget>(name)->isEnabled(), name);
  }

  void anOptionSetHereReachesTheCount() {
    Start(InputSource::kClipboard);
    QGuiApplication::clipboard()->setText("Apple apple APPLE pear");
    Click(Main<QAbstractButton>("cmdCountWords"));
    QVERIFY2(Results().contains("3  apple"), qPrintable(Results()));
    Click("chkCaseSignificant");
    QCOMPARE(settings().CaseSignificant, int16_t{1});
    Click(Main<QAbstractButton>("cmdCountWords"));
    QVERIFY2(Results().contains("1  Apple") && Results().contains("1  APPLE"),
             qPrintable(Results()));
    QVERIFY(!Results().contains("3  apple"));
  }

  void quitAsksFirst() {
    Start(InputSource::kClipboard);
    script().QueueAnswer(Answer::kNo);
    Click("cmdQuit");
    QCOMPARE(script().Dialogs(), Strings{"Quit|Really quit?"});
    QVERIFY(window_->isVisible());
    QVERIFY(frm()->isVisible());
    // Yes quits, saving first when asked to.
    Click("chkSaveStateOnQuit");
    script().QueueAnswer(Answer::kYes);
    Click("cmdQuit");
    QVERIFY(!window_->isVisible());
    QVERIFY(!frm()->isVisible());
    QVERIFY(
        QFileInfo::exists(QString::fromStdString(dir_->File("config/Quillon Systems/vorn.usr"))));
  }
};

QTEST_MAIN(SettingsWindowTest)
#include "settings_window_test.moc"
