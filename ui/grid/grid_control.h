// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractScrollArea>
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

namespace zlm5 {

// The channel table's grid: text cells in rows and columns, one fixed header
// row (row 0) and one fixed header column (column 0), and a current cell.
// The channel view is written against its events:
//
//   LeaveCell  the current cell is about to change; the old cell is still
//              current (Row(), Col(), Text() name it)
//   EnterCell  the current cell has changed
//   MouseDown  a mouse button was pressed on a cell (after the cell change)
//   DblClick   a cell was double-clicked
//   KeyPress   a character was typed while the grid has the focus
//   Scroll     the visible part of the grid moved
//
// Whenever the current cell changes - by a click, an arrow key, or a put of
// SetRow, SetCol or SetCurrentCell from code - LeaveCell is emitted first,
// then the cell changes, then EnterCell is emitted, both before the call
// returns. A change of row and column in one step (a click) emits one pair;
// nothing is emitted when the cell stays the same.
//
// Units: all geometry (CellLeft/Top/Width/Height, ColWidth, RowHeight,
// CellRect) is in device-independent pixels, not twips. Cell positions are
// relative to viewport(): widgets laid over a cell are made children of
// viewport().
//
// RowSel() == Row() and ColSel() == Col() always: the current cell is the
// cell that is edited. Besides it, whole rows may be selected for the row
// commands: a click on a channel number selects its row, Shift+click the
// rows from the last clicked one, Ctrl+click adds or drops one; Shift with
// Up, Down, Page Up, Page Down (and Ctrl+Home, Ctrl+End) selects the rows
// the current cell passes. A click on any other cell, or a move without
// Shift, ends the row selection. RowSelectionChanged follows each change.
//
// A column of width 0 is hidden: it is not drawn, and the arrow keys step
// over it.
//
// Screen readers see the grid as a table of the channels
// (ui/grid/grid_accessible.h): the grid tells them when the current cell,
// the row selection or a text changes.
//
// Cell marks: a cell whose mark text (SetCellMarks) is not empty is drawn on
// a tinted background and shows the text as its tooltip. The marks are
// asked for at every paint; whoever changes what they depend on calls
// Refresh().
class GridControl : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // Column alignment values: horizontal position in steps of three
  // (left, centre, right), vertical within each step (top, centre, bottom).
  enum Alignment {
    kAlignLeftTop = 0,
    kAlignLeftCenter = 1,
    kAlignLeftBottom = 2,
    kAlignCenterTop = 3,
    kAlignCenterCenter = 4,
    kAlignCenterBottom = 5,
    kAlignRightTop = 6,
    kAlignRightCenter = 7,
    kAlignRightBottom = 8,
  };

  explicit GridControl(QWidget* parent = nullptr);

  // Sets the size and empties every cell; the current cell becomes (1, 1).
  // Emits nothing. At least 2 rows and 2 columns.
  void SetDimensions(int rows, int cols);
  int Rows() const { return rows_; }
  int Cols() const { return cols_; }
  static constexpr int FixedRows() { return 1; }
  static constexpr int FixedCols() { return 1; }

  // Text of the current cell.
  QString Text() const { return TextMatrix(row_, col_); }
  void SetText(const QString& text) { SetTextMatrix(row_, col_, text); }

  // The current cell. Puts outside the grid are ignored.
  int Row() const { return row_; }
  int Col() const { return col_; }
  void SetRow(int row) { SetCurrentCell(row, col_); }
  void SetCol(int col) { SetCurrentCell(row_, col); }
  void SetCurrentCell(int row, int col);
  int RowSel() const { return row_; }
  int ColSel() const { return col_; }

  // Selected whole rows (1..Rows()-1), in ascending order; empty when no
  // row is selected.
  std::vector<int> SelectedRows() const;
  bool IsRowSelected(int row) const;
  // Selects rows first..last (either order) in place of the selection;
  // the first becomes the anchor of Shift+click.
  void SelectRows(int first, int last);
  // Selects exactly `rows` (rows outside 1..Rows()-1 are left out).
  void SetSelectedRows(const std::vector<int>& rows);
  void ClearRowSelection();

  // Geometry of the current cell (pixels, viewport coordinates).
  int CellLeft() const { return CellRect(row_, col_).left(); }
  int CellTop() const { return CellRect(row_, col_).top(); }
  int CellWidth() const { return CellRect(row_, col_).width(); }
  int CellHeight() const { return CellRect(row_, col_).height(); }
  // Geometry of any cell, whether or not it is scrolled into view.
  QRect CellRect(int row, int col) const;
  // The cell at a viewport position; false where there is none.
  bool CellAt(QPoint viewport_pos, int* row, int* col) const;

  int ColWidth(int col) const;
  void SetColWidth(int col, int width);
  int ColAlignment(int col) const;
  void SetColAlignment(int col, int alignment);
  // Every row has this height.
  int RowHeight() const { return row_height_; }

  // Text of any cell; empty outside the grid.
  QString TextMatrix(int row, int col) const;
  // Sets a cell's text and repaints it if it is in view; ignored outside.
  void SetTextMatrix(int row, int col, const QString& text);

  // Repaints the grid.
  void Refresh();

  // Brackets a replacement of many texts (a read, an import, an undo):
  // assistive technology is told once, at the outer EndReset, that the
  // table changed instead of once per cell. Pairs nest.
  void BeginReset() { ++resetting_; }
  void EndReset();

  // Why a cell is marked, for the tint and the tooltip; empty for no mark.
  // Asked for scrollable cells only.
  using CellMarks = std::function<QString(int row, int col)>;
  void SetCellMarks(CellMarks marks);
  QString CellMark(int row, int col) const;
  // The background of a marked cell: the palette's base tinted towards
  // amber, so that the palette's text reads on it, light or dark.
  static QColor MarkColor(const QPalette& palette);

  // Scrolling. TopRow is the first scrollable row in view (>= 1).
  int TopRow() const;
  void SetTopRow(int row);
  // Scrolls, if needed, so that the current cell is in view; a fixed row or
  // column of the current cell needs no scrolling in that direction.
  void EnsureCurrentVisible();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void LeaveCell();
  void EnterCell();
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint viewport_pos);
  void DblClick();
  void KeyPress(QChar character);
  void Scroll();
  void RowSelectionChanged();
  // The context menu was asked for, by the mouse at `viewport_pos` or by
  // the keyboard (the menu key, Shift+F10), where `viewport_pos` is below
  // the current cell.
  void ContextMenu(QPoint viewport_pos, bool by_keyboard);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool viewportEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  int Index(int row, int col) const { return row * cols_ + col; }
  bool Contains(int row, int col) const {
    return row >= 0 && row < rows_ && col >= 0 && col < cols_;
  }
  // x of a scrollable column's left edge in content coordinates, where the
  // first scrollable column starts at 0.
  int ContentLeft(int col) const;
  int ScrollableWidth() const;
  // Number of scrollable rows that fit completely in the viewport (>= 1).
  int FullRowsInView() const;
  int NextVisibleCol(int col, int step) const;
  void MoveBy(int key, Qt::KeyboardModifiers modifiers);
  void ClickRowHeader(int row, Qt::KeyboardModifiers modifiers, int previous_row);
  void SetRowSelection(std::vector<bool> selected);
  void UpdateRowHeight();
  void UpdateScrollBars();
  void PaintCell(QPainter& painter, int row, int col, const QRect& rect) const;

  int rows_ = 0;
  int cols_ = 0;
  std::vector<QString> cells_;
  std::vector<int> col_widths_;
  std::vector<int> col_alignments_;
  int row_height_ = 20;
  int row_ = 1;
  int col_ = 1;
  CellMarks cell_marks_;
  std::vector<bool> selected_rows_;  // by row; empty or Rows() long
  int anchor_row_ = 0;               // where Shift selections start; 0 = none
  int resetting_ = 0;                // depth of BeginReset
};

}  // namespace zlm5
