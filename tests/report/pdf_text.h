// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

#include <optional>

// Reading a PDF back as a printer would have put it on paper: the words of
// each page with their boxes, from poppler's pdftotext -bbox.
namespace zlm5::pdf_text {

// Positions read back from a PDF agree with the drawing within this much.
inline constexpr double kTolerancePt = 0.6;
// Words whose tops are closer than this belong to one line.
inline constexpr double kLineGapPt = 4.0;

struct Word {
  QString text;
  double x0, y0, x1, y1;  // points, from the top left corner of the paper
};

struct Page {
  double width = 0;  // points
  double height = 0;
  QList<Word> words;
};

// Words of one printed line, left to right.
using Line = QList<Word>;

// Every page of the PDF at `path`; empty when pdftotext fails.
QList<Page> ReadPdf(const QString& path);

// The lines of a page from top to bottom: words whose tops lie within a
// few points of each other (Latin and CJK faces differ in ascent).
QList<Line> Lines(const Page& page);

// The first line whose first word is `first`.
std::optional<Line> LineStartingWith(const Page& page, const QString& first);

// Words of `line` starting in [from, to) points, joined by single blanks.
QString CellText(const Line& line, double from, double to);

// All words of a page in reading order, joined by single blanks.
QString PageText(const Page& page);

}  // namespace zlm5::pdf_text
