// End-to-end tests: run the vorn-cli program on the fixture files of
// tests/data and compare the whole output file and the whole standard output
// with the expected files of tests/data/expected. Setting VORN_UPDATE_GOLDEN=1
// rewrites the expected files from the program's output instead (review the
// difference before committing it). VORN_CLI names another vorn-cli to test.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli_host.h"
#include "support/cli_run.h"
#include "support/test_files.h"
#include "util/file_proc.h"
#include "util/text.h"

namespace vorn {
namespace {

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

// The words-to-ignore and count-only lists: the boxes, files with comments,
// wildcards and expressions, the common words, and "Count all words".
TEST(CliEndToEndTest, WordsToIgnoreAndCountOnlyLists) {
  const std::string text = "tests/data/genesis.txt";
  const std::vector<Case> cases = {
      {"lists_ignore_box", text, {"--ignore", "zeta the  alpha and"}},
      {"lists_ignore_file",
       text,
       {"--ignore-file", "tests/data/lists_ignore.txt", "--set",
        "PatternMatchingInWordsToIgnoreFile=1"}},
      {"lists_common_words", text, {"--common-words", "en"}},
      {"lists_count_only_file",
       text,
       {"--count-only-file", "tests/data/lists_count_only.txt", "--set",
        "PatternMatchingInCountOnlyWordsFile=1"}},
      {"lists_count_only_box", text, {"--count-only", "<colou?r>, god, light, day and"}},
      {"lists_all_words", text, {"--count-only", "new york", "--all-words", "--ignore", "the"}},
  };
  for (const Case& c : cases) CheckCase(c);
}

// Markup and program text: tags, entities, scripts, styles, CDATA, PHP
// and C comments by the file's extension; the marker check.
TEST(CliEndToEndTest, MarkupAndProgramText) {
  for (const char* name : {"markup.htm", "markup.c", "markup.php", "markup.xml"}) {
    std::string golden = name;
    golden[golden.find('.')] = '_';
    CheckCase({golden, std::string("tests/data/") + name, {"--set", "WordOrder=1"}});
  }
  TempDir dir;
  const CliRun r = RunCli({"-q", "tests/data/markup.c", "--set", "AllowCommentMarkers=1", "--set",
                           "AllowWordsWithForwardslashes=1"},
                          dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Error: With the current settings the start-comment marker\n\"//\" could be part of a "
            "word.\n\nCheck the 'Settings' window and perhaps disallow comment\nmarkers or "
            "restrict allowable characters in 'words'.\n");
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

TEST(CliEndToEndTest, AllPhrases) {
  const std::vector<Case> cases = {
      {"phrases_2_4", "tests/data/genesis.txt", {"--phrases", "2-4:3"}},
      {"phrases_3_commas",
       "tests/data/genesis.txt",
       {"--phrases", "3-3", "--set", "OutputWithCommas=1", "--set", "DisplayFormat=1"}},
      {"phrases_excluded",
       "tests/data/genesis.txt",
       {"--phrases", "2-3:2", "--common-words", "en", "--exclude-ignored-phrases", "--set",
        "WordOrder=1"}},
  };
  for (const Case& c : cases) CheckCase(c);
  // Lengths that count nothing are refused with the dialog's message.
  TempDir dir;
  const CliRun r = RunCli({"-q", "--phrases", "4-2", "tests/data/genesis.txt"}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Invalid input: The maximum number of words in each phrase\nmust not be less than "
            "the minimum number.\n");
  for (const char* bad : {"0-3", "2-31", "2-3:0", "2", "2-3:4x", "-3"}) {
    EXPECT_EQ(RunCli({"-q", "--phrases", bad, "tests/data/genesis.txt"}, dir).status, 2) << bad;
  }
}

// A settings file built from the command line, and used again.
TEST(CliEndToEndTest, SettingsFiles) {
  TempDir dir;
  const std::string file = dir.File("mine.vorn");
  CliRun r = RunCli({"--set", "WordOrder=1", "--ignore", "the and", "--save-settings", file}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string saved = ReadFileBytes(file);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 73);
  EXPECT_EQ(saved.substr(0, 15), "\"\"\r\n\"the and\"\r\n");
  // Used again, it gives the listing the options gave.
  const CliRun with_options =
      RunCli({"-q", "--set", "WordOrder=1", "--ignore", "the and", "tests/data/genesis.txt"}, dir);
  r = RunCli({"-q", "--settings", file, "tests/data/genesis.txt"}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, with_options.out);
  // A text the format cannot hold, and a settings file that is not there.
  r = RunCli({"--ignore", "say \"hi\"", "--save-settings", dir.File("bad.vorn")}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.substr(0, 15), "Save settings: ");
  EXPECT_FALSE(FileExists(dir.File("bad.vorn")));
  EXPECT_EQ(RunCli({"--settings", dir.File("none.vorn"), "tests/data/genesis.txt"}, dir).status, 2);
}

TEST(CliEndToEndTest, ClipboardTextFromAFile) {
  TempDir dir;
  const CliRun r = RunCli({"-q", "--clipboard", Data("utf8_punct.txt")}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  ExpectGolden("clipboard.stdout", r.out);
}

// n distinct words, each prefix + three letters + ending.
std::string DistinctWords(int n, const std::string& prefix, const std::string& ending) {
  std::string text;
  for (int i = 0; i < n; ++i) {
    text += prefix;
    for (int k = 1; k <= 676; k *= 26) text += static_cast<char>('a' + i / k % 26);
    text += ending;
  }
  return text;
}

TEST(CliEndToEndTest, ListingOnStandardOutput) {
  TempDir dir;
  const CliRun utf8 = RunCli({"-q", "tests/data/cp1252.txt"}, dir);
  EXPECT_EQ(utf8.status, 0);
  ExpectGolden("cp1252.stdout", utf8.out);
  const CliRun raw = RunCli({"-q", "--raw", "tests/data/cp1252.txt"}, dir);
  ExpectGolden("cp1252.raw", raw.out);

  // A listing much longer than the pieces it is handed on in, with accents:
  // standard output holds the output file's lines, in UTF-8 with LF.
  const std::string input = dir.Write("big.txt", DistinctWords(30000, "w\xE9", "rd\r\n"));
  const CliRun big = RunCli({"-q", input}, dir);
  const CliRun big_raw = RunCli({"-q", "--raw", input}, dir);
  const CliRun file = RunCli({"-q", input, "-o", dir.File("big.out")}, dir);
  ASSERT_EQ(big.status, 0);
  EXPECT_GT(big_raw.out.size(), 300000u);
  EXPECT_EQ(big_raw.out, ReadFileBytes(dir.File("big.out")));
  EXPECT_EQ(big.out, ToLf(TextToUtf8(DecodeWindows1252(big_raw.out))));
}

TEST(CliEndToEndTest, RefusedRunsExitWithOneAndSayWhy) {
  TempDir dir;
  const std::string empty = dir.Write("empty.txt", "");
  const std::string input = dir.Write("in.txt", "keep these words\n");
  std::filesystem::create_directory(dir.File("empty"));
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
      {{dir.File("empty")}, "Nothing to do: Folder contains no files.\n"},
      {{input, "-o", input}, "Error: The output file cannot be the same as the input file.\n"},
  };
  for (const Refusal& f : refusals) {
    std::vector<std::string> args = {"-q"};
    args.insert(args.end(), f.args.begin(), f.args.end());
    const CliRun r = RunCli(args, dir);
    EXPECT_EQ(r.status, 1) << f.message;
    EXPECT_EQ(r.err, f.message);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_EQ(ReadFileBytes(input), "keep these words\n");
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
  // A few zero bytes (well under one in a hundred) in text separate words.
  std::string nul_text;
  while (nul_text.size() < 2000) nul_text += "alpha beta gamma ";
  nul_text += std::string("alpha\0beta", 10);
  const std::vector<BadFile> files = {
      {"nul.txt", nul_text, 0, "", "\talpha\r\n"},
      {"bad_utf8.txt",
       "\xEF\xBB\xBF"
       "caf\xC3\xA9 caf\xE9 x\xC3(y\n",
       0, "", "caf\xE9"},
      {"tiny.txt", "abcd", 0, "", "1\tabcd"},
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

// Runs vorn-cli with standard output on out_fd (closed in the caller),
// standard error on stderr_path and SIGPIPE ignored.
CliRun RunCliWritingTo(int out_fd, const std::vector<std::string>& args,
                       const std::string& stderr_path) {
  const std::string program = CliPath();
  std::vector<std::string> argv_strings = {"vorn-cli"};
  argv_strings.insert(argv_strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_strings) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out_fd, STDOUT_FILENO);
    freopen(stderr_path.c_str(), "w", stderr);
    freopen("/dev/null", "r", stdin);
    signal(SIGPIPE, SIG_IGN);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(out_fd);
  CliRun r;
  int raw = 0;
  if (pid > 0 && waitpid(pid, &raw, 0) == pid && WIFEXITED(raw)) r.status = WEXITSTATUS(raw);
  r.err = stderr_path == "/dev/full" ? "" : ReadFileBytes(stderr_path);
  return r;
}

// A failed write to standard output (a full device, a pipe whose reader has
// gone while SIGPIPE is ignored) or to standard error ends with status 1.
TEST(CliEndToEndTest, WriteErrorsOnStandardOutputAndError) {
  TempDir dir;
  const std::string err_path = dir.File("stderr");
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"-q", "tests/data/cp1252.txt"},
                                             {"-q", "--textbox", "tests/data/cp1252.txt"},
                                             {"--help"},
                                             {"--version"}}) {
    SCOPED_TRACE(args.back());
    CliRun r = RunCliWritingTo(open("/dev/full", O_WRONLY), args, err_path);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vorn-cli: cannot write to standard output: No space left on device\n");
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);  // the reader is gone before anything is written
    r = RunCliWritingTo(fds[1], args, err_path);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vorn-cli: cannot write to standard output: Broken pipe\n");
  }
  // A question that cannot be shown on standard error: the listing is
  // written, but the status says that something went wrong.
  std::string big;
  while (big.size() <= 200000) big += "lorem ipsum dolor sit amet\n";
  const std::string listing = dir.File("listing");
  const CliRun r = RunCliWritingTo(open(listing.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
                                   {"-q", dir.Write("big.txt", big)}, "/dev/full");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(ReadFileBytes(listing).find("\tlorem\n"), std::string::npos);
}

// The code units of text in UTF-16 or UTF-32, little- or big-endian, after a
// byte-order mark.
template <typename Char>
std::string UnicodeFile(std::u32string_view text, bool le) {
  std::string out;
  auto put = [&](uint32_t unit) {
    for (size_t k = 0; k < sizeof(Char); ++k) {
      out += static_cast<char>(unit >> (8 * (le ? k : sizeof(Char) - 1 - k)));
    }
  };
  put(0xFEFF);
  for (char32_t c : text) put(c);  // no character beyond U+FFFF here
  return out;
}

// "Only 7-bit ASCII words" is suspended for every Unicode file, so the same
// text lists the same words in each of its forms.
TEST(CliEndToEndTest, UnicodeFormsListAlikeWithOnly7bitAscii) {
  TempDir dir;
  const std::u32string text = U"Na\u00EFve caf\u00E9 plain words naive\r\nna\u00EFve end\r\n";
  const std::string utf8 = "Na\xC3\xAFve caf\xC3\xA9 plain words naive\r\nna\xC3\xAFve end\r\n";
  const std::vector<std::pair<std::string, std::string>> forms = {
      {"utf8.txt", utf8},
      {"utf8_bom.txt", "\xEF\xBB\xBF" + utf8},
      {"utf16le.txt", UnicodeFile<char16_t>(text, true)},
      {"utf16be.txt", UnicodeFile<char16_t>(text, false)},
      {"utf32le.txt", UnicodeFile<char32_t>(text, true)},
      {"utf32be.txt", UnicodeFile<char32_t>(text, false)},
  };
  std::string first;
  for (const auto& [name, bytes] : forms) {
    SCOPED_TRACE(name);
    const CliRun r = RunCli(
        {"-q", "--set", "Only7bitASCII=1", "--set", "WordOrder=1", dir.Write(name, bytes)}, dir);
    EXPECT_EQ(r.status, 0) << r.err;
    // The first line names the file.
    const std::string listing = r.out.substr(r.out.find('\n') + 1);
    EXPECT_NE(listing.find("2\tna\u00EFve\n"), std::string::npos) << listing;
    if (first.empty()) first = listing;
    EXPECT_EQ(listing, first);
  }
}

// vorn-cli takes its paths as given: blanks at the ends of a name are part of
// it, and a namesake without them is never used instead.
TEST(CliEndToEndTest, NamesWithBlanksAreTakenAsGiven) {
  TempDir dir;
  dir.Write("words.txt", "plain words\n");
  const std::string blank = dir.Write("words.txt ", "blank words\n");
  CliRun r = RunCli({"-q", blank}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\tblank\n"), std::string::npos) << r.out;
  // The output file, too.
  r = RunCli({"-q", blank, "-o", dir.File("out.txt ")}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(ReadFileBytes(dir.File("out.txt ")).find("\tblank\r\n"), std::string::npos);
  EXPECT_FALSE(std::ifstream(dir.File("out.txt")).is_open());
}

// The clipboard file, by any of its names, or a file that standard input is
// read from, is never written over as the output file.
TEST(CliEndToEndTest, ClipboardFileIsNeverTheOutputFile) {
  TempDir dir;
  const std::string notes = dir.Write("notes.txt", "keep these words\n");
  const std::string other_name = dir.File("other_name.txt");
  ASSERT_EQ(link(notes.c_str(), other_name.c_str()), 0);
  struct Run {
    std::vector<std::string> args;
    std::string stdin_path;
  };
  const std::vector<Run> runs = {
      {{"--clipboard", notes, "-o", notes}, "/dev/null"},
      {{"--clipboard", notes, "-o", other_name}, "/dev/null"},
      {{"--clipboard", notes, "-o", dir.path() + "/./notes.txt"}, "/dev/null"},
      {{"--clipboard", "-", "-o", notes}, notes},
      {{"--clipboard", "-", "-o", other_name}, notes},
  };
  for (const Run& run : runs) {
    std::vector<std::string> args = {"-q"};
    args.insert(args.end(), run.args.begin(), run.args.end());
    SCOPED_TRACE(args[2] + " -o " + args[4]);
    const CliRun r = RunCli(args, dir, run.stdin_path);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Error: The output file cannot be the same as the input file.\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFileBytes(notes), "keep these words\n");
  }
  // Another output file is written as usual.
  const std::string out = dir.File("out.txt");
  const CliRun r = RunCli({"-q", "--clipboard", "-", "-o", out}, dir, notes);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(ReadFileBytes(out).find("\tthese\r\n"), std::string::npos);
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
    args = {"--reuid=65534", "--regid=65534", "--clear-groups", CliPath(), "-q", locked};
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
  // Reading stops once the text is surely too long: the count is then not
  // known. 100,000 characters take at most 300,000 bytes and a byte-order
  // mark.
  const std::string more_than =
      "Too much clipboard text: There are more than 100,000 characters in the text on the "
      "clipboard.\nThe maximum permitted is 100,000.  If possible,\ncount word frequencies "
      "for this text using an input file.\n";
  r = RunCli({"-q", "--clipboard", dir.Write("bigger.txt", std::string(300004, 'a'))}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, more_than);
  r = RunCliAfter("head -c 20000000 /dev/zero", {"-q", "--clipboard", "-"}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, more_than);
  r = RunCli({"-q", "--clipboard", dir.Write("bytes.txt", std::string(300003, 'a'))}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("There are 300,003 characters"), std::string::npos) << r.err;
  // 100,000 characters of three bytes each after a byte-order mark are taken
  // (U+1E01, U+1E03 and U+1E09 fold to "a", "b" and "c", U+2002 to a space).
  std::string widest = "\xEF\xBB\xBF";
  for (int i = 0; i < 25000; ++i) widest += "\xE1\xB8\x81\xE1\xB8\x83\xE1\xB8\x89\xE2\x80\x82";
  ASSERT_EQ(widest.size(), 300003u);
  r = RunCli({"-q", "--clipboard", dir.Write("widest.txt", widest)}, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("25000\tabc\n"), std::string::npos) << r.out;
  r = RunCli({"-q", "--clipboard", dir.Write("ctl.txt", "ring\x07 the bell")}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Invalid input: The text on the clipboard does not consist\nsolely of natural "
            "language words.\n");
  r = RunCli({"-q", "--clipboard", dir.Write("empty.txt", "")}, dir);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Clipboard: There is no text on the clipboard.\n");
}

// A file of 30 MB of 2,704 distinct words, long enough to be interrupted.
std::string BigInput(const TempDir& dir) {
  std::string cycle;
  for (int i = 0; i < 26 * 26 * 4; ++i) {
    cycle += "word" + std::string(1, static_cast<char>('a' + i % 26)) +
             std::string(1, static_cast<char>('a' + (i / 26) % 26)) +
             std::string(1, static_cast<char>('a' + (i / 676) % 4)) + " ";
  }
  std::string text;
  while (text.size() < 30000000) text += cycle;
  text.resize(30000000);
  return dir.Write("big.txt", text);
}

// Whether process `pid` has the file at `path` open, or -1 when that cannot
// be told.
int HasOpen(pid_t pid, const std::string& path) {
  std::error_code error;
  const std::filesystem::path fds = "/proc/" + std::to_string(pid) + "/fd";
  std::filesystem::directory_iterator it(fds, error);
  if (error) return -1;
  for (const auto& fd : it) {
    if (std::filesystem::read_symlink(fd.path(), error) == path) return 1;
  }
  return 0;
}

// Runs vorn-cli with `args` (standard error to err_path) on `input`, presses
// Ctrl-C `presses` times, 0.25 s after the run opened the input (0.8 s into
// the run where that cannot be told; the run has found its first words by
// then) and 0.3 s apart, and returns its wait status.
int InterruptedRun(std::vector<std::string> args, const std::string& input,
                   const std::string& err_path, int presses) {
  args.push_back(input);
  const std::string cli = CliPath();
  const pid_t pid = fork();
  if (pid == 0) {
    freopen("/dev/null", "w", stdout);
    freopen(err_path.c_str(), "w", stderr);
    std::vector<char*> argv{const_cast<char*>("vorn-cli")};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(cli.c_str(), argv.data());
    _exit(127);
  }
  for (int waited = 0; waited < 10000; waited += 5) {
    const int open = HasOpen(pid, std::filesystem::absolute(input).string());
    if (open > 0 || (open < 0 && waited >= 550)) break;
    usleep(5 * 1000);
  }
  usleep(250 * 1000);
  for (int k = 0; k < presses; ++k) {
    if (k > 0) usleep(300 * 1000);
    kill(pid, SIGINT);
  }
  int raw = 0;
  waitpid(pid, &raw, 0);
  return raw;
}

// Ctrl-C asks the run to stop, as the stop command does: with more than 800
// entries found the question comes first, then whether to list them. A
// second Ctrl-C ends the run at once: no more questions, no listing.
TEST(CliEndToEndTest, CtrlCAsksTheStopQuestionsAndASecondStopsSilently) {
  TempDir dir;
  const std::string input = BigInput(dir);
  const std::string out = dir.File("out.txt");
  const std::string err_path = dir.File("stderr");
  int raw = InterruptedRun({"-q", "-o", out}, input, err_path, 1);
  std::string err = ReadFileBytes(err_path);
  if (err.find("Really stop?") == std::string::npos)
    GTEST_SKIP() << "the count ended first: " << err;
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << err;
  EXPECT_NE(err.find(" found so far.\n\nReally stop?\n-> Yes\nCounting interrupted: The "
                     "operation was stopped before all words were counted.\nDo you wish to list "
                     "those which were found?\n-> Yes\n"),
            std::string::npos)
      << err;
  EXPECT_EQ(ReadFileBytes(out).substr(0, 6 + input.size()), "File: " + input);

  raw = InterruptedRun({"-q", "--answer", "no", "-o", out}, input, err_path, 2);
  err = ReadFileBytes(err_path);
  if (err.find("Really stop?") == std::string::npos)
    GTEST_SKIP() << "the count ended first: " << err;
  EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1) << err;
  EXPECT_TRUE(err.ends_with("Really stop?\n-> No\n")) << err;
  EXPECT_EQ(ReadFileBytes(out), "");
}

TEST(CliEndToEndTest, UsageErrorsExitWithTwo) {
  TempDir dir;
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{}, {"--bogus", "x"}, {"--answer", "maybe", "x"}}) {
    const CliRun r = RunCli(args, dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("vorn-cli: "), std::string::npos);
  }
  for (const char* threads : {"0", "257", "two", "-1", "", "1000000000000"}) {
    const CliRun r = RunCli({"--threads", threads, "x"}, dir);
    EXPECT_EQ(r.status, 2) << threads;
    EXPECT_NE(r.err.find("vorn-cli: --threads takes a number from 1 to 256"), std::string::npos)
        << r.err;
  }
  EXPECT_EQ(RunCli({"--threads"}, dir).err.find("vorn-cli: --threads needs a number"), 0u);
  // A bad --set is named, with the names or values it could take, also when
  // no source is given.
  for (bool with_source : {true, false}) {
    std::vector<std::string> args = {"--set", "Bogus=1"};
    if (with_source) args.push_back("x");
    const CliRun r = RunCli(args, dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.find("vorn-cli: Unknown setting \"Bogus\"; the settings are: "), 0u) << r.err;
    EXPECT_NE(r.err.find("ShortWordSize"), std::string::npos) << r.err;
  }
  const CliRun r = RunCli({"--set", "ShortWordSize=99"}, dir);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err.find("vorn-cli: ShortWordSize takes one of: "), 0u) << r.err;
}

}  // namespace
}  // namespace vorn
