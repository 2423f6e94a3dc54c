// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_properties.h"

#include <cctype>
#include <optional>

#include "model/text_util.h"

namespace zlm5 {
namespace {

constexpr std::size_t kIdDigits = 4;

// The four hex digits after `key` ("VID_") in `id`, in lower case.
std::optional<std::string> HexAfter(std::string_view id, std::string_view key) {
  for (std::size_t at = 0; at + key.size() + kIdDigits <= id.size(); ++at) {
    if (!StartsWithIgnoringCase(id.substr(at), key)) continue;
    std::string digits;
    for (const char c : id.substr(at + key.size(), kIdDigits)) {
      if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
      digits.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    }
    return digits;
  }
  return std::nullopt;
}

}  // namespace

std::string UsbIdFromHardwareId(std::string_view hardware_id) {
  const std::optional<std::string> vendor = HexAfter(hardware_id, "VID_");
  const std::optional<std::string> product = HexAfter(hardware_id, "PID_");
  if (!vendor || !product) return {};
  return *vendor + ":" + *product;
}

std::string ProductFromFriendlyName(std::string_view friendly_name, std::string_view port) {
  const std::string suffix = " (" + std::string(port) + ")";
  if (!port.empty() && friendly_name.size() >= suffix.size() &&
      EqualsIgnoringCase(friendly_name.substr(friendly_name.size() - suffix.size()), suffix)) {
    friendly_name.remove_suffix(suffix.size());
  }
  return std::string(friendly_name);
}

}  // namespace zlm5
