// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/channel_document.h"

#include <algorithm>

#include "files/file_reading.h"
#include "files/file_saving.h"
#include "files/utf8_path.h"
#include "model/settings_block.h"

namespace zlm5 {

namespace {

constexpr const char* kUntitled = "Untitled";

}  // namespace

Result<RadioImage> LoadChannelDataFile(const std::string& path) {
  // A longer file is read up to its last image byte.
  Result<std::string> read = ReadFileStart(path, {image_map::kSize, false, "a channel data file"});
  if (!read) return read.error();
  if (read->size() < image_map::kSize) {
    return Error(path, "not a channel data file: it is " + std::to_string(read->size()) +
                           " bytes long, a channel data file has " +
                           std::to_string(image_map::kSize) + " bytes");
  }
  RadioImage image;
  std::copy(read->begin(), read->end(), image.bytes().begin());
  return image;
}

Status SaveChannelDataFile(const std::string& path, const RadioImage& image) {
  return SaveFile(path, image.bytes());
}

ChannelDocument::ChannelDocument() : image_(NewDocumentImage()) {}

RadioImage ChannelDocument::NewDocumentImage() {
  RadioImage image;
  image.Fill(0xFF);
  for (const auto& d : settings_map::kNewDocumentDefaults) image.set(d.offset, d.value);
  return image;
}

void ChannelDocument::New() {
  image_ = NewDocumentImage();
  path_.clear();
  modified_ = false;
}

Status ChannelDocument::Open(const std::string& path) {
  Result<RadioImage> loaded = LoadChannelDataFile(path);
  if (!loaded) return loaded.error();
  image_ = *loaded;
  path_ = path;
  modified_ = false;
  return Ok{};
}

Status ChannelDocument::Save(const std::string& path) {
  Status saved = SaveChannelDataFile(path, image_);
  if (!saved) return saved;
  path_ = path;
  modified_ = false;
  return Ok{};
}

std::string ChannelDocument::title() const {
  if (path_.empty()) return kUntitled;
  // The platform's separators: on Windows "\\" as well as "/".
  return Utf8FromPath(PathFromUtf8(path_).filename());
}

}  // namespace zlm5
