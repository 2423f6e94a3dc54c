// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/link_clock.h"
#include "link/serial_transport.h"
#include "tools/radio_sim/simulated_radio.h"

namespace zlm5::sim {

// A SerialTransport wired to a SimulatedRadio in virtual time: nothing
// sleeps, and the shared ManualLinkClock moves as the wire would. Each byte
// takes `byte_time` on the wire in either direction (10 bits at 9600 baud);
// the radio answers `turnaround` after the last byte of a frame arrived.
// Reads follow the time-out profile exactly, and the wait callback runs
// every kWaitCallbackPeriod of virtual waiting. For protocol tests of the
// transfer and tuning engines, and for GUI tests that need a radio.
class VirtualRadioPort : public SerialTransport {
 public:
  struct Timing {
    std::chrono::nanoseconds byte_time{1'041'667};
    std::chrono::nanoseconds turnaround{500'000};
  };

  // One call of the PC, with the virtual time it was made at.
  struct Call {
    enum Kind { kOpen, kClose, kPurge, kWrite, kRead } kind;
    LinkClock::TimePoint at;
    std::vector<std::uint8_t> bytes;  // written, or received by a read
    std::size_t asked = 0;            // bytes a read asked for
  };

  VirtualRadioPort(SimulatedRadio& radio, ManualLinkClock& clock);
  VirtualRadioPort(SimulatedRadio& radio, ManualLinkClock& clock, Timing timing);

  Status Open(const std::string& device, const TimeoutProfile& profile) override;
  bool IsOpen() const override { return open_; }
  void Close() override;
  void SetProfile(const TimeoutProfile& profile) override { profile_ = profile; }
  const TimeoutProfile& profile() const override { return profile_; }
  Status Purge(PurgeMask mask) override;
  Status Drain() override;
  Result<std::size_t> Write(std::span<const std::uint8_t> bytes) override;
  Result<std::size_t> Read(std::span<std::uint8_t> buffer) override;
  void SetWaitCallback(WaitCallback callback) override { wait_callback_ = std::move(callback); }

  // Test controls.
  void FailOpenWith(std::optional<Error> error) { open_error_ = std::move(error); }
  // Writes for which `predicate` returns true fail with an I/O error.
  void FailWritesWhen(std::function<bool(std::span<const std::uint8_t>)> predicate) {
    fail_write_ = std::move(predicate);
  }
  // The line is back after a hang-up or the radio's replug fault (the
  // adapter was plugged in again).
  void Replug() {
    hung_up_at_.reset();
    inbound_.clear();
  }
  const std::vector<Call>& calls() const { return calls_; }
  // All bytes the PC wrote, in order.
  std::vector<std::uint8_t> written() const;
  int open_count() const { return open_count_; }
  bool hung_up() const { return hung_up_at_.has_value(); }

 private:
  struct Timed {
    LinkClock::TimePoint due;
    std::uint8_t byte;
  };
  bool HungUpBy(LinkClock::TimePoint t) const { return hung_up_at_ && *hung_up_at_ <= t; }
  Error HangUpError() const;
  // Runs the wait callback for each period that ends before `until`;
  // false when it asked to stop (the clock is then at that point).
  bool WaitUntil(LinkClock::TimePoint until, LinkClock::TimePoint& next_callback);

  SimulatedRadio& radio_;
  ManualLinkClock& clock_;
  Timing timing_;
  TimeoutProfile profile_;
  WaitCallback wait_callback_;
  bool open_ = false;
  int open_count_ = 0;
  std::optional<Error> open_error_;
  std::function<bool(std::span<const std::uint8_t>)> fail_write_;
  std::deque<Timed> inbound_;
  LinkClock::TimePoint pc_line_free_{};
  LinkClock::TimePoint radio_line_free_{};
  std::optional<LinkClock::TimePoint> hung_up_at_;
  std::vector<Call> calls_;
};

}  // namespace zlm5::sim
