// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zlm5::temporary_name {

// The names TemporaryFile gives its files: ".z-lm5-save-PID-N.tmp". Short,
// and not grown from the target's name, so that any name that fits can be
// saved.
inline constexpr std::string_view kPrefix = ".z-lm5-save-";
inline constexpr std::string_view kSuffix = ".tmp";
// Attempts at a free temporary file name before giving up.
inline constexpr int kAttempts = 100;
// The random part of a name: 0 to this, less one.
inline constexpr unsigned kRandomRange = 1000000;

inline std::string Make(unsigned long process, unsigned random) {
  return std::string(kPrefix) + std::to_string(process) + "-" +
         std::to_string(random % kRandomRange) + std::string(kSuffix);
}

// Whether `name` (without folder) is one that Make gives.
inline bool Matches(std::string_view name) {
  return name.size() > kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) &&
         name.ends_with(kSuffix);
}

}  // namespace zlm5::temporary_name
