// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli edit: edits cells of the channel table and the form boxes the way
// a user does in the program, then saves like File > Save.

#include <array>
#include <iostream>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/channel_name.h"
#include "model/form_lists.h"
#include "model/memory_grid.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

constexpr std::array<CliOption, 5> kOptions = {{
    {"-o", "--output", OptionKind::kValue, "OUT", "write OUT instead of FILE"},
    {"", "--field", OptionKind::kValue, "N", "Field box entry 0-9 (band)"},
    {"", "--type", OptionKind::kValue, "N", "Type box entry 0"},
    {"", "--manual", OptionKind::kValue, "N", "Manul Setting box entry: 0 Open, 1 Close"},
    {"", "--power-rank", OptionKind::kValue, "N", "Tx Power Rank box entry 0-9"},
}};

struct BoxOption {
  std::string_view name;
  FormBox box;
};
constexpr std::array<BoxOption, 4> kBoxOptions = {{
    {"--field", FormBox::Field},
    {"--type", FormBox::Type},
    {"--manual", FormBox::Manual},
    {"--power-rank", FormBox::PowerRank},
}};

// One ROW,COL=TEXT argument, with TEXT as the cell's editor would hold it.
struct CellEdit {
  std::string arg;  // as given, for messages
  int row = 0;
  int col = 0;
  std::string text;
};

int RunEdit(const std::vector<std::string>& args);

const CliCommand kEdit = {
    .name = "edit",
    .summary = "edit channel cells and form boxes of a channel data file",
    .usage =
        "Usage: z-lm5-cli edit FILE [-o OUT] [--field N] [--type N] [--manual N]\n"
        "                      [--power-rank N] [ROW,COL=TEXT...]\n"
        "\n"
        "Opens FILE, types each TEXT into the editor of grid cell ROW,COL (ROW 1-128\n"
        "is the channel, COL 1-11 the column), in the order given, and leaves the\n"
        "cell as a user would, with the same row rules as the program: a first\n"
        "frequency fills the row's defaults, and the columns 3-10 only take a text\n"
        "in a row that has a frequency. Then the table and the form boxes are\n"
        "encoded and saved as File > Save does, to OUT or back to FILE. Without any\n"
        "edit the file is opened and saved as the window would save it, so the\n"
        "encoding may still change bytes.\n"
        "\n"
        "A TEXT the program would refuse with a message (a frequency out of range\n"
        "or off the channel step, a text that is not a number) stops the command:\n"
        "the message and the edit go to standard error and nothing is written. All\n"
        "edits of one command are saved, or none.\n"
        "\n"
        "Columns:\n"
        "   1 Receive(MHz), 2 Transmit(MHz): a frequency in MHz, or empty to clear\n"
        "   3 Rx Tone, 4 Tx Tone: OFF, a CTCSS tone (67.0 .. 254.1) or a DCS code\n"
        "     (D023N .. D754N, D023I .. D754I)\n"
        "   5 W/N: Wide, Narrow      6 Scan: Yes, No        7 Tx Power: Low, High\n"
        "   8 Opt Signal: None, CCIR 9 PTTID: OFF, ON      10 BusyLock: Close,\n"
        "     Carrier, QT/DQT\n"
        "  11 Name: up to 6 of A-Z, 0-9, '-' and blank (letters in upper case,\n"
        "     other characters dropped, as the name editor does)\n"
        "List entries of columns 3-10 are matched ignoring case.\n"
        "\n"
        "Options:\n",
    .order = 36,
    .run = RunEdit,
    .options = kOptions,
    .usage_end =
        "  (N = -1 leaves a box without a selection)\n"
        "\n"
        "Exit codes: 0 saved, 2 usage error or a refused TEXT (nothing is\n"
        "written), 3 a file cannot be read or written (no file is changed).\n",
};

// Parses "ROW,COL=TEXT"; returns a usage message on failure.
std::optional<std::string> ParseCellEdit(const std::string& arg, CellEdit& edit) {
  const std::size_t equals = arg.find('=');
  if (equals == std::string::npos) return "edit '" + arg + "' has no '=' (expected ROW,COL=TEXT)";
  const std::string_view place = std::string_view(arg).substr(0, equals);
  const std::size_t comma = place.find(',');
  if (comma == std::string_view::npos)
    return "edit '" + arg + "' has no ',' (expected ROW,COL=TEXT)";
  const auto row = ParseInt(place.substr(0, comma));
  const auto col = ParseInt(place.substr(comma + 1));
  if (!row || *row < 1 || *row > image_map::kChannelCount) {
    return "edit '" + arg + "': the row must be a number from 1 to 128";
  }
  if (!col || *col < 1 || *col >= grid_layout::kColumns) {
    return "edit '" + arg + "': the column must be a number from 1 to 11";
  }
  edit.arg = arg;
  edit.row = *row;
  edit.col = *col;
  const std::string text = arg.substr(equals + 1);
  if (cell_lists::IsSelectionColumn(edit.col)) {
    const int entry = cell_lists::FindEntry(edit.col, text);
    if (entry < 0) {
      std::string_view header = kColumnHeaders[edit.col];
      while (header.starts_with(' ')) header.remove_prefix(1);
      while (header.ends_with(' ')) header.remove_suffix(1);
      return "edit '" + arg + "': '" + text + "' is not an entry of the " + std::string(header) +
             " list";
    }
    edit.text = std::string(cell_lists::EntryText(edit.col, entry));
  } else if (edit.col == grid_layout::kColName) {
    edit.text = NameEditorText(text);
  } else {
    edit.text = text;
  }
  return std::nullopt;
}

int RunEdit(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, kOptions, parsed)) return UsageError(kEdit, *error);
  if (parsed.positional.empty()) return UsageError(kEdit, "missing FILE");
  const std::string input = parsed.positional.front();

  std::vector<CellEdit> edits;
  for (std::size_t i = 1; i < parsed.positional.size(); ++i) {
    CellEdit edit;
    if (auto error = ParseCellEdit(parsed.positional[i], edit)) return UsageError(kEdit, *error);
    edits.push_back(std::move(edit));
  }
  std::vector<std::pair<FormBox, int>> boxes;
  for (const BoxOption& option : kBoxOptions) {
    const std::string* value = parsed.Value(option.name);
    if (value == nullptr) continue;
    const auto index = ParseInt(*value);
    const int count = form_lists::EntryCount(option.box);
    if (!index || *index < -1 || *index >= count) {
      return UsageError(kEdit, std::string(option.name) + " takes an entry index from -1 to " +
                                   std::to_string(count - 1) + ", not '" + *value + "'");
    }
    boxes.emplace_back(option.box, *index);
  }
  const std::string* output_option = parsed.Value("--output");
  if (output_option != nullptr && output_option->empty()) return UsageError(kEdit, "empty -o OUT");
  const std::string output = output_option != nullptr ? *output_option : input;

  ChannelDocument document;
  if (const Status opened = document.Open(input); !opened) return FileError(kEdit, opened.error());
  MemoryGrid grid;
  ImageToGrid(document.image(), grid);
  // The window shows a refused text in a message box and goes on with an
  // empty cell; a script cannot see the box, so the command stops instead.
  // Every edit is still tried, so that one run names every refused one.
  bool refused = false;
  for (const CellEdit& edit : edits) {
    const std::string message =
        CommitCellText(grid, edit.row, edit.col, edit.text, CommitPath::LeaveCell);
    if (!message.empty()) {
      std::cerr << "z-lm5-cli edit: '" << edit.arg << "': " << message << '\n';
      refused = true;
    }
  }
  if (refused) {
    std::cerr << "z-lm5-cli edit: nothing was written\n";
    return exit_code::kUsage;
  }
  for (const auto& [box, index] : boxes) grid.SetBoxSelection(box, index);

  GridToImage(grid, document.image());
  if (const Status saved = document.Save(output); !saved) return FileError(kEdit, saved.error());
  return exit_code::kOk;
}

const CliCommandRegistration kRegistration(kEdit);

}  // namespace
}  // namespace zlm5::cli
