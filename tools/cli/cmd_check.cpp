// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli check: lists what in a channel table is likely a mistake.

#include "files/channel_document.h"
#include "model/channel_checks.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

int RunCheck(const std::vector<std::string>& args);

const CliCommand kCheck = {
    "check",
    "list channels that are likely mistakes",
    "Usage: z-lm5-cli check FILE\n"
    "\n"
    "Checks the channel table of FILE as the program shows it and prints one\n"
    "line per finding, in channel order, each starting \"CH N: \":\n"
    "  - a receive or transmit frequency outside the band chosen in the Field\n"
    "    box (the radio accepts it; the line is a warning);\n"
    "  - a channel with a transmit but no receive frequency;\n"
    "  - a channel with the same receive frequency, Rx Tone and Tx Tone as an\n"
    "    earlier one (the line names the first);\n"
    "  - a name that an earlier channel in use already bears.\n"
    "Only channels with a frequency are checked. Nothing is printed when\n"
    "nothing is found.\n"
    "\n"
    "Exit codes: 0 nothing found, 1 findings printed, 2 usage error, 3 the file\n"
    "cannot be read or is not a channel data file.\n",
    32,
    RunCheck,
};

int RunCheck(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, {}, parsed)) return UsageError(kCheck, *error);
  if (parsed.positional.size() != 1) return UsageError(kCheck, "expected exactly one FILE");

  const Result<RadioImage> image = LoadChannelDataFile(parsed.positional.front());
  if (!image) return FileError(kCheck, image.error());

  MemoryGrid grid;
  ImageToGrid(*image, grid);
  const std::vector<ChannelFinding> findings = CheckChannels(grid);
  std::string out;
  for (const ChannelFinding& finding : findings) out += finding.text + '\n';
  if (const int written = WriteOutput(kCheck, out); written != exit_code::kOk) return written;
  return findings.empty() ? exit_code::kOk : exit_code::kFailed;
}

const CliCommandRegistration kRegistration(kCheck);

}  // namespace
}  // namespace zlm5::cli
