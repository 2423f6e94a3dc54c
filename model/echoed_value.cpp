// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/echoed_value.h"

#include <cstdio>

#include "model/text_util.h"

namespace zlm5 {

namespace {

constexpr std::string_view kCut = "...";
// UTF-8 of U+0080 to U+009F, the second range of control characters.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1Last = 0x9F;

void AppendHex(std::string& out, const char* format, unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, format, value);
  out += buffer;
}

}  // namespace

std::string EchoedValue(std::string_view value) {
  std::string out;
  std::size_t characters = 0;
  for (std::size_t pos = 0; pos < value.size(); ++characters) {
    if (characters == kMaxEchoedCharacters) {
      out += kCut;
      break;
    }
    const std::size_t length = Utf8CharLength(value, pos);
    const auto byte = static_cast<unsigned char>(value[pos]);
    if (byte == '\n') {
      out += "\\n";
    } else if (byte == '\r') {
      out += "\\r";
    } else if (byte == '\t') {
      out += "\\t";
    } else if (byte < 0x20 || byte == 0x7F || (length == 1 && byte >= 0x80)) {
      AppendHex(out, "\\x%02X", byte);
    } else if (length == 2 && byte == kC1Lead &&
               static_cast<unsigned char>(value[pos + 1]) <= kC1Last) {
      AppendHex(out, "\\u%04X", static_cast<unsigned char>(value[pos + 1]));
    } else {
      out.append(value.substr(pos, length));
    }
    pos += length;
  }
  return out;
}

std::string QuotedValue(std::string_view value) { return "'" + EchoedValue(value) + "'"; }

}  // namespace zlm5
