// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace zlm5 {

// Rows and columns of the channel table as the view shows it: row 0 holds
// the headers, column 0 the channel numbers; rows 1..128 are channels 1..128.
namespace grid_layout {
inline constexpr int kRows = 129;
inline constexpr int kColumns = 12;
inline constexpr int kColChannel = 0;
inline constexpr int kColReceive = 1;
inline constexpr int kColTransmit = 2;
inline constexpr int kColRxTone = 3;
inline constexpr int kColTxTone = 4;
inline constexpr int kColBandwidth = 5;
inline constexpr int kColScan = 6;
inline constexpr int kColTxPower = 7;
inline constexpr int kColOptSignal = 8;
inline constexpr int kColPttId = 9;
inline constexpr int kColBusyLock = 10;
inline constexpr int kColName = 11;
}  // namespace grid_layout

// The four boxes above the grid.
enum class FormBox { Field, Type, Manual, PowerRank };
// Their number, for what is kept per box and indexed by FormBox.
inline constexpr std::size_t kFormBoxCount = 4;

// What the codec and the row rules need of the channel table: cell text by
// row and column, and the selected entry of each form box (-1 = none).
// The desktop grid and an in-memory grid implement it. Texts are UTF-8.
class ChannelGrid {
 public:
  virtual ~ChannelGrid() = default;

  virtual std::string TextMatrix(int row, int col) const = 0;
  virtual void SetTextMatrix(int row, int col, const std::string& text) = 0;

  // Entry index of a form box; -1 when no entry is selected.
  virtual int BoxSelection(FormBox box) const = 0;
  // An index outside the box's list leaves it without a selection.
  virtual void SetBoxSelection(FormBox box, int index) = 0;
};

}  // namespace zlm5
