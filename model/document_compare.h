// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/radio_image.h"

namespace zlm5 {

// What a Difference of CompareImages is about.
enum class DifferenceKind {
  Cell,         // a cell of the channel table
  FormBox,      // one of the four boxes above the table
  Setting,      // a radio-wide setting of the Optional Features dialog
  Tuning,       // a power tuning value
  HiddenBytes,  // bytes of a part of the image that show no difference
};

struct Difference {
  DifferenceKind kind = DifferenceKind::Cell;
  int channel = 0;  // Cell, and HiddenBytes of a single channel: 1..128; else 0
  int column = 0;   // Cell: grid column 1..11; else 0
  // What differs as the user knows it: the column header ("Rx Tone"), the
  // box label ("Field"), the setting's name ("squelch", as ListSettings
  // names it), "Low power tuning"; empty for HiddenBytes.
  std::string item;
  // The texts shown for the first and the second image (empty for an empty
  // cell or a list without selection); empty for HiddenBytes.
  std::string before;
  std::string after;
  std::vector<std::size_t> offsets;  // HiddenBytes: the image offsets that differ
  std::string text;                  // the line shown to the user

  friend bool operator==(const Difference&, const Difference&) = default;
};

// Which bytes take part in a compare.
enum class CompareScope {
  WholeImage,        // all 4096 bytes: two channel data files
  TransferredBytes,  // 0x000-0xC4F, what a read or write moves: the radio and the document
};

// The differences between two images, in words, in this order:
//   - channel by channel, the cells of columns 1..11 whose texts differ as the
//     grid shows them after decoding each image: "CH 12 Rx Tone: 88.5 → D023N"
//     (an empty text reads "(empty)"); then one HiddenBytes line for all
//     channels none of whose cells differ but whose record or name bytes do:
//     "CH 5-7, 12: 4 bytes differ that the grid does not show (0x04D, ...)"
//     (at most 8 offsets are named; `offsets` holds them all);
//   - the boxes Field, Type, Manul Setting, Tx Power Rank whose selected
//     entries differ: "Field: 136 - 174MHz → 400 - 470MHz";
//   - the settings of ListSettings whose texts differ: "squelch: 5 → 3";
//     then HiddenBytes of the settings block when none of these differs;
//   - WholeImage only: the low and high power tuning values ("Low power
//     tuning: 90 → 77") and a HiddenBytes line for any other byte outside
//     the transferred range.
// A part whose shown texts differ is described by them alone, so the lines
// never repeat a byte that a shown text already accounts for. The result is
// empty exactly when the bytes in scope are equal.
std::vector<Difference> CompareImages(const RadioImage& before, const RadioImage& after,
                                      CompareScope scope = CompareScope::WholeImage);

}  // namespace zlm5
