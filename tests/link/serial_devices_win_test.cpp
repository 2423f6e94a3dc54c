// SPDX-License-Identifier: GPL-3.0-or-later
// The port finder as Windows has it: the COM ports by their COM names,
// with what cannot be known said so.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/port_names.h"
#include "link/serial_devices.h"

namespace zlm5 {
namespace {

const std::string kAccessNotKnown =
    "not known before it is opened: Windows tells only then whether another program has the port";

std::vector<std::string> Paths(const std::vector<SerialDevice>& devices) {
  std::vector<std::string> paths;
  for (const SerialDevice& device : devices) paths.push_back(device.path);
  return paths;
}

// Whatever the system lists (wine: nothing, or its own COM ports), the
// finder gives COM names and says what it cannot know.
TEST(SerialDevicesWinTest, ThePortsListedAreComNamesWithAccessNotKnown) {
  const SerialSurvey survey = SurveySerialDevices(SystemRoots{}, UserIdentity::Current());
  EXPECT_FALSE(survey.holders_visible);
  EXPECT_FALSE(survey.all_processes_seen);
  EXPECT_TRUE(survey.warnings.empty());
  for (const SerialDevice& device : survey.devices) {
    EXPECT_TRUE(ComPortNumber(device.path)) << device.path;
    EXPECT_FALSE(device.access.known);
    EXPECT_FALSE(device.access.can_open);
    EXPECT_EQ(device.access.problem, kAccessNotKnown);
    EXPECT_TRUE(device.holders.empty());
  }
  EXPECT_EQ(Paths(ListSerialDevices()), Paths(survey.devices));
  EXPECT_FALSE(SerialDeviceExists(SystemRoots{}, "COM250"));
  EXPECT_FALSE(FindDeviceHolders(SystemRoots{}, "COM1").all_processes_seen);
  // Every port listed is there. (A COM port that is only a link in wine's
  // dosdevices opens but is neither listed nor there.)
  for (const SerialDevice& device : survey.devices) {
    EXPECT_TRUE(SerialDeviceExists(SystemRoots{}, device.path)) << device.path;
    EXPECT_TRUE(SerialDeviceExists(SystemRoots{}, ComDevicePath(device.path))) << device.path;
  }
}

}  // namespace
}  // namespace zlm5
