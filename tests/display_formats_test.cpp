// The listing passes of every display format. The end-to-end tests compare
// whole files for formats 0 to 10 in both orders and both file styles, and
// for the folder formats; here the ends of format 9, the folder paths,
// headers and limits are tested.

#include "results/display_formats.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "counting/engine_state.h"
#include "results/output.h"
#include "results/ranking.h"
#include "support/prepared_list.h"
#include "support/scripted_host.h"
#include "util/text.h"

namespace vorn {
namespace {

std::string U8(const Text& t) { return TextToUtf8(t); }

// A sink that keeps what it is given, piece by piece, and fails (with EIO)
// from the fail_at-th piece on when fail_at is not 0.
class RecordingSink : public ByteSink {
 public:
  explicit RecordingSink(int fail_at = 0) : fail_at_(fail_at) {}
  int Write(std::string_view bytes) override {
    pieces.emplace_back(bytes);
    return fail_at_ != 0 && static_cast<int>(pieces.size()) >= fail_at_ ? EIO : 0;
  }
  std::string Joined() const {
    std::string all;
    for (const std::string& p : pieces) all += p;
    return all;
  }
  std::vector<std::string> pieces;

 private:
  int fail_at_;
};

// Walks the listing of st in its order.
void Walk(ListingPass* pass) {
  if (pass->st->settings.WordOrder == 1) {
    ListWordsAlphabetically(pass);
  } else {
    ListWordsByFrequency(pass);
  }
}

// The listing of st to the textbox (style 0, which never uses commas) or to a
// file (1 tabs, 2 commas).
std::string Listing(EngineState* st, int style) {
  RecordingSink file;
  st->listing.WritingToFile = style != 0;
  if (style != 0) st->settings.OutputWithCommas = style == 2 ? 1 : 0;
  ListingPass pass(st, style == 0 ? nullptr : &file);
  Walk(&pass);
  st->listing.WritingToFile = false;
  return style == 0 ? U8(st->textbox.text()) : U8(DecodeWindows1252(file.Joined()));
}

std::string TextboxListing(EngineState* st) { return Listing(st, 0); }
std::string FileListing(EngineState* st) { return Listing(st, 1); }

// An engine state with its scripted host.
struct State {
  ScriptedHost host;
  EngineState st{&host};
};

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

// The one-line list of format 9, which the whole-file comparisons of the
// end-to-end test do not show at its end: the textbox ends it with a
// separator by frequency and with a line break alphabetically, the file
// with nothing.
TEST(DisplayFormatsTest, FormatNineEnds) {
  // Order, style, listing.
  using Case = std::tuple<int, int, const char*>;
  const Case kCases[] = {{0, 0, "banana, pear, apple, fig, kiwi, "},
                         {1, 0, "apple, banana, fig, kiwi, pear\r\n"},
                         {0, 1, "banana, pear, apple, fig, kiwi"},
                         {1, 2, "apple, banana, fig, kiwi, pear"}};
  for (const auto& [order, style, want] : kCases) {
    State s;
    PrepareFruit(&s.st);
    s.st.settings.DisplayFormat = 9;
    s.st.settings.WordOrder = static_cast<int16_t>(order);
    EXPECT_EQ(Listing(&s.st, style), want) << "order " << order << " style " << style;
  }
}

TEST(DisplayFormatsTest, RelativeFrequencyOnlyWhereTheFormatHasIt) {
  for (int f = 0; f < kDisplayFormatCount; ++f) {
    const bool want =
        f == 0 || f == 1 || f == 2 || f == 4 || f == 5 || f == 7 || f == 11 || f == 13;
    EXPECT_EQ(RelativeFrequencyAvailable(f), want) << f;
    if (want || f > 10) continue;
    // Formats without the option show absolute counts even when it is on.
    State s;
    PrepareFruit(&s.st);
    s.st.settings.DisplayFormat = static_cast<int16_t>(f);
    const std::string absolute = FileListing(&s.st);
    s.st.settings.DisplayRelativeFrequency = 1;
    EXPECT_EQ(FileListing(&s.st), absolute) << f;
  }
}

TEST(DisplayFormatsTest, WordHeaderAndWordsPhrasesFollowTheRunMode) {
  struct Case {
    bool count_only, phrases_in_count_only, all_phrases;
    const char* header;
    const char* words_phrases;
  };
  const Case kCases[] = {{false, false, false, "Word", "words"},
                         {true, false, false, "Word", "words"},
                         {false, true, false, "Word", "words"},
                         {true, true, false, "Word or phrase", "words/phrases"},
                         {true, true, true, "Phrase", "phrases"},
                         {false, false, true, "Phrase", "phrases"}};
  for (const auto& c : kCases) {
    State s;
    s.st.run.CountOnlyMode = c.count_only;
    s.st.run.PhrasesInCountOnly = c.phrases_in_count_only;
    s.st.run.AllPhrasesMode = c.all_phrases;
    s.st.listing.AllPhrases = c.all_phrases;
    EXPECT_EQ(U8(WordHeader(s.st)), c.header) << c.words_phrases;
    EXPECT_EQ(WordsPhrases(s.st), c.words_phrases) << c.words_phrases;
  }
  // A long header widens the word column.
  State s;
  s.st.run.CountOnlyMode = true;
  s.st.run.PhrasesInCountOnly = true;
  PrepareFruit(&s.st);
  s.st.settings.DisplayFormat = 1;
  const std::string want =
      "     Rank  Word or phrase      Freq\r\n"
      "        1  banana                12\r\n";
  EXPECT_EQ(TextboxListing(&s.st).substr(0, want.size()), want);
}

TEST(DisplayFormatsTest, PhrasesInTheFileCarryATab) {
  State s;
  s.st.run.AllPhrasesMode = true;
  s.st.listing.AllPhrases = true;
  s.st.settings.Source = InputSource::kClipboard;
  Prepare(&s.st, {{"new york", {{0, 3}}}, {"old town", {{0, 1}}}});
  s.st.listing.HeaderPrefix = u"There are 2 phrases.\r\n\r\n";
  s.st.settings.DisplayFormat = 7;
  EXPECT_EQ(Listing(&s.st, 2),
            "There are 2 phrases.\r\n\r\n"
            "  Phrase\t    Freq\r\n  new york\t       3\r\n  old town\t       1\r\n");
  EXPECT_EQ(TextboxListing(&s.st),
            "There are 2 phrases.\r\n\r\n"
            "  Phrase       Freq\r\n  new york        3\r\n  old town        1\r\n");
}

TEST(DisplayFormatsTest, FormatNineHeaderIsNeverShown) {
  State s;
  PrepareFruit(&s.st);
  s.st.listing.HeaderPrefix = u"Prefix\r\n";
  s.st.settings.DisplayFormat = 9;
  EXPECT_EQ(FileListing(&s.st), "banana, pear, apple, fig, kiwi");
  s.st.settings.DisplayFormat = 8;
  EXPECT_EQ(FileListing(&s.st).substr(0, 41), "Prefix\r\nWord [longest has 6 characters]\r\n");
}

TEST(DisplayFormatsTest, FiveDigitCountsAreKeptWhole) {
  State s;
  s.st.settings.Source = InputSource::kFolder;
  s.st.settings.FolderPath = "/d";
  s.st.run.ScannedFilePaths = {"/d/a", "/d/b"};
  s.st.run.FilesScanned = 2;
  s.st.run.FolderCount = 1;
  Prepare(&s.st, {{"the", {{1, 7}, {2, 12345}}}});
  s.st.settings.DisplayFormat = 13;
  EXPECT_EQ(FileListing(&s.st), "\r\nthe\r\n12345 /d/b\r\n        7 /d/a\r\n\r\n");
}

TEST(DisplayFormatsTest, FolderPathsLongerThanThirteenCharactersAreAbbreviated) {
  for (const auto& [folder, abbreviated] :
       {std::pair{"/data/corpus1", false}, {"/data/corpus12", true}}) {
    State s;
    PrepareFolder(&s.st, folder);
    s.st.settings.DisplayFormat = 12;
    s.st.settings.WordOrder = 1;
    const std::string f = folder;
    const std::string shown = abbreviated ? "{Folder}" : f;
    EXPECT_EQ(FileListing(&s.st), (abbreviated ? "\r\n{Folder} = " + f + "\r\n\r\n" : "\r\n") +
                                      "cat\r\n    " + shown + "/b.txt\r\n\r\ndog\r\n    " + shown +
                                      "/a.txt\r\n    " + shown + "/sub/c.txt\r\n\r\nthe\r\n    " +
                                      shown + "/a.txt\r\n    " + shown + "/b.txt\r\n\r\n")
        << folder;
  }
}

TEST(DisplayFormatsTest, ScannedFilesSummaryWording) {
  // Files, folders, interrupted, first line.
  using Case = std::tuple<int64_t, int64_t, bool, const char*>;
  const Case kCases[] = {{1, 1, false, "1 file (in 1 folder) was scanned.\r\n"},
                         {1234, 3, false, "1,234 files (in 3 folders) were scanned.\r\n"},
                         {5, 1, true,
                          "5 files (in 1 folder) were scanned.\r\n"
                          "Counting was stopped and this list is incomplete.\r\n"}};
  for (const auto& [files, folders, interrupted, first] : kCases) {
    State s;
    s.st.run.FilesScanned = files;
    s.st.run.FolderCount = folders;
    s.st.run.Interrupted = interrupted;
    s.st.stats.ListedCount = 12;
    s.st.stats.ListedInstances = 1234;
    EXPECT_EQ(U8(ScannedFilesSummary(s.st)),
              std::string(first) +
                  "Number of words in this list:  12\r\n"
                  "Number of instances of words in this list:  1234\r\n\r\n")
        << files;
  }
}

TEST(DisplayFormatsTest, EmptyListShowsHeaderOnly) {
  State s;
  s.st.settings.Source = InputSource::kClipboard;
  Prepare(&s.st, {{"a", {{0, 1}}}});
  s.st.words[1].Listed = false;
  ComputeListStatistics(s.st.words, false, &s.st.stats);
  BuildFrequencyChain(&s.st.words, &s.st.stats, false, nullptr);
  s.st.settings.DisplayFormat = 2;
  EXPECT_EQ(TextboxListing(&s.st), "     Rank      Freq\r\n");
  s.st.settings.WordOrder = 1;
  EXPECT_EQ(FileListing(&s.st), "    Rank\t    Freq\r\n");
}

std::vector<Item> ManyWords(int n) {
  std::vector<Item> items;
  for (int i = 0; i < n; ++i) {
    std::string s = std::to_string(i);
    items.push_back({"word" + std::string(6 - s.size(), '0') + s, {{0, 1}}});
  }
  return items;
}

TEST(DisplayFormatsTest, HugeEntryFillsTheBufferAndReportsAFullBox) {
  State s;
  s.st.settings.Source = InputSource::kFolder;
  s.st.settings.FolderPath = "/f";
  std::vector<Item> items = {{"big", {}}, {"small", {{1, 1}}}};
  for (int k = 1; k <= 3000; ++k) {
    s.st.run.ScannedFilePaths.push_back("/f/some-longer-file-name-" + std::to_string(k));
    items[0].files.push_back({k, 1});
  }
  s.st.run.FilesScanned = 3000;
  s.st.run.FolderCount = 1;
  Prepare(&s.st, items);
  s.st.settings.DisplayFormat = 12;
  TextboxListing(&s.st);
  EXPECT_TRUE(s.st.textbox.OutputAborted);  // the note is tested with the listing
  EXPECT_EQ(U8(s.st.textbox.text()).find("small"), std::string::npos);
}

// The file's bytes go to the sink in pieces of about kFileChunk bytes as
// the lines are made; a failure of the sink ends the pass there.
TEST(DisplayFormatsTest, FilePassHandsItsBytesOnInPiecesAndEndsAtAFailure) {
  State s;
  s.st.settings.Source = InputSource::kClipboard;
  Prepare(&s.st, ManyWords(30000));
  s.st.settings.DisplayFormat = 8;
  s.st.settings.WordOrder = 1;
  RecordingSink whole;
  ListingPass pass(&s.st, &whole);
  Walk(&pass);
  EXPECT_EQ(pass.FileError, 0);
  const std::string all = whole.Joined();
  EXPECT_EQ(all.size(), 34u + 30000u * 12u);
  EXPECT_EQ(all.substr(all.size() - 12), "word029999\r\n");
  ASSERT_GT(whole.pieces.size(), 2u);
  for (size_t k = 0; k + 1 < whole.pieces.size(); ++k) {
    EXPECT_GE(whole.pieces[k].size(), kFileChunk) << k;
    EXPECT_LT(whole.pieces[k].size(), kFileChunk + 100) << k;
  }

  RecordingSink failing(/*fail_at=*/2);
  ListingPass failed(&s.st, &failing);
  Walk(&failed);
  EXPECT_EQ(failed.FileError, EIO);
  EXPECT_EQ(failing.pieces.size(), 2u);  // nothing after the failure
  EXPECT_EQ(failing.Joined(), all.substr(0, failing.Joined().size()));
}

}  // namespace
}  // namespace vorn
