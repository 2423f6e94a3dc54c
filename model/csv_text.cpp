// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/csv_text.h"

#include <array>

namespace zlm5 {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kQuote = '"';
constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// The separator a spreadsheet used: the most frequent candidate outside
// quotes in the first line, which is the header.
char DetectSeparator(std::string_view text) {
  std::array<int, kSeparators.size()> counts{};
  bool quoted = false;
  for (const char c : text) {
    if (c == kQuote) quoted = !quoted;
    if (quoted) continue;
    if (IsLineEnd(c)) break;
    for (std::size_t i = 0; i < kSeparators.size(); ++i) {
      if (c == kSeparators[i]) ++counts[i];
    }
  }
  std::size_t best = 0;
  for (std::size_t i = 1; i < kSeparators.size(); ++i) {
    if (counts[i] > counts[best]) best = i;
  }
  return kSeparators[best];
}

// Walks the text once, field by field, counting lines as it goes.
class CsvReader {
 public:
  CsvReader(std::string_view text, char separator) : text_(text), separator_(separator) {}

  bool AtEnd() const { return pos_ >= text_.size(); }

  CsvRecord ReadRecord() {
    CsvRecord record;
    record.line = line_;
    bool quoted_field = false;
    for (;;) {
      std::string field;
      quoted_field = ReadField(field, record.unterminated);
      record.fields.push_back(std::move(field));
      if (AtEnd() || record.unterminated) break;
      if (text_[pos_] == separator_) {
        ++pos_;
        continue;
      }
      SkipLineEnd();
      break;
    }
    // A line of blanks is no record; a line holding "" is one empty field.
    if (record.fields.size() == 1 && record.fields[0].empty() && !quoted_field) {
      record.fields.clear();
    }
    return record;
  }

 private:
  bool IsBlank(char c) const { return c == ' ' || (c == '\t' && separator_ != '\t'); }

  void SkipLineEnd() {
    if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
  }

  // Reads one field up to (not over) its separator or line end. Returns
  // whether it was quoted.
  bool ReadField(std::string& field, bool& unterminated) {
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
    if (AtEnd() || text_[pos_] != kQuote) {
      const std::size_t start = pos_;
      while (!AtEnd() && text_[pos_] != separator_ && !IsLineEnd(text_[pos_])) ++pos_;
      std::size_t end = pos_;
      while (end > start && IsBlank(text_[end - 1])) --end;
      field.assign(text_.substr(start, end - start));
      return false;
    }
    ++pos_;  // the opening quote
    for (;;) {
      if (AtEnd()) {
        unterminated = true;
        return true;
      }
      const char c = text_[pos_++];
      if (c == kQuote) {
        if (!AtEnd() && text_[pos_] == kQuote) {
          field.push_back(kQuote);
          ++pos_;
          continue;
        }
        break;
      }
      if (c == '\n') ++line_;
      if (c == '\r' && (AtEnd() || text_[pos_] != '\n')) ++line_;
      field.push_back(c);
    }
    // Text after the closing quote ("ab"cd) is kept, as spreadsheets do.
    const std::size_t start = pos_;
    while (!AtEnd() && text_[pos_] != separator_ && !IsLineEnd(text_[pos_])) ++pos_;
    std::size_t end = pos_;
    while (end > start && IsBlank(text_[end - 1])) --end;
    field.append(text_.substr(start, end - start));
    return true;
  }

  std::string_view text_;
  char separator_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

}  // namespace

CsvTable ParseCsv(std::string_view text) {
  const std::string_view body =
      text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
  return ParseCsv(text, DetectSeparator(body));
}

CsvTable ParseCsv(std::string_view text, char separator) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  CsvTable table;
  table.separator = separator;
  CsvReader reader(text, table.separator);
  while (!reader.AtEnd()) {
    CsvRecord record = reader.ReadRecord();
    if (!record.fields.empty()) table.records.push_back(std::move(record));
  }
  return table;
}

std::string CsvField(std::string_view field, char separator) {
  const bool needs_quotes =
      field.find_first_of(std::string{separator, kQuote, '\r', '\n'}) != std::string_view::npos ||
      (!field.empty() && (field.front() == ' ' || field.back() == ' ' || field.front() == '\t' ||
                          field.back() == '\t'));
  if (!needs_quotes) return std::string(field);
  std::string quoted(1, kQuote);
  for (const char c : field) {
    if (c == kQuote) quoted.push_back(kQuote);
    quoted.push_back(c);
  }
  quoted.push_back(kQuote);
  return quoted;
}

}  // namespace zlm5
