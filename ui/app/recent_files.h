// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace zlm5 {

// The list of the four files opened or saved last, newest first, kept in
// the settings under "Recent File List/File1".."File4". Every change is
// written to the settings at once, so the list survives a crash.
class RecentFiles {
 public:
  static constexpr int kMaxEntries = 4;

  // `settings` must outlive this object; the list is read from it here.
  explicit RecentFiles(QSettings& settings);

  const QStringList& Entries() const { return entries_; }
  int Count() const { return static_cast<int>(entries_.size()); }
  // Entry 0..Count()-1; empty outside.
  QString At(int index) const;

  // Puts the absolute form of `path` at the top, removing an older entry of
  // the same file, and keeps at most kMaxEntries.
  void Add(const QString& path);
  void Remove(const QString& path);

 private:
  void Store() const;

  QSettings& settings_;
  QStringList entries_;
};

}  // namespace zlm5
