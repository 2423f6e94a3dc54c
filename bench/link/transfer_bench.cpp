// SPDX-License-Identifier: GPL-3.0-or-later
// bench/transfer: a full write and a full read against z-lm5-radio-sim at
// 9600 baud, through the real termios port.
//
// For each direction it prints the elapsed time, the floor (the wire time of
// every byte sent and received plus every pause the protocol prescribes,
// as the transfer requested them) and their ratio, and the longest gap
// between two calls of the host's event pump; then the longest pump gap
// against a silent radio. Targets: ratio at most 1.10; gap under 50 ms.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "link/transfer.h"

namespace zlm5 {
namespace {

using Clock = std::chrono::steady_clock;
constexpr double kByteMs = 10.0 / 9600.0 * 1000.0;  // 10 bits at 9600 baud
constexpr double kRatioTarget = 1.10;
constexpr double kGapTargetMs = 50.0;

// The real clock, adding up the pauses the transfer asks for.
class PauseCountingClock : public LinkClock {
 public:
  TimePoint Now() const override { return SteadyLinkClock().Now(); }
  void SleepFor(Duration d) override {
    if (d > Duration::zero()) requested += d;
    SteadyLinkClock().SleepFor(d);
  }
  Duration requested{};
};

// The termios port, counting the bytes that cross the wire.
class CountingPort : public SerialPort {
 public:
  Result<std::size_t> Write(std::span<const std::uint8_t> b) override {
    auto r = SerialPort::Write(b);
    if (r) bytes += *r;
    return r;
  }
  Result<std::size_t> Read(std::span<std::uint8_t> b) override {
    auto r = SerialPort::Read(b);
    if (r) bytes += *r;
    return r;
  }
  std::size_t bytes = 0;
};

class BenchHost : public TransferHost {
 public:
  MessageAnswer ShowMessage(const std::string& text, MessageButtons) override {
    std::printf("  message: %s\n", text.c_str());
    return MessageAnswer::kCancel;
  }
  void Pump() override {
    const auto now = Clock::now();
    if (last_ != Clock::time_point{}) longest = std::max(longest, now - last_);
    last_ = now;
    if (cancel_after != Clock::duration::zero() && now - start >= cancel_after) cancel = true;
  }
  void SetStatusText(const std::string&) override {}
  void SetProgress(int) override {}
  void SetBlocksDone(int, int) override {}
  bool CancelRequested() const override { return cancel; }
  void SetWatch(bool) override {}
  void ShowNote(const std::string& text) override { std::printf("  note: %s\n", text.c_str()); }

  Clock::duration longest{};
  Clock::time_point start = Clock::now();
  Clock::duration cancel_after{};
  bool cancel = false;

 private:
  Clock::time_point last_{};
};

struct Sim {
  pid_t pid = -1;
  std::string terminal;

  explicit Sim(std::vector<std::string> options) {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    options.insert(options.begin(), ZLM5_RADIO_SIM);
    std::vector<char*> argv;
    for (std::string& o : options) argv.push_back(o.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    char c;
    while (::read(out[0], &c, 1) == 1 && c != '\n') terminal += c;
    ::close(out[0]);
  }
  ~Sim() {
    if (pid > 0) {
      kill(pid, SIGTERM);
      waitpid(pid, nullptr, 0);
    }
  }
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

bool Measure(TransferDirection direction, const char* name) {
  Sim sim({});
  if (sim.terminal.empty()) {
    std::printf("%s: the simulator did not start\n", name);
    return false;
  }
  CountingPort port;
  PauseCountingClock clock;
  BenchHost host;
  RadioImage image;
  TransferOptions options;
  options.clock = &clock;
  const auto start = Clock::now();
  const TransferOutcome outcome = RunTransfer(direction, port, sim.terminal, image, host, options);
  const double elapsed = Ms(Clock::now() - start);
  if (outcome != TransferOutcome::kCompleted) {
    std::printf("%s: did not complete\n", name);
    return false;
  }
  const double floor = static_cast<double>(port.bytes) * kByteMs + Ms(clock.requested);
  const double ratio = elapsed / floor;
  const double gap = Ms(host.longest);
  std::printf(
      "%-5s elapsed %8.1f ms  floor %8.1f ms (%zu bytes, %.1f ms of pauses)  ratio %.3f %s\n", name,
      elapsed, floor, port.bytes, Ms(clock.requested), ratio,
      ratio <= kRatioTarget ? "(target met)" : "(target MISSED)");
  std::printf("      longest pump gap %.1f ms %s\n", gap,
              gap < kGapTargetMs ? "(target met)" : "(target MISSED)");
  return ratio <= kRatioTarget && gap < kGapTargetMs;
}

bool MeasureSilent() {
  Sim sim({"--silent", "all"});
  SerialPort port;
  BenchHost host;
  host.cancel_after = std::chrono::seconds(4);
  RadioImage image;
  RunTransfer(TransferDirection::kRead, port, sim.terminal, image, host);
  const double gap = Ms(host.longest);
  std::printf("silent radio (4 s of wake-up attempts): longest pump gap %.1f ms %s\n", gap,
              gap < kGapTargetMs ? "(target met)" : "(target MISSED)");
  return gap < kGapTargetMs;
}

}  // namespace
}  // namespace zlm5

int main() {
  std::printf(
      "Full transfers against z-lm5-radio-sim at 9600 baud (targets: ratio <= %.2f, "
      "pump gap < %.0f ms)\n",
      zlm5::kRatioTarget, zlm5::kGapTargetMs);
  bool met = zlm5::Measure(zlm5::TransferDirection::kWrite, "write");
  met = zlm5::Measure(zlm5::TransferDirection::kRead, "read") && met;
  met = zlm5::MeasureSilent() && met;
  std::printf("%s\n", met ? "all targets met" : "some targets missed (a busy machine misses them)");
  return 0;
}
