// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_host.h"
#include "link/safe_transfer.h"
#include "link/serial_port.h"
#include "link/serial_transport.h"
#include "link/wire_trace.h"
#include "tools/cli/cli_command.h"
#include "tools/cli/cli_console.h"

namespace zlm5::cli {

// How the command line answers the exchanges' questions.
struct CliAnswers {
  int retries = 0;                    // Retry answers left; then Cancel
  bool accept_type_mismatch = false;  // OK to the radio type question

  // Prints the question's answer after the text; counts down retries.
  MessageAnswer Answer(MessageButtons buttons);
};

// The port open failure as the command line reports it: the message, the
// operating system's reason, the hint. Remembers that it happened.
class CliPortFailure {
 public:
  void Report(const std::string& text, const Error& error, const std::string& hint);
  bool happened() const { return happened_; }

 private:
  bool happened_ = false;
};

// A transfer driven from the command line: messages on standard error;
// progress as a bar with the block count when standard error is a
// terminal, as plain lines otherwise.
class CliTransferHost : public TransferHost {
 public:
  explicit CliTransferHost(CliAnswers answers);
  ~CliTransferHost() override;

  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override;
  void Pump() override {}
  void ReportPortOpenFailure(const std::string& text, const Error& error,
                             const std::string& hint) override;
  void SetStatusText(const std::string& text) override;
  void SetProgress(int position) override;
  // Blocks moved so far, as a bar or a plain line.
  void SetBlocksDone(int done, int total) override;
  bool CancelRequested() const override { return InterruptRequested(); }
  void SetWatch(bool) override {}
  // On a line of its own, below the progress.
  void ShowNote(const std::string& text) override;

  bool port_failed() const { return port_failure_.happened(); }

 private:
  void EndBarLine();

  CliAnswers answers_;
  CliPortFailure port_failure_;
  bool terminal_;
  bool bar_shown_ = false;
  int last_reported_ = 0;
  std::string last_status_;
};

// A power tuning session driven from the command line.
class CliTuningHost : public TuningHost {
 public:
  explicit CliTuningHost(CliAnswers answers) : answers_(answers) {}

  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override;
  void Pump() override {}
  void ReportPortOpenFailure(const std::string& text, const Error& error,
                             const std::string& hint) override;
  void ShowProbedValue(int byte) override;
  void RestorePosition() override {}
  void TuningEnded() override { ended_ = true; }

  bool port_failed() const { return port_failure_.happened(); }
  bool ended() const { return ended_; }

 private:
  CliAnswers answers_;
  CliPortFailure port_failure_;
  bool ended_ = false;
};

// The device for --port (COM1..COM4 through the settings file, or a path);
// prints the reason and returns nullopt when it cannot be resolved, with
// `exit_code` set (usage error, or file error for a bad settings file).
std::optional<std::string> ResolveCliPort(const CliCommand& command, const std::string& name,
                                          int& exit_code);

// The serial port a radio command talks through: the termios port itself,
// or, with --trace, the same port behind a wire trace on standard error.
class CliRadioPort {
 public:
  explicit CliRadioPort(bool trace);
  SerialTransport& transport() { return trace_ ? static_cast<SerialTransport&>(*trace_) : serial_; }

 private:
  SerialPort serial_;
  std::unique_ptr<TracingTransport> trace_;
};

// Names the passes of a write with a backup read or a verify, as phase
// lines of `host`: "Reading the radio into a backup", "Writing the radio",
// "Reading the radio back to verify". A lone pass is not named.
void AnnouncePasses(SafeTransferOptions& options, CliTransferHost& host);

// After a safe transfer, on standard error: "backup: PATH" for each backup
// made, then the lines of SafeTransferSummary (every difference a verify
// found, one line each).
void PrintTransferReport(const SafeTransferReport& report);

// Parses --retries; nullopt (after a usage message) when malformed.
std::optional<int> ParseRetries(const CliCommand& command, const std::string* text);

}  // namespace zlm5::cli
