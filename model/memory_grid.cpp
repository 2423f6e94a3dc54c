// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/memory_grid.h"

#include <stdexcept>

#include "model/channel_codec.h"
#include "model/form_lists.h"

namespace zlm5 {

namespace {

std::size_t BoxSlot(FormBox box) { return static_cast<std::size_t>(box); }

}  // namespace

MemoryGrid::MemoryGrid() : cells_(grid_layout::kRows * grid_layout::kColumns) {
  WriteGridHeaders(*this);
  for (const FormBox box : {FormBox::Field, FormBox::Type, FormBox::Manual, FormBox::PowerRank}) {
    selections_[BoxSlot(box)] = form_lists::InitialSelection(box);
  }
}

std::size_t MemoryGrid::Index(int row, int col) {
  if (row < 0 || row >= grid_layout::kRows || col < 0 || col >= grid_layout::kColumns) {
    throw std::out_of_range("grid cell (" + std::to_string(row) + ", " + std::to_string(col) +
                            ") is outside 129 x 12");
  }
  return static_cast<std::size_t>(row) * grid_layout::kColumns + static_cast<std::size_t>(col);
}

std::string MemoryGrid::TextMatrix(int row, int col) const { return cells_[Index(row, col)]; }

void MemoryGrid::SetTextMatrix(int row, int col, const std::string& text) {
  cells_[Index(row, col)] = text;
}

int MemoryGrid::BoxSelection(FormBox box) const { return selections_[BoxSlot(box)]; }

void MemoryGrid::SetBoxSelection(FormBox box, int index) {
  selections_[BoxSlot(box)] = (index >= 0 && index < form_lists::EntryCount(box)) ? index : -1;
}

void MemoryGrid::ClearData() {
  for (int row = 1; row < grid_layout::kRows; ++row) {
    for (int col = 1; col < grid_layout::kColumns; ++col) cells_[Index(row, col)].clear();
  }
}

}  // namespace zlm5
