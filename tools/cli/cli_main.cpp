// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <iostream>
#include <sstream>

#include "tools/cli/cli_args.h"
#include "tools/cli/cli_command.h"

namespace zlm5::cli {
namespace {

// The program's own help ("z-lm5-cli --help", "z-lm5-cli help"): named
// "help" in its messages, never listed as a command.
const CliCommand kHelp = {"help", "", "", 0, nullptr};
const CliCommand kVersion = {cmdline::kVersionOption.long_name, "", "", 0, nullptr};
constexpr std::string_view kProgramName = "z-lm5-cli";
// Where the summaries start in the program's list of commands.
constexpr std::size_t kSummaryColumn = 10;

bool IsHelpOption(std::string_view arg) {
  return arg == cmdline::kHelpOption.short_name || arg == cmdline::kHelpOption.long_name;
}

std::vector<CliCommand>& Registry() {
  static std::vector<CliCommand> commands;
  return commands;
}

void PrintProgramHelp(std::ostream& out) {
  out << "Usage: z-lm5-cli COMMAND [ARGS...]\n"
         "Reads, edits and writes channel data files (.sin) and talks to the radio\n"
         "over a serial programming cable.\n\nCommands:\n";
  for (const CliCommand& c : RegisteredCommands()) {
    const std::size_t gap = c.name.size() < kSummaryColumn ? kSummaryColumn - c.name.size() : 1;
    out << "  " << c.name << std::string(gap, ' ') << c.summary << '\n';
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

std::string CommandHelp(const CliCommand& command) {
  const std::size_t column =
      command.help_column != 0 ? command.help_column : cmdline::HelpColumn(command.options);
  return std::string(command.usage) + cmdline::OptionHelp(command.options, column) +
         std::string(command.usage_end);
}

int UsageError(const CliCommand& command, const std::string& message) {
  std::cerr << "z-lm5-cli " << command.name << ": " << message << '\n'
            << "Run 'z-lm5-cli " << command.name << " --help' for usage.\n";
  return exit_code::kUsage;
}

bool WantsHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(), IsHelpOption);
}

int RunCommandLine(const std::vector<std::string>& args) {
  if (args.empty()) {
    PrintProgramHelp(std::cerr);
    return exit_code::kUsage;
  }
  if (IsHelpOption(args[0]) || args[0] == kHelp.name) {
    std::ostringstream help;
    PrintProgramHelp(help);
    return WriteOutput(kHelp, help.str());
  }
  if (args[0] == cmdline::kVersionOption.long_name) {
    return WriteOutput(kVersion, cmdline::VersionText(kProgramName));
  }
  for (const CliCommand& c : RegisteredCommands()) {
    if (c.name == args[0]) {
      std::vector<std::string> rest(args.begin() + 1, args.end());
      // Help that cannot be written fails like any other output.
      if (WantsHelp(rest)) return WriteOutput(c, CommandHelp(c));
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

}  // namespace zlm5::cli
