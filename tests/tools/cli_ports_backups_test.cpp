// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli ports and backups, run as a user or a script would.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <optional>

#include "files/backup_store.h"
#include "tests/link/fake_serial_tree.h"
#include "tests/tools/cli_runner.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;
using testing_cli::CliRun;

class CliPortsBackupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zlm5-ports-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    saved_xdg_ = xdg ? std::optional<std::string>(xdg) : std::nullopt;
  }
  void TearDown() override {
    if (saved_xdg_) {
      ::setenv("XDG_DATA_HOME", saved_xdg_->c_str(), 1);
    } else {
      ::unsetenv("XDG_DATA_HOME");
    }
    fs::remove_all(dir_);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  CliRun Cli(const std::vector<std::string>& args) const { return testing_cli::RunCli(args, dir_); }

  fs::path dir_;
  std::optional<std::string> saved_xdg_;
};

// The fake nodes belong to the user running the test, who may open them all.
TEST_F(CliPortsBackupsTest, PortsPrintsOneLinePerDeviceAndWarnsOfModemManager) {
  const test::FakeSerialTree tree(dir_ / "root");
  const std::string dev = Path("root/dev/");
  const CliRun run = Cli({"ports", "--root", Path("root")});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out,
            dev +
                "ttyACM0: driver cdc_acm; USB 2341:0043 Arduino (www.arduino.cc) Arduino Uno; "
                "can be opened; free\n" +
                dev + "ttyS0: driver serial; can be opened; free\n" + dev + "ttyUSB0: by-id " +
                dev +
                "serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0; driver ftdi_sio; USB "
                "0403:6001 FTDI FT232R USB UART; can be opened; free\n" +
                dev +
                "ttyUSB1: driver ch341-uart; USB 1a86:7523 USB Serial; can be opened; in use by "
                "minicom (PID 4242)\n");
  EXPECT_TRUE(run.err.starts_with("z-lm5-cli ports: warning: ModemManager is running (PID 812)."))
      << run.err;
  EXPECT_NE(run.err.find("  ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", "
                         "ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"),
            std::string::npos);

  EXPECT_EQ(Cli({"ports", "extra"}).exit_code, 2);
}

TEST_F(CliPortsBackupsTest, PortsJsonHoldsTheSameAsOneObject) {
  const test::FakeSerialTree tree(dir_ / "root");
  // Only the held adapter and no ModemManager, to keep the object short.
  for (const char* gone : {"sys/class/tty/ttyACM0", "sys/class/tty/ttyS0", "sys/class/tty/ttyUSB0",
                           "dev/ttyACM0", "dev/ttyUSB0", "dev/ttyS0", "proc/812"}) {
    fs::remove_all(dir_ / "root" / gone);
  }
  // A process may name itself anything: a quote, a tab, an accented letter
  // in UTF-8 and a byte that is no UTF-8.
  std::ofstream(dir_ / "root/proc/4242/comm", std::ios::trunc) << "mini\"com\t\xC3\xA9\xFF\n";
  const CliRun run = Cli({"ports", "--json", "--root", Path("root")});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(
      run.out,
      "{\n"
      "  \"devices\": [\n"
      "    {\"path\": \"" +
          Path("root/dev/ttyUSB1") +
          "\", \"by_id\": null, \"driver\": "
          "\"ch341-uart\", \"usb_id\": \"1a86:7523\", \"product\": \"USB Serial\", \"can_open\": "
          "true, \"group\": \"dialout\", \"in_group\": true, \"access_problem\": null, "
          "\"held_by\": [{\"pid\": 4242, \"name\": \"mini\\\"com\\u0009\xC3\xA9\\ufffd\"}]}\n"
          "  ],\n"
          "  \"warnings\": [],\n"
          "  \"all_processes_seen\": true\n"
          "}\n");
  EXPECT_EQ(run.err, "");
}

// The help names the folder as the XDG rules do, wrapped like the rest.
TEST_F(CliPortsBackupsTest, BackupsHelpNamesTheFolder) {
  const CliRun help = Cli({"backups", "--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_EQ(help.out.substr(0, help.out.find("The newest 200")),
            "Usage: z-lm5-cli backups\n"
            "\n"
            "Every completed read keeps the image it read, and every write the image\n"
            "it sent, as a channel data file in $XDG_DATA_HOME/z-lm5/backups\n"
            "(~/.local/share/z-lm5/backups when XDG_DATA_HOME is not set), named by\n"
            "the date, time and direction of the transfer:\n"
            "  2026-12-07_21-47-18_read.sin\n");
}

TEST_F(CliPortsBackupsTest, BackupsListsNewestFirstAndAnAbsentFolderAsNothing) {
  ::setenv("XDG_DATA_HOME", Path("data").c_str(), 1);
  const CliRun none = Cli({"backups"});
  EXPECT_EQ(none.exit_code, 0);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err, "");

  BackupStore store(DefaultBackupFolder());
  std::tm time{};
  time.tm_year = 2026 - 1900;
  time.tm_mon = 11;
  time.tm_mday = 7;
  time.tm_hour = 21;
  time.tm_min = 47;
  time.tm_sec = 18;
  ASSERT_TRUE(store.Save(RadioImage(), TransferDirection::kRead, time));
  ASSERT_TRUE(store.Save(RadioImage(), TransferDirection::kWrite, time));
  time.tm_hour = 9;
  ASSERT_TRUE(store.Save(RadioImage(), TransferDirection::kWrite, time));

  const std::string folder = Path("data/z-lm5/backups/");
  const CliRun run = Cli({"backups"});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, folder + "2026-12-07_21-47-18_write-2.sin\twrite\t2026-12-07 21:47:18\n" +
                         folder + "2026-12-07_21-47-18_read.sin\tread\t2026-12-07 21:47:18\n" +
                         folder + "2026-12-07_09-47-18_write.sin\twrite\t2026-12-07 09:47:18\n");

  // A file where the folder should be.
  ::setenv("XDG_DATA_HOME", Path("data/z-lm5/backups/2026-12-07_09-47-18_write.sin").c_str(), 1);
  const CliRun broken = Cli({"backups"});
  EXPECT_EQ(broken.exit_code, 3);
  EXPECT_EQ(broken.err, "z-lm5-cli backups: " + folder +
                            "2026-12-07_09-47-18_write.sin/z-lm5/backups: cannot list the backups: "
                            "Not a directory\n");
}

}  // namespace
}  // namespace zlm5
