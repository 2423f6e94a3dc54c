// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "files/backup_store.h"
#include "link/link_host.h"
#include "link/safe_transfer.h"
#include "link/serial_transport.h"
#include "link/transfer.h"
#include "model/error.h"
#include "model/radio_image.h"

namespace zlm5 {

// The answers a fleet run gives to every transfer's questions. Nobody can
// answer a dozen message boxes at once, so they are fixed before the start.
struct FleetAnswers {
  // "Communication Error..." is answered Retry this many times per
  // transfer, then Cancel.
  int retries = 0;
  // The radio type question: OK (go on writing) or Cancel.
  bool accept_type_mismatch = false;
};

// One radio of a fleet run.
struct FleetRadio {
  std::string port;    // as the user named it: "COM2", "/dev/ttyUSB0"
  std::string device;  // the device path that is opened
  std::string label;   // the identity list's Name; may be empty
  // A write: what this radio gets (its own identity already in it). A read:
  // the image the radio's bytes 0x000-0xC4F are read into; the bytes from
  // 0xC50 on stay as they are.
  RadioImage image;
};

enum class FleetStage {
  kStarting,    // its thread has not opened the port yet
  kBackingUp,   // reading the radio into a backup before writing it
  kConnecting,  // opening, waking, identifying
  kBlocks,      // the 394 blocks
  kVerifying,   // reading a written radio back
  kEnded,
};

// How a radio of a fleet run ended.
enum class FleetResult {
  kWritten,
  kVerified,  // written, and the read back matches what was sent
  kRead,
  kVerifyFailed,     // written, but the read back differs or failed
  kPartlyWritten,    // the write ended after some blocks: the radio is part new, part old
  kFailed,           // ended by a message (or its backup could not be made);
                     // nothing was written, or nothing read
  kCancelled,        // the run was cancelled before a block was written
  kPortUnavailable,  // the port could not be opened
};

// A message one of the radio's transfers showed, and the answer given.
struct FleetMessage {
  std::string text;
  MessageButtons buttons = MessageButtons::kOk;
  MessageAnswer answer = MessageAnswer::kOk;
};

// What is known about one radio while the run goes on, and at its end.
struct FleetRadioStatus {
  FleetStage stage = FleetStage::kStarting;
  // Blocks of the pass under way (the backup read, the write, the read or
  // the read back).
  int blocks = 0;
  // A write: the most blocks the radio acknowledged in any attempt.
  int blocks_written = 0;
  std::string status;  // the transfer's last phase text ("Waiting the response from radio....")
  std::vector<FleetMessage> messages;  // in order, with the answers given

  // Once stage is kEnded:
  FleetResult result = FleetResult::kFailed;
  // The system's message that ended it (failed, partly written, port
  // unavailable, verify failed); empty for a success and a cancel.
  std::string message;
  // kVerifyFailed after a complete read back: the differences in words.
  std::vector<std::string> differences;
  // kWritten: the read back was cut short by the run's Cancel.
  bool verify_cancelled = false;
  // A read whose image could not be saved (FleetOptions::save_read): it
  // ended kFailed with the save's error as its message.
  bool not_saved = false;
  std::vector<std::string> backups;        // the backups saved, in order
  std::vector<std::string> backup_errors;  // backups that could not be saved, and why
  // SafeTransferSummary's lines, as a single transfer tells them.
  std::vector<std::string> summary;
  std::chrono::milliseconds elapsed{0};
};

struct FleetOptions {
  // Profile and clock of every transfer. The clock is used from every
  // radio's thread at once: the steady clock (the default) is safe for
  // that; a ManualLinkClock is not.
  TransferOptions transfer;
  // Makes the port of radio `index` on that radio's thread (a SerialPort
  // when empty). Called from several threads at once.
  std::function<std::unique_ptr<SerialTransport>(std::size_t index)> make_transport;
  // The safeguards of every transfer (see RunSafeTransfer): where the
  // backups go (none when null; several radios may save at once, which the
  // store's exclusive file names allow), a write that first reads the radio
  // into a backup, and a completed write read back and compared over
  // 0x000-0xC4F.
  BackupStore* backups = nullptr;
  bool backup_first = false;
  bool verify = false;
  // A read: saves radio `index`'s image once it is read in full, on that
  // radio's thread (several at once). A radio whose image cannot be saved
  // ends kFailed, with the error (the file and the reason) as its message.
  // When empty, the images stay in radio(index).image only.
  std::function<Status(std::size_t index, const RadioImage& image)> save_read;
};

// Several transfers at once: one thread per radio, each with its own port,
// link and host. The transfer engine keeps all of its state in its session,
// so the radios share nothing but the cancel flag and this object's status
// table (behind its lock). A failure on one radio never stops the others.
//
// Every transfer keeps all rules of a single one (wake-up, identification,
// the type question, 394 blocks, the messages, and the backups and verify
// of RunSafeTransfer); only its questions are answered from FleetAnswers
// (the retries of a radio count across its passes), and each is recorded
// with its answer.
class FleetRun {
 public:
  // Called on a radio's own thread whenever its status changed (the last
  // time with stage kEnded). Keep it short, and do not call Wait from it.
  using ChangeCallback = std::function<void(std::size_t radio)>;

  FleetRun(TransferDirection direction, std::vector<FleetRadio> radios, FleetAnswers answers,
           FleetOptions options = {});
  // Cancels what still runs and waits for it.
  ~FleetRun();
  FleetRun(const FleetRun&) = delete;
  FleetRun& operator=(const FleetRun&) = delete;

  // Starts every radio's thread and returns. Once only.
  void Start(ChangeCallback on_change = {});
  // From any thread: each transfer ends at its next step, ports closed.
  void Cancel();
  bool CancelRequested() const { return cancel_; }

  // True once every radio has ended (false before Start).
  bool Finished() const;
  // Waits up to `timeout` for the end; true when every radio has ended.
  bool WaitFor(std::chrono::milliseconds timeout);
  // Waits for the end and joins the threads.
  void Wait();

  TransferDirection direction() const { return direction_; }
  std::size_t size() const { return radios_.size(); }
  std::vector<FleetRadioStatus> Snapshot() const;
  FleetRadioStatus Status(std::size_t radio) const;
  // The radio as given; once it has ended, a read's image holds what the
  // radio sent (result kRead). Not to be read while the radio runs.
  const FleetRadio& radio(std::size_t index) const { return radios_[index]; }

 private:
  class RadioHost;

  void RunRadio(std::size_t index);
  // Runs `change` on the radio's status under the lock, then tells the
  // callback.
  void Update(std::size_t index, const std::function<void(FleetRadioStatus&)>& change);
  // `save_error`: why a read's image could not be saved, if it could not.
  void Finish(std::size_t index, const SafeTransferReport& report, const RadioHost& host,
              const std::optional<Error>& save_error, std::chrono::milliseconds elapsed);
  // The result of a radio whose last pass has ended, and what explains it.
  void SetResult(FleetRadioStatus& s, const SafeTransferReport& report, const RadioHost& host,
                 const std::optional<Error>& save_error) const;
  // Ends a radio whose thread met an exception (none is expected).
  void Abandon(std::size_t index, const std::string& what);
  LinkClock& Clock() const;

  const TransferDirection direction_;
  std::vector<FleetRadio> radios_;
  const FleetAnswers answers_;
  const FleetOptions options_;
  ChangeCallback on_change_;

  std::atomic<bool> cancel_{false};
  mutable std::mutex mutex_;
  std::condition_variable ended_;
  std::vector<FleetRadioStatus> status_;
  std::size_t ended_count_ = 0;
  bool started_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace zlm5
