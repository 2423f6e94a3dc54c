// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What read, write and tune share on their way to the radio: the device
// that --port names, the serial port to it, and, for read and write, the
// safe transfer with the command line's answers and the backups.

#include <string>

#include "link/safe_transfer.h"
#include "model/radio_image.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/cli_link_host.h"

namespace zlm5::cli {

// The radio's end of the cable, from a command's --port PORT (checked
// present by the command), --trace and --no-backup.
class CliRadioLine {
 public:
  CliRadioLine(const CliCommand& command, const CliArgs& parsed);

  // Resolves --port: COM1 to COM4 through the ports file, or a device
  // path. False after the message, with `exit_code` set.
  bool Resolve(int& exit_code);

  const std::string& device() const { return device_; }
  // The serial port, behind a wire trace on standard error with --trace.
  SerialTransport& transport() { return port_.transport(); }
  bool keep_backups() const { return keep_backups_; }

 private:
  const CliCommand& command_;
  std::string port_name_;
  std::string device_;
  bool keep_backups_;
  CliRadioPort port_;
};

// Reads or writes the radio through `line` as the window does, answering
// with `answers`, Ctrl+C as Cancel, and a backup in the usual folder
// unless --no-backup. The passes of a backup-first or verified write are
// named as they start. Returns once the progress line is closed.
SafeTransferReport RunCliTransfer(TransferDirection direction, CliRadioLine& line,
                                  RadioImage& image, CliAnswers answers,
                                  SafeTransferOptions options);

}  // namespace zlm5::cli
