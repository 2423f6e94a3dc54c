#pragma once

#include <string>
#include <string_view>

#include "model/channel_grid.h"
#include "model/radio_image.h"

namespace zlm5 {

// Decodes the 128 channel records, the names and the four form-box bytes
// of the image into the grid. Writes every data cell of rows 1..128
// (columns 1..11); never touches row 0 or column 0; never changes the image.
void ImageToGrid(const RadioImage& image, ChannelGrid& grid);

// Encodes rows 1..128 and the form boxes back into the image. Bits that the
// radio's layout leaves uninterpreted keep their value. Never fails.
void GridToImage(const ChannelGrid& grid, RadioImage& image);

// Result of checking the text typed into a frequency editor.
struct FrequencyCommit {
  std::string text;   // what the cell receives: "%3.5f" form, or "" after an error
  std::string error;  // the message to show the user; empty when accepted
};
FrequencyCommit CommitFrequencyText(std::string_view typed);

// The two ways an open cell editor is committed into its cell.
enum class CommitPath { LeaveCell, EnterKey };

// A row has a frequency when its receive or transmit cell is not empty.
bool RowHasFrequency(const ChannelGrid& grid, int row);

// Commits an editor's text into cell (row, col) with the row rules of the
// given path: frequency checks and new-row defaults for columns 1-2, the
// "store only in a row with a frequency" rule of columns 3-10, the name
// rules of column 11. For a selection column `text` is the box's text.
// Returns the message to show the user (empty when none).
std::string CommitCellText(ChannelGrid& grid, int row, int col,
                           std::string_view text, CommitPath path);

}  // namespace zlm5
