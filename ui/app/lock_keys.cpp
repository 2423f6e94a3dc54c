// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/lock_keys.h"

#include <QDir>
#include <QFile>

namespace zlm5 {
namespace {

QString LedSuffix(LockKey key) {
  switch (key) {
    case LockKey::Caps:
      return QStringLiteral("::capslock");
    case LockKey::Num:
      return QStringLiteral("::numlock");
    case LockKey::Scroll:
      return QStringLiteral("::scrolllock");
  }
  return {};
}

}  // namespace

std::optional<bool> ReadLockKeyState(LockKey key, const QString& leds_root) {
  const QDir root(leds_root);
  const QStringList devices = root.entryList({QLatin1Char('*') + LedSuffix(key)},
                                             QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
  std::optional<bool> state;
  for (const QString& device : devices) {
    QFile file(root.filePath(device + QStringLiteral("/brightness")));
    if (!file.open(QIODevice::ReadOnly)) continue;
    bool ok = false;
    const int brightness = file.readAll().trimmed().toInt(&ok);
    if (!ok) continue;
    state = state.value_or(false) || brightness > 0;
  }
  return state;
}

}  // namespace zlm5
