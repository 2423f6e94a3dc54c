// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cli/cli_args.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>

namespace zlm5::cli {

std::optional<std::string> ParseCliArgs(const std::vector<std::string>& args,
                                        std::span<const CliOption> options, CliArgs& out) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      out.positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string_view name =
        arg.starts_with("--") && equals != std::string::npos ? std::string_view(arg).substr(0, equals)
                                                             : std::string_view(arg);
    const CliOption* option = nullptr;
    for (const CliOption& o : options) {
      if (name == o.long_name || (!o.short_name.empty() && name == o.short_name)) option = &o;
    }
    if (option == nullptr) return "unknown option '" + arg + "'";
    std::string value;
    if (name.size() != arg.size()) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return "option '" + arg + "' needs a value";
    }
    if (!out.values.emplace(std::string(option->long_name), value).second) {
      return "option '" + std::string(option->long_name) + "' is given more than once";
    }
  }
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
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t n = ::write(STDOUT_FILENO, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return FileError(command, Error("standard output", std::strerror(errno)));
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  return exit_code::kOk;
}

}  // namespace zlm5::cli
