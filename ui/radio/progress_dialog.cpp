// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/radio/progress_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMoveEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/transfer.h"
#include "ui/app/language.h"
#include "ui/app/message_box.h"

namespace zlm5 {
namespace {

constexpr const char* kFontFamily = "Times New Roman";
constexpr int kPointSize = 10;
// The bar takes most of the dialog's width: the dialog is 260 dialog units,
// 65 average characters of its font, a dialog unit being a quarter of one.
constexpr int kBarWidthInCharacters = 58;
// Room of the status line, in widths of an "x": enough for any of its texts.
constexpr int kStatusWidthInCharacters = 40;
constexpr int kButtonGapInCharacters = 6;  // between Start and Cancel

static_assert(TransferProgressDialog::kBarMaximum == transfer_limits::kBlockCount,
              "one step of the bar per block of a transfer");

QString ControlName(int id) { return QStringLiteral("control%1").arg(id); }

}  // namespace

TransferProgressDialog::TransferProgressDialog(const QString& title, QWidget* owner)
    : QDialog(owner) {
  setObjectName(QStringLiteral("transferProgressDialog"));
  setWindowTitle(title);
  setModal(false);
  // Caption and close box only: no help button, no resizing.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont dialog_font(QString::fromLatin1(kFontFamily));
  dialog_font.setPointSize(kPointSize);
  setFont(dialog_font);

  auto* label = new QLabel(ProgressLabelText(), this);
  label->setObjectName(ControlName(kLabelId));
  status_ = new QLabel(NotStartedText(), this);
  status_->setObjectName(ControlName(kStatusId));
  status_->setTextFormat(Qt::PlainText);
  // The status line changes with every block; its room must not.
  status_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) *
                           kStatusWidthInCharacters);

  bar_ = new QProgressBar(this);
  bar_->setObjectName(ControlName(kBarId));
  bar_->setRange(0, kBarMaximum);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  // Named, the bar tells assistive technology each change of its value.
  bar_->setAccessibleName(BarName());
  bar_->setMinimumWidth(fontMetrics().averageCharWidth() * kBarWidthInCharacters);

  start_ = new QPushButton(tr("Start"), this);
  start_->setObjectName(ControlName(kStartId));
  start_->setDefault(true);
  cancel_button_ = new QPushButton(tr("Cancel"), this);
  cancel_button_->setObjectName(ControlName(kCancelId));
  cancel_button_->setAutoDefault(false);
  connect(start_, &QPushButton::clicked, this, &TransferProgressDialog::Start);
  connect(cancel_button_, &QPushButton::clicked, this, &TransferProgressDialog::Cancel);

  auto* status_line = new QHBoxLayout;
  status_line->addWidget(label);
  status_line->addWidget(status_, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(start_);
  buttons->addSpacing(fontMetrics().averageCharWidth() * kButtonGapInCharacters);
  buttons->addWidget(cancel_button_);
  buttons->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(status_line);
  layout->addWidget(bar_);
  layout->addSpacing(fontMetrics().height() / 2);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  start_->setFocus();
}

TransferProgressDialog::~TransferProgressDialog() = default;

QString TransferProgressDialog::ReadingTitle() { return tr("Reading Data Progress"); }

QString TransferProgressDialog::WritingTitle() { return tr("Writing Data Progress"); }

QString TransferProgressDialog::ProgressLabelText() { return tr("Progress："); }

QString TransferProgressDialog::NotStartedText() { return tr("   Not start yet"); }

QString TransferProgressDialog::BarName() { return tr("Progress"); }

QString TransferProgressDialog::BlocksName() { return tr("Blocks transferred"); }

QString TransferProgressDialog::InterruptionText() {
  return UseEnglishTexts() ? QStringLiteral("Communication had been interrupted,please try again")
                           : QStringLiteral("通讯已被中断,请重新开始");
}

void TransferProgressDialog::CenterOver(const QWidget* widget) {
  adjustSize();
  if (widget == nullptr) return;
  const QPoint centre = widget->mapToGlobal(widget->rect().center());
  // The frame's size is known only once the window is shown; the client
  // area stands in for it.
  move(centre - QPoint(width() / 2, height() / 2));
}

bool TransferProgressDialog::Running() const { return !start_->isEnabled(); }

// A screen reader hears each message of the status line once: the label
// tells assistive technology its new text when it has no name of its own.
void TransferProgressDialog::SetStatusText(const QString& text) {
  status_->setAccessibleName(QString());
  status_->setAccessibleDescription(QString());
  status_->setText(text);
}

void TransferProgressDialog::SetBlocksDone(int done) {
  bar_->setValue(done);
  status_->setText(QString::number(done));
  // While the count runs the line has a name of its own, so that the count
  // is no new name 25 times a second; the count goes to the description,
  // which screen readers do not speak for a control without the focus.
  status_->setAccessibleName(BlocksName());
  status_->setAccessibleDescription(QStringLiteral("%1/%2").arg(done).arg(kBarMaximum));
}

QString TransferProgressDialog::StatusText() const { return status_->text(); }

void TransferProgressDialog::SetProgress(int position) { bar_->setValue(position); }

int TransferProgressDialog::Progress() const { return bar_->value(); }

void TransferProgressDialog::Start() {
  if (destroyed_ || Running()) return;
  start_->setEnabled(false);
  // A move event gives the place without the window frame, as geometry() does.
  start_position_ = geometry().topLeft();
  // The focus leaves the disabled button for Cancel, inside this dialog.
  cancel_button_->setFocus();
  emit StartRequested();
}

void TransferProgressDialog::Cancel() {
  if (destroyed_) return;
  const bool idle = !Running();
  cancel_ = true;
  if (idle) Destroy();
}

void TransferProgressDialog::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  emit Closed();
  hide();
  deleteLater();
}

void TransferProgressDialog::Interrupt() {
  cancel_ = true;
  // One message at a time: the message box itself takes the focus away.
  if (telling_) return;
  telling_ = true;
  ShowMessage(this, InterruptionText(), QMessageBox::Warning);
  telling_ = false;
}

bool TransferProgressDialog::event(QEvent* event) {
  const bool handled = QDialog::event(event);
  if (event->type() == QEvent::WindowDeactivate && !destroyed_ && !cancel_ && Running() && watch_) {
    Interrupt();
  }
  return handled;
}

void TransferProgressDialog::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  // Only a move while running counts, and only a real change of place: the
  // window system may repeat the last position.
  if (destroyed_ || !Running() || event->pos() == start_position_) return;
  start_position_ = event->pos();
  Interrupt();
}

void TransferProgressDialog::closeEvent(QCloseEvent* event) {
  // The window is destroyed by Cancel while idle, else by the transfer.
  event->ignore();
  Cancel();
}

void TransferProgressDialog::keyPressEvent(QKeyEvent* event) {
  // While running the transfer's waits do no dialog keyboard handling:
  // Esc and Enter do nothing then.
  if (Running() && (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return ||
                    event->key() == Qt::Key_Enter)) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TransferProgressDialog::reject() { Cancel(); }

}  // namespace zlm5
