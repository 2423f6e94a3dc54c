// SPDX-License-Identifier: GPL-3.0-or-later
// The reports the core words in English (import and paste reasons, the
// channel checks, the identity lists, the fleet's results, the end of a
// transfer) as the window shows them on a Chinese desktop: in Chinese, with
// the values the core put in them kept; with the English texts chosen, as
// the core (and the command line) words them.

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

#include <string>
#include <vector>

#include "link/fleet_run.h"
#include "link/link_texts.h"
#include "link/safe_transfer.h"
#include "model/channel_checks.h"
#include "model/channel_csv.h"
#include "model/channel_rows.h"
#include "model/identity_list.h"
#include "model/memory_grid.h"
#include "model/radio_image.h"
#include "ui/app/core_text_translation.h"
#include "ui/app/translation.h"
#include "ui/dialogs/check_dialog.h"
#include "ui/dialogs/import_report_dialog.h"
#include "ui/radio/fleet_dialog.h"

namespace zlm5 {
namespace gl = grid_layout;

namespace {

// The "%N" markers of a text, in order of appearance, sorted.
QStringList Markers(const QString& text) {
  static const QRegularExpression marker(QStringLiteral("%[1-9]"));
  QStringList found;
  for (const QRegularExpressionMatch& m : marker.globalMatch(text)) found.append(m.captured());
  found.sort();
  return found;
}

QString Qs(const std::string& text) { return QString::fromStdString(text); }

// A channel list with one row per reason an import gives.
constexpr char kCsvWithReasons[] =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode,Power\n"
    "1,LONGNAME1,146.520000,,,,,,\n"
    "2,,600.000000,,,,,,\n"
    "3,,146.521000,,,,,,\n"
    "4,,146.520000,x,,,,,\n"
    "5,,146.520000,,,Tone,67.3,,\n"
    "6,,146.520000,,,,,AM,\n"
    "7,,146.520000,,,,,,9X\n"
    "1,,146.520000,,,,,,\n"
    "abc,,146.520000,,,,,,\n"
    "9,,146.52\n"
    "10,,146.520000,+,600,,,,\n";

}  // namespace

class CoreTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { QVERIFY(ApplyWindowLanguage(false, QLocale(QStringLiteral("zh_CN")))); }
  void cleanupTestCase() { ApplyWindowLanguage(true); }

  void every_phrase_of_the_tables_has_a_chinese_text_with_the_same_values() {
    int phrases = 0;
    for (const PhraseTable& table : CoreTextTables()) {
      for (const char* phrase : table.phrases) {
        const QString english = QString::fromUtf8(phrase);
        const QString chinese = QCoreApplication::translate(table.context, phrase);
        QVERIFY2(chinese != english, phrase);
        QVERIFY2(chinese.contains(QRegularExpression(QStringLiteral("\\p{Han}"))), phrase);
        QCOMPARE(Markers(chinese), Markers(english));
        ++phrases;
      }
    }
    QVERIFY(phrases > 100);
  }

  void the_import_report_is_in_chinese_with_the_files_values() {
    const Result<ChannelCsvImport> import = ReadChannelCsv(kCsvWithReasons);
    QVERIFY(import.ok());
    const QStringList lines = ImportReportDialog::ReportText(*import).split(QLatin1Char('\n'));
    QCOMPARE(lines,
             QStringList({
                 "第 2 行，频道 1: 名称“LONGNAME1”已缩短为“LONGNA”",
                 "第 3 行，频道 2: Frequency 的值 600.000000 MHz 超出 67-521 MHz 范围；跳过该行",
                 "第 4 行，频道 3: Frequency 的值 146.521000 MHz 不在 6.25、5 或 2.5 kHz 的步进上；"
                 "跳过该行",
                 "第 5 行，频道 4: Duplex“x”不是 +、-、split、off，也不为空；跳过该行",
                 "第 6 行，频道 5: rToneFreq“67.3”不是电台的 CTCSS 亚音；跳过该行",
                 "第 7 行，频道 6: Mode AM 不是 FM 或 NFM；跳过该行",
                 "第 8 行，频道 7: Power“9X”既不是 High、Low，也不是瓦数；频道保留 High",
                 "第 9 行，频道 1: 频道 1 已从第 2 行导入；跳过该行",
                 "第 10 行: Location“abc”不是频道号；跳过该行",
                 "第 11 行，频道 9: 该行有 3 个字段，而标题行有 9 个；跳过该行",
                 "第 12 行，频道 10: 发射频率 746.520000 MHz（Duplex“+”，Offset 600）超出 "
                 "67-521 MHz 范围；跳过该行",
             }));
  }

  void a_file_that_is_no_channel_list_is_told_in_chinese_with_its_path() {
    const Result<ChannelCsvImport> import = ReadChannelCsv("Name,Tone\nA,B\n");
    QVERIFY(!import.ok());
    Error error = import.error();
    error.Within("/home/u/list.csv");
    QCOMPARE(
        ErrorShown(error),
        QStringLiteral("/home/u/list.csv：不是频道列表：其第一行（第 1 行）没有 Frequency 列"));
  }

  void the_paste_report_is_in_chinese_with_the_grid_column_names() {
    const ChannelCsvImport pasted =
        ReadGridText("abc\tx\n146.52\t146.52\tD999N\n146.52\t146.52\tOFF\tOFF\tMedium\n", 5);
    QCOMPARE(ImportReportDialog::ReportText(pasted).split(QLatin1Char('\n')),
             QStringList({
                 "第 1 行，频道 5: Receive(MHz)“abc”不是 67-521 MHz 范围内的频率；跳过该行",
                 "第 2 行，频道 6: Rx Tone“D999N”不是电台的亚音；跳过该行",
                 "第 3 行，频道 7: W/N“Medium”不是其列表中的选项；频道保留新频道的默认值",
             }));
  }

  void the_check_dialog_lists_its_findings_in_chinese() {
    MemoryGrid grid;
    grid.SetBoxSelection(FormBox::Field, 1);  // 136 - 174MHz
    grid.SetTextMatrix(1, gl::kColReceive, "446.00625");
    grid.SetTextMatrix(1, gl::kColTransmit, "146.52000");
    for (const int row : {2, 3}) {
      grid.SetTextMatrix(row, gl::kColReceive, "146.52000");
      grid.SetTextMatrix(row, gl::kColRxTone, "OFF");
      grid.SetTextMatrix(row, gl::kColTxTone, "OFF");
    }
    grid.SetTextMatrix(4, gl::kColTransmit, "146.55000");
    grid.SetTextMatrix(2, gl::kColName, "HOME");
    grid.SetTextMatrix(5, gl::kColReceive, "146.57500");
    grid.SetTextMatrix(5, gl::kColName, "HOME");
    ChannelCheckDialog dialog([&grid] { return CheckChannels(grid); }, nullptr);
    QCOMPARE(dialog.Lines(), QStringList({
                                 "CH 1：接收频率 446.00625 MHz 超出频段 136 - 174MHz",
                                 "CH 3：接收频率和亚音与 CH 2 相同",
                                 "CH 4：已使用但没有接收频率",
                                 "CH 5：名称“HOME”也是 CH 2 的名称",
                             }));
    QCOMPARE(CoreTextShown(OutOfBandReason(grid, 1, gl::kColReceive)),
             QStringLiteral("超出“频段”框中所选的频段 136 - 174MHz"));
  }

  void identity_list_errors_and_codes_are_in_chinese() {
    const Result<IdentityList> bad_id = ParseIdentityList("Port,RadioId\nCOM1,ABC-1\n");
    QVERIFY(!bad_id.ok());
    Error error = bad_id.error();
    error.Within("/home/u/ids.csv");
    QCOMPARE(ErrorShown(error),
             QStringLiteral("/home/u/ids.csv：第 2 行：RadioId“ABC-1”只能包含字母和数字"));
    const Result<IdentityList> bad_column = ParseIdentityList("Port,Colour\nCOM1,red\n");
    QVERIFY(!bad_column.ok());
    QCOMPARE(ErrorShown(bad_column.error()),
             QStringLiteral("第 1 行：未知的列“Colour”；可用的列为 Port 或 Order、RadioId、"
                            "CallId、Ani 和 Name"));

    RadioImage image;
    const AppliedIdentity applied = ApplyIdentity(
        RadioIdentity{std::string("1002"), std::nullopt, std::string("5678"), ""}, image);
    QCOMPARE(CoreTextShown(applied.Summary()),
             QStringLiteral("电台 ID 1002，ANI 码 ") + Qs(applied.ani));
    QCOMPARE(applied.notes.size(), std::size_t{1});
    QCOMPARE(CoreTextShown(applied.notes[0]),
             QStringLiteral("ANI 码 5678 存储为 ") + Qs(applied.ani));
  }

  void each_radios_result_is_in_chinese_with_the_radios_message() {
    FleetRadioStatus s;
    s.stage = FleetStage::kEnded;
    s.result = FleetResult::kVerified;
    QCOMPARE(FleetDialog::ResultText(s), QStringLiteral("已校验"));

    s.result = FleetResult::kFailed;
    s.message = std::string(link_texts::kCommunicationError) +
                "\n\n/dev/ttyUSB0: cannot read: Input/output error";
    QCOMPARE(FleetDialog::ResultText(s),
             QStringLiteral("失败：通讯错误，请检查所有连接以及电台电源 "
                            "(/dev/ttyUSB0: cannot read: Input/output error)"));

    s.result = FleetResult::kPartlyWritten;
    s.blocks_written = 40;
    s.message.clear();
    QCOMPARE(FleetDialog::ResultText(s), QStringLiteral("部分写入（394 块中的 40 块）：已取消"));

    s.result = FleetResult::kVerifyFailed;
    s.differences = {"CH 1 Name: A → B", "CH 2 Name: C → D", "CH 3 Name: E → F",
                     "CH 4 Name: G → H"};
    QCOMPARE(FleetDialog::ResultText(s),
             QStringLiteral("校验失败：CH 1 Name: A → B; CH 2 Name: C → D; CH 3 Name: E → F；"
                            "另有 1 处"));

    s = FleetRadioStatus{};
    s.result = FleetResult::kWritten;
    s.verify_cancelled = true;
    s.backup_errors = {"/x/backups: Permission denied"};
    QCOMPARE(FleetDialog::ResultText(s),
             QStringLiteral("已写入（校验已取消）（备份未保存：/x/backups: Permission denied）"));
  }

  void the_end_of_a_verified_write_is_told_in_chinese() {
    SafeTransferReport report;
    report.direction = TransferDirection::kWrite;
    report.last_pass = TransferPass::kVerifyRead;
    report.outcome = TransferOutcome::kCompleted;
    report.differences = std::vector<Difference>{};
    QStringList shown;
    for (const std::string& line : SafeTransferSummary(report, 5))
      shown.append(CoreTextShown(line));
    QCOMPARE(shown, QStringList({"已写入 394 块", "电台校验通过：394 块全部一致"}));
  }

  void a_partly_written_radio_is_told_in_chinese_with_its_block_counts() {
    QCOMPARE(CoreTextShown(link_texts::PartlyWritten(100, 394)),
             QStringLiteral("电台中的存储器现已部分写入：394 块中已写入 100 块。使用电台前，"
                            "请重新写入电台。"));
  }

  void a_value_is_kept_as_the_core_gave_it() {
    // A "%2" the user typed is no place for a value; a text no table
    // knows (the system's reason) stays as it is.
    QCOMPARE(CoreTextShown("Name '%2AB' is changed to '%2AB'"),
             QStringLiteral("名称“%2AB”已改为“%2AB”"));
    QCOMPARE(CoreTextShown("cannot open the file: No such file or directory"),
             QStringLiteral("无法打开文件：No such file or directory"));
    QCOMPARE(CoreTextShown("Something no table knows"), QStringLiteral("Something no table knows"));
  }

  void english_texts_show_the_core_texts_as_the_command_line_prints_them() {
    ApplyWindowLanguage(true);
    const Result<ChannelCsvImport> import = ReadChannelCsv(kCsvWithReasons);
    QVERIFY(import.ok());
    QStringList expected;
    for (const ImportReportLine& line : import->report) {
      expected.append(
          (line.channel > 0
               ? QStringLiteral("Line %1, channel %2: ").arg(line.line).arg(line.channel)
               : QStringLiteral("Line %1: ").arg(line.line)) +
          Qs(line.reason));
    }
    QCOMPARE(ImportReportDialog::ReportText(*import).split(QLatin1Char('\n')), expected);
    QCOMPARE(expected.at(10),
             QStringLiteral("Line 12, channel 10: the transmit frequency 746.520000 MHz (Duplex "
                            "'+', Offset 600) is outside 67-521 MHz; the row is skipped"));
    FleetRadioStatus s;
    s.result = FleetResult::kPartlyWritten;
    s.blocks_written = 40;
    QCOMPARE(FleetDialog::ResultText(s),
             QStringLiteral("partly written (40 of 394 blocks): cancelled"));
  }
};

}  // namespace zlm5

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  zlm5::CoreTextsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_core_texts.moc"
