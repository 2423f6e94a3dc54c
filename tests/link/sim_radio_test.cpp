// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated radio is as strict as a radio: each frame the protocol
// does not allow where it arrives gets no answer, changes nothing, and is
// reported with the reason.

#include "tools/radio_sim/simulated_radio.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "link/wire_trace.h"
#include "tests/link/link_test_support.h"

namespace zlm5 {
namespace {

// What the radio did with the frames fed to it: every reply byte and the
// last refusal.
struct Answer {
  std::string reply;  // hex, as the log shows it
  std::string refused;
};

class SimRadioTest : public ::testing::Test {
 protected:
  // Feeds frames given in hex ("02 50 52 4F 47 52 41").
  Answer Send(const std::string& hex) {
    std::istringstream in(hex);
    std::vector<std::uint8_t> reply;
    Answer answer;
    for (std::string pair; in >> pair;) {
      const sim::RadioReaction r =
          radio.Receive(static_cast<std::uint8_t>(std::stoul(pair, nullptr, 16)));
      reply.insert(reply.end(), r.reply.begin(), r.reply.end());
      if (!r.refused.empty()) answer.refused = r.refused;
    }
    answer.reply = HexBytes(reply);
    return answer;
  }
  // Wake-up, identification and session acknowledgement.
  void OpenSession() {
    ASSERT_EQ(Send(kWakeUp).reply, "06");
    ASSERT_EQ(Send("4D 02").reply, "5A 4C 4D 35 FF 00 00 00");
    ASSERT_EQ(Send("06").reply, "06");
  }
  // Wake-up, enter (M R: low power) and its acknowledgement.
  void EnterTuning() {
    ASSERT_EQ(Send(kWakeUp).reply, "06");
    ASSERT_EQ(Send("4D 52").reply, "57 0F F8 01 5A");
    ASSERT_EQ(Send("06").reply, "");
    ASSERT_TRUE(radio.tuning());
  }
  // The frame is refused for `why`, and the memory is as it was.
  void ExpectRefused(const std::string& frame, const std::string& why) {
    const Answer answer = Send(frame);
    EXPECT_EQ(answer.reply, "") << frame;
    EXPECT_EQ(answer.refused, why) << frame;
    EXPECT_EQ(radio.memory(), memory) << frame;
  }

  static constexpr const char* kWakeUp = "02 50 52 4F 47 52 41";
  static constexpr const char* kChangeWakeUp = "02 50 52 47 47 50 41";
  static constexpr const char* kEightBytes = "11 22 33 44 55 66 77 88";

  RadioImage memory = [] {
    RadioImage image = test::PatternImage(71);
    image.set(image_map::kLowPowerTuning, 0x5A);
    return image;
  }();
  sim::SimulatedRadio radio{memory};
};

TEST_F(SimRadioTest, BlockWriteOutsideAProgrammingSession) {
  ExpectRefused(std::string("57 00 00 08 ") + kEightBytes,
                "block write outside a programming session");
  // A wake-up alone opens no session.
  ASSERT_EQ(Send(kWakeUp).reply, "06");
  ExpectRefused(std::string("57 00 08 08 ") + kEightBytes,
                "block write outside a programming session");
}

TEST_F(SimRadioTest, BlockReadOutsideAProgrammingSession) {
  ExpectRefused("52 00 00 08", "block read outside a programming session");
}

TEST_F(SimRadioTest, BlockWriteBeyondTheTransferredRange) {
  OpenSession();
  ExpectRefused(std::string("57 0C 50 08 ") + kEightBytes,
                "block write at 0C50, outside 0000-0C4F");
  ExpectRefused(std::string("57 0F F8 08 ") + kEightBytes,
                "block write at 0FF8, outside 0000-0C4F");
  // The session goes on: the last block in range is taken.
  EXPECT_EQ(Send(std::string("57 0C 48 08 ") + kEightBytes).reply, "06");
  EXPECT_EQ(radio.memory().at(0xC48), 0x11);
  EXPECT_EQ(radio.memory().at(0xC50), memory.at(0xC50));
}

TEST_F(SimRadioTest, BlockReadBeyondTheTransferredRange) {
  OpenSession();
  ExpectRefused("52 0C 50 08", "block read at 0C50, outside 0000-0C4F");
}

TEST_F(SimRadioTest, BlockWriteNotAtTheStartOfABlock) {
  OpenSession();
  ExpectRefused(std::string("57 00 04 08 ") + kEightBytes,
                "block write at 0004, not at the start of a block");
}

TEST_F(SimRadioTest, BlockWriteOfAnotherSize) {
  OpenSession();
  ExpectRefused("57 00 00 04 11 22 33 44", "block write of 4 bytes (a block has 8)");
}

TEST_F(SimRadioTest, BlockReadBeforeTheLastOneWasAcknowledged) {
  OpenSession();
  EXPECT_EQ(Send("52 00 00 08").reply, "57 00 00 08 " + HexBytes(memory.bytes().first(8)));
  ExpectRefused("52 00 08 08", "block read before the PC acknowledged the last block read");
  EXPECT_EQ(Send("06").reply, "06");
  EXPECT_NE(Send("52 00 08 08").reply, "");
}

TEST_F(SimRadioTest, ModeCommandWithoutAWakeUp) {
  ExpectRefused("4D 02", "mode command 4D 02 without a wake-up");
}

TEST_F(SimRadioTest, TuningChangeWithoutATuningEnter) {
  ExpectRefused(kChangeWakeUp, "tuning change wake-up without a tuning enter");
  // Nor after a programming session.
  OpenSession();
  ExpectRefused(kChangeWakeUp, "tuning change wake-up without a tuning enter");
}

TEST_F(SimRadioTest, TuningLeaveWithoutATuningEnter) {
  ASSERT_EQ(Send(kWakeUp).reply, "06");
  ExpectRefused("4D 55", "tuning leave (4D 55) without a tuning enter");
  // The radio still waits for a mode.
  EXPECT_EQ(Send("4D 02").reply, "5A 4C 4D 35 FF 00 00 00");
}

TEST_F(SimRadioTest, TuningWriteModeWithoutTheChangeWakeUp) {
  EnterTuning();
  ExpectRefused("4D 62", "tuning write mode (4D 62) without the tuning write wake-up");
}

TEST_F(SimRadioTest, TuningValueWriteWithoutTheWriteMode) {
  EnterTuning();
  ASSERT_EQ(Send(kChangeWakeUp).reply, "06");
  ExpectRefused("57 0F F8 01 64", "tuning value write at 0FF8 without the write mode exchange");
}

TEST_F(SimRadioTest, TuningValueWriteToTheOtherByte) {
  EnterTuning();
  ASSERT_EQ(Send(kChangeWakeUp).reply, "06");
  ASSERT_EQ(Send("4D 62").reply, "06");
  ExpectRefused("57 0F F9 01 64",
                "tuning value write of 1 byte(s) at 0FF9 after the write mode for 0FF8");
  // The right byte is still taken.
  EXPECT_EQ(Send("57 0F F8 01 64").reply, "06");
  EXPECT_EQ(radio.memory().at(image_map::kLowPowerTuning), 0x64);
}

TEST_F(SimRadioTest, AcknowledgementThatAnswersNothing) {
  ExpectRefused("06", "acknowledgement (06) that answers nothing");
  OpenSession();
  ExpectRefused("06", "acknowledgement (06) that answers nothing");
}

}  // namespace
}  // namespace zlm5
