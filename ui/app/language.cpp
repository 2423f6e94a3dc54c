// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/language.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace zlm5 {
namespace {

QString& Tag() {
  static QString tag;
  return tag;
}

}  // namespace

QString ProgramBaseNameOf(const QString& program_path) {
  QString name = program_path;
  while (!name.isEmpty() && name.back().isSpace()) name.chop(1);
  const qsizetype slash =
      std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
  if (slash >= 0) name = name.mid(slash + 1);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return QStringLiteral("MAIN");
  return name.left(dot);
}

QString ProgramBaseName() {
  QString path;
  if (QCoreApplication::instance() != nullptr) {
    path = QCoreApplication::applicationFilePath();
  } else {
    path = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
  }
  return ProgramBaseNameOf(path);
}

bool UseEnglishTexts() { return LanguageTag() == ProgramBaseName() + QStringLiteral("_EN"); }

QString LanguageTag() { return Tag(); }

void SetLanguageTag(const QString& tag) { Tag() = tag; }

void ChooseEnglishTexts(bool english) {
  SetLanguageTag(english ? ProgramBaseName() + QStringLiteral("_EN") : QString());
}

}  // namespace zlm5
