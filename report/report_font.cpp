// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report_font.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zlm5 {
namespace {

QFont BaseFont(const QStringList& families, int height) {
  QFont font(families);
  font.setPixelSize(std::max(1, height));
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  font.setKerning(false);
  font.setStyleStrategy(QFont::PreferOutline);
  return font;
}

void SetStretch(QFont& font, qreal natural, qreal wanted) {
  if (natural <= 0 || wanted <= 0) return;
  const int stretch = static_cast<int>(std::lround(100.0 * wanted / natural));
  font.setStretch(std::clamp(stretch, 1, 4000));
}

// Average character width as the classic font tables define it: the
// advances of the lower-case letters and the space, weighted by how often
// they occur in English text. (Newer fonts store an average over all their
// glyphs instead, far larger than the width of their running text.)
qreal AverageCharWidth(const QFontMetricsF& metrics) {
  static constexpr int kWeights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3,  6, 35, 20,
                                       56, 56, 17, 4,  49,  56, 71, 31, 10, 18, 3, 18, 2};
  static constexpr int kSpaceWeight = 166;
  qreal sum = kSpaceWeight * metrics.horizontalAdvance(QLatin1Char(' '));
  int total = kSpaceWeight;
  for (int i = 0; i < 26; ++i) {
    sum += kWeights[i] * metrics.horizontalAdvance(QLatin1Char(char('a' + i)));
    total += kWeights[i];
  }
  return sum / total;
}

// Splits `text` into runs of wide and of other characters and calls
// f(run, wide) for each, in order.
template <typename F>
void ForEachRun(const QString& text, F&& f) {
  qsizetype start = 0;
  bool wide = false;
  qsizetype i = 0;
  while (i < text.size()) {
    const qsizetype at = i;
    char32_t c = text.at(i).unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size()) {
      c = QChar::surrogateToUcs4(text.at(i).unicode(), text.at(i + 1).unicode());
      ++i;
    }
    ++i;
    const bool w = IsWideChar(c);
    if (at == 0) {
      wide = w;
    } else if (w != wide) {
      f(text.mid(start, at - start), wide);
      start = at;
      wide = w;
    }
  }
  if (start < text.size()) f(text.mid(start), wide);
}

// The Chinese texts take a Song (Ming) face, the classic style of printed
// Chinese. AR PL UMing comes first:
// Noto CJK draws some ideographs (二, 页) with the glyph of a look-alike
// radical, and a PDF's text layer then gives the radical when the report is
// searched or copied.
const QStringList& WideFamilies() {
  static const QStringList families{"AR PL UMing CN", "Noto Serif CJK SC", "Noto Sans CJK SC",
                                    "Times New Roman"};
  return families;
}

}  // namespace

bool IsWideChar(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

ReportFont::ReportFont(int height, int average_width)
    : latin_(BaseFont({"Times New Roman", "Liberation Serif"}, height)),
      wide_(BaseFont(WideFamilies(), height)) {
  SetStretch(latin_, AverageCharWidth(QFontMetricsF(latin_)), average_width);
  // U+4E2D, a full-width ideograph, measures the CJK face's cell.
  SetStretch(wide_, QFontMetricsF(wide_).horizontalAdvance(QChar(0x4E2D)), 2.0 * average_width);
}

int ReportFont::LineHeight() const {
  const QFontMetricsF metrics(latin_);
  return static_cast<int>(metrics.height() + metrics.leading());
}

qreal ReportFont::Ascent() const { return QFontMetricsF(latin_).ascent(); }

qreal ReportFont::Advance(const QString& text) const {
  qreal advance = 0;
  ForEachRun(text, [&](const QString& run, bool wide) {
    advance += QFontMetricsF(wide ? wide_ : latin_).horizontalAdvance(run);
  });
  return advance;
}

void ReportFont::Draw(QPainter& painter, int x, int y, const QString& text, qreal max_width) const {
  if (text.isEmpty()) return;
  painter.save();
  painter.translate(x, y);
  painter.scale(1, -1);  // glyphs upright inside the y-up space; y now runs down
  if (max_width > 0) {
    const qreal advance = Advance(text);
    if (advance > max_width) painter.scale(max_width / advance, 1);
  }
  // Every run sits on the baseline of the report's face, one ascent below
  // the top.
  const qreal baseline = Ascent();
  qreal pen = 0;
  ForEachRun(text, [&](const QString& run, bool wide) {
    const QFont& font = wide ? wide_ : latin_;
    painter.setFont(font);
    painter.drawText(QPointF(pen, baseline), run);
    pen += QFontMetricsF(font).horizontalAdvance(run);
  });
  painter.restore();
}

}  // namespace zlm5
