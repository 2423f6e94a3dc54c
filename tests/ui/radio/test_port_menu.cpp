// SPDX-License-Identifier: GPL-3.0-or-later
// The Port menu on Linux, with an injected list of devices and a ports
// file: the device each COM name leads to, the devices present with their
// products and stable names, the paths chosen in the session, one check
// mark, and the stand-in for a missing port at start-up.

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

#include "link/serial_devices.h"
#include "tests/ui/radio/port_menu_view.h"
#include "tests/ui/radio_test_support.h"
#include "ui/app/command_ids.h"

namespace zlm5 {
namespace id = command_id;

namespace {

const QString kFtdiById =
    QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");

SerialDevice Device(const char* path, const QString& by_id, const char* usb_id,
                    const char* product) {
  SerialDevice device;
  device.path = path;
  device.by_id = by_id.toStdString();
  device.usb_id = usb_id;
  device.product = product;
  return device;
}

SerialDevice Acm() { return Device("/dev/ttyACM0", {}, "", ""); }
SerialDevice Uart() { return Device("/dev/ttyS0", {}, "", ""); }
SerialDevice Ftdi() {
  return Device("/dev/ttyUSB7", kFtdiById, "0403:6001", "FTDI FT232R USB UART");
}

}  // namespace

class PortMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    // COM1 leads nowhere, COM2 and COM4 to the adapter (by its kernel name
    // and its by-id name), COM3 to a node that is there.
    QFile(Path("radio")).open(QIODevice::WriteOnly);
    WritePorts(QStringLiteral("COM1 = %1\nCOM2 = /dev/ttyUSB7\nCOM3 = %2\nCOM4 = %3\n")
                   .arg(Path("com1"), Path("radio"), kFtdiById));
    window_ = std::make_unique<test::RadioWindow>(dir_->path());
    messages_ = std::make_unique<test::MessageLog>();
  }
  void cleanup() {
    messages_.reset();
    window_.reset();
    dir_.reset();
  }

  void com_entries_name_the_device_each_leads_to() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Uart(), Ftdi()}; });
    QCOMPARE(ComTexts(),
             QStringList(
                 {QStringLiteral("COM1(&P)  \u2192  %1 (not present)\tCtrl+C").arg(Path("com1")),
                  QStringLiteral("COM2(&Q)  \u2192  /dev/ttyUSB7 (FTDI FT232R USB UART)\tCtrl+D"),
                  QStringLiteral("COM3(&S)  \u2192  %1\tCtrl+E").arg(Path("radio")),
                  QStringLiteral("COM4(&T)  \u2192  %1 (FTDI FT232R USB UART)\tCtrl+F")
                      .arg(kFtdiById)}));
    // The menu shows what the ports file says as it is now.
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Uart()}; });
    QCOMPARE(ComTexts()[1], QStringLiteral("COM2(&Q)  \u2192  /dev/ttyUSB7 (not present)\tCtrl+D"));
    // A ports file that cannot be read maps nothing.
    WritePorts(QStringLiteral("COM1 = ttyUSB0\n"));
    Radio().RefreshPortMenu();
    QCOMPARE(ComTexts(),
             QStringList({QStringLiteral("COM1(&P)\tCtrl+C"), QStringLiteral("COM2(&Q)\tCtrl+D"),
                          QStringLiteral("COM3(&S)\tCtrl+E"), QStringLiteral("COM4(&T)\tCtrl+F")}));
  }

  void the_menu_holds_the_com_names_the_devices_and_other_port_with_com1_checked() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Acm(), Uart(), Ftdi()}; });
    QCOMPARE(Radio().PortName(), QStringLiteral("COM1"));
    QCOMPARE(CheckedEntries(), QStringList{ComTexts()[0]});

    // The menu: COM1..COM4, a separator, the devices, "Other Port...".
    const QList<QAction*> entries = Frame().PortMenu()->actions();
    QCOMPARE(entries.size(), 9);
    QVERIFY(entries[4]->isSeparator());
    QCOMPARE(entries[5]->text(), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(entries[6]->text(), QStringLiteral("/dev/ttyS0  (built-in serial port)"));
    QCOMPARE(entries[7]->text(), QStringLiteral("/dev/ttyUSB7  (FTDI FT232R USB UART; by-id: "
                                                "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0)"));
    QCOMPARE(entries[8]->text(), QStringLiteral("Other Port..."));
  }

  void choosing_an_entry_moves_the_one_check_mark() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Acm(), Uart(), Ftdi()}; });
    Action(id::kCom2)->trigger();
    QCOMPARE(CheckedEntries(), QStringList{ComTexts()[1]});
    // Choosing the checked entry again keeps its check.
    Action(id::kCom2)->trigger();
    QCOMPARE(CheckedEntries(), QStringList{ComTexts()[1]});
  }

  void a_detected_adapter_is_chosen_by_its_stable_name() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Acm(), Uart(), Ftdi()}; });
    QAction* adapter = Frame().PortMenu()->actions()[7];
    adapter->trigger();
    QCOMPARE(Radio().PortName(), kFtdiById);
    QCOMPARE(CheckedEntries(), QStringList{adapter->text()});
    // Its kernel name (as --port gives it) checks the same entry.
    QVERIFY(Radio().SetPortName(QStringLiteral("/dev/ttyUSB7")));
    QCOMPARE(CheckedEntries(), QStringList{adapter->text()});
  }

  void other_port_takes_a_typed_path_as_an_entry_of_its_own() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Ftdi()}; });
    QVERIFY(Radio().SetPortName(QStringLiteral("/dev/ttyUSB7")));
    // The question starts from the last path chosen; blanks around the
    // answer do not count.
    Radio().SetPortPrompt([](const QString& suggestion) {
      return suggestion == QStringLiteral("/dev/ttyUSB7") ? QStringLiteral(" /dev/pts/77 ")
                                                          : QString();
    });
    Frame().PortMenu()->actions().last()->trigger();
    QCOMPARE(Radio().PortName(), QStringLiteral("/dev/pts/77"));
    QCOMPARE(CheckedEntries(), QStringList{QStringLiteral("/dev/pts/77")});
    QVERIFY(messages_->texts.isEmpty());
  }

  void other_port_refuses_what_is_no_serial_port_and_says_so() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Ftdi()}; });
    Action(id::kCom2)->trigger();
    Radio().SetPortPrompt([](const QString&) { return QStringLiteral("ttyUSB0"); });
    Frame().PortMenu()->actions().last()->trigger();
    QCOMPARE(Radio().PortName(), QStringLiteral("COM2"));
    QCOMPARE(CheckedEntries(), QStringList{ComTexts()[1]});
    QCOMPARE(messages_->texts.size(), 1);
    QVERIFY(messages_->texts.first().contains(QStringLiteral("\"ttyUSB0\" is not a serial port")));
  }

  // As --port and the ports file take them.
  void com_names_are_taken_in_any_letter_case_and_only_com1_to_com4() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Ftdi()}; });
    QVERIFY(Radio().SetPortName(QStringLiteral("com4")));
    QCOMPARE(Radio().PortName(), QStringLiteral("COM4"));
    QCOMPARE(CheckedEntries(), QStringList{ComTexts()[3]});
    QVERIFY(!Radio().SetPortName(QStringLiteral("COM5")));
    QCOMPARE(Radio().PortName(), QStringLiteral("COM4"));
    QVERIFY(!RadioOperations::IsPortName(QStringLiteral("COM5")));
    QVERIFY(RadioOperations::IsPortName(QStringLiteral("/dev/ttyS0")));
  }

  void paths_chosen_stay_for_the_session_and_other_port_starts_from_the_last() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Ftdi()}; });
    QStringList suggestions;
    QString answer;
    Radio().SetPortPrompt([&](const QString& suggestion) {
      suggestions.append(suggestion);
      return answer;
    });
    Frame().PortMenu()->actions().last()->trigger();  // cancelled
    // As --port gives it, then typed, then back to a COM name.
    QVERIFY(Radio().SetPortName(QStringLiteral("/dev/pts/41")));
    answer = QStringLiteral("/dev/pts/42");
    Frame().PortMenu()->actions().last()->trigger();
    Action(id::kCom3)->trigger();
    answer.clear();
    Frame().PortMenu()->actions().last()->trigger();  // cancelled again

    QCOMPARE(suggestions,
             QStringList({QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/pts/41"),
                          QStringLiteral("/dev/pts/42")}));
    QCOMPARE(Radio().PortName(), QStringLiteral("COM3"));
    QCOMPARE(DeviceEntries(),
             QStringList({QStringLiteral("/dev/ttyUSB7  (FTDI FT232R USB UART; by-id: "
                                         "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0)"),
                          QStringLiteral("/dev/pts/41"), QStringLiteral("/dev/pts/42")}));
    QCOMPARE(CheckedEntries(), QStringList{ComTexts()[2]});

    // An adapter chosen and then unplugged stays too, still checked.
    DeviceEntryActions().front()->trigger();
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{}; });
    QCOMPARE(DeviceEntries(), QStringList({QStringLiteral("/dev/pts/41"),
                                           QStringLiteral("/dev/pts/42"), kFtdiById}));
    QCOMPARE(CheckedEntries(), QStringList{kFtdiById});
  }

  void a_missing_port_gives_way_to_the_only_usb_adapter_at_start_up() {
    const QByteArray ports = ReadPorts();
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Uart(), Ftdi()}; });
    QVERIFY(Radio().StandInForMissingPort());
    QCOMPARE(Radio().PortName(), kFtdiById);
    QCOMPARE(
        MessagePane(),
        QStringLiteral("COM1 (%1) is not there: using /dev/ttyUSB7 (FTDI FT232R USB UART; by-id: "
                       "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0), the only USB serial device")
            .arg(Path("com1")));
    QCOMPARE(CheckedEntries().size(), 1);
    QVERIFY(CheckedEntries().first().startsWith(QStringLiteral("/dev/ttyUSB7  (")));
    QCOMPARE(ReadPorts(), ports);  // nothing stored
    QVERIFY(messages_->texts.isEmpty());
  }

  // Which of two adapters is the radio's is the user's call.
  void two_adapters_keep_the_missing_port_chosen() {
    const QString idle = MessagePane();
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Acm(), Ftdi()}; });
    QVERIFY(!Radio().StandInForMissingPort());
    QCOMPARE(Radio().PortName(), QStringLiteral("COM1"));
    QCOMPARE(MessagePane(), idle);
  }

  void a_port_that_is_there_keeps_its_choice_beside_one_adapter() {
    const QString idle = MessagePane();
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Ftdi()}; });
    Action(id::kCom3)->trigger();
    QVERIFY(!Radio().StandInForMissingPort());
    QCOMPARE(Radio().PortName(), QStringLiteral("COM3"));
    QCOMPARE(MessagePane(), idle);
  }

 private:
  MainFrame& Frame() { return *window_->frame; }
  RadioOperations& Radio() { return *window_->radio; }
  QAction* Action(int command) { return Frame().Action(command); }
  QString Path(const QString& name) const { return dir_->filePath(name); }
  QString PortsFile() const { return Path(QStringLiteral("z-lm5/ports.conf")); }

  void WritePorts(const QString& text) {
    QDir().mkpath(Path(QStringLiteral("z-lm5")));
    QFile file(PortsFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
  }
  QByteArray ReadPorts() const {
    QFile file(PortsFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  QString MessagePane() { return Menu().MessagePane(); }
  test::PortMenuView Menu() { return {Frame(), Radio()}; }
  QStringList ComTexts() { return Menu().ComTexts(); }
  QList<QAction*> DeviceEntryActions() { return Menu().DeviceEntryActions(); }
  QStringList DeviceEntries() { return Menu().DeviceEntries(); }
  QStringList CheckedEntries() { return Menu().CheckedEntries(); }

  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<test::RadioWindow> window_;
  std::unique_ptr<test::MessageLog> messages_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::PortMenuTest)
#include "test_port_menu.moc"
