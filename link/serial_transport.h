// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "model/error.h"

namespace zlm5 {

// Time-outs of one kind of exchange with the radio, in milliseconds.
//
// A read of n bytes returns when n bytes have arrived, or when
// read_total_multiplier_ms x n + read_total_constant_ms have passed since it
// began, or, once at least one byte has arrived, when no further byte comes
// within read_interval_ms. A write of n bytes gives up after
// write_total_multiplier_ms x n + write_total_constant_ms. Running out of
// time is never an error: the call reports the bytes moved so far.
struct TimeoutProfile {
  int read_interval_ms = 0;
  int read_total_multiplier_ms = 0;
  int read_total_constant_ms = 0;
  int write_total_multiplier_ms = 0;
  int write_total_constant_ms = 0;

  // Read and write transfer: 1 byte gives up after 590 ms, 12 after 6090 ms.
  static constexpr TimeoutProfile Transfer() { return {30, 500, 90, 50, 50}; }
  // Power tuning: 1 byte gives up after 620 ms, 5 after 2620 ms.
  static constexpr TimeoutProfile Tuning() { return {80, 500, 120, 120, 80}; }

  std::chrono::milliseconds ReadTotal(std::size_t n) const {
    return std::chrono::milliseconds(read_total_multiplier_ms * static_cast<long long>(n) +
                                     read_total_constant_ms);
  }
  std::chrono::milliseconds WriteTotal(std::size_t n) const {
    return std::chrono::milliseconds(write_total_multiplier_ms * static_cast<long long>(n) +
                                     write_total_constant_ms);
  }

  friend bool operator==(const TimeoutProfile&, const TimeoutProfile&) = default;
};

// What a purge clears. The values are those of the radio protocol's
// description (abort pending transfers 0x03, clear queues 0x0C).
enum class PurgeMask : std::uint8_t {
  kFull = 0x0F,    // abort pending writes and reads, clear both queues
  kQueues = 0x0C,  // clear both queues
};

// The byte pipe to the radio: a serial port, or a stand-in for tests.
//
// All calls are synchronous and made from one thread. Bytes written are
// never thrown away by a later Purge: a purge first waits until everything
// written has left (Drain), then discards what has arrived and not been
// read. Errors are I/O errors only (the device vanished, a hang-up); running
// out of time is reported as a short count.
class SerialTransport {
 public:
  // Called while Read waits for bytes, at least every kWaitCallbackPeriod of
  // waiting. Returning false ends the read at once with the bytes received
  // so far (a short count, like a time-out).
  using WaitCallback = std::function<bool()>;
  static constexpr std::chrono::milliseconds kWaitCallbackPeriod{10};

  virtual ~SerialTransport() = default;

  // Opens `device` for exclusive use with 9600 baud 8N1 and the given
  // time-outs. The error names the device and gives the operating system's
  // reason. Opening an open transport closes it first.
  virtual Status Open(const std::string& device, const TimeoutProfile& profile) = 0;
  virtual bool IsOpen() const = 0;
  // Closing a closed transport does nothing.
  virtual void Close() = 0;

  // Replaces the time-outs of the open transport.
  virtual void SetProfile(const TimeoutProfile& profile) = 0;
  virtual const TimeoutProfile& profile() const = 0;

  // Drains the output, then clears the input queue (see the class comment).
  virtual Status Purge(PurgeMask mask) = 0;
  // Waits until every byte written has been sent.
  virtual Status Drain() = 0;

  // Writes all of `bytes` unless the write time-out runs out first; returns
  // how many bytes were accepted.
  virtual Result<std::size_t> Write(std::span<const std::uint8_t> bytes) = 0;
  // Reads up to buffer.size() bytes with the read time-outs of the profile;
  // returns how many arrived (0 to buffer.size()).
  virtual Result<std::size_t> Read(std::span<std::uint8_t> buffer) = 0;

  // The callback stays until replaced; an empty function removes it.
  virtual void SetWaitCallback(WaitCallback callback) = 0;
};

}  // namespace zlm5
