// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "model/channel_grid.h"
#include "model/radio_image.h"

namespace zlm5 {

// What the user edits in the window, as one undo step restores it: the
// texts of the data cells (rows 1..128, columns 1..11) and the selections
// of the four form boxes. The texts are implicitly shared with the grid, so
// a state costs little more than the cells that differ.
struct EditState {
  std::vector<QString> cells;              // (row - 1) * 11 + (col - 1)
  std::array<int, kFormBoxCount> boxes{};  // indexed by FormBox, -1 = no selection

  bool operator==(const EditState&) const = default;
};

// The undo history of the channel view: a QUndoStack of whole-state steps.
// Each step holds the state before and after it, and, for the steps that
// change the image itself (Optional Features, Read From Radio), the image
// before and after; undo puts back the one, redo the other. Nothing is
// merged: each change the user makes is one step.
//
// The history keeps the state after its last step. A change is recorded
// after it was made, from that state to the state now; a change that left
// everything as it was records nothing. The stack's clean state is the
// state of the last save (MarkSaved); its cleanChanged signal tells when an
// undo or redo reaches it or leaves it.
class EditHistory : public QObject {
  Q_OBJECT

 public:
  // Puts a state (and an image, when the step holds one) into the window.
  using Restore = std::function<void(const EditState& state, const RadioImage* image)>;
  using Capture = std::function<EditState()>;
  // At most this many steps are kept; the oldest go first.
  static constexpr int kUndoLimit = 500;

  EditHistory(Capture capture, Restore restore, QObject* parent = nullptr);
  ~EditHistory() override;

  QUndoStack& Stack() { return stack_; }

  // Forgets every step; the state now is where the next one starts (New,
  // Open). The stack is clean.
  void Reset();
  // Records the change from the state of the last step to now as a step
  // named `name` ("Import 23 Channels"). False when nothing changed.
  bool Record(const QString& name);
  // The same for a change of the image: `image_before` is the image as it
  // was before the change, `image_after` as it is now.
  bool RecordImageChange(const QString& name, const RadioImage& image_before,
                         const RadioImage& image_after);
  // The state now is the saved one.
  void MarkSaved() { stack_.setClean(); }

 private:
  class Step;
  void Apply(const std::shared_ptr<const EditState>& state, const RadioImage* image);

  Capture capture_;
  Restore restore_;
  QUndoStack stack_;
  std::shared_ptr<const EditState> recorded_;  // the state after the last step
};

}  // namespace zlm5
