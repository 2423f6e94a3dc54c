// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zlm5 {

// The two-byte tone field of a channel record (low byte first in the image).
// The high byte gives the class:
//   0x00, 0xFF   no tone (the encoder writes FF FF)
//   0x01-0x7F    CTCSS: H and L are four BCD digits of tenths of Hz
//   0x80-0xBF    DCS normal: code = (H - 0x80) x 100 + BCD(L)
//   0xC0-0xFE    DCS inverted: code = (H - 0xC0) x 100 + BCD(L)
struct ToneWord {
  enum class Class { None, Ctcss, DcsNormal, DcsInverted };

  std::uint8_t high = 0xFF;
  std::uint8_t low = 0xFF;

  Class ToneClass() const;

  // Tone text to word, as the encoder does it: a text holding an upper-case
  // "D" is a DCS code (inverted unless it holds an upper-case "N"); any other
  // text is read as Hz ("OFF" and "" read as 0 and give no tone). Values the
  // two bytes cannot hold (only ever read from a damaged image) are clamped
  // to the largest of their class rather than spilling into another class.
  static ToneWord FromText(std::string_view text);

  // Word to tone text: "OFF" for no tone on a channel in use, "" on a channel
  // not in use; CTCSS as "%3.1f" Hz ("67.0", "100.0"); DCS as "D", the code
  // and "N" or "I", with "D0" as the prefix below code 100 ("D023N", "D05N").
  std::string ToText(bool channel_in_use) const;

  friend bool operator==(const ToneWord&, const ToneWord&) = default;
};

}  // namespace zlm5
