// SPDX-License-Identifier: GPL-3.0-or-later
// Editing from the window: undo and redo of each kind of change, back to
// the saved state; the row commands at the first and the last channel; the
// clipboard; the import report before a paste or an import is applied;
// the export; and the grid's context menu.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <memory>

#include "files/channel_document.h"
#include "link/link_clock.h"
#include "model/channel_codec.h"
#include "model/channel_csv.h"
#include "model/channel_record.h"
#include "model/memory_grid.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"
#include "tests/ui/radio_test_support.h"
#include "ui/app/command_ids.h"
#include "ui/dialogs/import_report_dialog.h"
#include "ui/edit/edit_commands.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"
#include "ui/radio/progress_dialog.h"

Q_DECLARE_METATYPE(zlm5::TransferOutcome)

namespace zlm5 {
namespace id = command_id;
using test::ImageWith;

class EditingTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qRegisterMetaType<TransferOutcome>(); }
  void init() {
    dir_ = std::make_unique<test::TempDir>();
    window_ = std::make_unique<test::RadioWindow>(QString::fromStdString(dir_->path()));
    QVERIFY(window_->active);
    messages_ = std::make_unique<test::MessageLog>();
  }
  void cleanup() {
    messages_.reset();
    window_.reset();
    sim_.reset();
    dir_.reset();
  }

  // --- undo and redo --------------------------------------------------------

  void undo_and_redo_walk_cells_and_boxes_back_to_the_saved_state() {
    QComboBox* field = View().FormBoxWidget(FormBox::Field);
    const int first_field = field->currentIndex();
    Edit(1, 1, QStringLiteral("146.525"));
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Edit Channel 1"));
    Chooser(Path("saved.sin"));
    QVERIFY(Frame().SaveDocument());
    field->setCurrentIndex(5);
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Change Field"));
    Edit(2, 11, QStringLiteral("ab"));
    QCOMPARE(Frame().DocumentPaneText(), QStringLiteral("saved.sin *"));

    // The keys, with the grid in the focus.
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Cell(2, 11), QString());
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field->currentIndex(), first_field);
    QVERIFY(!Frame().Document().modified());
    QCOMPARE(Frame().DocumentPaneText(), QStringLiteral("saved.sin"));
    QCOMPARE(Action(id::kRedo)->text(), QStringLiteral("&Redo Change Field"));
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(field->currentIndex(), 5);
    QVERIFY(Frame().Document().modified());
    Key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(Cell(2, 11), QStringLiteral("AB"));
    QVERIFY(!Action(id::kRedo)->isEnabled());

    // Undo first throws away what is typed into an open editor.
    Click(4, 1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("145.5"));
    Action(id::kUndo)->trigger();
    QCOMPARE(View().OpenEditor(), nullptr);
    QCOMPARE(Cell(4, 1), QString());
    QCOMPARE(Cell(2, 11), QStringLiteral("AB"));

    // Past the save the document differs from its file again.
    for (int i = 0; i < 3; ++i) Action(id::kUndo)->trigger();
    QCOMPARE(Cell(1, 1), QString());
    QVERIFY(Frame().Document().modified());
    QVERIFY(!Action(id::kUndo)->isEnabled());
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo"));
    // A new change drops what could be redone; New forgets everything.
    Edit(3, 1, QStringLiteral("145.5"));
    QVERIFY(!Action(id::kRedo)->isEnabled());
    messages_->answers.append(QMessageBox::Discard);
    QVERIFY(Frame().NewDocument());
    QVERIFY(!Action(id::kUndo)->isEnabled());
    QVERIFY(!Frame().Document().modified());
  }

  void optional_features_and_a_read_from_the_radio_are_one_step_each() {
    Edit(3, 1, QStringLiteral("145.5"));
    const RadioImage before_options = Frame().Document().image();
    window_->radio->SetDialogHook([](QDialog& shown) {
      QTest::keyClick(shown.focusWidget(), Qt::Key_Return);  // OK
    });
    Action(id::kOptionalFeatures)->trigger();
    const RadioImage after_options = Frame().Document().image();
    QVERIFY(after_options != before_options);
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Optional Features"));
    Action(id::kUndo)->trigger();
    QVERIFY(Frame().Document().image() == before_options);
    QCOMPARE(Cell(3, 1), QStringLiteral("145.50000"));
    Action(id::kRedo)->trigger();
    QVERIFY(Frame().Document().image() == after_options);

    RadioImage radio = ChannelDocument::NewDocumentImage();
    WriteFrequency(ReceiveBytes(radio.Record(1)), 14652500);
    WriteFrequency(TransmitBytes(radio.Record(1)), 14652500);
    // Undo waits while the radio is read.
    int tried = 0;
    ReadRadio(radio, [&] {
      ++tried;
      Action(id::kUndo)->trigger();
    });
    QCOMPARE(tried, 1);
    QCOMPARE(Cell(1, 1), QStringLiteral("146.52500"));
    QCOMPARE(Cell(3, 1), QString());
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Read From Radio"));
    Action(id::kUndo)->trigger();
    QVERIFY(Frame().Document().image() == after_options);
    QCOMPARE(Cell(1, 1), QString());
    QCOMPARE(Cell(3, 1), QStringLiteral("145.50000"));
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Optional Features"));
    Action(id::kRedo)->trigger();
    QCOMPARE(Cell(1, 1), QStringLiteral("146.52500"));
    QVERIFY(std::equal(radio.bytes().begin(), radio.bytes().begin() + 0xC50,
                       Frame().Document().image().bytes().begin()));
  }

  // --- rows -------------------------------------------------------------------

  void row_commands_at_the_first_and_the_last_channel() {
    Load(ImageWith({{1, 1, "146.525"},
                    {1, 11, "ONE"},
                    {2, 1, "147"},
                    {2, 11, "TWO"},
                    {128, 1, "446.1"},
                    {128, 11, "LAST"}}));
    const QStringList one = Row(1);
    const QStringList two = Row(2);
    const QStringList last = Row(128);
    const QStringList empty(11, QString());

    ClickNumber(1);
    QVERIFY(!Action(id::kMoveChannelUp)->isEnabled());
    Key(Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(Row(1), two);
    QCOMPARE(Row(2), one);
    QCOMPARE(Grid().SelectedRows(), std::vector<int>({2}));
    QCOMPARE(Grid().Row(), 2);
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Move Channel Down"));

    // No room while channel 128 is in use.
    Key(Qt::Key_Insert);
    QCOMPARE(messages_->texts, QStringList({EditCommands::NoRoomText()}));
    QCOMPARE(Row(1), two);

    Grid().SetTopRow(100);
    ClickNumber(128);
    QVERIFY(!Action(id::kMoveChannelDown)->isEnabled());
    Key(Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(Row(127), last);
    QCOMPARE(Row(128), empty);

    Grid().SetTopRow(1);
    ClickNumber(1);
    Key(Qt::Key_Insert);
    QCOMPARE(Row(1), empty);
    QCOMPARE(Row(2), two);
    QCOMPARE(Row(3), one);
    QCOMPARE(Row(128), last);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Delete 1 Channel"));
    QCOMPARE(Row(1), two);
    QCOMPARE(Row(127), last);
    QCOMPARE(Row(128), empty);

    // Delete empties selected rows only, never the channel of a cell.
    Grid().SetCurrentCell(1, 3);
    Key(Qt::Key_Delete);
    QCOMPARE(Row(1), two);
    ClickNumber(1);
    ClickNumber(2, Qt::ShiftModifier);
    Key(Qt::Key_Delete);
    QCOMPARE(Row(1), empty);
    QCOMPARE(Row(2), empty);
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Clear 2 Channels"));

    for (int i = 0; i < 5; ++i) Action(id::kUndo)->trigger();
    QCOMPARE(Row(1), one);
    QCOMPARE(Row(2), two);
    QCOMPARE(Row(127), empty);
    QCOMPARE(Row(128), last);
    QVERIFY(!Frame().Document().modified());
  }

  // --- clipboard --------------------------------------------------------------

  void copy_and_paste_carry_whole_channels_through_the_clipboard() {
    Load(ImageWith({{1, 1, "146.525"},
                    {1, 4, "D023N"},
                    {1, 11, "ONE"},
                    {3, 1, "446.00625"},
                    {3, 2, ""},
                    {3, 8, "CCIR"}}));
    ClickNumber(1);
    ClickNumber(3, Qt::ShiftModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QCOMPARE(
        data->text(),
        QStringLiteral("146.52500\t146.52500\tOFF\tD023N\tWide\tYes\tHigh\tNone\tON\tClose\tONE\n"
                       "\t\t\t\t\t\t\t\t\t\t\n"
                       "446.00625\t\tOFF\tOFF\tWide\tYes\tHigh\tCCIR\tON\tClose\t\n"));
    const QList<QByteArray> csv = data->data(EditCommands::CsvMimeType()).split('\n');
    QCOMPARE(csv.size(), 4);  // the header, two channels in use, the end
    QVERIFY(csv[0].startsWith("Location,Name,Frequency,Duplex,"));
    QVERIFY(csv[2].startsWith("3,,446.006250,off,"));

    ClickNumber(10);
    Key(Qt::Key_V, Qt::ControlModifier);
    for (int i = 0; i < 3; ++i) QCOMPARE(Row(10 + i), Row(1 + i));
    QCOMPARE(Grid().SelectedRows(), std::vector<int>({10, 11, 12}));
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Paste 3 Channels"));
    QVERIFY(messages_->texts.isEmpty());

    // Cut empties the channel it copied.
    const QStringList one = Row(1);
    ClickNumber(1);
    Key(Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(Row(1), QStringList(11, QString()));
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("146.52500\t")));
    ClickNumber(20);
    Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Row(20), one);

    // A channel list copied in a text editor, placed at the current row
    // whatever its Location says.
    QApplication::clipboard()->setText(QStringLiteral(
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode\r\n5,rpt,145.6,-,0.6,Tone,88.5,"
        "NFM\r\n"));
    Grid().SetTopRow(90);
    Click(100, 3);
    Action(id::kPaste)->trigger();
    QCOMPARE(Row(100).join(QLatin1Char('|')),
             QStringLiteral("145.60000|145.00000|OFF|88.5|Narrow|Yes|High|None|ON|Close|RPT"));
    QCOMPARE(Row(5), QStringList(11, QString()));

    QApplication::clipboard()->clear();
    Action(id::kPaste)->trigger();
    QCOMPARE(messages_->texts, QStringList({EditCommands::NothingToPasteText()}));
  }

  void a_paste_that_cannot_be_taken_as_it_stands_shows_its_report_first() {
    QApplication::clipboard()->setText(
        QStringLiteral("146.525\n600\n446.1\t\t\t\t\t\t\t\t\t\tabcdefgh\n"));
    QString summary;
    QString report;
    bool apply = false;
    Edits().SetDialogHook([&](QDialog& shown) {
      auto& dialog = static_cast<ImportReportDialog&>(shown);
      summary = dialog.SummaryLabel()->text();
      report = dialog.ReportView()->toPlainText();
      QTest::mouseClick(apply ? dialog.ApplyButton() : dialog.CancelButton(), Qt::LeftButton);
    });
    ClickNumber(10);
    Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(summary, QStringLiteral("2 channels will be written to channels 10, 12. These lines "
                                     "are not taken as they stand:"));
    QCOMPARE(report,
             QStringLiteral("Line 2, channel 11: Receive(MHz) '600' is not a frequency "
                            "within 67-521 MHz; the line is skipped\n"
                            "Line 3, channel 12: Name 'abcdefgh' is shortened to 'ABCDEF'"));
    QCOMPARE(Row(10), QStringList(11, QString()));
    QVERIFY(!Action(id::kUndo)->isEnabled());

    apply = true;
    Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Cell(10, 1), QStringLiteral("146.52500"));
    QCOMPARE(Row(11), QStringList(11, QString()));
    QCOMPARE(Cell(12, 1), QStringLiteral("446.10000"));
    QCOMPARE(Cell(12, 11), QStringLiteral("ABCDEF"));
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Paste 2 Channels"));
  }

  // Channel 3 only receives, and its Opt Signal byte holds neither entry,
  // as a radio may have it. What a paste leaves is what the saved file
  // holds: an empty Opt Signal stays so only on a channel in use, and the
  // Tx Tone of a channel that only receives shows "OFF".
  void a_pasted_channel_shows_what_the_document_holds() {
    RadioImage image = ImageWith({{3, 1, "446.00625"}, {3, 2, ""}});
    image.Record(3)[12] = 0x02;
    Load(image);
    const QString three = QStringLiteral("446.00625||OFF|OFF|Wide|Yes|High||ON|Close|");
    QCOMPARE(Row(3).join(QLatin1Char('|')), three);

    // From a spreadsheet, the tones and lists left empty.
    QApplication::clipboard()->setText(QStringLiteral("446.1\t\t\t\t\t\t\t\t\t\tabc\n"));
    ClickNumber(10);
    Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Row(10).join(QLatin1Char('|')),
             QStringLiteral("446.10000||OFF|OFF|Wide|Yes|High|None|ON|Close|ABC"));

    // Channel 3 onto an empty channel and onto channel 10, now in use.
    ClickNumber(3);
    Key(Qt::Key_C, Qt::ControlModifier);
    ClickNumber(20);
    Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Row(20).join(QLatin1Char('|')),
             QStringLiteral("446.00625||OFF|OFF|Wide|Yes|High|None|ON|Close|"));
    ClickNumber(10);
    Key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Row(10).join(QLatin1Char('|')), three);

    View().EncodeToImage();
    const RadioImage& saved = Frame().Document().image();
    QCOMPARE(static_cast<int>(saved.Record(20)[12]), 1);
    MemoryGrid held;
    ImageToGrid(saved, held);
    for (int row : {3, 10, 20}) {
      QStringList cells;
      for (int col = 1; col <= 11; ++col)
        cells.append(QString::fromStdString(held.TextMatrix(row, col)));
      QCOMPARE(Row(row), cells);
    }
    QVERIFY(messages_->texts.isEmpty());
  }

  // --- channel lists ----------------------------------------------------------

  void an_import_shows_its_report_and_writes_from_the_chosen_channel_on_apply() {
    const QString csv = Path("list.csv");
    QVERIFY(test::WriteAll(csv,
                           "Location,Name,Frequency,Mode\r\n1,one,146.52,FM\r\n"
                           "2,bad,600,FM\r\n3,three,433.5,NFM\r\n"));
    Chooser(csv);
    QStringList summaries;
    QString report;
    bool apply = false;
    Edits().SetDialogHook([&](QDialog& shown) {
      auto& dialog = static_cast<ImportReportDialog&>(shown);
      QCOMPARE(dialog.windowTitle(), QStringLiteral("Import Channels"));
      summaries.append(dialog.SummaryLabel()->text());
      report = dialog.ReportView()->toPlainText();
      dialog.FirstChannelBox()->setValue(20);
      summaries.append(dialog.SummaryLabel()->text());
      QTest::mouseClick(apply ? dialog.ApplyButton() : dialog.CancelButton(), Qt::LeftButton);
    });
    Action(id::kImportChannels)->trigger();
    QCOMPARE(summaries,
             QStringList({"2 channels will be written to channels 1, 3. These lines are not "
                          "taken as they stand:",
                          "2 channels will be written to channels 20, 22. These lines are not "
                          "taken as they stand:"}));
    QCOMPARE(report, QStringLiteral("Line 3, channel 2: Frequency 600 MHz is outside 67-521 "
                                    "MHz; the row is skipped"));
    QCOMPARE(Row(1), QStringList(11, QString()));
    QVERIFY(!Frame().Document().modified());

    apply = true;
    Action(id::kImportChannels)->trigger();
    QCOMPARE(Row(20).join(QLatin1Char('|')),
             QStringLiteral("146.52000|146.52000|OFF|OFF|Wide|Yes|High|None|ON|Close|ONE"));
    QCOMPARE(Cell(22, 5), QStringLiteral("Narrow"));
    QCOMPARE(Cell(22, 11), QStringLiteral("THREE"));
    QCOMPARE(Action(id::kUndo)->text(), QStringLiteral("&Undo Import 2 Channels"));
    Action(id::kUndo)->trigger();
    QCOMPARE(Row(20), QStringList(11, QString()));
    QVERIFY(!Frame().Document().modified());

    // A file that is no channel list is named and reported; nothing opens.
    summaries.clear();
    QVERIFY(test::WriteAll(csv, "hello\n"));
    QVERIFY(!Edits().ImportFile(csv));
    QVERIFY(summaries.isEmpty());
    QCOMPARE(messages_->texts.size(), 1);
    QVERIFY2(messages_->texts[0].startsWith(QStringLiteral("The channel list cannot be read.")) &&
                 messages_->texts[0].contains(csv) &&
                 messages_->texts[0].contains(QStringLiteral("no Frequency column")),
             qPrintable(messages_->texts[0]));
  }

  void the_export_writes_the_channels_in_use_and_never_over_the_document() {
    Load(ImageWith({{1, 1, "146.525"}, {1, 11, "ONE"}, {7, 1, "446.1"}, {7, 3, "88.5"}}));
    QString suggested;
    QString csv = Path("out.csv");
    Frame().SetFileChooser([&](MainFrame::FileDialogKind kind, const QString& name) {
      if (kind == MainFrame::FileDialogKind::ExportChannels) suggested = name;
      return csv;
    });
    Action(id::kExportChannels)->trigger();
    QCOMPARE(suggested, QStringLiteral("Untitled.csv"));
    const QByteArray written = test::ReadAll(csv);
    QCOMPARE(written, QByteArray::fromStdString(ChannelsToCsv(View().Grid())));
    QVERIFY(written.contains("\r\n1,ONE,146.525000,,0.000000,"));
    QVERIFY(written.contains("\r\n7,,446.100000,,0.000000,Cross,"));
    QCOMPARE(written.count("\r\n"), 3);

    Chooser(Path("doc.sin"));
    QVERIFY(Frame().SaveDocument());
    const QByteArray document = test::ReadAll(Path("doc.sin"));
    QVERIFY(!Edits().ExportFile(Path("doc.sin")));
    QCOMPARE(test::ReadAll(Path("doc.sin")), document);
    QCOMPARE(messages_->texts.size(), 1);
    QVERIFY(messages_->texts[0].startsWith(QStringLiteral("The channel list would replace")));
  }

  // --- context menu -----------------------------------------------------------

  void the_context_menu_acts_on_the_row_under_the_mouse() {
    Load(ImageWith({{7, 1, "146.525"}, {8, 1, "147"}}));
    const QPoint at = Grid().CellRect(7, 3).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, Grid().viewport()->mapToGlobal(at));
    QApplication::sendEvent(Grid().viewport(), &event);
    QMenu* menu = Edits().ContextMenu();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(Grid().Row(), 7);
    QCOMPARE(Grid().SelectedRows(), std::vector<int>({7}));
    QList<int> ids;
    for (QAction* action : menu->actions())
      ids.append(action->isSeparator() ? 0 : action->data().toInt());
    QCOMPARE(ids, QList<int>({id::kCut, id::kCopy, id::kPaste, 0, id::kInsertChannel,
                              id::kDeleteChannels, id::kMoveChannelUp, id::kMoveChannelDown, 0,
                              id::kClearChannels}));
    menu->close();
    Action(id::kClearChannels)->trigger();
    QCOMPARE(Cell(7, 1), QString());
    QCOMPARE(Cell(8, 1), QStringLiteral("147.00000"));

    // From the keyboard, on the current row.
    QTRY_VERIFY(!menu->isVisible());
    Grid().SetCurrentCell(8, 2);
    Key(Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(Grid().SelectedRows(), std::vector<int>({8}));
    menu->close();
  }

 private:
  MainFrame& Frame() { return *window_->frame; }
  ChannelView& View() { return Frame().View(); }
  GridControl& Grid() { return View().GridWidget(); }
  EditCommands& Edits() { return Frame().Edits(); }
  QAction* Action(int command) { return Frame().Action(command); }
  QString Path(const char* name) { return QString::fromStdString(dir_->Path(name)); }
  QString Cell(int row, int col) { return Grid().TextMatrix(row, col); }
  QStringList Row(int row) {
    QStringList cells;
    for (int col = 1; col <= 11; ++col) cells.append(Cell(row, col));
    return cells;
  }
  void Load(const RadioImage& image) {
    Frame().Document().image() = image;
    View().OnInitialUpdate();
  }
  void Chooser(const QString& answer) {
    Frame().SetFileChooser([answer](MainFrame::FileDialogKind, const QString&) { return answer; });
  }
  void Click(int row, int col) {
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Grid().CellRect(row, col).center());
  }
  void ClickNumber(int row, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, modifiers,
                      Grid().CellRect(row, 0).center());
  }
  // A key pressed while the grid has the focus (a dialog closed just
  // before hands the window its activation back first).
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    Frame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Frame()));
    Grid().setFocus();
    QTest::keyClick(&Grid(), key, modifiers);
  }
  // Types into a cell's editor and leaves the cell, as a user would.
  void Edit(int row, int col, const QString& text) {
    Click(row, col);
    QTest::keyClicks(QApplication::focusWidget(), text);
    View().CommitOpenEditor();
  }
  // Reads `radio` from z-lm5-radio-sim with Read From Radio; `meanwhile`
  // runs once while the blocks come in.
  void ReadRadio(const RadioImage& radio, const std::function<void()>& meanwhile) {
    const std::string memory = dir_->Path("radio.sin");
    test::WriteBytes(memory, radio);
    sim_ = std::make_unique<test::SimProcess>(
        std::vector<std::string>{"--memory", memory, "--no-wire-time", "--turnaround", "1"});
    QVERIFY2(sim_->started(), sim_->ErrorOutput().c_str());
    QVERIFY(window_->radio->SetPortName(QString::fromStdString(sim_->terminal())));
    // The pauses between the exchanges pass in virtual time.
    window_->radio->SetTransferOptions({TimeoutProfile::Transfer(), &clock_});
    QSignalSpy finished(window_->radio, &RadioOperations::TransferFinished);
    Action(id::kReadFromRadio)->trigger();
    TransferProgressDialog* dialog = window_->radio->ProgressDialog();
    QProgressBar* bar = test::ProgressBarOf(*dialog);
    connect(bar, &QProgressBar::valueChanged, dialog, [meanwhile](int value) {
      if (value == 100) meanwhile();
    });
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    while (finished.isEmpty()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QVERIFY2(finished.first().first().value<TransferOutcome>() == TransferOutcome::kCompleted,
             qPrintable(messages_->texts.join(QLatin1Char('\n'))));
  }

  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<test::RadioWindow> window_;
  std::unique_ptr<test::MessageLog> messages_;
  std::unique_ptr<test::SimProcess> sim_;
  ManualLinkClock clock_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::EditingTest)
#include "test_editing.moc"
