// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli new: writes the image of a new document.

#include <array>

#include "files/channel_document.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

constexpr std::array<CliOption, 1> kOptions = {{
    {"-o", "--output", OptionKind::kValue, "FILE", "the file to write (required)"},
}};

int RunNew(const std::vector<std::string>& args);

const CliCommand kNew = {
    .name = "new",
    .summary = "write a new channel data file",
    .usage =
        "Usage: z-lm5-cli new -o FILE\n"
        "\n"
        "Writes the channel data file of a new document: 4096 bytes, all 0xFF\n"
        "(no channel in use, no names) except the fourteen default settings.\n"
        "An existing FILE is replaced; the new file is written beside it first,\n"
        "so a failure leaves the old one intact.\n"
        "\n"
        "Options:\n",
    .order = 10,
    .run = RunNew,
    .options = kOptions,
    .usage_end =
        "\n"
        "Exit codes: 0 written, 2 usage error, 3 the file cannot be written.\n",
};

int RunNew(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, kOptions, parsed)) return UsageError(kNew, *error);
  if (!parsed.positional.empty()) {
    return UsageError(kNew, "unexpected argument '" + parsed.positional.front() + "'");
  }
  const std::string* output = parsed.Value("--output");
  if (output == nullptr || output->empty()) return UsageError(kNew, "missing -o FILE");

  const Status saved = SaveChannelDataFile(*output, ChannelDocument::NewDocumentImage());
  if (!saved) return FileError(kNew, saved.error());
  return exit_code::kOk;
}

const CliCommandRegistration kRegistration(kNew);

}  // namespace
}  // namespace zlm5::cli
