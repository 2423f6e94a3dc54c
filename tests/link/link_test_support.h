// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/link_clock.h"
#include "link/link_host.h"
#include "model/radio_image.h"

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
  bool CancelRequested() const override { return cancel; }
  void SetWatch(bool on) override {
    watch = on;
    watch_changes.push_back(on);
  }

  std::deque<MessageAnswer> answers;
  // Runs after each answer is chosen (may set cancel, change the radio...).
  std::function<void(const ShownMessage&)> on_message;
  // Runs at each pump with the number of pumps so far (1 for the first).
  std::function<void(int)> on_pump;
  // Runs at each progress change.
  std::function<void(int)> on_progress;

  bool cancel = false;
  bool watch = true;
  int pumps = 0;
  std::chrono::nanoseconds longest_pump_gap{0};
  std::vector<std::string> statuses;
  std::vector<int> progress;
  std::vector<bool> watch_changes;
  std::vector<ShownMessage> messages;
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

// An image with every byte set from a simple generator (distinct values).
RadioImage PatternImage(std::uint8_t seed);

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

// A program run to its end.
struct ProcessResult {
  int exit_code = -1;  // -1 when it did not exit normally
  std::string out;
  std::string err;
};
// Standard output goes to `stdout_path` when given (`out` stays empty).
ProcessResult RunProcess(const std::vector<std::string>& argv,
                         const std::vector<std::string>& extra_env = {},
                         const std::string& stdout_path = {});

// z-lm5-radio-sim started with the given options; the terminal path is the
// first line it prints. Stopped (SIGTERM) at destruction if still running.
class SimProcess {
 public:
  explicit SimProcess(const std::vector<std::string>& options);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool started() const { return !terminal_.empty(); }
  const std::string& terminal() const { return terminal_; }
  // SIGTERM, then waits; returns the exit status.
  int Stop();
  // Waits for the program to end by itself (after --once or a hang-up).
  int Wait();
  std::string ErrorOutput() const { return ReadText(err_path_); }

 private:
  pid_t pid_ = -1;
  std::string terminal_;
  std::string err_path_;
  int status_ = -1;
};

// Lines of a simulator --log ("<seconds> rx|tx HEX"), without the times.
std::vector<std::string> LogFrames(const std::string& path);
int CountFrames(const std::vector<std::string>& frames, const std::string& frame);

}  // namespace zlm5::test
