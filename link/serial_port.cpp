// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef __linux__
#include <linux/serial.h>
#endif

#include "link/link_clock.h"
#include "link/serial_devices.h"

namespace zlm5 {
namespace {

using Clock = std::chrono::steady_clock;

// Waits up to `timeout` for `events` on fd. Returns the revents (0 on
// timeout), or -1 with errno for a failed poll other than EINTR.
int WaitFor(int fd, short events, Clock::duration timeout) {
  pollfd p{fd, events, 0};
  const timespec ts = ToTimespec(timeout);
  const int r = ppoll(&p, 1, &ts, nullptr);
  if (r < 0) return errno == EINTR ? 0 : -1;
  return r == 0 ? 0 : p.revents;
}

// Asks a USB adapter driver (FTDI and others) to pass received bytes on at
// once instead of after its latency timer (16 ms by default): every block
// of a transfer waits for a reply, so that delay would be paid 394 times.
// Drivers and pseudo-terminals that do not support it refuse; that is fine.
void RequestLowLatency(int fd) {
#ifdef __linux__
  serial_struct ss{};
  if (ioctl(fd, TIOCGSERIAL, &ss) == 0) {
    ss.flags |= ASYNC_LOW_LATENCY;
    (void)ioctl(fd, TIOCSSERIAL, &ss);
  }
#else
  (void)fd;
#endif
}

// The radio's line: raw 9600 baud 8N1, set flag by flag on the device's
// own settings.
void SetRadioLine(termios& tio) {
  // Input: no break or parity handling, no CR/LF translation, no software
  // flow control, all 8 bits kept.
  tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | INPCK | ISTRIP | INLCR | IGNCR |
                                        ICRNL | IXON | IXOFF | IXANY);
  // Output: bytes go out exactly as written.
  tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
  // No echo, no line editing, no signals from received bytes.
  tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
  // 8 data bits, no parity, one stop bit, no hardware flow control.
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8;
  // Receiver on; modem status lines (carrier detect) ignored.
  tio.c_cflag |= CREAD | CLOCAL;
  // A read returns as soon as one byte is there; time-outs are ours.
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
}

// True when `fd` is the terminal this program runs in (/dev/tty, or the
// same terminal by its own name): the kernel answers TIOCGSID only for the
// controlling terminal of our session.
bool IsOurControllingTerminal(int fd) {
  const pid_t session = tcgetsid(fd);
  return session >= 0 && session == getsid(0);
}

// Why a device that opened but is no terminal cannot be the radio's port,
// in the user's words: /dev/null, a file or a pipe would otherwise get the
// system's "Inappropriate ioctl for device". The error number stays ENOTTY.
Error NotASerialPort(const std::string& device, int fd) {
  struct stat info {};
  const mode_t type = fstat(fd, &info) == 0 ? (info.st_mode & S_IFMT) : 0;
  std::string reason = "this device is not a serial port";
  if (type == S_IFREG) reason = "this is a file, not a serial port";
  if (type == S_IFIFO) reason = "this is a named pipe, not a serial port";
  return Error(device, reason, ENOTTY);
}

// A port another open keeps to itself: the system's text, then the
// programs that have it open, so the user knows which one to close. This
// program itself is not named (it knows its own ports). When no holder at
// all is found but some processes could not be looked at, the holder is
// probably another user's.
Error BusyPort(const std::string& device) {
  DeviceHolders holders = FindDeviceHolders(SystemRoots{}, device);
  const bool ours =
      std::erase_if(holders.processes, [](const ProcessRef& p) { return p.pid == getpid(); }) > 0;
  std::string reason = ErrnoText(EBUSY);
  if (!holders.processes.empty()) {
    reason += ": " + InUseText(holders.processes);
  } else if (!ours && !holders.all_processes_seen) {
    reason += ": probably in use by a program of another user";
  }
  return Error(device, reason, EBUSY);
}

// A failed call on the open device, naming the device and what was done.
Error IoError(const std::string& device, const std::string& action, int error_number) {
  return Error::FromErrno(device + " (" + action + ")", error_number);
}

}  // namespace

struct SerialPort::Native {
  int fd = -1;
  termios original_settings{};  // the device's settings before Open
};

SerialPort::SerialPort() = default;

SerialPort::~SerialPort() { Close(); }

std::intptr_t SerialPort::native_handle() const { return native_ ? native_->fd : -1; }

Status SerialPort::Open(const std::string& device, const TimeoutProfile& profile) {
  Close();
  // O_NONBLOCK: do not wait for a carrier on open; all I/O below polls with
  // its own deadline. O_NOCTTY: the radio must never become our controlling
  // terminal. O_CLOEXEC: programs we start do not inherit the port.
  const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == EBUSY ? BusyPort(device) : Error::FromErrno(device, errno);

  auto fail = [&](int error_number) -> Status {
    ::close(fd);
    return Error::FromErrno(device, error_number);
  };

  if (!isatty(fd)) {
    Error not_a_port = NotASerialPort(device, fd);
    ::close(fd);
    return not_a_port;
  }
  // The wake-up bytes would go to the user's own screen, and the terminal
  // would be left raw at 9600 baud.
  if (IsOurControllingTerminal(fd)) {
    ::close(fd);
    return Error(device, "this is the terminal the program runs in, not the radio's serial port");
  }
  // The lock holds against every other user of this program, root included
  // (TIOCEXCL below does not stop root). It goes away with the descriptor.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK) return fail(errno);
    ::close(fd);
    return BusyPort(device);
  }
  // Further opens of the device by other programs fail with EBUSY.
  if (ioctl(fd, TIOCEXCL) != 0) return fail(errno);

  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return fail(errno);
  const termios original = tio;
  SetRadioLine(tio);
  if (tcsetattr(fd, TCSANOW, &tio) != 0) return fail(errno);

  // The driver's queues (1024 bytes in, 512 out were asked for on the old
  // platform) are the kernel's own 4 KiB buffers here: nothing to request.
  RequestLowLatency(fd);
  // Start from empty queues: nothing left over from an earlier program.
  tcflush(fd, TCIOFLUSH);

  native_ = std::make_unique<Native>(Native{fd, original});
  device_ = device;
  profile_ = profile;
  return Ok{};
}

void SerialPort::Close() {
  if (!native_) return;
  const int fd = native_->fd;
  // The device goes back to the settings it had: another program (or a
  // console on the port) finds it as it left it. TCSANOW: a line that no
  // longer drains must not hold up the close.
  (void)tcsetattr(fd, TCSANOW, &native_->original_settings);
  // Clear the exclusive flag: the tty may stay open elsewhere (the radio
  // simulator keeps its side open), and the next open must not find it set.
  (void)ioctl(fd, TIOCNXCL);
  ::close(fd);
  native_.reset();
}

Status SerialPort::Drain() {
  if (!native_) return Error(device_, "the port is not open");
  const int fd = native_->fd;
  while (tcdrain(fd) != 0) {
    if (errno != EINTR) return IoError(device_, "drain", errno);
  }
  return Ok{};
}

Status SerialPort::Purge(PurgeMask /*mask*/) {
  // Both masks mean the same here: our writes are complete when they
  // return, so there is nothing pending to abort. The output queue is
  // drained rather than cleared, so no byte we wrote is lost; then what
  // has arrived and not been read is discarded.
  Status drained = Drain();
  if (!drained) return drained;
  if (tcflush(native_->fd, TCIFLUSH) != 0) return IoError(device_, "purge", errno);
  return Ok{};
}

Result<std::size_t> SerialPort::Write(std::span<const std::uint8_t> bytes) {
  if (!native_) return Error(device_, "the port is not open");
  const int fd = native_->fd;
  const auto deadline = Clock::now() + profile_.WriteTotal(bytes.size());
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t r = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (r > 0) {
      done += static_cast<std::size_t>(r);
      continue;
    }
    if (r < 0 && errno == EINTR) continue;
    if (r < 0 && errno != EAGAIN) return IoError(device_, "write", errno);
    // The output queue is full: wait for room until the write time-out.
    const auto now = Clock::now();
    if (now >= deadline) break;
    const int ev = WaitFor(fd, POLLOUT, deadline - now);
    if (ev < 0) return IoError(device_, "write", errno);
    if (ev & (POLLERR | POLLHUP | POLLNVAL)) return IoError(device_, "write", EIO);
  }
  return done;
}

Result<std::size_t> SerialPort::Read(std::span<std::uint8_t> buffer) {
  if (!native_) return Error(device_, "the port is not open");
  const int fd = native_->fd;
  const std::size_t n = buffer.size();
  if (n == 0) return std::size_t{0};

  const auto start = Clock::now();
  const auto total_deadline = start + profile_.ReadTotal(n);
  const auto interval = std::chrono::milliseconds(profile_.read_interval_ms);
  auto next_callback = start + kWaitCallbackPeriod;
  Clock::time_point last_byte{};
  std::size_t got = 0;

  while (got < n) {
    const ssize_t r = ::read(fd, buffer.data() + got, n - got);
    if (r > 0) {
      got += static_cast<std::size_t>(r);
      last_byte = Clock::now();
      continue;
    }
    // With VMIN = 1 a read without data fails with EAGAIN; end of file
    // means the other side hung up.
    if (r == 0) return IoError(device_, "read", EIO);
    if (errno == EINTR) continue;
    if (errno != EAGAIN) return IoError(device_, "read", errno);

    auto now = Clock::now();
    auto deadline = total_deadline;
    if (got > 0) deadline = std::min(deadline, last_byte + interval);
    if (now >= deadline) break;
    if (wait_callback_ && now >= next_callback) {
      if (!wait_callback_()) break;
      now = Clock::now();
      next_callback = now + kWaitCallbackPeriod;
      if (now >= deadline) continue;  // one last look for bytes
    }
    auto wake = deadline;
    if (wait_callback_) wake = std::min(wake, next_callback);
    const int ev = WaitFor(fd, POLLIN, wake - now);
    if (ev < 0) return IoError(device_, "read", errno);
    if ((ev & (POLLERR | POLLNVAL)) || ((ev & POLLHUP) && !(ev & POLLIN))) {
      return IoError(device_, "read", EIO);
    }
  }
  return got;
}

std::string PortAccessHint(const Error& error) {
  if (error.code() == EACCES || error.code() == EPERM) {
    return "Your user account has no access to serial ports. On Debian, add it to the "
           "\"dialout\" group (sudo adduser $USER dialout), then log out and in again.";
  }
  return {};
}

}  // namespace zlm5
