// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/channel_grid.h"

namespace zlm5 {

// A frequency band, both ends included, in 10 Hz units.
struct FrequencyBand {
  std::int64_t lowest = 0;
  std::int64_t highest = 0;

  bool Contains(std::int64_t count) const { return count >= lowest && count <= highest; }
  friend bool operator==(const FrequencyBand&, const FrequencyBand&) = default;
};

// The band that entry 0..9 of the "Field" box names, read from the entry's
// own text ("136 - 174MHz" is 136.00000 to 174.00000 MHz); none for an index
// outside the list (a box without a selection). The radio accepts every
// frequency from 67 to 521 MHz whatever the box says, so the band is a
// warning for the user, never a reason to refuse a frequency.
std::optional<FrequencyBand> FieldBand(int entry);

// What a finding of CheckChannels is about.
enum class ChannelCheck {
  OutOfBand,           // a receive or transmit frequency outside the Field band
  SameAsEarlier,       // receive frequency and both tones equal to an earlier channel's
  NoReceiveFrequency,  // a transmit frequency without a receive frequency
  NameUsedTwice,       // the name of an earlier channel in use
};

struct ChannelFinding {
  ChannelCheck check = ChannelCheck::OutOfBand;
  int channel = 0;          // 1..128
  int column = 0;           // grid column to mark: 1 or 2 (OutOfBand), 1, 11 (NameUsedTwice)
  int earlier_channel = 0;  // SameAsEarlier, NameUsedTwice: the first such channel; else 0
  std::string text;         // the line shown to the user, starting "CH <channel>: "

  friend bool operator==(const ChannelFinding&, const ChannelFinding&) = default;
};

// Checks the channel table as the grid shows it and returns the findings in
// channel order (within a channel: receive band, transmit band, no receive
// frequency, same as earlier, name). Only channels in use count, i.e. rows
// with a receive or transmit frequency (RowHasFrequency):
//   - each frequency cell whose value lies outside FieldBand of the Field
//     box's selection (nothing when the box has none): "CH 12: receive
//     frequency 446.00625 MHz is outside the band 136 - 174MHz";
//   - a row with a transmit but no receive frequency: "CH 12: in use without
//     a receive frequency";
//   - a receive frequency whose value, Rx Tone and Tx Tone texts equal those
//     of an earlier channel: "CH 12: same receive frequency and tones as CH 3";
//   - a name (not empty, not only blanks) that an earlier channel bears:
//     "CH 12: name "HOME" is also the name of CH 3".
// Each later channel is compared with the first one it repeats.
std::vector<ChannelFinding> CheckChannels(const ChannelGrid& grid);

// For the grid's mark on a frequency cell: why cell (row, col) lies outside
// the band chosen in the Field box ("Outside the band 136 - 174MHz chosen in
// the Field box"), or empty when it does not, is empty, is not a frequency
// cell of rows 1..128, or the box has no selection.
std::string OutOfBandReason(const ChannelGrid& grid, int row, int col);

}  // namespace zlm5
