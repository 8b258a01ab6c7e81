// End-to-end: vorn-cli counts a large file (counted in parts on several
// threads) and the fixture folder tree (its files counted ahead of their
// turn) with one thread and with several, and the whole output files and
// listings must be the same.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/cli_run.h"
#include "support/test_files.h"

namespace vorn {
namespace {

// The output file and the listing of a run with `threads` threads.
std::string RunWith(const TempDir& dir, const std::string& threads, std::vector<std::string> args) {
  const std::string out = dir.File("out.txt");
  args.insert(args.begin(), {"--threads", threads, "-q", "-o", out});
  const CliRun r = RunProgram(CliPath(), args, dir);
  EXPECT_EQ(r.status, 0) << r.err;
  // The time in the heading of an output file is the run's own.
  std::string file = ReadFileBytes(out);
  const size_t at = file.find(" at ");
  if (at != std::string::npos && file.size() > at + 23) file.replace(at, 23, " at <time>");
  return file + "\n--- listing ---\n" + r.out;
}

TEST(CliThreadsEndToEndTest, ALargeFileGivesTheSameOutputOnEveryNumberOfThreads) {
  TempDir dir;
  // About 9 MB of text in CR LF and LF-only forms, large enough to be cut
  // into parts; a few odd lines among the copies of the fixture text.
  const std::string text = ReadFileBytes(Data("genesis.txt")) + ReadFileBytes(Data("cp1252.txt")) +
                           "co-op a--b <x>y e.g. 'tis\r\n";
  std::string big;
  while (big.size() < 9'000'000) big += text;
  std::string lf = big;
  std::erase(lf, '\r');
  for (const auto& [name, bytes] : {std::pair{"crlf.txt", &big}, std::pair{"lf.txt", &lf}}) {
    const std::string path = dir.Write(name, *bytes);
    const std::string one = RunWith(dir, "1", {path});
    EXPECT_EQ(RunWith(dir, "2", {path}), one) << name;
    EXPECT_EQ(RunWith(dir, "3", {"--set", "DisplayFormat=3", path}),
              RunWith(dir, "1", {"--set", "DisplayFormat=3", path}))
        << name;
  }
}

TEST(CliThreadsEndToEndTest, AFolderGivesTheSameOutputOnEveryNumberOfThreads) {
  TempDir dir;
  std::filesystem::copy(Data("tree"), dir.File("tree"), std::filesystem::copy_options::recursive);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"-r", dir.File("tree")}, {"-r", "--count-array", "both", dir.File("tree")}}) {
    const std::string one = RunWith(dir, "1", args);
    EXPECT_EQ(RunWith(dir, "2", args), one) << args[1];
    EXPECT_EQ(RunWith(dir, "4", args), one) << args[1];
  }
}

}  // namespace
}  // namespace vorn
