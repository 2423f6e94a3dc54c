// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli diff: what differs between two channel data files, in words.

#include "files/channel_document.h"
#include "model/document_compare.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

int RunDiff(const std::vector<std::string>& args);

const CliCommand kDiff = {
    "diff",
    "list what differs between two channel data files",
    "Usage: z-lm5-cli diff A.sin B.sin\n"
    "\n"
    "Prints what differs from A to B, one line each, in this order:\n"
    "  - channel by channel, each cell as the channel table shows it:\n"
    "      CH 12 Rx Tone: 88.5 → D023N\n"
    "    (\"(empty)\" stands for an empty cell);\n"
    "  - the boxes above the table (Field, Type, Manul Setting, Tx Power Rank):\n"
    "      Field: 136 - 174MHz → 400 - 470MHz\n"
    "  - the radio-wide settings, named and shown as 'z-lm5-cli settings'\n"
    "    prints them:\n"
    "      squelch: 5 → 3\n"
    "  - the low and high power tuning values.\n"
    "Bytes that differ where nothing shown differs are listed by offset, e.g.\n"
    "  CH 7, 9-12: 5 bytes differ that the grid does not show (0x06D, ...)\n"
    "so that the files are equal exactly when nothing is printed.\n"
    "\n"
    "Exit codes: 0 the files are equal, 1 they differ, 2 usage error, 3 a file\n"
    "cannot be read or is not a channel data file.\n",
    34,
    RunDiff,
};

int RunDiff(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, {}, parsed)) return UsageError(kDiff, *error);
  if (parsed.positional.size() != 2) return UsageError(kDiff, "expected two files A and B");

  const Result<RadioImage> before = LoadChannelDataFile(parsed.positional[0]);
  if (!before) return FileError(kDiff, before.error());
  const Result<RadioImage> after = LoadChannelDataFile(parsed.positional[1]);
  if (!after) return FileError(kDiff, after.error());

  const std::vector<Difference> differences = CompareImages(*before, *after);
  std::string out;
  for (const Difference& difference : differences) out += difference.text + '\n';
  if (const int written = WriteOutput(kDiff, out); written != exit_code::kOk) return written;
  return differences.empty() ? exit_code::kOk : exit_code::kFailed;
}

const CliCommandRegistration kRegistration(kDiff);

}  // namespace
}  // namespace zlm5::cli
