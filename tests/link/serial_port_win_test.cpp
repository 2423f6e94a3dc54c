// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 serial port against z-lm5-radio-sim, through the real port
// code. ZLM5_TEST_COM_PORT names the COM port the simulator's terminal is
// (under wine: a link in the prefix's dosdevices, e.g. com5); without it
// the tests that need the radio are skipped. Every wait is the profile's
// own; time is only checked to be at least what the profile says.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "model/win32_text.h"

namespace zlm5 {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

const Bytes kWakeUp = {0x02, 'P', 'R', 'O', 'G', 'R', 'A'};
const Bytes kIdentify = {'M', 0x02};
constexpr std::uint8_t kAck = 0x06;
// The simulator's identification with no radio type.
const Bytes kIdent = {'Z', 'L', 'M', '5', 0xFF, 0x00, 0x00, 0x00};

// Reads of what has arrived only: both totals 0.
constexpr TimeoutProfile kAtOnce = {30, 0, 0, 50, 50};
// No read interval: a read ends when all came or at its total.
constexpr TimeoutProfile kTotalOnly = {0, 100, 300, 50, 50};
// Windows' timer ticks every 15.6 ms; a time-out may end up to one early.
constexpr auto kTimerTick = std::chrono::milliseconds(16);

class SerialPortWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* name = std::getenv("ZLM5_TEST_COM_PORT");
    if (name == nullptr || *name == '\0') {
      GTEST_SKIP() << "ZLM5_TEST_COM_PORT is not set: start z-lm5-radio-sim and name its COM "
                      "port (e.g. COM5) to run these tests";
    }
    device_ = name;
    const Status opened = port_.Open(device_, TimeoutProfile::Transfer());
    ASSERT_TRUE(opened) << opened.error().Message();
  }

  void Send(const Bytes& bytes) {
    const Result<std::size_t> sent = port_.Write(bytes);
    ASSERT_TRUE(sent) << sent.error().Message();
    ASSERT_EQ(*sent, bytes.size());
  }

  // One read of `n` bytes; the bytes that came.
  Bytes Receive(std::size_t n) {
    Bytes buffer(n, 0xEE);
    const Result<std::size_t> got = port_.Read(buffer);
    EXPECT_TRUE(got) << got.error().Message();
    buffer.resize(got ? *got : 0);
    return buffer;
  }

  // Wakes the radio (a new wake-up is taken in any state) and asks for
  // its identification; returns once its first byte has been read, with
  // the other seven queued (the radio sends a reply whole).
  void AskIdentificationAndTakeItsFirstByte() {
    Send(kWakeUp);
    ASSERT_EQ(Receive(1), Bytes{kAck});
    Send(kIdentify);
    ASSERT_EQ(Receive(1), Bytes{'Z'});
  }

  HANDLE Handle() const { return reinterpret_cast<HANDLE>(port_.native_handle()); }

  std::string device_;
  SerialPort port_;
};

TEST_F(SerialPortWinTest, OpensAt9600EightNOneAndTheRadioIdentifiesItself) {
  DCB line{};
  line.DCBlength = sizeof line;
  ASSERT_TRUE(GetCommState(Handle(), &line));
  EXPECT_EQ(line.BaudRate, 9600u);
  EXPECT_EQ(line.ByteSize, 8);
  EXPECT_EQ(line.Parity, NOPARITY);
  EXPECT_EQ(line.StopBits, ONESTOPBIT);
  EXPECT_FALSE(line.fOutxCtsFlow);
  EXPECT_FALSE(line.fOutX);
  EXPECT_FALSE(line.fInX);

  Send(kWakeUp);
  EXPECT_EQ(Receive(1), Bytes{kAck});
  Send(kIdentify);
  EXPECT_EQ(Receive(kIdent.size()), kIdent);
}

TEST_F(SerialPortWinTest, AReadOfMoreThanComesGivesTheShortCountAtTheTotalTime) {
  port_.SetProfile(kTotalOnly);
  Send(kWakeUp);
  const auto start = Clock::now();
  const Bytes got = Receive(4);  // the radio answers one byte
  const auto took = Clock::now() - start;
  EXPECT_EQ(got, Bytes{kAck});
  EXPECT_GE(took, kTotalOnly.ReadTotal(4) - kTimerTick);

  // Nothing at all: no bytes, no error.
  const auto silent_start = Clock::now();
  EXPECT_EQ(Receive(2), Bytes{});
  EXPECT_GE(Clock::now() - silent_start, kTotalOnly.ReadTotal(2) - kTimerTick);
}

TEST_F(SerialPortWinTest, BothTotalsZeroTakeWhatHasArrivedWithoutWaiting) {
  AskIdentificationAndTakeItsFirstByte();
  int waits = 0;
  port_.SetWaitCallback([&] {
    ++waits;
    return true;
  });
  port_.SetProfile(kAtOnce);
  EXPECT_EQ(Receive(16), Bytes(kIdent.begin() + 1, kIdent.end()));
  EXPECT_EQ(Receive(16), Bytes{}) << "the queue is empty now";
  EXPECT_EQ(waits, 0) << "neither read waited for a byte";
}

TEST_F(SerialPortWinTest, AWaitCallbackSayingStopEndsTheReadWithTheBytesSoFar) {
  port_.SetProfile(kTotalOnly);
  Send(kWakeUp);
  int waits = 0;
  port_.SetWaitCallback([&] { return ++waits < 5; });
  // The acknowledgement comes; the three bytes more never do.
  EXPECT_EQ(Receive(4), Bytes{kAck});
  EXPECT_EQ(waits, 5) << "the read ended at the callback's first no";

  // A read that had nothing yet ends with nothing, not with an error.
  waits = 0;
  EXPECT_EQ(Receive(4), Bytes{});
  EXPECT_EQ(waits, 5);
}

TEST_F(SerialPortWinTest, PurgeDiscardsWhatArrivedAndKeepsThePortWorking) {
  AskIdentificationAndTakeItsFirstByte();
  const Status purged = port_.Purge(PurgeMask::kFull);
  ASSERT_TRUE(purged) << purged.error().Message();
  port_.SetProfile(kAtOnce);
  EXPECT_EQ(Receive(16), Bytes{}) << "the seven queued bytes are gone";

  port_.SetProfile(TimeoutProfile::Transfer());
  Send(kWakeUp);
  EXPECT_EQ(Receive(1), Bytes{kAck});
}

TEST_F(SerialPortWinTest, CloseGivesThePortBackAndItOpensAgain) {
  port_.Close();
  EXPECT_FALSE(port_.IsOpen());
  EXPECT_EQ(port_.native_handle(), -1);
  const Status reopened = port_.Open(device_, TimeoutProfile::Transfer());
  ASSERT_TRUE(reopened) << reopened.error().Message();
  Send(kWakeUp);
  EXPECT_EQ(Receive(1), Bytes{kAck});
}

// No radio needed.
TEST(SerialPortWinOpenTest, AMissingPortIsNamedWithTheSystemsReasonAndNumber) {
  SerialPort port;
  const Status opened = port.Open("COM250", TimeoutProfile::Transfer());
  ASSERT_FALSE(opened);
  const Error& error = opened.error();
  EXPECT_EQ(error.what(), "COM250");
  EXPECT_TRUE(error.code() == ERROR_FILE_NOT_FOUND || error.code() == ERROR_PATH_NOT_FOUND)
      << error.code();
  EXPECT_EQ(error.reason(), SystemErrorText(error.code()));
  EXPECT_FALSE(error.reason().empty());
  EXPECT_NE(error.reason().back(), '.');
  EXPECT_EQ(error.reason().find_first_of("\r\n"), std::string::npos);
  EXPECT_FALSE(port.IsOpen());
  EXPECT_NE(PortAccessHint(error).find("Device Manager"), std::string::npos);
}

TEST(SerialPortWinOpenTest, CallsOnAClosedPortFailWithoutTouchingAnything) {
  SerialPort port;
  std::array<std::uint8_t, 2> buffer{};
  const Result<std::size_t> read = port.Read(buffer);
  ASSERT_FALSE(read);
  EXPECT_EQ(read.error().reason(), "the port is not open");
  EXPECT_FALSE(port.Write(buffer));
  EXPECT_FALSE(port.Purge(PurgeMask::kQueues));
  port.Close();  // nothing to close
  EXPECT_FALSE(port.IsOpen());
}

}  // namespace
}  // namespace zlm5
