// SPDX-License-Identifier: GPL-3.0-or-later
// Runs z-lm5-cli as a user or a script would and checks its output, its exit
// code and the files it leaves behind.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tests/tools/cli_runner.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

using testing_cli::CliRun;
using testing_cli::ReadText;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zlm5-cli-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // Standard output goes to `stdout_file` when given (run.out stays empty).
  CliRun Cli(const std::vector<std::string>& args, const char* stdout_file = nullptr) const {
    return testing_cli::RunCli(args, dir_, stdout_file);
  }

  // Whether this z-lm5-cli draws the report (it was built with Qt Gui):
  // without it, print is listed as not in this build.
  bool HasReport() const {
    return Cli({"--help"}).out.find("print     write the printed report") != std::string::npos;
  }

  std::string NewFile(const std::string& name) {
    std::string path = Path(name);
    EXPECT_EQ(Cli({"new", "-o", path}).exit_code, 0);
    return path;
  }

  static std::vector<std::uint8_t> Bytes(const std::string& path) {
    const std::string text = ReadText(path);
    return {text.begin(), text.end()};
  }

  fs::path dir_;
};

TEST_F(CliTest, HelpListsTheCommandsAndEachCommandHasItsOwn) {
  const CliRun help = Cli({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  for (const char* name : {"new", "grid", "settings", "edit"}) {
    EXPECT_NE(help.out.find(std::string("  ") + name), std::string::npos) << name;
    const CliRun command_help = Cli({name, "--help"});
    EXPECT_EQ(command_help.exit_code, 0) << name;
    EXPECT_NE(command_help.out.find(std::string("Usage: z-lm5-cli ") + name), std::string::npos);
  }
  EXPECT_EQ(Cli({"frobnicate"}).exit_code, 2);
}

// Every command reads its options alike; a problem names the word as typed.
TEST_F(CliTest, OptionsInEverySpellingAndWhatIsWrongWithThem) {
  const std::string path = Path("spelled.sin");
  ASSERT_EQ(Cli({"new", "--output=" + path}).exit_code, 0);
  EXPECT_EQ(Cli({"settings", "--", path}).exit_code, 0);
  const auto usage = [](const std::string& command, const std::string& message) {
    return "z-lm5-cli " + command + ": " + message + "\nRun 'z-lm5-cli " + command +
           " --help' for usage.\n";
  };
  const CliRun unknown = Cli({"grid", path, "--colour"});
  EXPECT_EQ(unknown.exit_code, 2);
  EXPECT_EQ(unknown.err, usage("grid", "unknown option '--colour'"));
  EXPECT_EQ(Cli({"edit", path, "--field"}).err, usage("edit", "option '--field' needs a value"));
  EXPECT_EQ(Cli({"edit", path, "-o", "a.sin", "--output=b.sin"}).err,
            usage("edit", "option '--output' is given more than once"));
  EXPECT_EQ(Cli({"import", path, "--strict=yes"}).err,
            usage("import", "unknown option '--strict=yes'"));
}

// The options of a command's help come from the table it reads them by.
TEST_F(CliTest, CommandHelpListsItsOptionsInAColumn) {
  const std::string import_options =
      "Options:\n"
      "  -o, --output OUT   write OUT instead of FILE\n"
      "  --at N             put the first row at channel N (1-128) and each next\n"
      "                     row at the next channel, whatever Location says\n"
      "  --strict           when anything is reported, write nothing\n"
      "\n"
      "Exit codes: 0 saved,";
  EXPECT_NE(Cli({"import", "--help"}).out.find(import_options), std::string::npos);
  const std::string ports_options =
      "it, a device shown free may still be in use.\n"
      "\n"
      "  --json      print all of it as one JSON object instead: \"devices\"\n";
  EXPECT_NE(Cli({"ports", "--help"}).out.find(ports_options), std::string::npos);
}

TEST_F(CliTest, NewWritesTheNewDocumentImage) {
  const std::string path = NewFile("new.sin");
  const RadioImage expected = ChannelDocument::NewDocumentImage();
  EXPECT_EQ(Bytes(path),
            std::vector<std::uint8_t>(expected.bytes().begin(), expected.bytes().end()));
  EXPECT_EQ(Cli({"new"}).exit_code, 2);
  EXPECT_EQ(Cli({"new", "-o", path, "extra"}).exit_code, 2);
}

TEST_F(CliTest, GridOfANewDocument) {
  const CliRun run = Cli({"grid", NewFile("a.sin")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 129u);
  for (int row = 1; row <= 128; ++row) {
    const auto fields = Fields(lines[row - 1]);
    ASSERT_EQ(fields.size(), 12u);
    EXPECT_EQ(fields[0], std::to_string(row));
    for (int col = 1; col < 12; ++col) EXPECT_EQ(fields[col], "");
  }
  EXPECT_EQ(lines[128], "form\t0\t0\t0\t9");
  EXPECT_EQ(run.out.back(), '\n');
}

TEST_F(CliTest, GridShowsWhatTheCodecDecodes) {
  RadioImage image = ChannelDocument::NewDocumentImage();
  const std::uint8_t record[16] = {0x00, 0x25, 0x65, 0x14, 0x25, 0x06, 0x60, 0x44,
                                   0x70, 0x06, 0x23, 0xC0, 0x04, 0x3A, 0x01, 0x00};
  std::copy(record, record + 16, image.Record(7).begin());
  image.Name(7)[0] = 10;
  image.Name(7)[1] = 37;
  image.set(0x80A, 0xF5);
  image.set(0x80B, 0x30);
  image.set(0x812, 0x44);
  ASSERT_TRUE(SaveChannelDataFile(Path("b.sin"), image));

  const CliRun run = Cli({"grid", Path("b.sin")});
  ASSERT_EQ(run.exit_code, 0);
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 129u);
  EXPECT_EQ(lines[6],
            "7\t146.52500\t446.00625\t67.0\tD023I\tWide\tYes\tHigh\tCCIR\tON\tCarrier\tA ");
  EXPECT_EQ(lines[128], "form\t7\t-1\t1\t9");
}

TEST_F(CliTest, SettingsPrintsTheDialogValues) {
  const std::string path = NewFile("s.sin");
  CliRun run = Cli({"settings", path});
  ASSERT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.out,
            "squelch\t5\ntot\tOFF\nvox\tOFF\nlanguage\tOFF\nbeep\tchecked\nscrambler\tunchecked\n"
            "battery save\tchecked\noptional signal\tOFF\nbegin of tx\tunchecked\n"
            "end of tx\tunchecked\npf1\tNone\npf2\tNone\npriority channel\t\nani\t\nradio id\t\n"
            "call id\t\ncheck id\t\nkill id\t\nlisten id\t\n");

  RadioImage image = *LoadChannelDataFile(path);
  image.set(0x812, 0xFF);  // "Germany " (ending in a blank), all flags
  image.set(0x814, 8);
  image.set(0x815, 10);
  image.set(0x816, 7);
  image.set(0x81A, 4);
  image.set(0x81B, 2);
  const char radio_id[] = {'a', 'B', '1', 0x7F, '2'};
  for (int i = 0; i < 5; ++i) image.set(0x830 + i, static_cast<std::uint8_t>(radio_id[i]));
  ASSERT_TRUE(SaveChannelDataFile(path, image));
  run = Cli({"settings", path});
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 19u);
  EXPECT_EQ(lines[1], "tot\t120");
  EXPECT_EQ(lines[2], "vox\t10");
  EXPECT_EQ(lines[3], "language\tGermany ");
  EXPECT_EQ(lines[5], "scrambler\tchecked");
  EXPECT_EQ(lines[7], "optional signal\tCCIR");
  EXPECT_EQ(lines[10], "pf1\tMonitor Momentary");
  EXPECT_EQ(lines[11], "pf2\tKey Lock");
  EXPECT_EQ(lines[12], "priority channel\t4");
  EXPECT_EQ(lines[14], "radio id\tAB12");
}

TEST_F(CliTest, EditTypesLikeAUserAndSaves) {
  const std::string path = NewFile("e.sin");
  const std::string out = Path("out.sin");
  const CliRun run =
      Cli({"edit", path, "-o", out, "1,1=146.525", "1,3=d023n", "1,10=carrier", "1,11=ab-1 2",
           "2,1=", "3,2=", "4,6=No", "5,11=solo", "--field", "7", "--manual", "1"});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Bytes(path), Bytes(NewFile("fresh.sin")));  // FILE itself untouched with -o

  const auto lines = Lines(Cli({"grid", out}).out);
  ASSERT_EQ(lines.size(), 129u);
  EXPECT_EQ(lines[0],
            "1\t146.52500\t146.52500\tD023N\tOFF\tWide\tYes\tHigh\tNone\tON\tCarrier\tAB-1 2");
  EXPECT_EQ(lines[1], "2\t\t\t\t\t\t\t\t\t\t\t");
  EXPECT_EQ(lines[2], "3\t\t\t\t\t\t\t\t\t\t\t");
  EXPECT_EQ(lines[3], "4\t\t\t\t\t\t\t\t\t\t\t");  // no frequency: the list is not stored
  EXPECT_EQ(lines[4], "5\t\t\t\t\t\t\t\t\t\t\tSOLO");
  EXPECT_EQ(lines[128], "form\t7\t0\t1\t9");

  const RadioImage image = *LoadChannelDataFile(out);
  EXPECT_EQ(image.at(0x80A), 0xF5);
  EXPECT_EQ(image.at(0x812) & 0x80, 0);
  EXPECT_EQ(image.Record(1)[9], 0x80);
  EXPECT_EQ(image.Record(1)[8], 0x23);
}

// A script sees no message box: a value the grid would reject stops the
// whole command before anything is written.
TEST_F(CliTest, EditWithAValueTheGridRejectsWritesNothing) {
  const std::string path = NewFile("r.sin");
  const auto before = Bytes(path);
  const std::string out = Path("out.sin");
  const std::string step_error =
      "Error data Value，Please input according the step value(6.25K/5k/2.5k)";
  const std::string format_error = "Error Data Format，Please input again";
  const std::vector<std::pair<std::string, std::string>> rejected = {
      {"2,1=146.5215", step_error}, {"2,2=abc", format_error},           {"2,1=nan", format_error},
      {"2,2=1e308", format_error},  {"2,1=１４６.５２５", format_error}, {"2,1=600", format_error},
  };
  for (const auto& [edit, message] : rejected) {
    for (const bool in_place : {false, true}) {
      std::vector<std::string> args = {"edit", path, "1,1=146.525", edit, "1,11=KEPT"};
      if (!in_place) args.insert(args.begin() + 2, {"-o", out});
      const CliRun run = Cli(args);
      EXPECT_EQ(run.exit_code, 2) << edit;
      EXPECT_EQ(run.err, "z-lm5-cli edit: '" + edit + "': " + message +
                             "\nz-lm5-cli edit: nothing was written\n");
      EXPECT_FALSE(fs::exists(out)) << edit;
      EXPECT_EQ(Bytes(path), before) << edit;
    }
  }
  const CliRun help = Cli({"edit", "--help"});
  EXPECT_NE(help.out.find("opened and saved as the window would"), std::string::npos);
  EXPECT_EQ(help.out.find("unchanged"), std::string::npos);
}

TEST_F(CliTest, EditInPlaceWithoutEditsIsOpenThenSave) {
  const std::string path = NewFile("p.sin");
  RadioImage image = *LoadChannelDataFile(path);
  image.set(0xC50, 0x12);
  image.set(0x800, 0x34);
  ASSERT_TRUE(SaveChannelDataFile(path, image));

  ASSERT_EQ(Cli({"edit", path}).exit_code, 0);
  MemoryGrid grid;
  ImageToGrid(image, grid);
  RadioImage expected = image;
  GridToImage(grid, expected);
  EXPECT_EQ(Bytes(path),
            std::vector<std::uint8_t>(expected.bytes().begin(), expected.bytes().end()));
  const RadioImage saved = *LoadChannelDataFile(path);
  EXPECT_EQ(saved.at(0xC50), 0x12);
  EXPECT_EQ(saved.at(0x800), 0x34);
  EXPECT_EQ(saved.Record(1)[13], 0xC5);  // the encode of an empty row
}

TEST_F(CliTest, UsageErrorsWriteNothing) {
  const std::string path = NewFile("u.sin");
  const auto before = Bytes(path);
  const std::string out = Path("never.sin");
  const std::vector<std::vector<std::string>> bad = {
      {"edit", path, "-o", out, "0,1=146.5"},
      {"edit", path, "-o", out, "129,1=146.5"},
      {"edit", path, "-o", out, "1,0=146.5"},
      {"edit", path, "-o", out, "1,12=x"},
      {"edit", path, "-o", out, "1,1"},
      {"edit", path, "-o", out, "x,1=146.5"},
      {"edit", path, "-o", out, "1,5=Medium"},
      {"edit", path, "-o", out, "1,3=D999N"},
      {"edit", path, "-o", out, "1,6="},
      {"edit", path, "-o", out, "--field", "10"},
      {"edit", path, "-o", out, "--type", "1"},
      {"edit", path, "-o", out, "--manual", "x"},
      {"edit", path, "-o", out, "--power-rank"},
      {"edit", path, "-o", out, "--bogus", "1"},
      {"edit", "-o", out},
      {"grid"},
      {"grid", path, path},
      {"settings"},
      {"edit", path, "1,1=146.5", "1,7=Medium"},
  };
  for (const auto& args : bad) {
    const CliRun run = Cli(args);
    EXPECT_EQ(run.exit_code, 2) << args.back();
    EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out)) << args.back();
    EXPECT_EQ(Bytes(path), before) << args.back();
  }
}

TEST_F(CliTest, ShortFilesAreRefusedWithTheirSize) {
  const std::string empty = Path("empty.sin");
  std::ofstream(empty).close();
  const std::string short_file = Path("short.sin");
  std::ofstream(short_file) << std::string(100, 'x');
  for (const std::string& path : {empty, short_file}) {
    const std::string size = path == empty ? "0" : "100";
    for (const std::string command : {"grid", "settings", "edit"}) {
      const CliRun run = Cli({command, path});
      EXPECT_EQ(run.exit_code, 3) << command;
      EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
      EXPECT_NE(run.err.find(size + " bytes"), std::string::npos) << run.err;
      EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(fs::file_size(path), path == empty ? 0u : 100u);  // not truncated, not written
  }
}

TEST_F(CliTest, FileErrorsNameTheFileAndChangeNothing) {
  const std::string path = NewFile("f.sin");
  const auto before = Bytes(path);

  CliRun run = Cli({"grid", Path("missing.sin")});
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_NE(run.err.find("missing.sin: cannot open the file: No such file or directory"),
            std::string::npos)
      << run.err;

  const std::string unwritable = Path("no-folder/out.sin");
  run = Cli({"edit", path, "-o", unwritable, "1,1=146.525"});
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_NE(run.err.find(unwritable), std::string::npos) << run.err;
  EXPECT_EQ(Bytes(path), before);

  run = Cli({"new", "-o", dir_.string()});
  EXPECT_EQ(run.exit_code, 3);
  EXPECT_TRUE(fs::is_directory(dir_));
}

// The report and a read's output follow the channel file's save rules:
// pipes, devices and links that lead nowhere are refused before anything
// is drawn or read, and are left as they were.
TEST_F(CliTest, PrintAndReadRefuseOutputsThatSaveWouldRefuse) {
  const std::string path = NewFile("in.sin");
  const std::string fifo = Path("pipe.pdf");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(Path("gone.pdf"), Path("dangling.pdf"));
  fs::create_symlink(Path("loop-b.pdf"), Path("loop-a.pdf"));
  fs::create_symlink(Path("loop-a.pdf"), Path("loop-b.pdf"));
  const std::vector<std::pair<std::string, std::string>> refused = {
      {fifo, ": cannot save: it is a named pipe, not a regular file"},
      {Path("dangling.pdf"),
       ": cannot save: it is a symbolic link to " + Path("gone.pdf") + ", which does not exist"},
      {Path("loop-a.pdf"), ": cannot save: Too many levels of symbolic links"},
  };
  const bool has_print = HasReport();
  for (const auto& [target, reason] : refused) {
    if (has_print) {
      const CliRun print = Cli({"print", path, "-o", target});
      EXPECT_EQ(print.exit_code, 3) << target;
      EXPECT_EQ(print.err, "z-lm5-cli print: " + target + reason + "\n");
    }
    // Refused before the port is opened (this one does not exist).
    const CliRun read = Cli({"read", "--port", Path("no-port"), "-o", target});
    EXPECT_EQ(read.exit_code, 3) << target;
    EXPECT_EQ(read.err, "z-lm5-cli read: " + target + reason + "\n");
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_symlink(Path("dangling.pdf")));
  EXPECT_FALSE(fs::exists(Path("gone.pdf")));
  EXPECT_TRUE(fs::is_symlink(Path("loop-a.pdf")));
}

// ports.conf only maps COM1 to COM4: a device path never reads it, and a
// COM name reads at most a small regular file.
TEST_F(CliTest, PortSettingsAreReadOnlyForAComNameAndOnlyWhenSmallAndRegular) {
  const std::string settings = Path("config/z-lm5/ports.conf");
  fs::create_directories(Path("config/z-lm5"));
  std::ofstream(settings) << "# cable\nCOM1 /dev/ttyUSB0\n";
  ::setenv("XDG_CONFIG_HOME", Path("config").c_str(), 1);
  const std::string out = Path("out.sin");
  const CliRun by_path = Cli({"read", "--port", Path("no-port"), "-o", out});
  ASSERT_EQ(by_path.exit_code, 4) << by_path.err;
  EXPECT_EQ(by_path.err.find("ports.conf"), std::string::npos) << by_path.err;
  const CliRun malformed = Cli({"read", "--port", "COM1", "-o", out});
  EXPECT_EQ(malformed.exit_code, 3);
  EXPECT_EQ(malformed.err,
            "z-lm5-cli read: " + settings + ": line 2: expected NAME = device path\n");

  std::ofstream(settings) << std::string(100000, '#') << "\n";
  const CliRun huge = Cli({"read", "--port", "COM1", "-o", out});
  EXPECT_EQ(huge.exit_code, 3);
  EXPECT_EQ(huge.err, "z-lm5-cli read: " + settings +
                          ": cannot read the port settings: larger than 16384 bytes\n");
  fs::remove(settings);
  ASSERT_EQ(::mkfifo(settings.c_str(), 0600), 0);
  const CliRun fifo = Cli({"read", "--port", "COM1", "-o", out});
  EXPECT_EQ(fifo.exit_code, 3);
  EXPECT_EQ(fifo.err, "z-lm5-cli read: " + settings +
                          ": cannot read the port settings: it is not a regular file\n");
  fs::remove(settings);
  fs::create_symlink("/dev/zero", settings);
  EXPECT_EQ(Cli({"read", "--port", "COM1", "-o", out}).err, fifo.err);
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_FALSE(fs::exists(out));
}

// A table cut off by a full disk must not pass for a complete one.
TEST_F(CliTest, OutputThatCannotBeWrittenFails) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  const std::string path = NewFile("o.sin");
  for (const char* command : {"grid", "settings"}) {
    const CliRun run = Cli({command, path}, "/dev/full");
    EXPECT_EQ(run.exit_code, 3) << command;
    EXPECT_NE(run.err.find("standard output: No space left on device"), std::string::npos)
        << run.err;
  }
}

// A command line built without Qt (the sanitizers' build; Windows without
// a Qt for Windows) lists print as missing and refuses it as a usage error,
// writing nothing.
TEST_F(CliTest, PrintWithoutTheReportSaysWhyAndWritesNothing) {
  if (HasReport()) GTEST_SKIP() << "built with the report";
  EXPECT_NE(
      Cli({"--help"})
          .out.find("  print     not in this build: the report needs the desktop program's Qt\n"),
      std::string::npos);
  const CliRun run = Cli({"print", NewFile("s.sin"), "-o", Path("s.pdf")});
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_EQ(run.err,
            "z-lm5-cli print: not in this build: the report needs the desktop program's Qt\n");
  EXPECT_FALSE(fs::exists(Path("s.pdf")));
}

// Outside a desktop session (no XDG_RUNTIME_DIR) Qt has notes of its own
// about the machine: standard error stays for the command's messages.
TEST_F(CliTest, PrintOutsideASessionPrintsNothingOfQtsOwn) {
  if (!HasReport()) GTEST_SKIP() << "built without the report";
  const std::string path = NewFile("s.sin");
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string runtime_dir = runtime != nullptr ? runtime : "";
  ::unsetenv("XDG_RUNTIME_DIR");
  const CliRun run = Cli({"print", path, "-o", Path("s.pdf"), "--english"});
  if (runtime != nullptr) ::setenv("XDG_RUNTIME_DIR", runtime_dir.c_str(), 1);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(ReadText(Path("s.pdf")).starts_with("%PDF-")) << "the report was written";
}

TEST_F(CliTest, LongerFilesAreReadUpToTheir4096thByte) {
  const std::string path = NewFile("l.sin");
  std::ofstream(path, std::ios::app) << std::string(904, 'z');
  ASSERT_EQ(fs::file_size(path), 5000u);
  ASSERT_EQ(Cli({"grid", path}).exit_code, 0);
  ASSERT_EQ(Cli({"edit", path}).exit_code, 0);
  EXPECT_EQ(fs::file_size(path), 4096u);  // saved like File > Save: the image only
}

}  // namespace
}  // namespace zlm5
