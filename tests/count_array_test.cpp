// The count array: whole files compared byte for byte in each layout, the
// cell options, the order of the by-frequency table, the limits of a row,
// the spreadsheet hint, and writes that fail, stop or are abandoned.

#include "results/count_array.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "counting/engine_state.h"
#include "results/quick_sort.h"
#include "results/ranking.h"
#include "support/prepared_list.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/file_proc.h"
#include "util/text.h"

namespace vorn {
namespace {

std::string U8(const Text& t) { return TextToUtf8(t); }

constexpr char kStampLine[] = "Output from VORN at 14:05 on 2024-03-09\r\n";
constexpr char kFilesLine[] =
    "showing the frequency of each word or phrase in the files specified by the file indices.\r\n";

// "Maximum frequency = n" and the top entry, with the empty line after them.
std::string MaxLine(int64_t n, const std::string& top) {
  return "Maximum frequency = " + std::to_string(n) + "    The word or phrase '" + top +
         "' occurs with this frequency (there may be others).\r\n\r\n";
}

// The file legend and column header row of the files /data/texts/f1.txt ...
std::string Legend(int files) {
  std::string s;
  for (int k = 1; k <= files; ++k) {
    s += "\t" + std::to_string(k) + "\t/data/texts/f" + std::to_string(k) + ".txt\r\n";
  }
  s += "\r\n<File indices>";
  for (int k = 1; k <= files; ++k) s += "\t" + std::to_string(k);
  return s + "\t\tTotal\r\n";
}

std::string Created(const std::string& path, bool hint = false) {
  std::string s = "Excel file " + path +
                  " created successfully.\r\n\r\n"
                  "This file may now be read into Excel.  When opening the file\r\n"
                  "select 'Text Files', 'Delimited', 'Windows (ANSI)' and 'Tab'.";
  if (hint) {
    s += "\r\n\r\nAt step 3 format the first column as 'Text' so as to left-justify any\r\n"
         "numbers present and display the words 'true' and 'false' correctly.";
  }
  return s;
}

class CountArrayTest : public ::testing::Test {
 protected:
  CountArrayTest() : st_(&host_) {
    st_.pacer.SetDue([this] { host_.ProcessEvents(); });
    st_.pacer.SetThrottle(64, std::chrono::milliseconds(0));
    st_.settings.OutputFilePath = Out();
  }

  // A folder run over `files` files, /data/texts/f1.txt and so on, that
  // counted `items`.
  void Run(int files, const std::vector<Item>& items) {
    st_.settings.Source = InputSource::kFolder;
    st_.settings.FolderPath = "/data/texts";
    st_.run.ScannedFilePaths.clear();
    for (int k = 1; k <= files; ++k) {
      st_.run.ScannedFilePaths.push_back("/data/texts/f" + std::to_string(k) + ".txt");
    }
    st_.run.FilesScanned = files;
    st_.run.CurrentFileIndex = files;
    st_.run.CountArrayMode = true;
    Prepare(&st_, items);
  }
  // The two files of the example: a (2, 0) and b (1, 3).
  void Example() { Run(2, {{"a", {{1, 2}}}, {"b", {{1, 1}, {2, 3}}}}); }

  // Leaves `word` out of the listing, as a filter would.
  void Unlist(std::string_view word) {
    for (int64_t i = 1; i <= st_.words.DistinctCount(); ++i) {
      if (st_.words.Word(i) == word) st_.words[i].Listed = false;
    }
    ComputeListStatistics(st_.words, st_.run.AllPhrasesMode, &st_.stats);
  }

  static std::tm Stamp() {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 9;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 7;
    return t;
  }
  CountArrayOutcome Write() { return WriteCountArray(&st_, Stamp()); }
  std::string Out() const { return dir_.File("array.txt"); }
  std::string File() const { return ReadFileBytes(Out()); }
  std::string Box() const { return U8(st_.textbox.text()); }

  ScriptedHost host_;
  EngineState st_;
  TempDir dir_;
};

// Cells are whole percentages of the row total, rounded half away from
// zero; the totals stay counts.
TEST_F(CountArrayTest, RelativeFrequencyCells) {
  Run(3, {{"b", {{1, 1}, {2, 3}}},
          {"x", {{1, 1}, {2, 1}, {3, 6}}},
          {"y", {{1, 1}, {2, 2}}},
          {"z", {{3, 7}}}});
  st_.settings.CountArrayWriteRelativeFrequency = 1;
  st_.settings.CountArrayLayout = 1;
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  EXPECT_EQ(File(), kStampLine + std::string(kFilesLine) + MaxLine(8, "x") + Legend(3) +
                        "x\t13%\t13%\t75%\t\t8\r\n"
                        "z\t0\t0\t100%\t\t7\r\n"
                        "b\t25%\t75%\t0\t\t4\r\n"
                        "y\t33%\t67%\t0\t\t3\r\n"
                        "\r\nTotal\t3\t6\t13\t\t22\r\n");

  st_.settings.CountArrayZeroCellsBlank = 1;
  st_.settings.CountArrayLayout = 0;
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  EXPECT_EQ(File(), kStampLine + std::string(kFilesLine) + MaxLine(8, "x") + Legend(3) +
                        "b\t25%\t75%\t\t\t4\r\n"
                        "x\t13%\t13%\t75%\t\t8\r\n"
                        "y\t33%\t67%\t\t\t3\r\n"
                        "z\t\t\t100%\t\t7\r\n"
                        "\r\nTotal\t3\t6\t13\t\t22\r\n");
}

// One file: the header names it, there is neither legend nor header row,
// rows have no total, and the totals line is left open.
TEST_F(CountArrayTest, SingleFile) {
  Run(1, {{"a", {{1, 2}}}, {"b", {{1, 3}}}});
  const std::string head =
      "Output from VORN at 14:05 on 2024-03-09\r\n"
      "showing the frequency of each word or phrase in the file "
      "/data/texts/f1.txt\r\n" +
      MaxLine(3, "b");
  st_.settings.CountArrayLayout = 0;
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  EXPECT_EQ(File(), head + "a\t2\r\nb\t3\r\n\r\nTotal\t5");

  st_.settings.CountArrayLayout = 1;
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  EXPECT_EQ(File(), head + "b\t3\r\na\t2\r\n\r\nTotal\t5");

  // The open totals line of the first table is ended by the empty line
  // between the tables.
  st_.settings.CountArrayLayout = 2;
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  EXPECT_EQ(File(), head + "a\t2\r\nb\t3\r\n\r\nTotal\t5\r\n\r\nb\t3\r\na\t2\r\n\r\nTotal\t5");
}

TEST_F(CountArrayTest, NoMaximumLineForASingleEntry) {
  Run(2, {{"only", {{1, 1}, {2, 2}}}});
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  EXPECT_EQ(File(), kStampLine + std::string(kFilesLine) + "\r\n" + Legend(2) +
                        "only\t1\t2\t\t3\r\n\r\nTotal\t1\t2\t\t3\r\n");
}

// Both tables, one after the other. Equal totals stand in ordinal order of
// the word ("B" before "a"), not in the folded order of the table.
TEST_F(CountArrayTest, EqualTotalsInOrdinalOrder) {
  Run(2, {{"a", {{1, 2}}}, {"B", {{2, 2}}}, {"c", {{1, 1}, {2, 2}}}});
  st_.settings.CountArrayLayout = 2;
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  const std::string totals = "\r\nTotal\t3\t4\t\t7\r\n";
  EXPECT_EQ(File(), kStampLine + std::string(kFilesLine) + MaxLine(3, "c") + Legend(2) +
                        "a\t2\t0\t\t2\r\nB\t0\t2\t\t2\r\nc\t1\t2\t\t3\r\n" + totals + "\r\n\r\n" +
                        Legend(2) + "c\t1\t2\t\t3\r\nB\t0\t2\t\t2\r\na\t2\t0\t\t2\r\n" + totals);
  EXPECT_EQ(Box(), Created(Out()));
  EXPECT_TRUE(host_.Dialogs().empty());
  EXPECT_EQ(FolderNames(dir_.path()), std::vector<std::string>{"array.txt"});
}

TEST_F(CountArrayTest, Phrases) {
  st_.run.AllPhrasesMode = true;
  Run(2, {{"a b", {{1, 1}, {2, 1}}}, {"ab", {{2, 2}}}, {"the cat", {{1, 3}}}});
  st_.settings.CountArrayLayout = 1;
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  EXPECT_EQ(File(), kStampLine + std::string(kFilesLine) + MaxLine(3, "the cat") + Legend(2) +
                        "the cat\t3\t0\t\t3\r\n"
                        "a b\t1\t1\t\t2\r\n"
                        "ab\t0\t2\t\t2\r\n"
                        "\r\nTotal\t4\t3\t\t7\r\n");
}

TEST_F(CountArrayTest, UnlistedEntriesAreLeftOut) {
  Run(2, {{"a", {{1, 2}}}, {"b", {{1, 1}, {2, 3}}}, {"gone", {{1, 9}, {2, 9}}}});
  Unlist("gone");
  st_.settings.CountArrayLayout = 1;
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  EXPECT_EQ(File(), kStampLine + std::string(kFilesLine) + MaxLine(4, "b") + Legend(2) +
                        "b\t1\t3\t\t4\r\na\t2\t0\t\t2\r\n\r\nTotal\t3\t3\t\t6\r\n");
}

TEST_F(CountArrayTest, NothingListed) {
  Example();
  Unlist("a");
  Unlist("b");
  EXPECT_EQ(Write(), CountArrayOutcome::kNoEntries);
  EXPECT_EQ(
      Box(),
      "No words with at least 3 characters\r\nsatisfying the specified conditions were found.");
  EXPECT_TRUE(FolderNames(dir_.path()).empty());
}

// Text is written as Windows-1252 bytes; a control character of a path
// shows as "?".
TEST_F(CountArrayTest, WindowsBytes) {
  Run(2, {{"caf\xC3\xA9", {{1, 1}}}, {"the", {{1, 1}, {2, 1}}}});
  st_.run.ScannedFilePaths = {"/data/r\xC3\xA9sum\xC3\xA9.txt", "/data/tab\there.txt"};
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  EXPECT_EQ(File(), kStampLine + std::string(kFilesLine) + MaxLine(2, "the") +
                        "\t1\t/data/r\xE9sum\xE9.txt\r\n\t2\t/data/tab?here.txt\r\n\r\n"
                        "<File indices>\t1\t2\t\tTotal\r\n"
                        "caf\xE9\t1\t0\t\t1\r\nthe\t1\t1\t\t2\r\n\r\nTotal\t2\t1\t\t3\r\n");
}

// Adds `count` occurrences of `word` in file `file`.
void Count(WordList* words, std::string_view word, int file, int count) {
  for (int k = 0; k < count; ++k) words->AddOccurrence(BytesView(word), file);
}

// A file count stops at 99,999, but a row total goes past it, and the
// by-frequency table orders such totals as numbers.
TEST_F(CountArrayTest, RowTotalsPastFiveDigits) {
  Run(2, {});
  WordList& words = st_.words;
  words.Clear();
  Count(&words, "w", 1, 50001);
  Count(&words, "w", 2, 50000);
  Count(&words, "x", 1, 50001);
  Count(&words, "x", 2, 50001);
  Count(&words, "y", 1, 100001);
  Count(&words, "z", 2, 3);
  words.Finalize();
  SortWordListByKey(&words, 1, words.DistinctCount(), 1);
  ComputeListStatistics(words, false, &st_.stats);
  st_.settings.CountArrayLayout = 1;
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  EXPECT_EQ(File(), kStampLine + std::string(kFilesLine) + MaxLine(100002, "x") + Legend(2) +
                        "x\t50001\t50001\t\t100002\r\n"
                        "w\t50001\t50000\t\t100001\r\n"
                        "y\t99999\t0\t\t99999\r\n"
                        "z\t0\t3\t\t3\r\n"
                        "\r\nTotal\t200001\t100004\t\t300005\r\n");
}

// At most 10,000 files are recorded for an entry: a word in 10,001 files
// has a zero cell for the last one, and its row total is what was recorded.
TEST_F(CountArrayTest, AnEntryInMoreFilesThanARowRecords) {
  constexpr int kFiles = kMaxFilesPerEntry + 1;
  Run(kFiles, {});
  WordList& words = st_.words;
  words.Clear();
  for (int f = 1; f <= kFiles; ++f) words.AddOccurrence(BytesView("every"), f);
  words.AddOccurrence(BytesView("last"), kFiles);
  words.Finalize();
  ComputeListStatistics(words, false, &st_.stats);
  st_.settings.CountArrayZeroCellsBlank = 1;
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);

  std::string every = "every";
  std::string last = "last";
  std::string totals = "\r\nTotal";
  for (int f = 1; f <= kFiles; ++f) {
    every += f < kFiles ? "\t1" : "\t";
    last += f < kFiles ? "\t" : "\t1";
    totals += "\t1";
  }
  every += "\t\t10000\r\n";
  last += "\t\t1\r\n";
  totals += "\t\t10001\r\n";
  EXPECT_EQ(File(), kStampLine + std::string(kFilesLine) + MaxLine(kFiles, "every") +
                        Legend(kFiles) + every + last + totals);
}

TEST_F(CountArrayTest, SpreadsheetHint) {
  struct Case {
    std::vector<Item> items;
    bool numerals;
    bool hint;
  };
  const Case kCases[] = {
      {{{"a", {{1, 1}}}, {"FALSE", {{2, 1}}}}, false, true},
      {{{"a", {{1, 1}}}, {"1984", {{2, 1}}}}, true, true},
      {{{"a", {{1, 1}}}, {"1984", {{2, 1}}}}, false, false},
  };
  for (const Case& c : kCases) {
    st_.settings.AllowWordsWithNumerals = c.numerals ? 1 : 0;
    Run(2, c.items);
    EXPECT_EQ(Write(), CountArrayOutcome::kWritten) << c.items[1].word;
    EXPECT_EQ(Box(), Created(Out(), c.hint)) << c.items[1].word;
  }
}

TEST(NoteExcelTextColumnTest, LabelsASpreadsheetWouldMisread) {
  struct Case {
    std::string_view label;
    bool numerals;
    bool hint;
  };
  const Case kCases[] = {
      {"true", false, true},   {"False", false, true},   {"TRUE", true, true},
      {"truer", false, false}, {"1984", false, false},   {"1984", true, true},
      {"-5", true, true},      {"+5", true, true},       {"5-", true, false},
      {"-+5", true, false},    {"1,000.50", true, true}, {" 12 ", true, true},
      {"", true, false},       {"   ", true, false},     {"12a", true, false},
      {"--5", true, true},     {"4+4", true, false},     {"...", true, true},
  };
  for (const Case& c : kCases) {
    bool hint = false;
    NoteExcelTextColumn(c.label, c.numerals, &hint);
    EXPECT_EQ(hint, c.hint) << "'" << c.label << "' " << c.numerals;
    // A hint once given stays.
    hint = true;
    NoteExcelTextColumn(c.label, c.numerals, &hint);
    EXPECT_TRUE(hint) << c.label;
  }
}

TEST(FormatDateTimeStampTest, Forms) {
  std::tm t{};
  t.tm_year = 2024 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 9;
  t.tm_hour = 4;
  t.tm_min = 5;
  t.tm_sec = 7;
  EXPECT_EQ(FormatDateTimeStamp(t, true, false), "04:05 on 2024-03-09");
  EXPECT_EQ(FormatDateTimeStamp(t, true, true), "04:05:07 on 2024-03-09");
  EXPECT_EQ(FormatDateTimeStamp(t, false, false), "2024-03-09 04:05");
  EXPECT_EQ(FormatDateTimeStamp(t, false, true), "2024-03-09 04:05:07");
  t.tm_mon = 11;
  t.tm_mday = 31;
  t.tm_hour = 23;
  t.tm_min = 59;
  EXPECT_EQ(FormatDateTimeStamp(t, true, false), "23:59 on 2024-12-31");
}

// `n` words of 7 characters, each once in file 1 and twice in file 2.
std::vector<Item> ManyWords(int n) {
  std::vector<Item> items;
  for (int i = 0; i < n; ++i) items.push_back({"w" + std::to_string(100000 + i), {{1, 1}, {2, 2}}});
  return items;
}

// A write that fails part-way leaves the earlier file whole, no temporary
// file, and the system's description of the error in the results box.
TEST_F(CountArrayTest, FailedWriteLeavesTheEarlierFile) {
  Run(2, ManyWords(5000));
  WriteFileBytes(Out(), "earlier");
  st_.textbox.SetText(u"Counted.");
  CountArrayOutcome outcome;
  {
    FileSizeLimit limit(32 * 1024);
    outcome = Write();
  }
  EXPECT_EQ(outcome, CountArrayOutcome::kFailed);
  EXPECT_EQ(Box(), "Counted.\r\nError: " + ErrorDescription(EFBIG));
  EXPECT_EQ(File(), "earlier");
  EXPECT_EQ(FolderNames(dir_.path()), std::vector<std::string>{"array.txt"});
  EXPECT_TRUE(host_.Dialogs().empty());

  // Without the limit the same array is written.
  EXPECT_EQ(Write(), CountArrayOutcome::kWritten);
  const std::string head = kStampLine + std::string(kFilesLine) + MaxLine(3, "w100000") + Legend(2);
  const std::string totals = "\r\nTotal\t5000\t10000\t\t15000\r\n";
  const std::string file = File();
  ASSERT_EQ(file.size(), head.size() + 5000u * 16u + totals.size());
  EXPECT_EQ(file.substr(0, head.size() + 16), head + "w100000\t1\t2\t\t3\r\n");
  EXPECT_EQ(file.substr(file.size() - totals.size()), totals);
}

// A stop while the file is written: the earlier file stays as it was.
TEST_F(CountArrayTest, StopWhileWriting) {
  Run(2, ManyWords(2000));
  WriteFileBytes(Out(), "");
  st_.settings.CountArrayLayout = 2;
  host_.OnProcessEvents([this] { st_.run.StopRequested = true; });
  EXPECT_EQ(Write(), CountArrayOutcome::kStopped);
  EXPECT_TRUE(st_.run.StopRequested);
  EXPECT_EQ(Box(), "\r\nOutput to file was terminated.");
  EXPECT_EQ(File(), "");
  EXPECT_EQ(FolderNames(dir_.path()), std::vector<std::string>{"array.txt"});
}

}  // namespace
}  // namespace vorn
