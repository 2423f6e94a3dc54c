// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli read, write and tune against z-lm5-radio-sim.

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "files/backup_store.h"
#include "files/channel_document.h"
#include "link/link_texts.h"
#include "link/serial_port.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"

namespace zlm5 {
namespace {

using test::ProcessResult;
using test::SimProcess;

// What the desktop program holds after decoding `image` into its grid and
// encoding the grid back (open then write, or read then save).
RadioImage ThroughTheGrid(RadioImage image) {
  MemoryGrid grid;
  ImageToGrid(image, grid);
  GridToImage(grid, image);
  return image;
}

// A document with some channels, as a user would make it.
RadioImage SomeChannels() {
  RadioImage image = ChannelDocument::NewDocumentImage();
  const RadioImage pattern = test::PatternImage(51);
  for (int ch = 1; ch <= 20; ++ch) {
    auto rec = image.Record(ch);
    std::copy_n(pattern.Record(ch).begin() + 8, 8, rec.begin() + 8);
    rec[0] = 0x00;
    rec[1] = 0x25;
    rec[2] = static_cast<std::uint8_t>(0x10 + ch % 9);
    rec[3] = 0x14;
    std::copy_n(rec.begin(), 4, rec.begin() + 4);
  }
  return image;
}

// z-lm5-cli run as from a terminal window: in a session of its own whose
// controlling terminal is `tty`, with standard input and output on it.
ProcessResult RunInTerminal(const std::string& tty, const std::vector<std::string>& args,
                            const std::string& err_path) {
  std::vector<std::string> argv = {ZLM5_CLI};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> c_argv;
  for (std::string& a : argv) c_argv.push_back(a.data());
  c_argv.push_back(nullptr);
  ProcessResult result;
  const pid_t pid = fork();
  if (pid == 0) {
    setsid();
    const int terminal = ::open(tty.c_str(), O_RDWR);  // becomes the controlling terminal
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (terminal < 0 || err < 0 || ioctl(terminal, TIOCSCTTY, 0) != 0) _exit(126);
    dup2(terminal, 0);
    dup2(terminal, 1);
    dup2(err, 2);
    execv(c_argv[0], c_argv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = test::ReadText(err_path);
  return result;
}

class CliLinkTest : public ::testing::Test, protected test::SimulatorFiles {
 protected:
  // Tuning purges the PC's input right after its sends: its radio answers
  // after `turnaround_ms`, so that a loaded machine loses no reply.
  void Start(std::vector<std::string> options, const RadioImage& memory,
             const char* turnaround_ms = "1") {
    options.insert(options.end(), {"--no-wire-time", "--turnaround", turnaround_ms});
    StartSimulator(options, memory);
    ASSERT_TRUE(sim->started()) << sim->ErrorOutput();
  }

  ProcessResult Cli(std::vector<std::string> args, std::vector<std::string> env = {},
                    const std::string& stdout_path = {}) {
    args.insert(args.begin(), ZLM5_CLI);
    // Never the user's own port settings or backups.
    env.push_back("XDG_CONFIG_HOME=" + dir.Path("config"));
    if (std::none_of(env.begin(), env.end(),
                     [](const std::string& e) { return e.starts_with("XDG_DATA_HOME="); })) {
      env.push_back("XDG_DATA_HOME=" + dir.Path("data"));
    }
    return test::RunProcess(args, env, stdout_path);
  }

  // z-lm5-cli with `args`, given Ctrl+C (SIGINT) once its standard error,
  // kept in `err_path`, holds `text`; run to its end.
  ProcessResult RunInterruptedAfter(std::vector<std::string> args, const std::string& text,
                                    const std::string& err_path) {
    args.insert(args.begin(), ZLM5_CLI);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string config = dir.Path("config");
    const std::string data = dir.Path("data");
    const pid_t pid = fork();
    if (pid == 0) {
      const int none = ::open("/dev/null", O_RDWR);
      const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (none < 0 || err < 0) _exit(126);
      dup2(none, 0);
      dup2(none, 1);
      dup2(err, 2);
      // Never the user's own port settings or backups.
      setenv("XDG_CONFIG_HOME", config.c_str(), 1);
      setenv("XDG_DATA_HOME", data.c_str(), 1);
      execv(argv[0], argv.data());
      _exit(127);
    }
    int status = 0;
    bool interrupted = false;
    for (;;) {
      const pid_t ended = waitpid(pid, &status, interrupted ? 0 : WNOHANG);
      if (ended == pid) break;
      if (ended < 0 && errno != EINTR) break;
      if (!interrupted && test::ReadText(err_path).find(text) != std::string::npos) {
        ::kill(pid, SIGINT);
        interrupted = true;
      } else if (!interrupted) {
        ::usleep(2000);
      }
    }
    ProcessResult result;
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.err = test::ReadText(err_path);
    return result;
  }

  // The backups the commands left, newest first.
  std::vector<BackupEntry> Backups() {
    auto listed = BackupStore(dir.Path("data/z-lm5/backups")).List();
    EXPECT_TRUE(listed.ok());
    return listed.ok() ? *listed : std::vector<BackupEntry>{};
  }
  int WriteFrames() {
    const std::vector<std::string> frames = Frames();
    return static_cast<int>(std::count_if(frames.begin(), frames.end(), [](const std::string& f) {
      return f.starts_with("rx 57 ");
    }));
  }
};

TEST_F(CliLinkTest, WriteSendsWhatTheDesktopProgramWouldSend) {
  const RadioImage radio = ChannelDocument::NewDocumentImage();
  Start({}, radio);
  const RadioImage file = test::PatternImage(52);
  test::WriteBytes(dir.Path("in.sin"), file);
  const ProcessResult r = Cli({"write", "--port", sim->terminal(), dir.Path("in.sin")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("block 394/394"), std::string::npos) << "plain progress lines";
  const RadioImage expected = ThroughTheGrid(file);
  const auto saved = Saved();
  ASSERT_EQ(saved.size(), 4096u);
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0xC50, expected.bytes().begin()));
  EXPECT_TRUE(std::equal(saved.begin() + 0xC50, saved.end(), radio.bytes().begin() + 0xC50));
}

TEST_F(CliLinkTest, RawWriteSendsTheFileUnchanged) {
  Start({}, ChannelDocument::NewDocumentImage());
  const RadioImage file = test::PatternImage(53);
  ASSERT_NE(ThroughTheGrid(file), file) << "the codec normalises this image";
  test::WriteBytes(dir.Path("in.sin"), file);
  const ProcessResult r = Cli({"write", "--raw", "--port", sim->terminal(), dir.Path("in.sin")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto saved = Saved();
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0xC50, file.bytes().begin()));
}

TEST_F(CliLinkTest, ReadSavesWhatTheDesktopProgramWouldSave) {
  const RadioImage radio = SomeChannels();
  Start({}, radio);
  const RadioImage into = test::PatternImage(54);
  test::WriteBytes(dir.Path("into.sin"), into);
  const std::string out = dir.Path("out.sin");
  const ProcessResult r =
      Cli({"read", "--port", sim->terminal(), "--into", dir.Path("into.sin"), "-o", out});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  RadioImage combined = into;
  std::copy_n(radio.bytes().begin(), 0xC50, combined.bytes().begin());
  const RadioImage expected = ThroughTheGrid(combined);
  const auto written = test::ReadBytes(out);
  ASSERT_EQ(written.size(), 4096u);
  EXPECT_TRUE(std::equal(written.begin(), written.end(), expected.bytes().begin()));
}

TEST_F(CliLinkTest, InterruptedWriteShowsTheBlocksMovedNotAFullBar) {
  Start({"--stop-after-block", "50"}, ChannelDocument::NewDocumentImage());
  test::WriteBytes(dir.Path("in.sin"), SomeChannels());
  const ProcessResult r = Cli({"write", "--port", sim->terminal(), dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 1);
  const std::size_t interrupt = r.err.find(link_texts::kProgramInterrupt);
  EXPECT_NE(interrupt, std::string::npos) << r.err;
  EXPECT_NE(r.err.find("block 40/394"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("394/394"), std::string::npos) << r.err;
  // Then what the radio now holds.
  EXPECT_NE(r.err.find("\n" + link_texts::PartlyWritten(50, 394) + "\n", interrupt),
            std::string::npos)
      << r.err;
}

TEST_F(CliLinkTest, FailedReadWritesNoFile) {
  Start({"--reply-bytes", "block=11"}, SomeChannels());
  const std::string out = dir.Path("out.sin");
  const ProcessResult r = Cli({"read", "--port", sim->terminal(), "-o", out});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find(link_texts::kReadNotEnough), std::string::npos) << r.err;
  EXPECT_FALSE(test::FileExists(out));
}

TEST_F(CliLinkTest, StrayByteBeforeABlockFailsTheReadAndSavesNothing) {
  Start({"--stray-byte", "block", "--fault-count", "1"}, SomeChannels());
  const std::string out = dir.Path("out.sin");
  const ProcessResult r = Cli({"read", "--port", sim->terminal(), "-o", out});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find(link_texts::kReplyTooLong), std::string::npos) << r.err;
  EXPECT_FALSE(test::FileExists(out));
}

TEST_F(CliLinkTest, WriteCutOffInTheBlocksSaysWhatTheRadioHolds) {
  Start({"--hang-up-after-block", "100"}, ChannelDocument::NewDocumentImage());
  test::WriteBytes(dir.Path("in.sin"), SomeChannels());
  const ProcessResult r = Cli({"write", "--port", sim->terminal(), dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("\n" + link_texts::PartlyWritten(100, 394) + "\n"), std::string::npos)
      << r.err;
}

// Ctrl+C once the first progress line is out: the write stops at the next
// block, and the user is told how many blocks the radio took.
TEST_F(CliLinkTest, WriteCancelledInTheBlocksSaysWhatTheRadioHolds) {
  const RadioImage radio = test::PatternImage(56);
  // A radio that takes 50 ms to acknowledge (far within the 590 ms the PC
  // waits) leaves the rest of the write, some 18 s, for the Ctrl+C to land
  // on a busy machine.
  Start({}, radio, "50");
  const RadioImage file = SomeChannels();
  test::WriteBytes(dir.Path("in.sin"), file);
  const std::string err_path = dir.Path("err.txt");
  const ProcessResult r = RunInterruptedAfter(
      {"write", "--port", sim->terminal(), dir.Path("in.sin")}, "block 40/394\n", err_path);
  EXPECT_EQ(r.exit_code, 1) << r.err;
  EXPECT_NE(r.err.find("z-lm5-cli write: cancelled\n"), std::string::npos) << r.err;

  const std::string lead = "\nThe radio now holds a partly written memory: ";
  const std::size_t at = r.err.find(lead);
  ASSERT_NE(at, std::string::npos) << r.err;
  const int written = std::stoi(r.err.substr(at + lead.size()));
  EXPECT_GE(written, 40);
  EXPECT_LT(written, 394);
  EXPECT_NE(r.err.find("\n" + link_texts::PartlyWritten(written, 394) + "\n"), std::string::npos)
      << r.err;
  // The radio holds the blocks counted (and perhaps the one whose
  // acknowledgement the cancel cut short), its old data after them.
  sim->Stop();
  const auto saved = Saved();
  ASSERT_EQ(saved.size(), 4096u);
  const RadioImage sent = ThroughTheGrid(file);
  const auto new_end = static_cast<std::ptrdiff_t>(written) * 8;
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + new_end, sent.bytes().begin()));
  EXPECT_TRUE(
      std::equal(saved.begin() + new_end + 8, saved.end(), radio.bytes().begin() + new_end + 8));
}

TEST_F(CliLinkTest, ReadIntoAnOutputThatCannotBeSavedLeavesTheRadioAlone) {
  Start({}, SomeChannels());
  const ProcessResult missing_folder =
      Cli({"read", "--port", sim->terminal(), "-o", dir.Path("no-such-folder/out.sin")});
  EXPECT_EQ(missing_folder.exit_code, 3);
  EXPECT_NE(missing_folder.err.find("No such file or directory"), std::string::npos)
      << missing_folder.err;
  const ProcessResult folder = Cli({"read", "--port", sim->terminal(), "-o", dir.path()});
  EXPECT_EQ(folder.exit_code, 3);
  EXPECT_NE(folder.err.find("it is a folder"), std::string::npos) << folder.err;
  sim->Stop();
  EXPECT_TRUE(test::LogFrames(log_file).empty()) << "checked before the radio is read";
}

// z-lm5-cli run by a user who may not create files in every folder: as
// nobody when the tests run as root (root may write anywhere). Standard
// error goes to `err_path`, opened before the rights are given up.
int RunAsOrdinaryUser(const std::vector<std::string>& args, const std::string& err_path) {
  std::vector<std::string> argv = {ZLM5_CLI};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> c_argv;
  for (std::string& a : argv) c_argv.push_back(a.data());
  c_argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int none = ::open("/dev/null", O_RDWR);
    if (err < 0 || none < 0) _exit(126);
    dup2(none, 0);
    dup2(none, 1);
    dup2(err, 2);
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) _exit(126);
    execv(c_argv[0], c_argv.data());
    _exit(127);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A file the user may write, in a folder that takes no new file: the check
// before the read lets it through, and the image read is written into it
// in place (a save through a temporary file would fail after the read).
TEST_F(CliLinkTest, ReadIntoAWritableFileOfAFolderThatTakesNoNewFileSavesInPlace) {
  const RadioImage radio = SomeChannels();
  Start({}, radio);
  const std::string folder = dir.Path("locked");
  const std::string out = folder + "/out.sin";
  std::filesystem::create_directory(folder);
  test::WriteBytes(out, test::PatternImage(55));
  struct stat before {};
  ASSERT_EQ(::stat(out.c_str(), &before), 0);
  ASSERT_EQ(::chmod(out.c_str(), 0666), 0);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chmod(sim->terminal().c_str(), 0666), 0);
  }

  const int code = RunAsOrdinaryUser({"read", "--no-backup", "--port", sim->terminal(), "-o", out},
                                     dir.Path("err.txt"));
  ::chmod(folder.c_str(), 0755);
  ASSERT_EQ(code, 0) << test::ReadText(dir.Path("err.txt"));
  EXPECT_TRUE(test::ReadText(dir.Path("err.txt")).ends_with("394 blocks read\n"));
  const RadioImage expected = ThroughTheGrid(radio);
  EXPECT_EQ(test::ReadBytes(out),
            std::vector<std::uint8_t>(expected.bytes().begin(), expected.bytes().end()));
  struct stat after {};
  ASSERT_EQ(::stat(out.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the same file, written in place";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1)
      << "no temporary file is left";
}

TEST_F(CliLinkTest, CommunicationErrorIsAnsweredCancelByDefaultAndRetryOnRequest) {
  Start({"--wrong-byte", "session", "--fault-count", "1"}, SomeChannels());
  test::WriteBytes(dir.Path("in.sin"), SomeChannels());
  ProcessResult r = Cli({"write", "--port", sim->terminal(), dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find(std::string(link_texts::kCommunicationError) + " [Retry/Cancel] -> Cancel"),
            std::string::npos)
      << r.err;
  // With one Retry allowed, the second attempt gets through.
  sim.reset();
  Start({"--wrong-byte", "session", "--fault-count", "1"}, SomeChannels());
  r = Cli({"write", "--retries", "1", "--port", sim->terminal(), dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("-> Retry"), std::string::npos);
}

using test::TwoChannels;
const std::string kChannel12Block = std::to_string(test::kChannel12Block);

TEST_F(CliLinkTest, ReadAndVerifiedWriteEachLeaveOneBackupAndSaySoLast) {
  const RadioImage radio = SomeChannels();
  Start({}, radio);
  ProcessResult r = Cli({"read", "--port", sim->terminal(), "-o", dir.Path("out.sin")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  auto backups = Backups();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_EQ(backups[0].direction, TransferDirection::kRead);
  EXPECT_EQ(*LoadChannelDataFile(backups[0].path), radio) << "the image as read";
  EXPECT_TRUE(r.err.ends_with("backup: " + backups[0].path + "\n394 blocks read\n")) << r.err;

  test::WriteBytes(dir.Path("in.sin"), TwoChannels());
  r = Cli({"write", "--verify", "--port", sim->terminal(), dir.Path("in.sin")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  backups = Backups();
  ASSERT_EQ(backups.size(), 2u) << "the read-back is part of the write";
  EXPECT_EQ(backups[0].direction, TransferDirection::kWrite);
  EXPECT_EQ(*LoadChannelDataFile(backups[0].path), ThroughTheGrid(TwoChannels()));
  EXPECT_NE(r.err.find("block 394/394\nReading the radio back to verify\n"), std::string::npos)
      << r.err;
  EXPECT_TRUE(r.err.ends_with("\n394 blocks written\nRadio verified: 394 blocks match\n")) << r.err;
}

TEST_F(CliLinkTest, VerifyNamesTheChannelTheRadioDidNotStoreAndExits1) {
  Start({"--drop-write", kChannel12Block}, ChannelDocument::NewDocumentImage());
  test::WriteBytes(dir.Path("in.sin"), TwoChannels());
  const ProcessResult r =
      Cli({"write", "--verify", "--no-backup", "--port", sim->terminal(), dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("394 blocks written\nRadio verify failed: the radio does not hold what "
                       "was written ("),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("\nCH 12 Receive(MHz): 446.00625 → (empty)\n"), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("CH 1 "), std::string::npos) << "channel 1 was stored";
  EXPECT_EQ(WriteFrames(), 394);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("data/z-lm5"))) << "--no-backup";
}

TEST_F(CliLinkTest, BackupFirstWritesOnlyOnceTheRadioIsKept) {
  // The first block read fails: the write must not start.
  Start({"--stray-byte", "block", "--fault-count", "1"}, SomeChannels());
  test::WriteBytes(dir.Path("in.sin"), TwoChannels());
  ProcessResult r = Cli({"write", "--backup-first", "--port", sim->terminal(), dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_TRUE(
      r.err.ends_with("\nNothing was written: the radio could not be read into a backup first\n"))
      << r.err;
  EXPECT_EQ(WriteFrames(), 0);
  EXPECT_TRUE(Backups().empty());

  Start({}, SomeChannels());
  r = Cli({"write", "--backup-first", "--port", sim->terminal(), dir.Path("in.sin")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto backups = Backups();
  ASSERT_EQ(backups.size(), 2u);
  EXPECT_EQ(backups[1].direction, TransferDirection::kRead);
  EXPECT_EQ(*LoadChannelDataFile(backups[1].path), SomeChannels()) << "what the radio held";
  EXPECT_EQ(*LoadChannelDataFile(backups[0].path), ThroughTheGrid(TwoChannels()));
  EXPECT_LT(r.err.find("Reading the radio into a backup\n"), r.err.find("Writing the radio\n"));
}

TEST_F(CliLinkTest, ABackupFolderThatCannotBeMadeDoesNotFailTheWrite) {
  std::ofstream(dir.Path("data-file")) << "not a folder";
  Start({}, ChannelDocument::NewDocumentImage());
  test::WriteBytes(dir.Path("in.sin"), TwoChannels());
  const ProcessResult r = Cli({"write", "--port", sim->terminal(), dir.Path("in.sin")},
                              {"XDG_DATA_HOME=" + dir.Path("data-file")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("\n394 blocks written\nThe backup could not be saved: " +
                       dir.Path("data-file/z-lm5/backups") + ": "),
            std::string::npos)
      << r.err;
  const auto saved = Saved();
  const RadioImage sent = ThroughTheGrid(TwoChannels());
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 0xC50, sent.bytes().begin()));
}

TEST_F(CliLinkTest, TypeMismatchNeedsTheOption) {
  RadioImage file = SomeChannels();
  file.set(0x81B, 0x07);
  test::WriteBytes(dir.Path("in.sin"), file);
  Start({"--type", "05"}, ChannelDocument::NewDocumentImage());
  ProcessResult r = Cli({"write", "--port", sim->terminal(), dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find(std::string(link_texts::kTypeMismatch) + " [OK/Cancel] -> Cancel"),
            std::string::npos)
      << r.err;
  r = Cli({"write", "--accept-type-mismatch", "--port", sim->terminal(), dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
}

TEST_F(CliLinkTest, PortThatCannotBeOpenedExits4WithTheReason) {
  test::WriteBytes(dir.Path("in.sin"), SomeChannels());
  const ProcessResult r = Cli({"write", "--port", dir.Path("no-tty"), dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 4);
  EXPECT_NE(r.err.find(link_texts::kCouldNotOpenPort), std::string::npos);
  EXPECT_NE(r.err.find("No such file or directory"), std::string::npos);
  const ProcessResult t = Cli({"tune", "low", "--port", dir.Path("no-tty")});
  EXPECT_EQ(t.exit_code, 4);
}

// The wake-up bytes must not go to the user's own screen, nor the terminal
// be left raw at 9600 baud.
TEST_F(CliLinkTest, TheTerminalTheProgramRunsInIsRefusedAsAPort) {
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string tty = ptsname(master);
  const int watch = ::open(tty.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(watch, 0);
  termios before{};
  ASSERT_EQ(tcgetattr(watch, &before), 0);
  for (const std::string& port : {std::string("/dev/tty"), tty}) {
    const ProcessResult r = RunInTerminal(tty, {"tune", "low", "--port", port}, dir.Path("err"));
    EXPECT_EQ(r.exit_code, 4) << port;
    EXPECT_NE(r.err.find(port + ": this is the terminal the program runs in"), std::string::npos)
        << r.err;
    termios after{};
    ASSERT_EQ(tcgetattr(watch, &after), 0);
    EXPECT_EQ(after.c_lflag, before.c_lflag) << port;
    EXPECT_EQ(cfgetospeed(&after), cfgetospeed(&before)) << port;
    std::uint8_t shown[16];
    EXPECT_LE(::read(master, shown, sizeof shown), 0) << "nothing reached the screen";
  }
  ::close(watch);
  ::close(master);
}

TEST_F(CliLinkTest, ComNamesComeFromTheSettingsFile) {
  Start({}, SomeChannels(), test::kTuningTurnaroundMs);
  std::filesystem::create_directories(dir.Path("config/z-lm5"));
  std::ofstream(dir.Path("config/z-lm5/ports.conf")) << "COM3 = " << sim->terminal() << "\n";
  const ProcessResult r = Cli({"tune", "low", "--port", "COM3"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "255\n");
  std::ofstream(dir.Path("config/z-lm5/ports.conf")) << "COM3 /dev/x\n";
  const ProcessResult bad = Cli({"tune", "low", "--port", "COM3"});
  EXPECT_EQ(bad.exit_code, 3);
  EXPECT_NE(bad.err.find("ports.conf: line 1"), std::string::npos) << bad.err;
}

TEST_F(CliLinkTest, UsageAndFileErrors) {
  test::WriteBytes(dir.Path("in.sin"), SomeChannels());
  const std::string in = dir.Path("in.sin");
  EXPECT_EQ(Cli({"write", in}).exit_code, 2);
  EXPECT_EQ(Cli({"write", "--port", "COM7", in}).exit_code, 2);
  EXPECT_EQ(Cli({"write", "--port", "/dev/null", "--retries", "x", in}).exit_code, 2);
  EXPECT_EQ(Cli({"read", "--port", "/dev/null"}).exit_code, 2);
  EXPECT_EQ(Cli({"tune", "sideways", "--port", "/dev/null"}).exit_code, 2);
  EXPECT_EQ(Cli({"tune", "high", "--port", "/dev/null", "--set", "251"}).exit_code, 2);
  EXPECT_EQ(Cli({"tune", "low", "--port", "/dev/null", "--set", "201"}).exit_code, 2);
  EXPECT_EQ(Cli({"tune", "low", "--port", "/dev/null", "--set", "0"}).exit_code, 2);
  EXPECT_EQ(Cli({"write", "--port", "/dev/null", dir.Path("missing.sin")}).exit_code, 3);
  EXPECT_EQ(Cli({"read", "--port", "/dev/null", "--into", dir.Path("missing.sin"), "-o",
                 dir.Path("o.sin")})
                .exit_code,
            3);
}

TEST_F(CliLinkTest, TuneReadsAndSetsTheHighPowerValue) {
  Start({"--high", "77"}, ChannelDocument::NewDocumentImage(), test::kTuningTurnaroundMs);
  const ProcessResult r = Cli({"tune", "high", "--port", sim->terminal(), "--set", "250"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "77\n");
  sim->Stop();
  const auto frames = test::LogFrames(log_file);
  const auto mode = std::find(frames.begin(), frames.end(), "rx 4D 63");
  ASSERT_NE(mode, frames.end());
  EXPECT_NE(std::find(mode, frames.end(), "rx 57 0F F9 01 FA"), frames.end());
  EXPECT_EQ(test::CountFrames(frames, "rx 4D 55"), 1);
  EXPECT_EQ(test::ReadBytes(save_file).at(0xFF9), 250);
}

TEST_F(CliLinkTest, TuneWithoutSetOnlyReads) {
  Start({"--low", "12"}, ChannelDocument::NewDocumentImage(), test::kTuningTurnaroundMs);
  const ProcessResult r = Cli({"tune", "low", "--port", sim->terminal()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "12\n");
  sim->Stop();
  const auto frames = test::LogFrames(log_file);
  EXPECT_EQ(test::CountFrames(frames, "rx 4D 62"), 0);
  EXPECT_EQ(test::CountFrames(frames, "rx 4D 55"), 1);
}

// Like grid: a result or a help text that cannot be written is no success.
TEST_F(CliLinkTest, OutputThatCannotBeWrittenExits3) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  for (const auto& args :
       std::vector<std::vector<std::string>>{{"--help"}, {"help"}, {"tune", "--help"}}) {
    EXPECT_EQ(Cli(args, {}, "/dev/full").exit_code, 3) << args.back();
  }
  Start({"--low", "12"}, ChannelDocument::NewDocumentImage(), test::kTuningTurnaroundMs);
  const ProcessResult r =
      Cli({"tune", "low", "--port", sim->terminal(), "--set", "100"}, {}, "/dev/full");
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_NE(r.err.find("standard output: No space left on device"), std::string::npos) << r.err;
  sim->Stop();
  const auto frames = test::LogFrames(log_file);
  EXPECT_EQ(test::CountFrames(frames, "rx 4D 62"), 0) << "nothing is changed";
  EXPECT_EQ(test::CountFrames(frames, "rx 4D 55"), 1);
}

TEST_F(CliLinkTest, TraceShowsEveryFrameWithTimes) {
  Start({}, SomeChannels(), test::kTuningTurnaroundMs);
  const ProcessResult r = Cli({"tune", "low", "--trace", "--port", sim->terminal()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find(" open " + sim->terminal()), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(" tx 02 50 52 4F 47 52 41\n"), std::string::npos);
  EXPECT_NE(r.err.find(" rx 06\n"), std::string::npos);
  EXPECT_NE(r.err.find(" purge 0F\n"), std::string::npos);
  EXPECT_EQ(r.out, "255\n");  // nothing of the trace on standard output
}

// Why the radio's backup was not kept comes first, then that nothing was
// written.
TEST_F(CliLinkTest, BackupFirstThatCannotBeSavedSaysWhyBeforeNothingWasWritten) {
  std::ofstream(dir.Path("data-file")) << "not a folder";
  Start({}, SomeChannels());
  test::WriteBytes(dir.Path("in.sin"), TwoChannels());
  const ProcessResult r =
      Cli({"write", "--backup-first", "--port", sim->terminal(), dir.Path("in.sin")},
          {"XDG_DATA_HOME=" + dir.Path("data-file")});
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_TRUE(r.err.ends_with(
      "\nblock 394/394\nThe backup could not be saved: " + dir.Path("data-file/z-lm5/backups") +
      ": cannot create the backup folder: " + std::strerror(ENOTDIR) +
      "\nNothing was written: the backup of the radio could not be saved\n"))
      << r.err;
  EXPECT_EQ(WriteFrames(), 0);
}

// A device that is no serial port, and a port another program holds, are
// named for what they are; both exit 4 as any port that cannot be opened.
TEST_F(CliLinkTest, PortsThatCannotBeOpenedSayWhatTheyAreAndWhoHoldsThem) {
  test::WriteBytes(dir.Path("in.sin"), SomeChannels());
  const std::string cannot_open = std::string(link_texts::kCouldNotOpenPort) + "\n";
  ProcessResult r = Cli({"write", "--port", "/dev/null", dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 4);
  EXPECT_EQ(r.err, cannot_open + "/dev/null: this device is not a serial port\n");

  // A line of the test's own, held by the test as the other program would.
  const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master), 0);
  ASSERT_EQ(unlockpt(master), 0);
  const std::string tty = ptsname(master);
  SerialPort held;
  ASSERT_TRUE(held.Open(tty, TimeoutProfile::Transfer()));
  const std::string busy = cannot_open + tty + ": " + std::strerror(EBUSY) +
                           ": in use by link_sim_test (PID " + std::to_string(getpid()) + ")\n";
  r = Cli({"write", "--port", tty, dir.Path("in.sin")});
  EXPECT_EQ(r.exit_code, 4);
  EXPECT_EQ(r.err, busy);
  r = Cli({"tune", "low", "--port", tty});
  EXPECT_EQ(r.exit_code, 4);
  EXPECT_EQ(r.err, busy);
  std::uint8_t sent[16];
  EXPECT_LE(::read(master, sent, sizeof sent), 0) << "nothing reached the line";
  held.Close();
  ::close(master);
}

}  // namespace
}  // namespace zlm5
