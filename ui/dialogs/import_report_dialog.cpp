// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/import_report_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "model/channel_grid.h"
#include "ui/app/button_mnemonics.h"
#include "ui/app/core_text_translation.h"
#include "ui/dialogs/dialog_fit.h"

namespace zlm5 {

namespace {

constexpr int kLastChannel = grid_layout::kRows - 1;
constexpr int kReportLinesShown = 12;  // the report box's height, in lines
// The narrowest the report box gets; longer lines wrap.
constexpr int kReportMinimumWidthInCharacters = 40;
// Beside the text of a line: the text cursor and a little air.
constexpr int kReportLineRoom = 4;

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

  form_ = new QFormLayout;
  source_ = new QLabel(source, this);
  source_->setObjectName(QStringLiteral("importSource"));
  source_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A long path breaks rather than widen the dialog beyond the screen.
  source_->setWordWrap(true);
  form_->addRow(tr("From:"), source_);
  if (offer_first_channel) {
    first_channel_ = new QSpinBox(this);
    first_channel_->setObjectName(QStringLiteral("firstChannelBox"));
    first_channel_->setRange(0, kLastChannel);
    // 0 reads the file as it is: each row to the channel its Location names.
    first_channel_->setSpecialValueText(tr("as the file says"));
    first_channel_->setValue(std::clamp(first_channel, 0, kLastChannel));
    auto* label = new QLabel(tr("&First channel:"), this);
    label->setBuddy(first_channel_);
    form_->addRow(label, first_channel_);
    connect(first_channel_, &QSpinBox::valueChanged, this, &ImportReportDialog::Reread);
  }
  layout->addLayout(form_);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("importSummary"));
  summary_->setWordWrap(true);
  layout->addWidget(summary_);

  report_ = new QPlainTextEdit(this);
  report_->setObjectName(QStringLiteral("importReport"));
  report_->setAccessibleName(tr("Import report"));
  report_->setReadOnly(true);
  // The dialog opens as wide as the longest line where the screen allows;
  // a line longer than that wraps instead of being cut.
  report_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  report_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  report_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  report_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  report_->setMinimumHeight(report_->fontMetrics().lineSpacing() * kReportLinesShown);
  report_->setMinimumWidth(report_->fontMetrics().averageCharWidth() *
                           kReportMinimumWidthInCharacters);
  layout->addWidget(report_, 1);

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Apply | QDialogButtonBox::Cancel, this);
  GiveStandardMnemonics(*buttons_);
  connect(ApplyButton(), &QPushButton::clicked, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons_);

  Reread();
  FitDialogWidth(*this, ContentWidth());
}

int ImportReportDialog::ContentWidth() const {
  // The summary on one line, and the source beside its label.
  const int source = form_->sizeHint().width() - source_->sizeHint().width() +
                     source_->fontMetrics().horizontalAdvance(source_->text());
  int width = std::max(summary_->fontMetrics().horizontalAdvance(summary_->text()), source);
  if (!import_.report.empty()) {
    const int margin = static_cast<int>(std::ceil(report_->document()->documentMargin()));
    const int lines = WidestLine(report_->fontMetrics(), ReportText(import_).split('\n'));
    width = std::max(
        width, lines + 2 * (report_->frameWidth() + margin) + kReportLineRoom +
                   report_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, report_));
  }
  return width;
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
