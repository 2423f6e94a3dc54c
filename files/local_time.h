// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ctime>

namespace zlm5 {

// `time` in the user's time zone, safely from several threads at once (the
// radios of a fleet save their backups on threads of their own).
std::tm LocalTime(std::time_t time);

}  // namespace zlm5
