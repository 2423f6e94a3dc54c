// SPDX-License-Identifier: GPL-3.0-or-later
// The Port menu on Windows, with an injected list of ports: COM1 to COM4
// are the system's own ports (no ports file maps them), every other COM
// port up to COM256 and a driver's device name are taken as typed or
// listed, Other Port... speaks of COM names, and the stand-in for a
// missing port at start-up.

#include <QAction>
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

SerialDevice Port(const char* name, const char* usb_id, const char* product) {
  SerialDevice device;
  device.path = name;
  device.usb_id = usb_id;
  device.product = product;
  return device;
}

// COM3 on the machine's board; an adapter that Windows numbered COM7; one
// more adapter.
SerialDevice Board() { return Port("COM3", "", "Communications Port"); }
SerialDevice Adapter() { return Port("COM7", "0403:6001", "USB Serial Port"); }
SerialDevice Second() { return Port("COM12", "067B:2303", "Prolific USB-to-Serial Comm Port"); }

// No machine has it: the stand-in's missing port.
const QString kAbsent = QStringLiteral("COM200");

}  // namespace

class PortMenuWinTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    window_ = std::make_unique<test::RadioWindow>(dir_.path());
    messages_ = std::make_unique<test::MessageLog>();
  }
  void cleanup() {
    messages_.reset();
    window_.reset();
  }

  void a_listed_port_shows_in_its_com_entry_or_an_entry_of_its_own() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Board(), Adapter()}; });
    // COM3 is the COM entry's, with the system's name for it; no arrow, as
    // nothing maps a COM name to another device here.
    const QStringList com = Menu().ComTexts();
    QCOMPARE(com[2], QStringLiteral("COM3(&S)  (Communications Port)\tCtrl+E"));
    for (const QString& text : com) QVERIFY2(!text.contains(QChar(0x2192)), qPrintable(text));
    QVERIFY(com[0].startsWith(QStringLiteral("COM1(&P)")) && com[0].endsWith("\tCtrl+C"));
    QCOMPARE(Menu().DeviceEntries(), QStringList{QStringLiteral("COM7  (USB Serial Port)")});

    // Choosing the adapter's entry checks it alone.
    Menu().DeviceEntryActions().front()->trigger();
    QCOMPARE(Radio().PortName(), QStringLiteral("COM7"));
    QCOMPARE(Menu().CheckedEntries(), QStringList{QStringLiteral("COM7  (USB Serial Port)")});
    Action(id::kCom3)->trigger();
    QCOMPARE(Menu().CheckedEntries(), QStringList{com[2]});
  }

  // As --port takes them.
  void any_com_port_is_taken_in_any_letter_case_and_device_paths_are_not() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Adapter()}; });
    QVERIFY(Radio().SetPortName(QStringLiteral(" com7 ")));
    QCOMPARE(Radio().PortName(), QStringLiteral("COM7"));
    QCOMPARE(Menu().CheckedEntries(), QStringList{QStringLiteral("COM7  (USB Serial Port)")});
    QVERIFY(Radio().SetPortName(QStringLiteral("COM256")));
    QVERIFY(Radio().SetPortName(QStringLiteral("\\\\.\\CNCA0")));
    QCOMPARE(Radio().PortName(), QStringLiteral("\\\\.\\CNCA0"));
    for (const char* refused : {"COM0", "COM257", "COM05", "/dev/ttyUSB0", "ttyUSB0"}) {
      QVERIFY2(!Radio().SetPortName(QString::fromLatin1(refused)), refused);
      QVERIFY2(!RadioOperations::IsPortName(QString::fromLatin1(refused)), refused);
    }
    QCOMPARE(Radio().PortName(), QStringLiteral("\\\\.\\CNCA0"));
    // Each port chosen keeps an entry for the session, the one in use checked.
    QCOMPARE(Menu().DeviceEntries(),
             QStringList({QStringLiteral("COM7  (USB Serial Port)"), QStringLiteral("COM256"),
                          QStringLiteral("\\\\.\\CNCA0")}));
    QCOMPARE(Menu().CheckedEntries(), QStringList{QStringLiteral("\\\\.\\CNCA0")});
  }

  void other_port_suggests_a_com_name_and_refuses_a_device_path() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{}; });
    QStringList suggestions;
    QString answer = QStringLiteral("com9");
    Radio().SetPortPrompt([&](const QString& suggestion) {
      suggestions.append(suggestion);
      return answer;
    });
    Menu().OtherPort()->trigger();
    QCOMPARE(Radio().PortName(), QStringLiteral("COM9"));
    answer = QStringLiteral("/dev/ttyUSB0");
    Menu().OtherPort()->trigger();
    QCOMPARE(suggestions, QStringList({QStringLiteral("COM5"), QStringLiteral("COM9")}));
    QCOMPARE(Radio().PortName(), QStringLiteral("COM9"));
    QCOMPARE(messages_->texts.size(), 1);
    QCOMPARE(messages_->texts.first(),
             QStringLiteral("\"/dev/ttyUSB0\" is not a serial port.\n\nType a COM port from "
                            "COM1 to COM256, such as COM5, or a device name such as "
                            "\\\\.\\CNCA0."));
    QCOMPARE(Menu().OtherPort()->statusTip(),
             QStringLiteral("Type the name of a serial port, such as COM5"));
  }

  void a_missing_port_gives_way_to_the_only_usb_adapter_at_start_up() {
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Board(), Adapter()}; });
    QVERIFY(Radio().SetPortName(kAbsent));
    QVERIFY(Radio().StandInForMissingPort());
    QCOMPARE(Radio().PortName(), QStringLiteral("COM7"));
    QCOMPARE(Menu().MessagePane(),
             QStringLiteral("COM200 is not there: using COM7 (USB Serial Port), the only USB "
                            "serial device"));
    QVERIFY(messages_->texts.isEmpty());

    // Two adapters: which is the radio's is the user's call.
    Radio().SetDeviceLister([] { return std::vector<SerialDevice>{Adapter(), Second()}; });
    QVERIFY(Radio().SetPortName(kAbsent));
    QVERIFY(!Radio().StandInForMissingPort());
    QCOMPARE(Radio().PortName(), kAbsent);
  }

 private:
  MainFrame& Frame() { return *window_->frame; }
  RadioOperations& Radio() { return *window_->radio; }
  QAction* Action(int command) { return Frame().Action(command); }
  test::PortMenuView Menu() { return {Frame(), Radio()}; }

  QTemporaryDir dir_;
  std::unique_ptr<test::RadioWindow> window_;
  std::unique_ptr<test::MessageLog> messages_;
};

}  // namespace zlm5

QTEST_MAIN(zlm5::PortMenuWinTest)
#include "test_port_menu_win.moc"
