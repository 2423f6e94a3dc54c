// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "model/channel_checks.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"

namespace zlm5 {
namespace {

namespace gl = grid_layout;

constexpr int kField136To174 = 1;

class ChannelChecksTest : public ::testing::Test {
 protected:
  void SetUp() override { grid_.SetBoxSelection(FormBox::Field, kField136To174); }

  // Types a cell and leaves it, as the user fills a row.
  void Type(int row, int col, std::string_view text) {
    ASSERT_EQ(CommitCellText(grid_, row, col, text, CommitPath::LeaveCell), "");
  }
  void Channel(int row, std::string_view receive, std::string_view rx_tone = "OFF",
               std::string_view tx_tone = "OFF", std::string_view name = "") {
    Type(row, gl::kColReceive, receive);
    Type(row, gl::kColRxTone, rx_tone);
    Type(row, gl::kColTxTone, tx_tone);
    Type(row, gl::kColName, name);
  }

  MemoryGrid grid_;
};

TEST(FieldBandTest, EachEntryIsTheBandItsLabelNames) {
  const std::vector<FrequencyBand> expected = {
      {6700000, 7200000},   {13600000, 17400000}, {24000000, 26000000}, {35000000, 39000000},
      {40000000, 43000000}, {43000000, 45000000}, {45000000, 47000000}, {47000000, 49000000},
      {40000000, 47000000}, {46000000, 52000000}};
  for (int entry = 0; entry < 10; ++entry) EXPECT_EQ(FieldBand(entry), expected[entry]) << entry;
  EXPECT_EQ(FieldBand(-1), std::nullopt);
  EXPECT_EQ(FieldBand(10), std::nullopt);
}

TEST_F(ChannelChecksTest, ANewTableHasNoFindings) { EXPECT_TRUE(CheckChannels(grid_).empty()); }

TEST_F(ChannelChecksTest, EachKindOfFindingInChannelOrder) {
  Channel(1, "136", "88.5", "OFF", "HOME");       // the band's lower edge: inside
  Channel(2, "174", "88.5", "OFF", "HOME2");      // the upper edge: inside
  Channel(3, "174.00625", "OFF", "OFF", "HOME");  // just above; name of CH 1
  Type(3, gl::kColTransmit, "446.00625");
  Channel(4, "136.00000", "88.5", "OFF");  // same as CH 1
  Channel(5, "136", "88.5", "D023N");      // another Tx tone: not the same
  Channel(6, "136", "88.5", "OFF", "  ");  // same as CH 1 again; a blank name
  Type(7, gl::kColTransmit, "146.52");     // transmit only
  Type(9, gl::kColName, "HOME");           // a name without a channel: not in use
  Channel(10, "146.52", "D023N", "OFF");
  Channel(11, "146.52", "D023I", "OFF", "HOME2");  // inverted code: not the same

  const std::vector<ChannelFinding> expected = {
      {ChannelCheck::OutOfBand, 3, gl::kColReceive, 0,
       "CH 3: receive frequency 174.00625 MHz is outside the band 136 - 174MHz"},
      {ChannelCheck::OutOfBand, 3, gl::kColTransmit, 0,
       "CH 3: transmit frequency 446.00625 MHz is outside the band 136 - 174MHz"},
      {ChannelCheck::NameUsedTwice, 3, gl::kColName, 1,
       "CH 3: name \"HOME\" is also the name of CH 1"},
      {ChannelCheck::SameAsEarlier, 4, gl::kColReceive, 1,
       "CH 4: same receive frequency and tones as CH 1"},
      {ChannelCheck::SameAsEarlier, 6, gl::kColReceive, 1,
       "CH 6: same receive frequency and tones as CH 1"},
      {ChannelCheck::NoReceiveFrequency, 7, gl::kColReceive, 0,
       "CH 7: in use without a receive frequency"},
      {ChannelCheck::NameUsedTwice, 11, gl::kColName, 2,
       "CH 11: name \"HOME2\" is also the name of CH 2"},
  };
  EXPECT_EQ(CheckChannels(grid_), expected);
}

TEST_F(ChannelChecksTest, TheBandFollowsTheFieldBoxAndNeedsASelection) {
  Channel(1, "446.00625");
  Channel(2, "146.52");
  grid_.SetBoxSelection(FormBox::Field, 8);  // 400 - 470MHz
  std::vector<ChannelFinding> findings = CheckChannels(grid_);
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].text,
            "CH 2: receive frequency 146.52000 MHz is outside the band 400 - 470MHz");
  EXPECT_EQ(findings[1].column, gl::kColTransmit);

  grid_.SetBoxSelection(FormBox::Field, 0);  // the label's leading blanks are not repeated
  EXPECT_EQ(CheckChannels(grid_)[0].text,
            "CH 1: receive frequency 446.00625 MHz is outside the band 67 - 72MHz");

  grid_.SetBoxSelection(FormBox::Field, -1);
  EXPECT_TRUE(CheckChannels(grid_).empty());
}

TEST_F(ChannelChecksTest, OutOfBandReasonMarksOnlyFrequencyCellsOutsideTheBand) {
  Channel(1, "446.00625");
  Type(1, gl::kColTransmit, "146.52");
  const std::string reason = "Outside the band 136 - 174MHz chosen in the Field box";
  EXPECT_EQ(OutOfBandReason(grid_, 1, gl::kColReceive), reason);
  EXPECT_EQ(OutOfBandReason(grid_, 1, gl::kColTransmit), "");
  EXPECT_EQ(OutOfBandReason(grid_, 1, gl::kColRxTone), "");
  EXPECT_EQ(OutOfBandReason(grid_, 2, gl::kColReceive), "");  // empty cell
  EXPECT_EQ(OutOfBandReason(grid_, 0, gl::kColReceive), "");  // the header
  EXPECT_EQ(OutOfBandReason(grid_, 129, gl::kColReceive), "");
  grid_.SetBoxSelection(FormBox::Field, -1);
  EXPECT_EQ(OutOfBandReason(grid_, 1, gl::kColReceive), "");
}

}  // namespace
}  // namespace zlm5
