// End-to-end tests: run the vorn-cli program on the fixture files of
// tests/data and compare the whole output file and the whole standard output
// with the expected files of tests/data/expected. Setting VORN_UPDATE_GOLDEN=1
// rewrites the expected files from the program's output instead (review the
// difference before committing it). VORN_CLI names another vorn-cli to test.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace vorn {
namespace {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') {
      q += "'\\''";
    } else {
      q += c;
    }
  }
  return q + "'";
}

CliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                  const TempDir& dir) {
  std::string cmd = Quote(program);
  for (const std::string& a : args) cmd += " " + Quote(a);
  const std::string out_path = dir.File("stdout");
  const std::string err_path = dir.File("stderr");
  cmd += " >" + Quote(out_path) + " 2>" + Quote(err_path) + " </dev/null";
  CliRun r;
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadFileBytes(out_path);
  r.err = ReadFileBytes(err_path);
  return r;
}

CliRun RunCli(const std::vector<std::string>& args, const TempDir& dir) {
  const char* cli = std::getenv("VORN_CLI");
  return RunProgram(cli ? cli : VORN_TEST_CLI, args, dir);
}

std::string Data(const std::string& name) { return SourceDir() + "/tests/data/" + name; }

void ExpectGolden(const std::string& name, const std::string& actual) {
  const std::string path = Data("expected/" + name);
  if (std::getenv("VORN_UPDATE_GOLDEN") != nullptr) {
    WriteFileBytes(path, actual);
    return;
  }
  EXPECT_EQ(ReadFileBytes(path), actual) << "expected file " << path;
}

struct Case {
  std::string name;
  std::string input;
  std::vector<std::string> args;
};

// Counts `input` with `args` into an output file; compares the file and the
// results-box text printed on standard output.
void CheckCase(const Case& c) {
  SCOPED_TRACE(c.name);
  TempDir dir;
  const std::string out_file = dir.File("out.txt");
  std::vector<std::string> args = {"-q", c.input, "-o", out_file};
  args.insert(args.end(), c.args.begin(), c.args.end());
  const CliRun r = RunCli(args, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  std::string file = ReadFileBytes(out_file);
  // The first line names the input file by the path given.
  ExpectGolden(c.name + ".out", file);
  ExpectGolden(c.name + ".box", r.out);
}

std::vector<Case> FormatCases() {
  std::vector<Case> cases;
  for (int format = 0; format <= 10; ++format) {
    for (int order = 0; order <= 1; ++order) {
      for (int commas = 0; commas <= 1; ++commas) {
        const std::string name = "format" + std::to_string(format) + (order ? "_alpha" : "_freq") +
                                 (commas ? "_commas" : "_tabs");
        cases.push_back({name,
                         "tests/data/formats.txt",
                         {"--set", "DisplayFormat=" + std::to_string(format), "--set",
                          "WordOrder=" + std::to_string(order), "--set",
                          "OutputWithCommas=" + std::to_string(commas)}});
      }
    }
  }
  for (int format : {0, 1, 2, 4, 5, 7}) {
    cases.push_back({"format" + std::to_string(format) + "_relative",
                     "tests/data/formats.txt",
                     {"--set", "DisplayFormat=" + std::to_string(format), "--set",
                      "DisplayRelativeFrequency=1"}});
  }
  return cases;
}

TEST(CliEndToEndTest, EveryDisplayFormatInBothOrdersAndStyles) {
  for (const Case& c : FormatCases()) CheckCase(c);
}

TEST(CliEndToEndTest, TextsAndWordRules) {
  const std::vector<Case> cases = {
      {"utf8_punct", "tests/data/utf8_punct.txt", {"--set", "WordOrder=1"}},
      {"cp1252", "tests/data/cp1252.txt", {"--set", "WordOrder=1"}},
      {"cp1252_case",
       "tests/data/cp1252.txt",
       {"--set", "WordOrder=1", "--set", "CaseSignificant=1"}},
      {"lf_only", "tests/data/lf_only.txt", {}},
      {"cr_only", "tests/data/cr_only.txt", {}},
      {"case_significant",
       "tests/data/case.txt",
       {"--set", "CaseSignificant=1", "--set", "WordOrder=1", "--set", "DisplayFormat=7"}},
      {"plurals",
       "tests/data/plurals.txt",
       {"--set", "DropFinalS=1", "--set", "ConvertFinalIes=1", "--set", "WordOrder=1", "--set",
        "DisplayFormat=7"}},
      {"plurals_case",
       "tests/data/plurals.txt",
       {"--set", "DropFinalS=1", "--set", "ConvertFinalIes=1", "--set", "CaseSignificant=1",
        "--set", "WordOrder=1", "--set", "DisplayFormat=7"}},
      {"numerals",
       "tests/data/numerals.txt",
       {"--set", "AllowWordsWithNumerals=1", "--set", "AllowWordsWithCommas=1", "--set",
        "AllowWordsWithApostrophes=1", "--set", "IgnoreNoLetter=0", "--set", "IgnoreNoVowelorY=0",
        "--set", "WordOrder=1", "--set", "DisplayFormat=7"}},
      {"numerals_plain",
       "tests/data/numerals.txt",
       {"--set", "WordOrder=1", "--set", "DisplayFormat=7"}},
      {"roman",
       "tests/data/roman.txt",
       {"--set", "WordOrder=1", "--set", "DisplayFormat=7", "--set", "ShortWordSize=2"}},
  };
  for (const Case& c : cases) CheckCase(c);
}

TEST(CliEndToEndTest, ClipboardTextFromAFile) {
  TempDir dir;
  const CliRun r = RunCli({"-q", "--clipboard", Data("utf8_punct.txt")}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  ExpectGolden("clipboard.stdout", r.out);
}

TEST(CliEndToEndTest, ListingOnStandardOutput) {
  TempDir dir;
  const CliRun utf8 = RunCli({"-q", "tests/data/cp1252.txt"}, dir);
  EXPECT_EQ(utf8.status, 0);
  ExpectGolden("cp1252.stdout", utf8.out);
  const CliRun raw = RunCli({"-q", "--raw", "tests/data/cp1252.txt"}, dir);
  ExpectGolden("cp1252.raw", raw.out);
}

TEST(CliEndToEndTest, RefusedRunsExitWithOneAndSayWhy) {
  TempDir dir;
  const std::string empty = dir.Write("empty.txt", "");
  struct Refusal {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Refusal> refusals = {
      {{dir.File("missing.txt")}, "File not found: Input file does not exist.\n"},
      {{empty}, "Empty file: Input file is zero-length!\n"},
      {{"tests/data/formats.txt", "--set", "DisplayFormat=12"},
       "Unavailable display format: The display format 'word file-list' is available\nonly "
       "when the source of the text is a folder.\n"},
  };
  for (const Refusal& f : refusals) {
    std::vector<std::string> args = {"-q"};
    args.insert(args.end(), f.args.begin(), f.args.end());
    const CliRun r = RunCli(args, dir);
    EXPECT_EQ(r.status, 1) << f.message;
    EXPECT_EQ(r.err, f.message);
    EXPECT_EQ(r.out, "");
  }
}

// Bad input: each case gets a clear message or is read soundly; none breaks.
TEST(CliEndToEndTest, BadInputFiles) {
  TempDir dir;
  struct BadFile {
    std::string name;
    std::string bytes;
    int status;
    std::string err;       // expected standard error ("" = none)
    std::string out_part;  // a part of the listing, when one is expected
  };
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("Unicode text here")) utf16 += std::string(1, c) + '\0';
  std::string long_word(70000, 'x');
  for (size_t i = 1; i < long_word.size(); i += 2) long_word[i] = 'y';
  // A few zero bytes (well under one in a hundred) in text separate words.
  std::string nul_text;
  while (nul_text.size() < 2000) nul_text += "alpha beta gamma ";
  nul_text += std::string("alpha\0beta", 10);
  std::string long_line;
  while (long_line.size() < 5000000) long_line += "lorem ipsum dolor sit amet ";
  const std::vector<BadFile> files = {
      {"nul.txt", nul_text, 0, "", "\talpha\r\n"},
      {"bad_utf8.txt",
       "\xEF\xBB\xBF"
       "caf\xC3\xA9 caf\xE9 x\xC3(y\n",
       0, "", "caf\xE9"},
      {"tiny.txt", "abcd", 0, "", "1\tabcd"},
      {"utf16.txt", utf16, 0, "", "1\tunicode"},
      {"long_word.txt", long_word + " word\n", 0, "", "1\tword"},
      {"long_line.txt", long_line, 0, "Large input file: ", "\tlorem"},
      {"doc.rtf", "{\\rtf1\\ansi hello}", 1,
       "Not a text file: File " + dir.File("doc.rtf") + "\nis an RTF file.\n", ""},
      {"binary.dat", std::string(3000, '\x01'), 1, "Not a text file: ", ""},
  };
  for (const BadFile& f : files) {
    SCOPED_TRACE(f.name);
    const std::string path = dir.Write(f.name, f.bytes);
    const CliRun r = RunCli({"-q", "--raw", path}, dir);
    EXPECT_EQ(r.status, f.status) << r.err;
    if (f.err.empty()) {
      EXPECT_EQ(r.err, "");
    } else {
      EXPECT_EQ(r.err.substr(0, f.err.size()), f.err);
    }
    if (!f.out_part.empty()) {
      EXPECT_NE(r.out.find(f.out_part), std::string::npos) << r.out;
    }
  }
}

TEST(CliEndToEndTest, BadPathsAndOutputFiles) {
  TempDir dir;
  const std::string input = dir.Write("in.txt", "keep these words\n");
  // A path ending in "/", and a folder where a file is expected.
  CliRun r = RunCli({"-q", dir.path() + "/"}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Invalid input: Invalid input file specification.\n");
  r = RunCli({"-q", "--set", "Source=1", "--set", "InputFilePath=" + dir.path(), dir.path()}, dir);
  EXPECT_EQ(r.status, 1);
  // The input file named as the output file is refused and left whole.
  r = RunCli({"-q", input, "-o", input}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Error: The output file cannot be the same as the input file.\n");
  EXPECT_EQ(ReadFileBytes(input), "keep these words\n");
  // An output file in a folder that does not exist.
  r = RunCli({"-q", input, "-o", dir.File("missing/out.txt")}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out.substr(0, 7), "Error: ");
}

// A failed write of the output file names the file and the error and ends
// with status 1; it leaves no part of a listing as a result.
TEST(CliEndToEndTest, FailedWritesOfTheOutputFile) {
  TempDir dir;
  CliRun r = RunCli({"-q", "tests/data/formats.txt", "-o", "/dev/full"}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Output file not written: The output file\n/dev/full\ncould not be written: No space "
            "left on device.\n");
  EXPECT_EQ(r.out, "");

  // A disk that fills during the write, here a limit on the size of the
  // files written: the earlier file stays whole, and no temporary file is
  // left beside it.
  std::string text;
  for (int i = 0; i < 20000; ++i) {
    text += "w" + std::string(1, static_cast<char>('a' + i % 26)) +
            std::string(1, static_cast<char>('a' + i / 26 % 26)) +
            std::string(1, static_cast<char>('a' + i / 676 % 26)) + "ord\n";
  }
  const std::string input = dir.Write("in.txt", text);
  const std::string out = dir.Write("out.txt", "earlier results\n");
  const char* cli = std::getenv("VORN_CLI");
  r = RunProgram("bash",
                 {"-c", "trap '' XFSZ; ulimit -f 64; exec \"$0\" \"$@\"", cli ? cli : VORN_TEST_CLI,
                  "-q", input, "-o", out, "--set", "WarnOnOverwrite=1"},
                 dir);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_NE(r.err.find("Output file not written: The output file\n" + out +
                       "\ncould not be written: File too large.\n"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(ReadFileBytes(out), "earlier results\n");
  std::string names;
  for (const std::string& name : FolderNames(dir.path())) names += name + " ";
  EXPECT_EQ(names, "in.txt out.txt stderr stdout ");
}

TEST(CliEndToEndTest, UnreadableFile) {
  TempDir dir;
  const std::string locked = dir.Write("locked.txt", "secret words here\n");
  chmod(dir.path().c_str(), 0755);
  chmod(locked.c_str(), 0);
  std::vector<std::string> args = {"-q", locked};
  if (geteuid() == 0) {
    // Permissions do not bind root: read as another user.
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0) GTEST_SKIP() << "no setpriv";
    const char* cli = std::getenv("VORN_CLI");
    args = {"--reuid=65534", "--regid=65534", "--clear-groups", cli ? cli : VORN_TEST_CLI, "-q",
            locked};
  }
  const CliRun r = geteuid() == 0 ? RunProgram("setpriv", args, dir) : RunCli(args, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Invalid input file: This file cannot be opened.\n");
}

TEST(CliEndToEndTest, BadClipboardText) {
  TempDir dir;
  const std::string big = dir.Write("big.txt", std::string(100001, 'a'));
  CliRun r = RunCli({"-q", "--clipboard", big}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Too much clipboard text: There are 100,001 characters in the text on the "
            "clipboard.\nThe maximum permitted is 100,000.  If possible,\ncount word frequencies "
            "for this text using an input file.\n");
  r = RunCli({"-q", "--clipboard", dir.Write("ctl.txt", "ring\x07 the bell")}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Invalid input: The text on the clipboard does not consist\nsolely of natural "
            "language words.\n");
  r = RunCli({"-q", "--clipboard", dir.Write("empty.txt", "")}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Clipboard: There is no text on the clipboard.\n");
}

// Ctrl-C asks the run to stop, as the stop command does: with more than 800
// entries found the question comes first, then whether to list them.
TEST(CliEndToEndTest, CtrlCAsksTheStopQuestions) {
  TempDir dir;
  std::string text;
  for (int i = 0; text.size() < 30000000; ++i) {
    text += "word" + std::string(1, static_cast<char>('a' + i % 26)) +
            std::string(1, static_cast<char>('a' + (i / 26) % 26)) +
            std::string(1, static_cast<char>('a' + (i / 676) % 4)) + " ";
  }
  const std::string input = dir.Write("big.txt", text);
  const std::string out = dir.File("out.txt");
  const std::string err_path = dir.File("stderr");
  const char* cli = std::getenv("VORN_CLI");
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    freopen("/dev/null", "w", stdout);
    freopen(err_path.c_str(), "w", stderr);
    execl(cli ? cli : VORN_TEST_CLI, "vorn-cli", "-q", input.c_str(), "-o", out.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  // Wait until the run is well under way, then press Ctrl-C.
  usleep(800 * 1000);
  kill(pid, SIGINT);
  int raw = 0;
  waitpid(pid, &raw, 0);
  const std::string err = ReadFileBytes(err_path);
  if (err.find("Really stop?") == std::string::npos) GTEST_SKIP() << "the count ended first";
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << err;
  EXPECT_NE(err.find(" found so far.\n\nReally stop?\n-> Yes\nCounting interrupted: The "
                     "operation was stopped before all words were counted.\nDo you wish to list "
                     "those which were found?\n-> Yes\n"),
            std::string::npos)
      << err;
  EXPECT_EQ(ReadFileBytes(out).substr(0, 6 + input.size()), "File: " + input);
}

TEST(CliEndToEndTest, UsageErrorsExitWithTwo) {
  TempDir dir;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"--bogus", "x"},
                                             {"--set", "ShortWordSize=99", "x"},
                                             {"--set", "NoSuchField=1", "x"},
                                             {"--answer", "maybe", "x"}}) {
    const CliRun r = RunCli(args, dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("vorn-cli: "), std::string::npos);
  }
}

}  // namespace
}  // namespace vorn
