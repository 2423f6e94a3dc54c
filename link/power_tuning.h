// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "link/link_clock.h"
#include "link/link_host.h"
#include "link/serial_link.h"
#include "link/serial_transport.h"
#include "model/radio_image.h"

namespace zlm5 {

enum class TuningKind { kLowPower, kHighPower };

// What differs between the two tuning functions.
struct TuningFunction {
  TuningKind kind;
  std::uint8_t enter_mode;   // after 'M' in the enter exchange
  std::uint8_t write_mode;   // after 'M' in the change exchange
  std::uint16_t address;     // radio address of the tuning byte
  std::size_t image_offset;  // document byte filled at enter
  int max_position;          // the dialog's scroll range is 1..max_position
  bool settle_after_enter;   // three full purges with 1 ms pauses after enter
  bool wake_up_as_block;     // leave wake-up as one 7-byte write (else byte by byte)
};
const TuningFunction& TuningFunctionOf(TuningKind kind);

namespace tuning_limits {
inline constexpr int kEnterAttempts = 6;           // enter wake-ups before asking
inline constexpr int kChangeAttempts = 6;          // failures in a change before asking
inline constexpr int kLeaveAttempts = 10;          // leave wake-ups before asking
inline constexpr std::size_t kEnterReplySize = 5;  // byte 4 is the tuning value
}  // namespace tuning_limits

struct TuningOptions {
  TimeoutProfile profile = TimeoutProfile::Tuning();
  // The pause before each change and leave wake-up.
  std::chrono::milliseconds wake_up_pause{700};
  // Steady clock when null.
  LinkClock* clock = nullptr;
};

enum class EnterOutcome {
  kEntered,          // value() holds the radio's byte; show the dialog
  kPortUnavailable,  // reported to the host
  kFailed,           // a message was shown (or Cancel answered); port closed
};

enum class ChangeOutcome {
  kSent,        // the value was written and acknowledged
  kQueued,      // an exchange is running: sent when it ends (newest value wins)
  kPortClosed,  // the port was closed by an earlier Cancel: "mydebug ..." shown
  kCancelled,   // the user answered Cancel to a failure question; port closed
  kIgnored,     // the session is ending or has ended
};

enum class ExitOutcome {
  kLeft,     // leave command sent, port closed, TuningEnded called
  kQueued,   // runs when the running change exchange ends
  kGaveUp,   // Cancel after the leave wake-ups failed, or the port closed by
             // a Cancel could not be opened again; port closed, ended
  kIgnored,  // already ended
};

// One power tuning function from the enter exchange to the leave exchange:
// the dialog forwards its events here and does nothing else with the radio.
//
//   TuningSession session(TuningKind::kHighPower, port, host);
//   if (session.Enter(device, document.image()) == EnterOutcome::kEntered)
//     dialog.exec();  // scroll end -> RequestChange(pos); Exit -> RequestExit()
//
// Exchanges run synchronously and pump the host; events delivered by those
// pumps re-enter the session and are never nested: a change requested while
// an exchange runs is remembered (the newest value replaces older ones) and
// sent when the running exchange ends, unless that exchange ended in
// Cancel; an Exit requested meanwhile runs after that. Once the leave
// exchange has begun, further requests are ignored. After a Cancel closed
// the port, a change shows link_texts::kPortNotOpen, and an Exit opens the
// port again for the leave exchange: the radio stays in tuning mode until
// it gets the leave command. The leave exchange gives up after
// kLeaveAttempts wake-ups with the Retry/Cancel question "Communication
// Error..."; when it fails after a Cancel (or the port cannot be opened
// again), link_texts::kStillTuning tells the user to switch the radio off
// and on. After a Retry that could not open the device again, each message
// carries the device and the operating system's reason.
//
// The session owns no port: it opens `transport` in Enter (and again for a
// Retry after an I/O error, or for the leave exchange after a Cancel) and
// closes it at the leave, at a Cancel, or in the destructor. Host callbacks
// must not destroy the session.
class TuningSession {
 public:
  TuningSession(TuningKind kind, SerialTransport& transport, TuningHost& host,
                const TuningOptions& options = {});
  ~TuningSession();
  TuningSession(const TuningSession&) = delete;
  TuningSession& operator=(const TuningSession&) = delete;

  // Opens `device`, wakes the radio, reads the tuning byte into `image` at
  // the function's offset, and leaves the port open for the dialog.
  EnterOutcome Enter(const std::string& device, RadioImage& image);
  // The byte read by Enter.
  int value() const { return value_; }

  // The dialog's scroll bar position at the end of a scroll action; it is
  // kept within 1..max_position and its low 8 bits are sent.
  ChangeOutcome RequestChange(int position);
  ExitOutcome RequestExit();

  bool port_open() const { return link_.IsOpen(); }
  bool busy() const { return busy_; }
  bool ended() const { return ended_; }
  const TuningFunction& function() const { return function_; }

 private:
  // Where a change exchange goes after one of its steps.
  enum class ChangeStep {
    kGoOn,       // to the next step (after a Retry, too)
    kAgain,      // a further attempt from the wake-up
    kCancelled,  // the user answered Cancel; the port is closed
  };
  // What the attempts of one change exchange share.
  struct ChangeAttempts {
    int failures = 0;          // failed attempts, never reset by a Retry
    bool probe_shown = false;  // a wake-up's stray answer is on the scroll bar
  };

  ChangeOutcome RunChange(int position);
  // The change's wake-up and its acknowledgement.
  ChangeStep WakeForChange(ChangeAttempts& attempts);
  // The write mode command, then the value with its header; false when
  // the radio did not acknowledge one of them.
  bool SendValue(std::uint8_t value, ChangeAttempts& attempts);
  // After a failed step: pauses, and once the attempts are used up asks
  // `question` (Retry or Cancel).
  ChangeStep ChangeStepFailed(ChangeAttempts& attempts, std::string_view question);
  ExitOutcome RunLeave();
  ExitOutcome GiveUpLeave(bool after_cancel);
  void ReopenIfFailed();
  void CloseAfterCancel();
  void End();
  MessageAnswer Ask(std::string_view text, MessageButtons buttons);

  const TuningFunction& function_;
  TuningHost& host_;
  const TuningOptions options_;
  SerialLink link_;
  int value_ = -1;
  bool busy_ = false;
  bool ended_ = false;
  bool exit_requested_ = false;
  std::optional<int> pending_position_;
};

}  // namespace zlm5
