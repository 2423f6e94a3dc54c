// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/csv_text.h"

#include <array>
#include <utility>

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

std::string_view WithoutByteOrderMark(std::string_view text) {
  return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

CsvTable ReadAll(CsvReader& reader) {
  CsvTable table;
  table.separator = reader.separator();
  CsvRecord record;
  while (reader.Next(record)) table.records.push_back(std::exchange(record, {}));
  return table;
}

}  // namespace

CsvReader::CsvReader(std::string_view text, CsvReadRules rules)
    : CsvReader(text, DetectSeparator(WithoutByteOrderMark(text)), rules) {}

CsvReader::CsvReader(std::string_view text, char separator, CsvReadRules rules)
    : text_(WithoutByteOrderMark(text)), separator_(separator), rules_(rules) {}

bool CsvReader::Next(CsvRecord& record) {
  while (!AtEnd()) {
    const int line = line_;
    std::size_t kept = 0;
    std::size_t not_kept = 0;
    bool quoted = false;
    bool content = false;
    bool unterminated = false;
    for (;;) {
      std::string* field = nullptr;
      if (kept < rules_.max_fields) {
        if (kept == record.fields.size()) record.fields.emplace_back();
        field = &record.fields[kept++];
        field->clear();
      } else {
        ++not_kept;
      }
      quoted = ReadField(field, content, unterminated);
      if (AtEnd() || unterminated) break;
      if (text_[pos_] == separator_) {
        ++pos_;
        continue;
      }
      SkipLineEnd();
      break;
    }
    // A line of blanks is no record; a line holding "" is one empty field.
    if (kept + not_kept == 1 && !content && !quoted) continue;
    record.line = line;
    record.fields.resize(kept);
    record.fields_not_kept = not_kept;
    record.unterminated = unterminated;
    return true;
  }
  return false;
}

std::size_t CsvReader::SkipRest() {
  std::size_t records = 0;
  while (!AtEnd()) {
    bool content = false;
    bool unterminated = false;
    for (;;) {
      ReadField(nullptr, content, unterminated);
      if (AtEnd() || unterminated) break;
      if (text_[pos_] == separator_) {
        ++pos_;
        continue;
      }
      SkipLineEnd();
      break;
    }
    if (content) ++records;
  }
  return records;
}

void CsvReader::SkipLineEnd() {
  if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
  ++pos_;
  ++line_;
}

bool CsvReader::ReadField(std::string* field, bool& content, bool& unterminated) {
  const std::size_t lead = pos_;
  while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
  if (AtEnd() || text_[pos_] != kQuote) {
    const std::size_t start = pos_;
    while (!AtEnd() && text_[pos_] != separator_ && !IsLineEnd(text_[pos_])) ++pos_;
    std::size_t end = pos_;
    while (end > start && IsBlank(text_[end - 1])) --end;
    if (end > start) content = true;
    if (field != nullptr) {
      if (rules_.keep_blanks) {
        field->append(text_.substr(lead, pos_ - lead));
      } else {
        field->append(text_.substr(start, end - start));
      }
    }
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
      if (AtEnd() || text_[pos_] != kQuote) break;
      ++pos_;
    }
    if (c == '\n') ++line_;
    if (c == '\r' && (AtEnd() || text_[pos_] != '\n')) ++line_;
    if (!IsBlank(c)) content = true;
    if (field != nullptr) field->push_back(c);
  }
  // Text after the closing quote ("ab"cd) is kept, as spreadsheets do.
  const std::size_t start = pos_;
  while (!AtEnd() && text_[pos_] != separator_ && !IsLineEnd(text_[pos_])) ++pos_;
  std::size_t end = pos_;
  while (end > start && IsBlank(text_[end - 1])) --end;
  if (end > start) content = true;
  if (field != nullptr) field->append(text_.substr(start, end - start));
  return true;
}

CsvTable ParseCsv(std::string_view text) {
  CsvReader reader(text);
  return ReadAll(reader);
}

CsvTable ParseCsv(std::string_view text, char separator) {
  CsvReader reader(text, separator);
  return ReadAll(reader);
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
