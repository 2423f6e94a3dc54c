// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cli/cli_radio.h"

#include "files/backup_store.h"

namespace zlm5::cli {

CliRadioLine::CliRadioLine(const CliCommand& command, const CliArgs& parsed)
    : command_(command),
      port_name_(parsed.Has("--port") ? *parsed.Value("--port") : std::string()),
      keep_backups_(!parsed.Has("--no-backup")),
      port_(parsed.Has("--trace")) {}

bool CliRadioLine::Resolve(int& exit_code) {
  const auto device = ResolveCliPort(command_, port_name_, exit_code);
  if (!device) return false;
  device_ = *device;
  return true;
}

SafeTransferReport RunCliTransfer(TransferDirection direction, CliRadioLine& line,
                                  RadioImage& image, CliAnswers answers,
                                  SafeTransferOptions options) {
  InstallCancelOnInterrupt();
  BackupStore backups(DefaultBackupFolder());
  if (line.keep_backups()) options.backups = &backups;
  // The host ends its progress line when it goes, before the report.
  CliTransferHost host(answers);
  AnnouncePasses(options, host);
  return RunSafeTransfer(direction, line.transport(), line.device(), image, host, options);
}

}  // namespace zlm5::cli
