// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/model/comma_locale.h"

namespace zlm5::test {

// The C runtime of Windows knows German by these names on every system.
CommaLocale::CommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
  for (const char* name : {"de-DE", "German_Germany.1252", "German"}) {
    if (std::setlocale(LC_ALL, name) != nullptr) return;
  }
}

CommaLocale::~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }

}  // namespace zlm5::test
