// SPDX-License-Identifier: GPL-3.0-or-later
// The grid control: the order of its cell events for code, clicks and keys,
// its cell texts and geometry, and its scroll and key events.

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "ui/grid/grid_control.h"

namespace zlm5 {
namespace {

// Records every event of a grid with the current cell at the moment it came.
class EventLog : public QObject {
 public:
  explicit EventLog(GridControl& grid) : grid_(grid) {
    connect(&grid, &GridControl::LeaveCell, this, [this] { Add(QStringLiteral("Leave")); });
    connect(&grid, &GridControl::EnterCell, this, [this] { Add(QStringLiteral("Enter")); });
    connect(&grid, &GridControl::DblClick, this, [this] { Add(QStringLiteral("DblClick")); });
    connect(&grid, &GridControl::Scroll, this, [this] { Add(QStringLiteral("Scroll")); });
    connect(&grid, &GridControl::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) {
              Add(button == Qt::RightButton ? QStringLiteral("RightDown")
                                            : QStringLiteral("MouseDown"));
            });
    connect(&grid, &GridControl::KeyPress, this,
            [this](QChar c) { Add(QStringLiteral("Key:") + c); });
  }
  QStringList Take() { return std::exchange(entries_, {}); }

 private:
  void Add(const QString& what) {
    entries_.append(QStringLiteral("%1 %2,%3").arg(what).arg(grid_.Row()).arg(grid_.Col()));
  }
  GridControl& grid_;
  QStringList entries_;
};

}  // namespace

class GridControlTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    grid_ = std::make_unique<GridControl>();
    grid_->SetDimensions(129, 12);
    for (int col = 0; col < 12; ++col) grid_->SetColWidth(col, col == 9 ? 0 : 60);
    grid_->resize(500, 300);
    grid_->show();
    QVERIFY(QTest::qWaitForWindowExposed(grid_.get()));
    log_ = std::make_unique<EventLog>(*grid_);
  }
  void cleanup() {
    log_.reset();
    grid_.reset();
  }

  void puts_from_code_leave_the_old_cell_before_entering_the_new() {
    grid_->SetTextMatrix(1, 1, QStringLiteral("old"));
    grid_->SetTextMatrix(5, 1, QStringLiteral("five"));
    QStringList texts_seen_on_leave;
    connect(grid_.get(), &GridControl::LeaveCell, this,
            [&] { texts_seen_on_leave.append(grid_->Text()); });
    grid_->SetRow(5);
    grid_->SetCol(3);
    QCOMPARE(log_->Take(), QStringList({"Leave 1,1", "Enter 5,1", "Leave 5,1", "Enter 5,3"}));
    QCOMPARE(texts_seen_on_leave, QStringList({"old", "five"}));
    grid_->SetCurrentCell(1, 1);
    QCOMPARE(log_->Take(), QStringList({"Leave 5,3", "Enter 1,1"}));
  }

  void puts_of_the_same_cell_or_outside_the_grid_emit_nothing() {
    grid_->SetRow(1);
    grid_->SetCol(1);
    grid_->SetRow(129);
    grid_->SetCol(-1);
    QCOMPARE(log_->Take(), QStringList());
    QCOMPARE(grid_->Row(), 1);
    QCOMPARE(grid_->Col(), 1);
  }

  void a_click_changes_the_cell_then_reports_the_button() {
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->CellRect(3, 2).center());
    QCOMPARE(log_->Take(), QStringList({"Leave 1,1", "Enter 3,2", "MouseDown 3,2"}));
    // Another click on the current cell reports the button only.
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->CellRect(3, 2).center());
    QCOMPARE(log_->Take(), QStringList({"MouseDown 3,2"}));
  }

  void a_right_click_keeps_the_current_cell() {
    QTest::mouseClick(grid_->viewport(), Qt::RightButton, {}, grid_->CellRect(4, 4).center());
    QCOMPARE(log_->Take(), QStringList({"RightDown 1,1"}));
  }

  void a_click_on_a_header_makes_it_current_and_keys_bring_it_back() {
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->CellRect(0, 3).center());
    QCOMPARE(grid_->Row(), 0);
    QCOMPARE(grid_->Col(), 3);
    QTest::keyClick(grid_.get(), Qt::Key_Down);
    QCOMPARE(grid_->Row(), 1);
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->CellRect(2, 0).center());
    QCOMPARE(grid_->Col(), 0);
    QTest::keyClick(grid_.get(), Qt::Key_Right);
    QCOMPARE(grid_->Col(), 1);
  }

  // Whole rows: a click on a channel number, Shift and Ctrl with it, Shift
  // with the keys; a click on another cell or a plain move ends them.
  void channel_numbers_and_shift_keys_select_whole_rows() {
    QSignalSpy changed(grid_.get(), &GridControl::RowSelectionChanged);
    auto click_number = [this](int row, Qt::KeyboardModifiers modifiers = {}) {
      QTest::mouseClick(grid_->viewport(), Qt::LeftButton, modifiers,
                        grid_->CellRect(row, 0).center());
    };
    click_number(3);
    QCOMPARE(grid_->SelectedRows(), std::vector<int>({3}));
    QCOMPARE(grid_->Row(), 3);
    QCOMPARE(grid_->Col(), 0);
    click_number(6, Qt::ShiftModifier);
    QCOMPARE(grid_->SelectedRows(), std::vector<int>({3, 4, 5, 6}));
    click_number(4, Qt::ControlModifier);
    QCOMPARE(grid_->SelectedRows(), std::vector<int>({3, 5, 6}));
    QCOMPARE(changed.count(), 3);

    // Shift+Up and Shift+Down select from the current row on.
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, grid_->CellRect(8, 2).center());
    QVERIFY(grid_->SelectedRows().empty());
    QTest::keyClick(grid_.get(), Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid_.get(), Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(grid_->SelectedRows(), std::vector<int>({8, 9, 10}));
    QTest::keyClick(grid_.get(), Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(grid_->SelectedRows(), std::vector<int>({8, 9}));
    QCOMPARE(grid_->Row(), 9);
    QCOMPARE(grid_->Col(), 2);
    QTest::keyClick(grid_.get(), Qt::Key_Down);
    QVERIFY(grid_->SelectedRows().empty());
    // Shift+click on a number selects from the row that was current.
    click_number(12, Qt::ShiftModifier);
    QCOMPARE(grid_->SelectedRows(), std::vector<int>({10, 11, 12}));
  }

  void double_click_reports_dblclick_without_a_second_mouse_down() {
    // A double click arrives as a press, a release and a double-click event.
    const QPoint center = grid_->CellRect(2, 2).center();
    QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, center);
    QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, {}, center);
    QCOMPARE(log_->Take(),
             QStringList({"Leave 1,1", "Enter 2,2", "MouseDown 2,2", "DblClick 2,2"}));
  }

  void arrow_keys_move_one_cell_with_one_event_pair_and_stop_at_the_edges() {
    QTest::keyClick(grid_.get(), Qt::Key_Right);
    QTest::keyClick(grid_.get(), Qt::Key_Down);
    QCOMPARE(log_->Take(), QStringList({"Leave 1,1", "Enter 1,2", "Leave 1,2", "Enter 2,2"}));
    grid_->SetCurrentCell(1, 1);
    log_->Take();
    QTest::keyClick(grid_.get(), Qt::Key_Up);
    QTest::keyClick(grid_.get(), Qt::Key_Left);
    QCOMPARE(log_->Take(), QStringList());  // never into the header row or column
  }

  void arrow_keys_step_over_a_hidden_column() {
    grid_->SetCol(8);
    log_->Take();
    QTest::keyClick(grid_.get(), Qt::Key_Right);
    QCOMPARE(grid_->Col(), 10);
    QTest::keyClick(grid_.get(), Qt::Key_Left);
    QCOMPARE(grid_->Col(), 8);
    QTest::keyClick(grid_.get(), Qt::Key_End);
    QCOMPARE(grid_->Col(), 11);
  }

  void moving_below_the_view_scrolls_after_the_cell_change() {
    QCOMPARE(grid_->TopRow(), 1);
    QTest::keyClick(grid_.get(), Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(grid_->Row(), 128);
    const QStringList events = log_->Take();
    QCOMPARE(events.first(), QStringLiteral("Leave 1,1"));
    QCOMPARE(events.at(1), QStringLiteral("Enter 128,11"));
    QVERIFY(events.contains(QStringLiteral("Scroll 128,11")));
    QVERIFY(grid_->TopRow() > 1);
    QVERIFY(grid_->viewport()->rect().contains(grid_->CellRect(128, 11).center()));
  }

  void ensure_visible_scrolls_only_when_needed() {
    grid_->EnsureCurrentVisible();
    QCOMPARE(log_->Take(), QStringList());
    grid_->SetRow(60);
    log_->Take();
    grid_->EnsureCurrentVisible();
    QCOMPARE(log_->Take(), QStringList({"Scroll 60,1"}));
    const QRect cell = grid_->CellRect(60, 1);
    QVERIFY(cell.top() >= grid_->RowHeight());
    QVERIFY(cell.bottom() <= grid_->viewport()->height());
  }

  void the_scroll_bars_and_the_wheel_report_scroll() {
    grid_->verticalScrollBar()->setValue(10);
    QCOMPARE(log_->Take(), QStringList({"Scroll 1,1"}));
    QCOMPARE(grid_->TopRow(), 11);
    grid_->horizontalScrollBar()->setValue(30);
    QCOMPARE(log_->Take(), QStringList({"Scroll 1,1"}));
  }

  void typed_characters_are_reported_but_control_keys_are_not() {
    QTest::keyClick(grid_.get(), Qt::Key_5);
    QTest::keyClicks(grid_.get(), QStringLiteral("a."));
    QTest::keyClick(grid_.get(), Qt::Key_Return);
    QTest::keyClick(grid_.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(grid_.get(), Qt::Key_Escape);
    QCOMPARE(log_->Take(), QStringList({"Key:5 1,1", "Key:a 1,1", "Key:. 1,1"}));
  }

  void cell_texts_and_current_text() {
    grid_->SetTextMatrix(128, 11, QStringLiteral("NAME"));
    QCOMPARE(grid_->TextMatrix(128, 11), QStringLiteral("NAME"));
    grid_->SetCurrentCell(128, 11);
    QCOMPARE(grid_->Text(), QStringLiteral("NAME"));
    grid_->SetText(QStringLiteral("OTHER"));
    QCOMPARE(grid_->TextMatrix(128, 11), QStringLiteral("OTHER"));
    grid_->SetTextMatrix(129, 0, QStringLiteral("x"));  // outside: ignored
    QCOMPARE(grid_->TextMatrix(129, 0), QString());
    QCOMPARE(grid_->RowSel(), 128);
    QCOMPARE(grid_->ColSel(), 11);
  }

  void cell_geometry_follows_widths_and_scrolling() {
    grid_->SetColWidth(0, 30);
    grid_->SetColWidth(1, 80);
    grid_->SetCurrentCell(2, 2);
    QCOMPARE(grid_->CellLeft(), 30 + 80);
    QCOMPARE(grid_->CellTop(), 2 * grid_->RowHeight());
    QCOMPARE(grid_->CellWidth(), 60);
    QCOMPARE(grid_->CellHeight(), grid_->RowHeight());
    grid_->SetTopRow(2);
    QCOMPARE(grid_->CellTop(), grid_->RowHeight());
    QCOMPARE(grid_->CellRect(0, 2).top(), 0);  // the header row stays
    int row = -1;
    int col = -1;
    QVERIFY(grid_->CellAt(QPoint(30 + 80 + 5, grid_->RowHeight() + 3), &row, &col));
    QCOMPARE(row, 2);
    QCOMPARE(col, 2);
    QVERIFY(grid_->CellAt(QPoint(5, 3), &row, &col));
    QCOMPARE(row, 0);
    QCOMPARE(col, 0);
    QCOMPARE(grid_->ColWidth(9), 0);
    grid_->SetColAlignment(4, GridControl::kAlignLeftCenter);
    QCOMPARE(grid_->ColAlignment(4), int(GridControl::kAlignLeftCenter));
  }

 private:
  std::unique_ptr<GridControl> grid_;
  std::unique_ptr<EventLog> log_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::GridControlTest)
#include "test_grid_control.moc"
