#include "support/cli_run.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

namespace vorn {

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
                  const TempDir& dir, const std::string& stdin_path, const std::string& producer) {
  std::string cmd = Quote(program);
  for (const std::string& a : args) cmd += " " + Quote(a);
  const std::string out_path = dir.File("stdout");
  const std::string err_path = dir.File("stderr");
  cmd += " >" + Quote(out_path) + " 2>" + Quote(err_path);
  cmd = producer.empty() ? cmd + " <" + Quote(stdin_path) : producer + " | " + cmd;
  CliRun r;
  const int raw = std::system(cmd.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = ReadFileBytes(out_path);
  r.err = ReadFileBytes(err_path);
  return r;
}

std::string CliPath() {
  const char* cli = std::getenv("VORN_CLI");
  return cli ? cli : VORN_TEST_CLI;
}

std::vector<std::string> CliArgs(const std::vector<std::string>& args) {
  // The suites run again with the number of threads this chooses.
  const char* threads = std::getenv("VORN_TEST_THREADS");
  if (threads == nullptr) return args;
  std::vector<std::string> with{"--threads", threads};
  with.insert(with.end(), args.begin(), args.end());
  return with;
}

CliRun RunCli(const std::vector<std::string>& args, const TempDir& dir,
              const std::string& stdin_path) {
  return RunProgram(CliPath(), CliArgs(args), dir, stdin_path);
}

CliRun RunCliAfter(const std::string& producer, const std::vector<std::string>& args,
                   const TempDir& dir) {
  return RunProgram(CliPath(), CliArgs(args), dir, "", producer);
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

}  // namespace vorn
