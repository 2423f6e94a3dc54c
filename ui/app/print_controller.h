// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

#include "model/error.h"
#include "report/printing.h"

class QPrinter;
class QPrintPreviewDialog;

namespace zlm5 {

class MainFrame;

// The main window's printing: Print (57607), Print Preview (57609) and
// Print Setup (57606) through Qt's print support, always the five pages of
// the report.
//
// The report shows the view as it is when the pages are drawn: the grid
// with its unsaved edits (an open cell editor is committed first, as before
// a save), the selected entries of the form boxes, and the document's image
// as it stands (printing does not encode the grid into it). The text set is
// chosen by the language test at that moment.
//
// One printer serves the whole run: Print Setup changes its paper and
// margins, and Print and Preview use it.
class PrintController : public QObject {
  Q_OBJECT

 public:
  // Connects the frame's three printing actions; lives as the frame's child.
  explicit PrintController(MainFrame& frame);
  ~PrintController() override;

  // The report of the view as it is now.
  ReportData CurrentReport() const;

  // The pages the printer's range selects (all five by default).
  static QList<int> SelectedPages(const QPrinter& printer);

  // Draws the selected pages of CurrentReport() onto `printer`. The error
  // names the printer when it cannot be opened.
  Status PrintTo(QPrinter& printer);

  // The commands: the print dialog, then the pages chosen; the preview
  // window with two pages side by side; the page set-up dialog.
  void Print();
  void Preview();
  void PrintSetup();

  QPrinter& Printer();

  // For tests and automation: called with the preview dialog once it is set
  // up and before it is shown; the hook may close or inspect it.
  void SetPreviewHook(std::function<void(QPrintPreviewDialog&)> hook);

 private:
  MainFrame& frame_;
  std::unique_ptr<QPrinter> printer_;
  std::function<void(QPrintPreviewDialog&)> preview_hook_;
};

// The printer of the program's print switches: the one named
// `printer_name`, or the system's default printer when the name is empty,
// set up for the report's page layout. The error says that there is no such
// printer or no default printer.
Result<std::unique_ptr<QPrinter>> ReportPrinterNamed(const QString& printer_name);

// The program's print switches (--print, --print-to PRINTER): prints the
// document of `printing`'s frame to that printer (the default printer when
// the name is empty), with no dialog. Returns the program's exit code: 0
// printed, 1 when there is no such printer or printing failed, the reason
// then on standard error.
int PrintAndEnd(PrintController& printing, const QString& printer_name);

// Gives `printer` the report's margins; the page size and printer are kept.
void PrepareReportPrinter(QPrinter& printer);

}  // namespace zlm5
