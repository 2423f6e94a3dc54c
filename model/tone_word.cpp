// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/tone_word.h"

#include <algorithm>
#include <cmath>

#include "model/channel_record.h"
#include "model/frequency_text.h"

namespace zlm5 {

namespace {

constexpr std::uint8_t kDcsNormalBase = 0x80;
constexpr std::uint8_t kDcsInvertedBase = 0xC0;
constexpr unsigned kMaxDcsNormalHundreds = 0xBF - kDcsNormalBase;      // 63
constexpr unsigned kMaxDcsInvertedHundreds = 0xFE - kDcsInvertedBase;  // 62
constexpr unsigned kMaxCtcssHighNibble = 7;
constexpr unsigned kMaxCtcssHigh = kMaxCtcssHighNibble * 10 + 15;  // 0x7F reads as 85
constexpr unsigned kMaxPair = 165;                                 // 0xFF reads as 165

// The leading decimal digits of `text` (0 when there are none), saturating
// well above any code a tone word can hold.
unsigned LeadingDigits(std::string_view text) {
  unsigned value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min(value * 10 + static_cast<unsigned>(c - '0'), 1000000u);
  }
  return value;
}

// `below_hundred` is the "D0" prefix of the text: the word's hundreds are 0.
// A damaged low byte (nibbles above 9) shows codes 100-165 with that prefix
// ("D0105N" for A5 80), and they must be written back the way they read.
ToneWord DcsWord(unsigned code, bool normal, bool below_hundred) {
  const unsigned max_hundreds =
      below_hundred ? 0 : (normal ? kMaxDcsNormalHundreds : kMaxDcsInvertedHundreds);
  code = std::min(code, max_hundreds * 100 + kMaxPair);
  const unsigned hundreds = std::min(code / 100, max_hundreds);
  ToneWord word;
  word.high = static_cast<std::uint8_t>((normal ? kDcsNormalBase : kDcsInvertedBase) + hundreds);
  word.low = BcdPairByte(code - hundreds * 100);
  return word;
}

ToneWord CtcssWord(long long tenths) {
  if (tenths <= 0) return ToneWord{};
  const unsigned t =
      static_cast<unsigned>(std::min<long long>(tenths, kMaxCtcssHigh * 100 + kMaxPair));
  const unsigned high = std::min(t / 100, kMaxCtcssHigh);
  ToneWord word;
  word.high = BcdPairByte(high, kMaxCtcssHighNibble);
  word.low = BcdPairByte(t - high * 100);
  return word;
}

}  // namespace

ToneWord::Class ToneWord::ToneClass() const {
  if (high == 0x00 || high == 0xFF) return Class::None;
  if (high < kDcsNormalBase) return Class::Ctcss;
  if (high < kDcsInvertedBase) return Class::DcsNormal;
  return Class::DcsInverted;
}

ToneWord ToneWord::FromText(std::string_view text) {
  if (text.find('D') != std::string_view::npos) {
    const std::string_view rest = text.substr(1);
    return DcsWord(LeadingDigits(rest), text.find('N') != std::string_view::npos,
                   rest.starts_with('0'));
  }
  const double tenths = ReadLeadingNumber(text) * 10.0;
  if (!(tenths > 0)) return ToneWord{};  // also NaN and negative values
  return CtcssWord(tenths >= 1e9 ? 1000000000LL : static_cast<long long>(std::trunc(tenths)));
}

std::string ToneWord::ToText(bool channel_in_use) const {
  const Class tone_class = ToneClass();
  if (tone_class == Class::None) return channel_in_use ? "OFF" : "";
  if (tone_class == Class::Ctcss) {
    const unsigned tenths = BcdPairValue(high) * 100 + BcdPairValue(low);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  }
  const bool normal = tone_class == Class::DcsNormal;
  const unsigned hundreds = high - (normal ? kDcsNormalBase : kDcsInvertedBase);
  const unsigned code = hundreds * 100 + BcdPairValue(low);
  return (hundreds == 0 ? "D0" : "D") + std::to_string(code) + (normal ? "N" : "I");
}

}  // namespace zlm5
