// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/check_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "ui/app/core_text_translation.h"
#include "ui/dialogs/dialog_fit.h"

namespace zlm5 {
namespace {

// Where a line leads: the channel row and the grid column, as item data.
constexpr int kRowRole = Qt::UserRole;
constexpr int kColRole = Qt::UserRole + 1;

constexpr int kListMinimumWidth = 300;
constexpr int kListMinimumHeight = 220;

}  // namespace

ChannelCheckDialog::ChannelCheckDialog(Checker checker, QWidget* parent)
    : QDialog(parent), checker_(std::move(checker)) {
  setObjectName(QStringLiteral("channelCheckDialog"));
  setWindowTitle(tr("Check Channels"));

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("checkSummary"));
  summary_->setWordWrap(true);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("checkFindings"));
  list_->setMinimumSize(kListMinimumWidth, kListMinimumHeight);
  // A finding longer than the screen is wide wraps instead of being cut.
  list_->setWordWrap(true);
  list_->setTextElideMode(Qt::ElideNone);
  list_->setResizeMode(QListView::Adjust);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  summary_->setBuddy(list_);
  // A list takes no name from its label.
  list_->setAccessibleName(tr("Findings"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  check_again_ = buttons->addButton(tr("Check &Again"), QDialogButtonBox::ActionRole);
  check_again_->setObjectName(QStringLiteral("checkAgain"));
  // Enter belongs to the list (go to the cell): no button takes it.
  for (QAbstractButton* button : buttons->buttons()) {
    if (auto* push = qobject_cast<QPushButton*>(button)) {
      push->setAutoDefault(false);
      push->setDefault(false);
    }
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(check_again_, &QPushButton::clicked, this, &ChannelCheckDialog::CheckAgain);
  // Double-click and Enter both activate a line.
  connect(list_, &QListWidget::itemActivated, this, &ChannelCheckDialog::OnActivated);

  CheckAgain();
  // As wide as the summary and the longest finding, within the screen.
  const int list_width = list_->sizeHintForColumn(0) + 2 * list_->frameWidth() +
                         style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list_);
  FitDialogWidth(*this,
                 std::max(list_width, summary_->fontMetrics().horizontalAdvance(summary_->text())));
}

void ChannelCheckDialog::CheckAgain() {
  const std::vector<ChannelFinding> findings =
      checker_ ? checker_() : std::vector<ChannelFinding>{};
  list_->clear();
  for (const ChannelFinding& finding : findings) {
    auto* item = new QListWidgetItem(CoreTextShown(finding.text), list_);
    item->setData(kRowRole, finding.channel);
    item->setData(kColRole, finding.column);
  }
  if (findings.empty()) {
    summary_->setText(tr("Nothing found."));
  } else {
    summary_->setText(
        findings.size() == 1
            ? tr("1 finding. Double-click a line, or press Enter on it, to go to its cell.")
            : tr("%1 findings. Double-click a line, or press Enter on it, to go to its cell.")
                  .arg(findings.size()));
    list_->setCurrentRow(0);
  }
  list_->setFocus(Qt::OtherFocusReason);
}

QString ChannelCheckDialog::SummaryText() const { return summary_->text(); }

QStringList ChannelCheckDialog::Lines() const {
  QStringList lines;
  for (int i = 0; i < list_->count(); ++i) lines.append(list_->item(i)->text());
  return lines;
}

void ChannelCheckDialog::OnActivated(QListWidgetItem* item) {
  if (item == nullptr) return;
  emit GoToCell(item->data(kRowRole).toInt(), item->data(kColRole).toInt());
}

}  // namespace zlm5
