// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/frequency_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "model/c_number.h"

namespace zlm5 {

namespace {

// "146,525" as "146.525": users whose desktop writes decimals with a comma
// type them so, and reading only the leading "146" would store another
// frequency without a word. Only a comma right after the leading digits
// and before a digit counts; every other text is left as it is.
std::string DecimalCommaAsPoint(std::string_view text) {
  std::string copy(text);
  std::size_t i = copy.find_first_not_of(" \t");
  if (i == std::string::npos) return copy;
  if (copy[i] == '+' || copy[i] == '-') ++i;
  const std::size_t digits = i;
  while (i < copy.size() && copy[i] >= '0' && copy[i] <= '9') ++i;
  if (i > digits && i + 1 < copy.size() && copy[i] == ',' && copy[i + 1] >= '0' &&
      copy[i + 1] <= '9') {
    copy[i] = '.';
  }
  return copy;
}

}  // namespace

double ReadLeadingNumber(std::string_view text) {
  const std::string copy(text);  // strtod needs a terminated string
  char* end = nullptr;
  const double value = StrtodInCLocale(copy.c_str(), &end);
  if (end == copy.c_str()) return 0.0;
  return value;
}

std::int64_t FrequencyTextToCount(std::string_view text) {
  const double mhz = ReadLeadingNumber(DecimalCommaAsPoint(text));
  if (std::isnan(mhz)) return 0;
  constexpr double kLimit = 9007199254740992.0;  // 2^53
  const double count = std::round(mhz * static_cast<double>(frequency_limits::kCountsPerMHz));
  if (count >= kLimit) return static_cast<std::int64_t>(kLimit);
  if (count <= -kLimit) return -static_cast<std::int64_t>(kLimit);
  return static_cast<std::int64_t>(count);
}

std::string FormatFrequency(std::uint32_t count) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%u.%05u",
                static_cast<unsigned>(count / frequency_limits::kCountsPerMHz),
                static_cast<unsigned>(count % frequency_limits::kCountsPerMHz));
  return buffer;
}

bool FrequencyOnRaster(std::int64_t count) {
  return std::any_of(std::begin(frequency_limits::kRasters), std::end(frequency_limits::kRasters),
                     [count](std::int64_t raster) { return count % raster == 0; });
}

}  // namespace zlm5
