// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli grid: prints the channel table as the view shows it.

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

// Room for the whole table at once: 128 rows of 12 short cells.
constexpr std::size_t kTableTextSize = 16 * 1024;

int RunGrid(const std::vector<std::string>& args);

const CliCommand kGrid = {
    "grid",
    "print the channel table of a channel data file",
    "Usage: z-lm5-cli grid FILE\n"
    "\n"
    "Prints the channel table as the program shows it after opening FILE, in\n"
    "UTF-8: 128 lines, one per channel 1 to 128, each holding the texts of the\n"
    "12 grid columns separated by tabs:\n"
    "  CH, Receive(MHz), Transmit(MHz), Rx Tone, Tx Tone, W/N, Scan, Tx Power,\n"
    "  Opt Signal, PTTID, BusyLock, Name\n"
    "(an empty cell is an empty field), then one line\n"
    "  form<TAB>FIELD<TAB>TYPE<TAB>MANUAL<TAB>POWER_RANK\n"
    "with the entry indexes selected in the Field, Type, Manul Setting and\n"
    "Tx Power Rank boxes, -1 for no selection. Scripts may rely on this format.\n"
    "\n"
    "Exit codes: 0 printed, 2 usage error, 3 the file cannot be read or is not\n"
    "a channel data file (shorter than 4096 bytes).\n",
    20,
    RunGrid,
};

int RunGrid(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, {}, parsed)) return UsageError(kGrid, *error);
  if (parsed.positional.size() != 1) return UsageError(kGrid, "expected exactly one FILE");

  const Result<RadioImage> image = LoadChannelDataFile(parsed.positional.front());
  if (!image) return FileError(kGrid, image.error());

  MemoryGrid grid;
  ImageToGrid(*image, grid);
  std::string out;
  out.reserve(kTableTextSize);
  for (int row = 1; row < grid_layout::kRows; ++row) {
    for (int col = 0; col < grid_layout::kColumns; ++col) {
      if (col > 0) out += '\t';
      out += grid.TextMatrix(row, col);
    }
    out += '\n';
  }
  out += "form";
  for (const FormBox box : {FormBox::Field, FormBox::Type, FormBox::Manual, FormBox::PowerRank}) {
    out += '\t';
    out += std::to_string(grid.BoxSelection(box));
  }
  out += '\n';
  return WriteOutput(kGrid, out);
}

const CliCommandRegistration kRegistration(kGrid);

}  // namespace
}  // namespace zlm5::cli
