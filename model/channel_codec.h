// SPDX-License-Identifier: GPL-3.0-or-later
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
// radio's layout leaves uninterpreted keep their value. Never fails: a text
// that names nothing counts as the "other" case of its column (no frequency,
// no tone, byte 12 = 0, busy lock "QT/DQT", the flag bit cleared). Scan
// "Yes" sets bit 3 of byte 13 and keeps bit 2; "No" clears both, so that it
// reads back as "No"; any other text clears bit 3 and keeps bit 2.
void GridToImage(const ChannelGrid& grid, RadioImage& image);

// Writes what the view shows outside the data cells: the column headers in
// row 0 and the channel numbers "1".."128" in column 0.
void WriteGridHeaders(ChannelGrid& grid);

// Result of checking the text typed into a frequency editor.
struct FrequencyCommit {
  std::string text;   // what the cell receives: "%3.5f" form, or "" after an error
  std::string error;  // the message to show the user; empty when accepted
};
// An empty text passes unchanged. Otherwise the text is read as MHz (its
// leading number, C locale) and rounded to a count of 10 Hz units; a count
// outside 67.00000..521.00000 MHz (a text that is not a number included)
// gives kFrequencyFormatError, one on none of the 6.25/5/2.5 kHz rasters
// kFrequencyStepError, both with an empty text. An accepted count is
// returned as "%3.5f" of that very count, so the cell holds what was checked.
FrequencyCommit CommitFrequencyText(std::string_view typed);

// The two ways an open cell editor is committed into its cell.
enum class CommitPath { LeaveCell, EnterKey };

// A row has a frequency when its receive or transmit cell is not empty.
bool RowHasFrequency(const ChannelGrid& grid, int row);

// Commits an editor's text into cell (row, col) of rows 1..128, columns
// 1..11 (other cells: nothing happens) with the row rules of the given path.
// Returns the message to show the user (empty when none). `text` is:
//   columns 1, 2   the frequency editor's text. CommitFrequencyText decides
//                  what the cell gets. A non-empty result in a new row (cells
//                  1-5 empty) first fills the defaults "OFF", "OFF", "Wide",
//                  "Yes", "High", "None", "ON", "Close" into 3-10 (LeaveCell
//                  also empties the name) and, for column 1, copies the text
//                  into column 2. An empty result empties the cell and the
//                  tone of its side (1 -> 3, 2 -> 4); then LeaveCell empties
//                  5-11 when 1-4 are all empty, EnterKey when 1 and 2 are.
//   columns 3, 4   the tone box's text. Without a frequency in the row the
//                  cell becomes empty; otherwise it receives the list entry
//                  that the text names ignoring case, in the list's own
//                  spelling, or "OFF" when it names none (both paths).
//   columns 5-10   the list's text. With a frequency in the row the cell
//                  receives it; without one LeaveCell empties the cell and
//                  EnterKey leaves it as it is.
//   column 11      the name editor's text, taken as NameEditorText does
//                  (upper case, "0"-"9", "A"-"Z", "-", space, 6 characters).
//                  LeaveCell stores it always; EnterKey only in a row with a
//                  frequency.
// Moving the current cell and hiding the editor remain the caller's.
std::string CommitCellText(ChannelGrid& grid, int row, int col, std::string_view text,
                           CommitPath path);

}  // namespace zlm5
