// SPDX-License-Identifier: GPL-3.0-or-later
// Several radios written at once, each a z-lm5-radio-sim on a terminal of
// its own, through the real termios port with the protocol's time-outs. A
// silent radio in a fleet is tested in virtual time (fleet_run_test.cpp).

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <set>

#include "link/fleet_plan.h"
#include "link/fleet_report.h"
#include "link/fleet_run.h"
#include "link/link_texts.h"
#include "link/serial_port.h"
#include "model/settings_block.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"

namespace zlm5 {
namespace {

using test::SimProcess;

const std::string kCommError(link_texts::kCommunicationError);
constexpr std::size_t kEnd = image_map::kTransferEnd;

bool SameBytes(const std::vector<std::uint8_t>& a, const RadioImage& b, std::size_t from,
               std::size_t to) {
  return a.size() == image_map::kSize &&
         std::equal(a.begin() + from, a.begin() + to, b.bytes().begin() + from);
}

class SimFleetTest : public ::testing::Test {
 protected:
  // One simulated radio more, holding `memory`.
  FleetPort AddRadio(std::vector<std::string> options, const RadioImage& memory) {
    const std::string n = std::to_string(sims.size());
    const std::string memory_file = dir.Path("radio" + n + ".sin");
    saves.push_back(dir.Path("saved" + n + ".sin"));
    memories.push_back(memory);
    test::WriteBytes(memory_file, memory);
    options.insert(options.end(), {"--memory", memory_file, "--save", saves.back(),
                                   "--no-wire-time", "--turnaround", "1"});
    sims.push_back(std::make_unique<SimProcess>(options));
    EXPECT_TRUE(sims.back()->started()) << sims.back()->ErrorOutput();
    return {sims.back()->terminal(), sims.back()->terminal()};
  }
  // What radio `n` holds once it has ended.
  std::vector<std::uint8_t> Saved(std::size_t n) {
    sims[n]->Stop();
    return test::ReadBytes(saves[n]);
  }
  FleetOptions Options() {
    FleetOptions options;
    options.backups = &backups;
    return options;
  }

  test::TempDir dir;
  BackupStore backups{dir.Path("backups")};
  std::vector<std::unique_ptr<SimProcess>> sims;
  std::vector<std::string> saves;
  std::vector<RadioImage> memories;
};

TEST_F(SimFleetTest, ThreeRadiosWrittenAtOnceHoldTheImageEachWithItsOwnIdentity) {
  std::vector<FleetPort> ports;
  for (std::uint8_t seed : {61, 62, 63}) ports.push_back(AddRadio({}, test::PatternImage(seed)));
  const RadioImage image = test::PatternImage(60);
  const Result<IdentityList> list = ParseIdentityList(
      "Order,Name,RadioId,CallId,Ani\n1,Unit A,1001,2001,0101\n2,Unit B,1002,2002,5678\n");
  ASSERT_TRUE(list);
  const Result<IdentityAssignment> assignment = AssignIdentities(*list, ports, PortTable{});
  ASSERT_TRUE(assignment);
  const FleetWritePlan plan = PlanFleetWrite(image, ports, &*list, &*assignment);

  // The order in which the radios began their blocks and ended.
  std::mutex mutex;
  std::vector<std::string> events;
  std::set<std::size_t> in_blocks;
  FleetRun run(TransferDirection::kWrite, plan.radios, FleetAnswers{}, Options());
  run.Start([&](std::size_t radio) {
    const FleetRadioStatus s = run.Status(radio);
    std::lock_guard lock(mutex);
    if (s.stage == FleetStage::kBlocks && in_blocks.insert(radio).second)
      events.emplace_back("blocks");
    if (s.stage == FleetStage::kEnded) events.emplace_back("ended");
  });
  run.Wait();

  // All three were in their blocks before the first one ended.
  EXPECT_EQ(events,
            (std::vector<std::string>{"blocks", "blocks", "blocks", "ended", "ended", "ended"}));
  const std::vector<FleetRadioStatus> results = run.Snapshot();
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(results[i].result, FleetResult::kWritten) << FleetResultText(results[i]);
    EXPECT_EQ(results[i].blocks_written, 394);
    EXPECT_TRUE(results[i].messages.empty());
    const std::vector<std::uint8_t> saved = Saved(i);
    EXPECT_TRUE(SameBytes(saved, plan.radios[i].image, 0, kEnd)) << "radio " << i;
    EXPECT_TRUE(SameBytes(saved, memories[i], kEnd, image_map::kSize)) << "radio " << i;
    // The same image, but for the identity codes at 0x820-0x837.
    EXPECT_TRUE(SameBytes(saved, image, 0, settings_map::kAni));
    EXPECT_TRUE(SameBytes(saved, image, settings_map::kRadioId + 8, kEnd));
  }
  EXPECT_EQ(SettingsBlock(plan.radios[0].image).RadioIdText(), "1001");
  EXPECT_EQ(SettingsBlock(plan.radios[0].image).AniText(), "0101");
  EXPECT_EQ(SettingsBlock(plan.radios[1].image).CallIdText(), "2002");
  EXPECT_EQ(SettingsBlock(plan.radios[1].image).AniText(), "1678");
  EXPECT_EQ(plan.radios[2].image, image);

  // Each radio's image kept as a backup of its own, though all three were
  // saved in the same moment.
  const auto kept = backups.List();
  ASSERT_TRUE(kept);
  ASSERT_EQ(kept->size(), 3u);
  std::set<std::vector<std::uint8_t>> backed_up;
  for (const BackupEntry& entry : *kept) {
    EXPECT_EQ(entry.direction, TransferDirection::kWrite);
    backed_up.insert(test::ReadBytes(entry.path));
  }
  for (std::size_t i = 0; i < 3; ++i) {
    const auto bytes = plan.radios[i].image.bytes();
    EXPECT_TRUE(backed_up.contains({bytes.begin(), bytes.end()})) << "radio " << i;
  }
}

TEST_F(SimFleetTest, EachFailureStaysWithItsRadioAndSaysWhy) {
  const RadioImage image = test::PatternImage(70);
  std::vector<FleetPort> ports = {
      AddRadio({}, test::PatternImage(71)),
      AddRadio({"--hang-up-after-block", "30"}, test::PatternImage(73)),
      AddRadio({"--drop-write", "5"}, test::PatternImage(74)),
  };
  const std::string missing = dir.Path("no-such-port");
  ports.push_back({missing, missing});
  FleetOptions options = Options();
  options.verify = true;
  FleetRun run(TransferDirection::kWrite, PlanFleetWrite(image, ports).radios,
               FleetAnswers{1, false}, options);
  run.Start();
  run.Wait();
  const std::vector<FleetRadioStatus> results = run.Snapshot();

  EXPECT_EQ(results[0].result, FleetResult::kVerified) << FleetResultText(results[0]);
  EXPECT_TRUE(SameBytes(Saved(0), image, 0, kEnd));

  // Retry opens the port again, which is gone with the radio.
  const FleetRadioStatus& hung_up = results[1];
  const std::string gone = kCommError + "\n\n" + ports[1].device + ": No such file or directory";
  EXPECT_EQ(hung_up.result, FleetResult::kPartlyWritten);
  EXPECT_EQ(hung_up.blocks_written, 30);
  EXPECT_EQ(hung_up.message, gone);
  ASSERT_EQ(hung_up.messages.size(), 3u);
  EXPECT_EQ(hung_up.messages[2].text, link_texts::PartlyWritten(30, 394));
  EXPECT_EQ(FleetResultText(hung_up), "partly written (30 of 394 blocks): " + kCommError + " (" +
                                          ports[1].device + ": No such file or directory)");
  EXPECT_EQ(sims[1]->Wait(), 0);
  const std::vector<std::uint8_t> cut = test::ReadBytes(saves[1]);
  EXPECT_TRUE(SameBytes(cut, image, 0, 30 * 8));
  EXPECT_TRUE(SameBytes(cut, memories[1], 30 * 8, image_map::kSize));

  // Block 5 (bytes 0x028-0x02F) is channel 3's second half.
  const FleetRadioStatus& dropped = results[2];
  EXPECT_EQ(dropped.result, FleetResult::kVerifyFailed);
  ASSERT_FALSE(dropped.differences.empty());
  EXPECT_EQ(dropped.differences.front().rfind("CH 3 ", 0), 0u) << dropped.differences.front();
  EXPECT_EQ(FleetResultText(dropped).rfind("verify failed: CH 3 ", 0), 0u);

  EXPECT_EQ(results[3].result, FleetResult::kPortUnavailable);
  EXPECT_EQ(results[3].message, std::string(link_texts::kCouldNotOpenPort) + "\n\n" + missing +
                                    ": No such file or directory");

  // Backups of the completed writes only: the verified one and the one
  // whose read back differed.
  const auto kept = backups.List();
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->size(), 2u);
}

TEST_F(SimFleetTest, CancelStopsEveryRadio) {
  const RadioImage image = test::PatternImage(80);
  std::vector<FleetPort> ports;
  for (std::uint8_t seed : {81, 82, 83}) ports.push_back(AddRadio({}, test::PatternImage(seed)));
  FleetRun run(TransferDirection::kWrite, PlanFleetWrite(image, ports).radios, FleetAnswers{},
               Options());
  constexpr int kCancelAt = 20;
  run.Start([&run](std::size_t radio) {
    if (run.Status(radio).blocks_written >= kCancelAt) run.Cancel();
  });
  run.Wait();

  for (std::size_t i = 0; i < 3; ++i) {
    const FleetRadioStatus s = run.Status(i);
    EXPECT_TRUE(s.result == FleetResult::kPartlyWritten || s.result == FleetResult::kCancelled)
        << FleetResultText(s);
    EXPECT_LT(s.blocks_written, 394);
    EXPECT_TRUE(s.message.empty());
    EXPECT_TRUE(s.messages.empty());
    if (s.result == FleetResult::kPartlyWritten) {
      EXPECT_EQ(FleetResultText(s), "partly written (" + std::to_string(s.blocks_written) +
                                        " of 394 blocks): cancelled");
    }
    // The port was given back: it opens again at once.
    SerialPort port;
    EXPECT_TRUE(port.Open(ports[i].device, TimeoutProfile::Transfer())) << "radio " << i;
    port.Close();
    // Up to the block in flight the radio is new, after it as it was.
    const std::vector<std::uint8_t> saved = Saved(i);
    const std::size_t written = static_cast<std::size_t>(s.blocks_written) * 8;
    EXPECT_TRUE(SameBytes(saved, image, 0, written)) << "radio " << i;
    EXPECT_TRUE(SameBytes(saved, memories[i], written + 8, image_map::kSize)) << "radio " << i;
  }
  EXPECT_GE(
      run.Status(0).blocks_written + run.Status(1).blocks_written + run.Status(2).blocks_written,
      kCancelAt);
  EXPECT_TRUE(backups.List()->empty());
}

}  // namespace
}  // namespace zlm5
