// SPDX-License-Identifier: GPL-3.0-or-later
#include <string>
#include <vector>

#include "tools/cli/cli_command.h"
#include "tools/cli/cli_console.h"

// The arguments arrive as the bytes the shell passed: UTF-8 on any
// current system.
int main(int argc, char** argv) {
  zlm5::cli::PrepareConsole();
  return zlm5::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
