// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QAction;
class QKeySequence;

namespace zlm5 {

// Several menu items show a key beside their label that does nothing (the
// radio software's menus draw "Ctrl+R" by Read From Radio, and "Ctrl+O" by
// both Open and Optional Features). The key is given to the action as its
// shortcut, so the menu draws it and a screen reader hears it as the item's
// key binding rather than inside its name, but the action swallows it:
// pressing it never triggers the command.
void ShowShortcutOnly(QAction& action, const QKeySequence& keys);

// True when the action's shortcut is only shown (ShowShortcutOnly).
bool ShortcutShownOnly(const QAction& action);

}  // namespace zlm5
