// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/form_lists.h"

#include <stdexcept>

#include "model/text_util.h"
#include "model/tone_tables.h"

namespace zlm5 {

namespace form_lists {

std::span<const std::string_view> Entries(FormBox box) {
  switch (box) {
    case FormBox::Field:
      return kField;
    case FormBox::Type:
      return kType;
    case FormBox::Manual:
      return kManual;
    case FormBox::PowerRank:
      return kPowerRank;
  }
  return {};
}

int EntryCount(FormBox box) { return static_cast<int>(Entries(box).size()); }

int InitialSelection(FormBox box) {
  switch (box) {
    case FormBox::Field:
      return kInitialField;
    case FormBox::Type:
      return kInitialType;
    case FormBox::Manual:
      return kInitialManual;
    case FormBox::PowerRank:
      return kInitialPowerRank;
  }
  return -1;
}

}  // namespace form_lists

namespace cell_lists {

std::span<const std::string_view> ForColumn(int column) {
  switch (column) {
    case grid_layout::kColBandwidth:
      return kBandwidth;
    case grid_layout::kColScan:
      return kScan;
    case grid_layout::kColTxPower:
      return kTxPower;
    case grid_layout::kColOptSignal:
      return kOptSignal;
    case grid_layout::kColPttId:
      return kPttId;
    case grid_layout::kColBusyLock:
      return kBusyLock;
    default:
      return {};
  }
}

bool IsSelectionColumn(int column) {
  return column >= grid_layout::kColRxTone && column <= grid_layout::kColBusyLock;
}

int FindEntry(int column, std::string_view text) {
  if (column == grid_layout::kColRxTone || column == grid_layout::kColTxTone) {
    return ToneTables::Get().FindIgnoringCase(text);
  }
  const auto entries = ForColumn(column);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (EqualsIgnoringCase(entries[i], text)) return static_cast<int>(i);
  }
  return -1;
}

std::string_view EntryText(int column, int index) {
  if (column == grid_layout::kColRxTone || column == grid_layout::kColTxTone) {
    return ToneTables::Get().Text(index);
  }
  const auto entries = ForColumn(column);
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) {
    throw std::out_of_range("no list entry " + std::to_string(index) + " in column " +
                            std::to_string(column));
  }
  return entries[index];
}

}  // namespace cell_lists

CellEditorKind EditorKindForColumn(int column) {
  if (column == grid_layout::kColRxTone || column == grid_layout::kColTxTone)
    return CellEditorKind::Tone;
  if (column >= grid_layout::kColBandwidth && column <= grid_layout::kColBusyLock) {
    return CellEditorKind::List;
  }
  if (column == grid_layout::kColName) return CellEditorKind::Name;
  return CellEditorKind::Frequency;
}

}  // namespace zlm5
