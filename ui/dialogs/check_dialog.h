// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "model/channel_checks.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace zlm5 {

// Edit > Check Channels...: the findings of CheckChannels
// (model/channel_checks.h), one line each, in channel order.
//
// Double-click or Enter on a line emits GoToCell with the finding's channel
// row and grid column; the dialog stays open beside the window (it is
// modeless), so the user can mend the cell and press "Check Again", which
// asks the checker for the findings anew. The first line is current when
// the list is filled, so Enter works at once. The dialog opens as wide as
// its longest line where the screen allows; a longer line wraps.
class ChannelCheckDialog : public QDialog {
  Q_OBJECT

 public:
  // Returns the findings for the channels as they stand when called.
  using Checker = std::function<std::vector<ChannelFinding>()>;

  ChannelCheckDialog(Checker checker, QWidget* parent);

  // Asks the checker and lists what it found.
  void CheckAgain();

  // The line above the list: how many findings, and what to do with them
  // ("Nothing found." when there are none).
  QString SummaryText() const;
  // The lines of the list, as shown.
  QStringList Lines() const;
  QListWidget* List() const { return list_; }
  QPushButton* CheckAgainButton() const { return check_again_; }

 signals:
  // `row` is the channel (1..128), `col` the grid column of the finding.
  void GoToCell(int row, int col);

 private:
  void OnActivated(QListWidgetItem* item);

  Checker checker_;
  QLabel* summary_ = nullptr;
  QListWidget* list_ = nullptr;
  QPushButton* check_again_ = nullptr;
};

}  // namespace zlm5
