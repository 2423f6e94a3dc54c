// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "model/tone_tables.h"
#include "model/tone_word.h"

namespace zlm5 {
namespace {

const ToneTables& Tables() { return ToneTables::Get(); }

TEST(ToneTablesTest, HoldsTheListInTheBoxOrder) {
  ASSERT_EQ(Tables().size(), 261);
  EXPECT_EQ(Tables().Text(0), "OFF");
  EXPECT_EQ(Tables().Text(1), "67.0");
  EXPECT_EQ(Tables().Text(12), "97.4");
  EXPECT_EQ(Tables().Text(13), "100.0");
  EXPECT_EQ(Tables().Text(50), "254.1");
  EXPECT_EQ(Tables().Text(51), "D023N");
  EXPECT_EQ(Tables().Text(155), "D754N");
  EXPECT_EQ(Tables().Text(156), "D023I");
  EXPECT_EQ(Tables().Text(260), "D754I");
  EXPECT_THROW(Tables().Text(261), std::out_of_range);

  // Every text is distinct, and each DCS code appears in both blocks.
  const std::set<std::string> unique(Tables().texts().begin(), Tables().texts().end());
  EXPECT_EQ(unique.size(), 261u);
  for (int i = 0; i < ToneTables::kDcsCount; ++i) {
    std::string normal = Tables().Text(ToneTables::kFirstDcsNormal + i);
    std::string inverted = Tables().Text(ToneTables::kFirstDcsInverted + i);
    normal.back() = 'I';
    EXPECT_EQ(normal, inverted);
  }
}

TEST(ToneTablesTest, CtcssEntriesAscendWithOneDecimal) {
  double previous = 0;
  for (int i = ToneTables::kFirstCtcss; i < ToneTables::kFirstDcsNormal; ++i) {
    const std::string& text = Tables().Text(i);
    ASSERT_EQ(text[text.size() - 2], '.') << text;
    ASSERT_NE(text[0], '0') << text;
    const double value = std::stod(text);
    EXPECT_GT(value, previous) << text;
    previous = value;
  }
}

TEST(ToneTablesTest, FindsExactlyOrIgnoringCase) {
  EXPECT_EQ(Tables().Find("D023N"), 51);
  EXPECT_EQ(Tables().Find("d023n"), -1);
  EXPECT_EQ(Tables().FindIgnoringCase("d023n"), 51);
  EXPECT_EQ(Tables().FindIgnoringCase("off"), 0);
  EXPECT_EQ(Tables().FindIgnoringCase("100.05"), -1);
  EXPECT_EQ(Tables().FindIgnoringCase(""), -1);
}

TEST(ToneWordTest, EveryListEntrySurvivesTextToWordToText) {
  for (const std::string& text : Tables().texts()) {
    const ToneWord word = ToneWord::FromText(text);
    EXPECT_EQ(word.ToText(true), text);
    EXPECT_EQ(ToneWord::FromText(word.ToText(true)), word) << text;
  }
}

TEST(ToneWordTest, EncodesTheWorkedExamples) {
  EXPECT_EQ(ToneWord::FromText("67.0"), (ToneWord{0x06, 0x70}));
  EXPECT_EQ(ToneWord::FromText("254.1"), (ToneWord{0x25, 0x41}));
  EXPECT_EQ(ToneWord::FromText("D023N"), (ToneWord{0x80, 0x23}));
  EXPECT_EQ(ToneWord::FromText("D754N"), (ToneWord{0x87, 0x54}));
  EXPECT_EQ(ToneWord::FromText("D023I"), (ToneWord{0xC0, 0x23}));
  EXPECT_EQ(ToneWord::FromText("D754I"), (ToneWord{0xC7, 0x54}));
  EXPECT_EQ(ToneWord::FromText("OFF"), (ToneWord{0xFF, 0xFF}));
  EXPECT_EQ(ToneWord::FromText(""), (ToneWord{0xFF, 0xFF}));
}

TEST(ToneWordTest, NoToneShowsOffOnlyOnAChannelInUse) {
  for (const ToneWord word : {ToneWord{0xFF, 0xFF}, ToneWord{0x00, 0x37}, ToneWord{0xFF, 0x12}}) {
    EXPECT_EQ(word.ToneClass(), ToneWord::Class::None);
    EXPECT_EQ(word.ToText(true), "OFF");
    EXPECT_EQ(word.ToText(false), "");
  }
  // A real tone shows on a channel that is not in use too.
  EXPECT_EQ((ToneWord{0x06, 0x70}).ToText(false), "67.0");
}

TEST(ToneWordTest, DcsWithoutPolarityLetterIsInverted) {
  const ToneWord word = ToneWord::FromText("D023");
  EXPECT_EQ(word, (ToneWord{0xC0, 0x23}));
  EXPECT_EQ(word.ToText(true), "D023I");
  // Only an upper-case D marks DCS: a lower-case text reads as a number (0).
  EXPECT_EQ(ToneWord::FromText("d023n"), (ToneWord{0xFF, 0xFF}));
}

TEST(ToneWordTest, ShortDcsCodesKeepTheSingleZeroPrefix) {
  EXPECT_EQ((ToneWord{0x80, 0x05}).ToText(true), "D05N");
  EXPECT_EQ((ToneWord{0xC1, 0x14}).ToText(true), "D114I");
  EXPECT_EQ(ToneWord::FromText("D05N"), (ToneWord{0x80, 0x05}));
}

TEST(ToneWordTest, CtcssOffTheListIsCutToTenths) {
  const ToneWord word = ToneWord::FromText("100.05");
  EXPECT_EQ(word, (ToneWord{0x10, 0x00}));
  EXPECT_EQ(word.ToText(true), "100.0");
  EXPECT_EQ(ToneWord::FromText("-67.0"), (ToneWord{0xFF, 0xFF}));
  EXPECT_EQ(ToneWord::FromText("nan"), (ToneWord{0xFF, 0xFF}));
}

TEST(ToneWordTest, DamagedWordsStayInTheirClassAfterOneRewrite) {
  // 0x7F 0xFF reads as CTCSS 866.5 Hz: plain BCD would need a high byte of
  // 0x86, which is a DCS class. The rewrite keeps it CTCSS and stable.
  const ToneWord damaged{0x7F, 0xFF};
  EXPECT_EQ(damaged.ToText(true), "866.5");
  const ToneWord rewritten = ToneWord::FromText(damaged.ToText(true));
  EXPECT_EQ(rewritten.ToneClass(), ToneWord::Class::Ctcss);
  EXPECT_EQ(rewritten.ToText(true), "866.5");

  const ToneWord dcs{0xBF, 0xFF};  // D6465N
  EXPECT_EQ(dcs.ToText(true), "D6465N");
  EXPECT_EQ(ToneWord::FromText("D6465N"), dcs);
  const ToneWord inverted{0xFE, 0xFA};
  EXPECT_EQ(ToneWord::FromText(inverted.ToText(true)), inverted);
  // A code beyond what the class holds is clamped, not moved to another class.
  EXPECT_EQ(ToneWord::FromText("D9999N").ToneClass(), ToneWord::Class::DcsNormal);
  EXPECT_EQ(ToneWord::FromText("D9999I").ToneClass(), ToneWord::Class::DcsInverted);
  EXPECT_EQ(ToneWord::FromText("9999.9").ToneClass(), ToneWord::Class::Ctcss);
}

TEST(ToneWordTest, EveryWordReadsTheSameAfterOneRewrite) {
  // Open-then-save of any image, damaged ones included, must not change what
  // a tone reads as: A5 80 shows "D0105N" and must not become D105N.
  EXPECT_EQ(ToneWord::FromText("D0105N"), (ToneWord{0x80, 0xA5}));
  EXPECT_EQ(ToneWord::FromText("D0165I"), (ToneWord{0xC0, 0xFF}));
  for (int high = 0; high <= 0xFF; ++high) {
    for (int low = 0; low <= 0xFF; ++low) {
      const ToneWord word{static_cast<std::uint8_t>(high), static_cast<std::uint8_t>(low)};
      const std::string text = word.ToText(true);
      ASSERT_EQ(ToneWord::FromText(text).ToText(true), text) << high << " " << low;
    }
  }
}

TEST(ToneWordTest, ClassFollowsTheHighByte) {
  EXPECT_EQ((ToneWord{0x01, 0x00}).ToneClass(), ToneWord::Class::Ctcss);
  EXPECT_EQ((ToneWord{0x7F, 0x00}).ToneClass(), ToneWord::Class::Ctcss);
  EXPECT_EQ((ToneWord{0x80, 0x00}).ToneClass(), ToneWord::Class::DcsNormal);
  EXPECT_EQ((ToneWord{0xBF, 0x00}).ToneClass(), ToneWord::Class::DcsNormal);
  EXPECT_EQ((ToneWord{0xC0, 0x00}).ToneClass(), ToneWord::Class::DcsInverted);
  EXPECT_EQ((ToneWord{0xFE, 0x00}).ToneClass(), ToneWord::Class::DcsInverted);
}

}  // namespace
}  // namespace zlm5
