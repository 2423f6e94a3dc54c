// SPDX-License-Identifier: GPL-3.0-or-later
// The window's dialogs, message boxes, transfer progress and menus as a
// screen reader meets them: through the QAccessible interfaces Qt serves
// to AT-SPI, UI Automation and IAccessible2. Every control the keyboard
// reaches says what it is, Tab gets to the buttons, and what is read is the
// text the user sees, without the characters that only shape the layout.

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "files/channel_document.h"
#include "model/document_compare.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app/about_dialog.h"
#include "ui/app/command_ids.h"
#include "ui/app/main_frame.h"
#include "ui/app/message_box.h"
#include "ui/dialogs/check_dialog.h"
#include "ui/dialogs/compare_dialog.h"
#include "ui/dialogs/import_report_dialog.h"
#include "ui/dialogs/optional_features_dialog.h"
#include "ui/radio/fleet_dialog.h"
#include "ui/radio/power_tuning_dialogs.h"
#include "ui/radio/progress_dialog.h"

namespace zlm5 {
namespace {

QString AccessibleName(QObject* object) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
  return iface ? iface->text(QAccessible::Name) : QString();
}

// What a screen reader says a control is: the label it is labelled by
// (AT-SPI's labelled-by relation, from a label's buddy), else its name. On
// Linux a list box's name is its current entry, so only the label says
// what it is.
QString SaidAs(QObject* object) {
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
  if (iface == nullptr) return {};
  // The group box a control sits in labels it too, but only as its group.
  for (const auto& [label, relation] : iface->relations(QAccessible::Label)) {
    if (label->role() != QAccessible::Grouping) return label->text(QAccessible::Name);
  }
  return iface->text(QAccessible::Name);
}

QString WithoutAmpersand(QString text) { return text.remove(QLatin1Char('&')); }

// The title of the group box the widget sits in; empty outside one.
QString GroupTitle(const QWidget* widget) {
  for (const QWidget* w = widget->parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (const auto* group = qobject_cast<const QGroupBox*>(w))
      return WithoutAmpersand(group->title());
  }
  return {};
}

// The controls the keyboard can reach: shown, taking the focus by Tab. The
// edit box inside a spin box counts as the spin box.
QList<QWidget*> FocusableControls(QWidget& dialog) {
  QList<QWidget*> controls;
  for (QWidget* w : dialog.findChildren<QWidget*>()) {
    if (!w->isVisible() || !(w->focusPolicy() & Qt::TabFocus)) continue;
    if (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr) continue;
    controls.append(w);
  }
  return controls;
}

QString Describe(QWidget* w) {
  if (w == nullptr) return QStringLiteral("nothing");
  return QStringLiteral("%1 \"%2\"")
      .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName());
}

// The controls as a sighted user reads them: line by line from the top,
// each line from the left. Two controls are on one line when their middles
// are less than half a control's height apart.
QList<QWidget*> VisibleOrder(QList<QWidget*> controls) {
  const auto middle = [](const QWidget* w) { return w->mapToGlobal(w->rect().center()); };
  std::stable_sort(controls.begin(), controls.end(), [&](const QWidget* a, const QWidget* b) {
    const QPoint pa = middle(a);
    const QPoint pb = middle(b);
    const int half = std::min(a->height(), b->height()) / 2;
    if (std::abs(pa.y() - pb.y()) >= half) return pa.y() < pb.y();
    return pa.x() < pb.x();
  });
  return controls;
}

// Where Tab goes from the dialog's first focus: each widget once, until the
// walk comes round or stops (a control that keeps the focus). `stuck` gets
// the control that kept it.
QList<QWidget*> TabWalk(QWidget& dialog, QWidget** stuck) {
  QList<QWidget*> walk;
  *stuck = nullptr;
  QWidget* focus = QApplication::focusWidget();
  for (int step = 0; step < 60 && focus != nullptr; ++step) {
    if (walk.contains(focus)) break;
    walk.append(focus);
    QTest::keyClick(focus, Qt::Key_Tab);
    QWidget* next = QApplication::focusWidget();
    if (next == focus) {
      *stuck = focus;
      break;
    }
    if (next == nullptr || next->window() != &dialog) break;
    focus = next;
  }
  return walk;
}

ChannelCsvImport SomeImport() {
  ChannelCsvImport import;
  import.channels.push_back({1, 2, {}});
  import.report.push_back({3, 0, "the value is not a frequency"});
  return import;
}

struct DialogCase {
  const char* title;
  std::function<std::unique_ptr<QDialog>(RadioImage&)> make;
  // The control where Tab stays, by the dialog's fixed order; null for none.
  int kept_focus_id = 0;
};

}  // namespace

class AccessibleNamesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QAccessible::setActive(true); }

  // --- every dialog -------------------------------------------------------

  void every_control_of_every_dialog_has_its_own_name_and_tab_reaches_the_buttons_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < static_cast<int>(Cases().size()); ++i) {
      QTest::newRow(Cases()[static_cast<std::size_t>(i)].title) << i;
    }
  }
  void every_control_of_every_dialog_has_its_own_name_and_tab_reaches_the_buttons() {
    QFETCH(int, index);
    const DialogCase& c = Cases()[static_cast<std::size_t>(index)];
    RadioImage image = ChannelDocument::NewDocumentImage();
    std::unique_ptr<QDialog> dialog = c.make(image);
    dialog->show();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));

    const QList<QWidget*> controls = FocusableControls(*dialog);
    QVERIFY(!controls.isEmpty());
    for (QWidget* control : controls) {
      const QString name = SaidAs(control).simplified();
      QVERIFY2(!name.isEmpty(), qPrintable(Describe(control) + " has no name"));
      const QString group = GroupTitle(control);
      QVERIFY2(group.isEmpty() || name != group,
               qPrintable(Describe(control) + " is named only by its group \"" + group + "\""));
    }

    QWidget* stuck = nullptr;
    const QList<QWidget*> walk = TabWalk(*dialog, &stuck);
    if (controls.size() == 1) {
      QCOMPARE(walk, controls);  // nowhere else to go
    } else if (c.kept_focus_id == 0) {
      QVERIFY2(stuck == nullptr, qPrintable(Describe(stuck) + " keeps the focus"));
    } else {
      QVERIFY(stuck != nullptr);
      QCOMPARE(stuck->objectName(), QStringLiteral("control%1").arg(c.kept_focus_id));
    }
    // Tab follows what is seen, except where the dialog's fixed order rules.
    if (c.kept_focus_id == 0 && controls.size() > 1) {
      QList<QWidget*> enabled;
      for (QWidget* w : controls) {
        if (w->isEnabled()) enabled.append(w);
      }
      QList<QWidget*> visible = VisibleOrder(enabled);
      // The walk may start anywhere in the round.
      std::rotate(visible.begin(), std::find(visible.begin(), visible.end(), walk.constFirst()),
                  visible.end());
      QStringList seen_order;
      QStringList tab_order;
      for (QWidget* w : visible) seen_order.append(Describe(w));
      for (QWidget* w : walk) tab_order.append(Describe(w));
      QCOMPARE(tab_order, seen_order);
    }
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (!button->isVisible() || !button->isEnabled() || !(button->focusPolicy() & Qt::TabFocus)) {
        continue;
      }
      QVERIFY2(walk.contains(button), qPrintable("Tab does not reach " + button->text()));
    }
  }

  void optional_features_names_each_box_by_its_own_label() {
    RadioImage image = ChannelDocument::NewDocumentImage();
    OptionalFeaturesDialog dialog(image);
    dialog.show();
    using D = OptionalFeaturesDialog;
    const QList<QPair<int, QString>> names = {
        {D::kTotEditId, QStringLiteral("Time out time(TOT)(s)")},
        {D::kSquelchId, QStringLiteral("Squelch Level")},
        {D::kLanguageId, QStringLiteral("Language Choose")},
        {D::kVoxGainId, QStringLiteral("Vox Gain Level")},
        {D::kOptSignalId, QStringLiteral("Opt Signal In Frequent Mode")},
        {D::kRadioIdId, QStringLiteral("Radio ID")},
        {D::kCallIdId, QStringLiteral("Call ID")},
        {D::kBeepId, QStringLiteral("Beep")},
        {D::kEndOfTxId, QStringLiteral("End of Tx")},
    };
    for (const auto& [id, name] : names) {
      QCOMPARE(SaidAs(dialog.Control(id)).simplified(), name);
    }
  }

  // The Radio ID box swallows Tab, Enter and the arrows; Esc and Alt+F4
  // still leave the dialog.
  void esc_and_alt_f4_close_optional_features_from_the_radio_id_box() {
    RadioImage image = ChannelDocument::NewDocumentImage();
    OptionalFeaturesDialog dialog(image);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget* radio_id = dialog.Control(OptionalFeaturesDialog::kRadioIdId);
    radio_id->setFocus();

    // Alt+F4 is the window manager's; the box must let it go up.
    struct KeyWatch : QObject {
      bool alt_f4 = false;
      bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
          const auto* key = static_cast<QKeyEvent*>(event);
          if (key->key() == Qt::Key_F4 && key->modifiers() == Qt::AltModifier) alt_f4 = true;
        }
        return false;
      }
    } watch;
    dialog.installEventFilter(&watch);
    QTest::keyClick(radio_id, Qt::Key_F4, Qt::AltModifier);
    QVERIFY(watch.alt_f4);
    QVERIFY(dialog.isVisible());

    QTest::keyClick(radio_id, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  // --- Program Several Radios ---------------------------------------------

  void the_fleet_table_is_named_and_reads_each_radios_progress() {
    FleetDialog dialog([] { return ChannelDocument::NewDocumentImage(); }, FleetPorts(), nullptr);
    dialog.show();
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("fleetTable"));
    QVERIFY(table != nullptr);
    QCOMPARE(AccessibleName(table), QStringLiteral("Radios"));
    QVERIFY(!table->tabKeyNavigation());

    // The cell under the bar reads as the bar shows: blocks done / blocks.
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(table);
    QAccessibleTableInterface* cells = iface->tableInterface();
    QVERIFY(cells != nullptr);
    QAccessibleInterface* cell = cells->cellAt(1, 3);
    QVERIFY(cell != nullptr);
    QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("0/394"));
    QCOMPARE(cells->columnDescription(3), QStringLiteral("Progress"));
    auto* bar = qobject_cast<QProgressBar*>(table->cellWidget(1, 3));
    QCOMPARE(AccessibleName(bar), QStringLiteral("Progress"));

    // The arrows still move inside the table.
    table->setFocus();
    table->setCurrentCell(0, 0);
    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(table->currentRow(), 1);
  }

  // --- message boxes ------------------------------------------------------

  void a_message_box_reads_and_copies_the_message_without_joiners() {
    const QString text = QStringLiteral("Please directly double click inside the table");
    QString label_name;
    QString label_shown;
    QString copied;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      if (label != nullptr) {
        label_name = AccessibleName(label);
        label_shown = label->text();
      }
      QApplication::clipboard()->clear();
      QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
      copied = QApplication::clipboard()->text();
      box->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(ShowMessage(nullptr, text, QMessageBox::Information), QMessageBox::Ok);
    QCOMPARE(label_name, text);
    QVERIFY(!label_name.contains(QChar(0x2060)));
    // On screen the words are still held together.
    QVERIFY(label_shown.contains(QChar(0x2060)));
    QCOMPARE(label_shown.remove(QChar(0x2060)), text);
    QVERIFY2(copied.contains(QLatin1Char('\n') + text + QLatin1Char('\n')), qPrintable(copied));
    QVERIFY(!copied.contains(QChar(0x2060)));
  }

  // --- transfer progress --------------------------------------------------

  void the_transfer_bar_is_named_and_the_status_line_is_no_flood() {
    TransferProgressDialog dialog(TransferProgressDialog::ReadingTitle(), nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("control1003"));
    auto* status = dialog.findChild<QLabel*>(QStringLiteral("control1005"));
    QCOMPARE(AccessibleName(bar), QStringLiteral("Progress"));
    QCOMPARE(AccessibleName(status), QStringLiteral("   Not start yet"));

    dialog.SetStatusText(QStringLiteral("Waiting the response from radio...."));
    QAccessibleInterface* line = QAccessible::queryAccessibleInterface(status);
    QCOMPARE(line->text(QAccessible::Name), QStringLiteral("Waiting the response from radio...."));
    // While the count runs the line keeps one name: shown is the bare count,
    // read is what it counts, with the count as its description.
    QStringList names_while_counting;
    for (int done = 1; done <= TransferProgressDialog::kBarMaximum; ++done) {
      dialog.SetBlocksDone(done);
      const QString name = line->text(QAccessible::Name);
      if (!names_while_counting.contains(name)) names_while_counting.append(name);
    }
    QCOMPARE(names_while_counting, QStringList({QStringLiteral("Blocks transferred")}));
    QCOMPARE(dialog.StatusText(), QStringLiteral("394"));
    QCOMPARE(line->text(QAccessible::Description), QStringLiteral("394/394"));
    QCOMPARE(QAccessible::queryAccessibleInterface(bar)->valueInterface()->currentValue().toInt(),
             TransferProgressDialog::kBarMaximum);
    // A message after the count is read as it is shown.
    dialog.SetStatusText(QStringLiteral("Communication error"));
    QCOMPARE(line->text(QAccessible::Name), QStringLiteral("Communication error"));
    QVERIFY(line->text(QAccessible::Description).isEmpty());

    // The events themselves reach the update handler only while a platform
    // accessibility bridge is active, which the offscreen platform never is.
  }

  // --- menus --------------------------------------------------------------

  void menu_items_are_named_without_their_keys_and_bind_them() {
    test::TempSettings settings;
    MainFrame frame(settings.Get());
    frame.show();
    int items = 0;
    for (QAction* menu_action : frame.menuBar()->actions()) {
      QMenu* menu = menu_action->menu();
      QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(menu);
      QVERIFY(iface != nullptr);
      for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* item = iface->child(i);
        const QString name = item->text(QAccessible::Name);
        QVERIFY2(!name.contains(QLatin1Char('\t')), qPrintable(name));
        ++items;
      }
    }
    QVERIFY(items > 20);

    // Read From Radio shows Ctrl+R: the key binding, not the name, says it.
    QMenu* program_menu = nullptr;
    for (QAction* menu_action : frame.menuBar()->actions()) {
      if (menu_action->menu()->actions().contains(frame.Action(command_id::kReadFromRadio))) {
        program_menu = menu_action->menu();
      }
    }
    QVERIFY(program_menu != nullptr);
    QAccessibleInterface* program = QAccessible::queryAccessibleInterface(program_menu);
    QVERIFY(program != nullptr);
    QAccessibleInterface* read = nullptr;
    for (int i = 0; i < program->childCount(); ++i) {
      if (program->child(i)->text(QAccessible::Name) == QStringLiteral("Read From Radio")) {
        read = program->child(i);
      }
    }
    QVERIFY(read != nullptr);
    // AT-SPI and IAccessible2 give the accelerator as the key binding.
    QCOMPARE(read->text(QAccessible::Accelerator), QStringLiteral("Ctrl+R"));
  }

 private:
  static std::vector<FleetDialog::PortChoice> FleetPorts() {
    return {{QStringLiteral("COM1"), QStringLiteral("/dev/null"), QStringLiteral("/dev/ttyS0")},
            {QStringLiteral("COM2"), QStringLiteral("/dev/null"), QStringLiteral("/dev/ttyS1")}};
  }

  static const std::vector<DialogCase>& Cases() {
    static const std::vector<DialogCase> cases = {
        {"Optional Features",
         [](RadioImage& image) { return std::make_unique<OptionalFeaturesDialog>(image); },
         OptionalFeaturesDialog::kRadioIdId},
        {"import report",
         [](RadioImage&) {
           return std::make_unique<ImportReportDialog>(
               QStringLiteral("Import Channels"), QStringLiteral("channels.csv"),
               [](int) { return Result<ChannelCsvImport>(SomeImport()); }, true, 1, nullptr);
         }},
        {"Check Channels",
         [](RadioImage&) {
           return std::make_unique<ChannelCheckDialog>(
               [] {
                 return std::vector<ChannelFinding>{
                     {ChannelCheck::OutOfBand, 1, 1, 0, "CH 1: out of band"}};
               },
               nullptr);
         }},
        {"compare",
         [](RadioImage&) {
           Difference difference;
           difference.channel = 3;
           difference.column = 5;
           difference.item = "Rx Tone";
           return std::make_unique<CompareDialog>(QStringLiteral("the radio"),
                                                  std::vector<Difference>{difference}, nullptr);
         }},
        {"Program Several Radios",
         [](RadioImage&) {
           return std::make_unique<FleetDialog>([] { return ChannelDocument::NewDocumentImage(); },
                                                FleetPorts(), nullptr);
         }},
        {"transfer progress",
         [](RadioImage&) {
           return std::make_unique<TransferProgressDialog>(TransferProgressDialog::WritingTitle(),
                                                           nullptr);
         }},
        {"High Power Debug", [](RadioImage&) { return std::make_unique<HighPowerDebugDialog>(); }},
        {"Low Power Debug", [](RadioImage&) { return std::make_unique<LowPowerDebugDialog>(); }},
        {"About", [](RadioImage&) { return std::make_unique<AboutDialog>(); }},
    };
    return cases;
  }
};

}  // namespace zlm5

QTEST_MAIN(zlm5::AccessibleNamesTest)
#include "test_accessible_names.moc"
