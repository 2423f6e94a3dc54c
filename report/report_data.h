// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/channel_grid.h"
#include "model/radio_image.h"
#include "report/printing.h"

namespace zlm5 {

// The report of a channel table as a grid holds it (the desktop view's grid
// with its unsaved edits, or a MemoryGrid): cell texts of rows 0..128 and
// columns 0..10, the selected entries of the Type, Field and Tx Power Rank
// boxes (empty when a box has no selection), and the image.
ReportData ReportDataFromGrid(const ChannelGrid& grid, const RadioImage& image,
                              ReportTextSet text_set);

// The report of an image as the desktop program shows it after opening it:
// decoded into a fresh grid with its headers and channel numbers.
ReportData ReportDataFromImage(const RadioImage& image, ReportTextSet text_set);

}  // namespace zlm5
