// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "model/channel_name.h"
#include "model/form_lists.h"

namespace zlm5 {
namespace {

std::vector<std::uint8_t> NameBytes(std::string_view text) {
  std::array<std::uint8_t, 8> bytes{};
  TextToNameBytes(text, bytes);
  return {bytes.begin(), bytes.end()};
}

TEST(ChannelNameTest, CharacterCodesBothWays) {
  EXPECT_EQ(NameCharToCode('0'), 0);
  EXPECT_EQ(NameCharToCode('9'), 9);
  EXPECT_EQ(NameCharToCode('A'), 10);
  EXPECT_EQ(NameCharToCode('Z'), 35);
  EXPECT_EQ(NameCharToCode('-'), 36);
  EXPECT_EQ(NameCharToCode(' '), 37);
  EXPECT_EQ(NameCharToCode('a'), 0xFF);
  EXPECT_EQ(NameCharToCode('.'), 0xFF);
  for (int code = 0; code < 38; ++code) {
    const char c = NameCodeToChar(static_cast<std::uint8_t>(code));
    EXPECT_EQ(NameCharToCode(c), code) << code;
  }
  EXPECT_EQ(NameCodeToChar(38), '-');
  EXPECT_EQ(NameCodeToChar(254), '-');
}

TEST(ChannelNameTest, TextToBytesAndBack) {
  EXPECT_EQ(NameBytes("AB-1 2"), (std::vector<std::uint8_t>{10, 11, 36, 1, 37, 2, 0xFF, 0xFF}));
  EXPECT_EQ(NameBytes(""), std::vector<std::uint8_t>(8, 0xFF));
  const std::array<std::uint8_t, 8> spaced = {10, 37, 11, 0xFF, 1, 2, 3, 4};
  EXPECT_EQ(NameBytesToText(spaced), "A B");
}

TEST(ChannelNameTest, NameEditorKeepsWhatItsKeysAllow) {
  EXPECT_EQ(NameEditorText("ab-1 2"), "AB-1 2");
  EXPECT_EQ(NameEditorText("rep.eater"), "REPEAT");
  EXPECT_EQ(NameEditorText("中文A_b"), "AB");
  EXPECT_EQ(NameEditorText(""), "");
}

TEST(FormListsTest, EntriesOfTheBoxesAndCellLists) {
  EXPECT_EQ(form_lists::kField[0], "  67 - 72MHz");
  EXPECT_EQ(form_lists::kField[7], "470 - 490MHz");
  EXPECT_EQ(form_lists::Entries(FormBox::Type)[0], "RaNOX-ONE");
  EXPECT_EQ(form_lists::Entries(FormBox::Manual)[1], "Close");
  EXPECT_EQ(form_lists::Entries(FormBox::PowerRank)[9], "9");

  EXPECT_EQ(cell_lists::ForColumn(5)[1], "Narrow");
  EXPECT_EQ(cell_lists::ForColumn(7)[0], "Low");
  EXPECT_EQ(cell_lists::ForColumn(10)[2], "QT/DQT");
  EXPECT_TRUE(cell_lists::ForColumn(1).empty());
  EXPECT_TRUE(cell_lists::ForColumn(11).empty());

  EXPECT_EQ(cell_lists::FindEntry(10, "carrier"), 1);
  EXPECT_EQ(cell_lists::FindEntry(3, "d754i"), 260);
  EXPECT_EQ(cell_lists::FindEntry(9, "On"), 1);
  EXPECT_EQ(cell_lists::FindEntry(6, "maybe"), -1);
  EXPECT_EQ(cell_lists::FindEntry(1, "146.5"), -1);
  EXPECT_EQ(cell_lists::EntryText(4, 1), "67.0");
  EXPECT_EQ(cell_lists::EntryText(8, 1), "CCIR");
  EXPECT_THROW(cell_lists::EntryText(8, 2), std::out_of_range);
  EXPECT_TRUE(cell_lists::IsSelectionColumn(3));
  EXPECT_TRUE(cell_lists::IsSelectionColumn(10));
  EXPECT_FALSE(cell_lists::IsSelectionColumn(2));
  EXPECT_FALSE(cell_lists::IsSelectionColumn(11));

  EXPECT_EQ(EditorKindForColumn(0), CellEditorKind::Frequency);
  EXPECT_EQ(EditorKindForColumn(2), CellEditorKind::Frequency);
  EXPECT_EQ(EditorKindForColumn(4), CellEditorKind::Tone);
  EXPECT_EQ(EditorKindForColumn(5), CellEditorKind::List);
  EXPECT_EQ(EditorKindForColumn(10), CellEditorKind::List);
  EXPECT_EQ(EditorKindForColumn(11), CellEditorKind::Name);
}

}  // namespace
}  // namespace zlm5
