// SPDX-License-Identifier: GPL-3.0-or-later
// The port finder on Windows: every COM port the system has, by its COM
// name, in number order (COM2 before COM10), each once. Two lists make it:
// - the system's list of present devices (SetupAPI's "Ports" class), which
//   also gives the driver's service, the USB ids and the product;
// - the registry's list of the serial ports the drivers made
//   (HKLM\HARDWARE\DEVICEMAP\SERIALCOMM), for the ports that have no
//   entry in the first: those of virtual port drivers, and all of wine's.
//   Only their COM name is known; the kernel device name it is listed
//   under ("\Device\Serial0") is not the driver, so driver, USB ids and
//   product stay empty.
//
// Where Windows differs from Linux, as a user sees it:
// - A port has no stable name beside its COM name (by_id stays empty):
//   Windows keeps a USB adapter's COM number itself, by its serial number.
// - Nothing tells who has a port open or whether an open would be refused:
//   any user may open a COM port, and only the open finds another program
//   holding it. Access is "not known", holders are not visible, and
//   all_processes_seen is false.
// - No ModemManager or brltty: no warnings.
// - The ports without a driver installed are not in the list (Device
//   Manager shows them under "Other devices").
// - Under wine, a COM port that is only a link in the prefix's dosdevices
//   folder opens but is neither listed nor there (SerialDeviceExists): wine
//   sets up, and puts into SERIALCOMM, only the ports it finds when it
//   starts (/dev/ttyS*, ttyUSB*, ttyACM*) and those HKLM\Software\Wine\Ports
//   names ("COM7" = "/dev/pts/3"), each as a device of the system.
#include <windows.h>
// After windows.h, which they need; initguid.h makes devguid.h define the
// class's GUID here rather than only declare it.
#include <initguid.h>
// After initguid.h.
#include <devguid.h>
#include <setupapi.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/port_names.h"
#include "link/port_properties.h"
#include "link/serial_devices.h"
#include "model/win32_text.h"

namespace zlm5 {
namespace {

constexpr std::string_view kAccessNotKnown =
    "not known before it is opened: Windows tells only then whether another program has the port";

// A text property of a device in the list ("" when it has none); for a
// list of texts (REG_MULTI_SZ) the first.
std::string TextProperty(HDEVINFO set, SP_DEVINFO_DATA& info, DWORD property) {
  DWORD type = 0;
  DWORD size = 0;
  SetupDiGetDeviceRegistryPropertyW(set, &info, property, &type, nullptr, 0, &size);
  if (size == 0 || (type != REG_SZ && type != REG_MULTI_SZ)) return {};
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
  if (!SetupDiGetDeviceRegistryPropertyW(set, &info, property, &type,
                                         reinterpret_cast<BYTE*>(text.data()), size, nullptr)) {
    return {};
  }
  return Utf8FromWide(text.data());  // up to the first NUL
}

// The "PortName" value of the device's own key: "COM5", or "LPT1" for the
// printer ports of the same class.
std::string PortName(HDEVINFO set, SP_DEVINFO_DATA& info) {
  HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key == INVALID_HANDLE_VALUE) return {};
  wchar_t name[64] = {};
  DWORD size = sizeof name - sizeof(wchar_t);  // room for the NUL it may lack
  DWORD type = 0;
  const LONG read =
      RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS || type != REG_SZ) return {};
  return Utf8FromWide(name);
}

// The ports of the system's device list, with what it says of them.
std::vector<SerialDevice> DeviceListPorts() {
  std::vector<SerialDevice> devices;
  HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
  if (set == INVALID_HANDLE_VALUE) return devices;
  for (DWORD index = 0;; ++index) {
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    if (!SetupDiEnumDeviceInfo(set, index, &info)) break;
    const std::string port = PortName(set, info);
    if (!ComPortNumber(port)) continue;  // a printer port, or no name
    SerialDevice device;
    device.path = *ComPortKey(port);
    device.driver = TextProperty(set, info, SPDRP_SERVICE);
    device.usb_id = UsbIdFromHardwareId(TextProperty(set, info, SPDRP_HARDWAREID));
    device.product = ProductFromFriendlyName(TextProperty(set, info, SPDRP_FRIENDLYNAME), port);
    devices.push_back(std::move(device));
  }
  SetupDiDestroyDeviceInfoList(set);
  return devices;
}

// The COM names of the serial ports the drivers made, as SERIALCOMM lists
// them: one value per port, named after its kernel device, holding its COM
// name (REG_SZ). Other values are skipped; no key means no ports.
std::vector<std::string> SerialCommPorts() {
  std::vector<std::string> ports;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, LR"(HARDWARE\DEVICEMAP\SERIALCOMM)", 0, KEY_QUERY_VALUE,
                    &key) != ERROR_SUCCESS) {
    return ports;
  }
  DWORD longest_name = 0;  // in characters, without the NUL
  DWORD largest_data = 0;  // in bytes
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       &longest_name, &largest_data, nullptr, nullptr) == ERROR_SUCCESS) {
    std::vector<wchar_t> name(longest_name + 1);
    // Room for a NUL the data may lack.
    std::vector<wchar_t> data(largest_data / sizeof(wchar_t) + 1);
    for (DWORD index = 0;; ++index) {
      auto name_size = static_cast<DWORD>(name.size());
      auto data_size = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
      DWORD type = 0;
      const LONG read = RegEnumValueW(key, index, name.data(), &name_size, nullptr, &type,
                                      reinterpret_cast<BYTE*>(data.data()), &data_size);
      // A value added since the sizes were asked for may not fit: skipped.
      if (read == ERROR_MORE_DATA) continue;
      if (read != ERROR_SUCCESS) break;  // ERROR_NO_MORE_ITEMS at the end
      if (type != REG_SZ) continue;
      const std::wstring_view text(data.data(), data_size / sizeof(wchar_t));
      const std::string port = Utf8FromWide(text.substr(0, text.find(L'\0')));
      if (std::optional<std::string> key = ComPortKey(port)) ports.push_back(std::move(*key));
    }
  }
  RegCloseKey(key);
  return ports;
}

std::vector<SerialDevice> ListedPorts() {
  std::vector<SerialDevice> devices = DeviceListPorts();
  for (std::string& port : SerialCommPorts()) {
    SerialDevice device;
    device.path = std::move(port);
    devices.push_back(std::move(device));
  }
  // COM2 before COM10; of one port listed twice the first is kept, so that
  // the device list's entry, which says more, wins.
  std::stable_sort(devices.begin(), devices.end(),
                   [](const SerialDevice& a, const SerialDevice& b) {
                     return ComPortNumber(a.path) < ComPortNumber(b.path);
                   });
  devices.erase(
      std::unique(devices.begin(), devices.end(),
                  [](const SerialDevice& a, const SerialDevice& b) { return a.path == b.path; }),
      devices.end());
  return devices;
}

// Whether the system has a device by the name of `port` ("COM5"), listed
// or not (a driver may make a port without telling either list).
bool HasDosDevice(const std::string& port) {
  wchar_t target[MAX_PATH];
  return QueryDosDeviceW(WideFromUtf8(port).c_str(), target, MAX_PATH) != 0;
}

}  // namespace

UserIdentity UserIdentity::Current() {
  UserIdentity user;
  wchar_t name[256];
  DWORD size = 256;
  if (GetUserNameW(name, &size) && size > 0) user.name = Utf8FromWide(name);
  return user;
}

std::vector<SerialDevice> ListSerialDevices(const SystemRoots& /*roots*/) { return ListedPorts(); }

SerialSurvey SurveySerialDevices(const SystemRoots& /*roots*/, const UserIdentity& /*user*/) {
  SerialSurvey survey;
  survey.devices = ListedPorts();
  for (SerialDevice& device : survey.devices) {
    device.access.known = false;
    device.access.problem = std::string(kAccessNotKnown);
  }
  survey.all_processes_seen = false;
  survey.holders_visible = false;
  return survey;
}

DeviceHolders FindDeviceHolders(const SystemRoots& /*roots*/, const std::string& /*path*/) {
  DeviceHolders holders;
  holders.all_processes_seen = false;
  return holders;
}

bool SerialDeviceExists(const SystemRoots& /*roots*/, const std::string& path) {
  const std::optional<std::string> port = ComPortKey(path);
  if (!port) {
    // Another device name ("\\.\CNCA0"): there when the system knows it.
    constexpr std::string_view kDevicePrefix = R"(\\.\)";
    return path.starts_with(kDevicePrefix) && HasDosDevice(path.substr(kDevicePrefix.size()));
  }
  const std::vector<SerialDevice> listed = ListedPorts();
  return std::any_of(listed.begin(), listed.end(),
                     [&](const SerialDevice& d) { return d.path == *port; }) ||
         HasDosDevice(*port);
}

}  // namespace zlm5
