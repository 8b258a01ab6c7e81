#include "results/output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "counting/engine_state.h"
#include "results/display_formats.h"
#include "results/quick_sort.h"
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
  OutputTest() : st_(&host_) {}

  // The message boxes and questions shown, as "title|text".
  std::vector<std::string> Dialogs() const { return host_.Dialogs(); }

  ScriptedHost host_;
  EngineState st_;
  TempDir dir_;
};

TEST_F(OutputTest, WithoutOutputFileListsToTheTextboxOnly) {
  PrepareFruit(&st_);
  st_.settings.DisplayFormat = 8;
  ListWords(&st_);
  EXPECT_EQ(U8(st_.textbox.text()), kFruitFormat8);
  EXPECT_FALSE(st_.listing.OutputFileWritten);
  EXPECT_FALSE(st_.listing.WritingToFile);
  EXPECT_TRUE(Dialogs().empty());
}

TEST_F(OutputTest, ClipboardSourceFileHasNoHeader) {
  PrepareFruit(&st_);
  st_.settings.DisplayFormat = 8;
  st_.settings.OutputFilePath = dir_.File("out.txt");
  ListWords(&st_);
  EXPECT_EQ(ReadFileBytes(dir_.File("out.txt")), kFruitFormat8);
  EXPECT_TRUE(st_.listing.OutputFileWritten);
  EXPECT_EQ(U8(st_.textbox.text()), kFruitFormat8);
  EXPECT_EQ(RenderFileListing(&st_), kFruitFormat8);
}

TEST_F(OutputTest, DisabledFileOutputWritesNoFile) {
  PrepareFruit(&st_);
  st_.settings.OutputFilePath = dir_.File("out.txt");
  st_.settings.DisableOutputToFile = 1;
  ListWords(&st_);
  EXPECT_FALSE(FileExists(dir_.File("out.txt")));
  EXPECT_FALSE(st_.textbox.empty());
}

TEST_F(OutputTest, SingleFileHeader) {
  PrepareFruit(&st_);
  st_.settings.Source = InputSource::kSingleFile;
  st_.settings.InputFilePath = "/texts/In Put.txt";
  st_.settings.DisplayFormat = 8;
  st_.settings.OutputFilePath = dir_.File("out.txt");
  ListWords(&st_);
  EXPECT_EQ(ReadFileBytes(dir_.File("out.txt")),
            std::string("File: /texts/In Put.txt\r\n") + kFruitFormat8);
  EXPECT_EQ(U8(st_.textbox.text()), kFruitFormat8);
}

TEST_F(OutputTest, FolderHeaderWithSubfolders) {
  st_.settings.Source = InputSource::kFolder;
  st_.settings.FolderPath = "/data/texts";
  st_.settings.IncludeSubfolders = 1;
  st_.run.ScannedFilePaths = {"/data/texts/a.txt", "/data/texts/b.txt"};
  st_.run.FilesScanned = 2;
  st_.run.FolderCount = 1;
  Prepare(&st_, {{"cat", {{1, 2}, {2, 1}}}, {"dog", {{2, 1}}}});
  st_.settings.DisplayFormat = 11;
  st_.settings.OutputFilePath = dir_.File("out.txt");
  ListWords(&st_);
  const std::string summary =
      "2 files (in 1 folder) were scanned.\r\n"
      "Number of words in this list:  2\r\n"
      "Number of instances of words in this list:  4\r\n\r\n";
  EXPECT_EQ(ReadFileBytes(dir_.File("out.txt")), "Folder: /data/texts plus any subfolders\r\n" +
                                                     summary +
                                                     "Word    \t    Freq\t Files\r\n"
                                                     "cat     \t       3\t    2\r\n"
                                                     "dog     \t       1\t    1\r\n");
  EXPECT_EQ(U8(st_.textbox.text()), summary +
                                        "  Word         Freq  Files\r\n"
                                        "  cat             3     2\r\n"
                                        "  dog             1     1\r\n");
  st_.settings.IncludeSubfolders = 0;
  EXPECT_EQ(RenderFileListing(&st_).substr(0, 21), "Folder: /data/texts\r\n");
}

TEST_F(OutputTest, FileIsWindows1252WithCrLf) {
  st_.settings.Source = InputSource::kClipboard;
  Prepare(&st_, {{"caf\u00e9", {{0, 2}}}, {"\u20acuro", {{0, 1}}}});
  st_.settings.DisplayFormat = 8;
  st_.settings.OutputFilePath = dir_.File("out.txt");
  ListWords(&st_);
  EXPECT_EQ(ReadFileBytes(dir_.File("out.txt")),
            "Word [longest has 4 characters]\r\ncaf\xe9\r\n\x80uro\r\n");
}

TEST_F(OutputTest, FormatNineInTheFileAndTheTextbox) {
  struct Case {
    int order;
    const char* textbox;
  };
  const Case kCases[] = {{0, "banana, pear, apple, fig, kiwi"},
                         {1, "apple, banana, fig, kiwi, pear\r\n"}};
  for (const auto& c : kCases) {
    ScriptedHost host;
    EngineState st(&host);
    PrepareFruit(&st);
    st.settings.DisplayFormat = 9;
    st.settings.WordOrder = static_cast<int16_t>(c.order);
    st.settings.OutputFilePath = dir_.File("nine.txt");
    ListWords(&st);
    EXPECT_EQ(U8(st.textbox.text()), c.textbox) << c.order;
    const std::string file = ReadFileBytes(dir_.File("nine.txt"));
    EXPECT_EQ(file,
              c.order == 0 ? "banana, pear, apple, fig, kiwi" : "apple, banana, fig, kiwi, pear")
        << c.order;
  }
}

TEST_F(OutputTest, OverwriteGuardAnswers) {
  const std::string existing = dir_.Write("Out.txt", "old");
  const std::string prompt =
      "To overwrite the current output file click on 'OK'.\r\n"
      "To write to a different file edit the filepath below.\r\n"
      "To disable file output click on 'Cancel'.";
  struct Case {
    const char* name;
    std::optional<std::string> answer;
    std::string want_path;  // empty: file output disabled
    std::string want_message;
  };
  const std::string other = dir_.File("New Name.TXT");
  const Case kCases[] = {
      {"ok", existing, existing, ""},
      {"padded", "  " + existing + "  ", existing, ""},
      {"cancel", std::nullopt, "", ""},
      {"empty", std::string(""), "", ""},
      {"other file, case kept", other, other, ""},
      {"missing folder", dir_.File("nowhere/x.txt"), "", "Error|Folder does not exist."},
  };
  for (const auto& c : kCases) {
    WriteFileBytes(existing, "old");
    ScriptedHost host;
    EngineState st(&host);
    PrepareFruit(&st);
    st.settings.DisplayFormat = 8;
    st.settings.WarnOnOverwrite = 1;
    st.settings.OutputFilePath = existing;
    host.QueueInput(c.answer);
    ListWords(&st);
    ASSERT_FALSE(host.calls().empty()) << c.name;
    EXPECT_EQ(host.calls()[0].kind, "input") << c.name;
    EXPECT_EQ(host.calls()[0].title, "The output file exists.") << c.name;
    EXPECT_EQ(host.calls()[0].text, prompt) << c.name;
    if (c.want_path.empty()) {
      EXPECT_EQ(st.settings.DisableOutputToFile, 1) << c.name;
      EXPECT_EQ(ReadFileBytes(existing), "old") << c.name;
    } else {
      EXPECT_EQ(st.settings.DisableOutputToFile, 0) << c.name;
      EXPECT_EQ(st.settings.OutputFilePath, c.want_path) << c.name;
      EXPECT_EQ(ReadFileBytes(c.want_path), kFruitFormat8) << c.name;
    }
    std::vector<std::string> dialogs = host.Dialogs();
    if (c.want_message.empty()) {
      EXPECT_TRUE(dialogs.empty()) << c.name;
    } else {
      ASSERT_EQ(dialogs.size(), 1u) << c.name;
      EXPECT_EQ(dialogs[0], c.want_message) << c.name;
      EXPECT_EQ(host.calls().back().icon, Icon::kExclamation) << c.name;
    }
    EXPECT_EQ(U8(st.textbox.text()), kFruitFormat8) << c.name;
  }
}

TEST_F(OutputTest, NoGuardWithoutWarnOrForANewFile) {
  PrepareFruit(&st_);
  st_.settings.WarnOnOverwrite = 1;
  st_.settings.OutputFilePath = dir_.File("fresh.txt");
  ListWords(&st_);
  EXPECT_TRUE(host_.calls().empty());
  EXPECT_TRUE(FileExists(dir_.File("fresh.txt")));
  st_.settings.WarnOnOverwrite = 0;
  ListWords(&st_);
  EXPECT_TRUE(host_.calls().empty());
}

TEST_F(OutputTest, FileErrorIsReportedAndEmptiesTheTextbox) {
  PrepareFruit(&st_);
  st_.settings.OutputFilePath = dir_.File("missing/out.txt");
  ListWords(&st_);
  ASSERT_EQ(host_.calls().size(), 1u);
  const ScriptedHost::Call& call = host_.calls()[0];
  EXPECT_EQ(call.icon, Icon::kExclamation);
  const std::string head = "At ListWords error #" + std::to_string(ENOENT) +
                           ".\r\nDescription: " + ErrorDescription(ENOENT);
  EXPECT_EQ(call.text.substr(0, head.size()), head);
  EXPECT_TRUE(st_.textbox.empty());
  EXPECT_FALSE(st_.listing.OutputFileWritten);
  EXPECT_FALSE(st_.listing.WritingToFile);
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
  PrepareFruit(&st_);
  st_.settings.OutputFilePath = path;
  ListWords(&st_);
  EXPECT_EQ(Dialogs(), (std::vector<std::string>{"Permission denied|Perhaps the output file\r\n"
                                                 "is in use by another application."}));
  EXPECT_EQ(host_.calls()[0].icon, Icon::kInformation);
  EXPECT_TRUE(st_.textbox.empty());
  EXPECT_EQ(st_.settings.DisableOutputToFile, 0);
  EXPECT_EQ(ReadFileBytes(path), before);
}

TEST(OutputErrorsTest, PermissionErrors) {
  struct Case {
    int err;
    bool denied;
  };
  const Case kCases[] = {{EACCES, true},  {EPERM, true},   {EROFS, true},
                         {ETXTBSY, true}, {ENOENT, false}, {EISDIR, false}};
  for (const auto& c : kCases) EXPECT_EQ(IsPermissionDenied(c.err), c.denied) << c.err;
}

TEST_F(OutputTest, ReportErrorShowsNumberDescriptionAndAdvice) {
  ReportError(&st_, "DoItFromFile", 5, "Input/output error");
  ASSERT_EQ(host_.calls().size(), 1u);
  std::string want = "At DoItFromFile error #5.\r\nDescription: Input/output error\r\n\r\n" +
                     GetMessageText(34) + "\r\n" + GetMessageText(35);
  EXPECT_EQ(host_.calls()[0].text, want);
  EXPECT_EQ(host_.calls()[0].icon, Icon::kExclamation);
}

TEST_F(OutputTest, NoEntriesMessageAndNoFile) {
  PrepareFruit(&st_);
  for (int64_t i = 1; i <= st_.words.DistinctCount(); ++i) st_.words[i].Listed = false;
  ComputeListStatistics(st_.words, false, &st_.stats);
  st_.settings.OutputFilePath = dir_.File("out.txt");
  st_.textbox.SetText(u"old text");
  ListWords(&st_);
  EXPECT_EQ(U8(st_.textbox.text()),
            "No words with at least 3 characters\r\n"
            "satisfying the specified conditions were found.");
  EXPECT_FALSE(FileExists(dir_.File("out.txt")));
  EXPECT_EQ(RenderFileListing(&st_), "");
  st_.settings.IgnoreShortWords = 0;
  st_.run.AllPhrasesMode = true;
  ListWords(&st_);
  EXPECT_EQ(U8(st_.textbox.text()), "No phrases satisfying the specified conditions were found.");
}

TEST(OutputWordsTest, WordsPhrases) {
  struct Case {
    bool count_only, phrases_in_count_only, all_phrases;
    const char* want;
  };
  const Case kCases[] = {{false, false, false, "words"}, {true, false, false, "words"},
                         {false, true, false, "words"},  {true, true, false, "words/phrases"},
                         {true, true, true, "phrases"},  {false, false, true, "phrases"}};
  for (const auto& c : kCases) {
    ScriptedHost host;
    EngineState st(&host);
    st.run.CountOnlyMode = c.count_only;
    st.run.PhrasesInCountOnly = c.phrases_in_count_only;
    st.run.AllPhrasesMode = c.all_phrases;
    EXPECT_EQ(WordsPhrases(st), c.want) << c.want;
  }
}

TEST_F(OutputTest, StoppedFilePassSkipsTheTextbox) {
  st_.settings.Source = InputSource::kClipboard;
  std::vector<Item> items;
  for (int i = 0; i < 10000; ++i) items.push_back({"w" + std::to_string(100000 + i), {{0, 1}}});
  Prepare(&st_, items);
  st_.settings.DisplayFormat = 8;
  st_.settings.OutputFilePath = dir_.File("out.txt");
  host_.OnProcessEvents([this]() { st_.run.StopRequested = true; });
  ListWords(&st_);
  EXPECT_EQ(U8(st_.textbox.text()), "Output to file was terminated.\r\n");
  EXPECT_FALSE(st_.listing.OutputFileWritten);
  EXPECT_TRUE(FileExists(dir_.File("out.txt")));
}

TEST_F(OutputTest, StoppedTextboxPass) {
  st_.settings.Source = InputSource::kClipboard;
  std::vector<Item> items;
  for (int i = 0; i < 5000; ++i) items.push_back({"w" + std::to_string(100000 + i), {{0, 1}}});
  Prepare(&st_, items);
  st_.settings.DisplayFormat = 8;
  host_.OnProcessEvents([this]() { st_.run.StopRequested = true; });
  ListWords(&st_);
  const std::string text = U8(st_.textbox.text());
  const std::string tail = "\r\n\r\nListing stopped.\r\n";
  ASSERT_GT(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(OutputTest, FullTextboxIsReportedAndTheFileIsComplete) {
  st_.settings.Source = InputSource::kClipboard;
  std::vector<Item> items;
  for (int i = 0; i < 10000; ++i) items.push_back({"w" + std::to_string(100000 + i), {{0, 1}}});
  Prepare(&st_, items);
  st_.settings.DisplayFormat = 8;
  st_.settings.WordOrder = 1;
  st_.settings.OutputFilePath = dir_.File("out.txt");
  ListWords(&st_);
  const std::string file = ReadFileBytes(dir_.File("out.txt"));
  EXPECT_EQ(file.size(), 33u + 10000u * 9u);
  EXPECT_EQ(file.substr(file.size() - 9), "w109999\r\n");
  EXPECT_TRUE(st_.textbox.OutputAborted);
  const std::string text = U8(st_.textbox.text());
  const std::string note = "\r\n\r\nTextbox is full.\r\n" + GetMessageText(36);
  EXPECT_EQ(text.substr(text.size() - note.size()), note);
  EXPECT_EQ(text.find("Textbox is full."), text.rfind("Textbox is full."));
  EXPECT_EQ(host_.results(), st_.textbox.text());
}

TEST_F(OutputTest, RenderFileListingLeavesTheTextboxAlone) {
  PrepareFruit(&st_);
  st_.settings.Source = InputSource::kSingleFile;
  st_.settings.InputFilePath = "in.txt";
  st_.settings.DisplayFormat = 3;
  st_.settings.OutputWithCommas = 1;
  st_.textbox.SetText(u"keep");
  EXPECT_EQ(RenderFileListing(&st_),
            "File: in.txt\r\n"
            "      Rank,  Word [longest has 6 characters]\r\n"
            "         1,  banana\r\n         2,  pear\r\n         3,  apple\r\n"
            "         4,  fig\r\n         5,  kiwi\r\n");
  EXPECT_EQ(st_.textbox.text(), u"keep");
  EXPECT_FALSE(st_.listing.WritingToFile);
}

TEST_F(OutputTest, UnavailableDisplayFormat) {
  struct Case {
    int format;
    InputSource source;
    bool ok;
    const char* name;
  };
  const Case kCases[] = {{10, InputSource::kSingleFile, true, ""},
                         {11, InputSource::kSingleFile, false, "word freq no.files"},
                         {12, InputSource::kSingleFile, false, "word file-list"},
                         {13, InputSource::kClipboard, false, "word file-list (+ freq)"},
                         {12, InputSource::kFolder, true, ""}};
  for (const auto& c : kCases) {
    ScriptedHost host;
    EngineState st(&host);
    st.settings.Source = c.source;
    st.settings.DisplayFormat = static_cast<int16_t>(c.format);
    EXPECT_EQ(CheckDisplayFormatAvailable(&st), c.ok) << c.format;
    if (c.ok) {
      EXPECT_TRUE(host.calls().empty()) << c.format;
      EXPECT_EQ(st.settings.DisplayFormat, c.format);
      continue;
    }
    EXPECT_EQ(st.settings.DisplayFormat, 0) << c.format;
    EXPECT_EQ(host.Dialogs(),
              (std::vector<std::string>{std::string("Unavailable display format|The display "
                                                    "format '") +
                                        c.name +
                                        "' is available\r\nonly when the source of the text "
                                        "is a folder."}))
        << c.format;
    EXPECT_EQ(host.calls()[0].icon, Icon::kInformation);
  }
}

TEST(OutputOptionsTest, UpdateDisplayOptionControls) {
  for (int order = 0; order <= 1; ++order) {
    for (int f = 0; f < kDisplayFormatCount; ++f) {
      Settings s;
      s.WordOrder = static_cast<int16_t>(order);
      s.DisplayFormat = static_cast<int16_t>(f);
      s.SortByNumberOfFiles = 1;
      s.DisplayRelativeFrequency = 1;
      bool rel = false;
      bool by_files = false;
      UpdateDisplayOptionControls(&s, &rel, &by_files);
      EXPECT_EQ(rel, RelativeFrequencyAvailable(f)) << order << "/" << f;
      EXPECT_EQ(by_files, order == 0 && f == 11) << order << "/" << f;
      EXPECT_EQ(s.SortByNumberOfFiles, by_files ? 1 : 0) << order << "/" << f;
      EXPECT_EQ(s.DisplayRelativeFrequency, 1);
    }
  }
}

TEST_F(OutputTest, RedisplayNeedsResults) {
  PrepareFruit(&st_);
  st_.run.ResultsPresent = false;
  st_.settings.DisplayFormat = 8;
  RedisplayAfterOptionChange(&st_, DisplayOption::kDisplayFormat);
  EXPECT_TRUE(st_.textbox.empty());
  st_.run.ResultsPresent = true;
  RedisplayAfterOptionChange(&st_, DisplayOption::kDisplayFormat);
  EXPECT_EQ(U8(st_.textbox.text()), kFruitFormat8);
}

TEST_F(OutputTest, RedisplayAfterStoppedRunShowsTheNotice) {
  PrepareFruit(&st_);
  st_.run.Interrupted = true;
  st_.settings.DisplayFormat = 8;
  RedisplayAfterOptionChange(&st_, DisplayOption::kWordOrder);
  EXPECT_EQ(U8(st_.textbox.text()), kFruitFormat8);
  ASSERT_EQ(host_.calls().size(), 1u);
  EXPECT_EQ(host_.calls()[0].text, GetMessageText(22) + "\r\n" + GetMessageText(23));
  EXPECT_EQ(host_.calls()[0].icon, Icon::kInformation);
}

TEST_F(OutputTest, RedisplayRejectsFolderFormatWithoutFolder) {
  PrepareFruit(&st_);
  st_.settings.DisplayFormat = 12;
  st_.textbox.SetText(u"as before");
  RedisplayAfterOptionChange(&st_, DisplayOption::kDisplayFormat);
  EXPECT_EQ(st_.settings.DisplayFormat, 0);
  EXPECT_EQ(st_.textbox.text(), u"as before");
  ASSERT_EQ(host_.Dialogs().size(), 1u);
}

TEST_F(OutputTest, RedisplayRebuildsTheChainForTheSortOption) {
  st_.settings.Source = InputSource::kFolder;
  st_.settings.FolderPath = "/d";
  st_.run.ScannedFilePaths = {"/d/a", "/d/b"};
  st_.run.FilesScanned = 2;
  st_.run.FolderCount = 1;
  Prepare(&st_, {{"many", {{1, 9}}}, {"wide", {{1, 1}, {2, 1}}}});
  st_.settings.DisplayFormat = 11;
  st_.settings.SortByNumberOfFiles = 1;
  RedisplayAfterOptionChange(&st_, DisplayOption::kSortByNumberOfFiles);
  EXPECT_EQ(st_.words[st_.stats.ChainHead].Word, u"wide");
  // Leaving format 11 clears the option, and the chain follows the counts.
  st_.settings.DisplayFormat = 7;
  RedisplayAfterOptionChange(&st_, DisplayOption::kDisplayFormat);
  EXPECT_EQ(st_.settings.SortByNumberOfFiles, 0);
  EXPECT_EQ(st_.words[st_.stats.ChainHead].Word, u"many");
}

TEST_F(OutputTest, DisableOutputToFileAsksToRelist) {
  PrepareFruit(&st_);
  st_.settings.DisplayFormat = 8;
  st_.settings.OutputFilePath = dir_.File("out.txt");
  host_.QueueAnswer(Answer::kNo);
  DisableOutputToFileClicked(&st_);
  EXPECT_EQ(host_.Dialogs(),
            (std::vector<std::string>{"Relist?|Relist words (so as to write to file)?"}));
  EXPECT_FALSE(FileExists(dir_.File("out.txt")));
  host_.QueueAnswer(Answer::kYes);
  DisableOutputToFileClicked(&st_);
  EXPECT_EQ(ReadFileBytes(dir_.File("out.txt")), kFruitFormat8);
  // No question while the box is ticked or the last run did not complete.
  host_.Clear();
  st_.settings.DisableOutputToFile = 1;
  DisableOutputToFileClicked(&st_);
  st_.settings.DisableOutputToFile = 0;
  st_.run.RunComplete = false;
  DisableOutputToFileClicked(&st_);
  EXPECT_TRUE(host_.calls().empty());
}

TEST_F(OutputTest, ClearTextbox) {
  PrepareFruit(&st_);
  ListWords(&st_);
  st_.TextAlreadyRead = true;
  ClearTextboxClicked(&st_);
  EXPECT_TRUE(st_.textbox.empty());
  EXPECT_FALSE(st_.run.RunComplete);
  EXPECT_FALSE(st_.TextAlreadyRead);
  EXPECT_FALSE(st_.labels[static_cast<int>(Label::kNumberOfWords)].visible);
}

TEST_F(OutputTest, VectorFilesBesideTheSourceFolder) {
  const std::string source = dir_.path() + "/corpus";
  st_.settings.Source = InputSource::kFolder;
  st_.settings.FolderPath = source;
  st_.run.ScannedFilePaths = {source + "/a", source + "/b"};
  st_.run.FilesScanned = 2;
  st_.run.FolderCount = 1;
  st_.settings.SortByNumberOfFiles = 1;
  Prepare(&st_, {{"many", {{1, 9}}}, {"wide", {{1, 1}, {2, 1}}}});
  st_.settings.DisplayFormat = 11;
  st_.settings.DisplayRelativeFrequency = 1;
  st_.settings.OutputFilePath = dir_.File("out.txt");
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

}  // namespace
}  // namespace vorn
