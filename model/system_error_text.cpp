// SPDX-License-Identifier: GPL-3.0-or-later
// The system's error texts on POSIX: errno numbers through strerror_r.
#include <cstring>
#include <string>

#include "model/error.h"

namespace zlm5 {
namespace {

// strerror_r comes in two forms: the GNU one returns the text, the POSIX
// one fills the buffer and returns 0.
[[maybe_unused]] std::string StrerrorText(const char* text, const char*) { return text; }
[[maybe_unused]] std::string StrerrorText(int result, const char* buffer) {
  return result == 0 ? buffer : "Unknown error";
}

}  // namespace

std::string ErrnoText(int error_number) {
  char buffer[256];
  return StrerrorText(strerror_r(error_number, buffer, sizeof buffer), buffer);
}

std::string SystemErrorText(int code) { return ErrnoText(code); }

}  // namespace zlm5
