// SPDX-License-Identifier: GPL-3.0-or-later
// bench/fleet_bench: one image written to 1, 2 and 4 z-lm5-radio-sim at once at
// 9600 baud, through the real termios ports, each radio on a thread of its
// own; then a 4-radio run from the window's Program Several Radios dialog.
//
// Prints the time of each run and its ratio to the single radio's, and the
// longest stall of the window's event loop during its run. Targets: 4 radios
// take at most 1.15 x the time of 1 (the transfers wait on the wire, so the
// radios need not take turns); the event loop never stalls for 50 ms or
// more. Runs on the platform Qt picks (QT_QPA_PLATFORM=offscreen where there
// is no display); takes about a minute and a quarter.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "files/channel_document.h"
#include "link/fleet_plan.h"
#include "link/fleet_report.h"
#include "link/fleet_run.h"
#include "ui/radio/fleet_dialog.h"

namespace zlm5 {
namespace {

using Clock = std::chrono::steady_clock;
constexpr double kRatioTarget = 1.15;
constexpr double kStallTargetMs = 50.0;
constexpr int kStallProbeMs = 1;  // the probe timer's period
constexpr std::size_t kMostRadios = 4;

// z-lm5-radio-sim at 9600 baud on a terminal of its own.
struct Sim {
  pid_t pid = -1;
  std::string terminal;

  Sim() {
    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string program = ZLM5_RADIO_SIM;
    char* argv[] = {program.data(), nullptr};
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) != 0) pid = -1;
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

std::vector<std::unique_ptr<Sim>> StartSims(std::size_t count) {
  std::vector<std::unique_ptr<Sim>> sims;
  for (std::size_t i = 0; i < count; ++i) sims.push_back(std::make_unique<Sim>());
  return sims;
}

bool AllStarted(const std::vector<std::unique_ptr<Sim>>& sims) {
  return std::all_of(sims.begin(), sims.end(), [](const auto& s) { return !s->terminal.empty(); });
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Writes a new document's image to `count` radios at once; the seconds
// from the start to the last radio's end, or a negative value on failure.
double WriteRadios(std::size_t count) {
  const auto sims = StartSims(count);
  if (!AllStarted(sims)) {
    std::printf("%zu radios: a simulator did not start\n", count);
    return -1;
  }
  std::vector<FleetPort> ports;
  for (const auto& sim : sims) ports.push_back({sim->terminal, sim->terminal});
  FleetRun run(TransferDirection::kWrite,
               PlanFleetWrite(ChannelDocument::NewDocumentImage(), ports).radios, FleetAnswers{});
  const auto start = Clock::now();
  run.Start();
  run.Wait();
  const double seconds = Seconds(Clock::now() - start);
  for (const FleetRadioStatus& s : run.Snapshot()) {
    if (s.result != FleetResult::kWritten) {
      std::printf("%zu radios: %s\n", count, FleetResultText(s).c_str());
      return -1;
    }
  }
  return seconds;
}

// A 4-radio run from the dialog; the longest gap between two turns of the
// event loop's probe timer, in ms, or a negative value on failure.
double LongestStallInTheWindow() {
  const auto sims = StartSims(kMostRadios);
  if (!AllStarted(sims)) {
    std::printf("window: a simulator did not start\n");
    return -1;
  }
  std::vector<FleetDialog::PortChoice> ports;
  for (const auto& sim : sims) {
    const QString path = QString::fromStdString(sim->terminal);
    ports.push_back({path, path, QString()});
  }
  FleetDialog dialog([] { return ChannelDocument::NewDocumentImage(); }, ports, nullptr);
  dialog.show();
  for (int row = 0; row < dialog.RowCount(); ++row) dialog.SetChecked(row, true);

  QElapsedTimer since_last;
  qint64 longest_ns = 0;
  QTimer probe;
  probe.setTimerType(Qt::PreciseTimer);
  probe.setInterval(kStallProbeMs);
  QObject::connect(&probe, &QTimer::timeout, [&] {
    longest_ns = std::max(longest_ns, since_last.nsecsElapsed());
    since_last.restart();
  });
  bool ended = false;
  QObject::connect(&dialog, &FleetDialog::RunFinished, [&] { ended = true; });
  if (!dialog.Start()) return -1;
  since_last.start();
  probe.start();
  while (!ended) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  probe.stop();
  for (int row = 0; row < dialog.RowCount(); ++row) {
    if (dialog.RowResult(row) != QStringLiteral("written")) {
      std::printf("window: %s\n", qPrintable(dialog.RowResult(row)));
      return -1;
    }
  }
  return static_cast<double>(longest_ns) / 1e6;
}

}  // namespace
}  // namespace zlm5

int main(int argc, char* argv[]) {
  using namespace zlm5;
  QApplication application(argc, argv);
  // The dialog keeps a backup of every write, as the window does: not among
  // the user's own.
  QTemporaryDir data;
  qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
  std::printf(
      "One image written to several z-lm5-radio-sim at once at 9600 baud "
      "(targets: 4 radios <= %.2f x 1 radio; event loop stall < %.0f ms)\n",
      kRatioTarget, kStallTargetMs);
  const double one = WriteRadios(1);
  if (one <= 0) return 1;
  std::printf("1 radio   %6.2f s\n", one);
  bool met = true;
  for (const std::size_t count : {std::size_t{2}, kMostRadios}) {
    const double seconds = WriteRadios(count);
    if (seconds <= 0) return 1;
    const double ratio = seconds / one;
    const bool target = count != kMostRadios || ratio <= kRatioTarget;
    met = met && target;
    std::printf("%zu radios  %6.2f s  ratio %.3f%s\n", count, seconds, ratio,
                count == kMostRadios ? (target ? "  (target met)" : "  (target MISSED)") : "");
  }
  const double stall = LongestStallInTheWindow();
  if (stall < 0) return 1;
  const bool stall_met = stall < kStallTargetMs;
  met = met && stall_met;
  std::printf("window, 4 radios: longest event loop stall %.1f ms %s\n", stall,
              stall_met ? "(target met)" : "(target MISSED)");
  std::printf("%s\n", met ? "all targets met" : "some targets missed (a busy machine misses them)");
  return 0;
}
