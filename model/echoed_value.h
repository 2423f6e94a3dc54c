// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zlm5 {

// A value read from a file, as a report line repeats it to the user: one
// line of readable text whatever the file held.
//   - at most kMaxEchoedCharacters characters, then "..." for the rest;
//   - a line end or tab as \n, \r or \t, any other control character (C0,
//     DEL, and U+0080 to U+009F) as \xNN or \uNNNN;
//   - a byte that does not belong to a valid UTF-8 character as \xNN.
// Other characters, blanks and backslashes included, stay as they are.
inline constexpr std::size_t kMaxEchoedCharacters = 40;
std::string EchoedValue(std::string_view value);

// EchoedValue in single quotes: 'value'.
std::string QuotedValue(std::string_view value);

}  // namespace zlm5
