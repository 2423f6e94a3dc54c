// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "link/fleet_run.h"
#include "link/port_names.h"
#include "link/serial_devices.h"
#include "model/error.h"
#include "model/identity_list.h"
#include "model/radio_image.h"

namespace zlm5 {

// What is settled before a fleet run touches a radio: which ports, which
// identity each radio gets, where a read is saved.

// A port of a fleet run: as the user named it, and the device it opens.
struct FleetPort {
  std::string name;    // "COM2", "/dev/ttyUSB0"
  std::string device;  // "/dev/ttyS1", "/dev/ttyUSB0"
};

// The error when two ports are one device (the same path, a COM name and
// its device, a /dev/serial/by-id link and its target): a radio must not
// be talked to twice at once.
Status CheckFleetPorts(std::span<const FleetPort> ports);

// How the rows of an identity list meet the ports of a run.
struct IdentityAssignment {
  // Per port, in the order given: the index of its row, or none.
  std::vector<std::optional<std::size_t>> row_of_port;
  std::vector<std::size_t> rows_without_port;  // rows naming no port of the run
  std::vector<std::size_t> ports_without_row;  // ports no row names

  bool complete() const { return rows_without_port.empty() && ports_without_row.empty(); }
};

// By Port, a row is for a port when it names it as the user did (COM names
// in any letter case) or names the same device (a COM name through
// `table`, a link to it); by Order, row k is for the k-th port. Error: two
// rows for one port.
Result<IdentityAssignment> AssignIdentities(const IdentityList& list,
                                            std::span<const FleetPort> ports,
                                            const PortTable& table);

// The rows and ports that did not meet, one line each, for the user to see
// before anything is written:
//   "line 4: port /dev/ttyUSB7 is not among the ports given"
//   "line 5: Order 4, but 3 ports are given"
//   "/dev/ttyUSB2: no row in the identity list; the radio gets the file's identity"
std::vector<std::string> AssignmentFindings(const IdentityList& list,
                                            const IdentityAssignment& assignment,
                                            std::span<const FleetPort> ports);

// The radios of a fleet write: a copy of `image` for each port with its
// row's identity applied (ApplyIdentity), and what was applied (empty for a
// port without a row). Without a list every radio gets `image` as it is.
struct FleetWritePlan {
  std::vector<FleetRadio> radios;
  std::vector<AppliedIdentity> identities;
};
FleetWritePlan PlanFleetWrite(const RadioImage& image, std::span<const FleetPort> ports,
                              const IdentityList* list = nullptr,
                              const IdentityAssignment* assignment = nullptr);

// The file names a fleet read saves into, one per port: the port's stable
// /dev/serial/by-id name ("usb-FTDI_FT232R_USB_UART_A1-if00-port0.sin",
// from the port itself or from the survey's entry for its device), else its
// position ("radio-2.sin"). Characters other than letters, digits, '.',
// '_' and '-' become '_'; a name two ports would share falls back to the
// position.
std::vector<std::string> FleetReadFileNames(std::span<const FleetPort> ports,
                                            std::span<const SerialDevice> devices);

}  // namespace zlm5
