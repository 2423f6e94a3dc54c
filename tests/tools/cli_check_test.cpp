// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli check and diff, run on files as a user or a script would.

#include <gtest/gtest.h>

#include <stdlib.h>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tests/tools/cli_runner.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;
namespace gl = grid_layout;
using testing_cli::CliRun;

class CliCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zlm5-check-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  CliRun Cli(const std::vector<std::string>& args) const { return testing_cli::RunCli(args, dir_); }

  // Saves a document whose grid `edit` typed into, like the program does.
  template <typename Edit>
  std::string Document(const std::string& name, Edit edit) const {
    RadioImage image = ChannelDocument::NewDocumentImage();
    MemoryGrid grid;
    ImageToGrid(image, grid);
    edit(grid);
    GridToImage(grid, image);
    std::string path = Path(name);
    EXPECT_TRUE(SaveChannelDataFile(path, image));
    return path;
  }

  fs::path dir_;
};

void Type(ChannelGrid& grid, int row, int col, std::string_view text) {
  CommitCellText(grid, row, col, text, CommitPath::LeaveCell);
}

TEST_F(CliCheckTest, CheckPrintsOneLinePerFindingAndExitsOne) {
  const std::string path = Document("a.sin", [](ChannelGrid& grid) {
    grid.SetBoxSelection(FormBox::Field, 1);  // 136 - 174MHz
    Type(grid, 1, gl::kColReceive, "146.52");
    Type(grid, 1, gl::kColName, "HOME");
    Type(grid, 2, gl::kColReceive, "446.00625");
    Type(grid, 3, gl::kColReceive, "146.52");
    Type(grid, 3, gl::kColName, "HOME");
    Type(grid, 5, gl::kColTransmit, "147");
  });
  const CliRun run = Cli({"check", path});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out,
            "CH 2: receive frequency 446.00625 MHz is outside the band 136 - 174MHz\n"
            "CH 2: transmit frequency 446.00625 MHz is outside the band 136 - 174MHz\n"
            "CH 3: same receive frequency and tones as CH 1\n"
            "CH 3: name \"HOME\" is also the name of CH 1\n"
            "CH 5: in use without a receive frequency\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(CliCheckTest, CheckOfAGoodTableIsSilentAndExitsZero) {
  const std::string path = Document("a.sin", [](ChannelGrid& grid) {
    grid.SetBoxSelection(FormBox::Field, 8);  // 400 - 470MHz
    Type(grid, 1, gl::kColReceive, "446.00625");
    Type(grid, 2, gl::kColReceive, "446.00625");
    Type(grid, 2, gl::kColRxTone, "D023N");
  });
  const CliRun run = Cli({"check", path});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "");
}

TEST_F(CliCheckTest, DiffListsChangesInWordsAndExitsOne) {
  const auto channel = [](ChannelGrid& grid) {
    Type(grid, 12, gl::kColReceive, "146.52");
    Type(grid, 12, gl::kColRxTone, "88.5");
  };
  const std::string a = Document("a.sin", channel);
  const std::string b = Document("b.sin", [&](ChannelGrid& grid) {
    channel(grid);
    Type(grid, 12, gl::kColRxTone, "D023N");
    grid.SetBoxSelection(FormBox::Field, 1);
  });
  CliRun run = Cli({"diff", a, b});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out,
            "CH 12 Rx Tone: 88.5 → D023N\n"
            "Field: 67 - 72MHz → 136 - 174MHz\n");

  run = Cli({"diff", a, a});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out, "");
}

TEST_F(CliCheckTest, BadArgumentsAndFilesReadNothingAndSayWhy) {
  const std::string a = Document("a.sin", [](ChannelGrid&) {});
  {
    std::ofstream short_file(Path("short.sin"), std::ios::binary);
    short_file << std::string(100, '\xFF');
  }
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"check"},
                                             {"check", a, a},
                                             {"check", "--x", a},
                                             {"diff", a},
                                             {"diff", a, a, a},
                                             {"diff", "-o", "x", a, a}}) {
    const CliRun run = Cli(args);
    EXPECT_EQ(run.exit_code, 2) << args.size();
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("Run 'z-lm5-cli " + args[0] + " --help'"), std::string::npos);
  }

  const std::string missing = Path("missing.sin");
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"check", missing},
                                             {"diff", a, missing},
                                             {"diff", missing, a},
                                             {"check", Path("short.sin")},
                                             {"diff", Path("short.sin"), a}}) {
    const CliRun run = Cli(args);
    EXPECT_EQ(run.exit_code, 3) << args.back();
    EXPECT_EQ(run.out, "");
    const std::string file = args[1] == a ? args[2] : args[1];
    EXPECT_NE(run.err.find("z-lm5-cli " + args[0] + ": " + file), std::string::npos) << run.err;
  }
}

}  // namespace
}  // namespace zlm5
