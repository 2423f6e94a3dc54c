// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <cstdio>

#include "tools/cli/cli_console.h"

namespace zlm5::cli {
namespace {

std::atomic<bool> g_interrupted{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  // A second Ctrl+C ends the program at once, as the default handler does.
  if (g_interrupted.exchange(true)) return FALSE;
  return TRUE;
}

}  // namespace

void PrepareConsole() {
  SetConsoleOutputCP(CP_UTF8);
  SetConsoleCP(CP_UTF8);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
}

Status WriteStandardOutput(std::string_view text) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(out, data, chunk, &written, nullptr)) {
      return Error("standard output", SystemErrorText(static_cast<int>(GetLastError())));
    }
    data += written;
    left -= written;
  }
  return Ok{};
}

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

int TerminalColumns(int fallback) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info) == 0) return fallback;
  const int columns = info.srWindow.Right - info.srWindow.Left + 1;
  return columns > 0 ? columns : fallback;
}

void InstallCancelOnInterrupt() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

bool InterruptRequested() { return g_interrupted.load(); }

}  // namespace zlm5::cli
