// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "files/channel_document.h"
#include "model/settings_block.h"

namespace zlm5 {
namespace {

namespace sm = settings_map;
using Field = std::array<std::uint8_t, 8>;

Field IdBytes(std::string_view text) {
  Field field{};
  TextToIdField(text, field);
  return field;
}

Field AniBytes(std::string_view text) {
  Field field{};
  TextToAniField(text, field);
  return field;
}

TEST(IdFieldTest, StoresUpperCaseLettersDigitsAndZeroForEverythingElse) {
  EXPECT_EQ(IdBytes("ab12"), (Field{0x41, 0x42, 0x31, 0x32, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(IdBytes("A-B"), (Field{0x41, 0x30, 0x42, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(IdBytes(""), (Field{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(IdBytes("123456789"), (Field{0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38}));
  EXPECT_EQ(IdBytes("中 1"), (Field{0x30, 0x30, 0x31, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(IdFieldTest, TextSkipsOtherBytesSoGapsCloseUp) {
  EXPECT_EQ(IdFieldToText(Field{0x41, 0x42, 0x31, 0x32, 0xFF, 0xFF, 0xFF, 0xFF}), "AB12");
  EXPECT_EQ(IdFieldToText(Field{0x31, 0xFF, 0x32, 0x33, 0xFF, 0xFF, 0xFF, 0xFF}), "123");
  EXPECT_EQ(IdFieldToText(Field{0x61, 0x7A, 0x20, 0x2D, 0x00, 0x5A, 0xFF, 0x39}), "AZZ9");
  EXPECT_EQ(IdBytes(IdFieldToText(Field{0x31, 0xFF, 0x32, 0x33, 0xFF, 0xFF, 0xFF, 0xFF})),
            (Field{0x31, 0x32, 0x33, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(AniFieldTest, FourDigitCodesStartWithZeroOrOne) {
  EXPECT_EQ(AniBytes("5678"), (Field{0x31, 0x36, 0x37, 0x38, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(AniBytes("1678"), (Field{0x31, 0x36, 0x37, 0x38, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(AniBytes("0999"), (Field{0x30, 0x39, 0x39, 0x39, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(AniBytes("567"), (Field{0x35, 0x36, 0x37, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(AniBytes("5x"), (Field{0x35, 0x30, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(AniBytes("56789"), (Field{0x35, 0x36, 0x37, 0x38, 0x39, 0xFF, 0xFF, 0xFF}));
}

TEST(AniFieldTest, ShowsTheDigitsOfTheFirstFourBytesOnly) {
  EXPECT_EQ(AniFieldToText(Field{0x31, 0x36, 0x37, 0x38, 0x39, 0x39, 0xFF, 0xFF}), "1678");
  EXPECT_EQ(AniFieldToText(Field{0x31, 0xFF, 0x41, 0x38, 0xFF, 0xFF, 0xFF, 0xFF}), "18");
}

TEST(SettingsBlockTest, NewDocumentReadsAsTheDefaults) {
  const RadioImage image = ChannelDocument::NewDocumentImage();
  const SettingsBlock block(image);
  EXPECT_EQ(block.FieldEntry(), 0);
  EXPECT_EQ(block.TypeEntry(), 0);
  EXPECT_FALSE(block.BeginOfTx());
  EXPECT_FALSE(block.EndOfTx());
  EXPECT_EQ(block.ManualEntry(), 0);
  EXPECT_TRUE(block.Beep());
  EXPECT_FALSE(block.Scrambler());
  EXPECT_TRUE(block.BatterySave());
  EXPECT_EQ(block.LanguageEntry(), 2);
  EXPECT_EQ(block.SquelchEntry(), 5);
  EXPECT_EQ(block.TotPosition(), 0);
  EXPECT_EQ(block.VoxGainEntry(), 0);
  EXPECT_EQ(block.OptSignalEntry(), 1);
  EXPECT_EQ(block.PowerRankEntry(), 9);
  EXPECT_EQ(block.PriorityEntry(), -1);
  EXPECT_EQ(block.Pf1Entry(), 0);
  EXPECT_EQ(block.Pf2Entry(), 0);  // 0xFF shows "None"
  EXPECT_EQ(block.AniText(), "");
  EXPECT_EQ(block.RadioIdText(), "");
  EXPECT_EQ(block.ListenIdText(), "");
}

TEST(SettingsBlockTest, ReadingRulesOfOutOfRangeBytes) {
  RadioImage image;
  auto read = [&](std::size_t offset, std::uint8_t value) {
    image.set(offset, value);
    return SettingsBlock(image);
  };
  EXPECT_EQ(read(sm::kFieldCode, 0xF5).FieldEntry(), 7);
  EXPECT_EQ(read(sm::kFieldCode, 0xED).FieldEntry(), 0);
  EXPECT_EQ(read(sm::kFieldCode, 0xF8).FieldEntry(), 0);
  EXPECT_EQ(read(sm::kTypeCode, 0x3B).TypeEntry(), 0);
  EXPECT_EQ(read(sm::kTypeCode, 0x3A).TypeEntry(), -1);
  EXPECT_EQ(read(sm::kTypeCode, 0x00).TypeEntry(), -1);
  EXPECT_EQ(read(sm::kSquelch, 10).SquelchEntry(), 0);
  EXPECT_EQ(read(sm::kSquelch, 9).SquelchEntry(), 9);
  EXPECT_EQ(read(sm::kTot, 40).TotPosition(), 40);
  EXPECT_EQ(read(sm::kTot, 41).TotPosition(), 0);
  EXPECT_EQ(read(sm::kVoxGain, 10).VoxGainEntry(), 10);
  EXPECT_EQ(read(sm::kVoxGain, 11).VoxGainEntry(), 0);
  EXPECT_EQ(read(sm::kPowerRank, 0x0C).PowerRankEntry(), 0);
  for (const std::uint8_t b : {0, 1, 3})
    EXPECT_EQ(read(sm::kOptSignal, b).OptSignalEntry(), 1) << int(b);
  for (const std::uint8_t b : {2, 4, 7, 255})
    EXPECT_EQ(read(sm::kOptSignal, b).OptSignalEntry(), 0) << int(b);
  EXPECT_EQ(read(sm::kPriority, 17).PriorityEntry(), 16);
  EXPECT_EQ(read(sm::kPriority, 17).Pf1Entry(), 0);
  EXPECT_EQ(read(sm::kPriority, 128).PriorityEntry(), 127);
  EXPECT_EQ(read(sm::kPriority, 200).PriorityEntry(), -1);
  EXPECT_EQ(read(sm::kPriority, 5).Pf1Entry(), 5);
  EXPECT_EQ(read(sm::kPriority, 0).PriorityEntry(), -1);
  EXPECT_EQ(read(sm::kRadioType, 6).Pf2Entry(), 0);
  EXPECT_EQ(read(sm::kRadioType, 3).Pf2Entry(), 3);
}

TEST(SettingsBlockTest, LanguageCodes) {
  RadioImage image;
  const int expected[] = {2, 0, 1, 0};  // bits 1-0 = 0, 1, 2, 3
  for (int code = 0; code < 4; ++code) {
    image.set(sm::kFunctionFlags, static_cast<std::uint8_t>(0xF0 | code));
    EXPECT_EQ(SettingsBlock(image).LanguageEntry(), expected[code]) << code;
  }
}

TEST(SettingsBlockTest, LanguageWritesTheWholeByteThenTheFlags) {
  RadioImage image;
  image.set(sm::kFunctionFlags, 0xFF);
  SettingsBlock block(image);
  EXPECT_TRUE(block.Beep() && block.Scrambler() && block.BatterySave());
  block.SetLanguageEntry(block.LanguageEntry());
  block.SetScrambler(true);
  block.SetBeep(true);
  block.SetBatterySave(true);
  EXPECT_EQ(block.byte(sm::kFunctionFlags), 0x57);

  block.SetLanguageEntry(1);
  EXPECT_EQ(block.byte(sm::kFunctionFlags), 0x02);
  block.SetLanguageEntry(2);
  EXPECT_EQ(block.byte(sm::kFunctionFlags), 0x00);
  block.set_byte(sm::kFunctionFlags, 0xA9);
  block.SetLanguageEntry(-1);  // no selection: unchanged
  EXPECT_EQ(block.byte(sm::kFunctionFlags), 0xA9);
}

TEST(SettingsBlockTest, WritingRulesOfSingleBytes) {
  RadioImage image;
  image.set(sm::kPttIdFlags, 0xCF);
  SettingsBlock block(image);
  block.SetBeginOfTx(true);
  block.SetEndOfTx(false);
  EXPECT_EQ(block.byte(sm::kPttIdFlags), 0xEF);
  block.SetEndOfTx(true);
  block.SetBeginOfTx(false);
  EXPECT_EQ(block.byte(sm::kPttIdFlags), 0xDF);

  block.SetSquelchEntry(-1);
  EXPECT_EQ(block.byte(sm::kSquelch), 0xFF);
  block.SetTotPosition(8);
  EXPECT_EQ(block.byte(sm::kTot), 8);
  block.SetTotPosition(99);
  EXPECT_EQ(block.byte(sm::kTot), 40);
  block.SetOptSignalEntry(0);
  EXPECT_EQ(block.byte(sm::kOptSignal), 2);
  block.SetOptSignalEntry(-1);
  EXPECT_EQ(block.byte(sm::kOptSignal), 3);
  block.SetPriorityEntry(16);
  EXPECT_EQ(block.byte(sm::kPriority), 17);
  block.SetPriorityEntry(-1);
  EXPECT_EQ(block.byte(sm::kPriority), 0);
  block.WriteFixedDialogBytes();
  EXPECT_EQ(block.byte(sm::kFixed817), 4);
  EXPECT_EQ(block.byte(sm::kFixed818), 0);

  block.SetRadioIdText("ab12");
  block.StoreInto(image);
  EXPECT_EQ(image.at(0x830), 0x41);
  EXPECT_EQ(image.at(0x833), 0x32);
  EXPECT_EQ(image.at(0x834), 0xFF);
  EXPECT_EQ(image.at(sm::kPttIdFlags), 0xDF);
  EXPECT_THROW(block.byte(0x850), std::out_of_range);
  EXPECT_THROW(block.set_byte(0x7FF, 0), std::out_of_range);
}

}  // namespace
}  // namespace zlm5
