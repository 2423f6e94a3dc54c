// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line parser that z-lm5-cli and z-lm5-radio-sim share.

#include "tools/common/command_line.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace zlm5::cmdline {
namespace {

using Args = std::vector<std::string>;

constexpr std::array<OptionEntry, 6> kTable = {{
    {"-o", "--output", OptionKind::kValue, "OUT", "write OUT instead of FILE"},
    {"-p", "--port", OptionKind::kRepeated, "PORT", "a serial port;\nonce per radio"},
    {"", "--trace", OptionKind::kFlag, "", "print every byte"},
    {"", "--low", OptionKind::kValue, "N", "power tuning bytes", "--low N, --high N"},
    {"", "--high", OptionKind::kValue, "N"},
    kHelpOption,
}};

// "--output=a.sin" -> "--output a.sin", the option's value, the arguments.
std::string Shown(const ParsedArgs& parsed) {
  std::string shown;
  for (const OptionUse& use : parsed.uses) {
    shown += std::string(parsed.entry(use).long_name);
    const OptionKind kind = parsed.entry(use).kind;
    if (kind == OptionKind::kValue || kind == OptionKind::kRepeated) shown += "=" + use.value;
    shown += ' ';
  }
  for (const std::string& arg : parsed.positional) shown += "[" + arg + "] ";
  if (parsed.problem) shown += "! " + parsed.problem->message;
  return shown;
}

std::string ParseShown(const Args& args) { return Shown(Parse(args, kTable)); }

TEST(CommandLine, ValueOptionsInEverySpelling) {
  EXPECT_EQ(ParseShown({"-o", "a.sin", "in.sin"}), "--output=a.sin [in.sin] ");
  EXPECT_EQ(ParseShown({"--output", "a.sin"}), "--output=a.sin ");
  EXPECT_EQ(ParseShown({"--output=a=b.sin"}), "--output=a=b.sin ");
  EXPECT_EQ(ParseShown({"--output="}), "--output= ");
  // The word after a value option is its value, whatever it looks like.
  EXPECT_EQ(ParseShown({"--output", "-x"}), "--output=-x ");
}

TEST(CommandLine, ArgumentsAfterDoubleDashAndLoneDash) {
  EXPECT_EQ(ParseShown({"-", "--", "-o", "--trace"}), "[-] [-o] [--trace] ");
  const ParsedArgs parsed = Parse({"a", "--trace", "b"}, kTable);
  EXPECT_EQ(parsed.argument_positions, (std::vector<std::size_t>{0, 2}));
}

TEST(CommandLine, ProblemsNameTheWordAsGiven) {
  EXPECT_EQ(ParseShown({"-x"}), "! unknown option '-x'");
  EXPECT_EQ(ParseShown({"-o=a.sin"}), "! unknown option '-o=a.sin'");
  EXPECT_EQ(ParseShown({"--trace=1"}), "! unknown option '--trace=1'");
  EXPECT_EQ(ParseShown({"in.sin", "-o"}), "[in.sin] ! option '-o' needs a value");
  EXPECT_EQ(ParseShown({"--port"}), "! option '--port' needs a value");
  EXPECT_EQ(ParseShown({"-o", "a", "--output=b"}),
            "--output=a ! option '--output' is given more than once");
}

TEST(CommandLine, TheFirstProblemOnTheLineIsTold) {
  const ParsedArgs parsed = Parse({"--low", "1", "--bogus", "--port"}, kTable);
  ASSERT_TRUE(parsed.problem);
  EXPECT_EQ(parsed.problem->position, 2u);
  EXPECT_EQ(parsed.problem->message, "unknown option '--bogus'");
  // What came before the problem is there for the program to act on.
  EXPECT_EQ(parsed.uses.size(), 1u);
  EXPECT_EQ(*parsed.Value("--low"), "1");
}

TEST(CommandLine, FlagsAndRepeatedOptionsStandAnywhereBeforeDoubleDash) {
  // Between an option and its value, too: they are picked out first.
  EXPECT_EQ(ParseShown({"--output", "--trace", "a.sin", "--trace"}),
            "--output=a.sin --trace --trace ");
  EXPECT_EQ(ParseShown({"-p", "--trace", "--port=B", "x", "-p", "C"}),
            "--port=--trace --port=B --port=C [x] ");
  const ParsedArgs parsed = Parse({"-p", "A", "--port", "B"}, kTable);
  EXPECT_EQ(parsed.Values("--port"), (Args{"A", "B"}));
  EXPECT_TRUE(Parse({"--trace"}, kTable).Has("--trace"));
  EXPECT_FALSE(Parse({"--", "--trace"}, kTable).Has("--trace"));
  // A "--" taken as a value still ends the flags.
  EXPECT_EQ(ParseShown({"-o", "--", "--trace"}), "--output=-- ! unknown option '--trace'");
}

TEST(CommandLine, FinalOptionEndsTheLine) {
  EXPECT_EQ(ParseShown({"--low", "1", "--help", "--bogus", "-o"}), "--low=1 --help ");
  // A problem before it is still told, and comes first.
  const ParsedArgs parsed = Parse({"--bogus", "-h"}, kTable);
  ASSERT_TRUE(parsed.problem);
  EXPECT_EQ(parsed.problem->position, 0u);
  EXPECT_EQ(parsed.uses.at(0).position, 1u);
}

TEST(CommandLine, TakeOptionsLeavesTheOtherWordsInPlace) {
  Args args = {"write", "--port", "A", "--retries", "2", "-p", "B", "--", "-p", "C"};
  const ParsedArgs ports = TakeOptions(args, std::span(kTable).subspan(1, 1));
  EXPECT_EQ(ports.Values("--port"), (Args{"A", "B"}));
  EXPECT_FALSE(ports.problem);
  EXPECT_EQ(args, (Args{"write", "--retries", "2", "--", "-p", "C"}));
}

TEST(CommandLine, HelpLinesAlignTheTexts) {
  EXPECT_EQ(HelpColumn(kTable), 2u + 17u + 3u);  // "--low N, --high N"
  EXPECT_EQ(OptionHelp(kTable, 22),
            "  -o, --output OUT    write OUT instead of FILE\n"
            "  -p, --port PORT     a serial port;\n"
            "                      once per radio\n"
            "  --trace             print every byte\n"
            "  --low N, --high N   power tuning bytes\n"
            "  -h, --help          show this help\n");
  // Names longer than the column keep two blanks before the text.
  EXPECT_EQ(OptionHelp(std::span(kTable).first(1), 10),
            "  -o, --output OUT  write OUT instead of FILE\n");
}

TEST(CommandLine, VersionNamesTheProgram) {
  EXPECT_EQ(VersionText("z-lm5-cli"), std::string("z-lm5-cli ") + ZLM5_PROJECT_VERSION + "\n");
}

}  // namespace
}  // namespace zlm5::cmdline
