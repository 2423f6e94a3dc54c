// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli import: types the rows of a CSV channel list into a channel
// data file as the user would type them, and reports what it cannot take.

#include <array>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "files/channel_document.h"
#include "files/file_reading.h"
#include "files/utf8_path.h"
#include "model/channel_codec.h"
#include "model/channel_csv.h"
#include "model/memory_grid.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

constexpr std::array<CliOption, 3> kOptions = {{
    {"-o", "--output", OptionKind::kValue, "OUT", "write OUT instead of FILE"},
    {"", "--at", OptionKind::kValue, "N",
     "put the first row at channel N (1-128) and each next\n"
     "row at the next channel, whatever Location says"},
    {"", "--strict", OptionKind::kFlag, "", "when anything is reported, write nothing"},
}};
// Far beyond any channel list (10,000 rows take about a megabyte); a larger
// file is a mistake, and reading it whole would only eat memory.
constexpr std::size_t kMaxCsvSize = 64u << 20;

int RunImport(const std::vector<std::string>& args);

const CliCommand kImport = {
    .name = "import",
    .summary = "type the channels of a CSV list into a channel data file",
    .usage =
        "Usage: z-lm5-cli import FILE CSV [-o OUT] [--at N] [--strict]\n"
        "\n"
        "Opens FILE, reads the channel list CSV in the exchange format that\n"
        "'z-lm5-cli export' writes (columns found by their header name, in any\n"
        "order and case; unknown columns ignored; comma, semicolon or tab\n"
        "separated; UTF-8 with or without a byte-order mark), types each row into\n"
        "its channel as a user would type the cells into an emptied row, and saves\n"
        "like File > Save to OUT or back to FILE.\n"
        "\n"
        "Each row goes to the channel its Location names (when some row has\n"
        "Location 0 the locations count from 0); without a Location column the rows\n"
        "fill channels 1, 2, 3 ... Channels the CSV does not name are not touched.\n"
        "\n"
        "What the radio cannot hold is not guessed: a row with a frequency outside\n"
        "67-521 MHz or off the 6.25/5/2.5 kHz steps, a Mode other than FM or NFM, a\n"
        "tone or DCS code the radio lacks, a reverse-squelch tone mode, a Location\n"
        "beyond 128 or a malformed row is skipped; a Power or Comment setting the\n"
        "radio lacks leaves that cell at its default. Each of them, and each name\n"
        "that had to be shortened or changed (names hold up to 6 of A-Z, 0-9, '-'\n"
        "and blank), is reported on standard error as CSV:LINE: reason; after\n"
        "200 such lines one more counts the rest. Reading stops at the first row\n"
        "that can find no channel, and a last line says how many rows were not read.\n"
        "\n"
        "Options:\n",
    .order = 51,
    .run = RunImport,
    .options = kOptions,
    .usage_end =
        "\n"
        "Exit codes: 0 saved, 2 usage error, CSV is no channel list, or --strict\n"
        "with a report (nothing is written), 3 a file cannot be read or written.\n",
};

int RunImport(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, kOptions, parsed)) return UsageError(kImport, *error);
  if (parsed.positional.size() != 2) return UsageError(kImport, "expected FILE and CSV");
  const std::string& input = parsed.positional[0];
  const std::string& csv_path = parsed.positional[1];
  const std::string* output_option = parsed.Value("--output");
  if (output_option != nullptr && output_option->empty())
    return UsageError(kImport, "empty -o OUT");
  const std::string output = output_option != nullptr ? *output_option : input;
  CsvImportOptions options;
  if (const std::string* at = parsed.Value("--at")) {
    const auto channel = ParseInt(*at);
    if (!channel || *channel < 1 || *channel > image_map::kChannelCount) {
      return UsageError(kImport, "--at takes a channel from 1 to 128, not '" + *at + "'");
    }
    options.first_channel = *channel;
  }
  std::error_code same_error;
  if (std::filesystem::equivalent(PathFromUtf8(csv_path), PathFromUtf8(output), same_error)) {
    return UsageError(kImport, "the channel data would replace the CSV '" + csv_path + "'");
  }

  ChannelDocument document;
  if (const Status opened = document.Open(input); !opened)
    return FileError(kImport, opened.error());
  const Result<std::string> text = ReadFileStart(csv_path, {kMaxCsvSize, true, "a channel list"});
  if (!text) return FileError(kImport, text.error());
  Result<ChannelCsvImport> import = ReadChannelCsv(*text, options);
  if (!import) {
    Error error = import.error();
    std::cerr << "z-lm5-cli import: " << error.Within(csv_path).Message() << '\n';
    return exit_code::kUsage;
  }

  // The report is bounded (ReadChannelCsv); it goes out in one write.
  std::string report;
  for (const ImportReportLine& line : import->report) {
    report += csv_path + ':' + std::to_string(line.line) + ": " + line.reason + '\n';
  }
  std::cerr << report;
  if (parsed.Has("--strict") && !import->report.empty()) {
    std::cerr << "z-lm5-cli import: nothing was written (--strict)\n";
    return exit_code::kUsage;
  }

  MemoryGrid grid;
  ImageToGrid(document.image(), grid);
  ApplyChannelImport(*import, grid);
  GridToImage(grid, document.image());
  if (const Status saved = document.Save(output); !saved) return FileError(kImport, saved.error());
  return exit_code::kOk;
}

const CliCommandRegistration kRegistration(kImport);

}  // namespace
}  // namespace zlm5::cli
