// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zlm5 {

// The modeless dialog of a read or write transfer: Start, Cancel, the
// progress bar (0 to 394) and the status line that the transfer writes.
//
// States: idle from its creation until Start, running from Start until the
// transfer destroys it. Start only disables itself and emits
// StartRequested; the owner connects that signal as a queued call, so the
// transfer begins after the click has been fully handled and then keeps
// this dialog alive by pumping events while it waits for the radio.
//
// The dialog talks to a running transfer through two flags only:
//   - the cancel flag, set by Cancel (or the close box), and by the
//     interruption rule: while running, losing the focus while the watch
//     flag is set, or being moved, sets it and tells the user that the
//     communication was interrupted;
//   - the watch flag, set when the dialog opens; the transfer clears it
//     before each of its own message boxes (which take the focus) and sets
//     it when it goes on waiting.
// Esc acts as Cancel only while idle; while running only the Cancel button
// and the close box cancel.
//
// Destroy() hides the window and deletes it later; Closed is emitted first,
// so the owner can forget it at once.
class TransferProgressDialog : public QDialog {
  Q_OBJECT

 public:
  // Control ids of the dialog, also the widgets' object names
  // ("control<id>").
  static constexpr int kStartId = 1;
  static constexpr int kCancelId = 2;
  static constexpr int kBarId = 1003;
  static constexpr int kLabelId = 1004;
  static constexpr int kStatusId = 1005;
  // The bar's end: one step per block of a transfer.
  static constexpr int kBarMaximum = 394;

  // `title` becomes the caption; `owner` is the window the dialog stays
  // above (the main window).
  TransferProgressDialog(const QString& title, QWidget* owner);
  ~TransferProgressDialog() override;

  static QString ReadingTitle();       // "Reading Data Progress"
  static QString WritingTitle();       // "Writing Data Progress"
  static QString ProgressLabelText();  // "Progress：" (full-width colon)
  static QString NotStartedText();     // "   Not start yet"
  // What assistive technology calls the bar ("Progress") and the status
  // line while it counts blocks ("Blocks transferred").
  static QString BarName();
  static QString BlocksName();
  // The interruption message in the current language (Chinese unless the
  // English texts are chosen).
  static QString InterruptionText();

  // Puts the dialog's centre over the centre of `widget`.
  void CenterOver(const QWidget* widget);

  bool Running() const;
  bool CancelRequested() const { return cancel_; }
  bool Watching() const { return watch_; }
  void SetWatch(bool on) { watch_ = on; }

  // A message of the status line; its accessible name follows it.
  void SetStatusText(const QString& text);
  QString StatusText() const;
  // The bar at `done` blocks and the count in the status line; the line's
  // accessible name stays BlocksName() while it counts, so that a screen
  // reader is not handed a new name with every block.
  void SetBlocksDone(int done);
  void SetProgress(int position);
  int Progress() const;

  QPushButton* StartButton() const { return start_; }
  QPushButton* CancelButton() const { return cancel_button_; }

  // The Start command: disables Start and asks for the transfer.
  void Start();
  // The Cancel command (also the close box, and Esc while idle): sets the
  // cancel flag; while idle the dialog is destroyed at once, while running
  // the transfer ends at its next wait and destroys it.
  void Cancel();
  // Hides the window and deletes it once control is back in the event loop.
  void Destroy();
  bool Destroyed() const { return destroyed_; }

 signals:
  void StartRequested();
  void Closed();

 protected:
  bool event(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;

 private:
  void Interrupt();

  QPushButton* start_ = nullptr;
  QPushButton* cancel_button_ = nullptr;
  QProgressBar* bar_ = nullptr;
  QLabel* status_ = nullptr;

  bool cancel_ = false;
  bool watch_ = true;
  bool destroyed_ = false;
  bool telling_ = false;   // the interruption message is on screen
  QPoint start_position_;  // where the window was when Start was pressed
};

}  // namespace zlm5
