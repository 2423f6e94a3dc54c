// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A machine's /sys, /dev, /proc and /etc/group in a test folder, as the
// port finder reads them: three USB adapters, a built-in UART, an empty
// UART slot, a virtual terminal, a terminal program holding one adapter
// and ModemManager running. Device nodes are plain files owned by the test
// user, with the modes a user would meet.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace zlm5::test {

class FakeSerialTree {
 public:
  explicit FakeSerialTree(const std::filesystem::path& root) : root_(root) {
    namespace fs = std::filesystem;
    const fs::path usb = Sys("devices/pci0000:00/0000:00:14.0/usb1");
    AddUsbDevice(usb / "1-2", "0403", "6001", "FTDI", "FT232R USB UART");
    AddUsbDevice(usb / "1-3", "1a86", "7523", "", "USB Serial");
    AddUsbDevice(usb / "1-4", "2341", "0043", "Arduino (www.arduino.cc)", "Arduino Uno");
    // ttyUSB sits on a usb-serial port below the interface; ttyACM on the interface.
    AddTty("ttyUSB0", usb / "1-2/1-2:1.0/ttyUSB0", "usb-serial/drivers/ftdi_sio", 0660);
    AddTty("ttyUSB1", usb / "1-3/1-3:1.0/ttyUSB1", "usb-serial/drivers/ch341-uart", 0666);
    AddTty("ttyACM0", usb / "1-4/1-4:1.0", "usb/drivers/cdc_acm", 0660);
    // A UART as kernels since 6.5 show it: port and controller devices of
    // the serial-base bus between the tty and the device with the driver.
    const fs::path uart = Sys("devices/pnp0/00:01");
    AddTty("ttyS0", uart / "00:01:0/00:01:0.0", "serial-base/drivers/port", 0600);
    Driver(uart / "00:01:0", "serial-base/drivers/ctrl");
    Driver(uart, "pnp/drivers/serial");
    std::ofstream(Sys("class/tty/ttyS0/type")) << "4\n";
    AddTty("ttyS1", Sys("devices/platform/serial8250"), "platform/drivers/serial8250", 0660);
    std::ofstream(Sys("class/tty/ttyS1/type")) << "0\n";  // no UART behind it
    fs::create_directories(Sys("class/tty/tty0"));        // a virtual terminal
    Node("tty0", 0620);
    Node("null", 0666);

    fs::create_directories(Dev("serial/by-id"));
    fs::create_symlink("../../ttyUSB0",
                       Dev("serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));

    AddProcess(1, "systemd", {});
    AddProcess(812, "ModemManager", {});
    // Twice open, one holder.
    AddProcess(4242, "minicom", {Dev("ttyUSB1").string(), Dev("ttyUSB1").string(), "/dev/pts/3"});

    std::filesystem::create_symlink("4242", Proc("self"));

    // The nodes belong to the test's own group, named dialout here.
    std::filesystem::create_directories(root_ / "etc");
    std::ofstream(root_ / "etc/group") << "wheel:x:" << ::getegid() + 1 << ":\n"
                                       << "dialout:x:" << ::getegid() << ":alice,carol\n";
  }

  std::filesystem::path Sys(const std::string& rel) const { return root_ / "sys" / rel; }
  std::filesystem::path Dev(const std::string& rel) const { return root_ / "dev" / rel; }
  std::filesystem::path Proc(const std::string& rel) const { return root_ / "proc" / rel; }

 private:
  void AddUsbDevice(const std::filesystem::path& dir, const char* vendor, const char* product_id,
                    const char* maker, const char* product) {
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "idVendor") << vendor << "\n";
    std::ofstream(dir / "idProduct") << product_id << "\n";
    if (*maker) std::ofstream(dir / "manufacturer") << maker << "\n";
    std::ofstream(dir / "product") << product << "\n";
  }

  void AddTty(const std::string& name, const std::filesystem::path& device,
              const std::string& driver, mode_t mode) {
    namespace fs = std::filesystem;
    fs::create_directories(device);
    Driver(device, driver);
    fs::create_directories(Sys("class/tty/" + name));
    fs::create_directory_symlink(device, Sys("class/tty/" + name + "/device"));
    Node(name, mode);
  }

  void Driver(const std::filesystem::path& device, const std::string& driver) {
    std::filesystem::create_directories(Sys("bus/" + driver));
    std::filesystem::create_directory_symlink(Sys("bus/" + driver), device / "driver");
  }

  void Node(const std::string& name, mode_t mode) {
    std::filesystem::create_directories(root_ / "dev");
    std::ofstream(Dev(name)).put('\0');
    ::chmod(Dev(name).c_str(), mode);
  }

  void AddProcess(int pid, const std::string& comm, std::initializer_list<std::string> open_files) {
    namespace fs = std::filesystem;
    const fs::path dir = Proc(std::to_string(pid));
    fs::create_directories(dir / "fd");
    std::ofstream(dir / "comm") << comm << "\n";
    int fd = 3;
    for (const std::string& file : open_files)
      fs::create_symlink(file, dir / "fd" / std::to_string(fd++));
  }

  std::filesystem::path root_;
};

}  // namespace zlm5::test
