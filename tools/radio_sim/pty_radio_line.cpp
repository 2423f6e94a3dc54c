// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/radio_sim/pty_radio_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <deque>
#include <optional>

#include "link/link_clock.h"

namespace zlm5::sim {
namespace {

using Clock = std::chrono::steady_clock;
// 10 bits (start, 8 data, stop) at 9600 baud.
constexpr std::chrono::nanoseconds kByteTime{1'041'667};
// A half-received frame is dropped after this much silence.
constexpr auto kFrameIdleReset = std::chrono::milliseconds(300);
// How often an idle line looks for an exclusive-use flag left behind.
constexpr auto kIdleCheck = std::chrono::milliseconds(200);
// After the last reply of a --once session, how long the PC may take to
// read it and close the port before the terminal goes anyway, and how
// often that is looked at.
constexpr auto kLastReplyGrace = std::chrono::seconds(2);
constexpr auto kLastReplyPoll = std::chrono::milliseconds(5);
// Bytes moved between the terminal and the queues at a time.
constexpr std::size_t kChunk = 256;
// A hung-up terminal is looked at again after this long, not in a spin.
constexpr useconds_t kHangUpBackoffUs = 10'000;

struct Timed {
  Clock::time_point due;
  std::uint8_t byte;
};

// The signal mask of a wait: as outside, but with SIGINT and SIGTERM let
// through, so that they end the wait.
sigset_t WaitMask() {
  sigset_t mask;
  sigprocmask(SIG_SETMASK, nullptr, &mask);
  sigdelset(&mask, SIGINT);
  sigdelset(&mask, SIGTERM);
  return mask;
}

// True while a program holds the port's lock on the terminal open as
// `terminal_fd`: the program's port holds an flock for as long as it has
// the port open.
bool PortHeld(int terminal_fd) {
  if (flock(terminal_fd, LOCK_EX | LOCK_NB) != 0) return true;
  flock(terminal_fd, LOCK_UN);
  return false;
}

// One Run: the bytes on their way in both directions and what the radio
// did with them.
class LineService {
 public:
  LineService(int master, int terminal, SimulatedRadio& radio, const PtyRadioLine::Options& options,
              const PtyRadioLine::Hooks& hooks)
      : master_(master),
        terminal_(terminal),
        radio_(radio),
        options_(options),
        hooks_(hooks),
        byte_time_(options.wire_time ? kByteTime : std::chrono::nanoseconds::zero()) {}

  // What the PC has already sent still reaches the radio (and its log and
  // memory), without waiting for the wire time; no reply goes out.
  void FinishOnStop() {
    std::uint8_t in[kChunk];
    ssize_t got;
    while ((got = ::read(master_, in, sizeof in)) > 0) {
      for (ssize_t i = 0; i < got; ++i) from_pc_.push_back({Clock::now(), in[i]});
    }
    for (const Timed& t : from_pc_) {
      RadioReaction reaction = radio_.Receive(t.byte);
      if (hooks_.reacted) hooks_.reacted(reaction);
      unanswered_.emplace_back(std::move(reaction), t.due);
    }
    to_pc_.clear();
    AnswerDue();
  }

  // Bytes from the PC whose wire time is over reach the radio; its replies
  // are queued at the line's pace.
  void DeliverToRadio(Clock::time_point now) {
    while (!from_pc_.empty() && from_pc_.front().due <= now) {
      const Timed in = from_pc_.front();
      from_pc_.pop_front();
      RadioReaction reaction = radio_.Receive(in.byte);
      if (hooks_.reacted) hooks_.reacted(reaction);
      const Clock::time_point answered = QueueReply(in.due, reaction);
      hang_up_ = hang_up_ || reaction.hang_up;
      unplugged_ = unplugged_ || reaction.replug;
      session_ended_ = session_ended_ || reaction.session_ended;
      if (hang_up_ || unplugged_) from_pc_.clear();
      unanswered_.emplace_back(std::move(reaction), answered);
    }
  }

  // Reply bytes whose wire time is over reach the PC, as few writes as
  // the terminal takes.
  void SendDue(Clock::time_point now) {
    while (!to_pc_.empty() && to_pc_.front().due <= now) {
      if (!SendChunk(now)) return;
    }
  }

  // One write of up to kChunk due bytes; false when the terminal took not
  // all of them (the PC is not reading: the rest is tried again shortly).
  bool SendChunk(Clock::time_point now) {
    std::uint8_t out[kChunk];
    std::size_t n = 0;
    while (!to_pc_.empty() && to_pc_.front().due <= now && n < sizeof out) {
      out[n++] = to_pc_.front().byte;
      to_pc_.pop_front();
    }
    std::size_t done = 0;
    while (done < n) {
      const ssize_t w = ::write(master_, out + done, n - done);
      if (w > 0) {
        done += static_cast<std::size_t>(w);
      } else if (w < 0 && errno == EAGAIN) {
        for (std::size_t i = n; i > done; --i) to_pc_.push_front({now, out[i - 1]});
        return false;
      } else if (!(w < 0 && errno == EINTR)) {
        return false;
      }
    }
    return true;
  }

  // The `answered` hook of each reaction whose reply has gone.
  void AnswerDue() {
    while (!unanswered_.empty() &&
           (to_pc_.empty() || to_pc_.front().due > unanswered_.front().second)) {
      if (hooks_.answered) hooks_.answered(unanswered_.front().first);
      unanswered_.pop_front();
    }
  }

  // How the line ends once every reply has gone, if it does.
  std::optional<PtyRadioLine::End> Ending(bool once) const {
    if (!to_pc_.empty()) return std::nullopt;
    if (hang_up_) return PtyRadioLine::End::kHangUp;
    if (unplugged_) return PtyRadioLine::End::kUnplugged;
    if (once && session_ended_) return PtyRadioLine::End::kSessionEnded;
    return std::nullopt;
  }

  // A half frame after a long silence is dropped; an idle line clears an
  // exclusive-use flag left behind.
  void LookAfterIdleLine(Clock::time_point now) {
    if (!frame_reset_done_ && now - last_byte_ >= kFrameIdleReset) {
      radio_.ResetFrame();
      frame_reset_done_ = true;
    }
    if (from_pc_.empty() && to_pc_.empty() && now - last_idle_check_ >= kIdleCheck) {
      ReleaseStaleExclusiveUse(terminal_);
      last_idle_check_ = now;
    }
  }

  // Sleeps until the next byte is due, new bytes come, or a signal.
  void WaitForBytes(Clock::time_point now, const sigset_t& wait_mask) {
    Clock::time_point wake = now + kIdleCheck;
    if (!from_pc_.empty()) wake = std::min(wake, from_pc_.front().due);
    if (!to_pc_.empty()) wake = std::min(wake, to_pc_.front().due);
    if (!frame_reset_done_) wake = std::min(wake, last_byte_ + kFrameIdleReset);
    pollfd p{master_, POLLIN, 0};
    const timespec ts = ToTimespec(wake - Clock::now());
    const int r = ppoll(&p, 1, &ts, &wait_mask);
    if (r < 0) return;  // EINTR: a signal; the caller looks at `stop`
    if (r > 0 && (p.revents & POLLIN)) {
      Receive();
    } else if (r > 0 && (p.revents & (POLLHUP | POLLERR))) {
      // Cannot happen while we hold the terminal side; do not spin if it does.
      usleep(kHangUpBackoffUs);
    }
  }

 private:
  // Queues the reply to the frame whose last byte reached the radio at
  // `arrived`; returns when the PC has all of it.
  //
  // The reply leaves in one write once its wire time has passed (in two,
  // around the reaction's pause): every byte is due when the last byte of
  // its part would have left the wire. Were each byte due on its own, a
  // late wake-up of the simulator on a busy machine would open a gap
  // inside the reply that the PC's read interval takes for its end; this
  // way a late wake-up only delays the whole reply, as a slow radio would.
  Clock::time_point QueueReply(Clock::time_point arrived, const RadioReaction& reaction) {
    if (reaction.reply.empty()) return arrived;
    auto t = std::max(arrived + options_.turnaround, radio_line_free_);
    const std::size_t split = reaction.pause > std::chrono::milliseconds::zero()
                                  ? std::min(reaction.pause_after, reaction.reply.size())
                                  : 0;
    const auto queue_part = [&](std::size_t from, std::size_t to) {
      t += byte_time_ * static_cast<long>(to - from);
      for (std::size_t i = from; i < to; ++i) to_pc_.push_back({t, reaction.reply[i]});
    };
    queue_part(0, split);
    if (split < reaction.reply.size()) t += reaction.pause;
    queue_part(split, reaction.reply.size());
    radio_line_free_ = t;
    return t;
  }

  // Bytes the PC wrote: each is complete at the radio one byte time after
  // the previous one has been.
  void Receive() {
    std::uint8_t in[kChunk];
    const ssize_t got = ::read(master_, in, sizeof in);
    const auto arrived = Clock::now();
    for (ssize_t i = 0; i < got; ++i) {
      pc_line_free_ = std::max(arrived, pc_line_free_) + byte_time_;
      from_pc_.push_back({pc_line_free_, in[i]});
    }
    if (got > 0) {
      last_byte_ = arrived;
      frame_reset_done_ = false;
    }
  }

  const int master_;
  const int terminal_;
  SimulatedRadio& radio_;
  const PtyRadioLine::Options& options_;
  const PtyRadioLine::Hooks& hooks_;
  const std::chrono::nanoseconds byte_time_;
  std::deque<Timed> from_pc_;  // received, waiting for their wire time
  std::deque<Timed> to_pc_;    // replies, waiting for their wire time
  // Reactions waiting for their `answered` hook, with the time the last
  // byte of their reply is due.
  std::deque<std::pair<RadioReaction, Clock::time_point>> unanswered_;
  Clock::time_point pc_line_free_{};
  Clock::time_point radio_line_free_{};
  Clock::time_point last_byte_ = Clock::now();
  bool frame_reset_done_ = true;
  Clock::time_point last_idle_check_{};
  bool hang_up_ = false;
  bool unplugged_ = false;
  bool session_ended_ = false;
};

}  // namespace

bool ReleaseStaleExclusiveUse(int terminal_fd) {
  int exclusive = 0;
  if (ioctl(terminal_fd, TIOCGEXCL, &exclusive) != 0 || exclusive == 0) return false;
  // The kernel drops the program's lock when the program dies. The flag is
  // set only while that lock is held, so a free lock means the flag is stale.
  if (PortHeld(terminal_fd)) return false;
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
  if (grantpt(master_) != 0 || unlockpt(master_) != 0)
    return Error("grantpt", std::strerror(errno));
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
  LineService line(master_, terminal_, radio, options, hooks);
  const sigset_t wait_mask = WaitMask();
  for (;;) {
    if (stop) {
      line.FinishOnStop();
      return End::kSignal;
    }
    const auto now = Clock::now();
    line.DeliverToRadio(now);
    line.SendDue(now);
    line.AnswerDue();
    if (const std::optional<End> end = line.Ending(once)) {
      if (*end == End::kSessionEnded) LetThePcTakeTheLastReply(stop);
      if (*end != End::kSessionEnded) CloseAll();
      return *end;
    }
    line.LookAfterIdleLine(now);
    line.WaitForBytes(now, wait_mask);
  }
}

void PtyRadioLine::LetThePcTakeTheLastReply(const volatile std::sig_atomic_t& stop) {
  // Closing the terminal hangs it up on the PC: a reply still in the
  // terminal's queue would be lost, and the PC's next drain or read fails.
  // So the reply is let go only once the PC has read it and closed the
  // port, or after a grace that no PC needs.
  tcdrain(master_);
  const sigset_t wait_mask = WaitMask();
  const auto deadline = Clock::now() + kLastReplyGrace;
  while (!stop && Clock::now() < deadline) {
    int unread = 0;
    const bool read_all = ioctl(terminal_, TIOCINQ, &unread) == 0 && unread == 0;
    if (read_all && !PortHeld(terminal_)) return;
    const timespec pause = ToTimespec(kLastReplyPoll);
    ppoll(nullptr, 0, &pause, &wait_mask);
  }
}

}  // namespace zlm5::sim
