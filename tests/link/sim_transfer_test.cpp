// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer through the real termios port against z-lm5-radio-sim: what
// only a real line shows (the time at 9600 baud, real time-outs, a hang-up,
// a replug, bytes that really arrived and are purged, exclusive use). The
// protocol's rules themselves, and every radio that is silent or slow, are
// tested in virtual time (transfer_test.cpp). The port always has the
// protocol's own time-outs, so a busy machine cannot fail a healthy radio.

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <thread>

#include "link/link_texts.h"
#include "link/serial_port.h"
#include "link/transfer.h"
#include "link/wire_trace.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"
#include "tools/radio_sim/pty_radio_line.h"

namespace zlm5 {
namespace {

using namespace std::chrono_literals;
using test::SimProcess;

// Passes every call on and shows each completed read to a hook.
class ObservedPort : public SerialTransport {
 public:
  Status Open(const std::string& d, const TimeoutProfile& p) override { return port.Open(d, p); }
  bool IsOpen() const override { return port.IsOpen(); }
  void Close() override { port.Close(); }
  void SetProfile(const TimeoutProfile& p) override { port.SetProfile(p); }
  const TimeoutProfile& profile() const override { return port.profile(); }
  Status Purge(PurgeMask m) override { return port.Purge(m); }
  Status Drain() override { return port.Drain(); }
  Result<std::size_t> Write(std::span<const std::uint8_t> b) override { return port.Write(b); }
  Result<std::size_t> Read(std::span<std::uint8_t> b) override {
    auto got = port.Read(b);
    if (got && on_read) on_read(b.first(*got));
    return got;
  }
  void SetWaitCallback(WaitCallback cb) override { port.SetWaitCallback(std::move(cb)); }

  SerialPort port;
  std::function<void(std::span<const std::uint8_t>)> on_read;
};

class SimTransferTest : public ::testing::Test, protected test::SimulatorFiles {
 protected:
  // Starts the simulator over `radio_memory` with the given options.
  void Start(std::vector<std::string> options, bool wire_time = false) {
    if (!wire_time) options.insert(options.end(), {"--no-wire-time", "--turnaround", "1"});
    StartSimulator(options, radio_memory);
    ASSERT_TRUE(sim->started()) << sim->ErrorOutput();
  }

  TransferOutcome Run(TransferDirection direction, RadioImage& image) {
    return RunTransfer(direction, port, sim->terminal(), image, host, TransferOptions{});
  }
  TransferOutcome Run(TransferDirection direction, RadioImage& image, const TimeoutProfile& profile,
                      const std::string& device) {
    TransferOptions options;
    options.profile = profile;
    return RunTransfer(direction, port, device, image, host, options);
  }

  std::vector<std::string> Texts() const { return test::MessageTexts(host.messages); }

  RadioImage radio_memory = test::PatternImage(31);
  ObservedPort port;
  test::RecordingTransferHost host;
};

const std::string& kWakeUp = test::kProgramWakeUpFrame;
const std::string kCommError(link_texts::kCommunicationError);

TEST_F(SimTransferTest, FullWriteAt9600Baud) {
  Start({}, /*wire_time=*/true);
  RadioImage image = test::PatternImage(32);
  ASSERT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kCompleted)
      << sim->ErrorOutput();
  const auto saved = Saved();
  ASSERT_EQ(saved.size(), 4096u);
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0xC50, image.bytes().begin()));
  EXPECT_TRUE(std::equal(saved.begin() + 0xC50, saved.end(), radio_memory.bytes().begin() + 0xC50));
  EXPECT_EQ(host.blocks.back(), 394);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SimTransferTest, FullReadAt9600Baud) {
  Start({}, /*wire_time=*/true);
  RadioImage image = test::PatternImage(33);
  const RadioImage before = image;
  ASSERT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kCompleted)
      << sim->ErrorOutput();
  const auto got = image.bytes();
  EXPECT_TRUE(std::equal(got.begin(), got.begin() + 0xC50, radio_memory.bytes().begin()));
  EXPECT_TRUE(std::equal(got.begin() + 0xC50, got.end(), before.bytes().begin() + 0xC50));
  const auto frames = test::LogFrames(log_file);
  EXPECT_EQ(test::CountFrames(frames, "rx 52 00 00 08"), 1);
  EXPECT_EQ(test::CountFrames(frames, "rx 52 0C 48 08"), 1);
  EXPECT_TRUE(host.messages.empty());
}

// What the PC's side of the terminal holds once the first byte of an
// answer to `frame` is there, and how long after the frame was written.
struct FirstArrival {
  int queued = 0;
  std::chrono::steady_clock::duration after{};
};
FirstArrival SendAndWaitForAnswer(int fd, const std::vector<std::uint8_t>& frame) {
  const auto sent = std::chrono::steady_clock::now();
  EXPECT_EQ(::write(fd, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
  pollfd p{fd, POLLIN, 0};
  EXPECT_EQ(::poll(&p, 1, 10'000), 1);
  FirstArrival arrival;
  arrival.after = std::chrono::steady_clock::now() - sent;
  EXPECT_EQ(ioctl(fd, FIONREAD, &arrival.queued), 0);
  return arrival;
}

TEST_F(SimTransferTest, EachReplyArrivesWholeOnceItsWireTimeHasPassed) {
  Start({}, /*wire_time=*/true);
  const int fd = ::open(sim->terminal().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  std::array<std::uint8_t, 16> in{};
  // The wake-up (7 bytes out, 1 back), then the identification (2 out, 8
  // back): the eight bytes are there together, never the first few alone,
  // and not before 10 ms of wire time (2 + 8 bytes at 9600 baud).
  ASSERT_EQ(SendAndWaitForAnswer(fd, {0x02, 'P', 'R', 'O', 'G', 'R', 'A'}).queued, 1);
  ASSERT_EQ(::read(fd, in.data(), in.size()), 1);
  EXPECT_EQ(in[0], 0x06);
  const FirstArrival ident = SendAndWaitForAnswer(fd, {'M', 0x02});
  EXPECT_EQ(ident.queued, 8);
  EXPECT_GE(ident.after, 10ms);
  ASSERT_EQ(::read(fd, in.data(), in.size()), 8);
  EXPECT_EQ(HexBytes(std::span<const std::uint8_t>(in).first(8)), "5A 4C 4D 35 FF 00 00 00");
  ::close(fd);
}

TEST_F(SimTransferTest, PulledCableInTheBlocksAsksAndNothingHangs) {
  Start({"--hang-up-after-block", "100"});
  host.answers = {MessageAnswer::kRetry};
  RadioImage image = test::PatternImage(39);
  EXPECT_EQ(Run(TransferDirection::kWrite, image), TransferOutcome::kFailed);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{
                kCommError, kCommError + "\n\n" + sim->terminal() + ": No such file or directory",
                link_texts::PartlyWritten(100, 394)}));
  EXPECT_EQ(host.blocks.back(), 100);
  EXPECT_FALSE(port.IsOpen());
}

// The strict radio, and the faults of a line that is not quite right.

TEST_F(SimTransferTest, RefusedBlockWriteIsNotAcknowledgedAndIsReported) {
  Start({});
  SerialPort raw;
  ASSERT_TRUE(raw.Open(sim->terminal(), TimeoutProfile::Transfer()));
  const std::vector<std::uint8_t> frame = {'W', 0x00, 0x00, 0x08, 1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_TRUE(raw.Write(frame));
  std::array<std::uint8_t, 1> answer{};
  const Result<std::size_t> got = raw.Read(answer);
  ASSERT_TRUE(got);
  EXPECT_EQ(*got, 0u);
  raw.Close();
  EXPECT_EQ(Saved(),
            std::vector<std::uint8_t>(radio_memory.bytes().begin(), radio_memory.bytes().end()));
  EXPECT_EQ(test::LogFrames(log_file),
            (std::vector<std::string>{"rx 57 00 00 08 01 02 03 04 05 06 07 08",
                                      "refused: block write outside a programming session"}));
  EXPECT_NE(sim->ErrorOutput().find(
                "z-lm5-radio-sim: refused: block write outside a programming session\n"),
            std::string::npos)
      << sim->ErrorOutput();
}

TEST_F(SimTransferTest, PauseInABlockReplyBeyondTheReadIntervalFailsTheBlock) {
  Start({"--pause", "block=300"});
  std::vector<std::string> reads;
  port.on_read = [&](std::span<const std::uint8_t> b) { reads.push_back(HexBytes(b)); };
  RadioImage image = test::PatternImage(45);
  const RadioImage before = image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kReadNotEnough)});
  EXPECT_EQ(image, before);
  // The read gave up with the half of block 0 that came before the pause.
  ASSERT_FALSE(reads.empty());
  EXPECT_EQ(reads.back(), "57 00 00 08 " + HexBytes(radio_memory.bytes().first(2)));
}

TEST_F(SimTransferTest, PauseInTheIdentificationWithinTheReadIntervalIsWaitedThrough) {
  Start({"--pause", "ident=50"});
  std::vector<std::string> reads;
  port.on_read = [&](std::span<const std::uint8_t> b) { reads.push_back(HexBytes(b)); };
  // A read interval far longer than the pause, the other time-outs the
  // protocol's.
  TimeoutProfile patient = TimeoutProfile::Transfer();
  patient.read_interval_ms = 250;
  RadioImage image = test::PatternImage(46);
  EXPECT_EQ(Run(TransferDirection::kWrite, image, patient, sim->terminal()),
            TransferOutcome::kCompleted);
  EXPECT_TRUE(host.messages.empty());
  ASSERT_GE(reads.size(), 2u);
  EXPECT_EQ(reads[1], "5A 4C 4D 35 FF 00 00 00");  // all 8 bytes in one read
  const auto saved = Saved();
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0xC50, image.bytes().begin()));
}

TEST_F(SimTransferTest, TrailingBytesArePurgedInAWriteAndEndARead) {
  Start({"--trailing-byte", "all"});
  RadioImage written = test::PatternImage(47);
  EXPECT_EQ(Run(TransferDirection::kWrite, written), TransferOutcome::kCompleted);
  EXPECT_TRUE(host.messages.empty());

  RadioImage image = test::PatternImage(48);
  const RadioImage before = image;
  EXPECT_EQ(Run(TransferDirection::kRead, image), TransferOutcome::kFailed);
  EXPECT_EQ(Texts(), std::vector<std::string>{std::string(link_texts::kReplyTooLong)});
  EXPECT_EQ(image, before);
  const auto saved = Saved();
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0xC50, written.bytes().begin()));
  // Wake-up, session and blocks of the write; wake-up and session of the read.
  EXPECT_EQ(test::CountFrames(test::LogFrames(log_file), "tx 06 15"), 2 + 394 + 2);
}

TEST_F(SimTransferTest, ReplugInTheBlocksAndRetryWritesEverything) {
  const std::string link = dir.Path("radio-port");
  Start({"--link", link, "--replug-after-block", "100"});
  host.answers = {MessageAnswer::kRetry};
  // Retry once the adapter is back, as a user would.
  host.on_message = [&](const test::ShownMessage&) {
    for (int i = 0; i < 3000 && sim->ErrorOutput().find("plugged in again") == std::string::npos;
         ++i) {
      std::this_thread::sleep_for(10ms);
    }
  };
  RadioImage image = test::PatternImage(49);
  EXPECT_EQ(Run(TransferDirection::kWrite, image, TimeoutProfile::Transfer(), link),
            TransferOutcome::kCompleted)
      << sim->ErrorOutput();
  EXPECT_EQ(Texts(), std::vector<std::string>{kCommError});
  EXPECT_EQ(host.progress.back(), 394);
  EXPECT_FALSE(port.IsOpen());
  const std::string new_terminal = std::filesystem::read_symlink(link).string();
  const auto saved = Saved();
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0xC50, image.bytes().begin()));
  EXPECT_TRUE(std::equal(saved.begin() + 0xC50, saved.end(), radio_memory.bytes().begin() + 0xC50));
  const auto frames = test::LogFrames(log_file);
  EXPECT_EQ(test::CountFrames(frames, "unplugged"), 1);
  EXPECT_EQ(test::CountFrames(frames, "plugged in " + new_terminal), 1);
  EXPECT_EQ(test::CountFrames(frames, kWakeUp), 2);
  // Block 100 went out once before the replug and once after it.
  EXPECT_EQ(std::count_if(frames.begin(), frames.end(),
                          [](const std::string& f) { return f.starts_with("rx 57 03 20 08 "); }),
            2);
}

TEST(SimLineOptions, PausesUpToTenSecondsAndAReplugThatHasSomewhereToComeBack) {
  for (const std::vector<std::string>& refused : {std::vector<std::string>{"--turnaround", "10001"},
                                                  {"--pause", "block=10001"},
                                                  {"--replug-after-block", "5"}}) {
    SimProcess sim(refused);
    EXPECT_FALSE(sim.started());
    EXPECT_EQ(sim.Stop(), 2) << refused[0];
  }
  SimProcess slow({"--turnaround", "10000", "--pause", "ident=10000"});
  EXPECT_TRUE(slow.started()) << slow.ErrorOutput();
}

// The exclusive-use flag as a program killed with the port open leaves it:
// set, with nobody holding the port's lock.
void LeaveStaleExclusiveFlag(const std::string& terminal) {
  const int fd = ::open(terminal.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
  ASSERT_EQ(ioctl(fd, TIOCEXCL), 0);
  ::close(fd);
}

int ExclusiveFlag(int fd) {
  int exclusive = -1;
  EXPECT_EQ(ioctl(fd, TIOCGEXCL, &exclusive), 0);
  return exclusive;
}

TEST(SimExclusiveUse, StaleFlagIsClearedButNotWhileAProgramHoldsThePort) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string terminal = ptsname(master);
  const int radio_side = ::open(terminal.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(radio_side, 0);

  SerialPort port;
  ASSERT_TRUE(port.Open(terminal, TimeoutProfile::Transfer()));
  EXPECT_FALSE(sim::ReleaseStaleExclusiveUse(radio_side));
  EXPECT_EQ(ExclusiveFlag(radio_side), 1) << "the port in use stays exclusive";
  port.Close();
  EXPECT_EQ(ExclusiveFlag(radio_side), 0);

  LeaveStaleExclusiveFlag(terminal);
  EXPECT_EQ(ExclusiveFlag(radio_side), 1);
  EXPECT_TRUE(sim::ReleaseStaleExclusiveUse(radio_side));
  EXPECT_EQ(ExclusiveFlag(radio_side), 0);
  ::close(radio_side);
  ::close(master);
}

TEST_F(SimTransferTest, KilledProgramDoesNotLeaveThePortBusy) {
  Start({});
  LeaveStaleExclusiveFlag(sim->terminal());
  // A normal user's open fails while the flag is set; the idle simulator
  // clears it within a few tenths of a second.
  const int fd = ::open(sim->terminal().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  for (int i = 0; i < 250 && ExclusiveFlag(fd) == 1; ++i) std::this_thread::sleep_for(20ms);
  EXPECT_EQ(ExclusiveFlag(fd), 0);
  ::close(fd);
}

TEST(SimLinkOption, ReplacesOnlyASymbolicLink) {
  test::TempDir dir;
  const std::string file = dir.Path("radio.sin");
  test::WriteBytes(file, test::PatternImage(61));
  {
    SimProcess refused({"--link", file});
    EXPECT_FALSE(refused.started());
    EXPECT_EQ(refused.Stop(), 1);
    EXPECT_NE(refused.ErrorOutput().find("not a symbolic link"), std::string::npos)
        << refused.ErrorOutput();
  }
  EXPECT_EQ(test::ReadBytes(file).size(), 4096u) << "the user's file is kept";

  const std::string link = dir.Path("radio-port");
  std::filesystem::create_symlink("/dev/null", link);
  {
    SimProcess sim({"--link", link});
    ASSERT_TRUE(sim.started()) << sim.ErrorOutput();
    EXPECT_EQ(std::filesystem::read_symlink(link), sim.terminal());
  }
  EXPECT_FALSE(std::filesystem::is_symlink(std::filesystem::symlink_status(link)));
}

}  // namespace
}  // namespace zlm5
