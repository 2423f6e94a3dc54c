// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "link/link_clock.h"
#include "link/link_host.h"
#include "link/serial_transport.h"

namespace zlm5 {

// Radio byte vocabulary shared by the transfer and the power tuning.
namespace radio_bytes {
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kModeCommand = 'M';
inline constexpr std::uint8_t kWriteCommand = 'W';
inline constexpr std::uint8_t kReadCommand = 'R';
inline constexpr std::size_t kWakeUpLength = 7;
// Opens programming and tuning sessions and ends tuning.
inline constexpr std::array<std::uint8_t, kWakeUpLength> kWakeUpProgram = {0x02, 'P', 'R', 'O',
                                                                           'G',  'R', 'A'};
// Precedes a tuning value write.
inline constexpr std::array<std::uint8_t, kWakeUpLength> kWakeUpTuningWrite = {0x02, 'P', 'R', 'G',
                                                                               'G',  'P', 'A'};
}  // namespace radio_bytes

// The outcome of one read from the radio.
struct LinkRead {
  bool ok = false;           // false: the call failed (I/O error)
  std::size_t count = 0;     // bytes delivered; fewer than asked is a time-out
  bool interrupted = false;  // cut short because the host asked to cancel
};

// The port operations the radio exchanges are built from, on a transport,
// with the waiting discipline: every wait keeps the host's windows alive.
//
// The host's Pump() runs at each step of a pump-wait, about every 20 ms
// while a read waits (through the transport's wait callback) and inside
// longer pauses. A cancel test, where the caller has one, is made at the
// pump-wait steps that test it and while a read waits; a read cut short by
// it reports `interrupted`.
//
// The link does not own the transport, the host or the clock; they must
// outlive it. It installs a wait callback on the transport and removes it
// when destroyed.
class SerialLink {
 public:
  static constexpr std::chrono::milliseconds kPumpPeriod{20};

  // Order of the work inside one pump-wait step.
  enum class StepOrder {
    kPumpTestSleep,  // pump, cancel test, 1 ms sleep
    kTestPump,       // cancel test, pump
    kPumpTest,       // pump, cancel test
    kPump,           // pump only
    kPumpSleep,      // pump, 1 ms sleep
  };
  // Whether a single byte is preceded by a 1 ms pause.
  enum class Pace { kImmediate, kPaced };

  SerialLink(SerialTransport& transport, LinkHost& host, LinkClock& clock);
  ~SerialLink();
  SerialLink(const SerialLink&) = delete;
  SerialLink& operator=(const SerialLink&) = delete;

  // The caller's cancel flag; none by default (never cancelled).
  void SetCancelTest(std::function<bool()> cancelled) { cancel_test_ = std::move(cancelled); }
  bool CancelRequested() const { return cancel_test_ && cancel_test_(); }

  // Opens `device` with `profile`; remembered for Reopen.
  Status Open(const std::string& device, const TimeoutProfile& profile);
  // Closes and opens the same device again (after an I/O error, when the
  // user asks to retry: the adapter may have been plugged back in). A
  // failure is kept in reopen_failure() until the next open succeeds, so
  // that the question asked next can tell the user why.
  Status Reopen();
  const std::optional<Error>& reopen_failure() const { return reopen_failure_; }
  // Waits for what was written to leave, then closes.
  void Close();
  bool IsOpen() const { return transport_.IsOpen(); }
  // True once any port call failed with an I/O error since the last open.
  bool io_failed() const { return io_failed_; }
  const std::string& device() const { return device_; }

  void FullPurge();
  void QueuePurge();
  // [1 ms pause when paced,] queue purge, one 1-byte write. False when the
  // write call failed.
  bool SendByte(std::uint8_t byte, Pace pace);
  // Each byte with SendByte.
  bool SendBytewise(std::span<const std::uint8_t> bytes, Pace pace);
  // One write call of all bytes (no purge), returning once they have left
  // (Drain), as a synchronous write does. False when the call failed.
  bool SendBlock(std::span<const std::uint8_t> bytes);
  // One read call of buffer.size() bytes into the front of `buffer`; bytes
  // beyond the count delivered keep their earlier values.
  LinkRead Read(std::span<std::uint8_t> buffer);
  // After a complete reply: pauses `window` (as Pause), then reads one byte
  // of what arrived meanwhile, without waiting. A byte (count 1) means the
  // reply went on past its frame.
  LinkRead ReadTrailing(std::chrono::milliseconds window);

  // A 1-byte read that succeeded and delivered 0x06. A read that delivers
  // nothing is never an acknowledgement, whatever was received before.
  bool AckTest(LinkRead* read = nullptr);
  // After a wake-up frame: when the first read does not deliver 0x06 (a
  // time-out included), a second byte is read and accepted if it is 0x06.
  // A failed first call is not followed by a second read.
  bool TolerantAckTest(LinkRead* last_read = nullptr);

  // Runs the host's event pump once.
  void Pump();
  // Pumps when the last pump is kPumpPeriod or longer ago.
  void PumpIfDue();
  // Sleeps `duration`, pumping about every kPumpPeriod on the way.
  void Pause(std::chrono::milliseconds duration);
  // A wait of `steps` steps; false when the cancel test stopped it (at the
  // step where the flag was seen, not at the end).
  bool PumpWait(int steps, StepOrder order);

  LinkClock& clock() { return clock_; }

 private:
  bool WaitCallback();

  SerialTransport& transport_;
  LinkHost& host_;
  LinkClock& clock_;
  std::function<bool()> cancel_test_;
  std::string device_;
  TimeoutProfile profile_;
  bool io_failed_ = false;
  std::optional<Error> reopen_failure_;
  LinkClock::TimePoint last_pump_;
};

}  // namespace zlm5
