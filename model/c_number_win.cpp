// SPDX-License-Identifier: GPL-3.0-or-later
#include <locale.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "model/c_number.h"
#include "model/text_util.h"

namespace zlm5 {
namespace {

// One "C" locale object of the C runtime for the life of the process.
_locale_t CLocale() {
  static const _locale_t c_locale = _create_locale(LC_ALL, "C");
  return c_locale;
}

}  // namespace

// The system's C runtime (msvcrt) reads neither "inf", "nan" nor "0x...",
// which strtod reads on every other platform: those are read here, the
// rest in the C locale by the runtime.
double StrtodInCLocale(const char* text, char** end) {
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  const double signed_one = negative ? -1.0 : 1.0;
  if (StartsWithIgnoringCase(p, "infinity") || StartsWithIgnoringCase(p, "inf")) {
    *end = const_cast<char*>(p + (StartsWithIgnoringCase(p, "infinity") ? 8 : 3));
    return signed_one * std::numeric_limits<double>::infinity();
  }
  if (StartsWithIgnoringCase(p, "nan")) {
    *end = const_cast<char*>(p + 3);
    return std::numeric_limits<double>::quiet_NaN();
  }
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') &&
      std::isxdigit(static_cast<unsigned char>(p[2]))) {
    const char* q = p + 2;
    double value = 0.0;
    while (std::isxdigit(static_cast<unsigned char>(*q))) {
      const int c = std::tolower(static_cast<unsigned char>(*q));
      value = value * 16.0 + (c <= '9' ? c - '0' : c - 'a' + 10);
      ++q;
    }
    *end = const_cast<char*>(q);
    return signed_one * value;
  }
  return _strtod_l(text, end, CLocale());
}

}  // namespace zlm5
