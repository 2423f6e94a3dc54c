// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/local_time.h"

namespace zlm5 {

std::tm LocalTime(std::time_t time) {
  std::tm local{};
  ::localtime_r(&time, &local);
  return local;
}

}  // namespace zlm5
