// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli export and import, run on files as a user or a script would.

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
using testing_cli::ReadText;

constexpr const char* kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n";

void Type(ChannelGrid& grid, int row, int col, std::string_view text) {
  CommitCellText(grid, row, col, text, CommitPath::LeaveCell);
}

class CliCsvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zlm5-csv-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    // Two channels as the program saves them: a repeater with a DCS pair
    // and a simplex channel with a name.
    RadioImage image = ChannelDocument::NewDocumentImage();
    MemoryGrid grid;
    ImageToGrid(image, grid);
    Type(grid, 2, gl::kColReceive, "439.2");
    Type(grid, 2, gl::kColTransmit, "431.6");
    Type(grid, 2, gl::kColRxTone, "D023I");
    Type(grid, 2, gl::kColTxTone, "D023N");
    Type(grid, 2, gl::kColScan, "No");
    Type(grid, 5, gl::kColReceive, "145.5");
    Type(grid, 5, gl::kColName, "CALL");
    GridToImage(grid, image);
    ASSERT_TRUE(SaveChannelDataFile(Path("radio.sin"), image));
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  CliRun Cli(const std::vector<std::string>& args) const { return testing_cli::RunCli(args, dir_); }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary) << text;
    return Path(name);
  }
  static std::string Row(const std::string& path, int row) {
    MemoryGrid grid;
    ImageToGrid(*LoadChannelDataFile(path), grid);
    std::string text;
    for (int col = 1; col < gl::kColumns; ++col)
      text += (col > 1 ? "|" : "") + grid.TextMatrix(row, col);
    return text;
  }

  fs::path dir_;
};

TEST_F(CliCsvTest, ExportWritesTheListToStandardOutputOrToOut) {
  const std::string radio = Path("radio.sin");
  const CliRun run = Cli({"export", radio});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, std::string(kHeader) +
                         "2,,439.200000,-,7.600000,DTCS,88.5,88.5,023,NR,023,Tone->Tone,FM,6.25,S,"
                         "High,OptSignal=None BusyLock=Close PTTID=ON,,,,\r\n"
                         "5,CALL,145.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,"
                         "High,OptSignal=None BusyLock=Close PTTID=ON,,,,\r\n");
  EXPECT_EQ(run.err, "");

  ASSERT_EQ(Cli({"export", radio, "-o", Path("list.csv")}).exit_code, 0);
  EXPECT_EQ(ReadText(Path("list.csv")), run.out);

  const std::string before = ReadText(radio);
  const CliRun over_itself = Cli({"export", radio, "-o", radio});
  EXPECT_EQ(over_itself.exit_code, 2);
  EXPECT_NE(over_itself.err.find("would replace the channel data file"), std::string::npos);
  EXPECT_EQ(ReadText(radio), before);
  EXPECT_EQ(Cli({"export", Path("missing.sin")}).exit_code, 3);
  EXPECT_EQ(Cli({"export"}).exit_code, 2);
}

TEST_F(CliCsvTest, ImportingTheOwnExportChangesNoByteAndFillsANewFileTheSame) {
  const std::string radio = Path("radio.sin");
  const std::string before = ReadText(radio);
  ASSERT_EQ(Cli({"export", radio, "-o", Path("list.csv")}).exit_code, 0);

  CliRun run = Cli({"import", radio, Path("list.csv")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(ReadText(radio), before);

  ASSERT_EQ(Cli({"new", "-o", Path("new.sin")}).exit_code, 0);
  run = Cli({"import", Path("new.sin"), Path("list.csv"), "--strict"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(ReadText(Path("new.sin")), before);
}

// What a repeater directory might publish: the good rows land, the others
// are named on standard error with their line, and FILE itself is left
// alone when -o names another file.
TEST_F(CliCsvTest, ImportReportsWhatItSkipsAndStrictWritesNothing) {
  const std::string radio = Path("radio.sin");
  const std::string before = ReadText(radio);
  const std::string csv = Write("dir.csv",
                                "Location;Name;Frequency;Duplex;Offset;Tone;rToneFreq;Mode\n"
                                "1;Hilltop Repeater;145.6;-;0.6;Tone;88.5;FM\n"
                                "2;Airport;121.5;;;;;AM\n"
                                "3;Valley;438.25;-;7.6;Tone;100;NFM\n");
  const std::string report = csv + ":2: Name 'Hilltop Repeater' is shortened to 'HILLTO'\n" + csv +
                             ":3: Mode AM is not FM or NFM; the row is skipped\n";

  CliRun run = Cli({"import", radio, csv, "-o", Path("out.sin"), "--strict"});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.err, report + "z-lm5-cli import: nothing was written (--strict)\n");
  EXPECT_FALSE(fs::exists(Path("out.sin")));

  run = Cli({"import", radio, csv, "-o", Path("out.sin")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, report);
  EXPECT_EQ(ReadText(radio), before);
  const std::string out = Path("out.sin");
  EXPECT_EQ(Row(out, 1), "145.60000|145.00000|OFF|88.5|Wide|Yes|High|None|ON|Close|HILLTO");
  EXPECT_EQ(Row(out, 2), Row(radio, 2));  // the skipped row's channel is untouched
  EXPECT_EQ(Row(out, 3), "438.25000|430.65000|OFF|100.0|Narrow|Yes|High|None|ON|Close|VALLEY");
  EXPECT_EQ(Row(out, 5), "145.50000|145.50000|OFF|OFF|Wide|Yes|High|None|ON|Close|CALL");

  run = Cli({"import", radio, Write("at.csv", "Frequency\n146.5\n146.6\n"), "--at", "127"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(Row(radio, 127).substr(0, 19), "146.50000|146.50000");
  EXPECT_EQ(Row(radio, 128).substr(0, 19), "146.60000|146.60000");
}

TEST_F(CliCsvTest, RejectedInputWritesNothing) {
  const std::string radio = Path("radio.sin");
  const std::string before = ReadText(radio);
  const std::string good = Write("good.csv", "Frequency\n146.5\n");
  const std::string no_frequency = Write("names.csv", "Location,Name\n1,A\n");
  const std::vector<std::pair<std::vector<std::string>, int>> runs = {
      {{"import", radio, good, "--at", "0"}, 2},   {{"import", radio, good, "--at", "129"}, 2},
      {{"import", radio, good, "--at", "x"}, 2},   {{"import", radio}, 2},
      {{"import", radio, good, "-o", good}, 2},    {{"import", radio, no_frequency}, 2},
      {{"import", radio, Path("missing.csv")}, 3}, {{"import", radio, dir_.string()}, 3},
      {{"import", Path("missing.sin"), good}, 3},
  };
  for (const auto& [args, code] : runs) {
    const CliRun run = Cli(args);
    EXPECT_EQ(run.exit_code, code) << args.back() << ": " << run.err;
    EXPECT_NE(run.err, "") << args.back();
    EXPECT_EQ(ReadText(radio), before) << args.back();
    EXPECT_EQ(ReadText(good), "Frequency\n146.5\n");
  }
  EXPECT_NE(Cli({"import", radio, no_frequency}).err.find("names.csv: not a channel list"),
            std::string::npos);

  const std::string utf16 = Write("unicode.csv", std::string("\xFF\xFE"
                                                             "F\0r\0e\0q\0u\0e\0n\0c\0y\0\n\0",
                                                             22));
  const CliRun run = Cli({"import", radio, utf16});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.err, "z-lm5-cli import: " + utf16 +
                         ": the file is UTF-16 text and must be saved as UTF-8 to be read as a "
                         "channel list\n");
  EXPECT_EQ(ReadText(radio), before);
}

// A directory of thousands of rows the radio cannot hold: the report names
// the first 200 and counts the rest in one line, the good row after them
// still lands, and rows past the last channel are counted, not read.
TEST_F(CliCsvTest, ALongReportIsCutAndRowsPastTheLastChannelAreNotRead) {
  const std::string radio = Path("radio.sin");
  std::string text = "Location,Name,Frequency\n";
  for (int n = 0; n < 3000; ++n) text += "7,BAD,1\n";
  text += "9,GOOD,146.5\n";
  const std::string csv = Write("long.csv", text);

  const std::string before = ReadText(radio);
  CliRun run = Cli({"import", radio, csv, "--strict"});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(ReadText(radio), before);

  run = Cli({"import", radio, csv});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < run.err.size();) {
    const std::size_t end = run.err.find('\n', start);
    lines.push_back(run.err.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_EQ(lines.size(), 201u);
  EXPECT_EQ(lines.front(), csv + ":2: Frequency 1 MHz is outside 67-521 MHz; the row is skipped");
  EXPECT_EQ(lines[199], csv + ":201: Frequency 1 MHz is outside 67-521 MHz; the row is skipped");
  EXPECT_EQ(lines.back(), csv + ":202: and 2800 more lines were not taken");
  EXPECT_EQ(Row(radio, 9), "146.50000|146.50000|OFF|OFF|Wide|Yes|High|None|ON|Close|GOOD");
  EXPECT_EQ(Row(radio, 7), "||||||||||");

  std::string beyond = "Frequency\n";
  for (int n = 0; n < 10000; ++n) beyond += "145.5\n";
  run = Cli({"import", radio, Write("beyond.csv", beyond), "--at", "120"});
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err, Path("beyond.csv") +
                         ":11: no channel is left (channel 128 is the last); rows not read from "
                         "this line on: 9991\n");
  EXPECT_EQ(Row(radio, 128).substr(0, 19), "145.50000|145.50000");
}

// Names as the format's other tools write them, blanks unquoted: taken as
// they stand, so --strict finds nothing to report.
TEST_F(CliCsvTest, NamesKeepTheirBlanks) {
  const std::string radio = Path("radio.sin");
  const CliRun run =
      Cli({"import", radio,
           Write("blanks.csv", "Location,Name,Frequency\n1, AB,146.5\n3,AB ,146.5\n"), "--strict"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Row(radio, 1).substr(Row(radio, 1).rfind('|')), "| AB");
  EXPECT_EQ(Row(radio, 3).substr(Row(radio, 3).rfind('|')), "|AB ");
}

}  // namespace
}  // namespace zlm5
