// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/fleet_plan.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "model/text_util.h"

namespace zlm5 {
namespace {

constexpr std::string_view kByIdFolder = "/dev/serial/by-id/";
constexpr std::string_view kFileSuffix = ".sin";

// One text for every name of a port: where a device path leads (links
// followed), or the COM port a Windows name means ("com5", "\\.\COM5").
std::string DeviceIdentity(const std::string& device) { return PortIdentity(device); }

// COM names are the same in any letter case.
bool SamePortName(std::string_view a, std::string_view b) {
  if (IsComPortName(a) || IsComPortName(b)) return EqualsIgnoringCase(a, b);
  return a == b;
}

std::string SafeFileName(std::string_view name) {
  std::string out;
  for (const char c : name) {
    const bool safe = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                      c == '.' || c == '_' || c == '-';
    out.push_back(safe ? c : '_');
  }
  // "." and ".." are no file names of ours.
  if (!out.empty() && out.front() == '.') out.front() = '_';
  return out;
}

std::string ByIdName(const FleetPort& port, std::span<const SerialDevice> devices) {
  for (const std::string* path : {&port.name, &port.device}) {
    if (path->starts_with(kByIdFolder) && path->size() > kByIdFolder.size()) {
      return path->substr(kByIdFolder.size());
    }
  }
  const std::string target = DeviceIdentity(port.device);
  for (const SerialDevice& device : devices) {
    if (device.by_id.empty()) continue;
    if (device.path == port.device || DeviceIdentity(device.path) == target) {
      return std::filesystem::path(device.by_id).filename().string();
    }
  }
  return {};
}

}  // namespace

Status CheckFleetPorts(std::span<const FleetPort> ports) {
  for (std::size_t i = 0; i < ports.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (SamePortName(ports[i].name, ports[j].name) || ports[i].device == ports[j].device ||
          DeviceIdentity(ports[i].device) == DeviceIdentity(ports[j].device)) {
        const std::string what = ports[i].name == ports[j].name
                                     ? ports[i].name
                                     : ports[j].name + " and " + ports[i].name;
        return Error(what,
                     "the same port is given twice (" + DeviceIdentity(ports[i].device) + ")");
      }
    }
  }
  return Ok{};
}

Result<IdentityAssignment> AssignIdentities(const IdentityList& list,
                                            std::span<const FleetPort> ports,
                                            const PortTable& table) {
  IdentityAssignment assignment;
  assignment.row_of_port.assign(ports.size(), std::nullopt);
  for (std::size_t r = 0; r < list.rows.size(); ++r) {
    const IdentityRow& row = list.rows[r];
    std::optional<std::size_t> port;
    if (list.key == IdentityKey::kOrder) {
      if (static_cast<std::size_t>(row.order) <= ports.size()) port = row.order - 1;
    } else {
      // A row's COM name that the table cannot map names no device.
      const Result<std::string> device = ResolvePortName(row.port, table);
      for (std::size_t p = 0; p < ports.size() && !port; ++p) {
        if (SamePortName(row.port, ports[p].name) ||
            (device && (*device == ports[p].device ||
                        DeviceIdentity(*device) == DeviceIdentity(ports[p].device)))) {
          port = p;
        }
      }
    }
    if (!port) {
      assignment.rows_without_port.push_back(r);
      continue;
    }
    if (const auto& earlier = assignment.row_of_port[*port]) {
      return Error("line " + std::to_string(row.line),
                   "port " + row.port + " is " + ports[*port].name + ", which line " +
                       std::to_string(list.rows[*earlier].line) + " names already");
    }
    assignment.row_of_port[*port] = r;
  }
  for (std::size_t p = 0; p < ports.size(); ++p) {
    if (!assignment.row_of_port[p]) assignment.ports_without_row.push_back(p);
  }
  return assignment;
}

std::vector<std::string> AssignmentFindings(const IdentityList& list,
                                            const IdentityAssignment& assignment,
                                            std::span<const FleetPort> ports) {
  std::vector<std::string> lines;
  for (const std::size_t r : assignment.rows_without_port) {
    const IdentityRow& row = list.rows[r];
    const std::string where = "line " + std::to_string(row.line) + ": ";
    if (list.key == IdentityKey::kOrder) {
      lines.push_back(where + "Order " + std::to_string(row.order) + ", but " +
                      std::to_string(ports.size()) +
                      (ports.size() == 1 ? " port is" : " ports are") + " given");
    } else {
      lines.push_back(where + "port " + row.port + " is not among the ports given");
    }
  }
  for (const std::size_t p : assignment.ports_without_row) {
    lines.push_back(ports[p].name +
                    ": no row in the identity list; the radio gets the file's identity");
  }
  return lines;
}

FleetWritePlan PlanFleetWrite(const RadioImage& image, std::span<const FleetPort> ports,
                              const IdentityList* list, const IdentityAssignment* assignment) {
  FleetWritePlan plan;
  for (std::size_t p = 0; p < ports.size(); ++p) {
    FleetRadio radio{ports[p].name, ports[p].device, {}, image};
    AppliedIdentity applied;
    if (list != nullptr && assignment != nullptr && p < assignment->row_of_port.size()) {
      if (const auto& r = assignment->row_of_port[p]) {
        const RadioIdentity& identity = list->rows[*r].identity;
        radio.label = identity.name;
        applied = ApplyIdentity(identity, radio.image);
      }
    }
    plan.radios.push_back(std::move(radio));
    plan.identities.push_back(std::move(applied));
  }
  return plan;
}

std::vector<std::string> FleetReadFileNames(std::span<const FleetPort> ports,
                                            std::span<const SerialDevice> devices) {
  const auto by_position = [](std::size_t p) {
    return "radio-" + std::to_string(p + 1) + std::string(kFileSuffix);
  };
  std::vector<std::string> names;
  for (const FleetPort& port : ports) {
    const std::string by_id = ByIdName(port, devices);
    names.push_back(by_id.empty() ? std::string() : SafeFileName(by_id) + std::string(kFileSuffix));
  }
  std::vector<bool> shared(names.size());
  for (std::size_t p = 0; p < names.size(); ++p) {
    shared[p] = std::count(names.begin(), names.end(), names[p]) > 1;
  }
  for (std::size_t p = 0; p < names.size(); ++p) {
    if (names[p].empty() || shared[p]) names[p] = by_position(p);
  }
  std::set<std::string> taken;
  // A by-id name could look like a position name of another port.
  for (std::size_t p = 0; p < names.size(); ++p) {
    if (!taken.insert(names[p]).second) names[p] = by_position(p);
  }
  return names;
}

}  // namespace zlm5
