// SPDX-License-Identifier: GPL-3.0-or-later
// The port names on Windows. The system names its serial ports COM1 to
// COM256 itself, so a COM name opens that port: there is no table to look
// it up in, and the settings file of the Linux program is not read. A name
// of the device namespace ("\\.\COM12", "\\.\CNCA0" of a virtual port
// driver) is passed on as it is.
#include <cctype>

#include "link/port_names.h"
#include "model/text_util.h"

namespace zlm5 {
namespace {

constexpr std::string_view kDevicePrefix = R"(\\.\)";

}  // namespace

std::array<std::string, 4> DefaultPortDevices() { return {"COM1", "COM2", "COM3", "COM4"}; }

Result<PortTable> LoadPortTable(const std::string& /*path*/) { return PortTable{}; }

bool IsComPortName(std::string_view name) { return ComPortNumber(TrimBlanks(name)).has_value(); }

Result<std::string> ResolvePortName(std::string_view name, const PortTable& /*table*/) {
  const std::string_view trimmed = TrimBlanks(name);
  if (trimmed.size() > kDevicePrefix.size() && trimmed.starts_with(kDevicePrefix)) {
    return std::string(trimmed);
  }
  if (const std::optional<int> number = ComPortNumber(trimmed)) {
    return "COM" + std::to_string(*number);
  }
  return Error("port \"" + std::string(name) + "\"",
               "unknown port name; use COM1 to COM256 or a device name such as \\\\.\\COM5");
}

std::string PortIdentity(const std::string& device) {
  std::optional<std::string> key = ComPortKey(device);
  return key ? *key : device;
}

}  // namespace zlm5
