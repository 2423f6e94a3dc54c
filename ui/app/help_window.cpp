// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/app/resources.h"

namespace zlm5 {
namespace {

constexpr int kAnchorRole = Qt::UserRole + 1;

QString PlainText(QString html) {
  html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
  html.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
  html.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
  html.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  return html.simplified();
}

const QRegularExpression& HeadingPattern() {
  static const QRegularExpression pattern(
      QStringLiteral(R"re(<h([23])[^>]*>\s*<a\s+name="([^"]+)"\s*>\s*</a>(.*?)</h\1>)re"),
      QRegularExpression::DotMatchesEverythingOption | QRegularExpression::CaseInsensitiveOption);
  return pattern;
}

QString ReadText(const QString& url_or_path) {
  const QUrl url(url_or_path);
  QString path = url_or_path;
  if (url.scheme() == QStringLiteral("qrc")) path = QLatin1Char(':') + url.path();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

}  // namespace

QList<HelpWindow::Topic> HelpWindow::ParseTopics(const QString& html) {
  QList<Topic> topics;
  for (const QRegularExpressionMatch& match : HeadingPattern().globalMatch(html)) {
    topics.append({PlainText(match.captured(3)), match.captured(2), match.captured(1).toInt()});
  }
  return topics;
}

QList<HelpWindow::IndexEntry> HelpWindow::ParseIndex(const QString& html) {
  static const QRegularExpression comment(QStringLiteral(R"re(<!--\s*index:(.*?)-->)re"),
                                          QRegularExpression::DotMatchesEverythingOption);
  QList<IndexEntry> entries;
  for (const QRegularExpressionMatch& match : comment.globalMatch(html)) {
    // The anchor of the last heading before the comment.
    QString anchor;
    const QString before = html.left(match.capturedStart());
    for (const QRegularExpressionMatch& heading : HeadingPattern().globalMatch(before)) {
      anchor = heading.captured(2);
    }
    for (const QString& term : match.captured(1).split(QLatin1Char(';'))) {
      const QString trimmed = term.simplified();
      if (!trimmed.isEmpty()) entries.append({trimmed, anchor});
    }
  }
  std::stable_sort(entries.begin(), entries.end(), [](const IndexEntry& a, const IndexEntry& b) {
    return a.term.compare(b.term, Qt::CaseInsensitive) < 0;
  });
  return entries;
}

HelpWindow::HelpWindow(QWidget* parent, const QString& manual)
    : QWidget(parent, Qt::Window), manual_(manual) {
  LoadResources();
  setObjectName(QStringLiteral("helpWindow"));
  setWindowTitle(tr("Z-LM5 Help"));
  const QString html = ReadText(manual_);
  topics_ = ParseTopics(html);
  index_ = ParseIndex(html);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("helpBrowser"));
  browser_->setOpenExternalLinks(true);
  browser_->setSource(QUrl(manual_));

  finder_ = new QTabWidget(this);
  finder_->setObjectName(QStringLiteral("helpFinder"));
  BuildContents();
  BuildIndex();

  auto* back = new QPushButton(tr("&Back"), this);
  auto* forward = new QPushButton(tr("&Forward"), this);
  auto* home = new QPushButton(tr("&Contents Page"), this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(home, &QPushButton::clicked, this, &HelpWindow::ShowContentsPage);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(home);
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addStretch(1);

  auto* splitter = new QSplitter(this);
  splitter->addWidget(finder_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({270, 610});

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(splitter, 1);
  resize(900, 640);
}

void HelpWindow::BuildContents() {
  contents_ = new QTreeWidget(finder_);
  contents_->setObjectName(QStringLiteral("helpContents"));
  contents_->setHeaderHidden(true);
  QTreeWidgetItem* section = nullptr;
  for (const Topic& topic : topics_) {
    QTreeWidgetItem* item = nullptr;
    if (topic.level == 3 && section != nullptr) {
      item = new QTreeWidgetItem(section, {topic.title});
    } else {
      item = new QTreeWidgetItem(contents_, {topic.title});
      section = item;
    }
    item->setData(0, kAnchorRole, topic.anchor);
  }
  connect(contents_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { ShowTopic(item->data(0, kAnchorRole).toString()); });
  connect(contents_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { ShowTopic(item->data(0, kAnchorRole).toString()); });
  finder_->addTab(contents_, tr("Contents"));
}

void HelpWindow::BuildIndex() {
  auto* page = new QWidget(finder_);
  auto* label = new QLabel(tr("&Type the first few letters of the word:"), page);
  label->setWordWrap(true);
  index_filter_ = new QLineEdit(page);
  index_filter_->setObjectName(QStringLiteral("helpIndexFilter"));
  label->setBuddy(index_filter_);
  index_list_ = new QListWidget(page);
  index_list_->setObjectName(QStringLiteral("helpIndex"));
  for (const IndexEntry& entry : index_) {
    auto* item = new QListWidgetItem(entry.term, index_list_);
    item->setData(kAnchorRole, entry.anchor);
  }
  auto* display = new QPushButton(tr("&Display"), page);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(label);
  layout->addWidget(index_filter_);
  layout->addWidget(index_list_, 1);
  layout->addWidget(display, 0, Qt::AlignRight);

  // Typing selects the first term that begins with the text.
  connect(index_filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
    for (int i = 0; i < index_list_->count(); ++i) {
      if (index_list_->item(i)->text().startsWith(text, Qt::CaseInsensitive)) {
        index_list_->setCurrentRow(i);
        index_list_->scrollToItem(index_list_->item(i), QAbstractItemView::PositionAtTop);
        return;
      }
    }
  });
  auto show_current = [this] {
    if (QListWidgetItem* item = index_list_->currentItem()) {
      ShowTopic(item->data(kAnchorRole).toString());
    }
  };
  connect(index_filter_, &QLineEdit::returnPressed, this, show_current);
  connect(index_list_, &QListWidget::itemActivated, this, show_current);
  connect(display, &QPushButton::clicked, this, show_current);
  finder_->addTab(page, tr("Index"));
}

void HelpWindow::PresentWindow() {
  show();
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void HelpWindow::ShowFinder() {
  finder_->setCurrentIndex(0);
  PresentWindow();
  contents_->setFocus();
}

void HelpWindow::ShowContentsPage() {
  finder_->setCurrentIndex(0);
  ShowTopic(QStringLiteral("contents"));
  PresentWindow();
}

void HelpWindow::ShowTopic(const QString& anchor) {
  QUrl url(manual_);
  url.setFragment(anchor);
  browser_->setSource(url);
  browser_->scrollToAnchor(anchor);
}

}  // namespace zlm5
