// SPDX-License-Identifier: GPL-3.0-or-later
// The system's error texts on Windows: C runtime errno numbers through
// strerror_s, and the Win32 error numbers of GetLastError() through
// FormatMessageW, turned into UTF-8.
#include <windows.h>

#include <cstring>
#include <string>

#include "model/error.h"
#include "model/win32_text.h"

namespace zlm5 {

std::string ErrnoText(int error_number) {
  char buffer[256];
  if (strerror_s(buffer, sizeof buffer, error_number) != 0) return "Unknown error";
  return buffer;
}

std::string SystemErrorText(int code) {
  wchar_t* text = nullptr;
  // The system's language, as the rest of the system speaks to the user.
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0 || text == nullptr) return "Unknown error " + std::to_string(code);
  std::wstring wide(text, length);
  LocalFree(text);
  // "The system cannot find the file specified.\r\n": the message goes after
  // "PATH: cannot open the file: " like any other reason, so without the
  // line break and the full stop.
  while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' ' ||
                           wide.back() == L'.')) {
    wide.pop_back();
  }
  return Utf8FromWide(wide);
}

}  // namespace zlm5
