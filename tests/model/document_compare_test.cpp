// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/document_compare.h"
#include "model/memory_grid.h"
#include "model/optional_features.h"

namespace zlm5 {
namespace {

namespace gl = grid_layout;

std::vector<std::string> Lines(const std::vector<Difference>& differences) {
  std::vector<std::string> lines;
  for (const Difference& d : differences) lines.push_back(d.text);
  return lines;
}

// A document as the program saves it: a few channels typed into a new one.
RadioImage SavedDocument() {
  RadioImage image = ChannelDocument::NewDocumentImage();
  MemoryGrid grid;
  ImageToGrid(image, grid);
  CommitCellText(grid, 1, gl::kColReceive, "146.525", CommitPath::LeaveCell);
  CommitCellText(grid, 12, gl::kColReceive, "446.00625", CommitPath::LeaveCell);
  CommitCellText(grid, 12, gl::kColRxTone, "88.5", CommitPath::LeaveCell);
  GridToImage(grid, image);
  return image;
}

TEST(DocumentCompareTest, EqualImagesHaveNoDifferences) {
  const RadioImage image = SavedDocument();
  EXPECT_TRUE(CompareImages(image, image).empty());
}

TEST(DocumentCompareTest, CellsBoxesSettingsAndTuningInWords) {
  const RadioImage before = SavedDocument();
  MemoryGrid grid;
  ImageToGrid(before, grid);
  CommitCellText(grid, 12, gl::kColRxTone, "d023n", CommitPath::LeaveCell);
  CommitCellText(grid, 12, gl::kColName, "rep", CommitPath::LeaveCell);
  CommitCellText(grid, 1, gl::kColReceive, "", CommitPath::LeaveCell);
  CommitCellText(grid, 1, gl::kColTransmit, "", CommitPath::LeaveCell);
  grid.SetBoxSelection(FormBox::Field, 8);
  RadioImage after = before;
  GridToImage(grid, after);
  OptionalFeaturesValues values = LoadOptionalFeatures(after);
  values.squelch = 3;
  values.language = 0;
  StoreOptionalFeatures(values, after);
  after.set(image_map::kLowPowerTuning, 90);

  const std::vector<std::string> expected = {
      "CH 1 Receive(MHz): 146.52500 → (empty)",
      "CH 1 Transmit(MHz): 146.52500 → (empty)",
      "CH 1 Rx Tone: OFF → (empty)",
      "CH 1 Tx Tone: OFF → (empty)",
      "CH 1 W/N: Wide → (empty)",
      "CH 1 Scan: Yes → (empty)",
      "CH 1 Tx Power: High → (empty)",
      "CH 1 Opt Signal: None → (empty)",
      "CH 1 PTTID: ON → (empty)",
      "CH 1 BusyLock: Close → (empty)",
      "CH 12 Rx Tone: 88.5 → D023N",
      "CH 12 Name: (empty) → REP",
      "Field: 67 - 72MHz → 400 - 470MHz",
      "Manul Setting: Open → Close",  // the dialog's OK rewrites the byte it shares
      "squelch: 5 → 3",
      "language: OFF → Germany ",
      "Low power tuning: 255 → 90",
  };
  const std::vector<Difference> differences = CompareImages(before, after);
  EXPECT_EQ(Lines(differences), expected);

  const Difference& tone = differences[10];
  EXPECT_EQ(tone.kind, DifferenceKind::Cell);
  EXPECT_EQ(tone.channel, 12);
  EXPECT_EQ(tone.column, gl::kColRxTone);
  EXPECT_EQ(tone.item, "Rx Tone");
  EXPECT_EQ(tone.before, "88.5");
  EXPECT_EQ(tone.after, "D023N");
  EXPECT_EQ(differences[12].kind, DifferenceKind::FormBox);
  EXPECT_EQ(differences[13].item, "Manul Setting");
  EXPECT_EQ(differences[14].kind, DifferenceKind::Setting);
  EXPECT_EQ(differences[14].item, "squelch");
  EXPECT_EQ(differences[16].kind, DifferenceKind::Tuning);

  // Comparing the other way round swaps the sides.
  // NOLINTNEXTLINE(readability-suspicious-call-argument): swapped on purpose
  EXPECT_EQ(Lines(CompareImages(after, before))[10], "CH 12 Rx Tone: D023N → 88.5");
}

TEST(DocumentCompareTest, BytesThatNothingShowsAreNamedByOffset) {
  const RadioImage before = SavedDocument();
  RadioImage after = before;
  after.Record(7)[15] ^= 0x01;  // spare byte of an empty channel
  after.Record(9)[15] ^= 0x01;
  after.Record(10)[15] ^= 0x01;
  after.Record(12)[15] ^= 0x01;  // hidden by CH 12's shown change below
  after.Record(12)[8] = 0x70;    // Rx Tone 88.5 -> 67.0
  after.Record(12)[9] = 0x06;
  after.set(0x81D, 0x01);                    // reserved settings byte
  after.set(image_map::kTransferEnd, 0x00);  // beyond what the radio exchanges
  after.set(image_map::kHighPowerTuning, 77);

  std::vector<Difference> differences = CompareImages(before, after);
  EXPECT_EQ(Lines(differences),
            (std::vector<std::string>{
                "CH 12 Rx Tone: 88.5 → 67.0",
                "CH 7, 9-10: 3 bytes differ that the grid does not show (0x06F, 0x08F, 0x09F)",
                "Settings: 1 byte differs that no setting shows (0x81D)",
                "High power tuning: 255 → 77",
                "Other bytes: 1 byte differs that the program does not show (0xC50)",
            }));
  EXPECT_EQ(differences[1].kind, DifferenceKind::HiddenBytes);
  EXPECT_EQ(differences[1].offsets, (std::vector<std::size_t>{0x06F, 0x08F, 0x09F}));

  // The radio and the document share only the transferred bytes.
  differences = CompareImages(before, after, CompareScope::TransferredBytes);
  ASSERT_EQ(differences.size(), 3u);
  EXPECT_EQ(differences[2].text, "Settings: 1 byte differs that no setting shows (0x81D)");
}

TEST(DocumentCompareTest, ManyHiddenBytesAreCountedAndTheFirstEightNamed) {
  const RadioImage before = ChannelDocument::NewDocumentImage();
  RadioImage after = before;
  for (std::size_t offset = 0xC60; offset < 0xC6A; ++offset) after.set(offset, 0);
  const std::vector<Difference> differences = CompareImages(before, after);
  ASSERT_EQ(differences.size(), 1u);
  EXPECT_EQ(differences[0].text,
            "Other bytes: 10 bytes differ that the program does not show (0xC60, 0xC61, 0xC62, "
            "0xC63, 0xC64, 0xC65, 0xC66, 0xC67, ...)");
  EXPECT_EQ(differences[0].offsets.size(), 10u);
}

// Whatever the bytes, the compare is silent exactly when the images are
// equal, and every cell it names shows its two texts in the grid.
TEST(DocumentCompareTest, SilentExactlyWhenEqualOverRandomImages) {
  std::mt19937 random(20240610);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<std::size_t> offset(0, image_map::kSize - 1);
  std::uniform_int_distribution<int> changes(0, 3);
  for (int round = 0; round < 300; ++round) {
    RadioImage before;
    for (auto& b : before.bytes()) b = static_cast<std::uint8_t>(byte(random));
    RadioImage after = before;
    for (int i = changes(random); i > 0; --i) {
      after.set(offset(random), static_cast<std::uint8_t>(byte(random)));
    }
    const std::vector<Difference> differences = CompareImages(before, after);
    ASSERT_EQ(differences.empty(), before == after) << "round " << round;

    MemoryGrid grid_before;
    MemoryGrid grid_after;
    ImageToGrid(before, grid_before);
    ImageToGrid(after, grid_after);
    for (const Difference& d : differences) {
      if (d.kind != DifferenceKind::Cell) continue;
      EXPECT_EQ(d.before, grid_before.TextMatrix(d.channel, d.column));
      EXPECT_EQ(d.after, grid_after.TextMatrix(d.channel, d.column));
      EXPECT_NE(d.before, d.after);
    }
  }
}

}  // namespace
}  // namespace zlm5
