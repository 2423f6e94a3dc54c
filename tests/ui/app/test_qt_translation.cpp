// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts follow the window into Chinese: the standard buttons of
// Qt's dialogs (Other Port's OK and Cancel, a question's Yes and No) and
// the edit menu of a text box, and back to English with English Texts.
// They come from Qt's translation where QLibraryInfo says Qt's
// translations are: on Linux the system's, on Windows the translations
// folder of the package beside z-lm5.exe, named by its qt.conf. Under wine
// the test therefore runs from the unpacked package
// (tests/ui/windows/package_translation_wine_test.sh).

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "ui/app/translation.h"

namespace zlm5 {
namespace {

const QLocale kChinese(QLocale::Chinese, QLocale::China);

// What the user reads on Other Port's buttons, OK then Cancel.
QStringList InputDialogButtons() {
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  return {buttons.button(QDialogButtonBox::Ok)->text(),
          buttons.button(QDialogButtonBox::Cancel)->text()};
}

QStringList QuestionButtons() {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Z-LM5"), QStringLiteral("?"),
                  QMessageBox::Yes | QMessageBox::No);
  return {box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text()};
}

// The commands of a text box's context menu, without their keys.
QStringList TextBoxMenu() {
  QLineEdit line(QStringLiteral("COM5"));
  const std::unique_ptr<QMenu> menu(line.createStandardContextMenu());
  QStringList texts;
  for (const QAction* action : menu->actions()) {
    if (!action->isSeparator()) texts.append(action->text().section(QLatin1Char('\t'), 0, 0));
  }
  return texts;
}

QString Where() {
  return QStringLiteral("Qt's translations at ") +
         QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

}  // namespace

class QtTranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { ApplyWindowLanguage(true); }

  void qt_dialogs_and_menus_are_chinese_with_the_window() {
    QVERIFY(ApplyWindowLanguage(false, kChinese));
    QVERIFY2(InputDialogButtons() == QStringList({"确定", "取消"}),
             qPrintable(Where() + ": " + InputDialogButtons().join(u',')));
    QCOMPARE(QuestionButtons(), QStringList({"是(&Y)", "否(&N)"}));
    QCOMPARE(TextBoxMenu(), QStringList({"撤消(&U)", "重做(&R)", "剪切(&T)", "复制(&C)", "粘贴(&P)",
                                         "删除", "全选"}));
  }

  void english_texts_bring_qts_english_back() {
    QVERIFY(ApplyWindowLanguage(false, kChinese));
    QVERIFY(!ApplyWindowLanguage(true, kChinese));
    QCOMPARE(InputDialogButtons(), QStringList({"OK", "Cancel"}));
    QCOMPARE(QuestionButtons(), QStringList({"&Yes", "&No"}));
    QCOMPARE(TextBoxMenu(),
             QStringList({"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "Delete", "Select All"}));
  }
};

}  // namespace zlm5

QTEST_MAIN(zlm5::QtTranslationTest)
#include "test_qt_translation.moc"
