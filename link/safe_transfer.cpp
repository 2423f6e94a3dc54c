// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/safe_transfer.h"

namespace zlm5 {
namespace {

using transfer_limits::kBlockCount;

std::string Blocks() { return std::to_string(kBlockCount) + " blocks"; }

}  // namespace

bool SafeTransferReport::Transferred() const {
  return last_pass == TransferPass::kVerifyRead ||
         (last_pass == TransferPass::kTransfer && outcome == TransferOutcome::kCompleted);
}

bool SafeTransferReport::Succeeded() const {
  return Transferred() && outcome == TransferOutcome::kCompleted &&
         (!differences || differences->empty());
}

TransferOutcome SafeTransferReport::Overall() const {
  if (Succeeded()) return TransferOutcome::kCompleted;
  return outcome == TransferOutcome::kCompleted ? TransferOutcome::kFailed : outcome;
}

SafeTransferReport RunSafeTransfer(TransferDirection direction, SerialTransport& transport,
                                   const std::string& device, RadioImage& image, TransferHost& host,
                                   const SafeTransferOptions& options) {
  SafeTransferReport report;
  report.direction = direction;
  bool first = true;
  const auto run_pass = [&](TransferPass pass, TransferDirection way, RadioImage& target) {
    if (!first) {
      host.SetProgress(0);
      host.SetWatch(true);
    }
    first = false;
    if (options.on_pass) options.on_pass(pass);
    report.last_pass = pass;
    report.outcome = RunTransfer(way, transport, device, target, host, options.transfer);
    return report.outcome == TransferOutcome::kCompleted;
  };
  const auto keep = [&](const RadioImage& kept, TransferDirection way) {
    if (options.backups == nullptr) return true;
    Result<std::string> saved = options.backups->Save(kept, way);
    if (!saved) {
      report.backup_errors.push_back(saved.error());
      return false;
    }
    report.backups.push_back(*saved);
    return true;
  };

  const bool write = direction == TransferDirection::kWrite;
  if (write && options.backup_first && options.backups != nullptr) {
    RadioImage radio = image;
    if (!run_pass(TransferPass::kBackupRead, TransferDirection::kRead, radio)) return report;
    if (!keep(radio, TransferDirection::kRead)) return report;
  }
  if (!run_pass(TransferPass::kTransfer, direction, image)) return report;
  keep(image, direction);
  if (write && options.verify) {
    RadioImage radio = image;
    if (!run_pass(TransferPass::kVerifyRead, TransferDirection::kRead, radio)) return report;
    report.differences = CompareImages(image, radio, CompareScope::TransferredBytes);
  }
  return report;
}

std::vector<std::string> SafeTransferSummary(const SafeTransferReport& report,
                                             std::size_t max_differences) {
  std::vector<std::string> lines;
  if (report.Transferred()) {
    lines.push_back(Blocks() +
                    (report.direction == TransferDirection::kRead ? " read" : " written"));
  }
  // A backup that could not be saved is said before what it stopped: the
  // reason first, then that nothing was written.
  for (const Error& error : report.backup_errors) {
    lines.push_back("The backup could not be saved: " + error.Message());
  }
  if (report.last_pass == TransferPass::kBackupRead) {
    if (report.outcome == TransferOutcome::kCancelled) {
      lines.emplace_back("Cancelled while the radio was read into a backup; nothing was written");
    } else if (report.outcome != TransferOutcome::kCompleted) {
      lines.emplace_back("Nothing was written: the radio could not be read into a backup first");
    } else {
      lines.emplace_back("Nothing was written: the backup of the radio could not be saved");
    }
  }
  if (report.last_pass != TransferPass::kVerifyRead) return lines;
  if (report.outcome == TransferOutcome::kCancelled) {
    lines.emplace_back("The verify was cancelled: the radio was not read back");
  } else if (!report.differences) {
    lines.emplace_back("The radio could not be read back to verify the write");
  } else if (report.differences->empty()) {
    lines.push_back("Radio verified: " + Blocks() + " match");
  } else {
    const std::size_t count = report.differences->size();
    lines.push_back("Radio verify failed: the radio does not hold what was written (" +
                    std::to_string(count) + (count == 1 ? " difference)" : " differences)"));
    for (std::size_t i = 0; i < count && i < max_differences; ++i) {
      lines.push_back((*report.differences)[i].text);
    }
    if (count > max_differences) {
      lines.push_back("... and " + std::to_string(count - max_differences) + " more");
    }
  }
  return lines;
}

}  // namespace zlm5
