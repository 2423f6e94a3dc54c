// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/channel_grid.h"
#include "model/radio_image.h"

namespace zlm5 {

// The image with just the grid's edits written into it, for comparing what
// the user sees with a file or the radio.
//
// GridToImage rewrites every record, and with it bytes that no cell shows
// (the flags of an empty channel, for one); compared with the file it came
// from, a document with one edited cell would seem changed everywhere. Here
// only the parts whose shown texts differ from what `image` decodes to are
// encoded from the grid:
//   - a channel (record and name bytes) whose cells in columns 1..11
//     differ from the decoded image's;
//   - the settings block, when a form box's selection differs.
// Every other byte stays as `image` has it, so the result equals `image`
// when the grid shows exactly what `image` holds. The cells of the result,
// decoded, are those of GridToImage's.
RadioImage ImageWithGridEdits(const RadioImage& image, const ChannelGrid& grid);

}  // namespace zlm5
