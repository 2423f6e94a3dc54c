// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_rows.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "model/channel_codec.h"
#include "model/channel_name.h"
#include "model/csv_text.h"
#include "model/form_lists.h"
#include "model/frequency_text.h"
#include "model/text_util.h"
#include "model/tone_tables.h"

namespace zlm5 {
namespace gl = grid_layout;
namespace cl = cell_lists;

namespace {

constexpr int kFirstRow = 1;
constexpr int kLastRow = gl::kRows - 1;
constexpr int kDataColumns = gl::kColumns - 1;  // columns 1..11
constexpr char kTab = '\t';
constexpr std::string_view kSkipped = "; the line is skipped";

using RowCells = std::array<std::string, gl::kColumns>;

RowCells ReadRow(const ChannelGrid& grid, int row) {
  RowCells cells;
  for (int col = gl::kColReceive; col < gl::kColumns; ++col) cells[col] = grid.TextMatrix(row, col);
  return cells;
}

void WriteRow(ChannelGrid& grid, int row, const RowCells& cells) {
  for (int col = gl::kColReceive; col < gl::kColumns; ++col)
    grid.SetTextMatrix(row, col, cells[col]);
}

bool IsChannel(int row) { return row >= kFirstRow && row <= kLastRow; }

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// A header as a report names its column: without the blanks around it.
std::string ColumnName(int col) {
  std::string_view name = kColumnHeaders[static_cast<std::size_t>(col)];
  while (name.starts_with(' ')) name.remove_prefix(1);
  while (name.ends_with(' ')) name.remove_suffix(1);
  return std::string(name);
}

// The column headers, copied with the channels from a spreadsheet: all of
// them, or the first few.
bool IsHeaderLine(const std::vector<std::string>& fields) {
  if (fields.size() > kDataColumns + 1) return false;
  const int first_col = fields.size() <= kDataColumns ? gl::kColReceive : gl::kColChannel;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (!EqualsIgnoringCase(fields[i], ColumnName(first_col + static_cast<int>(i)))) return false;
  }
  return true;
}

// Reads the fields of one line into `channel`; the reason when the line
// cannot stand. Report lines for fields that only keep a default go to
// `report`.
class GridLineReader {
 public:
  GridLineReader(const CsvRecord& record, ImportedChannel& channel,
                 std::vector<ImportReportLine>& report)
      : record_(record), channel_(channel), report_(report) {}

  std::optional<std::string> Read() {
    std::size_t first = 0;
    if (record_.fields.size() > kDataColumns + 1) {
      return "the line has " + std::to_string(record_.fields.size()) +
             " fields where a channel has 11 (12 with its number)";
    }
    if (record_.fields.size() == kDataColumns + 1) first = 1;  // the channel number
    for (std::size_t i = first; i < record_.fields.size(); ++i) {
      const int col = gl::kColReceive + static_cast<int>(i - first);
      if (auto problem = ReadField(col, record_.fields[i])) return problem;
    }
    return std::nullopt;
  }

 private:
  std::optional<std::string> ReadField(int col, const std::string& text) {
    switch (EditorKindForColumn(col)) {
      case CellEditorKind::Frequency:
        return ReadFrequency(col, text);
      case CellEditorKind::Tone:
        return ReadTone(col, text);
      case CellEditorKind::List:
        ReadListCell(col, text);
        return std::nullopt;
      case CellEditorKind::Name:
        ReadName(text);
        return std::nullopt;
    }
    return std::nullopt;
  }

  std::optional<std::string> ReadFrequency(int col, const std::string& text) {
    const FrequencyCommit commit = CommitFrequencyText(text);
    if (commit.error == kFrequencyFormatError) {
      return ColumnName(col) + " " + Quoted(text) + " is not a frequency within 67-521 MHz";
    }
    if (!commit.error.empty()) {
      return ColumnName(col) + " " + Quoted(text) + " is not on a 6.25, 5 or 2.5 kHz step";
    }
    // An empty frequency is typed too: a channel that only receives has an
    // empty transmit cell.
    channel_.cells[col] = commit.text;
    return std::nullopt;
  }

  std::optional<std::string> ReadTone(int col, const std::string& text) {
    if (text.empty()) return std::nullopt;
    const int entry = cl::FindEntry(col, text);
    if (entry < 0) return ColumnName(col) + " " + Quoted(text) + " is not a tone of the radio";
    channel_.cells[col] = std::string(cl::EntryText(col, entry));
    return std::nullopt;
  }

  void ReadListCell(int col, const std::string& text) {
    // An empty Opt Signal is what the grid shows for a channel whose byte
    // holds neither entry; the paste decides by the channel it lands on.
    if (text.empty() && col == gl::kColOptSignal) channel_.cells[col] = text;
    if (text.empty()) return;
    const int entry = cl::FindEntry(col, text);
    if (entry >= 0) {
      channel_.cells[col] = std::string(cl::EntryText(col, entry));
      return;
    }
    Report(ColumnName(col) + " " + Quoted(text) +
           " is not an entry of its list; the channel keeps " + "what a new channel gets");
  }

  void ReadName(const std::string& name) {
    ImportedName imported = ImportName(name);
    if (!imported.reason.empty()) Report(std::move(imported.reason));
    channel_.cells[gl::kColName] = std::move(imported.held);
  }

  void Report(std::string reason) {
    report_.push_back({record_.line, channel_.channel, std::move(reason)});
  }

  const CsvRecord& record_;
  ImportedChannel& channel_;
  std::vector<ImportReportLine>& report_;
};

}  // namespace

bool RowInUse(const ChannelGrid& grid, int row) {
  for (int col = gl::kColReceive; col < gl::kColumns; ++col) {
    if (!grid.TextMatrix(row, col).empty()) return true;
  }
  return false;
}

void ClearRows(ChannelGrid& grid, std::span<const int> rows) {
  for (const int row : rows) {
    if (IsChannel(row)) WriteRow(grid, row, RowCells{});
  }
}

void InsertEmptyRow(ChannelGrid& grid, int row) {
  if (!IsChannel(row)) return;
  for (int target = kLastRow; target > row; --target)
    WriteRow(grid, target, ReadRow(grid, target - 1));
  WriteRow(grid, row, RowCells{});
}

void DeleteRows(ChannelGrid& grid, std::span<const int> rows) {
  std::array<bool, gl::kRows> deleted{};
  for (const int row : rows) {
    if (IsChannel(row)) deleted[static_cast<std::size_t>(row)] = true;
  }
  int target = kFirstRow;
  for (int source = kFirstRow; source <= kLastRow; ++source) {
    if (deleted[static_cast<std::size_t>(source)]) continue;
    if (target != source) WriteRow(grid, target, ReadRow(grid, source));
    ++target;
  }
  for (; target <= kLastRow; ++target) WriteRow(grid, target, RowCells{});
}

bool MoveRows(ChannelGrid& grid, std::span<const int> rows, int step) {
  if (rows.empty() || (step != -1 && step != 1)) return false;
  for (const int row : rows) {
    if (!IsChannel(row) || !IsChannel(row + step)) return false;
  }
  // Nearest the edge first: each channel swaps with its neighbour, which is
  // either unselected or has already moved on.
  if (step < 0) {
    for (const int row : rows) {
      const RowCells passed = ReadRow(grid, row - 1);
      WriteRow(grid, row - 1, ReadRow(grid, row));
      WriteRow(grid, row, passed);
    }
  } else {
    // Last row first. (Not a reverse_view: clang 14 cannot read libstdc++ 12's.)
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {  // NOLINT(modernize-loop-convert)
      const RowCells passed = ReadRow(grid, *it + 1);
      WriteRow(grid, *it + 1, ReadRow(grid, *it));
      WriteRow(grid, *it, passed);
    }
  }
  return true;
}

std::string RowsToGridText(const ChannelGrid& grid, std::span<const int> rows) {
  std::string out;
  for (const int row : rows) {
    if (!IsChannel(row)) continue;
    for (int col = gl::kColReceive; col < gl::kColumns; ++col) {
      if (col > gl::kColReceive) out += kTab;
      out += CsvField(grid.TextMatrix(row, col), kTab);
    }
    out += '\n';
  }
  return out;
}

ChannelCsvImport ReadGridText(std::string_view text, int first_channel) {
  // Spreadsheets separate cells by tabs; a first line of one cell has none.
  const CsvTable table =
      text.find(kTab) != std::string_view::npos ? ParseCsv(text, kTab) : ParseCsv(text);
  ChannelCsvImport import;
  int next_channel = first_channel;
  for (const CsvRecord& record : table.records) {
    if (IsHeaderLine(record.fields)) continue;
    ImportedChannel channel;
    channel.line = record.line;
    auto skip = [&](const std::string& reason) {
      import.report.push_back({record.line, channel.channel, reason + std::string(kSkipped)});
    };
    if (!IsChannel(next_channel)) {
      skip("no channel is left for this line (channel 128 is the last)");
      continue;
    }
    channel.channel = next_channel++;
    if (record.unterminated) {
      skip("a quoted field is not closed before the end of the text");
      break;
    }
    std::vector<ImportReportLine> field_report;
    GridLineReader reader(record, channel, field_report);
    if (const auto problem = reader.Read()) {
      skip(*problem);
      continue;
    }
    import.report.insert(import.report.end(), field_report.begin(), field_report.end());
    import.channels.push_back(std::move(channel));
  }
  return import;
}

void ApplyPastedChannels(const ChannelCsvImport& import, ChannelGrid& grid) {
  ChannelCsvImport placed = import;
  for (ImportedChannel& channel : placed.channels) {
    if (!IsChannel(channel.channel) || RowHasFrequency(grid, channel.channel)) continue;
    for (int col = gl::kColBandwidth; col <= gl::kColBusyLock; ++col) {
      auto& cell = channel.cells[static_cast<std::size_t>(col)];
      if (cell && cell->empty()) cell.reset();
    }
  }
  ApplyChannelImport(placed, grid);

  const std::string no_tone = ToneTables::Get().Text(ToneTables::kOff);
  for (const ImportedChannel& channel : placed.channels) {
    if (!IsChannel(channel.channel) || !RowHasFrequency(grid, channel.channel)) continue;
    for (const int col : {gl::kColRxTone, gl::kColTxTone}) {
      if (grid.TextMatrix(channel.channel, col).empty()) {
        grid.SetTextMatrix(channel.channel, col, no_tone);
      }
    }
  }
}

}  // namespace zlm5
