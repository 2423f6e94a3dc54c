// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that look at the channels without changing them: the marks
// on frequencies outside the Field box's band, Edit > Check Channels...,
// File > Compare With... and Compare With Radio... (against
// z-lm5-radio-sim on a pseudo-terminal).

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <memory>

#include "files/channel_document.h"
#include "link/link_clock.h"
#include "model/channel_codec.h"
#include "model/channel_record.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"
#include "tests/ui/radio_test_support.h"
#include "ui/app/command_ids.h"
#include "ui/dialogs/check_dialog.h"
#include "ui/dialogs/compare_dialog.h"
#include "ui/edit/check_commands.h"
#include "ui/grid/cell_editor.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"
#include "ui/radio/progress_dialog.h"

Q_DECLARE_METATYPE(zlm5::TransferOutcome)

namespace zlm5 {
namespace {

constexpr int kField136To174 = 1;
constexpr int kField430To450 = 5;

// As a radio holds it: two channels, the rest all 0xFF.
RadioImage RadioMemory() {
  RadioImage image = ChannelDocument::NewDocumentImage();
  WriteFrequency(ReceiveBytes(image.Record(1)), 14652500);
  WriteFrequency(TransmitBytes(image.Record(1)), 14652500);
  WriteFrequency(ReceiveBytes(image.Record(5)), 43500000);
  WriteFrequency(TransmitBytes(image.Record(5)), 43812500);
  return image;
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

// What a compare dialog showed, and the clipboard after its Copy button.
struct ShownCompare {
  QString title, summary, lines, clipboard;
  bool copy_enabled = false;
};

}  // namespace

class CheckCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    qRegisterMetaType<TransferOutcome>();
    QApplication::setQuitOnLastWindowClosed(false);
  }

  void init() {
    dir_ = std::make_unique<test::TempDir>();
    window_ = std::make_unique<test::RadioWindow>(QString::fromStdString(dir_->path()));
    messages_ = std::make_unique<test::MessageLog>();
    checks_ = new CheckCommands(Frame(), *window_->radio);
    checks_->SetDialogHook([this](QDialog& dialog) {
      auto& compare = static_cast<CompareDialog&>(dialog);
      ShownCompare shown{compare.windowTitle(), compare.SummaryText(), compare.DifferencesText(),
                         QString(), compare.CopyButton()->isEnabled()};
      QApplication::clipboard()->clear();
      if (shown.copy_enabled) QTest::mouseClick(compare.CopyButton(), Qt::LeftButton);
      shown.clipboard = QApplication::clipboard()->text();
      compares_.append(shown);
      compare.reject();
    });
    compares_.clear();
  }
  void cleanup() {
    messages_.reset();
    window_.reset();
    sim_.reset();
    dir_.reset();
  }

  // --- marks -----------------------------------------------------------------

  // With every command of the window in its menus, no two entries of a
  // menu share the letter that Alt and the underline choose them by.
  void every_menu_gives_each_entry_a_letter_of_its_own() {
    for (QAction* menu : Frame().menuBar()->actions()) {
      QString letters;
      for (QAction* action : menu->menu()->actions()) {
        const qsizetype amp = action->text().indexOf(QLatin1Char('&'));
        if (action->isSeparator() || !action->isVisible() || amp < 0) continue;
        const QChar letter = action->text().at(amp + 1).toLower();
        QVERIFY2(!letters.contains(letter), qPrintable(menu->text() + ": " + action->text()));
        letters.append(letter);
      }
    }
  }

  void out_of_band_frequencies_are_marked_and_taken_as_typed() {
    ChannelView& view = Frame().View();
    GridControl& grid = view.GridWidget();
    view.FormBoxWidget(FormBox::Field)->setCurrentIndex(kField136To174);
    Click(1, 1);
    Type(QStringLiteral("446.00625"));
    Click(2, 1);
    Type(QStringLiteral("146.525"));
    view.CommitOpenEditor();
    grid.SetCurrentCell(6, 6);

    // Taken without a word; the new row's transmit cell copies the receive.
    QVERIFY(messages_->texts.isEmpty());
    QCOMPARE(grid.TextMatrix(1, 1), QStringLiteral("446.00625"));
    const QString why = QStringLiteral("Outside the band 136 - 174MHz chosen in the Field box");
    QCOMPARE(grid.CellMark(1, 1), why);
    QCOMPARE(grid.CellMark(1, 2), why);
    QCOMPARE(grid.CellMark(2, 1), QString());
    QCOMPARE(Background(grid, 1, 1), GridControl::MarkColor(grid.palette()));
    QCOMPARE(Background(grid, 2, 1), grid.palette().color(QPalette::Base));

    // The mark says why in its tooltip; an unmarked cell has none.
    ShowToolTip(grid, 1, 1);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), why);
    ShowToolTip(grid, 2, 1);
    QTRY_VERIFY(!QToolTip::isVisible());

    // Another band moves the marks at once, and the grid is repainted.
    PaintCounter paints(grid.viewport());
    view.FormBoxWidget(FormBox::Field)->setCurrentIndex(kField430To450);
    QTRY_VERIFY(paints.count > 0);
    QCOMPARE(grid.CellMark(1, 1), QString());
    QCOMPARE(grid.CellMark(2, 1),
             QStringLiteral("Outside the band 430 - 450MHz chosen in the Field box"));
    QCOMPARE(Background(grid, 1, 1), grid.palette().color(QPalette::Base));
    // A mended cell loses its mark.
    Click(2, 1);
    Type(QStringLiteral("435"));
    view.CommitOpenEditor();
    QCOMPARE(grid.CellMark(2, 1), QString());
    QCOMPARE(grid.CellMark(2, 2), QStringLiteral("Outside the band 430 - 450MHz chosen in the "
                                                 "Field box"));
  }

  void a_marked_cell_reads_under_light_and_dark_palettes() {
    GridControl& grid = Frame().View().GridWidget();
    const QPalette light = grid.palette();
    QPalette dark = light;
    dark.setColor(QPalette::Base, QColor(0x23, 0x26, 0x29));
    dark.setColor(QPalette::Text, QColor(0xef, 0xf0, 0xf1));
    Frame().View().FormBoxWidget(FormBox::Field)->setCurrentIndex(kField136To174);
    Put(3, 1, "446.00625");
    grid.SetCurrentCell(6, 6);
    for (const QPalette& palette : {light, dark}) {
      grid.setPalette(palette);
      const QColor ground = Background(grid, 3, 1);
      const QColor text = palette.color(QPalette::Text);
      QVERIFY2(std::abs(text.lightnessF() - ground.lightnessF()) >= 0.4,
               qPrintable(text.name() + " on " + ground.name()));
      // Still a mark: not the plain background.
      QVERIFY(ground != palette.color(QPalette::Base));
    }
  }

  // --- Check Channels ------------------------------------------------------

  void check_channels_lists_the_findings_and_goes_to_their_cells() {
    ChannelView& view = Frame().View();
    GridControl& grid = view.GridWidget();
    view.FormBoxWidget(FormBox::Field)->setCurrentIndex(kField136To174);
    Put(1, 1, "146.525");
    Put(1, 11, "home");
    Put(3, 1, "146.525");
    Put(5, 1, "446.00625");
    Put(5, 11, "home");
    view.EncodeToImage();
    const RadioImage image = Frame().Document().image();

    // The command is the last entry of the Edit menu.
    QCOMPARE(Frame().EditMenu()->actions().last(), checks_->CheckChannelsAction());
    checks_->CheckChannelsAction()->trigger();
    ChannelCheckDialog* dialog = checks_->CheckDialog();
    QVERIFY(dialog != nullptr);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->SummaryText(),
             QStringLiteral("4 findings. Double-click a line, or press Enter on it, to go to "
                            "its cell."));
    QCOMPARE(dialog->Lines(),
             QStringList({"CH 3: same receive frequency and tones as CH 1",
                          "CH 5: receive frequency 446.00625 MHz is outside the band 136 - "
                          "174MHz",
                          "CH 5: transmit frequency 446.00625 MHz is outside the band 136 - "
                          "174MHz",
                          "CH 5: name \"HOME\" is also the name of CH 1"}));

    // Double-click: the receive cell of channel 5, in view, with the focus.
    grid.SetTopRow(60);
    QListWidget* list = dialog->List();
    // A double-click is a click followed by the double-click event.
    const QPoint line = list->visualItemRect(list->item(1)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
    QCOMPARE(grid.Row(), 1);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);
    QCOMPARE(grid.Row(), 5);
    QCOMPARE(grid.Col(), 1);
    QVERIFY(grid.TopRow() <= 5);
    // Enter on a line: its cell; the dialog stays for the next line.
    list->setCurrentRow(3);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(grid.Row(), 5);
    QCOMPARE(grid.Col(), 11);
    QVERIFY(dialog->isVisible());
    QVERIFY(Frame().Document().image() == image);

    // Mended in the grid, one still being typed: Check Again sees both.
    Put(5, 11, "work");
    Click(7, 1);
    Type(QStringLiteral("446.1"));
    QTest::mouseClick(dialog->CheckAgainButton(), Qt::LeftButton);
    QCOMPARE(dialog->Lines(),
             QStringList({"CH 3: same receive frequency and tones as CH 1",
                          "CH 5: receive frequency 446.00625 MHz is outside the band 136 - "
                          "174MHz",
                          "CH 5: transmit frequency 446.00625 MHz is outside the band 136 - "
                          "174MHz",
                          "CH 7: receive frequency 446.10000 MHz is outside the band 136 - "
                          "174MHz",
                          "CH 7: transmit frequency 446.10000 MHz is outside the band 136 - "
                          "174MHz"}));

    // Nothing left: the command again renews the same dialog.
    for (int row : {3, 5, 7}) {
      Put(row, 1, "");
      Put(row, 2, "");
    }
    checks_->CheckChannelsAction()->trigger();
    QCOMPARE(checks_->CheckDialog(), dialog);
    QCOMPARE(dialog->SummaryText(), QStringLiteral("Nothing found."));
    QCOMPARE(dialog->List()->count(), 0);
  }

  // --- Compare With ----------------------------------------------------------

  void compare_with_a_file_lists_the_edits_in_words_and_copies_them() {
    const std::string path = dir_->Path("radio.sin");
    test::WriteBytes(path, RadioMemory());
    QVERIFY(Frame().LoadFile(QString::fromStdString(path)).ok());
    checks_->SetFileChooser([&](const QString& suggested) {
      // The document's own file is where the dialog starts.
      return suggested == QString::fromStdString(path) ? suggested : QString();
    });

    // The file the document came from: nothing differs, nothing to copy.
    checks_->CompareWithAction()->trigger();
    QCOMPARE(compares_.size(), 1);
    QCOMPARE(compares_[0].title, QStringLiteral("Compare With radio.sin"));
    QCOMPARE(compares_[0].summary,
             QStringLiteral("No differences between the document and radio.sin."));
    QCOMPARE(compares_[0].lines, QString());
    QVERIFY(!compares_[0].copy_enabled);

    // Two edits, one of them still in its editor: just those two lines.
    Frame().View().FormBoxWidget(FormBox::Field)->setCurrentIndex(8);
    Click(5, 11);
    Type(QStringLiteral("REP"));
    const RadioImage image = Frame().Document().image();
    checks_->CompareWithAction()->trigger();
    QCOMPARE(compares_.size(), 2);
    const QString lines = QStringLiteral(
        "CH 5 Name: REP → (empty)\n"
        "Field: 400 - 470MHz → 67 - 72MHz\n");
    QCOMPARE(compares_[1].summary,
             QStringLiteral("2 differences between the document and radio.sin. Each line "
                            "reads: in the document → in radio.sin."));
    QCOMPARE(compares_[1].lines, lines);
    QCOMPARE(compares_[1].clipboard, lines);
    // The document is as it was: the compare wrote nothing into it.
    QVERIFY(Frame().Document().image() == image);
    QCOMPARE(Frame().View().GridWidget().TextMatrix(5, 11), QStringLiteral("REP"));

    // A file that cannot be read says why, and shows no compare.
    QVERIFY(!checks_->CompareWithFile(QStringLiteral("/nonexistent/other.sin")));
    QCOMPARE(messages_->texts.size(), 1);
    QVERIFY(messages_->texts[0].startsWith(QStringLiteral("Cannot compare with the file.\n\n")));
    QVERIFY(messages_->texts[0].contains(QStringLiteral("/nonexistent/other.sin")));
    QCOMPARE(compares_.size(), 2);

    // Both compares follow Save As in the File menu.
    const QList<QAction*> file = Frame().FileMenu()->actions();
    const qsizetype save_as = file.indexOf(Frame().Action(command_id::kSaveAs));
    QVERIFY(file[save_as + 1]->isSeparator());
    QCOMPARE(file[save_as + 2], checks_->CompareWithAction());
    QCOMPARE(file[save_as + 3], checks_->CompareWithRadioAction());
  }

  void compare_with_the_radio_reads_it_aside_and_leaves_the_document() {
    const RadioImage radio = RadioMemory();
    const std::string memory = dir_->Path("memory.sin");
    const std::string log = dir_->Path("log.txt");
    test::WriteBytes(memory, radio);
    sim_ = std::make_unique<test::SimProcess>(std::vector<std::string>{
        "--memory", memory, "--log", log, "--no-wire-time", "--turnaround", "1"});
    QVERIFY2(sim_->started(), sim_->ErrorOutput().c_str());
    QVERIFY(window_->radio->SetPortName(QString::fromStdString(sim_->terminal())));
    // The pauses between the exchanges pass in virtual time.
    window_->radio->SetTransferOptions({TimeoutProfile::Transfer(), &clock_});
    QVERIFY(Frame().LoadFile(QString::fromStdString(memory)).ok());
    QSignalSpy finished(window_->radio, &RadioOperations::TransferFinished);

    // The radio is read aside: the edit is the one difference, and the
    // document keeps it and nothing more.
    Put(5, 11, "rep");
    const RadioImage image = Frame().Document().image();
    QCOMPARE(RunCompareWithRadio(finished), TransferOutcome::kCompleted);
    QCOMPARE(compares_.size(), 1);
    QCOMPARE(compares_[0].title, QStringLiteral("Compare With the radio"));
    QCOMPARE(compares_[0].summary,
             QStringLiteral("1 difference between the document and the radio. Each line "
                            "reads: in the document → in the radio."));
    QCOMPARE(compares_[0].lines, QStringLiteral("CH 5 Name: REP → (empty)\n"));
    QVERIFY(Frame().Document().image() == image);
    QCOMPARE(Frame().View().GridWidget().TextMatrix(5, 11), QStringLiteral("REP"));
    QVERIFY(messages_->texts.isEmpty());

    // Read From Radio chosen while the dialog waits for Start drops the
    // compare: the read replaces the document's channels, and no list shows.
    checks_->CompareWithRadioAction()->trigger();
    Frame().Action(command_id::kReadFromRadio)->trigger();
    QCOMPARE(Start(finished), TransferOutcome::kCompleted);
    QCOMPARE(compares_.size(), 1);
    QCOMPARE(Frame().View().GridWidget().TextMatrix(5, 11), QString());

    // Two reads of all 394 blocks; the radio was never written.
    sim_->Stop();
    const std::vector<std::string> frames = test::LogFrames(log);
    QCOMPARE(test::CountFrames(frames, "rx 52 00 00 08"), 2);
    QCOMPARE(test::CountFrames(frames, "rx 52 0C 48 08"), 2);
    QVERIFY(std::none_of(frames.begin(), frames.end(),
                         [](const std::string& f) { return f.rfind("rx 57 ", 0) == 0; }));
  }

 private:
  MainFrame& Frame() { return *window_->frame; }

  void Click(int row, int col) {
    GridControl& grid = Frame().View().GridWidget();
    grid.EnsureCurrentVisible();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(row, col).center());
  }
  // Types into the open cell editor.
  void Type(const QString& text) {
    CellEditor* editor = Frame().View().OpenEditor();
    QVERIFY(editor != nullptr);
    QWidget* target = editor->LineEdit();
    QTest::keyClicks(target != nullptr ? target : editor->Widget(), text);
  }
  // A cell committed as leaving it commits it.
  void Put(int row, int col, const char* text) {
    CommitCellText(Frame().View().Grid(), row, col, text, CommitPath::LeaveCell);
  }

  // The colour a cell is drawn on, just inside its top left corner.
  static QColor Background(GridControl& grid, int row, int col) {
    const QImage shot = grid.viewport()->grab().toImage();
    return shot.pixelColor(grid.CellRect(row, col).topLeft() + QPoint(1, 1));
  }

  static void ShowToolTip(GridControl& grid, int row, int col) {
    const QPoint pos = grid.CellRect(row, col).center();
    QHelpEvent help(QEvent::ToolTip, pos, grid.viewport()->mapToGlobal(pos));
    QApplication::sendEvent(grid.viewport(), &help);
  }

  // Compare With Radio, then Start.
  TransferOutcome RunCompareWithRadio(QSignalSpy& finished) {
    checks_->CompareWithRadioAction()->trigger();
    return Start(finished);
  }
  // Start in the progress dialog, and the transfer's end (a compare dialog
  // that follows has come and gone by then).
  TransferOutcome Start(QSignalSpy& finished) {
    TransferProgressDialog* dialog = window_->radio->ProgressDialog();
    if (dialog == nullptr) return TransferOutcome::kFailed;
    const qsizetype before = finished.count();
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    while (finished.count() == before) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return finished.last().first().value<TransferOutcome>();
  }

  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<test::RadioWindow> window_;
  std::unique_ptr<test::MessageLog> messages_;
  std::unique_ptr<test::SimProcess> sim_;
  CheckCommands* checks_ = nullptr;  // owned by the frame
  ManualLinkClock clock_;
  QList<ShownCompare> compares_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::CheckCommandsTest)
#include "test_check_commands.moc"
