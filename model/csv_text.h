// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zlm5 {

// CSV text as spreadsheets and the channel exchange format write it: UTF-8
// with or without a byte-order mark, CRLF or LF line ends, fields separated
// by a comma, a semicolon or a tab, a field in double quotes holding
// separators, line ends and doubled quotes ("" for ").

// One record: its fields, and the line of the text where it starts (1 for
// the first line), so that a report can point at it in an editor.
struct CsvRecord {
  int line = 0;
  std::vector<std::string> fields;
  // A quoted field was still open at the end of the text: the record ran to
  // the end and is not what its writer meant.
  bool unterminated = false;
};

struct CsvTable {
  char separator = ',';
  std::vector<CsvRecord> records;
};

// Splits `text` into records. The separator is the one of ',', ';' and tab
// that occurs most often outside quotes in the first line (',' when none
// does, or on a tie). Spaces around an unquoted field are dropped, those
// inside quotes kept. Lines that are empty or hold only blanks give no
// record.
CsvTable ParseCsv(std::string_view text);
// The same with the separator given.
CsvTable ParseCsv(std::string_view text, char separator);

// `field` as it is written between separators: as it is, or in double
// quotes (inner quotes doubled) where a reader would otherwise take it
// differently: it holds the separator, a quote or a line end, or begins or
// ends with a blank.
std::string CsvField(std::string_view field, char separator = ',');

}  // namespace zlm5
