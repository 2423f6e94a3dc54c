// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "files/backup_store.h"
#include "link/transfer.h"
#include "model/document_compare.h"

namespace zlm5 {

// The passes of a safe transfer, in the order they run. Each is one
// complete RunTransfer session: the port is opened and closed for each.
enum class TransferPass {
  kBackupRead,  // a write's first read of the radio, kept as a backup
  kTransfer,    // the read or write the user asked for
  kVerifyRead,  // a write's read-back, compared with what was sent
};

struct SafeTransferOptions {
  TransferOptions transfer;  // profile and clock of every pass
  // Where the image of every completed read and write is kept; null keeps
  // none (scripts that keep their own copies).
  BackupStore* backups = nullptr;
  // Write only, and only with `backups`: first read the radio into a
  // backup; the write starts only when that read completed and its backup
  // was saved, so that what the radio held can always be put back.
  bool backup_first = false;
  // Write only: after a completed write, read the radio back into a
  // scratch image and compare bytes 0x000-0xC4F with what was sent.
  bool verify = false;
  // Told before each pass starts (the window names it in its dialog).
  std::function<void(TransferPass)> on_pass;
};

// How a safe transfer went.
struct SafeTransferReport {
  TransferDirection direction = TransferDirection::kRead;
  // The pass that ran last and how it ended.
  TransferPass last_pass = TransferPass::kTransfer;
  TransferOutcome outcome = TransferOutcome::kFailed;
  // The backups saved, in the order made.
  std::vector<std::string> backups;
  // Backups that could not be saved: the folder or file and the reason.
  std::vector<Error> backup_errors;
  // Set once a verify read has completed: what differs between the image
  // sent (before) and the radio (after), as CompareImages words it over
  // the transferred bytes. Empty when the radio holds what was sent.
  std::optional<std::vector<Difference>> differences;

  // The read or write the user asked for completed.
  bool Transferred() const;
  // Transferred, and verified when a verify was asked for. A backup that
  // could not be saved after the transfer does not count against it.
  bool Succeeded() const;
  // kCompleted when Succeeded; otherwise the last pass's outcome, or
  // kFailed when that pass completed (a verify that found differences, a
  // backup of the radio that could not be saved before a write).
  TransferOutcome Overall() const;
};

// RunTransfer with the safeguards around it, for every program that reads
// or writes a radio (the window, the command line, several radios in turn):
//
//   1. write with backup_first: the radio is read into a copy of `image`
//      (so bytes 0xC50 and above are the image's own) and that copy saved
//      as a "read" backup; if the read does not complete or the backup
//      cannot be saved, nothing is written;
//   2. the transfer itself, as RunTransfer does it with `image`; once it
//      has completed, the image read or sent is saved as a backup before
//      anything else happens; a backup that cannot be saved is recorded,
//      and the transfer has still succeeded;
//   3. write with verify: the radio is read back into a copy of `image`,
//      which is compared with `image` over 0x000-0xC4F. The read-back is
//      part of the write and leaves no backup of its own.
//
// Before a pass after the first the host's bar is set back to 0 and its
// watch flag set, as for a dialog that has just opened. The host's answers
// count across the passes (a Retry used in one is not offered again).
SafeTransferReport RunSafeTransfer(TransferDirection direction, SerialTransport& transport,
                                   const std::string& device, RadioImage& image, TransferHost& host,
                                   const SafeTransferOptions& options);

// What the user is told once a safe transfer has ended, one line each:
//   "394 blocks read" / "394 blocks written" when the transfer completed;
//   "The backup could not be saved: <folder or file>: <reason>" for each
//     backup that could not be;
//   why nothing was written when the backup of the radio could not be made
//     (after the reason above, when its save failed);
//   "Radio verified: 394 blocks match", or "Radio verify failed: ..."
//     followed by the differences, channel by channel (at most
//     `max_differences` of them, then how many more there are), or why the
//     verify could not be done.
// Empty when the transfer itself did not complete: its own messages have
// said why.
std::vector<std::string> SafeTransferSummary(
    const SafeTransferReport& report,
    std::size_t max_differences = std::numeric_limits<std::size_t>::max());

}  // namespace zlm5
