#include "results/display_formats.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "counting/engine_state.h"
#include "results/output.h"
#include "results/quick_sort.h"
#include "results/ranking.h"
#include "support/prepared_list.h"
#include "support/scripted_host.h"
#include "util/message_table.h"
#include "util/text.h"

namespace vorn {
namespace {

// A folder run over three files: the (1 in a, 3 in b), cat (2 in b),
// dog (1 in a, 1 in sub/c).
void PrepareFolder(EngineState* st, const std::string& folder) {
  st->settings.Source = InputSource::kFolder;
  st->settings.FolderPath = folder;
  st->run.ScannedFilePaths = {folder + "/a.txt", folder + "/b.txt", folder + "/sub/c.txt"};
  st->run.FilesScanned = 3;
  st->run.FolderCount = 2;
  Prepare(st, {{"the", {{1, 1}, {2, 3}}}, {"cat", {{2, 2}}}, {"dog", {{1, 1}, {3, 1}}}});
}

std::string U8(const Text& t) { return TextToUtf8(t); }

std::string TextboxListing(EngineState* st) {
  ListingPass pass(st, nullptr);
  if (st->settings.WordOrder == 1) {
    ListWordsAlphabetically(&pass);
  } else {
    ListWordsByFrequency(&pass);
  }
  return U8(st->textbox.text());
}

std::string FileListing(EngineState* st) {
  Text file;
  st->listing.WritingToFile = true;
  ListingPass pass(st, &file);
  if (st->settings.WordOrder == 1) {
    ListWordsAlphabetically(&pass);
  } else {
    ListWordsByFrequency(&pass);
  }
  st->listing.WritingToFile = false;
  return U8(file);
}

const char kSummary[] =
    "3 files (in 2 folders) were scanned.\r\n"
    "Number of words in this list:  3\r\n"
    "Number of instances of words in this list:  8\r\n\r\n";

struct FormatCase {
  int format;
  int style;  // 0 textbox, 1 tabs, 2 commas
  const char* want;
};

// Every format but the folder-only ones, by frequency, in the three styles.
TEST(DisplayFormatsTest, FormatsZeroToTenByFrequency) {
  const FormatCase kCases[] = {
      {0, 0,
       "     Rank      Freq  Word [longest has 6 characters]\r\n"
       "        1        12  banana\r\n"
       "        2         5  pear\r\n"
       "        3         2  apple\r\n"
       "        4         2  fig\r\n"
       "        5         1  kiwi\r\n"},
      {0, 1,
       "    Rank\t    Freq\tWord [longest has 6 characters]\r\n"
       "       1\t      12\tbanana\r\n"
       "       2\t       5\tpear\r\n"
       "       3\t       2\tapple\r\n"
       "       4\t       2\tfig\r\n"
       "       5\t       1\tkiwi\r\n"},
      {0, 2,
       "      Rank,      Freq,  Word [longest has 6 characters]\r\n"
       "         1,        12,  banana\r\n"
       "         2,         5,  pear\r\n"
       "         3,         2,  apple\r\n"
       "         4,         2,  fig\r\n"
       "         5,         1,  kiwi\r\n"},
      {1, 0,
       "     Rank  Word          Freq\r\n"
       "        1  banana          12\r\n"
       "        2  pear             5\r\n"
       "        3  apple            2\r\n"
       "        4  fig              2\r\n"
       "        5  kiwi             1\r\n"},
      {1, 1,
       "    Rank\tWord        Freq\r\n"
       "       1\tbanana        12\r\n"
       "       2\tpear           5\r\n"
       "       3\tapple          2\r\n"
       "       4\tfig            2\r\n"
       "       5\tkiwi           1\r\n"},
      {1, 2,
       "      Rank,  Word,     Freq\r\n"
       "         1,  banana,       12\r\n"
       "         2,  pear,        5\r\n"
       "         3,  apple,        2\r\n"
       "         4,  fig,        2\r\n"
       "         5,  kiwi,        1\r\n"},
      {2, 0,
       "     Rank      Freq\r\n"
       "        1        12\r\n"
       "        2         5\r\n"
       "        3         2\r\n"
       "        4         2\r\n"
       "        5         1\r\n"},
      {2, 1,
       "    Rank\t    Freq\r\n       1\t      12\r\n       2\t       5\r\n"
       "       3\t       2\r\n       4\t       2\r\n       5\t       1\r\n"},
      {2, 2,
       "      Rank,      Freq\r\n         1,        12\r\n         2,         5\r\n"
       "         3,         2\r\n         4,         2\r\n         5,         1\r\n"},
      {3, 0,
       "     Rank  Word [longest has 6 characters]\r\n"
       "        1  banana\r\n        2  pear\r\n        3  apple\r\n"
       "        4  fig\r\n        5  kiwi\r\n"},
      {3, 1,
       "    Rank\tWord [longest has 6 characters]\r\n"
       "       1\tbanana\r\n       2\tpear\r\n       3\tapple\r\n       4\tfig\r\n"
       "       5\tkiwi\r\n"},
      {3, 2,
       "      Rank,  Word [longest has 6 characters]\r\n"
       "         1,  banana\r\n         2,  pear\r\n         3,  apple\r\n"
       "         4,  fig\r\n         5,  kiwi\r\n"},
      {4, 0,
       "     Freq      Rank\r\n       12         1\r\n        5         2\r\n"
       "        2         3\r\n        2         4\r\n        1         5\r\n"},
      {4, 1,
       "    Freq\t    Rank\r\n      12\t       1\r\n       5\t       2\r\n"
       "       2\t       3\r\n       2\t       4\r\n       1\t       5\r\n"},
      {4, 2,
       "      Freq,      Rank\r\n        12,         1\r\n         5,         2\r\n"
       "         2,         3\r\n         2,         4\r\n         1,         5\r\n"},
      {5, 0,
       "      Freq  Word [longest has 6 characters]\r\n"
       "        12  banana\r\n         5  pear\r\n         2  apple\r\n"
       "         2  fig\r\n         1  kiwi\r\n"},
      {5, 1,
       "    Freq\tWord [longest has 6 characters]\r\n"
       "      12\tbanana\r\n       5\tpear\r\n       2\tapple\r\n       2\tfig\r\n"
       "       1\tkiwi\r\n"},
      {5, 2,
       "      Freq,  Word [longest has 6 characters]\r\n"
       "        12,  banana\r\n         5,  pear\r\n         2,  apple\r\n"
       "         2,  fig\r\n         1,  kiwi\r\n"},
      {6, 0,
       "  Word         Rank\r\n"
       "  banana          1\r\n"
       "  pear            2\r\n"
       "  apple           3\r\n"
       "  fig             4\r\n"
       "  kiwi            5\r\n"},
      {6, 1,
       "Word        Rank\r\n"
       "banana         1\r\n"
       "pear           2\r\n"
       "apple          3\r\n"
       "fig            4\r\n"
       "kiwi           5\r\n"},
      {6, 2,
       "  Word,     Rank\r\n"
       "  banana,        1\r\n"
       "  pear,        2\r\n"
       "  apple,        3\r\n"
       "  fig,        4\r\n"
       "  kiwi,        5\r\n"},
      {7, 0,
       "  Word         Freq\r\n"
       "  banana         12\r\n"
       "  pear            5\r\n"
       "  apple           2\r\n"
       "  fig             2\r\n"
       "  kiwi            1\r\n"},
      {7, 1,
       "Word        Freq\r\n"
       "banana        12\r\n"
       "pear           5\r\n"
       "apple          2\r\n"
       "fig            2\r\n"
       "kiwi           1\r\n"},
      {7, 2,
       "  Word,     Freq\r\n"
       "  banana,       12\r\n"
       "  pear,        5\r\n"
       "  apple,        2\r\n"
       "  fig,        2\r\n"
       "  kiwi,        1\r\n"},
      {8, 0, "Word [longest has 6 characters]\r\nbanana\r\npear\r\napple\r\nfig\r\nkiwi\r\n"},
      {8, 1, "Word [longest has 6 characters]\r\nbanana\r\npear\r\napple\r\nfig\r\nkiwi\r\n"},
      {8, 2, "Word [longest has 6 characters]\r\nbanana\r\npear\r\napple\r\nfig\r\nkiwi\r\n"},
      {9, 0, "banana, pear, apple, fig, kiwi, "},
      {9, 1, "banana, pear, apple, fig, kiwi"},
      {9, 2, "banana, pear, apple, fig, kiwi"},
      {10, 0,
       "     Rank      Freq    L10(R)    L10(F)  Word\r\n"
       "        1        12     .0000    1.0792  banana\r\n"
       "        2         5     .3010     .6990  pear\r\n"
       "        3         2     .4771     .3010  apple\r\n"
       "        4         2     .6021     .3010  fig\r\n"
       "        5         1     .6990     .0000  kiwi\r\n"},
      {10, 1,
       "    Rank\t    Freq\t  L10(R)\t  L10(F)\tWord\r\n"
       "       1\t      12\t   .0000\t  1.0792\tbanana\r\n"
       "       2\t       5\t   .3010\t   .6990\tpear\r\n"
       "       3\t       2\t   .4771\t   .3010\tapple\r\n"
       "       4\t       2\t   .6021\t   .3010\tfig\r\n"
       "       5\t       1\t   .6990\t   .0000\tkiwi\r\n"},
      {10, 2,
       "      Rank,      Freq,    L10(R),    L10(F),  Word\r\n"
       "         1,        12,     .0000,    1.0792,  banana\r\n"
       "         2,         5,     .3010,     .6990,  pear\r\n"
       "         3,         2,     .4771,     .3010,  apple\r\n"
       "         4,         2,     .6021,     .3010,  fig\r\n"
       "         5,         1,     .6990,     .0000,  kiwi\r\n"},
  };
  for (const auto& c : kCases) {
    ScriptedHost host;
    EngineState st(&host);
    PrepareFruit(&st);
    st.settings.DisplayFormat = static_cast<int16_t>(c.format);
    st.settings.OutputWithCommas = c.style == 2 ? 1 : 0;
    const std::string got = c.style == 0 ? TextboxListing(&st) : FileListing(&st);
    EXPECT_EQ(got, c.want) << "format " << c.format << " style " << c.style;
  }
}

TEST(DisplayFormatsTest, AlphabeticalOrderWalksTheTable) {
  struct Case {
    int format;
    int style;
    const char* want;
  };
  const Case kCases[] = {
      {3, 0,
       "     Rank  Word [longest has 6 characters]\r\n"
       "        3  apple\r\n        1  banana\r\n        4  fig\r\n"
       "        5  kiwi\r\n        2  pear\r\n"},
      {8, 1, "Word [longest has 6 characters]\r\napple\r\nbanana\r\nfig\r\nkiwi\r\npear\r\n"},
      // The one-line list: the textbox ends it with a line break, the file
      // with nothing.
      {9, 0, "apple, banana, fig, kiwi, pear\r\n"},
      {9, 1, "apple, banana, fig, kiwi, pear"},
      {9, 2, "apple, banana, fig, kiwi, pear"},
  };
  for (const auto& c : kCases) {
    ScriptedHost host;
    EngineState st(&host);
    PrepareFruit(&st);
    st.settings.WordOrder = 1;
    st.settings.DisplayFormat = static_cast<int16_t>(c.format);
    st.settings.OutputWithCommas = c.style == 2 ? 1 : 0;
    const std::string got = c.style == 0 ? TextboxListing(&st) : FileListing(&st);
    EXPECT_EQ(got, c.want) << "format " << c.format << " style " << c.style;
  }
}

TEST(DisplayFormatsTest, RelativeFrequencies) {
  struct Case {
    int format;
    int style;
    const char* want;
  };
  const Case kCases[] = {
      {0, 0,
       "     Rank  Rel freq  Word [longest has 6 characters]\r\n"
       "        1    54.55%  banana\r\n"
       "        2    22.73%  pear\r\n"
       "        3     9.09%  apple\r\n"
       "        4     9.09%  fig\r\n"
       "        5     4.55%  kiwi\r\n"},
      {7, 1,
       "Word    Rel freq\r\n"
       "banana    54.55%\r\n"
       "pear      22.73%\r\n"
       "apple      9.09%\r\n"
       "fig        9.09%\r\n"
       "kiwi       4.55%\r\n"},
      // Formats without the option show absolute counts even when it is on.
      {10, 0,
       "     Rank      Freq    L10(R)    L10(F)  Word\r\n"
       "        1        12     .0000    1.0792  banana\r\n"
       "        2         5     .3010     .6990  pear\r\n"
       "        3         2     .4771     .3010  apple\r\n"
       "        4         2     .6021     .3010  fig\r\n"
       "        5         1     .6990     .0000  kiwi\r\n"},
  };
  for (const auto& c : kCases) {
    ScriptedHost host;
    EngineState st(&host);
    PrepareFruit(&st);
    st.settings.DisplayRelativeFrequency = 1;
    st.settings.DisplayFormat = static_cast<int16_t>(c.format);
    const std::string got = c.style == 0 ? TextboxListing(&st) : FileListing(&st);
    EXPECT_EQ(got, c.want) << "format " << c.format;
  }
}

TEST(DisplayFormatsTest, RelativeFrequencyOfThreeInTwelveIsTwentyFivePercent) {
  ScriptedHost host;
  EngineState st(&host);
  st.settings.Source = InputSource::kClipboard;
  Prepare(&st, {{"aa", {{0, 3}}}, {"bb", {{0, 9}}}});
  st.settings.DisplayRelativeFrequency = 1;
  st.settings.DisplayFormat = 2;
  EXPECT_EQ(TextboxListing(&st),
            "     Rank  Rel freq\r\n"
            "        1    75.00%\r\n"
            "        2    25.00%\r\n");
  ListingPass pass(&st, nullptr);
  ComputeColumnWidths(&pass);
  EXPECT_EQ(U8(FrequencyColumn(pass, 1)), "  25.00%");  // entry 1 is "aa"
  EXPECT_EQ(U8(FrequencyColumn(pass, 0)), "Rel freq");
}

TEST(DisplayFormatsTest, HeaderOfFormatZeroToTheTextbox) {
  // Ranks up to 5 and counts up to 12, as in the fruit list.
  ScriptedHost host;
  EngineState st(&host);
  PrepareFruit(&st);
  const std::string got = TextboxListing(&st);
  const std::string header = got.substr(0, got.find("\r\n"));
  EXPECT_EQ(header, std::string(" ") + "    Rank" + "  " + "    Freq" + "  " + "Word" +
                        " [longest has 6 characters]");
}

TEST(DisplayFormatsTest, WordHeaderFollowsTheRunMode) {
  struct Case {
    bool count_only, phrases_in_count_only, all_phrases;
    const char* want;
  };
  const Case kCases[] = {{false, false, false, "Word"},
                         {true, false, false, "Word"},
                         {true, true, false, "Word or phrase"},
                         {true, true, true, "Phrase"},
                         {false, false, true, "Phrase"}};
  for (const auto& c : kCases) {
    ScriptedHost host;
    EngineState st(&host);
    st.run.CountOnlyMode = c.count_only;
    st.run.PhrasesInCountOnly = c.phrases_in_count_only;
    st.run.AllPhrasesMode = c.all_phrases;
    EXPECT_EQ(U8(WordHeader(st)), c.want) << c.want;
  }
}

TEST(DisplayFormatsTest, LongHeaderWidensTheWordColumn) {
  ScriptedHost host;
  EngineState st(&host);
  st.run.CountOnlyMode = true;
  st.run.PhrasesInCountOnly = true;
  PrepareFruit(&st);
  st.settings.DisplayFormat = 1;
  const std::string want =
      "     Rank  Word or phrase      Freq\r\n"
      "        1  banana                12\r\n";
  EXPECT_EQ(TextboxListing(&st).substr(0, want.size()), want);
}

TEST(DisplayFormatsTest, PhrasesInTheFileCarryATab) {
  ScriptedHost host;
  EngineState st(&host);
  st.run.AllPhrasesMode = true;
  st.settings.Source = InputSource::kClipboard;
  Prepare(&st, {{"new york", {{0, 3}}}, {"old town", {{0, 1}}}});
  st.listing.HeaderPrefix = u"There are 2 phrases.\r\n\r\n";
  st.settings.DisplayFormat = 0;
  EXPECT_EQ(FileListing(&st),
            "There are 2 phrases.\r\n\r\n"
            "    Rank\t    Freq\tPhrase\t [longest has 8 characters]\r\n"
            "       1\t       3\tnew york\t\r\n"
            "       2\t       1\told town\t\r\n");
  st.settings.DisplayFormat = 7;
  st.settings.OutputWithCommas = 1;
  EXPECT_EQ(FileListing(&st),
            "There are 2 phrases.\r\n\r\n"
            "  Phrase\t    Freq\r\n"
            "  new york\t       3\r\n"
            "  old town\t       1\r\n");
  EXPECT_EQ(TextboxListing(&st),
            "There are 2 phrases.\r\n\r\n"
            "  Phrase       Freq\r\n"
            "  new york        3\r\n"
            "  old town        1\r\n");
}

TEST(DisplayFormatsTest, FormatNineHeaderIsNeverShown) {
  ScriptedHost host;
  EngineState st(&host);
  PrepareFruit(&st);
  st.listing.HeaderPrefix = u"Prefix\r\n";
  st.settings.DisplayFormat = 9;
  EXPECT_EQ(FileListing(&st), "banana, pear, apple, fig, kiwi");
  st.settings.DisplayFormat = 8;
  EXPECT_EQ(FileListing(&st).substr(0, 41), "Prefix\r\nWord [longest has 6 characters]\r\n");
}

TEST(DisplayFormatsTest, FolderFormatsWordFreqFiles) {
  ScriptedHost host;
  EngineState st(&host);
  PrepareFolder(&st, "/data/texts");
  st.settings.DisplayFormat = 11;
  EXPECT_EQ(TextboxListing(&st), std::string(kSummary) +
                                     "  Word         Freq  Files\r\n"
                                     "  the             4     2\r\n"
                                     "  cat             2     1\r\n"
                                     "  dog             2     2\r\n");
  EXPECT_EQ(FileListing(&st),
            "Word    \t    Freq\t Files\r\n"
            "the     \t       4\t    2\r\n"
            "cat     \t       2\t    1\r\n"
            "dog     \t       2\t    2\r\n");
}

TEST(DisplayFormatsTest, FolderFormatByNumberOfFiles) {
  ScriptedHost host;
  EngineState st(&host);
  st.settings.SortByNumberOfFiles = 1;
  PrepareFolder(&st, "/data/texts");
  st.settings.DisplayFormat = 11;
  // Equal numbers of files keep alphabetical order: dog before the.
  EXPECT_EQ(TextboxListing(&st), std::string(kSummary) +
                                     "  Word         Freq  Files   File freq\r\n"
                                     "  dog             2     2    0.667\r\n"
                                     "  the             4     2    0.667\r\n"
                                     "  cat             2     1    0.333\r\n");
  EXPECT_FLOAT_EQ(st.words[1].FileFrequency, 1.0f / 3.0f);  // cat
}

TEST(DisplayFormatsTest, FolderFormatFileList) {
  ScriptedHost host;
  EngineState st(&host);
  PrepareFolder(&st, "/data/texts");
  st.settings.DisplayFormat = 12;
  st.settings.WordOrder = 1;
  const std::string want =
      "\r\n"
      "cat\r\n    /data/texts/b.txt\r\n\r\n"
      "dog\r\n    /data/texts/a.txt\r\n    /data/texts/sub/c.txt\r\n\r\n"
      "the\r\n    /data/texts/a.txt\r\n    /data/texts/b.txt\r\n\r\n";
  EXPECT_EQ(TextboxListing(&st), kSummary + want);
  EXPECT_EQ(FileListing(&st), want);
}

TEST(DisplayFormatsTest, FolderFormatFileListWithFrequencies) {
  ScriptedHost host;
  EngineState st(&host);
  PrepareFolder(&st, "/data/texts");
  st.settings.DisplayFormat = 13;
  // Under each word its files, the largest count first.
  EXPECT_EQ(FileListing(&st),
            "\r\n"
            "the\r\n        3 /data/texts/b.txt\r\n        1 /data/texts/a.txt\r\n\r\n"
            "cat\r\n        2 /data/texts/b.txt\r\n\r\n"
            "dog\r\n        1 /data/texts/sub/c.txt\r\n        1 /data/texts/a.txt\r\n\r\n");
  st.settings.DisplayRelativeFrequency = 1;
  EXPECT_EQ(FileListing(&st),
            "\r\n"
            "  the\r\n  37.50% /data/texts/b.txt\r\n  12.50% /data/texts/a.txt\r\n\r\n"
            "  cat\r\n  25.00% /data/texts/b.txt\r\n\r\n"
            "  dog\r\n  12.50% /data/texts/sub/c.txt\r\n  12.50% /data/texts/a.txt\r\n\r\n");
}

TEST(DisplayFormatsTest, FiveDigitCountsAreKeptWhole) {
  ScriptedHost host;
  EngineState st(&host);
  st.settings.Source = InputSource::kFolder;
  st.settings.FolderPath = "/d";
  st.run.ScannedFilePaths = {"/d/a", "/d/b"};
  st.run.FilesScanned = 2;
  st.run.FolderCount = 1;
  Prepare(&st, {{"the", {{1, 7}, {2, 12345}}}});
  st.settings.DisplayFormat = 13;
  EXPECT_EQ(FileListing(&st), "\r\nthe\r\n12345 /d/b\r\n        7 /d/a\r\n\r\n");
}

TEST(DisplayFormatsTest, LongFolderPathsAreAbbreviated) {
  struct Case {
    const char* folder;
    bool abbreviated;
  };
  const Case kCases[] = {{"/data/corpus1", false},  // 13 characters
                         {"/data/corpus12", true},
                         {"/home/user/corpus", true}};
  for (const auto& c : kCases) {
    ScriptedHost host;
    EngineState st(&host);
    PrepareFolder(&st, c.folder);
    st.settings.DisplayFormat = 12;
    st.settings.WordOrder = 1;
    const std::string f = c.folder;
    const std::string shown = c.abbreviated ? "{Folder}" : f;
    const std::string header = c.abbreviated ? "\r\n{Folder} = " + f + "\r\n\r\n" : "\r\n";
    EXPECT_EQ(FileListing(&st), header + "cat\r\n    " + shown + "/b.txt\r\n\r\n" + "dog\r\n    " +
                                    shown + "/a.txt\r\n    " + shown + "/sub/c.txt\r\n\r\n" +
                                    "the\r\n    " + shown + "/a.txt\r\n    " + shown +
                                    "/b.txt\r\n\r\n")
        << c.folder;
  }
}

TEST(DisplayFormatsTest, ScannedFilesSummaryWording) {
  struct Case {
    int64_t files, folders;
    bool interrupted;
    const char* first;
  };
  const Case kCases[] = {
      {1, 1, false, "1 file (in 1 folder) was scanned.\r\n"},
      {2, 1, false, "2 files (in 1 folder) were scanned.\r\n"},
      {1234, 3, false, "1,234 files (in 3 folders) were scanned.\r\n"},
      {5, 1, true,
       "5 files (in 1 folder) were scanned.\r\n"
       "Counting was stopped and this list is incomplete.\r\n"},
  };
  for (const auto& c : kCases) {
    ScriptedHost host;
    EngineState st(&host);
    st.run.FilesScanned = c.files;
    st.run.FolderCount = c.folders;
    st.run.Interrupted = c.interrupted;
    st.stats.ListedCount = 12;
    st.stats.ListedInstances = 1234;
    EXPECT_EQ(U8(ScannedFilesSummary(st)),
              std::string(c.first) +
                  "Number of words in this list:  12\r\n"
                  "Number of instances of words in this list:  1234\r\n\r\n")
        << c.files;
  }
}

TEST(DisplayFormatsTest, OptionAvailability) {
  for (int f = 0; f < kDisplayFormatCount; ++f) {
    const bool want =
        f == 0 || f == 1 || f == 2 || f == 4 || f == 5 || f == 7 || f == 11 || f == 13;
    EXPECT_EQ(RelativeFrequencyAvailable(f), want) << f;
  }
  EXPECT_EQ(DisplayFormatName(0), GetMessageText(51));
  EXPECT_EQ(DisplayFormatName(11), "word freq no.files");
  EXPECT_EQ(DisplayFormatName(13), "word file-list (+ freq)");
}

TEST(DisplayFormatsTest, EmptyListShowsHeaderOnly) {
  ScriptedHost host;
  EngineState st(&host);
  st.settings.Source = InputSource::kClipboard;
  Prepare(&st, {{"a", {{0, 1}}}});
  st.words[1].Listed = false;
  ComputeListStatistics(st.words, false, &st.stats);
  BuildFrequencyChain(&st.words, &st.stats, false, nullptr);
  st.settings.DisplayFormat = 2;
  EXPECT_EQ(TextboxListing(&st), "     Rank      Freq\r\n");
  st.settings.WordOrder = 1;
  EXPECT_EQ(FileListing(&st), "    Rank\t    Freq\r\n");
}

std::vector<Item> ManyWords(int n) {
  std::vector<Item> items;
  for (int i = 0; i < n; ++i) {
    std::string s = std::to_string(i);
    items.push_back({"word" + std::string(6 - s.size(), '0') + s, {{0, 1}}});
  }
  return items;
}

TEST(DisplayFormatsTest, TextboxStopsTakingLinesPastTheLimit) {
  ScriptedHost host;
  EngineState st(&host);
  st.settings.Source = InputSource::kClipboard;
  Prepare(&st, ManyWords(10000));  // 12 characters a line: 120,000 in all
  st.settings.DisplayFormat = 8;
  st.settings.WordOrder = 1;
  const std::string got = TextboxListing(&st);
  EXPECT_GT(got.size(), static_cast<size_t>(kOutputLimit));
  EXPECT_LT(got.size(), static_cast<size_t>(kOutputLimit + 2100));
  const std::string full = FileListing(&st);
  EXPECT_EQ(full.size(), 34u + 10000u * 12u);
  EXPECT_EQ(full.substr(0, got.size()), got);
  EXPECT_EQ(host.results(), st.textbox.text());
}

TEST(DisplayFormatsTest, HugeEntryFillsTheBufferAndReportsAFullBox) {
  ScriptedHost host;
  EngineState st(&host);
  st.settings.Source = InputSource::kFolder;
  st.settings.FolderPath = "/f";
  for (int k = 1; k <= 3000; ++k) {
    st.run.ScannedFilePaths.push_back("/f/some-longer-file-name-" + std::to_string(k));
  }
  st.run.FilesScanned = 3000;
  st.run.FolderCount = 1;
  std::vector<Item> items = {{"big", {}}, {"small", {{1, 1}}}};
  for (int k = 1; k <= 3000; ++k) items[0].files.push_back({k, 1});
  Prepare(&st, items);
  st.settings.DisplayFormat = 12;
  TextboxListing(&st);
  EXPECT_TRUE(st.textbox.OutputAborted);
  const std::string text = U8(st.textbox.text());
  const std::string note = "\r\n\r\nTextbox is full.\r\n" + GetMessageText(36);
  ASSERT_GE(text.size(), note.size());
  EXPECT_EQ(text.substr(text.size() - note.size()), note);
  EXPECT_EQ(text.find("small"), std::string::npos);
}

TEST(DisplayFormatsTest, StopEndsTheWalkAndEventsRunNowAndThen) {
  ScriptedHost host;
  EngineState st(&host);
  st.settings.Source = InputSource::kClipboard;
  Prepare(&st, ManyWords(10000));
  st.settings.DisplayFormat = 8;
  host.OnProcessEvents([&st]() { st.run.StopRequested = true; });
  const std::string got = FileListing(&st);
  EXPECT_EQ(host.process_events_calls(), 1);
  EXPECT_EQ(got.size(), 34u + static_cast<size_t>(kListingEventInterval) * 12u);
}

}  // namespace
}  // namespace vorn
