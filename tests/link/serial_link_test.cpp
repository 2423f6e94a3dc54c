// SPDX-License-Identifier: GPL-3.0-or-later
// The port operations the exchanges are built from, on a scripted transport.

#include "link/serial_link.h"

#include <gtest/gtest.h>

#include <deque>

#include "tests/link/link_test_support.h"
#include "tools/radio_sim/simulated_radio.h"
#include "tools/radio_sim/virtual_radio_port.h"

namespace zlm5 {
namespace {

using namespace std::chrono_literals;

// Each read takes the next scripted answer: bytes, a time-out (no bytes)
// or an I/O error.
class ScriptedTransport : public SerialTransport {
 public:
  struct Answer {
    std::vector<std::uint8_t> bytes;
    bool error = false;
  };

  Status Open(const std::string&, const TimeoutProfile& p) override {
    open = true;
    profile_ = p;
    return Ok{};
  }
  bool IsOpen() const override { return open; }
  void Close() override { open = false; }
  void SetProfile(const TimeoutProfile& p) override { profile_ = p; }
  const TimeoutProfile& profile() const override { return profile_; }
  Status Purge(PurgeMask m) override {
    purges.push_back(m);
    return Ok{};
  }
  Status Drain() override { return Ok{}; }
  Result<std::size_t> Write(std::span<const std::uint8_t> b) override {
    writes.emplace_back(b.begin(), b.end());
    return b.size();
  }
  Result<std::size_t> Read(std::span<std::uint8_t> buffer) override {
    ++reads;
    if (answers.empty()) return std::size_t{0};
    Answer a = answers.front();
    answers.pop_front();
    if (a.error) return Error("scripted", "Input/output error");
    const std::size_t n = std::min(a.bytes.size(), buffer.size());
    std::copy_n(a.bytes.begin(), n, buffer.begin());
    return n;
  }
  void SetWaitCallback(WaitCallback cb) override { callback = std::move(cb); }

  bool open = false;
  TimeoutProfile profile_;
  std::deque<Answer> answers;
  std::vector<std::vector<std::uint8_t>> writes;
  std::vector<PurgeMask> purges;
  int reads = 0;
  WaitCallback callback;
};

class SerialLinkTest : public ::testing::Test {
 protected:
  ManualLinkClock clock;
  ScriptedTransport transport;
  test::RecordingTransferHost host{clock};
  SerialLink link{transport, host, clock};
};

TEST_F(SerialLinkTest, TolerantTestAcceptsAStrayByteThenTheAcknowledgement) {
  transport.answers = {{{0x15}}, {{0x06}}};
  EXPECT_TRUE(link.TolerantAckTest());
  EXPECT_EQ(transport.reads, 2);
}

TEST_F(SerialLinkTest, TolerantTestRejectsTwoWrongBytes) {
  transport.answers = {{{0x15}}, {{0x15}}};
  EXPECT_FALSE(link.TolerantAckTest());
  EXPECT_EQ(transport.reads, 2);
}

TEST_F(SerialLinkTest, TolerantTestDoesNotReadAgainAfterAFailedCall) {
  transport.answers = {{{}, true}, {{0x06}}};
  EXPECT_FALSE(link.TolerantAckTest());
  EXPECT_EQ(transport.reads, 1);
  EXPECT_TRUE(link.io_failed());
}

TEST_F(SerialLinkTest, TolerantTestRejectsTwoTimeOuts) {
  transport.answers = {{{}}, {{}}};
  EXPECT_FALSE(link.TolerantAckTest());
  EXPECT_EQ(transport.reads, 2);
}

TEST_F(SerialLinkTest, TimeOutIsNeverAnAcknowledgementEvenAfterOne) {
  transport.answers = {{{0x06}}, {{}}};
  EXPECT_TRUE(link.AckTest());
  EXPECT_FALSE(link.AckTest());
}

TEST_F(SerialLinkTest, PacedByteWaitsThenPurgesThenWrites) {
  const auto start = clock.Now();
  EXPECT_TRUE(link.SendByte(0x4D, SerialLink::Pace::kPaced));
  EXPECT_GE(clock.Now() - start, 1ms);
  EXPECT_EQ(transport.purges, std::vector<PurgeMask>{PurgeMask::kQueues});
  EXPECT_EQ(transport.writes, (std::vector<std::vector<std::uint8_t>>{{0x4D}}));
}

TEST_F(SerialLinkTest, PumpWaitStopsAtTheStepWhereCancelIsSeen) {
  link.SetCancelTest([this] { return host.cancel; });
  host.on_pump = [this](int n) {
    if (n == 5) host.cancel = true;
  };
  EXPECT_FALSE(link.PumpWait(601, SerialLink::StepOrder::kPumpTestSleep));
  EXPECT_EQ(host.pumps, 5);
  EXPECT_EQ(clock.slept(), 4ms);  // no sleep after the step that saw it
}

TEST_F(SerialLinkTest, TestFirstStepsDoNotPumpOnceCancelled) {
  link.SetCancelTest([this] { return host.cancel; });
  host.cancel = true;
  EXPECT_FALSE(link.PumpWait(21, SerialLink::StepOrder::kTestPump));
  EXPECT_EQ(host.pumps, 0);
}

TEST_F(SerialLinkTest, PumpWaitWithoutCancelTestRunsEveryStep) {
  host.cancel = true;  // nobody looks at it
  EXPECT_TRUE(link.PumpWait(21, SerialLink::StepOrder::kPump));
  EXPECT_EQ(host.pumps, 21);
  EXPECT_EQ(clock.slept(), 0ms);
  EXPECT_TRUE(link.PumpWait(7, SerialLink::StepOrder::kPumpSleep));
  EXPECT_EQ(clock.slept(), 7ms);
}

TEST_F(SerialLinkTest, LongPausesPump) {
  link.Pause(700ms);
  EXPECT_GE(host.pumps, 700 / 20);
  EXPECT_LE(host.longest_pump_gap, std::chrono::nanoseconds(20ms));
  EXPECT_EQ(clock.slept(), 700ms);
}

TEST_F(SerialLinkTest, WaitCallbackPumpsAndReportsCancel) {
  link.SetCancelTest([this] { return host.cancel; });
  ASSERT_TRUE(transport.callback);
  clock.Advance(25ms);
  EXPECT_TRUE(transport.callback());
  EXPECT_EQ(host.pumps, 1);
  EXPECT_TRUE(transport.callback());
  EXPECT_EQ(host.pumps, 1) << "no second pump within 20 ms";
  host.cancel = true;
  EXPECT_FALSE(transport.callback());
}

// Read time-outs of the two profiles on a silent radio, in virtual time.
TEST(SerialLinkProfiles, OneByteReadGivesUpAfter590And620Ms) {
  ManualLinkClock clock;
  sim::RadioFaults faults;
  for (auto& f : faults.stages) f.silent = true;
  sim::SimulatedRadio radio(RadioImage(), faults);
  sim::VirtualRadioPort port(radio, clock);
  test::RecordingTransferHost host(clock);
  SerialLink link(port, host, clock);

  ASSERT_TRUE(link.Open("/dev/virtual", TimeoutProfile::Transfer()));
  auto start = clock.Now();
  EXPECT_FALSE(link.AckTest());
  EXPECT_EQ(clock.Now() - start, 590ms);

  ASSERT_TRUE(link.Open("/dev/virtual", TimeoutProfile::Tuning()));
  start = clock.Now();
  EXPECT_FALSE(link.AckTest());
  EXPECT_EQ(clock.Now() - start, 620ms);

  std::array<std::uint8_t, 12> buffer{};
  ASSERT_TRUE(link.Open("/dev/virtual", TimeoutProfile::Transfer()));
  start = clock.Now();
  EXPECT_EQ(link.Read(buffer).count, 0u);
  EXPECT_EQ(clock.Now() - start, 6090ms);
}

}  // namespace
}  // namespace zlm5
