// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/compare_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zlm5 {
namespace {

constexpr int kLinesMinimumWidth = 520;
constexpr int kLinesMinimumHeight = 240;

}  // namespace

CompareDialog::CompareDialog(const QString& other, const std::vector<Difference>& differences,
                             QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("compareDialog"));
  setWindowTitle(tr("Compare With %1").arg(other));
  for (const Difference& difference : differences) {
    text_ += QString::fromStdString(difference.text) + QLatin1Char('\n');
  }

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("compareSummary"));
  summary_->setWordWrap(true);
  if (differences.empty()) {
    summary_->setText(tr("No differences between the document and %1.").arg(other));
  } else {
    summary_->setText(
        differences.size() == 1
            ? tr("1 difference between the document and %1. Each line reads: in the document → "
                 "in %1.")
                  .arg(other)
            : tr("%1 differences between the document and %2. Each line reads: in the "
                 "document → in %2.")
                  .arg(QString::number(differences.size()), other));
  }

  lines_ = new QPlainTextEdit(this);
  lines_->setObjectName(QStringLiteral("compareLines"));
  lines_->setAccessibleName(tr("Differences"));
  lines_->setReadOnly(true);
  lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
  lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  lines_->setPlainText(text_);
  lines_->setMinimumSize(kLinesMinimumWidth, kLinesMinimumHeight);
  lines_->setVisible(!differences.empty());

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  copy_ = buttons->addButton(tr("&Copy to Clipboard"), QDialogButtonBox::ActionRole);
  copy_->setObjectName(QStringLiteral("compareCopy"));
  copy_->setEnabled(!differences.empty());
  copy_->setAutoDefault(false);
  buttons->button(QDialogButtonBox::Close)->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(lines_, 1);
  layout->addWidget(buttons);

  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(copy_, &QPushButton::clicked, this, &CompareDialog::CopyToClipboard);
}

QString CompareDialog::SummaryText() const { return summary_->text(); }

void CompareDialog::CopyToClipboard() {
  if (!text_.isEmpty()) QApplication::clipboard()->setText(text_);
}

}  // namespace zlm5
