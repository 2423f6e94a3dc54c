// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "model/error.h"

namespace zlm5 {

// `text` (one of link_texts), then the error (the device and the operating
// system's reason) and the hint when there is one, as paragraphs: how a
// port that could not be opened is reported.
std::string MessageWithReason(std::string_view text, const Error& error, const std::string& hint);

// The buttons of a message box and the button the user pressed.
enum class MessageButtons { kOk, kOkCancel, kRetryCancel };
enum class MessageAnswer { kOk, kCancel, kRetry };

// The answer by the name of its button, as the command line prints it and
// the fleet report records it: "OK", "Cancel", "Retry".
std::string_view MessageAnswerName(MessageAnswer answer);
// The buttons of a question as the command line prints them after its
// text, named as above: " [OK/Cancel]", " [Retry/Cancel]"; "" for a box
// with OK alone, which asks nothing.
std::string MessageButtonsText(MessageButtons buttons);

// What the radio exchanges need from the program that runs them: message
// boxes and a way to keep its windows alive. The exchanges are synchronous
// and run on the caller's thread; every callback is made on that thread.
//
// Pump() is called at every step of a pump-wait, at least about every 20 ms
// while a read waits for the radio, and inside longer pauses, so a window
// never goes unserviced for long. A desktop host runs its event loop once
// (QCoreApplication::processEvents); the command line does nothing. Events
// handled inside Pump() may call back into a running exchange only where
// the exchange says so (the tuning session queues them).
class LinkHost {
 public:
  virtual ~LinkHost() = default;

  // Shows `text` exactly (one of link_texts, or built from them as with
  // MessageWithReason) with the given buttons and returns the answer. kOk
  // boxes return kOk. The call is modal.
  virtual MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) = 0;

  virtual void Pump() = 0;

  // The port could not be opened. `text` is link_texts::kCouldNotOpenPort;
  // `error` names the device and gives the operating system's reason;
  // `hint` tells the user what to do about it, or is empty (see
  // PortAccessHint). The default shows all three in one OK box.
  virtual void ReportPortOpenFailure(const std::string& text, const Error& error,
                                     const std::string& hint);
};

// The progress dialog of a read or write transfer.
class TransferHost : public LinkHost {
 public:
  // The status line: the session's phase (one of link_texts).
  virtual void SetStatusText(const std::string& text) = 0;
  // Position of the progress bar, 0 to 394: 0 when the blocks start again
  // (after a Retry), 394 when the transfer ends, a cut-off write included
  // (the window's dialog closes at once then).
  virtual void SetProgress(int position) = 0;
  // A block moved: `done` of `total` (1..394 of 394), one call per block
  // in order. The window shows the count as its status line and moves its
  // bar there; the command line draws its own bar.
  virtual void SetBlocksDone(int done, int total) = 0;

  // The cancel flag, set by the host (Cancel button, an interruption); the
  // transfer tests it at every pump-wait step and while a read waits, and
  // then ends quietly with the port closed.
  virtual bool CancelRequested() const = 0;

  // The watch flag: while it is set, the host treats losing the focus as an
  // interruption. The transfer clears it before each of its own message
  // boxes and sets it when it goes on waiting afterwards. The host sets it
  // when its dialog opens.
  virtual void SetWatch(bool on) = 0;

  // What the user must know of the radio once a transfer they stopped
  // themselves (the cancel flag) has ended; nothing to answer. A write
  // cancelled after the radio took some of its blocks leaves the radio
  // part new, part old (link_texts::PartlyWritten). No message box: the
  // window shows it in its status bar, the command line prints it.
  virtual void ShowNote(const std::string& text) = 0;
};

// The power tuning dialog, as its exchanges see it.
class TuningHost : public LinkHost {
 public:
  // A change exchange's wake-up was answered with `byte` instead of the
  // acknowledgement: the dialog moves its scroll bar to that value (shown,
  // not sent) until RestorePosition.
  virtual void ShowProbedValue(int byte) = 0;

  // Refresh the scroll bar and value text from the dialog's own position,
  // undoing ShowProbedValue.
  virtual void RestorePosition() = 0;

  // The tuning session is over and its port closed: the dialog ends.
  virtual void TuningEnded() = 0;
};

}  // namespace zlm5
