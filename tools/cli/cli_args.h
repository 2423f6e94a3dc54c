// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"
#include "tools/cli/cli_command.h"
#include "tools/common/command_line.h"

namespace zlm5::cli {

// A command's options, read by the parser that z-lm5-radio-sim shares
// (tools/common/command_line.h): value options, flags, repeated options.
using CliOption = cmdline::OptionEntry;
using CliArgs = cmdline::ParsedArgs;
using cmdline::OptionKind;

// Reads `args` by the command's `options` into `out`. Returns the message
// of a usage error.
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
