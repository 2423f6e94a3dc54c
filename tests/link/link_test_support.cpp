// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/link/link_test_support.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "files/channel_document.h"
#include "link/wire_trace.h"
#include "model/channel_codec.h"
#include "model/memory_grid.h"

namespace zlm5::test {
namespace {

void NotePump(LinkClock& clock, std::optional<LinkClock::TimePoint>& last,
              std::chrono::nanoseconds& longest) {
  const auto now = clock.Now();
  if (last) longest = std::max(longest, std::chrono::nanoseconds(now - *last));
  last = now;
}

MessageAnswer Scripted(std::deque<MessageAnswer>& answers, MessageButtons buttons) {
  if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
  if (answers.empty()) return MessageAnswer::kCancel;
  const MessageAnswer a = answers.front();
  answers.pop_front();
  return a;
}

}  // namespace

MessageAnswer RecordingTransferHost::ShowMessage(const std::string& text, MessageButtons buttons) {
  const MessageAnswer answer = Scripted(answers, buttons);
  messages.push_back({text, buttons, answer, watch});
  if (on_message) on_message(messages.back());
  return answer;
}

void RecordingTransferHost::Pump() {
  ++pumps;
  NotePump(clock_, last_pump_, longest_pump_gap);
  if (on_pump) on_pump(pumps);
}

void RecordingTransferHost::ReportPortOpenFailure(const std::string& text, const Error& error,
                                                  const std::string& hint) {
  port_failure_text = text;
  port_failure_error = error;
  port_failure_hint = hint;
}

void RecordingTransferHost::SetProgress(int position) { progress.push_back(position); }

void RecordingTransferHost::SetBlocksDone(int done, int total) {
  blocks.push_back(done);
  block_totals.push_back(total);
  if (on_block) on_block(done);
}

MessageAnswer RecordingTuningHost::ShowMessage(const std::string& text, MessageButtons buttons) {
  const MessageAnswer answer = Scripted(answers, buttons);
  messages.push_back({text, buttons, answer, true});
  return answer;
}

void RecordingTuningHost::Pump() {
  ++pumps;
  NotePump(clock_, last_pump_, longest_pump_gap);
  if (on_pump) on_pump(pumps);
}

void RecordingTuningHost::ReportPortOpenFailure(const std::string& text, const Error& error,
                                                const std::string&) {
  messages.push_back({text, MessageButtons::kOk, MessageAnswer::kOk, true});
  port_failure_error = error;
}

std::vector<std::string> MessageTexts(const std::vector<ShownMessage>& messages) {
  std::vector<std::string> texts;
  for (const ShownMessage& m : messages) texts.push_back(m.text);
  return texts;
}

void VirtualRadioLine::StartRadio(const RadioImage& memory, std::uint8_t type,
                                  sim::VirtualRadioPort::Timing timing) {
  radio = std::make_unique<sim::SimulatedRadio>(memory, faults, type);
  radio->SetFrameSink([this](bool received, std::span<const std::uint8_t> bytes) {
    frames.push_back((received ? "rx " : "tx ") + HexBytes(bytes));
  });
  port = std::make_unique<sim::VirtualRadioPort>(*radio, clock, timing);
}

int VirtualRadioLine::Count(const std::string& frame) const {
  return static_cast<int>(std::count(frames.begin(), frames.end(), frame));
}

int VirtualRadioLine::WriteFrames() const {
  return static_cast<int>(std::count_if(
      frames.begin(), frames.end(), [](const std::string& f) { return f.starts_with("rx 57 "); }));
}

RadioImage TwoChannels() {
  RadioImage image = ChannelDocument::NewDocumentImage();
  MemoryGrid grid;
  ImageToGrid(image, grid);
  CommitCellText(grid, 1, grid_layout::kColReceive, "146.525", CommitPath::LeaveCell);
  CommitCellText(grid, 12, grid_layout::kColReceive, "446.00625", CommitPath::LeaveCell);
  GridToImage(grid, image);
  return image;
}

RadioImage PatternImage(std::uint8_t seed) {
  RadioImage image;
  std::uint32_t x = 0x9E3779B9u ^ seed;
  for (std::size_t i = 0; i < image_map::kSize; ++i) {
    x = x * 1664525u + 1013904223u;
    image.set(i, static_cast<std::uint8_t>(x >> 24));
  }
  return image;
}

TempDir::TempDir() {
  // $TMPDIR on POSIX, %TMP% on Windows; a random name that create_directory
  // claims only when no one else has it.
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate =
        base / ("zlm5-link-" + std::to_string(random() % 1000000000000ULL));
    std::error_code ec;
    if (std::filesystem::create_directory(candidate, ec)) {
      const std::u8string utf8 = candidate.generic_u8string();
      path_.assign(utf8.begin(), utf8.end());
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(std::u8string(path_.begin(), path_.end()), ec);
}

std::string ReadText(const std::string& path) {
  std::ifstream in(std::filesystem::path(std::u8string(path.begin(), path.end())),
                   std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  const std::string text = ReadText(path);
  return {text.begin(), text.end()};
}

void WriteBytes(const std::string& path, const RadioImage& image) {
  std::ofstream out(std::filesystem::path(std::u8string(path.begin(), path.end())),
                    std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(image.bytes().data()),
            static_cast<std::streamsize>(image.bytes().size()));
}

bool FileExists(const std::string& path) {
  return std::filesystem::exists(std::u8string(path.begin(), path.end()));
}

}  // namespace zlm5::test
