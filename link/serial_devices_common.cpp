// SPDX-License-Identifier: GPL-3.0-or-later
// What the port finder decides the same way on every system, from what the
// platform's own finder (serial_devices.cpp, serial_devices_win.cpp) saw.
#include <filesystem>

#include "link/serial_devices.h"

namespace zlm5 {

bool IsUsbAdapterNodeName(std::string_view name) {
  return name.starts_with("ttyUSB") || name.starts_with("ttyACM");
}

bool IsUsbSerialDevice(const SerialDevice& device) {
  return !device.usb_id.empty() ||
         IsUsbAdapterNodeName(std::filesystem::path(device.path).filename().string());
}

std::optional<SerialDevice> LoneUsbStandIn(const SystemRoots& roots,
                                           const std::string& chosen_device,
                                           const std::vector<SerialDevice>& present) {
  if (SerialDeviceExists(roots, chosen_device)) return std::nullopt;
  std::optional<SerialDevice> lone;
  for (const SerialDevice& device : present) {
    if (!IsUsbSerialDevice(device)) continue;
    if (lone) return std::nullopt;  // which one is the radio's is the user's call
    lone = device;
  }
  return lone;
}

std::string InUseText(const std::vector<ProcessRef>& holders) {
  if (holders.empty()) return {};
  std::string text = "in use by ";
  for (std::size_t i = 0; i < holders.size(); ++i) {
    text += (i ? ", " : "") + holders[i].name + " (PID " + std::to_string(holders[i].pid) + ")";
  }
  return text;
}

}  // namespace zlm5
