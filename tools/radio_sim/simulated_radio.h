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
#include <string_view>
#include <vector>

#include "model/radio_image.h"

namespace zlm5::sim {

// The points of the radio protocol where a fault can be injected.
enum class Stage {
  kWakeUp,        // 02 P R O G R A outside tuning: answer 06
  kIdent,         // M 02: the 8-byte identification
  kSession,       // the PC's 06 after the identification: answer 06
  kBlock,         // a block read (12-byte reply) or block write (answer 06)
  kReadAck,       // the PC's 06 after a read block: answer 06
  kEnter,         // M R / M S: the 5-byte tuning reply
  kChangeWakeUp,  // 02 P R G G P A: answer 06
  kWriteMode,     // M b / M c: answer 06
  kValue,         // W 0F F8|F9 01 value: answer 06
  kLeaveWakeUp,   // 02 P R O G R A while tuning: answer 06
};
inline constexpr std::size_t kStageCount = 10;
// A flooding radio's answer to a frame: far more than any reply.
inline constexpr std::size_t kFloodLength = 64;
std::string_view StageName(Stage stage);
std::optional<Stage> ParseStage(std::string_view name);

// A fault at one stage. Faults apply to the first `count` frames of the
// stage (all of them when count is negative), then the radio behaves.
struct StageFault {
  bool silent = false;                        // ignore the frame: no answer, no state change
  std::optional<std::uint8_t> wrong_byte;     // answer this byte instead of the first reply byte
  std::optional<std::uint8_t> stray_byte;     // send this byte before the reply
  std::optional<std::size_t> reply_bytes;     // send only the first n reply bytes
  std::optional<std::uint8_t> flood;          // send kFloodLength of this byte instead
  std::optional<std::uint8_t> trailing_byte;  // send this byte after the reply
  // Stop this long after the first half of the reply (the whole reply of
  // one byte waits): a radio that stalls mid-reply, for the read interval.
  std::chrono::milliseconds pause{0};
  bool hang_up = false;  // close the line when the frame arrives
  int count = -1;
};

struct RadioFaults {
  std::array<StageFault, kStageCount> stages{};
  // Answer this many blocks of a session (block numbers 0..k-1), then no
  // more block frames.
  std::optional<int> stop_after_blocks;
  // Answer this many blocks, then, when the next block frame arrives, go
  // away as an unplugged adapter does and come back (once).
  std::optional<int> replug_after_blocks;

  // Answer this many blocks, then close the line when the next block
  // frame arrives (as if the cable were pulled).
  std::optional<int> hang_up_after_blocks;
  // Acknowledge the write of this block (0 for 0x000-0x007) but keep the
  // memory as it was: a radio that loses data, which only a verify finds.
  std::optional<int> drop_write_block;

  StageFault& at(Stage s) { return stages[static_cast<std::size_t>(s)]; }
  const StageFault& at(Stage s) const { return stages[static_cast<std::size_t>(s)]; }
};

// What the radio does after receiving a byte.
struct RadioReaction {
  std::vector<std::uint8_t> reply;  // bytes to send back, in order
  // The line stops for `pause` after sending `pause_after` reply bytes.
  std::size_t pause_after = 0;
  std::chrono::milliseconds pause{0};
  bool hang_up = false;  // close the line after the reply
  bool replug = false;   // the line goes away now and comes back
  // Why the frame was not taken ("block write outside a programming
  // session"), or "" when it was: a frame the radio refuses gets no answer
  // and changes nothing.
  std::string refused;
  bool session_ended = false;   // a transfer or tuning session just ended
  bool memory_changed = false;  // a block or tuning byte was written
};

// The radio's side of the protocol over a 4 KiB memory, without any notion
// of time: bytes go in one by one, replies come out. The pseudo-terminal
// simulator and the in-memory virtual port add the wire timing.
//
// Frames are self-delimiting by their first byte: 02 starts a 7-byte
// wake-up, 'M' a 2-byte mode command, 'R' a 4-byte read request, 'W' a
// 4-byte header followed by its byte count of data, 06 an acknowledgement;
// any other byte is noise.
//
// It is as strict as a radio, so that a PC-side ordering or addressing bug
// cannot pass unnoticed: a frame is taken only where the protocol allows
// it. Block reads and writes only inside a programming session (after the
// wake-up, the identification and the session acknowledgement; a read only
// once the PC acknowledged the previous block), and only whole 8-byte
// blocks at a multiple of 8 within 0x000-0xC4F. A tuning change wake-up,
// write mode, value write and leave only after a tuning enter, the value
// only at the address of the write mode just chosen. Anything else is
// refused: no answer, no change of state or memory, and the reaction says
// why. A new wake-up is taken at any time.
class SimulatedRadio {
 public:
  // Called for every complete frame received and every reply sent (after
  // faults), with received = true for frames from the PC.
  using FrameSink = std::function<void(bool received, std::span<const std::uint8_t> bytes)>;

  // `type` is the identification's radio type byte (0xFF: no type).
  explicit SimulatedRadio(const RadioImage& memory, RadioFaults faults = {},
                          std::uint8_t type = 0xFF);

  RadioReaction Receive(std::uint8_t byte);
  // Drops a half-received frame (the line was idle for a long time).
  void ResetFrame();

  void SetFrameSink(FrameSink sink) { sink_ = std::move(sink); }
  const RadioImage& memory() const { return memory_; }
  RadioImage& memory() { return memory_; }
  // Blocks answered in the current (or last) transfer session.
  int blocks_answered() const { return blocks_; }
  // The faults may be changed between frames (a test "repairs" the radio).
  RadioFaults& faults() { return faults_; }
  bool tuning() const { return tuning_; }

 private:
  enum class State {
    kIdle,
    kAwaitMode,        // after a programming wake-up
    kAwaitSessionAck,  // after the identification
    kBlocks,           // in a transfer session
    kAwaitReadAck,     // after a read block reply
    kAwaitEnterAck,    // after the tuning reply
    kTuning,           // tuning mode, between exchanges
    kAwaitWriteMode,   // after the tuning write wake-up
    kAwaitValue,       // after the write mode acknowledgement
  };

  std::size_t ExpectedLength() const;
  RadioReaction Dispatch();
  RadioReaction WakeUp();
  RadioReaction Respond(Stage stage, std::vector<std::uint8_t> reply, State next);
  RadioReaction Block();
  RadioReaction ModeCommand();
  RadioReaction Acknowledgement();
  RadioReaction ValueWrite();
  // Why a block frame may not be served now, or "".
  std::string BlockRefusal() const;

  RadioImage memory_;
  RadioFaults faults_;
  std::uint8_t type_;
  FrameSink sink_;
  std::vector<std::uint8_t> frame_;
  State state_ = State::kIdle;
  bool tuning_ = false;
  bool final_read_block_ = false;
  std::size_t value_address_ = 0;  // where the write mode just chosen writes
  int blocks_ = 0;
  std::array<int, kStageCount> seen_{};
  bool accepted_ = false;  // the last Respond took the frame (no silence, no hang-up)
};

}  // namespace zlm5::sim
