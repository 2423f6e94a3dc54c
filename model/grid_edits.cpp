// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/grid_edits.h"

#include <algorithm>
#include <array>

#include "model/channel_codec.h"
#include "model/memory_grid.h"

namespace zlm5 {

namespace gl = grid_layout;
namespace im = image_map;

namespace {

constexpr std::array<FormBox, 4> kBoxes = {FormBox::Field, FormBox::Type, FormBox::Manual,
                                           FormBox::PowerRank};

bool SameRow(const ChannelGrid& a, const ChannelGrid& b, int row) {
  for (int col = gl::kColReceive; col < gl::kColumns; ++col) {
    if (a.TextMatrix(row, col) != b.TextMatrix(row, col)) return false;
  }
  return true;
}

bool SameBoxes(const ChannelGrid& a, const ChannelGrid& b) {
  return std::all_of(kBoxes.begin(), kBoxes.end(),
                     [&](FormBox box) { return a.BoxSelection(box) == b.BoxSelection(box); });
}

}  // namespace

RadioImage ImageWithGridEdits(const RadioImage& image, const ChannelGrid& grid) {
  MemoryGrid decoded;
  ImageToGrid(image, decoded);
  RadioImage encoded = image;
  GridToImage(grid, encoded);

  RadioImage result = image;
  for (int channel = 1; channel <= im::kChannelCount; ++channel) {
    if (SameRow(decoded, grid, channel)) continue;
    std::ranges::copy(encoded.Record(channel), result.Record(channel).begin());
    std::ranges::copy(encoded.Name(channel), result.Name(channel).begin());
  }
  if (!SameBoxes(decoded, grid)) {
    const auto settings = encoded.bytes().subspan(im::kSettingsBase, im::kSettingsSize);
    std::ranges::copy(settings, result.bytes().begin() + im::kSettingsBase);
  }
  return result;
}

}  // namespace zlm5
