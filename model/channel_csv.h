// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/channel_grid.h"
#include "model/error.h"

namespace zlm5 {

// Channel lists in the CSV exchange format of the open multi-radio
// programming tools, which radio owners keep in spreadsheets and repeater
// directories publish. The window and the command line both go through
// these functions; they only read and write the channel table.
namespace channel_csv {
// The format's columns, in the order an export writes them.
inline constexpr std::array<std::string_view, 21> kHeader = {
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

// A transmit frequency at most this far from the receive one (10 Hz units,
// 10 MHz) is written as a repeater offset; further away as a split.
inline constexpr std::int64_t kMaxRepeaterOffset = 1000000;
// A wattage from this value on is the radio's high power.
inline constexpr double kHighPowerWatts = 2.0;
// An import's report shows this many lines at most; one line then counts
// the others.
inline constexpr std::size_t kMaxReportLines = 200;
}  // namespace channel_csv

// The table's channels in use (a receive or transmit frequency in the row),
// in channel order, as the exchange format writes them: the header above,
// one row per channel, CRLF line ends, fields quoted only where needed.
//   Location   the channel number
//   Name       the name cell
//   Frequency  the receive frequency in MHz with six decimals; empty for a
//              channel that only transmits
//   Duplex, Offset   from the transmit frequency: the same -> "" and
//              0.000000; above or below by at most 10 MHz -> "+" or "-" and
//              the difference; further -> "split" and the transmit
//              frequency; none -> "off" and 0.000000
//   Tone ...   the tones as the format's tone modes: none -> ""; transmit
//              CTCSS only -> "Tone"; the same CTCSS both ways -> "TSQL"; the
//              same DCS code both ways -> "DTCS" (DtcsPolarity transmit then
//              receive, "N" normal, "R" inverted); anything else -> "Cross"
//              with CrossMode "Tone->Tone", "Tone->DTCS", "DTCS->Tone",
//              "DTCS->DTCS", "Tone->", "DTCS->", "->Tone" or "->DTCS", the
//              transmit side in rToneFreq or DtcsCode, the receive side in
//              cToneFreq or RxDtcsCode. Unused tone columns hold the format's
//              neutral values 88.5, 023, NN and Tone->Tone.
//   Mode "FM" (Wide) or "NFM"; TStep the largest of 6.25, 5.00, 2.50 that
//   divides both frequencies; Skip "" (Scan "Yes") or "S"; Power "High" or
//   "Low"; Comment "OptSignal=... BusyLock=... PTTID=..." with the three
//   cells the format has no column for.
// Each cell is written as the image encoder reads it (a tone text as the
// tone it stores), so that the file says what the radio would be given.
std::string ChannelsToCsv(const ChannelGrid& grid);

struct CsvImportOptions {
  // 0: each row goes to the channel its Location names (Location k is
  // channel k+1 when some row has Location 0); without a Location column
  // the rows fill channels 1, 2, 3 ... in file order.
  // 1..128: the first row goes to this channel and each next row to the
  // next one, whatever Location says.
  int first_channel = 0;
};

// One channel an import will write: the texts typed into grid columns 1 to
// 11 of its row (index = column; index 0 unused). A cell without a value
// keeps what a new row gets. Frequencies are in the grid's "%3.5f" form,
// "" for none; tones and list cells in their lists' spelling; the name as
// the name editor leaves it.
struct ImportedChannel {
  int channel = 0;  // 1..128
  int line = 0;     // the CSV line where its row starts
  std::array<std::optional<std::string>, grid_layout::kColumns> cells;
};

// Something an import could not take as it stood: a row or a field that
// was skipped, or a name that was shortened or changed.
struct ImportReportLine {
  int line = 0;     // the CSV line where the row starts
  int channel = 0;  // the row's channel, 0 when it has none
  std::string reason;
};

struct ChannelCsvImport {
  std::vector<ImportedChannel> channels;  // in file order, each channel once
  std::vector<ImportReportLine> report;   // in file order
};

// Reads a channel list. Columns are found by their header name, ignoring
// case and order; unknown columns are ignored. Each row is checked as the
// grid would check what the user types, and what the radio cannot hold is
// never guessed:
//   - the row is skipped and reported when it has another number of fields
//     than the header, a Location that is not a whole number or lies beyond
//     channel 128, a channel an earlier row already took, a receive or
//     transmit frequency outside 67-521 MHz or off the 6.25/5/2.5 kHz steps
//     (or not a number; a Frequency of 0 with Duplex split is a channel
//     that only transmits), an unknown Duplex, a Mode other than FM or NFM, a
//     reverse-squelch or unknown tone mode, a Cross row in a list without a
//     CrossMode column, or a tone or DCS code that is not in the radio's
//     tone list;
//   - a Power that is neither "High", "Low" nor a wattage (2 W and more is
//     High), or a Comment setting with an unknown value, is reported and
//     leaves that cell at the new row's default;
//   - a name is upper-cased, loses the characters a name cannot hold and is
//     cut to the name editor's 6 characters; dropped characters and cuts are
//     reported.
// Fields are taken without the blanks around them, except Name, which is
// taken as it stands (a blank is one of the radio's name characters). Rows
// whose fields are all empty or blank are passed over.
//
// Reading stops at the first row that can find no channel (rows placed in
// file order have passed channel 128, or all 128 channels are imported):
// one report line gives that row's line and the number of rows from there
// on, which are not read. Of the other report lines the first
// channel_csv::kMaxReportLines are kept and one more counts the rest ("and
// N more lines were not taken"); values from the file are repeated in them
// as EchoedValue shows them. So an import holds at most 128 channels and a
// bounded report, whatever the length of the text.
//
// Fails, with the reason, only when the text is no channel list at all (no
// header line with a Frequency column) or is UTF-16 text.
Result<ChannelCsvImport> ReadChannelCsv(std::string_view text,
                                        const CsvImportOptions& options = {});

// A name as an import leaves it: as the name editor keeps it (upper case,
// the characters a name can hold, cut to its length), with the report
// reason when characters were dropped or the name was cut ("" otherwise;
// a change of case alone is no reason).
struct ImportedName {
  std::string held;
  std::string reason;
};
ImportedName ImportName(std::string_view name);

// Writes each imported channel into its row as if the user had cleared the
// row, typed each cell of the channel in column order and left it
// (CommitCellText, LeaveCell): a first frequency gives the row its
// defaults, then the imported cells replace them. Rows the import does not
// name are not touched; the form boxes neither.
void ApplyChannelImport(const ChannelCsvImport& import, ChannelGrid& grid);

}  // namespace zlm5
