// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/radio/power_tuning_dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace zlm5 {
namespace {

constexpr const char* kFontFamily = "Times New Roman";
constexpr int kPointSize = 10;
constexpr int kStartPosition = 125;  // where the bar stands before the byte is shown
constexpr int kBarWidthInCharacters = 40;
// A click in the bar's trough moves a tenth of its range.
constexpr int kPagesPerRange = 10;

constexpr int kHighScrollBarId = 1113;
constexpr int kHighValueId = 1109;
constexpr int kLowScrollBarId = 1114;
constexpr int kLowValueId = 1112;

QString ControlName(int id) { return QStringLiteral("control%1").arg(id); }

bool IsScrollKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// TuningScrollBar

TuningScrollBar::TuningScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
  setContextMenuPolicy(Qt::NoContextMenu);
  setFocusPolicy(Qt::StrongFocus);
  setTracking(true);
  setSingleStep(1);
  // QScrollBar inverts its keys for use in scroll areas; here Right and Up
  // step to the right.
  setInvertedControls(false);
}

void TuningScrollBar::mousePressEvent(QMouseEvent* event) {
  mouse_scrolling_ = true;
  QScrollBar::mousePressEvent(event);
}

void TuningScrollBar::mouseReleaseEvent(QMouseEvent* event) {
  QScrollBar::mouseReleaseEvent(event);
  if (mouse_scrolling_ && event->buttons() == Qt::NoButton) {
    mouse_scrolling_ = false;
    emit ScrollEnded();
  }
}

void TuningScrollBar::keyPressEvent(QKeyEvent* event) {
  if (IsScrollKey(event->key())) key_scrolling_ = true;
  QScrollBar::keyPressEvent(event);
}

void TuningScrollBar::keyReleaseEvent(QKeyEvent* event) {
  QScrollBar::keyReleaseEvent(event);
  if (key_scrolling_ && IsScrollKey(event->key()) && !event->isAutoRepeat()) {
    key_scrolling_ = false;
    emit ScrollEnded();
  }
}

void TuningScrollBar::wheelEvent(QWheelEvent* event) { event->accept(); }

// ---------------------------------------------------------------------------
// PowerDebugDialog

PowerDebugDialog::PowerDebugDialog(TuningKind kind, QWidget* parent)
    : QDialog(parent), kind_(kind), max_position_(TuningFunctionOf(kind).max_position) {
  setObjectName(kind == TuningKind::kHighPower ? QStringLiteral("highPowerDebugDialog")
                                               : QStringLiteral("lowPowerDebugDialog"));
  setWindowTitle(CaptionOf(kind));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont dialog_font(QString::fromLatin1(kFontFamily));
  dialog_font.setPointSize(kPointSize);
  setFont(dialog_font);

  QHBoxLayout* value_line = BuildValueLine();
  QHBoxLayout* bar_line = BuildBarLine();
  QHBoxLayout* button_line = BuildButtonLine();
  LayOut(value_line, bar_line, button_line);

  bar_->setFocus();
}

// "Current Position:" and the value the radio holds.
QHBoxLayout* PowerDebugDialog::BuildValueLine() {
  caption_ = new QLabel(tr("Current Position:"), this);
  value_ = new QLabel(this);
  value_->setObjectName(ControlName(ValueTextId()));
  value_->setTextFormat(Qt::PlainText);
  value_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")));

  auto* value_line = new QHBoxLayout;
  value_line->addStretch(1);
  value_line->addWidget(caption_);
  value_line->addWidget(value_);
  value_line->addStretch(1);
  return value_line;
}

// The bar between "Min" and "Max".
QHBoxLayout* PowerDebugDialog::BuildBarLine() {
  auto* min_label = new QLabel(tr("Min"), this);
  auto* max_label = new QLabel(tr("Max"), this);
  bar_ = new TuningScrollBar(this);
  bar_->setObjectName(ControlName(ScrollBarId()));
  bar_->setMinimumWidth(fontMetrics().averageCharWidth() * kBarWidthInCharacters);
  bar_->setPageStep(std::max(1, max_position_ / kPagesPerRange));
  // Named by its caption, "Current Position:".
  caption_->setBuddy(bar_);
  connect(bar_, &QAbstractSlider::actionTriggered, this, &PowerDebugDialog::OnAction);
  connect(bar_, &TuningScrollBar::ScrollEnded, this, &PowerDebugDialog::OnScrollEnded);

  auto* bar_line = new QHBoxLayout;
  bar_line->addWidget(min_label);
  bar_line->addWidget(bar_, 1);
  bar_line->addWidget(max_label);
  return bar_line;
}

QHBoxLayout* PowerDebugDialog::BuildButtonLine() {
  exit_ = new QPushButton(tr("Exit"), this);
  exit_->setObjectName(ControlName(kExitId));
  // No OK button and no default button: Enter does nothing.
  exit_->setAutoDefault(false);
  exit_->setDefault(false);
  connect(exit_, &QPushButton::clicked, this, &PowerDebugDialog::reject);

  auto* button_line = new QHBoxLayout;
  button_line->addStretch(1);
  button_line->addWidget(exit_);
  button_line->addStretch(1);
  return button_line;
}

void PowerDebugDialog::LayOut(QHBoxLayout* value_line, QHBoxLayout* bar_line,
                              QHBoxLayout* button_line) {
  auto* layout = new QVBoxLayout(this);
  const int gap = fontMetrics().height();
  layout->setContentsMargins(gap, gap, gap, gap);
  layout->setSpacing(gap);
  layout->addLayout(value_line);
  layout->addLayout(bar_line);
  layout->addLayout(button_line);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

PowerDebugDialog::~PowerDebugDialog() = default;

QString PowerDebugDialog::CaptionOf(TuningKind kind) {
  return kind == TuningKind::kHighPower ? tr("High Power Debug") : tr("Lower Power Debug");
}

int PowerDebugDialog::ScrollBarId() const {
  return kind_ == TuningKind::kHighPower ? kHighScrollBarId : kLowScrollBarId;
}

int PowerDebugDialog::ValueTextId() const {
  return kind_ == TuningKind::kHighPower ? kHighValueId : kLowValueId;
}

void PowerDebugDialog::Open(int byte) {
  bar_->setRange(1, max_position_);
  bar_->setValue(kStartPosition);
  value_text_ = QString::number(byte);
  position_ = byte;
  RefreshFromMembers();
}

int PowerDebugDialog::BarPosition() const { return bar_->value(); }

QString PowerDebugDialog::ShownValueText() const { return value_->text(); }

void PowerDebugDialog::ShowProbedValue(int byte) { bar_->setValue(byte); }

void PowerDebugDialog::RefreshFromMembers() {
  bar_->setValue(position_);
  value_->setText(value_text_);
}

void PowerDebugDialog::OnAction(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      position_ -= 1;
      break;
    case QAbstractSlider::SliderSingleStepAdd:
      position_ += 1;
      break;
    case QAbstractSlider::SliderMove:
      position_ = bar_->sliderPosition();
      break;
    default:  // page steps and the ends leave the position as it is
      break;
  }
  ApplyPosition();
}

void PowerDebugDialog::ApplyPosition() {
  position_ = std::clamp(position_, 1, max_position_);
  // Inside actionTriggered this replaces the step QScrollBar was about to
  // apply; elsewhere it moves the bar at once.
  bar_->setSliderPosition(position_);
  value_text_ = QString::number(bar_->sliderPosition());
  RefreshFromMembers();
}

void PowerDebugDialog::OnScrollEnded() {
  ApplyPosition();
  emit ScrollEnded(bar_->value());
}

void PowerDebugDialog::End() {
  if (ending_) return;
  ending_ = true;
  done(QDialog::Rejected);
}

void PowerDebugDialog::reject() {
  // Exit, Esc and the close box: the owner runs the leave exchange and
  // ends the dialog through End().
  if (!ending_) emit ExitRequested();
}

void PowerDebugDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace zlm5
