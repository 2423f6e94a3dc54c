// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/dialog_fit.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLayout>
#include <QScreen>

#include <algorithm>

namespace zlm5 {
namespace {

// What the window manager adds around a dialog: its frame and a little air.
constexpr int kWindowFrameRoom = 40;
constexpr int kWindowTitleRoom = 60;

const QScreen* ScreenOf(const QWidget& widget) {
  const QWidget* parent = widget.parentWidget();
  return parent != nullptr ? parent->screen() : widget.screen();
}

int ScreenHeightFor(const QWidget& widget) {
  const QScreen* screen = ScreenOf(widget);
  return screen != nullptr ? screen->availableGeometry().height() - kWindowTitleRoom
                           : widget.height();
}

}  // namespace

int WidestLine(const QFontMetrics& metrics, const QStringList& lines) {
  int widest = 0;
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  return widest;
}

int ScreenWidthFor(const QWidget& widget) {
  const QScreen* screen = ScreenOf(widget);
  return screen != nullptr ? screen->availableGeometry().width() - kWindowFrameRoom
                           : widget.width();
}

void FitDialogWidth(QDialog& dialog, int content_width) {
  QLayout* layout = dialog.layout();
  int around = 0;
  if (layout != nullptr) {
    layout->activate();
    const QMargins margins = layout->contentsMargins();
    around = margins.left() + margins.right();
  }
  const int minimum = dialog.minimumSizeHint().width();
  const int width = std::max(std::min(content_width + around, ScreenWidthFor(dialog)), minimum);
  int height = dialog.sizeHint().height();
  if (layout != nullptr && layout->hasHeightForWidth()) {
    height = layout->totalHeightForWidth(width);
  }
  height = std::max(std::min(height, ScreenHeightFor(dialog)), dialog.minimumSizeHint().height());
  dialog.resize(width, height);
}

}  // namespace zlm5
