#include "results/output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "counting/engine_state.h"
#include "results/display_formats.h"
#include "results/ranking.h"
#include "support/prepared_list.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/file_proc.h"
#include "util/message_table.h"
#include "util/text.h"

namespace vorn {
namespace {

const char kFruitFormat8[] =
    "Word [longest has 6 characters]\r\nbanana\r\npear\r\napple\r\nfig\r\nkiwi\r\n";

std::string U8(const Text& t) { return TextToUtf8(t); }

class OutputTest : public ::testing::Test {
 protected:
  OutputTest() : st_(&host_) {
    // Events run every 4096 entries of a walk, as an engine lets them.
    st_.pacer.SetDue([this] { host_.ProcessEvents(); });
    st_.pacer.SetThrottle(4096, std::chrono::milliseconds(0));
  }

  // Events run (on the host) every `every` entries of a walk, as the engine
  // lets them run from its pacer.
  void PaceEvery(int every) {
    st_.pacer.SetDue([this] { host_.ProcessEvents(); });
    st_.pacer.SetThrottle(every, std::chrono::milliseconds(0));
  }

  // The fruit list in display format 8, written to out.txt.
  void Fruit() {
    PrepareFruit(&st_);
    st_.settings.DisplayFormat = 8;
    st_.settings.OutputFilePath = Out();
  }
  std::string Out() const { return dir_.File("out.txt"); }
  std::string Box() const { return U8(st_.textbox.text()); }
  // `n` clipboard words of 7 characters, listed in format 8.
  void ManyWords(int n) {
    st_.settings.Source = InputSource::kClipboard;
    std::vector<Item> items;
    for (int i = 0; i < n; ++i) items.push_back({"w" + std::to_string(100000 + i), {{0, 1}}});
    Prepare(&st_, items);
    st_.settings.DisplayFormat = 8;
  }
  // Two files of /d: many (9 in a), wide (1 in a, 1 in b), in format 11.
  void ManyAndWide(const std::string& folder) {
    st_.settings.Source = InputSource::kFolder;
    st_.settings.FolderPath = folder;
    st_.run.ScannedFilePaths = {folder + "/a", folder + "/b"};
    st_.run.FilesScanned = 2;
    st_.run.FolderCount = 1;
    Prepare(&st_, {{"many", {{1, 9}}}, {"wide", {{1, 1}, {2, 1}}}});
    st_.settings.DisplayFormat = 11;
  }

  ScriptedHost host_;
  EngineState st_;
  TempDir dir_;
};

// The overwrite guard asks nothing for a new file, nor without WarnOnOverwrite.
TEST_F(OutputTest, TextboxAlwaysAndTheFileUnlessDisabled) {
  Fruit();
  st_.settings.WarnOnOverwrite = 1;
  st_.settings.DisableOutputToFile = 1;
  ListWords(&st_);
  EXPECT_FALSE(FileExists(Out()));
  EXPECT_FALSE(st_.listing.OutputFileWritten);
  st_.settings.DisableOutputToFile = 0;
  ListWords(&st_);
  EXPECT_EQ(ReadFileBytes(Out()), kFruitFormat8);  // a clipboard run has no file header
  EXPECT_TRUE(st_.listing.OutputFileWritten);
  EXPECT_FALSE(st_.listing.WritingToFile);
  EXPECT_EQ(Box(), kFruitFormat8);
  st_.settings.WarnOnOverwrite = 0;
  ListWords(&st_);
  EXPECT_TRUE(host_.calls().empty());
}

TEST_F(OutputTest, FolderFileHeaderAndRenderingLeavesTheTextboxAlone) {
  ManyAndWide("/data/texts");
  st_.settings.IncludeSubfolders = 1;
  st_.textbox.SetText(u"keep");
  const std::string head =
      "Folder: /data/texts plus any subfolders\r\n2 files (in 1 folder) were scanned.\r\n";
  EXPECT_EQ(RenderFileListing(&st_).substr(0, head.size()), head);
  EXPECT_EQ(st_.textbox.text(), u"keep");
  EXPECT_FALSE(st_.listing.WritingToFile);
}

TEST_F(OutputTest, OverwriteGuardAnswers) {
  const std::string existing = dir_.Write("Out.txt", "old");
  const std::string other = dir_.File("New Name.TXT");
  struct Case {
    std::optional<std::string> answer;
    std::string want_path;  // empty: file output disabled
    std::string want_message;
  };
  const Case kCases[] = {{existing, existing, ""},
                         {"  " + existing + "  ", existing, ""},
                         {std::nullopt, "", ""},  // Cancel
                         {std::string(""), "", ""},
                         {other, other, ""},  // a different file, its case kept
                         {dir_.File("nowhere/x.txt"), "", "Error|Folder does not exist."}};
  for (const auto& c : kCases) {
    const std::string name = c.answer.value_or("Cancel");
    WriteFileBytes(existing, "old");
    ScriptedHost host;
    EngineState st(&host);
    PrepareFruit(&st);
    st.settings.DisplayFormat = 8;
    st.settings.WarnOnOverwrite = 1;
    st.settings.OutputFilePath = existing;
    host.QueueInput(c.answer);
    ListWords(&st);
    ASSERT_FALSE(host.calls().empty()) << name;
    EXPECT_EQ(host.calls()[0].kind + "|" + host.calls()[0].title + "|" + host.calls()[0].text,
              "input|The output file exists.|To overwrite the current output file click on "
              "'OK'.\r\nTo write to a different file edit the filepath below.\r\nTo disable file "
              "output click on 'Cancel'.")
        << name;
    EXPECT_EQ(st.settings.DisableOutputToFile, c.want_path.empty() ? 1 : 0) << name;
    if (c.want_path.empty()) {
      EXPECT_EQ(ReadFileBytes(existing), "old") << name;
    } else {
      EXPECT_EQ(ReadFileBytes(c.want_path), kFruitFormat8) << name;
      EXPECT_EQ(st.settings.OutputFilePath, c.want_path) << name;
    }
    if (c.want_message.empty()) {
      EXPECT_TRUE(host.Dialogs().empty()) << name;
    } else {
      EXPECT_EQ(host.Dialogs(), std::vector<std::string>{c.want_message}) << name;
      EXPECT_EQ(host.calls().back().icon, Icon::kExclamation) << name;
    }
    EXPECT_EQ(U8(st.textbox.text()), kFruitFormat8) << name;
  }
}

// "Output file not written", naming the file and the system's description
// of the error.
std::string NotWritten(const std::string& path, int err) {
  return "Output file not written|The output file\r\n" + path +
         "\r\ncould not be written: " + ErrorDescription(err) + ".";
}

TEST_F(OutputTest, FileErrorIsReportedAndEmptiesTheTextbox) {
  Fruit();
  const std::string path = dir_.File("missing/out.txt");
  st_.settings.OutputFilePath = path;
  EXPECT_FALSE(ListWords(&st_));
  EXPECT_EQ(host_.Dialogs(), std::vector<std::string>{NotWritten(path, ENOENT)});
  EXPECT_EQ(host_.calls()[0].icon, Icon::kExclamation);
  EXPECT_TRUE(st_.textbox.empty());
  EXPECT_FALSE(st_.listing.OutputFileWritten);
  EXPECT_FALSE(st_.listing.WritingToFile);
}

// A write that fails part-way (here at a file-size limit, as at a full
// disk) leaves the earlier file whole and no temporary file, and relisting
// reports it as a count does.
TEST_F(OutputTest, AFailedWriteKeepsTheEarlierFile) {
  ManyWords(20000);
  st_.settings.OutputFilePath = dir_.Write("out.txt", "earlier results");
  bool listed = true;
  {
    FileSizeLimit limit(100 * 1024);
    listed = ListWords(&st_);
  }
  EXPECT_FALSE(listed);
  EXPECT_EQ(host_.Dialogs(), std::vector<std::string>{NotWritten(Out(), EFBIG)});
  EXPECT_EQ(ReadFileBytes(Out()), "earlier results");
  EXPECT_EQ(FolderNames(dir_.path()), std::vector<std::string>{"out.txt"});
  EXPECT_TRUE(st_.textbox.empty());
  EXPECT_FALSE(st_.listing.OutputFileWritten);

  host_.Clear();
  st_.settings.WordOrder = 1;
  {
    FileSizeLimit limit(100 * 1024);
    RedisplayAfterOptionChange(&st_, DisplayOption::kWordOrder);
  }
  EXPECT_EQ(host_.Dialogs(), std::vector<std::string>{NotWritten(Out(), EFBIG)});
  EXPECT_EQ(ReadFileBytes(Out()), "earlier results");
  // Without the limit the same relisting writes the file.
  EXPECT_TRUE(ListWords(&st_));
  EXPECT_EQ(ReadFileBytes(Out()).size(), 33u + 20000u * 9u);
  EXPECT_EQ(FolderNames(dir_.path()), std::vector<std::string>{"out.txt"});
}

// A path that may not be written: a read-only file, or for root (who may
// write one) a read-only attribute file of the kernel. Empty when there is
// none on this machine.
std::string UnwritablePath(const TempDir& dir) {
  if (::geteuid() != 0) {
    const std::string path = dir.Write("ro.txt", "keep");
    return ::chmod(path.c_str(), 0444) == 0 ? path : "";
  }
  for (const char* path : {"/sys/kernel/mm/transparent_hugepage/hpage_pmd_size",
                           "/sys/kernel/kexec_loaded", "/sys/kernel/fscaps"}) {
    const int fd = ::open(path, O_WRONLY);
    if (fd >= 0) {
      ::close(fd);
    } else if (errno == EACCES) {
      return path;
    }
  }
  return "";
}

TEST_F(OutputTest, PermissionDenied) {
  const std::string path = UnwritablePath(dir_);
  if (path.empty()) GTEST_SKIP() << "no unwritable file to try";
  const std::string before = ReadFileBytes(path);
  Fruit();
  st_.settings.OutputFilePath = path;
  ListWords(&st_);
  EXPECT_EQ(host_.Dialogs(),
            (std::vector<std::string>{"Permission denied|Perhaps the output file\r\n"
                                      "is in use by another application."}));
  EXPECT_EQ(host_.calls()[0].icon, Icon::kInformation);
  EXPECT_TRUE(st_.textbox.empty());
  EXPECT_EQ(st_.settings.DisableOutputToFile, 0);
  EXPECT_EQ(ReadFileBytes(path), before);
}

TEST_F(OutputTest, NoEntriesMessageAndNoFile) {
  Fruit();
  for (int64_t i = 1; i <= st_.words.DistinctCount(); ++i) st_.words[i].Listed = false;
  ComputeListStatistics(st_.words, false, &st_.stats);
  st_.textbox.SetText(u"old text");
  ListWords(&st_);
  EXPECT_EQ(Box(),
            "No words with at least 3 characters\r\n"
            "satisfying the specified conditions were found.");
  EXPECT_FALSE(FileExists(Out()));
  EXPECT_EQ(RenderFileListing(&st_), "");
  st_.settings.IgnoreShortWords = 0;
  st_.run.AllPhrasesMode = true;
  st_.listing.AllPhrases = true;
  ListWords(&st_);
  EXPECT_EQ(Box(), "No phrases satisfying the specified conditions were found.");
}

TEST_F(OutputTest, StopDuringTheFilePassSkipsTheTextbox) {
  ManyWords(10000);
  st_.settings.OutputFilePath = Out();
  PaceEvery(4096);
  host_.OnProcessEvents([this]() { st_.run.StopRequested = true; });
  ListWords(&st_);
  EXPECT_EQ(Box(), "Output to file was terminated.\r\n");  // and no textbox pass
  EXPECT_FALSE(st_.listing.OutputFileWritten);
  EXPECT_TRUE(FileExists(Out()));
}

TEST_F(OutputTest, StopDuringTheTextboxPass) {
  ManyWords(5000);
  PaceEvery(4096);
  host_.OnProcessEvents([this]() { st_.run.StopRequested = true; });
  ListWords(&st_);
  const std::string tail = "\r\n\r\nListing stopped.\r\n";
  ASSERT_GT(Box().size(), tail.size());
  EXPECT_EQ(Box().substr(Box().size() - tail.size()), tail);
}

TEST_F(OutputTest, FullTextboxIsReportedAndTheFileIsComplete) {
  ManyWords(10000);
  st_.settings.WordOrder = 1;
  st_.settings.OutputFilePath = Out();
  ListWords(&st_);
  const std::string file = ReadFileBytes(Out());
  EXPECT_EQ(file.size(), 33u + 10000u * 9u);
  EXPECT_EQ(file.substr(file.size() - 9), "w109999\r\n");
  EXPECT_TRUE(st_.textbox.OutputAborted);
  const std::string text = Box();
  // The textbox took whole lines up to the limit: the start of the file.
  EXPECT_GT(text.size(), static_cast<size_t>(kOutputLimit));
  EXPECT_EQ(text.substr(0, kOutputLimit - 256), file.substr(0, kOutputLimit - 256));
  const std::string note = "\r\n\r\nTextbox is full.\r\n" + GetMessageText(36);
  EXPECT_EQ(text.substr(text.size() - note.size()), note);
  EXPECT_EQ(text.find("Textbox is full."), text.rfind("Textbox is full."));
  EXPECT_EQ(host_.results(), st_.textbox.text());
}

TEST_F(OutputTest, SortByFilesOnlyInFormatElevenByFrequency) {
  for (int f = 0; f < 2 * kDisplayFormatCount; ++f) {
    Settings& s = st_.settings;
    s.WordOrder = static_cast<int16_t>(f / kDisplayFormatCount);
    s.DisplayFormat = static_cast<int16_t>(f % kDisplayFormatCount);
    s.SortByNumberOfFiles = 1;
    host_.Clear();
    const DisplayControls c = UpdateDisplayOptionControls(&st_);
    EXPECT_EQ(c.sort_by_files_enabled, f == 11) << f;
    EXPECT_EQ(s.SortByNumberOfFiles, f == 11 ? 1 : 0) << f;
    // The window hears of the cleared box.
    EXPECT_EQ(host_.settings_changed().size(), f == 11 ? 0u : 1u) << f;
  }
}

TEST_F(OutputTest, RedisplayNeedsResultsAndTellsOfAStoppedRun) {
  PrepareFruit(&st_);
  st_.run.ResultsPresent = false;
  st_.settings.DisplayFormat = 8;
  RedisplayAfterOptionChange(&st_, DisplayOption::kDisplayFormat);
  EXPECT_TRUE(st_.textbox.empty());
  st_.run.ResultsPresent = true;
  st_.run.Interrupted = true;
  RedisplayAfterOptionChange(&st_, DisplayOption::kWordOrder);
  EXPECT_EQ(Box(), kFruitFormat8);
  EXPECT_EQ(host_.Dialogs(),
            std::vector<std::string>{"VORN|" + GetMessageText(22) + "\r\n" + GetMessageText(23)});
  // A folder format without a folder is refused and the list stays (the
  // message is compared in the end-to-end test).
  st_.settings.DisplayFormat = 12;
  DisplayOptionHandler(&st_, DisplayOption::kDisplayFormat);
  EXPECT_EQ(st_.settings.DisplayFormat, 0);
  EXPECT_EQ(host_.settings_changed(), std::vector<std::string>{"DisplayFormat"});
  EXPECT_EQ(Box(), kFruitFormat8);
  EXPECT_EQ(host_.Dialogs().size(), 2u);
  EXPECT_EQ(host_.calls().back().icon, Icon::kInformation);
}

TEST_F(OutputTest, RedisplayRebuildsTheChainForTheSortOption) {
  ManyAndWide("/d");
  st_.settings.SortByNumberOfFiles = 1;
  RedisplayAfterOptionChange(&st_, DisplayOption::kSortByNumberOfFiles);
  EXPECT_EQ(st_.words.Word(st_.stats.ChainHead), "wide");
  // Leaving format 11 clears the option, and the chain follows the counts.
  st_.settings.DisplayFormat = 7;
  DisplayOptionHandler(&st_, DisplayOption::kDisplayFormat);
  EXPECT_EQ(st_.settings.SortByNumberOfFiles, 0);
  EXPECT_EQ(st_.words.Word(st_.stats.ChainHead), "many");
}

TEST_F(OutputTest, DisableOutputToFileAsksToRelistAndClearTextbox) {
  Fruit();
  host_.QueueAnswer(Answer::kNo);
  DisableOutputToFileClicked(&st_);
  EXPECT_EQ(host_.Dialogs(),
            (std::vector<std::string>{"Relist?|Relist words (so as to write to file)?"}));
  EXPECT_FALSE(FileExists(Out()));
  // No question while the box is ticked or the last run did not complete.
  host_.Clear();
  st_.settings.DisableOutputToFile = 1;
  DisableOutputToFileClicked(&st_);
  st_.settings.DisableOutputToFile = 0;
  st_.TextAlreadyRead = true;
  ClearTextboxClicked(&st_);
  EXPECT_TRUE(st_.textbox.empty());
  EXPECT_FALSE(st_.run.RunComplete);
  EXPECT_FALSE(st_.TextAlreadyRead);
  EXPECT_FALSE(st_.labels[static_cast<int>(Label::kNumberOfWords)].visible);
  DisableOutputToFileClicked(&st_);
  EXPECT_TRUE(host_.calls().empty());
}

TEST_F(OutputTest, VectorFilesBesideTheSourceFolder) {
  st_.settings.SortByNumberOfFiles = 1;
  ManyAndWide(dir_.path() + "/corpus");
  st_.settings.DisplayRelativeFrequency = 1;
  st_.settings.OutputFilePath = Out();
  ListWords(&st_);
  const std::string vectors = dir_.path() + "/Vectors/";
  EXPECT_EQ(ReadFileBytes(vectors + "200words.txt"), "wide\r\nmany\r\n");
  EXPECT_EQ(ReadFileBytes(vectors + "200values.txt"), "1.000\r\n0.500\r\n");
  EXPECT_EQ(host_.Dialogs(), (std::vector<std::string>{"|Vector words written to " + vectors +
                                                       "200words.txt\r\nVector values written "
                                                       "to " +
                                                       vectors + "200values.txt"}));
  // Not in other orders or formats.
  host_.Clear();
  st_.settings.WordOrder = 1;
  ListWords(&st_);
  EXPECT_TRUE(host_.calls().empty());
}

TEST_F(OutputTest, VectorFileErrorsNameTheFile) {
  st_.settings.SortByNumberOfFiles = 1;
  ManyAndWide(dir_.path() + "/corpus");
  st_.settings.OutputFilePath = Out();
  // A folder where the words file should go.
  const std::string words = dir_.path() + "/Vectors/200words.txt";
  std::filesystem::create_directories(words);
  EXPECT_FALSE(ListWords(&st_));
  EXPECT_EQ(host_.Dialogs(), std::vector<std::string>{
                                 "Vector files not written|The vector file\r\n" + words +
                                 "\r\ncould not be written: " + ErrorDescription(EISDIR) + "."});
  EXPECT_TRUE(st_.textbox.empty());
  // A file where the folder should be.
  host_.Clear();
  std::filesystem::remove_all(dir_.path() + "/Vectors");
  dir_.Write("Vectors", "");
  EXPECT_FALSE(ListWords(&st_));
  ASSERT_EQ(host_.Dialogs().size(), 1u);
  const std::string prefix = "Vector files not written|The folder for the vector files\r\n" +
                             dir_.path() + "/Vectors/\r\ncould not be written: ";
  EXPECT_EQ(host_.Dialogs()[0].substr(0, prefix.size()), prefix);
}

}  // namespace
}  // namespace vorn
