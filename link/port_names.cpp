// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_names.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "files/user_folders.h"
#include "files/utf8_path.h"
#include "model/text_util.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

// The highest COM port number Windows gives out.
constexpr int kMaxComPort = 256;
// Before a name, it says the name is a device's, not a file's.
constexpr std::string_view kDevicePrefix = R"(\\.\)";

// Index 0..3 of "COM1".."COM4" in any letter case, or -1.
int PortIndex(std::string_view name) {
  const std::optional<int> number = ComPortNumber(name);
  return number && *number <= static_cast<int>(kPortNames.size()) ? *number - 1 : -1;
}

}  // namespace

std::string PortSettingsPath() {
  return Utf8FromPath(PathFromUtf8(SettingsFolder()) / "ports.conf");
}

Result<PortTable> ParsePortTable(std::string_view text) {
  PortTable table;
  int line_number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = TrimBlanks(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++line_number;
    if (line.empty() || line.front() == '#') continue;
    const std::string where = "line " + std::to_string(line_number);
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return Error(where, "expected NAME = device path");
    const std::string_view name = TrimBlanks(line.substr(0, eq));
    const std::string_view path = TrimBlanks(line.substr(eq + 1));
    const int index = PortIndex(name);
    if (index < 0)
      return Error(where, "unknown port name \"" + std::string(name) + "\" (COM1 to COM4)");
    if (path.empty() || path.front() != '/') {
      return Error(where,
                   "the device of " + std::string(kPortNames[index]) + " must be an absolute path");
    }
    table.devices[static_cast<std::size_t>(index)] = std::string(path);
  }
  return table;
}

std::string FormatPortTable(const PortTable& table) {
  std::string out = "# z-lm5 serial ports: NAME = device path\n";
  for (std::size_t i = 0; i < kPortNames.size(); ++i) {
    out += std::string(kPortNames[i]) + " = " + table.devices[i] + "\n";
  }
  return out;
}

Status SavePortTable(const std::string& path, const PortTable& table) {
  std::error_code ec;
  const fs::path target(path);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  if (ec) return Error(target.parent_path().string(), ec.message(), ec.value());
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return Error::FromErrno(temp, errno);
    out << FormatPortTable(table);
    out.flush();
    if (!out) return Error::FromErrno(temp, errno);
  }
  fs::rename(temp, target, ec);
  if (ec) {
    const Error renaming(path, ec.message(), ec.value());
    fs::remove(temp, ec);
    return renaming;
  }
  return Ok{};
}

std::optional<int> ComPortNumber(std::string_view name) {
  constexpr std::string_view kCom = "COM";
  if (name.size() <= kCom.size() || !StartsWithIgnoringCase(name, kCom)) return std::nullopt;
  const std::string_view digits = name.substr(kCom.size());
  if (digits.size() > 3 || digits.front() == '0') return std::nullopt;
  int number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  if (number > kMaxComPort) return std::nullopt;
  return number;
}

std::optional<std::string> ComPortKey(std::string_view name) {
  if (name.starts_with(kDevicePrefix)) name.remove_prefix(kDevicePrefix.size());
  const std::optional<int> number = ComPortNumber(name);
  if (!number) return std::nullopt;
  return "COM" + std::to_string(*number);
}

std::string ComDevicePath(std::string_view name) {
  if (name.starts_with(kDevicePrefix)) return std::string(name);
  if (const std::optional<std::string> key = ComPortKey(name)) {
    return std::string(kDevicePrefix) + *key;
  }
  return std::string(name);
}

}  // namespace zlm5
