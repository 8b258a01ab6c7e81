// Runs vorn-cli (or another program) for the end-to-end tests, and compares
// output with the expected files of tests/data/expected. Setting
// VORN_UPDATE_GOLDEN=1 rewrites the expected files from the program's output
// instead; VORN_CLI names another vorn-cli to test.

#ifndef VORN_TESTS_SUPPORT_CLI_RUN_H_
#define VORN_TESTS_SUPPORT_CLI_RUN_H_

#include <string>
#include <vector>

#include "support/test_files.h"

namespace vorn {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// The text quoted for the shell.
std::string Quote(const std::string& s);

// Runs program with args in the shell, standard input read from stdin_path,
// or, when producer is given, from the output of that shell command; the
// standard output and error are kept in files of `dir`.
CliRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                  const TempDir& dir, const std::string& stdin_path = "/dev/null",
                  const std::string& producer = "");

// The vorn-cli under test.
std::string CliPath();

// The arguments of a vorn-cli run, with "--threads N" first when the
// environment variable VORN_TEST_THREADS is N.
std::vector<std::string> CliArgs(const std::vector<std::string>& args);

CliRun RunCli(const std::vector<std::string>& args, const TempDir& dir,
              const std::string& stdin_path = "/dev/null");

// Runs vorn-cli with its standard input taken from the shell command producer.
CliRun RunCliAfter(const std::string& producer, const std::vector<std::string>& args,
                   const TempDir& dir);

// The path of tests/data/name.
std::string Data(const std::string& name);

// Compares `actual` with tests/data/expected/name (or rewrites it).
void ExpectGolden(const std::string& name, const std::string& actual);

}  // namespace vorn

#endif  // VORN_TESTS_SUPPORT_CLI_RUN_H_
