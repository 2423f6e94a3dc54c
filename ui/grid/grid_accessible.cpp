// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/grid_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QPointer>

#include <algorithm>
#include <map>
#include <utility>

#include "ui/grid/grid_control.h"

namespace zlm5 {
namespace {

// The grid columns in the table, in order: the shown scrollable columns.
std::vector<int> ShownColumns(const GridControl& grid) {
  std::vector<int> columns;
  for (int col = GridControl::FixedCols(); col < grid.Cols(); ++col) {
    if (grid.ColWidth(col) > 0) columns.push_back(col);
  }
  return columns;
}

int ShownColumnCount(const GridControl& grid) {
  return static_cast<int>(ShownColumns(grid).size());
}

QString RowHeaderName(const QString& channel) {
  return QCoreApplication::translate("zlm5::GridAccessible", "Channel %1").arg(channel);
}

class GridAccessible;

// One cell of the grid, header cells included. It names its cell by grid
// row and column, so it stays right when texts or shown columns change.
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  GridCellAccessible(GridControl* grid, int row, int col) : grid_(grid), row_(row), col_(col) {}

  bool isValid() const override {
    return !grid_.isNull() && row_ < grid_->Rows() && col_ < grid_->Cols();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override {
    return grid_.isNull() ? nullptr : QAccessible::queryAccessibleInterface(grid_.data());
  }
  QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
  QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    const QString text = grid_->TextMatrix(row_, col_);
    switch (t) {
      case QAccessible::Name:
        if (IsRowHeader()) return RowHeaderName(text);
        return row_ == 0 ? text.trimmed() : text;
      case QAccessible::Description:
        return grid_->CellMark(row_, col_);
      default:
        return {};
    }
  }
  void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}

  QRect rect() const override {
    if (!isValid() || grid_->ColWidth(col_) == 0) return {};
    const QRect cell = grid_->CellRect(row_, col_);
    return {grid_->viewport()->mapToGlobal(cell.topLeft()), cell.size()};
  }

  QAccessible::Role role() const override {
    if (row_ == 0) return QAccessible::ColumnHeader;
    if (col_ == 0) return QAccessible::RowHeader;
    return QAccessible::Cell;
  }

  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    const QRect cell = grid_->CellRect(row_, col_);
    state.invisible = grid_->ColWidth(col_) == 0;
    state.offscreen = !grid_->viewport()->rect().intersects(cell);
    if (IsDataCell()) {
      state.focusable = true;
      state.selectable = true;
      state.focused = grid_->hasFocus() && grid_->Row() == row_ && grid_->Col() == col_;
      state.active = grid_->Row() == row_ && grid_->Col() == col_;
    }
    state.selected = row_ > 0 && grid_->IsRowSelected(row_);
    return state;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface && IsDataCell()) {
      return static_cast<QAccessibleTableCellInterface*>(this);
    }
    return nullptr;
  }

  // QAccessibleTableCellInterface
  bool isSelected() const override { return isValid() && grid_->IsRowSelected(row_); }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override;
  int columnIndex() const override { return isValid() ? GridAccessibleColumn(*grid_, col_) : -1; }
  int rowIndex() const override { return row_ - GridControl::FixedRows(); }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

  const GridControl* Grid() const { return grid_.data(); }
  int Row() const { return row_; }
  int Col() const { return col_; }

 private:
  bool IsRowHeader() const { return row_ > 0 && col_ == 0; }
  bool IsDataCell() const { return row_ > 0 && col_ > 0; }
  GridAccessible* Table() const;

  QPointer<GridControl> grid_;
  int row_;
  int col_;
};

// The grid itself: a table of GridCellAccessible, made once per cell and
// kept until the grid's interface goes.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit GridAccessible(GridControl* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
  ~GridAccessible() override {
    for (const auto& [cell, id] : cells_) QAccessible::deleteAccessibleInterface(id);
  }
  GridAccessible(const GridAccessible&) = delete;
  GridAccessible& operator=(const GridAccessible&) = delete;

  GridControl* Grid() const { return static_cast<GridControl*>(widget()); }

  // The interface of grid cell (row, col); null outside the grid.
  QAccessibleInterface* Cell(int row, int col) const {
    GridControl* grid = Grid();
    if (row < 0 || row >= grid->Rows() || col < 0 || col >= grid->Cols()) return nullptr;
    const auto key = std::make_pair(row, col);
    auto found = cells_.find(key);
    if (found == cells_.end()) {
      auto* cell = new GridCellAccessible(grid, row, col);
      found = cells_.emplace(key, QAccessible::registerAccessibleInterface(cell)).first;
    }
    return QAccessible::accessibleInterface(found->second);
  }

  // QAccessibleInterface
  int childCount() const override {
    const GridControl* grid = Grid();
    return grid->Rows() * (ShownColumnCount(*grid) + GridControl::FixedCols());
  }
  QAccessibleInterface* child(int index) const override {
    const GridControl* grid = Grid();
    const int per_row = ShownColumnCount(*grid) + GridControl::FixedCols();
    if (index < 0 || index >= childCount()) return nullptr;
    const int column = index % per_row;
    return Cell(index / per_row, column == 0 ? 0 : GridColumnOfAccessible(*grid, column - 1));
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* cell = dynamic_cast<const GridCellAccessible*>(child);
    if (cell == nullptr || cell->Grid() != Grid()) return -1;
    return GridAccessibleChild(*Grid(), cell->Row(), cell->Col());
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const GridControl* grid = Grid();
    const QPoint pos = grid->viewport()->mapFromGlobal(QPoint(x, y));
    int row = 0;
    int col = 0;
    if (!grid->viewport()->rect().contains(pos) || !grid->CellAt(pos, &row, &col)) {
      return QAccessibleWidget::childAt(x, y);
    }
    return Cell(row, col);
  }
  QAccessibleInterface* focusChild() const override {
    const GridControl* grid = Grid();
    if (grid->hasFocus()) return Cell(grid->Row(), grid->Col());
    return QAccessibleWidget::focusChild();
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  // QAccessibleTableInterface
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    const int col = GridColumnOfAccessible(*Grid(), column);
    if (row < 0 || row >= rowCount() || col < 0) return nullptr;
    return Cell(row + GridControl::FixedRows(), col);
  }
  int columnCount() const override { return ShownColumnCount(*Grid()); }
  int rowCount() const override { return Grid()->Rows() - GridControl::FixedRows(); }
  QString columnDescription(int column) const override {
    const int col = GridColumnOfAccessible(*Grid(), column);
    return col < 0 ? QString() : Grid()->TextMatrix(0, col).trimmed();
  }
  QString rowDescription(int row) const override {
    if (row < 0 || row >= rowCount()) return {};
    return RowHeaderName(Grid()->TextMatrix(row + GridControl::FixedRows(), 0));
  }
  bool isColumnSelected(int /*column*/) const override { return false; }
  bool isRowSelected(int row) const override {
    return Grid()->IsRowSelected(row + GridControl::FixedRows());
  }
  int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows()) {
      for (int column = 0; column < columnCount(); ++column) cells.append(cellAt(row, column));
    }
    return cells;
  }
  int selectedColumnCount() const override { return 0; }
  QList<int> selectedColumns() const override { return {}; }
  int selectedRowCount() const override { return static_cast<int>(Grid()->SelectedRows().size()); }
  QList<int> selectedRows() const override {
    QList<int> rows;
    for (const int row : Grid()->SelectedRows()) rows.append(row - GridControl::FixedRows());
    return rows;
  }
  // Whole rows are selected, as with a click on their channel numbers;
  // columns cannot be.
  bool selectColumn(int /*column*/) override { return false; }
  bool unselectColumn(int /*column*/) override { return false; }
  bool selectRow(int row) override {
    if (row < 0 || row >= rowCount()) return false;
    std::vector<int> rows = Grid()->SelectedRows();
    rows.push_back(row + GridControl::FixedRows());
    Grid()->SetSelectedRows(rows);
    return true;
  }
  bool unselectRow(int row) override {
    if (row < 0 || row >= rowCount()) return false;
    std::vector<int> rows = Grid()->SelectedRows();
    std::erase(rows, row + GridControl::FixedRows());
    Grid()->SetSelectedRows(rows);
    return true;
  }
  // The cells are named by grid position and read their texts when asked,
  // so a change of the texts leaves nothing to update here.
  void modelChange(QAccessibleTableModelChangeEvent* /*event*/) override {}

 private:
  mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

QWindow* GridCellAccessible::window() const {
  QAccessibleInterface* table = parent();
  return table != nullptr ? table->window() : nullptr;
}

GridAccessible* GridCellAccessible::Table() const {
  QAccessibleInterface* table =
      grid_.isNull() ? nullptr : QAccessible::queryAccessibleInterface(grid_.data());
  return table != nullptr ? static_cast<GridAccessible*>(table->tableInterface()) : nullptr;
}

QList<QAccessibleInterface*> GridCellAccessible::columnHeaderCells() const {
  GridAccessible* table = Table();
  if (table == nullptr) return {};
  return {table->Cell(0, col_)};
}

QList<QAccessibleInterface*> GridCellAccessible::rowHeaderCells() const {
  GridAccessible* table = Table();
  if (table == nullptr) return {};
  return {table->Cell(row_, 0)};
}

QAccessibleInterface* GridFactory(const QString& /*class_name*/, QObject* object) {
  if (auto* grid = qobject_cast<GridControl*>(object)) return new GridAccessible(grid);
  return nullptr;
}

GridEventTap& Tap() {
  static GridEventTap tap;
  return tap;
}

void Send(QAccessibleEvent& event) {
  if (Tap()) Tap()(&event);
  QAccessible::updateAccessibility(&event);
}

bool Listening() { return QAccessible::isActive() || static_cast<bool>(Tap()); }

}  // namespace

void SetGridEventTap(GridEventTap tap) { Tap() = std::move(tap); }

void InstallGridAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(GridFactory);
}

int GridAccessibleColumn(const GridControl& grid, int col) {
  const std::vector<int> columns = ShownColumns(grid);
  const auto found = std::find(columns.begin(), columns.end(), col);
  return found == columns.end() ? -1 : static_cast<int>(found - columns.begin());
}

int GridColumnOfAccessible(const GridControl& grid, int column) {
  const std::vector<int> columns = ShownColumns(grid);
  return column >= 0 && column < static_cast<int>(columns.size()) ? columns[column] : -1;
}

int GridAccessibleChild(const GridControl& grid, int row, int col) {
  if (row < 0 || row >= grid.Rows() || col < 0 || col >= grid.Cols()) return -1;
  int column = 0;
  if (col >= GridControl::FixedCols()) {
    column = GridAccessibleColumn(grid, col);
    if (column < 0) return -1;
    column += GridControl::FixedCols();
  }
  return row * (ShownColumnCount(grid) + GridControl::FixedCols()) + column;
}

void NotifyGridCurrentCell(GridControl& grid) {
  if (!Listening()) return;
  const int child = GridAccessibleChild(grid, grid.Row(), grid.Col());
  if (child < 0) return;
  QAccessibleEvent descendant(&grid, QAccessible::ActiveDescendantChanged);
  descendant.setChild(child);
  Send(descendant);
  if (!grid.hasFocus()) return;
  QAccessibleEvent focus(&grid, QAccessible::Focus);
  focus.setChild(child);
  Send(focus);
}

void NotifyGridCellText(GridControl& grid, int row, int col) {
  if (!Listening()) return;
  const int child = GridAccessibleChild(grid, row, col);
  if (child < 0) return;
  QAccessibleEvent event(&grid, QAccessible::NameChanged);
  event.setChild(child);
  Send(event);
}

void NotifyGridRowSelection(GridControl& grid, const std::vector<bool>& before,
                            const std::vector<bool>& after) {
  if (!Listening()) return;
  const auto at = [](const std::vector<bool>& rows, int row) {
    return static_cast<std::size_t>(row) < rows.size() && rows[row];
  };
  for (int row = GridControl::FixedRows(); row < grid.Rows(); ++row) {
    const bool was = at(before, row);
    const bool is = at(after, row);
    if (was == is) continue;
    // The row is the item selected: its header cell stands for it.
    QAccessibleEvent event(&grid, is ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
    event.setChild(GridAccessibleChild(grid, row, 0));
    Send(event);
  }
}

void NotifyGridReset(GridControl& grid) {
  if (!Listening()) return;
  QAccessibleTableModelChangeEvent event(&grid, QAccessibleTableModelChangeEvent::ModelReset);
  Send(event);
}

}  // namespace zlm5
