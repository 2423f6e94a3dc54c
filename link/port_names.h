// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/error.h"

namespace zlm5 {

// The port names the user picks in the Port menu.
inline constexpr std::array<std::string_view, 4> kPortNames = {"COM1", "COM2", "COM3", "COM4"};

// Which device each of "COM1" to "COM4" opens. Defaults: /dev/ttyS0 to
// /dev/ttyS3. A user with a USB cable points COM1 at /dev/ttyUSB0 in the
// settings file (PortSettingsPath):
//
//   # z-lm5 serial ports: NAME = device path
//   COM1 = /dev/ttyUSB0
//   COM2 = /dev/ttyS1
//
// One "NAME = PATH" per line; blank lines and lines starting with '#' are
// ignored; names not listed keep their default. The file is read only to
// resolve a COM name (IsComPortName), and only while it is a regular file
// of at most kMaxPortSettingsBytes.
struct PortTable {
  std::array<std::string, 4> devices = {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"};

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
Result<PortTable> LoadPortTable(const std::string& path);
// Creates the folder when needed; replaces the file as a whole.
Status SavePortTable(const std::string& path, const PortTable& table);

// True for "COM1".."COM4" in any letter case (blanks around ignored): the
// names that need the table. A device path never does.
bool IsComPortName(std::string_view name);

// The device path for a port name: "COM1".."COM4" (any letter case) through
// the table; a name starting with '/' is a device path and used as it is.
Result<std::string> ResolvePortName(std::string_view name, const PortTable& table);

}  // namespace zlm5
