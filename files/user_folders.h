// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zlm5 {

// Where the program keeps what belongs to the user rather than to a
// document, by the platform's own rules. All paths are UTF-8.
//
//   settings (ports.conf)   Linux: $XDG_CONFIG_HOME/z-lm5, or
//                           ~/.config/z-lm5 when XDG_CONFIG_HOME is unset
//                           or not absolute
//                           Windows: %APPDATA%\z-lm5 (the roaming profile,
//                           which follows the user to other machines)
//   data (backups)          Linux: $XDG_DATA_HOME/z-lm5, or
//                           ~/.local/share/z-lm5 likewise
//                           Windows: %LOCALAPPDATA%\z-lm5 (kept on this
//                           machine: backups are many and belong to it)
//
// On Windows a variable that is unset or not an absolute path gives way to
// the folder the system knows for the user (SHGetKnownFolderPath), so that
// a test or a portable set-up can move both folders as XDG_* do on Linux.
// Neither function creates its folder.
std::string SettingsFolder();
std::string DataFolder();

// How help texts name the file or folder `name` inside the settings or data
// folder: "~/.config/z-lm5/ports.conf" and "$XDG_DATA_HOME/z-lm5/backups
// (~/.local/share/z-lm5/backups when XDG_DATA_HOME is not set)" on Linux,
// "%APPDATA%\z-lm5\ports.conf" and "%LOCALAPPDATA%\z-lm5\backups" on
// Windows. The settings file is named shortly, as option texts have room
// for one line.
std::string SettingsFileHelp(std::string_view name);
std::string DataFolderHelp(std::string_view name);

}  // namespace zlm5
