#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_main.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  // RunCli flushes and checks every write to the two streams.
  return vorn::RunCli(args, std::cout, std::cerr, isatty(2) != 0);
}
