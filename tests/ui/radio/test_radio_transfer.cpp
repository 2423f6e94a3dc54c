// SPDX-License-Identifier: GPL-3.0-or-later
// Read and Write from the window against z-lm5-radio-sim on a
// pseudo-terminal: the progress dialog, its Start and Cancel, the
// interruption rule, the port chosen in the Port menu, a port that cannot
// be opened, and the commands that wait while a transfer runs.

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "files/backup_store.h"
#include "files/channel_document.h"
#include "link/link_clock.h"
#include "link/link_texts.h"
#include "link/serial_port.h"
#include "model/channel_codec.h"
#include "model/channel_record.h"
#include "model/memory_grid.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"
#include "tests/ui/radio_test_support.h"
#include "tools/radio_sim/simulated_radio.h"
#include "tools/radio_sim/virtual_radio_port.h"
#include "ui/app/command_ids.h"
#include "ui/app/language.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"
#include "ui/radio/progress_dialog.h"
#include "ui/radio/qt_link_host.h"

Q_DECLARE_METATYPE(zlm5::TransferOutcome)

namespace zlm5 {
namespace id = command_id;

namespace {

const QString kChineseInterruption = QStringLiteral("通讯已被中断,请重新开始");
const QString kEnglishInterruption =
    QStringLiteral("Communication had been interrupted,please try again");

// A radio memory as a radio would hold it: a new document's settings with
// a few channels and a changed squelch level.
RadioImage RadioMemory() {
  RadioImage image = ChannelDocument::NewDocumentImage();
  auto one = image.Record(1);
  WriteFrequency(ReceiveBytes(one), 14652500);
  WriteFrequency(TransmitBytes(one), 14652500);
  auto five = image.Record(5);
  WriteFrequency(ReceiveBytes(five), 43500000);
  WriteFrequency(TransmitBytes(five), 43812500);
  image.set(0x813, 5);
  return image;
}

// test::TwoChannels() types channels 1 and 12; channel 12's frequencies are
// bytes 0x0B0-0x0B7, block 22.
constexpr const char* kChannel12Block = "22";

std::vector<std::uint8_t> Bytes(const RadioImage& image, std::size_t from, std::size_t to) {
  return {image.bytes().begin() + from, image.bytes().begin() + to};
}

}  // namespace

class RadioTransferTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    qRegisterMetaType<TransferOutcome>();
    // Closing the main window must not end the test's event loops.
    QApplication::setQuitOnLastWindowClosed(false);
  }

  void init() {
    dir_ = std::make_unique<test::TempDir>();
    memory_file_ = dir_->Path("radio.sin");
    save_file_ = dir_->Path("saved.sin");
    log_file_ = dir_->Path("log.txt");
    window_ = std::make_unique<test::RadioWindow>(QString::fromStdString(dir_->path()));
    messages_ = std::make_unique<test::MessageLog>();
    finished_ = std::make_unique<QSignalSpy>(window_->radio, &RadioOperations::TransferFinished);
    consumed_ = 0;
  }
  void cleanup() {
    finished_.reset();
    messages_.reset();
    window_.reset();
    sim_.reset();
    dir_.reset();
    SetLanguageTag(QString());
  }

  // --- complete transfers ---------------------------------------------------

  void a_full_read_shows_the_radio_in_the_grid_and_counts_as_an_edit() {
    const RadioImage radio = RadioMemory();
    StartSim({}, radio);
    UseVirtualPauses();
    WritePorts("COM3 = " + sim_->terminal() + "\n");

    Action(id::kReadFromRadio)->trigger();
    TransferProgressDialog* dialog = Radio().ProgressDialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Reading Data Progress"));
    QCOMPARE(dialog->StatusText(), QStringLiteral("   Not start yet"));
    QCOMPARE(
        dialog
            ->findChild<QLabel*>(QStringLiteral("control%1").arg(TransferProgressDialog::kLabelId))
            ->text(),
        QStringLiteral("Progress："));
    QProgressBar* bar = test::ProgressBarOf(*dialog);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 394);
    QCOMPARE(bar->value(), 0);
    QVERIFY(dialog->StartButton()->isEnabled());
    QVERIFY(dialog->StartButton()->isDefault());
    // Centred over the grid.
    const QWidget& grid = Frame().View().GridWidget();
    const QPoint grid_centre = grid.mapToGlobal(grid.rect().center());
    QVERIFY((dialog->geometry().center() - grid_centre).manhattanLength() <= 4);

    // A port chosen while the dialog waits is the port Start opens.
    Action(id::kCom3)->trigger();
    QString last_status;
    int last_progress = -1;
    connect(dialog, &TransferProgressDialog::Closed, this, [&] {
      last_status = dialog->StatusText();
      last_progress = dialog->Progress();
    });

    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    // Start only posts the transfer: nothing has been opened yet.
    QVERIFY(!dialog->StartButton()->isEnabled());
    QCOMPARE(window_->opens, 0);
    // Once Start is pressed the other command changes nothing.
    Action(id::kWriteToRadio)->trigger();
    QCOMPARE(Radio().Direction(), TransferDirection::kRead);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCompleted);

    QCOMPARE(last_status, QStringLiteral("394"));
    QCOMPARE(last_progress, 394);
    QVERIFY(Radio().ProgressDialog() == nullptr);
    QCOMPARE(window_->opens, 1);
    QVERIFY(messages_->texts.isEmpty());
    QCOMPARE(Frame().MessageText(), QStringLiteral("394 blocks read"));

    const RadioImage& image = Frame().Document().image();
    QVERIFY(Bytes(image, 0, 0xC50) == Bytes(radio, 0, 0xC50));
    // The image read is kept as it came, before it was shown.
    const std::vector<BackupEntry> backups = Backups();
    QCOMPARE(backups.size(), std::size_t{1});
    QCOMPARE(backups[0].direction, TransferDirection::kRead);
    QVERIFY(*LoadChannelDataFile(backups[0].path) == image);
    const RadioImage fresh = ChannelDocument::NewDocumentImage();
    QVERIFY(Bytes(image, 0xC50, 0x1000) == Bytes(fresh, 0xC50, 0x1000));

    MemoryGrid expected;
    ImageToGrid(radio, expected);
    const ChannelGrid& shown = Frame().View().Grid();
    for (int row = 1; row <= 128; ++row) {
      for (int col = 1; col < 12; ++col) {
        QCOMPARE(shown.TextMatrix(row, col), expected.TextMatrix(row, col));
      }
    }
    QCOMPARE(QString::fromStdString(shown.TextMatrix(1, 1)), QStringLiteral("146.52500"));
    QCOMPARE(QString::fromStdString(shown.TextMatrix(5, 2)), QStringLiteral("438.12500"));
    // Closing would ask before the data read from the radio is dropped.
    QVERIFY(Frame().Document().modified());
    QVERIFY(Frame().DocumentPaneText().endsWith(QStringLiteral(" *")));

    const auto frames = Frames();
    QCOMPARE(test::CountFrames(frames, "rx 52 00 00 08"), 1);
    QCOMPARE(test::CountFrames(frames, "rx 52 0C 48 08"), 1);
  }

  void a_full_write_sends_the_grid_with_the_open_editor_committed() {
    StartRadio({}, test::PatternImage(7));
    Edit(1, 1, QStringLiteral("146.525"));
    // The last text is still in its editor when Write is chosen.
    Click(2, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("145.5"));
    QVERIFY(Frame().View().OpenEditor() != nullptr);

    // Read, then Write while the dialog is idle: it keeps its caption and
    // Start writes.
    Action(id::kReadFromRadio)->trigger();
    TransferProgressDialog* dialog = Radio().ProgressDialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(Frame().View().OpenEditor() == nullptr);
    QCOMPARE(QString::fromStdString(Frame().View().Grid().TextMatrix(2, 1)),
             QStringLiteral("145.50000"));
    Action(id::kWriteToRadio)->trigger();
    QCOMPARE(Radio().ProgressDialog(), dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Reading Data Progress"));
    QCOMPARE(Radio().Direction(), TransferDirection::kWrite);

    // While the dialog waits, a cell is typed into and left open; Start
    // writes it as the grid shows it, and its message (a frequency out of
    // the radio's range) is no interruption.
    Click(3, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("147.5"));
    Click(4, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("999"));
    QVERIFY(Frame().View().OpenEditor() != nullptr);
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCompleted);
    QVERIFY(Radio().ProgressDialog() == nullptr);
    QCOMPARE(messages_->texts.size(), 1);
    QVERIFY(!messages_->texts.contains(kChineseInterruption));
    QVERIFY(Frame().View().OpenEditor() == nullptr);

    sim_->Stop();
    const std::vector<std::uint8_t> saved = test::ReadBytes(save_file_);
    QCOMPARE(saved.size(), std::size_t{4096});
    const RadioImage& image = Frame().Document().image();
    QVERIFY(std::equal(saved.begin(), saved.begin() + 0xC50, image.bytes().begin()));
    RadioImage written;
    std::copy(saved.begin(), saved.end(), written.bytes().begin());
    MemoryGrid on_radio;
    ImageToGrid(written, on_radio);
    QCOMPARE(QString::fromStdString(on_radio.TextMatrix(1, 1)), QStringLiteral("146.52500"));
    QCOMPARE(QString::fromStdString(on_radio.TextMatrix(2, 1)), QStringLiteral("145.50000"));
    QCOMPARE(QString::fromStdString(on_radio.TextMatrix(3, 1)), QStringLiteral("147.50000"));
    QCOMPARE(QString::fromStdString(on_radio.TextMatrix(4, 1)), QString());
    const auto frames = test::LogFrames(log_file_);
    QCOMPARE(CountPrefix(frames, "rx 57 "), 394);
    QCOMPARE(CountPrefix(frames, "rx 57 0C 48 08 "), 1);
    QCOMPARE(CountPrefix(frames, "rx 52 "), 0);
  }

  // --- safeguards -------------------------------------------------------------

  void a_verified_write_names_the_channel_the_radio_did_not_store() {
    // Off at first; the choice is remembered.
    QVERIFY(!Radio().VerifyAction()->isChecked());
    Radio().VerifyAction()->trigger();
    QCOMPARE(window_->settings.Get().value(QStringLiteral("Settings/VerifyAfterWriting")),
             QVariant(true));
    test::WriteBytes(dir_->Path("two.sin"), test::TwoChannels());
    QVERIFY(Frame().LoadFile(QString::fromStdString(dir_->Path("two.sin"))).ok());

    StartRadio({"--drop-write", kChannel12Block}, ChannelDocument::NewDocumentImage());
    UseVirtualPauses();
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    QStringList captions;  // the caption when each pass moves its first block
    connect(test::ProgressBarOf(*dialog), &QProgressBar::valueChanged, dialog, [&](int value) {
      if (value == 1) captions.append(dialog->windowTitle());
    });
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kFailed);
    QCOMPARE(captions, (QStringList{TransferProgressDialog::WritingTitle(),
                                    TransferProgressDialog::ReadingTitle()}));
    QCOMPARE(messages_->texts.size(), 1);
    const QStringList lines = messages_->texts.first().split(QLatin1Char('\n'));
    QCOMPARE(lines[0], QStringLiteral("394 blocks written"));
    QVERIFY2(lines[1].startsWith(
                 QStringLiteral("Radio verify failed: the radio does not hold what was written")),
             qPrintable(lines[1]));
    QCOMPARE(lines[2], QStringLiteral("CH 12 Receive(MHz): 446.00625 → (empty)"));
    for (const QString& line : lines.mid(2)) {
      QVERIFY2(line.startsWith(QStringLiteral("CH 12 ")), qPrintable(line));
    }
    QCOMPARE(Frame().MessageText(), QStringLiteral("394 blocks written"));
    QCOMPARE(CountPrefix(Frames(), "rx 52 "), 394);

    // A radio that keeps what it is sent.
    messages_->texts.clear();
    StartRadio({}, ChannelDocument::NewDocumentImage());
    dialog = OpenDialog(id::kWriteToRadio);
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCompleted);
    QVERIFY(messages_->texts.isEmpty());
    QCOMPARE(Frame().MessageText(),
             QStringLiteral("394 blocks written; Radio verified: 394 blocks match"));
    // One backup per write; the read-back is part of it.
    const std::vector<BackupEntry> backups = Backups();
    QCOMPARE(backups.size(), std::size_t{2});
    QVERIFY(*LoadChannelDataFile(backups[0].path) == test::TwoChannels());
  }

  void a_write_that_backs_up_first_writes_nothing_when_the_read_fails() {
    Radio().BackUpFirstAction()->trigger();
    QCOMPARE(window_->settings.Get().value(QStringLiteral("Settings/BackUpBeforeWriting")),
             QVariant(true));
    // The first block read gets a stray byte; the radio would take the write.
    StartRadio({"--stray-byte", "block", "--fault-count", "1"}, RadioMemory());
    Edit(1, 1, QStringLiteral("146.525"));
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kFailed);
    QCOMPARE(messages_->texts, QStringList{QString::fromUtf8(link_texts::kReplyTooLong.data())});
    QCOMPARE(
        Frame().MessageText(),
        QStringLiteral("Nothing was written: the radio could not be read into a backup first"));
    QCOMPARE(CountPrefix(Frames(), "rx 57 "), 0);
    QVERIFY(Backups().empty());

    // Remembered: a window opened later backs up first as well.
    MainFrame later(window_->settings.Get());
    auto* radio = new RadioOperations(later);
    QVERIFY(radio->BackUpFirstAction()->isChecked());
    QVERIFY(!radio->VerifyAction()->isChecked());
  }

  void backups_and_the_communication_log_are_reached_from_the_menus() {
    // File: after Open...; Program: after Write To Radio; Help: before About.
    const QList<QAction*> file = Frame().FileMenu()->actions();
    QCOMPARE(file[file.indexOf(Action(id::kOpen)) + 1]->text(), QStringLiteral("Open &Backup..."));
    const QList<QAction*> program = Frame().ProgramMenu()->actions();
    const qsizetype write = program.indexOf(Action(id::kWriteToRadio));
    QCOMPARE(program[write + 1]->text(), QStringLiteral("&Back Up Radio Before Writing"));
    QCOMPARE(program[write + 2]->text(), QStringLiteral("&Verify After Writing"));
    QVERIFY(program[write + 3]->isSeparator());
    const QList<QAction*> help = Frame().HelpMenu()->actions();
    const qsizetype about = help.indexOf(Action(id::kAbout));
    QCOMPARE(help[about - 2]->text(), QStringLiteral("Save &Communication Log..."));
    QVERIFY(help[about - 1]->isSeparator());
    QVERIFY(!Radio().SaveLogAction()->isEnabled());  // nothing to save yet

    StartSim({}, RadioMemory());
    const QString port = QString::fromStdString(sim_->terminal());
    Radio().SetPortName(port);
    Edit(1, 1, QStringLiteral("146.525"));
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    bool guarded = false;
    OnProgress(dialog, 2, [&] {
      guarded = !Radio().OpenBackupAction()->isEnabled() && !Radio().SaveLogAction()->isEnabled();
    });
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCompleted);
    QVERIFY(guarded);
    QCOMPARE(Frame().MessageText(), QStringLiteral("394 blocks written"));

    // The log: every frame of the write, as z-lm5-cli --trace prints it.
    QList<RadioOperations::FileKind> asked;
    QStringList starts;
    const QString log = QString::fromStdString(dir_->Path("communication.txt"));
    const std::vector<BackupEntry> backups = Backups();
    QCOMPARE(backups.size(), std::size_t{1});
    Radio().SetFileChooser([&](RadioOperations::FileKind kind, const QString& start) {
      asked.append(kind);
      starts.append(start);
      return kind == RadioOperations::FileKind::kBackup ? QString::fromStdString(backups[0].path)
                                                        : log;
    });
    QVERIFY(Radio().SaveLogAction()->isEnabled());
    Radio().SaveLogAction()->trigger();
    const std::string text = test::ReadText(log.toStdString());
    QVERIFY2(text.find(" open " + port.toStdString() + "\n") != std::string::npos, text.c_str());
    QVERIFY(text.find(" rx 5A 4C 4D 35 FF 00 00 00\n") != std::string::npos);  // identification
    QVERIFY(text.find(" tx 57 00 00 08\n") != std::string::npos);
    QVERIFY(text.find(" tx 57 0C 48 08\n") != std::string::npos);
    QVERIFY(text.find(" close\n") != std::string::npos);
    QCOMPARE(text, Radio().CommunicationLog().Text());

    // Open Backup starts in the backups folder and opens the one chosen,
    // after the question about the edited document.
    messages_->answers = {QMessageBox::Discard};
    Radio().OpenBackupAction()->trigger();
    QCOMPARE(messages_->texts.size(), 1);
    QVERIFY(messages_->texts.first().startsWith(QStringLiteral("Save changes to ")));
    QCOMPARE(asked, (QList<RadioOperations::FileKind>{RadioOperations::FileKind::kCommunicationLog,
                                                      RadioOperations::FileKind::kBackup}));
    QCOMPARE(starts[1], QString::fromStdString(dir_->Path("z-lm5/backups")));
    QCOMPARE(QString::fromStdString(Frame().Document().path()),
             QString::fromStdString(backups[0].path));
    QCOMPARE(QString::fromStdString(Frame().View().Grid().TextMatrix(1, 1)),
             QStringLiteral("146.52500"));
  }

  void a_backup_that_cannot_be_saved_fails_no_transfer() {
    std::ofstream(dir_->Path("z-lm5")) << "a file where the folder would be";
    StartRadio({}, RadioMemory());
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCompleted);
    QVERIFY(messages_->texts.isEmpty());
    const QString status = Frame().MessageText();
    QVERIFY2(
        status.startsWith(QStringLiteral("394 blocks written; The backup could not be saved: ") +
                          QString::fromStdString(dir_->Path("z-lm5/backups"))),
        qPrintable(status));
    QCOMPARE(CountPrefix(Frames(), "rx 57 "), 394);
  }

  // --- Cancel -------------------------------------------------------------------

  void cancel_before_start_destroys_the_dialog_and_opens_no_port() {
    StartRadio({}, RadioMemory());
    Action(id::kReadFromRadio)->trigger();
    QPointer<TransferProgressDialog> dialog = Radio().ProgressDialog();
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    QVERIFY(Radio().ProgressDialog() == nullptr);
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(window_->opens, 0);
    QVERIFY(messages_->texts.isEmpty());
    QVERIFY(test::LogFrames(log_file_).empty());
  }

  // A fresh dialog takes the caption of its command (one left waiting would
  // keep "Reading Data Progress").
  void after_a_cancel_the_next_command_makes_a_fresh_dialog() {
    Action(id::kReadFromRadio)->trigger();
    QTest::mouseClick(Radio().ProgressDialog()->CancelButton(), Qt::LeftButton);
    Action(id::kWriteToRadio)->trigger();
    TransferProgressDialog* dialog = Radio().ProgressDialog();
    QVERIFY(dialog != nullptr);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Writing Data Progress"));
    QCOMPARE(dialog->Progress(), 0);
    QCOMPARE(dialog->StatusText(), QStringLiteral("   Not start yet"));
  }

  void esc_while_idle_cancels_as_the_button_does() {
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(Radio().ProgressDialog() == nullptr);
    QCOMPARE(window_->opens, 0);
    QVERIFY(messages_->texts.isEmpty());
  }

  // Before the transfer got its turn of the event loop.
  void cancel_right_after_start_opens_no_port() {
    StartRadio({}, RadioMemory());
    TransferProgressDialog* dialog = OpenDialog(id::kReadFromRadio);
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCancelled);
    QVERIFY(Radio().ProgressDialog() == nullptr);
    QCOMPARE(window_->opens, 0);
    QVERIFY(messages_->texts.isEmpty());
  }

  void cancel_while_running_stops_quietly_and_keeps_the_document() {
    StartRadio({}, RadioMemory());
    const RadioImage before = Frame().Document().image();
    TransferProgressDialog* dialog = OpenDialog(id::kReadFromRadio);
    OnProgress(dialog, 8, [&] { QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton); });
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCancelled);
    QVERIFY(messages_->texts.isEmpty());
    QVERIFY(Radio().ProgressDialog() == nullptr);
    QVERIFY(Frame().Document().image() == before);
    QVERIFY(!Frame().Document().modified());
    QCOMPARE(QString::fromStdString(Frame().View().Grid().TextMatrix(1, 1)), QString());
    const int requests = CountPrefix(Frames(), "rx 52 ");
    QVERIFY2(requests >= 8 && requests <= 9, qPrintable(QString::number(requests)));
  }

  void esc_while_running_does_nothing() {
    StartRadio({}, RadioMemory());
    TransferProgressDialog* dialog = OpenDialog(id::kReadFromRadio);
    bool esc_cancelled = true;
    OnProgress(dialog, 8, [&] {
      QTest::keyClick(dialog, Qt::Key_Escape);
      esc_cancelled = dialog->CancelRequested();
    });
    // The blocks go on after Esc until the Cancel button stops them.
    OnProgress(dialog, 16, [&] { QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton); });
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCancelled);
    QVERIFY(!esc_cancelled);
    const int requests = CountPrefix(Frames(), "rx 52 ");
    QVERIFY2(requests >= 16 && requests <= 17, qPrintable(QString::number(requests)));
  }

  // --- interruptions ---------------------------------------------------------

  void losing_the_focus_before_start_is_no_interruption() {
    TransferProgressDialog* dialog = OpenDialog(id::kReadFromRadio);
    SendDeactivate(dialog);
    QVERIFY(messages_->texts.isEmpty());
    QVERIFY(!dialog->CancelRequested());
    QCOMPARE(Radio().ProgressDialog(), dialog);
  }

  void moving_the_dialog_before_start_is_no_interruption() {
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    dialog->move(dialog->pos() + QPoint(30, 10));
    QApplication::processEvents();
    QVERIFY(messages_->texts.isEmpty());
    QVERIFY(!dialog->CancelRequested());
    QCOMPARE(Radio().ProgressDialog(), dialog);
  }

  void turning_to_the_main_window_while_running_interrupts_in_chinese() {
    StartRadio({}, RadioMemory());
    TransferProgressDialog* dialog = OpenDialog(id::kReadFromRadio);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    OnProgress(dialog, 5, [&] { Frame().activateWindow(); });
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCancelled);
    QCOMPARE(messages_->texts, QStringList{kChineseInterruption});
    QVERIFY(!Frame().Document().modified());
    QVERIFY(CountPrefix(Frames(), "rx 52 ") < 394);
  }

  // Once cancelled, a further loss of focus tells nothing more.
  void with_english_texts_the_interruption_is_told_once_in_english() {
    ChooseEnglishTexts(true);
    StartRadio({}, RadioMemory());
    TransferProgressDialog* dialog = OpenDialog(id::kReadFromRadio);
    OnProgress(dialog, 3, [&] {
      SendDeactivate(dialog);
      SendDeactivate(dialog);
    });
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCancelled);
    QCOMPARE(messages_->texts, QStringList{kEnglishInterruption});
    QVERIFY(CountPrefix(Frames(), "rx 52 ") < 394);
  }

  void moving_the_dialog_while_running_interrupts() {
    StartRadio({}, RadioMemory());
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    OnProgress(dialog, 4, [&] { dialog->move(dialog->pos() + QPoint(40, 0)); });
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCancelled);
    QCOMPARE(messages_->texts, QStringList{kChineseInterruption});
    QVERIFY(CountPrefix(Frames(), "rx 57 ") < 394);
  }

  void the_transfers_own_questions_are_no_interruption() {
    // The radio ignores the first 15 wake-ups: "Communication Error" is
    // asked; the dialog loses the focus to it without being interrupted.
    sim::RadioFaults faults;
    faults.at(sim::Stage::kWakeUp).silent = true;
    faults.at(sim::Stage::kWakeUp).count = 15;
    UseVirtualRadio(RadioMemory(), faults);
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    bool watching_during_question = true;
    messages_->on_message = [&](const MessageRequest& request) {
      watching_during_question = dialog->Watching();
      QCOMPARE(request.buttons, QMessageBox::Retry | QMessageBox::Cancel);
      QCOMPARE(request.parent, static_cast<QWidget*>(dialog));
      SendDeactivate(dialog);
    };
    messages_->answers = {QMessageBox::Retry};
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCompleted);
    QCOMPARE(messages_->texts,
             QStringList{QString::fromUtf8(link_texts::kCommunicationError.data())});
    QVERIFY(!watching_during_question);
    QCOMPARE(virtual_radio_->blocks_answered(), 394);  // written in full after Retry
  }

  void a_write_cut_off_by_a_vanished_adapter_says_why_and_what_the_radio_holds() {
    StartSim({"--hang-up-after-block", "100"}, RadioMemory());
    const QString port = QString::fromStdString(sim_->terminal());
    Radio().SetPortName(port);
    messages_->answers = {QMessageBox::Retry, QMessageBox::Cancel};
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kFailed);
    const QString error = QString::fromUtf8(link_texts::kCommunicationError.data());
    QCOMPARE(messages_->texts,
             (QStringList{error,
                          error + QStringLiteral("\n\n") + port + QStringLiteral(": ") +
                              QString::fromLocal8Bit(std::strerror(ENOENT)),
                          QString::fromStdString(link_texts::PartlyWritten(100, 394))}));
  }

  // --- ports -------------------------------------------------------------------

  void a_port_that_cannot_be_opened_is_named_with_the_reason() {
    Radio().SetPortName(QStringLiteral("/nonexistent/zlm5-port"));
    Edit(3, 1, QStringLiteral("146.525"));
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kPortUnavailable);
    QCOMPARE(messages_->texts.size(), 1);
    const QString expected = QString::fromUtf8(link_texts::kCouldNotOpenPort.data()) +
                             QStringLiteral("\n\n/nonexistent/zlm5-port: ") +
                             QString::fromLocal8Bit(std::strerror(ENOENT));
    QCOMPARE(messages_->texts.first(), expected);
    QVERIFY(Radio().ProgressDialog() == nullptr);
    // The write encoded the grid before it tried the port.
    MemoryGrid decoded;
    ImageToGrid(Frame().Document().image(), decoded);
    QCOMPARE(QString::fromStdString(decoded.TextMatrix(3, 1)), QStringLiteral("146.52500"));

    // COM1 with a ports file that cannot be read says which line is wrong.
    messages_->texts.clear();
    WritePorts("COM1 = ttyUSB0\n");
    Action(id::kCom1)->trigger();
    dialog = OpenDialog(id::kReadFromRadio);
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kPortUnavailable);
    QCOMPARE(messages_->texts.size(), 1);
    QVERIFY(messages_->texts.first().startsWith(
        QString::fromUtf8(link_texts::kCouldNotOpenPort.data())));
    QVERIFY(messages_->texts.first().contains(QStringLiteral("line 1")));
    QCOMPARE(window_->opens, 1);
  }

  void a_refused_port_shows_the_access_hint() {
    auto* dialog = new TransferProgressDialog(QStringLiteral("t"), &Frame());
    QtTransferHost host(*dialog);
    const Error refused = Error::FromErrno("/dev/ttyUSB0", EACCES);
    host.ReportPortOpenFailure(std::string(link_texts::kCouldNotOpenPort), refused,
                               PortAccessHint(refused));
    QCOMPARE(messages_->texts.size(), 1);
    const QStringList parts = messages_->texts.first().split(QStringLiteral("\n\n"));
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts[0], QString::fromUtf8(link_texts::kCouldNotOpenPort.data()));
    QCOMPARE(parts[1], QStringLiteral("/dev/ttyUSB0: ") + QString::fromLocal8Bit(strerror(EACCES)));
    QVERIFY(parts[2].contains(QStringLiteral("dialout")));
    delete dialog;
  }

  void the_port_switch_refuses_what_is_no_serial_port() {
    const auto run = [](const std::vector<std::string>& arguments) {
      std::vector<std::string> argv = {ZLM5_BINARY_DIR "/ui/z-lm5"};
      argv.insert(argv.end(), arguments.begin(), arguments.end());
      return test::RunProcess(argv, {"QT_QPA_PLATFORM=offscreen"});
    };
    const test::ProcessResult wrong = run({"--port", "ttyUSB0"});
    QCOMPARE(wrong.exit_code, 2);
    QVERIFY(wrong.err.find("--port: \"ttyUSB0\" is not a serial port") != std::string::npos);
    QVERIFY(run({"--help"}).out.find("--port <path>") != std::string::npos);
  }

  // What z-lm5 --port takes becomes the window's port, as if chosen in the
  // Port menu: a device path is the device a transfer opens.
  void the_port_switch_takes_com_names_in_any_case_and_device_paths() {
    for (const auto& [given, chosen] :
         {std::pair{"com2", "COM2"}, std::pair{"/dev/ttyUSB0", "/dev/ttyUSB0"}}) {
      QVERIFY2(RadioOperations::IsPortName(QString::fromLatin1(given)), given);
      QVERIFY2(Radio().SetPortName(QString::fromLatin1(given)), given);
      QCOMPARE(Radio().PortName(), QString::fromLatin1(chosen));
    }
    QCOMPARE(*Radio().PortDevice(), std::string("/dev/ttyUSB0"));
  }

  // --- nothing else reaches the radio or the document meanwhile --------------

  void commands_wait_while_a_transfer_runs_and_closing_cancels_it_first() {
    StartRadio({}, RadioMemory());
    TransferProgressDialog* dialog = OpenDialog(id::kReadFromRadio);
    QList<bool> enabled;
    bool busy = false;
    OnProgress(dialog, 3, [&] {
      busy = Radio().Busy();
      for (int command :
           {id::kNew, id::kOpen, id::kRecentFile1, id::kReadFromRadio, id::kWriteToRadio,
            id::kOptionalFeatures, id::kHighPowerDebug, id::kLowPowerDebug, id::kSave}) {
        enabled.append(Action(command)->isEnabled());
      }
      Frame().close();
    });
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCancelled);
    QVERIFY(busy);
    QCOMPARE(enabled, QList<bool>(9, false));
    QVERIFY(messages_->texts.isEmpty());
    // The commands are back, and the window closes now that the port is.
    QVERIFY(Action(id::kNew)->isEnabled());
    QVERIFY(Action(id::kReadFromRadio)->isEnabled());
    QVERIFY(!Action(id::kRecentFile1)->isEnabled());  // the empty list stays grey
    QTRY_VERIFY(!Frame().isVisible());
  }

 private:
  MainFrame& Frame() { return *window_->frame; }
  RadioOperations& Radio() { return *window_->radio; }
  QAction* Action(int command) { return Frame().Action(command); }

  void StartSim(std::vector<std::string> options, const RadioImage& memory) {
    test::WriteBytes(memory_file_, memory);
    options.insert(options.end(), {"--memory", memory_file_, "--save", save_file_, "--log",
                                   log_file_, "--no-wire-time", "--turnaround", "1"});
    sim_ = std::make_unique<test::SimProcess>(options);
    QVERIFY2(sim_->started(), sim_->ErrorOutput().c_str());
  }

  // The pauses between the exchanges pass in virtual time; the radio's
  // answers still come through the pseudo-terminal.
  void UseVirtualPauses() { Radio().SetTransferOptions({TimeoutProfile::Transfer(), &clock_}); }

  // The simulated radio, on the port the window uses.
  void StartRadio(std::vector<std::string> options, const RadioImage& memory) {
    StartSim(std::move(options), memory);
    QVERIFY(Radio().SetPortName(QString::fromStdString(sim_->terminal())));
  }

  void WritePorts(const std::string& text) {
    const std::string folder = dir_->path() + "/z-lm5";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/ports.conf") << text;
  }

  std::vector<std::string> Frames() {
    sim_->Stop();
    return test::LogFrames(log_file_);
  }

  // The backups the transfers left, newest first.
  std::vector<BackupEntry> Backups() {
    auto listed = BackupStore(dir_->Path("z-lm5/backups")).List();
    return listed.ok() ? *listed : std::vector<BackupEntry>{};
  }

  static int CountPrefix(const std::vector<std::string>& frames, const std::string& prefix) {
    return static_cast<int>(std::count_if(frames.begin(), frames.end(),
                                          [&](const auto& f) { return f.rfind(prefix, 0) == 0; }));
  }

  TransferProgressDialog* OpenDialog(int command) {
    Action(command)->trigger();
    return Radio().ProgressDialog();
  }

  // Runs `action` once, when the bar first reaches `position`.
  void OnProgress(TransferProgressDialog* dialog, int position,
                  const std::function<void()>& action) {
    QProgressBar* bar = test::ProgressBarOf(*dialog);
    auto done = std::make_shared<bool>(false);
    connect(bar, &QProgressBar::valueChanged, dialog, [=](int value) {
      if (value == position && !*done) {
        *done = true;
        action();
      }
    });
  }

  // The transfer runs when control is back in the event loop.
  TransferOutcome WaitForTransfer() {
    while (finished_->count() <= consumed_) {
      QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return finished_->at(consumed_++).first().value<TransferOutcome>();
  }

  static void SendDeactivate(QWidget* widget) {
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(widget, &deactivate);
  }

  void Click(int row, int col) {
    GridControl& grid = Frame().View().GridWidget();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(row, col).center());
  }
  void Edit(int row, int col, const QString& text) {
    Click(row, col);
    QTest::keyClicks(QApplication::focusWidget(), text);
    Frame().View().CommitOpenEditor();
  }

  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<test::RadioWindow> window_;
  std::unique_ptr<test::MessageLog> messages_;
  std::unique_ptr<test::SimProcess> sim_;
  std::unique_ptr<QSignalSpy> finished_;
  qsizetype consumed_ = 0;
  ManualLinkClock clock_;
  std::string memory_file_, save_file_, log_file_;

  // --- a write cut off in its blocks, against the radio simulated in process

 private slots:
  void a_write_the_radio_stops_acknowledging_says_what_the_radio_holds() {
    sim::RadioFaults faults;
    faults.stop_after_blocks = 50;
    UseVirtualRadio(RadioMemory(), faults);
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kFailed);
    QCOMPARE(messages_->texts,
             (QStringList{QString::fromUtf8(link_texts::kProgramInterrupt.data()),
                          QStringLiteral("The radio now holds a partly written memory: 50 of 394 "
                                         "blocks were written. Write it to the radio again "
                                         "before using the radio.")}));
    QVERIFY(Radio().ProgressDialog() == nullptr);
  }

  // The user's own Cancel: no message box, the status bar says it.
  void cancel_in_the_blocks_of_a_write_tells_in_the_status_bar_what_the_radio_holds() {
    const RadioImage before = RadioMemory();
    UseVirtualRadio(before, {});
    TransferProgressDialog* dialog = OpenDialog(id::kWriteToRadio);
    OnProgress(dialog, 100, [&] { QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton); });
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCancelled);
    QVERIFY(messages_->texts.isEmpty());
    QVERIFY(Radio().ProgressDialog() == nullptr);
    QCOMPARE(Frame().MessageText(), QString::fromStdString(link_texts::PartlyWritten(100, 394)));
    // Blocks 0-99 are the document's, the rest the radio's own.
    const RadioImage& sent = Frame().Document().image();
    const RadioImage& held = virtual_radio_->memory();
    QVERIFY(Bytes(held, 0, 800) == Bytes(sent, 0, 800));
    QVERIFY(Bytes(sent, 0, 800) != Bytes(before, 0, 800));
    QVERIFY(Bytes(held, 800, 4096) == Bytes(before, 800, 4096));
  }

  // The dialog goes with the transfer; the status bar tells the end, once,
  // as the name of its message pane, which a screen reader is told of.
  void the_end_of_a_read_is_told_by_the_status_bar_in_words() {
    UseVirtualRadio(RadioMemory(), {});
    TransferProgressDialog* dialog = OpenDialog(id::kReadFromRadio);
    QCOMPARE(QAccessible::queryAccessibleInterface(test::ProgressBarOf(*dialog))
                 ->text(QAccessible::Name),
             QStringLiteral("Progress"));
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(WaitForTransfer(), TransferOutcome::kCompleted);
    QVERIFY(Radio().ProgressDialog() == nullptr);
    auto* pane = Frame().findChild<QLabel*>(QStringLiteral("messagePane"));
    QVERIFY(pane != nullptr);
    // Without a name of its own the pane's name is its text, and each new
    // text is sent as a change of name.
    QVERIFY(pane->accessibleName().isEmpty());
    QCOMPARE(QAccessible::queryAccessibleInterface(pane)->text(QAccessible::Name),
             QStringLiteral("394 blocks read"));
    QVERIFY(messages_->texts.isEmpty());
  }

 private:
  // The radio simulated in this process takes the window's port, in the
  // virtual time of the transfer's pauses: no pseudo-terminal, no waiting.
  void UseVirtualRadio(const RadioImage& memory, const sim::RadioFaults& faults) {
    virtual_radio_ = std::make_unique<sim::SimulatedRadio>(memory, faults);
    Radio().SetTransportFactory(
        [this] { return std::make_unique<sim::VirtualRadioPort>(*virtual_radio_, clock_); });
    UseVirtualPauses();
  }

  std::unique_ptr<sim::SimulatedRadio> virtual_radio_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::RadioTransferTest)
#include "test_radio_transfer.moc"
