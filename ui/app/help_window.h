// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace zlm5 {

// The program's help: the user manual (res/help/manual.html, in the
// resources) beside a finder with a Contents tab and an Index tab.
//
// The contents come from the manual's headings <h2>/<h3> that carry an
// anchor (<a name="...">); index terms from comments "<!-- index: term;
// other term -->", each pointing at the heading above it.
class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  struct Topic {
    QString title;
    QString anchor;
    int level = 2;  // 2 or 3
  };
  struct IndexEntry {
    QString term;
    QString anchor;
  };

  // A top-level window owned by `parent`.
  explicit HelpWindow(QWidget* parent = nullptr,
                      const QString& manual = QStringLiteral("qrc:/help/manual.html"));

  // Help Topics: the window with its finder on the Contents tab.
  void ShowFinder();
  // Context help: the window at the manual's contents page.
  void ShowContentsPage();
  // Shows the manual at `anchor`.
  void ShowTopic(const QString& anchor);

  const QList<Topic>& Topics() const { return topics_; }
  const QList<IndexEntry>& Index() const { return index_; }
  QTextBrowser* Browser() const { return browser_; }
  QTabWidget* Finder() const { return finder_; }

  static QList<Topic> ParseTopics(const QString& html);
  // Sorted by term, ignoring case.
  static QList<IndexEntry> ParseIndex(const QString& html);

 private:
  void BuildContents();
  void BuildIndex();
  void PresentWindow();

  QString manual_;
  QList<Topic> topics_;
  QList<IndexEntry> index_;
  QTabWidget* finder_ = nullptr;
  QTreeWidget* contents_ = nullptr;
  QLineEdit* index_filter_ = nullptr;
  QListWidget* index_list_ = nullptr;
  QTextBrowser* browser_ = nullptr;
};

}  // namespace zlm5
