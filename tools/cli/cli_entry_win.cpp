// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <string>
#include <vector>

#include "model/win32_text.h"
#include "tools/cli/cli_command.h"
#include "tools/cli/cli_console.h"

// The arguments arrive in UTF-16 (wmain), not in the ANSI code page, so a
// file named "Kanäle-Канал.sin" reaches the program whole on any Windows.
int wmain(int argc, wchar_t** argv) {
  zlm5::cli::PrepareConsole();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(zlm5::Utf8FromWide(argv[i]));
  return zlm5::cli::RunCommandLine(args);
}
