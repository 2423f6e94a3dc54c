// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <vector>

class QAccessibleEvent;

namespace zlm5 {

class GridControl;

// What a screen reader sees of the grid control: a table of the scrollable
// rows (one per channel) and the shown columns, with the header row as its
// column headers and the header column as its row headers. A column of
// width 0 is not in the table.
//
// Table cell (r, c) is grid cell (r + 1, the c-th shown column from 1 on).
// The table's children are laid out as Qt lays out its own item views: in
// rows of Cols-shown + 1, grid row 0 first (the corner, then the column
// headers), and each channel's row starting with its row header. Each cell
// is named by its text (a row header "Channel N", a column header its text
// without the blanks around it), described by its mark (why it is tinted,
// e.g. out of band), and focusable (focused while current in the focused
// grid) and selected with its row.
//
// The grid reports what changes through the functions below; none of them
// sends anything while no assistive technology is listening.

// Makes every GridControl answer with the table. Call once the application
// object exists; calling again does nothing.
void InstallGridAccessibility();

// Sees every event the grid sends, before Qt passes it on; and makes the
// grid send them while no platform bridge is active (QAccessible drops
// them then, the update handler included: so on the offscreen platform).
// For tests; an empty function removes the tap.
using GridEventTap = std::function<void(QAccessibleEvent* event)>;
void SetGridEventTap(GridEventTap tap);

// The table's child index of grid cell (row, col); -1 for a cell that is not
// in the table (a hidden column, outside the grid).
int GridAccessibleChild(const GridControl& grid, int row, int col);
// The table's column of grid column `col`; -1 for the header column and a
// hidden column.
int GridAccessibleColumn(const GridControl& grid, int col);
// The grid column of the table's column `column`; -1 outside.
int GridColumnOfAccessible(const GridControl& grid, int column);

// The current cell changed: its becoming the active descendant and, while
// the grid has the keyboard focus, the focus.
void NotifyGridCurrentCell(GridControl& grid);
// A cell's text changed.
void NotifyGridCellText(GridControl& grid, int row, int col);
// Rows were selected or left out of the selection (both by row, either
// empty or as long as the grid has rows).
void NotifyGridRowSelection(GridControl& grid, const std::vector<bool>& before,
                            const std::vector<bool>& after);
// The grid's texts were replaced wholesale (a read, an import, a paste, a
// row command, an undo or redo).
void NotifyGridReset(GridControl& grid);

}  // namespace zlm5
