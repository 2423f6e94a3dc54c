// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/start_arguments.h"

namespace zlm5 {

bool HasDesktopSession(const StartArguments& start) {
  return start.platform_given || !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

QStringList ProgramArguments(int argc, char* argv[]) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  return arguments;
}

}  // namespace zlm5
