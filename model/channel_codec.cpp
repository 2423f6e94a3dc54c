// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_codec.h"

#include "model/channel_name.h"
#include "model/channel_record.h"
#include "model/form_lists.h"
#include "model/frequency_text.h"
#include "model/settings_block.h"
#include "model/tone_tables.h"
#include "model/tone_word.h"

namespace zlm5 {

namespace gl = grid_layout;
namespace rl = record_layout;

namespace {

bool IsOneOf(const std::string& text, std::string_view english, std::string_view chinese) {
  return text == english || text == chinese;
}

ToneWord ReadTone(std::span<const std::uint8_t, 16> record, std::size_t offset) {
  return ToneWord{record[offset + 1], record[offset]};
}

void WriteTone(std::span<std::uint8_t, 16> record, std::size_t offset, const ToneWord& word) {
  record[offset] = word.low;
  record[offset + 1] = word.high;
}

std::uint8_t WithBit(std::uint8_t byte, std::uint8_t bit, bool on) {
  return static_cast<std::uint8_t>(on ? (byte | bit) : (byte & ~bit));
}

// The count a frequency cell stores: 0 (no frequency) for an empty text, a
// text that is not a positive number, or one too small to leave a count.
std::uint32_t StoredCount(const std::string& text) {
  const std::int64_t count = FrequencyTextToCount(text);
  if (count <= 0) return rl::kNoFrequency;
  if (count > static_cast<std::int64_t>(rl::kMaxStorableCount)) return rl::kMaxStorableCount;
  return static_cast<std::uint32_t>(count);
}

bool CellEmpty(const ChannelGrid& grid, int row, int col) {
  return grid.TextMatrix(row, col).empty();
}

void EmptyCells(ChannelGrid& grid, int row, int first, int last) {
  for (int col = first; col <= last; ++col) grid.SetTextMatrix(row, col, std::string());
}

std::string CommitFrequencyCell(ChannelGrid& grid, int row, int col, std::string_view text,
                                CommitPath path) {
  const FrequencyCommit commit = CommitFrequencyText(text);
  if (!commit.text.empty()) {
    const bool new_row =
        CellEmpty(grid, row, gl::kColRxTone) && CellEmpty(grid, row, gl::kColTxTone) &&
        CellEmpty(grid, row, gl::kColBandwidth) && CellEmpty(grid, row, gl::kColReceive) &&
        CellEmpty(grid, row, gl::kColTransmit);
    if (new_row) {
      grid.SetTextMatrix(row, gl::kColRxTone, "OFF");
      grid.SetTextMatrix(row, gl::kColTxTone, "OFF");
      grid.SetTextMatrix(row, gl::kColTxPower, "High");
      grid.SetTextMatrix(row, gl::kColBandwidth, "Wide");
      grid.SetTextMatrix(row, gl::kColScan, "Yes");
      grid.SetTextMatrix(row, gl::kColOptSignal, "None");
      grid.SetTextMatrix(row, gl::kColPttId, "ON");
      grid.SetTextMatrix(row, gl::kColBusyLock, "Close");
      if (path == CommitPath::LeaveCell) grid.SetTextMatrix(row, gl::kColName, std::string());
      if (col == gl::kColReceive) grid.SetTextMatrix(row, gl::kColTransmit, commit.text);
    }
    grid.SetTextMatrix(row, col, commit.text);
    return commit.error;
  }

  grid.SetTextMatrix(row, col == gl::kColReceive ? gl::kColRxTone : gl::kColTxTone, std::string());
  grid.SetTextMatrix(row, col, std::string());
  const bool frequencies_empty =
      CellEmpty(grid, row, gl::kColReceive) && CellEmpty(grid, row, gl::kColTransmit);
  const bool clear_rest = path == CommitPath::LeaveCell
                              ? frequencies_empty && CellEmpty(grid, row, gl::kColRxTone) &&
                                    CellEmpty(grid, row, gl::kColTxTone)
                              : frequencies_empty;
  if (clear_rest) EmptyCells(grid, row, gl::kColBandwidth, gl::kColName);
  return commit.error;
}

}  // namespace

void ImageToGrid(const RadioImage& image, ChannelGrid& grid) {
  for (int n = 1; n <= image_map::kChannelCount; ++n) {
    const auto record = image.Record(n);
    const bool in_use = ChannelInUse(record);
    const auto rx = ReceiveBytes(record);
    const auto tx = TransmitBytes(record);
    grid.SetTextMatrix(n, gl::kColReceive,
                       FrequencyPresent(rx) ? FormatFrequency(ReadFrequency(rx)) : "");
    grid.SetTextMatrix(n, gl::kColTransmit,
                       FrequencyPresent(tx) ? FormatFrequency(ReadFrequency(tx)) : "");
    grid.SetTextMatrix(n, gl::kColRxTone, ReadTone(record, rl::kRxTone).ToText(in_use));
    grid.SetTextMatrix(n, gl::kColTxTone, ReadTone(record, rl::kTxTone).ToText(in_use));
    if (in_use) {
      const std::uint8_t signal = record[rl::kOptSignal];
      const std::uint8_t flags = record[rl::kFlags];
      grid.SetTextMatrix(n, gl::kColOptSignal,
                         signal == rl::kOptSignalNone   ? "None"
                         : signal == rl::kOptSignalCcir ? "CCIR"
                                                        : "");
      grid.SetTextMatrix(n, gl::kColTxPower, (flags & rl::kHighPowerBit) ? "High" : "Low");
      grid.SetTextMatrix(n, gl::kColBandwidth, (flags & rl::kWideBit) ? "Wide" : "Narrow");
      grid.SetTextMatrix(n, gl::kColScan, (flags & rl::kScanReadMask) >= 4 ? "Yes" : "No");
      const int busy = flags & rl::kBusyLockMask;
      grid.SetTextMatrix(n, gl::kColBusyLock,
                         busy == rl::kBusyLockQtDqt     ? "QT/DQT"
                         : busy == rl::kBusyLockCarrier ? "Carrier"
                                                        : "Close");
      grid.SetTextMatrix(n, gl::kColPttId,
                         (record[rl::kSignalFlags] & rl::kPttIdBit) ? "ON" : "OFF");
    } else {
      EmptyCells(grid, n, gl::kColBandwidth, gl::kColBusyLock);
    }
    grid.SetTextMatrix(n, gl::kColName, NameBytesToText(image.Name(n)));
  }

  const SettingsBlock block(image);
  grid.SetBoxSelection(FormBox::Field, block.FieldEntry());
  grid.SetBoxSelection(FormBox::Type, block.TypeEntry());
  grid.SetBoxSelection(FormBox::Manual, block.ManualEntry());
  grid.SetBoxSelection(FormBox::PowerRank, block.PowerRankEntry());
}

void GridToImage(const ChannelGrid& grid, RadioImage& image) {
  for (int n = 1; n <= image_map::kChannelCount; ++n) {
    const auto record = image.Record(n);
    WriteFrequency(ReceiveBytes(record), StoredCount(grid.TextMatrix(n, gl::kColReceive)));
    WriteFrequency(TransmitBytes(record), StoredCount(grid.TextMatrix(n, gl::kColTransmit)));
    WriteTone(record, rl::kRxTone, ToneWord::FromText(grid.TextMatrix(n, gl::kColRxTone)));
    WriteTone(record, rl::kTxTone, ToneWord::FromText(grid.TextMatrix(n, gl::kColTxTone)));

    namespace cl = cell_lists;
    const std::string signal = grid.TextMatrix(n, gl::kColOptSignal);
    record[rl::kOptSignal] = IsOneOf(signal, "None", cl::kNoneZh) ? rl::kOptSignalNone
                             : signal == "CCIR"                   ? rl::kOptSignalCcir
                                                                  : 0;
    std::uint8_t flags = record[rl::kFlags];
    flags = WithBit(flags, rl::kHighPowerBit,
                    IsOneOf(grid.TextMatrix(n, gl::kColTxPower), "High", cl::kHighZh));
    const std::string scan = grid.TextMatrix(n, gl::kColScan);
    flags = WithBit(flags, rl::kScanBit, IsOneOf(scan, "Yes", cl::kYesZh));
    // The decoder reads either bit as scanned: a "No" must clear both, or
    // the channel would scan again after the next reading.
    if (scan == "No") flags = WithBit(flags, rl::kScanKeptBit, false);
    flags = WithBit(flags, rl::kWideBit,
                    IsOneOf(grid.TextMatrix(n, gl::kColBandwidth), "Wide", cl::kWideZh));
    const std::string busy = grid.TextMatrix(n, gl::kColBusyLock);
    const std::uint8_t busy_code = IsOneOf(busy, "Close", cl::kCloseZh)       ? rl::kBusyLockClose
                                   : IsOneOf(busy, "Carrier", cl::kCarrierZh) ? rl::kBusyLockCarrier
                                                                              : rl::kBusyLockQtDqt;
    record[rl::kFlags] = static_cast<std::uint8_t>((flags & ~rl::kBusyLockMask) | busy_code);
    record[rl::kSignalFlags] = WithBit(record[rl::kSignalFlags], rl::kPttIdBit,
                                       IsOneOf(grid.TextMatrix(n, gl::kColPttId), "ON", cl::kOnZh));

    TextToNameBytes(grid.TextMatrix(n, gl::kColName), image.Name(n));
  }

  SettingsBlock block(image);
  block.SetFieldEntry(grid.BoxSelection(FormBox::Field));
  block.SetTypeEntry(grid.BoxSelection(FormBox::Type));
  block.SetManualEntry(grid.BoxSelection(FormBox::Manual));
  block.SetPowerRankEntry(grid.BoxSelection(FormBox::PowerRank));
  block.WriteFixedA8();
  block.StoreInto(image);
}

void WriteGridHeaders(ChannelGrid& grid) {
  for (int col = 0; col < gl::kColumns; ++col) {
    grid.SetTextMatrix(0, col, std::string(kColumnHeaders[col]));
  }
  for (int row = 1; row < gl::kRows; ++row)
    grid.SetTextMatrix(row, gl::kColChannel, std::to_string(row));
}

FrequencyCommit CommitFrequencyText(std::string_view typed) {
  if (typed.empty()) return {};
  const std::int64_t count = FrequencyTextToCount(typed);
  if (count < frequency_limits::kLowestCount || count > frequency_limits::kHighestCount) {
    return {std::string(), std::string(kFrequencyFormatError)};
  }
  if (!FrequencyOnRaster(count)) return {std::string(), std::string(kFrequencyStepError)};
  return {FormatFrequency(static_cast<std::uint32_t>(count)), std::string()};
}

bool RowHasFrequency(const ChannelGrid& grid, int row) {
  return !CellEmpty(grid, row, gl::kColReceive) || !CellEmpty(grid, row, gl::kColTransmit);
}

std::string CommitCellText(ChannelGrid& grid, int row, int col, std::string_view text,
                           CommitPath path) {
  if (row < 1 || row >= gl::kRows || col < 1 || col >= gl::kColumns) return {};

  if (col == gl::kColReceive || col == gl::kColTransmit) {
    return CommitFrequencyCell(grid, row, col, text, path);
  }
  if (col == gl::kColRxTone || col == gl::kColTxTone) {
    std::string stored;
    if (RowHasFrequency(grid, row)) {
      const int entry = ToneTables::Get().FindIgnoringCase(text);
      stored = ToneTables::Get().Text(entry >= 0 ? entry : ToneTables::kOff);
    }
    grid.SetTextMatrix(row, col, stored);
    return {};
  }
  if (col == gl::kColName) {
    if (path == CommitPath::LeaveCell || RowHasFrequency(grid, row)) {
      grid.SetTextMatrix(row, col, NameEditorText(text));
    }
    return {};
  }
  // Columns 5 to 10: the drop-down lists.
  if (RowHasFrequency(grid, row)) {
    grid.SetTextMatrix(row, col, std::string(text));
  } else if (path == CommitPath::LeaveCell) {
    grid.SetTextMatrix(row, col, std::string());
  }
  return {};
}

}  // namespace zlm5
