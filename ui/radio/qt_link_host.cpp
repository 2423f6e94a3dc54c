// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/radio/qt_link_host.h"

#include <QCoreApplication>

#include "ui/app/message_box.h"
#include "ui/radio/link_text_translation.h"
#include "ui/radio/power_tuning_dialogs.h"
#include "ui/radio/progress_dialog.h"

namespace zlm5 {

MessageAnswer ShowLinkMessage(QWidget* parent, const std::string& text, MessageButtons buttons) {
  QMessageBox::StandardButtons shown = QMessageBox::Ok;
  QMessageBox::StandardButton default_button = QMessageBox::Ok;
  switch (buttons) {
    case MessageButtons::kOk:
      break;
    case MessageButtons::kOkCancel:
      shown = QMessageBox::Ok | QMessageBox::Cancel;
      break;
    case MessageButtons::kRetryCancel:
      shown = QMessageBox::Retry | QMessageBox::Cancel;
      default_button = QMessageBox::Retry;
      break;
  }
  const QMessageBox::StandardButton answer =
      zlm5::ShowMessage(parent, LinkTextShown(text), QMessageBox::Warning, shown, default_button);
  if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
  if (buttons == MessageButtons::kRetryCancel) {
    return answer == QMessageBox::Retry ? MessageAnswer::kRetry : MessageAnswer::kCancel;
  }
  return answer == QMessageBox::Ok ? MessageAnswer::kOk : MessageAnswer::kCancel;
}

void PumpEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

// ---------------------------------------------------------------------------

QtTransferHost::QtTransferHost(TransferProgressDialog& dialog) : dialog_(&dialog) {}

MessageAnswer QtTransferHost::ShowMessage(const std::string& text, MessageButtons buttons) {
  QWidget* parent = dialog_ && dialog_->isVisible() ? static_cast<QWidget*>(dialog_)
                    : dialog_                       ? dialog_->parentWidget()
                                                    : nullptr;
  return ShowLinkMessage(parent, text, buttons);
}

void QtTransferHost::Pump() { PumpEvents(); }

void QtTransferHost::SetStatusText(const std::string& text) {
  if (dialog_) dialog_->SetStatusText(LinkTextShown(text));
}

void QtTransferHost::SetProgress(int position) {
  if (dialog_) dialog_->SetProgress(position);
}

// The dialog's bar runs to the 394 blocks already; its status line shows
// the count.
void QtTransferHost::SetBlocksDone(int done, int /*total*/) {
  if (dialog_) dialog_->SetBlocksDone(done);
}

bool QtTransferHost::CancelRequested() const { return !dialog_ || dialog_->CancelRequested(); }

void QtTransferHost::SetWatch(bool on) {
  if (dialog_) dialog_->SetWatch(on);
}

void QtTransferHost::ShowNote(const std::string& text) { notes_.append(LinkTextShown(text)); }

// ---------------------------------------------------------------------------

QtTuningHost::QtTuningHost(PowerDebugDialog& dialog) : dialog_(&dialog) {}

QWidget* QtTuningHost::MessageParent() const {
  if (!dialog_) return nullptr;
  return dialog_->isVisible() ? static_cast<QWidget*>(dialog_) : dialog_->parentWidget();
}

MessageAnswer QtTuningHost::ShowMessage(const std::string& text, MessageButtons buttons) {
  return ShowLinkMessage(MessageParent(), text, buttons);
}

void QtTuningHost::Pump() { PumpEvents(); }

void QtTuningHost::ShowProbedValue(int byte) {
  if (dialog_) dialog_->ShowProbedValue(byte);
}

void QtTuningHost::RestorePosition() {
  if (dialog_) dialog_->RefreshFromMembers();
}

void QtTuningHost::TuningEnded() {
  if (dialog_) dialog_->End();
}

}  // namespace zlm5
