// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/link_clock.h"
#include "link/link_host.h"
#include "model/radio_image.h"
#include "tools/radio_sim/simulated_radio.h"
#include "tools/radio_sim/virtual_radio_port.h"

namespace zlm5::test {

// One message box the exchange asked for, and the answer it got.
struct ShownMessage {
  std::string text;
  MessageButtons buttons;
  MessageAnswer answer;
  bool watch_on;  // the watch flag when the box was shown
};

// A transfer host that records everything and answers from a script.
// Unscripted questions: OK boxes get OK, others Cancel.
class RecordingTransferHost : public TransferHost {
 public:
  explicit RecordingTransferHost(LinkClock& clock = SteadyLinkClock()) : clock_(clock) {}

  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override;
  void Pump() override;
  void ReportPortOpenFailure(const std::string& text, const Error& error,
                             const std::string& hint) override;
  void SetStatusText(const std::string& text) override { statuses.push_back(text); }
  void SetProgress(int position) override;
  void SetBlocksDone(int done, int total) override;
  bool CancelRequested() const override { return cancel; }
  void SetWatch(bool on) override {
    watch = on;
    watch_changes.push_back(on);
  }
  void ShowNote(const std::string& text) override { notes.push_back(text); }

  std::deque<MessageAnswer> answers;
  // Runs after each answer is chosen (may set cancel, change the radio...).
  std::function<void(const ShownMessage&)> on_message;
  // Runs at each pump with the number of pumps so far (1 for the first).
  std::function<void(int)> on_pump;
  // Runs at each block moved, with the count so far.
  std::function<void(int)> on_block;

  bool cancel = false;
  bool watch = true;
  int pumps = 0;
  std::chrono::nanoseconds longest_pump_gap{0};
  std::vector<std::string> statuses;
  std::vector<int> progress;
  std::vector<int> blocks;  // SetBlocksDone's counts, in order
  std::vector<int> block_totals;
  std::vector<bool> watch_changes;
  std::vector<ShownMessage> messages;
  std::vector<std::string> notes;  // ShowNote's texts, in order
  std::optional<std::string> port_failure_text;
  std::optional<Error> port_failure_error;
  std::string port_failure_hint;

 private:
  LinkClock& clock_;
  std::optional<LinkClock::TimePoint> last_pump_;
};

// A tuning host that records the dialog callbacks.
class RecordingTuningHost : public TuningHost {
 public:
  explicit RecordingTuningHost(LinkClock& clock = SteadyLinkClock()) : clock_(clock) {}

  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override;
  void Pump() override;
  void ReportPortOpenFailure(const std::string& text, const Error& error,
                             const std::string& hint) override;
  void ShowProbedValue(int byte) override { probes.push_back(byte); }
  void RestorePosition() override { ++restores; }
  void TuningEnded() override { ++ended; }

  std::deque<MessageAnswer> answers;
  std::function<void(int)> on_pump;
  int pumps = 0;
  std::chrono::nanoseconds longest_pump_gap{0};
  std::vector<ShownMessage> messages;
  std::vector<int> probes;
  int restores = 0;
  int ended = 0;
  std::optional<Error> port_failure_error;

 private:
  LinkClock& clock_;
  std::optional<LinkClock::TimePoint> last_pump_;
};

// The texts of the message boxes shown, in order.
std::vector<std::string> MessageTexts(const std::vector<ShownMessage>& messages);

// How long z-lm5-radio-sim waits before it answers in the tests of the
// power tuning: tuning purges the PC's input right after some of its sends,
// so a reply that came before that purge would be lost. 150 ms leave a busy
// machine ample time for the purge and are far within tuning's shortest
// read (620 ms for one byte).
inline constexpr const char* kTuningTurnaroundMs = "150";

// The wake-up frame that opens a programming session (and a tuning enter
// and leave), as the radio's frame log shows it received.
inline const std::string kProgramWakeUpFrame = "rx 02 50 52 4F 47 52 41";

// A simulated radio behind a virtual port in virtual time: what the tests
// of the transfer, the safe transfer and the power tuning run against.
// Every frame on the wire is kept as "rx HEX" (the radio received it) or
// "tx HEX" (the radio sent it).
class VirtualRadioLine {
 protected:
  // A radio holding `memory`, with `faults`, that reports `type` in its
  // identification (0xFF: none), on a line of the given timing.
  void StartRadio(const RadioImage& memory, std::uint8_t type = 0xFF,
                  sim::VirtualRadioPort::Timing timing = {});
  int Count(const std::string& frame) const;
  // Block writes the radio received.
  int WriteFrames() const;

  ManualLinkClock clock;
  sim::RadioFaults faults;
  std::unique_ptr<sim::SimulatedRadio> radio;
  std::unique_ptr<sim::VirtualRadioPort> port;
  std::vector<std::string> frames;
};

// An image with every byte set from a simple generator (distinct values).
RadioImage PatternImage(std::uint8_t seed);

// A new document with channel 1 on 146.525 and channel 12 on 446.00625
// typed in, as a write sends it. Channel 12's frequencies are bytes
// 0x0B0-0x0B7: block 22.
RadioImage TwoChannels();
inline constexpr int kChannel12Block = 22;

// A fresh folder under $TMPDIR, removed with its content at destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadText(const std::string& path);
std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const RadioImage& image);
bool FileExists(const std::string& path);

}  // namespace zlm5::test
