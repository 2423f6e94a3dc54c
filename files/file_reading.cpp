// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_reading.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "files/file_descriptor.h"

namespace zlm5 {

namespace {

Error OsError(const std::string& path, const std::string& doing, int error_number) {
  return Error::FromErrno(path, error_number, doing);
}

// Waits until a named pipe has bytes or its writer has closed it. A pipe
// opened before any writer came reports neither, so this also waits for the
// writer to come, as reading a pipe on the command line does.
bool WaitForPipe(int fd) {
  pollfd wait_for{fd, POLLIN, 0};
  for (;;) {
    if (::poll(&wait_for, 1, -1) >= 0) return true;
    if (errno != EINTR) return false;
  }
}

}  // namespace

Result<std::string> ReadFileStart(const std::string& path, const FileReadRules& rules) {
  // O_NONBLOCK has no effect on reading a regular file.
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) return OsError(path, "cannot open the file: ", errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return OsError(path, "cannot open the file: ", errno);
  if (S_ISDIR(info.st_mode)) return Error(path, "cannot read the file: it is a folder");
  if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode) || S_ISSOCK(info.st_mode)) {
    return Error(path, "cannot open the file: it is a device, not " + std::string(rules.kind));
  }
  const bool pipe = S_ISFIFO(info.st_mode);

  // One byte more than the limit tells a full file from a larger one.
  const std::size_t wanted = rules.refuse_larger ? rules.limit + 1 : rules.limit;
  std::string bytes;
  char buffer[64 * 1024];
  while (bytes.size() < wanted) {
    if (pipe && !WaitForPipe(fd.get())) return OsError(path, "cannot read the file: ", errno);
    const std::size_t room = std::min(sizeof buffer, wanted - bytes.size());
    const ssize_t n = ::read(fd.get(), buffer, room);
    if (n < 0) {
      if (errno == EINTR || (pipe && errno == EAGAIN)) continue;
      return OsError(path, "cannot read the file: ", errno);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  if (bytes.size() > rules.limit) {
    return Error(path, "cannot read the file: it is larger than " + std::to_string(rules.limit) +
                           " bytes, too large for " + std::string(rules.kind));
  }
  return bytes;
}

}  // namespace zlm5
