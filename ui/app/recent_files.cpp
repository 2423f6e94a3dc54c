// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace zlm5 {
namespace {

const QString kGroup = QStringLiteral("Recent File List");

QString KeyOf(int index) { return QStringLiteral("File%1").arg(index + 1); }

QString Absolute(const QString& path) { return QFileInfo(path).absoluteFilePath(); }

}  // namespace

RecentFiles::RecentFiles(QSettings& settings) : settings_(settings) {
  settings_.beginGroup(kGroup);
  for (int i = 0; i < kMaxEntries; ++i) {
    const QString path = settings_.value(KeyOf(i)).toString();
    if (!path.isEmpty() && !entries_.contains(path)) entries_.append(path);
  }
  settings_.endGroup();
}

QString RecentFiles::At(int index) const {
  return index >= 0 && index < Count() ? entries_.at(index) : QString();
}

void RecentFiles::Add(const QString& path) {
  const QString absolute = Absolute(path);
  entries_.removeAll(absolute);
  entries_.prepend(absolute);
  while (entries_.size() > kMaxEntries) entries_.removeLast();
  Store();
}

void RecentFiles::Remove(const QString& path) {
  if (entries_.removeAll(path) == 0 && entries_.removeAll(Absolute(path)) == 0) return;
  Store();
}

void RecentFiles::Store() const {
  settings_.beginGroup(kGroup);
  for (int i = 0; i < kMaxEntries; ++i) {
    if (i < Count()) {
      settings_.setValue(KeyOf(i), entries_.at(i));
    } else {
      settings_.remove(KeyOf(i));
    }
  }
  settings_.endGroup();
  settings_.sync();
}

}  // namespace zlm5
