// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace zlm5 {

// The command line of z-lm5, read before the application object exists:
// --help, --version and a usage error need no display, so they work over
// ssh and in scripts, and the window is made only where it can be shown.
struct StartArguments {
  enum class Outcome {
    kStart,       // show the window, or print `file` and end
    kHelp,        // print `text` on standard output and end with 0
    kVersion,     // likewise
    kHelpAll,     // the help with Qt's own options: only the application knows those
    kUsageError,  // print `text` on standard error and end with 2
  };
  Outcome outcome = Outcome::kStart;
  QString text;  // for kHelp, kVersion and kUsageError, with its line break

  QString file;        // the channel data file to open; "" for a new document
  bool print = false;  // --print or --print-to: print `file`, then end
  QString printer;     // --print-to's printer; "" for the default one
  bool port_set = false;
  QString port;                 // --port, a COM name or a device path
  bool platform_given = false;  // -platform NAME, one of Qt's own options
};

// `arguments` as main() got them, the program's path first. Qt's own
// options (-platform NAME, -style STYLE, -reverse, ... as QApplication
// takes them, with one dash or two) are passed over: the application takes
// them itself once it exists.
StartArguments ReadStartArguments(const QStringList& arguments);

// Prints the help with the options every Qt program takes and ends the
// program with 0. Needs the application.
[[noreturn]] void ShowHelpWithQtOptions();

// Whether there is a desktop session to show the window in: DISPLAY or
// WAYLAND_DISPLAY set, or a Qt platform chosen (QT_QPA_PLATFORM, or
// -platform on the command line); on Windows always. Without one Qt
// cannot start at all. (platform_start.cpp, platform_start_win.cpp)
bool HasDesktopSession(const StartArguments& start);

// The program's arguments as the user typed them, program name first:
// the bytes of argv as UTF-8 on POSIX; on Windows the wide command line,
// since argv holds them in the ANSI code page, where a file named
// "Kanäle-Канал.sin" is lost.
QStringList ProgramArguments(int argc, char* argv[]);

// What z-lm5 prints when there is none, and ends with 1.
inline constexpr char kNoDesktopSessionMessage[] =
    "z-lm5: the window needs a desktop session, and there is none here (DISPLAY, "
    "WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset).\n"
    "z-lm5-cli does the same work without one: see z-lm5-cli --help.\n";

}  // namespace zlm5
