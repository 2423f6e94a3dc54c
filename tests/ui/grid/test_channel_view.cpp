// SPDX-License-Identifier: GPL-3.0-or-later
// The channel view: which editor opens where and with what, the two commit
// paths (leaving the cell, the Enter key walk), the name editor's filter,
// scrolling, the form boxes and the status-bar help texts.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

#include <memory>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app/command_ids.h"
#include "ui/app/main_frame.h"
#include "ui/app/message_box.h"
#include "ui/grid/cell_editor.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"

namespace zlm5 {
namespace {

const QString kSelectionHelp =
    QStringLiteral("Please click the CommBox to choose value，For help，please press F1");
const QString kGridHelp =
    QStringLiteral("Please Click the cell to edit or input data，For help，please press F1");

}  // namespace

using test::ImageWith;

class ChannelViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    settings_ = std::make_unique<test::TempSettings>();
    messages_ = std::make_unique<test::MessageRecorder>();
    frame_ = std::make_unique<MainFrame>(settings_->Get());
    frame_->resize(730, 768);
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
  }
  void cleanup() {
    frame_.reset();
    messages_.reset();
    settings_.reset();
  }

  // --- opening editors by typing --------------------------------------

  void a_digit_typed_over_an_empty_frequency_cell_opens_the_editor_holding_it() {
    Select(1, 1);
    QTest::keyClick(&Grid(), Qt::Key_5);
    CellEditor* editor = View().OpenEditor();
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->Id(), ChannelView::kFrequencyEditorId);
    QCOMPARE(editor->Text(), QStringLiteral("5"));
    QVERIFY(!editor->LineEdit()->hasSelectedText());
    QCOMPARE(editor->LineEdit()->cursorPosition(), 1);
    QCOMPARE(QApplication::focusWidget(), editor->Widget());
    // What follows goes into the editor.
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("46.525"));
    QCOMPARE(editor->Text(), QStringLiteral("546.525"));
    QVERIFY(messages_->Texts().isEmpty());
  }

  void a_digit_typed_over_a_filled_cell_replaces_its_text() {
    Load(ImageWith({{1, 1, "146.525"}}));
    Select(1, 1);
    QTest::keyClick(&Grid(), Qt::Key_5);
    QCOMPARE(View().OpenEditor()->Text(), QStringLiteral("5"));
    QCOMPARE(View().OpenEditor()->LineEdit()->cursorPosition(), 1);
  }

  void a_letter_typed_over_a_cell_asks_for_a_number() {
    Load(ImageWith({{1, 1, "146.525"}}));
    Select(1, 1);
    QTest::keyClick(&Grid(), Qt::Key_X);
    QCOMPARE(messages_->Texts(), QStringList({"Please input Number"}));
    QCOMPARE(View().OpenEditor()->Text(), QStringLiteral("x"));
    View().HideAllEditors();

    messages_->Clear();
    Select(2, 1);
    QTest::keyClick(&Grid(), Qt::Key_X);
    QCOMPARE(messages_->Texts(), QStringList({"Please input Number"}));
    QCOMPARE(View().OpenEditor()->Text(), QString());
  }

  void the_editor_never_touches_the_clipboard() {
    QApplication::clipboard()->setText(QStringLiteral("kept by the user"));
    Select(1, 1);
    QTest::keyClick(&Grid(), Qt::Key_7);
    Select(1, 3);
    QTest::keyClick(&Grid(), Qt::Key_6);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept by the user"));
  }

  // --- leave-cell commit ------------------------------------------------

  void the_first_frequency_of_a_row_fills_its_defaults_when_the_cell_is_left() {
    Click(1, 1);
    Type(QStringLiteral("146.525"));
    QVERIFY(!Document().modified());
    Click(2, 1);
    QCOMPARE(Row(1), QStringList({"146.52500", "146.52500", "OFF", "OFF", "Wide", "Yes", "High",
                                  "None", "ON", "Close", ""}));
    QVERIFY(Document().modified());
    QVERIFY(frame_->DocumentPaneText().endsWith(QStringLiteral(" *")));
    // The click opened the editor of the new cell, preloaded with its text.
    QCOMPARE(View().OpenEditor()->Id(), ChannelView::kFrequencyEditorId);
    QCOMPARE(Grid().Row(), 2);
  }

  void a_rejected_frequency_is_reported_and_leaves_the_row_empty() {
    Click(1, 1);
    Type(QStringLiteral("600"));
    Click(2, 2);
    QCOMPARE(messages_->Texts(), QStringList({"Error Data Format，Please input again"}));
    QCOMPARE(Row(1), QStringList(11, QString()));

    messages_->Clear();
    Click(1, 1);
    Type(QStringLiteral("146.5215"));
    Click(2, 2);
    QCOMPARE(
        messages_->Texts(),
        QStringList({"Error data Value，Please input according the step value(6.25K/5k/2.5k)"}));
    QCOMPARE(Cell(1, 1), QString());
  }

  // The real message box breaks its lines only at blanks: however narrow,
  // "(6.25K/5k/2.5k)" stays on one line, and the text is the message's own.
  void the_step_message_box_breaks_lines_only_at_blanks() {
    const QString message =
        QStringLiteral("Error data Value，Please input according the step value(6.25K/5k/2.5k)");
    const MessageHandler recorder = SetMessageHandler({});
    QString shown;
    QTimer::singleShot(0, this, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = box->text();
        box->accept();
      }
    });
    Click(1, 1);
    Type(QStringLiteral("146.5215"));
    Click(2, 2);
    SetMessageHandler(recorder);
    QCOMPARE(QString(shown).remove(QChar(0x2060)), message);
    QTextLayout layout(shown, Grid().font());
    QTextOption wrap;
    wrap.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(wrap);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(1);
      lines.append(shown.mid(line.textStart(), line.textLength()).remove(QChar(0x2060)).trimmed());
    }
    layout.endLayout();
    QVERIFY2(lines.contains(QStringLiteral("value(6.25K/5k/2.5k)")), qPrintable(lines.join('|')));
  }

  // A selection box lies on its cell and is no wider, so the next cell's
  // text stays in view, and its field shows the widest entries whole.
  void a_selection_box_lies_on_its_cell_and_shows_its_entry_whole() {
    Load(ImageWith({{1, 1, "146.525"}, {1, 3, "D754N"}, {1, 5, "Narrow"}, {1, 10, "Carrier"}}));
    for (int col = 3; col <= 10; ++col) {
      if (Grid().ColWidth(col) == 0) continue;
      Click(1, col);
      CellEditor* editor = View().OpenEditor();
      QVERIFY(editor != nullptr && editor->IsSelectionBox());
      QComboBox* box = editor->ComboBox();
      QVERIFY2(Grid().CellRect(1, col).contains(box->geometry()),
               qPrintable(QStringLiteral("column %1").arg(col)));
      QStyleOptionComboBox option;
      option.initFrom(box);
      const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                       QStyle::SC_ComboBoxEditField, box);
      QVERIFY2(box->fontMetrics().horizontalAdvance(editor->Text()) < field.width(),
               qPrintable(editor->Text()));
    }
  }

  void a_list_choice_is_stored_when_its_cell_is_left() {
    Load(ImageWith({{1, 1, "146.525"}}));
    Click(1, 10);
    CellEditor* list = View().OpenEditor();
    QCOMPARE(list->Id(), ChannelView::kBusyLockListId);
    QCOMPARE(list->Text(), QStringLiteral("Close"));  // preloaded from the cell
    list->ComboBox()->setCurrentIndex(list->ComboBox()->findText(QStringLiteral("QT/DQT")));
    Click(2, 1);
    QCOMPARE(Cell(1, 10), QStringLiteral("QT/DQT"));
  }

  void the_leave_cell_commit_reaches_the_file_through_save() {
    QString path = settings_->Folder() + QStringLiteral("/saved.sin");
    frame_->SetFileChooser([&](MainFrame::FileDialogKind, const QString&) { return path; });
    Click(1, 1);
    Type(QStringLiteral("146.525"));
    Click(1, 11);
    Type(QStringLiteral("CALL"));
    Click(2, 1);
    QVERIFY(frame_->SaveDocument());
    const QByteArray bytes = test::ReadAll(path);
    QCOMPARE(bytes.size(), 4096);
    QCOMPARE(bytes.mid(0, 8), QByteArray::fromHex("0025651400256514"));
    QCOMPARE(bytes.mid(0x850, 8), QByteArray::fromHex("0c0a1515ffffffff"));  // C A L L
    QVERIFY(!Document().modified());
  }

  void an_open_editor_is_committed_before_saving() {
    QString path = settings_->Folder() + QStringLiteral("/open-editor.sin");
    frame_->SetFileChooser([&](MainFrame::FileDialogKind, const QString&) { return path; });
    Click(1, 1);
    Type(QStringLiteral("446.00625"));
    QVERIFY(frame_->SaveDocument());
    QCOMPARE(View().OpenEditor(), nullptr);
    QCOMPARE(test::ReadAll(path).mid(0, 4), QByteArray::fromHex("25066044"));
  }

  // --- the Enter key ------------------------------------------------------

  void enter_walks_the_row_and_on_to_the_next_channel() {
    Click(1, 1);
    Type(QStringLiteral("146.525"));
    PressEnter();
    QCOMPARE(Grid().Col(), 2);
    CellEditor* editor = View().OpenEditor();
    QCOMPARE(editor->Id(), ChannelView::kFrequencyEditorId);
    QCOMPARE(editor->Text(), QStringLiteral("146.52500"));
    QVERIFY(editor->LineEdit()->hasSelectedText());
    // The Enter path does not touch the name cell.
    QCOMPARE(Row(1).mid(0, 10), QStringList({"146.52500", "146.52500", "OFF", "OFF", "Wide", "Yes",
                                             "High", "None", "ON", "Close"}));

    QStringList walked;  // each column with the editor opened on it
    for (int step = 0; step < 8; ++step) {
      walked.append(QStringLiteral("%1 %2")
                        .arg(Grid().Col())
                        .arg(View().OpenEditor()->Widget()->objectName()));
      PressEnter();
    }
    // 2, the tones 3 and 4, the lists 5..8, then 10 (the hidden PTT ID
    // column 9 is stepped over), and the name.
    QCOMPARE(walked,
             QStringList({"2 frequencyEditor", "3 toneBox", "4 toneBox", "5 bandwidthList",
                          "6 scanList", "7 txPowerList", "8 optSignalList", "10 busyLockList"}));
    QCOMPARE(Grid().Col(), 11);
    QCOMPARE(View().OpenEditor()->Id(), ChannelView::kNameEditorId);
    Type(QStringLiteral("ab1"));
    PressEnter();
    QCOMPARE(Cell(1, 11), QStringLiteral("AB1"));
    QCOMPARE(Grid().Row(), 2);
    QCOMPARE(Grid().Col(), 1);
    QCOMPARE(View().OpenEditor()->Id(), ChannelView::kFrequencyEditorId);
    QCOMPARE(Row(1).mid(2, 8),
             QStringList({"OFF", "OFF", "Wide", "Yes", "High", "None", "ON", "Close"}));
  }

  void enter_on_channel_128_stays_on_its_row() {
    Load(ImageWith({{128, 1, "446.1"}}));
    Select(128, 10);
    View().OpenCellEditor(ChannelView::kNoKey);
    View().OpenEditor()->ComboBox()->setCurrentIndex(1);  // "Carrier"
    PressEnter();
    QCOMPARE(Cell(128, 10), QStringLiteral("Carrier"));
    QCOMPARE(Grid().Row(), 128);
    QCOMPARE(Grid().Col(), 10);
    QCOMPARE(View().OpenEditor(), nullptr);

    Select(128, 11);
    QTest::keyClick(&Grid(), Qt::Key_7);
    Type(QStringLiteral("X"));
    PressEnter();
    QCOMPARE(Cell(128, 11), QStringLiteral("7X"));
    QCOMPARE(Grid().Row(), 128);
    QCOMPARE(View().OpenEditor(), nullptr);
    // The key went on as Tab: the focus left the grid.
    QVERIFY(!Grid().hasFocus());
  }

  void enter_stores_the_tone_typed_and_opens_the_next_tone() {
    Load(ImageWith({{1, 1, "146.525"}}));
    Click(1, 3);
    QCOMPARE(View().OpenEditor()->Id(), ChannelView::kToneBoxId);
    QCOMPARE(View().OpenEditor()->Text(), QStringLiteral("OFF"));
    View().OpenEditor()->LineEdit()->selectAll();
    Type(QStringLiteral("d023n"));
    PressEnter();
    QCOMPARE(Cell(1, 3), QStringLiteral("D023N"));
    QCOMPARE(Grid().Col(), 4);
    QCOMPARE(View().OpenEditor()->Id(), ChannelView::kToneBoxId);
    QCOMPARE(View().OpenEditor()->Text(), QStringLiteral("OFF"));
  }

  void typing_over_a_tone_cell_seeds_the_text_field() {
    Load(ImageWith({{1, 1, "146.525"}}));
    Select(1, 4);
    QTest::keyClick(&Grid(), Qt::Key_8);
    Type(QStringLiteral("8.5"));
    QCOMPARE(View().OpenEditor()->Text(), QStringLiteral("88.5"));
    Click(2, 1);
    QCOMPARE(Cell(1, 4), QStringLiteral("88.5"));
  }

  void enter_on_the_grid_moves_right_and_tabs_away_from_the_scan_column() {
    Select(1, 1);
    QTest::keyClick(&Grid(), Qt::Key_Return);
    QCOMPARE(Grid().Col(), 2);
    QCOMPARE(View().OpenEditor(), nullptr);
    Select(1, 6);
    QTest::keyClick(&Grid(), Qt::Key_Return);
    QCOMPARE(Grid().Col(), 6);
    QVERIFY(!Grid().hasFocus());
  }

  // --- the name editor --------------------------------------------------

  void the_name_editor_takes_name_characters_in_upper_case_and_six_at_most() {
    Click(1, 11);
    CellEditor* name = View().OpenEditor();
    QCOMPARE(name->Id(), ChannelView::kNameEditorId);
    Type(QStringLiteral("ab-1.x"));
    QCOMPARE(name->Text(), QStringLiteral("AB-1X"));
    QTest::keyClick(name->Widget(), Qt::Key_Left);  // swallowed
    QTest::keyClick(name->Widget(), Qt::Key_Home);  // swallowed
    QCOMPARE(name->LineEdit()->cursorPosition(), 5);
    QTest::keyClick(name->Widget(), Qt::Key_2, Qt::KeypadModifier);
    Type(QStringLiteral("YZ"));
    QCOMPARE(name->Text(), QStringLiteral("AB-1X2"));
    QTest::keyClick(name->Widget(), Qt::Key_Backspace);
    Type(QStringLiteral(" "));
    QCOMPARE(name->Text(), QStringLiteral("AB-1X "));
  }

  // A character a name cannot hold, typed over a name cell, is not put into
  // the editor: what follows can still be typed.
  void a_non_name_character_typed_over_a_name_cell_is_not_seeded() {
    Load(ImageWith({{1, 11, "OLD"}}));
    Select(1, 11);
    QTest::keyClick(&Grid(), Qt::Key_Period);
    QCOMPARE(messages_->Texts(), QStringList({"Please input Number"}));
    CellEditor* name = View().OpenEditor();
    QCOMPARE(name->Id(), ChannelView::kNameEditorId);
    QCOMPARE(name->Text(), QString());
    Type(QStringLiteral("new"));
    QCOMPARE(name->Text(), QStringLiteral("NEW"));
  }

  void looking_at_cells_changes_nothing() {
    RadioImage image = ImageWith({{1, 1, "146.525"}});
    // A receive tone of 69.4 Hz, which is no list entry, and a name of 8
    // characters on an unused channel.
    image.set(8, 0x94);
    image.set(9, 0x06);
    const std::array<std::uint8_t, 8> name = {10, 11, 12, 13, 14, 15, 16, 17};
    std::copy(name.begin(), name.end(), image.Name(2).begin());
    Load(image);
    QCOMPARE(Cell(1, 3), QStringLiteral("69.4"));
    QCOMPARE(Cell(2, 11), QStringLiteral("ABCDEFGH"));

    Click(1, 3);
    QCOMPARE(View().OpenEditor()->Text(), QStringLiteral("69.4"));
    Click(2, 11);
    QCOMPARE(View().OpenEditor()->Text(), QStringLiteral("ABCDEFGH"));
    Click(2, 1);  // an empty frequency of a channel that has only a name
    Click(1, 8);
    Click(3, 3);
    QCOMPARE(Cell(1, 3), QStringLiteral("69.4"));
    QCOMPARE(Cell(2, 11), QStringLiteral("ABCDEFGH"));
    QVERIFY(!Document().modified());
  }

  // --- scrolling, headers, Esc --------------------------------------------

  void scrolling_hides_the_editor_without_committing() {
    Click(1, 1);
    Type(QStringLiteral("146.525"));
    Grid().SetTopRow(40);
    QCOMPARE(View().OpenEditor(), nullptr);
    QCOMPARE(Cell(1, 1), QString());
    QVERIFY(!Document().modified());
  }

  // An editor closed without storing its text (a scroll, Esc) or stored
  // without leaving the cell (Save) holds the cell's text again: a digit
  // typed over the cell afterwards starts afresh.
  void an_editor_closed_on_its_cell_starts_afresh_from_the_cell() {
    Click(4, 1);
    Type(QStringLiteral("146"));
    Grid().SetTopRow(40);
    QCOMPARE(View().OpenEditor(), nullptr);
    QTest::keyClick(&Grid(), Qt::Key_5);
    QCOMPARE(View().OpenEditor()->Text(), QStringLiteral("5"));

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::keyClick(&Grid(), Qt::Key_6);
    QCOMPARE(View().OpenEditor()->Text(), QStringLiteral("6"));

    Type(QStringLiteral("00"));  // 600 MHz: rejected, the cell stays empty
    View().CommitOpenEditor();
    QCOMPARE(messages_->Texts(), QStringList({"Error Data Format，Please input again"}));
    QCOMPARE(Cell(4, 1), QString());
    QTest::keyClick(&Grid(), Qt::Key_7);
    QCOMPARE(View().OpenEditor()->Text(), QStringLiteral("7"));
  }

  void header_cells_open_nothing() {
    DoubleClick(0, 3);
    QCOMPARE(Grid().Row(), 0);
    QCOMPARE(View().OpenEditor(), nullptr);
    DoubleClick(5, 0);
    QCOMPARE(Grid().Col(), 0);
    QCOMPARE(View().OpenEditor(), nullptr);
    QTest::keyClick(&Grid(), Qt::Key_5);
    QCOMPARE(View().OpenEditor(), nullptr);
    QVERIFY(messages_->Texts().isEmpty());
  }

  void a_right_click_opens_nothing() {
    QTest::mouseClick(Grid().viewport(), Qt::RightButton, {}, Grid().CellRect(3, 3).center());
    QCOMPARE(View().OpenEditor(), nullptr);
  }

  void esc_closes_the_editor_without_committing() {
    Click(1, 1);
    Type(QStringLiteral("146.525"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(View().OpenEditor(), nullptr);
    QVERIFY(Grid().hasFocus());
    Click(2, 1);
    QCOMPARE(Cell(1, 1), QString());
  }

  // Leaving the cell, unlike Enter, gives a channel's first frequency a new
  // row's empty name.
  void commit_open_editor_is_the_leave_cell_commit() {
    Load(ImageWith({{3, 11, "OLD"}}));
    Click(3, 2);
    Type(QStringLiteral("433.5"));
    View().CommitOpenEditor();
    QCOMPARE(View().OpenEditor(), nullptr);
    QCOMPARE(Row(3), QStringList({"", "433.50000", "OFF", "OFF", "Wide", "Yes", "High", "None",
                                  "ON", "Close", ""}));
    QCOMPARE(Grid().Row(), 3);
  }

  // --- commands, form boxes, status bar ----------------------------------

  void edit_data_explains_and_goes_to_the_first_cell() {
    Select(40, 7);
    frame_->Action(command_id::kEditData)->trigger();
    QCOMPARE(messages_->Texts(), QStringList({"Please directly double click inside the table"}));
    QCOMPARE(Grid().Row(), 1);
    QCOMPARE(Grid().Col(), 1);
  }

  void typing_into_type_field_or_power_rank_puts_back_a_fixed_entry() {
    QComboBox* field = View().FormBoxWidget(FormBox::Field);
    field->setCurrentIndex(7);
    QTest::keyClicks(field->lineEdit(), QStringLiteral("4"));
    QCOMPARE(field->currentIndex(), 2);
    QCOMPARE(field->currentText(), QStringLiteral("240 - 260MHz"));
    QComboBox* type = View().FormBoxWidget(FormBox::Type);
    QTest::keyClicks(type->lineEdit(), QStringLiteral("Z"));
    QCOMPARE(type->currentIndex(), 0);
    QCOMPARE(type->currentText(), QStringLiteral("RaNOX-ONE"));
    QComboBox* rank = View().FormBoxWidget(FormBox::PowerRank);
    QVERIFY(rank->isHidden());
    rank->setCurrentIndex(3);
    QTest::keyClicks(rank->lineEdit(), QStringLiteral("1"));
    QCOMPARE(rank->currentIndex(), 9);
    QVERIFY(Document().modified());
  }

  // "Manul Setting" takes typing, but always shows the entry that is stored.
  void the_manual_box_shows_the_entry_it_stores() {
    QComboBox* manual = View().FormBoxWidget(FormBox::Manual);
    QCOMPARE(manual->currentIndex(), 0);
    // Enter moves the focus on as Tab does; leaving the box ends the typing.
    manual->setFocus();
    manual->lineEdit()->selectAll();
    QTest::keyClicks(manual->lineEdit(), QStringLiteral("xyz"));
    QTest::keyClick(manual->lineEdit(), Qt::Key_Return);
    QCOMPARE(manual->currentIndex(), 0);
    QCOMPARE(manual->currentText(), QStringLiteral("Open"));
    QVERIFY(!Document().modified());

    manual->setFocus();
    manual->lineEdit()->selectAll();
    QTest::keyClicks(manual->lineEdit(), QStringLiteral("c"));
    QTest::keyClick(manual->lineEdit(), Qt::Key_Return);
    QCOMPARE(manual->currentIndex(), 1);
    QCOMPARE(manual->currentText(), QStringLiteral("Close"));
    QVERIFY(Document().modified());
  }

  void box_selections_are_decoded_encoded_and_mark_the_document() {
    RadioImage image = ChannelDocument::NewDocumentImage();
    image.set(0x80A, 0xF5);
    Load(image);
    QCOMPARE(View().BoxEntryText(FormBox::Field), QStringLiteral("470 - 490MHz"));
    QCOMPARE(View().BoxEntryText(FormBox::Manual), QStringLiteral("Open"));
    QVERIFY(!Document().modified());
    View().FormBoxWidget(FormBox::Manual)->setCurrentIndex(1);
    QVERIFY(Document().modified());
    View().EncodeToImage();
    QCOMPARE(Document().image().at(0x812) & 0x80, 0);
    QCOMPARE(Document().image().at(0x80A), 0xF5);
  }

  void the_status_bar_names_what_is_under_the_mouse() {
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(View().FormBoxWidget(FormBox::Field), &enter);
    QCOMPARE(frame_->MessageText(), kSelectionHelp);
    QApplication::sendEvent(Grid().viewport(), &enter);
    QCOMPARE(frame_->MessageText(), kGridHelp);
    Click(1, 5);
    QApplication::sendEvent(View().OpenEditor()->Widget(), &enter);
    QCOMPARE(frame_->MessageText(), kSelectionHelp);
    QApplication::sendEvent(&View(), &enter);
    QCOMPARE(frame_->MessageText(), QStringLiteral("For help，please press F1"));
    View().ShowStatusText(QStringLiteral("12"));
    QCOMPARE(frame_->MessageText(), QStringLiteral("12"));
  }

  void refreshing_from_the_image_is_no_edit() {
    Load(ImageWith({{5, 1, "145.5"}}));
    QCOMPARE(Cell(5, 1), QStringLiteral("145.50000"));
    QCOMPARE(Cell(0, 8), QStringLiteral(" Opt Signal"));
    QCOMPARE(Cell(0, 5), QStringLiteral(" W/N "));
    QCOMPARE(Cell(128, 0), QStringLiteral("128"));
    QVERIFY(!Document().modified());
    QCOMPARE(Grid().ColWidth(9), 0);
  }

 private:
  ChannelView& View() { return frame_->View(); }
  GridControl& Grid() { return frame_->View().GridWidget(); }
  ChannelDocument& Document() { return frame_->Document(); }
  QString Cell(int row, int col) { return Grid().TextMatrix(row, col); }
  QStringList Row(int row) {
    QStringList cells;
    for (int col = 1; col <= 11; ++col) cells.append(Cell(row, col));
    return cells;
  }
  void Load(const RadioImage& image) {
    Document().image() = image;
    View().OnInitialUpdate();
  }
  void Select(int row, int col) {
    Grid().SetCurrentCell(row, col);
    Grid().setFocus();
  }
  void Click(int row, int col) {
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, Grid().CellRect(row, col).center());
  }
  // A double click arrives as a press, a release and a double-click event.
  void DoubleClick(int row, int col) {
    const QPoint center = Grid().CellRect(row, col).center();
    QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, center);
    QTest::mouseDClick(Grid().viewport(), Qt::LeftButton, {}, center);
  }
  void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
  void PressEnter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

  std::unique_ptr<test::TempSettings> settings_;
  std::unique_ptr<test::MessageRecorder> messages_;
  std::unique_ptr<MainFrame> frame_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::ChannelViewTest)
#include "test_channel_view.moc"
