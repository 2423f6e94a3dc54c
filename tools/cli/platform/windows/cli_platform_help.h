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

}  // namespace zlm5::cli::platform_help
