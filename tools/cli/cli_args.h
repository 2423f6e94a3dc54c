// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"
#include "tools/cli/cli_command.h"

namespace zlm5::cli {

// An option that takes a value: "-o FILE", "--output FILE", "--output=FILE".
struct CliOption {
  std::string_view short_name;  // "-o", or empty
  std::string_view long_name;   // "--output"
};

struct CliArgs {
  std::vector<std::string> positional;
  // Option values by long name. Each option may be given once.
  std::map<std::string, std::string, std::less<>> values;

  const std::string* Value(std::string_view long_name) const {
    const auto it = values.find(long_name);
    return it == values.end() ? nullptr : &it->second;
  }
};

// Splits `args` into options and positional arguments ("--" ends the
// options; a lone "-" is positional). Returns the message of a usage error.
std::optional<std::string> ParseCliArgs(const std::vector<std::string>& args,
                                        std::span<const CliOption> options, CliArgs& out);

// A whole decimal integer ("-1", "12"); nothing else.
std::optional<int> ParseInt(std::string_view text);

// Prints "z-lm5-cli COMMAND: <what>: <reason>" on standard error and returns
// exit_code::kFileError.
int FileError(const CliCommand& command, const Error& error);

// Writes a command's result to standard output. Returns exit_code::kOk, or
// exit_code::kFileError after a message when the output cannot be written
// (a full disk, a closed descriptor), so that a script never takes a cut-off
// table for a complete one.
int WriteOutput(const CliCommand& command, const std::string& text);

}  // namespace zlm5::cli
