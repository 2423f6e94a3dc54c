// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli backups: lists the images that reads and writes left behind.

#include "files/backup_store.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

int RunBackups(const std::vector<std::string>& args);

const CliCommand kBackups = {
    "backups",
    "list the backups of past reads and writes, newest first",
    "Usage: z-lm5-cli backups\n"
    "\n"
    "Every completed read keeps the image it read, and every write the image\n"
    "it sent, as a channel data file in $XDG_DATA_HOME/z-lm5/backups\n"
    "(~/.local/share/z-lm5/backups when XDG_DATA_HOME is not set), named by\n"
    "the date, time and direction of the transfer:\n"
    "  2026-12-07_21-47-18_read.sin\n"
    "The newest 200 are kept. This command prints them newest first, one\n"
    "PATH<TAB>DIRECTION<TAB>TIME line each, DIRECTION \"read\" or \"write\",\n"
    "TIME the local time \"2026-12-07 21:47:18\". Nothing is printed when\n"
    "there are none. Any of them opens like any channel data file.\n"
    "\n"
    "Exit codes: 0 listed, 2 usage error, 3 the folder cannot be read.\n",
    45,
    RunBackups,
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
