#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_main.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::vector<std::string> args(argv + 1, argv + argc);
  const int status = vorn::RunCli(args, std::cout, std::cerr, isatty(2) != 0);
  std::cout.flush();
  return status;
}
