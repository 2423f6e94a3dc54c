// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QScrollBar>
#include <QString>

#include "link/power_tuning.h"

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace zlm5 {

// The horizontal scroll bar of a tuning dialog. Besides QScrollBar's own
// actions it reports the end of every scroll action, as the release of the
// mouse button that began it or of the key that moved it (auto-repeated
// keys end once, when the key is let go). The mouse wheel and the context
// menu do nothing: every change of the radio's value is one deliberate
// action that ends.
class TuningScrollBar : public QScrollBar {
  Q_OBJECT

 public:
  explicit TuningScrollBar(QWidget* parent = nullptr);

 signals:
  void ScrollEnded();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool mouse_scrolling_ = false;
  bool key_scrolling_ = false;
};

// The High Power Debug and Lower Power Debug dialogs: "Current Position:"
// with the value text, the scroll bar between "Min" and "Max", and Exit.
// The dialog holds the position and the value text; it knows nothing of the
// radio. At the end of every scroll action it emits ScrollEnded with the
// scroll bar's position, and Exit (the button, Esc or the close box) emits
// ExitRequested; the owner runs the radio exchanges and calls End() when
// the session is over. Enter does nothing.
//
// The scroll rules: a step left or right moves the position by one, a drag
// of the thumb sets it to the thumb's place, a click in the trough or
// Home/End leaves it as it is; the position is then kept in the range and
// shown by the bar and the value text, and the end of the action sends the
// bar's position (so a click at an end sends that end again).
class PowerDebugDialog : public QDialog {
  Q_OBJECT

 public:
  // Control ids: the Exit button; the scroll bar and the value text differ
  // between the two dialogs.
  static constexpr int kExitId = 2;

  PowerDebugDialog(TuningKind kind, QWidget* parent = nullptr);
  ~PowerDebugDialog() override;

  TuningKind Kind() const { return kind_; }
  int MaxPosition() const { return max_position_; }
  int ScrollBarId() const;
  int ValueTextId() const;
  static QString CaptionOf(TuningKind kind);

  // The dialog's initialisation with the tuning byte read by the enter
  // exchange: the bar starts at 125, then the position and the value text
  // become the byte (a byte outside the range shows the bar at its end and
  // the byte's own value in the text).
  void Open(int byte);

  int Position() const { return position_; }
  QString ValueText() const { return value_text_; }
  // The scroll bar's own position.
  int BarPosition() const;
  QString ShownValueText() const;
  TuningScrollBar* ScrollBar() const { return bar_; }
  QPushButton* ExitButton() const { return exit_; }

  // A change exchange was answered with `byte`: the bar shows it (kept in
  // its range) until RefreshFromMembers.
  void ShowProbedValue(int byte);
  // The bar and the value text from the position and the value text.
  void RefreshFromMembers();
  // The session is over: the dialog closes with the cancel result.
  void End();

 signals:
  void ScrollEnded(int position);
  void ExitRequested();

 protected:
  void reject() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The steps of construction: each line of the dialog, then the layout.
  QHBoxLayout* BuildValueLine();
  QHBoxLayout* BuildBarLine();
  QHBoxLayout* BuildButtonLine();
  void LayOut(QHBoxLayout* value_line, QHBoxLayout* bar_line, QHBoxLayout* button_line);

  void OnAction(int action);
  void OnScrollEnded();
  // Steps 2 and 3 of every scroll event: range, bar, value text.
  void ApplyPosition();

  const TuningKind kind_;
  const int max_position_;
  TuningScrollBar* bar_ = nullptr;
  QLabel* caption_ = nullptr;  // "Current Position:", the bar's name
  QLabel* value_ = nullptr;
  QPushButton* exit_ = nullptr;
  int position_ = 0;
  QString value_text_;
  bool ending_ = false;
};

// The two dialogs by their own names.
class HighPowerDebugDialog : public PowerDebugDialog {
  Q_OBJECT
 public:
  explicit HighPowerDebugDialog(QWidget* parent = nullptr)
      : PowerDebugDialog(TuningKind::kHighPower, parent) {}
};

class LowPowerDebugDialog : public PowerDebugDialog {
  Q_OBJECT
 public:
  explicit LowPowerDebugDialog(QWidget* parent = nullptr)
      : PowerDebugDialog(TuningKind::kLowPower, parent) {}
};

}  // namespace zlm5
