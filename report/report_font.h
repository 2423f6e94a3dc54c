// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

class QPainter;

namespace zlm5 {

// A font of the printed report: the face "Times New Roman" (fontconfig
// stands in a metric-compatible face where it is missing) at a character
// height and an average character width, both in the painter's logical
// units (twips on a report page).
//
// The average width is reached by stretching the face horizontally, as a
// printer font of that width would be. Chinese characters come from a CJK
// face stretched so that each is two average widths wide: the width of a
// double-byte character, which is what the blanks of the report's Chinese
// header line were counted against.
class ReportFont {
 public:
  ReportFont(int height, int average_width);

  // Text height plus external leading, truncated to whole units.
  int LineHeight() const;
  qreal Ascent() const;
  // Advance width of `text` as Draw places it.
  qreal Advance(const QString& text) const;

  // Draws `text` left-aligned with the top of its character cells at
  // (x, y) of a y-up coordinate space. When `max_width` is positive and the
  // text is wider, the text is condensed to that width.
  void Draw(QPainter& painter, int x, int y, const QString& text, qreal max_width = 0) const;

  const QFont& latin() const { return latin_; }
  const QFont& wide() const { return wide_; }

 private:
  QFont latin_;
  QFont wide_;
};

// True for the East Asian wide and full-width characters that the CJK face
// draws.
bool IsWideChar(char32_t c);

}  // namespace zlm5
