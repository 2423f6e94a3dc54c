// SPDX-License-Identifier: GPL-3.0-or-later
// The read and write transfer against a simulated radio in virtual time.

#include "link/transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <numeric>

#include "link/link_texts.h"
#include "link/serial_port.h"
#include "link/wire_trace.h"
#include "tests/link/link_test_support.h"
#include "tools/radio_sim/simulated_radio.h"
#include "tools/radio_sim/virtual_radio_port.h"

namespace zlm5 {
namespace {

using namespace std::chrono_literals;
using sim::Stage;
using test::RecordingTransferHost;
using Call = sim::VirtualRadioPort::Call;

class TransferTest : public ::testing::Test, protected test::VirtualRadioLine {
 protected:
  void MakeRadio(std::uint8_t type = 0xFF) { StartRadio(radio_memory, type); }

  TransferOutcome Run(TransferDirection direction, RadioImage& image) {
    if (!radio) MakeRadio();
    TransferOptions options;
    options.clock = &clock;
    return RunTransfer(direction, *port, "/dev/virtual", image, host, options);
  }

  std::vector<std::string> Texts() const { return test::MessageTexts(host.messages); }

  RadioImage radio_memory = test::PatternImage(1);
  RecordingTransferHost host{clock};
};

const std::string& kWakeUp = test::kProgramWakeUpFrame;
// One byte on the wire at 9600 baud, as the virtual port times it.
constexpr std::chrono::nanoseconds kByteTime = sim::VirtualRadioPort::Timing{}.byte_time;
const std::string kCommError(link_texts::kCommunicationError);

TEST_F(TransferTest, WriteSendsEveryBlockAndNothingFromC50) {
  RadioImage image = test::PatternImage(2);
  const RadioImage before = image;
  MakeRadio();
  ASSERT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCompleted);

  EXPECT_EQ(image, before);  // the engine never changes the image in a write
  const auto sent = radio->memory().bytes();
  EXPECT_TRUE(std::equal(sent.begin(), sent.begin() + 0xC50, before.bytes().begin()));
  EXPECT_TRUE(std::equal(sent.begin() + 0xC50, sent.end(), radio_memory.bytes().begin() + 0xC50));
  EXPECT_EQ(WriteFrames(), 394);
  EXPECT_EQ(frames[0], kWakeUp);
  EXPECT_EQ(frames[2], "rx 4D 02");
  EXPECT_EQ(frames[4], "rx 06");
  EXPECT_EQ(frames[6], "rx 57 00 00 08 " + HexBytes(before.bytes().subspan(0, 8)));
  EXPECT_EQ(frames[frames.size() - 2],
            "rx 57 0C 48 08 " + HexBytes(before.bytes().subspan(0xC48, 8)));

  EXPECT_EQ(host.statuses, (std::vector<std::string>{std::string(link_texts::kDetectingPort),
                                                     std::string(link_texts::kWaitingForRadio)}));
  // One count per block, in order, each of the 394.
  std::vector<int> counts(394);
  std::iota(counts.begin(), counts.end(), 1);
  EXPECT_EQ(host.blocks, counts);
  EXPECT_EQ(host.block_totals, std::vector<int>(394, 394));
  EXPECT_EQ(host.progress, std::vector<int>{394});
  EXPECT_FALSE(host.watch);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(port->IsOpen());
}

TEST_F(TransferTest, ReadReplacesTheImageOnlyUpToC4F) {
  RadioImage image = test::PatternImage(3);
  const RadioImage before = image;
  MakeRadio();
  ASSERT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kCompleted);

  const auto got = image.bytes();
  EXPECT_TRUE(std::equal(got.begin(), got.begin() + 0xC50, radio_memory.bytes().begin()));
  EXPECT_TRUE(std::equal(got.begin() + 0xC50, got.end(), before.bytes().begin() + 0xC50));
  EXPECT_EQ(Count("rx 52 00 00 08"), 1);
  EXPECT_EQ(Count("rx 52 0C 48 08"), 1);
  EXPECT_EQ(Count("rx 52 0C 50 08"), 0);
  EXPECT_EQ(host.blocks.size(), 394u);
  EXPECT_EQ(host.blocks.back(), 394);
  EXPECT_EQ(host.progress.back(), 394);
  EXPECT_FALSE(port->IsOpen());
}

TEST_F(TransferTest, KeepsThePacingPauses) {
  RadioImage image = test::PatternImage(4);
  MakeRadio();
  ASSERT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kCompleted);
  const auto& calls = port->calls();
  // The wake-up goes byte by byte, each 1 ms after the previous one has
  // left (10 bits at 9600 baud), as with the old synchronous writes.
  std::vector<LinkClock::TimePoint> wake;
  for (const Call& c : calls) {
    if (c.kind == Call::kWrite && wake.size() < 7) wake.push_back(c.at);
  }
  ASSERT_EQ(wake.size(), 7u);
  for (std::size_t i = 1; i < wake.size(); ++i) EXPECT_GE(wake[i] - wake[i - 1], kByteTime + 1ms);
  // Each read block acknowledgement comes at least 15 ms after its reply.
  int acks = 0;
  for (std::size_t i = 1; i < calls.size(); ++i) {
    if (calls[i].kind == Call::kWrite && calls[i].bytes == std::vector<std::uint8_t>{0x06}) {
      for (std::size_t j = i; j-- > 0;) {
        if (calls[j].kind == Call::kRead && calls[j].asked == 12) {
          EXPECT_GE(calls[i].at - calls[j].at, 15ms);
          ++acks;
          break;
        }
        if (calls[j].kind == Call::kWrite) break;
      }
    }
  }
  EXPECT_EQ(acks, 394);
}

TEST_F(TransferTest, WriteDataFollowsItsHeaderAfterAPause) {
  RadioImage image = test::PatternImage(5);
  MakeRadio();
  ASSERT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCompleted);
  const auto& calls = port->calls();
  int pairs = 0;
  for (std::size_t i = 0; i + 1 < calls.size(); ++i) {
    if (calls[i].kind == Call::kWrite && calls[i].bytes.size() == 4 && calls[i].bytes[0] == 'W') {
      for (std::size_t j = i + 1; j < calls.size(); ++j) {
        if (calls[j].kind != Call::kWrite) continue;
        EXPECT_EQ(calls[j].bytes.size(), 8u);
        EXPECT_GE(calls[j].at - calls[i].at, 4 * kByteTime + 1ms) << "the pause follows the header";
        ++pairs;
        break;
      }
    }
  }
  EXPECT_EQ(pairs, 394);
}

TEST_F(TransferTest, SilentRadioGetsFifteenWakeUpsThenTheQuestion) {
  faults.at(Stage::kWakeUp).silent = true;
  MakeRadio();
  RadioImage image;
  const auto start = clock.Now();
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kFailed);
  EXPECT_EQ(Count(kWakeUp), 15);
  ASSERT_EQ(Texts(), std::vector<std::string>{kCommError});
  EXPECT_EQ(host.messages[0].buttons, MessageButtons::kRetryCancel);
  EXPECT_FALSE(host.messages[0].watch_on);
  EXPECT_FALSE(port->IsOpen());
  // Each attempt reads twice (tolerant test) for 590 ms each.
  EXPECT_GE(clock.Now() - start, 15 * 2 * 590ms);
  EXPECT_EQ(image, RadioImage());
}

TEST_F(TransferTest, RadioThatAnswersAfterTenSecondsEndsInTheQuestion) {
  sim::VirtualRadioPort::Timing slow;
  slow.turnaround = 10s;
  StartRadio(radio_memory, 0xFF, slow);
  RadioImage image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kFailed);
  // Each wake-up attempt gives up after twice 590 ms; the acknowledgement
  // of the first arrives during the ninth, which takes it. The answer to
  // the identification is ten seconds late for its 4.09 s read.
  std::vector<std::string> expected;
  for (int i = 0; i < 9; ++i) expected.insert(expected.end(), {kWakeUp, "tx 06"});
  expected.insert(expected.end(), {"rx 4D 02", "tx 5A 4C 4D 35 FF 00 00 00"});
  EXPECT_EQ(frames, expected);
  EXPECT_EQ(Texts(), std::vector<std::string>{kCommError});
  EXPECT_FALSE(port->IsOpen());
  EXPECT_EQ(image, RadioImage());
}

TEST_F(TransferTest, RetryMakesFifteenFurtherAttempts) {
  faults.at(Stage::kWakeUp).silent = true;
  faults.at(Stage::kWakeUp).count = 20;
  MakeRadio();
  host.answers = {MessageAnswer::kRetry};
  RadioImage image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kCompleted);
  EXPECT_EQ(Count(kWakeUp), 21);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.watch_changes.size() >= 2 && host.watch_changes[1]);  // set again after Retry
}

TEST_F(TransferTest, StrayByteBeforeTheAcknowledgementIsAccepted) {
  faults.at(Stage::kWakeUp).stray_byte = 0x15;
  MakeRadio();
  RadioImage image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kCompleted);
  EXPECT_EQ(Count(kWakeUp), 1);
}

TEST_F(TransferTest, ShortIdentificationIsACommunicationFailure) {
  faults.at(Stage::kIdent).reply_bytes = 4;
  MakeRadio(0x05);  // a type that would not match: never compared
  RadioImage image;
  image.set(0x81B, 0x07);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{kCommError});
  EXPECT_EQ(WriteFrames(), 0);
}

TEST_F(TransferTest, FiveIdentificationBytesCarryTheType) {
  faults.at(Stage::kIdent).reply_bytes = 5;
  MakeRadio(0xFF);
  RadioImage image = test::PatternImage(6);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCompleted);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TransferTest, TypeMismatchCancelWritesNothing) {
  MakeRadio(0x05);
  RadioImage image = test::PatternImage(7);
  image.set(0x81B, 0x07);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCancelled);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, link_texts::kTypeMismatch);
  EXPECT_EQ(host.messages[0].buttons, MessageButtons::kOkCancel);
  EXPECT_FALSE(host.messages[0].watch_on);
  EXPECT_EQ(WriteFrames(), 0);
  EXPECT_FALSE(port->IsOpen());
}

TEST_F(TransferTest, TypeMismatchOkWaitsThenRestartsAndNeverAsksAgain) {
  MakeRadio(0x05);
  RadioImage image = test::PatternImage(8);
  image.set(0x81B, 0x07);
  host.answers = {MessageAnswer::kOk};
  int pumps_at_answer = -1;
  host.on_message = [&](const test::ShownMessage&) { pumps_at_answer = host.pumps; };
  int pumps_before_second_wake = -1;
  radio->SetFrameSink([&](bool received, std::span<const std::uint8_t> bytes) {
    frames.push_back((received ? "rx " : "tx ") + HexBytes(bytes));
    if (frames.back() == kWakeUp && pumps_at_answer >= 0 && pumps_before_second_wake < 0) {
      pumps_before_second_wake = host.pumps;
    }
  });
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCompleted);
  EXPECT_EQ(host.messages.size(), 1u);  // the second identification differs too
  EXPECT_EQ(Count(kWakeUp), 2);
  EXPECT_EQ(Count("rx 4D 02"), 2);
  // 351 steps after OK, then the 7 of the new wake-up.
  EXPECT_EQ(pumps_before_second_wake - pumps_at_answer, 351 + 7);
  EXPECT_EQ(WriteFrames(), 394);
}

TEST_F(TransferTest, TypeIsComparedOnlyInAWrite) {
  MakeRadio(0x05);
  RadioImage image;
  image.set(0x81B, 0x07);
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kCompleted);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TransferTest, MatchingTypePassesSilently) {
  MakeRadio(0x07);
  RadioImage image = test::PatternImage(9);
  image.set(0x81B, 0x07);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCompleted);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TransferTest, SendOrderErrorRepeatsTheSend) {
  MakeRadio();
  int failures = 2;
  port->FailWritesWhen([&](std::span<const std::uint8_t> b) {
    return b.size() == 1 && b[0] == 0x06 && failures-- > 0;
  });
  RadioImage image = test::PatternImage(10);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCompleted);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, link_texts::kSendOrderError);
  EXPECT_EQ(host.messages[0].buttons, MessageButtons::kOk);
  EXPECT_FALSE(host.messages[0].watch_on);
  EXPECT_EQ(Count("rx 06"), 1);  // only the third send got through
}

TEST_F(TransferTest, SendOrderErrorGivesUpAfterThreeMessages) {
  MakeRadio();
  port->FailWritesWhen(
      [](std::span<const std::uint8_t> b) { return b.size() == 1 && b[0] == 0x06; });
  RadioImage image;
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kFailed);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{std::string(link_texts::kSendOrderError),
                                      std::string(link_texts::kSendOrderError),
                                      std::string(link_texts::kSendOrderError), kCommError}));
}

TEST_F(TransferTest, WrongSessionAcknowledgementWaits601StepsThenAsks) {
  faults.at(Stage::kSession).wrong_byte = 0x15;
  MakeRadio();
  int pumps_at_wrong = -1;
  radio->SetFrameSink([&](bool received, std::span<const std::uint8_t> bytes) {
    if (!received && bytes.size() == 1 && bytes[0] == 0x15) pumps_at_wrong = host.pumps;
  });
  int pumps_at_question = -1;
  host.on_message = [&](const test::ShownMessage&) { pumps_at_question = host.pumps; };
  RadioImage image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{kCommError});
  EXPECT_GE(pumps_at_question - pumps_at_wrong, 601);
  EXPECT_LE(pumps_at_question - pumps_at_wrong, 601 + 2);  // pumps of the ack read's wait
}

// The radio took five blocks and stopped acknowledging: after the message,
// the user learns what it now holds.
TEST_F(TransferTest, UnacknowledgedWriteBlockInterruptsTheProgram) {
  faults.stop_after_blocks = 5;
  MakeRadio();
  RadioImage image = test::PatternImage(11);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kFailed);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, link_texts::kProgramInterrupt);
  EXPECT_EQ(host.messages[1].text,
            "The radio now holds a partly written memory: 5 of 394 blocks were written. Write it "
            "to the radio again before using the radio.");
  for (const test::ShownMessage& shown : host.messages) {
    EXPECT_EQ(shown.buttons, MessageButtons::kOk);
    EXPECT_FALSE(shown.watch_on);
  }
  EXPECT_TRUE(host.notes.empty());
  EXPECT_EQ(host.progress.back(), 394);
  const auto mem = radio->memory().bytes();
  EXPECT_TRUE(std::equal(mem.begin(), mem.begin() + 40, image.bytes().begin()));
  EXPECT_TRUE(std::equal(mem.begin() + 40, mem.end(), radio_memory.bytes().begin() + 40));
  EXPECT_FALSE(port->IsOpen());
}

TEST_F(TransferTest, RadioSilentAfterTheSessionStopsAWriteAtBlockZero) {
  faults.stop_after_blocks = 0;
  MakeRadio();
  RadioImage image = test::PatternImage(12);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kProgramInterrupt)});
  EXPECT_TRUE(host.notes.empty());
  EXPECT_EQ(WriteFrames(), 1);
  EXPECT_EQ(radio->memory(), radio_memory);
}

TEST_F(TransferTest, ReadNeedsAllTwelveReplyBytes) {
  for (std::size_t bytes : {11u, 10u, 3u}) {
    frames.clear();
    host.messages.clear();
    faults.at(Stage::kBlock).reply_bytes = bytes;
    faults.at(Stage::kBlock).count = -1;
    MakeRadio();
    RadioImage image = test::PatternImage(13);
    const RadioImage before = image;
    EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kFailed) << bytes;
    EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kReadNotEnough)}) << bytes;
    EXPECT_EQ(image, before) << "a failed read leaves the image untouched";
  }
}

// A stray byte before a block shifts its data by one; a radio that keeps
// sending 06 would fill the image with it. Both replies go on after their
// twelfth byte: the block is not acknowledged and nothing is kept.
TEST_F(TransferTest, ReplyLongerThanItsFrameEndsTheRead) {
  for (const bool flood : {false, true}) {
    frames.clear();
    host.messages.clear();
    faults = {};
    if (flood) {
      for (auto& stage : faults.stages) stage.flood = 0x06;
    } else {
      faults.at(Stage::kBlock).stray_byte = 0x15;
      faults.at(Stage::kBlock).count = 1;
    }
    MakeRadio();
    RadioImage image = test::PatternImage(21);
    const RadioImage before = image;
    EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kFailed) << flood;
    EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kReplyTooLong)}) << flood;
    EXPECT_EQ(image, before) << flood;
    EXPECT_EQ(Count("rx 06"), 1) << "only the session's acknowledgement";
    EXPECT_FALSE(port->IsOpen());
  }
}

TEST_F(TransferTest, WrongReadAcknowledgementEndsTheRead) {
  faults.at(Stage::kReadAck).wrong_byte = 0x15;
  faults.at(Stage::kReadAck).count = 1;
  MakeRadio();
  RadioImage image = test::PatternImage(14);
  const RadioImage before = image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kReadAckError)});
  EXPECT_EQ(image, before);
  EXPECT_FALSE(host.messages[0].watch_on);
}

TEST_F(TransferTest, PortThatCannotBeOpenedIsReportedWithTheReason) {
  MakeRadio();
  port->FailOpenWith(Error::FromErrno("/dev/ttyUSB0", EACCES));
  RadioImage image = test::PatternImage(15);
  const RadioImage before = image;
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kPortUnavailable);
  EXPECT_EQ(host.port_failure_text, std::string(link_texts::kCouldNotOpenPort));
  ASSERT_TRUE(host.port_failure_error.has_value());
  EXPECT_EQ(host.port_failure_error->Message(), "/dev/ttyUSB0: Permission denied");
  // The system's own hint for that error (on Linux how to join dialout;
  // Windows has none for an errno number).
  EXPECT_EQ(host.port_failure_hint, PortAccessHint(*host.port_failure_error));
  EXPECT_EQ(image, before);
  EXPECT_TRUE(frames.empty());
  EXPECT_FALSE(host.watch);
}

TEST_F(TransferTest, HangUpInTheBlocksAsksAndRetryFailsCleanly) {
  faults.hang_up_after_blocks = 100;
  MakeRadio();
  host.answers = {MessageAnswer::kRetry, MessageAnswer::kRetry};
  RadioImage image = test::PatternImage(16);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kFailed);
  // Each Retry tries to open the vanished device again and asks again,
  // saying why the device did not open; the radio holds 100 new blocks.
  const std::string gone = kCommError + "\n\n/dev/virtual: " + std::strerror(ENOENT);
  EXPECT_EQ(Texts(), (std::vector<std::string>{kCommError, gone, gone,
                                               link_texts::PartlyWritten(100, 394)}));
  EXPECT_EQ(host.messages.back().buttons, MessageButtons::kOk);
  EXPECT_EQ(port->open_count(), 1);
  EXPECT_EQ(std::count_if(port->calls().begin(), port->calls().end(),
                          [](const Call& c) { return c.kind == Call::kOpen; }),
            3);
  EXPECT_FALSE(port->IsOpen());
}

TEST_F(TransferTest, CancelAfterAWriteWasCutOffSaysWhatTheRadioHolds) {
  faults.hang_up_after_blocks = 100;
  MakeRadio();
  RadioImage image = test::PatternImage(22);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kFailed);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{kCommError,
                                      "The radio now holds a partly written memory: 100 of 394 "
                                      "blocks were written. Write it to the radio again before "
                                      "using the radio."}));
  // A read cut off the same way keeps to the question: the radio is as it was.
  frames.clear();
  host.messages.clear();
  MakeRadio();
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{kCommError});
}

TEST_F(TransferTest, RetryAfterTheCableCameBackStartsTheBlocksAgain) {
  faults.hang_up_after_blocks = 100;
  MakeRadio();
  host.answers = {MessageAnswer::kRetry};
  host.on_message = [&](const test::ShownMessage&) {
    radio->faults().hang_up_after_blocks.reset();
    port->Replug();
  };
  RadioImage image = test::PatternImage(17);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCompleted);
  EXPECT_EQ(port->open_count(), 2);
  EXPECT_EQ(Count("rx 57 00 00 08 " + HexBytes(image.bytes().subspan(0, 8))), 2);
  const auto mem = radio->memory().bytes();
  EXPECT_TRUE(std::equal(mem.begin(), mem.begin() + 0xC50, image.bytes().begin()));
  EXPECT_NE(std::find(host.progress.begin(), host.progress.end(), 0), host.progress.end());
  EXPECT_EQ(host.progress.back(), 394);
}

// Cancel at each pump-wait: the transfer stops at the step where the flag
// is seen, closes the port and says nothing.

TEST_F(TransferTest, CancelInTheWakeUpWaitStopsAtTheNextStep) {
  MakeRadio();
  host.on_pump = [&](int) { host.cancel = true; };
  RadioImage image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kCancelled);
  EXPECT_EQ(host.pumps, 1);
  EXPECT_TRUE(frames.empty());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(port->IsOpen());
}

TEST_F(TransferTest, CancelAfterTheTypeQuestionStopsThe351StepWait) {
  MakeRadio(0x05);
  RadioImage image;
  image.set(0x81B, 0x07);
  host.answers = {MessageAnswer::kOk};
  int pumps_at_answer = 0;
  host.on_message = [&](const test::ShownMessage&) { pumps_at_answer = host.pumps; };
  host.on_pump = [&](int n) {
    if (pumps_at_answer > 0 && n == pumps_at_answer + 100) host.cancel = true;
  };
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCancelled);
  EXPECT_EQ(host.pumps, pumps_at_answer + 100);
  EXPECT_EQ(Count(kWakeUp), 1);
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(TransferTest, CancelInThe601StepWaitSaysNothing) {
  faults.at(Stage::kSession).wrong_byte = 0x15;
  MakeRadio();
  int pumps_at_wrong = -1;
  radio->SetFrameSink([&](bool received, std::span<const std::uint8_t> bytes) {
    if (!received && bytes.size() == 1 && bytes[0] == 0x15) pumps_at_wrong = host.pumps;
  });
  host.on_pump = [&](int n) {
    if (pumps_at_wrong >= 0 && n == pumps_at_wrong + 300) host.cancel = true;
  };
  RadioImage image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kCancelled);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.pumps, pumps_at_wrong + 300);
}

TEST_F(TransferTest, CancelInAWriteBlockWaitStopsBeforeTheNextBlock) {
  MakeRadio();
  host.on_block = [&](int p) {
    if (p == 10) host.cancel = true;
  };
  const int pumps_before = 0;
  RadioImage image = test::PatternImage(18);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCancelled);
  EXPECT_EQ(WriteFrames(), 10);
  // No box for the user's own Cancel, but a note of what the radio holds.
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.notes, std::vector<std::string>{link_texts::PartlyWritten(10, 394)});
  EXPECT_GT(host.pumps, pumps_before);
  const auto mem = radio->memory().bytes();
  EXPECT_TRUE(std::equal(mem.begin(), mem.begin() + 80, image.bytes().begin()));
  EXPECT_TRUE(std::equal(mem.begin() + 80, mem.end(), radio_memory.bytes().begin() + 80));
  EXPECT_FALSE(port->IsOpen());
}

TEST_F(TransferTest, CancelInAReadBlockWaitLeavesTheImageAlone) {
  MakeRadio();
  // The radio's acknowledgements: wake-up, session, then one per block.
  int acks = 0;
  int pumps_at_cancel = -1;
  radio->SetFrameSink([&](bool received, std::span<const std::uint8_t> bytes) {
    frames.push_back((received ? "rx " : "tx ") + HexBytes(bytes));
    if (frames.back() == "tx 06" && ++acks == 2 + 10) {
      host.cancel = true;
      pumps_at_cancel = host.pumps;
    }
  });
  RadioImage image = test::PatternImage(19);
  const RadioImage before = image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kCancelled);
  EXPECT_EQ(Count("rx 52 00 50 08"), 0);  // block 10 never requested
  EXPECT_EQ(Count("rx 52 00 48 08"), 1);
  EXPECT_EQ(host.pumps, pumps_at_cancel + 1);  // pump first, then the test
  EXPECT_EQ(image, before);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.notes.empty()) << "a read leaves the radio as it was";
}

// The cable came back and the user answered Retry, then cancelled before
// the blocks began again: the radio still holds the first attempt's blocks.
TEST_F(TransferTest, CancelAfterARetryStillSaysWhatTheFirstAttemptWrote) {
  faults.hang_up_after_blocks = 100;
  MakeRadio();
  host.answers = {MessageAnswer::kRetry};
  host.on_message = [&](const test::ShownMessage&) {
    radio->faults().hang_up_after_blocks.reset();
    port->Replug();
    host.cancel = true;
  };
  RadioImage image = test::PatternImage(23);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCancelled);
  EXPECT_EQ(Texts(), std::vector<std::string>{kCommError});
  EXPECT_EQ(host.notes, std::vector<std::string>{link_texts::PartlyWritten(100, 394)});
  EXPECT_EQ(Count(kWakeUp), 1) << "stopped before the radio was woken again";
  EXPECT_FALSE(port->IsOpen());
}

TEST_F(TransferTest, CancelWhileAReadWaitsEndsItEarly) {
  faults.stop_after_blocks = 5;
  MakeRadio();
  LinkClock::TimePoint started{};
  host.on_block = [&](int p) {
    if (p == 5) started = clock.Now();
  };
  host.on_pump = [&](int) {
    if (started != LinkClock::TimePoint{} && clock.Now() - started > 200ms) host.cancel = true;
  };
  RadioImage image = test::PatternImage(20);
  const RadioImage before = image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kCancelled);
  EXPECT_TRUE(host.messages.empty()) << "no 'not received enough' after a cancel";
  EXPECT_LT(clock.Now() - started, 1s);  // not the 6090 ms of the read time-out
  EXPECT_EQ(image, before);
}

TEST_F(TransferTest, PumpsKeepComingWhileTheRadioIsSilent) {
  faults.at(Stage::kWakeUp).silent = true;
  MakeRadio();
  RadioImage image;
  Run(TransferDirection::kRead, image);
  EXPECT_GT(host.pumps, 15 * 1180 / 25);
  EXPECT_LE(host.longest_pump_gap, std::chrono::nanoseconds(30ms));
}

}  // namespace
}  // namespace zlm5
