// SPDX-License-Identifier: GPL-3.0-or-later
// The printed report: pages drawn to PDF and read back with poppler's
// pdftotext, so that the checks see what a printer would put on paper.

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <optional>

#include "files/channel_document.h"
#include "model/memory_grid.h"
#include "report/printing.h"
#include "report/report_data.h"
#include "report/report_font.h"
#include "report/report_texts.h"
#include "tests/report/pdf_text.h"

using namespace zlm5;
using namespace zlm5::pdf_text;

namespace {

std::optional<Word> FirstWordFrom(const Line& line, double from) {
  for (const Word& w : line) {
    if (w.x0 >= from - kTolerancePt) return w;
  }
  return std::nullopt;
}

// Where the report's column unit and positions fall on a PDF page written
// with `setup`: the printable area is the page less the margins.
struct Geometry {
  double left_pt = 0, top_pt = 0, right_pt = 0;
  int w_twips = 0, h_twips = 0;
  int spec_w_twips = 0;  // 80 columns across the width less 900 twips
  int right_px = 0, dpi = 0;
  double X(double columns) const { return left_pt + columns * w_twips / 20.0; }
};

Geometry GeometryOf(const PdfPageSetup& setup, const ReportData& data) {
  const QPageLayout layout(setup.page_size, QPageLayout::Portrait, setup.margins_mm,
                           QPageLayout::Millimeter);
  const QRect px = layout.paintRectPixels(setup.resolution_dpi);
  Geometry g;
  g.dpi = setup.resolution_dpi;
  g.right_px = px.width();
  g.left_pt = layout.paintRect(QPageLayout::Point).left();
  g.top_pt = layout.paintRect(QPageLayout::Point).top();
  g.right_pt = layout.paintRect(QPageLayout::Point).right();
  g.spec_w_twips = (px.width() * 1440 / g.dpi - 900) / 80;
  g.w_twips = ReportColumnWidth(QRect(QPoint(0, 0), px.size()), g.dpi, g.dpi, data);
  g.h_twips = (px.height() / 45) * 1440 / g.dpi;
  return g;
}

RadioImage NewImage() { return ChannelDocument::NewDocumentImage(); }

// A grid with channel `row` filled in every printed column.
MemoryGrid GridWithChannel(int row) {
  MemoryGrid grid;
  const char* texts[] = {"146.52500", "147.00000", "D023N", "88.5", "Narrow",
                         "Yes",       "High",      "CCIR",  "ON",   "QT/DQT"};
  for (int c = 1; c <= 10; ++c) grid.SetTextMatrix(row, c, texts[c - 1]);
  grid.SetTextMatrix(row, 11, "NAME");
  return grid;
}

QString Write(const QTemporaryDir& dir, const QString& name, const ReportData& data,
              const PdfPageSetup& setup = PdfPageSetup()) {
  const QString path = dir.filePath(name);
  const Status st = WriteReportPdf(path, data, setup);
  if (!st) qWarning("%s", st.error().Message().c_str());
  return st ? path : QString();
}

PdfPageSetup Paper(const QString& name) {
  PdfPageSetup setup;
  setup.page_size = QPageSize(name == "letter" ? QPageSize::Letter : QPageSize::A4);
  return setup;
}

QString CliPath() { return QStringLiteral(ZLM5_BINARY_DIR "/tools/z-lm5-cli"); }

}  // namespace

class PrintingTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;

 private slots:
  void initTestCase() {
    QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
             "pdftotext (poppler-utils) is needed to read the report back");
    QVERIFY(dir_.isValid());
  }

  void valueRulesOfTheSettingsLines() {
    using namespace report_rules;
    const auto en = ReportTextSet::English;
    const auto zh = ReportTextSet::Chinese;
    QCOMPARE(KeyText(0, en), "None");
    QCOMPARE(KeyText(1, en), "Autodial");
    QCOMPARE(KeyText(4, en), "Monitor Momentary");
    QCOMPARE(KeyText(5, en), "Scrambler");
    QCOMPARE(KeyText(6, en), "None");
    QCOMPARE(KeyText(0xA8, zh), "无");
    QCOMPARE(KeyText(2, zh), "按键锁定");
    QCOMPARE(SwitchText(true, Switch::Beep, en), "Enable");
    QCOMPARE(SwitchText(false, Switch::VoxInhibit, en), "Disable");
    QCOMPARE(SwitchText(true, Switch::Scrambler, zh), "打开");
    QCOMPARE(SwitchText(true, Switch::BatterySave, zh), "启动");
    QCOMPARE(SwitchText(false, Switch::BatterySave, zh), "关闭");
    QCOMPARE(SwitchText(true, Switch::VoxInhibit, zh), "使能");
    QCOMPARE(SwitchText(false, Switch::VoxInhibit, zh), "不使能");
    QCOMPARE(SquelchText(0), " 0");
    QCOMPARE(SquelchText(9), " 9");
    QCOMPARE(SquelchText(10), "0");
    QCOMPARE(GainText(0), "OFF");
    QCOMPARE(GainText(1), " 1");
    QCOMPARE(GainText(10), "10");
    QCOMPARE(GainText(11), "0");
    QCOMPARE(DelayText(0), "0.3s");
    QCOMPARE(DelayText(3), "1.5s");
    QCOMPARE(DelayText(6), "0.3s");
    QCOMPARE(PttIdText(0xC4), "BOT");
    QCOMPARE(PttIdText(0x01), "EOT");
    QCOMPARE(PttIdText(0x02), "BOTH");
    QCOMPARE(PttIdText(0xFF), "BOTH");
    QCOMPARE(TimeText(0), "OFF");
    QCOMPARE(TimeText(1), "15");
    QCOMPARE(TimeText(40), "600");
    QCOMPARE(TimeText(41), "OFF");
    const std::uint8_t code[] = {0x2F, 0x30, 0x39, 0x3A, 0x40, 0x41, 0x44, 0x45, 0x61, 0xFF};
    QCOMPARE(CodeText(code), "09AD");
  }

  void headerLineKeepsItsBlanks() {
    QCOMPARE(ChannelHeaderLine(ReportTextSet::English, "CH", "Rx Tone", "Tx Tone"),
             "CH   Rx(MHz)   Tx(MHz)    Rx Tone  Tx Tone  W/N    Scan Add   Tx Power   "
             "Opt Signal   PTTID   Busy");
    QCOMPARE(ChannelHeaderLine(ReportTextSet::Chinese, "CH", "Rx Tone", "Tx Tone"),
             "CH   接收频率     发射频率     Rx Tone   Tx Tone   宽/窄     扫描添加    "
             "发射功率   可选信令     PTTID   繁忙锁定");
  }

  void reportDataTakesGridAndLists() {
    MemoryGrid grid = GridWithChannel(7);
    grid.SetBoxSelection(FormBox::Field, 7);
    grid.SetBoxSelection(FormBox::Type, 0);
    grid.SetBoxSelection(FormBox::PowerRank, 3);
    RadioImage image;
    image.set(0x813, 7);
    const ReportData d = ReportDataFromGrid(grid, image, ReportTextSet::English);
    QCOMPARE(d.cells[0][0], "CH");
    QCOMPARE(d.cells[0][5], " W/N ");
    QCOMPARE(d.cells[7][0], "7");
    QCOMPARE(d.cells[7][1], "146.52500");
    QCOMPARE(d.cells[7][10], "QT/DQT");
    QCOMPARE(d.field_entry, "470 - 490MHz");
    QCOMPARE(d.type_entry, "RaNOX-ONE");
    QCOMPARE(d.power_rank_entry, "3");
    QCOMPARE(d.image.at(0x813), 7);
    QCOMPARE(d.text_set, ReportTextSet::English);

    grid.SetBoxSelection(FormBox::Type, 5);  // outside the list: no selection
    QCOMPARE(ReportDataFromGrid(grid, image, ReportTextSet::English).type_entry, QString());

    // An image opened from a file: its channels decoded, its boxes selected.
    RadioImage opened = NewImage();
    opened.set(0x80A, 0xF0);
    const ReportData o = ReportDataFromImage(opened, ReportTextSet::Chinese);
    QCOMPARE(o.field_entry, "240 - 260MHz");
    QCOMPARE(o.power_rank_entry, "9");
    QCOMPARE(o.cells[128][0], "128");
    QCOMPARE(o.cells[1][1], QString());
  }

  void fivePagesWithTheirTitles_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("paper");
    QTest::addColumn<QStringList>("titles");
    const QStringList zh{"整机设置", "第二页", "第三页", "第四页", "第五页"};
    const QStringList en{"The Radio Settings", "The Second Page", "The Third Page",
                         "The Fourth Pages", "The Fifth Pages"};
    QTest::newRow("chinese a4") << false << "a4" << zh;
    QTest::newRow("english a4") << true << "a4" << en;
    QTest::newRow("chinese letter") << false << "letter" << zh;
    QTest::newRow("english letter") << true << "letter" << en;
  }

  void fivePagesWithTheirTitles() {
    QFETCH(bool, english);
    QFETCH(QString, paper);
    QFETCH(QStringList, titles);
    const auto set = english ? ReportTextSet::English : ReportTextSet::Chinese;
    const PdfPageSetup setup = Paper(paper);
    const ReportData data = ReportDataFromImage(NewImage(), set);
    const QString pdf = Write(dir_, "titles.pdf", data, setup);
    QVERIFY(!pdf.isEmpty());
    const QList<Page> pages = ReadPdf(pdf);
    QCOMPARE(pages.size(), 5);
    const Geometry g = GeometryOf(setup, data);
    for (int i = 0; i < 5; ++i) {
      const QList<Line> lines = Lines(pages[i]);
      QVERIFY(!lines.isEmpty());
      QStringList first;
      for (const Word& w : lines.first()) first << w.text;
      QCOMPARE(first.join(' '), titles[i]);
      // x = (right / 2) x 1440 / dpi - 18 W, in twips from the printable area,
      // with the integer steps the page drawing takes.
      // NOLINTNEXTLINE(bugprone-integer-division)
      const double x = g.left_pt + ((g.right_px / 2) * 1440 / g.dpi - 18 * g.w_twips) / 20.0;
      QVERIFY2(
          std::abs(lines.first().first().x0 - x) < kTolerancePt,
          qPrintable(QString("title at %1, expected %2").arg(lines.first().first().x0).arg(x)));
      // Every word lies on the paper.
      for (const Word& w : pages[i].words) {
        QVERIFY2(w.x0 >= 0 && w.x1 <= pages[i].width && w.y0 >= 0 && w.y1 <= pages[i].height,
                 qPrintable(w.text));
      }
    }
  }

  void newDocumentSettings_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QStringList>("cells");  // line by line, left to right, "|" between lines
    QTest::newRow("english") << true
                             << QStringList{"Function Setting:",
                                            "|",
                                            "Type: RaNOX-ONE",
                                            "Frequency Field: 67 - 72MHz",
                                            "|",
                                            "Pf1: None",
                                            "Pf2: None",
                                            "Beep Warning: Disable",
                                            "|",
                                            "Squelch Level: 5",
                                            "TX power rank: 9",
                                            "Scrambler Activation:Enable",
                                            "|",
                                            "Vox Function:Disable",
                                            "Vox Gain Level:OFF",
                                            "Vox Delay Time: 1.5s",
                                            "|",
                                            "PTT ID: BOT",
                                            "Battery Save:Disable",
                                            "Total Tx Time(s):OFF",
                                            "|",
                                            "Begin of Tx:",
                                            "End of Tx:",
                                            "|",
                                            "Vox inhibit on recieve:Enable",
                                            "|",
                                            "Channel Setting:"};
    QTest::newRow("chinese") << false
                             << QStringList{"功能设置:",
                                            "|",
                                            "机型: RaNOX-ONE",
                                            "频段: 67 - 72MHz",
                                            "|",
                                            "Pf1: 无",
                                            "Pf2: 无",
                                            "报警音提示: 关闭",
                                            "|",
                                            "静噪等级: 5",
                                            "发射功率等级: 9",
                                            "扰频器激活:打开",
                                            "|",
                                            "Vox 功能:关闭",
                                            "Vox 增益电平:OFF",
                                            "Vox 延迟时间(秒): 1.5s",
                                            "|",
                                            "PTT ID: BOT",
                                            "电池省电:关闭",
                                            "发射时间(s):OFF",
                                            "|",
                                            "发射开始:",
                                            "发射结束:",
                                            "|",
                                            "接收时禁止VOX:使能",
                                            "|",
                                            "频道设置:"};
  }

  // Page 1 of a new document, cell by cell, each cell starting at its
  // column: 5W for the two section titles, 2W / 25W / 50W for the settings,
  // 35W for "End of Tx".
  void newDocumentSettings() {
    QFETCH(bool, english);
    QFETCH(QStringList, cells);
    const auto set = english ? ReportTextSet::English : ReportTextSet::Chinese;
    const PdfPageSetup setup;
    const ReportData data = ReportDataFromImage(NewImage(), set);
    const Geometry g = GeometryOf(setup, data);
    const QString pdf = Write(dir_, "settings.pdf", data, setup);
    const QList<Page> pages = ReadPdf(pdf);
    QCOMPARE(pages.size(), 5);
    const QList<Line> lines = Lines(pages[0]);

    QList<QStringList> expected(1);
    for (const QString& c : cells) {
      if (c == "|")
        expected.append(QStringList());
      else
        expected.last() << c;
    }
    QVERIFY(lines.size() > expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
      const Line& line = lines[i + 1];  // line 0 is the title
      const QStringList& want = expected[i];
      QList<double> xs;
      if (want.size() == 1 && (i == 0 || i == expected.size() - 1))
        xs = {5};
      else if (i == 6)
        xs = {2, 35};
      else
        xs = {2, 25, 50};
      for (qsizetype k = 0; k < want.size(); ++k) {
        const double from = g.X(xs[k]);
        const double to = k + 1 < want.size() ? g.X(xs[k + 1]) : 1e9;
        QCOMPARE(CellText(line, from, to), want[k]);
        const auto first = FirstWordFrom(line, from);
        QVERIFY(first);
        QVERIFY2(
            std::abs(first->x0 - from) < kTolerancePt,
            qPrintable(QString("%1 at %2, expected %3").arg(want[k]).arg(first->x0).arg(from)));
      }
    }
    // The header line follows, then channels 1..22 with nothing but their
    // numbers (a new document's channels are empty).
    const Line& header = lines[expected.size() + 1];
    QCOMPARE(header.first().text, "CH");
    for (int r = 1; r <= 22; ++r) {
      const Line& row = lines[expected.size() + 1 + r];
      QCOMPARE(row.size(), 1);
      QCOMPARE(row.first().text, QString::number(r));
    }
    QCOMPARE(lines.size(), expected.size() + 1 + 1 + 22);
  }

  // The squelch level prints with "%2d": a blank precedes a single digit.
  void squelchDigitHasLeadingBlank() {
    const PdfPageSetup setup;
    RadioImage image = NewImage();
    const QList<Page> with_blank =
        ReadPdf(Write(dir_, "sq5.pdf", ReportDataFromImage(image, ReportTextSet::English), setup));
    image.set(0x813, 12);
    const QList<Page> without =
        ReadPdf(Write(dir_, "sq12.pdf", ReportDataFromImage(image, ReportTextSet::English), setup));
    QCOMPARE(with_blank.size(), 5);
    QCOMPARE(without.size(), 5);
    auto gap = [](const Page& page, const QString& expected_value) {
      const auto line = LineStartingWith(page, "Squelch");
      if (!line || line->size() < 3 || (*line)[2].text != expected_value) return -1.0;
      return (*line)[2].x0 - (*line)[1].x1;
    };
    const double two_blanks = gap(with_blank[0], "5");
    const double one_blank = gap(without[0], "0");
    QVERIFY(one_blank > 0);
    QVERIFY2(two_blanks > 1.6 * one_blank && two_blanks < 2.4 * one_blank,
             qPrintable(QString("gaps %1 and %2").arg(two_blanks).arg(one_blank)));
  }

  void settingsEdgeCases_data() {
    QTest::addColumn<QList<int>>("bytes");  // offset, value, offset, value, ...
    QTest::addColumn<QString>("first");     // first word of the line
    QTest::addColumn<int>("from");          // the cell's x in W
    QTest::addColumn<int>("until");         // the next cell's x in W; 0 = none
    QTest::addColumn<QString>("cell");
    QTest::newRow("delay 4") << QList<int>{0x816, 4} << "Vox" << 50 << 0 << "Vox Delay Time: 2.0s";
    QTest::newRow("delay 5") << QList<int>{0x816, 5} << "Vox" << 50 << 0 << "Vox Delay Time: 3.0s";
    QTest::newRow("delay 9") << QList<int>{0x816, 9} << "Vox" << 50 << 0 << "Vox Delay Time: 0.3s";
    QTest::newRow("squelch 12") << QList<int>{0x813, 12} << "Squelch" << 2 << 25
                                << "Squelch Level: 0";
    QTest::newRow("gain 11") << QList<int>{0x815, 11} << "Vox" << 25 << 50 << "Vox Gain Level:0";
    QTest::newRow("gain 10") << QList<int>{0x815, 10} << "Vox" << 25 << 50 << "Vox Gain Level:10";
    QTest::newRow("time 41") << QList<int>{0x814, 41} << "PTT" << 50 << 0 << "Total Tx Time(s):OFF";
    QTest::newRow("time 40") << QList<int>{0x814, 40} << "PTT" << 50 << 0 << "Total Tx Time(s):600";
    QTest::newRow("begin code") << QList<int>{0x7B0, 0x31, 0x7B1, 0x32, 0x7B2, 0x41,
                                              0x7B3, 0x45, 0x7B4, 0x44, 0x7B5, 0xFF}
                                << "Begin" << 2 << 35 << "Begin of Tx:12AD";
    QTest::newRow("end code") << QList<int>{0x7C0, 0x39, 0x7C7, 0x30, 0x7CF, 0x43} << "Begin" << 35
                              << 0 << "End of Tx: 90C";
    QTest::newRow("keys") << QList<int>{0x810, 3, 0x811, 5} << "Pf1:" << 2 << 25 << "Pf1: Monitor";
    QTest::newRow("key 5") << QList<int>{0x810, 3, 0x811, 5} << "Pf1:" << 25 << 50
                           << "Pf2: Scrambler";
    QTest::newRow("ptt both") << QList<int>{0x812, 0x03} << "PTT" << 2 << 25 << "PTT ID: BOTH";
    QTest::newRow("ptt eot") << QList<int>{0x812, 0x01} << "PTT" << 2 << 25 << "PTT ID: EOT";
    QTest::newRow("beep bit 4") << QList<int>{0x812, 0x10} << "Pf1:" << 50 << 0
                                << "Beep Warning: Enable";
    QTest::newRow("scrambler bit 2 clear")
        << QList<int>{0x812, 0xFB} << "Squelch" << 50 << 0 << "Scrambler Activation:Disable";
    QTest::newRow("vox bit 5") << QList<int>{0x812, 0x20} << "Vox" << 2 << 25
                               << "Vox Function:Enable";
    QTest::newRow("battery bit 3")
        << QList<int>{0x812, 0x08} << "PTT" << 25 << 50 << "Battery Save:Enable";
    QTest::newRow("inhibit bit 6 clear")
        << QList<int>{0x812, 0x80} << "Vox" << 2 << 0 << "Vox inhibit on recieve:Disable";
  }

  void settingsEdgeCases() {
    QFETCH(QList<int>, bytes);
    QFETCH(QString, first);
    QFETCH(int, from);
    QFETCH(int, until);
    QFETCH(QString, cell);
    RadioImage image = NewImage();
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
      image.set(static_cast<std::size_t>(bytes[i]), static_cast<std::uint8_t>(bytes[i + 1]));
    }
    const PdfPageSetup setup;
    const ReportData data = ReportDataFromImage(image, ReportTextSet::English);
    const Geometry g = GeometryOf(setup, data);
    const QList<Page> pages = ReadPdf(Write(dir_, "edge.pdf", data, setup));
    QCOMPARE(pages.size(), 5);
    // Several lines start with "Vox"; the one holding the cell counts.
    QStringList seen;
    for (const Line& line : Lines(pages[0])) {
      if (line.first().text != first) continue;
      const QString text = CellText(line, g.X(from), until ? g.X(until) : 1e9);
      if (text == cell) return;
      seen << text;
    }
    QFAIL(qPrintable("cell not found; saw: " + seen.join(" / ")));
  }

  void channelRowsPerPage() {
    const QList<Page> pages =
        ReadPdf(Write(dir_, "rows.pdf", ReportDataFromImage(NewImage(), ReportTextSet::English)));
    QCOMPARE(pages.size(), 5);
    const int first[] = {1, 23, 55, 87, 119};
    const int count[] = {22, 32, 32, 32, 10};
    for (int p = 0; p < 5; ++p) {
      QList<int> numbers;
      bool after_header = false;
      for (const Line& line : Lines(pages[p])) {
        if (after_header) numbers << line.first().text.toInt();
        if (line.first().text == "CH") after_header = true;
      }
      QCOMPARE(numbers.size(), count[p]);
      for (int i = 0; i < count[p]; ++i) QCOMPARE(numbers[i], first[p] + i);
    }
  }

  void channelColumns_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("paper");
    QTest::addColumn<QList<int>>("xs");
    const QList<int> en{1, 5, 14, 24, 32, 40, 46, 55, 64, 74, 82};
    const QList<int> zh{1, 5, 14, 25, 33, 40, 46, 54, 62, 70, 78};
    QTest::newRow("english a4") << true << "a4" << en;
    QTest::newRow("chinese a4") << false << "a4" << zh;
    QTest::newRow("english letter") << true << "letter" << en;
    QTest::newRow("chinese letter") << false << "letter" << zh;
  }

  // A channel line holds cells 0..10 left to right at their columns; the
  // name (column 11) is not printed; no cell runs into the next one.
  void channelColumns() {
    QFETCH(bool, english);
    QFETCH(QString, paper);
    QFETCH(QList<int>, xs);
    const auto set = english ? ReportTextSet::English : ReportTextSet::Chinese;
    const PdfPageSetup setup = Paper(paper);
    const ReportData data = ReportDataFromGrid(GridWithChannel(60), NewImage(), set);
    const Geometry g = GeometryOf(setup, data);
    // The English last column starts at 82: W shrinks so that it ends inside
    // the printable area; the Chinese table fits with 80 columns across.
    if (english)
      QVERIFY(g.w_twips < g.spec_w_twips);
    else
      QCOMPARE(g.w_twips, g.spec_w_twips);
    const QList<Page> pages = ReadPdf(Write(dir_, "columns.pdf", data, setup));
    QCOMPARE(pages.size(), 5);
    const auto line = LineStartingWith(pages[2], "60");
    QVERIFY(line);
    const QStringList want{"60",  "146.52500", "147.00000", "D023N", "88.5",  "Narrow",
                           "Yes", "High",      "CCIR",      "ON",    "QT/DQT"};
    QCOMPARE(line->size(), want.size());
    for (int c = 0; c < want.size(); ++c) {
      const Word& w = (*line)[c];
      QCOMPARE(w.text, want[c]);
      QVERIFY2(std::abs(w.x0 - g.X(xs[c])) < kTolerancePt,
               qPrintable(QString("%1 at %2, expected %3").arg(w.text).arg(w.x0).arg(g.X(xs[c]))));
      if (c > 0) QVERIFY2((*line)[c - 1].x1 < w.x0, qPrintable(w.text));
      QVERIFY2(w.x1 <= g.right_pt + kTolerancePt, qPrintable(w.text));
    }
    QCOMPARE(ChannelColumnX(3, set), xs[3]);
  }

  // Lines are one font line height apart, the height coming from the font
  // of character height H = (drawing height / 45) x 1440 / dpi twips.
  void lineSpacingFollowsTheFont() {
    const PdfPageSetup setup;
    const ReportData data = ReportDataFromImage(NewImage(), ReportTextSet::English);
    const Geometry g = GeometryOf(setup, data);
    const QList<Page> pages = ReadPdf(Write(dir_, "spacing.pdf", data));
    QCOMPARE(pages.size(), 5);
    const ReportFont font(g.h_twips, static_cast<int>(0.8 * g.w_twips));
    QCOMPARE(font.latin().pixelSize(), g.h_twips);
    const double lh = font.LineHeight() / 20.0;
    QVERIFY(lh > g.h_twips / 20.0 && lh < 1.3 * g.h_twips / 20.0);
    const QList<Line> lines = Lines(pages[1]);
    const auto row = [&](int n) {
      for (const Line& l : lines) {
        if (l.first().text == QString::number(n)) return l.first().y0;
      }
      return -1.0;
    };
    QVERIFY(std::abs(row(24) - row(23) - lh) < 0.1);
    QVERIFY(std::abs(row(54) - row(23) - 31 * lh) < 0.5);
    // Title top at LH/2 below the printable area's top; "Channel Setting:"
    // one line further; the header 1.2 lines below that.
    const auto title = LineStartingWith(pages[1], "The");
    const auto section = LineStartingWith(pages[1], "Channel");
    const auto header = LineStartingWith(pages[1], "CH");
    QVERIFY(title && section && header);
    QVERIFY(std::abs(section->first().y0 - title->first().y0 - lh) < 0.1);
    QVERIFY(std::abs(header->first().y0 - section->first().y0 -
                     int(1.2 * font.LineHeight()) / 20.0) < 0.1);
    QVERIFY(std::abs(row(23) - header->first().y0 - lh) < 0.1);
  }

  // Page numbers outside 1..5 draw the fifth page's title and nothing else.
  void pageOutsideTheReport() {
    const QString path = dir_.filePath("page9.pdf");
    {
      QPdfWriter writer(path);
      writer.setResolution(600);
      QPainter painter(&writer);
      ReportData data = ReportDataFromImage(NewImage(), ReportTextSet::English);
      PrintPage(painter, 9, QRect(0, 0, writer.width(), writer.height()), 600, 600, data);
    }
    const QList<Page> pages = ReadPdf(path);
    QCOMPARE(pages.size(), 1);
    QStringList words;
    for (const Word& w : pages[0].words) words << w.text;
    QCOMPARE(words.join(' '), "The Fifth Pages");
  }

  void chineseTextsUseACjkFont() {
    const QString pdf =
        Write(dir_, "cjk.pdf", ReportDataFromImage(NewImage(), ReportTextSet::Chinese));
    QProcess p;
    p.start("pdffonts", {pdf});
    QVERIFY(p.waitForFinished(60000));
    const QString fonts = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(fonts.contains("UMing") || fonts.contains("CJK"), qPrintable(fonts));
    QVERIFY2(fonts.contains("Serif"), qPrintable(fonts));
  }

  void failedWriteLeavesTheFileAlone() {
    const QString existing = dir_.filePath("keep.pdf");
    {
      QFile f(existing);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("old");
    }
    const Status bad = WriteReportPdf(dir_.filePath("missing/dir/report.pdf"),
                                      ReportDataFromImage(NewImage(), ReportTextSet::English));
    QVERIFY(!bad);
    QVERIFY(QString::fromStdString(bad.error().Message()).contains("missing/dir/report.pdf"));
    QFile f(existing);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("old"));
  }

  void commandLinePrint() {
    if (!QFile::exists(CliPath())) QSKIP("z-lm5-cli is not built");
    RadioImage image = NewImage();
    image.set(0x816, 5);
    const QString sin = dir_.filePath("radio.sin");
    QVERIFY(SaveChannelDataFile(sin.toStdString(), image));
    const QString out_en = dir_.filePath("cli-en.pdf");
    const QString out_zh = dir_.filePath("cli-zh.pdf");

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    p.setProcessEnvironment(env);
    p.start(CliPath(), {"print", sin, "-o", out_en, "--english", "--paper", "letter"});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QList<Page> en = ReadPdf(out_en);
    QCOMPARE(en.size(), 5);
    QCOMPARE(en[0].width, 612.0);  // Letter
    QVERIFY(LineStartingWith(en[0], "The"));
    QVERIFY(LineStartingWith(en[4], "119"));

    p.start(CliPath(), {"print", sin, "-o", out_zh});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 0);
    const QList<Page> zh = ReadPdf(out_zh);
    QCOMPARE(zh.size(), 5);
    QVERIFY(LineStartingWith(zh[0], "整机设置"));
    QVERIFY(std::any_of(zh[0].words.begin(), zh[0].words.end(),
                        [](const Word& w) { return w.text == "3.0s"; }));

    // A file that cannot be read: exit 3, nothing written.
    const QString none = dir_.filePath("none.pdf");
    p.start(CliPath(), {"print", dir_.filePath("absent.sin"), "-o", none});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 3);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("absent.sin"));
    QVERIFY(!QFile::exists(none));

    // The report never replaces the channel data file it is made from.
    const QByteArray channel_data = [&] {
      QFile f(sin);
      return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    p.start(CliPath(), {"print", sin, "-o", sin});
    QVERIFY(p.waitForFinished(60000));
    QCOMPARE(p.exitCode(), 2);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains("channel data file"));
    {
      QFile f(sin);
      QVERIFY(f.open(QIODevice::ReadOnly));
      QCOMPARE(f.readAll(), channel_data);
    }

    // Usage errors: exit 2, nothing written.
    for (const QStringList& args :
         {QStringList{"print", sin}, QStringList{"print", sin, "-o", none, "--paper", "a3"},
          QStringList{"print", sin, "-o", none, "--bogus"}, QStringList{"print", "-o", none}}) {
      p.start(CliPath(), args);
      QVERIFY(p.waitForFinished(60000));
      QCOMPARE(p.exitCode(), 2);
      QVERIFY(!QFile::exists(none));
    }
  }
};

QTEST_MAIN(PrintingTest)
#include "test_printing.moc"
