// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zlm5 {

// File names cross the core as UTF-8 strings, whatever the platform. A
// std::filesystem::path made from a plain std::string reads it in the
// system's narrow code page, which on Windows is not UTF-8: "Kanäle.sin"
// would then name another file, or none. These two convert through
// char8_t, which the standard library reads as UTF-8 everywhere.

// The path named by the UTF-8 text `utf8`.
inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The UTF-8 text of `path`, as the core passes file names around.
inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return std::string(utf8.begin(), utf8.end());
}

}  // namespace zlm5
