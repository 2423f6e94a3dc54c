// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QStringList>

#include "ui/app/command_ids.h"
#include "ui/app/main_frame.h"
#include "ui/radio/radio_operations.h"

namespace zlm5::test {

// The Port menu as the user sees it, refreshed as when it opens: COM1 to
// COM4, a separator, the devices and the paths chosen, "Other Port...".
class PortMenuView {
 public:
  PortMenuView(MainFrame& frame, RadioOperations& radio) : frame_(frame), radio_(radio) {}

  // An entry as the menu draws it: the label, and a tab and the key it shows.
  static QString Shown(const QAction& action) {
    const QKeySequence key = action.shortcut();
    return key.isEmpty() ? action.text() : action.text() + QLatin1Char('\t') + key.toString();
  }
  QStringList ComTexts() {
    radio_.RefreshPortMenu();
    QStringList texts;
    for (int command :
         {command_id::kCom1, command_id::kCom2, command_id::kCom3, command_id::kCom4}) {
      texts.append(Shown(*frame_.Action(command)));
    }
    return texts;
  }
  // The entries between the separator and "Other Port...".
  QList<QAction*> DeviceEntryActions() {
    radio_.RefreshPortMenu();
    QList<QAction*> actions = frame_.PortMenu()->actions();
    return actions.mid(5, actions.size() - 6);
  }
  QStringList DeviceEntries() {
    QStringList texts;
    for (QAction* action : DeviceEntryActions()) texts.append(action->text());
    return texts;
  }
  QStringList CheckedEntries() {
    radio_.RefreshPortMenu();
    QStringList checked;
    for (QAction* action : frame_.PortMenu()->actions()) {
      if (action->isChecked()) checked.append(Shown(*action));
    }
    return checked;
  }
  QAction* OtherPort() { return frame_.PortMenu()->actions().last(); }
  QString MessagePane() { return frame_.findChild<QLabel*>(QStringLiteral("messagePane"))->text(); }

 private:
  MainFrame& frame_;
  RadioOperations& radio_;
};

}  // namespace zlm5::test
