// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMarginsF>
#include <QPageSize>
#include <QString>

#include <array>

#include "model/error.h"
#include "model/radio_image.h"
#include "report/report_texts.h"

class QPainter;
class QPagedPaintDevice;
class QRect;

namespace zlm5 {

// Everything the printed report shows, taken from the document and the
// view at the moment of printing: the channel table's cell texts as the grid
// shows them, the selected entries of three form lists, and the image bytes
// whose settings the report reads by its own rules.
struct ReportData {
  static constexpr int kRows = 129;    // grid rows 0..128; row 0 holds the headers
  static constexpr int kColumns = 11;  // grid columns 0..10; the name column is not printed

  std::array<std::array<QString, kColumns>, kRows> cells;
  QString type_entry;        // selected entry of the Type list, empty when none
  QString field_entry;       // selected entry of the Field list
  QString power_rank_entry;  // selected entry of the Tx Power Rank list
  RadioImage image;
  ReportTextSet text_set = ReportTextSet::Chinese;
};

// The report has exactly five pages: page 1 holds the settings and
// channels 1-22, pages 2-5 channels 23-54, 55-86, 87-118 and 119-128.
inline constexpr int kReportFirstPage = 1;
inline constexpr int kReportLastPage = 5;

// First and last grid row printed on `page` (1..5).
struct PageRows {
  int first;
  int last;
};
PageRows ChannelRowsOfPage(int page);

// x of grid column 0..10 in a channel line, in units of the column width W.
int ChannelColumnX(int column, ReportTextSet set);

// Draws one page of the report.
//
// `drawing_rect` is the printable area in device pixels, its top left at the
// painter's device origin; `dpi_x`, `dpi_y` are the device's resolution in
// pixels per inch. The page is laid out in twips (1/1440 inch) with y
// growing upwards: the title font is a 45th of the drawing height high, and
// 80 columns of width W fill the drawing width less 900 twips, or fewer
// twips where the channel table would otherwise run past the right edge:
// everything is drawn inside the drawing rectangle, so that paper, PDF and
// print preview show the same. Fonts are made afresh for every page. A page
// outside 1..5 draws only the fifth page's title. The painter's state is
// restored on return.
void PrintPage(QPainter& painter, int page, const QRect& drawing_rect, int dpi_x, int dpi_y,
               const ReportData& data);

// The column width W, in twips, with which PrintPage lays out `data` on
// `drawing_rect`; 0 for a resolution that is not positive.
int ReportColumnWidth(const QRect& drawing_rect, int dpi_x, int dpi_y, const ReportData& data);

// Draws the report pages in `pages` (numbers outside 1..5 are skipped)
// onto `device`, which `painter` is active on, starting a new device page
// between two report pages. The drawing rectangle of each page is the
// device's paint rectangle, its resolution the device's. Returns the number
// of pages drawn.
int RenderReportPages(QPainter& painter, QPagedPaintDevice& device, const ReportData& data,
                      const QList<int>& pages);

// The same for the pages first..last.
int RenderReport(QPainter& painter, QPagedPaintDevice& device, const ReportData& data,
                 int first = kReportFirstPage, int last = kReportLastPage);

// Margins around the drawing rectangle, in millimetres, that the report
// asks of a printer or PDF page: a quarter inch on every side.
QMarginsF ReportPageMarginsMm();

// Page set-up of report PDFs written without a printer.
struct PdfPageSetup {
  QPageSize page_size = QPageSize(QPageSize::A4);
  QMarginsF margins_mm = ReportPageMarginsMm();
  int resolution_dpi = 1200;
};

// Writes all five pages to a PDF file at `path`, saved as a channel data
// file is (SaveFile): only a regular file is replaced, and only when the
// whole document was drawn; the error names the file and the reason.
Status WriteReportPdf(const QString& path, const ReportData& data,
                      const PdfPageSetup& setup = PdfPageSetup());

}  // namespace zlm5
