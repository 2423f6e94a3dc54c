// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/fleet_run.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "link/link_texts.h"
#include "link/serial_port.h"

namespace zlm5 {
namespace {

constexpr std::string_view kUnexpected = "The transfer stopped after an unexpected error: ";

}  // namespace

// The host of one radio's transfers, on that radio's thread: answers from
// the answers given up front, progress into the run's status table. There
// is no window to keep alive, so Pump does nothing.
class FleetRun::RadioHost : public TransferHost {
 public:
  RadioHost(FleetRun& run, std::size_t index)
      : run_(run), index_(index), retries_left_(run.answers_.retries) {}

  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
    MessageAnswer answer = MessageAnswer::kOk;
    if (buttons == MessageButtons::kRetryCancel) {
      answer = retries_left_ > 0 ? MessageAnswer::kRetry : MessageAnswer::kCancel;
      if (retries_left_ > 0) --retries_left_;
    } else if (buttons == MessageButtons::kOkCancel) {
      answer = run_.answers_.accept_type_mismatch ? MessageAnswer::kOk : MessageAnswer::kCancel;
    }
    // The note that follows a cut-off write is no cause of the end.
    if (text != link_texts::PartlyWritten(blocks_written_, transfer_limits::kBlockCount)) {
      last_cause_ = text;
    }
    run_.Update(index_, [&](FleetRadioStatus& s) {
      s.messages.push_back({text, buttons, answer});
    });
    return answer;
  }

  void Pump() override {}

  void ReportPortOpenFailure(const std::string& text, const Error& error,
                             const std::string& hint) override {
    last_cause_ = MessageWithReason(text, error, hint);
    run_.Update(index_, [&](FleetRadioStatus& s) {
      s.messages.push_back({last_cause_, MessageButtons::kOk, MessageAnswer::kOk});
    });
  }

  void SetStatusText(const std::string& text) override {
    run_.Update(index_, [&](FleetRadioStatus& s) { s.status = text; });
  }

  void SetBlocksDone(int done, int /*total*/) override {
    if (pass_ == TransferPass::kTransfer && run_.direction_ == TransferDirection::kWrite) {
      blocks_written_ = std::max(blocks_written_, done);
    }
    run_.Update(index_, [&](FleetRadioStatus& s) {
      s.stage = pass_ == TransferPass::kTransfer ? FleetStage::kBlocks : PassStage(pass_);
      s.blocks = done;
      s.blocks_written = blocks_written_;
    });
  }

  // Only a restart (after Retry, or a new pass) is taken from the bar: a
  // cut-off write fills it, as the window's dialog closes at once.
  void SetProgress(int position) override {
    if (position != 0) return;
    run_.Update(index_, [](FleetRadioStatus& s) { s.blocks = 0; });
  }

  bool CancelRequested() const override { return run_.cancel_; }
  void SetWatch(bool) override {}
  // A cancelled write's report says "partly written (N of 394 blocks)"
  // from the run's own count.
  void ShowNote(const std::string& /*text*/) override {}

  void BeginPass(TransferPass pass) {
    pass_ = pass;
    last_cause_.clear();
    run_.Update(index_, [pass](FleetRadioStatus& s) {
      s.stage = PassStage(pass);
      s.blocks = 0;
    });
  }

  int blocks_written() const { return blocks_written_; }
  // The message that ended the last pass; "" when none did.
  const std::string& last_cause() const { return last_cause_; }

 private:
  static FleetStage PassStage(TransferPass pass) {
    switch (pass) {
      case TransferPass::kBackupRead:
        return FleetStage::kBackingUp;
      case TransferPass::kTransfer:
        return FleetStage::kConnecting;
      case TransferPass::kVerifyRead:
        return FleetStage::kVerifying;
    }
    return FleetStage::kConnecting;
  }

  FleetRun& run_;
  const std::size_t index_;
  int retries_left_;  // across the passes, as a single transfer counts them
  TransferPass pass_ = TransferPass::kTransfer;
  int blocks_written_ = 0;
  std::string last_cause_;
};

FleetRun::FleetRun(TransferDirection direction, std::vector<FleetRadio> radios,
                   FleetAnswers answers, FleetOptions options)
    : direction_(direction),
      radios_(std::move(radios)),
      answers_(answers),
      options_(std::move(options)),
      status_(radios_.size()) {}

FleetRun::~FleetRun() {
  Cancel();
  Wait();
}

void FleetRun::Start(ChangeCallback on_change) {
  {
    std::lock_guard lock(mutex_);
    if (started_) return;
    started_ = true;
  }
  on_change_ = std::move(on_change);
  threads_.reserve(radios_.size());
  for (std::size_t i = 0; i < radios_.size(); ++i) {
    threads_.emplace_back([this, i] {
      // Nothing may escape a thread: that would end the program.
      try {
        RunRadio(i);
      } catch (const std::exception& e) {
        Abandon(i, e.what());
      } catch (...) {
        Abandon(i, "unknown error");
      }
    });
  }
}

void FleetRun::Cancel() { cancel_ = true; }

bool FleetRun::Finished() const {
  std::lock_guard lock(mutex_);
  return started_ && ended_count_ == radios_.size();
}

bool FleetRun::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return ended_.wait_for(lock, timeout,
                         [this] { return started_ && ended_count_ == radios_.size(); });
}

void FleetRun::Wait() {
  for (std::thread& thread : threads_) {
    if (thread.joinable()) thread.join();
  }
}

std::vector<FleetRadioStatus> FleetRun::Snapshot() const {
  std::lock_guard lock(mutex_);
  return status_;
}

FleetRadioStatus FleetRun::Status(std::size_t radio) const {
  std::lock_guard lock(mutex_);
  return status_.at(radio);
}

LinkClock& FleetRun::Clock() const {
  return options_.transfer.clock ? *options_.transfer.clock : SteadyLinkClock();
}

void FleetRun::Update(std::size_t index, const std::function<void(FleetRadioStatus&)>& change) {
  {
    std::lock_guard lock(mutex_);
    change(status_[index]);
  }
  if (on_change_) on_change_(index);
}

void FleetRun::RunRadio(std::size_t index) {
  const auto start = Clock().Now();
  FleetRadio& radio = radios_[index];
  std::unique_ptr<SerialTransport> transport;
  if (options_.make_transport) {
    transport = options_.make_transport(index);
  } else {
    transport = std::make_unique<SerialPort>();
  }
  RadioHost host(*this, index);
  SafeTransferOptions safe;
  safe.transfer = options_.transfer;
  safe.backups = options_.backups;
  safe.backup_first = options_.backup_first;
  safe.verify = options_.verify;
  safe.on_pass = [&host](TransferPass pass) { host.BeginPass(pass); };
  const SafeTransferReport report =
      RunSafeTransfer(direction_, *transport, radio.device, radio.image, host, safe);
  std::optional<Error> save_error;
  if (direction_ == TransferDirection::kRead && report.Transferred() && options_.save_read) {
    if (zlm5::Status saved = options_.save_read(index, radio.image); !saved) {
      save_error = saved.error();
    }
  }
  Finish(index, report, host, save_error,
         std::chrono::duration_cast<std::chrono::milliseconds>(Clock().Now() - start));
}

void FleetRun::Finish(std::size_t index, const SafeTransferReport& report, const RadioHost& host,
                      const std::optional<Error>& save_error, std::chrono::milliseconds elapsed) {
  {
    std::lock_guard lock(mutex_);
    FleetRadioStatus& s = status_[index];
    s.elapsed = elapsed;
    s.blocks_written = std::max(s.blocks_written, host.blocks_written());
    s.backups = report.backups;
    for (const Error& error : report.backup_errors) s.backup_errors.push_back(error.Message());
    s.summary = SafeTransferSummary(report);
    SetResult(s, report, host, save_error);
    s.stage = FleetStage::kEnded;
    ++ended_count_;
  }
  ended_.notify_all();
  if (on_change_) on_change_(index);
}

void FleetRun::SetResult(FleetRadioStatus& s, const SafeTransferReport& report,
                         const RadioHost& host, const std::optional<Error>& save_error) const {
  const bool write = direction_ == TransferDirection::kWrite;
  // Cancel to the type question ends a transfer as "cancelled" too: here
  // only the run's own cancel is one.
  const bool cancelled = report.outcome == TransferOutcome::kCancelled && cancel_;
  const auto ended_early = [&](bool written_some) {
    if (report.outcome == TransferOutcome::kPortUnavailable) {
      s.result = FleetResult::kPortUnavailable;
      s.message = host.last_cause();
    } else if (cancelled) {
      s.result = written_some ? FleetResult::kPartlyWritten : FleetResult::kCancelled;
    } else {
      s.result = written_some ? FleetResult::kPartlyWritten : FleetResult::kFailed;
      s.message = host.last_cause();
    }
  };
  switch (report.last_pass) {
    case TransferPass::kBackupRead:
      if (report.outcome == TransferOutcome::kCompleted) {
        // Read, but its backup could not be saved: nothing was written.
        s.result = FleetResult::kFailed;
        for (const std::string& line : s.summary) {
          s.message += (s.message.empty() ? "" : "\n\n") + line;
        }
      } else {
        ended_early(false);
      }
      break;
    case TransferPass::kTransfer:
      if (report.outcome == TransferOutcome::kCompleted && save_error) {
        // Read, but what was read is nowhere: the user must read it again.
        s.result = FleetResult::kFailed;
        s.message = save_error->Message();
        s.messages.push_back({s.message, MessageButtons::kOk, MessageAnswer::kOk});
        s.not_saved = true;
      } else if (report.outcome == TransferOutcome::kCompleted) {
        s.result = write ? FleetResult::kWritten : FleetResult::kRead;
      } else {
        ended_early(write && s.blocks_written > 0);
      }
      break;
    case TransferPass::kVerifyRead:
      if (report.Succeeded()) {
        s.result = FleetResult::kVerified;
      } else if (cancelled) {
        // Written in full; only the check was cut short.
        s.result = FleetResult::kWritten;
        s.verify_cancelled = true;
      } else {
        s.result = FleetResult::kVerifyFailed;
        if (report.differences) {
          for (const Difference& d : *report.differences) s.differences.push_back(d.text);
        } else {
          s.message = host.last_cause();
        }
      }
      break;
  }
}

void FleetRun::Abandon(std::size_t index, const std::string& what) {
  {
    std::lock_guard lock(mutex_);
    FleetRadioStatus& s = status_[index];
    if (s.stage == FleetStage::kEnded) return;
    s.result = s.blocks_written > 0 ? FleetResult::kPartlyWritten : FleetResult::kFailed;
    s.message = std::string(kUnexpected) + what;
    s.stage = FleetStage::kEnded;
    ++ended_count_;
  }
  ended_.notify_all();
  if (on_change_) on_change_(index);
}

}  // namespace zlm5
