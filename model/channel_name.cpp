// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_name.h"

#include "model/text_util.h"

namespace zlm5 {

std::uint8_t NameCharToCode(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint8_t>(name_code::kFirstLetter + (c - 'A'));
  if (c == '-') return name_code::kDash;
  if (c == ' ') return name_code::kSpace;
  return name_code::kEnd;
}

char NameCodeToChar(std::uint8_t code) {
  if (code < name_code::kFirstLetter) return static_cast<char>('0' + code);
  if (code < name_code::kDash) return static_cast<char>('A' + (code - name_code::kFirstLetter));
  if (code == name_code::kSpace) return ' ';
  return '-';
}

std::string NameBytesToText(std::span<const std::uint8_t, image_map::kNameSize> bytes) {
  std::string text;
  for (const std::uint8_t code : bytes) {
    if (code == name_code::kEnd) break;
    text.push_back(NameCodeToChar(code));
  }
  return text;
}

void TextToNameBytes(std::string_view text, std::span<std::uint8_t, image_map::kNameSize> bytes) {
  std::size_t pos = 0;
  for (unsigned char& byte : bytes) {
    if (pos >= text.size()) {
      byte = name_code::kEnd;
      continue;
    }
    const std::size_t length = Utf8CharLength(text, pos);
    byte = length == 1 ? NameCharToCode(text[pos]) : name_code::kEnd;
    pos += length;
  }
}

std::string NameEditorText(std::string_view typed) {
  std::string text;
  for (const char c : typed) {
    if (text.size() >= name_code::kEditorMaxLength) break;
    const char upper = AsciiUpper(c);
    if ((upper >= 'A' && upper <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == ' ') {
      text.push_back(upper);
    }
  }
  return text;
}

}  // namespace zlm5
