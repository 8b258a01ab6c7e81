#include "results/textbox.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/scripted_host.h"
#include "util/text.h"

namespace vorn {
namespace {

const Text kFull = u"\r\n\r\nTextbox is full.";

TEST(TextboxTest, AcceptsAppendsUpToTheLimitThenRefusesAndTellsTheHost) {
  ScriptedHost host;
  Textbox box(&host);
  EXPECT_TRUE(box.Append(u"abc"));
  EXPECT_EQ(host.results(), u"abc");
  box.Clear();
  EXPECT_EQ(host.results(), u"");
  box.SetText(Text(kOutputLimit, u'a'));
  EXPECT_TRUE(box.Append(u"bc"));  // held exactly 65000: accepted
  EXPECT_EQ(box.length(), kOutputLimit + 2);
  EXPECT_FALSE(box.Append(u"d"));  // holds more: refused
  EXPECT_EQ(box.length(), kOutputLimit + 2);
  EXPECT_EQ(host.results(), box.text());
}

TEST(TextboxTest, OutputToTxbMarksFullWhenTheBoxStopsGrowing) {
  ScriptedHost host;
  Textbox box(&host);
  box.SetText(Text(kOutputLimit + 1, u'a'));
  box.OutputToTxb(u"x");  // refused, but the length was not seen before
  EXPECT_FALSE(box.OutputAborted);
  EXPECT_EQ(box.length(), kOutputLimit + 1);
  box.OutputToTxb(u"x");  // refused again: the control is full
  EXPECT_TRUE(box.OutputAborted);
  const Text want = Text(kOutputLimit + 1 - 256, u'a') + kFull;
  EXPECT_EQ(box.text(), want);
  EXPECT_EQ(host.results(), want);
  box.OutputToTxb(u"more");
  EXPECT_EQ(box.text(), want);
}

TEST(TextboxTest, ListingFilesNoteCountsFilesAndFolders) {
  // Files, folders, note.
  using Case = std::tuple<int64_t, int64_t, const char16_t*>;
  const Case kCases[] = {{1, 1, u"To this point: 1 file in 1 folder"},
                         {2, 1, u"To this point: 2 files in 1 folder"},
                         {1234, 0, u"To this point: 1234 files in 0 folders"}};
  for (const auto& [files, folders, want] : kCases) {
    ScriptedHost host;
    Textbox box(&host);
    box.SetListingProgress(true, files, folders);
    box.SetText(Text(kOutputLimit + 1, u'a'));
    box.OutputToTxb(u"x");
    box.OutputToTxb(u"x");
    ASSERT_TRUE(box.OutputAborted);
    EXPECT_EQ(box.text().substr(box.text().size() - (kFull.size() + 4 + Text(want).size())),
              kFull + u"\r\n\r\n" + want)
        << files;
  }
}

TEST(TextboxTest, MarkFullAddsTheNote) {
  ScriptedHost host;
  Textbox box(&host);
  box.SetText(Text(2000, u'a'));
  box.MarkFull(u"The list is incomplete.");
  EXPECT_EQ(box.text(), Text(1744, u'a') + kFull + u"\r\nThe list is incomplete.");
  EXPECT_TRUE(box.OutputAborted);
  // A short text keeps all its characters.
  Textbox small(&host);
  small.SetText(u"abc");
  small.MarkFull(u"");
  EXPECT_EQ(small.text(), u"abc" + kFull);
}

}  // namespace
}  // namespace vorn
