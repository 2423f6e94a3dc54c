// The help window: the manual's contents and index, and that every link
// and index entry leads to a heading of the manual.

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

#include "ui/help_window.h"
#include "ui/resources.h"

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
    for (const HelpWindow::Topic& topic : HelpWindow::ParseTopics(html_)) anchors.insert(topic.anchor);
    QVERIFY(anchors.contains(QStringLiteral("contents")));
    // The subjects the manual must cover.
    for (const char* subject : {"cable", "port", "permissions", "reading", "grid", "options",
                                "writing", "files", "power", "printing", "troubleshooting",
                                "port-open"}) {
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
    QVERIFY(help.Browser()->toPlainText().contains(QStringLiteral("Permission to use serial ports")));

    // Typing into the index selects the first matching term; Enter shows it.
    auto* filter = help.findChild<QLineEdit*>(QStringLiteral("helpIndexFilter"));
    auto* list = help.findChild<QListWidget*>(QStringLiteral("helpIndex"));
    QTest::keyClicks(filter, QStringLiteral("dialout"));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("dialout group"));
    QTest::keyClick(filter, Qt::Key_Return);
    QCOMPARE(help.Browser()->source().fragment(), QStringLiteral("permissions"));
  }

 private:
  QString html_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::HelpWindowTest)
#include "test_help_window.moc"
