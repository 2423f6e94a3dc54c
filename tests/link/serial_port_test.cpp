// SPDX-License-Identifier: GPL-3.0-or-later
// The termios port on a pseudo-terminal: time-outs, hang-up, exclusive
// access, raw bytes, purges.

#include "link/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace zlm5 {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The other end of the line: a pseudo-terminal master.
class PtyPair {
 public:
  PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    path_ = ptsname(master_);
  }
  ~PtyPair() { CloseMaster(); }
  const std::string& path() const { return path_; }
  void Send(std::vector<std::uint8_t> bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // What the port wrote, waiting up to `wait` for `n` bytes.
  std::vector<std::uint8_t> Receive(std::size_t n, std::chrono::milliseconds wait = 2000ms) {
    std::vector<std::uint8_t> out;
    const auto end = Clock::now() + wait;
    while (out.size() < n && Clock::now() < end) {
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 20) <= 0) continue;
      std::uint8_t b[64];
      const ssize_t r = ::read(master_, b, std::min(sizeof b, n - out.size()));
      if (r > 0) out.insert(out.end(), b, b + r);
    }
    return out;
  }
  void CloseMaster() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }

 private:
  int master_ = -1;
  std::string path_;
};

constexpr TimeoutProfile kShort{30, 20, 50, 50, 50};

// Waits until `count` bytes wait unread in the input queue of `fd`: the
// pseudo-terminal passes bytes on in the kernel's own time. False if they
// never come.
bool WaitUntilQueued(int fd, int count) {
  for (int looks = 0; looks < 5000; ++looks) {
    int queued = 0;
    if (ioctl(fd, FIONREAD, &queued) != 0) return false;
    if (queued >= count) return true;
    std::this_thread::sleep_for(1ms);
  }
  return false;
}

TEST(SerialPortTest, ReadOfASilentLineEndsAfterTheTotalTimeOut) {
  PtyPair pty;
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.path(), kShort));
  std::array<std::uint8_t, 3> buffer{};
  const auto start = Clock::now();
  auto got = port.Read(buffer);
  const auto took = Clock::now() - start;
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, 0u);
  EXPECT_GE(took, 110ms);  // 20 x 3 + 50
  EXPECT_LT(took, 5s);
}

TEST(SerialPortTest, ReadEndsWhenNoFurtherByteComesWithinTheInterval) {
  PtyPair pty;
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.path(), TimeoutProfile{60, 1000, 1000, 50, 50}));
  pty.Send({0x41, 0x42});
  std::array<std::uint8_t, 10> buffer{};
  const auto start = Clock::now();
  auto got = port.Read(buffer);
  const auto took = Clock::now() - start;
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, 2u);
  EXPECT_EQ(buffer[0], 0x41);
  EXPECT_EQ(buffer[1], 0x42);
  EXPECT_GE(took, 60ms);
  EXPECT_LT(took, 5s);  // far below the total of 11 s
}

TEST(SerialPortTest, ReadReturnsAsSoonAsAllBytesArrived) {
  PtyPair pty;
  SerialPort port;
  // Time-outs far longer than the test: the read can end only by getting
  // all five bytes.
  ASSERT_TRUE(port.Open(pty.path(), TimeoutProfile{60'000, 0, 60'000, 50, 50}));
  // The first three bytes are there when the read begins; the other two
  // come once it waits for them.
  pty.Send({1, 2, 3});
  int waits = 0;
  port.SetWaitCallback([&] {
    if (++waits == 1) pty.Send({4, 5});
    return true;
  });
  std::array<std::uint8_t, 5> buffer{};
  auto got = port.Read(buffer);
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, 5u);
  EXPECT_EQ(buffer, (std::array<std::uint8_t, 5>{1, 2, 3, 4, 5}));
  EXPECT_GE(waits, 1) << "the last bytes came while the read waited";
}

TEST(SerialPortTest, HangUpIsAnErrorNotAShortRead) {
  PtyPair pty;
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.path(), TimeoutProfile::Transfer()));
  pty.CloseMaster();
  std::array<std::uint8_t, 1> buffer{};
  auto got = port.Read(buffer);
  EXPECT_FALSE(got) << "a hang-up is not a time-out";
  std::array<std::uint8_t, 1> byte{0x06};
  EXPECT_FALSE(port.Write(byte));
}

TEST(SerialPortTest, SecondOpenIsRefusedWhileTheFirstHoldsThePort) {
  PtyPair pty;
  SerialPort first;
  SerialPort second;
  ASSERT_TRUE(first.Open(pty.path(), TimeoutProfile::Transfer()));
  // Also as root, where TIOCEXCL alone would let it through.
  Status refused = second.Open(pty.path(), TimeoutProfile::Transfer());
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().what(), pty.path());
  EXPECT_EQ(refused.error().reason(), std::strerror(EBUSY));
  EXPECT_EQ(refused.error().code(), EBUSY);
  EXPECT_FALSE(second.IsOpen());
  first.Close();
  EXPECT_TRUE(second.Open(pty.path(), TimeoutProfile::Transfer()));
}

TEST(SerialPortTest, BytesPassUnchangedBothWays) {
  PtyPair pty;
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.path(), TimeoutProfile::Transfer()));
  // CR, LF, ^C, XON, XOFF, DEL, 0xFF: nothing translated or swallowed.
  const std::vector<std::uint8_t> bytes = {0x0D, 0x0A, 0x03, 0x11, 0x13, 0x7F, 0xFF, 0x00};
  ASSERT_TRUE(port.Write(bytes));
  EXPECT_EQ(pty.Receive(bytes.size()), bytes);
  pty.Send(bytes);
  std::array<std::uint8_t, 8> buffer{};
  auto got = port.Read(buffer);
  ASSERT_TRUE(got);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + *got), bytes);
}

TEST(SerialPortTest, PurgeKeepsWhatWeWroteAndDropsWhatArrived) {
  PtyPair pty;
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.path(), kShort));
  pty.Send({0x15, 0x15});
  ASSERT_TRUE(WaitUntilQueued(static_cast<int>(port.native_handle()), 2))
      << "the bytes sent reach the port's input queue";
  const std::vector<std::uint8_t> frame = {'W', 0x00, 0x08, 0x08};
  ASSERT_TRUE(port.Write(frame));
  ASSERT_TRUE(port.Purge(PurgeMask::kQueues));
  EXPECT_EQ(pty.Receive(4), frame);
  std::array<std::uint8_t, 1> buffer{};
  auto got = port.Read(buffer);
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, 0u) << "the bytes received before the purge are gone";
}

TEST(SerialPortTest, WaitCallbackRunsWhileWaitingAndCanEndTheRead) {
  PtyPair pty;
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.path(), TimeoutProfile::Transfer()));
  int calls = 0;
  port.SetWaitCallback([&] { return ++calls < 5; });
  std::array<std::uint8_t, 12> buffer{};
  auto got = port.Read(buffer);
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, 0u);
  EXPECT_EQ(calls, 5) << "the read ended when the callback said so";
}

TEST(SerialPortTest, OpenFailuresCarryTheReason) {
  SerialPort port;
  Status missing = port.Open("/dev/zlm5-no-such-port", TimeoutProfile::Transfer());
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().Message(), "/dev/zlm5-no-such-port: No such file or directory");
  EXPECT_EQ(missing.error().code(), ENOENT);
  EXPECT_EQ(PortAccessHint(missing.error()), "");
}

// A device that opens but is no terminal is named for what it is, not with
// the system's "Inappropriate ioctl for device"; the error number stays.
TEST(SerialPortTest, WhatIsNotASerialPortIsSaidToBeNone) {
  SerialPort port;
  Status null_device = port.Open("/dev/null", TimeoutProfile::Transfer());
  ASSERT_FALSE(null_device);
  EXPECT_EQ(null_device.error().Message(), "/dev/null: this device is not a serial port");
  EXPECT_EQ(null_device.error().code(), ENOTTY);
  EXPECT_EQ(PortAccessHint(null_device.error()), "");

  char file[] = "/tmp/zlm5-not-a-tty-XXXXXX";
  const int fd = mkstemp(file);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "radio", 5), 5);
  ::close(fd);
  Status regular = port.Open(file, TimeoutProfile::Transfer());
  char text[6] = {};
  const int reread = ::open(file, O_RDONLY | O_CLOEXEC);
  EXPECT_EQ(::read(reread, text, 5), 5);
  ::close(reread);
  ::unlink(file);
  ASSERT_FALSE(regular);
  EXPECT_EQ(regular.error().Message(), std::string(file) + ": this is a file, not a serial port");
  EXPECT_EQ(regular.error().code(), ENOTTY);
  EXPECT_STREQ(text, "radio") << "the file is left as it was";
  EXPECT_FALSE(port.IsOpen());
}

// Another program of the user's with the radio's port open, as this
// program would hold it (flock and TIOCEXCL): a child process under a
// name of its own, which keeps the port until the test lets it go.
class PortHolder {
 public:
  PortHolder(const std::string& path, const char* name) {
    int ready[2];
    int go[2];
    if (pipe2(ready, O_CLOEXEC) != 0 || pipe2(go, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      ::close(ready[0]);
      ::close(go[1]);
      prctl(PR_SET_NAME, name);
      {
        SerialPort port;
        // A child has no one to tell of a failed write: the test, missing
        // the byte, fails on opened().
        const char opened = port.Open(path, TimeoutProfile::Transfer()) ? 1 : 0;
        (void)!::write(ready[1], &opened, 1);
        char ignored = 0;
        (void)!::read(go[0], &ignored, 1);  // returns when the test closes its end
      }
      _exit(0);
    }
    ::close(ready[1]);
    ::close(go[0]);
    char opened = 0;
    opened_ = ::read(ready[0], &opened, 1) == 1 && opened == 1;
    ::close(ready[0]);
    go_ = go[1];
  }
  ~PortHolder() { Release(); }
  PortHolder(const PortHolder&) = delete;
  PortHolder& operator=(const PortHolder&) = delete;

  bool opened() const { return opened_; }
  pid_t pid() const { return pid_; }
  void Release() {
    if (go_ < 0) return;
    ::close(go_);
    go_ = -1;
    waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
  int go_ = -1;
  bool opened_ = false;
};

TEST(SerialPortTest, ABusyPortNamesTheProgramHoldingIt) {
  PtyPair pty;
  PortHolder holder(pty.path(), "radio-terminal");
  ASSERT_TRUE(holder.opened());
  SerialPort port;
  Status refused = port.Open(pty.path(), TimeoutProfile::Transfer());
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().Message(), pty.path() + ": " + std::strerror(EBUSY) +
                                           ": in use by radio-terminal (PID " +
                                           std::to_string(holder.pid()) + ")");
  EXPECT_EQ(refused.error().code(), EBUSY);
  EXPECT_FALSE(port.IsOpen());

  holder.Release();
  EXPECT_TRUE(port.Open(pty.path(), TimeoutProfile::Transfer())) << "free once it has gone";
}

TEST(SerialPortTest, PermissionDeniedComesWithTheDialoutHint) {
  const Error refused = Error::FromErrno("/dev/ttyUSB0", EACCES);
  EXPECT_EQ(refused.Message(), "/dev/ttyUSB0: Permission denied");
  EXPECT_EQ(PortAccessHint(refused),
            "Your user account has no access to serial ports. On Debian, add it to the "
            "\"dialout\" group (sudo adduser $USER dialout), then log out and in again.");
  EXPECT_EQ(PortAccessHint(Error::FromErrno("/dev/ttyUSB0", EPERM)), PortAccessHint(refused));
  // The system's error number decides, not the words of its text.
  EXPECT_EQ(PortAccessHint(Error("/dev/ttyUSB0", "Permission denied")), "");
  EXPECT_EQ(PortAccessHint(Error::FromErrno("/dev/ttyUSB0", EBUSY)), "");
}

TEST(SerialPortTest, CloseGivesTheDeviceBackItsSettings) {
  PtyPair pty;
  const int other = ::open(pty.path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(other, 0);
  termios before{};
  ASSERT_EQ(tcgetattr(other, &before), 0);
  ASSERT_NE(cfgetospeed(&before), B9600);
  ASSERT_NE(before.c_lflag & ECHO, 0u);
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.path(), kShort));
  port.Close();
  termios after{};
  ASSERT_EQ(tcgetattr(other, &after), 0);
  EXPECT_EQ(after.c_iflag, before.c_iflag);
  EXPECT_EQ(after.c_oflag, before.c_oflag);
  EXPECT_EQ(after.c_lflag, before.c_lflag);
  EXPECT_EQ(after.c_cflag, before.c_cflag);
  EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before));
  ::close(other);
}

TEST(SerialPortTest, OpenSetsRaw9600EightNOne) {
  PtyPair pty;
  SerialPort port;
  ASSERT_TRUE(port.Open(pty.path(), TimeoutProfile::Transfer()));
  termios tio{};
  ASSERT_EQ(tcgetattr(static_cast<int>(port.native_handle()), &tio), 0);
  EXPECT_EQ(cfgetospeed(&tio), B9600);
  EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
  EXPECT_NE(tio.c_cflag & CLOCAL, 0u);
  EXPECT_NE(tio.c_cflag & CREAD, 0u);
  EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL), 0u);
  EXPECT_EQ(tio.c_oflag & OPOST, 0u);
  EXPECT_NE(fcntl(static_cast<int>(port.native_handle()), F_GETFD) & FD_CLOEXEC, 0);
}

}  // namespace
}  // namespace zlm5
