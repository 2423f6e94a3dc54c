// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs that show lines of text: the import and paste report and
// Check Channels. They open as wide as their longest line where the screen
// allows, wrap a line the screen cannot hold, keep the report selectable,
// and the report's buttons have their access keys.

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <string>
#include <vector>

#include "ui/dialogs/check_dialog.h"
#include "ui/dialogs/import_report_dialog.h"

namespace zlm5 {
namespace {

// A reason of `words` words, each a different one so that nothing repeats.
std::string Reason(int words) {
  std::string text = "the value";
  for (int i = 0; i < words; ++i) text += " word" + std::to_string(i);
  return text;
}

// The fewest words whose reason is wider than `pixels` in the report's
// fixed font: the system's, which differs from platform to platform.
int WordsWiderThan(int pixels) {
  const QFontMetrics metrics(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  int words = 1;
  while (metrics.horizontalAdvance(QString::fromStdString(Reason(words))) <= pixels) ++words;
  return words;
}

ChannelCsvImport ImportWithReasons(const std::vector<std::string>& reasons) {
  ChannelCsvImport import;
  import.channels.push_back({1, 2, {}});
  int line = 3;
  for (const std::string& reason : reasons) import.report.push_back({line++, 0, reason});
  return import;
}

ImportReportDialog::Reader ReaderOf(const ChannelCsvImport& import) {
  return [import](int) { return Result<ChannelCsvImport>(import); };
}

int ScreenWidth() { return QGuiApplication::primaryScreen()->availableGeometry().width(); }

// The lines the report box shows: a line of the text that wraps counts once
// for each line it takes.
int ShownLines(const QPlainTextEdit& report) { return report.document()->lineCount(); }

}  // namespace

class ReportDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void the_import_report_opens_as_wide_as_its_longest_line() {
    // Just more than the 582 pixels the box used to open with, less than
    // the screen.
    const ChannelCsvImport import =
        ImportWithReasons({Reason(2), Reason(WordsWiderThan(582)), Reason(1)});
    ImportReportDialog dialog(QStringLiteral("Import Channels"), QStringLiteral("/tmp/list.csv"),
                              ReaderOf(import), true, 0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QPlainTextEdit* report = dialog.ReportView();
    const QStringList lines = report->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    const int longest = report->fontMetrics().horizontalAdvance(lines[1]);
    QVERIFY2(longest > 582, qPrintable(QString::number(longest)));
    QVERIFY(dialog.width() <= ScreenWidth());
    // Every line whole on one line of the box, none cut.
    QCOMPARE(ShownLines(*report), 3);
    QVERIFY2(report->viewport()->width() >= longest,
             qPrintable(QStringLiteral("%1 < %2").arg(report->viewport()->width()).arg(longest)));
    QCOMPARE(report->horizontalScrollBar()->maximum(), 0);
    // The summary on one line above it.
    QLabel* summary = dialog.SummaryLabel();
    QCOMPARE(summary->height(), summary->heightForWidth(QWIDGETSIZE_MAX));
  }

  void a_line_wider_than_the_screen_wraps_and_the_report_stays_selectable() {
    const ChannelCsvImport import = ImportWithReasons({Reason(3), Reason(60)});
    ImportReportDialog dialog(QStringLiteral("Paste Channels"), QStringLiteral("the clipboard"),
                              ReaderOf(import), false, 0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QPlainTextEdit* report = dialog.ReportView();
    QVERIFY(report->fontMetrics().horizontalAdvance(QString::fromStdString(Reason(60))) >
            ScreenWidth());
    QVERIFY2(dialog.frameGeometry().width() <= ScreenWidth(),
             qPrintable(QString::number(dialog.frameGeometry().width())));
    // The long line takes several lines of the box; nothing lies beyond its
    // right edge.
    QVERIFY2(ShownLines(*report) > 2, qPrintable(QString::number(ShownLines(*report))));
    QCOMPARE(report->horizontalScrollBar()->maximum(), 0);

    // Selected with the keyboard and copied, it is the whole report.
    QVERIFY(report->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
    QVERIFY(report->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    report->setFocus();
    QTest::keyClick(report, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(report, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("Line 3: ") + QString::fromStdString(Reason(3)) +
                 QStringLiteral("\nLine 4: ") + QString::fromStdString(Reason(60)));
  }

  void alt_a_applies_and_alt_c_cancels_the_report() {
    const ChannelCsvImport import = ImportWithReasons({Reason(2)});
    for (const auto& [key, result] :
         {std::pair{Qt::Key_A, QDialog::Accepted}, std::pair{Qt::Key_C, QDialog::Rejected}}) {
      ImportReportDialog dialog(QStringLiteral("Import Channels"), QStringLiteral("/tmp/list.csv"),
                                ReaderOf(import), true, 0);
      QCOMPARE(dialog.ApplyButton()->text(), QStringLiteral("&Apply"));
      QCOMPARE(dialog.CancelButton()->text(), QStringLiteral("&Cancel"));
      QPushButton* pressed = key == Qt::Key_A ? dialog.ApplyButton() : dialog.CancelButton();
      QTimer::singleShot(0, &dialog, [&dialog, pressed, key = key] {
        // The focus on the first-channel box: the keys act all the same.
        if (QTest::qWaitForWindowActive(&dialog)) {
          dialog.FirstChannelBox()->setFocus();
          QTest::keyClick(dialog.FirstChannelBox(), key, Qt::AltModifier);
        }
        // The key presses its button at once, which clicks it a moment
        // later; a key that did nothing leaves the dialog to this.
        if (!pressed->isDown()) dialog.done(-1);
      });
      QCOMPARE(dialog.exec(), static_cast<int>(result));
    }
  }

  void check_channels_opens_as_wide_as_its_longest_finding() {
    const QString shorter =
        QStringLiteral("CH 1: 146.52500 lies outside the band of the Field box");
    const QString longest = QStringLiteral(
        "CH 12: the same Receive, Transmit, tones and name as CH 3, so one of them can go");
    ChannelCheckDialog dialog(
        [&] {
          return std::vector<ChannelFinding>{
              {ChannelCheck::OutOfBand, 1, 1, 0, shorter.toStdString()},
              {ChannelCheck::SameAsEarlier, 12, 1, 3, longest.toStdString()}};
        },
        nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QListWidget* list = dialog.List();
    const int advance = list->fontMetrics().horizontalAdvance(longest);
    QVERIFY2(advance > 460, qPrintable(QString::number(advance)));
    QVERIFY(dialog.width() <= ScreenWidth());
    // Each finding on one line, its whole text within the list.
    const int line = list->visualItemRect(list->item(0)).height();
    QCOMPARE(list->visualItemRect(list->item(1)).height(), line);
    QVERIFY2(list->viewport()->width() >= advance,
             qPrintable(QStringLiteral("%1 < %2").arg(list->viewport()->width()).arg(advance)));
  }

  void a_finding_wider_than_the_screen_wraps() {
    const QString shorter =
        QStringLiteral("CH 1: 146.52500 lies outside the band of the Field box");
    const QString longest = QStringLiteral("CH 2: ") + QString::fromStdString(Reason(60));
    ChannelCheckDialog dialog(
        [&] {
          return std::vector<ChannelFinding>{
              {ChannelCheck::OutOfBand, 1, 1, 0, shorter.toStdString()},
              {ChannelCheck::OutOfBand, 2, 1, 0, longest.toStdString()}};
        },
        nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QListWidget* list = dialog.List();
    QVERIFY(list->fontMetrics().horizontalAdvance(longest) > ScreenWidth());
    QVERIFY2(dialog.frameGeometry().width() <= ScreenWidth(),
             qPrintable(QString::number(dialog.frameGeometry().width())));
    // The long finding takes more than one line, within the list's width.
    const QRect first = list->visualItemRect(list->item(0));
    const QRect wrapped = list->visualItemRect(list->item(1));
    QVERIFY2(wrapped.height() >= 2 * first.height(),
             qPrintable(QStringLiteral("%1 vs %2").arg(wrapped.height()).arg(first.height())));
    QVERIFY(wrapped.right() <= list->viewport()->width());
    QCOMPARE(dialog.Lines(), QStringList({shorter, longest}));
  }
};

}  // namespace zlm5

QTEST_MAIN(zlm5::ReportDialogsTest)
#include "test_report_dialogs.moc"
