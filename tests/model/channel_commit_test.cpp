// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <vector>

#include "model/channel_codec.h"
#include "model/frequency_text.h"
#include "model/memory_grid.h"

namespace zlm5 {
namespace {

namespace gl = grid_layout;
using Cells = std::vector<std::string>;

const Cells kNewRowLeave = {"146.52500", "146.52500", "OFF", "OFF",   "Wide", "Yes",
                            "High",      "None",      "ON",  "Close", ""};

class CommitCellTextTest : public ::testing::Test {
 protected:
  Cells Row(int row) const {
    Cells cells;
    for (int col = 1; col < gl::kColumns; ++col) cells.push_back(grid_.TextMatrix(row, col));
    return cells;
  }
  void SetRow(int row, const Cells& cells) {
    for (int col = 1; col < gl::kColumns; ++col) grid_.SetTextMatrix(row, col, cells[col - 1]);
  }
  std::string Commit(int row, int col, std::string_view text, CommitPath path) {
    return CommitCellText(grid_, row, col, text, path);
  }

  MemoryGrid grid_;
};

TEST_F(CommitCellTextTest, FirstReceiveFrequencyFillsTheNewRow) {
  grid_.SetTextMatrix(1, gl::kColName, "OLD");
  EXPECT_EQ(Commit(1, gl::kColReceive, "146.525", CommitPath::LeaveCell), "");
  EXPECT_EQ(Row(1), kNewRowLeave);
}

TEST_F(CommitCellTextTest, EnterKeyFillsTheNewRowButKeepsTheName) {
  grid_.SetTextMatrix(1, gl::kColName, "OLD");
  EXPECT_EQ(Commit(1, gl::kColReceive, "146.525", CommitPath::EnterKey), "");
  Cells expected = kNewRowLeave;
  expected.back() = "OLD";
  EXPECT_EQ(Row(1), expected);
}

TEST_F(CommitCellTextTest, FirstTransmitFrequencyDoesNotCopyToReceive) {
  Commit(2, gl::kColTransmit, "446.00625", CommitPath::LeaveCell);
  EXPECT_EQ(Row(2), (Cells{"", "446.00625", "OFF", "OFF", "Wide", "Yes", "High", "None", "ON",
                           "Close", ""}));
}

TEST_F(CommitCellTextTest, SecondFrequencyOnlySetsItsCell) {
  SetRow(1, {"146.52500", "146.52500", "D023N", "OFF", "Narrow", "No", "Low", "CCIR", "OFF",
             "Carrier", "AB"});
  Commit(1, gl::kColReceive, "147", CommitPath::LeaveCell);
  EXPECT_EQ(Row(1), (Cells{"147.00000", "146.52500", "D023N", "OFF", "Narrow", "No", "Low", "CCIR",
                           "OFF", "Carrier", "AB"}));
}

TEST_F(CommitCellTextTest, RowWithOnlyAToneIsNotNew) {
  grid_.SetTextMatrix(1, gl::kColRxTone, "67.0");
  Commit(1, gl::kColReceive, "146.525", CommitPath::LeaveCell);
  EXPECT_EQ(Row(1), (Cells{"146.52500", "", "67.0", "", "", "", "", "", "", "", ""}));
}

TEST_F(CommitCellTextTest, RejectedFrequencyReturnsTheMessageAndEmptiesTheCell) {
  SetRow(1, kNewRowLeave);
  EXPECT_EQ(Commit(1, gl::kColReceive, "146.5215", CommitPath::LeaveCell), kFrequencyStepError);
  // The receive tone goes with the receive frequency; the transmit side stays.
  EXPECT_EQ(Row(1),
            (Cells{"", "146.52500", "", "OFF", "Wide", "Yes", "High", "None", "ON", "Close", ""}));
  EXPECT_EQ(Commit(3, gl::kColReceive, "abc", CommitPath::LeaveCell), kFrequencyFormatError);
  EXPECT_EQ(Row(3), Cells(11, ""));
}

TEST_F(CommitCellTextTest, LeavingClearsTheRowWhenFrequenciesAndTonesAreEmpty) {
  SetRow(1, {"", "146.52500", "", "OFF", "Wide", "Yes", "High", "None", "ON", "Close", "AB"});
  Commit(1, gl::kColTransmit, "", CommitPath::LeaveCell);
  EXPECT_EQ(Row(1), Cells(11, ""));

  // A receive tone left over keeps the rest of the row when leaving...
  SetRow(2, {"", "146.52500", "67.0", "OFF", "Wide", "Yes", "High", "None", "ON", "Close", "AB"});
  Commit(2, gl::kColTransmit, "", CommitPath::LeaveCell);
  EXPECT_EQ(Row(2),
            (Cells{"", "", "67.0", "", "Wide", "Yes", "High", "None", "ON", "Close", "AB"}));
}

TEST_F(CommitCellTextTest, EnterClearsTheRowWhenBothFrequenciesAreEmpty) {
  // ...while Enter looks at the frequencies only.
  SetRow(2, {"", "146.52500", "67.0", "OFF", "Wide", "Yes", "High", "None", "ON", "Close", "AB"});
  Commit(2, gl::kColTransmit, "", CommitPath::EnterKey);
  EXPECT_EQ(Row(2), (Cells{"", "", "67.0", "", "", "", "", "", "", "", ""}));

  SetRow(3, kNewRowLeave);
  Commit(3, gl::kColReceive, "", CommitPath::EnterKey);
  EXPECT_EQ(Row(3),
            (Cells{"", "146.52500", "", "OFF", "Wide", "Yes", "High", "None", "ON", "Close", ""}));
}

TEST_F(CommitCellTextTest, ToneStoresTheListSpellingOrOffAndNeedsAFrequency) {
  EXPECT_EQ(Commit(1, gl::kColRxTone, "D023N", CommitPath::LeaveCell), "");
  EXPECT_EQ(grid_.TextMatrix(1, gl::kColRxTone), "");  // no frequency in the row

  SetRow(1, kNewRowLeave);
  for (const CommitPath path : {CommitPath::LeaveCell, CommitPath::EnterKey}) {
    Commit(1, gl::kColRxTone, "d023n", path);
    EXPECT_EQ(grid_.TextMatrix(1, gl::kColRxTone), "D023N");
    Commit(1, gl::kColTxTone, "100.05", path);  // not one of the 261
    EXPECT_EQ(grid_.TextMatrix(1, gl::kColTxTone), "OFF");
    Commit(1, gl::kColTxTone, "254.1", path);
    EXPECT_EQ(grid_.TextMatrix(1, gl::kColTxTone), "254.1");
  }
  grid_.SetTextMatrix(2, gl::kColRxTone, "67.0");
  Commit(2, gl::kColRxTone, "D023N", CommitPath::EnterKey);
  EXPECT_EQ(grid_.TextMatrix(2, gl::kColRxTone), "");
}

TEST_F(CommitCellTextTest, ListColumnsWithoutFrequencyDifferByPath) {
  grid_.SetTextMatrix(1, gl::kColBusyLock, "Close");
  Commit(1, gl::kColBusyLock, "Carrier", CommitPath::EnterKey);
  EXPECT_EQ(grid_.TextMatrix(1, gl::kColBusyLock), "Close");  // Enter keeps the cell
  Commit(1, gl::kColBusyLock, "Carrier", CommitPath::LeaveCell);
  EXPECT_EQ(grid_.TextMatrix(1, gl::kColBusyLock), "");  // leaving stores the empty text

  SetRow(2, kNewRowLeave);
  Commit(2, gl::kColBusyLock, "Carrier", CommitPath::LeaveCell);
  Commit(2, gl::kColScan, "No", CommitPath::EnterKey);
  EXPECT_EQ(grid_.TextMatrix(2, gl::kColBusyLock), "Carrier");
  EXPECT_EQ(grid_.TextMatrix(2, gl::kColScan), "No");
}

TEST_F(CommitCellTextTest, NameIsStoredWhenLeavingAndOnEnterOnlyWithAFrequency) {
  Commit(1, gl::kColName, "ab-1 2", CommitPath::LeaveCell);
  EXPECT_EQ(grid_.TextMatrix(1, gl::kColName), "AB-1 2");
  Commit(1, gl::kColName, "XY", CommitPath::EnterKey);
  EXPECT_EQ(grid_.TextMatrix(1, gl::kColName), "AB-1 2");

  SetRow(2, kNewRowLeave);
  Commit(2, gl::kColName, "rep.eater!", CommitPath::EnterKey);
  EXPECT_EQ(grid_.TextMatrix(2, gl::kColName), "REPEAT");  // filtered, 6 characters
}

TEST_F(CommitCellTextTest, HeaderCellsAndOutsideCellsAreNeverChanged) {
  EXPECT_EQ(Commit(0, 1, "146.525", CommitPath::LeaveCell), "");
  EXPECT_EQ(Commit(1, 0, "146.525", CommitPath::LeaveCell), "");
  EXPECT_EQ(Commit(129, 1, "146.525", CommitPath::LeaveCell), "");
  EXPECT_EQ(Commit(1, 12, "146.525", CommitPath::LeaveCell), "");
  EXPECT_EQ(grid_.TextMatrix(0, 1), "Receive(MHz)");
  EXPECT_EQ(grid_.TextMatrix(1, 0), "1");
  EXPECT_EQ(Row(1), Cells(11, ""));
}

TEST(RowHasFrequencyTest, EitherFrequencyCounts) {
  MemoryGrid grid;
  EXPECT_FALSE(RowHasFrequency(grid, 1));
  grid.SetTextMatrix(1, gl::kColTransmit, "146.52500");
  EXPECT_TRUE(RowHasFrequency(grid, 1));
  grid.SetTextMatrix(1, gl::kColTransmit, "");
  grid.SetTextMatrix(1, gl::kColReceive, "x");
  EXPECT_TRUE(RowHasFrequency(grid, 1));
  grid.SetTextMatrix(1, gl::kColRxTone, "OFF");
  grid.SetTextMatrix(1, gl::kColReceive, "");
  EXPECT_FALSE(RowHasFrequency(grid, 1));
}

}  // namespace
}  // namespace zlm5
