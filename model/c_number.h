// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zlm5 {

// strtod in the "C" locale, whatever the process's locale: a German or
// Chinese user locale never turns "146,5" into a number or "146.5" into
// 146. Same contract as strtod otherwise.
double StrtodInCLocale(const char* text, char** end);

}  // namespace zlm5
