// SPDX-License-Identifier: GPL-3.0-or-later
// The print command of a build without Qt Gui (the Windows command line
// built without a Qt for Windows): listed, so that the help says why the
// report is missing, and refused as a usage error.
#include <iostream>

#include "tools/cli/cli_command.h"

namespace zlm5::cli {
namespace {

int RunPrint(const std::vector<std::string>& /*args*/);

const CliCommand kPrint = {
    .name = "print",
    .summary = "not in this build: the report needs the desktop program's Qt",
    .usage =
        "Usage: z-lm5-cli print FILE -o REPORT.pdf\n"
        "\n"
        "This z-lm5-cli was built without Qt, which draws the report's pages:\n"
        "print the report from the desktop program (File > Print), or use a\n"
        "z-lm5-cli built with Qt.\n",
    .order = 90,
    .run = RunPrint,
};

int RunPrint(const std::vector<std::string>& /*args*/) {
  std::cerr << "z-lm5-cli print: not in this build: the report needs the desktop program's Qt\n";
  return exit_code::kUsage;
}

const CliCommandRegistration kRegistration(kPrint);

}  // namespace
}  // namespace zlm5::cli
