// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

#include <functional>

#include "model/channel_csv.h"
#include "model/error.h"

class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace zlm5 {

// What an import or a paste is about to do, shown before anything changes:
// which channels will be written, and each line of the report (a row that
// is skipped, a field that keeps its default, a name that was changed),
// with Apply and Cancel. For a file, the first channel can be chosen: "as
// the file says" (by Location) or a channel from which the rows follow one
// another; the list is read again for each choice.
//
// The dialog opens as wide as its longest line (within the screen); a line
// that does not fit wraps. The report's text can be selected and copied.
class ImportReportDialog : public QDialog {
  Q_OBJECT

 public:
  // Reads the list for a first channel (0 = as the file says).
  using Reader = std::function<Result<ChannelCsvImport>(int first_channel)>;

  // `title` is the caption ("Import Channels"), `source` what the channels
  // come from. With `offer_first_channel` the dialog has the first-channel
  // box, starting at `first_channel`.
  ImportReportDialog(const QString& title, const QString& source, Reader reader,
                     bool offer_first_channel, int first_channel, QWidget* parent = nullptr);

  // The import that Apply would write.
  const ChannelCsvImport& Import() const { return import_; }
  int FirstChannel() const;

  QSpinBox* FirstChannelBox() const { return first_channel_; }
  QLabel* SummaryLabel() const { return summary_; }
  QPlainTextEdit* ReportView() const { return report_; }
  QPushButton* ApplyButton() const;
  QPushButton* CancelButton() const;

  // "23 channels will be written to channels 1-20, 25, 30-31."
  static QString SummaryText(const ChannelCsvImport& import);
  // "Line 7, channel 12: ..." for each report line.
  static QString ReportText(const ChannelCsvImport& import);
  // "23 Channels", "1 Channel".
  static QString ChannelCount(std::size_t count);

 private:
  void Reread();
  // The width the summary, the source and the report's longest line need.
  int ContentWidth() const;

  Reader reader_;
  ChannelCsvImport import_;
  QFormLayout* form_ = nullptr;
  QLabel* source_ = nullptr;
  QSpinBox* first_channel_ = nullptr;
  QLabel* summary_ = nullptr;
  QPlainTextEdit* report_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
};

}  // namespace zlm5
