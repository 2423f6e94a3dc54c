// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "model/channel_record.h"
#include "model/radio_image.h"

namespace zlm5 {
namespace {

using Bytes4 = std::array<std::uint8_t, 4>;

Bytes4 Written(std::uint32_t count) {
  Bytes4 bytes{};
  WriteFrequency(bytes, count);
  return bytes;
}

TEST(RadioImageTest, StartsAllFFAndMapsRecordsAndNames) {
  RadioImage image;
  for (std::size_t i = 0; i < image_map::kSize; ++i) ASSERT_EQ(image.at(i), 0xFF) << i;

  image.Record(2)[0] = 0x11;
  image.Record(128)[15] = 0x22;
  image.Name(1)[0] = 0x33;
  image.Name(2)[7] = 0x44;
  image.Name(128)[7] = 0x55;
  EXPECT_EQ(image.at(0x010), 0x11);
  EXPECT_EQ(image.at(0x7FF), 0x22);
  EXPECT_EQ(image.at(0x850), 0x33);
  EXPECT_EQ(image.at(0x85F), 0x44);  // the even channel ends its row
  EXPECT_EQ(image.at(0xC4F), 0x55);
}

TEST(RadioImageTest, RefusesOffsetsAndChannelsOutsideTheImage) {
  RadioImage image;
  EXPECT_THROW(image.at(4096), std::out_of_range);
  EXPECT_THROW(image.set(4096, 0), std::out_of_range);
  EXPECT_THROW(image.Record(0), std::out_of_range);
  EXPECT_THROW(image.Record(129), std::out_of_range);
  EXPECT_THROW(image.Name(0), std::out_of_range);
  const RadioImage& constant = image;
  EXPECT_THROW(constant.Name(129), std::out_of_range);
  image.set(4095, 7);
  EXPECT_EQ(image.at(4095), 7);
}

TEST(FrequencyBcdTest, WorkedExamples) {
  EXPECT_EQ(Written(14652500), (Bytes4{0x00, 0x25, 0x65, 0x14}));
  EXPECT_EQ(Written(44600625), (Bytes4{0x25, 0x06, 0x60, 0x44}));
  EXPECT_EQ(Written(6700000), (Bytes4{0x00, 0x00, 0x70, 0x06}));
  EXPECT_EQ(Written(12801000), (Bytes4{0x00, 0x10, 0x80, 0x12}));
  EXPECT_EQ(Written(99999999), (Bytes4{0x99, 0x99, 0x99, 0x99}));
  EXPECT_EQ(Written(0), (Bytes4{0xFF, 0xFF, 0xFF, 0xFF}));

  EXPECT_EQ(ReadFrequency(Bytes4{0x00, 0x25, 0x65, 0x14}), 14652500u);
  EXPECT_EQ(ReadFrequency(Bytes4{0x25, 0x06, 0x60, 0x44}), 44600625u);
}

TEST(FrequencyBcdTest, NibblesAboveNineAreReadNotRejected) {
  EXPECT_EQ(BcdPairValue(0xFA), 160u);
  EXPECT_EQ(BcdPairValue(0x9A), 100u);
  // 0x9A in the lowest pair carries into the next one.
  EXPECT_EQ(ReadFrequency(Bytes4{0x9A, 0x00, 0x00, 0x01}), 1000100u);
  EXPECT_EQ(ReadFrequency(Bytes4{0xFF, 0xFF, 0xFF, 0xFE}), record_layout::kMaxStorableCount);
}

TEST(FrequencyBcdTest, CountsReadFromDamagedBytesAreWrittenSoTheyReadBackTheSame) {
  for (const Bytes4 damaged : {Bytes4{0x00, 0x00, 0x00, 0xA5}, Bytes4{0x00, 0x00, 0x00, 0xFE},
                               Bytes4{0xFF, 0xFF, 0xFF, 0xFE}, Bytes4{0x9A, 0xAB, 0xFC, 0xFD}}) {
    const std::uint32_t count = ReadFrequency(damaged);
    const Bytes4 rewritten = Written(count);
    EXPECT_EQ(ReadFrequency(rewritten), count);
    EXPECT_TRUE(FrequencyPresent(rewritten));
  }
  // Beyond what four bytes can hold the count is clamped, never wrapped.
  EXPECT_EQ(Written(999999999), (Bytes4{0xFF, 0xFF, 0xFF, 0xFE}));
}

TEST(FrequencyBcdTest, PairBytesRespectTheirHighNibbleLimit) {
  EXPECT_EQ(BcdPairByte(42), 0x42);
  EXPECT_EQ(BcdPairByte(160), 0xFA);
  EXPECT_EQ(BcdPairByte(85, 7), 0x7F);
  EXPECT_EQ(BcdPairByte(80, 7), 0x7A);
  EXPECT_EQ(BcdPairByte(99, 7), 0x7F);  // clamped
}

TEST(ChannelInUseTest, LooksAtTheTopFrequencyBytesOnly) {
  RadioImage image;
  auto record = image.Record(1);
  EXPECT_FALSE(ChannelInUse(record));

  record[8] = 0x70;  // tone and flag bytes alone do not make a channel
  record[13] = 0x3F;
  record[3] = 0x00;
  record[7] = 0x00;
  EXPECT_FALSE(ChannelInUse(record));
  record[7] = 0xFF;
  EXPECT_FALSE(ChannelInUse(record));
  record[0] = 0x25;  // low bytes do not count either
  EXPECT_FALSE(ChannelInUse(record));

  record[7] = 0x44;
  EXPECT_TRUE(ChannelInUse(record));
  record[7] = 0xFF;
  record[3] = 0x14;
  EXPECT_TRUE(ChannelInUse(record));
}

}  // namespace
}  // namespace zlm5
