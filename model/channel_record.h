// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "model/radio_image.h"

namespace zlm5 {

// Layout of one 16-byte channel record (channel n at (n-1) x 16).
namespace record_layout {
inline constexpr std::size_t kReceive = 0;   // bytes 0-3: BCD frequency, lowest pair first
inline constexpr std::size_t kTransmit = 4;  // bytes 4-7: the same
inline constexpr std::size_t kFrequencySize = 4;
inline constexpr std::size_t kRxTone = 8;        // bytes 8 (low), 9 (high): ToneWord
inline constexpr std::size_t kTxTone = 10;       // bytes 10 (low), 11 (high)
inline constexpr std::size_t kOptSignal = 12;    // 1 = "None", 4 = "CCIR", 0 = neither
inline constexpr std::size_t kFlags = 13;        // power, bandwidth, scan, busy lock
inline constexpr std::size_t kSignalFlags = 14;  // bit 0: PTT ID
inline constexpr std::size_t kSpare = 15;        // never interpreted

inline constexpr std::uint8_t kOptSignalNone = 1;
inline constexpr std::uint8_t kOptSignalCcir = 4;

// Byte 13.
inline constexpr std::uint8_t kHighPowerBit = 0x20;
inline constexpr std::uint8_t kWideBit = 0x10;
inline constexpr std::uint8_t kScanBit = 0x08;       // set by "Yes", cleared by any other text
inline constexpr std::uint8_t kScanKeptBit = 0x04;   // cleared by "No" only, else kept
inline constexpr std::uint8_t kScanReadMask = 0x0F;  // scanned when (byte & mask) >= 4
inline constexpr std::uint8_t kBusyLockMask = 0x03;
inline constexpr std::uint8_t kBusyLockClose = 0;
inline constexpr std::uint8_t kBusyLockQtDqt = 1;
inline constexpr std::uint8_t kBusyLockCarrier = 2;
// Byte 14.
inline constexpr std::uint8_t kPttIdBit = 0x01;

// Frequencies are counts of 10 Hz units.
inline constexpr std::uint32_t kNoFrequency = 0;
// The largest count the decoder can read from four bytes whose top byte is
// not 0xFF: 0xFE 0xFF 0xFF 0xFF reads as pairs 164, 165, 165, 165.
inline constexpr std::uint32_t kMaxStorableCount = 165666665;
}  // namespace record_layout

// Value of one byte read as a BCD pair: high nibble x 10 + low nibble. Nibbles
// above 9 are not rejected (0xFA reads as 160, 0x9A as 100).
constexpr unsigned BcdPairValue(std::uint8_t byte) { return (byte >> 4) * 10u + (byte & 0x0Fu); }

// The byte that BcdPairValue reads as `value`, for 0..165. Values up to 99
// give plain BCD; 100..165 use nibbles above 9 (the high nibble is kept as
// large as possible), so that values read from such bytes are written back
// as they were read. `max_high_nibble` limits the high nibble (e.g. 7 for a
// CTCSS tone byte, whose bit 7 marks DCS). Values that cannot be reached
// are clamped to the largest one that can.
std::uint8_t BcdPairByte(unsigned value, unsigned max_high_nibble = 15);

// Reads a 4-byte BCD frequency (lowest pair first) as a count of 10 Hz units.
std::uint32_t ReadFrequency(std::span<const std::uint8_t, 4> bytes);

// Writes a count of 10 Hz units. 0 writes FF FF FF FF (no frequency). Counts up
// to 99999999 are plain BCD; larger counts (only read from damaged images)
// are written so that they read back the same, up to kMaxStorableCount, and
// clamped to it beyond.
void WriteFrequency(std::span<std::uint8_t, 4> bytes, std::uint32_t count);

// A frequency field shows a frequency when its top byte (byte 3 resp. 7) is
// neither 0x00 nor 0xFF.
bool FrequencyPresent(std::span<const std::uint8_t, 4> bytes);

// A channel is in use when its receive or its transmit frequency is present.
bool ChannelInUse(std::span<const std::uint8_t, image_map::kRecordSize> record);

inline std::span<const std::uint8_t, 4> ReceiveBytes(std::span<const std::uint8_t, 16> record) {
  return record.subspan<record_layout::kReceive, 4>();
}
inline std::span<const std::uint8_t, 4> TransmitBytes(std::span<const std::uint8_t, 16> record) {
  return record.subspan<record_layout::kTransmit, 4>();
}
inline std::span<std::uint8_t, 4> ReceiveBytes(std::span<std::uint8_t, 16> record) {
  return record.subspan<record_layout::kReceive, 4>();
}
inline std::span<std::uint8_t, 4> TransmitBytes(std::span<std::uint8_t, 16> record) {
  return record.subspan<record_layout::kTransmit, 4>();
}

}  // namespace zlm5
