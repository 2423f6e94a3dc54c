// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/link_clock.h"

#include <cerrno>
#include <ctime>

namespace zlm5 {
namespace {

class SteadyClock : public LinkClock {
 public:
  TimePoint Now() const override { return std::chrono::steady_clock::now(); }

  // clock_nanosleep on the monotonic clock against an absolute deadline, so
  // that a signal does not cut the pause short or stretch it.
  void SleepFor(Duration duration) override {
    if (duration <= Duration::zero()) return;
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(duration).count();
    deadline.tv_sec += static_cast<time_t>(ns / 1'000'000'000);
    deadline.tv_nsec += static_cast<long>(ns % 1'000'000'000);
    if (deadline.tv_nsec >= 1'000'000'000) {
      deadline.tv_sec += 1;
      deadline.tv_nsec -= 1'000'000'000;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
  }
};

}  // namespace

LinkClock& SteadyLinkClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace zlm5
