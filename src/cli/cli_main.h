// RunCli: vorn-cli as a function, so that tests drive it in-process.

#ifndef VORN_CLI_CLI_MAIN_H_
#define VORN_CLI_CLI_MAIN_H_

#include <ostream>
#include <string>
#include <vector>

namespace vorn {

// Runs vorn-cli with the arguments (without the program name), writing the
// listing to out and messages to err. Returns the exit status: 0 the command
// ran to its end, 1 it was refused or ended by an error, 2 a usage error.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool err_is_terminal = false);

}  // namespace vorn

#endif  // VORN_CLI_CLI_MAIN_H_
