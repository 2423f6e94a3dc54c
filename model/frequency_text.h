// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zlm5 {

// Frequencies typed by the user and shown in the grid: MHz texts with five
// decimals; in the image they are counts of 10 Hz units.
namespace frequency_limits {
inline constexpr std::int64_t kLowestCount = 6700000;    // 67.00000 MHz, accepted
inline constexpr std::int64_t kHighestCount = 52100000;  // 521.00000 MHz, accepted
inline constexpr std::int64_t kCountsPerMHz = 100000;
// Channel rasters in 10 Hz units: 6.25 kHz, 5 kHz and 2.5 kHz.
inline constexpr std::int64_t kRasters[] = {625, 500, 250};
}  // namespace frequency_limits

// Messages of a rejected frequency (the comma is the full-width "，").
inline constexpr std::string_view kFrequencyFormatError = "Error Data Format，Please input again";
inline constexpr std::string_view kFrequencyStepError =
    "Error data Value，Please input according the step value(6.25K/5k/2.5k)";

// The number at the start of `text`, read like C's strtod in the "C" locale
// whatever the process locale is: leading white space, a sign, decimal or
// hexadecimal digits, a fraction, an exponent, "inf" or "nan"; reading stops
// at the first character that does not fit. A text that does not start with
// a number reads as 0.
double ReadLeadingNumber(std::string_view text);

// A frequency text read as MHz, times 100000, rounded to the nearest whole
// count (halves away from zero). A text that is not a number, and "nan",
// count 0; huge values saturate at +-2^53 so that they stay comparable.
// A decimal comma right after the leading digits reads as the point
// ("146,525" is 146.525 MHz).
std::int64_t FrequencyTextToCount(std::string_view text);

// The count printed as MHz with five decimals ("%3.5f"): 14652500 gives
// "146.52500". Independent of the process locale.
std::string FormatFrequency(std::uint32_t count);

// True when the count is on one of the three channel rasters.
bool FrequencyOnRaster(std::int64_t count);

}  // namespace zlm5
