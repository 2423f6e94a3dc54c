// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/command_line.h"

#include <algorithm>

#include "zlm5_version.h"

namespace zlm5::cmdline {
namespace {

constexpr std::string_view kEndOfOptions = "--";
constexpr std::size_t kHelpIndent = 2;  // blanks before an option's names
constexpr std::size_t kHelpGap = 2;     // fewest blanks between names and text
constexpr std::size_t kHelpColumnGap = 3;

// A word of the command line that is still to be read, with its place.
struct Word {
  std::size_t position;
  std::string text;
};

bool Named(const OptionEntry& entry, std::string_view name) {
  return name == entry.long_name || (!entry.short_name.empty() && name == entry.short_name);
}

bool PickedFirst(OptionKind kind) { return kind != OptionKind::kValue; }

// The row of `table` named `name` whose kind passes `wanted`.
template <class Pred>
std::optional<std::size_t> FindRow(std::span<const OptionEntry> table, std::string_view name,
                                   Pred wanted) {
  for (std::size_t row = 0; row < table.size(); ++row) {
    if (wanted(table[row].kind) && Named(table[row], name)) return row;
  }
  return std::nullopt;
}

std::string NeedsValue(const std::string& word) { return "option '" + word + "' needs a value"; }

// Keeps the earlier of two problems.
void Note(ParsedArgs& out, std::size_t position, std::string message) {
  if (!out.problem || position < out.problem->position) {
    out.problem = UsageProblem{position, std::move(message)};
  }
}

// The first rule: flags, repeated and final options out of `words`,
// wherever they stand before a "--". A final option drops every word
// after it.
void PickOut(std::vector<Word>& words, std::span<const OptionEntry> table, ParsedArgs& out) {
  std::vector<Word> rest;
  bool ended = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    Word& word = words[i];
    if (word.text == kEndOfOptions) ended = true;
    const std::string_view text = word.text;
    const std::size_t equals = text.find('=');
    const bool long_with_value = text.starts_with("--") && equals != std::string_view::npos;
    const std::string_view name = long_with_value ? text.substr(0, equals) : text;
    const auto row = ended ? std::nullopt : FindRow(table, name, PickedFirst);
    const OptionKind kind = row ? table[*row].kind : OptionKind::kValue;
    // Only a repeated option takes "--name=value" here: "--trace=1" is
    // left for the second reading, which does not know it.
    if (!row || (long_with_value && kind != OptionKind::kRepeated)) {
      rest.push_back(std::move(word));
      continue;
    }
    OptionUse use{*row, {}, word.position};
    if (kind == OptionKind::kRepeated && long_with_value) {
      use.value = text.substr(equals + 1);
    } else if (kind == OptionKind::kRepeated) {
      if (i + 1 >= words.size()) {
        Note(out, word.position, NeedsValue(word.text));
        break;
      }
      use.value = words[++i].text;
    }
    out.uses.push_back(std::move(use));
    if (kind == OptionKind::kFinal) break;
  }
  words = std::move(rest);
}

// The second rule: value options and arguments, in order.
void ReadInOrder(const std::vector<Word>& words, std::span<const OptionEntry> table,
                 ParsedArgs& out) {
  bool ended = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const Word& word = words[i];
    const std::string& text = word.text;
    if (ended || text.size() < 2 || text[0] != '-') {
      out.positional.push_back(text);
      out.argument_positions.push_back(word.position);
      continue;
    }
    if (text == kEndOfOptions) {
      ended = true;
      continue;
    }
    const std::size_t equals = text.find('=');
    const bool long_with_value = text.starts_with("--") && equals != std::string::npos;
    const std::string_view name =
        long_with_value ? std::string_view(text).substr(0, equals) : std::string_view(text);
    const auto row = FindRow(table, name, [](OptionKind k) { return k == OptionKind::kValue; });
    if (!row) return Note(out, word.position, "unknown option '" + text + "'");
    OptionUse use{*row, {}, word.position};
    if (long_with_value) {
      use.value = text.substr(equals + 1);
    } else if (i + 1 < words.size()) {
      use.value = words[++i].text;
    } else {
      return Note(out, word.position, NeedsValue(text));
    }
    const std::string_view long_name = table[*row].long_name;
    const bool again = std::any_of(out.uses.begin(), out.uses.end(),
                                   [&](const OptionUse& u) { return u.row == *row; });
    if (again) {
      return Note(out, word.position,
                  "option '" + std::string(long_name) + "' is given more than once");
    }
    out.uses.push_back(std::move(use));
  }
}

std::vector<Word> Words(const std::vector<std::string>& args) {
  std::vector<Word> words;
  words.reserve(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) words.push_back({i, args[i]});
  return words;
}

void SortUses(ParsedArgs& out) {
  std::stable_sort(out.uses.begin(), out.uses.end(),
                   [](const OptionUse& a, const OptionUse& b) { return a.position < b.position; });
}

// "-o, --output OUT" as a row's help line names it.
std::string HelpNames(const OptionEntry& entry) {
  if (!entry.help_names.empty()) return std::string(entry.help_names);
  std::string names;
  if (!entry.short_name.empty()) names = std::string(entry.short_name) + ", ";
  names += entry.long_name;
  if (!entry.value_name.empty()) names += " " + std::string(entry.value_name);
  return names;
}

}  // namespace

const std::string* ParsedArgs::Value(std::string_view long_name) const {
  for (const OptionUse& use : uses) {
    if (table_[use.row].long_name == long_name) return &use.value;
  }
  return nullptr;
}

bool ParsedArgs::Has(std::string_view long_name) const { return Value(long_name) != nullptr; }

std::vector<std::string> ParsedArgs::Values(std::string_view long_name) const {
  std::vector<std::string> values;
  for (const OptionUse& use : uses) {
    if (table_[use.row].long_name == long_name) values.push_back(use.value);
  }
  return values;
}

ParsedArgs Parse(const std::vector<std::string>& args, std::span<const OptionEntry> table) {
  ParsedArgs out(table);
  std::vector<Word> words = Words(args);
  PickOut(words, table, out);
  ReadInOrder(words, table, out);
  SortUses(out);
  return out;
}

ParsedArgs TakeOptions(std::vector<std::string>& args, std::span<const OptionEntry> table) {
  ParsedArgs out(table);
  std::vector<Word> words = Words(args);
  PickOut(words, table, out);
  args.clear();
  for (Word& word : words) args.push_back(std::move(word.text));
  return out;
}

std::string OptionHelp(std::span<const OptionEntry> table, std::size_t column) {
  std::string help;
  for (const OptionEntry& entry : table) {
    if (entry.help.empty()) continue;
    std::string line = std::string(kHelpIndent, ' ') + HelpNames(entry);
    line.resize(std::max(line.size() + kHelpGap, column), ' ');
    std::string_view text = entry.help;
    for (std::size_t nl; (nl = text.find('\n')) != std::string_view::npos;) {
      line += std::string(text.substr(0, nl + 1)) + std::string(column, ' ');
      text.remove_prefix(nl + 1);
    }
    help += line + std::string(text) + '\n';
  }
  return help;
}

std::size_t HelpColumn(std::span<const OptionEntry> table) {
  std::size_t longest = 0;
  for (const OptionEntry& entry : table) {
    if (!entry.help.empty()) longest = std::max(longest, HelpNames(entry).size());
  }
  return kHelpIndent + longest + kHelpColumnGap;
}

std::string VersionText(std::string_view program) {
  return std::string(program) + ' ' + kProgramVersion + '\n';
}

}  // namespace zlm5::cmdline
