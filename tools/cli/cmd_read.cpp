// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli read: reads the radio into a channel data file.

#include <array>
#include <iostream>
#include <optional>

#include "cli_platform_help.h"
#include "files/channel_document.h"
#include "files/file_saving.h"
#include "link/safe_transfer.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/cli_link_host.h"
#include "tools/cli/cli_radio.h"

namespace zlm5::cli {
namespace {

constexpr std::array<CliOption, 6> kOptions = {{
    {"-p", "--port", OptionKind::kValue, "PORT", platform_help::kReadPort},
    {"", "--into", OptionKind::kValue, "FILE", "channel data file to read into"},
    {"-o", "--output", OptionKind::kValue, "OUT", "the file to write (required)"},
    {"", "--retries", OptionKind::kValue, "N",
     "answer Retry to the first N communication errors,\n"
     "then Cancel (default 0)"},
    {"", "--no-backup", OptionKind::kFlag, "", "keep no backup of the image read"},
    {"", "--trace", OptionKind::kFlag, "",
     "print every byte sent and received, with times, on\n"
     "standard error"},
}};

int RunRead(const std::vector<std::string>& args);

const CliCommand kRead = {
    .name = "read",
    .summary = "read the radio into a channel data file",
    .usage =
        "Usage: z-lm5-cli read --port PORT [--into FILE] -o OUT [--retries N]\n"
        "                      [--no-backup] [--trace]\n"
        "\n"
        "Reads the radio's channels, settings and names (394 blocks) into the\n"
        "image of FILE (default: a new document) and saves OUT as the desktop\n"
        "program saves after Read From Radio. Bytes from 0xC50 on come from FILE.\n"
        "A read that does not complete writes no file. A completed read is also\n"
        "kept as a backup (see z-lm5-cli backups) before OUT is written.\n"
        "\n"
        "Options:\n",
    .order = 40,
    .run = RunRead,
    .options = kOptions,
    .usage_end =
        "\n"
        "Progress and the radio's messages go to standard error, and at the end\n"
        "\"394 blocks read\"; Ctrl+C cancels. A backup that cannot be saved is\n"
        "reported there and does not fail the read.\n"
        "Exit codes: 0 read and saved, 1 communication failed or cancelled,\n"
        "2 usage error, 3 a file cannot be read or written, 4 the port cannot be\n"
        "opened.\n",
};

int RunRead(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, kOptions, parsed)) return UsageError(kRead, *error);
  if (!parsed.positional.empty()) {
    return UsageError(kRead, "unexpected argument '" + parsed.positional.front() + "'");
  }
  const std::string* port = parsed.Value("--port");
  const std::string* output = parsed.Value("--output");
  if (port == nullptr || port->empty()) return UsageError(kRead, "missing --port PORT");
  if (output == nullptr || output->empty()) return UsageError(kRead, "missing -o OUT");
  const auto retries = ParseRetries(kRead, parsed.Value("--retries"));
  if (!retries) return exit_code::kUsage;

  RadioImage image = ChannelDocument::NewDocumentImage();
  if (const std::string* into = parsed.Value("--into")) {
    auto loaded = LoadChannelDataFile(*into);
    if (!loaded) return FileError(kRead, loaded.error());
    image = *loaded;
  }
  CliRadioLine line(kRead, parsed);
  if (int code = exit_code::kOk; !line.Resolve(code)) return code;
  // What Save will need is checked before the radio is read: a read takes a
  // quarter of a minute, and its result must not be lost to a mistyped
  // folder. The save itself still reports anything found only then.
  const Result<SaveTarget> target = CheckSaveTarget(*output);
  if (!target) return FileError(kRead, target.error());

  const SafeTransferReport report =
      RunCliTransfer(TransferDirection::kRead, line, image, CliAnswers{*retries, false}, {});
  switch (report.Overall()) {
    case TransferOutcome::kPortUnavailable:
      return exit_code::kPortError;
    case TransferOutcome::kCancelled:
      std::cerr << "z-lm5-cli read: cancelled; nothing was written\n";
      return exit_code::kFailed;
    case TransferOutcome::kFailed:
      std::cerr << "z-lm5-cli read: the read did not complete; nothing was written\n";
      return exit_code::kFailed;
    case TransferOutcome::kCompleted:
      break;
  }
  // Said before OUT is written: should that fail, the backup still holds
  // what was read.
  PrintTransferReport(report);
  // As the desktop program: the read image is shown in the grid, and
  // saving encodes the grid back into the image before writing it.
  MemoryGrid grid;
  ImageToGrid(image, grid);
  GridToImage(grid, image);
  const Status saved = SaveChannelDataFile(*output, image);
  if (!saved) return FileError(kRead, saved.error());
  return exit_code::kOk;
}

const CliCommandRegistration kRegistration(kRead);

}  // namespace
}  // namespace zlm5::cli
