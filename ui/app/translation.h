// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

class QAction;
class QObject;

namespace zlm5 {

// The window's language. The window's texts are written in English in the
// code and pass through Qt's translator; a Simplified Chinese translation
// (res/translations/z-lm5_zh_CN.ts) is built into the program. It is used
// when the desktop speaks Chinese, unless the user chose English Texts in
// the View menu; on any other desktop the window keeps its English texts.
//
// This is not the language test of ui/app/language.h: the texts that exist
// in a Chinese and an English set (the interrupted-transfer message and the
// printed report) follow UseEnglishTexts() alone and never the translator.

// True when `locale` asks for Chinese: the first of its user-interface
// languages (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG on Linux) is Chinese,
// whatever its country or script.
bool WantsChinese(const QLocale& locale);

// Installs the Chinese translation when `locale` wants Chinese and the user
// did not choose English texts, and removes it otherwise. Installing or
// removing sends every window a LanguageChange event. Qt's own texts (the
// standard buttons, file and print dialogs) follow when the system has
// Qt's translations (Debian: qt6-translations-l10n). Returns true when the
// window is now in Chinese.
bool ApplyWindowLanguage(bool english_texts_chosen, const QLocale& locale = QLocale::system());

// True while the Chinese translation is installed.
bool WindowInChinese();

// Gives `action` its label and status prompt through the translator, in
// the context `context` (the class name that lupdate gives the
// QT_TR_NOOP texts, as from metaObject()->className()), and keeps the
// English texts so that RetranslateActions() can set them again after a
// change of language. `prompt` is "status prompt\ntooltip", or a prompt
// alone, whose tooltip is then Qt's (the label without its "&"); empty for
// none.
void SetActionTexts(QAction& action, const char* context, const char* label,
                    const char* prompt = "");

// Sets the texts of every action under `root` (itself included) that got
// them from SetActionTexts again, in the language now installed.
void RetranslateActions(QObject& root);

}  // namespace zlm5
