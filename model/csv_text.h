// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <limits>
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
  // Fields after the reader's `max_fields`: counted here, not kept. The
  // record has fields.size() + fields_not_kept fields.
  std::size_t fields_not_kept = 0;
  // A quoted field was still open at the end of the text: the record ran to
  // the end and is not what its writer meant.
  bool unterminated = false;
};

struct CsvTable {
  char separator = ',';
  std::vector<CsvRecord> records;
};

// How a CsvReader takes fields apart.
struct CsvReadRules {
  // false: blanks around an unquoted field are dropped ("  12 " is "12").
  // true: an unquoted field is kept as it stands, blanks and all; the
  // caller trims the fields it reads as numbers or keywords.
  bool keep_blanks = false;
  // Fields kept per record; the ones after it are only counted, so that a
  // line of a million separators costs no memory.
  std::size_t max_fields = std::numeric_limits<std::size_t>::max();
};

// Walks a CSV text once, record by record, holding nothing but its place:
// a reader of a long text keeps only the records it wants. Blanks inside
// quotes are always kept. Lines that are empty or hold only blanks give no
// record. The text must outlive the reader.
class CsvReader {
 public:
  // The separator is the one of ',', ';' and tab that occurs most often
  // outside quotes in the first line (',' when none does, or on a tie).
  explicit CsvReader(std::string_view text, CsvReadRules rules = {});
  CsvReader(std::string_view text, char separator, CsvReadRules rules = {});

  char separator() const { return separator_; }

  // Reads the next record into `record`, reusing its storage. False, with
  // `record` unchanged, when the text is at its end.
  bool Next(CsvRecord& record);

  // Passes over the rest of the text; returns how many of its records hold
  // a field that is neither empty nor blank.
  std::size_t SkipRest();

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  bool IsBlank(char c) const { return c == ' ' || (c == '\t' && separator_ != '\t'); }
  void SkipLineEnd();
  // One field up to (not over) its separator or line end, appended to
  // `field` unless it is null. Returns whether it was quoted; `content` is
  // set when it holds a character that is not a blank.
  bool ReadField(std::string* field, bool& content, bool& unterminated);

  std::string_view text_;
  char separator_;
  CsvReadRules rules_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

// All records of `text` at once, blanks around unquoted fields dropped.
CsvTable ParseCsv(std::string_view text);
// The same with the separator given.
CsvTable ParseCsv(std::string_view text, char separator);

// `field` as it is written between separators: as it is, or in double
// quotes (inner quotes doubled) where a reader would otherwise take it
// differently: it holds the separator, a quote or a line end, or begins or
// ends with a blank.
std::string CsvField(std::string_view field, char separator = ',');

}  // namespace zlm5
