// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/fleet_report.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "link/link_host.h"
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

std::string Json(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out.push_back(c);
        }
    }
  }
  return out + "\"";
}

std::string JsonStrings(const std::vector<std::string>& texts) {
  std::string out = "[";
  for (std::size_t i = 0; i < texts.size(); ++i) out += (i ? ", " : "") + Json(texts[i]);
  return out + "]";
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
  row.blocks =
      status.result == FleetResult::kRead ? transfer_limits::kBlockCount : status.blocks_written;
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
  std::string out = "{\"mode\": ";
  out += direction == TransferDirection::kWrite ? "\"write\"" : "\"read\"";
  out += ", \"radios\": [";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const FleetReportRow& row = rows[i];
    out += i ? ",\n  {" : "\n  {";
    out += "\"port\": " + Json(row.port);
    out += ", \"label\": " + Json(row.label);
    out += ", \"result\": " + Json(FleetResultName(row.result));
    out += ", \"result_text\": " + Json(row.result_text);
    out += ", \"blocks\": " + std::to_string(row.blocks);
    out += ", \"identity\": " + Json(row.identity);
    out += ", \"identity_notes\": " + JsonStrings(row.identity_notes);
    out += ", \"file\": " + Json(row.file);
    out += ", \"elapsed_ms\": " + std::to_string(row.elapsed.count());
    out += ", \"messages\": [";
    for (std::size_t m = 0; m < row.messages.size(); ++m) {
      out += (m ? ", " : "") + std::string("{\"text\": ") + Json(row.messages[m].text) +
             ", \"answer\": " + Json(MessageAnswerName(row.messages[m].answer)) + "}";
    }
    out += "], \"differences\": " + JsonStrings(row.differences);
    out += ", \"backups\": " + JsonStrings(row.backups);
    out += ", \"summary\": " + JsonStrings(row.summary) + "}";
  }
  out += rows.empty() ? "]}\n" : "\n]}\n";
  return out;
}

}  // namespace zlm5
