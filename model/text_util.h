// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zlm5 {

// Small text helpers of the core. Texts are UTF-8; only ASCII letters have a
// case here, whatever the process locale.

constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// `text` without the blanks (spaces, tabs, line ends) around it.
std::string_view TrimBlanks(std::string_view text);

// True when `text` begins with `prefix`, ignoring ASCII case.
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

// Length in bytes of the UTF-8 character that starts at byte `pos` (< size):
// 1 to 4; a byte that does not start a valid sequence counts as a character
// of its own.
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

}  // namespace zlm5
