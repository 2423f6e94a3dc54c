// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/shown_shortcut.h"

#include <QAction>
#include <QEvent>
#include <QKeySequence>
#include <QObject>

namespace zlm5 {
namespace {

constexpr const char* kShownOnlyProperty = "zlm5ShortcutShownOnly";

// Eats the shortcut events of the actions it watches.
class ShortcutSwallower : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Shortcut) return true;
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

void ShowShortcutOnly(QAction& action, const QKeySequence& keys) {
  action.setShortcut(keys);
  // Only while the action's own menu or button has the keyboard focus could
  // the key reach it at all; a real command with the same key elsewhere in
  // the window keeps it.
  action.setShortcutContext(Qt::WidgetShortcut);
  if (!ShortcutShownOnly(action)) {
    action.installEventFilter(new ShortcutSwallower(&action));
    action.setProperty(kShownOnlyProperty, true);
  }
}

bool ShortcutShownOnly(const QAction& action) {
  return action.property(kShownOnlyProperty).toBool();
}

}  // namespace zlm5
