// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/radio_image.h"

#include <stdexcept>
#include <string>

namespace zlm5 {

namespace {

void CheckChannel(int channel) {
  if (channel < 1 || channel > image_map::kChannelCount) {
    throw std::out_of_range("channel " + std::to_string(channel) + " is outside 1..128");
  }
}

}  // namespace

RadioImage::RadioImage() { bytes_.fill(0xFF); }

std::uint8_t RadioImage::at(std::size_t offset) const {
  if (offset >= image_map::kSize) {
    throw std::out_of_range("image offset " + std::to_string(offset) +
                            " is outside the 4096 bytes");
  }
  return bytes_[offset];
}

void RadioImage::set(std::size_t offset, std::uint8_t value) {
  if (offset >= image_map::kSize) {
    throw std::out_of_range("image offset " + std::to_string(offset) +
                            " is outside the 4096 bytes");
  }
  bytes_[offset] = value;
}

std::span<std::uint8_t, image_map::kRecordSize> RadioImage::Record(int channel) {
  CheckChannel(channel);
  const std::size_t offset = image_map::kChannelBase + (channel - 1) * image_map::kRecordSize;
  return std::span<std::uint8_t, image_map::kRecordSize>(bytes_.data() + offset,
                                                         image_map::kRecordSize);
}

std::span<const std::uint8_t, image_map::kRecordSize> RadioImage::Record(int channel) const {
  CheckChannel(channel);
  const std::size_t offset = image_map::kChannelBase + (channel - 1) * image_map::kRecordSize;
  return std::span<const std::uint8_t, image_map::kRecordSize>(bytes_.data() + offset,
                                                               image_map::kRecordSize);
}

std::span<std::uint8_t, image_map::kNameSize> RadioImage::Name(int channel) {
  CheckChannel(channel);
  const std::size_t offset = image_map::kNameBase + (channel - 1) * image_map::kNameSize;
  return std::span<std::uint8_t, image_map::kNameSize>(bytes_.data() + offset,
                                                       image_map::kNameSize);
}

std::span<const std::uint8_t, image_map::kNameSize> RadioImage::Name(int channel) const {
  CheckChannel(channel);
  const std::size_t offset = image_map::kNameBase + (channel - 1) * image_map::kNameSize;
  return std::span<const std::uint8_t, image_map::kNameSize>(bytes_.data() + offset,
                                                             image_map::kNameSize);
}

}  // namespace zlm5
