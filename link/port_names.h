// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/error.h"

namespace zlm5 {

// The port names the user picks in the Port menu.
inline constexpr std::array<std::string_view, 4> kPortNames = {"COM1", "COM2", "COM3", "COM4"};

// The devices "COM1" to "COM4" open when no settings file says otherwise:
// /dev/ttyS0 to /dev/ttyS3 on Linux; on Windows the COM ports themselves.
std::array<std::string, 4> DefaultPortDevices();

// Which device each of "COM1" to "COM4" opens. Defaults: DefaultPortDevices.
// On Linux a user with a USB cable points COM1 at /dev/ttyUSB0 in the
// settings file (PortSettingsPath):
//
//   # z-lm5 serial ports: NAME = device path
//   COM1 = /dev/ttyUSB0
//   COM2 = /dev/ttyS1
//
// One "NAME = PATH" per line; blank lines and lines starting with '#' are
// ignored; names not listed keep their default. The file is read only to
// resolve a COM name (IsComPortName), and only while it is a regular file
// of at most kMaxPortSettingsBytes. Windows has its COM ports by name, so
// there the file is not read and the table keeps its defaults.
struct PortTable {
  std::array<std::string, 4> devices = DefaultPortDevices();

  friend bool operator==(const PortTable&, const PortTable&) = default;
};

// Four lines need some 60 bytes; anything far larger is not this file.
inline constexpr std::size_t kMaxPortSettingsBytes = 16 * 1024;

// ports.conf in the user's settings folder (SettingsFolder in
// files/user_folders.h): $XDG_CONFIG_HOME/z-lm5/ports.conf, or
// ~/.config/z-lm5/ports.conf when XDG_CONFIG_HOME is unset or not absolute;
// %APPDATA%\z-lm5\ports.conf on Windows.
std::string PortSettingsPath();

// The settings text; an error names the line and what is wrong with it.
Result<PortTable> ParsePortTable(std::string_view text);
std::string FormatPortTable(const PortTable& table);

// A missing file gives the defaults. An error names the file, and the line
// of a malformed file; a named pipe, a device or a file larger than
// kMaxPortSettingsBytes is refused without waiting or reading it whole.
// On Windows: the defaults, without looking at `path`.
Result<PortTable> LoadPortTable(const std::string& path);
// Creates the folder when needed; replaces the file as a whole.
Status SavePortTable(const std::string& path, const PortTable& table);

// True for the COM names of this system in any letter case (blanks around
// ignored): "COM1".."COM4" on Linux, the names that need the table (a
// device path never does); "COM1".."COM256" on Windows.
bool IsComPortName(std::string_view name);

// The device for a port name. Linux: "COM1".."COM4" (any letter case)
// through the table; a name starting with '/' is a device path and used as
// it is. Windows: "COM1".."COM256" in any letter case give "COM5" written
// as Windows writes it; a device name ("\\.\COM12") is used as it is.
Result<std::string> ResolvePortName(std::string_view name, const PortTable& table);

// One text for all the names of one port, to tell whether two names are
// the same port. Linux: where the path leads, links followed (the path
// itself when that cannot be told). Windows: "COM5" for "com5" and
// "\\.\COM5"; other device names as they are.
std::string PortIdentity(const std::string& device);

// The number of a COM name: 5 for "COM5" or "com5"; none for a number
// outside 1..256, with a leading zero, or any other text.
std::optional<int> ComPortNumber(std::string_view name);

// What Windows opens for a port name: "\\.\COM10" for "COM10" (ports
// above COM9 cannot be opened by their bare name, so every COM name gets
// the prefix); a name that already is a device name as it is.
std::string ComDevicePath(std::string_view name);

// "COM5" for the COM port that "com5", "COM5" or "\\.\COM5" name; none
// for any other name.
std::optional<std::string> ComPortKey(std::string_view name);

}  // namespace zlm5
