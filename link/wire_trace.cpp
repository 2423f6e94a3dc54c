// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/wire_trace.h"

#include <cstdio>

namespace zlm5 {

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  std::string out;
  char b[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(b, sizeof b, i ? " %02X" : "%02X", bytes[i]);
    out += b;
  }
  return out;
}

TracingTransport::TracingTransport(SerialTransport& inner, std::ostream& out, LinkClock& clock)
    : inner_(inner), out_(out), clock_(clock), start_(clock.Now()) {}

std::ostream& TracingTransport::Line() {
  const double seconds = std::chrono::duration<double>(clock_.Now() - start_).count();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%10.6f ", seconds);
  return out_ << stamp;
}

Status TracingTransport::Open(const std::string& device, const TimeoutProfile& profile) {
  Status st = inner_.Open(device, profile);
  Line() << "open " << device;
  if (!st) out_ << " failed: " << st.error().reason();
  out_ << std::endl;
  return st;
}

void TracingTransport::Close() {
  if (inner_.IsOpen()) Line() << "close" << std::endl;
  inner_.Close();
}

Status TracingTransport::Purge(PurgeMask mask) {
  Status st = inner_.Purge(mask);
  char m[4];
  std::snprintf(m, sizeof m, "%02X", static_cast<unsigned>(mask));
  Line() << "purge " << m;
  if (!st) out_ << " failed: " << st.error().reason();
  out_ << std::endl;
  return st;
}

Result<std::size_t> TracingTransport::Write(std::span<const std::uint8_t> bytes) {
  auto written = inner_.Write(bytes);
  Line() << "tx " << HexBytes(bytes);
  if (!written) {
    out_ << " failed: " << written.error().reason();
  } else if (*written < bytes.size()) {
    out_ << " (time-out, " << *written << " of " << bytes.size() << ")";
  }
  out_ << std::endl;
  return written;
}

Result<std::size_t> TracingTransport::Read(std::span<std::uint8_t> buffer) {
  auto got = inner_.Read(buffer);
  Line() << "rx ";
  if (!got) {
    out_ << "failed: " << got.error().reason();
  } else {
    out_ << (*got ? HexBytes(buffer.first(*got)) : std::string("-"));
    if (*got < buffer.size()) out_ << " (time-out, " << *got << " of " << buffer.size() << ")";
  }
  out_ << std::endl;
  return got;
}

}  // namespace zlm5
