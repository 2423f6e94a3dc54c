// SPDX-License-Identifier: GPL-3.0-or-later
// What a fleet run settles before it starts (ports, identities, file names)
// and how its end is reported.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "link/fleet_plan.h"
#include "link/fleet_report.h"
#include "link/link_texts.h"
#include "model/settings_block.h"
#include "tests/link/link_test_support.h"

namespace zlm5 {
namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::optional<std::size_t>>;

IdentityList List(std::string_view text) {
  Result<IdentityList> list = ParseIdentityList(text);
  EXPECT_TRUE(list) << list.error().Message();
  return list ? *list : IdentityList{};
}

class FleetPlanTest : public ::testing::Test {
 protected:
  // A device node stand-in and a by-id style link to it.
  void SetUp() override {
    std::ofstream(device).put('\0');
    fs::create_directory(dir.Path("by-id"));
    fs::create_symlink(device, link);
    table.devices[1] = device;  // COM2
  }

  test::TempDir dir;
  const std::string device = dir.Path("ttyUSB0");
  const std::string link = dir.Path("by-id/usb-FTDI_A1-if00-port0");
  PortTable table;
};

TEST_F(FleetPlanTest, RowsMeetPortsByNameOrDeviceAndTheRestIsToldBeforeWriting) {
  const std::vector<FleetPort> ports = {
      {"COM1", "/dev/ttyS0"}, {device, device}, {"/dev/ttyUSB3", "/dev/ttyUSB3"}};
  const IdentityList list =
      List("Port,Name,Ani\ncom1,A,5678\n" + link + ",B,0102\n/dev/ttyUSB9,C,0103\n");
  const Result<IdentityAssignment> assignment = AssignIdentities(list, ports, table);
  ASSERT_TRUE(assignment) << assignment.error().Message();
  EXPECT_EQ(assignment->row_of_port, (Rows{0, 1, std::nullopt}));
  EXPECT_FALSE(assignment->complete());
  EXPECT_EQ(AssignmentFindings(list, *assignment, ports),
            (std::vector<std::string>{
                "line 4: port /dev/ttyUSB9 is not among the ports given",
                "/dev/ttyUSB3: no row in the identity list; the radio gets the file's identity"}));

  const RadioImage image = test::PatternImage(7);
  const FleetWritePlan plan = PlanFleetWrite(image, ports, &list, &*assignment);
  ASSERT_EQ(plan.radios.size(), 3u);
  EXPECT_EQ(plan.radios[0].label, "A");
  EXPECT_EQ(SettingsBlock(plan.radios[0].image).AniText(), "1678");
  EXPECT_EQ(plan.identities[0].notes, std::vector<std::string>{"ANI 5678 stored as 1678"});
  EXPECT_EQ(SettingsBlock(plan.radios[1].image).AniText(), "0102");
  EXPECT_EQ(plan.radios[2].image, image);  // no row: the file as it is
  EXPECT_EQ(plan.radios[2].device, "/dev/ttyUSB3");

  // A COM name through the ports file, and a link, to one device: two rows
  // for one radio.
  const IdentityList twice = List("Port,Ani\nCOM2,0101\n" + link + ",0102\n");
  const Result<IdentityAssignment> refused = AssignIdentities(twice, ports, table);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().Message(),
            "line 3: port " + link + " is " + device + ", which line 2 names already");

  const IdentityList by_order = List("Order,Ani\n2,0101\n4,0104\n");
  const Result<IdentityAssignment> ordered = AssignIdentities(by_order, ports, table);
  ASSERT_TRUE(ordered);
  EXPECT_EQ(ordered->row_of_port, (Rows{std::nullopt, 0, std::nullopt}));
  EXPECT_EQ(AssignmentFindings(by_order, *ordered, ports),
            (std::vector<std::string>{
                "line 3: Order 4, but 3 ports are given",
                "COM1: no row in the identity list; the radio gets the file's identity",
                "/dev/ttyUSB3: no row in the identity list; the radio gets the file's identity"}));
}

TEST_F(FleetPlanTest, OneDeviceGivenTwiceIsRefused) {
  EXPECT_TRUE(CheckFleetPorts(std::vector<FleetPort>{{"COM1", "/dev/ttyS0"}, {device, device}}));
  const Status same_name =
      CheckFleetPorts(std::vector<FleetPort>{{"COM1", "/dev/ttyS0"}, {"com1", "/dev/ttyS0"}});
  ASSERT_FALSE(same_name);
  EXPECT_EQ(same_name.error().Message(),
            "COM1 and com1: the same port is given twice (/dev/ttyS0)");
  const Status linked = CheckFleetPorts(std::vector<FleetPort>{{device, device}, {link, link}});
  ASSERT_FALSE(linked);
  EXPECT_EQ(linked.error().Message(),
            device + " and " + link + ": the same port is given twice (" + device + ")");
}

TEST_F(FleetPlanTest, ReadFilesAreNamedAfterTheStableNameOrThePosition) {
  SerialDevice prolific;
  prolific.path = "/dev/ttyUSB1";
  prolific.by_id = "/dev/serial/by-id/usb-Prolific 2303-if00";
  SerialDevice found;
  found.path = device;
  found.by_id = link;
  SerialDevice plain;
  plain.path = "/dev/ttyUSB2";
  const std::vector<FleetPort> ports = {
      {"/dev/serial/by-id/usb-FTDI_B2-if00-port0", "/dev/serial/by-id/usb-FTDI_B2-if00-port0"},
      {"/dev/ttyUSB1", "/dev/ttyUSB1"},
      {"COM2", device},
      {"/dev/ttyUSB2", "/dev/ttyUSB2"},
      {"/dev/ttyUSB5", "/dev/serial/by-id/usb-FTDI_B2-if00-port0"}};
  EXPECT_EQ(FleetReadFileNames(ports, std::vector<SerialDevice>{prolific, found, plain}),
            (std::vector<std::string>{"radio-1.sin", "usb-Prolific_2303-if00.sin",
                                      "usb-FTDI_A1-if00-port0.sin", "radio-4.sin", "radio-5.sin"}));
}

TEST(FleetReportTest, TheTableAndTheJsonSayHowEachRadioEnded) {
  FleetRadio radio{"/dev/ttyUSB0", "/dev/ttyUSB0", "Unit 1", {}};
  AppliedIdentity identity;
  identity.radio_id = "1001";
  identity.ani = "1678";
  identity.notes = {"ANI 5678 stored as 1678"};
  FleetRadioStatus written;
  written.result = FleetResult::kWritten;
  written.blocks_written = 394;
  written.elapsed = std::chrono::milliseconds(17210);
  written.backups = {"/b/2026-12-07_21-47-18_write.sin"};

  const std::string comm_error(link_texts::kCommunicationError);
  FleetRadioStatus partly;
  partly.result = FleetResult::kPartlyWritten;
  partly.blocks_written = 40;
  partly.message = comm_error + "\n\n/dev/ttyUSB1: No such file or directory";
  partly.messages = {{comm_error, MessageButtons::kRetryCancel, MessageAnswer::kCancel}};
  partly.elapsed = std::chrono::milliseconds(2500);

  FleetRadioStatus unavailable;
  unavailable.result = FleetResult::kPortUnavailable;
  unavailable.message = std::string(link_texts::kCouldNotOpenPort) +
                        "\n\n/dev/ttyUSB2: Permission denied\n\nYour user account has no access";

  FleetRadioStatus differs;
  differs.result = FleetResult::kVerifyFailed;
  differs.differences = {"CH 1 Name: A → B", "CH 2 Name: C → D", "CH 3 Name: E → F",
                         "CH 4 Name: G → H"};
  differs.backup_errors = {"/b: Permission denied"};
  EXPECT_EQ(FleetResultText(differs),
            "verify failed: CH 1 Name: A → B; CH 2 Name: C → D; CH 3 Name: E → F; and 1 more "
            "(backup not saved: /b: Permission denied)");

  EXPECT_EQ(FleetResultText(unavailable),
            "failed: " + std::string(link_texts::kCouldNotOpenPort) +
                " (/dev/ttyUSB2: Permission denied; Your user account has no access)");

  const std::vector<FleetReportRow> rows = {
      MakeFleetReportRow(radio, written, &identity),
      MakeFleetReportRow({"COM2", "/dev/ttyUSB1", "", {}}, partly, nullptr),
      MakeFleetReportRow({"/dev/ttyUSB2", "/dev/ttyUSB2", "", {}}, unavailable, nullptr)};
  // Columns as wide as their widest text, two blanks apart; the result
  // last, as it may be long.
  const auto pad = [](std::size_t n) { return std::string(n, ' '); };
  EXPECT_EQ(FormatFleetTable(TransferDirection::kWrite, std::span(rows).first(2)),
            "Port" + pad(10) + "Label" + pad(3) + "Identity" + pad(49 - 8 + 2) + "Time" + pad(4) +
                "Result\n" + "/dev/ttyUSB0" + pad(2) + "Unit 1" + pad(2) +
                "Radio ID 1001, ANI 1678 (ANI 5678 stored as 1678)" + pad(2) + "17.2 s" + pad(2) +
                "written\n" + "COM2" + pad(10) + pad(8) + pad(49 + 2) + "2.5 s" + pad(3) +
                "partly written (40 of 394 blocks): " + comm_error +
                " (/dev/ttyUSB1: No such file or directory)\n");
  EXPECT_EQ(FormatFleetTable(TransferDirection::kRead,
                             std::vector<FleetReportRow>{MakeFleetReportRow(
                                 {"COM1", "/dev/ttyS0", "", {}}, FleetRadioStatus{}, nullptr,
                                 "/audit/radio-1.sin")}),
            "Port  Label  File                Time   Result\n"
            "COM1         /audit/radio-1.sin  0.0 s  failed\n");

  const std::string json = FleetReportJson(TransferDirection::kWrite, rows);
  EXPECT_EQ(json.substr(0, 30), "{\"mode\": \"write\", \"radios\": [\n");
  EXPECT_NE(
      json.find("{\"port\": \"/dev/ttyUSB0\", \"label\": \"Unit 1\", \"result\": \"written\", "
                "\"result_text\": \"written\", \"blocks\": 394, \"identity\": \"Radio ID "
                "1001, ANI 1678 (ANI 5678 stored as 1678)\", \"identity_notes\": [\"ANI "
                "5678 stored as 1678\"], \"file\": \"\", \"elapsed_ms\": 17210, "
                "\"messages\": [], \"differences\": [], \"backups\": "
                "[\"/b/2026-12-07_21-47-18_write.sin\"], \"summary\": []}"),
      std::string::npos)
      << json;
  EXPECT_NE(json.find("\"result\": \"partly written\""), std::string::npos);
  EXPECT_NE(json.find("\"blocks\": 40"), std::string::npos);
  EXPECT_NE(json.find("\"messages\": [{\"text\": \"" + comm_error + "\", \"answer\": \"Cancel\"}]"),
            std::string::npos);
  EXPECT_NE(json.find("\"result\": \"port unavailable\", \"result_text\": \"failed: " +
                      std::string(link_texts::kCouldNotOpenPort)),
            std::string::npos);
  EXPECT_EQ(json.substr(json.size() - 5), "}\n]}\n");
}

}  // namespace
}  // namespace zlm5
