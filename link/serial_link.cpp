// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_link.h"

#include <algorithm>

namespace zlm5 {
namespace {
constexpr std::chrono::milliseconds kPacePause{1};
constexpr std::chrono::milliseconds kStepSleep{1};
}  // namespace

SerialLink::SerialLink(SerialTransport& transport, LinkHost& host, LinkClock& clock)
    : transport_(transport), host_(host), clock_(clock), last_pump_(clock.Now()) {
  transport_.SetWaitCallback([this] { return WaitCallback(); });
}

SerialLink::~SerialLink() { transport_.SetWaitCallback({}); }

bool SerialLink::WaitCallback() {
  PumpIfDue();
  return !CancelRequested();
}

Status SerialLink::Open(const std::string& device, const TimeoutProfile& profile) {
  device_ = device;
  profile_ = profile;
  io_failed_ = false;
  reopen_failure_.reset();
  return transport_.Open(device, profile);
}

Status SerialLink::Reopen() {
  transport_.Close();
  io_failed_ = false;
  Status opened = transport_.Open(device_, profile_);
  if (opened) {
    reopen_failure_.reset();
  } else {
    reopen_failure_ = opened.error();
  }
  return opened;
}

void SerialLink::Close() {
  // The last command (the tuning leave command) must be on the wire before
  // the port goes away. A line that no longer drains is closed all the
  // same: whatever failed has been reported already.
  if (transport_.IsOpen()) (void)transport_.Drain();
  transport_.Close();
}

void SerialLink::FullPurge() {
  if (!transport_.Purge(PurgeMask::kFull)) io_failed_ = true;
}

void SerialLink::QueuePurge() {
  if (!transport_.Purge(PurgeMask::kQueues)) io_failed_ = true;
}

bool SerialLink::SendByte(std::uint8_t byte, Pace pace) {
  if (pace == Pace::kPaced) Pause(kPacePause);
  QueuePurge();
  return SendBlock(std::span<const std::uint8_t>(&byte, 1));
}

bool SerialLink::SendBytewise(std::span<const std::uint8_t> bytes, Pace pace) {
  bool ok = true;
  for (std::uint8_t b : bytes) ok = SendByte(b, pace) && ok;
  return ok;
}

bool SerialLink::SendBlock(std::span<const std::uint8_t> bytes) {
  auto written = transport_.Write(bytes);
  // The radio's timing counts from the last bit: a pause after a send must
  // begin once the bytes are on the wire, not while the driver still holds
  // them (else the 1 ms gaps between paced bytes vanish on a real line).
  if (!written || !transport_.Drain()) {
    io_failed_ = true;
    return false;
  }
  return true;
}

LinkRead SerialLink::Read(std::span<std::uint8_t> buffer) {
  LinkRead out;
  auto got = transport_.Read(buffer);
  if (!got) {
    io_failed_ = true;
    return out;
  }
  out.ok = true;
  out.count = *got;
  out.interrupted = out.count < buffer.size() && CancelRequested();
  return out;
}

LinkRead SerialLink::ReadTrailing(std::chrono::milliseconds window) {
  Pause(window);
  // Then a 1-byte read that takes only what has arrived: no time-out.
  const TimeoutProfile profile = transport_.profile();
  TimeoutProfile at_once = profile;
  at_once.read_total_multiplier_ms = 0;
  at_once.read_total_constant_ms = 0;
  transport_.SetProfile(at_once);
  std::uint8_t byte = 0;
  const LinkRead read = Read(std::span<std::uint8_t>(&byte, 1));
  transport_.SetProfile(profile);
  return read;
}

bool SerialLink::AckTest(LinkRead* read) {
  std::uint8_t byte = 0;
  LinkRead r = Read(std::span<std::uint8_t>(&byte, 1));
  if (read) *read = r;
  return r.ok && r.count == 1 && byte == radio_bytes::kAck;
}

bool SerialLink::TolerantAckTest(LinkRead* last_read) {
  LinkRead first;
  if (AckTest(&first)) {
    if (last_read) *last_read = first;
    return true;
  }
  if (!first.ok || first.interrupted) {
    if (last_read) *last_read = first;
    return false;
  }
  return AckTest(last_read);
}

void SerialLink::Pump() {
  host_.Pump();
  last_pump_ = clock_.Now();
}

void SerialLink::PumpIfDue() {
  if (clock_.Now() - last_pump_ >= kPumpPeriod) Pump();
}

void SerialLink::Pause(std::chrono::milliseconds duration) {
  const auto deadline = clock_.Now() + duration;
  for (;;) {
    PumpIfDue();
    const auto now = clock_.Now();
    if (now >= deadline) return;
    clock_.SleepFor(std::min(deadline, last_pump_ + kPumpPeriod) - now);
  }
}

bool SerialLink::PumpWait(int steps, StepOrder order) {
  for (int i = 0; i < steps; ++i) {
    switch (order) {
      case StepOrder::kPumpTestSleep:
        Pump();
        if (CancelRequested()) return false;
        clock_.SleepFor(kStepSleep);
        break;
      case StepOrder::kTestPump:
        if (CancelRequested()) return false;
        Pump();
        break;
      case StepOrder::kPumpTest:
        Pump();
        if (CancelRequested()) return false;
        break;
      case StepOrder::kPump:
        Pump();
        break;
      case StepOrder::kPumpSleep:
        Pump();
        clock_.SleepFor(kStepSleep);
        break;
    }
  }
  return true;
}

}  // namespace zlm5
