// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/channel_record.h"
#include "model/document_compare.h"
#include "model/grid_edits.h"
#include "model/memory_grid.h"

namespace zlm5 {
namespace {

namespace gl = grid_layout;

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

}  // namespace
}  // namespace zlm5
