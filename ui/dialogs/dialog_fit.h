// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QDialog;
class QFontMetrics;
class QWidget;

namespace zlm5 {

// Sizes for the dialogs that show lines of text (the import and paste
// reports, Check Channels): they open wide enough for their longest line,
// in whatever language, and never wider than the screen they open on; a
// line that still does not fit wraps.

// The width of the widest of `lines` in `metrics`, in pixels.
int WidestLine(const QFontMetrics& metrics, const QStringList& lines);

// The widest a dialog over `widget` may open: the available width of the
// screen it shows on, less room for the window frame.
int ScreenWidthFor(const QWidget& widget);

// Resizes `dialog` so that a widget filling its layout's width gets
// `content_width` pixels, within ScreenWidthFor and no narrower than the
// dialog's minimum size; the height is what the layout needs at that width
// (wrapped labels included), within the screen's height.
void FitDialogWidth(QDialog& dialog, int content_width);

}  // namespace zlm5
