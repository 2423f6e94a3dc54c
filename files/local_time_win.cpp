// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/local_time.h"

namespace zlm5 {

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  // The C runtime's own thread-safe form, its arguments the other way round.
  localtime_s(&local, &time);
  return local;
}

}  // namespace zlm5
