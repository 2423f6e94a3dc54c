// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

// The parts of the command line's help that name the platform's ports and
// folders: Linux and the other POSIX systems.
namespace zlm5::cli::platform_help {

inline constexpr std::string_view kReadPort =
    "COM1 to COM4 (mapped to devices in\n"
    "~/.config/z-lm5/ports.conf; default /dev/ttyS0..3)\n"
    "or a device path such as /dev/ttyUSB0";
inline constexpr std::string_view kWritePort =
    "COM1 to COM4 (mapped to devices in\n"
    "~/.config/z-lm5/ports.conf; default\n"
    "/dev/ttyS0..3) or a device path";
inline constexpr std::string_view kTunePort = "COM1 to COM4 or a device path";
inline constexpr std::string_view kFleetPort =
    "COM1 to COM4 (mapped to devices in\n"
    "~/.config/z-lm5/ports.conf) or a device path;\n"
    "once per radio";
// How fleet read names each radio's file.
inline constexpr std::string_view kFleetReadNames =
    "after the port's /dev/serial/by-id name, or radio-1.sin, radio-2.sin...\n"
    "in the order the ports are given.\n";

// What ports lists.
inline constexpr std::string_view kPortsUsage =
    "Usage: z-lm5-cli ports [--json] [--root DIR]\n"
    "\n"
    "Lists every serial device present, one line each:\n"
    "  PATH: by-id NAME; driver DRIVER; USB VVVV:PPPP PRODUCT; ACCESS; USE\n"
    "NAME is the device's stable name under /dev/serial/by-id, which stays\n"
    "the same whichever order cables are plugged in; ACCESS is \"can be\n"
    "opened\", or \"cannot be opened: \" and why (the group that owns the\n"
    "device and whether you are in it); USE is \"free\" or \"in use by NAME\n"
    "(PID N)\". Parts that are not known are left out. No device is opened.\n"
    "\n"
    "Warnings follow on standard error when ModemManager or brltty is\n"
    "running, since they take USB serial adapters away, with what to do. The\n"
    "open files of other users' processes can be read only as root: without\n"
    "it, a device shown free may still be in use.\n"
    "\n";

}  // namespace zlm5::cli::platform_help
