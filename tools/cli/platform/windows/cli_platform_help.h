// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// The parts of the command line's help that name the platform's ports and
// folders: Windows.
namespace zlm5::cli::platform_help {

inline constexpr std::string_view kReadPort =
    "COM1 to COM256 (see z-lm5-cli ports), or a\n"
    "name such as \\\\.\\COM5";
inline constexpr std::string_view kWritePort = kReadPort;
inline constexpr std::string_view kTunePort = "COM1 to COM256";
inline constexpr std::string_view kFleetPort =
    "COM1 to COM256, or a name such as\n"
    "\\\\.\\COM5; once per radio";
inline constexpr std::string_view kFleetReadNames =
    "radio-1.sin, radio-2.sin... in the order the ports are given.\n";

// What ports lists.
inline constexpr std::string_view kPortsUsage =
    "Usage: z-lm5-cli ports [--json]\n"
    "\n"
    "Lists every COM port present, one line each: those Device Manager shows\n"
    "under Ports (COM & LPT), and those a driver made without an entry there\n"
    "(virtual ports, wine's):\n"
    "  COMn: driver DRIVER; USB VVVV:PPPP PRODUCT\n"
    "Parts that are not known are left out. Windows does not tell which\n"
    "program has a port open: a port in use shows only when it is opened\n"
    "(\"in use by another program\"). No port is opened. (--root is for\n"
    "Linux trees and is not read here.)\n"
    "\n";

}  // namespace zlm5::cli::platform_help
