// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cli/cli_args.h"

#include <charconv>
#include <iostream>

#include "tools/cli/cli_console.h"

namespace zlm5::cli {

std::optional<std::string> ParseCliArgs(const std::vector<std::string>& args,
                                        std::span<const CliOption> options, CliArgs& out) {
  out = cmdline::Parse(args, options);
  if (out.problem) return out.problem->message;
  return std::nullopt;
}

std::optional<int> ParseInt(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

int FileError(const CliCommand& command, const Error& error) {
  std::cerr << "z-lm5-cli " << command.name << ": " << error.Message() << '\n';
  return exit_code::kFileError;
}

int WriteOutput(const CliCommand& command, const std::string& text) {
  std::cout.flush();
  if (Status written = WriteStandardOutput(text); !written)
    return FileError(command, written.error());
  return exit_code::kOk;
}

}  // namespace zlm5::cli
