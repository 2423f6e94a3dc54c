// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <string>
#include <vector>

#include "tools/cli/cli_command.h"
#include "tools/cli/cli_console.h"

namespace {

std::string Utf8(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
  utf8.pop_back();  // the terminating zero
  return utf8;
}

}  // namespace

// The arguments arrive in UTF-16 (wmain), not in the ANSI code page, so a
// file named "Kanäle-Канал.sin" reaches the program whole on any Windows.
int wmain(int argc, wchar_t** argv) {
  zlm5::cli::PrepareConsole();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
  return zlm5::cli::RunCommandLine(args);
}
