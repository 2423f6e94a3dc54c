// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/print_controller.h"

#include <QAction>
#include <QCoreApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdio>

#include "report/report_data.h"
#include "ui/app/command_ids.h"
#include "ui/app/language.h"
#include "ui/app/main_frame.h"
#include "ui/app/message_box.h"
#include "ui/grid/channel_view.h"

namespace zlm5 {
namespace {

ReportTextSet CurrentTextSet() {
  return UseEnglishTexts() ? ReportTextSet::English : ReportTextSet::Chinese;
}

QString PrinterLabel(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) return printer.outputFileName();
  return printer.printerName().isEmpty()
             ? QCoreApplication::translate("zlm5::PrintController", "the printer")
             : printer.printerName();
}

Status Render(QPrinter& printer, const ReportData& data, const QList<int>& pages) {
  QPainter painter;
  if (!painter.begin(&printer)) {
    return Error(
        PrinterLabel(printer).toStdString(),
        QCoreApplication::translate("zlm5::PrintController", "the printer cannot be opened")
            .toStdString());
  }
  RenderReportPages(painter, printer, data, pages);
  if (!painter.end()) {
    return Error(
        PrinterLabel(printer).toStdString(),
        QCoreApplication::translate("zlm5::PrintController", "printing failed").toStdString());
  }
  return Ok{};
}

}  // namespace

void PrepareReportPrinter(QPrinter& printer) {
  printer.setPageMargins(ReportPageMarginsMm(), QPageLayout::Millimeter);
}

PrintController::PrintController(MainFrame& frame)
    : QObject(&frame),
      frame_(frame),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  PrepareReportPrinter(*printer_);
  if (QAction* a = frame_.Action(command_id::kPrint)) {
    connect(a, &QAction::triggered, this, &PrintController::Print);
  }
  if (QAction* a = frame_.Action(command_id::kPrintPreview)) {
    connect(a, &QAction::triggered, this, &PrintController::Preview);
  }
  if (QAction* a = frame_.Action(command_id::kPrintSetup)) {
    connect(a, &QAction::triggered, this, &PrintController::PrintSetup);
  }
}

PrintController::~PrintController() = default;

QPrinter& PrintController::Printer() { return *printer_; }

void PrintController::SetPreviewHook(std::function<void(QPrintPreviewDialog&)> hook) {
  preview_hook_ = std::move(hook);
}

ReportData PrintController::CurrentReport() const {
  ChannelView& view = frame_.View();
  ReportData data = ReportDataFromGrid(view.Grid(), view.Document().image(), CurrentTextSet());
  data.type_entry = view.BoxEntryText(FormBox::Type);
  data.field_entry = view.BoxEntryText(FormBox::Field);
  data.power_rank_entry = view.BoxEntryText(FormBox::PowerRank);
  return data;
}

QList<int> PrintController::SelectedPages(const QPrinter& printer) {
  QList<int> pages;
  const QPageRanges ranges = printer.pageRanges();
  const bool all = printer.printRange() != QPrinter::PageRange || ranges.isEmpty();
  for (int page = kReportFirstPage; page <= kReportLastPage; ++page) {
    if (all || ranges.contains(page)) pages.append(page);
  }
  return pages;
}

Status PrintController::PrintTo(QPrinter& printer) {
  return Render(printer, CurrentReport(), SelectedPages(printer));
}

void PrintController::Print() {
  frame_.View().CommitOpenEditor();
  QPrintDialog dialog(printer_.get(), &frame_);
  dialog.setMinMax(kReportFirstPage, kReportLastPage);
  // "Pages from" offers the whole report until the user narrows it.
  if (printer_->printRange() != QPrinter::PageRange) {
    dialog.setFromTo(kReportFirstPage, kReportLastPage);
  }
  dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile |
                    QAbstractPrintDialog::PrintCollateCopies |
                    QAbstractPrintDialog::PrintShowPageSize);
  if (dialog.exec() != QDialog::Accepted) return;
  const Status printed = PrintTo(*printer_);
  if (!printed) ShowMessage(&frame_, QString::fromStdString(printed.error().Message()));
}

void PrintController::Preview() {
  frame_.View().CommitOpenEditor();
  // The preview shows all five pages; a range chosen when printing from
  // the preview applies to that print only.
  printer_->setPrintRange(QPrinter::AllPages);
  printer_->setPageRanges(QPageRanges());
  QPrintPreviewDialog dialog(printer_.get(), &frame_);
  // The pages are drawn afresh whenever the preview asks for them, so they
  // show the view as it is then.
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
    QPainter painter(printer);
    RenderReportPages(painter, *printer, CurrentReport(), SelectedPages(*printer));
  });
  if (auto* preview = dialog.findChild<QPrintPreviewWidget*>()) {
    preview->setViewMode(QPrintPreviewWidget::FacingPagesView);
    preview->setZoomMode(QPrintPreviewWidget::FitInView);
  }
  dialog.resize(frame_.size());
  if (preview_hook_) preview_hook_(dialog);
  dialog.exec();
}

void PrintController::PrintSetup() {
  QPageSetupDialog dialog(printer_.get(), &frame_);
  dialog.exec();
}

Result<std::unique_ptr<QPrinter>> ReportPrinterNamed(const QString& printer_name) {
  QPrinterInfo info;
  if (printer_name.isEmpty()) {
    info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return Error("Printing", "there is no default printer");
  } else {
    info = QPrinterInfo::printerInfo(printer_name);
    if (info.isNull()) {
      return Error("Printing", "there is no printer named \"" + printer_name.toStdString() + "\"");
    }
  }
  auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  PrepareReportPrinter(*printer);
  return printer;
}

int PrintAndEnd(PrintController& printing, const QString& printer_name) {
  auto printer = ReportPrinterNamed(printer_name);
  Status printed = printer ? printing.PrintTo(**printer) : Status(printer.error());
  if (!printed) {
    std::fprintf(stderr, "z-lm5: %s\n", printed.error().Message().c_str());
    return 1;
  }
  return 0;
}

}  // namespace zlm5
