// SPDX-License-Identifier: GPL-3.0-or-later
// The read and write transfer with a radio that answers anything: the
// input's first byte chooses the direction and how often the user answers
// Retry; the rest is every byte the radio sends, in order. Each read of the
// PC takes the bytes it asks for from that stream; once it is used up the
// radio is silent and reads run out of time. Time is virtual, so a silent
// radio costs nothing.
//
// Promises: the transfer ends, with the port closed; a write never changes
// the image; a read changes bytes 0x000-0xC4F only when it completes, and
// never the bytes from 0xC50 on.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "fuzz/fuzz_check.h"
#include "link/link_clock.h"
#include "link/link_host.h"
#include "link/serial_transport.h"
#include "link/transfer.h"
#include "model/radio_image.h"

namespace {

using zlm5::LinkClock;
using zlm5::MessageAnswer;
using zlm5::MessageButtons;

// The radio's side of the cable, from the fuzzer's bytes. Writes are taken
// whole at 9600 baud; purges keep the stream (its bytes arrive later).
class StreamRadioPort : public zlm5::SerialTransport {
 public:
  StreamRadioPort(std::span<const std::uint8_t> stream, zlm5::ManualLinkClock& clock)
      : stream_(stream), clock_(clock) {}

  zlm5::Status Open(const std::string&, const zlm5::TimeoutProfile& profile) override {
    open_ = true;
    profile_ = profile;
    return zlm5::Ok{};
  }
  bool IsOpen() const override { return open_; }
  void Close() override { open_ = false; }
  void SetProfile(const zlm5::TimeoutProfile& profile) override { profile_ = profile; }
  const zlm5::TimeoutProfile& profile() const override { return profile_; }
  zlm5::Status Purge(zlm5::PurgeMask) override { return zlm5::Ok{}; }
  zlm5::Status Drain() override { return zlm5::Ok{}; }
  zlm5::Result<std::size_t> Write(std::span<const std::uint8_t> bytes) override {
    ZLM5_FUZZ_CHECK(open_);
    clock_.Advance(kByteTime * static_cast<long long>(bytes.size()));
    return bytes.size();
  }
  zlm5::Result<std::size_t> Read(std::span<std::uint8_t> buffer) override {
    ZLM5_FUZZ_CHECK(open_);
    const std::size_t count = std::min(buffer.size(), stream_.size() - next_);
    std::copy_n(stream_.begin() + static_cast<std::ptrdiff_t>(next_), count, buffer.begin());
    next_ += count;
    if (wait_callback_ && !wait_callback_()) return count;
    // Short: the read waited out its whole time-out.
    if (count < buffer.size()) {
      clock_.Advance(profile_.ReadTotal(buffer.size()));
    } else {
      clock_.Advance(kByteTime * static_cast<long long>(count));
    }
    return count;
  }
  void SetWaitCallback(WaitCallback callback) override { wait_callback_ = std::move(callback); }

 private:
  static constexpr LinkClock::Duration kByteTime = std::chrono::microseconds(1042);

  std::span<const std::uint8_t> stream_;
  std::size_t next_ = 0;
  zlm5::ManualLinkClock& clock_;
  zlm5::TimeoutProfile profile_;
  WaitCallback wait_callback_;
  bool open_ = false;
};

// A user who answers Retry `retries` times in all, then Cancel, and OK to
// every other question.
class ScriptedUser : public zlm5::TransferHost {
 public:
  explicit ScriptedUser(int retries) : retries_(retries) {}

  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons) override {
    ZLM5_FUZZ_CHECK(!text.empty());
    if (buttons == MessageButtons::kRetryCancel) {
      return retries_-- > 0 ? MessageAnswer::kRetry : MessageAnswer::kCancel;
    }
    return MessageAnswer::kOk;
  }
  void Pump() override {}
  void SetStatusText(const std::string&) override {}
  void SetProgress(int position) override {
    ZLM5_FUZZ_CHECK(position >= 0 && position <= zlm5::transfer_limits::kBlockCount);
  }
  void SetBlocksDone(int done, int total) override {
    ZLM5_FUZZ_CHECK(done >= 1 && done <= total && total == zlm5::transfer_limits::kBlockCount);
  }
  bool CancelRequested() const override { return false; }
  void SetWatch(bool) override {}
  void ShowNote(const std::string& text) override { ZLM5_FUZZ_CHECK(!text.empty()); }

 private:
  int retries_;
};

constexpr std::size_t kFirstUnsentByte = 0xC50;
constexpr int kMaxRetries = 3;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto direction =
      (data[0] & 1) != 0 ? zlm5::TransferDirection::kWrite : zlm5::TransferDirection::kRead;
  const int retries = (data[0] >> 1) % (kMaxRetries + 1);

  zlm5::RadioImage image;
  for (std::size_t i = 0; i < zlm5::image_map::kSize; ++i) {
    image.set(i, static_cast<std::uint8_t>(i * 7 + 3));
  }
  const zlm5::RadioImage before = image;
  zlm5::ManualLinkClock clock;
  StreamRadioPort port(std::span<const std::uint8_t>(data + 1, size - 1), clock);
  ScriptedUser user(retries);
  zlm5::TransferOptions options;
  options.clock = &clock;

  const zlm5::TransferOutcome outcome =
      zlm5::RunTransfer(direction, port, "/dev/fuzz", image, user, options);
  ZLM5_FUZZ_CHECK(!port.IsOpen());
  if (direction == zlm5::TransferDirection::kWrite ||
      outcome != zlm5::TransferOutcome::kCompleted) {
    ZLM5_FUZZ_CHECK(image == before);
  } else {
    ZLM5_FUZZ_CHECK(std::equal(before.bytes().begin() + kFirstUnsentByte, before.bytes().end(),
                               image.bytes().begin() + kFirstUnsentByte));
  }
  return 0;
}
