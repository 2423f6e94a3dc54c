// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <iostream>
#include <sstream>

#include "tools/cli/cli_args.h"
#include "tools/cli/cli_command.h"
#include "zlm5_version.h"

namespace zlm5::cli {
namespace {

// The program's own help ("z-lm5-cli --help", "z-lm5-cli help"): named
// "help" in its messages, never listed as a command.
const CliCommand kHelp = {"help", "", "", 0, nullptr};
const CliCommand kVersion = {"--version", "", "", 0, nullptr};

std::vector<CliCommand>& Registry() {
  static std::vector<CliCommand> commands;
  return commands;
}

void PrintProgramHelp(std::ostream& out) {
  out << "Usage: z-lm5-cli COMMAND [ARGS...]\n"
         "Reads, edits and writes channel data files (.sin) and talks to the radio\n"
         "over a serial programming cable.\n\nCommands:\n";
  for (const CliCommand& c : RegisteredCommands()) {
    out << "  " << c.name << std::string(c.name.size() < 10 ? 10 - c.name.size() : 1, ' ')
        << c.summary << '\n';
  }
  out << "\nRun 'z-lm5-cli COMMAND --help' for the options of a command,\n"
         "'z-lm5-cli --version' for the version.\n"
         "Exit codes: 0 success, 1 communication failed or cancelled, 2 usage error,\n"
         "3 file error, 4 port cannot be opened.\n";
}

}  // namespace

CliCommandRegistration::CliCommandRegistration(const CliCommand& command) {
  auto& commands = Registry();
  commands.push_back(command);
  std::stable_sort(commands.begin(), commands.end(),
                   [](const CliCommand& a, const CliCommand& b) { return a.order < b.order; });
}

const std::vector<CliCommand>& RegisteredCommands() { return Registry(); }

int UsageError(const CliCommand& command, const std::string& message) {
  std::cerr << "z-lm5-cli " << command.name << ": " << message << '\n'
            << "Run 'z-lm5-cli " << command.name << " --help' for usage.\n";
  return exit_code::kUsage;
}

bool WantsHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(),
                     [](const std::string& a) { return a == "-h" || a == "--help"; });
}

}  // namespace zlm5::cli

int main(int argc, char** argv) {
  using namespace zlm5::cli;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintProgramHelp(std::cerr);
    return exit_code::kUsage;
  }
  if (args[0] == "-h" || args[0] == "--help" || args[0] == "help") {
    std::ostringstream help;
    PrintProgramHelp(help);
    return WriteOutput(kHelp, help.str());
  }
  if (args[0] == "--version") {
    return WriteOutput(kVersion, std::string("z-lm5-cli ") + zlm5::kProgramVersion + '\n');
  }
  for (const CliCommand& c : RegisteredCommands()) {
    if (c.name == args[0]) {
      std::vector<std::string> rest(args.begin() + 1, args.end());
      // Help that cannot be written fails like any other output.
      if (WantsHelp(rest)) return WriteOutput(c, std::string(c.usage));
      try {
        return c.run(rest);
      } catch (const std::exception& e) {
        std::cerr << "z-lm5-cli " << c.name << ": " << e.what() << '\n';
        return exit_code::kFailed;
      }
    }
  }
  std::cerr << "z-lm5-cli: unknown command '" << args[0] << "'\n";
  PrintProgramHelp(std::cerr);
  return exit_code::kUsage;
}
