// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"

namespace zlm5 {
namespace {

namespace gl = grid_layout;

std::vector<std::string> Row(const ChannelGrid& grid, int row) {
  std::vector<std::string> cells;
  for (int col = 1; col < gl::kColumns; ++col) cells.push_back(grid.TextMatrix(row, col));
  return cells;
}

void SetRecord(RadioImage& image, int channel, std::array<std::uint8_t, 16> bytes) {
  std::copy(bytes.begin(), bytes.end(), image.Record(channel).begin());
}

class ImageToGridTest : public ::testing::Test {
 protected:
  RadioImage image_ = ChannelDocument::NewDocumentImage();
  MemoryGrid grid_;
};

TEST_F(ImageToGridTest, NewDocumentShowsEmptyRowsAndDefaultBoxes) {
  ImageToGrid(image_, grid_);
  for (int row = 1; row <= 128; ++row) {
    for (int col = 1; col < gl::kColumns; ++col) ASSERT_EQ(grid_.TextMatrix(row, col), "");
  }
  EXPECT_EQ(grid_.BoxSelection(FormBox::Field), 0);
  EXPECT_EQ(grid_.BoxSelection(FormBox::Type), 0);
  EXPECT_EQ(grid_.BoxSelection(FormBox::Manual), 0);
  EXPECT_EQ(grid_.BoxSelection(FormBox::PowerRank), 9);
  // Headers and channel numbers stay as the view wrote them.
  EXPECT_EQ(grid_.TextMatrix(0, 5), " W/N ");
  EXPECT_EQ(grid_.TextMatrix(77, 0), "77");
}

TEST_F(ImageToGridTest, DecodesEveryColumn) {
  SetRecord(image_, 5,
            {0x00, 0x25, 0x65, 0x14, 0x25, 0x06, 0x60, 0x44, 0x70, 0x06, 0x23, 0x80, 0x04, 0x3A,
             0x01, 0x00});
  image_.Name(5)[0] = 10;
  image_.Name(5)[1] = 37;
  image_.Name(5)[2] = 11;
  ImageToGrid(image_, grid_);
  EXPECT_EQ(Row(grid_, 5),
            (std::vector<std::string>{"146.52500", "446.00625", "67.0", "D023N", "Wide", "Yes",
                                      "High", "CCIR", "ON", "Carrier", "A B"}));
}

TEST_F(ImageToGridTest, ReceiveEmptyButTransmitSetIsInUse) {
  SetRecord(image_, 1,
            {0xFF, 0xFF, 0xFF, 0xFF, 0x25, 0x06, 0x60, 0x44, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x00,
             0x00, 0xFF});
  ImageToGrid(image_, grid_);
  EXPECT_EQ(Row(grid_, 1), (std::vector<std::string>{"", "446.00625", "OFF", "OFF", "Narrow", "No",
                                                     "Low", "None", "OFF", "Close", ""}));
}

TEST_F(ImageToGridTest, ChannelNotInUseShowsOnlyItsNameAndRealTones) {
  SetRecord(image_, 3,
            {0x00, 0x25, 0x65, 0x00, 0x11, 0x22, 0x33, 0xFF, 0xFF, 0xFF, 0x23, 0x80, 0x01, 0x3F,
             0x01, 0x00});
  image_.Name(3)[0] = 12;
  ImageToGrid(image_, grid_);
  EXPECT_EQ(Row(grid_, 3),
            (std::vector<std::string>{"", "", "", "D023N", "", "", "", "", "", "", "C"}));
}

TEST_F(ImageToGridTest, FlagByteEdgeCases) {
  SetRecord(image_, 2,
            {0x00, 0x25, 0x65, 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x04,
             0xFE, 0xFF});
  SetRecord(image_, 4,
            {0x00, 0x25, 0x65, 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x03,
             0x00, 0xFF});
  SetRecord(image_, 6,
            {0x00, 0x25, 0x65, 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x01,
             0x00, 0xFF});
  ImageToGrid(image_, grid_);
  // Bit 2 alone shows as scanned; byte 12 = 2 shows nothing; PTT ID is bit 0 only.
  EXPECT_EQ(Row(grid_, 2), (std::vector<std::string>{"146.52500", "", "OFF", "OFF", "Narrow", "Yes",
                                                     "Low", "", "OFF", "Close", ""}));
  EXPECT_EQ(grid_.TextMatrix(4, gl::kColBusyLock), "Close");  // 3 shows as "Close"
  EXPECT_EQ(grid_.TextMatrix(4, gl::kColOptSignal), "");
  EXPECT_EQ(grid_.TextMatrix(6, gl::kColBusyLock), "QT/DQT");
}

TEST_F(ImageToGridTest, NamesStopAtFFAndShowUnknownCodesAsDash) {
  const std::array<std::uint8_t, 8> name = {36, 38, 254, 0, 35, 0xFF, 10, 10};
  std::copy(name.begin(), name.end(), image_.Name(128).begin());
  const std::array<std::uint8_t, 8> full = {10, 11, 12, 13, 14, 15, 16, 17};
  std::copy(full.begin(), full.end(), image_.Name(127).begin());
  ImageToGrid(image_, grid_);
  EXPECT_EQ(grid_.TextMatrix(128, gl::kColName), "---0Z");
  EXPECT_EQ(grid_.TextMatrix(127, gl::kColName), "ABCDEFGH");  // 8 characters, no terminator
}

TEST_F(ImageToGridTest, FormBoxesFollowTheReadingRules) {
  struct Case {
    std::uint8_t field, type, flags, rank;
    int field_entry, type_entry, manual_entry, rank_entry;
  };
  for (const Case c :
       {Case{0xF5, 0x38, 0x44, 0x0C, 7, 0, 1, 0}, Case{0xED, 0x39, 0x80, 0x03, 0, -1, 0, 3},
        Case{0xF8, 0x3B, 0x00, 0x09, 0, 0, 1, 9}, Case{0xEE, 0x37, 0xFF, 0xFF, 0, -1, 0, 0},
        Case{0xF7, 0x3A, 0x7F, 0x00, 9, -1, 1, 0}}) {
    image_.set(0x80A, c.field);
    image_.set(0x80B, c.type);
    image_.set(0x812, c.flags);
    image_.set(0x819, c.rank);
    ImageToGrid(image_, grid_);
    EXPECT_EQ(grid_.BoxSelection(FormBox::Field), c.field_entry) << int(c.field);
    EXPECT_EQ(grid_.BoxSelection(FormBox::Type), c.type_entry) << int(c.type);
    EXPECT_EQ(grid_.BoxSelection(FormBox::Manual), c.manual_entry) << int(c.flags);
    EXPECT_EQ(grid_.BoxSelection(FormBox::PowerRank), c.rank_entry) << int(c.rank);
  }
}

TEST_F(ImageToGridTest, NeverChangesTheImage) {
  image_.set(0x10, 0x42);
  const RadioImage before = image_;
  ImageToGrid(image_, grid_);
  EXPECT_EQ(image_, before);
}

class GridToImageTest : public ::testing::Test {
 protected:
  RadioImage image_ = ChannelDocument::NewDocumentImage();
  MemoryGrid grid_;
};

TEST_F(GridToImageTest, UntouchedNewDocumentWritesTheEmptyChannelBytes) {
  ImageToGrid(image_, grid_);
  RadioImage encoded = image_;
  GridToImage(grid_, encoded);
  for (int n = 1; n <= 128; ++n) {
    const auto record = encoded.Record(n);
    for (int i = 0; i < 12; ++i) ASSERT_EQ(record[i], 0xFF) << n << ":" << i;
    ASSERT_EQ(record[12], 0x00);
    ASSERT_EQ(record[13], 0xC5);
    ASSERT_EQ(record[14], 0xFE);
    ASSERT_EQ(record[15], 0xFF);
    for (const std::uint8_t b : encoded.Name(n)) ASSERT_EQ(b, 0xFF);
  }
  EXPECT_EQ(encoded.at(0x811), 0xA8);
  // The settings block is as a new document has it.
  for (std::size_t i = 0x800; i < 0x850; ++i) EXPECT_EQ(encoded.at(i), image_.at(i)) << i;
  for (std::size_t i = 0xC50; i < 4096; ++i) ASSERT_EQ(encoded.at(i), 0xFF);
}

TEST_F(GridToImageTest, EncodesEveryColumn) {
  const std::vector<std::string> row = {"146.52500", "446.00625", "D023N", "67.0",
                                        "Wide",      "Yes",       "High",  "CCIR",
                                        "ON",        "Carrier",   "AB-1 2"};
  for (int col = 1; col <= 11; ++col) grid_.SetTextMatrix(9, col, row[col - 1]);
  image_.Record(9)[13] = 0xC4;  // bits 7-6 and 2 must survive
  image_.Record(9)[14] = 0xAA;
  image_.Record(9)[15] = 0x5A;
  GridToImage(grid_, image_);
  const auto r = image_.Record(9);
  EXPECT_EQ(
      std::vector<std::uint8_t>(r.begin(), r.end()),
      (std::vector<std::uint8_t>{0x00, 0x25, 0x65, 0x14, 0x25, 0x06, 0x60, 0x44, 0x23, 0x80, 0x70,
                                 0x06, 0x04, 0xC4 | 0x20 | 0x10 | 0x08 | 0x02, 0xAB, 0x5A}));
  const auto name = image_.Name(9);
  EXPECT_EQ(std::vector<std::uint8_t>(name.begin(), name.end()),
            (std::vector<std::uint8_t>{10, 11, 36, 1, 37, 2, 0xFF, 0xFF}));
}

TEST_F(GridToImageTest, ChineseFormsSetTheSameBits) {
  const std::vector<std::string> row = {"146.52500", "",   "OFF", "OFF",  "宽", "是",
                                        "高",        "无", "开",  "载波", ""};
  for (int col = 1; col <= 11; ++col) grid_.SetTextMatrix(1, col, row[col - 1]);
  image_.Record(1)[13] = 0x00;
  image_.Record(1)[14] = 0x00;
  GridToImage(grid_, image_);
  EXPECT_EQ(image_.Record(1)[12], 0x01);
  EXPECT_EQ(image_.Record(1)[13], 0x20 | 0x10 | 0x08 | 0x02);
  EXPECT_EQ(image_.Record(1)[14], 0x01);
  grid_.SetTextMatrix(1, gl::kColBusyLock, "关闭");
  GridToImage(grid_, image_);
  EXPECT_EQ(image_.Record(1)[13] & 0x03, 0x00);
}

TEST_F(GridToImageTest, UnknownTextsCountAsTheOtherCase) {
  const std::vector<std::string> row = {"146.52500", "",     "OFF", "OFF",    "wide", "yes",
                                        "Low",       "ccir", "On",  "QT/DQT", "ab"};
  for (int col = 1; col <= 11; ++col) grid_.SetTextMatrix(1, col, row[col - 1]);
  image_.Record(1)[13] = 0xFF;
  image_.Record(1)[14] = 0xFF;
  GridToImage(grid_, image_);
  EXPECT_EQ(image_.Record(1)[12], 0x00);
  EXPECT_EQ(image_.Record(1)[13], 0xC5);  // bits 3, 4, 5 cleared, busy lock 1, bit 2 kept
  EXPECT_EQ(image_.Record(1)[14], 0xFE);
  EXPECT_EQ(image_.Name(1)[0], 0xFF);  // lower case has no code and ends the name
}

TEST_F(GridToImageTest, ScanNoClearsBothScanBitsAndYesKeepsBitTwo) {
  // A channel typed into an empty slot: byte 13 starts as 0xFF.
  grid_.SetTextMatrix(1, gl::kColReceive, "146.52500");
  grid_.SetTextMatrix(1, gl::kColScan, "No");
  grid_.SetTextMatrix(2, gl::kColReceive, "146.52500");
  grid_.SetTextMatrix(2, gl::kColScan, "Yes");
  image_.Record(1)[13] = 0xFF;
  image_.Record(2)[13] = 0x04;
  GridToImage(grid_, image_);
  EXPECT_EQ(image_.Record(1)[13] & 0x0C, 0x00);
  EXPECT_EQ(image_.Record(2)[13] & 0x0C, 0x0C);
  MemoryGrid decoded;
  ImageToGrid(image_, decoded);
  EXPECT_EQ(decoded.TextMatrix(1, gl::kColScan), "No");
  EXPECT_EQ(decoded.TextMatrix(2, gl::kColScan), "Yes");
}

TEST_F(GridToImageTest, FormBoxesAndFixedByte) {
  image_.set(0x811, 0x00);
  image_.set(0x812, 0x7F);
  grid_.SetBoxSelection(FormBox::Field, 7);
  grid_.SetBoxSelection(FormBox::Type, 0);
  grid_.SetBoxSelection(FormBox::Manual, 0);
  grid_.SetBoxSelection(FormBox::PowerRank, 3);
  GridToImage(grid_, image_);
  EXPECT_EQ(image_.at(0x80A), 0xF5);
  EXPECT_EQ(image_.at(0x80B), 0x38);
  EXPECT_EQ(image_.at(0x812), 0xFF);
  EXPECT_EQ(image_.at(0x819), 0x03);
  EXPECT_EQ(image_.at(0x811), 0xA8);

  for (const FormBox box : {FormBox::Field, FormBox::Type, FormBox::Manual, FormBox::PowerRank}) {
    grid_.SetBoxSelection(box, -1);
  }
  GridToImage(grid_, image_);
  EXPECT_EQ(image_.at(0x80A), 0xED);
  EXPECT_EQ(image_.at(0x80B), 0x37);
  EXPECT_EQ(image_.at(0x812), 0x7F);
  EXPECT_EQ(image_.at(0x819), 0xFF);

  grid_.SetBoxSelection(FormBox::Manual, 1);
  image_.set(0x812, 0xC4);
  GridToImage(grid_, image_);
  EXPECT_EQ(image_.at(0x812), 0x44);
}

TEST_F(GridToImageTest, NamesLongerThanEightAreCutAndNonAsciiEndsThem) {
  grid_.SetTextMatrix(1, gl::kColName, "ABCDEFGHIJ");
  grid_.SetTextMatrix(2, gl::kColName, "A中B");
  GridToImage(grid_, image_);
  const auto one = image_.Name(1);
  EXPECT_EQ(std::vector<std::uint8_t>(one.begin(), one.end()),
            (std::vector<std::uint8_t>{10, 11, 12, 13, 14, 15, 16, 17}));
  const auto two = image_.Name(2);
  EXPECT_EQ(std::vector<std::uint8_t>(two.begin(), two.end()),
            (std::vector<std::uint8_t>{10, 0xFF, 11, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  MemoryGrid decoded;
  ImageToGrid(image_, decoded);
  EXPECT_EQ(decoded.TextMatrix(2, gl::kColName), "A");
}

TEST_F(GridToImageTest, EveryTypedRasterFrequencyIsStoredExactly) {
  for (const char* text : {"128.01", "146.50625", "67", "521", "446.00625", "433.0025"}) {
    const FrequencyCommit commit = CommitFrequencyText(text);
    ASSERT_FALSE(commit.text.empty()) << text;
    grid_.SetTextMatrix(1, gl::kColReceive, commit.text);
    GridToImage(grid_, image_);
    MemoryGrid decoded;
    ImageToGrid(image_, decoded);
    EXPECT_EQ(decoded.TextMatrix(1, gl::kColReceive), commit.text);
  }
  grid_.SetTextMatrix(1, gl::kColReceive, "128.01000");
  GridToImage(grid_, image_);
  const auto r = image_.Record(1);
  EXPECT_EQ(std::vector<std::uint8_t>(r.begin(), r.begin() + 4),
            (std::vector<std::uint8_t>{0x00, 0x10, 0x80, 0x12}));
}

TEST_F(GridToImageTest, FrequencyCellsThatAreNotPositiveNumbersStoreNoFrequency) {
  for (const char* text : {"", "abc", "-146.5", "0"}) {
    image_.Record(1)[0] = 0x12;
    grid_.SetTextMatrix(1, gl::kColReceive, text);
    GridToImage(grid_, image_);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(image_.Record(1)[i], 0xFF) << text;
  }
}

}  // namespace
}  // namespace zlm5
