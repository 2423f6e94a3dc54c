// SPDX-License-Identifier: GPL-3.0-or-later
// The power tuning exchanges against a simulated radio in virtual time.

#include "link/power_tuning.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "link/link_texts.h"
#include "link/wire_trace.h"
#include "tests/link/link_test_support.h"
#include "tools/radio_sim/simulated_radio.h"
#include "tools/radio_sim/virtual_radio_port.h"

namespace zlm5 {
namespace {

using namespace std::chrono_literals;
using sim::Stage;
using Call = sim::VirtualRadioPort::Call;

const std::string& kEnterWake = test::kProgramWakeUpFrame;
const std::string kChangeWake = "rx 02 50 52 47 47 50 41";
const std::string kCommError(link_texts::kCommunicationError);

class TuningTest : public ::testing::Test, protected test::VirtualRadioLine {
 protected:
  void MakeRadio() {
    memory.set(image_map::kLowPowerTuning, 90);
    memory.set(image_map::kHighPowerTuning, 77);
    StartRadio(memory);
  }

  std::unique_ptr<TuningSession> Session(TuningKind kind) {
    if (!radio) MakeRadio();
    TuningOptions options;
    options.clock = &clock;
    return std::make_unique<TuningSession>(kind, *port, host, options);
  }

  // A session of `kind` after a successful enter.
  std::unique_ptr<TuningSession> Entered(TuningKind kind) {
    auto session = Session(kind);
    EXPECT_EQ(session->Enter("/dev/virtual", document), EnterOutcome::kEntered);
    frames.clear();
    return session;
  }

  std::vector<std::string> Texts() const { return test::MessageTexts(host.messages); }

  RadioImage memory;
  RadioImage document;
  test::RecordingTuningHost host{clock};
};

TEST_F(TuningTest, EnterReadsTheHighPowerByteIntoTheDocument) {
  auto session = Session(TuningKind::kHighPower);
  ASSERT_EQ(session->Enter("/dev/virtual", document), EnterOutcome::kEntered);
  EXPECT_EQ(session->value(), 77);
  EXPECT_EQ(document.at(0xFF9), 77);
  EXPECT_EQ(document.at(0xFF8), 0xFF);
  EXPECT_EQ(frames, (std::vector<std::string>{kEnterWake, "tx 06", "rx 4D 53", "tx 57 0F F9 01 4D",
                                              "rx 06"}));
  EXPECT_TRUE(session->port_open());
  // The high power function settles with three purges after its 06.
  const auto& calls = port->calls();
  const auto last_write = std::find_if(calls.rbegin(), calls.rend(),
                                       [](const Call& c) { return c.kind == Call::kWrite; });
  EXPECT_EQ(std::count_if(calls.rbegin(), last_write,
                          [](const Call& c) { return c.kind == Call::kPurge; }),
            3);
}

TEST_F(TuningTest, EnterWakesWithOneSevenByteWrite) {
  auto session = Session(TuningKind::kLowPower);
  ASSERT_EQ(session->Enter("/dev/virtual", document), EnterOutcome::kEntered);
  EXPECT_EQ(document.at(0xFF8), 90);
  const auto& calls = port->calls();
  const auto first = std::find_if(calls.begin(), calls.end(),
                                  [](const Call& c) { return c.kind == Call::kWrite; });
  ASSERT_NE(first, calls.end());
  EXPECT_EQ(first->bytes.size(), 7u);
  EXPECT_EQ(Count("rx 4D 52"), 1);
}

TEST_F(TuningTest, EnterAcceptsAStrayByteBeforeTheAcknowledgement) {
  faults.at(Stage::kWakeUp).stray_byte = 0x33;
  auto session = Session(TuningKind::kHighPower);
  EXPECT_EQ(session->Enter("/dev/virtual", document), EnterOutcome::kEntered);
  EXPECT_EQ(Count(kEnterWake), 1);
}

TEST_F(TuningTest, EnterAsksAfterSixSilentWakeUps) {
  faults.at(Stage::kWakeUp).silent = true;
  auto session = Session(TuningKind::kHighPower);
  host.answers = {MessageAnswer::kRetry};
  EXPECT_EQ(session->Enter("/dev/virtual", document), EnterOutcome::kFailed);
  EXPECT_EQ(Count(kEnterWake), 12);  // 6, Retry, 6 more
  EXPECT_EQ(Texts(), (std::vector<std::string>(2, std::string(link_texts::kCommunicationError))));
  EXPECT_EQ(host.messages[0].buttons, MessageButtons::kRetryCancel);
  EXPECT_FALSE(session->port_open());
  EXPECT_EQ(document.at(0xFF9), 0xFF);
  EXPECT_GE(host.pumps, 12 * 21);
}

TEST_F(TuningTest, EnterWithAShortReplyStoresNothing) {
  faults.at(Stage::kEnter).reply_bytes = 4;
  auto session = Session(TuningKind::kLowPower);
  EXPECT_EQ(session->Enter("/dev/virtual", document), EnterOutcome::kFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kTuningNotEnough)});
  EXPECT_EQ(document.at(0xFF8), 0xFF);
  EXPECT_FALSE(session->port_open());
  EXPECT_EQ(Count("rx 06"), 0);
}

TEST_F(TuningTest, EnterReplyWithAStrayByteBeforeItStoresNothing) {
  faults.at(Stage::kEnter).stray_byte = 0x15;
  auto session = Session(TuningKind::kLowPower);
  EXPECT_EQ(session->Enter("/dev/virtual", document), EnterOutcome::kFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kReplyTooLong)});
  EXPECT_EQ(document.at(0xFF8), 0xFF);  // not the 01 one byte early
  EXPECT_FALSE(session->port_open());
  EXPECT_EQ(Count("rx 06"), 0);
}

TEST_F(TuningTest, EnterOnAPortThatCannotBeOpened) {
  MakeRadio();
  port->FailOpenWith(Error("/dev/ttyS0", "No such file or directory"));
  auto session = Session(TuningKind::kLowPower);
  EXPECT_EQ(session->Enter("/dev/ttyS0", document), EnterOutcome::kPortUnavailable);
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kCouldNotOpenPort)});
  ASSERT_TRUE(host.port_failure_error);
  EXPECT_EQ(host.port_failure_error->reason(), "No such file or directory");
  EXPECT_TRUE(frames.empty());
}

TEST_F(TuningTest, HighPower250IsSentAfterTheWriteMode) {
  auto session = Entered(TuningKind::kHighPower);
  const auto start = clock.Now();
  EXPECT_EQ(session->RequestChange(250), ChangeOutcome::kSent);
  EXPECT_EQ(frames, (std::vector<std::string>{kChangeWake, "tx 06", "rx 4D 63", "tx 06",
                                              "rx 57 0F F9 01 FA", "tx 06"}));
  EXPECT_EQ(radio->memory().at(0xFF9), 250);
  EXPECT_TRUE(session->port_open());
  // The change waits 700 ms before its wake-up, which goes byte by byte.
  const auto& calls = port->calls();
  std::vector<const Call*> writes;
  for (const Call& c : calls) {
    if (c.kind == Call::kWrite && c.at >= start) writes.push_back(&c);
  }
  ASSERT_GE(writes.size(), 7u);
  EXPECT_GE(writes[0]->at - start, 700ms);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(writes[static_cast<std::size_t>(i)]->bytes.size(), 1u);
}

TEST_F(TuningTest, LowPowerWritesItsOwnAddress) {
  auto session = Entered(TuningKind::kLowPower);
  EXPECT_EQ(session->RequestChange(1), ChangeOutcome::kSent);
  EXPECT_EQ(Count("rx 4D 62"), 1);
  EXPECT_EQ(Count("rx 57 0F F8 01 01"), 1);
  EXPECT_EQ(radio->memory().at(0xFF8), 1);
}

TEST_F(TuningTest, PositionsAreKeptWithinTheRange) {
  auto session = Entered(TuningKind::kLowPower);
  EXPECT_EQ(session->RequestChange(300), ChangeOutcome::kSent);
  EXPECT_EQ(Count("rx 57 0F F8 01 C8"), 1);  // 200
  EXPECT_EQ(session->RequestChange(0), ChangeOutcome::kSent);
  EXPECT_EQ(Count("rx 57 0F F8 01 01"), 1);
}

TEST_F(TuningTest, WrongWakeUpAnswersMoveTheBarThenL2RetrySendsTheChosenValue) {
  auto session = Entered(TuningKind::kHighPower);
  radio->faults().at(Stage::kChangeWakeUp).wrong_byte = 0x15;
  host.answers = {MessageAnswer::kRetry};
  EXPECT_EQ(session->RequestChange(200), ChangeOutcome::kSent);
  EXPECT_EQ(host.probes, std::vector<int>(6, 0x15));
  EXPECT_EQ(Texts(),
            std::vector<std::string>{std::string(link_texts::kChangeWakeUpNotAcknowledged)});
  EXPECT_EQ(host.restores, 1);
  EXPECT_EQ(Count("rx 57 0F F9 01 C8"), 1);
  EXPECT_EQ(radio->memory().at(0xFF9), 200);
}

TEST_F(TuningTest, AStrayAnswerNeverBecomesTheValueSent) {
  auto session = Entered(TuningKind::kHighPower);
  radio->faults().at(Stage::kChangeWakeUp).wrong_byte = 0x15;
  radio->faults().at(Stage::kChangeWakeUp).count = 2;
  EXPECT_EQ(session->RequestChange(123), ChangeOutcome::kSent);
  EXPECT_EQ(host.probes, (std::vector<int>{0x15, 0x15}));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.restores, 1);  // the bar goes back before the value is sent
  EXPECT_EQ(radio->memory().at(0xFF9), 123);
}

TEST_F(TuningTest, L2CancelClosesThePortThenChangeAndExitFollowTheRules) {
  auto session = Entered(TuningKind::kHighPower);
  radio->faults().at(Stage::kChangeWakeUp).wrong_byte = 0x15;
  EXPECT_EQ(session->RequestChange(200), ChangeOutcome::kCancelled);
  EXPECT_FALSE(session->port_open());
  EXPECT_EQ(host.ended, 0);  // the dialog stays

  EXPECT_EQ(session->RequestChange(201), ChangeOutcome::kPortClosed);
  EXPECT_EQ(host.messages.back().text, link_texts::kPortNotOpen);
  frames.clear();
  // Exit opens the port again: only the leave command ends tuning mode.
  EXPECT_EQ(session->RequestExit(), ExitOutcome::kLeft);
  EXPECT_EQ(frames, (std::vector<std::string>{kEnterWake, "tx 06", "rx 4D 55"}));
  EXPECT_FALSE(radio->tuning());
  EXPECT_EQ(port->open_count(), 2);
  EXPECT_FALSE(session->port_open());
  EXPECT_EQ(host.ended, 1);
  EXPECT_EQ(session->RequestChange(5), ChangeOutcome::kIgnored);
}

TEST_F(TuningTest, LeaveAfterACancelThatFailsTooSaysToSwitchTheRadioOffAndOn) {
  auto session = Entered(TuningKind::kLowPower);
  radio->faults().at(Stage::kChangeWakeUp).silent = true;
  radio->faults().at(Stage::kLeaveWakeUp).silent = true;
  // A change asked for while the failing one runs is dropped with it.
  host.on_pump = [&](int) {
    if (session->busy()) session->RequestChange(77);
  };
  EXPECT_EQ(session->RequestChange(60), ChangeOutcome::kCancelled);
  host.on_pump = nullptr;
  EXPECT_EQ(Count(kChangeWake), 6);
  EXPECT_EQ(session->RequestExit(), ExitOutcome::kGaveUp);
  EXPECT_EQ(Count(kEnterWake), 10);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{std::string(link_texts::kChangeWakeUpNotAcknowledged),
                                      kCommError, std::string(link_texts::kStillTuning)}));
  EXPECT_EQ(host.ended, 1);
  EXPECT_FALSE(session->port_open());
}

TEST_F(TuningTest, FailedWakeUpReadsAskL1) {
  auto session = Entered(TuningKind::kLowPower);
  radio->faults().at(Stage::kChangeWakeUp).hang_up = true;
  host.answers = {MessageAnswer::kCancel};
  EXPECT_EQ(session->RequestChange(50), ChangeOutcome::kCancelled);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages[0].text, link_texts::kChangeWakeUpFailed);
  EXPECT_EQ(host.messages[0].buttons, MessageButtons::kRetryCancel);
  EXPECT_FALSE(session->port_open());
}

TEST_F(TuningTest, L1RetryGoesOnToTheAnswerCheck) {
  auto session = Entered(TuningKind::kLowPower);
  radio->faults().at(Stage::kChangeWakeUp).hang_up = true;
  host.answers = {MessageAnswer::kRetry, MessageAnswer::kCancel};
  EXPECT_EQ(session->RequestChange(50), ChangeOutcome::kCancelled);
  // Nothing arrived, so the check cannot pass and L2 is asked at once,
  // saying why the device did not open again.
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{std::string(link_texts::kChangeWakeUpFailed),
                                      std::string(link_texts::kChangeWakeUpNotAcknowledged) +
                                          "\n\n/dev/virtual: " + std::strerror(ENOENT)}));
  EXPECT_TRUE(host.probes.empty());
}

TEST_F(TuningTest, UnacknowledgedValueRetryMakesExactlyOneMoreAttempt) {
  auto session = Entered(TuningKind::kHighPower);
  radio->faults().at(Stage::kValue).wrong_byte = 0x15;
  host.answers = {MessageAnswer::kRetry, MessageAnswer::kCancel};
  EXPECT_EQ(session->RequestChange(99), ChangeOutcome::kCancelled);
  EXPECT_EQ(Count("rx 57 0F F9 01 63"), 7);
  EXPECT_EQ(Texts(), (std::vector<std::string>(2, std::string(link_texts::kChangeFailed))));
  EXPECT_FALSE(session->port_open());
}

TEST_F(TuningTest, UnacknowledgedWriteModeGoesToTheFailureStep) {
  auto session = Entered(TuningKind::kHighPower);
  radio->faults().at(Stage::kWriteMode).silent = true;
  EXPECT_EQ(session->RequestChange(99), ChangeOutcome::kCancelled);
  EXPECT_EQ(Count("rx 4D 63"), 6);
  EXPECT_EQ(Count("rx 57 0F F9 01 63"), 0);
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kChangeFailed)});
}

TEST_F(TuningTest, LeaveSendsTheLeaveCommandAndClosesThePort) {
  auto session = Entered(TuningKind::kHighPower);
  EXPECT_EQ(session->RequestExit(), ExitOutcome::kLeft);
  EXPECT_EQ(frames, (std::vector<std::string>{kEnterWake, "tx 06", "rx 4D 55"}));
  EXPECT_FALSE(session->port_open());
  EXPECT_EQ(host.ended, 1);
  EXPECT_FALSE(radio->tuning());
}

TEST_F(TuningTest, LowPowerLeaveWakesByteByByteHighPowerInOneWrite) {
  for (TuningKind kind : {TuningKind::kLowPower, TuningKind::kHighPower}) {
    radio.reset();
    auto session = Entered(kind);
    const std::size_t before = port->calls().size();
    ASSERT_EQ(session->RequestExit(), ExitOutcome::kLeft);
    std::vector<std::size_t> sizes;
    for (std::size_t i = before; i < port->calls().size(); ++i) {
      if (port->calls()[i].kind == Call::kWrite) sizes.push_back(port->calls()[i].bytes.size());
    }
    if (kind == TuningKind::kLowPower) {
      EXPECT_EQ(sizes, (std::vector<std::size_t>{1, 1, 1, 1, 1, 1, 1, 1, 1}));
    } else {
      EXPECT_EQ(sizes, (std::vector<std::size_t>{7, 1, 1}));
    }
  }
}

TEST_F(TuningTest, LeaveGivesUpAfterTenWakeUps) {
  auto session = Entered(TuningKind::kHighPower);
  radio->faults().at(Stage::kLeaveWakeUp).silent = true;
  host.answers = {MessageAnswer::kRetry, MessageAnswer::kCancel};
  const int pumps_before = host.pumps;
  EXPECT_EQ(session->RequestExit(), ExitOutcome::kGaveUp);
  EXPECT_EQ(Count(kEnterWake), 20);
  EXPECT_EQ(Texts(), (std::vector<std::string>(2, std::string(link_texts::kCommunicationError))));
  EXPECT_FALSE(session->port_open());
  EXPECT_EQ(host.ended, 1);
  EXPECT_GT(host.pumps - pumps_before, 20 * 700 / 25);  // it pumps between attempts
  EXPECT_EQ(Count("rx 4D 55"), 0);
}

TEST_F(TuningTest, RequestsDuringAnExchangeAreQueuedNewestFirstThenExit) {
  auto session = Entered(TuningKind::kHighPower);
  bool injected = false;
  std::vector<ChangeOutcome> nested;
  ExitOutcome nested_exit = ExitOutcome::kIgnored;
  host.on_pump = [&](int) {
    if (injected || !session->busy()) return;
    injected = true;
    nested.push_back(session->RequestChange(100));
    nested.push_back(session->RequestChange(120));
    nested_exit = session->RequestExit();
  };
  EXPECT_EQ(session->RequestChange(80), ChangeOutcome::kSent);
  EXPECT_EQ(nested, (std::vector<ChangeOutcome>{ChangeOutcome::kQueued, ChangeOutcome::kQueued}));
  EXPECT_EQ(nested_exit, ExitOutcome::kQueued);
  std::vector<std::string> values;
  for (const auto& f : frames) {
    if (f.starts_with("rx 57 0F F9 01 ") || f == "rx 4D 55") values.push_back(f);
  }
  EXPECT_EQ(values,
            (std::vector<std::string>{"rx 57 0F F9 01 50", "rx 57 0F F9 01 78", "rx 4D 55"}));
  EXPECT_EQ(host.ended, 1);
  EXPECT_FALSE(session->port_open());
}

TEST_F(TuningTest, ChangesDuringTheLeaveAreIgnored) {
  auto session = Entered(TuningKind::kLowPower);
  ChangeOutcome nested = ChangeOutcome::kSent;
  host.on_pump = [&](int) {
    if (session->busy()) nested = session->RequestChange(10);
  };
  EXPECT_EQ(session->RequestExit(), ExitOutcome::kLeft);
  EXPECT_EQ(nested, ChangeOutcome::kIgnored);
  EXPECT_EQ(Count("rx 57 0F F8 01 0A"), 0);
}

TEST_F(TuningTest, PumpsKeepComingThroughThePauses) {
  auto session = Entered(TuningKind::kHighPower);
  session->RequestChange(42);
  // At most the pump period and the seven wake-up bytes sent back to back
  // after the pause, wherever the pause's last pump falls.
  EXPECT_LE(host.longest_pump_gap, std::chrono::nanoseconds(30ms));
}

TEST_F(TuningTest, DestroyingTheSessionClosesThePort) {
  {
    auto session = Entered(TuningKind::kHighPower);
    EXPECT_TRUE(port->IsOpen());
  }
  EXPECT_FALSE(port->IsOpen());
}

}  // namespace
}  // namespace zlm5
