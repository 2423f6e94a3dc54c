// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/c_number.h"

#include <locale.h>

#include <cstdlib>

namespace zlm5 {
namespace {

// One "C" locale object for the life of the process.
locale_t CLocale() {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c_locale;
}

}  // namespace

double StrtodInCLocale(const char* text, char** end) { return strtod_l(text, end, CLocale()); }

}  // namespace zlm5
