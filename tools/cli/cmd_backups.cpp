// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli backups: lists the images that reads and writes left behind.

#include "files/backup_store.h"
#include "files/user_folders.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

int RunBackups(const std::vector<std::string>& args);

// Help paragraphs end their lines before this column.
constexpr std::size_t kHelpWidth = 72;

// `text` broken into lines of at most `width` characters at its blanks
// (a longer word keeps a line of its own), each line ended by "\n".
std::string WrapAtBlanks(std::string_view text, std::size_t width) {
  std::string wrapped;
  std::size_t line_start = 0;
  while (!text.empty()) {
    const std::size_t blank = text.find(' ');
    const std::string_view word = text.substr(0, blank);
    const std::size_t line_length = wrapped.size() - line_start;
    if (line_length > 0 && line_length + 1 + word.size() > width) {
      wrapped += '\n';
      line_start = wrapped.size();
    } else if (line_length > 0) {
      wrapped += ' ';
    }
    wrapped += word;
    text = blank == std::string_view::npos ? std::string_view{} : text.substr(blank + 1);
  }
  return wrapped + '\n';
}

// The folder differs by platform, so the paragraph that names it is
// wrapped when the program starts.
const std::string kUsage =
    "Usage: z-lm5-cli backups\n"
    "\n" +
    WrapAtBlanks(
        "Every completed read keeps the image it read, and every write the image it "
        "sent, as a channel data file in " +
            DataFolderHelp("backups") + ", named by the date, time and direction of the transfer:",
        kHelpWidth) +
    "  2026-12-07_21-47-18_read.sin\n"
    "The newest 200 are kept. This command prints them newest first, one\n"
    "PATH<TAB>DIRECTION<TAB>TIME line each, DIRECTION \"read\" or \"write\",\n"
    "TIME the local time \"2026-12-07 21:47:18\". Nothing is printed when\n"
    "there are none. Any of them opens like any channel data file.\n"
    "\n"
    "Exit codes: 0 listed, 2 usage error, 3 the folder cannot be read.\n";

const CliCommand kBackups = {
    "backups", "list the backups of past reads and writes, newest first", kUsage, 45, RunBackups,
};

int RunBackups(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, {}, parsed)) return UsageError(kBackups, *error);
  if (!parsed.positional.empty()) return UsageError(kBackups, "expected no arguments");

  const BackupStore store(DefaultBackupFolder());
  const Result<std::vector<BackupEntry>> backups = store.List();
  if (!backups) return FileError(kBackups, backups.error());
  std::string out;
  for (const BackupEntry& backup : *backups) {
    out += backup.path + '\t' + std::string(DirectionName(backup.direction)) + '\t' + backup.time +
           '\n';
  }
  return WriteOutput(kBackups, out);
}

const CliCommandRegistration kRegistration(kBackups);

}  // namespace
}  // namespace zlm5::cli
