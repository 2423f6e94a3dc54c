// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_saving.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "files/file_descriptor.h"
#include "files/temporary_file.h"

namespace zlm5 {

namespace {

Error OsError(const std::string& path, const std::string& doing, int error_number) {
  return Error::FromErrno(path, error_number, doing);
}

// The folder part of a path, "." when there is none.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// What a symbolic link says, as the user would see it with ls -l.
std::string LinkText(const std::string& path) {
  char text[PATH_MAX];
  const ssize_t n = ::readlink(path.c_str(), text, sizeof text);
  return n < 0 ? std::string("a missing file") : std::string(text, static_cast<std::size_t>(n));
}

// Why a file of this type cannot be saved over, or nullptr for a regular file.
const char* TypeProblem(mode_t mode) {
  if (S_ISREG(mode)) return nullptr;
  if (S_ISDIR(mode)) return "cannot save: it is a folder";
  // A rename would put a plain file in place of these (as root even in
  // place of /dev/null), and writing into them is not saving.
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "cannot save: it is a device, not a regular file";
  if (S_ISFIFO(mode)) return "cannot save: it is a named pipe, not a regular file";
  if (S_ISSOCK(mode)) return "cannot save: it is a socket, not a regular file";
  return "cannot save: it is not a regular file";
}

// Makes room for `size` bytes in the file before a byte of it is
// overwritten, so that a full disk (or the file size limit) stops the save
// while the old contents are still whole. A file system that cannot reserve
// the room refuses the in-place save with its reason; where the reservation
// grew the file before it failed, the file is cut back to `old_size`.
Status ReserveInPlace(const std::string& path, int fd, off_t old_size, std::size_t size) {
  int error_number = 0;
  do {
    error_number = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
  } while (error_number == EINTR);
  if (error_number == 0) return Ok{};
  struct stat now {};
  if (::fstat(fd, &now) == 0 && now.st_size != old_size) {
    if (::ftruncate(fd, old_size) != 0) {
      // Nothing more can be done; the old bytes themselves are untouched.
    }
  }
  if (error_number == ENOSPC || error_number == EFBIG || error_number == EDQUOT) {
    return OsError(path, "cannot save: ", error_number);
  }
  return OsError(path,
                 "cannot save: its folder takes no new file, and the file cannot be written "
                 "in place safely: ",
                 error_number);
}

// Overwrites the target itself; used where its folder takes no new file.
// The room is reserved first, so that a failure to write for lack of it
// leaves the old file as it was. (A file system that writes every changed
// block to a new place, btrfs say, may still need room that the
// reservation of the blocks already there did not promise.)
Status RewriteInPlace(const std::string& path, const SaveTarget& target,
                      std::span<const std::uint8_t> bytes) {
  // O_NONBLOCK: should the file have been swapped for a pipe since the
  // check, the open does not wait for a reader; fstat then refuses it.
  FileDescriptor fd(::open(target.path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return OsError(path, "cannot save: ", errno);
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return OsError(path, "cannot save: ", errno);
  if (const char* problem = TypeProblem(info.st_mode)) return Error(path, problem);
  if (Status reserved = ReserveInPlace(path, fd.get(), info.st_size, bytes.size()); !reserved) {
    return reserved;
  }
  // Written first and cut to size after, so that a failed write of a file
  // that keeps its size leaves no shorter file behind.
  if (!WriteAll(fd.get(), bytes)) return OsError(path, "cannot save: ", errno);
  if (::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0) {
    return OsError(path, "cannot save: ", errno);
  }
  if (::fsync(fd.get()) != 0) return OsError(path, "cannot save: ", errno);
  if (fd.Close() != 0) return OsError(path, "cannot save: ", errno);
  return Ok{};
}

// Writes a temporary file beside the target and renames it into place.
// `folder_refused` tells the caller that the folder took no temporary file.
Status ReplaceThroughTemporary(const std::string& path, const SaveTarget& target,
                               std::span<const std::uint8_t> bytes, bool& folder_refused) {
  folder_refused = false;
  // New files get the usual permissions (0666 less the umask); an existing
  // file keeps its own.
  struct stat existing {};
  const bool keep_mode = target.exists && ::stat(target.path.c_str(), &existing) == 0;

  // Beside the target, so that the rename stays within one file system and
  // replaces the target in one step.
  const std::string folder = FolderOf(target.path);
  Result<TemporaryFile> temp = TemporaryFile::Create(folder);
  if (!temp) {
    const int error_number = temp.error().code();
    if (error_number == 0) return Error(path, "cannot save: " + temp.error().reason());
    folder_refused = error_number == EACCES || error_number == EPERM;
    return OsError(path, "cannot save: cannot create a file in " + folder + ": ", error_number);
  }
  const auto fail = [&path](const Error& error) {
    return Error(path, "cannot save: " + error.reason(), error.code());
  };
  if (keep_mode) {
    // The replaced file keeps its owner where we may give it (root saving a
    // user's file must not leave it to root); anyone else gets their own.
    // Before fchmod, which a change of owner would undo for set-id bits.
    if (::fchown(static_cast<int>(temp->handle()), existing.st_uid, existing.st_gid) != 0) {
      // Not allowed: the file becomes ours, as a new file would.
    }
    if (::fchmod(static_cast<int>(temp->handle()), existing.st_mode & 07777) != 0) {
      return OsError(path, "cannot save: ", errno);
    }
  }
  if (Status written = temp->Write(bytes); !written) return fail(written.error());
  if (Status renamed = temp->RenameTo(target.path); !renamed) return fail(renamed.error());
  return Ok{};
}

}  // namespace

Result<SaveTarget> CheckSaveTarget(const std::string& path) {
  if (path.empty()) return Error("(no file name)", "cannot save: the file name is empty");
  SaveTarget target{path};

  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
      // Saving would replace the link by a plain file: refused instead.
      if (errno == ENOENT) {
        return Error(path, "cannot save: it is a symbolic link to " + LinkText(path) +
                               ", which does not exist");
      }
      return OsError(path, "cannot save: ", errno);
    }
    target.path = resolved;
  }

  const std::string folder = FolderOf(target.path);
  if (::stat(target.path.c_str(), &info) != 0) {
    if (errno != ENOENT) return OsError(path, "cannot save: ", errno);
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
      return OsError(path, "cannot save: cannot create a file in " + folder + ": ", errno);
    }
    return target;
  }
  if (const char* problem = TypeProblem(info.st_mode)) return Error(path, problem);
  // A write-protected file stays protected: the rename would otherwise
  // replace it, since only the folder's permissions count for that.
  if (::access(target.path.c_str(), W_OK) != 0) return OsError(path, "cannot save: ", errno);
  target.exists = true;
  target.in_place = ::access(folder.c_str(), W_OK | X_OK) != 0;
  return target;
}

Status SaveFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  const Result<SaveTarget> target = CheckSaveTarget(path);
  if (!target) return target.error();
  if (target->in_place) return RewriteInPlace(path, *target, bytes);
  bool folder_refused = false;
  Status replaced = ReplaceThroughTemporary(path, *target, bytes, folder_refused);
  // The folder's permissions can say more than access() tells (an access
  // control list, say): an existing file is then still written in place.
  if (!replaced && folder_refused && target->exists) return RewriteInPlace(path, *target, bytes);
  return replaced;
}

}  // namespace zlm5
