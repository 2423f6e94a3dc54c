// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zlm5 {

// Map of the radio's 4096-byte configuration memory. A channel data file
// is the same bytes in the same order.
namespace image_map {
inline constexpr std::size_t kSize = 4096;
inline constexpr int kChannelCount = 128;

inline constexpr std::size_t kChannelBase = 0x000;  // 128 records of 16 bytes
inline constexpr std::size_t kRecordSize = 16;
inline constexpr std::size_t kSettingsBase = 0x800;  // 80-byte settings block
inline constexpr std::size_t kSettingsSize = 80;
inline constexpr std::size_t kNameBase = 0x850;  // 128 names of 8 bytes
inline constexpr std::size_t kNameSize = 8;
// The radio exchanges bytes [0, kTransferEnd) in 8-byte blocks.
inline constexpr std::size_t kTransferEnd = 0xC50;
inline constexpr std::size_t kLowPowerTuning = 0xFF8;
inline constexpr std::size_t kHighPowerTuning = 0xFF9;

static_assert(kChannelBase + kChannelCount * kRecordSize == kSettingsBase);
static_assert(kSettingsBase + kSettingsSize == kNameBase);
static_assert(kNameBase + kChannelCount * kNameSize == kTransferEnd);
static_assert(kTransferEnd % 8 == 0 && kTransferEnd / 8 == 394);
}  // namespace image_map

// The radio memory image. A default-constructed image is all 0xFF (the
// empty value of the channel and name areas); the new-document defaults
// are applied by the document, not here.
class RadioImage {
 public:
  using Bytes = std::array<std::uint8_t, image_map::kSize>;

  RadioImage();

  std::span<std::uint8_t, image_map::kSize> bytes() { return bytes_; }
  std::span<const std::uint8_t, image_map::kSize> bytes() const { return bytes_; }

  // Bounds-checked single byte access (offset < 4096, else std::out_of_range).
  std::uint8_t at(std::size_t offset) const;
  void set(std::size_t offset, std::uint8_t value);

  // The 16-byte record of channel 1..128 (std::out_of_range otherwise).
  std::span<std::uint8_t, image_map::kRecordSize> Record(int channel);
  std::span<const std::uint8_t, image_map::kRecordSize> Record(int channel) const;

  // The 8 name bytes of channel 1..128.
  std::span<std::uint8_t, image_map::kNameSize> Name(int channel);
  std::span<const std::uint8_t, image_map::kNameSize> Name(int channel) const;

  void Fill(std::uint8_t value) { bytes_.fill(value); }

  friend bool operator==(const RadioImage&, const RadioImage&) = default;

 private:
  Bytes bytes_;
};

}  // namespace zlm5
