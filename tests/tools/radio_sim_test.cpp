// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-radio-sim as its users start it: its options, and --once through
// the real serial port code.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "link/transfer.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"

namespace zlm5 {
namespace {

using test::SimProcess;

// The bytes a read or write moves: 0x000-0xC4F.
constexpr std::size_t kTransferBytes = 0xC50;

bool SameTransferBytes(const RadioImage& a, const RadioImage& b) {
  return std::equal(a.bytes().begin(), a.bytes().begin() + kTransferBytes, b.bytes().begin());
}

// A read of a radio that goes away once its session is over: the last
// acknowledgement still reaches the program, and the read completes.
TEST(RadioSimOnce, FullReadCompletesBeforeTheSimulatorEnds) {
  test::TempDir dir;
  const RadioImage radio = test::PatternImage(61);
  test::WriteBytes(dir.Path("radio.sin"), radio);
  SimProcess sim({"--once", "--no-wire-time", "--memory=" + dir.Path("radio.sin")});
  ASSERT_TRUE(sim.started()) << sim.ErrorOutput();

  SerialPort port;
  test::RecordingTransferHost host;
  RadioImage image = test::PatternImage(62);
  EXPECT_EQ(RunTransfer(TransferDirection::kRead, port, sim.terminal(), image, host),
            TransferOutcome::kCompleted);
  EXPECT_TRUE(host.messages.empty()) << host.messages.front().text;
  EXPECT_TRUE(SameTransferBytes(image, radio));
  EXPECT_EQ(sim.Wait(), 0) << sim.ErrorOutput();
}

// The program's own answers to its command line, from its option table.
TEST(RadioSimOptions, HelpVersionAndWhatIsWrong) {
  const auto sim = [](std::vector<std::string> args) {
    args.insert(args.begin(), ZLM5_RADIO_SIM);
    return test::RunProcess(args);
  };
  const test::ProcessResult help = sim({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(
      help.out.find("\nRadio:\n"
                    "  --memory FILE          start from this channel data file (default: the\n"
                    "                         image of a new document)\n"),
      std::string::npos);
  EXPECT_NE(help.out.find("\n  --low N, --high N      power tuning bytes"), std::string::npos);
  EXPECT_NE(help.out.find("\n  --replug-after-block K  answer K blocks;"), std::string::npos);
  EXPECT_EQ(sim({"--version", "--bogus"}).out,
            std::string("z-lm5-radio-sim ") + ZLM5_PROJECT_VERSION + "\n");

  const auto usage = [](const std::string& message) {
    return "z-lm5-radio-sim: " + message + "\nRun 'z-lm5-radio-sim --help' for usage.\n";
  };
  const test::ProcessResult unknown = sim({"--bogus", "--help"});
  EXPECT_EQ(unknown.exit_code, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_EQ(unknown.err, usage("unknown option '--bogus'"));
  EXPECT_EQ(sim({"--once", "radio.sin"}).err, usage("unknown option 'radio.sin'"));
  EXPECT_EQ(sim({"--memory"}).err, usage("option '--memory' needs a value"));
  // Each option is checked where it stands: the first mistake is told.
  EXPECT_EQ(sim({"--low=256", "--bogus"}).err, usage("--low needs a number 0 to 255"));
  EXPECT_EQ(sim({"--silent", "block", "--hang-up", "all=2"}).err,
            usage("--hang-up takes a stage only"));
  EXPECT_EQ(sim({"--replug-after-block", "3"}).err,
            usage("--replug-after-block needs --link PATH: the port comes back there"));
  EXPECT_EQ(sim({"--memory", "/nonexistent/radio.sin"}).exit_code, 3);
}

}  // namespace
}  // namespace zlm5
