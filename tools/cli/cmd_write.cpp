// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli write: writes a channel data file to the radio.

#include <array>
#include <iostream>

#include "cli_platform_help.h"
#include "files/channel_document.h"
#include "link/safe_transfer.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/cli_link_host.h"
#include "tools/cli/cli_radio.h"

namespace zlm5::cli {
namespace {

constexpr std::array<CliOption, 8> kOptions = {{
    {"-p", "--port", OptionKind::kValue, "PORT", platform_help::kWritePort},
    {"", "--raw", OptionKind::kFlag, "", "send the bytes of FILE unchanged"},
    {"", "--retries", OptionKind::kValue, "N",
     "answer Retry to the first N communication\n"
     "errors, then Cancel (default 0)"},
    {"", "--accept-type-mismatch", OptionKind::kFlag, "",
     "answer OK when the radio's type differs from\n"
     "the file's (default Cancel)"},
    {"", "--backup-first", OptionKind::kFlag, "",
     "read the radio into a backup before writing;\n"
     "if that read fails, nothing is written"},
    {"", "--verify", OptionKind::kFlag, "",
     "after the write, read the radio back and compare\n"
     "bytes 0x000-0xC4F with what was sent; each\n"
     "difference is printed, channel by channel"},
    {"", "--no-backup", OptionKind::kFlag, "", "keep no backups (not with --backup-first)"},
    {"", "--trace", OptionKind::kFlag, "",
     "print every byte sent and received, with\n"
     "times, on standard error"},
}};

int RunWrite(const std::vector<std::string>& args);

const CliCommand kWrite = {
    .name = "write",
    .summary = "write a channel data file to the radio",
    .usage =
        "Usage: z-lm5-cli write --port PORT FILE [--raw] [--retries N]\n"
        "                       [--accept-type-mismatch] [--backup-first] [--verify]\n"
        "                       [--no-backup] [--trace]\n"
        "\n"
        "Writes FILE to the radio (394 blocks, bytes 0x000-0xC4F) exactly as the\n"
        "desktop program does after opening FILE: the channels are decoded into\n"
        "the table and encoded back before they are sent. The image sent is kept\n"
        "as a backup (see z-lm5-cli backups) once the write has completed.\n"
        "\n"
        "Options:\n",
    .order = 41,
    .run = RunWrite,
    .options = kOptions,
    .usage_end =
        "\n"
        "Progress and the radio's messages go to standard error, and at the end\n"
        "\"394 blocks written\" (and \"Radio verified: 394 blocks match\"); Ctrl+C\n"
        "cancels. A backup that cannot be saved after the write is reported there\n"
        "and does not fail the write. A write that stops after the radio took some\n"
        "of its blocks (the radio stopped acknowledging, the cable was cut, Ctrl+C)\n"
        "says how many blocks the radio now holds.\n"
        "Exit codes: 0 written (and verified), 1 communication failed, cancelled or\n"
        "the radio does not hold what was written, 2 usage error, 3 FILE cannot be\n"
        "read or the backup of the radio cannot be saved (nothing was written),\n"
        "4 the port cannot be opened.\n",
};

int RunWrite(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, kOptions, parsed)) return UsageError(kWrite, *error);
  if (parsed.positional.empty()) return UsageError(kWrite, "missing FILE");
  if (parsed.positional.size() > 1) {
    return UsageError(kWrite, "unexpected argument '" + parsed.positional[1] + "'");
  }
  const std::string* port = parsed.Value("--port");
  if (port == nullptr || port->empty()) return UsageError(kWrite, "missing --port PORT");
  const auto retries = ParseRetries(kWrite, parsed.Value("--retries"));
  if (!retries) return exit_code::kUsage;
  if (parsed.Has("--backup-first") && parsed.Has("--no-backup")) {
    return UsageError(kWrite, "--backup-first needs the backups that --no-backup turns off");
  }

  auto loaded = LoadChannelDataFile(parsed.positional.front());
  if (!loaded) return FileError(kWrite, loaded.error());
  RadioImage image = *loaded;
  if (!parsed.Has("--raw")) {
    // Opening shows the file in the grid; Write To Radio encodes the grid.
    MemoryGrid grid;
    ImageToGrid(image, grid);
    GridToImage(grid, image);
  }
  CliRadioLine line(kWrite, parsed);
  if (int code = exit_code::kOk; !line.Resolve(code)) return code;

  SafeTransferOptions options;
  options.backup_first = parsed.Has("--backup-first");
  options.verify = parsed.Has("--verify");
  const SafeTransferReport report =
      RunCliTransfer(TransferDirection::kWrite, line, image,
                     CliAnswers{*retries, parsed.Has("--accept-type-mismatch")}, options);
  PrintTransferReport(report);
  if (report.last_pass == TransferPass::kTransfer) {
    if (report.outcome == TransferOutcome::kCancelled) std::cerr << "z-lm5-cli write: cancelled\n";
    if (report.outcome == TransferOutcome::kFailed) {
      std::cerr << "z-lm5-cli write: the write did not complete\n";
    }
  }
  switch (report.Overall()) {
    case TransferOutcome::kCompleted:
      return exit_code::kOk;
    case TransferOutcome::kPortUnavailable:
      return exit_code::kPortError;
    case TransferOutcome::kCancelled:
      return exit_code::kFailed;
    case TransferOutcome::kFailed:
      // The radio was read but its backup could not be saved: a file error,
      // and nothing was written.
      if (report.last_pass == TransferPass::kBackupRead &&
          report.outcome == TransferOutcome::kCompleted) {
        return exit_code::kFileError;
      }
      return exit_code::kFailed;
  }
  return exit_code::kFailed;
}

const CliCommandRegistration kRegistration(kWrite);

}  // namespace
}  // namespace zlm5::cli
