// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"

// The console the command line runs in, on each platform: its arguments
// in UTF-8, its standard output, whether standard error is a terminal and
// how wide, and Ctrl+C.
namespace zlm5::cli {

// Readies the standard streams before anything is printed: on Windows the
// console takes UTF-8 and standard output and error pass bytes unchanged
// (no 0A -> 0D 0A), so that `export > out.csv` is the same file on every
// platform. Nothing to do on POSIX.
void PrepareConsole();

// Writes all of `text` to standard output, past the C++ stream buffers.
Status WriteStandardOutput(std::string_view text);

// Whether standard error is a terminal (a progress bar is drawn) rather
// than a file or a pipe (plain lines).
bool StandardErrorIsTerminal();

// The columns of the terminal on standard error, or `fallback` when it is
// no terminal or does not say.
int TerminalColumns(int fallback);

// From now on Ctrl+C asks the running exchange to cancel (InterruptRequested)
// instead of ending the program; a second Ctrl+C ends it at once.
void InstallCancelOnInterrupt();
bool InterruptRequested();

}  // namespace zlm5::cli
