// SPDX-License-Identifier: GPL-3.0-or-later
// Port names and the settings file.

#include "link/port_names.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/link/link_test_support.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

TEST(PortNamesTest, ComNamesGoThroughTheTableAndPathsAreKept) {
  PortTable table;
  table.devices[0] = "/dev/ttyUSB0";
  EXPECT_EQ(*ResolvePortName("COM1", table), "/dev/ttyUSB0");
  EXPECT_EQ(*ResolvePortName("com2", table), "/dev/ttyS1");
  EXPECT_EQ(*ResolvePortName("COM4", table), "/dev/ttyS3");
  EXPECT_EQ(*ResolvePortName("/dev/pts/7", table), "/dev/pts/7");
  auto bad = ResolvePortName("COM5", table);
  ASSERT_FALSE(bad);
  EXPECT_NE(bad.error().Message().find("COM1 to COM4"), std::string::npos);
  EXPECT_FALSE(ResolvePortName("ttyUSB0", table));
}

// Linux keeps COM5 and up out: only the table's four names are COM names.
TEST(PortNamesTest, OnLinuxOnlyTheTablesFourNamesAreComNames) {
  EXPECT_TRUE(IsComPortName(" com4 "));
  EXPECT_FALSE(IsComPortName("COM5"));
  EXPECT_FALSE(IsComPortName(R"(\\.\COM1)"));
  EXPECT_EQ(PortTable{}.devices,
            (std::array<std::string, 4>{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"}));
}

TEST(PortNamesTest, ComNumbersAreOneTo256WithoutLeadingZeros) {
  EXPECT_EQ(ComPortNumber("COM1"), 1);
  EXPECT_EQ(ComPortNumber("com10"), 10);
  EXPECT_EQ(ComPortNumber("Com256"), 256);
  for (const std::string_view bad : {"COM0", "COM257", "COM05", "COM", "COMX", "COM1 ", "COM1a",
                                     "LPT1", "COM1000", "", R"(\\.\COM1)"}) {
    EXPECT_EQ(ComPortNumber(bad), std::nullopt) << bad;
  }
}

// Windows opens COM10 and above only as \\.\COM10, and so every COM name.
TEST(PortNamesTest, AComNameOpensAsItsDeviceNameAndOtherNamesAsTheyAre) {
  EXPECT_EQ(ComDevicePath("COM10"), R"(\\.\COM10)");
  EXPECT_EQ(ComDevicePath("com5"), R"(\\.\COM5)");
  EXPECT_EQ(ComDevicePath(R"(\\.\CNCA0)"), R"(\\.\CNCA0)");
  EXPECT_EQ(ComDevicePath(R"(\\.\com7)"), R"(\\.\com7)");
  EXPECT_EQ(ComDevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
}

TEST(PortNamesTest, EveryNameOfAComPortHasOneKey) {
  EXPECT_EQ(ComPortKey("com5"), "COM5");
  EXPECT_EQ(ComPortKey("COM5"), "COM5");
  EXPECT_EQ(ComPortKey(R"(\\.\Com5)"), "COM5");
  EXPECT_EQ(ComPortKey(R"(\\.\CNCA0)"), std::nullopt);
  EXPECT_EQ(ComPortKey("/dev/ttyS4"), std::nullopt);
}

// On Linux a port's identity is where its path leads.
TEST(PortNamesTest, APortsIdentityFollowsLinks) {
  test::TempDir dir;
  const std::string device = dir.Path("ttyUSB0");
  std::ofstream(device) << "";
  fs::create_symlink(device, dir.Path("by-id-link"));
  EXPECT_EQ(PortIdentity(dir.Path("by-id-link")), fs::canonical(device).string());
  EXPECT_EQ(PortIdentity("/nonexistent/ttyUSB9"), "/nonexistent/ttyUSB9");
}

TEST(PortNamesTest, SettingsTextOverridesOnlyTheNamesItLists) {
  auto table = ParsePortTable("# my cable\n\nCOM1 = /dev/ttyUSB0\n  com3=/dev/ttyACM0  \n");
  ASSERT_TRUE(table);
  EXPECT_EQ(table->devices, (std::array<std::string, 4>{"/dev/ttyUSB0", "/dev/ttyS1",
                                                        "/dev/ttyACM0", "/dev/ttyS3"}));
  EXPECT_EQ(*ParsePortTable(FormatPortTable(*table)), *table);
}

TEST(PortNamesTest, MalformedSettingsNameTheLine) {
  auto no_equals = ParsePortTable("COM1 = /dev/ttyS0\nCOM2 /dev/ttyS1\n");
  ASSERT_FALSE(no_equals);
  EXPECT_EQ(no_equals.error().what(), "line 2");
  auto unknown = ParsePortTable("COM9 = /dev/ttyS0\n");
  ASSERT_FALSE(unknown);
  EXPECT_NE(unknown.error().reason().find("COM9"), std::string::npos);
  EXPECT_FALSE(ParsePortTable("COM1 = ttyUSB0\n"));
}

TEST(PortNamesTest, SettingsFileLivesUnderXdgConfigHome) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  const char* old_home = std::getenv("HOME");
  const std::string saved_home = old_home ? old_home : "";
  setenv("XDG_CONFIG_HOME", "/tmp/cfg", 1);
  EXPECT_EQ(PortSettingsPath(), "/tmp/cfg/z-lm5/ports.conf");
  setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored
  setenv("HOME", "/home/user", 1);
  EXPECT_EQ(PortSettingsPath(), "/home/user/.config/z-lm5/ports.conf");
  setenv("HOME", saved_home.c_str(), 1);
  if (old) {
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
}

TEST(PortNamesTest, SaveAndLoadRoundTripAndAMissingFileGivesDefaults) {
  test::TempDir dir;
  const std::string path = dir.Path("z-lm5/ports.conf");
  EXPECT_EQ(*LoadPortTable(path), PortTable{});
  PortTable table;
  table.devices[1] = "/dev/ttyUSB1";
  ASSERT_TRUE(SavePortTable(path, table));
  EXPECT_EQ(*LoadPortTable(path), table);
  std::ofstream(path) << "COM2 = nowhere\n";
  auto bad = LoadPortTable(path);
  ASSERT_FALSE(bad);
  EXPECT_EQ(bad.error().Message(), path + ": line 1: the device of COM2 must be an absolute path");
}

// The settings cannot replace a folder of their name: the rename's own
// reason is told, with its number.
TEST(PortNamesTest, SaveOverAFolderTellsTheRenamesReason) {
  test::TempDir dir;
  const std::string path = dir.Path("ports.conf");
  std::filesystem::create_directories(path + "/kept");
  const Status saved = SavePortTable(path, PortTable{});
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.error().Message(), path + ": Is a directory");
  EXPECT_EQ(saved.error().code(), EISDIR);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp")) << "no temporary file is left";
}

}  // namespace
}  // namespace zlm5
