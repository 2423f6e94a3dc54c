// SPDX-License-Identifier: GPL-3.0-or-later
// A fleet radio that stays silent, in virtual time: its questions are
// answered from the fleet's answers, and it ends failed with the reason.
// (One radio: the virtual clock belongs to one thread.)

#include "link/fleet_run.h"

#include <gtest/gtest.h>

#include "link/fleet_report.h"
#include "link/link_texts.h"
#include "tests/link/link_test_support.h"
#include "tools/radio_sim/simulated_radio.h"
#include "tools/radio_sim/virtual_radio_port.h"

namespace zlm5 {
namespace {

using sim::Stage;

class FleetRunTest : public ::testing::Test, protected test::VirtualRadioLine {};

TEST_F(FleetRunTest, SilentRadioIsAskedAgainOnceThenFailsAndKeepsItsMemory) {
  faults.at(Stage::kWakeUp).silent = true;
  const RadioImage memory = test::PatternImage(72);
  StartRadio(memory);
  FleetOptions options;
  options.transfer.clock = &clock;
  options.verify = true;
  options.make_transport = [this](std::size_t) {
    return std::make_unique<sim::VirtualRadioPort>(*radio, clock);
  };
  FleetRadio one;
  one.port = one.device = "/dev/virtual";
  one.image = test::PatternImage(70);
  FleetRun run(TransferDirection::kWrite, {one}, FleetAnswers{1, false}, options);
  run.Start();
  run.Wait();

  const FleetRadioStatus silent = run.Status(0);
  const std::string comm_error(link_texts::kCommunicationError);
  EXPECT_EQ(silent.result, FleetResult::kFailed);
  EXPECT_EQ(silent.message, comm_error);
  ASSERT_EQ(silent.messages.size(), 2u);
  EXPECT_EQ(silent.messages[0].text, comm_error);
  EXPECT_EQ(silent.messages[0].answer, MessageAnswer::kRetry);
  EXPECT_EQ(silent.messages[1].answer, MessageAnswer::kCancel);
  EXPECT_EQ(FleetResultText(silent), "failed: " + comm_error);
  // Fifteen wake-ups before each question, no block written.
  EXPECT_EQ(Count(test::kProgramWakeUpFrame), 30);
  EXPECT_EQ(WriteFrames(), 0);
  EXPECT_EQ(radio->memory(), memory);
}

}  // namespace
}  // namespace zlm5
