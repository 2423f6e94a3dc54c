// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cli/cli_console.h"

#include <signal.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zlm5::cli {
namespace {

volatile sig_atomic_t g_interrupted = 0;
void OnInterrupt(int) { g_interrupted = 1; }

}  // namespace

void PrepareConsole() {}

Status WriteStandardOutput(std::string_view text) {
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const ssize_t n = ::write(STDOUT_FILENO, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Error("standard output", std::strerror(errno));
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
  return Ok{};
}

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

int TerminalColumns(int fallback) {
  winsize size{};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return fallback;
}

void InstallCancelOnInterrupt() {
  struct sigaction sa {};
  sa.sa_handler = OnInterrupt;
  sa.sa_flags = SA_RESETHAND;  // a second Ctrl+C ends the program at once
  sigaction(SIGINT, &sa, nullptr);
}

bool InterruptRequested() { return g_interrupted != 0; }

}  // namespace zlm5::cli
