// SPDX-License-Identifier: GPL-3.0-or-later
// The port names on Linux: COM1 to COM4 are names for devices that the
// settings file chooses; anything else is a device path.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <filesystem>

#include "files/file_descriptor.h"
#include "link/port_names.h"
#include "model/text_util.h"

namespace zlm5 {
namespace {

// Index 0..3 of "COM1".."COM4" in any letter case, or -1.
int TableIndex(std::string_view name) {
  const std::optional<int> number = ComPortNumber(name);
  return number && *number <= static_cast<int>(kPortNames.size()) ? *number - 1 : -1;
}

}  // namespace

std::array<std::string, 4> DefaultPortDevices() {
  return {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"};
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

bool IsComPortName(std::string_view name) { return TableIndex(TrimBlanks(name)) >= 0; }

Result<std::string> ResolvePortName(std::string_view name, const PortTable& table) {
  const std::string_view trimmed = TrimBlanks(name);
  if (!trimmed.empty() && trimmed.front() == '/') return std::string(trimmed);
  const int index = TableIndex(trimmed);
  if (index < 0) {
    return Error("port \"" + std::string(name) + "\"",
                 "unknown port name; use COM1 to COM4 or a device path such as /dev/ttyUSB0");
  }
  return table.devices[static_cast<std::size_t>(index)];
}

std::string PortIdentity(const std::string& device) {
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(device, ec);
  return ec ? device : canonical.string();
}

}  // namespace zlm5
