// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstring>

#include "model/error.h"

namespace zlm5 {

// The C runtime's text for an errno value (the Win32 errors of the system
// calls have their own texts, from FormatMessageW).
std::string ErrnoText(int error_number) {
  char buffer[256];
  return strerror_s(buffer, sizeof buffer, error_number) == 0 ? buffer : "Unknown error";
}

}  // namespace zlm5
