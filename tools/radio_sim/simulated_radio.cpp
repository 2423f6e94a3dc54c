// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio_sim/simulated_radio.h"

#include <algorithm>
#include <cstdio>

#include "link/transfer.h"
#include "link/wire_trace.h"

namespace zlm5::sim {
namespace {

constexpr std::size_t kBlockSize = transfer_limits::kBlockSize;

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kStart = 0x02;
constexpr std::array<std::uint8_t, 7> kWakeProgram = {kStart, 'P', 'R', 'O', 'G', 'R', 'A'};
constexpr std::array<std::uint8_t, 7> kWakeTuningWrite = {kStart, 'P', 'R', 'G', 'G', 'P', 'A'};
constexpr std::uint8_t kProgramMode = 0x02;
constexpr std::uint8_t kLeaveMode = 'U';
constexpr std::size_t kModeCommandSize = 2;  // 'M' and the mode
constexpr std::size_t kHeaderSize = 4;       // R/W, address high and low, byte count
constexpr std::size_t kValueSize = 1;        // a tuning value write carries one byte
constexpr std::uint8_t kNoByte = 0x00;       // the identification's unused bytes

constexpr std::array<std::string_view, kStageCount> kStageNames = {
    "wakeup", "ident",         "session",    "block", "read-ack",
    "enter",  "change-wakeup", "write-mode", "value", "leave-wakeup"};

RadioReaction Refused(std::string why) {
  RadioReaction reaction;
  reaction.refused = std::move(why);
  return reaction;
}

// "0C50": a radio address as the log shows it.
std::string Address(std::size_t address) {
  char text[8];
  std::snprintf(text, sizeof text, "%04zX", address);
  return text;
}

bool IsTuningAddress(std::size_t address) {
  return address == image_map::kLowPowerTuning || address == image_map::kHighPowerTuning;
}

}  // namespace

std::string_view StageName(Stage stage) { return kStageNames[static_cast<std::size_t>(stage)]; }

std::optional<Stage> ParseStage(std::string_view name) {
  for (std::size_t i = 0; i < kStageNames.size(); ++i) {
    if (kStageNames[i] == name) return static_cast<Stage>(i);
  }
  return std::nullopt;
}

SimulatedRadio::SimulatedRadio(const RadioImage& memory, RadioFaults faults, std::uint8_t type)
    : memory_(memory), faults_(faults), type_(type) {}

void SimulatedRadio::ResetFrame() {
  if (!frame_.empty() && sink_) sink_(true, frame_);
  frame_.clear();
}

std::size_t SimulatedRadio::ExpectedLength() const {
  switch (frame_.front()) {
    case kStart:
      return kWakeProgram.size();
    case 'M':
      return kModeCommandSize;
    case 'R':
      return kHeaderSize;
    case 'W':
      return frame_.size() < kHeaderSize ? kHeaderSize : kHeaderSize + frame_[3];
    default:
      return 1;
  }
}

RadioReaction SimulatedRadio::Receive(std::uint8_t byte) {
  frame_.push_back(byte);
  if (frame_.size() < ExpectedLength()) return {};
  if (sink_) sink_(true, frame_);
  RadioReaction reaction = Dispatch();
  frame_.clear();
  return reaction;
}

RadioReaction SimulatedRadio::Respond(Stage stage, std::vector<std::uint8_t> reply, State next) {
  const StageFault& fault = faults_.at(stage);
  int& seen = seen_[static_cast<std::size_t>(stage)];
  const bool active = fault.count < 0 || seen < fault.count;
  ++seen;
  RadioReaction reaction;
  accepted_ = false;
  if (active && fault.hang_up) {
    state_ = State::kIdle;
    reaction.hang_up = true;
    return reaction;
  }
  if (active && fault.silent) return reaction;
  accepted_ = true;
  state_ = next;
  if (active) {
    if (fault.wrong_byte && !reply.empty()) reply.front() = *fault.wrong_byte;
    if (fault.reply_bytes && *fault.reply_bytes < reply.size()) reply.resize(*fault.reply_bytes);
    if (fault.stray_byte) reply.insert(reply.begin(), *fault.stray_byte);
    if (fault.trailing_byte) reply.push_back(*fault.trailing_byte);
    if (fault.flood) reply.assign(kFloodLength, *fault.flood);
    reaction.pause = fault.pause;
    reaction.pause_after = reply.size() / 2;
  }
  reaction.reply = std::move(reply);
  if (sink_ && !reaction.reply.empty()) sink_(false, reaction.reply);
  return reaction;
}

std::string SimulatedRadio::BlockRefusal() const {
  const std::string what = frame_[0] == 'R' ? "block read" : "block write";
  if (state_ == State::kAwaitReadAck) {
    return what + " before the PC acknowledged the last block read";
  }
  if (state_ != State::kBlocks) return what + " outside a programming session";
  const std::size_t address = (std::size_t{frame_[1]} << 8) | frame_[2];
  const std::size_t count = frame_[3];
  if (count != kBlockSize) {
    return what + " of " + std::to_string(count) + " bytes (a block has " +
           std::to_string(kBlockSize) + ")";
  }
  if (address + count > image_map::kTransferEnd) {
    return what + " at " + Address(address) + ", outside 0000-" +
           Address(image_map::kTransferEnd - 1);
  }
  if (address % kBlockSize != 0) {
    return what + " at " + Address(address) + ", not at the start of a block";
  }
  return {};
}

RadioReaction SimulatedRadio::Block() {
  if (std::string why = BlockRefusal(); !why.empty()) return Refused(std::move(why));
  if (faults_.replug_after_blocks && blocks_ >= *faults_.replug_after_blocks) {
    faults_.replug_after_blocks.reset();  // the adapter comes back for good
    state_ = State::kIdle;
    RadioReaction reaction;
    reaction.replug = true;
    return reaction;
  }
  if (faults_.hang_up_after_blocks && blocks_ >= *faults_.hang_up_after_blocks) {
    state_ = State::kIdle;
    RadioReaction reaction;
    reaction.hang_up = true;
    return reaction;
  }
  if (faults_.stop_after_blocks && blocks_ >= *faults_.stop_after_blocks) return {};

  // A whole block within 0x000-0xC4F (BlockRefusal).
  const std::size_t address = (std::size_t{frame_[1]} << 8) | frame_[2];
  const std::size_t end = address + kBlockSize;
  const bool last = end == image_map::kTransferEnd;

  if (frame_[0] == 'R') {
    std::vector<std::uint8_t> reply(frame_.begin(), frame_.begin() + kHeaderSize);
    reply[0] = 'W';
    for (std::size_t a = address; a < end; ++a) reply.push_back(memory_.at(a));
    RadioReaction reaction = Respond(Stage::kBlock, std::move(reply), State::kAwaitReadAck);
    if (accepted_) {
      ++blocks_;
      final_read_block_ = last;
    }
    return reaction;
  }

  // A write is stored only when the radio takes the frame.
  RadioReaction reaction = Respond(Stage::kBlock, {kAck}, last ? State::kIdle : State::kBlocks);
  // Blocks are numbered by their address, as the PC sends them.
  const bool dropped = faults_.drop_write_block &&
                       address == kBlockSize * static_cast<std::size_t>(*faults_.drop_write_block);
  if (accepted_) {
    for (std::size_t a = address; a < end && !dropped; ++a) {
      memory_.set(a, frame_[kHeaderSize + a - address]);
    }
    ++blocks_;
    reaction.memory_changed = true;
    reaction.session_ended = last;
  }
  return reaction;
}

RadioReaction SimulatedRadio::ModeCommand() {
  const std::uint8_t mode = frame_[1];
  if (state_ == State::kAwaitMode && mode == kProgramMode) {
    std::vector<std::uint8_t> ident = {'Z', 'L', 'M', '5', type_, kNoByte, kNoByte, kNoByte};
    RadioReaction reaction = Respond(Stage::kIdent, std::move(ident), State::kAwaitSessionAck);
    if (accepted_) {
      tuning_ = false;
      blocks_ = 0;
    }
    return reaction;
  }
  if (state_ == State::kAwaitMode && (mode == 'R' || mode == 'S')) {
    const std::size_t offset =
        mode == 'R' ? image_map::kLowPowerTuning : image_map::kHighPowerTuning;
    // The value as a one-byte write frame of its own address.
    std::vector<std::uint8_t> reply = {'W', static_cast<std::uint8_t>(offset >> 8),
                                       static_cast<std::uint8_t>(offset & 0xFF), kValueSize,
                                       memory_.at(offset)};
    return Respond(Stage::kEnter, std::move(reply), State::kAwaitEnterAck);
  }
  if (state_ == State::kAwaitMode && mode == kLeaveMode) {
    if (!tuning_) return Refused("tuning leave (4D 55) without a tuning enter");
    tuning_ = false;
    state_ = State::kIdle;
    RadioReaction reaction;
    reaction.session_ended = true;
    return reaction;
  }
  if (state_ == State::kAwaitWriteMode && (mode == 'b' || mode == 'c')) {
    RadioReaction reaction = Respond(Stage::kWriteMode, {kAck}, State::kAwaitValue);
    if (accepted_) {
      value_address_ = mode == 'b' ? image_map::kLowPowerTuning : image_map::kHighPowerTuning;
    }
    return reaction;
  }
  if (mode == 'b' || mode == 'c') {
    return Refused("tuning write mode (" + HexBytes(frame_) + ") without the tuning write wake-up");
  }
  if (state_ == State::kAwaitMode) return Refused("unknown mode command " + HexBytes(frame_));
  return Refused("mode command " + HexBytes(frame_) + " without a wake-up");
}

RadioReaction SimulatedRadio::ValueWrite() {
  const std::size_t address = (std::size_t{frame_[1]} << 8) | frame_[2];
  const std::size_t count = frame_[3];
  if (state_ != State::kAwaitValue) {
    return Refused("tuning value write at " + Address(address) +
                   " without the write mode exchange");
  }
  if (count != kValueSize || address != value_address_) {
    return Refused("tuning value write of " + std::to_string(count) + " byte(s) at " +
                   Address(address) + " after the write mode for " + Address(value_address_));
  }
  RadioReaction reaction = Respond(Stage::kValue, {kAck}, State::kTuning);
  if (accepted_) {
    memory_.set(address, frame_[kHeaderSize]);
    reaction.memory_changed = true;
  }
  return reaction;
}

RadioReaction SimulatedRadio::Acknowledgement() {
  switch (state_) {
    case State::kAwaitSessionAck:
      return Respond(Stage::kSession, {kAck}, State::kBlocks);
    case State::kAwaitEnterAck:
      tuning_ = true;
      state_ = State::kTuning;
      return {};
    case State::kAwaitReadAck: {
      RadioReaction reaction =
          Respond(Stage::kReadAck, {kAck}, final_read_block_ ? State::kIdle : State::kBlocks);
      reaction.session_ended = accepted_ && final_read_block_;
      return reaction;
    }
    default:
      return Refused("acknowledgement (06) that answers nothing");
  }
}

RadioReaction SimulatedRadio::WakeUp() {
  if (std::equal(frame_.begin(), frame_.end(), kWakeProgram.begin())) {
    return Respond(tuning_ ? Stage::kLeaveWakeUp : Stage::kWakeUp, {kAck}, State::kAwaitMode);
  }
  if (std::equal(frame_.begin(), frame_.end(), kWakeTuningWrite.begin())) {
    if (!tuning_) return Refused("tuning change wake-up without a tuning enter");
    return Respond(Stage::kChangeWakeUp, {kAck}, State::kAwaitWriteMode);
  }
  return Refused("unknown wake-up " + HexBytes(frame_));
}

RadioReaction SimulatedRadio::Dispatch() {
  const std::uint8_t first = frame_.front();
  if (first == kStart) return WakeUp();
  if (first == 'M') return ModeCommand();
  if (first == 'W') {
    const std::size_t address = (std::size_t{frame_[1]} << 8) | frame_[2];
    if (state_ == State::kAwaitValue || (IsTuningAddress(address) && frame_[3] == kValueSize)) {
      return ValueWrite();
    }
  }
  if (first == 'R' || first == 'W') return Block();
  if (first == kAck) return Acknowledgement();
  return {};  // noise on the line
}

}  // namespace zlm5::sim
