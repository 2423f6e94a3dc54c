// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/serial_devices.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string_view>

#include "model/text_util.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;

static_assert(sizeof(uid_t) <= sizeof(UserId) && sizeof(gid_t) <= sizeof(GroupId),
              "user and group numbers fit the port finder's types");

// Read and write, as the link opens a port.
constexpr mode_t kOwnerReadWrite = S_IRUSR | S_IWUSR;
constexpr mode_t kGroupReadWrite = S_IRGRP | S_IWGRP;
constexpr mode_t kOtherReadWrite = S_IROTH | S_IWOTH;
// Levels from a tty's sysfs device up to its USB device: ttyUSB sits on a
// port under the interface, ttyACM on the interface itself.
constexpr int kUsbDeviceSearchDepth = 4;
constexpr std::string_view kSerialBaseBus = "serial-base";
// Command names (/proc/PID/comm) of the programs that grab USB adapters.
constexpr std::string_view kModemManager = "ModemManager";
constexpr std::string_view kBrltty = "brltty";

std::string ReadLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  if (!in || !std::getline(in, line)) return {};
  return std::string(TrimBlanks(line));
}

bool IsUsbAdapterName(std::string_view name) { return IsUsbAdapterNodeName(name); }

bool AllDigits(std::string_view s) {
  return !s.empty() &&
         std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

// Whether a tty's sysfs folder shows hardware behind it.
bool HasHardware(const fs::path& tty_sysfs) {
  std::error_code ec;
  if (!fs::exists(tty_sysfs / "device", ec)) return false;  // a virtual terminal
  return ReadLine(tty_sysfs / "type") != "0";               // "0": a UART slot with no UART
}

// Names of the tty devices present: hardware in sysfs, or a USB adapter node.
std::set<std::string> PresentDeviceNames(const SystemRoots& roots) {
  std::set<std::string> names;
  std::error_code ec;
  const fs::path class_tty = fs::path(roots.sys) / "class" / "tty";
  for (const auto& entry : fs::directory_iterator(class_tty, ec)) {
    const std::string name = entry.path().filename().string();
    std::error_code check;
    if (HasHardware(entry.path()) && fs::exists(fs::path(roots.dev) / name, check)) {
      names.insert(name);
    }
  }
  for (const auto& entry : fs::directory_iterator(roots.dev, ec)) {
    const std::string name = entry.path().filename().string();
    if (IsUsbAdapterName(name)) names.insert(name);
  }
  return names;
}

// The /dev/serial/by-id link that leads to `name`, or "".
std::string ByIdName(const SystemRoots& roots, const std::string& name) {
  std::error_code ec;
  const fs::path by_id = fs::path(roots.dev) / "serial" / "by-id";
  std::vector<std::string> links;
  for (const auto& entry : fs::directory_iterator(by_id, ec)) {
    std::error_code link_ec;
    const fs::path target = fs::read_symlink(entry.path(), link_ec);
    // udev writes "../../ttyUSB0".
    if (!link_ec && target.filename() == name) links.push_back(entry.path().string());
  }
  std::sort(links.begin(), links.end());
  return links.empty() ? std::string() : links.front();
}

void ReadSysfs(const SystemRoots& roots, SerialDevice& device, const std::string& name) {
  std::error_code ec;
  const fs::path device_dir =
      fs::canonical(fs::path(roots.sys) / "class" / "tty" / name / "device", ec);
  if (ec) return;
  // Since kernel 6.5 a UART's tty hangs off "port" and "ctrl" devices of
  // the serial-base bus; the driver that names the hardware is above them.
  for (fs::path dir = device_dir; dir.has_relative_path(); dir = dir.parent_path()) {
    const fs::path driver = fs::read_symlink(dir / "driver", ec);
    if (ec) break;
    if (driver.parent_path().parent_path().filename() == kSerialBaseBus) continue;
    device.driver = driver.filename().string();
    break;
  }
  fs::path dir = device_dir;
  for (int up = 0; up < kUsbDeviceSearchDepth && dir.has_relative_path();
       ++up, dir = dir.parent_path()) {
    if (!fs::exists(dir / "idVendor", ec)) continue;
    device.usb_id = ReadLine(dir / "idVendor") + ":" + ReadLine(dir / "idProduct");
    const std::string maker = ReadLine(dir / "manufacturer");
    const std::string product = ReadLine(dir / "product");
    if (maker.empty() || product.starts_with(maker)) {
      device.product = product.empty() ? maker : product;
    } else {
      device.product = product.empty() ? maker : maker + " " + product;
    }
    return;
  }
}

struct GroupEntry {
  std::string name;
  std::vector<std::string> members;
};

// The group file (name:password:GID:member,member) by GID.
std::map<gid_t, GroupEntry> ReadGroups(const std::string& path) {
  std::map<gid_t, GroupEntry> groups;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t colon; (colon = line.find(':', start)) != std::string::npos;
         start = colon + 1) {
      fields.push_back(line.substr(start, colon - start));
    }
    fields.push_back(line.substr(start));
    if (fields.size() < 4 || !AllDigits(fields[2])) continue;
    GroupEntry entry{fields[0], {}};
    std::string_view members = fields[3];
    while (!members.empty()) {
      const std::size_t comma = members.find(',');
      if (const std::string_view member = TrimBlanks(members.substr(0, comma)); !member.empty()) {
        entry.members.emplace_back(member);
      }
      members = comma == std::string_view::npos ? std::string_view{} : members.substr(comma + 1);
    }
    groups.emplace(static_cast<gid_t>(std::stoul(fields[2])), std::move(entry));
  }
  return groups;
}

DeviceAccess AccessFor(const std::string& path, const UserIdentity& user,
                       const std::map<gid_t, GroupEntry>& groups) {
  DeviceAccess access;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    access.problem = "its owner and permissions cannot be read";
    return access;
  }
  const auto group = groups.find(info.st_gid);
  access.group = group != groups.end() ? group->second.name : std::to_string(info.st_gid);
  access.in_group = std::find(user.gids.begin(), user.gids.end(), info.st_gid) != user.gids.end();

  const mode_t mode = info.st_mode;
  const auto allows = [mode](mode_t bits) { return (mode & bits) == bits; };
  // The kernel looks at one class of bits only: the owner's, else the group's, else the others'.
  if (user.uid == 0) {
    access.can_open = true;
  } else if (user.uid == info.st_uid) {
    access.can_open = allows(kOwnerReadWrite);
  } else if (access.in_group) {
    access.can_open = allows(kGroupReadWrite);
  } else {
    access.can_open = allows(kOtherReadWrite);
  }
  if (access.can_open) return access;

  if (user.uid != info.st_uid && !access.in_group && allows(kGroupReadWrite)) {
    const bool listed = group != groups.end() &&
                        std::find(group->second.members.begin(), group->second.members.end(),
                                  user.name) != group->second.members.end();
    if (listed) {
      access.problem = "it belongs to group " + access.group +
                       "; you were added to that group after this session began: log out and in "
                       "again";
    } else {
      access.problem = "it belongs to group " + access.group +
                       ", which you are not in: sudo usermod -aG " + access.group +
                       " $USER, then log out and in again";
    }
  } else {
    char octal[8];
    std::snprintf(octal, sizeof octal, "%04o", static_cast<unsigned>(mode & 07777));
    access.problem =
        std::string("its permissions (") + octal + ") give you no read and write access";
  }
  return access;
}

struct ProcessScan {
  std::map<std::string, std::vector<ProcessRef>> holders;  // by the path their fd leads to
  std::map<std::string, std::vector<int>> interferers;     // by command name
  bool all_seen = true;
};

// Every process's command name and open files, in PID order.
ProcessScan ScanProcesses(const SystemRoots& roots, const std::set<std::string>& device_paths) {
  ProcessScan scan;
  std::vector<int> pids;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(roots.proc, ec)) {
    const std::string name = entry.path().filename().string();
    if (AllDigits(name) && name.size() < 10) pids.push_back(std::stoi(name));
  }
  std::sort(pids.begin(), pids.end());
  for (const int pid : pids) {
    const fs::path dir = fs::path(roots.proc) / std::to_string(pid);
    const std::string comm = ReadLine(dir / "comm");
    if (comm == kModemManager || comm == kBrltty) scan.interferers[comm].push_back(pid);
    std::error_code fd_ec;
    fs::directory_iterator fds(dir / "fd", fd_ec);
    // A process that ended meanwhile is gone, not hidden.
    if (fd_ec) {
      if (fd_ec != std::errc::no_such_file_or_directory) scan.all_seen = false;
      continue;
    }
    std::set<std::string> held;  // a device open twice is one holder
    for (; fds != fs::directory_iterator(); fds.increment(fd_ec)) {
      std::error_code link_ec;
      const std::string target = fs::read_symlink(fds->path(), link_ec).string();
      if (!link_ec && device_paths.contains(target) && held.insert(target).second) {
        scan.holders[target].push_back({pid, comm});
      }
    }
  }
  return scan;
}

std::string PidList(const std::vector<int>& pids) {
  std::string text = pids.size() == 1 ? "PID " : "PIDs ";
  for (std::size_t i = 0; i < pids.size(); ++i) text += (i ? ", " : "") + std::to_string(pids[i]);
  return text;
}

std::string ModemManagerText(const std::vector<int>& pids,
                             const std::vector<SerialDevice>& devices) {
  std::string text = "ModemManager is running (" + PidList(pids) +
                     "). It probes USB serial adapters for modems when they are plugged in, "
                     "holding the port and sending the radio stray bytes. Keep it away from the "
                     "cable with a udev rule in /etc/udev/rules.d/99-z-lm5.rules:\n";
  std::set<std::string> ids;
  for (const SerialDevice& d : devices) {
    if (!d.usb_id.empty()) ids.insert(d.usb_id);
  }
  if (ids.empty()) ids.insert("VVVV:PPPP");  // plug the cable in to see its numbers
  for (const std::string& id : ids) {
    const std::size_t colon = id.find(':');
    text += "  ATTRS{idVendor}==\"" + id.substr(0, colon) + "\", ATTRS{idProduct}==\"" +
            id.substr(colon + 1) + "\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n";
  }
  text +=
      "then run sudo udevadm control --reload and plug the cable in again. Or stop it: sudo "
      "systemctl stop ModemManager";
  return text;
}

std::string BrlttyText(const std::vector<int>& pids) {
  return "brltty is running (" + PidList(pids) +
         "). It takes USB serial adapters of some kinds (CH340, CP210x) for Braille displays and "
         "detaches their serial driver, so the device disappears just after it is plugged in. "
         "Without a Braille display, remove it: sudo apt remove brltty (or your system's "
         "equivalent)";
}

}  // namespace

UserIdentity UserIdentity::Current() {
  UserIdentity user;
  user.uid = ::geteuid();
  user.gids.push_back(::getegid());
  const int count = ::getgroups(0, nullptr);
  if (count > 0) {
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    const int got = ::getgroups(count, groups.data());
    if (got > 0) user.gids.insert(user.gids.end(), groups.begin(), groups.begin() + got);
  }
  std::vector<char> buffer(16 * 1024);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(user.uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
    user.name = found->pw_name;
  }
  return user;
}

std::vector<SerialDevice> ListSerialDevices(const SystemRoots& roots) {
  std::vector<SerialDevice> devices;
  for (const std::string& name : PresentDeviceNames(roots)) {
    SerialDevice device;
    device.path = (fs::path(roots.dev) / name).string();
    device.by_id = ByIdName(roots, name);
    ReadSysfs(roots, device, name);
    devices.push_back(std::move(device));
  }
  return devices;
}

bool SerialDeviceExists(const SystemRoots& roots, const std::string& path) {
  std::error_code ec;
  const fs::path target = fs::canonical(path, ec);
  if (ec) return false;
  const std::string name = target.filename().string();
  const fs::path tty_sysfs = fs::path(roots.sys) / "class" / "tty" / name;
  // A node that is no tty of sysfs's (a pseudo-terminal) is there as it is.
  if (!fs::exists(tty_sysfs, ec)) return true;
  return HasHardware(tty_sysfs) || IsUsbAdapterName(name);
}

DeviceHolders FindDeviceHolders(const SystemRoots& roots, const std::string& path) {
  std::error_code ec;
  const fs::path device = fs::canonical(path, ec);
  const std::string target = ec ? path : device.string();
  ProcessScan scan = ScanProcesses(roots, {target});
  DeviceHolders holders;
  holders.all_processes_seen = scan.all_seen;
  if (auto held = scan.holders.find(target); held != scan.holders.end()) {
    holders.processes = std::move(held->second);
  }
  return holders;
}

SerialSurvey SurveySerialDevices(const SystemRoots& roots, const UserIdentity& user) {
  SerialSurvey survey;
  survey.devices = ListSerialDevices(roots);
  const std::map<gid_t, GroupEntry> groups = ReadGroups(roots.group_file);
  std::set<std::string> paths;
  for (SerialDevice& device : survey.devices) {
    device.access = AccessFor(device.path, user, groups);
    paths.insert(device.path);
  }

  ProcessScan scan = ScanProcesses(roots, paths);
  survey.all_processes_seen = scan.all_seen;
  for (SerialDevice& device : survey.devices) {
    if (auto held = scan.holders.find(device.path); held != scan.holders.end()) {
      device.holders = std::move(held->second);
    }
  }
  if (auto mm = scan.interferers.find(std::string(kModemManager)); mm != scan.interferers.end()) {
    survey.warnings.push_back(
        {std::string(kModemManager), mm->second, ModemManagerText(mm->second, survey.devices)});
  }
  if (auto brl = scan.interferers.find(std::string(kBrltty)); brl != scan.interferers.end()) {
    survey.warnings.push_back({std::string(kBrltty), brl->second, BrlttyText(brl->second)});
  }
  return survey;
}

}  // namespace zlm5
