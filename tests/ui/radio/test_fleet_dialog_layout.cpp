// SPDX-License-Identifier: GPL-3.0-or-later
// Program Several Radios before any radio is written: the ports offered
// beside the Port menu's, the Radio column with the list's names, the
// columns as the dialog's width allows them, every row in view in English
// and in Chinese, and where Load Identities... starts.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QOperatingSystemVersion>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <memory>
#include <vector>

#include "files/channel_document.h"
#include "tests/link/link_test_support.h"
#include "tests/ui/radio_test_support.h"
#include "ui/app/translation.h"
#include "ui/radio/fleet_commands.h"
#include "ui/radio/fleet_dialog.h"

namespace zlm5 {
namespace {

constexpr int kComRows = 4;
constexpr int kDeviceColumn = 1;
constexpr int kIdentityColumn = 2;

// The ports as the platform names them: an adapter (with its stable by-id
// name on Linux) and a port typed under Other Port... that is not there.
struct PortNames {
  QString adapter;
  QString by_id;
  QString typed;
};
PortNames Names() {
  if (QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows) {
    return {QStringLiteral("COM7"), QString(), QStringLiteral("\\\\.\\CNCA7")};
  }
  return {QStringLiteral("/dev/ttyUSB7"),
          QStringLiteral("/dev/serial/by-id/usb-Test_Adapter-if00-port0"),
          QStringLiteral("/dev/ttyTEST7")};
}

// One adapter plugged in, as both the Port menu and the dialog list it.
std::vector<SerialDevice> OneAdapter() {
  std::vector<SerialDevice> devices(1);
  devices[0].path = Names().adapter.toStdString();
  devices[0].by_id = Names().by_id.toStdString();
  devices[0].product = "Test Adapter";
  devices[0].access.can_open = true;
  return devices;
}

}  // namespace

class FleetDialogLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

  void init() {
    dir_ = std::make_unique<test::TempDir>();
    window_ = std::make_unique<test::RadioWindow>(QString::fromStdString(dir_->path()));
    messages_ = std::make_unique<test::MessageLog>();
    window_->radio->SetDeviceLister(OneAdapter);
    fleet_ = new FleetCommands(*window_->frame, *window_->radio);
    fleet_->SetDeviceLister(OneAdapter);
  }

  void cleanup() {
    messages_.reset();
    window_.reset();
    dir_.reset();
    ApplyWindowLanguage(false);
  }

  void a_port_typed_under_other_port_is_offered_once_beside_the_others() {
    // The adapter chosen in the Port menu (by its stable name where it has
    // one) and a port typed under Other Port....
    const PortNames names = Names();
    QVERIFY(window_->radio->SetPortName(names.by_id.isEmpty() ? names.adapter : names.by_id));
    window_->radio->SetPortPrompt([&](const QString&) { return names.typed; });
    window_->radio->ChooseOtherPort();
    QCOMPARE(window_->radio->PortName(), names.typed);

    FleetDialog* dialog = Open();
    QCOMPARE(dialog->RowCount(), kComRows + 2);
    QCOMPARE(dialog->RowPort(0), QStringLiteral("COM1"));
    QCOMPARE(dialog->RowPort(kComRows), names.adapter);
    QCOMPARE(dialog->RowToolTip(kComRows, kDeviceColumn),
             names.by_id.isEmpty() ? QStringLiteral("Test Adapter")
                                   : QStringLiteral("usb-Test_Adapter-if00-port0; Test Adapter"));
    QCOMPARE(dialog->RowPort(kComRows + 1), names.typed);
    QCOMPARE(dialog->RowRadio(kComRows + 1), names.typed);
    QCOMPARE(dialog->RowToolTip(kComRows + 1, kDeviceColumn), QStringLiteral("not present"));
  }

  // Windows lists its own COM3 by that name: it is the COM3 row, not one
  // more beside it, and the Port menu's COM3 entry likewise.
  void a_port_the_system_names_com3_is_offered_once() {
    std::vector<SerialDevice> devices = OneAdapter();
    devices.insert(devices.begin(), SerialDevice{});
    devices.front().path = "COM3";
    devices.front().product = "Communications Port";
    fleet_->SetDeviceLister([devices] { return devices; });
    window_->radio->SetDeviceLister([devices] { return devices; });
    FleetDialog* dialog = Open();
    QCOMPARE(dialog->RowCount(), kComRows + 1);
    QCOMPARE(dialog->RowPort(2), QStringLiteral("COM3"));
    QCOMPARE(dialog->RowPort(kComRows), Names().adapter);
    QStringList entries;
    for (QAction* action : window_->frame->PortMenu()->actions()) entries << action->text();
    QCOMPARE(entries.filter(QStringLiteral("COM3")).size(), 1);
  }

  void the_radio_column_names_the_list_name_and_columns_follow_the_width() {
    FleetDialog* dialog = Open();
    const std::string ids = dir_->Path("ids.csv");
    const QString adapter = Names().adapter;
    std::ofstream(ids) << "Port,Name,RadioId,CallId,Ani\n"
                          "COM1,Unit A,1001,,\n"
                       << adapter.toStdString()
                       << ",Northern District Repeater Site,12345678,ABCDEFGH,1234\n";
    QVERIFY(dialog->LoadIdentities(QString::fromStdString(ids)));
    dialog->SetChecked(0, true);
    dialog->SetChecked(kComRows, true);
    QCOMPARE(dialog->RowRadio(0), QStringLiteral("COM1 (Unit A)"));
    QCOMPARE(dialog->RowRadio(kComRows),
             adapter + QStringLiteral(" (Northern District Repeater Site)"));
    QCOMPARE(dialog->RowPort(kComRows), adapter);
    const QString identity = QStringLiteral("Radio ID 12345678, Call ID ABCDEFGH, ANI 1234");
    QCOMPARE(dialog->RowIdentity(kComRows), identity);
    QCOMPARE(dialog->RowToolTip(kComRows, kIdentityColumn), identity);
    // Unchecked, the row's name goes with its identity.
    dialog->SetChecked(0, false);
    QCOMPARE(dialog->RowRadio(0), QStringLiteral("COM1"));
    QCOMPARE(dialog->RowToolTip(0, kIdentityColumn), QString());

    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("fleetTable"));
    QHeaderView* header = table->horizontalHeader();
    const int identity_width = table->fontMetrics().horizontalAdvance(identity);
    const int device_width =
        table->fontMetrics().horizontalAdvance(dialog->RowToolTip(kComRows, kDeviceColumn));
    // Wide: the identity and the device whole in their columns.
    dialog->resize(1400, dialog->height());
    QTRY_VERIFY2(header->sectionSize(kIdentityColumn) > identity_width &&
                     header->sectionSize(kDeviceColumn) > device_width,
                 qPrintable(QStringLiteral("%1, %2")
                                .arg(header->sectionSize(kIdentityColumn))
                                .arg(header->sectionSize(kDeviceColumn))));
    // Narrow: every column within the table, the cut texts whole as tooltips.
    dialog->resize(520, dialog->height());
    QTRY_VERIFY(header->sectionSize(kIdentityColumn) < identity_width);
    QVERIFY2(header->length() <= table->viewport()->width(),
             qPrintable(
                 QStringLiteral("%1 > %2").arg(header->length()).arg(table->viewport()->width())));
    QCOMPARE(dialog->RowToolTip(kComRows, kIdentityColumn), identity);
  }

  void every_row_is_in_view_when_the_dialog_opens_data() {
    QTest::addColumn<bool>("chinese");
    QTest::newRow("English") << false;
    QTest::newRow("Chinese") << true;
  }
  void every_row_is_in_view_when_the_dialog_opens() {
    QFETCH(bool, chinese);
    QCOMPARE(ApplyWindowLanguage(
                 false, QLocale(chinese ? QStringLiteral("zh_CN") : QStringLiteral("en_US"))),
             chinese);
    FleetDialog* dialog = Open();
    QCOMPARE(dialog->windowTitle() == QStringLiteral("Program Several Radios"), !chinese);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("fleetTable"));
    QCOMPARE(dialog->RowCount(), kComRows + 1);
    const QRect last = table->visualItemRect(table->item(dialog->RowCount() - 1, 0));
    QVERIFY2(
        last.bottom() < table->viewport()->height(),
        qPrintable(QStringLiteral("%1 >= %2").arg(last.bottom()).arg(table->viewport()->height())));
    const QRect screen = dialog->screen()->availableGeometry();
    QVERIFY(dialog->height() <= screen.height() && dialog->width() <= screen.width());
  }

  void load_identities_starts_with_the_users_documents_after_a_backup() {
    const QString mine = QString::fromStdString(dir_->Path("mine"));
    const QString backups = QString::fromStdString(dir_->Path("z-lm5/backups"));
    QVERIFY(QDir().mkpath(mine) && QDir().mkpath(backups));
    QString own = mine + QStringLiteral("/own.sin");
    window_->frame->SetFileChooser(
        [own](MainFrame::FileDialogKind, const QString&) { return own; });
    QVERIFY(window_->frame->SaveDocumentAs());
    QString backup = backups + QStringLiteral("/2026-01-02_03-04-05_write.sin");
    QVERIFY(QFile::copy(own, backup));
    window_->radio->SetFileChooser(
        [backup](RadioOperations::FileKind, const QString&) { return backup; });
    window_->radio->OpenBackupAction()->trigger();
    QCOMPARE(QString::fromStdString(window_->frame->Document().path()), backup);

    FleetDialog* dialog = Open();
    QString start;
    QTimer::singleShot(0, dialog, [&start] {
      auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (files == nullptr) return;
      start = files->directory().absolutePath();
      files->reject();
    });
    QTest::mouseClick(dialog->LoadButton(), Qt::LeftButton);
    QCOMPARE(start, mine);
  }

 private:
  FleetDialog* Open() {
    fleet_->ProgramSeveralRadios();
    return fleet_->Dialog();
  }

  std::unique_ptr<test::TempDir> dir_;
  std::unique_ptr<test::RadioWindow> window_;
  std::unique_ptr<test::MessageLog> messages_;
  FleetCommands* fleet_ = nullptr;  // the frame's child
};

}  // namespace zlm5

QTEST_MAIN(zlm5::FleetDialogLayoutTest)
#include "test_fleet_dialog_layout.moc"
