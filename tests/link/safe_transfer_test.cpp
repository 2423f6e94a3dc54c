// SPDX-License-Identifier: GPL-3.0-or-later
// Backups, the backup read before a write and the verify after it, against
// a simulated radio in virtual time; and the bounded communication log.

#include "link/safe_transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "files/channel_document.h"
#include "link/trace_log.h"
#include "link/wire_trace.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tests/link/link_test_support.h"
#include "tools/radio_sim/simulated_radio.h"
#include "tools/radio_sim/virtual_radio_port.h"

namespace zlm5 {
namespace {

using test::kChannel12Block;
using test::TwoChannels;

bool SameTransferredBytes(const RadioImage& a, const RadioImage& b) {
  return std::equal(a.bytes().begin(), a.bytes().begin() + image_map::kTransferEnd,
                    b.bytes().begin());
}

class SafeTransferTest : public ::testing::Test, protected test::VirtualRadioLine {
 protected:
  SafeTransferReport Run(TransferDirection direction, RadioImage& image, bool backup_first = false,
                         bool verify = false) {
    StartRadio(radio_memory);
    SafeTransferOptions options;
    options.transfer.clock = &clock;
    options.backups = &store;
    options.backup_first = backup_first;
    options.verify = verify;
    options.on_pass = [this](TransferPass pass) { passes.push_back(pass); };
    return RunSafeTransfer(direction, *port, "/dev/virtual", image, host, options);
  }

  std::vector<BackupEntry> Backups() const {
    auto listed = store.List();
    EXPECT_TRUE(listed.ok());
    return listed.ok() ? *listed : std::vector<BackupEntry>{};
  }

  test::TempDir dir;
  BackupStore store{dir.Path("backups")};
  RadioImage radio_memory = test::PatternImage(9);
  test::RecordingTransferHost host{clock};
  std::vector<TransferPass> passes;
};

TEST_F(SafeTransferTest, AReadAndAWriteEachKeepOneBackupOfTheirImage) {
  RadioImage read = ChannelDocument::NewDocumentImage();
  const SafeTransferReport r = Run(TransferDirection::kRead, read);
  ASSERT_TRUE(r.Succeeded());
  ASSERT_EQ(Backups().size(), 1u);
  EXPECT_EQ(Backups()[0].direction, TransferDirection::kRead);
  EXPECT_EQ(r.backups, std::vector<std::string>{Backups()[0].path});
  EXPECT_EQ(*LoadChannelDataFile(r.backups[0]), read);
  EXPECT_TRUE(SameTransferredBytes(read, radio_memory));
  EXPECT_EQ(SafeTransferSummary(r), std::vector<std::string>{"394 blocks read"});

  RadioImage sent = TwoChannels();
  const SafeTransferReport w = Run(TransferDirection::kWrite, sent);
  ASSERT_TRUE(w.Succeeded());
  const auto backups = Backups();
  ASSERT_EQ(backups.size(), 2u);
  EXPECT_EQ(backups[0].direction, TransferDirection::kWrite);
  EXPECT_EQ(*LoadChannelDataFile(backups[0].path), sent);
  EXPECT_EQ(passes, (std::vector<TransferPass>{TransferPass::kTransfer, TransferPass::kTransfer}));
  EXPECT_EQ(SafeTransferSummary(w), std::vector<std::string>{"394 blocks written"});
}

TEST_F(SafeTransferTest, BackupFirstKeepsWhatTheRadioHeldThenWrites) {
  RadioImage sent = TwoChannels();
  const SafeTransferReport r = Run(TransferDirection::kWrite, sent, true);
  ASSERT_TRUE(r.Succeeded());
  EXPECT_EQ(passes,
            (std::vector<TransferPass>{TransferPass::kBackupRead, TransferPass::kTransfer}));
  ASSERT_EQ(r.backups.size(), 2u);
  // The read backup: the radio's bytes, and above them the document's own.
  const RadioImage held = *LoadChannelDataFile(r.backups[0]);
  EXPECT_TRUE(SameTransferredBytes(held, radio_memory));
  EXPECT_TRUE(std::equal(held.bytes().begin() + image_map::kTransferEnd, held.bytes().end(),
                         sent.bytes().begin() + image_map::kTransferEnd));
  EXPECT_EQ(*LoadChannelDataFile(r.backups[1]), sent);
  EXPECT_TRUE(SameTransferredBytes(radio->memory(), sent));
  // The second pass starts from an empty bar with the watch flag set.
  EXPECT_EQ(std::count(host.progress.begin(), host.progress.end(), 0), 1);
  EXPECT_EQ(WriteFrames(), 394);
}

TEST_F(SafeTransferTest, NothingIsWrittenWhenTheBackupReadFails) {
  faults.at(sim::Stage::kWakeUp).silent = true;
  RadioImage sent = TwoChannels();
  const SafeTransferReport r = Run(TransferDirection::kWrite, sent, true);
  EXPECT_EQ(r.last_pass, TransferPass::kBackupRead);
  EXPECT_EQ(r.Overall(), TransferOutcome::kFailed);
  EXPECT_FALSE(r.Transferred());
  EXPECT_EQ(WriteFrames(), 0);
  EXPECT_EQ(radio->memory(), radio_memory);
  EXPECT_TRUE(Backups().empty());
  EXPECT_EQ(SafeTransferSummary(r),
            std::vector<std::string>{
                "Nothing was written: the radio could not be read into a backup first"});
}

TEST_F(SafeTransferTest, NothingIsWrittenWhenTheRadiosBackupCannotBeSaved) {
  std::ofstream{dir.Path("file")}.close();  // a file where the folder should be
  store = BackupStore(dir.Path("file/backups"));
  RadioImage sent = TwoChannels();
  const SafeTransferReport r = Run(TransferDirection::kWrite, sent, true);
  EXPECT_EQ(r.last_pass, TransferPass::kBackupRead);
  EXPECT_EQ(r.Overall(), TransferOutcome::kFailed);
  EXPECT_EQ(WriteFrames(), 0);
  // The reason first, then what it stopped.
  const auto lines = SafeTransferSummary(r);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].starts_with("The backup could not be saved: " + dir.Path("file/backups")))
      << lines[0];
  EXPECT_EQ(lines[1], "Nothing was written: the backup of the radio could not be saved");
}

TEST_F(SafeTransferTest, ABackupThatCannotBeSavedDoesNotFailTheTransfer) {
  std::ofstream{dir.Path("file")}.close();  // a file where the folder should be
  store = BackupStore(dir.Path("file/backups"));
  RadioImage sent = TwoChannels();
  const SafeTransferReport r = Run(TransferDirection::kWrite, sent);
  EXPECT_TRUE(r.Succeeded());
  EXPECT_EQ(r.Overall(), TransferOutcome::kCompleted);
  EXPECT_TRUE(SameTransferredBytes(radio->memory(), sent));
  ASSERT_EQ(r.backup_errors.size(), 1u);
  const auto lines = SafeTransferSummary(r);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "394 blocks written");
  EXPECT_EQ(lines[1], "The backup could not be saved: " + r.backup_errors[0].Message());
}

TEST_F(SafeTransferTest, VerifyReadsTheRadioBackAndNamesTheChannelItDidNotStore) {
  RadioImage sent = TwoChannels();
  SafeTransferReport r = Run(TransferDirection::kWrite, sent, false, true);
  EXPECT_TRUE(r.Succeeded());
  EXPECT_EQ(passes,
            (std::vector<TransferPass>{TransferPass::kTransfer, TransferPass::kVerifyRead}));
  EXPECT_EQ(SafeTransferSummary(r),
            (std::vector<std::string>{"394 blocks written", "Radio verified: 394 blocks match"}));
  EXPECT_EQ(Backups().size(), 1u) << "the read-back is part of the write";

  // A radio that acknowledges channel 12's frequencies but keeps its own.
  faults.drop_write_block = kChannel12Block;
  radio_memory = ChannelDocument::NewDocumentImage();
  frames.clear();
  r = Run(TransferDirection::kWrite, sent, false, true);
  EXPECT_FALSE(r.Succeeded());
  EXPECT_TRUE(r.Transferred());
  EXPECT_EQ(r.Overall(), TransferOutcome::kFailed);
  EXPECT_EQ(WriteFrames(), 394);
  const auto lines = SafeTransferSummary(r, 2);
  ASSERT_GE(r.differences->size(), 3u);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "394 blocks written");
  EXPECT_EQ(lines[1], "Radio verify failed: the radio does not hold what was written (" +
                          std::to_string(r.differences->size()) + " differences)");
  EXPECT_EQ(lines[2], "CH 12 Receive(MHz): 446.00625 → (empty)");
  EXPECT_EQ(lines[4], "... and " + std::to_string(r.differences->size() - 2) + " more");
  for (const Difference& d : *r.differences) EXPECT_EQ(d.channel, 12) << d.text;
}

TEST(TraceLogTest, KeepsTheFirstAndTheNewestLinesAndCountsTheRest) {
  TraceLog log(30, 20);  // three 10-byte lines, then two
  EXPECT_TRUE(log.empty());
  for (int i = 0; i < 9; ++i) log.stream() << "line " << i << " xx\n";
  log.stream() << "open";
  EXPECT_EQ(
      log.Text(),
      "line 0 xx\nline 1 xx\nline 2 xx\n... 4 lines left out ...\nline 7 xx\nline 8 xx\nopen");
  log.Clear();
  EXPECT_TRUE(log.empty());
  log.stream() << "tx 02\n";
  EXPECT_EQ(log.Text(), "tx 02\n");
}

}  // namespace
}  // namespace zlm5
