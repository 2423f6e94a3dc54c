// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli fleet write and read against several z-lm5-radio-sim at once.

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include "files/backup_store.h"
#include "files/channel_document.h"
#include "link/link_texts.h"
#include "model/channel_codec.h"
#include "model/channel_record.h"
#include "model/memory_grid.h"
#include "model/settings_block.h"
#include "tests/link/link_test_support.h"
#include "tests/link/sim_process.h"

namespace zlm5 {
namespace {

using test::ProcessResult;
using test::SimProcess;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t from = 0; from < text.size();) {
    const std::size_t end = text.find('\n', from);
    lines.push_back(text.substr(from, end - from));
    if (end == std::string::npos) break;
    from = end + 1;
  }
  return lines;
}

// What the desktop program saves after reading `radio` into a new document.
RadioImage ThroughTheGrid(RadioImage image) {
  MemoryGrid grid;
  ImageToGrid(image, grid);
  GridToImage(grid, image);
  return image;
}

class CliFleetTest : public ::testing::Test {
 protected:
  // One simulated radio more, holding `memory`; returns its terminal.
  std::string AddRadio(std::vector<std::string> options, const RadioImage& memory) {
    const std::string n = std::to_string(sims.size());
    const std::string memory_file = dir.Path("radio" + n + ".sin");
    saves.push_back(dir.Path("saved" + n + ".sin"));
    logs.push_back(dir.Path("log" + n + ".txt"));
    test::WriteBytes(memory_file, memory);
    options.insert(options.end(), {"--memory", memory_file, "--save", saves.back(), "--log",
                                   logs.back(), "--no-wire-time", "--turnaround", "1"});
    sims.push_back(std::make_unique<SimProcess>(options));
    EXPECT_TRUE(sims.back()->started()) << sims.back()->ErrorOutput();
    return sims.back()->terminal();
  }

  ProcessResult Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {ZLM5_CLI, "fleet"});
    // Never the user's own port settings or backups.
    return test::RunProcess(
        args, {"XDG_CONFIG_HOME=" + dir.Path("config"), "XDG_DATA_HOME=" + dir.Path("data")});
  }

  std::string File(const std::string& name, const std::string& text) {
    std::ofstream(dir.Path(name)) << text;
    return dir.Path(name);
  }

  std::vector<std::uint8_t> Saved(std::size_t n) {
    sims[n]->Stop();
    return test::ReadBytes(saves[n]);
  }

  test::TempDir dir;
  std::vector<std::unique_ptr<SimProcess>> sims;
  std::vector<std::string> saves;
  std::vector<std::string> logs;
};

TEST_F(CliFleetTest, WriteGivesEachRadioItsIdentityAndTellsHowEachEnded) {
  const std::string a = AddRadio({}, ChannelDocument::NewDocumentImage());
  const std::string b = AddRadio({}, ChannelDocument::NewDocumentImage());
  const std::string missing = dir.Path("no-such-port");
  const RadioImage file = test::PatternImage(90);
  test::WriteBytes(dir.Path("in.sin"), file);
  const std::vector<std::string> ports = {"--port", a, "-p", b, "--port=" + missing};

  // A list with a mistake is refused before any radio is touched.
  const std::string bad = File("bad.csv", "Port,Ani\n" + a + ",12a\n");
  std::vector<std::string> args = {"write", dir.Path("in.sin"), "--ids", bad};
  args.insert(args.end(), ports.begin(), ports.end());
  ProcessResult r = Cli(args);
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_EQ(r.err, "z-lm5-cli fleet: " + bad +
                       ": line 2: Ani \"12a\" may hold digits only\nNothing was written.\n");

  // Rows and ports that do not meet are told; --strict refuses them.
  const std::string ids =
      File("ids.csv", "Port,Name,RadioId,CallId,Ani\n" + a + ",Unit A,1001,,5678\n" + b +
                          ",Unit B,1002,2002,0102\n/dev/ttyUSB9,C,1003,,\n");
  args = {"write", dir.Path("in.sin"), "--ids", ids, "--strict"};
  args.insert(args.end(), ports.begin(), ports.end());
  r = Cli(args);
  EXPECT_EQ(r.exit_code, 2);
  const std::string findings =
      "z-lm5-cli fleet: the identity list " + ids + " and the ports:\n" +
      "  line 4: port /dev/ttyUSB9 is not among the ports given\n  " + missing +
      ": no row in the identity list; the radio gets the file's identity\n";
  EXPECT_EQ(r.err, findings +
                       "z-lm5-cli fleet: --strict: every port needs a row and every row a port; "
                       "nothing was written.\n");
  EXPECT_TRUE(test::LogFrames(logs[0]).empty());
  EXPECT_TRUE(test::LogFrames(logs[1]).empty());

  // Without --strict the two radios are written, the missing port fails.
  args = {"write", dir.Path("in.sin"), "--ids", ids, "--report", dir.Path("report.json")};
  args.insert(args.end(), ports.begin(), ports.end());
  r = Cli(args);
  EXPECT_EQ(r.exit_code, 4) << r.err;
  EXPECT_EQ(r.err.rfind(findings, 0), 0u) << r.err;
  EXPECT_TRUE(Has(r.err, a + ": block 394/394\n" + a + ": written\n")) << r.err;
  EXPECT_TRUE(Has(r.err, missing + ": " + std::string(link_texts::kCouldNotOpenPort))) << r.err;
  const std::vector<std::string> table = Lines(r.out);
  ASSERT_EQ(table.size(), 4u) << r.out;
  EXPECT_EQ(table[0].rfind("Port", 0), 0u);
  EXPECT_TRUE(Has(table[1], "  Unit A  Radio ID 1001, ANI 1678 (ANI 5678 stored as 1678)  "));
  EXPECT_TRUE(table[1].ends_with("  written")) << table[1];
  EXPECT_TRUE(Has(table[2], "  Unit B  Radio ID 1002, Call ID 2002, ANI 0102  "));
  EXPECT_TRUE(table[2].ends_with("  written")) << table[2];
  EXPECT_TRUE(table[3].ends_with("  failed: " + std::string(link_texts::kCouldNotOpenPort) + " (" +
                                 missing + ": No such file or directory)"))
      << table[3];
  const std::string report = test::ReadText(dir.Path("report.json"));
  EXPECT_TRUE(Has(report, "{\"port\": \"" + a +
                              "\", \"label\": \"Unit A\", \"result\": "
                              "\"written\", \"result_text\": \"written\", \"blocks\": 394"))
      << report;
  EXPECT_TRUE(Has(report, "\"port\": \"" + missing +
                              "\", \"label\": \"\", \"result\": "
                              "\"port unavailable\""))
      << report;

  const RadioImage sent = ThroughTheGrid(file);
  const std::vector<std::uint8_t> first = Saved(0);
  const std::vector<std::uint8_t> second = Saved(1);
  ASSERT_EQ(first.size(), 4096u);
  ASSERT_EQ(second.size(), 4096u);
  RadioImage one;
  RadioImage two;
  std::copy(first.begin(), first.end(), one.bytes().begin());
  std::copy(second.begin(), second.end(), two.bytes().begin());
  EXPECT_EQ(SettingsBlock(one).RadioIdText(), "1001");
  EXPECT_EQ(SettingsBlock(one).CallIdText(), SettingsBlock(sent).CallIdText());
  EXPECT_EQ(SettingsBlock(one).AniText(), "1678");
  EXPECT_EQ(SettingsBlock(two).RadioIdText(), "1002");
  EXPECT_EQ(SettingsBlock(two).CallIdText(), "2002");
  EXPECT_EQ(SettingsBlock(two).AniText(), "0102");
  EXPECT_TRUE(std::equal(first.begin(), first.begin() + settings_map::kAni, sent.bytes().begin()));
  // Each write kept as a backup, as a single write is.
  const auto kept = BackupStore(dir.Path("data/z-lm5/backups")).List();
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->size(), 2u);
}

TEST_F(CliFleetTest, ReadSavesEachRadioInAFileOfItsOwn) {
  RadioImage first = ChannelDocument::NewDocumentImage();
  WriteFrequency(ReceiveBytes(first.Record(1)), 14652500);
  WriteFrequency(TransmitBytes(first.Record(1)), 14652500);
  RadioImage second = ChannelDocument::NewDocumentImage();
  WriteFrequency(ReceiveBytes(second.Record(7)), 43500000);
  WriteFrequency(TransmitBytes(second.Record(7)), 43812500);
  const std::string a = AddRadio({}, first);
  const std::string b = AddRadio({}, second);
  const std::string short_reply = AddRadio({"--reply-bytes", "block=11"}, first);
  const std::string out = dir.Path("audit/today");

  const ProcessResult r =
      Cli({"read", "-p", a, "-p", b, "-p", short_reply, "--out-dir", out, "--no-backup"});
  EXPECT_EQ(r.exit_code, 1) << r.err;
  const std::vector<std::string> table = Lines(r.out);
  ASSERT_EQ(table.size(), 4u) << r.out;
  EXPECT_EQ(table[0].rfind("Port", 0), 0u);
  EXPECT_TRUE(Has(table[0], "  File  ")) << table[0];
  for (const auto& [n, memory] : {std::pair{1, first}, {2, second}}) {
    const std::string name = out + "/radio-" + std::to_string(n) + ".sin";
    const std::vector<std::uint8_t> saved = test::ReadBytes(name);
    const RadioImage expected = ThroughTheGrid(memory);
    EXPECT_TRUE(
        std::equal(saved.begin(), saved.end(), expected.bytes().begin(), expected.bytes().end()))
        << name;
    EXPECT_TRUE(Has(table[n], "  " + name + "  ")) << table[n];
    EXPECT_TRUE(table[n].ends_with("  read")) << table[n];
  }
  EXPECT_FALSE(test::FileExists(out + "/radio-3.sin"));
  EXPECT_TRUE(table[3].ends_with("  failed: " + std::string(link_texts::kReadNotEnough)))
      << table[3];
  EXPECT_FALSE(test::FileExists(dir.Path("data/z-lm5/backups")));
}

// A radio read in full whose file cannot be saved (here each file may grow
// to 4095 bytes only, as on a disk without room for a 4096-byte image) has
// not been read for the user: it ends failed with the save's reason, in
// the table, the report and its messages, and the exit code is a file
// error's.
TEST_F(CliFleetTest, ReadWhoseFileCannotBeSavedEndsFailedWithTheReason) {
  const std::string a = AddRadio({}, test::PatternImage(3));
  const std::string b = AddRadio({}, ChannelDocument::NewDocumentImage());
  const std::string out = dir.Path("out");
  const std::string report = dir.Path("report.json");

  struct rlimit saved_limit {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved_limit), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved_limit;
  small.rlim_cur = image_map::kSize - 1;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const ProcessResult r =
      Cli({"read", "-p", a, "-p", b, "--out-dir", out, "--no-backup", "--report", report});
  ::setrlimit(RLIMIT_FSIZE, &saved_limit);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_EQ(r.exit_code, 3) << r.err;
  const std::vector<std::string> table = Lines(r.out);
  ASSERT_EQ(table.size(), 3u) << r.out;
  const std::string json = test::ReadText(report);
  for (const auto& [n, port] : {std::pair{1, a}, {2, b}}) {
    const std::string reason =
        out + "/radio-" + std::to_string(n) + ".sin: cannot save: File too large";
    EXPECT_TRUE(table[n].starts_with(port + "  ")) << table[n];
    EXPECT_TRUE(table[n].ends_with(" s  failed: " + reason)) << table[n];
    EXPECT_TRUE(Has(r.err, port + ": " + reason + "\n")) << r.err;
    EXPECT_TRUE(Has(r.err, port + ": failed: " + reason + "\n")) << r.err;
    EXPECT_TRUE(Has(json, "{\"port\": \"" + port +
                              "\", \"label\": \"\", \"result\": \"failed\", \"result_text\": "
                              "\"failed: " +
                              reason + "\", \"blocks\": 394, "))
        << json;
    EXPECT_TRUE(Has(json, "\"file\": \"\", ")) << json;
    EXPECT_TRUE(Has(json, "\"messages\": [{\"text\": \"" + reason + "\", \"answer\": \"OK\"}]"))
        << json;
  }
  EXPECT_FALSE(Has(json, "\"result\": \"read\"")) << json;
  // Nothing half-saved is left in the folder.
  EXPECT_TRUE(std::filesystem::is_empty(out));
}

}  // namespace
}  // namespace zlm5
