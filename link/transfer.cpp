// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/transfer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>

#include "link/link_texts.h"
#include "link/serial_link.h"
#include "link/serial_port.h"

namespace zlm5 {
namespace {

using namespace std::chrono_literals;
using namespace transfer_limits;
using StepOrder = SerialLink::StepOrder;
using Pace = SerialLink::Pace;

// Pump-waits: steps and the order of the work inside a step. The counts
// are the radio protocol's own; a step that sleeps sleeps 1 ms, so a count
// is also the least time its wait takes in milliseconds. The two long waits
// count from 0 to 350 and to 600 inclusive, hence the odd step: a third of
// a second before a radio whose type the user accepted is woken again, and
// over half a second for a radio that answered the session acknowledgement
// wrongly (and may still be sending) before the user is asked what to do.
constexpr int kWakeUpWaitSteps = 7;          // before each wake-up attempt
constexpr int kTypeAcceptedWaitSteps = 351;  // after OK to the type question
constexpr int kWrongAckWaitSteps = 601;      // after a wrong session acknowledgement
constexpr int kWriteBlockWaitSteps = 21;     // after each written block
constexpr int kReadBlockWaitSteps = 19;      // after each read block

constexpr auto kAttemptPause = 2ms;    // after a wake-up without acknowledgement
constexpr auto kDataPause = 1ms;       // between a write header and its data
constexpr auto kWriteBlockRest = 1ms;  // after the pump-wait of a written block
// Before acknowledging a read block. The line is watched meanwhile: a byte
// that arrives in these 14 byte times belongs to a reply longer than its
// frame.
constexpr auto kReadAckPause = 15ms;
constexpr auto kReadBlockRest = 5ms;  // after the pump-wait of a read block

constexpr std::uint8_t kProgramMode = 0x02;
constexpr std::uint8_t kNoType = 0xFF;
constexpr std::size_t kReplyDataOffset = 4;
constexpr std::size_t kReceiveBufferSize = 20;
constexpr int kFullBar = kBlockCount;

class TransferSession {
 public:
  TransferSession(TransferDirection direction, SerialTransport& transport,
                  const std::string& device, RadioImage& image, TransferHost& host,
                  const TransferOptions& options)
      : direction_(direction),
        device_(device),
        image_(image),
        host_(host),
        profile_(options.profile),
        link_(transport, host, options.clock ? *options.clock : SteadyLinkClock()) {
    link_.SetCancelTest([this] { return host_.CancelRequested(); });
  }

  TransferOutcome Run() {
    State state = State::kOpening;
    while (state != State::kEnded) state = Step(state);
    link_.Close();
    return outcome_;
  }

 private:
  // The phases of a transfer; each handler returns the next one.
  enum class State {
    kOpening,      // opening the port
    kWaking,       // wake-up attempts
    kIdentifying,  // mode command and identification
    kTypeQuery,    // asking about a radio type mismatch (write only)
    kConfirming,   // session acknowledgement
    kAsking,       // communication failure question
    kBlocks,       // the 394 blocks
    kEnded,
  };

  State Step(State state) {
    switch (state) {
      case State::kOpening:
        return Opening();
      case State::kWaking:
        return Waking();
      case State::kIdentifying:
        return Identifying();
      case State::kTypeQuery:
        return TypeQuery();
      case State::kConfirming:
        return Confirming();
      case State::kAsking:
        return Asking();
      case State::kBlocks:
        return direction_ == TransferDirection::kWrite ? WriteBlocks() : ReadBlocks();
      case State::kEnded:
        break;
    }
    return State::kEnded;
  }

  State End(TransferOutcome outcome) {
    outcome_ = outcome;
    return State::kEnded;
  }
  State Cancelled() {
    // The user stopped it: no box, but the radio keeps what it took.
    if (written_blocks_ > 0) host_.ShowNote(PartlyWrittenText());
    return End(TransferOutcome::kCancelled);
  }

  std::string PartlyWrittenText() const {
    return link_texts::PartlyWritten(written_blocks_, kBlockCount);
  }
  // After a message that ended a write cut off in its blocks.
  void TellPartlyWritten() {
    if (written_blocks_ > 0) Ask(PartlyWrittenText(), MessageButtons::kOk);
  }

  // A message of the transfer's own: the watch flag is off while it shows.
  MessageAnswer Ask(std::string_view text, MessageButtons buttons) {
    host_.SetWatch(false);
    return host_.ShowMessage(std::string(text), buttons);
  }

  State Opening() {
    Status opened = link_.Open(device_, profile_);
    if (!opened) {
      host_.SetWatch(false);
      host_.ReportPortOpenFailure(std::string(link_texts::kCouldNotOpenPort), opened.error(),
                                  PortAccessHint(opened.error()));
      return End(TransferOutcome::kPortUnavailable);
    }
    host_.SetStatusText(std::string(link_texts::kDetectingPort));
    attempt_ = 1;
    buffer_.fill(0);
    if (direction_ == TransferDirection::kRead) scratch_ = image_;
    return State::kWaking;
  }

  State Waking() {
    for (;;) {
      if (!link_.PumpWait(kWakeUpWaitSteps, StepOrder::kPumpTestSleep)) return Cancelled();
      host_.SetStatusText(std::string(link_texts::kWaitingForRadio));
      link_.FullPurge();
      link_.SendBytewise(radio_bytes::kWakeUpProgram, Pace::kPaced);
      LinkRead read;
      const bool acknowledged = link_.TolerantAckTest(&read);
      if (read.interrupted) return Cancelled();
      if (acknowledged) return State::kIdentifying;
      // A dead port fails every attempt at once; ask straight away.
      if (link_.io_failed()) return State::kAsking;
      link_.Pause(kAttemptPause);
      if (++attempt_ > kWakeUpAttempts) return State::kAsking;
    }
  }

  State Identifying() {
    link_.SendByte(radio_bytes::kModeCommand, Pace::kPaced);
    link_.SendByte(kProgramMode, Pace::kPaced);
    LinkRead read = link_.Read(std::span<std::uint8_t>(buffer_.data(), kIdentSize));
    if (read.interrupted) return Cancelled();
    // A short identification carries no type byte to compare: it is a
    // communication failure, never a comparison with stale buffer bytes.
    if (!read.ok || read.count <= kIdentTypeIndex) return State::kAsking;
    if (direction_ == TransferDirection::kWrite && type_check_pending_) {
      const std::uint8_t type = buffer_[kIdentTypeIndex];
      if (type != kNoType && type != image_.at(kImageTypeOffset)) return State::kTypeQuery;
    }
    return State::kConfirming;
  }

  State TypeQuery() {
    if (Ask(link_texts::kTypeMismatch, MessageButtons::kOkCancel) != MessageAnswer::kOk) {
      return Cancelled();
    }
    type_check_pending_ = false;
    host_.SetWatch(true);
    if (!link_.PumpWait(kTypeAcceptedWaitSteps, StepOrder::kPumpTestSleep)) return Cancelled();
    attempt_ = 1;
    return State::kWaking;
  }

  State Confirming() {
    int send_errors = 0;
    while (!link_.SendByte(radio_bytes::kAck, Pace::kImmediate)) {
      Ask(link_texts::kSendOrderError, MessageButtons::kOk);
      host_.SetWatch(true);
      if (++send_errors >= kSendOrderErrors) return State::kAsking;
    }
    LinkRead read;
    const bool acknowledged = link_.AckTest(&read);
    if (read.interrupted) return Cancelled();
    if (!read.ok) return State::kAsking;
    if (acknowledged) return State::kBlocks;
    host_.SetWatch(true);
    if (!link_.PumpWait(kWrongAckWaitSteps, StepOrder::kPumpTestSleep)) return Cancelled();
    return State::kAsking;
  }

  State Asking() {
    // After a Retry could not open the device again (the adapter is still
    // unplugged), the question says why, as a failed first open does.
    std::string question(link_texts::kCommunicationError);
    if (const auto& failure = link_.reopen_failure()) {
      question = MessageWithReason(question, *failure, PortAccessHint(*failure));
    }
    if (Ask(question, MessageButtons::kRetryCancel) != MessageAnswer::kRetry) {
      // The radio keeps what it took of a write cut off in its blocks.
      TellPartlyWritten();
      return End(TransferOutcome::kFailed);
    }
    host_.SetWatch(true);
    attempt_ = 1;
    // After an I/O error the device may have gone and come back (a USB
    // adapter plugged in again): start from a fresh open.
    if (link_.io_failed() || !link_.IsOpen()) {
      if (!link_.Reopen()) return State::kAsking;
    }
    return State::kWaking;
  }

  void ProgressStep() {
    if (progress_ <= kBlockCount - 1) {
      ++progress_;
      host_.SetBlocksDone(progress_, kBlockCount);
    }
  }

  // Blocks start from block 0 again after a Retry.
  void RestartProgress() {
    if (progress_ != 0) {
      progress_ = 0;
      host_.SetProgress(0);
    }
  }

  static std::array<std::uint8_t, 4> Header(std::uint8_t command, std::size_t address) {
    return {command, static_cast<std::uint8_t>(address >> 8),
            static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(kBlockSize)};
  }

  State WriteBlocks() {
    RestartProgress();
    const auto bytes = image_.bytes();
    for (int block = 0; block < kBlockCount; ++block) {
      const std::size_t address = static_cast<std::size_t>(block) * kBlockSize;
      link_.QueuePurge();
      link_.SendBlock(Header(radio_bytes::kWriteCommand, address));
      link_.Pause(kDataPause);
      link_.QueuePurge();
      link_.SendBlock(bytes.subspan(address, kBlockSize));
      LinkRead read;
      const bool acknowledged = link_.AckTest(&read);
      if (read.interrupted) return Cancelled();
      if (!acknowledged) {
        if (link_.io_failed()) return State::kAsking;
        Ask(link_texts::kProgramInterrupt, MessageButtons::kOk);
        TellPartlyWritten();
        link_.Close();
        host_.SetProgress(kFullBar);
        host_.SetWatch(false);
        return End(TransferOutcome::kFailed);
      }
      ProgressStep();
      written_blocks_ = std::max(written_blocks_, block + 1);
      host_.SetWatch(true);
      if (!link_.PumpWait(kWriteBlockWaitSteps, StepOrder::kTestPump)) return Cancelled();
      link_.Pause(kWriteBlockRest);
    }
    link_.Close();
    host_.SetProgress(kFullBar);
    host_.SetWatch(false);
    return End(TransferOutcome::kCompleted);
  }

  State ReadBlocks() {
    RestartProgress();
    auto scratch = scratch_.bytes();
    for (int block = 0; block < kBlockCount; ++block) {
      const std::size_t address = static_cast<std::size_t>(block) * kBlockSize;
      link_.QueuePurge();
      link_.SendBlock(Header(radio_bytes::kReadCommand, address));
      LinkRead read = link_.Read(std::span<std::uint8_t>(buffer_.data(), kReadReplySize));
      if (read.interrupted) return Cancelled();
      if (!read.ok) return State::kAsking;
      // Only a complete reply counts: with fewer bytes the data would mix
      // in bytes of an earlier reply.
      if (read.count < kReadReplySize) {
        Ask(link_texts::kReadNotEnough, MessageButtons::kOk);
        return End(TransferOutcome::kFailed);
      }
      // Nor does a reply that goes on: a stray byte before it (which a
      // real line can carry) or a radio that keeps sending has shifted the
      // data. The reply header is not checked: radios need not echo it.
      LinkRead trailing = link_.ReadTrailing(kReadAckPause);
      if (trailing.interrupted) return Cancelled();
      if (!trailing.ok) return State::kAsking;
      if (trailing.count > 0) {
        Ask(link_texts::kReplyTooLong, MessageButtons::kOk);
        return End(TransferOutcome::kFailed);
      }
      link_.QueuePurge();
      std::copy_n(buffer_.begin() + kReplyDataOffset, kBlockSize, scratch.begin() + address);
      ProgressStep();
      link_.SendByte(radio_bytes::kAck, Pace::kImmediate);
      LinkRead ack;
      const bool acknowledged = link_.AckTest(&ack);
      if (ack.interrupted) return Cancelled();
      if (!ack.ok) return State::kAsking;
      if (!acknowledged) {
        Ask(link_texts::kReadAckError, MessageButtons::kOk);
        return End(TransferOutcome::kFailed);
      }
      host_.SetWatch(true);
      if (!link_.PumpWait(kReadBlockWaitSteps, StepOrder::kPumpTest)) return Cancelled();
      link_.Pause(kReadBlockRest);
    }
    link_.Close();
    host_.SetWatch(false);
    host_.SetProgress(kFullBar);
    // Only now does the caller's image change, and only the moved range.
    std::copy_n(scratch.begin(), image_map::kTransferEnd, image_.bytes().begin());
    return End(TransferOutcome::kCompleted);
  }

  const TransferDirection direction_;
  const std::string device_;
  RadioImage& image_;
  TransferHost& host_;
  const TimeoutProfile profile_;
  SerialLink link_;

  TransferOutcome outcome_ = TransferOutcome::kFailed;
  bool type_check_pending_ = true;
  int attempt_ = 1;
  int progress_ = 0;
  int written_blocks_ = 0;  // write blocks the radio acknowledged, over all attempts
  std::array<std::uint8_t, kReceiveBufferSize> buffer_{};
  RadioImage scratch_;
};

}  // namespace

TransferOutcome RunTransfer(TransferDirection direction, SerialTransport& transport,
                            const std::string& device, RadioImage& image, TransferHost& host,
                            const TransferOptions& options) {
  TransferSession session(direction, transport, device, image, host, options);
  return session.Run();
}

}  // namespace zlm5
