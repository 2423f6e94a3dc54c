// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <stdexcept>

#include "model/form_lists.h"
#include "model/memory_grid.h"

namespace zlm5 {
namespace {

TEST(MemoryGridTest, StartsLikeTheFreshView) {
  const MemoryGrid grid;
  for (int col = 0; col < grid_layout::kColumns; ++col) {
    EXPECT_EQ(grid.TextMatrix(0, col), kColumnHeaders[col]);
  }
  EXPECT_EQ(grid.TextMatrix(0, 8), " Opt Signal");
  EXPECT_EQ(grid.TextMatrix(1, 0), "1");
  EXPECT_EQ(grid.TextMatrix(128, 0), "128");
  EXPECT_EQ(grid.TextMatrix(64, 11), "");
  EXPECT_EQ(grid.BoxSelection(FormBox::Field), 2);
  EXPECT_EQ(grid.BoxSelection(FormBox::Type), 0);
  EXPECT_EQ(grid.BoxSelection(FormBox::Manual), -1);
  EXPECT_EQ(grid.BoxSelection(FormBox::PowerRank), 9);
}

TEST(MemoryGridTest, SelectionsOutsideTheListsLeaveNoSelection) {
  MemoryGrid grid;
  const std::pair<FormBox, int> sizes[] = {
      {FormBox::Field, 10}, {FormBox::Type, 1}, {FormBox::Manual, 2}, {FormBox::PowerRank, 10}};
  for (const auto& [box, size] : sizes) {
    EXPECT_EQ(form_lists::EntryCount(box), size);
    grid.SetBoxSelection(box, size - 1);
    EXPECT_EQ(grid.BoxSelection(box), size - 1);
    grid.SetBoxSelection(box, size);
    EXPECT_EQ(grid.BoxSelection(box), -1);
    grid.SetBoxSelection(box, 0);
    grid.SetBoxSelection(box, -2);
    EXPECT_EQ(grid.BoxSelection(box), -1);
  }
}

TEST(MemoryGridTest, CellsOutsideTheTableThrow) {
  MemoryGrid grid;
  EXPECT_THROW(grid.TextMatrix(129, 0), std::out_of_range);
  EXPECT_THROW(grid.TextMatrix(0, 12), std::out_of_range);
  EXPECT_THROW(grid.SetTextMatrix(-1, 0, "x"), std::out_of_range);
  grid.SetTextMatrix(128, 11, "Z");
  EXPECT_EQ(grid.TextMatrix(128, 11), "Z");
  grid.ClearData();
  EXPECT_EQ(grid.TextMatrix(128, 11), "");
  EXPECT_EQ(grid.TextMatrix(128, 0), "128");
}

}  // namespace
}  // namespace zlm5
