// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/error.h"

namespace zlm5 {

// What ReadFileStart takes from a file besides its regular contents.
struct FileReadRules {
  std::size_t limit = 0;       // bytes to read at most
  bool refuse_larger = false;  // more than `limit` bytes is an error, not a cut
  std::string_view kind;       // what the file should be ("a channel list"), for messages
};

// The first bytes of the file the user named, up to `rules.limit`. The file
// is opened once and without waiting: a serial port would wait at the open
// for its carrier, and a second open of a named pipe would wait for a writer
// that may have come and gone already. Devices, sockets and folders are
// refused with the reason; a named pipe is read as its writer sends, as a
// pipe on the command line is. Errors name `path`.
Result<std::string> ReadFileStart(const std::string& path, const FileReadRules& rules);

}  // namespace zlm5
