#include "counting/count_dialogs.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/scripted_host.h"

namespace vorn {
namespace {

using Strings = std::vector<std::string>;

class CountDialogsTest : public ::testing::Test {
 protected:
  CountDialogsTest() : st(&host) {}

  // The kinds of the host calls made, in order.
  Strings Kinds() const {
    Strings kinds;
    for (const ScriptedHost::Call& c : host.calls()) kinds.push_back(c.kind);
    return kinds;
  }

  static CountAllPhrasesAnswer Phrases(DialogExit exit, int min, int max, int occurrences,
                                       bool exclude = true, bool file_list = false) {
    return {exit, min, max, occurrences, exclude, file_list};
  }

  ScriptedHost host;
  EngineState st;
};

constexpr char kPhrasesIntro[] =
    "This operation counts all phrases containing a number of words within a specified range "
    "which occur at least a specified number of times.";

TEST_F(CountDialogsTest, PhrasesDialogFollowsTheSettingsAndModes) {
  CountAllPhrasesDialog d = MakeCountAllPhrasesDialog(st);
  EXPECT_EQ(d.caption, "Count all phrases");
  EXPECT_EQ(d.intro, kPhrasesIntro);
  EXPECT_EQ(d.min_words, 2);
  EXPECT_EQ(d.max_words, 5);
  EXPECT_EQ(d.min_occurrences, 1);
  EXPECT_FALSE(d.exclude_enabled);
  EXPECT_TRUE(d.exclude_checked);
  EXPECT_EQ(d.exclude_note, "No words-to-ignore are specified in the 'Settings' window.");
  // The default source is a folder.
  EXPECT_TRUE(d.file_list_visible);
  EXPECT_EQ(d.file_list_caption, kFileListCaption);

  st.run.CountOnlyMode = true;
  st.run.IgnoreMode = true;
  st.settings.MinPhraseLength = 0;
  st.settings.MaxPhraseLength = 29;
  st.settings.MinPhraseOccurrences = 30;  // outside the list: its default
  st.settings.DisplayFormat = 11;
  d = MakeCountAllPhrasesDialog(st);
  EXPECT_EQ(d.intro, std::string(kPhrasesIntro) +
                         "  It ignores the specification of count-only words/phrases in the "
                         "'Settings' window.");
  EXPECT_TRUE(d.exclude_enabled);
  EXPECT_TRUE(d.exclude_checked);
  EXPECT_EQ(d.exclude_note,
            "If this checkbox is checked then this operation uses the words-to-ignore "
            "specification in the 'Settings' window.");
  EXPECT_EQ(d.min_words, 0);
  EXPECT_EQ(d.max_words, 29);
  EXPECT_EQ(d.min_occurrences, 1);
  EXPECT_TRUE(d.file_list_visible);

  // The box is offered only for a folder while the format is not 13.
  st.settings.DisplayFormat = 13;
  EXPECT_FALSE(MakeCountAllPhrasesDialog(st).file_list_visible);
  st.settings.DisplayFormat = 0;
  st.settings.Source = InputSource::kSingleFile;
  EXPECT_FALSE(MakeCountAllPhrasesDialog(st).file_list_visible);
}

TEST_F(CountDialogsTest, AcceptedPhrasesStoreTheirPositionsAndGiveNumbers) {
  host.QueuePhrasesAnswer(Phrases(DialogExit::kAccept, 1, 3, 0));
  std::optional<PhraseRunValues> v = AskCountAllPhrases(&st);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->min_words, 2);
  EXPECT_EQ(v->max_words, 4);
  EXPECT_EQ(v->min_occurrences, 1);
  // A ticked exclude box counts only while there are words to ignore.
  EXPECT_FALSE(v->exclude_ignored);
  EXPECT_EQ(st.settings.MinPhraseLength, 1);
  EXPECT_EQ(st.settings.MaxPhraseLength, 3);
  EXPECT_EQ(st.settings.MinPhraseOccurrences, 0);
  EXPECT_EQ(host.settings_changed(),
            (Strings{"MinPhraseLength", "MaxPhraseLength", "MinPhraseOccurrences"}));

  // Only what changed is announced.
  host.Clear();
  st.run.IgnoreMode = true;
  host.QueuePhrasesAnswer(Phrases(DialogExit::kAccept, 1, 7, 0));
  v = AskCountAllPhrases(&st);
  ASSERT_TRUE(v);
  EXPECT_TRUE(v->exclude_ignored);
  EXPECT_EQ(v->max_words, 8);
  EXPECT_EQ(host.settings_changed(), Strings{"MaxPhraseLength"});

  host.Clear();
  host.QueuePhrasesAnswer(Phrases(DialogExit::kAccept, 1, 7, 0, /*exclude=*/false));
  v = AskCountAllPhrases(&st);
  ASSERT_TRUE(v);
  EXPECT_FALSE(v->exclude_ignored);
  EXPECT_TRUE(host.settings_changed().empty());
}

TEST_F(CountDialogsTest, MaximumBelowMinimumIsRefusedAndShownAgainAsChosen) {
  host.QueuePhrasesAnswer(Phrases(DialogExit::kAccept, 6, 3, 4, /*exclude=*/false));
  host.QueuePhrasesAnswer(Phrases(DialogExit::kAccept, 3, 3, 4));
  const std::optional<PhraseRunValues> v = AskCountAllPhrases(&st);
  EXPECT_EQ(Kinds(), (Strings{"phrases-dialog", "message", "phrases-dialog"}));
  EXPECT_EQ(host.calls()[1].icon, Icon::kExclamation);
  EXPECT_EQ(host.Dialogs(), Strings{"Invalid input|The maximum number of words in each "
                                    "phrase\r\nmust not be less than the minimum number."});
  // The second showing kept the refused choices.
  const CountAllPhrasesDialog& again = host.phrases_dialog();
  EXPECT_EQ(again.min_words, 6);
  EXPECT_EQ(again.max_words, 3);
  EXPECT_EQ(again.min_occurrences, 4);
  EXPECT_FALSE(again.exclude_checked);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->min_words, 4);
  EXPECT_EQ(v->max_words, 4);
  EXPECT_EQ(v->min_occurrences, 5);
}

TEST_F(CountDialogsTest, OneWordPhrasesAreExplainedAndTheLengthsReset) {
  host.QueuePhrasesAnswer(Phrases(DialogExit::kAccept, 0, 0, 3));
  host.QueuePhrasesAnswer(Phrases(DialogExit::kCancel, 0, 0, 3));
  EXPECT_FALSE(AskCountAllPhrases(&st));
  EXPECT_EQ(Kinds(), (Strings{"phrases-dialog", "message", "phrases-dialog"}));
  EXPECT_EQ(host.calls()[1].icon, Icon::kInformation);
  EXPECT_EQ(host.Dialogs(),
            Strings{"Count all phrases|To count all and only 'phrases' with one word "
                    "please\r\ncancel then click on the 'Count words/phrases' button\r\nthen "
                    "click on the 'Count all words' button."});
  EXPECT_EQ(host.phrases_dialog().min_words, 2);
  EXPECT_EQ(host.phrases_dialog().max_words, 5);
  EXPECT_EQ(host.phrases_dialog().min_occurrences, 3);
  // Cancelled: nothing stored.
  EXPECT_EQ(st.settings.MinPhraseOccurrences, 1);
  EXPECT_TRUE(host.settings_changed().empty());
}

TEST_F(CountDialogsTest, PhrasesGoToSettingsCancelAndTheFileListBox) {
  host.QueuePhrasesAnswer(Phrases(DialogExit::kGoToSettings, 1, 3, 0));
  EXPECT_FALSE(AskCountAllPhrases(&st));
  EXPECT_EQ(Kinds(), (Strings{"phrases-dialog", "settings-window"}));
  EXPECT_EQ(st.settings.MaxPhraseLength, 5);

  host.Clear();
  host.QueuePhrasesAnswer(Phrases(DialogExit::kCancel, 1, 3, 0, true, /*file_list=*/true));
  EXPECT_FALSE(AskCountAllPhrases(&st));
  EXPECT_EQ(Kinds(), Strings{"phrases-dialog"});
  EXPECT_EQ(st.settings.DisplayFormat, 11);
  EXPECT_EQ(host.settings_changed(), Strings{"DisplayFormat"});

  // Not shown, the box changes nothing whatever the host says.
  host.Clear();
  st.settings.DisplayFormat = 13;
  host.QueuePhrasesAnswer(Phrases(DialogExit::kAccept, 2, 5, 1, true, /*file_list=*/true));
  EXPECT_TRUE(AskCountAllPhrases(&st));
  EXPECT_EQ(st.settings.DisplayFormat, 13);
  EXPECT_TRUE(host.settings_changed().empty());
}

// The caption follows the run mode; the options follow the settings.
TEST_F(CountDialogsTest, CountArrayDialogCaptionAndOptions) {
  CountArrayDialog d = MakeCountArrayDialog(st);
  EXPECT_EQ(d.caption, "Make 2-d count array for Excel");
  EXPECT_EQ(d.layout, 0);
  EXPECT_FALSE(d.zero_cells_blank);
  EXPECT_FALSE(d.write_relative_frequency);

  st.run.CountOnlyMode = true;
  st.settings.CountArrayLayout = 2;
  st.settings.CountArrayZeroCellsBlank = 1;
  st.settings.CountArrayWriteRelativeFrequency = 1;
  d = MakeCountArrayDialog(st);
  EXPECT_EQ(d.caption, "Make 2-d count array of specified words/phrases");
  EXPECT_EQ(d.layout, 2);
  EXPECT_TRUE(d.zero_cells_blank);
  EXPECT_TRUE(d.write_relative_frequency);
  st.settings.CountArrayLayout = 3;
  EXPECT_EQ(MakeCountArrayDialog(st).layout, 0);
}

TEST_F(CountDialogsTest, CountArrayAnswers) {
  host.QueueArrayAnswer({DialogExit::kAccept, 1, true, false});
  EXPECT_TRUE(AskCountArrayOptions(&st));
  EXPECT_EQ(st.settings.CountArrayLayout, 1);
  EXPECT_EQ(st.settings.CountArrayZeroCellsBlank, 1);
  EXPECT_EQ(st.settings.CountArrayWriteRelativeFrequency, 0);
  EXPECT_EQ(host.settings_changed(), (Strings{"CountArrayLayout", "CountArrayZeroCellsBlank"}));

  for (DialogExit exit : {DialogExit::kGoToSettings, DialogExit::kCancel}) {
    host.Clear();
    host.QueueArrayAnswer({exit, 2, false, true});
    EXPECT_FALSE(AskCountArrayOptions(&st));
    EXPECT_EQ(st.settings.CountArrayLayout, 1);
    EXPECT_TRUE(host.settings_changed().empty());
    EXPECT_EQ(Kinds().size(), exit == DialogExit::kGoToSettings ? 2u : 1u);
  }
  EXPECT_EQ(Kinds(), Strings{"array-dialog"});
}

TEST_F(CountDialogsTest, LoadOrRemoveRecord) {
  host.QueueLoadOrRemove(LoadOrRemove::kRemove);
  EXPECT_EQ(AskLoadOrRemove(&st, 1, "/tmp/only.txt"), LoadOrRemove::kRemove);
  LoadOrRemoveDialog d = host.load_remove_dialog();
  EXPECT_EQ(d.caption, "Load or remove this file");
  EXPECT_EQ(d.path, "/tmp/only.txt");
  EXPECT_EQ(d.list, 1);
  EXPECT_EQ(d.top, 750);
  EXPECT_EQ(d.left, 150);
  EXPECT_EQ(AskLoadOrRemove(&st, 0, "/tmp/ignore.txt"), LoadOrRemove::kCancel);
  EXPECT_EQ(host.load_remove_dialog().top, 400);
}

}  // namespace
}  // namespace vorn
