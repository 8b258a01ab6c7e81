// End-to-end tests of folder runs: vorn-cli counts and lists a copy of the
// folder tree tests/data/tree (HTML, C and text files, files it leaves out,
// subfolders) and folders made by the tests, and the whole output is
// compared with the expected files of tests/data/expected.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/test_files.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

// The fixture tree copied into `dir` under a long name, with a short link
// to it: the files are named "{Folder}/..." below the long one and in full
// below the short one.
struct TreeCopy {
  TreeCopy() {
    fs::copy(Data("tree"), dir.File(kLong), fs::copy_options::recursive);
    fs::create_directory_symlink(kLong, dir.File("t"));
  }
  static constexpr const char* kLong = "corpus-of-texts";
  TempDir dir;
};

// Runs vorn-cli in `dir` (so that the paths given are relative to it).
CliRun RunCliIn(const TempDir& dir, const std::vector<std::string>& args) {
  std::string command = "cd " + Quote(dir.path()) + " && exec " + Quote(CliPath());
  for (const std::string& a : CliArgs(args)) command += " " + Quote(a);
  return RunProgram("sh", {"-c", command}, dir);
}

struct FolderCase {
  std::string name;
  std::vector<std::string> args;
  std::string err;  // the messages expected
};

TEST(CliFolderTest, CountsAFolderTreeInEveryFolderFormat) {
  const std::vector<FolderCase> cases = {
      {"folder_list", {"-r", "--list-files", TreeCopy::kLong}},
      {"folder_f11", {"-r", TreeCopy::kLong, "--set", "DisplayFormat=11"}},
      {"folder_f11_by_files",
       {"-r", TreeCopy::kLong, "--set", "DisplayFormat=11", "--set", "SortByNumberOfFiles=1",
        "--set", "DisplayRelativeFrequency=1"},
       "Vector words written to Vectors/200words.txt\nVector values written to "
       "Vectors/200values.txt\n"},
      {"folder_f12_short", {"-r", "t", "--set", "DisplayFormat=12"}},
      {"folder_f13", {"-r", TreeCopy::kLong, "--set", "DisplayFormat=13"}},
      {"folder_f13_relative",
       {"-r", TreeCopy::kLong, "--exclude", "bak, old", "--set", "DisplayFormat=13", "--set",
        "DisplayRelativeFrequency=1"}},
      {"folder_top_only", {"--patterns", "*.txt,*.htm*", "t", "--set", "WordOrder=1"}},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.name);
    TreeCopy tree;
    std::vector<std::string> args = {"-q", "-o", "out.txt"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun r = RunCliIn(tree.dir, args);
    EXPECT_EQ(r.status, 0) << r.err;
    if (c.name != "folder_list")
      ExpectGolden(c.name + ".out", ReadFileBytes(tree.dir.File("out.txt")));
    ExpectGolden(c.name + ".box", r.out);
    EXPECT_EQ(r.err, c.err);
  }
}

// The table of words against files, in each layout; its first line (the
// time of writing) is left out of the comparison.
TEST(CliFolderTest, CountArrays) {
  const std::vector<FolderCase> cases = {
      {"array_alpha", {"--count-array", "alpha"}},
      {"array_freq_blank", {"--count-array", "freq", "--set", "CountArrayZeroCellsBlank=1"}},
      {"array_both_relative",
       {"--count-array", "both", "--set", "CountArrayWriteRelativeFrequency=1"}},
      {"array_phrases", {"--count-array", "alpha", "--count-only", "the cat, the dog"}},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.name);
    TreeCopy tree;
    std::vector<std::string> args = {"-q", "-r", "-o", "out.txt", "t"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun r = RunCliIn(tree.dir, args);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string table = ReadFileBytes(tree.dir.File("out.txt"));
    EXPECT_EQ(table.substr(0, 17), "Output from VORN ");
    ExpectGolden(c.name + ".out", table.substr(table.find('\n') + 1));
    ExpectGolden(c.name + ".box", r.out);
  }
  // No output file, or not a folder.
  TreeCopy tree;
  CliRun r = RunCliIn(tree.dir, {"-q", "--count-array", "both", "t/a.txt", "-o", "out.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Make 2-d count array for Excel: A count array is made from the files of a folder.\n");
  r = RunCliIn(tree.dir, {"-q", "--count-array", "both", "t"});
  EXPECT_EQ(r.status, 2);
}

// Which files of a folder and its subfolders a pattern reads, with and
// without a text that leaves out a subfolder and a file (how one name
// matches a pattern is tested with the patterns).
TEST(CliFolderTest, FilePatternsChooseTheFilesRead) {
  TempDir dir;
  for (const char* name : {"Notes.TXT", "notes.txt.bak", "about.html", "a.htm", "readme",
                           "readme.txt", "a.txt", "axbyb.txt", "axb.txt", "old.bak.txt"}) {
    dir.Write(name, "word\n");
  }
  fs::create_directories(dir.File("bak"));
  dir.Write("bak/b.txt", "word\n");
  struct PatternCase {
    std::vector<std::string> args;
    std::string listed;
  };
  const std::vector<PatternCase> cases = {
      {{"-r", "--patterns", "*.txt", "--exclude", "bak"},
       "Notes.TXT a.txt axb.txt axbyb.txt readme.txt"},
      {{"-r", "--patterns", "*.txt"},
       "Notes.TXT a.txt axb.txt axbyb.txt old.bak.txt readme.txt bak/b.txt"},
  };
  for (const PatternCase& c : cases) {
    std::vector<std::string> args = {"-q", "--list-files", dir.path()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun r = RunCli(args, dir);
    EXPECT_EQ(r.status, 0) << r.err;
    std::string listed;
    const std::string prefix = "{Folder}/";
    for (size_t at = r.out.find(prefix); at != std::string::npos; at = r.out.find(prefix, at + 1)) {
      const size_t end = r.out.find('\n', at);
      if (!listed.empty()) listed += " ";
      listed += r.out.substr(at + prefix.size(), end - at - prefix.size());
    }
    EXPECT_EQ(listed, c.listed) << c.args.back();
  }
}

TEST(CliFolderTest, RefusedFolderRuns) {
  TempDir dir;
  dir.Write("a.txt", "alpha\n");
  dir.Write("b.txt", "beta\n");
  fs::create_directories(dir.File("sub"));
  struct Refusal {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Refusal> cases = {
      {{"-r", dir.path(), "-o", dir.File("sub/out.txt")},
       "Invalid output file: The output file cannot be in the folder or a subfolder.\n"},
      {{dir.path(), "-o", dir.File("out.txt")},
       "Invalid output file: The output file cannot be in the folder or a subfolder.\n"},
      {{dir.path(), "--patterns", "a<b"},
       "Invalid input: File pattern 'a<b' contains an invalid character.\n"},
      {{dir.path(), "--patterns", "*.xml"},
       "No files found: No scanable files as specified were found in this folder.\n"},
  };
  for (const Refusal& c : cases) {
    std::vector<std::string> args = {"-q"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun r = RunCli(args, dir);
    EXPECT_EQ(r.status, 1) << c.err;
    EXPECT_EQ(r.err, c.err);
  }
  // Without subfolders an output file in one of them is allowed.
  const CliRun r = RunCli({"-q", dir.path(), "-o", dir.File("sub/out.txt")}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(CliFolderTest, AFolderOfExcludedExtensionsReadsNothing) {
  TempDir dir;
  dir.Write("photo.jpg", "words in a picture\n");
  dir.Write("paper.pdf", "words in a document\n");
  CliRun r = RunCli({"-q", dir.path()}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "No files found: No scanable files were found in this folder.\n");
  // Subfolders holding only files that are not text.
  fs::create_directories(dir.File("deeper"));
  WriteFileBytes(dir.File("deeper/data.dat"), std::string("\x01\x02\x03\x00\x05", 5));
  r = RunCli({"-q", "-r", dir.path()}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "No files found: No scanable files were found in this folder or in its subfolders.\n");
}

// Names with blanks, quotes, a line break and bytes that are not UTF-8;
// links, a cycle of links, and a second way to the same folder.
TEST(CliFolderTest, AwkwardNamesAndLinks) {
  TempDir dir;
  const std::string top = dir.File("top");
  fs::create_directories(top + "/sub");
  WriteFileBytes(top + "/with space.txt", "blank\n");
  WriteFileBytes(top + "/it's \"quoted\".txt", "quoted\n");
  WriteFileBytes(top + "/line\nbreak.txt", "broken\n");
  WriteFileBytes(top + "/caf\xE9.txt", "latin\n");
  WriteFileBytes(top + "/sub/deep.txt", "deep\n");
  fs::create_directory_symlink("..", top + "/sub/up");          // a cycle
  fs::create_directory_symlink("sub", top + "/again");          // the same folder again
  fs::create_symlink("sub/deep.txt", top + "/linked.txt");      // a link to a file
  fs::create_symlink("nowhere.txt", top + "/broken-link.txt");  // a link to nothing
  const CliRun r = RunCli({"-q", "-r", top, "-o", dir.File("out.txt"), "--set", "DisplayFormat=12",
                           "--set", "WordOrder=1"},
                          dir);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string out = ReadFileBytes(dir.File("out.txt"));
  // The file of the link and the one of the second way are one file, read
  // once.
  EXPECT_NE(out.find("5 files (in 2 folders) were scanned."), std::string::npos) << out;
  for (const std::string& listed :
       {"blank\r\n    {Folder}/with space.txt\r\n", "broken\r\n    {Folder}/line?break.txt\r\n",
        "deep\r\n    {Folder}/linked.txt\r\n\r\n", "latin\r\n    {Folder}/caf\xE9.txt\r\n",
        "quoted\r\n    {Folder}/it's \"quoted\".txt\r\n"}) {
    EXPECT_NE(out.find(listed), std::string::npos) << listed << "\n" << out;
  }
}

TEST(CliFolderTest, UnreadableFilesAndFoldersAreNamed) {
  TempDir dir;
  const std::string top = dir.File("top");
  fs::create_directories(top + "/locked");
  WriteFileBytes(top + "/a.txt", "open words\n");
  WriteFileBytes(top + "/secret.txt", "secret words\n");
  WriteFileBytes(top + "/locked/inside.txt", "hidden words\n");
  chmod(dir.path().c_str(), 0755);
  chmod(top.c_str(), 0755);
  chmod((top + "/secret.txt").c_str(), 0);
  chmod((top + "/locked").c_str(), 0);
  std::vector<std::string> args = {"-q", "-r", top, "--set", "WordOrder=1"};
  if (geteuid() == 0) {
    // Permissions do not bind root: read as another user.
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0) GTEST_SKIP() << "no setpriv";
    args.insert(args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", CliPath()});
  }
  const CliRun r = geteuid() == 0 ? RunProgram("setpriv", args, dir) : RunCli(args, dir);
  chmod((top + "/locked").c_str(), 0755);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "Files not read: 2 files or folders could not be read:\n" + top +
                       "/secret.txt (Permission denied)\n" + top + "/locked (Permission denied)\n");
  EXPECT_NE(r.out.find("open"), std::string::npos);
  EXPECT_EQ(r.out.find("secret"), std::string::npos);
  EXPECT_EQ(r.out.find("hidden"), std::string::npos);
}

// vorn-cli prints a listing of any length (the results box would be full).
TEST(CliFolderTest, ListsMoreFilesThanTheResultsBoxHolds) {
  TempDir dir;
  const std::string folder = dir.File("many");
  fs::create_directories(folder);
  const std::string name(50, 'n');
  for (int i = 1000; i < 3000; ++i) WriteFileBytes(folder + "/" + name + std::to_string(i), "w\n");
  const CliRun r = RunCli({"-q", "--list-files", folder}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("{Folder}/" + name + "2999\n\n2000 files in 1 folder will be scanned.\n"),
            std::string::npos);
  EXPECT_EQ(r.out.find("Textbox is full"), std::string::npos);
}

// Word documents are read for their text, alone or among the files of a
// folder, and their text is kept beside them when asked.
TEST(CliFolderTest, Documents) {
  TempDir dir;
  fs::copy(Data("docs"), dir.File("docs"), fs::copy_options::recursive);
  CliRun r = RunCliIn(
      dir, {"-q", "docs/report.docx", "--set", "WordOrder=1", "--set", "ExtractTextFromDocx=1"});
  EXPECT_EQ(r.status, 0) << r.err;
  ExpectGolden("docx_report.out", r.out);
  EXPECT_EQ(ReadFileBytes(dir.File("docs/extracted_text/report.txt")),
            "\xEF\xBB\xBFThe quick brown fox. \r\nLine one line two tabbed cell table Fish & "
            "chips in the caf\xC3\xA9, na\xC3\xAFve fox.\r\n");
  r = RunCliIn(dir, {"-q", "docs/no_document.docx"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.substr(0, 7), "Error: ") << r.err;
  r = RunCliIn(dir, {"-q", "docs", "--set", "DisplayFormat=12", "--set", "WordOrder=1"});
  EXPECT_EQ(r.status, 0) << r.err;
  ExpectGolden("docx_folder.out", r.out);
  EXPECT_EQ(r.err,
            "Files not read: This file or folder could not be read:\ndocs/no_document.docx (is "
            "not a Word document: it holds no word/document.xml.)\n");
}

// A comment or tag left open at the end of one file ends with that file.
TEST(CliFolderTest, AnOpenCommentEndsWithItsFile) {
  TempDir dir;
  dir.Write("a.html", "<p>first</p>\n<!-- never closed\n");
  dir.Write("b.htm", "<p>second</p><img src=\"x\"\n");
  dir.Write("c.c", "int third; /* left open\n");
  dir.Write("d.txt", "fourth words\n");
  const CliRun r =
      RunCli({"-q", dir.path(), "--set", "WordOrder=1", "--set", "DisplayFormat=8"}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string listing = r.out.substr(r.out.find("\n\n") + 2);
  EXPECT_EQ(listing, "Word [longest has 6 characters]\nfirst\nfourth\nint\nsecond\nthird\nwords\n");
}

}  // namespace
}  // namespace vorn
