// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/channel_csv.h"
#include "model/channel_grid.h"

namespace zlm5 {

// Whole channels of the table: the row commands of the window and the grid
// texts that carry channels through the clipboard to and from spreadsheets.
//
// The row commands move the texts of rows 1..128, columns 1..11 as they
// stand: a channel keeps every cell, its name included, wherever it goes.
// Row 0 and column 0 (the headers and channel numbers) are never touched.
// `rows` are channel numbers in ascending order, each once.

// True when any data cell of `row` holds text: a channel the user would
// lose if it were pushed off the end of the table.
bool RowInUse(const ChannelGrid& grid, int row);

// Empties the data cells of each of `rows`.
void ClearRows(ChannelGrid& grid, std::span<const int> rows);

// Puts an empty channel at `row` (1..128): the channels from `row` on move
// down by one and channel 128 falls off, so the caller first refuses when
// RowInUse(grid, 128).
void InsertEmptyRow(ChannelGrid& grid, int row);

// Removes the channels of `rows`: the channels below close the gaps, and
// empty channels come in at the end of the table.
void DeleteRows(ChannelGrid& grid, std::span<const int> rows);

// Moves each channel of `rows` one row up (`step` -1) or down (+1); each
// channel it passes takes its old place. False, with nothing changed, when
// a channel would leave 1..128 or `step` is neither.
bool MoveRows(ChannelGrid& grid, std::span<const int> rows, int step);

// The channels of `rows` as a spreadsheet pastes them: one line per channel
// with the texts of columns 1..11 (the hidden PTT ID column too) separated
// by tabs, each line ended by "\n"; a text that a reader would otherwise
// split or trim is quoted.
std::string RowsToGridText(const ChannelGrid& grid, std::span<const int> rows);

// Reads lines of grid texts, from this program, a spreadsheet or a text
// editor, into channels for ApplyChannelImport: the first line goes to
// `first_channel` (1..128) and each next line to the next channel. A line
// of 11 fields holds columns 1..11; of 12, a channel number first, which is
// ignored; of fewer, columns 1, 2 ... from the left, the others keeping
// what a new row gets. An empty line of fields empties its channel; a line
// of the column headers is passed over. Each field is checked as the cell
// would check it when typed, and then typed (ApplyChannelImport), so a
// channel without a frequency keeps its name only. What the radio cannot
// hold is not guessed:
//   - the line is skipped and reported when it has more than 12 fields, no
//     channel is left for it, a frequency is refused by CommitFrequencyText
//     or a tone is no entry of the tone list;
//   - an empty tone or list field keeps what a new row gets, except an
//     empty Opt Signal, which the grid shows for a byte of neither entry:
//     it is read as an empty cell, for ApplyPastedChannels to settle; a
//     list field (columns 5..10) that is no entry of its list is reported
//     and keeps the new row's value;
//   - a name is taken as the name editor takes it; a name it changes or
//     shortens is reported.
ChannelCsvImport ReadGridText(std::string_view text, int first_channel);

// Writes pasted channels (ReadGridText's, or a channel list's) into `grid`
// as ApplyChannelImport does, and leaves each showing what the image will
// hold, so that the window, a save, a write and Compare With Radio agree:
//   - an empty list cell (an Opt Signal of neither entry, copied from the
//     grid) stays empty only on a channel that was in use before the paste,
//     where it goes back as it was; a channel that had no frequency gets
//     what a new channel gets ("None"), not a byte the radio has no entry
//     for;
//   - a tone cell left empty on a channel with a frequency (the Tx Tone of
//     a channel that only receives) shows "OFF", the no-tone stored for it.
void ApplyPastedChannels(const ChannelCsvImport& import, ChannelGrid& grid);

}  // namespace zlm5
