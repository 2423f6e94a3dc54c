// SPDX-License-Identifier: GPL-3.0-or-later
// The user's folders on Linux and other POSIX systems: the XDG base
// directories.
#include "files/user_folders.h"

#include <cstdlib>
#include <filesystem>

#include "files/utf8_path.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgramFolder = "z-lm5";

// $VARIABLE when it is an absolute path, else ~/`fallback` (the current
// folder standing in for a missing home).
fs::path XdgBase(const char* variable, const fs::path& fallback) {
  const char* xdg = std::getenv(variable);
  if (xdg && xdg[0] == '/') return PathFromUtf8(xdg);
  const char* home = std::getenv("HOME");
  return PathFromUtf8(home && home[0] ? home : ".") / fallback;
}

}  // namespace

std::string SettingsFolder() {
  return Utf8FromPath(XdgBase("XDG_CONFIG_HOME", ".config") / kProgramFolder);
}

std::string DataFolder() {
  return Utf8FromPath(XdgBase("XDG_DATA_HOME", fs::path(".local") / "share") / kProgramFolder);
}

std::string SettingsFileHelp(std::string_view name) {
  return "~/.config/z-lm5/" + std::string(name);
}

std::string DataFolderHelp(std::string_view name) {
  const std::string in = "z-lm5/" + std::string(name);
  return "$XDG_DATA_HOME/" + in + " (~/.local/share/" + in + " when XDG_DATA_HOME is not set)";
}

}  // namespace zlm5
