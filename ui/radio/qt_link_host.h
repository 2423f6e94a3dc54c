// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <string>

#include "link/link_host.h"

namespace zlm5 {

class PowerDebugDialog;
class TransferProgressDialog;

// The radio exchanges' side of the desktop program: their message boxes
// (captioned with the application name, through ShowMessage) and their
// event pump (QCoreApplication::processEvents, so the windows stay alive
// and the dialogs' handlers run while the exchange waits for the radio).

// Shows one message of an exchange over `parent` and returns the answer.
// Any button but Retry or OK counts as Cancel (the close box of a
// Retry/Cancel box among them).
MessageAnswer ShowLinkMessage(QWidget* parent, const std::string& text, MessageButtons buttons);

// Runs the pending events once.
void PumpEvents();

// A read or write transfer, shown in its progress dialog. The host does not
// own the dialog; if the dialog is gone, the transfer is told to cancel.
// Its notes wait for the caller, who shows them once the dialog has closed.
class QtTransferHost : public TransferHost {
 public:
  explicit QtTransferHost(TransferProgressDialog& dialog);

  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override;
  void Pump() override;
  void SetStatusText(const std::string& text) override;
  void SetProgress(int position) override;
  void SetBlocksDone(int done, int total) override;
  bool CancelRequested() const override;
  void SetWatch(bool on) override;
  void ShowNote(const std::string& text) override;

  // ShowNote's texts in the window's language, in order.
  const QStringList& notes() const { return notes_; }

 private:
  QPointer<TransferProgressDialog> dialog_;
  QStringList notes_;
};

// A power tuning session and its dialog. Until the dialog is shown (the
// enter exchange), messages appear over the dialog's parent.
class QtTuningHost : public TuningHost {
 public:
  explicit QtTuningHost(PowerDebugDialog& dialog);

  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override;
  void Pump() override;
  void ShowProbedValue(int byte) override;
  void RestorePosition() override;
  void TuningEnded() override;

 private:
  QWidget* MessageParent() const;

  QPointer<PowerDebugDialog> dialog_;
};

}  // namespace zlm5
