// SPDX-License-Identifier: GPL-3.0-or-later
// The power tuning exchanges through the real termios port against
// z-lm5-radio-sim, with the protocol's time-outs. A silent radio is tested
// in virtual time (power_tuning_test.cpp).

#include <gtest/gtest.h>

#include <algorithm>

#include "link/link_texts.h"
#include "link/power_tuning.h"
#include "link/serial_port.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"

namespace zlm5 {
namespace {

using namespace std::chrono_literals;
using test::SimProcess;

class SimTuningTest : public ::testing::Test, protected test::SimulatorFiles {
 protected:
  void Start(std::vector<std::string> options) {
    options.insert(options.end(),
                   {"--low", "90", "--high", "77", "--turnaround", test::kTuningTurnaroundMs});
    StartSimulator(options);
    ASSERT_TRUE(sim->started()) << sim->ErrorOutput();
  }

  // The tuning's own time-outs; unless `real_pauses`, short pauses before
  // the wake-ups (a pause only delays the next send: no reply can miss it).
  std::unique_ptr<TuningSession> Session(TuningKind kind, bool real_pauses = false) {
    TuningOptions options;
    if (!real_pauses) options.wake_up_pause = 20ms;
    return std::make_unique<TuningSession>(kind, port, host, options);
  }

  std::vector<std::string> Texts() const { return test::MessageTexts(host.messages); }

  SerialPort port;
  test::RecordingTuningHost host;
  RadioImage document;
};

const std::string& kEnterWake = test::kProgramWakeUpFrame;

TEST_F(SimTuningTest, HighPower250IsSentAfterTheWriteModeExchange) {
  Start({});
  auto session = Session(TuningKind::kHighPower, /*real_pauses=*/true);
  ASSERT_EQ(session->Enter(sim->terminal(), document), EnterOutcome::kEntered);
  EXPECT_EQ(session->value(), 77);
  EXPECT_EQ(document.at(0xFF9), 77);
  EXPECT_EQ(session->RequestChange(250), ChangeOutcome::kSent);
  EXPECT_EQ(session->RequestExit(), ExitOutcome::kLeft);
  EXPECT_EQ(host.ended, 1);
  EXPECT_TRUE(host.messages.empty());

  const auto frames = Frames();
  const std::vector<std::string> expected = {
      kEnterWake, "tx 06",    "rx 4D 53", "tx 57 0F F9 01 4D", "rx 06", "rx 02 50 52 47 47 50 41",
      "tx 06",    "rx 4D 63", "tx 06",    "rx 57 0F F9 01 FA", "tx 06", kEnterWake,
      "tx 06",    "rx 4D 55"};
  EXPECT_EQ(frames, expected);
  EXPECT_EQ(test::ReadBytes(save_file).at(0xFF9), 250);
}

TEST_F(SimTuningTest, LowPowerEnterReadsItsByte) {
  Start({"--stray-byte", "wakeup"});
  auto session = Session(TuningKind::kLowPower);
  ASSERT_EQ(session->Enter(sim->terminal(), document), EnterOutcome::kEntered);
  EXPECT_EQ(document.at(0xFF8), 90);
  EXPECT_EQ(test::CountFrames(Frames(), kEnterWake), 1);
}

TEST_F(SimTuningTest, ShortEnterReplyShowsNoDialog) {
  Start({"--reply-bytes", "enter=4"});
  auto session = Session(TuningKind::kHighPower);
  EXPECT_EQ(session->Enter(sim->terminal(), document), EnterOutcome::kFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kTuningNotEnough)});
  EXPECT_EQ(document.at(0xFF9), 0xFF);
  EXPECT_FALSE(session->port_open());
}

TEST_F(SimTuningTest, FailingWakeUpReadsAskL1ThenTheClosedPortRulesApply) {
  Start({"--hang-up", "change-wakeup"});
  auto session = Session(TuningKind::kLowPower);
  ASSERT_EQ(session->Enter(sim->terminal(), document), EnterOutcome::kEntered);
  EXPECT_EQ(session->RequestChange(33), ChangeOutcome::kCancelled);
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kChangeWakeUpFailed)});
  EXPECT_FALSE(session->port_open());
  EXPECT_EQ(session->RequestChange(34), ChangeOutcome::kPortClosed);
  EXPECT_EQ(host.messages.back().text, link_texts::kPortNotOpen);
  // The terminal is gone with the simulator: the leave exchange cannot
  // even begin, and the user is told what to do about the radio.
  EXPECT_EQ(sim->Wait(), 0);
  EXPECT_EQ(session->RequestExit(), ExitOutcome::kGaveUp);
  EXPECT_EQ(host.messages.back().text, std::string(link_texts::kStillTuning) + "\n\n" +
                                           sim->terminal() + ": No such file or directory");
  EXPECT_EQ(host.ended, 1);
}

TEST_F(SimTuningTest, WrongWakeUpAnswersAskL2AndRetrySendsTheValue) {
  Start({"--wrong-byte", "change-wakeup=15"});
  auto session = Session(TuningKind::kHighPower);
  ASSERT_EQ(session->Enter(sim->terminal(), document), EnterOutcome::kEntered);
  host.answers = {MessageAnswer::kRetry};
  EXPECT_EQ(session->RequestChange(180), ChangeOutcome::kSent);
  EXPECT_EQ(host.probes, std::vector<int>(6, 0x15));
  EXPECT_EQ(Texts(),
            std::vector<std::string>{std::string(link_texts::kChangeWakeUpNotAcknowledged)});
  EXPECT_EQ(host.restores, 1);
  const auto frames = Frames();
  EXPECT_EQ(test::CountFrames(frames, "rx 57 0F F9 01 B4"), 1);
  EXPECT_EQ(test::ReadBytes(save_file).at(0xFF9), 180);
}

TEST_F(SimTuningTest, UnacknowledgedValueAsksAndRetryMakesOneMoreAttempt) {
  Start({"--wrong-byte", "value"});
  auto session = Session(TuningKind::kLowPower);
  ASSERT_EQ(session->Enter(sim->terminal(), document), EnterOutcome::kEntered);
  host.answers = {MessageAnswer::kRetry, MessageAnswer::kCancel};
  EXPECT_EQ(session->RequestChange(150), ChangeOutcome::kCancelled);
  EXPECT_EQ(Texts(), std::vector<std::string>(2, std::string(link_texts::kChangeFailed)));
  EXPECT_EQ(test::CountFrames(Frames(), "rx 57 0F F8 01 96"), 7);
}

}  // namespace
}  // namespace zlm5
