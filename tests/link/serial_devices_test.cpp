// SPDX-License-Identifier: GPL-3.0-or-later
// The port finder on a fake /sys, /dev, /proc and /etc/group.

#include "link/serial_devices.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "link/port_properties.h"
#include "tests/link/fake_serial_tree.h"
#include "tests/link/link_test_support.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

class SerialDevicesTest : public ::testing::Test {
 protected:
  SystemRoots Roots() const {
    return {dir_.Path("sys"), dir_.Path("dev"), dir_.Path("proc"), dir_.Path("etc/group")};
  }
  // Another user than the one owning the fake nodes; in the group or not.
  static UserIdentity User(const std::string& name, bool in_dialout) {
    UserIdentity user{::geteuid() + 1, {::getegid() + 1}, name};
    if (in_dialout) user.gids.push_back(::getegid());
    return user;
  }
  const SerialDevice& Find(const SerialSurvey& survey, const std::string& name) const {
    for (const SerialDevice& d : survey.devices) {
      if (d.path == dir_.Path("dev/" + name)) return d;
    }
    ADD_FAILURE() << name << " not listed";
    return survey.devices.front();
  }

  test::TempDir dir_;
};

constexpr const char* kNotInDialout =
    "it belongs to group dialout, which you are not in: sudo usermod -aG dialout $USER, then log "
    "out and in again";

TEST_F(SerialDevicesTest, ListsEachDeviceWithItsNamesDriverAccessAndHolder) {
  const test::FakeSerialTree tree(dir_.path());
  const SerialSurvey survey = SurveySerialDevices(Roots(), User("bob", false));

  // No empty UART slot, no virtual terminal, no /dev/null.
  ASSERT_EQ(survey.devices.size(), 4u);
  EXPECT_TRUE(survey.holders_visible);
  const SerialDevice& acm = survey.devices[0];
  EXPECT_EQ(acm.path, dir_.Path("dev/ttyACM0"));
  EXPECT_EQ(acm.by_id, "");
  EXPECT_EQ(acm.driver, "cdc_acm");
  EXPECT_EQ(acm.usb_id, "2341:0043");
  EXPECT_EQ(acm.product, "Arduino (www.arduino.cc) Arduino Uno");
  EXPECT_FALSE(acm.access.can_open);
  EXPECT_TRUE(acm.access.known);
  EXPECT_EQ(acm.access.problem, kNotInDialout);

  const SerialDevice& uart = survey.devices[1];
  EXPECT_EQ(uart.path, dir_.Path("dev/ttyS0"));
  EXPECT_EQ(uart.driver, "serial");
  EXPECT_EQ(uart.usb_id, "");
  EXPECT_EQ(uart.product, "");
  EXPECT_FALSE(uart.access.can_open);
  EXPECT_EQ(uart.access.problem, "its permissions (0600) give you no read and write access");

  const SerialDevice& ftdi = survey.devices[2];
  EXPECT_EQ(ftdi.path, dir_.Path("dev/ttyUSB0"));
  EXPECT_EQ(ftdi.by_id, dir_.Path("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
  EXPECT_EQ(ftdi.driver, "ftdi_sio");
  EXPECT_EQ(ftdi.usb_id, "0403:6001");
  EXPECT_EQ(ftdi.product, "FTDI FT232R USB UART");
  EXPECT_FALSE(ftdi.access.can_open);
  EXPECT_EQ(ftdi.access.group, "dialout");
  EXPECT_FALSE(ftdi.access.in_group);
  EXPECT_EQ(ftdi.access.problem, kNotInDialout);
  EXPECT_TRUE(ftdi.holders.empty());

  const SerialDevice& held = survey.devices[3];
  EXPECT_EQ(held.path, dir_.Path("dev/ttyUSB1"));
  EXPECT_EQ(held.driver, "ch341-uart");
  EXPECT_EQ(held.product, "USB Serial");
  EXPECT_TRUE(held.access.can_open);
  EXPECT_EQ(held.access.problem, "");
  EXPECT_EQ(held.holders, (std::vector<ProcessRef>{{4242, "minicom"}}));
  EXPECT_TRUE(survey.all_processes_seen);

  ASSERT_EQ(survey.warnings.size(), 1u);
  EXPECT_EQ(survey.warnings[0].program, "ModemManager");
  EXPECT_EQ(survey.warnings[0].pids, std::vector<int>{812});
  EXPECT_EQ(
      survey.warnings[0].text,
      "ModemManager is running (PID 812). It probes USB serial adapters for modems when they "
      "are plugged in, holding the port and sending the radio stray bytes. Keep it away from "
      "the cable with a udev rule in /etc/udev/rules.d/99-z-lm5.rules:\n"
      "  ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"
      "  ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"
      "  ATTRS{idVendor}==\"2341\", ATTRS{idProduct}==\"0043\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"
      "then run sudo udevadm control --reload and plug the cable in again. Or stop it: sudo "
      "systemctl stop ModemManager");
}

TEST_F(SerialDevicesTest, AccessFollowsTheSessionsGroupsNotTheGroupFile) {
  const test::FakeSerialTree tree(dir_.path());
  // alice is listed in the group file, but this session began before.
  const SerialSurvey alice = SurveySerialDevices(Roots(), User("alice", false));
  EXPECT_FALSE(Find(alice, "ttyUSB0").access.can_open);
  EXPECT_EQ(Find(alice, "ttyUSB0").access.problem,
            "it belongs to group dialout; you were added to that group after this session began: "
            "log out and in again");

  const SerialSurvey carol = SurveySerialDevices(Roots(), User("carol", true));
  EXPECT_TRUE(Find(carol, "ttyUSB0").access.can_open);
  EXPECT_TRUE(Find(carol, "ttyUSB0").access.in_group);
  EXPECT_TRUE(Find(carol, "ttyACM0").access.can_open);
  // Group members get no more than the group's bits.
  EXPECT_FALSE(Find(carol, "ttyS0").access.can_open);

  // The owner has the owner's bits; root opens anything.
  const SerialSurvey owner = SurveySerialDevices(Roots(), {::geteuid(), {::getegid() + 1}, "me"});
  EXPECT_TRUE(Find(owner, "ttyS0").access.can_open);
  const SerialSurvey root = SurveySerialDevices(Roots(), {0, {0}, "root"});
  for (const SerialDevice& d : root.devices) EXPECT_TRUE(d.access.can_open) << d.path;
}

TEST_F(SerialDevicesTest, QuickListHasTheSurveysDevicesWithoutAccessOrHolders) {
  const test::FakeSerialTree tree(dir_.path());
  const SerialSurvey survey = SurveySerialDevices(Roots(), User("bob", false));
  const std::vector<SerialDevice> list = ListSerialDevices(Roots());
  ASSERT_EQ(list.size(), survey.devices.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].path, survey.devices[i].path);
    EXPECT_EQ(list[i].by_id, survey.devices[i].by_id);
    EXPECT_EQ(list[i].driver, survey.devices[i].driver);
    EXPECT_EQ(list[i].usb_id, survey.devices[i].usb_id);
    EXPECT_EQ(list[i].product, survey.devices[i].product);
    EXPECT_EQ(list[i].access.group, "");
    EXPECT_TRUE(list[i].holders.empty());
  }
  EXPECT_EQ(Find(survey, "ttyUSB1").holders.size(), 1u);
  EXPECT_EQ(IsUsbSerialDevice(Find(survey, "ttyACM0")), true);
  EXPECT_EQ(IsUsbSerialDevice(Find(survey, "ttyS0")), false);
}

TEST_F(SerialDevicesTest, ADeviceIsThereWhenItsNodeIsAndHardwareIsBehindIt) {
  const test::FakeSerialTree tree(dir_.path());
  EXPECT_TRUE(SerialDeviceExists(Roots(), dir_.Path("dev/ttyUSB0")));
  EXPECT_TRUE(SerialDeviceExists(
      Roots(), dir_.Path("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0")));
  EXPECT_TRUE(SerialDeviceExists(Roots(), dir_.Path("dev/ttyS0")));
  EXPECT_FALSE(SerialDeviceExists(Roots(), dir_.Path("dev/ttyS1")));  // no UART behind it
  EXPECT_FALSE(SerialDeviceExists(Roots(), dir_.Path("dev/tty0")));   // a virtual terminal
  EXPECT_FALSE(SerialDeviceExists(Roots(), dir_.Path("dev/ttyUSB9")));
  // A pseudo-terminal (the simulator's) is there while its node is.
  fs::create_directories(dir_.Path("dev/pts"));
  std::ofstream(dir_.Path("dev/pts/3")).put('\0');
  EXPECT_TRUE(SerialDeviceExists(Roots(), dir_.Path("dev/pts/3")));
}

TEST_F(SerialDevicesTest, TheStandInAtStartUpIsTheOnlyUsbAdapter) {
  const test::FakeSerialTree tree(dir_.path());
  const std::vector<SerialDevice> all = ListSerialDevices(Roots());
  const std::string missing = dir_.Path("dev/ttyUSB9");
  // Three adapters: which one is the radio's is the user's call.
  EXPECT_FALSE(LoneUsbStandIn(Roots(), missing, all));

  std::vector<SerialDevice> one_adapter;
  for (const SerialDevice& d : all) {
    if (d.path == dir_.Path("dev/ttyUSB0") || d.path == dir_.Path("dev/ttyS0"))
      one_adapter.push_back(d);
  }
  ASSERT_EQ(one_adapter.size(), 2u);
  const auto stand_in = LoneUsbStandIn(Roots(), missing, one_adapter);
  ASSERT_TRUE(stand_in);
  EXPECT_EQ(stand_in->path, dir_.Path("dev/ttyUSB0"));
  // A UART slot with nothing behind it is as good as missing.
  EXPECT_TRUE(LoneUsbStandIn(Roots(), dir_.Path("dev/ttyS1"), one_adapter));
  // A chosen device that is there stays chosen.
  EXPECT_FALSE(LoneUsbStandIn(Roots(), dir_.Path("dev/ttyS0"), one_adapter));
  EXPECT_FALSE(LoneUsbStandIn(Roots(), missing, {}));
}

TEST_F(SerialDevicesTest, BrlttyAndModemManagerAreNamedWithNoDevicePresent) {
  for (const auto& [pid, comm] :
       {std::pair{733, "brltty"}, {900, "ModemManager"}, {901, "ModemManager"}}) {
    fs::create_directories(dir_.Path("proc/" + std::to_string(pid) + "/fd"));
    std::ofstream(dir_.Path("proc/" + std::to_string(pid) + "/comm")) << comm << "\n";
  }
  const SerialSurvey survey = SurveySerialDevices(Roots(), User("bob", false));
  EXPECT_TRUE(survey.devices.empty());
  ASSERT_EQ(survey.warnings.size(), 2u);
  EXPECT_EQ(survey.warnings[0].pids, (std::vector<int>{900, 901}));
  // Without an adapter the rule shows where its numbers go.
  EXPECT_NE(survey.warnings[0].text.find("(PIDs 900, 901)"), std::string::npos);
  EXPECT_NE(survey.warnings[0].text.find("  ATTRS{idVendor}==\"VVVV\", ATTRS{idProduct}==\"PPPP\", "
                                         "ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"),
            std::string::npos);
  EXPECT_EQ(survey.warnings[1].program, "brltty");
  EXPECT_EQ(
      survey.warnings[1].text,
      "brltty is running (PID 733). It takes USB serial adapters of some kinds (CH340, "
      "CP210x) for Braille displays and detaches their serial driver, so the device "
      "disappears just after it is plugged in. Without a Braille display, remove it: sudo apt "
      "remove brltty (or your system's equivalent)");
}

// What Windows's device list says of a port, in the fields Linux fills.
TEST(PortPropertiesTest, HardwareIdsGiveTheUsbNumbersAsLinuxWritesThem) {
  EXPECT_EQ(UsbIdFromHardwareId(R"(USB\VID_0403&PID_6001&REV_0600)"), "0403:6001");
  EXPECT_EQ(UsbIdFromHardwareId(R"(FTDIBUS\COMPORT&VID_0403&PID_6015)"), "0403:6015");
  EXPECT_EQ(UsbIdFromHardwareId(R"(usb\vid_1A86&pid_7523)"), "1a86:7523");
  EXPECT_EQ(UsbIdFromHardwareId(R"(ACPI\PNP0501)"), "");
  EXPECT_EQ(UsbIdFromHardwareId(R"(USB\VID_04&PID_6001)"), "") << "a short vendor number";
  EXPECT_EQ(UsbIdFromHardwareId(R"(USB\VID_0403)"), "") << "no product number";
  EXPECT_EQ(UsbIdFromHardwareId(""), "");
}

TEST(PortPropertiesTest, TheFriendlyNameLosesOnlyItsOwnPortName) {
  EXPECT_EQ(ProductFromFriendlyName("USB Serial Port (COM5)", "COM5"), "USB Serial Port");
  EXPECT_EQ(ProductFromFriendlyName("Prolific USB-to-Serial Comm Port (com12)", "COM12"),
            "Prolific USB-to-Serial Comm Port");
  EXPECT_EQ(ProductFromFriendlyName("Communications Port (COM1)", "COM2"),
            "Communications Port (COM1)");
  EXPECT_EQ(ProductFromFriendlyName("(COM3)", "COM3"), "(COM3)") << "nothing but the name";
  EXPECT_EQ(ProductFromFriendlyName("", "COM3"), "");
}

}  // namespace
}  // namespace zlm5
