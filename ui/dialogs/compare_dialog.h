// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>

#include <vector>

#include "model/document_compare.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zlm5 {

// What differs between the document and another image (a channel data file,
// the radio), one line each as CompareImages words them ("CH 12 Rx Tone:
// 88.5 → D023N": the document's text left of the arrow, the other's right
// of it), and a button that copies the lines to the clipboard, as
// z-lm5-cli diff prints them. When nothing differs the dialog says so and
// there is nothing to copy.
class CompareDialog : public QDialog {
  Q_OBJECT

 public:
  // `other` names what the document was compared with, as the user knows
  // it: a file name, or "the radio".
  CompareDialog(const QString& other, const std::vector<Difference>& differences, QWidget* parent);

  // "No differences between the document and radio.sin." or how many
  // there are and how a line reads.
  QString SummaryText() const;
  // The lines, each ending in "\n"; empty when nothing differs.
  QString DifferencesText() const { return text_; }
  QPushButton* CopyButton() const { return copy_; }

  // Puts DifferencesText() on the clipboard.
  void CopyToClipboard();

 private:
  QString text_;
  QLabel* summary_ = nullptr;
  QPlainTextEdit* lines_ = nullptr;
  QPushButton* copy_ = nullptr;
};

}  // namespace zlm5
