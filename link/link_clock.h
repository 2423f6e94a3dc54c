// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <ctime>

namespace zlm5 {

// The time source of the radio exchanges: a monotonic clock and a sleep.
// The exchanges take it as a parameter so that tests of a silent radio run
// in virtual time instead of sleeping through every time-out.
class LinkClock {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  using Duration = std::chrono::steady_clock::duration;

  virtual ~LinkClock() = default;
  virtual TimePoint Now() const = 0;
  // Sleeps at least `duration` (a zero or negative duration returns at once).
  virtual void SleepFor(Duration duration) = 0;
};

// std::chrono::steady_clock and a real sleep; shared, stateless.
LinkClock& SteadyLinkClock();

// Virtual time for tests: Now() moves only when SleepFor or Advance is
// called (or a virtual transport reads), so nothing really sleeps.
class ManualLinkClock : public LinkClock {
 public:
  TimePoint Now() const override { return now_; }
  void SleepFor(Duration duration) override {
    if (duration > Duration::zero()) now_ += duration;
    slept_ += duration > Duration::zero() ? duration : Duration::zero();
  }
  void Advance(Duration duration) { now_ += duration; }
  void AdvanceTo(TimePoint t) {
    if (t > now_) now_ = t;
  }
  // Sum of all SleepFor calls, for tests that check the prescribed pauses.
  Duration slept() const { return slept_; }

 private:
  TimePoint now_{};
  Duration slept_{};
};

// A wait as ppoll and nanosleep take it; a time already past waits not at
// all.
inline timespec ToTimespec(std::chrono::steady_clock::duration wait) {
  using std::chrono::duration_cast;
  using std::chrono::nanoseconds;
  using std::chrono::seconds;
  using Duration = std::chrono::steady_clock::duration;
  if (wait < Duration::zero()) wait = Duration::zero();
  const auto whole = duration_cast<seconds>(wait);
  return timespec{static_cast<std::time_t>(whole.count()),
                  static_cast<long>(duration_cast<nanoseconds>(wait - whole).count())};
}

}  // namespace zlm5
