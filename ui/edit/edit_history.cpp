// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/edit/edit_history.h"

#include <QUndoCommand>

#include <utility>

namespace zlm5 {

// One change: both states (shared with the neighbouring steps) and, for a
// change of the image, both images.
class EditHistory::Step : public QUndoCommand {
 public:
  Step(EditHistory& history, const QString& name, std::shared_ptr<const EditState> before,
       std::shared_ptr<const EditState> after, std::optional<RadioImage> image_before,
       std::optional<RadioImage> image_after)
      : QUndoCommand(name),
        history_(history),
        before_(std::move(before)),
        after_(std::move(after)),
        image_before_(image_before),
        image_after_(image_after) {}

  void undo() override { history_.Apply(before_, image_before_ ? &*image_before_ : nullptr); }
  void redo() override {
    // The change is already made when its step is pushed.
    if (pushed_) {
      pushed_ = false;
      return;
    }
    history_.Apply(after_, image_after_ ? &*image_after_ : nullptr);
  }

 private:
  EditHistory& history_;
  std::shared_ptr<const EditState> before_;
  std::shared_ptr<const EditState> after_;
  std::optional<RadioImage> image_before_;
  std::optional<RadioImage> image_after_;
  bool pushed_ = true;
};

EditHistory::EditHistory(Capture capture, Restore restore, QObject* parent)
    : QObject(parent), capture_(std::move(capture)), restore_(std::move(restore)) {
  stack_.setUndoLimit(kUndoLimit);
}

EditHistory::~EditHistory() = default;

void EditHistory::Reset() {
  stack_.clear();
  recorded_ = std::make_shared<const EditState>(capture_());
}

bool EditHistory::Record(const QString& name) {
  auto now = std::make_shared<const EditState>(capture_());
  if (recorded_ && *now == *recorded_) return false;
  stack_.push(new Step(*this, name, recorded_, now, std::nullopt, std::nullopt));
  recorded_ = std::move(now);
  return true;
}

bool EditHistory::RecordImageChange(const QString& name, const RadioImage& image_before,
                                    const RadioImage& image_after) {
  auto now = std::make_shared<const EditState>(capture_());
  if (recorded_ && *now == *recorded_ && image_before == image_after) return false;
  stack_.push(new Step(*this, name, recorded_, now, image_before, image_after));
  recorded_ = std::move(now);
  return true;
}

void EditHistory::Apply(const std::shared_ptr<const EditState>& state, const RadioImage* image) {
  if (!state) return;
  restore_(*state, image);
  recorded_ = state;
}

}  // namespace zlm5
