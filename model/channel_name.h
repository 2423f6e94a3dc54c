// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/radio_image.h"

namespace zlm5 {

// The radio's character code of channel names:
//   0-9 "0"-"9", 10-35 "A"-"Z", 36 "-", 37 space, 38-254 shown as "-",
//   0xFF ends the name (and stands for any character the radio lacks).
namespace name_code {
inline constexpr std::uint8_t kFirstLetter = 10;
inline constexpr std::uint8_t kDash = 36;
inline constexpr std::uint8_t kSpace = 37;
inline constexpr std::uint8_t kEnd = 0xFF;
// The grid's name editor holds at most this many characters; the image 8.
inline constexpr std::size_t kEditorMaxLength = 6;
}  // namespace name_code

// Code of one character: digits, upper-case letters, "-" and space have one;
// every other character (lower-case letters included) gives 0xFF.
std::uint8_t NameCharToCode(char c);

// Character shown for a code below 0xFF ("-" for the codes 36 and 38-254).
char NameCodeToChar(std::uint8_t code);

// The name as the grid shows it: characters up to the first 0xFF, at most 8.
std::string NameBytesToText(std::span<const std::uint8_t, image_map::kNameSize> bytes);

// Writes a name text: position i gets the code of character i (one UTF-8
// sequence is one character), 0xFF after the end; characters after the
// eighth are dropped, and one without a code is stored as 0xFF, which ends
// the name there when it is read back.
void TextToNameBytes(std::string_view text, std::span<std::uint8_t, image_map::kNameSize> bytes);

// What the grid's name editor holds after `typed` is typed into it: letters
// in upper case, digits, "-" and space are kept, every other key is
// swallowed, and at most 6 characters are taken.
std::string NameEditorText(std::string_view typed);

}  // namespace zlm5
