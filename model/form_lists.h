// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "model/channel_grid.h"

namespace zlm5 {

// Texts of the channel view's lists, shared by the desktop view, the codec,
// the command line and the printed report. Entry indexes are what the image
// stores; the order here is the order of the lists.

namespace form_lists {
// "Field": the frequency band (image byte 0x80A = 0xEE + index). The first
// entry starts with two blanks.
inline constexpr std::array<std::string_view, 10> kField = {
    "  67 - 72MHz", "136 - 174MHz", "240 - 260MHz", "350 - 390MHz", "400 - 430MHz",
    "430 - 450MHz", "450 - 470MHz", "470 - 490MHz", "400 - 470MHz", "460 - 520MHz"};
// "Type": the radio type (image byte 0x80B = 0x38 + index).
inline constexpr std::array<std::string_view, 1> kType = {"RaNOX-ONE"};
// "Manul Setting": image byte 0x812 bit 7, set for entry 0.
inline constexpr std::array<std::string_view, 2> kManual = {"Open", "Close"};
// "Tx Power Rank" (never shown, still decoded and encoded): image byte 0x819.
inline constexpr std::array<std::string_view, 10> kPowerRank = {"0", "1", "2", "3", "4",
                                                                "5", "6", "7", "8", "9"};

// Labels of the four boxes on the form.
inline constexpr std::string_view kFieldLabel = "Field";
inline constexpr std::string_view kTypeLabel = "Type";
inline constexpr std::string_view kManualLabel = "Manul Setting";
inline constexpr std::string_view kPowerRankLabel = "Tx Power Rank";

// Selections the view gives the boxes when it is first built, before the
// image of the document replaces them (Manual has none).
inline constexpr int kInitialField = 2;
inline constexpr int kInitialType = 0;
inline constexpr int kInitialManual = -1;
inline constexpr int kInitialPowerRank = 9;

// The entries of a box, and their number.
std::span<const std::string_view> Entries(FormBox box);
int EntryCount(FormBox box);
// The view's first selection of a box (above).
int InitialSelection(FormBox box);
}  // namespace form_lists

namespace cell_lists {
// The drop-down lists of grid columns 5 to 10, in list order.
inline constexpr std::array<std::string_view, 2> kBandwidth = {"Wide", "Narrow"};  // column 5
inline constexpr std::array<std::string_view, 2> kScan = {"Yes", "No"};            // column 6
inline constexpr std::array<std::string_view, 2> kTxPower = {"Low", "High"};       // column 7
inline constexpr std::array<std::string_view, 2> kOptSignal = {"None", "CCIR"};    // column 8
inline constexpr std::array<std::string_view, 2> kPttId = {"OFF", "ON"};           // column 9
inline constexpr std::array<std::string_view, 3> kBusyLock = {"Close", "Carrier", "QT/DQT"};  // 10

// Chinese forms that the encoder accepts besides the English texts.
inline constexpr std::string_view kWideZh = "宽";
inline constexpr std::string_view kYesZh = "是";
inline constexpr std::string_view kHighZh = "高";
inline constexpr std::string_view kNoneZh = "无";
inline constexpr std::string_view kOnZh = "开";
inline constexpr std::string_view kCloseZh = "关闭";
inline constexpr std::string_view kCarrierZh = "载波";

// The list of a grid column 5..10; empty for the other columns (the tone
// columns 3 and 4 use ToneTables).
std::span<const std::string_view> ForColumn(int column);

// True for the columns edited with a selection box: 3 and 4 (tones) and 5..10.
bool IsSelectionColumn(int column);

// Index of the entry of column 3..10's list that equals `text` ignoring
// ASCII case (the tone list for columns 3 and 4); -1 when none does.
int FindEntry(int column, std::string_view text);

// The list entry text of column 3..10 at `index` (std::out_of_range otherwise).
std::string_view EntryText(int column, int index);
}  // namespace cell_lists

// The kind of editor laid over a cell of a column: the frequency edit box
// (columns 1 and 2, and any column without an editor of its own), the tone
// box with the 261 tone texts (3, 4), a drop-down list of cell_lists (5-10),
// or the name edit box (11).
enum class CellEditorKind { Frequency, Tone, List, Name };
CellEditorKind EditorKindForColumn(int column);

// Headers of grid row 0, columns 0 to 11. The blanks are part of them.
inline constexpr std::array<std::string_view, grid_layout::kColumns> kColumnHeaders = {
    "CH",   "Receive(MHz)", "Transmit(MHz)", "Rx Tone", "Tx Tone",  " W/N ",
    "Scan", "Tx Power",     " Opt Signal",   "PTTID",   "BusyLock", "Name"};

}  // namespace zlm5
