// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/cli/cli_link_host.h"

#include <algorithm>
#include <atomic>
#include <iostream>

#include "link/port_names.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/cli_console.h"

namespace zlm5::cli {
namespace {

constexpr int kBarWidth = 40;
constexpr int kPlainStep = 40;  // plain progress lines every this many blocks

}  // namespace

MessageAnswer CliAnswers::Answer(MessageButtons buttons) {
  MessageAnswer answer = MessageAnswer::kOk;
  if (buttons == MessageButtons::kRetryCancel) {
    answer = retries > 0 ? MessageAnswer::kRetry : MessageAnswer::kCancel;
    if (retries > 0) --retries;
  } else if (buttons == MessageButtons::kOkCancel) {
    answer = accept_type_mismatch ? MessageAnswer::kOk : MessageAnswer::kCancel;
  }
  return answer;
}

void CliPortFailure::Report(const std::string& text, const Error& error, const std::string& hint) {
  happened_ = true;
  std::cerr << text << '\n' << error.Message() << '\n';
  if (!hint.empty()) std::cerr << hint << '\n';
}

// The question and its answer on one line; further paragraphs of the text
// (the device and the reason) on lines of their own, as a port open
// failure prints them.
static void PrintMessage(const std::string& text, MessageButtons buttons, MessageAnswer answer) {
  const std::size_t end = text.find("\n\n");
  std::cerr << text.substr(0, end) << MessageButtonsText(buttons);
  if (buttons != MessageButtons::kOk) std::cerr << " -> " << MessageAnswerName(answer);
  std::cerr << '\n';
  for (std::size_t from = end; from != std::string::npos;) {
    from += 2;
    const std::size_t next = text.find("\n\n", from);
    std::cerr << text.substr(from, next == std::string::npos ? next : next - from) << '\n';
    from = next;
  }
}

CliTransferHost::CliTransferHost(CliAnswers answers)
    : answers_(answers), terminal_(StandardErrorIsTerminal()) {}

CliTransferHost::~CliTransferHost() { EndBarLine(); }

void CliTransferHost::EndBarLine() {
  if (bar_shown_) {
    std::cerr << '\n';
    bar_shown_ = false;
  }
}

MessageAnswer CliTransferHost::ShowMessage(const std::string& text, MessageButtons buttons) {
  EndBarLine();
  const MessageAnswer answer = answers_.Answer(buttons);
  PrintMessage(text, buttons, answer);
  return answer;
}

void CliTransferHost::ReportPortOpenFailure(const std::string& text, const Error& error,
                                            const std::string& hint) {
  EndBarLine();
  port_failure_.Report(text, error, hint);
}

void CliTransferHost::ShowNote(const std::string& text) {
  EndBarLine();
  std::cerr << text << '\n';
}

void CliTransferHost::SetStatusText(const std::string& text) {
  // Phase texts show once each.
  if (text == last_status_) return;
  last_status_ = text;
  EndBarLine();
  std::cerr << text << '\n';
}

void CliTransferHost::SetProgress(int position) {
  // Only a restart (after Retry) is taken from the bar. The transfer also
  // fills the bar when a write is interrupted, as the window's dialog
  // closes at once; here it would stay on screen as "394/394" after a
  // failure, so the count of blocks actually moved is shown instead.
  if (position == 0) last_reported_ = 0;
}

void CliTransferHost::SetBlocksDone(int done, int total) {
  const int blocks = std::clamp(done, 0, total);
  if (terminal_) {
    const int filled = blocks * kBarWidth / total;
    std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
              << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] " << blocks
              << '/' << total << std::flush;
    bar_shown_ = true;
    return;
  }
  if (blocks < last_reported_) last_reported_ = 0;  // restarted after Retry
  if (blocks == total || blocks - last_reported_ >= kPlainStep) {
    if (blocks != last_reported_) std::cerr << "block " << blocks << '/' << total << '\n';
    last_reported_ = blocks;
  }
}

MessageAnswer CliTuningHost::ShowMessage(const std::string& text, MessageButtons buttons) {
  const MessageAnswer answer = answers_.Answer(buttons);
  PrintMessage(text, buttons, answer);
  return answer;
}

void CliTuningHost::ReportPortOpenFailure(const std::string& text, const Error& error,
                                          const std::string& hint) {
  port_failure_.Report(text, error, hint);
}

void CliTuningHost::ShowProbedValue(int byte) {
  std::cerr << "radio answered " << byte << " instead of the acknowledgement\n";
}

std::optional<std::string> ResolveCliPort(const CliCommand& command, const std::string& name,
                                          int& exit_code) {
  // The settings file maps the COM names only: a device path never reads it.
  PortTable table;
  if (IsComPortName(name)) {
    auto loaded = LoadPortTable(PortSettingsPath());
    if (!loaded) {
      exit_code = FileError(command, loaded.error());
      return std::nullopt;
    }
    table = *loaded;
  }
  auto device = ResolvePortName(name, table);
  if (!device) {
    exit_code = UsageError(command, device.error().Message());
    return std::nullopt;
  }
  return *device;
}

void AnnouncePasses(SafeTransferOptions& options, CliTransferHost& host) {
  if (!options.backup_first && !options.verify) return;
  const bool backup_first = options.backup_first;
  options.on_pass = [backup_first, &host](TransferPass pass) {
    switch (pass) {
      case TransferPass::kBackupRead:
        host.SetStatusText("Reading the radio into a backup");
        break;
      case TransferPass::kTransfer:
        if (backup_first) host.SetStatusText("Writing the radio");
        break;
      case TransferPass::kVerifyRead:
        host.SetStatusText("Reading the radio back to verify");
        break;
    }
  };
}

void PrintTransferReport(const SafeTransferReport& report) {
  for (const std::string& path : report.backups) std::cerr << "backup: " << path << '\n';
  for (const std::string& line : SafeTransferSummary(report)) std::cerr << line << '\n';
}

std::optional<int> ParseRetries(const CliCommand& command, const std::string* text) {
  if (text == nullptr) return 0;
  auto n = ParseInt(*text);
  if (!n || *n < 0) {
    UsageError(command, "--retries needs a count (0 or more)");
    return std::nullopt;
  }
  return *n;
}

CliRadioPort::CliRadioPort(bool trace) {
  if (trace) trace_ = std::make_unique<TracingTransport>(serial_, std::cerr);
}

}  // namespace zlm5::cli
