// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "model/error.h"

namespace zlm5 {

// Text across the Win32 boundary: the core's UTF-8 to the UTF-16 of the
// wide (W) calls and back, never through a code page. Invalid sequences
// become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

// The system's text for a Win32 error number (FormatMessageW), in UTF-8,
// without the ".\r\n" it ends with: "The system cannot find the file
// specified". "error N" for a number the system has no text for.
std::string Win32ErrorText(unsigned long code);

// A failed Win32 call: the reason is `doing` followed by the system's text,
// and the code is the Win32 number (std::system_category's values).
Error Win32Error(std::string what, unsigned long code, std::string_view doing = {});

}  // namespace zlm5
