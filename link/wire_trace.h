// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>

#include "link/link_clock.h"
#include "link/serial_transport.h"

namespace zlm5 {

// Bytes as upper-case hex pairs separated by single blanks ("02 50 52").
std::string HexBytes(std::span<const std::uint8_t> bytes);

// A transport that passes every call on to another one and writes a line
// per call to `out`: time since the trace began, the operation and the
// bytes in hex. For bug reports (z-lm5-cli --trace); it never changes what
// goes over the wire.
//
//   0.012345 open /dev/ttyUSB0
//   0.013020 purge 0F
//   0.014101 tx 02
//   0.602300 rx 06
//   1.192000 rx - (time-out, 0 of 1)
class TracingTransport : public SerialTransport {
 public:
  TracingTransport(SerialTransport& inner, std::ostream& out, LinkClock& clock = SteadyLinkClock());

  Status Open(const std::string& device, const TimeoutProfile& profile) override;
  bool IsOpen() const override { return inner_.IsOpen(); }
  void Close() override;
  void SetProfile(const TimeoutProfile& profile) override { inner_.SetProfile(profile); }
  const TimeoutProfile& profile() const override { return inner_.profile(); }
  Status Purge(PurgeMask mask) override;
  Status Drain() override { return inner_.Drain(); }
  Result<std::size_t> Write(std::span<const std::uint8_t> bytes) override;
  Result<std::size_t> Read(std::span<std::uint8_t> buffer) override;
  void SetWaitCallback(WaitCallback callback) override {
    inner_.SetWaitCallback(std::move(callback));
  }

 private:
  std::ostream& Line();

  SerialTransport& inner_;
  std::ostream& out_;
  LinkClock& clock_;
  LinkClock::TimePoint start_;
};

}  // namespace zlm5
