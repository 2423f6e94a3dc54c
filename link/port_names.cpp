// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_names.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "files/file_descriptor.h"
#include "files/user_folders.h"
#include "files/utf8_path.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

// Index 0..3 of "COM1".."COM4" in any letter case, or -1.
int PortIndex(std::string_view name) {
  for (std::size_t i = 0; i < kPortNames.size(); ++i) {
    const std::string_view known = kPortNames[i];
    if (name.size() == known.size() &&
        std::equal(name.begin(), name.end(), known.begin(), [](char a, char b) {
          return std::toupper(static_cast<unsigned char>(a)) == b;
        })) {
      return static_cast<int>(i);
    }
  }
  return -1;
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
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++line_number;
    if (line.empty() || line.front() == '#') continue;
    const std::string where = "line " + std::to_string(line_number);
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return Error(where, "expected NAME = device path");
    const std::string_view name = Trim(line.substr(0, eq));
    const std::string_view path = Trim(line.substr(eq + 1));
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

Result<PortTable> LoadPortTable(const std::string& path) {
  constexpr std::string_view kCannotRead = "cannot read the port settings: ";
  // O_NONBLOCK: a named pipe put there must not hold the program at the open.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) {
    if (errno == ENOENT) return PortTable{};
    return Error::FromErrno(path, errno, kCannotRead);
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return Error::FromErrno(path, errno, kCannotRead);
  // A device (a link to /dev/zero) would never end.
  if (!S_ISREG(info.st_mode)) {
    return Error(path, std::string(kCannotRead) + "it is not a regular file");
  }
  // One byte more than allowed, to tell a full file from a larger one.
  std::string text(kMaxPortSettingsBytes + 1, '\0');
  std::size_t filled = 0;
  while (filled < text.size()) {
    const ssize_t n = ::read(fd.get(), text.data() + filled, text.size() - filled);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Error::FromErrno(path, errno, kCannotRead);
    }
    if (n == 0) break;
    filled += static_cast<std::size_t>(n);
  }
  if (filled > kMaxPortSettingsBytes) {
    return Error(path, std::string(kCannotRead) + "larger than " +
                           std::to_string(kMaxPortSettingsBytes) + " bytes");
  }
  text.resize(filled);
  auto table = ParsePortTable(text);
  if (!table) table.error().Within(path);
  return table;
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

bool IsComPortName(std::string_view name) { return PortIndex(Trim(name)) >= 0; }

Result<std::string> ResolvePortName(std::string_view name, const PortTable& table) {
  const std::string_view trimmed = Trim(name);
  if (!trimmed.empty() && trimmed.front() == '/') return std::string(trimmed);
  const int index = PortIndex(trimmed);
  if (index < 0) {
    return Error("port \"" + std::string(name) + "\"",
                 "unknown port name; use COM1 to COM4 or a device path such as /dev/ttyUSB0");
  }
  return table.devices[static_cast<std::size_t>(index)];
}

}  // namespace zlm5
