// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "files/channel_document.h"
#include "model/optional_features.h"
#include "model/settings_block.h"

namespace zlm5 {
namespace {

namespace sm = settings_map;

TEST(TotTextTest, OffOrSeconds) {
  EXPECT_EQ(TotText(0), "OFF");
  EXPECT_EQ(TotText(1), "15");
  EXPECT_EQ(TotText(8), "120");
  EXPECT_EQ(TotText(9), "135");
  EXPECT_EQ(TotText(40), "600");
  EXPECT_EQ(PriorityEntryText(0), "1");
  EXPECT_EQ(PriorityEntryText(127), "128");
}

TEST(OptionalFeaturesTest, LoadsANewDocument) {
  const OptionalFeaturesValues v = LoadOptionalFeatures(ChannelDocument::NewDocumentImage());
  EXPECT_EQ(v.squelch, 5);
  EXPECT_EQ(v.vox_gain, 0);
  EXPECT_EQ(v.language, 2);
  EXPECT_EQ(v.pf1, 0);
  EXPECT_EQ(v.pf2, 0);
  EXPECT_EQ(v.priority_channel, -1);
  EXPECT_EQ(v.opt_signal, 1);
  EXPECT_TRUE(v.beep);
  EXPECT_FALSE(v.scrambler);
  EXPECT_TRUE(v.battery_save);
  EXPECT_FALSE(v.begin_of_tx);
  EXPECT_FALSE(v.end_of_tx);
  EXPECT_EQ(v.tot_position, 0);
  EXPECT_EQ(v.tot_text, "OFF");
  EXPECT_EQ(v.ani, "");
  EXPECT_EQ(v.radio_id, "");
}

TEST(OptionalFeaturesTest, OkOnANewDocumentChangesOnlyTheDialogBytes) {
  RadioImage image = ChannelDocument::NewDocumentImage();
  const RadioImage before = image;
  StoreOptionalFeatures(LoadOptionalFeatures(image), image);
  EXPECT_EQ(image.at(sm::kFunctionFlags), 0x44);  // bit 7 waits for the next grid encode
  EXPECT_EQ(image.at(sm::kRadioType), 0x00);
  EXPECT_EQ(image.at(sm::kFixed817), 4);
  EXPECT_EQ(image.at(sm::kFixed818), 0);
  for (std::size_t i = 0; i < image_map::kSize; ++i) {
    if (i == sm::kFunctionFlags || i == sm::kRadioType) continue;
    ASSERT_EQ(image.at(i), before.at(i)) << std::hex << i;
  }
}

TEST(OptionalFeaturesTest, ReadsAndWritesHiddenControls) {
  RadioImage image = ChannelDocument::NewDocumentImage();
  const std::uint8_t ani[] = {'5', '6', '7', '8', 0xFF, 0xFF, 0xFF, 0xFF};
  const std::uint8_t check[] = {0x31, 0xFF, 0x32, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
  for (int i = 0; i < 8; ++i) {
    image.set(sm::kAni + i, ani[i]);
    image.set(sm::kCheckId + i, check[i]);
  }
  image.set(sm::kPttIdFlags, 0xE0);
  image.set(sm::kPriority, 3);
  OptionalFeaturesValues v = LoadOptionalFeatures(image);
  EXPECT_EQ(v.ani, "5678");
  EXPECT_EQ(v.check_id, "12");
  EXPECT_TRUE(v.begin_of_tx);
  EXPECT_EQ(v.priority_channel, 2);
  EXPECT_EQ(v.pf1, 3);

  v.pf1 = 5;  // the PF1 list is shown only; the priority channel is stored
  StoreOptionalFeatures(v, image);
  EXPECT_EQ(image.at(sm::kAni), '1');  // 5678 comes back as 1678
  EXPECT_EQ(image.at(sm::kCheckId + 1), 0x32);
  EXPECT_EQ(image.at(sm::kCheckId + 2), 0xFF);
  EXPECT_EQ(image.at(sm::kPriority), 3);
  EXPECT_EQ(image.at(sm::kPttIdFlags), 0xE0);
}

TEST(OptionalFeaturesTest, StoresEveryControl) {
  RadioImage image = ChannelDocument::NewDocumentImage();
  OptionalFeaturesValues v;
  v.squelch = 3;
  v.vox_gain = 10;
  v.language = 1;
  v.pf2 = 4;
  v.priority_channel = 127;
  v.opt_signal = 0;
  v.beep = false;
  v.scrambler = true;
  v.battery_save = false;
  v.begin_of_tx = true;
  v.end_of_tx = true;
  v.tot_position = 9;
  v.tot_text = "ignored";
  v.ani = "12";
  v.radio_id = "r1";
  v.call_id = "C-2";
  v.check_id = "3";
  v.kill_id = "K";
  v.listen_id = "L9";
  StoreOptionalFeatures(v, image);

  EXPECT_EQ(image.at(sm::kFunctionFlags), 0x12);
  EXPECT_EQ(image.at(sm::kPttIdFlags), 0xF0);
  EXPECT_EQ(image.at(sm::kSquelch), 3);
  EXPECT_EQ(image.at(sm::kTot), 9);
  EXPECT_EQ(image.at(sm::kVoxGain), 10);
  EXPECT_EQ(image.at(sm::kOptSignal), 2);
  EXPECT_EQ(image.at(sm::kRadioType), 4);
  EXPECT_EQ(image.at(sm::kPriority), 128);

  OptionalFeaturesValues back = LoadOptionalFeatures(image);
  EXPECT_EQ(back.tot_text, "135");
  EXPECT_EQ(back.radio_id, "R1");
  EXPECT_EQ(back.call_id, "C02");
  EXPECT_EQ(back.kill_id, "K");
  EXPECT_EQ(back.listen_id, "L9");
  EXPECT_EQ(back.ani, "12");
  EXPECT_EQ(back.pf1, 0);  // 128 is no key function
  back.tot_text = v.tot_text;
  back.pf1 = v.pf1;
  back.radio_id = "r1";
  back.call_id = "C-2";
  EXPECT_EQ(back, v);
}

TEST(OptionalFeaturesTest, NoSelectionStoresFF) {
  RadioImage image = ChannelDocument::NewDocumentImage();
  OptionalFeaturesValues v = LoadOptionalFeatures(image);
  v.squelch = -1;
  v.vox_gain = 11;  // outside the list counts as none
  v.pf2 = -1;
  v.language = -1;
  v.opt_signal = -1;
  image.set(sm::kFunctionFlags, 0x83);
  StoreOptionalFeatures(v, image);
  EXPECT_EQ(image.at(sm::kSquelch), 0xFF);
  EXPECT_EQ(image.at(sm::kVoxGain), 0xFF);
  EXPECT_EQ(image.at(sm::kRadioType), 0xFF);
  EXPECT_EQ(image.at(sm::kOptSignal), 3);
  EXPECT_EQ(image.at(sm::kFunctionFlags), 0x83 | 0x40 | 0x04);  // language byte kept
}

TEST(OptionalFeaturesTest, OutOfRangeBytesAreWrittenBackNormalised) {
  RadioImage image = ChannelDocument::NewDocumentImage();
  image.set(sm::kOptSignal, 0);
  image.set(sm::kTot, 41);
  image.set(sm::kPriority, 200);
  StoreOptionalFeatures(LoadOptionalFeatures(image), image);
  EXPECT_EQ(image.at(sm::kOptSignal), 3);
  EXPECT_EQ(image.at(sm::kTot), 0);
  EXPECT_EQ(image.at(sm::kPriority), 0);
  image.set(sm::kOptSignal, 7);
  image.set(sm::kPriority, 17);
  StoreOptionalFeatures(LoadOptionalFeatures(image), image);
  EXPECT_EQ(image.at(sm::kOptSignal), 2);
  EXPECT_EQ(image.at(sm::kPriority), 17);
}

}  // namespace
}  // namespace zlm5
