// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/error.h"

namespace zlm5 {

// How a file the user named will be saved, found before anything is
// written (and before a quarter of a minute is spent reading a radio).
struct SaveTarget {
  // The file that is written: a symbolic link is followed, so that saving
  // through it replaces the file it points at and keeps the link.
  std::string path;
  bool exists = false;
  // The folder cannot take a temporary file but the file itself may be
  // written: it is then rewritten in place instead of replaced in one step.
  bool in_place = false;
};

// Whether `path` can be saved, and how. The one rule for every file the
// program writes where the user says (channel data files, the report):
// only a regular file is replaced, or a new one created. Refused, each with
// the reason after `path`: an empty name, a folder, a device, a named pipe,
// a socket, a symbolic link to a missing file, a link loop, a file the user
// may not write, a new file in a folder the user may not write.
Result<SaveTarget> CheckSaveTarget(const std::string& path);

// Replaces the contents of `path` by `bytes` under CheckSaveTarget's rules.
// Normally a temporary file beside the target is written, flushed and
// renamed over it, so that a failure leaves the previous file as it was; an
// existing file keeps its permissions and, where allowed, its owner. In
// place (SaveTarget::in_place), room for `bytes` is reserved first, then the
// file is overwritten and cut to size: a disk too full for the new contents
// leaves the old ones as they were, and a file system that cannot reserve
// room refuses the save with the reason. Errors name `path` and the reason.
Status SaveFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace zlm5
