// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The command-line parser of z-lm5-cli and z-lm5-radio-sim. A program
// declares its options in a table, one row each: the names, whether it
// takes a value, and the line its help shows. The parser reads
//   -o FILE   --output FILE   --output=FILE
// and says what it could not read in a message for the user.
//
// The rules, in the order they are applied:
//  - Flags, repeated options and final options are picked out first,
//    wherever they stand before a "--" (so "--port P --trace" and
//    "--trace --port P" are the same); a repeated option takes the word
//    after it as its value whatever that word is.
//  - A final option (--help, --version) ends the command line: nothing
//    after it is read, and a program acts on it after what came before.
//  - The rest is read in order: "--" ends the options, a lone "-" and any
//    word not starting with '-' is an argument; a value option takes the
//    next word (or what follows its '=') and may be given once.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zlm5::cmdline {

enum class OptionKind {
  kValue,     // one value, given at most once
  kFlag,      // no value; saying it twice is the same as once
  kRepeated,  // a value each time it is given, all kept in order
  kFinal,     // no value; ends the command line (--help, --version)
};

struct OptionEntry {
  std::string_view short_name;  // "-o", or empty
  std::string_view long_name;   // "--output"
  OptionKind kind = OptionKind::kValue;
  // The help line: "-o, --output " + value_name, then the text. Without
  // a text the option is not listed (another row describes it).
  std::string_view value_name = {};
  std::string_view help = {};
  // Replaces the names and value in the help line when one line
  // describes two options ("--low N, --high N").
  std::string_view help_names = {};
};

// One option as given, in command line order.
struct OptionUse {
  std::size_t row = 0;       // its row in the table
  std::string value;         // empty for flags and final options
  std::size_t position = 0;  // its word in the command line
};

// What could not be read, at the word where it was found.
struct UsageProblem {
  std::size_t position = 0;
  std::string message;  // "unknown option '--x'", "option '-o' needs a value", ...
};

class ParsedArgs {
 public:
  ParsedArgs() = default;
  explicit ParsedArgs(std::span<const OptionEntry> table) : table_(table.begin(), table.end()) {}

  std::vector<std::string> positional;
  std::vector<std::size_t> argument_positions;  // each positional word's place
  std::vector<OptionUse> uses;                  // in command line order
  std::optional<UsageProblem> problem;          // the first one on the command line

  // The value of a value option, or null when it was not given.
  const std::string* Value(std::string_view long_name) const;
  // Whether a flag (or any option) was given.
  bool Has(std::string_view long_name) const;
  // Every value of a repeated option, in order.
  std::vector<std::string> Values(std::string_view long_name) const;
  const OptionEntry& entry(const OptionUse& use) const { return table_[use.row]; }

 private:
  std::vector<OptionEntry> table_;
};

// Reads `args` (the words after the program or command name) by `table`.
ParsedArgs Parse(const std::vector<std::string>& args, std::span<const OptionEntry> table);

// For tables whose rows carry more than the option (what it sets, say):
// each row's OptionEntry is its `option` member; OptionUse::row indexes
// `table`.
template <class Row>
ParsedArgs Parse(const std::vector<std::string>& args, std::span<const Row> table) {
  std::vector<OptionEntry> entries;
  entries.reserve(table.size());
  for (const Row& row : table) entries.push_back(row.option);
  return Parse(args, std::span<const OptionEntry>(entries));
}

// Takes only the table's flags, repeated and final options out of `args`,
// by the first rule above, and leaves every other word in place: for a
// command whose first argument chooses the options of the rest.
ParsedArgs TakeOptions(std::vector<std::string>& args, std::span<const OptionEntry> table);

// The help lines of `table`: each shown row as
//   "  -o, --output OUT   write OUT instead of FILE"
// with the texts starting at `column` (or two blanks after long names)
// and a text's further lines indented to it.
std::string OptionHelp(std::span<const OptionEntry> table, std::size_t column);
// The column three blanks after the longest names shown.
std::size_t HelpColumn(std::span<const OptionEntry> table);

// "PROGRAM VERSION\n", what --version prints.
std::string VersionText(std::string_view program);

// The standard rows of every program's table.
inline constexpr OptionEntry kHelpOption = {"-h", "--help", OptionKind::kFinal, "",
                                            "show this help"};
inline constexpr OptionEntry kVersionOption = {"", "--version", OptionKind::kFinal, "",
                                               "show the version"};

}  // namespace zlm5::cmdline
