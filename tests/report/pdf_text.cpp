// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/report/pdf_text.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace zlm5::pdf_text {
namespace {

QString Unescape(QString s) {
  s.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
  return s.replace("&amp;", "&");
}

}  // namespace

QList<Page> ReadPdf(const QString& path) {
  QProcess p;
  p.start("pdftotext", {"-bbox", path, "-"});
  if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
    return {};
  }
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  static const QRegularExpression kPage(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
  static const QRegularExpression kWord(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  QList<Page> pages;
  qsizetype at = 0;
  for (;;) {
    const auto pm = kPage.match(html, at);
    if (!pm.hasMatch()) break;
    Page page{pm.captured(1).toDouble(), pm.captured(2).toDouble(), {}};
    qsizetype end = html.indexOf("</page>", pm.capturedEnd());
    if (end < 0) end = html.size();
    auto it = kWord.globalMatch(html.mid(pm.capturedEnd(), end - pm.capturedEnd()));
    while (it.hasNext()) {
      const auto wm = it.next();
      page.words.append(Word{Unescape(wm.captured(5)), wm.captured(1).toDouble(),
                             wm.captured(2).toDouble(), wm.captured(3).toDouble(),
                             wm.captured(4).toDouble()});
    }
    pages.append(page);
    at = end;
  }
  return pages;
}

QList<Line> Lines(const Page& page) {
  QList<Word> words = page.words;
  std::stable_sort(words.begin(), words.end(),
                   [](const Word& a, const Word& b) { return a.y0 < b.y0; });
  QList<Line> lines;
  for (const Word& w : words) {
    if (lines.isEmpty() || std::abs(lines.last().first().y0 - w.y0) > kLineGapPt)
      lines.append(Line());
    lines.last().append(w);
  }
  for (Line& line : lines) {
    std::stable_sort(line.begin(), line.end(),
                     [](const Word& a, const Word& b) { return a.x0 < b.x0; });
  }
  return lines;
}

std::optional<Line> LineStartingWith(const Page& page, const QString& first) {
  for (const Line& l : Lines(page)) {
    if (l.first().text == first) return l;
  }
  return std::nullopt;
}

QString CellText(const Line& line, double from, double to) {
  QStringList parts;
  for (const Word& w : line) {
    if (w.x0 >= from - kTolerancePt && w.x0 < to - kTolerancePt) parts << w.text;
  }
  return parts.join(' ');
}

QString PageText(const Page& page) {
  QStringList parts;
  for (const Line& line : Lines(page)) {
    for (const Word& w : line) parts << w.text;
  }
  return parts.join(' ');
}

}  // namespace zlm5::pdf_text
