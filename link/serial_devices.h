// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zlm5 {

// Where the port finder looks on Linux. The machine's own folders by
// default; a test, or a user looking at a copy of another machine's tree,
// names others. Windows asks the system's device list and has no roots.
struct SystemRoots {
  std::string sys = "/sys";
  std::string dev = "/dev";
  std::string proc = "/proc";
  std::string group_file = "/etc/group";
};

// A POSIX user or group number (uid_t, gid_t).
using UserId = std::uint32_t;
using GroupId = std::uint32_t;

// The user asking, for whom "can it be opened" is answered. On Windows only
// the name is known; the numbers stay 0.
struct UserIdentity {
  UserId uid = 0;
  std::vector<GroupId> gids;  // the groups this session has (effective and supplementary)
  std::string name;           // login name, as group lists in the group file name it

  // The running program's effective user and groups.
  static UserIdentity Current();
};

// A running program, from /proc.
struct ProcessRef {
  int pid = 0;
  std::string name;  // its command name (/proc/PID/comm), "minicom"

  friend bool operator==(const ProcessRef&, const ProcessRef&) = default;
};

// Whether the user may open a device for reading and writing, from its
// owner, group and mode bits. Access control lists are not consulted.
struct DeviceAccess {
  bool can_open = false;
  std::string group;      // the owning group's name ("dialout"), or its number
  bool in_group = false;  // this session has the owning group
  // Empty when can_open; otherwise why not and what to do, e.g. "it belongs
  // to group dialout, which you are not in: sudo usermod -aG dialout $USER,
  // then log out and in again".
  std::string problem;
  // False where the answer is not known without opening the device
  // (Windows: what stops an open is another program holding the port,
  // which the system tells only to the open). can_open is false then and
  // `problem` says that it is not known.
  bool known = true;
};

// One serial device present on the machine.
struct SerialDevice {
  std::string path;     // "/dev/ttyUSB0"; on Windows the port's name, "COM5"
  std::string by_id;    // "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1-if00-port0", or ""
  std::string driver;   // kernel driver, "ftdi_sio", "cdc_acm", "serial8250" ("FTDIBUS",
                        // "usbser", "Serial" on Windows), or ""
  std::string usb_id;   // USB vendor:product, "0403:6001", or "" when not on USB
  std::string product;  // manufacturer and product strings, "FTDI FT232R USB UART", or ""
  DeviceAccess access;
  std::vector<ProcessRef> holders;  // processes with the device open, by PID
};

// A program known to take USB serial adapters away from other programs.
struct PortWarning {
  std::string program;    // "ModemManager" or "brltty"
  std::vector<int> pids;  // its running processes
  std::string text;       // what it does and what to do, several lines
};

struct SerialSurvey {
  // By path. A device is listed when its node exists under the dev root and
  // either sysfs shows hardware behind it (a "device" link, and a "type"
  // other than 0 where there is one: the machine's ttyS0..ttyS31 nodes
  // exist with or without a UART) or it is a USB adapter (ttyUSB*, ttyACM*),
  // which the Port menu lists too.
  std::vector<SerialDevice> devices;
  std::vector<PortWarning> warnings;
  // False when the open files of some processes could not be read (those
  // of other users, without root): a device with no holders may then still
  // be in use.
  bool all_processes_seen = true;
  // False where the system does not say which programs have a device open
  // (Windows): no device has holders then, whether it is in use or not.
  bool holders_visible = true;
};

// Looks at the serial devices without opening any (opening one can reset
// what is behind it). On Windows: the system's list of present ports
// (SetupAPI) for the COM name, the friendly name, the hardware id and the
// driver's service, and the COM names of the ports that list lacks from
// the registry's list of serial ports (SERIALCOMM: virtual ports, wine's);
// access and holders unknown. On Linux: sysfs for the driver and the USB strings,
// /dev/serial/by-id for the stable name, the device node's owner and mode
// for access, /proc/PID/fd for the processes that hold it and
// /proc/PID/comm for ModemManager and brltty.
SerialSurvey SurveySerialDevices(const SystemRoots& roots, const UserIdentity& user);

// The devices SurveySerialDevices lists, with their names, driver and USB
// strings only: `access` and `holders` stay empty (no user asked, no look
// at the processes). Quick enough for a menu rebuilt at each opening.
std::vector<SerialDevice> ListSerialDevices(const SystemRoots& roots = {});

// The processes that have one device open.
struct DeviceHolders {
  std::vector<ProcessRef> processes;  // in PID order
  // As SerialSurvey::all_processes_seen: false when some processes' open
  // files could not be read, so that a holder may be missing.
  bool all_processes_seen = true;
};

// Who has `path` open, from /proc/PID/fd under `roots.proc`. A link to the
// device (a by-id name) is followed first. Nothing is opened. Windows does
// not tell: no processes, and all_processes_seen false.
DeviceHolders FindDeviceHolders(const SystemRoots& roots, const std::string& path);

// "in use by minicom (PID 1234), screen (PID 99)"; "" for none.
std::string InUseText(const std::vector<ProcessRef>& holders);

// True for a device on USB: a ttyUSB or ttyACM node, or one with USB ids.
bool IsUsbSerialDevice(const SerialDevice& device);
// True for the node names Linux gives USB serial adapters: ttyUSB*, ttyACM*.
bool IsUsbAdapterNodeName(std::string_view name);

// Whether `path` leads to a serial device that is there: the node exists
// (a by-id link is followed) and, for a tty that sysfs knows, hardware is
// behind it, since ttyS0..ttyS31 exist on every machine with or without a
// UART. A node that sysfs does not know (a pseudo-terminal) counts when it
// exists. On Windows: a COM port the system lists or has a device name for.
bool SerialDeviceExists(const SystemRoots& roots, const std::string& path);

// The port to use at start-up instead of `chosen_device` when that device
// is not there (SerialDeviceExists) and exactly one USB serial device is
// among `present`: that device. Nothing otherwise, also when there are two
// adapters to choose from.
std::optional<SerialDevice> LoneUsbStandIn(const SystemRoots& roots,
                                           const std::string& chosen_device,
                                           const std::vector<SerialDevice>& present);

}  // namespace zlm5
