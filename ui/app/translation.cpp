// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/translation.h"

#include <QAction>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

#include <memory>

#include "ui/app/resources.h"
#include "ui/app/shown_shortcut.h"

namespace zlm5 {
namespace {

// Built from res/translations/z-lm5_zh_CN.ts into the program's resources.
const QString kChineseTranslation = QStringLiteral(":/translations/z-lm5_zh_CN.qm");

// Where SetActionTexts keeps an action's English texts.
constexpr const char* kContextProperty = "zlm5TextContext";
constexpr const char* kLabelProperty = "zlm5SourceLabel";
constexpr const char* kPromptProperty = "zlm5SourcePrompt";

struct Translators {
  std::unique_ptr<QTranslator> window;  // ours
  std::unique_ptr<QTranslator> qt;      // Qt's own, when the system has it
};

Translators& Installed() {
  static Translators translators;
  return translators;
}

void Remove(std::unique_ptr<QTranslator>& translator) {
  if (!translator) return;
  QCoreApplication::removeTranslator(translator.get());
  translator.reset();
}

void InstallChinese(Translators& installed) {
  LoadResources();
  auto window = std::make_unique<QTranslator>();
  if (!window->load(kChineseTranslation)) return;
  auto qt = std::make_unique<QTranslator>();
  if (qt->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
               QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qt.get());
    installed.qt = std::move(qt);
  }
  QCoreApplication::installTranslator(window.get());
  installed.window = std::move(window);
}

void ApplyTexts(QAction& action) {
  const QByteArray context = action.property(kContextProperty).toByteArray();
  const QByteArray label = action.property(kLabelProperty).toByteArray();
  const QByteArray prompt = action.property(kPromptProperty).toByteArray();
  // "label\tkey": the key is the action's shortcut, drawn by the menu and
  // told to screen readers as its key binding, never part of its name. A
  // key the command does not answer to is shown only.
  const QString text = QCoreApplication::translate(context.constData(), label.constData());
  const qsizetype tab = text.indexOf(QLatin1Char('\t'));
  action.setText(text.left(tab));
  if (tab >= 0 && action.shortcut().isEmpty()) {
    ShowShortcutOnly(action, QKeySequence(text.mid(tab + 1), QKeySequence::PortableText));
  }
  if (prompt.isEmpty()) return;
  const QString prompt_and_tip =
      QCoreApplication::translate(context.constData(), prompt.constData());
  // "status prompt\ntooltip"; without "\n" a prompt only, and the tooltip
  // is then the label without its "&".
  const qsizetype split = prompt_and_tip.indexOf(QLatin1Char('\n'));
  action.setStatusTip(split < 0 ? prompt_and_tip : prompt_and_tip.left(split));
  if (split >= 0) action.setToolTip(prompt_and_tip.mid(split + 1));
}

}  // namespace

bool WantsChinese(const QLocale& locale) {
  const QStringList languages = locale.uiLanguages();
  const QLocale first = languages.isEmpty() ? locale : QLocale(languages.constFirst());
  return first.language() == QLocale::Chinese;
}

bool ApplyWindowLanguage(bool english_texts_chosen, const QLocale& locale) {
  Translators& installed = Installed();
  const bool chinese = !english_texts_chosen && WantsChinese(locale);
  if (chinese && !installed.window) InstallChinese(installed);
  if (!chinese && installed.window) {
    Remove(installed.window);
    Remove(installed.qt);
  }
  return WindowInChinese();
}

bool WindowInChinese() { return Installed().window != nullptr; }

void SetActionTexts(QAction& action, const char* context, const char* label, const char* prompt) {
  action.setProperty(kContextProperty, QByteArray(context));
  action.setProperty(kLabelProperty, QByteArray(label));
  action.setProperty(kPromptProperty, QByteArray(prompt));
  ApplyTexts(action);
}

void RetranslateActions(QObject& root) {
  QList<QAction*> actions = root.findChildren<QAction*>();
  if (auto* self = qobject_cast<QAction*>(&root)) actions.prepend(self);
  for (QAction* action : actions) {
    if (action->property(kContextProperty).isValid()) ApplyTexts(*action);
  }
}

}  // namespace zlm5
