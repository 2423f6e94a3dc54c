// SPDX-License-Identifier: GPL-3.0-or-later
// For the Windows files of this folder only: an owned file HANDLE.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>

#include "files/utf8_path.h"

namespace zlm5 {

// The UTF-16 name the W functions take for the UTF-8 path `path`.
inline std::wstring WidePath(const std::string& path) { return PathFromUtf8(path).wstring(); }

// Writes all of `bytes` to `file` at its file pointer, again after a short
// write; false with GetLastError() set when a write fails.
inline bool WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
  // WriteFile takes at most 4 GiB less one byte at a time.
  constexpr std::size_t kMaxChunk = 1u << 30;
  const std::uint8_t* data = bytes.data();
  std::size_t size = bytes.size();
  while (size > 0) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min(size, kMaxChunk));
    if (!WriteFile(file, data, chunk, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_WRITE_FAULT);
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

// Owns an open file handle and closes it when it goes out of scope.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now and reports the result.
  bool Close() {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

}  // namespace zlm5
