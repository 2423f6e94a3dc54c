// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/common/command_line.h"

namespace zlm5::cli {

// Exit codes of z-lm5-cli; scripts rely on them.
namespace exit_code {
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;     // communication failed or cancelled
inline constexpr int kUsage = 2;      // malformed command line
inline constexpr int kFileError = 3;  // a file cannot be read or written
inline constexpr int kPortError = 4;  // the serial port cannot be opened
}  // namespace exit_code

// One sub-command of z-lm5-cli. Each command lives in a file of its own and
// registers itself with a static CliCommandRegistration.
struct CliCommand {
  std::string_view name;
  std::string_view summary;  // one line for the program's --help
  std::string_view usage;    // the command's --help text, up to its options
  int order;                 // position in the program's --help
  // Arguments after the command name. Standard output carries results,
  // standard error the messages. Returns an exit code.
  int (*run)(const std::vector<std::string>& args);
  // The options the command reads; --help lists them after `usage`, their
  // texts at `help_column` (0: three blanks after the longest names),
  // then `usage_end`.
  std::span<const cmdline::OptionEntry> options = {};
  std::string_view usage_end = {};
  std::size_t help_column = 0;
};

// The command's --help text.
std::string CommandHelp(const CliCommand& command);

class CliCommandRegistration {
 public:
  explicit CliCommandRegistration(const CliCommand& command);
};

const std::vector<CliCommand>& RegisteredCommands();

// The program with its arguments (without the program's name), in UTF-8;
// returns the exit code. Each platform's main() calls it.
int RunCommandLine(const std::vector<std::string>& args);

// Prints "z-lm5-cli: <message>" and the command's usage hint on standard
// error; returns exit_code::kUsage.
int UsageError(const CliCommand& command, const std::string& message);

// True when args holds -h or --help.
bool WantsHelp(const std::vector<std::string>& args);

}  // namespace zlm5::cli
