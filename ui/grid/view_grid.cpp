// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/view_grid.h"

#include <QComboBox>

#include <utility>

#include "ui/grid/grid_control.h"

namespace zlm5 {

ViewGrid::ViewGrid(GridControl& grid, const std::array<QComboBox*, kFormBoxCount>& boxes,
                   ChangeCallback on_change)
    : grid_(grid), on_change_(std::move(on_change)) {
  for (std::size_t i = 0; i < boxes.size(); ++i) boxes_[i] = boxes[i];
}

std::string ViewGrid::TextMatrix(int row, int col) const {
  return grid_.TextMatrix(row, col).toStdString();
}

void ViewGrid::SetTextMatrix(int row, int col, const std::string& text) {
  const QString value = QString::fromStdString(text);
  if (grid_.TextMatrix(row, col) == value) return;
  grid_.SetTextMatrix(row, col, value);
  Changed();
}

QComboBox* ViewGrid::Box(FormBox box) const { return boxes_.at(static_cast<std::size_t>(box)); }

int ViewGrid::BoxSelection(FormBox box) const {
  const QComboBox* combo = Box(box);
  return combo != nullptr ? combo->currentIndex() : -1;
}

void ViewGrid::SetBoxSelection(FormBox box, int index) {
  QComboBox* combo = Box(box);
  if (combo == nullptr) return;
  if (index < 0 || index >= combo->count()) index = -1;
  if (combo->currentIndex() == index) return;
  combo->setCurrentIndex(index);
  Changed();
}

void ViewGrid::Changed() const {
  if (tracking_ && on_change_) on_change_();
}

}  // namespace zlm5
