// SPDX-License-Identifier: GPL-3.0-or-later
// The window on a Chinese desktop: its menus, commands, messages and dialogs
// from the Chinese translation built into the program; the English Texts
// choice, at start and while the window is open, keeps the English texts;
// the texts of two sets (the interruption message) keep their own rule.
//
// The program runs with LANG=zh_CN.UTF-8 (main below), as on a Chinese
// desktop.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QTest>

#include <cstdlib>
#include <memory>

#include "link/link_texts.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app/about_dialog.h"
#include "ui/app/app_names.h"
#include "ui/app/command_ids.h"
#include "ui/app/language.h"
#include "ui/app/main_frame.h"
#include "ui/app/translation.h"
#include "ui/dialogs/optional_features_dialog.h"
#include "ui/grid/channel_view.h"
#include "ui/radio/progress_dialog.h"
#include "ui/radio/qt_link_host.h"

namespace zlm5 {
namespace id = command_id;

namespace {

QStringList MenuTitles(MainFrame& frame) {
  return {frame.FileMenu()->title(), frame.EditMenu()->title(), frame.ProgramMenu()->title(),
          frame.PortMenu()->title(), frame.ViewMenu()->title(), frame.HelpMenu()->title()};
}

const QStringList kChineseMenus = {"文件(&F)", "编辑(&E)", "编程(&P)",
                                   "端口(&O)", "查看(&V)", "帮助(&H)"};
const QStringList kEnglishMenus = {"&File", "&Edit", "&Program", "P&ort", "&View", "&Help"};

}  // namespace

class TranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    settings_ = std::make_unique<test::TempSettings>();
    messages_ = std::make_unique<test::MessageRecorder>();
  }
  void cleanup() {
    frame_.reset();
    messages_.reset();
    settings_.reset();
    ApplyWindowLanguage(false);
    SetLanguageTag(QString());
  }

  void the_desktop_language_decides_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("chinese");
    QTest::newRow("Simplified Chinese") << "zh_CN" << true;
    QTest::newRow("Chinese, Singapore") << "zh_SG" << true;
    QTest::newRow("Chinese, Taiwan") << "zh_TW" << true;
    QTest::newRow("English") << "en_US" << false;
    QTest::newRow("German") << "de_DE" << false;
    QTest::newRow("C") << "C" << false;
  }
  void the_desktop_language_decides() {
    QFETCH(QString, locale);
    QFETCH(bool, chinese);
    QCOMPARE(WantsChinese(QLocale(locale)), chinese);
  }

  void a_chinese_desktop_shows_the_chinese_menus_and_commands() {
    QVERIFY(WantsChinese(QLocale::system()));
    MakeFrame(false);
    QVERIFY(WindowInChinese());
    QCOMPARE(MenuTitles(*frame_), kChineseMenus);
    const QAction* read = frame_->Action(id::kReadFromRadio);
    QCOMPARE(read->text(), QStringLiteral("读取电台数据(&R)"));
    QCOMPARE(read->shortcut().toString(), QStringLiteral("Ctrl+R"));
    QCOMPARE(read->statusTip(), QStringLiteral("从电台读取数据"));
    QCOMPARE(read->toolTip(), QStringLiteral("读取"));
    QCOMPARE(frame_->Action(id::kSaveAs)->text(), QStringLiteral("另存为(&A)..."));
    QCOMPARE(frame_->Action(id::kOptionalFeatures)->statusTip(),
             QStringLiteral("设置对讲机的其他功能"));
    QCOMPARE(frame_->Action(id::kRecentFile1)->text(), QStringLiteral("最近的文件"));
    QCOMPARE(frame_->MessageText(), QStringLiteral("如需帮助，请按 F1"));
    QCOMPARE(frame_->DocumentPaneText(), QStringLiteral("未命名"));
    // The keys stay what they are.
    QCOMPARE(frame_->Action(id::kNew)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
  }

  void a_chinese_desktop_asks_in_chinese() {
    MakeFrame(false);
    frame_->View().MarkModified();
    messages_->Answer(QMessageBox::Cancel);
    QVERIFY(!frame_->NewDocument());
    QCOMPARE(messages_->Texts(), QStringList({"是否保存对“未命名”的更改？"}));
  }

  void a_chinese_desktop_shows_chinese_dialogs() {
    MakeFrame(false);
    OptionalFeaturesDialog options(frame_->Document().image(), frame_.get());
    QCOMPARE(options.windowTitle(), QStringLiteral("可选功能"));
    QStringList boxes;
    for (const QCheckBox* box : options.findChildren<QCheckBox*>()) boxes.append(box->text());
    QVERIFY2(boxes.contains(QStringLiteral("省电")), qPrintable(boxes.join(QLatin1Char(','))));
    AboutDialog about(frame_.get());
    QCOMPARE(about.windowTitle(), QStringLiteral("关于 VRAX"));
    QCOMPARE(TransferProgressDialog::ReadingTitle(), QStringLiteral("读取数据进度"));
    QCOMPARE(app_names::FileFilter(), QStringLiteral("频道数据 (*.sin)"));
  }

  void the_radio_link_messages_are_in_chinese_with_the_reason_kept() {
    MakeFrame(false);
    const std::string message = std::string(link_texts::kCommunicationError) +
                                "\n\n/dev/ttyUSB0: cannot read: Input/output error";
    messages_->Answer(QMessageBox::Retry);
    QCOMPARE(ShowLinkMessage(frame_.get(), message, MessageButtons::kRetryCancel),
             MessageAnswer::kRetry);
    QCOMPARE(messages_->Texts(), QStringList({"通讯错误，请检查所有连接以及电台电源\n\n"
                                              "/dev/ttyUSB0: cannot read: Input/output error"}));
    QCOMPARE(messages_->LastButtons(), QMessageBox::Retry | QMessageBox::Cancel);
  }

  void english_texts_keep_the_window_in_its_source_texts() {
    MakeFrame(true);
    QVERIFY(!WindowInChinese());
    QCOMPARE(MenuTitles(*frame_), kEnglishMenus);
    QCOMPARE(frame_->Action(id::kReadFromRadio)->text(), QStringLiteral("&Read From Radio"));
    QCOMPARE(frame_->Action(id::kReadFromRadio)->shortcut().toString(), QStringLiteral("Ctrl+R"));
    QCOMPARE(frame_->MessageText(), QStringLiteral("For Help，Please Press F1"));
    frame_->View().MarkModified();
    messages_->Answer(QMessageBox::Cancel);
    QVERIFY(!frame_->NewDocument());
    QCOMPARE(messages_->Texts(), QStringList({"Save changes to Untitled?"}));
    messages_->Clear();
    ShowLinkMessage(frame_.get(), std::string(link_texts::kCommunicationError),
                    MessageButtons::kOk);
    QCOMPARE(messages_->Texts(),
             QStringList({QString::fromUtf8(
                 link_texts::kCommunicationError.data(),
                 static_cast<qsizetype>(link_texts::kCommunicationError.size()))}));
  }

  void choosing_english_texts_changes_the_open_window_at_once() {
    MakeFrame(false);
    QAction* english = frame_->Action(id::kViewEnglishTexts);
    english->setChecked(true);
    QCOMPARE(MenuTitles(*frame_), kEnglishMenus);
    QCOMPARE(frame_->Action(id::kExit)->text(), QStringLiteral("E&xit"));
    QCOMPARE(frame_->Action(id::kExit)->statusTip(),
             QStringLiteral("Quit the application; prompts to save documents"));
    QCOMPARE(frame_->Action(id::kUndo)->text(), QStringLiteral("&Undo"));
    QCOMPARE(frame_->MessageText(), QStringLiteral("For Help，Please Press F1"));
    QCOMPARE(settings_->Get().value(app_names::kEnglishTextsKey).toBool(), true);

    english->setChecked(false);
    QCOMPARE(MenuTitles(*frame_), kChineseMenus);
    QCOMPARE(frame_->Action(id::kExit)->text(), QStringLiteral("退出(&X)"));
    QCOMPARE(frame_->Action(id::kUndo)->text(), QStringLiteral("撤销(&U)"));
  }

  void a_status_message_outlives_a_change_of_language() {
    MakeFrame(false);
    frame_->SetMessageText(QStringLiteral("COM1 is not there"));
    frame_->Action(id::kViewEnglishTexts)->setChecked(true);
    QCOMPARE(frame_->MessageText(), QStringLiteral("COM1 is not there"));
  }

  void the_interruption_message_follows_its_own_language_test() {
    // Chinese unless the English texts are chosen, on any desktop: never
    // from the translator.
    MakeFrame(false);
    QCOMPARE(TransferProgressDialog::InterruptionText(), QStringLiteral("通讯已被中断,请重新开始"));
    frame_->Action(id::kViewEnglishTexts)->setChecked(true);
    QCOMPARE(TransferProgressDialog::InterruptionText(),
             QStringLiteral("Communication had been interrupted,please try again"));
  }

 private:
  void MakeFrame(bool english_texts) {
    settings_->Get().setValue(app_names::kEnglishTextsKey, english_texts);
    frame_ = std::make_unique<MainFrame>(settings_->Get());
  }

  std::unique_ptr<test::TempSettings> settings_;
  std::unique_ptr<test::MessageRecorder> messages_;
  std::unique_ptr<MainFrame> frame_;
};

}  // namespace zlm5

int main(int argc, char* argv[]) {
  // A Chinese desktop, whatever the machine's own language.
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  qunsetenv("LANGUAGE");
  qputenv("LANG", "zh_CN.UTF-8");
  QApplication application(argc, argv);
  zlm5::TranslationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_translation.moc"
