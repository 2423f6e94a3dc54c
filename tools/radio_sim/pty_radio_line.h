// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <csignal>
#include <functional>
#include <string>

#include "model/error.h"
#include "tools/radio_sim/simulated_radio.h"

namespace zlm5::sim {

// The simulator's end of a pseudo-terminal pair, with the timing of a 9600
// baud line: each byte from the PC reaches the radio 10 bit times after the
// previous one, and a reply reaches the PC when its last byte would have,
// 10 bit times a byte after `turnaround` after the last byte of the frame
// it answers (the PC purges its input right after some sends, so an
// instant reply would be lost). A reply leaves in one write, so that the
// simulator's own late wake-ups on a busy machine never open a gap inside
// it; a gap is there only where the radio's fault asks for a pause.
//
// The simulator keeps the terminal side open itself, so the PC can open and
// close it any number of times; the terminal is raw (no echo, no CR/LF
// translation) from the start.
// Clears the exclusive-use flag (TIOCEXCL) of the terminal open as
// `terminal_fd` when no program holds the port's lock any more: a program
// that was killed while it had the port open leaves the flag behind, and
// since the simulator keeps the terminal open the kernel never clears it,
// so every later open by a normal user would fail with "busy". Returns
// true when it cleared the flag.
bool ReleaseStaleExclusiveUse(int terminal_fd);

class PtyRadioLine {
 public:
  struct Options {
    bool wire_time = true;
    std::chrono::nanoseconds turnaround{500'000};
  };
  // kUnplugged: the radio's replug fault; the terminal is gone (the PC's
  // next read or write fails as with a pulled adapter), and Create() makes
  // a new one.
  enum class End { kSignal, kHangUp, kUnplugged, kSessionEnded };
  using ReactionHook = std::function<void(const RadioReaction&)>;
  // Called for each byte the radio took: `reacted` at once, before its
  // reply goes out; `answered` once the reply has been written to the PC,
  // for slow work (saving the memory syncs a file) that must not make the
  // PC wait for its answer.
  struct Hooks {
    ReactionHook reacted;
    ReactionHook answered;
  };

  PtyRadioLine() = default;
  ~PtyRadioLine();
  PtyRadioLine(const PtyRadioLine&) = delete;
  PtyRadioLine& operator=(const PtyRadioLine&) = delete;

  // Opens a new pseudo-terminal pair; again after kHangUp or kUnplugged.
  Status Create();
  const std::string& terminal_path() const { return terminal_path_; }

  // Serves the radio until `stop` becomes non-zero (set from a signal
  // handler; SIGINT and SIGTERM must be blocked outside this call and are
  // let through only while it waits), the radio hangs up or unplugs (the
  // terminal is closed then), or, when `once`, a session ends and the PC
  // has taken its last reply. A reply leaves whole once its wire time has
  // passed, or in two parts around the reaction's pause.
  End Run(SimulatedRadio& radio, const Options& options, const Hooks& hooks, bool once,
          const volatile std::sig_atomic_t& stop);

 private:
  void CloseAll();
  // Waits (boundedly) until the PC has read what was written and let go
  // of the port.
  void LetThePcTakeTheLastReply(const volatile std::sig_atomic_t& stop);

  int master_ = -1;
  int terminal_ = -1;
  std::string terminal_path_;
};

}  // namespace zlm5::sim
