// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/fleet_report.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "link/link_host.h"
#include "model/json_writer.h"
#include "model/text_util.h"

namespace zlm5 {
namespace {

constexpr std::string_view kParagraph = "\n\n";
constexpr std::size_t kColumnGap = 2;
// The differences a result text names; the report's list holds them all.
constexpr std::size_t kDifferencesInText = 3;

std::size_t Width(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += Utf8CharLength(text, pos)) ++count;
  return count;
}

std::string Seconds(std::chrono::milliseconds elapsed) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(elapsed.count()) / 1000.0);
  return text;
}

}  // namespace

std::string_view FleetResultName(FleetResult result) {
  switch (result) {
    case FleetResult::kWritten:
      return "written";
    case FleetResult::kVerified:
      return "verified";
    case FleetResult::kRead:
      return "read";
    case FleetResult::kVerifyFailed:
      return "verify failed";
    case FleetResult::kPartlyWritten:
      return "partly written";
    case FleetResult::kFailed:
      return "failed";
    case FleetResult::kCancelled:
      return "cancelled";
    case FleetResult::kPortUnavailable:
      return "port unavailable";
  }
  return "failed";
}

std::string OneLineMessage(std::string_view message) {
  const std::size_t first_end = message.find(kParagraph);
  std::string out(message.substr(0, first_end));
  if (first_end == std::string_view::npos) return out;
  std::string rest;
  for (std::size_t from = first_end + kParagraph.size(); from <= message.size();) {
    const std::size_t next = message.find(kParagraph, from);
    const std::string_view part =
        message.substr(from, next == std::string_view::npos ? next : next - from);
    if (!part.empty()) rest += (rest.empty() ? "" : "; ") + std::string(part);
    if (next == std::string_view::npos) break;
    from = next + kParagraph.size();
  }
  return rest.empty() ? out : out + " (" + rest + ")";
}

std::string FleetResultText(const FleetRadioStatus& status) {
  std::string text(FleetResultName(status.result));
  if (status.result == FleetResult::kPartlyWritten) {
    text += " (" + std::to_string(status.blocks_written) + " of " +
            std::to_string(transfer_limits::kBlockCount) + " blocks)";
    // Cut off by the run's Cancel: no message of the radio's.
    if (status.message.empty()) text += ": cancelled";
  }
  if (status.result == FleetResult::kPortUnavailable) text = "failed";
  if (!status.message.empty()) text += ": " + OneLineMessage(status.message);
  for (std::size_t i = 0; i < status.differences.size() && i < kDifferencesInText; ++i) {
    text += (i == 0 ? ": " : "; ") + status.differences[i];
  }
  if (status.differences.size() > kDifferencesInText) {
    text += "; and " + std::to_string(status.differences.size() - kDifferencesInText) + " more";
  }
  if (status.verify_cancelled) text += " (the verify was cancelled)";
  // The transfer has still succeeded; the user should know all the same.
  for (const std::string& error : status.backup_errors) {
    text += " (backup not saved: " + error + ")";
  }
  return text;
}

FleetReportRow MakeFleetReportRow(const FleetRadio& radio, const FleetRadioStatus& status,
                                  const AppliedIdentity* identity, const std::string& file) {
  FleetReportRow row;
  row.port = radio.port;
  row.label = radio.label;
  row.result = status.result;
  row.result_text = FleetResultText(status);
  if (identity != nullptr) {
    row.identity = identity->Summary();
    row.identity_notes = identity->notes;
    if (!identity->notes.empty()) {
      std::string notes;
      for (const std::string& note : identity->notes) notes += (notes.empty() ? "" : "; ") + note;
      row.identity += " (" + notes + ")";
    }
  }
  row.file = file;
  row.blocks = status.result == FleetResult::kRead || status.not_saved
                   ? transfer_limits::kBlockCount
                   : status.blocks_written;
  row.messages = status.messages;
  row.differences = status.differences;
  row.backups = status.backups;
  row.summary = status.summary;
  row.elapsed = status.elapsed;
  return row;
}

std::string FormatFleetTable(TransferDirection direction, std::span<const FleetReportRow> rows) {
  constexpr std::size_t kColumns = 5;
  using Line = std::array<std::string, kColumns>;
  std::vector<Line> lines;
  // The result last: a message that ended a radio is the longest text.
  lines.push_back({"Port", "Label", direction == TransferDirection::kWrite ? "Identity" : "File",
                   "Time", "Result"});
  for (const FleetReportRow& row : rows) {
    lines.push_back({row.port, row.label,
                     direction == TransferDirection::kWrite ? row.identity : row.file,
                     Seconds(row.elapsed), row.result_text});
  }
  std::array<std::size_t, kColumns> widths{};
  for (const Line& line : lines) {
    for (std::size_t c = 0; c < kColumns; ++c) widths[c] = std::max(widths[c], Width(line[c]));
  }
  std::string out;
  for (const Line& line : lines) {
    std::string text;
    for (std::size_t c = 0; c < kColumns; ++c) {
      text += line[c];
      if (c + 1 < kColumns) text += std::string(widths[c] - Width(line[c]) + kColumnGap, ' ');
    }
    out += text + '\n';
  }
  return out;
}

std::string FleetReportJson(TransferDirection direction, std::span<const FleetReportRow> rows) {
  JsonWriter json;
  json.BeginObject().Key("mode").String(direction == TransferDirection::kWrite ? "write" : "read");
  json.Key("radios").BeginArray(JsonLayout::kLines);
  for (const FleetReportRow& row : rows) {
    json.BeginObject();
    json.Key("port").String(row.port);
    json.Key("label").String(row.label);
    json.Key("result").String(FleetResultName(row.result));
    json.Key("result_text").String(row.result_text);
    json.Key("blocks").Number(row.blocks);
    json.Key("identity").String(row.identity);
    json.Key("identity_notes").Strings(row.identity_notes);
    json.Key("file").String(row.file);
    json.Key("elapsed_ms").Number(row.elapsed.count());
    json.Key("messages").BeginArray();
    for (const FleetMessage& message : row.messages) {
      json.BeginObject().Key("text").String(message.text);
      json.Key("answer").String(MessageAnswerName(message.answer)).End();
    }
    json.End();
    json.Key("differences").Strings(row.differences);
    json.Key("backups").Strings(row.backups);
    json.Key("summary").Strings(row.summary);
    json.End();
  }
  json.End().End();
  return json.Take() + "\n";
}

}  // namespace zlm5
