// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: the manual's contents and index, and that every link
// and index entry leads to a heading of the manual.

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <cmath>

#include "ui/app/help_window.h"
#include "ui/app/resources.h"

namespace zlm5 {

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    LoadResources();
    QFile file(QStringLiteral(":/help/manual.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    html_ = QString::fromUtf8(file.readAll());
  }

  void parses_headings_and_index_comments() {
    const QString html = QStringLiteral(
        "<h2><a name=\"one\"></a>1. First</h2><!-- index: alpha; Beta -->"
        "<h3><a name=\"two\"></a>Second <i>part</i></h3><!-- index: gamma -->"
        "<h2>No anchor</h2>");
    const QList<HelpWindow::Topic> topics = HelpWindow::ParseTopics(html);
    QCOMPARE(topics.size(), 2);
    QCOMPARE(topics[0].title, QStringLiteral("1. First"));
    QCOMPARE(topics[0].anchor, QStringLiteral("one"));
    QCOMPARE(topics[1].title, QStringLiteral("Second part"));
    QCOMPARE(topics[1].level, 3);
    const QList<HelpWindow::IndexEntry> index = HelpWindow::ParseIndex(html);
    QCOMPARE(index.size(), 3);
    QCOMPARE(index[0].term, QStringLiteral("alpha"));
    QCOMPARE(index[1].term, QStringLiteral("Beta"));  // sorted ignoring case
    QCOMPARE(index[1].anchor, QStringLiteral("one"));
    QCOMPARE(index[2].anchor, QStringLiteral("two"));
  }

  void every_link_and_index_entry_of_the_manual_leads_to_a_heading() {
    QSet<QString> anchors;
    for (const HelpWindow::Topic& topic : HelpWindow::ParseTopics(html_))
      anchors.insert(topic.anchor);
    QVERIFY(anchors.contains(QStringLiteral("contents")));
    // The subjects the manual must cover.
    for (const char* subject :
         {"cable", "port", "permissions", "reading", "grid", "options", "writing", "files", "power",
          "printing", "troubleshooting", "port-open"}) {
      QVERIFY2(anchors.contains(QString::fromLatin1(subject)), subject);
    }
    static const QRegularExpression link(QStringLiteral("href=\"#([^\"]+)\""));
    for (const QRegularExpressionMatch& match : link.globalMatch(html_)) {
      QVERIFY2(anchors.contains(match.captured(1)), qPrintable(match.captured(1)));
    }
    const QList<HelpWindow::IndexEntry> index = HelpWindow::ParseIndex(html_);
    QVERIFY(index.size() > 50);
    for (const HelpWindow::IndexEntry& entry : index) {
      QVERIFY2(anchors.contains(entry.anchor), qPrintable(entry.term));
    }
  }

  void the_window_shows_contents_index_and_topics() {
    HelpWindow help;
    QCOMPARE(help.Finder()->tabText(0), QStringLiteral("Contents"));
    QCOMPARE(help.Finder()->tabText(1), QStringLiteral("Index"));
    help.ShowContentsPage();
    QVERIFY(help.isVisible());
    QCOMPARE(help.Browser()->source().fragment(), QStringLiteral("contents"));
    QVERIFY(
        help.Browser()->toPlainText().contains(QStringLiteral("Permission to use serial ports")));

    // Typing into the index selects the first matching term; Enter shows it.
    auto* filter = help.findChild<QLineEdit*>(QStringLiteral("helpIndexFilter"));
    auto* list = help.findChild<QListWidget*>(QStringLiteral("helpIndex"));
    QTest::keyClicks(filter, QStringLiteral("dialout"));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("dialout group"));
    QTest::keyClick(filter, Qt::Key_Return);
    QCOMPARE(help.Browser()->source().fragment(), QStringLiteral("permissions"));
  }

  // Under a light and a dark palette every text of the manual (the safety
  // notes on their light background included) stands out from what it is
  // drawn on: no colour comes without its partner.
  void the_manual_is_readable_under_light_and_dark_palettes() {
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(0x23, 0x26, 0x29));
    dark.setColor(QPalette::Text, QColor(0xef, 0xf0, 0xf1));
    dark.setColor(QPalette::Link, QColor(0x80, 0xc8, 0xff));
    for (const QPalette& palette : {light, dark}) {
      QApplication::setPalette(palette);
      HelpWindow help;
      int notes = 0;
      for (QTextBlock block = help.Browser()->document()->begin(); block.isValid();
           block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        const QColor ground = format.hasProperty(QTextFormat::BackgroundBrush)
                                  ? format.background().color()
                                  : palette.color(QPalette::Base);
        notes += block.text().startsWith(QStringLiteral("Do not unplug the cable")) ? 1 : 0;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
          if (it.fragment().text().trimmed().isEmpty()) continue;  // a blank shows no colour
          const QTextCharFormat chars = it.fragment().charFormat();
          const QColor text = chars.hasProperty(QTextFormat::ForegroundBrush)
                                  ? chars.foreground().color()
                                  : palette.color(QPalette::Text);
          QVERIFY2(std::abs(text.lightnessF() - ground.lightnessF()) >= 0.4,
                   qPrintable(text.name() + " on " + ground.name() + ": " + it.fragment().text()));
        }
      }
      QCOMPARE(notes, 1);
    }
    QApplication::setPalette(light);
  }

 private:
  QString html_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::HelpWindowTest)
#include "test_help_window.moc"
