// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio_sim/pty_radio_line.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>

namespace zlm5::sim {
namespace {

using Clock = std::chrono::steady_clock;
// 10 bits (start, 8 data, stop) at 9600 baud.
constexpr std::chrono::nanoseconds kByteTime{1'041'667};
// A half-received frame is dropped after this much silence.
constexpr auto kFrameIdleReset = std::chrono::milliseconds(300);
// How often an idle line looks for an exclusive-use flag left behind.
constexpr auto kIdleCheck = std::chrono::milliseconds(200);

struct Timed {
  Clock::time_point due;
  std::uint8_t byte;
};

timespec ToTimespec(Clock::duration d) {
  if (d < Clock::duration::zero()) d = Clock::duration::zero();
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
  return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

}  // namespace

bool ReleaseStaleExclusiveUse(int terminal_fd) {
  int exclusive = 0;
  if (ioctl(terminal_fd, TIOCGEXCL, &exclusive) != 0 || exclusive == 0) return false;
  // The program's port holds an flock for as long as it has the port open,
  // and the kernel drops it when the program dies. The flag is set only
  // while that lock is held, so a free lock means the flag is stale.
  if (flock(terminal_fd, LOCK_EX | LOCK_NB) != 0) return false;
  flock(terminal_fd, LOCK_UN);
  return ioctl(terminal_fd, TIOCNXCL) == 0;
}

PtyRadioLine::~PtyRadioLine() { CloseAll(); }

void PtyRadioLine::CloseAll() {
  if (terminal_ >= 0) ::close(terminal_);
  if (master_ >= 0) ::close(master_);
  terminal_ = master_ = -1;
}

Status PtyRadioLine::Create() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) return Error("posix_openpt", std::strerror(errno));
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) return Error("grantpt", std::strerror(errno));
  const char* name = ptsname(master_);
  if (name == nullptr) return Error("ptsname", std::strerror(errno));
  terminal_path_ = name;
  // Holding the terminal side open keeps the pair alive between the PC's
  // sessions (without it the master reads EIO once the PC closes).
  terminal_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (terminal_ < 0) return Error(terminal_path_, std::strerror(errno));
  termios tio{};
  if (tcgetattr(terminal_, &tio) != 0) return Error(terminal_path_, std::strerror(errno));
  cfmakeraw(&tio);
  cfsetispeed(&tio, B9600);
  cfsetospeed(&tio, B9600);
  if (tcsetattr(terminal_, TCSANOW, &tio) != 0) return Error(terminal_path_, std::strerror(errno));
  const int flags = fcntl(master_, F_GETFL);
  fcntl(master_, F_SETFL, flags | O_NONBLOCK);
  return Ok{};
}

PtyRadioLine::End PtyRadioLine::Run(SimulatedRadio& radio, const Options& options,
                                    const Hooks& hooks, bool once,
                                    const volatile std::sig_atomic_t& stop) {
  const auto byte_time = options.wire_time ? kByteTime : std::chrono::nanoseconds::zero();
  std::deque<Timed> from_pc;  // received, waiting for their wire time
  std::deque<Timed> to_pc;    // replies, waiting for their wire time
  // Reactions waiting for their `answered` hook, with the time the last
  // byte of their reply is due.
  std::deque<std::pair<RadioReaction, Clock::time_point>> unanswered;
  const auto answer_due = [&] {
    while (!unanswered.empty() &&
           (to_pc.empty() || to_pc.front().due > unanswered.front().second)) {
      if (hooks.answered) hooks.answered(unanswered.front().first);
      unanswered.pop_front();
    }
  };
  Clock::time_point pc_line_free{};
  Clock::time_point radio_line_free{};
  Clock::time_point last_byte = Clock::now();
  bool frame_reset_done = true;
  Clock::time_point last_idle_check{};
  bool hang_up = false;
  bool unplugged = false;
  bool session_ended = false;

  sigset_t wait_mask;
  sigprocmask(SIG_SETMASK, nullptr, &wait_mask);
  sigdelset(&wait_mask, SIGINT);
  sigdelset(&wait_mask, SIGTERM);

  for (;;) {
    if (stop) {
      // What the PC has already sent still reaches the radio (and its log
      // and memory), without waiting for the wire time.
      std::uint8_t in[256];
      ssize_t got;
      while ((got = ::read(master_, in, sizeof in)) > 0) {
        for (ssize_t i = 0; i < got; ++i) from_pc.push_back({Clock::now(), in[i]});
      }
      for (const Timed& t : from_pc) {
        RadioReaction reaction = radio.Receive(t.byte);
        if (hooks.reacted) hooks.reacted(reaction);
        unanswered.push_back({std::move(reaction), t.due});
      }
      to_pc.clear();
      answer_due();
      return End::kSignal;
    }
    const auto now = Clock::now();

    // Bytes from the PC whose wire time is over reach the radio.
    while (!from_pc.empty() && from_pc.front().due <= now) {
      const Timed in = from_pc.front();
      from_pc.pop_front();
      RadioReaction reaction = radio.Receive(in.byte);
      if (hooks.reacted) hooks.reacted(reaction);
      auto t = std::max(in.due + options.turnaround, radio_line_free);
      for (std::size_t i = 0; i < reaction.reply.size(); ++i) {
        if (i == reaction.pause_after) t += reaction.pause;
        t += byte_time;
        to_pc.push_back({t, reaction.reply[i]});
      }
      if (!reaction.reply.empty()) radio_line_free = t;
      hang_up = hang_up || reaction.hang_up;
      unplugged = unplugged || reaction.replug;
      session_ended = session_ended || reaction.session_ended;
      if (hang_up || unplugged) from_pc.clear();
      const Clock::time_point answered = reaction.reply.empty() ? in.due : t;
      unanswered.push_back({std::move(reaction), answered});
    }

    // Reply bytes whose wire time is over reach the PC.
    std::uint8_t out[256];
    std::size_t n = 0;
    while (!to_pc.empty() && to_pc.front().due <= now && n < sizeof out) {
      out[n++] = to_pc.front().byte;
      to_pc.pop_front();
    }
    if (n > 0) {
      std::size_t done = 0;
      while (done < n) {
        const ssize_t w = ::write(master_, out + done, n - done);
        if (w > 0) {
          done += static_cast<std::size_t>(w);
        } else if (w < 0 && errno == EAGAIN) {
          // The PC is not reading; try the rest again shortly.
          for (std::size_t i = n; i > done; --i) to_pc.push_front({now, out[i - 1]});
          break;
        } else if (!(w < 0 && errno == EINTR)) {
          break;
        }
      }
    }

    answer_due();
    if (to_pc.empty() && hang_up) {
      CloseAll();
      return End::kHangUp;
    }
    if (to_pc.empty() && unplugged) {
      CloseAll();
      return End::kUnplugged;
    }
    if (to_pc.empty() && once && session_ended) return End::kSessionEnded;

    if (!frame_reset_done && now - last_byte >= kFrameIdleReset) {
      radio.ResetFrame();
      frame_reset_done = true;
    }
    if (from_pc.empty() && to_pc.empty() && now - last_idle_check >= kIdleCheck) {
      ReleaseStaleExclusiveUse(terminal_);
      last_idle_check = now;
    }

    // Sleep until the next byte is due, new bytes come, or a signal.
    Clock::time_point wake = now + kIdleCheck;
    if (!from_pc.empty()) wake = std::min(wake, from_pc.front().due);
    if (!to_pc.empty()) wake = std::min(wake, to_pc.front().due);
    if (!frame_reset_done) wake = std::min(wake, last_byte + kFrameIdleReset);
    pollfd p{master_, POLLIN, 0};
    const timespec ts = ToTimespec(wake - Clock::now());
    const int r = ppoll(&p, 1, &ts, &wait_mask);
    if (r < 0) continue;  // EINTR: a signal; `stop` is looked at above
    if (r > 0 && (p.revents & POLLIN)) {
      std::uint8_t in[256];
      const ssize_t got = ::read(master_, in, sizeof in);
      const auto arrived = Clock::now();
      for (ssize_t i = 0; i < got; ++i) {
        // A byte written by the PC is complete at the radio one byte time
        // after the previous one has been.
        pc_line_free = std::max(arrived, pc_line_free) + byte_time;
        from_pc.push_back({pc_line_free, in[i]});
      }
      if (got > 0) {
        last_byte = arrived;
        frame_reset_done = false;
      }
    } else if (r > 0 && (p.revents & (POLLHUP | POLLERR))) {
      // Cannot happen while we hold the terminal side; do not spin if it does.
      usleep(10'000);
    }
  }
}

}  // namespace zlm5::sim
