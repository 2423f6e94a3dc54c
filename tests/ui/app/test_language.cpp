// SPDX-License-Identifier: GPL-3.0-or-later
// The language test: the program's base name, and when the English texts
// are used.

#include <QCoreApplication>
#include <QTest>

#include "ui/app/language.h"

namespace zlm5 {

class LanguageTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { SetLanguageTag(QString()); }

  void base_name_is_the_file_name_without_folder_and_extension_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("base");
    QTest::newRow("windows path") << "C:\\Radio\\Z-LM5.exe"
                                  << "Z-LM5";
    QTest::newRow("english program") << "C:\\Radio\\Z-LM5_EN.exe"
                                     << "Z-LM5_EN";
    QTest::newRow("no dot") << "C:\\Radio\\Z-LM5"
                            << "MAIN";
    QTest::newRow("dot only in the folder") << "C:\\Radio.v2\\Z-LM5"
                                            << "MAIN";
    QTest::newRow("posix path, no extension") << "/usr/bin/z-lm5"
                                              << "MAIN";
    QTest::newRow("posix path with extension") << "/opt/z-lm5/z-lm5.bin"
                                               << "z-lm5";
    QTest::newRow("last dot counts") << "/opt/a.b.c"
                                     << "a.b";
    QTest::newRow("trailing white space") << "C:\\Radio\\Z-LM5.exe  \t"
                                          << "Z-LM5";
    QTest::newRow("bare name") << "Z-LM5.EXE"
                               << "Z-LM5";
  }
  void base_name_is_the_file_name_without_folder_and_extension() {
    QFETCH(QString, path);
    QFETCH(QString, base);
    QCOMPARE(ProgramBaseNameOf(path), base);
  }

  void the_running_program_has_a_base_name() {
    QCOMPARE(ProgramBaseName(), ProgramBaseNameOf(QCoreApplication::applicationFilePath()));
    QVERIFY(!ProgramBaseName().isEmpty());
  }

  void an_empty_tag_means_chinese_for_every_program_name() {
    QVERIFY(LanguageTag().isEmpty());
    QVERIFY(!UseEnglishTexts());
    // Not even a program named like the English one changes that.
    SetLanguageTag(QString());
    QVERIFY(LanguageTag() != ProgramBaseName() + QStringLiteral("_EN"));
    QVERIFY(!UseEnglishTexts());
  }

  void the_tag_must_match_exactly() {
    SetLanguageTag(ProgramBaseName() + QStringLiteral("_EN"));
    QVERIFY(UseEnglishTexts());
    SetLanguageTag(ProgramBaseName() + QStringLiteral("_en"));
    QVERIFY(!UseEnglishTexts());
    SetLanguageTag(ProgramBaseName() + QStringLiteral("_EN "));
    QVERIFY(!UseEnglishTexts());
    SetLanguageTag(ProgramBaseName());
    QVERIFY(!UseEnglishTexts());
  }

  void choosing_english_sets_and_clears_the_tag() {
    ChooseEnglishTexts(true);
    QCOMPARE(LanguageTag(), ProgramBaseName() + QStringLiteral("_EN"));
    QVERIFY(UseEnglishTexts());
    ChooseEnglishTexts(false);
    QVERIFY(LanguageTag().isEmpty());
    QVERIFY(!UseEnglishTexts());
  }
};

}  // namespace zlm5

QTEST_GUILESS_MAIN(zlm5::LanguageTest)
#include "test_language.moc"
