// SPDX-License-Identifier: GPL-3.0-or-later
// The Optional Features dialog: its controls, how it reads and writes the
// settings block, and the command of the main window.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <set>

#include "files/channel_document.h"
#include "tests/link/link_test_support.h"
#include "tests/ui/radio_test_support.h"
#include "ui/app/command_ids.h"
#include "ui/dialogs/optional_features_dialog.h"

namespace zlm5 {
namespace id = command_id;
using Dialog = OptionalFeaturesDialog;

namespace {

// The offsets where two images differ.
std::set<std::size_t> Differences(const RadioImage& a, const RadioImage& b) {
  std::set<std::size_t> offsets;
  for (std::size_t i = 0; i < image_map::kSize; ++i) {
    if (a.at(i) != b.at(i)) offsets.insert(i);
  }
  return offsets;
}

void SetBytes(RadioImage& image, std::size_t offset, std::initializer_list<std::uint8_t> bytes) {
  for (std::uint8_t b : bytes) image.set(offset++, b);
}

}  // namespace

class RadioOptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<test::TempDir>();
    window_ = std::make_unique<test::RadioWindow>(QString::fromStdString(dir_->path()));
    messages_ = std::make_unique<test::MessageLog>();
    image_ = ChannelDocument::NewDocumentImage();
  }
  void cleanup() {
    messages_.reset();
    window_.reset();
    dir_.reset();
  }

  // --- from the menu ---------------------------------------------------------

  void ok_on_a_new_document_writes_the_dialog_bytes_and_marks_the_document() {
    const RadioImage before = Frame().Document().image();
    QCOMPARE(before.at(0x812), std::uint8_t{0xC4});
    QCOMPARE(before.at(0x81B), std::uint8_t{0xFF});
    // The focused control's name is taken while the dialog is there: the
    // control goes with the dialog.
    QString focus_at_open;
    QString title;
    Radio().SetDialogHook([&](QDialog& shown) {
      title = shown.windowTitle();
      QWidget* focus = shown.focusWidget();
      QVERIFY(focus != nullptr);
      focus_at_open = focus->objectName();
      // Enter right away acts as OK: the focus starts on it.
      QTest::keyClick(focus, Qt::Key_Return);
    });
    Action(id::kOptionalFeatures)->trigger();

    QCOMPARE(title, QStringLiteral("Optional Features"));
    QCOMPARE(focus_at_open, ControlName(Dialog::kOkId));
    const RadioImage& after = Frame().Document().image();
    QCOMPARE(after.at(0x812), std::uint8_t{0x44});
    QCOMPARE(after.at(0x81B), std::uint8_t{0x00});
    QCOMPARE(after.at(0x817), std::uint8_t{4});
    QCOMPARE(after.at(0x818), std::uint8_t{0});
    for (std::size_t offset : Differences(before, after)) {
      QVERIFY2(offset == 0x812 || offset == 0x817 || offset == 0x818 || offset == 0x81B,
               qPrintable(QString::number(offset, 16)));
    }
    QVERIFY(Frame().Document().modified());
    QVERIFY(messages_->texts.isEmpty());
  }

  void cancel_after_changes_leaves_every_byte() {
    const RadioImage before = Frame().Document().image();
    int closes = 0;
    Radio().SetDialogHook([&](QDialog& shown) {
      ChangeEverything(shown);
      ++closes;
      QTest::mouseClick(Find<QPushButton>(shown, Dialog::kCancelId), Qt::LeftButton);
    });
    Action(id::kOptionalFeatures)->trigger();
    // Esc and the close box are Cancel too.
    Radio().SetDialogHook([&](QDialog& shown) {
      ChangeEverything(shown);
      ++closes;
      QTest::keyClick(&shown, Qt::Key_Escape);
    });
    Action(id::kOptionalFeatures)->trigger();
    Radio().SetDialogHook([&](QDialog& shown) {
      ChangeEverything(shown);
      ++closes;
      shown.close();
    });
    Action(id::kOptionalFeatures)->trigger();

    QCOMPARE(closes, 3);
    QVERIFY(Frame().Document().image() == before);
    QVERIFY(!Frame().Document().modified());
  }

  // --- the controls ----------------------------------------------------------

  void every_control_is_made_and_shown_or_hidden() {
    Dialog dialog(image_);
    dialog.show();
    const QList<int> shown = {Dialog::kOkId,       Dialog::kCancelId,      Dialog::kSquelchId,
                              Dialog::kBeepId,     Dialog::kScramblerId,   Dialog::kVoxGainId,
                              Dialog::kLanguageId, Dialog::kRadioIdId,     Dialog::kTotEditId,
                              Dialog::kTotSpinId,  Dialog::kBatterySaveId, Dialog::kEndOfTxId,
                              Dialog::kCallIdId,   Dialog::kOptSignalId};
    const QList<int> hidden = {Dialog::kAniId,       Dialog::kPf1Id,      Dialog::kPf2Id,
                               Dialog::kBeginOfTxId, Dialog::kPriorityId, Dialog::kCheckIdId,
                               Dialog::kKillIdId,    Dialog::kListenIdId};
    for (int control : shown) {
      QVERIFY2(dialog.Control(control) && dialog.Control(control)->isVisible(),
               qPrintable(QString::number(control)));
    }
    for (int control : hidden) {
      QVERIFY2(dialog.Control(control) && dialog.Control(control)->isHidden(),
               qPrintable(QString::number(control)));
    }
    QCOMPARE(Find<QPushButton>(dialog, Dialog::kOkId)->text(), QStringLiteral("OK"));
    QVERIFY(Find<QPushButton>(dialog, Dialog::kOkId)->isDefault());
    QCOMPARE(Find<QCheckBox>(dialog, Dialog::kScramblerId)->text(),
             QStringLiteral("Scrambler Activation"));
    QCOMPARE(Find<QCheckBox>(dialog, Dialog::kBatterySaveId)->text(),
             QStringLiteral("Battery Save"));
    QCOMPARE(Find<QCheckBox>(dialog, Dialog::kEndOfTxId)->text(), QStringLiteral("End of Tx"));
    QCOMPARE(Items(dialog, Dialog::kLanguageId),
             (QStringList{QStringLiteral("Germany "), QStringLiteral("English"),
                          QStringLiteral("OFF")}));
    QCOMPARE(Items(dialog, Dialog::kVoxGainId).size(), 11);
    QCOMPARE(Items(dialog, Dialog::kVoxGainId).first(), QStringLiteral("OFF"));
    QCOMPARE(Items(dialog, Dialog::kOptSignalId),
             (QStringList{QStringLiteral("CCIR"), QStringLiteral("OFF")}));
    QCOMPARE(Items(dialog, Dialog::kPf2Id).last(), QStringLiteral("Scrambler"));
    QCOMPARE(Items(dialog, Dialog::kPriorityId).size(), 128);
    QCOMPARE(Items(dialog, Dialog::kPriorityId).last(), QStringLiteral("128"));
    QStringList labels;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->isVisible()) labels.append(label->text());
    }
    for (const char* text :
         {"Time out time(TOT)(s)", "Squelch Level", "Vox Gain Level", "Language Choose", "Radio ID",
          "Call ID", "  Opt Signal In\nFrequent Mode"}) {
      QVERIFY2(labels.contains(QString::fromUtf8(text)), text);
    }
    QVERIFY(!labels.contains(QStringLiteral("ANI CODE")));
  }

  void tab_walks_the_template_order_and_the_radio_id_box_keeps_the_focus() {
    Dialog dialog(image_);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(QApplication::focusWidget(), dialog.Control(Dialog::kOkId));
    QStringList walk;
    for (int i = 0; i < 8; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      walk.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(walk, ControlNames({Dialog::kCancelId, Dialog::kSquelchId, Dialog::kBeepId,
                                 Dialog::kScramblerId, Dialog::kVoxGainId, Dialog::kLanguageId,
                                 Dialog::kRadioIdId, Dialog::kRadioIdId}));
    dialog.Control(Dialog::kTotEditId)->setFocus();
    walk.clear();
    for (int i = 0; i < 6; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      walk.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(walk, ControlNames({Dialog::kBatterySaveId, Dialog::kEndOfTxId, Dialog::kCallIdId,
                                 Dialog::kOptSignalId, Dialog::kOkId, Dialog::kCancelId}));
  }

  void the_radio_id_box_takes_digits_letters_and_backspace_only() {
    Dialog dialog(image_);
    dialog.show();
    auto* radio_id = Find<QLineEdit>(dialog, Dialog::kRadioIdId);
    radio_id->setFocus();
    QTest::keyClicks(radio_id, QStringLiteral("a1b"));
    QCOMPARE(radio_id->text(), QStringLiteral("A1B"));
    // Esc closes the dialog from here (see the accessibility tests).
    for (Qt::Key key :
         {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab, Qt::Key_Left, Qt::Key_Home, Qt::Key_Delete}) {
      QTest::keyClick(radio_id, key);
    }
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), 0);
    QCOMPARE(radio_id->cursorPosition(), 3);
    QCOMPARE(radio_id->text(), QStringLiteral("A1B"));
    QTest::keyClick(radio_id, Qt::Key_Backspace);
    QCOMPARE(radio_id->text(), QStringLiteral("A1"));
    QTest::keyClick(radio_id, Qt::Key_Minus);
    QCOMPARE(radio_id->text(), QStringLiteral("A1"));

    // The Call ID box has no filter, only upper case.
    auto* call_id = Find<QLineEdit>(dialog, Dialog::kCallIdId);
    call_id->setFocus();
    QTest::keyClicks(call_id, QStringLiteral("x-9"));
    QCOMPARE(call_id->text(), QStringLiteral("X-9"));
    Find<QPushButton>(dialog, Dialog::kOkId)->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(Bytes(0x830, 8),
             (std::vector<std::uint8_t>{'A', '1', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    QCOMPARE(Bytes(0x828, 8),
             (std::vector<std::uint8_t>{'X', '0', '9', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  }

  void the_time_out_spin_shows_seconds_and_stops_at_its_ends() {
    image_.set(0x814, 8);
    Dialog dialog(image_);
    dialog.show();
    auto* text = Find<QLineEdit>(dialog, Dialog::kTotEditId);
    auto* spin = Find<UpDownControl>(dialog, Dialog::kTotSpinId);
    QCOMPARE(text->text(), QStringLiteral("120"));
    QTest::mouseClick(spin->UpButton(), Qt::LeftButton);
    QCOMPARE(text->text(), QStringLiteral("135"));
    for (int i = 0; i < 9; ++i) QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
    QCOMPARE(text->text(), QStringLiteral("OFF"));
    QCOMPARE(spin->Position(), 0);
    QTest::mouseClick(spin->DownButton(), Qt::LeftButton);
    QCOMPARE(spin->Position(), 0);
    QCOMPARE(text->text(), QStringLiteral("OFF"));
    // The arrow keys in the box step the spin.
    for (int i = 0; i < 45; ++i) QTest::keyClick(text, Qt::Key_Up);
    QCOMPARE(spin->Position(), 40);
    QCOMPARE(text->text(), QStringLiteral("600"));
    QTest::keyClick(text, Qt::Key_Down);
    QCOMPARE(text->text(), QStringLiteral("585"));
    // The box takes no typing: it shows the position that is stored.
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("15"));
    QCOMPARE(text->text(), QStringLiteral("585"));
    Find<QPushButton>(dialog, Dialog::kOkId)->click();
    QCOMPARE(image_.at(0x814), std::uint8_t{39});

    // A byte beyond 40 starts the spin at 0.
    image_.set(0x814, 41);
    Dialog again(image_);
    QCOMPARE(Find<QLineEdit>(again, Dialog::kTotEditId)->text(), QStringLiteral("OFF"));
    QCOMPARE(Find<UpDownControl>(again, Dialog::kTotSpinId)->Position(), 0);
  }

  void the_controls_show_the_settings_read() {
    image_.set(0x813, 3);     // squelch 3
    image_.set(0x815, 10);    // VOX gain 10
    image_.set(0x812, 0x52);  // beep, scrambler; language "English"
    image_.set(0x816, 3);     // "OFF"
    SetBytes(image_, 0x830, {'1', '2', 'a', 'B', 0xFF});
    Dialog dialog(image_);
    QCOMPARE(Combo(dialog, Dialog::kSquelchId)->currentText(), QStringLiteral("3"));
    QCOMPARE(Combo(dialog, Dialog::kVoxGainId)->currentText(), QStringLiteral("10"));
    QCOMPARE(Combo(dialog, Dialog::kLanguageId)->currentText(), QStringLiteral("English"));
    QCOMPARE(Combo(dialog, Dialog::kOptSignalId)->currentText(), QStringLiteral("OFF"));
    QVERIFY(Find<QCheckBox>(dialog, Dialog::kBeepId)->isChecked());
    QVERIFY(Find<QCheckBox>(dialog, Dialog::kScramblerId)->isChecked());
    QVERIFY(!Find<QCheckBox>(dialog, Dialog::kBatterySaveId)->isChecked());
    QCOMPARE(Find<QLineEdit>(dialog, Dialog::kRadioIdId)->text(), QStringLiteral("12AB"));
    QCOMPARE(Find<QLineEdit>(dialog, Dialog::kRadioIdId)->maxLength(), 8);
    QCOMPARE(Find<QLineEdit>(dialog, Dialog::kAniId)->maxLength(), 4);
    QCOMPARE(Find<QLineEdit>(dialog, Dialog::kTotEditId)->maxLength(), 10);
  }

  void hidden_codes_are_written_back_as_the_radio_keeps_them() {
    SetBytes(image_, 0x820, {'5', '6', '7', '8', 0xFF, 0xFF, 0xFF, 0xFF});
    SetBytes(image_, 0x838, {0x31, 0xFF, 0x32, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    Dialog dialog(image_);
    QCOMPARE(Find<QLineEdit>(dialog, Dialog::kAniId)->text(), QStringLiteral("5678"));
    Find<QPushButton>(dialog, Dialog::kOkId)->click();
    QCOMPARE(Bytes(0x820, 8),
             (std::vector<std::uint8_t>{0x31, 0x36, 0x37, 0x38, 0xFF, 0xFF, 0xFF, 0xFF}));
    QCOMPARE(Bytes(0x838, 8),
             (std::vector<std::uint8_t>{0x31, 0x32, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  }

  // Every list can only be chosen from: a key picks the entry it begins,
  // a key that begins no entry changes nothing, and OK stores the entry
  // shown, never 0xFF for typed text.
  void typing_into_a_list_picks_the_entry_it_begins() {
    image_.set(0x813, 4);
    image_.set(0x815, 6);
    image_.set(0x816, 2);     // "CCIR"
    image_.set(0x812, 0x46);  // language bits 10: "English"
    Dialog dialog(image_);
    dialog.show();
    for (int list : {Dialog::kSquelchId, Dialog::kVoxGainId, Dialog::kLanguageId, Dialog::kPf1Id,
                     Dialog::kPf2Id, Dialog::kOptSignalId, Dialog::kPriorityId}) {
      QVERIFY2(!Combo(dialog, list)->isEditable(), qPrintable(QString::number(list)));
    }
    QTest::keyClick(Combo(dialog, Dialog::kSquelchId), Qt::Key_7);
    QTest::keyClick(Combo(dialog, Dialog::kVoxGainId), Qt::Key_X);
    QTest::keyClick(Combo(dialog, Dialog::kLanguageId), Qt::Key_G);
    QTest::keyClick(Combo(dialog, Dialog::kOptSignalId), Qt::Key_O);
    QCOMPARE(Combo(dialog, Dialog::kSquelchId)->currentText(), QStringLiteral("7"));
    QCOMPARE(Combo(dialog, Dialog::kVoxGainId)->currentText(), QStringLiteral("6"));
    QCOMPARE(Combo(dialog, Dialog::kLanguageId)->currentText(), QStringLiteral("Germany "));
    QCOMPARE(Combo(dialog, Dialog::kOptSignalId)->currentText(), QStringLiteral("OFF"));
    Find<QPushButton>(dialog, Dialog::kOkId)->click();
    QCOMPARE(image_.at(0x813), std::uint8_t{7});
    QCOMPARE(image_.at(0x815), std::uint8_t{6});
    QCOMPARE(image_.at(0x812) & 0x03, 0x03);  // "Germany "
    QCOMPARE(image_.at(0x816), std::uint8_t{3});
  }

 private:
  MainFrame& Frame() { return *window_->frame; }
  RadioOperations& Radio() { return *window_->radio; }
  QAction* Action(int command) { return Frame().Action(command); }

  // Every control has its id as object name.
  static QString ControlName(int control) { return QStringLiteral("control%1").arg(control); }
  static QStringList ControlNames(std::initializer_list<int> controls) {
    QStringList names;
    for (int control : controls) names.append(ControlName(control));
    return names;
  }
  template <typename T>
  static T* Find(QWidget& dialog, int control) {
    T* widget = dialog.findChild<T*>(ControlName(control));
    if (widget == nullptr) qFatal("control %d missing", control);
    return widget;
  }
  static QComboBox* Combo(QWidget& dialog, int control) { return Find<QComboBox>(dialog, control); }
  static QStringList Items(QWidget& dialog, int control) {
    QStringList items;
    QComboBox* box = Combo(dialog, control);
    for (int i = 0; i < box->count(); ++i) items.append(box->itemText(i));
    return items;
  }
  std::vector<std::uint8_t> Bytes(std::size_t offset, std::size_t count) const {
    return {image_.bytes().begin() + offset, image_.bytes().begin() + offset + count};
  }

  // Changes a value in every kind of control.
  static void ChangeEverything(QDialog& shown) {
    Combo(shown, Dialog::kSquelchId)->setCurrentIndex(9);
    Combo(shown, Dialog::kVoxGainId)->setCurrentIndex(5);
    Combo(shown, Dialog::kLanguageId)->setCurrentIndex(0);
    Combo(shown, Dialog::kOptSignalId)->setCurrentIndex(0);
    for (int box :
         {Dialog::kBeepId, Dialog::kScramblerId, Dialog::kBatterySaveId, Dialog::kEndOfTxId}) {
      Find<QCheckBox>(shown, box)->toggle();
    }
    QTest::mouseClick(Find<UpDownControl>(shown, Dialog::kTotSpinId)->UpButton(), Qt::LeftButton);
    Find<QLineEdit>(shown, Dialog::kRadioIdId)->setText(QStringLiteral("777"));
    Find<QLineEdit>(shown, Dialog::kCallIdId)->setText(QStringLiteral("12"));
  }

  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<test::RadioWindow> window_;
  std::unique_ptr<test::MessageLog> messages_;
  RadioImage image_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::RadioOptionsTest)
#include "test_radio_options.moc"
