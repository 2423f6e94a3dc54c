// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

#include "model/channel_codec.h"
#include "model/frequency_text.h"
#include "tests/model/comma_locale.h"

namespace zlm5 {
namespace {

TEST(ReadLeadingNumberTest, ReadsLikeStrtodOnTheLeadingPart) {
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("146.525"), 146.525);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("  146.5abc"), 146.5);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("+67"), 67.0);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("-146"), -146.0);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("1.46525e2"), 146.525);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("146e"), 146.0);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("0x1BC"), 444.0);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber(".5"), 0.5);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("146,525"), 146.0);  // a comma ends the number
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("OFF"), 0.0);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber(""), 0.0);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("-"), 0.0);
  EXPECT_TRUE(std::isinf(ReadLeadingNumber("inf")));
  EXPECT_TRUE(std::isnan(ReadLeadingNumber("nan")));
}

TEST(ReadLeadingNumberTest, IgnoresTheProcessLocale) {
  const test::CommaLocale locale;
  if (!locale.active()) GTEST_SKIP() << "no locale with a decimal comma can be made here";
  EXPECT_DOUBLE_EQ(std::atof("146.525"), 146.0);  // what C would read now
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("146.525"), 146.525);
  EXPECT_DOUBLE_EQ(ReadLeadingNumber("146,525"), 146.0);
  EXPECT_EQ(FormatFrequency(14652500), "146.52500");
  EXPECT_EQ(CommitFrequencyText("146.525").text, "146.52500");
  EXPECT_EQ(CommitFrequencyText("146,525").text, "146.52500");
}

TEST(FrequencyTextTest, CountIsTheNearestWholeNumberOfTenHertz) {
  EXPECT_EQ(FrequencyTextToCount("146.525"), 14652500);
  EXPECT_EQ(FrequencyTextToCount("128.01"), 12801000);
  EXPECT_EQ(FrequencyTextToCount("146.525004"), 14652500);
  EXPECT_EQ(FrequencyTextToCount("146.525006"), 14652501);
  EXPECT_EQ(FrequencyTextToCount("abc"), 0);
  EXPECT_EQ(FrequencyTextToCount("nan"), 0);
  EXPECT_EQ(FrequencyTextToCount("-146"), -14600000);
  EXPECT_GT(FrequencyTextToCount("1e300"), frequency_limits::kHighestCount);
}

TEST(FrequencyTextTest, ADecimalCommaAfterTheDigitsIsThePoint) {
  EXPECT_EQ(FrequencyTextToCount("146,525"), 14652500);
  EXPECT_EQ(FrequencyTextToCount(" 446,00625"), 44600625);
  EXPECT_EQ(FrequencyTextToCount("146.5,25"), 14650000);  // a point came first
  EXPECT_EQ(FrequencyTextToCount("146,"), 14600000);
  EXPECT_EQ(FrequencyTextToCount(",5"), 0);
  EXPECT_EQ(CommitFrequencyText("146,5215").error, kFrequencyStepError);
}

TEST(FrequencyTextTest, FormatsFiveDecimals) {
  EXPECT_EQ(FormatFrequency(14652500), "146.52500");
  EXPECT_EQ(FormatFrequency(6700000), "67.00000");
  EXPECT_EQ(FormatFrequency(44600625), "446.00625");
  EXPECT_EQ(FormatFrequency(1000000), "10.00000");
  EXPECT_EQ(FormatFrequency(165666665), "1656.66665");
}

TEST(CommitFrequencyTextTest, AcceptsInRangeOnARasterAndReformats) {
  EXPECT_EQ(CommitFrequencyText("146.525").text, "146.52500");
  EXPECT_EQ(CommitFrequencyText("146.525").error, "");
  EXPECT_EQ(CommitFrequencyText("128.01").text, "128.01000");
  EXPECT_EQ(CommitFrequencyText("146.50625").text, "146.50625");
  EXPECT_EQ(CommitFrequencyText("67").text, "67.00000");
  EXPECT_EQ(CommitFrequencyText("521").text, "521.00000");
  EXPECT_EQ(CommitFrequencyText(" 146.5 MHz").text, "146.50000");
}

TEST(CommitFrequencyTextTest, EmptyPassesWithoutCheck) {
  const FrequencyCommit commit = CommitFrequencyText("");
  EXPECT_EQ(commit.text, "");
  EXPECT_EQ(commit.error, "");
}

TEST(CommitFrequencyTextTest, OutOfRangeOrNotANumberIsAFormatError) {
  for (const char* text :
       {"66.99999", "521.00001", "abc", "-146", " ", "nan", "inf", "1e300", "0"}) {
    const FrequencyCommit commit = CommitFrequencyText(text);
    EXPECT_EQ(commit.text, "") << text;
    EXPECT_EQ(commit.error, "Error Data Format，Please input again") << text;
  }
}

TEST(CommitFrequencyTextTest, OffTheRastersIsAStepError) {
  for (const char* text : {"146.5215", "146.52501", "446.001"}) {
    const FrequencyCommit commit = CommitFrequencyText(text);
    EXPECT_EQ(commit.text, "") << text;
    EXPECT_EQ(commit.error,
              "Error data Value，Please input according the step value(6.25K/5k/2.5k)")
        << text;
  }
}

TEST(CommitFrequencyTextTest, EveryRasterValueInRangePrintedWithFiveDecimalsIsAccepted) {
  // Every 2.5 kHz, 5 kHz and 6.25 kHz step of a few bands, through the text.
  for (std::int64_t count = 14400000; count <= 14800000; count += 125) {
    const bool on_raster = count % 250 == 0 || count % 625 == 0;
    const std::string text = FormatFrequency(static_cast<std::uint32_t>(count));
    const FrequencyCommit commit = CommitFrequencyText(text);
    if (on_raster) {
      ASSERT_EQ(commit.text, text);
      ASSERT_EQ(FrequencyTextToCount(commit.text), count);
    } else {
      ASSERT_EQ(commit.text, "") << text;
    }
  }
}

}  // namespace
}  // namespace zlm5
