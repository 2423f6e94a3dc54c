// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zlm5 {

// How Windows describes a serial port in its device list, read into the
// port finder's fields. Plain text work, so that it is the same (and
// tested) on every system.

// The USB vendor and product of a hardware id, as Linux writes them:
// "0403:6001" for "USB\VID_0403&PID_6001&REV_0600" or
// "FTDIBUS\COMPORT&VID_0403&PID_6001" (any letter case; hex digits come out
// in lower case). "" when the id has no four-digit VID_ and PID_ (a
// built-in UART: "ACPI\PNP0501").
std::string UsbIdFromHardwareId(std::string_view hardware_id);

// The product part of a friendly name: "USB Serial Port" for
// "USB Serial Port (COM5)" with port "COM5". The port's own name in
// parentheses at the end goes, in any letter case; anything else is kept.
std::string ProductFromFriendlyName(std::string_view friendly_name, std::string_view port);

}  // namespace zlm5
