// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio_sim/virtual_radio_port.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zlm5::sim {

VirtualRadioPort::VirtualRadioPort(SimulatedRadio& radio, ManualLinkClock& clock)
    : VirtualRadioPort(radio, clock, Timing{}) {}

VirtualRadioPort::VirtualRadioPort(SimulatedRadio& radio, ManualLinkClock& clock, Timing timing)
    : radio_(radio), clock_(clock), timing_(timing) {}

Error VirtualRadioPort::HangUpError() const { return Error("virtual port", std::strerror(EIO)); }

Status VirtualRadioPort::Open(const std::string& device, const TimeoutProfile& profile) {
  Close();
  calls_.push_back({Call::kOpen, clock_.Now(), {}, 0});
  if (open_error_) return *open_error_;
  // The device is gone for good after a hang-up.
  if (hung_up_at_) return Error(device, std::strerror(ENOENT));
  open_ = true;
  ++open_count_;
  profile_ = profile;
  inbound_.clear();
  return Ok{};
}

void VirtualRadioPort::Close() {
  if (!open_) return;
  calls_.push_back({Call::kClose, clock_.Now(), {}, 0});
  open_ = false;
}

Status VirtualRadioPort::Drain() {
  if (!open_) return Error("virtual port", "not open");
  clock_.AdvanceTo(pc_line_free_);
  if (HungUpBy(clock_.Now())) return HangUpError();
  return Ok{};
}

Status VirtualRadioPort::Purge(PurgeMask /*mask*/) {
  Status drained = Drain();
  if (!drained) return drained;
  calls_.push_back({Call::kPurge, clock_.Now(), {}, 0});
  const auto now = clock_.Now();
  while (!inbound_.empty() && inbound_.front().due <= now) inbound_.pop_front();
  return Ok{};
}

Result<std::size_t> VirtualRadioPort::Write(std::span<const std::uint8_t> bytes) {
  if (!open_) return Error("virtual port", "not open");
  const auto now = clock_.Now();
  calls_.push_back({Call::kWrite, now, {bytes.begin(), bytes.end()}, 0});
  if (HungUpBy(now)) return HangUpError();
  if (fail_write_ && fail_write_(bytes)) return Error("virtual port", std::strerror(EIO));
  for (std::uint8_t byte : bytes) {
    const auto arrival = std::max(now, pc_line_free_) + timing_.byte_time;
    pc_line_free_ = arrival;
    if (hung_up_at_) continue;  // nobody listens any more
    RadioReaction reaction = radio_.Receive(byte);
    auto t = std::max(arrival + timing_.turnaround, radio_line_free_);
    for (std::size_t i = 0; i < reaction.reply.size(); ++i) {
      if (i == reaction.pause_after) t += reaction.pause;
      t += timing_.byte_time;
      inbound_.push_back({t, reaction.reply[i]});
    }
    if (!reaction.reply.empty()) radio_line_free_ = t;
    // A replug looks the same from here: the test brings the line back.
    if (reaction.hang_up || reaction.replug) hung_up_at_ = reaction.reply.empty() ? arrival : t;
  }
  return bytes.size();
}

bool VirtualRadioPort::WaitUntil(LinkClock::TimePoint until, LinkClock::TimePoint& next_callback) {
  while (wait_callback_ && next_callback < until) {
    clock_.AdvanceTo(next_callback);
    if (!wait_callback_()) return false;
    next_callback = clock_.Now() + kWaitCallbackPeriod;
  }
  clock_.AdvanceTo(until);
  return true;
}

Result<std::size_t> VirtualRadioPort::Read(std::span<std::uint8_t> buffer) {
  if (!open_) return Error("virtual port", "not open");
  const auto start = clock_.Now();
  Call call{Call::kRead, start, {}, buffer.size()};
  if (HungUpBy(start)) {
    calls_.push_back(call);
    return HangUpError();
  }
  const auto total = start + profile_.ReadTotal(buffer.size());
  const auto interval = std::chrono::milliseconds(profile_.read_interval_ms);
  auto next_callback = start + kWaitCallbackPeriod;
  std::size_t got = 0;
  LinkClock::TimePoint last{};
  while (got < buffer.size()) {
    auto deadline = total;
    if (got > 0) deadline = std::min(deadline, last + interval);
    if (!inbound_.empty() && inbound_.front().due <= deadline &&
        !HungUpBy(inbound_.front().due - std::chrono::nanoseconds(1))) {
      const auto due = std::max(clock_.Now(), inbound_.front().due);
      if (!WaitUntil(due, next_callback)) break;
      buffer[got++] = inbound_.front().byte;
      call.bytes.push_back(inbound_.front().byte);
      inbound_.pop_front();
      last = due;
      continue;
    }
    if (hung_up_at_ && *hung_up_at_ <= deadline) {
      WaitUntil(std::max(clock_.Now(), *hung_up_at_), next_callback);
      calls_.push_back(call);
      return HangUpError();
    }
    WaitUntil(std::max(clock_.Now(), deadline), next_callback);
    break;
  }
  calls_.push_back(call);
  return got;
}

std::vector<std::uint8_t> VirtualRadioPort::written() const {
  std::vector<std::uint8_t> out;
  for (const Call& c : calls_) {
    if (c.kind == Call::kWrite) out.insert(out.end(), c.bytes.begin(), c.bytes.end());
  }
  return out;
}

}  // namespace zlm5::sim
