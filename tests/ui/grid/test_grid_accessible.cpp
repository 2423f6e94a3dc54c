// SPDX-License-Identifier: GPL-3.0-or-later
// The channel grid as a screen reader sees it: a table of 128 channels and
// the shown columns with their headers, what each cell says, the events of
// moving, selecting, editing and refilling, and the names of the cell
// editors.

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app/command_ids.h"
#include "ui/app/main_frame.h"
#include "ui/dialogs/import_report_dialog.h"
#include "ui/edit/edit_commands.h"
#include "ui/grid/cell_editor.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_accessible.h"
#include "ui/grid/grid_control.h"

namespace zlm5 {
namespace {

using test::ImageWith;

// Grid columns.
constexpr int kReceive = 1;
constexpr int kRxTone = 3;
constexpr int kBandwidth = 5;
constexpr int kOptSignal = 8;
constexpr int kName = 11;

// One accessibility event as the recorder saw it.
struct Seen {
  QAccessible::Event type;
  QObject* object;
  int child;
  QAccessibleTableModelChangeEvent::ModelChangeType change;
};

// Every event sent while a test runs, in order.
std::vector<Seen>& Events() {
  static std::vector<Seen> events;
  return events;
}

void Record(QAccessibleEvent* event) {
  auto change = QAccessibleTableModelChangeEvent::ModelReset;
  if (event->type() == QAccessible::TableModelChanged) {
    change = static_cast<QAccessibleTableModelChangeEvent*>(event)->modelChangeType();
  }
  Events().push_back({event->type(), event->object(), event->child(), change});
}

// The events of one type sent about `object`.
std::vector<Seen> EventsOf(QAccessible::Event type, const QObject* object) {
  std::vector<Seen> found;
  for (const Seen& seen : Events()) {
    if (seen.type == type && seen.object == object) found.push_back(seen);
  }
  return found;
}

QString Name(QAccessibleInterface* iface) {
  return iface != nullptr ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

}  // namespace

class GridAccessibleTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    InstallGridAccessibility();
    // Qt hands events to an update handler only while a platform bridge is
    // active, never on the offscreen platform: the grid's tap sees them.
    SetGridEventTap(Record);
  }

  void init() {
    settings_ = std::make_unique<test::TempSettings>();
    messages_ = std::make_unique<test::MessageRecorder>();
    frame_ = std::make_unique<MainFrame>(settings_->Get());
    frame_->resize(730, 768);
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    Document().image() = ImageWith({{3, kReceive, "146.525"},
                                    {3, kRxTone, "67.0"},
                                    {3, kName, "HOME"},
                                    {4, kReceive, "446.00625"}});
    View().OnInitialUpdate();
    QCoreApplication::processEvents();
    Events().clear();
  }
  void cleanupTestCase() { SetGridEventTap({}); }

  void cleanup() {
    frame_.reset();
    messages_.reset();
    settings_.reset();
    Events().clear();
  }

  // --- the table --------------------------------------------------------

  void the_grid_is_a_named_table_of_the_channels_and_the_shown_columns() {
    QAccessibleInterface* grid = Table();
    QVERIFY(grid != nullptr);
    QCOMPARE(grid->role(), QAccessible::Table);
    QCOMPARE(grid->text(QAccessible::Name), QStringLiteral("Channels"));
    QAccessibleTableInterface* table = grid->tableInterface();
    QVERIFY(table != nullptr);
    QCOMPARE(table->rowCount(), 128);
    // The hidden PTTID column is not there.
    QStringList headers;
    for (int column = 0; column < table->columnCount(); ++column) {
      headers.append(table->columnDescription(column));
    }
    QCOMPARE(headers, QStringList({"Receive(MHz)", "Transmit(MHz)", "Rx Tone", "Tx Tone", "W/N",
                                   "Scan", "Tx Power", "Opt Signal", "BusyLock", "Name"}));
    QCOMPARE(table->rowDescription(0), QStringLiteral("Channel 1"));
    QCOMPARE(table->rowDescription(127), QStringLiteral("Channel 128"));
    QVERIFY(table->cellAt(128, 0) == nullptr);
    QVERIFY(table->cellAt(0, 10) == nullptr);
    // The header row and the header column are children as well.
    QCOMPARE(grid->childCount(), 129 * 11);
    QCOMPARE(Name(grid->child(0)), QStringLiteral("CH"));
    QCOMPARE(grid->child(0)->role(), QAccessible::ColumnHeader);
    QCOMPARE(Name(grid->child(3)), QStringLiteral("Rx Tone"));
    QCOMPARE(Name(grid->child(3 * 11)), QStringLiteral("Channel 3"));
    QCOMPARE(grid->child(3 * 11)->role(), QAccessible::RowHeader);
  }

  void every_cell_reads_what_the_grid_shows() {
    QAccessibleTableInterface* table = Table()->tableInterface();
    const std::vector<int> shown = {1, 2, 3, 4, 5, 6, 7, 8, 10, 11};
    int filled = 0;
    for (int row = 0; row < table->rowCount(); ++row) {
      for (int column = 0; column < table->columnCount(); ++column) {
        QAccessibleInterface* cell = table->cellAt(row, column);
        QVERIFY(cell != nullptr);
        const QString text = Grid().TextMatrix(row + 1, shown[column]);
        QCOMPARE(Name(cell), text);
        if (!text.isEmpty()) ++filled;
        QCOMPARE(cell->tableCellInterface()->rowIndex(), row);
        QCOMPARE(cell->tableCellInterface()->columnIndex(), column);
        QCOMPARE(Table()->indexOfChild(cell), (row + 1) * 11 + column + 1);
      }
    }
    QCOMPARE(filled, 10 + 9);  // channels 3 and 4 (4 without a name); PTTID not shown
  }

  void a_cell_says_its_channel_its_column_and_its_text() {
    QAccessibleInterface* cell = Table()->tableInterface()->cellAt(2, 2);
    QCOMPARE(cell->role(), QAccessible::Cell);
    QAccessibleTableCellInterface* place = cell->tableCellInterface();
    QCOMPARE(place->rowHeaderCells().size(), 1);
    QCOMPARE(place->columnHeaderCells().size(), 1);
    QCOMPARE(QStringLiteral("%1, %2, %3")
                 .arg(Name(place->rowHeaderCells().front()),
                      Name(place->columnHeaderCells().front()), Name(cell)),
             QStringLiteral("Channel 3, Rx Tone, 67.0"));
    QCOMPARE(place->table(), Table());
    QCOMPARE(cell->parent(), Table());
  }

  void a_cell_outside_the_band_says_why_it_is_marked() {
    // Channel 4's 446 MHz is outside the band 136 - 174 MHz; channel 3's is in.
    View().FormBoxWidget(FormBox::Field)->setCurrentIndex(1);
    QAccessibleTableInterface* table = Table()->tableInterface();
    const QString why = Grid().CellMark(4, kReceive);
    QVERIFY(why.startsWith(QStringLiteral("Outside the band")));
    QCOMPARE(table->cellAt(3, 0)->text(QAccessible::Description), why);
    QCOMPARE(table->cellAt(2, 0)->text(QAccessible::Description), QString());
  }

  void the_current_cell_is_focused_and_selected_rows_are_selected() {
    Grid().SetCurrentCell(3, kRxTone);
    Grid().setFocus();
    QAccessibleTableInterface* table = Table()->tableInterface();
    QVERIFY(table->cellAt(2, 2)->state().focused);
    QVERIFY(table->cellAt(2, 2)->state().focusable);
    QVERIFY(!table->cellAt(2, 3)->state().focused);
    QCOMPARE(Table()->focusChild(), table->cellAt(2, 2));

    Grid().SelectRows(5, 6);
    QVERIFY(table->cellAt(4, 0)->state().selected);
    QVERIFY(table->cellAt(5, 9)->tableCellInterface()->isSelected());
    QVERIFY(!table->cellAt(6, 0)->state().selected);
    QCOMPARE(table->selectedRows(), QList<int>({4, 5}));
    QCOMPARE(table->selectedCellCount(), 20);
    // A reader may select rows itself, as a click on a channel number does.
    QVERIFY(table->selectRow(9));
    QCOMPARE(Grid().SelectedRows(), std::vector<int>({5, 6, 10}));
    QVERIFY(table->unselectRow(4));
    QCOMPARE(Grid().SelectedRows(), std::vector<int>({6, 10}));
  }

  void a_point_on_a_cell_finds_that_cell() {
    Grid().SetTopRow(1);
    const QRect rect = Grid().CellRect(3, kRxTone);
    const QPoint global = Grid().viewport()->mapToGlobal(rect.center());
    QAccessibleInterface* hit = Table()->childAt(global.x(), global.y());
    QCOMPARE(hit, Table()->tableInterface()->cellAt(2, 2));
    QCOMPARE(hit->rect(), QRect(Grid().viewport()->mapToGlobal(rect.topLeft()), rect.size()));
  }

  // --- events -----------------------------------------------------------

  void each_arrow_key_focuses_the_next_cell_once() {
    Grid().SetCurrentCell(2, kRxTone);
    Grid().setFocus();
    QCoreApplication::processEvents();
    Events().clear();
    QAccessibleTableInterface* table = Table()->tableInterface();

    QTest::keyClick(&Grid(), Qt::Key_Down);
    std::vector<Seen> focus = EventsOf(QAccessible::Focus, &Grid());
    QCOMPARE(focus.size(), std::size_t{1});
    QCOMPARE(Table()->child(focus[0].child), table->cellAt(2, 2));
    QCOMPARE(Name(Table()->child(focus[0].child)), QStringLiteral("67.0"));
    std::vector<Seen> active = EventsOf(QAccessible::ActiveDescendantChanged, &Grid());
    QCOMPARE(active.size(), std::size_t{1});
    QCOMPARE(active[0].child, focus[0].child);

    // Right from Opt Signal steps over the hidden column to BusyLock.
    Grid().SetCurrentCell(3, kOptSignal);
    Events().clear();
    QTest::keyClick(&Grid(), Qt::Key_Right);
    focus = EventsOf(QAccessible::Focus, &Grid());
    QCOMPARE(focus.size(), std::size_t{1});
    QCOMPARE(Table()->child(focus[0].child), table->cellAt(2, 8));
    QCOMPARE(Table()
                 ->child(focus[0].child)
                 ->tableCellInterface()
                 ->columnHeaderCells()
                 .front()
                 ->text(QAccessible::Name),
             QStringLiteral("BusyLock"));

    // A key that moves nowhere says nothing.
    Grid().SetCurrentCell(1, kReceive);
    Events().clear();
    QTest::keyClick(&Grid(), Qt::Key_Up);
    QVERIFY(EventsOf(QAccessible::Focus, &Grid()).empty());
  }

  void the_grid_taking_the_focus_ends_on_its_current_cell() {
    Grid().SetCurrentCell(3, kRxTone);
    frame_->setFocus();
    QCoreApplication::processEvents();
    Events().clear();
    Grid().setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    const std::vector<Seen> focus = EventsOf(QAccessible::Focus, &Grid());
    QVERIFY(!focus.empty());
    QCOMPARE(Table()->child(focus.back().child), Table()->tableInterface()->cellAt(2, 2));
  }

  void selecting_rows_adds_and_removes_them() {
    Grid().SelectRows(5, 6);
    std::vector<Seen> added = EventsOf(QAccessible::SelectionAdd, &Grid());
    QCOMPARE(added.size(), std::size_t{2});
    QCOMPARE(Name(Table()->child(added[0].child)), QStringLiteral("Channel 5"));
    QCOMPARE(Name(Table()->child(added[1].child)), QStringLiteral("Channel 6"));
    Events().clear();
    Grid().SelectRows(6, 7);
    QCOMPARE(EventsOf(QAccessible::SelectionRemove, &Grid()).size(), std::size_t{1});
    QCOMPARE(Name(Table()->child(EventsOf(QAccessible::SelectionRemove, &Grid())[0].child)),
             QStringLiteral("Channel 5"));
    QCOMPARE(Name(Table()->child(EventsOf(QAccessible::SelectionAdd, &Grid())[0].child)),
             QStringLiteral("Channel 7"));
  }

  void an_edited_cell_tells_its_new_name() {
    Grid().SetCurrentCell(5, kReceive);
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_1);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("46.55"));
    Events().clear();
    View().CommitOpenEditor();
    QCOMPARE(Grid().TextMatrix(5, kReceive), QStringLiteral("146.55000"));
    // The first frequency of a row also fills the row's defaults: each
    // changed cell says so.
    std::vector<int> children;
    for (const Seen& seen : EventsOf(QAccessible::NameChanged, &Grid())) {
      children.push_back(seen.child);
    }
    const int receive = GridAccessibleChild(Grid(), 5, kReceive);
    QVERIFY(std::count(children.begin(), children.end(), receive) == 1);
    QCOMPARE(Name(Table()->child(receive)), QStringLiteral("146.55000"));
    QVERIFY(std::count(children.begin(), children.end(), GridAccessibleChild(Grid(), 5, 2)) == 1);
    QCOMPARE(Name(Table()->child(GridAccessibleChild(Grid(), 5, 2))), QStringLiteral("146.55000"));
    QVERIFY(EventsOf(QAccessible::TableModelChanged, &Grid()).empty());
  }

  void an_import_undo_and_redo_each_change_the_table_once() {
    const QString csv = QDir(settings_->Folder()).filePath(QStringLiteral("list.csv"));
    QVERIFY(test::WriteAll(csv, "Location,Name,Frequency,Mode\r\n1,one,146.52,FM\r\n"));
    frame_->Edits().SetDialogHook([](QDialog& shown) {
      QTest::mouseClick(static_cast<ImportReportDialog&>(shown).ApplyButton(), Qt::LeftButton);
    });
    QVERIFY(frame_->Edits().ImportFile(csv));
    QCOMPARE(Grid().TextMatrix(1, kReceive), QStringLiteral("146.52000"));
    ExpectOneReset();
    QCOMPARE(Name(Table()->tableInterface()->cellAt(0, 0)), QStringLiteral("146.52000"));

    frame_->Action(command_id::kUndo)->trigger();
    QCOMPARE(Grid().TextMatrix(1, kReceive), QString());
    ExpectOneReset();
    frame_->Action(command_id::kRedo)->trigger();
    QCOMPARE(Grid().TextMatrix(1, kReceive), QStringLiteral("146.52000"));
    ExpectOneReset();
  }

  void a_refill_from_the_image_changes_the_table_once() {
    Document().image() = ImageWith({{7, kReceive, "145.5"}});
    View().RefreshFromImage();
    QCOMPARE(Grid().TextMatrix(7, kReceive), QStringLiteral("145.50000"));
    ExpectOneReset();
  }

  void a_column_shown_or_hidden_changes_the_table() {
    QAccessibleTableInterface* table = Table()->tableInterface();
    Grid().SetColWidth(9, 40);
    QCOMPARE(table->columnCount(), 11);
    QCOMPARE(table->columnDescription(8), QStringLiteral("PTTID"));
    ExpectOneReset();
    Grid().SetColWidth(9, 50);  // still shown: the same table
    QVERIFY(EventsOf(QAccessible::TableModelChanged, &Grid()).empty());
    Grid().SetColWidth(9, 0);
    QCOMPARE(table->columnCount(), 10);
    QCOMPARE(table->columnDescription(8), QStringLiteral("BusyLock"));
    ExpectOneReset();
  }

  // --- the cell editors -------------------------------------------------

  void an_open_editor_is_named_for_its_column_and_channel() {
    Grid().SetTopRow(20);
    Grid().SetCurrentCell(29, kReceive);
    Grid().setFocus();
    QTest::keyClick(&Grid(), Qt::Key_1);
    CellEditor* editor = View().OpenEditor();
    QVERIFY(editor != nullptr);
    QCOMPARE(QApplication::focusWidget(), editor->Widget());
    QAccessibleInterface* edit = QAccessible::queryAccessibleInterface(editor->Widget());
    QCOMPARE(edit->text(QAccessible::Name), QStringLiteral("Receive(MHz), channel 29"));
    View().HideAllEditors();

    // A list says its column without the blanks of the header, and its
    // entry as its value, not as its name.
    Grid().SetCurrentCell(3, kBandwidth);
    View().OpenCellEditor(ChannelView::kNoKey);
    editor = View().OpenEditor();
    QCOMPARE(editor->Id(), ChannelView::kBandwidthListId);
    QCOMPARE(editor->Widget()->accessibleName(), QStringLiteral("W/N, channel 3"));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(editor->Widget());
    QCOMPARE(list->text(QAccessible::Value), QStringLiteral("Wide"));
    const auto labels = list->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(Name(labels.front().first), QStringLiteral("W/N, channel 3"));
    View().HideAllEditors();

    // The tone box and the text field a reader lands in.
    Grid().SetCurrentCell(3, kRxTone);
    View().OpenCellEditor(ChannelView::kNoKey);
    editor = View().OpenEditor();
    QCOMPARE(editor->Id(), ChannelView::kToneBoxId);
    QCOMPARE(editor->Widget()->accessibleName(), QStringLiteral("Rx Tone, channel 3"));
    QCOMPARE(editor->LineEdit()->accessibleName(), QStringLiteral("Rx Tone, channel 3"));
  }

 private:
  void ExpectOneReset() {
    const std::vector<Seen> changes = EventsOf(QAccessible::TableModelChanged, &Grid());
    QCOMPARE(changes.size(), std::size_t{1});
    QCOMPARE(changes[0].change, QAccessibleTableModelChangeEvent::ModelReset);
    // Not one event per cell besides.
    QVERIFY(EventsOf(QAccessible::NameChanged, &Grid()).empty());
    Events().clear();
  }

  ChannelView& View() { return frame_->View(); }
  GridControl& Grid() { return frame_->View().GridWidget(); }
  ChannelDocument& Document() { return frame_->Document(); }
  QAccessibleInterface* Table() { return QAccessible::queryAccessibleInterface(&Grid()); }

  std::unique_ptr<test::TempSettings> settings_;
  std::unique_ptr<test::MessageRecorder> messages_;
  std::unique_ptr<MainFrame> frame_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::GridAccessibleTest)
#include "test_grid_accessible.moc"
