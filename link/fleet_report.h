// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/fleet_run.h"
#include "model/identity_list.h"

namespace zlm5 {

// The end of a fleet run as the user reads it: one row per radio, as a
// table for the terminal and as JSON for scripts. The command line and the
// window show the same texts.

struct FleetReportRow {
  std::string port;
  std::string label;
  FleetResult result = FleetResult::kFailed;
  // FleetResultText: "written", "failed: Communication Error，..."
  std::string result_text;
  // A write: AppliedIdentity::Summary() with its notes in brackets,
  // "Radio ID 1002, ANI 1678 (ANI 5678 stored as 1678)"; "" without a row.
  std::string identity;
  std::vector<std::string> identity_notes;
  std::string file;  // a read: the file saved; "" when none was
  int blocks = 0;    // blocks written (a write) or read (a read)
  std::vector<FleetMessage> messages;
  std::vector<std::string> differences;  // a failed verify
  std::vector<std::string> backups;      // the backups saved
  std::vector<std::string> summary;      // SafeTransferSummary's lines
  std::chrono::milliseconds elapsed{0};
};

// "written", "verified", "read", "verify failed", "partly written",
// "failed", "cancelled", "port unavailable".
std::string_view FleetResultName(FleetResult result);

// The result in words, with the system's message where one ended it (its
// paragraphs on one line, see OneLineMessage):
//   "written", "verified", "read", "cancelled",
//   "failed: Communication Error，Please check all the connections and the radio power",
//   "partly written (40 of 394 blocks): Communication Error，...",
//   "verify failed: CH 3 Name: A → B; CH 4 ...", "verify failed: Communication Error，...",
//   "written (backup not saved: /x/backups: Permission denied)"
std::string FleetResultText(const FleetRadioStatus& status);

// A message's paragraphs (MessageWithReason) on one line: the first, then
// the others in brackets separated by "; ".
std::string OneLineMessage(std::string_view message);

// `identity` may be null (a read, or a port without a row); `file` is the
// file a read was saved to, or "".
FleetReportRow MakeFleetReportRow(const FleetRadio& radio, const FleetRadioStatus& status,
                                  const AppliedIdentity* identity, const std::string& file = {});

// Columns Port, Label, Identity (a write) or File (a read), Time ("17.2
// s") and Result, padded to their widths (in characters), a header line
// first.
std::string FormatFleetTable(TransferDirection direction, std::span<const FleetReportRow> rows);

// The same rows as a JSON document:
//   {"mode": "write", "radios": [{"port": "/dev/ttyUSB0", "label": "Unit 1",
//     "result": "written", "result_text": "written", "blocks": 394,
//     "identity": "...", "identity_notes": [], "file": "", "elapsed_ms": 17210,
//     "messages": [{"text": "...", "answer": "Retry"}], "differences": [],
//     "backups": ["/home/u/.local/share/z-lm5/backups/..._write.sin"],
//     "summary": ["394 blocks written"]}, ...]}
std::string FleetReportJson(TransferDirection direction, std::span<const FleetReportRow> rows);

}  // namespace zlm5
