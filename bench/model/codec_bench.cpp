// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of decoding a full image into the grid and encoding it back. Both run
// on every open, read, save and write; each should stay well under a
// millisecond.

#include <benchmark/benchmark.h>

#include "files/channel_document.h"
#include "model/channel_codec.h"
#include "model/channel_record.h"
#include "model/memory_grid.h"
#include "model/settings_block.h"

namespace zlm5 {
namespace {

// All 128 channels in use with frequencies, tones, flags and 8-character names.
RadioImage FullImage() {
  RadioImage image = ChannelDocument::NewDocumentImage();
  MemoryGrid grid;
  const char* tones[] = {"67.0", "D023N", "254.1", "D754I", "OFF"};
  for (int row = 1; row <= 128; ++row) {
    const std::string rx = std::to_string(136 + row) + ".12500";
    CommitCellText(grid, row, grid_layout::kColReceive, rx, CommitPath::LeaveCell);
    CommitCellText(grid, row, grid_layout::kColTransmit, std::to_string(300 + row) + ".00625",
                   CommitPath::LeaveCell);
    CommitCellText(grid, row, grid_layout::kColRxTone, tones[row % 5], CommitPath::LeaveCell);
    CommitCellText(grid, row, grid_layout::kColTxTone, tones[(row + 2) % 5], CommitPath::LeaveCell);
    CommitCellText(grid, row, grid_layout::kColBusyLock, row % 2 ? "Carrier" : "QT/DQT",
                   CommitPath::LeaveCell);
    grid.SetTextMatrix(row, grid_layout::kColName, "CHAN " + std::to_string(row % 100));
  }
  GridToImage(grid, image);
  return image;
}

bool AllChannelsInUse(const RadioImage& image) {
  for (int n = 1; n <= image_map::kChannelCount; ++n) {
    if (!ChannelInUse(image.Record(n))) return false;
  }
  return true;
}

void BM_ImageToGrid(benchmark::State& state) {
  const RadioImage image = FullImage();
  if (!AllChannelsInUse(image)) state.SkipWithError("the image is not full");
  MemoryGrid grid;
  for (auto _ : state) {
    ImageToGrid(image, grid);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ImageToGrid)->Unit(benchmark::kMicrosecond);

void BM_GridToImage(benchmark::State& state) {
  RadioImage image = FullImage();
  if (!AllChannelsInUse(image)) state.SkipWithError("the image is not full");
  MemoryGrid grid;
  ImageToGrid(image, grid);
  for (auto _ : state) {
    GridToImage(grid, image);
    benchmark::DoNotOptimize(image.bytes().data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_GridToImage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zlm5
