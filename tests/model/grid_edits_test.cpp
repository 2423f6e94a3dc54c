// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/channel_record.h"
#include "model/channel_rows.h"
#include "model/document_compare.h"
#include "model/grid_edits.h"
#include "model/memory_grid.h"

namespace zlm5 {
namespace {

namespace gl = grid_layout;
namespace rl = record_layout;

// As a radio holds it: empty channels all 0xFF, which an encode would not
// keep (it writes the flags of every record).
RadioImage RadioMemory() {
  RadioImage image = ChannelDocument::NewDocumentImage();
  WriteFrequency(ReceiveBytes(image.Record(1)), 14652500);
  WriteFrequency(TransmitBytes(image.Record(1)), 14652500);
  WriteFrequency(ReceiveBytes(image.Record(5)), 43500000);
  WriteFrequency(TransmitBytes(image.Record(5)), 43812500);
  return image;
}

std::vector<std::string> Lines(const RadioImage& before, const RadioImage& after) {
  std::vector<std::string> lines;
  for (const Difference& d : CompareImages(before, after)) lines.push_back(d.text);
  return lines;
}

TEST(GridEditsTest, AGridShowingTheImageLeavesEveryByte) {
  const RadioImage radio = RadioMemory();
  MemoryGrid grid;
  ImageToGrid(radio, grid);
  RadioImage encoded = radio;
  GridToImage(grid, encoded);
  ASSERT_NE(encoded, radio);  // what a plain encode would make of it
  EXPECT_EQ(ImageWithGridEdits(radio, grid), radio);
}

TEST(GridEditsTest, OnlyTheEditedChannelAndTheBoxesAreEncoded) {
  const RadioImage radio = RadioMemory();
  MemoryGrid grid;
  ImageToGrid(radio, grid);
  CommitCellText(grid, 5, gl::kColName, "rep", CommitPath::LeaveCell);
  CommitCellText(grid, 7, gl::kColReceive, "146.5", CommitPath::LeaveCell);

  const RadioImage edited = ImageWithGridEdits(radio, grid);
  // Channels 5 and 7 as the grid shows them, nothing else touched.
  EXPECT_EQ(
      Lines(radio, edited),
      (std::vector<std::string>{
          "CH 5 Name: (empty) → REP", "CH 7 Receive(MHz): (empty) → 146.50000",
          "CH 7 Transmit(MHz): (empty) → 146.50000", "CH 7 Rx Tone: (empty) → OFF",
          "CH 7 Tx Tone: (empty) → OFF", "CH 7 W/N: (empty) → Wide", "CH 7 Scan: (empty) → Yes",
          "CH 7 Tx Power: (empty) → High", "CH 7 Opt Signal: (empty) → None",
          "CH 7 PTTID: (empty) → ON", "CH 7 BusyLock: (empty) → Close"}));
  RadioImage encoded = radio;
  GridToImage(grid, encoded);
  for (int channel : {5, 7}) {
    EXPECT_TRUE(std::ranges::equal(edited.Record(channel), encoded.Record(channel)));
    EXPECT_TRUE(std::ranges::equal(edited.Name(channel), encoded.Name(channel)));
  }
  EXPECT_TRUE(std::ranges::equal(edited.Record(6), radio.Record(6)));

  // A box: the settings block is encoded, the channels stay as they were.
  grid.SetBoxSelection(FormBox::Field, 8);
  const RadioImage boxed = ImageWithGridEdits(radio, grid);
  EXPECT_EQ(Lines(edited, boxed), std::vector<std::string>{"Field: 67 - 72MHz → 400 - 470MHz"});
}

// --- pasted channels ----------------------------------------------------------

std::string RowText(const ChannelGrid& grid, int row) {
  std::string text;
  for (int col = gl::kColReceive; col < gl::kColumns; ++col) {
    text += (col > gl::kColReceive ? "|" : "") + grid.TextMatrix(row, col);
  }
  return text;
}

// The row as the document holds it once the grid is saved: encoded into
// `image` and decoded again, as opening the file, `grid` or Compare With
// Radio would show it.
std::string HeldRow(const RadioImage& image, const ChannelGrid& grid, int row) {
  MemoryGrid held;
  ImageToGrid(ImageWithGridEdits(image, grid), held);
  return RowText(held, row);
}

// Channel 5 only receives, and its Opt Signal byte holds neither entry, as
// only a radio writes it: the grid shows an empty cell.
RadioImage ReceiveOnlyWithOddSignal() {
  RadioImage image = RadioMemory();
  WriteFrequency(TransmitBytes(image.Record(5)), rl::kNoFrequency);
  image.Record(5)[rl::kOptSignal] = 0x02;
  return image;
}

// A spreadsheet line of a channel that only receives, with the tones and
// the lists left empty, and a line of just the two frequencies.
constexpr std::string_view kSpreadsheetLines =
    "446.1\t\t\t\t\t\t\t\t\t\tabc\n"
    "145.5\t\n";

TEST(PastedChannelsTest, AChannelWithoutFrequencyGetsWhatANewChannelGets) {
  const RadioImage radio = ReceiveOnlyWithOddSignal();
  MemoryGrid grid;
  ImageToGrid(radio, grid);
  ApplyPastedChannels(ReadGridText(kSpreadsheetLines, 9), grid);

  EXPECT_EQ(RowText(grid, 9), "446.10000||OFF|OFF|Wide|Yes|High|None|ON|Close|ABC");
  EXPECT_EQ(RowText(grid, 10), "145.50000||OFF|OFF|Wide|Yes|High|None|ON|Close|");
  const RadioImage saved = ImageWithGridEdits(radio, grid);
  EXPECT_EQ(saved.Record(9)[rl::kOptSignal], rl::kOptSignalNone);
  EXPECT_EQ(saved.Record(10)[rl::kOptSignal], rl::kOptSignalNone);
  // The window shows what the file will hold, cell for cell.
  for (int row : {9, 10}) EXPECT_EQ(RowText(grid, row), HeldRow(radio, grid, row)) << row;
}

TEST(PastedChannelsTest, AChannelInUseTakesAnEmptyOptSignalAsItWas) {
  const RadioImage radio = ReceiveOnlyWithOddSignal();
  MemoryGrid grid;
  ImageToGrid(radio, grid);
  const std::string five = RowText(grid, 5);
  ASSERT_EQ(five, "435.00000||OFF|OFF|Wide|Yes|High||ON|Close|");
  const std::vector<int> rows = {5};
  const std::string copied = RowsToGridText(grid, rows);

  // Back onto itself: the file keeps every byte, the odd one included.
  ApplyPastedChannels(ReadGridText(copied, 5), grid);
  EXPECT_EQ(RowText(grid, 5), five);
  EXPECT_EQ(ImageWithGridEdits(radio, grid), radio);

  // Onto channel 1, which is in use: the copy as it stands.
  ApplyPastedChannels(ReadGridText(copied, 1), grid);
  EXPECT_EQ(RowText(grid, 1), five);
  EXPECT_EQ(RowText(grid, 1), HeldRow(radio, grid, 1));

  // Onto channel 1 again, a line whose Tx Tone is empty: "OFF" is shown,
  // as the file holds it.
  ApplyPastedChannels(ReadGridText("146.525\t\tD023N\t\tNarrow\n", 1), grid);
  EXPECT_EQ(RowText(grid, 1), "146.52500||D023N|OFF|Narrow|Yes|High|None|ON|Close|");
  EXPECT_EQ(RowText(grid, 1), HeldRow(radio, grid, 1));
}

}  // namespace
}  // namespace zlm5
