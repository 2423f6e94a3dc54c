// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_record.h"

#include <algorithm>

namespace zlm5 {

std::uint8_t BcdPairByte(unsigned value, unsigned max_high_nibble) {
  max_high_nibble = std::min(max_high_nibble, 15u);
  value = std::min(value, max_high_nibble * 10 + 15);
  const unsigned high = std::min(value / 10, max_high_nibble);
  const unsigned low = value - high * 10;
  return static_cast<std::uint8_t>(high << 4 | low);
}

std::uint32_t ReadFrequency(std::span<const std::uint8_t, 4> bytes) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value * 100 + BcdPairValue(bytes[i]);
  return value;
}

void WriteFrequency(std::span<std::uint8_t, 4> bytes, std::uint32_t count) {
  if (count == record_layout::kNoFrequency) {
    std::fill(bytes.begin(), bytes.end(), 0xFF);
    return;
  }
  count = std::min(count, record_layout::kMaxStorableCount);
  // From the top pair down, each pair takes as much as it can hold, so that
  // a count up to 99999999 gives plain BCD and a larger one the bytes it was
  // read from. The top byte stays below 0xFF (which would mean "no frequency").
  static constexpr std::uint32_t kUnits[4] = {1, 100, 10000, 1000000};
  std::uint32_t rest = count;
  for (int i = 3; i >= 0; --i) {
    const unsigned limit = i == 3 ? 164 : 165;
    const unsigned pair = std::min<std::uint32_t>(rest / kUnits[i], limit);
    bytes[i] = BcdPairByte(pair);
    rest -= pair * kUnits[i];
  }
}

bool FrequencyPresent(std::span<const std::uint8_t, 4> bytes) {
  return bytes[3] != 0x00 && bytes[3] != 0xFF;
}

bool ChannelInUse(std::span<const std::uint8_t, image_map::kRecordSize> record) {
  return FrequencyPresent(ReceiveBytes(record)) || FrequencyPresent(TransmitBytes(record));
}

}  // namespace zlm5
