// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/channel_grid.h"

namespace zlm5 {

// The channel table without a window: 129 x 12 cell texts and the four form
// boxes, for the command line, the tests and the benchmarks.
//
// A new MemoryGrid looks like the view right after it is first built: row 0
// holds the column headers, column 0 the channel numbers "1" to "128", every
// data cell is empty, and the boxes hold their first selections (Field 2,
// Type 0, Manual none, Tx Power Rank 9). The box lists have the sizes of the
// form's lists: Field 10 entries, Type 1, Manual 2, Tx Power Rank 10.
class MemoryGrid final : public ChannelGrid {
 public:
  MemoryGrid();

  // Row 0..128, column 0..11; std::out_of_range outside.
  std::string TextMatrix(int row, int col) const override;
  void SetTextMatrix(int row, int col, const std::string& text) override;

  int BoxSelection(FormBox box) const override;
  // An index outside 0..EntryCount(box)-1 leaves the box without a selection.
  void SetBoxSelection(FormBox box, int index) override;

  // Empties the data cells of rows 1..128 (headers and numbers stay).
  void ClearData();

 private:
  static std::size_t Index(int row, int col);

  std::vector<std::string> cells_;
  std::array<int, 4> selections_{};
};

}  // namespace zlm5
