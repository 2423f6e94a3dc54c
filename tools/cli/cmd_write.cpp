// z-lm5-cli write: writes a channel data file to the radio.

#include <array>
#include <iostream>
#include <memory>

#include "files/channel_document.h"
#include "link/transfer.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/cli_link_host.h"

namespace zlm5::cli {
namespace {

constexpr std::array<CliOption, 2> kOptions = {{
    {"-p", "--port"},
    {"", "--retries"},
}};

int RunWrite(const std::vector<std::string>& args);

const CliCommand kWrite = {
    "write",
    "write a channel data file to the radio",
    "Usage: z-lm5-cli write --port PORT FILE [--raw] [--retries N]\n"
    "                       [--accept-type-mismatch] [--trace]\n"
    "\n"
    "Writes FILE to the radio (394 blocks, bytes 0x000-0xC4F) exactly as the\n"
    "desktop program does after opening FILE: the channels are decoded into\n"
    "the table and encoded back before they are sent.\n"
    "\n"
    "Options:\n"
    "  -p, --port PORT          COM1 to COM4 (mapped to devices in\n"
    "                           ~/.config/z-lm5/ports.conf; default\n"
    "                           /dev/ttyS0..3) or a device path\n"
    "  --raw                    send the bytes of FILE unchanged\n"
    "  --retries N              answer Retry to the first N communication\n"
    "                           errors, then Cancel (default 0)\n"
    "  --accept-type-mismatch   answer OK when the radio's type differs from\n"
    "                           the file's (default Cancel)\n"
    "  --trace                  print every byte sent and received, with\n"
    "                           times, on standard error\n"
    "\n"
    "Progress and the radio's messages go to standard error; Ctrl+C cancels.\n"
    "Exit codes: 0 written, 1 communication failed or cancelled, 2 usage\n"
    "error, 3 FILE cannot be read, 4 the port cannot be opened.\n",
    41,
    RunWrite,
};

int RunWrite(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  const auto flags = TakeFlags(args, {"--trace", "--raw", "--accept-type-mismatch"});
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

  auto loaded = LoadChannelDataFile(parsed.positional.front());
  if (!loaded) return FileError(kWrite, loaded.error());
  RadioImage image = *loaded;
  if (!flags.contains("--raw")) {
    // Opening shows the file in the grid; Write To Radio encodes the grid.
    MemoryGrid grid;
    ImageToGrid(image, grid);
    GridToImage(grid, image);
  }
  int code = exit_code::kOk;
  const auto device = ResolveCliPort(kWrite, *port, code);
  if (!device) return code;

  CliRadioPort radio_port(flags.contains("--trace"));
  SerialTransport* transport = &radio_port.transport();
  InstallCancelOnInterrupt();
  TransferOutcome outcome;
  {
    CliTransferHost host(CliAnswers{*retries, flags.contains("--accept-type-mismatch")});
    outcome = RunTransfer(TransferDirection::kWrite, *transport, *device, image, host);
  }
  switch (outcome) {
    case TransferOutcome::kCompleted: return exit_code::kOk;
    case TransferOutcome::kPortUnavailable: return exit_code::kPortError;
    case TransferOutcome::kCancelled:
      std::cerr << "z-lm5-cli write: cancelled\n";
      return exit_code::kFailed;
    case TransferOutcome::kFailed:
      std::cerr << "z-lm5-cli write: the write did not complete\n";
      return exit_code::kFailed;
  }
  return exit_code::kFailed;
}

const CliCommandRegistration kRegistration(kWrite);

}  // namespace
}  // namespace zlm5::cli
