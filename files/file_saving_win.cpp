// SPDX-License-Identifier: GPL-3.0-or-later
// Saving files on Windows. Where this differs from Linux, and why:
// - A read-only file (its read-only attribute) is refused as a file the
//   user may not write is on Linux; a file another program holds open
//   without sharing its writing (ERROR_SHARING_VIOLATION) is refused with
//   the system's reason before anything is written.
// - Whether the folder takes a new file cannot be told beforehand from its
//   security settings without trying, so SaveTarget::in_place stays false;
//   an existing file is written in place when the temporary file is
//   refused (ERROR_ACCESS_DENIED), as Linux does for an access control list.
// - An existing file is replaced with ReplaceFileW, which keeps its
//   attributes and security settings, where Linux copies the permissions
//   and owner to the temporary file.
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "files/file_handle_win.h"
#include "files/file_saving.h"
#include "files/temporary_file.h"

namespace zlm5 {

namespace {

namespace fs = std::filesystem;

// ERROR_DISK_QUOTA_EXCEEDED, which mingw's headers lack.
constexpr DWORD kDiskQuotaExceeded = 1295;

Error SystemError(const std::string& path, const std::string& doing, DWORD code) {
  return Error::FromSystem(path, static_cast<int>(code), doing);
}

// The folder part of a path, "." when there is none.
std::string FolderOf(const std::string& path) {
  const fs::path parent = PathFromUtf8(path).parent_path();
  return parent.empty() ? std::string(".") : Utf8FromPath(parent);
}

// Opens `path` without reading or writing it (for its type), following links.
HANDLE OpenToLookAt(const std::string& path) {
  return CreateFileW(WidePath(path).c_str(), 0,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Why the open file cannot be saved over, or nothing for a regular file.
std::optional<Error> TypeProblem(const std::string& path, HANDLE file) {
  switch (GetFileType(file)) {
    case FILE_TYPE_DISK: {
      BY_HANDLE_FILE_INFORMATION info{};
      if (!GetFileInformationByHandle(file, &info)) {
        return SystemError(path, "cannot save: ", GetLastError());
      }
      if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Error(path, "cannot save: it is a folder");
      }
      return std::nullopt;
    }
    case FILE_TYPE_CHAR:
      // NUL, CON, COM1: a rename would fail or put a file in their place,
      // and writing into them is not saving.
      return Error(path, "cannot save: it is a device, not a regular file");
    case FILE_TYPE_PIPE:
      return Error(path, "cannot save: it is a named pipe, not a regular file");
    default:
      return Error(path, "cannot save: it is not a regular file");
  }
}

// The path a handle was opened by, after every link, without the "\\?\"
// that Windows puts before it.
std::optional<std::string> FinalPath(HANDLE file) {
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(
        file, text.data(), static_cast<DWORD>(text.size()), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return std::nullopt;
    if (length < text.size()) {
      text.resize(length);
      break;
    }
    text.resize(length + 1);
  }
  if (text.starts_with(L"\\\\?\\UNC\\")) {
    text = L"\\\\" + text.substr(8);
  } else if (text.starts_with(L"\\\\?\\")) {
    text = text.substr(4);
  }
  return Utf8FromPath(fs::path(text));
}

// What a symbolic link says, as dir would show it.
std::string LinkText(const std::string& path) {
  std::error_code ec;
  const fs::path target = fs::read_symlink(PathFromUtf8(path), ec);
  return ec ? std::string("a missing file") : Utf8FromPath(target);
}

// Makes room for `size` bytes before a byte of the file is overwritten, so
// that a full disk stops the save while the old contents are still whole.
// Setting the allocation below the file's size would cut it: a file that
// does not grow already has its room.
Status ReserveInPlace(const std::string& path, HANDLE file, std::size_t size) {
  LARGE_INTEGER old_size{};
  if (!GetFileSizeEx(file, &old_size)) return SystemError(path, "cannot save: ", GetLastError());
  if (static_cast<std::uint64_t>(old_size.QuadPart) >= size) return Ok{};
  FILE_ALLOCATION_INFO room{};
  room.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
  if (SetFileInformationByHandle(file, FileAllocationInfo, &room, sizeof room)) return Ok{};
  const DWORD error = GetLastError();
  if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL || error == kDiskQuotaExceeded) {
    return SystemError(path, "cannot save: ", error);
  }
  return SystemError(path,
                     "cannot save: its folder takes no new file, and the file cannot be written "
                     "in place safely: ",
                     error);
}

// Overwrites the target itself; used where its folder takes no new file.
Status RewriteInPlace(const std::string& path, const SaveTarget& target,
                      std::span<const std::uint8_t> bytes) {
  FileHandle file(CreateFileW(WidePath(target.path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return SystemError(path, "cannot save: ", GetLastError());
  if (std::optional<Error> problem = TypeProblem(path, file.get())) return *problem;
  if (Status reserved = ReserveInPlace(path, file.get(), bytes.size()); !reserved) return reserved;
  // Written first and cut to size after, so that a failed write of a file
  // that keeps its size leaves no shorter file behind.
  if (!WriteAll(file.get(), bytes)) return SystemError(path, "cannot save: ", GetLastError());
  if (!SetEndOfFile(file.get())) return SystemError(path, "cannot save: ", GetLastError());
  if (!FlushFileBuffers(file.get())) return SystemError(path, "cannot save: ", GetLastError());
  if (!file.Close()) return SystemError(path, "cannot save: ", GetLastError());
  return Ok{};
}

// Writes a temporary file beside the target and puts it in its place.
// `folder_refused` tells the caller that the folder took no temporary file.
Status ReplaceThroughTemporary(const std::string& path, const SaveTarget& target,
                               std::span<const std::uint8_t> bytes, bool& folder_refused) {
  folder_refused = false;
  // Beside the target, so that the move stays within one volume and
  // replaces the target in one step.
  const std::string folder = FolderOf(target.path);
  Result<TemporaryFile> temp = TemporaryFile::Create(folder);
  if (!temp) {
    const int code = temp.error().code();
    if (code == 0) return Error(path, "cannot save: " + temp.error().reason());
    folder_refused = code == ERROR_ACCESS_DENIED;
    return Error::FromSystem(path, code, "cannot save: cannot create a file in " + folder + ": ");
  }
  const auto fail = [&path](const Error& error) {
    return Error(path, "cannot save: " + error.reason(), error.code());
  };
  if (Status written = temp->Write(bytes); !written) return fail(written.error());
  if (Status renamed = temp->RenameTo(target.path); !renamed) return fail(renamed.error());
  return Ok{};
}

}  // namespace

Result<SaveTarget> CheckSaveTarget(const std::string& path) {
  if (path.empty()) return Error("(no file name)", "cannot save: the file name is empty");
  SaveTarget target{path};

  const std::wstring wide = WidePath(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return target;  // a new file in a folder that is there
    if (error == ERROR_PATH_NOT_FOUND) {
      return SystemError(path, "cannot save: cannot create a file in " + FolderOf(path) + ": ",
                         error);
    }
    // A device (COM1, \\.\NAME) may have no attributes: opening tells.
  }

  FileHandle existing(OpenToLookAt(path));
  if (!existing) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    if (missing && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
      // Saving would replace the link by a plain file: refused instead.
      return Error(path, "cannot save: it is a symbolic link to " + LinkText(path) +
                             ", which does not exist");
    }
    if (missing) return target;
    return SystemError(path, "cannot save: ", error);
  }
  if (std::optional<Error> problem = TypeProblem(path, existing.get())) return *problem;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    // A link to a file: that file is saved, and the link kept.
    if (std::optional<std::string> followed = FinalPath(existing.get())) target.path = *followed;
  }
  existing.Close();

  const DWORD own = GetFileAttributesW(WidePath(target.path).c_str());
  // A write-protected file stays protected: the replacement would
  // otherwise take its place.
  if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_READONLY) != 0) {
    return Error(path, "cannot save: the file is read-only, and may not be written",
                 ERROR_ACCESS_DENIED);
  }
  // Whether the user may write it, and whether another program holds it
  // open against writing, before anything is written or read from a radio.
  FileHandle writable(CreateFileW(WidePath(target.path).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!writable) return SystemError(path, "cannot save: ", GetLastError());
  target.exists = true;
  return target;
}

Status SaveFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  const Result<SaveTarget> target = CheckSaveTarget(path);
  if (!target) return target.error();
  bool folder_refused = false;
  Status replaced = ReplaceThroughTemporary(path, *target, bytes, folder_refused);
  // A folder whose security settings let the user change its files but
  // not add any: the file is written in place.
  if (!replaced && folder_refused && target->exists) return RewriteInPlace(path, *target, bytes);
  return replaced;
}

}  // namespace zlm5
