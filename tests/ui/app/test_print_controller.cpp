// SPDX-License-Identifier: GPL-3.0-or-later
// Printing from the main window: the three commands, the report of the
// live view (unsaved edits, language choice), page ranges and the program's
// print switches.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "files/channel_document.h"
#include "tests/report/pdf_text.h"
#include "ui/app/command_ids.h"
#include "ui/app/language.h"
#include "ui/app/main_frame.h"
#include "ui/app/print_controller.h"
#include "ui/grid/channel_view.h"

using namespace zlm5;
using namespace zlm5::pdf_text;

namespace {

QString DesktopProgram() { return QStringLiteral(ZLM5_BINARY_DIR "/ui/z-lm5"); }

QStringList Titles(const QList<Page>& pages) {
  QStringList titles;
  for (const Page& page : pages) {
    const QList<Line> lines = Lines(page);
    QStringList words;
    if (!lines.isEmpty()) {
      for (const Word& w : lines.first()) words << w.text;
    }
    titles << words.join(' ');
  }
  return titles;
}

}  // namespace

class PrintControllerTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::unique_ptr<QSettings> settings_;
  std::unique_ptr<MainFrame> frame_;
  PrintController* printing_ = nullptr;

  std::unique_ptr<QPrinter> PdfPrinter(const QString& name) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(dir_.filePath(name));
    PrepareReportPrinter(*printer);
    return printer;
  }

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    settings_ = std::make_unique<QSettings>(dir_.filePath("settings.ini"), QSettings::IniFormat);
    ChooseEnglishTexts(false);
    frame_ = std::make_unique<MainFrame>(*settings_);
    printing_ = new PrintController(*frame_);
  }

  void cleanup() {
    ChooseEnglishTexts(false);
    frame_.reset();
    settings_.reset();
  }

  // The report shows the grid as edited, not as saved: cells typed into
  // the grid, the boxes' entries and the image bytes the options changed.
  void prints_the_view_as_it_is_now() {
    ChannelGrid& grid = frame_->View().Grid();
    grid.SetTextMatrix(3, 1, "146.52500");
    grid.SetTextMatrix(3, 2, "146.52500");
    grid.SetTextMatrix(3, 3, "OFF");
    grid.SetTextMatrix(3, 10, "Carrier");
    grid.SetBoxSelection(FormBox::Field, 7);
    frame_->Document().image().set(0x816, 5);

    auto printer = PdfPrinter("live.pdf");
    QVERIFY(printing_->PrintTo(*printer));
    const QList<Page> pages = ReadPdf(printer->outputFileName());
    QCOMPARE(pages.size(), 5);
    // Chinese texts while the language tag is empty.
    QCOMPARE(Titles(pages), (QStringList{"整机设置", "第二页", "第三页", "第四页", "第五页"}));
    const QString page1 = PageText(pages[0]);
    // Entries other than the first have no leading blanks: the value follows
    // the label directly.
    QVERIFY2(page1.contains("频段:470 - 490MHz"), qPrintable(page1));
    QVERIFY2(page1.contains("Vox 延迟时间(秒): 3.0s"), qPrintable(page1));
    QVERIFY2(page1.contains("机型: RaNOX-ONE"), qPrintable(page1));
    const auto row = LineStartingWith(pages[0], "3");
    QVERIFY(row);
    QStringList cells;
    for (const Word& w : *row) cells << w.text;
    QCOMPARE(cells.join(' '), "3 146.52500 146.52500 OFF Carrier");
  }

  void the_report_is_in_english_once_english_texts_is_chosen() {
    ChooseEnglishTexts(true);
    QVERIFY(UseEnglishTexts());
    auto printer = PdfPrinter("english.pdf");
    QVERIFY(printing_->PrintTo(*printer));
    const QList<Page> pages = ReadPdf(printer->outputFileName());
    QCOMPARE(Titles(pages), (QStringList{"The Radio Settings", "The Second Page", "The Third Page",
                                         "The Fourth Pages", "The Fifth Pages"}));
    const QString page1 = PageText(pages[0]);
    QVERIFY2(page1.contains("Frequency Field: 67 - 72MHz"), qPrintable(page1));
    QVERIFY2(page1.contains("Vox inhibit on recieve:Enable"), qPrintable(page1));
  }

  void a_page_range_prints_only_its_pages() {
    auto printer = PdfPrinter("range.pdf");
    printer->setPrintRange(QPrinter::PageRange);
    printer->setFromTo(2, 3);
    QCOMPARE(PrintController::SelectedPages(*printer), (QList<int>{2, 3}));
    QVERIFY(printing_->PrintTo(*printer));
    QCOMPARE(Titles(ReadPdf(printer->outputFileName())), (QStringList{"第二页", "第三页"}));

    printer->setPrintRange(QPrinter::AllPages);
    QCOMPARE(PrintController::SelectedPages(*printer), (QList<int>{1, 2, 3, 4, 5}));
  }

  // Print Preview: two pages side by side, all five pages, drawn from the
  // view when the preview asks for them.
  void the_preview_shows_facing_pages() {
    frame_->View().Grid().SetTextMatrix(128, 1, "440.00000");
    int pages = -1;
    QPrintPreviewWidget::ViewMode mode = QPrintPreviewWidget::SinglePageView;
    printing_->SetPreviewHook([&](QPrintPreviewDialog& dialog) {
      auto* preview = dialog.findChild<QPrintPreviewWidget*>();
      QVERIFY(preview);
      mode = preview->viewMode();
      preview->updatePreview();
      pages = preview->pageCount();
      QTimer::singleShot(0, &dialog, &QDialog::reject);
    });
    QAction* action = frame_->Action(command_id::kPrintPreview);
    QVERIFY(action);
    action->trigger();
    QCOMPARE(mode, QPrintPreviewWidget::FacingPagesView);
    QCOMPARE(pages, 5);
  }

  // The preview greys out whatever lies in the margins, and a printer cuts
  // off what lies beyond the paper: in portrait and in landscape, the whole
  // report (the English last column "Busy", "QT/DQT" too) lies inside the
  // printable area.
  void the_report_lies_inside_the_printable_area() {
    ChooseEnglishTexts(true);
    frame_->View().Grid().SetTextMatrix(5, 10, "QT/DQT");
    for (const auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
      auto printer = PdfPrinter("inside.pdf");
      printer->setPageOrientation(orientation);
      QVERIFY(printing_->PrintTo(*printer));
      const QRectF area = printer->pageLayout()
                              .paintRect(QPageLayout::Point)
                              .adjusted(-kTolerancePt, -kTolerancePt, kTolerancePt, kTolerancePt);
      const QList<Page> pages = ReadPdf(printer->outputFileName());
      QCOMPARE(pages.size(), 5);
      const auto header = LineStartingWith(pages[0], "CH");
      const auto row = LineStartingWith(pages[0], "5");
      QVERIFY(header && row);
      QCOMPARE(header->last().text, QStringLiteral("Busy"));
      QCOMPARE(row->last().text, QStringLiteral("QT/DQT"));
      for (const Page& page : pages) {
        for (const Word& w : page.words) {
          QVERIFY2(area.contains(QRectF(QPointF(w.x0, w.y0), QPointF(w.x1, w.y1))),
                   qPrintable(QStringLiteral("%1 at %2..%3 outside %4..%5")
                                  .arg(w.text)
                                  .arg(w.x0)
                                  .arg(w.x1)
                                  .arg(area.left())
                                  .arg(area.right())));
        }
      }
    }
  }

  void the_print_command_offers_the_five_pages() {
    int min_page = -1;
    int max_page = -1;
    int from_page = -1;
    int to_page = -1;
    bool range_enabled = false;
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      min_page = dialog->minPage();
      max_page = dialog->maxPage();
      from_page = dialog->fromPage();
      to_page = dialog->toPage();
      range_enabled = dialog->testOption(QAbstractPrintDialog::PrintPageRange);
      dialog->reject();
    });
    frame_->Action(command_id::kPrint)->trigger();
    QCOMPARE(min_page, 1);
    QCOMPARE(max_page, 5);
    // "Pages from 1 to 5" when the user turns to a range.
    QCOMPARE(from_page, 1);
    QCOMPARE(to_page, 5);
    QVERIFY(range_enabled);
    // All five pages are printed unless a range is chosen.
    QCOMPARE(PrintController::SelectedPages(printing_->Printer()), (QList<int>{1, 2, 3, 4, 5}));
  }

  void print_setup_opens_the_page_setup() {
    bool shown = false;
    QTimer::singleShot(0, this, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      shown = dialog != nullptr && dialog != frame_.get();
      if (auto* d = qobject_cast<QDialog*>(dialog)) d->reject();
    });
    frame_->Action(command_id::kPrintSetup)->trigger();
    QVERIFY(shown);
  }

  void an_unknown_printer_is_refused() {
    const auto printer = ReportPrinterNamed("No Such Printer 42");
    QVERIFY(!printer);
    QVERIFY(QString::fromStdString(printer.error().Message()).contains("No Such Printer 42"));
  }

  // z-lm5 --print FILE and --print-to PRINTER FILE end without a window.
  void the_print_switches_of_the_program() {
    if (!QFile::exists(DesktopProgram())) QSKIP("z-lm5 is not built");
    const QString sin = dir_.filePath("radio.sin");
    QVERIFY(SaveChannelDataFile(sin.toStdString(), ChannelDocument::NewDocumentImage()));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);

    p.start(DesktopProgram(), {"--print-to", "No Such Printer 42", sin});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 1);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("No Such Printer 42"));

    p.start(DesktopProgram(), {"--print"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);

    p.start(DesktopProgram(), {"--print-to", "Any", dir_.filePath("absent.sin")});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 3);
  }
};

QTEST_MAIN(PrintControllerTest)
#include "test_print_controller.moc"
