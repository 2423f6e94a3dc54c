// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
// CommandLineToArgvW, after windows.h.
#include <shellapi.h>

#include "ui/app/start_arguments.h"

namespace zlm5 {

// A Windows session always has its desktop.
bool HasDesktopSession(const StartArguments& /*start*/) { return true; }

QStringList ProgramArguments(int argc, char* argv[]) {
  QStringList arguments;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide != nullptr) {
    for (int i = 0; i < count; ++i) arguments << QString::fromWCharArray(wide[i]);
    LocalFree(wide);
    return arguments;
  }
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

}  // namespace zlm5
