// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zlm5 {

// Text across the Win32 boundary: the core's UTF-8 to the UTF-16 of the
// wide (W) calls and back, never through a code page. Invalid sequences
// become U+FFFD.
std::wstring WideFromUtf8(std::string_view text);
std::string Utf8FromWide(std::wstring_view text);

}  // namespace zlm5
