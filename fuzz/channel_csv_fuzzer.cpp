// SPDX-License-Identifier: GPL-3.0-or-later
// Any text is read as a CSV channel list and typed into a new document's
// grid, as z-lm5-cli import and the window do.
//
// Promises: a text that is no channel list is refused with a message; every
// channel of an import lies in 1..128 and is named once; and the export of
// the resulting grid reads back without a report into the very same image.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "files/channel_document.h"
#include "fuzz/fuzz_check.h"
#include "model/channel_codec.h"
#include "model/channel_csv.h"
#include "model/memory_grid.h"

namespace {

// The image after typing `import` into a new document.
zlm5::RadioImage Imported(const zlm5::ChannelCsvImport& import, zlm5::MemoryGrid& grid) {
  zlm5::RadioImage image = zlm5::ChannelDocument::NewDocumentImage();
  zlm5::ImageToGrid(image, grid);
  zlm5::ApplyChannelImport(import, grid);
  zlm5::GridToImage(grid, image);
  return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto import = zlm5::ReadChannelCsv(text);
  if (!import) {
    ZLM5_FUZZ_CHECK(!import.error().Message().empty());
    return 0;
  }
  std::array<bool, 129> named{};
  for (const zlm5::ImportedChannel& channel : import->channels) {
    ZLM5_FUZZ_CHECK(channel.channel >= 1 && channel.channel <= 128);
    ZLM5_FUZZ_CHECK(!named[static_cast<std::size_t>(channel.channel)]);
    named[static_cast<std::size_t>(channel.channel)] = true;
  }

  zlm5::MemoryGrid grid;
  const zlm5::RadioImage image = Imported(*import, grid);
  const auto again = zlm5::ReadChannelCsv(zlm5::ChannelsToCsv(grid));
  ZLM5_FUZZ_CHECK(again.ok());
  ZLM5_FUZZ_CHECK(again->report.empty());
  zlm5::MemoryGrid grid_again;
  ZLM5_FUZZ_CHECK(Imported(*again, grid_again) == image);
  return 0;
}
