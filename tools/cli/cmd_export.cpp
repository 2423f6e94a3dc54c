// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli export: the channels of a channel data file as CSV in the
// exchange format that other programming tools and spreadsheets read.

#include <array>
#include <filesystem>
#include <system_error>

#include "files/channel_document.h"
#include "files/file_saving.h"
#include "files/utf8_path.h"
#include "model/channel_codec.h"
#include "model/channel_csv.h"
#include "model/memory_grid.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

constexpr std::array<CliOption, 1> kOptions = {{
    {"-o", "--output", OptionKind::kValue, "OUT.csv",
     "write OUT.csv (replaced only when complete)"},
}};

int RunExport(const std::vector<std::string>& args);

const CliCommand kExport = {
    .name = "export",
    .summary = "write the channels of a channel data file as CSV",
    .usage =
        "Usage: z-lm5-cli export FILE [-o OUT.csv]\n"
        "\n"
        "Writes the channels in use of FILE in the CSV exchange format of the open\n"
        "multi-radio programming tools, to standard output or to OUT.csv: the\n"
        "header\n"
        "  Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,\n"
        "  DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,\n"
        "  RPT1CALL,RPT2CALL,DVCODE\n"
        "then one row per channel in channel order, UTF-8, CRLF line ends. The\n"
        "transmit frequency is a Duplex of +/- with the Offset (up to 10 MHz), a\n"
        "split, or off; the tones are the format's tone modes (Tone, TSQL, DTCS,\n"
        "Cross); Mode is FM (Wide) or NFM (Narrow); Skip is S for Scan No. Opt\n"
        "Signal, BusyLock and PTTID, which the format has no column for, go into\n"
        "Comment as 'OptSignal=None BusyLock=Close PTTID=ON', so that 'z-lm5-cli\n"
        "import' gives back the same channels.\n"
        "\n"
        "Options:\n",
    .order = 50,
    .run = RunExport,
    .options = kOptions,
    .usage_end =
        "\n"
        "Exit codes: 0 written, 2 usage error, 3 FILE cannot be read or OUT.csv\n"
        "cannot be written (an existing OUT.csv is then left as it was).\n",
};

int RunExport(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, kOptions, parsed)) return UsageError(kExport, *error);
  if (parsed.positional.size() != 1) return UsageError(kExport, "expected exactly one FILE");
  const std::string& input = parsed.positional.front();
  const std::string* output = parsed.Value("--output");
  if (output != nullptr && output->empty()) return UsageError(kExport, "empty -o OUT.csv");
  // A slip of the keyboard must not turn the channel data into text.
  std::error_code same_error;
  if (output != nullptr &&
      std::filesystem::equivalent(PathFromUtf8(input), PathFromUtf8(*output), same_error)) {
    return UsageError(kExport, "the CSV would replace the channel data file '" + *output + "'");
  }

  const Result<RadioImage> image = LoadChannelDataFile(input);
  if (!image) return FileError(kExport, image.error());
  MemoryGrid grid;
  ImageToGrid(*image, grid);
  const std::string csv = ChannelsToCsv(grid);

  if (output == nullptr) return WriteOutput(kExport, csv);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(csv.data());
  const Status saved = SaveFile(*output, std::span<const std::uint8_t>(bytes, csv.size()));
  if (!saved) return FileError(kExport, saved.error());
  return exit_code::kOk;
}

const CliCommandRegistration kRegistration(kExport);

}  // namespace
}  // namespace zlm5::cli
