// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/serial_transport.h"

namespace zlm5 {

// A serial device: on POSIX termios a USB adapter (/dev/ttyUSB0), a
// built-in UART (/dev/ttyS0) or a pseudo-terminal (the radio simulator); on
// Windows a COM port ("COM5", "\\.\COM12"), see serial_port_win.cpp.
//
// On POSIX, Open takes the device for exclusive use: TIOCEXCL keeps other users out,
// and an flock (which holds against root as well) keeps a second instance of
// this program from interleaving bytes with ours. The line is raw 9600 8N1,
// receiver on, modem control lines ignored; Close puts back the settings
// the device had before. The terminal this program runs in (/dev/tty, or
// its own name) is refused. A device that is no terminal (/dev/null, a
// file) is refused as not a serial port (ENOTTY); a busy one (EBUSY) names
// the other programs that have it open, as the port finder sees them.
// Time is measured on the monotonic clock; EINTR is retried; a hang-up
// (adapter pulled, simulator gone) is an I/O error.
class SerialPort : public SerialTransport {
 public:
  SerialPort();
  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  Status Open(const std::string& device, const TimeoutProfile& profile) override;
  bool IsOpen() const override { return native_ != nullptr; }
  void Close() override;

  void SetProfile(const TimeoutProfile& profile) override { profile_ = profile; }
  const TimeoutProfile& profile() const override { return profile_; }

  Status Purge(PurgeMask mask) override;
  Status Drain() override;
  Result<std::size_t> Write(std::span<const std::uint8_t> bytes) override;
  Result<std::size_t> Read(std::span<std::uint8_t> buffer) override;
  void SetWaitCallback(WaitCallback callback) override { wait_callback_ = std::move(callback); }

  const std::string& device() const { return device_; }
  // The system's handle of the open port: the file descriptor on POSIX,
  // the HANDLE on Windows; -1 when closed.
  std::intptr_t native_handle() const;

 private:
  // The open device and what Close puts back; present only while open.
  struct Native;

  std::unique_ptr<Native> native_;
  std::string device_;
  TimeoutProfile profile_ = TimeoutProfile::Transfer();
  WaitCallback wait_callback_;
};

// What to tell a user whose port failed to open with `error`: on POSIX, when
// the system refused access (EACCES, EPERM) how to get access to serial
// ports; on Windows, that another program has the port (access denied,
// sharing violation) or that the port is not there (file not found);
// otherwise "".
std::string PortAccessHint(const Error& error);

}  // namespace zlm5
