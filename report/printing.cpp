// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/printing.h"

#include "report/report_font.h"

#include <QBuffer>
#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRect>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "files/file_saving.h"
#include "model/channel_grid.h"
#include "model/form_lists.h"
#include "model/settings_block.h"

namespace zlm5 {
namespace {

inline constexpr int kTwipsPerInch = 1440;
// The title font is this fraction of the drawing height high.
inline constexpr int kHeightDivisor = 45;
// Columns of width W across the drawing width, and the twips left over.
inline constexpr int kColumnsAcross = 80;
inline constexpr int kWidthReserve = 900;
inline constexpr int kLastChannelColumn = ReportData::kColumns - 1;
inline constexpr double kMarginMm = 6.35;  // a quarter inch

// The settings bytes as the report reads them, on purpose not as the
// Optional Features dialog does (see model/settings_block.h).
namespace rsm = report_settings_map;

QString Q(const std::string& text) { return QString::fromStdString(text); }
QString Q(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

std::span<const std::uint8_t> Code(const RadioImage& image, std::size_t offset) {
  return image.bytes().subspan(offset, rsm::kCodeLength);
}

// The eight settings lines of page 1; returns the y below them.
int DrawSettings(QPainter& painter, const ReportFont& font, int w, int y, const ReportData& data) {
  const int lh = font.LineHeight();
  namespace rules = report_rules;
  using rules::Switch;
  const ReportTextSet set = data.text_set;
  const ReportLabels& l = LabelsFor(set);
  const RadioImage& image = data.image;
  const std::uint8_t flags = image.at(rsm::kFlags);
  auto sw = [&](std::uint8_t bit, Switch which) {
    return Q(rules::SwitchText((flags & bit) != 0, which, set));
  };
  auto cell = [&](int x_columns, std::string_view label, const QString& value) {
    font.Draw(painter, x_columns * w, y, Q(label) + value);
  };

  font.Draw(painter, 5 * w, y, Q(l.function_setting));
  y -= static_cast<int>(1.2 * lh);

  cell(2, l.type, data.type_entry);
  cell(25, l.field, data.field_entry);
  y -= lh;

  cell(2, l.pf1, Q(rules::KeyText(image.at(rsm::kPf1Key), set)));
  cell(25, l.pf2, Q(rules::KeyText(image.at(rsm::kPf2Key), set)));
  cell(50, l.beep, sw(rsm::kBeepBit, Switch::Beep));
  y -= lh;

  cell(2, l.squelch, Q(rules::SquelchText(image.at(rsm::kSquelch))));
  cell(25, l.power_rank, data.power_rank_entry);
  cell(50, l.scrambler, sw(rsm::kScramblerBit, Switch::Scrambler));
  y -= lh;

  cell(2, l.vox_function, sw(rsm::kVoxBit, Switch::VoxFunction));
  cell(25, l.vox_gain, Q(rules::GainText(image.at(rsm::kVoxGain))));
  cell(50, l.vox_delay, Q(rules::DelayText(image.at(rsm::kVoxDelay))));
  y -= lh;

  cell(2, l.ptt_id, Q(rules::PttIdText(flags)));
  cell(25, l.battery_save, sw(rsm::kBatterySaveBit, Switch::BatterySave));
  cell(50, l.tx_time, Q(rules::TimeText(image.at(rsm::kTxTime))));
  y -= lh;

  cell(2, l.begin_of_tx, Q(rules::CodeText(Code(image, rsm::kBeginCode))));
  cell(35, l.end_of_tx, Q(rules::CodeText(Code(image, rsm::kEndCode))));
  y -= lh;

  cell(2, l.vox_inhibit, sw(rsm::kVoxInhibitBit, Switch::VoxInhibit));
  // The channel table starts a line further down, so that its title does
  // not print over the last settings line.
  y -= lh;
  return y;
}

QString ChannelHeader(const ReportData& data) {
  const auto& head = data.cells[0];
  return Q(ChannelHeaderLine(data.text_set, head[0].toStdString(), head[3].toStdString(),
                             head[4].toStdString()));
}

// A channel cell as drawn: a blank follows each text.
QString ChannelCellText(const QString& text) { return text + ' '; }

// Where the channel table ends on the right, in twips, with column width
// `w` and the line font: at the end of its header line or of the widest
// entry of the last column, whichever lies further right. The texts of the
// other columns are condensed to their fields; the last column runs on.
int ChannelTableRight(const ReportFont& font, int w, const ReportData& data) {
  qreal right = w + font.Advance(ChannelHeader(data));
  const qreal last_x = ChannelColumnX(kLastChannelColumn, data.text_set) * w;
  for (std::string_view entry : cell_lists::ForColumn(grid_layout::kColBusyLock)) {
    right = std::max(right, last_x + font.Advance(ChannelCellText(Q(entry))));
  }
  return static_cast<int>(std::ceil(right));
}

// The character height H of the report's fonts on `drawing_rect`, in
// twips. Integer steps in the order written: each division truncates.
int FontHeight(const QRect& drawing_rect, int dpi_y) {
  return (drawing_rect.height() / kHeightDivisor) * kTwipsPerInch / dpi_y;
}

// The column unit W of a drawing `width` twips wide whose fonts are `h`
// twips high: 80 columns fill the width less 900 twips, unless the channel
// table would then run past the right edge (the English last column starts
// at 82); W then shrinks so that the table ends at the edge. Nothing may be
// drawn outside the printable area: a printer cuts it off, and the print
// preview greys it out as margin.
int ColumnWidth(int width, int h, const ReportData& data) {
  const int w = (width - kWidthReserve) / kColumnsAcross;
  if (w <= 0) return w;
  const int right = ChannelTableRight(ReportFont(h, static_cast<int>(0.8 * w)), w, data);
  if (right <= width) return w;
  return static_cast<int>(static_cast<long long>(w) * width / right);
}

// `width` is the drawing's width in twips: no text runs past it.
void DrawChannels(QPainter& painter, const ReportFont& font, int page, int w, int width, int y,
                  const ReportData& data) {
  const int lh = font.LineHeight();
  const ReportTextSet set = data.text_set;
  font.Draw(painter, 5 * w, y, Q(LabelsFor(set).channel_setting));
  y -= static_cast<int>(1.2 * lh);

  font.Draw(painter, w, y, ChannelHeader(data), width - w);

  const PageRows rows = ChannelRowsOfPage(page);
  for (int r = rows.first; r <= rows.last; ++r) {
    y -= lh;
    const auto& row = data.cells[static_cast<std::size_t>(r)];
    font.Draw(painter, ChannelColumnX(0, set) * w, y, row[0]);
    for (int c = 1; c < ReportData::kColumns; ++c) {
      const int x = ChannelColumnX(c, set) * w;
      // A text too wide for its column is condensed so that a blank still
      // separates it from the next column ("Narrow" in a 6-column field);
      // the last column's text, to the drawing's right edge.
      const int next = c < kLastChannelColumn ? ChannelColumnX(c + 1, set) * w : width;
      font.Draw(painter, x, y, ChannelCellText(row[static_cast<std::size_t>(c)]), next - x);
    }
  }
}

}  // namespace

PageRows ChannelRowsOfPage(int page) {
  switch (page) {
    case 1:
      return {1, 22};
    case 2:
      return {23, 54};
    case 3:
      return {55, 86};
    case 4:
      return {87, 118};
    default:
      return {119, 128};
  }
}

int ChannelColumnX(int column, ReportTextSet set) {
  static constexpr int kEnglish[] = {1, 5, 14, 24, 32, 40, 46, 55, 64, 74, 82};
  static constexpr int kChinese[] = {1, 5, 14, 25, 33, 40, 46, 54, 62, 70, 78};
  const int c = std::clamp(column, 0, ReportData::kColumns - 1);
  return set == ReportTextSet::English ? kEnglish[c] : kChinese[c];
}

void PrintPage(QPainter& painter, int page, const QRect& drawing_rect, int dpi_x, int dpi_y,
               const ReportData& data) {
  if (dpi_x <= 0 || dpi_y <= 0) return;
  const ReportTextSet set = data.text_set;
  const int right = drawing_rect.left() + drawing_rect.width();

  painter.save();
  // Twips with y upwards, the origin at the top left of the printable area.
  painter.setWorldTransform(
      QTransform(double(dpi_x) / kTwipsPerInch, 0, 0, -double(dpi_y) / kTwipsPerInch, 0, 0));

  const int h = FontHeight(drawing_rect, dpi_y);
  const int width = drawing_rect.width() * kTwipsPerInch / dpi_x;
  const int w = ColumnWidth(width, h, data);
  int y = 0;

  {
    const ReportFont page_font(h, w);
    const int lh1 = page_font.LineHeight();
    const int title_x = (right / 2) * kTwipsPerInch / dpi_x - 18 * w;
    y = -(lh1 / 2);
    const int title_page = page >= kReportFirstPage && page <= kReportLastPage ? page : 5;
    page_font.Draw(painter, title_x, y, Q(LabelsFor(set).titles[title_page - 1]));
    y -= lh1;
  }

  const ReportFont line_font(h, static_cast<int>(0.8 * w));
  if (page == 1) y = DrawSettings(painter, line_font, w, y, data);
  if (page >= kReportFirstPage && page <= kReportLastPage) {
    DrawChannels(painter, line_font, page, w, width, y, data);
  }
  painter.restore();
}

int ReportColumnWidth(const QRect& drawing_rect, int dpi_x, int dpi_y, const ReportData& data) {
  if (dpi_x <= 0 || dpi_y <= 0) return 0;
  return ColumnWidth(drawing_rect.width() * kTwipsPerInch / dpi_x, FontHeight(drawing_rect, dpi_y),
                     data);
}

int RenderReportPages(QPainter& painter, QPagedPaintDevice& device, const ReportData& data,
                      const QList<int>& pages) {
  int drawn = 0;
  for (const int page : pages) {
    if (page < kReportFirstPage || page > kReportLastPage) continue;
    if (drawn > 0) device.newPage();
    const QRect rect(0, 0, device.width(), device.height());
    PrintPage(painter, page, rect, device.logicalDpiX(), device.logicalDpiY(), data);
    ++drawn;
  }
  return drawn;
}

int RenderReport(QPainter& painter, QPagedPaintDevice& device, const ReportData& data, int first,
                 int last) {
  QList<int> pages;
  for (int page = std::max(first, kReportFirstPage); page <= std::min(last, kReportLastPage);
       ++page) {
    pages.append(page);
  }
  return RenderReportPages(painter, device, data, pages);
}

QMarginsF ReportPageMarginsMm() { return QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm); }

Status WriteReportPdf(const QString& path, const ReportData& data, const PdfPageSetup& setup) {
  // Drawn in memory, then saved under the channel files' rules: only a
  // regular file is replaced (never a device, a pipe or a dangling link),
  // and only once the whole document is drawn.
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&pdf);
    writer.setResolution(setup.resolution_dpi);
    writer.setPageSize(setup.page_size);
    writer.setPageMargins(setup.margins_mm, QPageLayout::Millimeter);
    writer.setCreator(QStringLiteral("Z-LM5 Programming Software"));
    writer.setTitle(QStringLiteral("Z-LM5 radio settings and channels"));
    QPainter painter;
    if (!painter.begin(&writer)) {
      return Error(path.toStdString(), "cannot start drawing the PDF pages");
    }
    RenderReport(painter, writer, data);
    painter.end();
  }
  const QByteArray& bytes = pdf.data();
  return SaveFile(path.toStdString(),
                  std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                            static_cast<std::size_t>(bytes.size())));
}

}  // namespace zlm5
