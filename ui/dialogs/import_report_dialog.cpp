// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/import_report_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>
#include <vector>

#include "model/channel_grid.h"
#include "ui/app/core_text_translation.h"

namespace zlm5 {

namespace {

constexpr int kLastChannel = grid_layout::kRows - 1;
constexpr int kReportLinesShown = 12;  // the report box's height, in lines
constexpr int kReportWidthInCharacters = 80;

QString ChannelRanges(std::vector<int> channels) {
  std::sort(channels.begin(), channels.end());
  QStringList parts;
  for (std::size_t i = 0; i < channels.size();) {
    std::size_t j = i;
    while (j + 1 < channels.size() && channels[j + 1] == channels[j] + 1) ++j;
    parts.append(j == i ? QString::number(channels[i])
                        : QStringLiteral("%1-%2").arg(channels[i]).arg(channels[j]));
    i = j + 1;
  }
  return parts.join(QStringLiteral(", "));
}

}  // namespace

ImportReportDialog::ImportReportDialog(const QString& title, const QString& source, Reader reader,
                                       bool offer_first_channel, int first_channel, QWidget* parent)
    : QDialog(parent), reader_(std::move(reader)) {
  setObjectName(QStringLiteral("importReportDialog"));
  setWindowTitle(title);
  auto* layout = new QVBoxLayout(this);

  auto* form = new QFormLayout;
  auto* source_label = new QLabel(source, this);
  source_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  form->addRow(tr("From:"), source_label);
  if (offer_first_channel) {
    first_channel_ = new QSpinBox(this);
    first_channel_->setObjectName(QStringLiteral("firstChannelBox"));
    first_channel_->setRange(0, kLastChannel);
    // 0 reads the file as it is: each row to the channel its Location names.
    first_channel_->setSpecialValueText(tr("as the file says"));
    first_channel_->setValue(std::clamp(first_channel, 0, kLastChannel));
    auto* label = new QLabel(tr("&First channel:"), this);
    label->setBuddy(first_channel_);
    form->addRow(label, first_channel_);
    connect(first_channel_, &QSpinBox::valueChanged, this, &ImportReportDialog::Reread);
  }
  layout->addLayout(form);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("importSummary"));
  summary_->setWordWrap(true);
  layout->addWidget(summary_);

  report_ = new QPlainTextEdit(this);
  report_->setObjectName(QStringLiteral("importReport"));
  report_->setReadOnly(true);
  report_->setLineWrapMode(QPlainTextEdit::NoWrap);
  report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  report_->setMinimumHeight(report_->fontMetrics().lineSpacing() * kReportLinesShown);
  report_->setMinimumWidth(report_->fontMetrics().averageCharWidth() * kReportWidthInCharacters);
  layout->addWidget(report_, 1);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Apply | QDialogButtonBox::Cancel, this);
  connect(ApplyButton(), &QPushButton::clicked, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons_);

  Reread();
}

int ImportReportDialog::FirstChannel() const {
  return first_channel_ != nullptr ? first_channel_->value() : 0;
}

QPushButton* ImportReportDialog::ApplyButton() const {
  return buttons_->button(QDialogButtonBox::Apply);
}

QPushButton* ImportReportDialog::CancelButton() const {
  return buttons_->button(QDialogButtonBox::Cancel);
}

void ImportReportDialog::Reread() {
  Result<ChannelCsvImport> read = reader_(FirstChannel());
  import_ = read ? std::move(*read) : ChannelCsvImport{};
  if (!read) {
    summary_->setText(ErrorShown(read.error()));
  } else {
    summary_->setText(SummaryText(import_));
  }
  report_->setPlainText(ReportText(import_));
  report_->setVisible(!import_.report.empty());
  ApplyButton()->setEnabled(!import_.channels.empty());
  ApplyButton()->setDefault(!import_.channels.empty());
}

QString ImportReportDialog::ChannelCount(std::size_t count) {
  return count == 1 ? tr("1 Channel") : tr("%1 Channels").arg(count);
}

QString ImportReportDialog::SummaryText(const ChannelCsvImport& import) {
  std::vector<int> channels;
  for (const ImportedChannel& channel : import.channels) channels.push_back(channel.channel);
  QString text;
  if (channels.empty()) {
    text = tr("No channel can be written.");
  } else if (channels.size() == 1) {
    text = tr("1 channel will be written to channel %1.").arg(ChannelRanges(channels));
  } else {
    text = tr("%1 channels will be written to channels %2.")
               .arg(QString::number(channels.size()), ChannelRanges(channels));
  }
  if (!import.report.empty()) text += tr(" These lines are not taken as they stand:");
  return text;
}

QString ImportReportDialog::ReportText(const ChannelCsvImport& import) {
  QStringList lines;
  for (const ImportReportLine& line : import.report) {
    const QString where = line.channel > 0
                              ? tr("Line %1, channel %2").arg(line.line).arg(line.channel)
                              : tr("Line %1").arg(line.line);
    lines.append(where + QStringLiteral(": ") + CoreTextShown(line.reason));
  }
  return lines.join(QLatin1Char('\n'));
}

}  // namespace zlm5
