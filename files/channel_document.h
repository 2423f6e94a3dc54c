// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "model/error.h"
#include "model/radio_image.h"

namespace zlm5 {

// The document: the radio image being edited, where it came from, and
// whether it changed since it was created, opened or saved.
//
// Open and Save never leave the document half-changed: a file shorter than
// 4096 bytes is refused with the document untouched. Save writes a
// temporary file beside the target and renames it into place, so a failure
// leaves the old file as it was, except where only an in-place write is
// possible (SaveFile in files/file_saving.h has the rules).
class ChannelDocument {
 public:
  ChannelDocument();  // a new document

  // All 0xFF plus the fourteen default settings bytes.
  static RadioImage NewDocumentImage();

  // Replaces the image by the new-document image; clears path and modified.
  void New();

  // Loads the first 4096 bytes of `path`. On failure nothing changes and the
  // error names the file and the reason (including a short file's size).
  Status Open(const std::string& path);

  // Writes the image to `path` (the caller encodes the grid first). On
  // success records the path and clears the modified flag; on failure the
  // document keeps its path and flag. Only a regular file the user may write
  // to is replaced (CheckSaveTarget); where its folder takes no temporary
  // file it is rewritten in place, otherwise the previous file stays intact
  // on failure.
  Status Save(const std::string& path);

  RadioImage& image() { return image_; }
  const RadioImage& image() const { return image_; }

  // Empty for a document that was never saved or opened.
  const std::string& path() const { return path_; }
  // File name without folder ("Untitled" when there is no path).
  std::string title() const;

  bool modified() const { return modified_; }
  void SetModified(bool modified = true) { modified_ = modified; }

 private:
  RadioImage image_;
  std::string path_;
  bool modified_ = false;
};

// The file layer under the document, for the command line and the tests.
// A named pipe is read as it comes, waiting for its writer; a device or a
// socket is refused at once.
Result<RadioImage> LoadChannelDataFile(const std::string& path);
Status SaveChannelDataFile(const std::string& path, const RadioImage& image);

}  // namespace zlm5
