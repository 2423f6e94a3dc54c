// SPDX-License-Identifier: GPL-3.0-or-later
// The port finder as Windows has it: every COM port of the system by its
// COM name, in number order, each once, with what cannot be known said so.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/port_names.h"
#include "link/serial_devices.h"
#include "model/error.h"

namespace zlm5 {
namespace {

constexpr wchar_t kSerialComm[] = LR"(HARDWARE\DEVICEMAP\SERIALCOMM)";
const std::string kAccessNotKnown =
    "not known before it is opened: Windows tells only then whether another program has the port";

// Values this test puts into the registry's list of serial ports, as a
// port driver does, and takes out again when it ends, also when it fails.
// The key is volatile: whatever a crash leaves is gone at the next start.
class SerialCommValues {
 public:
  SerialCommValues() {
    DWORD disposition = 0;
    opened_ = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSerialComm, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_SET_VALUE, nullptr, &key_, &disposition);
    created_key_ = opened_ == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
  }
  ~SerialCommValues() {
    if (opened_ != ERROR_SUCCESS) return;
    for (const std::wstring& name : names_) RegDeleteValueW(key_, name.c_str());
    RegCloseKey(key_);
    if (created_key_) RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSerialComm);
  }
  SerialCommValues(const SerialCommValues&) = delete;
  SerialCommValues& operator=(const SerialCommValues&) = delete;

  // ERROR_SUCCESS, or why the key cannot be written (only an
  // administrator may on Windows; anyone under wine).
  LONG opened() const { return opened_; }

  // A value of this process's own name ("\Device\z-lm5 test 1234 NAME").
  void Set(const std::wstring& name, DWORD type, const void* data, std::size_t size) {
    const std::wstring value =
        L"\\Device\\z-lm5 test " + std::to_wstring(GetCurrentProcessId()) + L" " + name;
    names_.push_back(value);  // before it is there, so that it goes again in any case
    ASSERT_EQ(RegSetValueExW(key_, value.c_str(), 0, type, static_cast<const BYTE*>(data),
                             static_cast<DWORD>(size)),
              ERROR_SUCCESS);
  }
  void SetText(const std::wstring& name, const std::wstring& text, bool with_nul = true) {
    Set(name, REG_SZ, text.c_str(), (text.size() + (with_nul ? 1 : 0)) * sizeof(wchar_t));
  }

 private:
  HKEY key_ = nullptr;
  LONG opened_ = ERROR_SUCCESS;
  bool created_key_ = false;
  std::vector<std::wstring> names_;
};

std::vector<std::string> Paths(const std::vector<SerialDevice>& devices) {
  std::vector<std::string> paths;
  for (const SerialDevice& device : devices) paths.push_back(device.path);
  return paths;
}

// Whatever the system lists (wine: the ports it set up at its start), the
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

// A port that only the registry's list of serial ports names (a virtual
// port driver's, or wine's) is listed beside the others, in number order,
// once, by its COM name alone; values that are no COM name are skipped.
TEST(SerialDevicesWinTest, APortOnlyTheRegistryNamesIsListedOnceInNumberOrder) {
  const std::vector<std::string> before = Paths(ListSerialDevices());
  for (const char* port : {"COM30", "COM40", "COM200"}) {
    ASSERT_EQ(std::count(before.begin(), before.end(), port), 0) << port << " is taken here";
    ASSERT_FALSE(SerialDeviceExists(SystemRoots{}, port)) << port;
  }
  {
    SerialCommValues values;
    if (values.opened() != ERROR_SUCCESS) {
      GTEST_SKIP() << "the registry's list of serial ports cannot be written here: "
                   << SystemErrorText(static_cast<int>(values.opened()));
    }
    values.SetText(L"a", L"COM200");
    values.SetText(L"b", L"COM30");
    values.SetText(L"c", L"com30");  // the same port again
    values.SetText(L"d", L"COM40", /*with_nul=*/false);
    values.SetText(L"e", L"LPT3");
    values.SetText(L"f", L"COM0");
    values.SetText(L"g", L"COM31 ");
    const DWORD number = 32;
    values.Set(L"h", REG_DWORD, &number, sizeof number);
    values.Set(L"i", REG_EXPAND_SZ, L"COM33", sizeof L"COM33");
    ASSERT_FALSE(HasFailure());

    // The ports there were, and COM30, COM40 and COM200 among them by
    // number (COM200 would come before COM30 as text).
    std::vector<std::string> expected = before;
    for (const char* port : {"COM30", "COM40", "COM200"}) {
      const auto after = std::find_if(expected.begin(), expected.end(), [&](const std::string& p) {
        return ComPortNumber(p) > ComPortNumber(port);
      });
      expected.insert(after, port);
    }
    const SerialSurvey survey = SurveySerialDevices(SystemRoots{}, UserIdentity::Current());
    EXPECT_EQ(Paths(survey.devices), expected);
    EXPECT_EQ(Paths(ListSerialDevices()), expected);
    for (const SerialDevice& device : survey.devices) {
      if (device.path != "COM30" && device.path != "COM40" && device.path != "COM200") continue;
      EXPECT_EQ(device.driver, "") << device.path;
      EXPECT_EQ(device.usb_id, "") << device.path;
      EXPECT_EQ(device.product, "") << device.path;
      EXPECT_EQ(device.by_id, "") << device.path;
      EXPECT_FALSE(device.access.known) << device.path;
      EXPECT_EQ(device.access.problem, kAccessNotKnown) << device.path;
      EXPECT_TRUE(SerialDeviceExists(SystemRoots{}, device.path)) << device.path;
      EXPECT_TRUE(SerialDeviceExists(SystemRoots{}, ComDevicePath(device.path))) << device.path;
    }
    EXPECT_FALSE(SerialDeviceExists(SystemRoots{}, "COM31"));
  }
  // Gone with the values.
  EXPECT_EQ(Paths(ListSerialDevices()), before);
  EXPECT_FALSE(SerialDeviceExists(SystemRoots{}, "COM200"));
}

}  // namespace
}  // namespace zlm5
