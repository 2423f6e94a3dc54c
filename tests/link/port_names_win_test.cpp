// SPDX-License-Identifier: GPL-3.0-or-later
// Port names and the fleet's one-port-twice check as Windows has them:
// COM ports by their own names, in any letter case.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "link/fleet_plan.h"
#include "link/port_names.h"
#include "link/serial_port.h"
#include "model/win32_text.h"

namespace zlm5 {
namespace {

TEST(PortNamesWinTest, AComNameIsThePortItselfInAnyLetterCase) {
  const PortTable table;
  EXPECT_EQ(*ResolvePortName("com5", table), "COM5");
  EXPECT_EQ(*ResolvePortName(" COM256 ", table), "COM256");
  EXPECT_EQ(*ResolvePortName(R"(\\.\CNCA0)", table), R"(\\.\CNCA0)");
  EXPECT_TRUE(IsComPortName("Com12"));
  EXPECT_FALSE(IsComPortName(R"(\\.\COM12)"));

  for (const char* bad : {"COM257", "COM0", "/dev/ttyS0", "ttyUSB0", R"(\\.\)"}) {
    const Result<std::string> refused = ResolvePortName(bad, table);
    ASSERT_FALSE(refused) << bad;
    EXPECT_EQ(refused.error().Message(),
              "port \"" + std::string(bad) +
                  "\": unknown port name; use COM1 to COM256 or a device name such as \\\\.\\COM5");
  }
}

TEST(PortNamesWinTest, TheTableIsTheComPortsAndNoFileIsRead) {
  EXPECT_EQ(DefaultPortDevices(), (std::array<std::string, 4>{"COM1", "COM2", "COM3", "COM4"}));
  // Not even a folder where the file would be is looked at.
  const Result<PortTable> loaded = LoadPortTable(R"(C:\windows)");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(*loaded, PortTable{});
}

TEST(PortNamesWinTest, OnePortByTwoNamesIsGivenTwice) {
  const std::vector<FleetPort> case_only = {{"COM5", "COM5"}, {"com5", "COM5"}};
  EXPECT_FALSE(CheckFleetPorts(case_only));
  const std::vector<FleetPort> device_name = {{"COM5", "COM5"}, {R"(\\.\com5)", R"(\\.\com5)"}};
  const Status twice = CheckFleetPorts(device_name);
  ASSERT_FALSE(twice);
  EXPECT_EQ(twice.error().Message(), R"(COM5 and \\.\com5: the same port is given twice (COM5))");
  const std::vector<FleetPort> two = {{"COM5", "COM5"}, {"COM15", "COM15"}};
  EXPECT_TRUE(CheckFleetPorts(two));
  EXPECT_EQ(PortIdentity(R"(\\.\CNCA0)"), R"(\\.\CNCA0)");
}

TEST(PortNamesWinTest, TheHintsSayWhatToDoForAPortInUseOrMissing) {
  const std::string in_use = "The port is in use by another program: close it and try again.";
  EXPECT_EQ(PortAccessHint(Error::FromSystem("COM3", ERROR_ACCESS_DENIED)), in_use);
  EXPECT_EQ(PortAccessHint(Error::FromSystem("COM3", ERROR_SHARING_VIOLATION)), in_use);
  EXPECT_EQ(PortAccessHint(Error::FromSystem("COM3", ERROR_FILE_NOT_FOUND)),
            "This computer has no such port: the cable is unplugged or its driver is missing. "
            "Device Manager shows the ports there are under \"Ports (COM & LPT)\".");
  EXPECT_EQ(PortAccessHint(Error::FromSystem("COM3", ERROR_GEN_FAILURE)), "");
  EXPECT_EQ(PortAccessHint(Error("COM3", "Access is denied")), "") << "no number, no hint";
}

TEST(PortNamesWinTest, SystemTextsComeInUtf8WithoutTheirFullStop) {
  const Error error = Error::FromSystem("COM7", ERROR_ACCESS_DENIED, "cannot open: ");
  EXPECT_EQ(error.code(), 5);
  EXPECT_EQ(error.Message(), "COM7: cannot open: " + SystemErrorText(ERROR_ACCESS_DENIED));
  EXPECT_EQ(Utf8FromWide(WideFromUtf8("Kanäle-Канал")), "Kanäle-Канал");
  EXPECT_EQ(WideFromUtf8("ä"), std::wstring(L"\u00E4"));
}

}  // namespace
}  // namespace zlm5
