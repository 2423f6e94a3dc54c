// SPDX-License-Identifier: GPL-3.0-or-later
// Temporary files of saves on Windows.
#include <windows.h>

#include <random>
#include <utility>

#include "files/file_handle_win.h"
#include "files/temporary_file.h"
#include "files/temporary_name.h"

namespace zlm5 {

namespace {

namespace fs = std::filesystem;

Error SystemError(const std::string& what, DWORD code) {
  return Error::FromSystem(what, static_cast<int>(code));
}

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// A FILETIME (100 ns steps since 1601) on the system clock.
std::chrono::system_clock::time_point FromFileTime(const FILETIME& time) {
  // 1601-01-01 to 1970-01-01 in 100 ns steps.
  constexpr std::uint64_t kUnixEpoch = 116444736000000000ULL;
  const std::uint64_t ticks =
      (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  const auto since_1970 = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>(
      static_cast<std::int64_t>(ticks - kUnixEpoch));
  return std::chrono::system_clock::time_point(
      std::chrono::duration_cast<std::chrono::system_clock::duration>(since_1970));
}

}  // namespace

void RemoveStaleTemporaryFiles(const std::string& folder,
                               std::chrono::system_clock::time_point now) {
  const fs::path base = PathFromUtf8(folder);
  const std::wstring pattern = (base / PathFromUtf8(std::string(temporary_name::kPrefix) + "*" +
                                                    std::string(temporary_name::kSuffix)))
                                   .wstring();
  WIN32_FIND_DATAW found{};
  HANDLE search =
      FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    // The pattern also matches short 8.3 names: the long name decides.
    const std::wstring name = found.cFileName;
    if (!temporary_name::Matches(Utf8FromPath(fs::path(name)))) continue;
    if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
      continue;
    }
    if (now - FromFileTime(found.ftLastWriteTime) < kStaleTemporaryAge) continue;
    // A save under way holds its file open without sharing its deletion,
    // so this fails for it and for a file that is not ours to delete.
    DeleteFileW((base / name).wstring().c_str());
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

TemporaryFile::TemporaryFile(std::string folder, std::string path, std::intptr_t handle)
    : folder_(std::move(folder)), path_(std::move(path)), handle_(handle) {}

TemporaryFile::TemporaryFile(TemporaryFile&& other) noexcept
    : folder_(std::move(other.folder_)),
      path_(std::exchange(other.path_, std::string())),
      handle_(std::exchange(other.handle_, -1)) {}

TemporaryFile::~TemporaryFile() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
  if (!path_.empty()) DeleteFileW(WidePath(path_).c_str());
}

Result<TemporaryFile> TemporaryFile::Create(const std::string& folder) {
  RemoveStaleTemporaryFiles(folder, std::chrono::system_clock::now());
  std::random_device random;
  for (int attempt = 0; attempt < temporary_name::kAttempts; ++attempt) {
    std::string path =
        Utf8FromPath(PathFromUtf8(folder) / temporary_name::Make(GetCurrentProcessId(), random()));
    // Others may read it but not delete it: that is what tells another
    // save that this file is in use (RemoveStaleTemporaryFiles).
    HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      return TemporaryFile(folder, std::move(path), reinterpret_cast<std::intptr_t>(file));
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
      return SystemError(folder, error);
    }
  }
  return Error(folder, "no free temporary file name");
}

Status TemporaryFile::Write(std::span<const std::uint8_t> bytes) {
  if (!WriteAll(AsHandle(handle_), bytes)) return SystemError(path_, GetLastError());
  if (!FlushFileBuffers(AsHandle(handle_))) return SystemError(path_, GetLastError());
  return Ok{};
}

void TemporaryFile::CloseNamed() {
  // Windows moves no file that is open without sharing its deletion, so
  // the file is closed before it is named. It has been flushed: the close
  // has nothing left to report.
  if (handle_ != -1) CloseHandle(AsHandle(std::exchange(handle_, -1)));
}

namespace {

// `path` made absolute against the current folder; as it is when that fails.
std::wstring FullPath(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  return full;
}

}  // namespace

Status TemporaryFile::RenameTo(const std::string& target) {
  CloseNamed();
  // Full paths: ReplaceFileW refuses relative ones on some systems (wine:
  // "Directory name invalid" for a file named without its folder).
  const std::wstring from = FullPath(WidePath(path_));
  const std::wstring to = FullPath(WidePath(target));
  // ReplaceFileW gives the new contents the replaced file's security and
  // creation time, as the replaced file keeps its permissions on Linux.
  // Its attributes (hidden, say) are copied first as well, since not every
  // implementation of ReplaceFileW carries them over (wine's does not). A
  // target that is gone since it was looked at is created.
  if (const DWORD attributes = GetFileAttributesW(to.c_str());
      attributes != INVALID_FILE_ATTRIBUTES) {
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if ((attributes & kKept) != 0) SetFileAttributesW(from.c_str(), attributes & kKept);
    if (ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                     nullptr)) {
      path_.clear();
      return Ok{};
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) return SystemError(path_, error);
  }
  if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return SystemError(path_, GetLastError());
  }
  path_.clear();
  return Ok{};
}

Result<TemporaryFile::Naming> TemporaryFile::LinkAs(const std::string& target) {
  CloseNamed();
  // Without MOVEFILE_REPLACE_EXISTING the move takes no name that exists,
  // in one step as link() does on POSIX.
  if (!MoveFileExW(WidePath(path_).c_str(), WidePath(target).c_str(), MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return Naming::kNameTaken;
    return SystemError(target, error);
  }
  path_.clear();
  return Naming::kNamed;
}

}  // namespace zlm5
