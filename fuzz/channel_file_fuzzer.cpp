// SPDX-License-Identifier: GPL-3.0-or-later
// A channel data file of any length and content is opened as the window
// opens it, decoded into the grid and encoded again.
//
// Promises: a file shorter than an image is refused with a message and the
// document is left as it was; any other file gives the document its first
// 4096 bytes; and after one round of decoding and encoding, a second round
// changes nothing (the grid shows what the image will hold).

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "files/channel_document.h"
#include "fuzz/fuzz_check.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"

namespace {

// One scratch file per fuzzing process, removed when it ends.
class ScratchFile {
 public:
  ScratchFile()
      : path_((std::filesystem::temp_directory_path() /
               ("zlm5-fuzz-" + std::to_string(::getpid()) + ".sin"))
                  .string()) {}
  ~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

zlm5::RadioImage DecodeEncode(const zlm5::RadioImage& image) {
  zlm5::MemoryGrid grid;
  zlm5::ImageToGrid(image, grid);
  zlm5::RadioImage encoded = image;
  zlm5::GridToImage(grid, encoded);
  return encoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using zlm5::image_map::kSize;
  static const ScratchFile scratch;
  {
    std::ofstream file(scratch.path(), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  zlm5::ChannelDocument document;
  const zlm5::RadioImage before = document.image();
  const zlm5::Status opened = document.Open(scratch.path());
  if (!opened) {
    ZLM5_FUZZ_CHECK(size < kSize);
    ZLM5_FUZZ_CHECK(!opened.error().Message().empty());
    ZLM5_FUZZ_CHECK(document.image() == before);
    return 0;
  }
  ZLM5_FUZZ_CHECK(size >= kSize);
  ZLM5_FUZZ_CHECK(std::equal(data, data + kSize, document.image().bytes().begin()));

  const zlm5::RadioImage once = DecodeEncode(document.image());
  ZLM5_FUZZ_CHECK(DecodeEncode(once) == once);
  return 0;
}
