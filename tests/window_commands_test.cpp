#include "counting/window_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting/engine.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/text.h"

namespace vorn {
namespace {

using Strings = std::vector<std::string>;

class WindowCommandsTest : public ::testing::Test {
 protected:
  WindowCommandsTest() : engine(&host), st(engine.state()), s(engine.settings()) {}

  // Fills the labels that the commands may empty.
  void FillLabels() {
    for (Label l : {Label::kNumberOfWords, Label::kNumWordsExcluded, Label::kNumOccurrences,
                    Label::kTotalNumOccurrences, Label::kTimeElapsed, Label::kTimeElapsed2,
                    Label::kFilesize, Label::kXmlSize}) {
      st.SetLabel(l, "old");
    }
  }

  ScriptedHost host;
  Engine engine;
  EngineState& st;
  Settings& s;
  TempDir dir;
};

TEST_F(WindowCommandsTest, ChoosingAnInputFileChecksItAndClearsTheResults) {
  const std::string file = dir.Write("in.txt", "twelve bytes");
  FillLabels();
  st.textbox.SetText(u"old results");
  st.TextAlreadyRead = true;
  host.QueueChosenPath(file);
  EXPECT_TRUE(engine.ChooseInputFile());

  const FileChooser& c = host.file_chooser();
  EXPECT_EQ(c.title, "Select the input file");
  EXPECT_EQ(c.filter, "A text file or a docx file");
  EXPECT_EQ(c.initial_name, "");
  EXPECT_FALSE(c.save);
  EXPECT_TRUE(c.file_must_exist);
  EXPECT_TRUE(c.path_must_exist);
  EXPECT_EQ(s.InputFilePath, file);
  EXPECT_EQ(s.Source, InputSource::kSingleFile);
  EXPECT_EQ(host.settings_changed(), (Strings{"InputFilePath", "Source"}));
  EXPECT_EQ(host.label(Label::kFilesize), "Filesize: 12 bytes");
  EXPECT_EQ(host.label(Label::kXmlSize), "old");
  EXPECT_EQ(host.label(Label::kTimeElapsed2), "");
  EXPECT_EQ(host.label(Label::kNumberOfWords), "");
  EXPECT_TRUE(host.results().empty());
  EXPECT_FALSE(st.TextAlreadyRead);

  // Cancelled: the path stays; the source is the single file all the same.
  host.Clear();
  s.Source = InputSource::kClipboard;
  EXPECT_TRUE(engine.ChooseInputFile());
  EXPECT_EQ(s.InputFilePath, file);
  EXPECT_EQ(host.settings_changed(), Strings{"Source"});
}

TEST_F(WindowCommandsTest, CheckInputFilePathStatuses) {
  dir.Write("empty.txt", "");
  const std::string file = dir.Write("a.txt", std::string(10000, 'a'));
  struct Case {
    std::string path;
    int status;
    std::string size_label;  // "old": left alone
  };
  const Case cases[] = {
      {dir.path() + "/", kInputPathBad, ""},
      {dir.path(), kInputPathMissing, ""},
      {dir.File("missing.txt"), kInputPathMissing, ""},
      {"", kInputPathMissing, ""},
      {dir.File("empty.txt"), kInputPathEmpty, "Filesize: 0 bytes"},
      {" \t" + file + " ", kInputPathOk, "Filesize: 9.77 Kb"},
  };
  for (const Case& c : cases) {
    FillLabels();
    EXPECT_EQ(CheckInputFilePath(&st, c.path), c.status) << c.path;
    EXPECT_EQ(host.label(Label::kFilesize), c.size_label) << c.path;
    EXPECT_EQ(host.label(Label::kXmlSize), c.size_label.empty() ? "" : "old") << c.path;
  }
  // While files are listed the size label belongs to the listing.
  FillLabels();
  st.run.ListingFiles = true;
  EXPECT_EQ(CheckInputFilePath(&st, file), kInputPathOk);
  EXPECT_EQ(host.label(Label::kFilesize), "old");
}

TEST_F(WindowCommandsTest, ChoosingAnOutputFileEnablesOutput) {
  s.DisableOutputToFile = 1;
  FillLabels();
  EXPECT_TRUE(engine.ChooseOutputFile());  // cancelled, and no output file
  EXPECT_EQ(s.DisableOutputToFile, 1);
  EXPECT_TRUE(host.settings_changed().empty());
  const FileChooser& c = host.file_chooser();
  EXPECT_EQ(c.title, "Specify the output file");
  EXPECT_TRUE(c.save);
  EXPECT_TRUE(c.hide_read_only);
  EXPECT_EQ(c.filter, "");
  EXPECT_EQ(host.label(Label::kTimeElapsed2), "");

  const std::string out = dir.File("out.txt");
  host.QueueChosenPath(out);
  EXPECT_TRUE(engine.ChooseOutputFile());
  EXPECT_EQ(s.OutputFilePath, out);
  EXPECT_EQ(s.DisableOutputToFile, 0);
  EXPECT_EQ(host.settings_changed(), (Strings{"OutputFilePath", "DisableOutputToFile"}));

  // With an output file already there, even a cancelled chooser enables it.
  host.Clear();
  s.DisableOutputToFile = 1;
  EXPECT_TRUE(engine.ChooseOutputFile());
  EXPECT_EQ(s.DisableOutputToFile, 0);
  EXPECT_EQ(host.settings_changed(), Strings{"DisableOutputToFile"});
}

TEST_F(WindowCommandsTest, ChoosingAFolderEmptiesTheLastCounts) {
  s.FolderPath = "/somewhere";
  FillLabels();
  st.TextAlreadyRead = true;
  EXPECT_TRUE(engine.ChooseFolder());  // cancelled
  EXPECT_EQ(host.folder_chooser().title, "Select the folder whose files are to be scanned");
  EXPECT_EQ(host.folder_chooser().initial_folder, "/somewhere");
  EXPECT_EQ(host.label(Label::kNumberOfWords), "old");
  EXPECT_TRUE(st.TextAlreadyRead);

  host.QueueChosenPath(dir.path());
  EXPECT_TRUE(engine.ChooseFolder());
  EXPECT_EQ(s.FolderPath, dir.path());
  EXPECT_EQ(host.settings_changed(), Strings{"FolderPath"});
  EXPECT_FALSE(st.TextAlreadyRead);
  for (Label l : {Label::kNumberOfWords, Label::kNumWordsExcluded, Label::kNumOccurrences,
                  Label::kTotalNumOccurrences, Label::kTimeElapsed}) {
    EXPECT_EQ(host.label(l), "") << static_cast<int>(l);
  }
  EXPECT_EQ(host.label(Label::kTimeElapsed2), "old");
}

TEST_F(WindowCommandsTest, ClearingThePaths) {
  s.InputFilePath = "/in.txt";
  s.OutputFilePath = "/out.txt";
  s.FolderPath = "/folder";
  s.DisableOutputToFile = 1;
  FillLabels();
  EXPECT_TRUE(engine.ClearInputFile());
  EXPECT_TRUE(engine.ClearOutputFile());
  EXPECT_TRUE(engine.ClearFolder());
  EXPECT_EQ(s.InputFilePath, "");
  EXPECT_EQ(s.OutputFilePath, "");
  EXPECT_EQ(s.FolderPath, "");
  EXPECT_EQ(s.DisableOutputToFile, 0);
  EXPECT_EQ(host.settings_changed(),
            (Strings{"InputFilePath", "OutputFilePath", "DisableOutputToFile", "FolderPath"}));
  EXPECT_EQ(host.label(Label::kFilesize), "");
  EXPECT_EQ(host.label(Label::kXmlSize), "");
  EXPECT_EQ(host.label(Label::kNumberOfWords), "old");
}

TEST_F(WindowCommandsTest, RefusedWhileACountRuns) {
  engine.SetEventThrottle(1, std::chrono::milliseconds(0));
  s.Source = InputSource::kSingleFile;
  s.InputFilePath = dir.Write("a.txt", "some words to count\nand some more\n");
  s.OutputFilePath = dir.File("out.txt");
  s.FolderPath = "/folder";
  s.DisableOutputToFile = 1;
  host.QueueChosenPath(dir.File("other.txt"));
  std::vector<bool> results;
  host.OnProcessEvents([&] {
    if (!results.empty() || !st.run.Running) return;
    results = {engine.ChooseInputFile(), engine.ChooseOutputFile(), engine.ChooseFolder(),
               engine.ClearInputFile(),  engine.ClearOutputFile(),  engine.ClearFolder()};
  });
  const Settings before = s;
  EXPECT_EQ(engine.CountWords(), RunOutcome::kListed);
  EXPECT_EQ(results, std::vector<bool>(6, false));
  for (const ScriptedHost::Call& c : host.calls()) {
    EXPECT_TRUE(c.kind != "open" && c.kind != "save" && c.kind != "folder") << c.kind;
  }
  EXPECT_TRUE(host.settings_changed().empty());
  EXPECT_EQ(s.InputFilePath, before.InputFilePath);
  EXPECT_EQ(s.OutputFilePath, before.OutputFilePath);
  EXPECT_EQ(s.FolderPath, before.FolderPath);
  EXPECT_EQ(s.DisableOutputToFile, 1);
}

}  // namespace
}  // namespace vorn
