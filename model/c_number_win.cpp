// SPDX-License-Identifier: GPL-3.0-or-later
#include <locale.h>

#include <cstdlib>

#include "model/c_number.h"

namespace zlm5 {
namespace {

// One "C" locale object of the C runtime for the life of the process.
_locale_t CLocale() {
  static const _locale_t c_locale = _create_locale(LC_ALL, "C");
  return c_locale;
}

}  // namespace

double StrtodInCLocale(const char* text, char** end) { return _strtod_l(text, end, CLocale()); }

}  // namespace zlm5
