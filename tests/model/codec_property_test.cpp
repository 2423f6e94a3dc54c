// SPDX-License-Identifier: GPL-3.0-or-later
// Properties of decode and encode over many random images: what the radio's
// layout leaves uninterpreted survives, and encoding is stable after one
// round.

#include <gtest/gtest.h>

#include <random>

#include "model/channel_codec.h"
#include "model/channel_record.h"
#include "model/memory_grid.h"
#include "model/settings_block.h"

namespace zlm5 {
namespace {

RadioImage RandomImage(std::mt19937& random) {
  RadioImage image;
  std::uniform_int_distribution<int> byte(0, 255);
  for (auto& b : image.bytes()) b = static_cast<std::uint8_t>(byte(random));
  // Make some channels look like real ones, some empty, some damaged.
  std::uniform_int_distribution<int> kind(0, 3);
  for (int n = 1; n <= 128; ++n) {
    auto record = image.Record(n);
    switch (kind(random)) {
      case 0:
        record[3] = 0xFF;
        record[7] = 0x00;
        break;  // not in use
      case 1:
        record[3] = 0x14;
        record[2] = 0x65;
        break;  // in use, plausible BCD
      default:
        break;  // whatever came out
    }
  }
  return image;
}

RadioImage DecodeEncode(const RadioImage& image) {
  MemoryGrid grid;
  ImageToGrid(image, grid);
  RadioImage encoded = image;
  GridToImage(grid, encoded);
  return encoded;
}

// Settings bytes that no rule of the grid encode writes.
bool GridEncodeWrites(std::size_t offset) {
  return offset == settings_map::kFieldCode || offset == settings_map::kTypeCode ||
         offset == settings_map::kFixedA8 || offset == settings_map::kPowerRank;
}

class CodecPropertyTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(CodecPropertyTest, UninterpretedBitsSurviveAndASecondRoundChangesNothing) {
  std::mt19937 random(GetParam());
  for (int round = 0; round < 25; ++round) {
    const RadioImage original = RandomImage(random);
    const RadioImage once = DecodeEncode(original);

    for (int n = 1; n <= 128; ++n) {
      const auto before = original.Record(n);
      const auto after = once.Record(n);
      ASSERT_EQ(after[15], before[15]) << "channel " << n;
      ASSERT_EQ(after[13] & 0xC4, before[13] & 0xC4) << "channel " << n;  // bits 7, 6, 2
      ASSERT_EQ(after[14] & 0xFE, before[14] & 0xFE) << "channel " << n;
      // A channel in use stays in use, and one that is not stays unused.
      ASSERT_EQ(ChannelInUse(after), ChannelInUse(before)) << "channel " << n;
    }
    for (std::size_t offset = image_map::kSettingsBase; offset < image_map::kNameBase; ++offset) {
      if (offset == settings_map::kFunctionFlags) {
        ASSERT_EQ(once.at(offset) & 0x7F, original.at(offset) & 0x7F);
      } else if (!GridEncodeWrites(offset)) {
        ASSERT_EQ(once.at(offset), original.at(offset)) << std::hex << offset;
      }
    }
    for (std::size_t offset = image_map::kTransferEnd; offset < image_map::kSize; ++offset) {
      ASSERT_EQ(once.at(offset), original.at(offset)) << std::hex << offset;
    }

    const RadioImage twice = DecodeEncode(once);
    ASSERT_EQ(twice, once) << "seed " << GetParam() << " round " << round;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, CodecPropertyTest,
                         ::testing::Values(1u, 2u, 3u, 42u, 2026u, 77777u));

}  // namespace
}  // namespace zlm5
