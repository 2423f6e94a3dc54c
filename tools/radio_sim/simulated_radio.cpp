#include "tools/radio_sim/simulated_radio.h"

#include <algorithm>

namespace zlm5::sim {
namespace {

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kStart = 0x02;
constexpr std::array<std::uint8_t, 7> kWakeProgram = {kStart, 'P', 'R', 'O', 'G', 'R', 'A'};
constexpr std::array<std::uint8_t, 7> kWakeTuningWrite = {kStart, 'P', 'R', 'G', 'G', 'P', 'A'};
constexpr std::uint8_t kProgramMode = 0x02;
constexpr std::uint8_t kLeaveMode = 'U';
constexpr std::size_t kHeaderSize = 4;

constexpr std::array<std::string_view, kStageCount> kStageNames = {
    "wakeup", "ident", "session", "block", "read-ack",
    "enter",  "change-wakeup", "write-mode", "value", "leave-wakeup"};

}  // namespace

std::string_view StageName(Stage stage) { return kStageNames[static_cast<std::size_t>(stage)]; }

std::optional<Stage> ParseStage(std::string_view name) {
  for (std::size_t i = 0; i < kStageNames.size(); ++i) {
    if (kStageNames[i] == name) return static_cast<Stage>(i);
  }
  return std::nullopt;
}

SimulatedRadio::SimulatedRadio(const RadioImage& memory, RadioFaults faults, std::uint8_t type)
    : memory_(memory), faults_(std::move(faults)), type_(type) {}

void SimulatedRadio::ResetFrame() {
  if (!frame_.empty() && sink_) sink_(true, frame_);
  frame_.clear();
}

std::size_t SimulatedRadio::ExpectedLength() const {
  switch (frame_.front()) {
    case kStart: return kWakeProgram.size();
    case 'M': return 2;
    case 'R': return kHeaderSize;
    case 'W': return frame_.size() < kHeaderSize ? kHeaderSize : kHeaderSize + frame_[3];
    default: return 1;
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
    if (fault.flood) reply.assign(kFloodLength, *fault.flood);
  }
  reaction.reply = std::move(reply);
  if (sink_ && !reaction.reply.empty()) sink_(false, reaction.reply);
  return reaction;
}

RadioReaction SimulatedRadio::Block() {
  if (faults_.hang_up_after_blocks && blocks_ >= *faults_.hang_up_after_blocks) {
    state_ = State::kIdle;
    RadioReaction reaction;
    reaction.hang_up = true;
    return reaction;
  }
  if (faults_.stop_after_blocks && blocks_ >= *faults_.stop_after_blocks) return {};

  const std::size_t address = (std::size_t{frame_[1]} << 8) | frame_[2];
  const std::size_t count = frame_[3];
  const std::size_t end = std::min(address + count, image_map::kSize);
  const bool last = address + count >= image_map::kTransferEnd;

  if (frame_[0] == 'R') {
    std::vector<std::uint8_t> reply(frame_.begin(), frame_.begin() + kHeaderSize);
    reply[0] = 'W';
    for (std::size_t a = address; a < address + count; ++a) {
      reply.push_back(a < end ? memory_.at(a) : 0xFF);
    }
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
  constexpr std::size_t kPcBlockSize = 8;
  const bool dropped =
      faults_.drop_write_block && address == kPcBlockSize * *faults_.drop_write_block;
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

RadioReaction SimulatedRadio::Dispatch() {
  const std::uint8_t first = frame_.front();
  if (first == kStart) {
    if (std::equal(frame_.begin(), frame_.end(), kWakeProgram.begin())) {
      return Respond(tuning_ ? Stage::kLeaveWakeUp : Stage::kWakeUp, {kAck}, State::kAwaitMode);
    }
    if (std::equal(frame_.begin(), frame_.end(), kWakeTuningWrite.begin())) {
      return Respond(Stage::kChangeWakeUp, {kAck}, State::kAwaitWriteMode);
    }
    return {};
  }

  if (first == 'M') {
    const std::uint8_t mode = frame_[1];
    if (state_ == State::kAwaitMode && mode == kProgramMode) {
      std::vector<std::uint8_t> ident = {'Z', 'L', 'M', '5', type_, 0x00, 0x00, 0x00};
      RadioReaction reaction = Respond(Stage::kIdent, std::move(ident), State::kAwaitSessionAck);
      if (accepted_) {
        tuning_ = false;
        blocks_ = 0;
      }
      return reaction;
    }
    if (state_ == State::kAwaitMode && (mode == 'R' || mode == 'S')) {
      const std::size_t offset = mode == 'R' ? image_map::kLowPowerTuning : image_map::kHighPowerTuning;
      std::vector<std::uint8_t> reply = {'W', 0x0F, static_cast<std::uint8_t>(offset & 0xFF), 0x01,
                                         memory_.at(offset)};
      return Respond(Stage::kEnter, std::move(reply), State::kAwaitEnterAck);
    }
    if (state_ == State::kAwaitMode && mode == kLeaveMode) {
      tuning_ = false;
      state_ = State::kIdle;
      RadioReaction reaction;
      reaction.session_ended = true;
      return reaction;
    }
    if (state_ == State::kAwaitWriteMode && (mode == 'b' || mode == 'c')) {
      return Respond(Stage::kWriteMode, {kAck}, State::kAwaitValue);
    }
    return {};
  }

  if (first == 'R' && state_ == State::kBlocks) return Block();
  if (first == 'W' && state_ == State::kBlocks) return Block();
  if (first == 'W' && state_ == State::kAwaitValue && frame_[3] == 1) {
    const std::size_t address = (std::size_t{frame_[1]} << 8) | frame_[2];
    RadioReaction reaction = Respond(Stage::kValue, {kAck}, State::kTuning);
    if (accepted_ && address < image_map::kSize) {
      memory_.set(address, frame_[4]);
      reaction.memory_changed = true;
    }
    return reaction;
  }

  if (first == kAck) {
    switch (state_) {
      case State::kAwaitSessionAck: return Respond(Stage::kSession, {kAck}, State::kBlocks);
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
      default: return {};
    }
  }
  return {};
}

}  // namespace zlm5::sim
