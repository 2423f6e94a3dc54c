// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the start of a file on Windows.
#include <windows.h>

#include <algorithm>

#include "files/file_handle_win.h"
#include "files/file_reading.h"

namespace zlm5 {

namespace {

Error SystemError(const std::string& path, const std::string& doing, DWORD code) {
  return Error::FromSystem(path, static_cast<int>(code), doing);
}

}  // namespace

Result<std::string> ReadFileStart(const std::string& path, const FileReadRules& rules) {
  // Shared every way, so that a file another program has open (an editor,
  // a backup tool) can still be read. FILE_FLAG_BACKUP_SEMANTICS opens a
  // folder too, so that it is told as one rather than as "Access is denied".
  FileHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return SystemError(path, "cannot open the file: ", GetLastError());
  bool pipe = false;
  switch (GetFileType(file.get())) {
    case FILE_TYPE_DISK: {
      BY_HANDLE_FILE_INFORMATION info{};
      if (!GetFileInformationByHandle(file.get(), &info)) {
        return SystemError(path, "cannot open the file: ", GetLastError());
      }
      if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Error(path, "cannot read the file: it is a folder");
      }
      break;
    }
    case FILE_TYPE_PIPE:
      // A named pipe (\\.\pipe\NAME) is read as its writer sends.
      pipe = true;
      break;
    default:
      // NUL, CON, a COM port: a serial port would give what a radio sends.
      return Error(path, "cannot open the file: it is a device, not " + std::string(rules.kind));
  }

  // One byte more than the limit tells a full file from a larger one.
  const std::size_t wanted = rules.refuse_larger ? rules.limit + 1 : rules.limit;
  std::string bytes;
  char buffer[64 * 1024];
  while (bytes.size() < wanted) {
    const auto room = static_cast<DWORD>(std::min(sizeof buffer, wanted - bytes.size()));
    DWORD n = 0;
    if (!ReadFile(file.get(), buffer, room, &n, nullptr)) {
      const DWORD error = GetLastError();
      // The writer of a pipe has closed it: the end of the file.
      if (pipe && error == ERROR_BROKEN_PIPE) break;
      // A message longer than the room: the rest comes with the next read.
      if (pipe && error == ERROR_MORE_DATA) {
        bytes.append(buffer, n);
        continue;
      }
      return SystemError(path, "cannot read the file: ", error);
    }
    // A pipe may pass on an empty message; only a file ends with nothing.
    if (n == 0 && !pipe) break;
    bytes.append(buffer, n);
  }
  if (bytes.size() > rules.limit) {
    return Error(path, "cannot read the file: it is larger than " + std::to_string(rules.limit) +
                           " bytes, too large for " + std::string(rules.kind));
  }
  return bytes;
}

}  // namespace zlm5
