// SPDX-License-Identifier: GPL-3.0-or-later
// The user's folders on Windows: the roaming and the local application
// data of the user's profile.
#include <windows.h>
// After windows.h, which it needs.
#include <knownfolders.h>
#include <shlobj.h>

#include <filesystem>
#include <string>

#include "files/user_folders.h"
#include "files/utf8_path.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kProgramFolder = "z-lm5";

// %VARIABLE% when it holds an absolute path, else the folder the system
// knows by `id`; empty when neither is there (a service without a
// profile), which leaves the folder relative to the current one.
fs::path ProfileFolder(const wchar_t* variable, const KNOWNFOLDERID& id) {
  // The wide environment: a user name with letters outside the code page
  // is part of these paths.
  const DWORD size = GetEnvironmentVariableW(variable, nullptr, 0);
  if (size > 0) {
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(variable, value.data(), size);
    value.resize(length);
    const fs::path path(value);
    if (length > 0 && length < size && path.is_absolute()) return path;
  }
  wchar_t* known = nullptr;
  fs::path path;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &known))) path = known;
  CoTaskMemFree(known);
  return path;
}

}  // namespace

std::string SettingsFolder() {
  return Utf8FromPath(ProfileFolder(L"APPDATA", FOLDERID_RoamingAppData) / kProgramFolder);
}

std::string DataFolder() {
  return Utf8FromPath(ProfileFolder(L"LOCALAPPDATA", FOLDERID_LocalAppData) / kProgramFolder);
}

std::string SettingsFileHelp(std::string_view name) {
  return "%APPDATA%\\z-lm5\\" + std::string(name);
}

std::string DataFolderHelp(std::string_view name) {
  return "%LOCALAPPDATA%\\z-lm5\\" + std::string(name);
}

}  // namespace zlm5
