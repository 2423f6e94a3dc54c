// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/identity_list.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <span>

#include "model/csv_text.h"
#include "model/settings_block.h"
#include "model/text_util.h"

namespace zlm5 {
namespace il = identity_list;

namespace {

enum class Column { kPort, kOrder, kRadioId, kCallId, kAni, kName };

struct ColumnName {
  std::string_view key;  // lower case, without blanks, '_' and '-'
  std::string_view shown;
  Column column;
};
constexpr std::array<ColumnName, 6> kColumns = {{
    {"port", "Port", Column::kPort},
    {"order", "Order", Column::kOrder},
    {"radioid", "RadioId", Column::kRadioId},
    {"callid", "CallId", Column::kCallId},
    {"ani", "Ani", Column::kAni},
    {"name", "Name", Column::kName},
}};

std::string HeaderKey(std::string_view name) {
  std::string key;
  for (const char c : name) {
    if (c == ' ' || c == '_' || c == '-') continue;
    key.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
  }
  return key;
}

Error LineError(int line, std::string reason) {
  return Error("line " + std::to_string(line), std::move(reason));
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += Utf8CharLength(text, pos)) ++count;
  return count;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetterOrDigit(char c) {
  const char upper = AsciiUpper(c);
  return IsDigit(c) || (upper >= 'A' && upper <= 'Z');
}

// The checks of the dialog's boxes: what does not pass is refused, not
// changed into something the user did not write.
std::optional<Error> CheckValue(Column column, std::string_view value, int line) {
  switch (column) {
    case Column::kRadioId:
      if (!std::all_of(value.begin(), value.end(), IsLetterOrDigit)) {
        return LineError(line, "RadioId " + Quoted(value) + " may hold letters and digits only");
      }
      [[fallthrough]];
    case Column::kCallId:
      if (CharacterCount(value) > il::kIdMaxCharacters) {
        return LineError(line, std::string(column == Column::kRadioId ? "RadioId " : "CallId ") +
                                   Quoted(value) + " is longer than 8 characters");
      }
      return std::nullopt;
    case Column::kAni:
      if (!std::all_of(value.begin(), value.end(), IsDigit)) {
        return LineError(line, "Ani " + Quoted(value) + " may hold digits only");
      }
      if (value.size() > il::kAniMaxDigits) {
        return LineError(line, "Ani " + Quoted(value) + " has more than 4 digits");
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<int> ParseOrder(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (value < 1 || value > il::kMaxOrder) return std::nullopt;
  return value;
}

// COM names are the same port in any letter case; device paths are not.
bool SamePortText(std::string_view a, std::string_view b) {
  if (!a.empty() && a.front() == '/') return a == b;
  return EqualsIgnoringCase(a, b);
}

bool AllEmpty(const CsvRecord& record) {
  return std::all_of(record.fields.begin(), record.fields.end(),
                     [](const std::string& f) { return f.empty(); });
}

Result<std::vector<Column>> ReadHeader(const CsvRecord& header) {
  std::vector<Column> columns;
  for (const std::string& name : header.fields) {
    const std::string key = HeaderKey(name);
    const auto known = std::find_if(kColumns.begin(), kColumns.end(),
                                    [&](const ColumnName& c) { return c.key == key; });
    if (known == kColumns.end()) {
      return LineError(header.line, "unknown column " + Quoted(name) +
                                        "; the columns are Port or Order, RadioId, CallId, "
                                        "Ani and Name");
    }
    if (std::find(columns.begin(), columns.end(), known->column) != columns.end()) {
      return LineError(header.line, "column " + std::string(known->shown) + " is named twice");
    }
    columns.push_back(known->column);
  }
  const bool by_port = std::find(columns.begin(), columns.end(), Column::kPort) != columns.end();
  const bool by_order = std::find(columns.begin(), columns.end(), Column::kOrder) != columns.end();
  if (by_port && by_order) {
    return LineError(header.line, "both a Port and an Order column; name the radios by one");
  }
  if (!by_port && !by_order) {
    return LineError(header.line, "no Port or Order column to say which radio a row is for");
  }
  return columns;
}

// Takes the value of one field into `row`; `keyed` is set once the row
// names its radio.
std::optional<Error> TakeField(Column column, const std::string& value, int line, IdentityRow& row,
                               bool& keyed) {
  if (auto error = CheckValue(column, value, line)) return error;
  switch (column) {
    case Column::kPort:
      row.port = value;
      keyed = !value.empty();
      break;
    case Column::kOrder:
      if (value.empty()) break;
      if (auto order = ParseOrder(value)) {
        row.order = *order;
        keyed = true;
      } else {
        return LineError(line, "Order " + Quoted(value) + " is not a position 1 to " +
                                   std::to_string(il::kMaxOrder));
      }
      break;
    case Column::kRadioId:
      if (!value.empty()) row.identity.radio_id = value;
      break;
    case Column::kCallId:
      if (!value.empty()) row.identity.call_id = value;
      break;
    case Column::kAni:
      if (!value.empty()) row.identity.ani = value;
      break;
    case Column::kName:
      row.identity.name = value;
      break;
  }
  return std::nullopt;
}

// One row of the list, which must name its radio by `key`.
Result<IdentityRow> ReadRow(const CsvRecord& record, const std::vector<Column>& columns,
                            IdentityKey key) {
  if (record.fields.size() > columns.size()) {
    return LineError(record.line, std::to_string(record.fields.size()) +
                                      " fields, but the header names " +
                                      std::to_string(columns.size()) + " columns");
  }
  IdentityRow row;
  row.line = record.line;
  bool keyed = false;
  for (std::size_t i = 0; i < record.fields.size(); ++i) {
    if (auto error = TakeField(columns[i], record.fields[i], record.line, row, keyed)) {
      return *error;
    }
  }
  if (!keyed) return LineError(record.line, key == IdentityKey::kPort ? "no Port" : "no Order");
  return row;
}

// The error for a row whose radio has a row already, if it has.
std::optional<Error> RepeatedKey(const IdentityList& list, const IdentityRow& row) {
  const bool by_port = list.key == IdentityKey::kPort;
  for (const IdentityRow& earlier : list.rows) {
    const bool same = by_port ? SamePortText(earlier.port, row.port) : earlier.order == row.order;
    if (same) {
      return LineError(row.line,
                       (by_port ? "port " + row.port : "Order " + std::to_string(row.order)) +
                           " has a row already (line " + std::to_string(earlier.line) + ")");
    }
  }
  return std::nullopt;
}

}  // namespace

Result<IdentityList> ParseIdentityList(std::string_view text) {
  const CsvTable table = ParseCsv(text);
  if (table.records.empty()) return Error("", "the identity list is empty");
  Result<std::vector<Column>> columns = ReadHeader(table.records.front());
  if (!columns) return columns.error();

  IdentityList list;
  list.key = std::find(columns->begin(), columns->end(), Column::kPort) != columns->end()
                 ? IdentityKey::kPort
                 : IdentityKey::kOrder;
  for (std::size_t r = 1; r < table.records.size(); ++r) {
    const CsvRecord& record = table.records[r];
    if (record.unterminated) return LineError(record.line, "a quoted field is not closed");
    // Spreadsheets leave rows of empty cells below a table.
    if (AllEmpty(record)) continue;
    Result<IdentityRow> row = ReadRow(record, *columns, list.key);
    if (!row) return row.error();
    if (auto repeated = RepeatedKey(list, *row)) return *repeated;
    list.rows.push_back(std::move(*row));
  }
  if (list.rows.empty()) return Error("", "the identity list names no radio");
  return list;
}

std::string AppliedIdentity::Summary() const {
  std::string out;
  const auto add = [&out](std::string_view label, const std::string& value) {
    if (value.empty()) return;
    if (!out.empty()) out += ", ";
    out += std::string(label) + " " + value;
  };
  add("Radio ID", radio_id);
  add("Call ID", call_id);
  add("ANI", ani);
  return out;
}

AppliedIdentity ApplyIdentity(const RadioIdentity& identity, RadioImage& image) {
  SettingsBlock block(image);
  if (identity.radio_id) block.SetRadioIdText(*identity.radio_id);
  if (identity.call_id) block.SetCallIdText(*identity.call_id);
  if (identity.ani) block.SetAniText(*identity.ani);
  block.StoreInto(image);

  AppliedIdentity applied;
  // The dialog shows letters in upper case as they are typed: only other
  // changes are worth a note.
  const auto note = [&applied](std::string_view label, const std::string& given,
                               const std::string& stored) {
    if (!EqualsIgnoringCase(given, stored)) {
      applied.notes.push_back(std::string(label) + " " + given + " stored as " + stored);
    }
  };
  if (identity.radio_id) {
    applied.radio_id = block.RadioIdText();
    note("Radio ID", *identity.radio_id, applied.radio_id);
  }
  if (identity.call_id) {
    applied.call_id = block.CallIdText();
    note("Call ID", *identity.call_id, applied.call_id);
  }
  if (identity.ani) {
    applied.ani = block.AniText();
    note("ANI", *identity.ani, applied.ani);
  }
  return applied;
}

}  // namespace zlm5
