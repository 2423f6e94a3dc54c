// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/power_tuning.h"

#include <algorithm>
#include <array>

#include "link/link_texts.h"
#include "link/serial_port.h"

namespace zlm5 {
namespace {

using namespace std::chrono_literals;
using namespace tuning_limits;
using StepOrder = SerialLink::StepOrder;
using Pace = SerialLink::Pace;

constexpr int kEnterWaitSteps = 21;  // pump-wait before each enter wake-up
constexpr int kValueWaitSteps = 7;   // pump-waits between change steps
constexpr auto kAttemptPause = 2ms;  // after a failed attempt
constexpr auto kStepPause = 1ms;     // before each paced byte
// After the enter reply, as long as a read block's check (14 byte times): a
// byte arriving in it belongs to a reply longer than its frame.
constexpr auto kTrailingByteWindow = 15ms;
constexpr int kSettleRounds = 3;  // high power: full purges after enter
constexpr std::uint8_t kLeaveMode = 'U';
constexpr std::uint8_t kAddressHigh = 0x0F;
constexpr std::uint8_t kValueCount = 0x01;

const TuningFunction kLowPower{TuningKind::kLowPower,      'R', 'b',   0x0FF8,
                               image_map::kLowPowerTuning, 200, false, false};
const TuningFunction kHighPower{TuningKind::kHighPower,      'S', 'c',  0x0FF9,
                                image_map::kHighPowerTuning, 250, true, true};

}  // namespace

const TuningFunction& TuningFunctionOf(TuningKind kind) {
  return kind == TuningKind::kLowPower ? kLowPower : kHighPower;
}

TuningSession::TuningSession(TuningKind kind, SerialTransport& transport, TuningHost& host,
                             const TuningOptions& options)
    : function_(TuningFunctionOf(kind)),
      host_(host),
      options_(options),
      link_(transport, host, options.clock ? *options.clock : SteadyLinkClock()) {}

TuningSession::~TuningSession() { link_.Close(); }

MessageAnswer TuningSession::Ask(std::string_view text, MessageButtons buttons) {
  // While a Retry could not open the device again, every message says why.
  if (const auto& failure = link_.reopen_failure()) {
    return host_.ShowMessage(MessageWithReason(text, *failure, PortAccessHint(*failure)), buttons);
  }
  return host_.ShowMessage(std::string(text), buttons);
}

void TuningSession::ReopenIfFailed() {
  // A failed reopen is kept in the link's reopen_failure(): the next
  // question carries its reason.
  if (link_.io_failed()) (void)link_.Reopen();
}

void TuningSession::CloseAfterCancel() { link_.Close(); }

void TuningSession::End() {
  ended_ = true;
  pending_position_.reset();
  host_.TuningEnded();
}

EnterOutcome TuningSession::Enter(const std::string& device, RadioImage& image) {
  Status opened = link_.Open(device, options_.profile);
  if (!opened) {
    host_.ReportPortOpenFailure(std::string(link_texts::kCouldNotOpenPort), opened.error(),
                                PortAccessHint(opened.error()));
    return EnterOutcome::kPortUnavailable;
  }
  std::array<std::uint8_t, 20> buffer{};
  int failures = 0;
  for (;;) {
    link_.PumpWait(kEnterWaitSteps, StepOrder::kPump);
    buffer.fill(0);
    link_.FullPurge();
    link_.SendBlock(radio_bytes::kWakeUpProgram);
    if (link_.TolerantAckTest()) break;
    link_.Pause(kAttemptPause);
    if (++failures < kEnterAttempts) continue;
    if (Ask(link_texts::kCommunicationError, MessageButtons::kRetryCancel) !=
        MessageAnswer::kRetry) {
      link_.Close();
      return EnterOutcome::kFailed;
    }
    failures = 0;
    ReopenIfFailed();
  }

  link_.SendByte(radio_bytes::kModeCommand, Pace::kPaced);
  link_.SendByte(function_.enter_mode, Pace::kPaced);
  link_.QueuePurge();
  LinkRead read = link_.Read(std::span<std::uint8_t>(buffer.data(), kEnterReplySize));
  if (!read.ok || read.count < kEnterReplySize) {
    Ask(link_texts::kTuningNotEnough, MessageButtons::kOk);
    link_.Close();
    return EnterOutcome::kFailed;
  }
  // A reply that goes on (a stray byte before it) holds the value one byte
  // late; it fails like a short one. The header is not checked.
  const LinkRead trailing = link_.ReadTrailing(kTrailingByteWindow);
  if (!trailing.ok || trailing.count > 0) {
    Ask(trailing.ok ? link_texts::kReplyTooLong : link_texts::kTuningNotEnough,
        MessageButtons::kOk);
    link_.Close();
    return EnterOutcome::kFailed;
  }
  value_ = buffer[kEnterReplySize - 1];
  image.set(function_.image_offset, static_cast<std::uint8_t>(value_));
  link_.SendByte(radio_bytes::kAck, Pace::kPaced);
  if (function_.settle_after_enter) {
    for (int i = 0; i < kSettleRounds; ++i) {
      link_.FullPurge();
      link_.Pause(kStepPause);
    }
  }
  return EnterOutcome::kEntered;
}

ChangeOutcome TuningSession::RequestChange(int position) {
  if (ended_ || exit_requested_) return ChangeOutcome::kIgnored;
  if (busy_) {
    pending_position_ = position;
    return ChangeOutcome::kQueued;
  }
  busy_ = true;
  ChangeOutcome outcome = RunChange(position);
  // A change asked for while an exchange ran that the user then cancelled
  // is dropped: its port is closed, and it would only show a second box.
  while (pending_position_ && !ended_ && outcome != ChangeOutcome::kCancelled) {
    const int next = *pending_position_;
    pending_position_.reset();
    outcome = RunChange(next);
  }
  pending_position_.reset();
  busy_ = false;
  if (exit_requested_ && !ended_) RunLeave();
  return outcome;
}

ChangeOutcome TuningSession::RunChange(int position) {
  if (!link_.IsOpen()) {
    Ask(link_texts::kPortNotOpen, MessageButtons::kOk);
    return ChangeOutcome::kPortClosed;
  }
  const auto value =
      static_cast<std::uint8_t>(std::clamp(position, 1, function_.max_position) & 0xFF);
  link_.QueuePurge();
  ChangeAttempts attempts;
  for (;;) {
    switch (WakeForChange(attempts)) {
      case ChangeStep::kCancelled:
        return ChangeOutcome::kCancelled;
      case ChangeStep::kAgain:
        continue;
      case ChangeStep::kGoOn:
        break;
    }
    if (SendValue(value, attempts)) return ChangeOutcome::kSent;
    switch (ChangeStepFailed(attempts, link_texts::kChangeFailed)) {
      case ChangeStep::kCancelled:
        return ChangeOutcome::kCancelled;
      case ChangeStep::kAgain:
        continue;
      case ChangeStep::kGoOn:
        ReopenIfFailed();
        break;  // Retry: the next attempt
    }
  }
}

TuningSession::ChangeStep TuningSession::ChangeStepFailed(ChangeAttempts& attempts,
                                                          std::string_view question) {
  link_.Pause(kAttemptPause);
  // The count is not reset by Retry: after a Retry, each further failure
  // asks again after one attempt.
  if (++attempts.failures < kChangeAttempts) return ChangeStep::kAgain;
  if (Ask(question, MessageButtons::kRetryCancel) != MessageAnswer::kRetry) {
    CloseAfterCancel();
    return ChangeStep::kCancelled;
  }
  return ChangeStep::kGoOn;
}

TuningSession::ChangeStep TuningSession::WakeForChange(ChangeAttempts& attempts) {
  link_.Pause(options_.wake_up_pause);
  link_.SendBytewise(radio_bytes::kWakeUpTuningWrite, Pace::kImmediate);
  link_.QueuePurge();
  std::uint8_t answer = 0;
  const LinkRead wake = link_.Read(std::span<std::uint8_t>(&answer, 1));
  if (wake.ok && wake.count == 1 && answer == radio_bytes::kAck) return ChangeStep::kGoOn;

  if (!wake.ok) {
    const ChangeStep failed = ChangeStepFailed(attempts, link_texts::kChangeWakeUpFailed);
    if (failed != ChangeStep::kGoOn) return failed;
    ReopenIfFailed();
    // Retry goes on with the answer check, which this read cannot pass.
  } else if (wake.count == 1) {
    // Only a byte that really came is shown on the scroll bar.
    host_.ShowProbedValue(answer);
    attempts.probe_shown = true;
  }
  const ChangeStep failed = ChangeStepFailed(attempts, link_texts::kChangeWakeUpNotAcknowledged);
  if (failed != ChangeStep::kGoOn) return failed;
  // Retry goes on as if the radio had acknowledged.
  host_.RestorePosition();
  attempts.probe_shown = false;
  return ChangeStep::kGoOn;
}

bool TuningSession::SendValue(std::uint8_t value, ChangeAttempts& attempts) {
  link_.PumpWait(kValueWaitSteps, StepOrder::kPumpSleep);
  link_.SendByte(radio_bytes::kModeCommand, Pace::kPaced);
  link_.SendByte(function_.write_mode, Pace::kPaced);
  link_.QueuePurge();
  if (!link_.AckTest()) return false;

  link_.PumpWait(kValueWaitSteps, StepOrder::kPumpSleep);
  link_.Pause(kStepPause);
  // The value sent is the one asked for, never the byte a failed wake-up
  // put on the scroll bar; the bar goes back to it.
  if (attempts.probe_shown) {
    host_.RestorePosition();
    attempts.probe_shown = false;
  }
  link_.QueuePurge();
  const std::array<std::uint8_t, 4> header = {radio_bytes::kWriteCommand, kAddressHigh,
                                              static_cast<std::uint8_t>(function_.address & 0xFF),
                                              kValueCount};
  for (std::uint8_t b : header) {
    link_.Pause(kStepPause);
    link_.SendBlock(std::span<const std::uint8_t>(&b, 1));
  }
  link_.SendByte(value, Pace::kImmediate);
  link_.QueuePurge();
  if (!link_.AckTest()) return false;

  link_.PumpWait(kValueWaitSteps, StepOrder::kPumpSleep);
  link_.Pause(kStepPause);
  return true;
}

ExitOutcome TuningSession::RequestExit() {
  if (ended_) return ExitOutcome::kIgnored;
  if (busy_) {
    exit_requested_ = true;
    return ExitOutcome::kQueued;
  }
  return RunLeave();
}

ExitOutcome TuningSession::RunLeave() {
  busy_ = true;
  exit_requested_ = true;
  // A Cancel closed the port with the radio still in tuning mode: it is
  // opened again, since only the leave command takes the radio out.
  const bool after_cancel = !link_.IsOpen();
  if (after_cancel && !link_.Reopen()) return GiveUpLeave(after_cancel);
  link_.QueuePurge();
  int failures = 0;
  for (;;) {
    link_.Pause(options_.wake_up_pause);
    if (function_.wake_up_as_block) {
      link_.FullPurge();
      link_.SendBlock(radio_bytes::kWakeUpProgram);
    } else {
      link_.SendBytewise(radio_bytes::kWakeUpProgram, Pace::kImmediate);
    }
    link_.QueuePurge();
    if (link_.AckTest()) break;
    link_.Pause(kAttemptPause);
    if (++failures < kLeaveAttempts) continue;
    if (Ask(link_texts::kCommunicationError, MessageButtons::kRetryCancel) !=
        MessageAnswer::kRetry) {
      return GiveUpLeave(after_cancel);
    }
    failures = 0;
    ReopenIfFailed();
  }
  link_.SendByte(radio_bytes::kModeCommand, Pace::kPaced);
  link_.SendByte(kLeaveMode, Pace::kPaced);
  link_.Close();
  busy_ = false;
  End();
  return ExitOutcome::kLeft;
}

ExitOutcome TuningSession::GiveUpLeave(bool after_cancel) {
  link_.Close();
  // Nothing the user was told so far says that the radio is still tuning.
  if (after_cancel) Ask(link_texts::kStillTuning, MessageButtons::kOk);
  busy_ = false;
  End();
  return ExitOutcome::kGaveUp;
}

}  // namespace zlm5
