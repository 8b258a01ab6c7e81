// Folder runs through the engine with a scripted host: the questions and
// refusals of a folder source, the two passes, the per-file bookkeeping of
// the word list, progress, and files that change while a run goes on.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "counting/engine.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/text.h"

namespace vorn {
namespace {

using Strings = std::vector<std::string>;

// An engine over a folder source, every pause letting events run.
struct FolderRun {
  explicit FolderRun(const std::string& folder) : engine(&host) {
    Settings& s = engine.settings();
    s.Source = InputSource::kFolder;
    s.FolderPath = folder;
    s.OutputFilePath.clear();
    engine.SetEventThrottle(1, std::chrono::milliseconds(0));
  }
  ScriptedHost host;
  Engine engine;
};

std::string Box(const FolderRun& r) { return TextToUtf8(r.engine.state().textbox.text()); }

TEST(FolderScanTest, MultipleFilesAskForAnOutputFile) {
  TempDir dir;
  dir.Write("a.txt", "alpha beta\n");
  {
    // One file in one folder: no question.
    FolderRun r(dir.path());
    EXPECT_EQ(r.engine.CountWords(), RunOutcome::kListed);
    EXPECT_EQ(r.host.Dialogs(), Strings{});
  }
  dir.Write("b.txt", "beta gamma\n");
  const std::string question =
      "Multiple files/folders|When scanning multiple files or folders\r\nyou must specify an "
      "output file in case\r\nthe text window will not hold the result.";
  {
    FolderRun r(dir.path());
    r.host.QueueAnswer(Answer::kCancel);
    EXPECT_EQ(r.engine.CountWords(), RunOutcome::kCancelled);
    EXPECT_EQ(r.host.Dialogs(), Strings{question});
    EXPECT_EQ(r.engine.state().busy, Busy::kIdle);
  }
  {
    // OK, but no file chosen.
    FolderRun r(dir.path());
    r.host.QueueAnswer(Answer::kOk);
    r.host.QueueChosenPath("");
    EXPECT_EQ(r.engine.CountWords(), RunOutcome::kCancelled);
  }
  {
    // A file chosen inside the folder is refused like one named before.
    FolderRun r(dir.path());
    r.host.QueueAnswer(Answer::kOk);
    r.host.QueueChosenPath(dir.File("out.txt"));
    EXPECT_EQ(r.engine.CountWords(), RunOutcome::kRefused);
    EXPECT_EQ(r.host.Dialogs().back(),
              "Invalid output file|The output file cannot be in the folder or a subfolder.");
  }
  TempDir elsewhere;
  FolderRun r(dir.path());
  r.host.QueueAnswer(Answer::kOk);
  r.host.QueueChosenPath(elsewhere.File("out.txt"));
  EXPECT_EQ(r.engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(r.engine.settings().OutputFilePath, elsewhere.File("out.txt"));
  EXPECT_NE(ReadFileBytes(elsewhere.File("out.txt")).find("\t       2\tbeta\r\n"),
            std::string::npos)
      << ReadFileBytes(elsewhere.File("out.txt"));
}

TEST(FolderScanTest, TheFilesOfEachWordAreNumberedInReadingOrder) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("sub"));
  dir.Write("b.txt", "beta common\n");
  dir.Write("a.txt", "alpha common\n");
  dir.Write("sub/c.txt", "gamma common beta\n");
  dir.Write("z.jpg", "never read\n");
  FolderRun r(dir.path());
  Settings& s = r.engine.settings();
  s.IncludeSubfolders = 1;
  s.OutputFilePath = TempDir().File("unused.txt");
  s.DisableOutputToFile = 1;
  std::vector<std::string> progress;
  r.host.OnProcessEvents([&] { progress.push_back(r.host.label(Label::kFilesScanned)); });
  ASSERT_EQ(r.engine.CountWords(), RunOutcome::kListed);
  const EngineState& st = r.engine.state();
  EXPECT_EQ(st.run.ScannedFilePaths,
            (Strings{dir.File("a.txt"), dir.File("b.txt"), dir.File("sub/c.txt")}));
  EXPECT_EQ(st.run.FilesScanned, 3);
  EXPECT_EQ(st.run.FolderCount, 2);
  std::vector<std::pair<std::string, std::vector<int>>> files;
  for (int64_t i = 1; i <= st.words.DistinctCount(); ++i) {
    std::vector<int> numbers;
    for (const FileTally& t : st.words.Files(i)) numbers.push_back(t.file_index);
    files.emplace_back(std::string(st.words.Word(i)), numbers);
  }
  std::sort(files.begin(), files.end());
  const std::vector<std::pair<std::string, std::vector<int>>> expected = {
      {"alpha", {1}}, {"beta", {2, 3}}, {"common", {1, 2, 3}}, {"gamma", {3}}};
  EXPECT_EQ(files, expected);
  // The folder progress went to its end and gave the label back.
  EXPECT_EQ(r.host.indicator(Indicator::kFolderProgress), -1);
  EXPECT_NE(std::find(progress.begin(), progress.end(), "3 of 3 files"), progress.end());
}

// A count-only file among the files to scan stops the count, also when it
// is met through a link and was loaded through another path.
TEST(FolderScanTest, ACountOnlyFileAmongTheScannedFilesStopsTheCount) {
  TempDir dir;
  const TempDir elsewhere;
  dir.Write("a.txt", "alpha beta\n");
  elsewhere.Write("words.txt", "beta\n");
  std::filesystem::create_directories(elsewhere.File("sub"));
  std::filesystem::create_directory_symlink(elsewhere.path(), dir.File("link"));
  for (const int threads : {1, 2}) {
    FolderRun r(dir.path());
    r.engine.SetThreads(threads);
    r.engine.settings().IncludeSubfolders = 1;
    // Loaded through a path with "..": the same file all the same.
    ASSERT_TRUE(r.engine.LoadWordsFile(1, elsewhere.path() + "/sub/../words.txt"));
    r.host.Clear();
    EXPECT_EQ(r.engine.CountWords(), RunOutcome::kRefused) << threads;
    EXPECT_EQ(Box(r), "Stopped while counting files (so far: 1 file in 2 folders).\r\nThe file " +
                          dir.File("link/words.txt") +
                          "\r\nis among the files to be scanned.\r\nBut this file is the same as "
                          "the count-only words/phrases file\r\ncurrently specified in the "
                          "Settings panel. This is not permitted.\r\n")
        << threads;
  }
}

TEST(FolderScanTest, TheOutputFileIsNotReadWhicheverPathLeadsToIt) {
  // How the folder reaches a file that is the output file: a link to the
  // output's folder, or a second name of the file.
  enum class Way { kFolderLink, kHardLink };
  for (const Way way : {Way::kFolderLink, Way::kHardLink}) {
    TempDir dir;
    const TempDir elsewhere;
    dir.Write("a.txt", "alpha\n");
    const std::string out = elsewhere.Write("out.txt", "stale\n");
    std::filesystem::create_directories(elsewhere.File("sub"));
    if (way == Way::kFolderLink) {
      std::filesystem::create_directory_symlink(elsewhere.path(), dir.File("link"));
    } else {
      std::filesystem::create_hard_link(out, dir.File("hard.txt"));
    }
    // The output file named as it is, and through "..".
    for (const std::string& output : {out, elsewhere.path() + "/sub/../out.txt"}) {
      for (const int threads : {1, 2}) {
        const std::string what = output + " " + std::to_string(threads);
        WriteFileBytes(out, "stale\n");
        FolderRun r(dir.path());
        r.engine.SetThreads(threads);
        Settings& s = r.engine.settings();
        s.IncludeSubfolders = 1;
        s.OutputFilePath = output;
        // The existing output file is only tested before the count, not
        // emptied.
        s.WarnOnOverwrite = 1;
        ASSERT_EQ(r.engine.CountWords(), RunOutcome::kListed) << what;
        const EngineState& st = r.engine.state();
        EXPECT_EQ(st.run.FilesToScan, 2) << what;
        EXPECT_EQ(st.run.FilesScanned, 1) << what;
        ASSERT_EQ(st.words.DistinctCount(), 1) << what;
        EXPECT_EQ(st.words.Word(1), "alpha") << what;
      }
    }
  }
}

TEST(FolderScanTest, AStopWhileCountingFilesSaysHowFarItGot) {
  TempDir dir;
  for (int i = 0; i < 20; ++i) dir.Write("f" + std::to_string(100 + i) + ".txt", "word\n");
  FolderRun r(dir.path());
  r.host.OnProcessEvents([&r] {
    if (r.engine.state().run.CountingFiles && r.engine.state().run.FilesScanned == 7) {
      r.engine.CountWords();
    }
  });
  EXPECT_EQ(r.engine.CountWords(), RunOutcome::kStopped);
  EXPECT_EQ(Box(r), "Stopped while counting files (so far: 7 files in 1 folder).\r\n");
  EXPECT_EQ(r.engine.state().busy, Busy::kIdle);
}

TEST(FolderScanTest, FilesThatGoOrChangeBetweenThePassesAreReadAsTheyAreThen) {
  TempDir dir;
  dir.Write("a.txt", "alpha\n");
  const std::string gone = dir.Write("b.txt", "beta\n");
  const std::string changed = dir.Write("c.txt", "gamma\n");
  FolderRun r(dir.path());
  // On several threads the files are read a few ahead of their turn, so a
  // change at the first pause of the reading pass may come after the read.
  r.engine.SetThreads(1);
  r.engine.settings().OutputFilePath = TempDir().File("unused.txt");
  r.engine.settings().DisableOutputToFile = 1;
  bool done = false;
  r.host.OnProcessEvents([&] {
    if (!done && r.engine.state().run.ReadingFiles) {
      std::filesystem::remove(gone);
      WriteFileBytes(changed, "delta delta\n");
      done = true;
    }
  });
  ASSERT_EQ(r.engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(r.host.Dialogs(), Strings{"Files not read|This file or folder could not be read:\r\n" +
                                      gone + " (no longer a file)"});
  const EngineState& st = r.engine.state();
  Strings words;
  for (int64_t i = 1; i <= st.words.DistinctCount(); ++i) {
    words.emplace_back(st.words.Word(i));
  }
  std::sort(words.begin(), words.end());
  EXPECT_EQ(words, (Strings{"alpha", "delta"}));
  EXPECT_EQ(st.run.FilesScanned, 2);
}

TEST(FolderScanTest, HeadingsThatFillTheResultsBox) {
  TempDir dir;
  const std::string name(60, 'n');
  for (int i = 0; i < 1200; ++i) dir.Write(name + std::to_string(1000 + i) + ".txt", "word\n");
  {
    // A listing stops where the box is full and says how far it got.
    FolderRun r(dir.path());
    EXPECT_EQ(r.engine.ListFiles(), RunOutcome::kStopped);
    const std::string box = Box(r);
    const std::string end = "\r\n\r\nTextbox is full.\r\n\r\nTo this point: ";
    ASSERT_NE(box.find(end), std::string::npos);
    EXPECT_TRUE(box.ends_with(" files in 1 folder")) << box.substr(box.size() - 60);
  }
  // A count shows them as progress: the box starts again and every file is
  // read.
  FolderRun r(dir.path());
  r.engine.settings().OutputFilePath = TempDir().File("unused.txt");
  r.engine.settings().DisableOutputToFile = 1;
  ASSERT_EQ(r.engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(r.engine.state().run.FilesScanned, 1200);
  EXPECT_EQ(r.engine.state().words[1].Count, 1200);
}

TEST(FolderScanTest, ListFilesNamesEachFileAndCountsThem) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("sub"));
  dir.Write("a.txt", "alpha\n");
  dir.Write("sub/b.htm", "<p>beta</p>\n");
  dir.Write("empty.txt", "");
  dir.Write("c.bin", "not read\n");
  FolderRun r(dir.path());
  r.engine.settings().IncludeSubfolders = 1;
  ASSERT_EQ(r.engine.ListFiles(), RunOutcome::kListed);
  EXPECT_EQ(Box(r), "{Folder} = " + dir.path() +
                        "\r\n\r\n{Folder}/a.txt\r\n{Folder}/sub/b.htm\r\n\r\n2 files in 2 folders "
                        "will be scanned.\r\n");
  EXPECT_EQ(r.host.busy_changes(), (std::vector<Busy>{Busy::kListingFiles, Busy::kIdle}));
  // A count run afterwards is not disturbed by the listing.
  r.engine.settings().IncludeSubfolders = 0;
  ASSERT_EQ(r.engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(r.engine.state().run.FilesScanned, 1);
}

TEST(FolderScanTest, TheChecksOfACountArray) {
  TempDir dir;
  dir.Write("a.txt", "alpha beta\n");
  dir.Write("b.txt", "beta\n");
  const TempDir elsewhere;
  {
    FolderRun r(dir.path());
    EXPECT_EQ(r.engine.CountArray(), RunOutcome::kRefused);
    EXPECT_EQ(r.host.Dialogs(),
              Strings{"Make 2-d count array for Excel|No output file has been specified.\r\n"
                      "Please specify an output file first."});
  }
  {
    // An existing file with "Warn on overwrite": kept when the input box is
    // cancelled; a path typed there is checked like the one named.
    FolderRun r(dir.path());
    Settings& s = r.engine.settings();
    s.OutputFilePath = elsewhere.Write("array.txt", "kept");
    s.WarnOnOverwrite = 1;
    r.host.QueueInput(std::nullopt);
    EXPECT_EQ(r.engine.CountArray(), RunOutcome::kCancelled);
    EXPECT_EQ(ReadFileBytes(s.OutputFilePath), "kept");
    r.host.QueueInput(dir.File("inside.txt"));
    EXPECT_EQ(r.engine.CountArray(), RunOutcome::kRefused);
    EXPECT_EQ(r.host.Dialogs().back(),
              "Invalid output file|The output file cannot be in the folder or a subfolder.");
    // The options dialog cancelled.
    s.WarnOnOverwrite = 0;
    r.host.QueueArrayAnswer({DialogExit::kCancel, 0, false, false});
    EXPECT_EQ(r.engine.CountArray(), RunOutcome::kCancelled);
    EXPECT_EQ(ReadFileBytes(s.OutputFilePath), "kept");
  }
  // Written although output to file is disabled, and not listed again when
  // a display option changes.
  FolderRun r(dir.path());
  Settings& s = r.engine.settings();
  s.OutputFilePath = elsewhere.File("array2.txt");
  s.DisableOutputToFile = 1;
  ASSERT_EQ(r.engine.CountArray(), RunOutcome::kListed);
  const std::string table = ReadFileBytes(s.OutputFilePath);
  EXPECT_NE(table.find("\r\nbeta\t1\t1\t\t2\r\n"), std::string::npos) << table;
  s.DisplayFormat = 1;
  r.engine.DisplayOptionChanged(DisplayOption::kDisplayFormat);
  EXPECT_EQ(ReadFileBytes(s.OutputFilePath), table);
}

TEST(FolderScanTest, ACountArrayTakesAtMostTenThousandFiles) {
  TempDir dir;
  for (int i = 0; i < 10001; ++i) dir.Write("f" + std::to_string(i), "w\n");
  FolderRun r(dir.path());
  r.engine.state().run.CountArrayMode = true;
  EXPECT_EQ(r.engine.CountWords(), RunOutcome::kRefused);
  EXPECT_EQ(r.host.Dialogs(), Strings{"Too many files|The number of files to be scanned is 10001."
                                      "\r\nBut when creating an Excel file of words/phrases vs "
                                      "files\r\nthe maximum number of files is 10,000."});
  // 10,000 go on to be read.
  std::filesystem::remove(dir.File("f0"));
  FolderRun ok(dir.path());
  ok.engine.state().run.CountArrayMode = true;
  const TempDir elsewhere;
  ok.engine.settings().OutputFilePath = elsewhere.File("array.csv");
  ok.host.OnProcessEvents([&ok] {
    if (ok.engine.state().run.ReadingFiles) ok.engine.StopSilently();
  });
  ok.engine.CountWords();
  EXPECT_EQ(ok.host.Dialogs(), Strings{});
}

}  // namespace
}  // namespace vorn
