// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>

#include <array>
#include <functional>
#include <string>

#include "model/channel_grid.h"

class QComboBox;

namespace zlm5 {

class GridControl;

// The channel view seen by the codec and the row rules: cell texts of the
// grid control and the selections of the four form boxes, as UTF-8.
//
// Every change of a cell text or a box selection made through this object
// while tracking is on calls the change callback (the view marks the
// document modified there). Puts that change nothing call nothing.
class ViewGrid final : public ChannelGrid {
 public:
  using ChangeCallback = std::function<void()>;

  // `grid` and the boxes must outlive this object. The boxes are indexed by
  // FormBox: Field, Type, Manual, PowerRank.
  ViewGrid(GridControl& grid, const std::array<QComboBox*, kFormBoxCount>& boxes,
           ChangeCallback on_change);

  std::string TextMatrix(int row, int col) const override;
  void SetTextMatrix(int row, int col, const std::string& text) override;
  int BoxSelection(FormBox box) const override;
  void SetBoxSelection(FormBox box, int index) override;

  // Off while the view fills the grid from the image.
  void SetTracking(bool on) { tracking_ = on; }
  bool Tracking() const { return tracking_; }

  QComboBox* Box(FormBox box) const;

 private:
  void Changed() const;

  GridControl& grid_;
  std::array<QPointer<QComboBox>, kFormBoxCount> boxes_;
  ChangeCallback on_change_;
  bool tracking_ = true;
};

}  // namespace zlm5
