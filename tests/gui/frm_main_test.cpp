// The main window driven by its controls, with every modal window answered
// from a script (ScriptedModals).

#include "app/frm_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "support/test_files.h"
#include "tests/gui/window_fixture.h"

using vorn::Answer;
using vorn::Busy;
using vorn::FrmMain;
using vorn::InputSource;
using vorn::ScriptedModals;
using vorn::TempDir;

namespace {

std::string SourceFile(const std::string& relative) {
  return std::string(VORN_TEST_SOURCE_DIR) + "/" + relative;
}

}  // namespace

class FrmMainTest : public QObject, private vorn::WindowFixture {
  Q_OBJECT

 private:
  template <typename T>
  T* Child(const char* name) {
    T* w = window_->findChild<T*>(name);
    if (w == nullptr) qFatal("no control %s", name);
    return w;
  }
  QString Results() { return Child<QPlainTextEdit>("txbOutput")->toPlainText(); }
  void Click(const char* name) { ClickOnCaption(Child<QAbstractButton>(name)); }
  void Type(const char* name, const QString& text) { TypeInto(Child<QLineEdit>(name), text); }
  // A started window with an empty settings folder, source `source`.
  void Start(InputSource source) {
    window_->show();
    window_->StartUp();
    const char* options[] = {"optOnClipboard", "optInFile", "optFolder"};
    Click(options[static_cast<int>(source)]);
    script().Clear();
  }

 private slots:
  void initTestCase() { QuietOffscreenWarnings(); }
  void init() { MakeWindow(); }
  void cleanup() { DropWindow(); }

  void startUpWithoutStateFileOffersCommonWords() {
    script().QueueAnswer(Answer::kNo);
    window_->show();
    window_->StartUp();
    QVERIFY(Shows("Ignore common words?|"));
    QCOMPARE(script().Dialogs().size(), size_t{1});
    QVERIFY(window_->engine().state().MainWindowLoaded);
  }

  void singleFileCountShowsWordsAndCountLines() {
    Start(InputSource::kSingleFile);
    Type("txbFile0", QString::fromStdString(SourceFile("data/sample.txt")));
    Click("cmdCountWords");
    QVERIFY2(Results().contains(" the"), qPrintable(Results().left(300)));
    QVERIFY(Child<QLabel>("lblNumberOfWords")->isVisibleTo(window_.get()));
    QVERIFY(!Child<QLabel>("lblOnlineDocumentation")->isVisibleTo(window_.get()));
    QVERIFY(script().Dialogs().empty());
    QCOMPARE(window_->engine().busy(), Busy::kIdle);
    QVERIFY(Child<QPushButton>("cmdFile0")->isEnabled());
    // "Clear textbox" gives the place back to the manual link.
    Click("cmdClearOutput");
    QVERIFY(Results().isEmpty());
    QVERIFY(Child<QLabel>("lblOnlineDocumentation")->isVisibleTo(window_.get()));
  }

  void folderCountWithPatternsAndListFiles() {
    Start(InputSource::kFolder);
    QVERIFY(Child<QPushButton>("cmdCountArray")->isVisibleTo(window_.get()));
    QVERIFY(!Child<QLineEdit>("txbFile0")->isVisibleTo(window_.get()));
    // The listing of the file formats writes its vector files beside the
    // folder: a folder of the test's own.
    QDir().mkpath(QString::fromStdString(dir_->File("texts/sub")));
    dir_->Write("texts/a.txt", "alpha beta alpha gamma\r\n");
    dir_->Write("texts/sub/b.txt", "beta delta\r\n");
    dir_->Write("texts/code.c", "int main(void) { return 0; }\r\n");
    Type("txbFolder", QString::fromStdString(dir_->File("texts")));
    Click("chkIncludeSubfolders");
    QCOMPARE(window_->engine().settings().IncludeSubfolders, int16_t{1});
    Type("txbFileFilepathSpecifications0", "*.txt");
    Click("cmdListFiles");
    QVERIFY2(Results().contains("a.txt") && Results().contains("b.txt"), qPrintable(Results()));
    QVERIFY(!Results().contains("code.c"));
    // A folder run writes its whole listing to an output file.
    Type("txbFile1", QString::fromStdString(dir_->File("out.txt")));
    Click("cmdCountWords");
    QVERIFY2(Child<QLabel>("lblNumberOfWords")->isVisibleTo(window_.get()), Shown());
    QVERIFY(!Results().isEmpty());
    QVERIFY(QFileInfo(QString::fromStdString(dir_->File("out.txt"))).size() > 0);
    // The file formats of a folder run, and sorting them by files.
    auto* format = Child<QComboBox>("cboDisplayFormat");
    auto* by_files = Child<QCheckBox>("chkSortByNumberOfFiles");
    QVERIFY(!by_files->isEnabled());
    format->setCurrentIndex(11);
    emit format->activated(11);
    QCOMPARE(window_->engine().settings().DisplayFormat, 11);
    QVERIFY(by_files->isEnabled());
    const QString by_frequency = Results();
    Click("chkSortByNumberOfFiles");
    QVERIFY(by_files->isChecked());
    QVERIFY(Results() != by_frequency);
  }

  void stopAfterMoreThan800EntriesAsksFirst() {
    const std::string big = dir_->Write("many.txt", vorn::ManyWords(20000));
    Start(InputSource::kSingleFile);
    Type("txbFile0", QString::fromStdString(big));
    bool clicked = false;
    bool locked = false;
    DuringWork([&] {
      if (window_->engine().state().words.DistinctCount() <= 800) return false;
      // The count button is the stop command while the run goes on.
      locked = Child<QPushButton>("cmdCountWords")->isEnabled() &&
               !Child<QPushButton>("cmdFile0")->isEnabled();
      Click("cmdCountWords");
      clicked = true;
      return true;
    });
    script().QueueAnswer(Answer::kYes);
    Click("cmdCountWords");
    QVERIFY(clicked);
    QVERIFY(locked);
    QVERIFY(Shows("found so far.\r\n\r\nReally stop?"));
    QVERIFY(window_->engine().state().words.DistinctCount() < 20000);
    QCOMPARE(window_->engine().busy(), Busy::kIdle);
    QVERIFY(Child<QPushButton>("cmdFile0")->isEnabled());
  }

  void closingDuringRunStopsSilentlyThenQuits() {
    const std::string big = dir_->Write("many.txt", vorn::ManyWords(20000));
    Start(InputSource::kSingleFile);
    Type("txbFile0", QString::fromStdString(big));
    DuringWork([&] {
      window_->close();
      return true;
    });
    Click("cmdCountWords");
    QVERIFY(!window_->isVisible());
    QCOMPARE(window_->engine().busy(), Busy::kIdle);
    QVERIFY(script().Dialogs().empty());
  }

  void displayOptionsRelist() {
    Start(InputSource::kClipboard);
    QGuiApplication::clipboard()->setText("zebra zebra zebra apple");
    Click("cmdCountWords");
    QVERIFY(Results().indexOf("zebra") < Results().indexOf("apple"));
    auto* order = Child<QComboBox>("cboWordOrder");
    order->setCurrentIndex(1);
    emit order->activated(1);
    QVERIFY2(Results().indexOf("apple") < Results().indexOf("zebra"), qPrintable(Results()));
    auto* format = Child<QComboBox>("cboDisplayFormat");
    format->setCurrentIndex(9);  // word, word, ...
    emit format->activated(9);
    QVERIFY2(Results().contains("apple, zebra"), qPrintable(Results()));
    // The file formats need a folder: refused, the list shows format 0 again.
    format->setCurrentIndex(11);
    emit format->activated(11);
    QCOMPARE(format->currentIndex(), 0);
    Click("chkDisplayRelativeFrequency");
    QVERIFY2(Results().contains("%"), qPrintable(Results()));
  }

  void switchingSourceKeepsPaths() {
    Start(InputSource::kSingleFile);
    const QString file = QString::fromStdString(SourceFile("data/sample.txt"));
    Type("txbFile0", file);
    Click("optFolder");
    Type("txbFolder", QString::fromStdString(SourceFile("tests/data/tree")));
    Click("optOnClipboard");
    Click("optInFile");
    QCOMPARE(Child<QLineEdit>("txbFile0")->text(), file);
    QVERIFY(Child<QLineEdit>("txbFile0")->isVisibleTo(window_.get()));
    QVERIFY(!Child<QLineEdit>("txbFolder")->isVisibleTo(window_.get()));
    Click("optFolder");
    QVERIFY(Child<QLineEdit>("txbFolder")->text().endsWith("tests/data/tree"));
  }

  void outputFileRules() {
    Start(InputSource::kClipboard);
    auto* disable = Child<QCheckBox>("chkDisableOutputToFile");
    QVERIFY(!disable->isEnabled());
    script().QueueChosenPath(dir_->File("out.txt"));
    Click("cmdFile1");
    QCOMPARE(Child<QLineEdit>("txbFile1")->text().toStdString(), dir_->File("out.txt"));
    QVERIFY(disable->isEnabled());
    QVERIFY(!disable->isChecked());
    Click("chkDisableOutputToFile");
    QVERIFY(disable->isChecked());
    Click("cmdClearFile1");
    QVERIFY(Child<QLineEdit>("txbFile1")->text().isEmpty());
    QVERIFY(!disable->isEnabled());
    QVERIFY(!disable->isChecked());
  }

  void countAllPhrasesListsThePhrases() {
    Start(InputSource::kClipboard);
    QGuiApplication::clipboard()->setText("one two three one two three");
    script().QueuePhrasesAnswer({vorn::DialogExit::kAccept, 1, 2, 1, false, false});
    Click("cmdCountAllPhrases");
    QVERIFY2(Results().contains("one two"), qPrintable(Results()));
  }

  void countArrayNeedsAnOutputFile() {
    Start(InputSource::kFolder);
    Type("txbFolder", QString::fromStdString(SourceFile("tests/data/tree")));
    Click("cmdCountArray");
    QVERIFY(!script().Dialogs().empty());
    QVERIFY(Results().isEmpty());
  }

  // The help text and the icon are the window library's resource: the
  // help window shows the text as its file holds it.
  void helpShowsTheHelpText() {
    window_->show();
    Click("cmdHelp");
    auto* help = window_->findChild<QWidget*>("frmHelp");
    QVERIFY(help != nullptr);
    QVERIFY(help->isVisible());
    QFile file(QString::fromStdString(SourceFile("src/ui/resources/help.txt")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString first_line = QString::fromUtf8(file.readLine()).trimmed();
    QVERIFY(!first_line.isEmpty());
    const QString shown = help->findChild<QPlainTextEdit*>("txbHelpScreen")->toPlainText();
    QVERIFY2(shown.startsWith(first_line), qPrintable(shown.left(200)));
    QVERIFY(!QPixmap(":/vorn/vorn.png").isNull());
    help->findChild<QPushButton*>("cmdClose")->click();
    QVERIFY(!help->isVisible());
  }

  void clickOnResultsWhileListingWaitsForOk() {
    Start(InputSource::kFolder);
    Type("txbFolder", QString::fromStdString(SourceFile("tests/data/tree")));
    DuringWork([&] {
      if (window_->engine().busy() != Busy::kListingFiles) return false;
      auto* box = Child<QPlainTextEdit>("txbOutput");
      QTest::mouseClick(box->viewport(), Qt::LeftButton);
      return true;
    });
    Click("cmdListFiles");
    QVERIFY(Shows("Listing files to be scanned|Click on 'OK' to continue."));
  }
};

QTEST_MAIN(FrmMainTest)
#include "frm_main_test.moc"
