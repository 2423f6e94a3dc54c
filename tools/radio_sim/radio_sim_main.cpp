// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-radio-sim: a Z-LM5 radio on a pseudo-terminal, for trying the
// program and for the tests, with no radio at hand.

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "files/channel_document.h"
#include "link/wire_trace.h"
#include "tools/radio_sim/pty_radio_line.h"
#include "tools/radio_sim/simulated_radio.h"
#include "zlm5_version.h"

namespace zlm5::sim {
namespace {

constexpr const char* kUsage =
    "Usage: z-lm5-radio-sim [OPTIONS]\n"
    "\n"
    "Stands in for a Z-LM5 radio on a pseudo-terminal. Prints the terminal's\n"
    "device path as the first line of standard output, then answers the\n"
    "programming cable protocol (read, write, power tuning) until it gets\n"
    "SIGINT or SIGTERM, or, with --once, until the first session ends.\n"
    "\n"
    "  -h, --help             show this help\n"
    "  --version              show the version\n"
    "\n"
    "Radio:\n"
    "  --memory FILE          start from this channel data file (default: the\n"
    "                         image of a new document)\n"
    "  --type HEX             radio type byte of the identification (default FF:\n"
    "                         no type, which passes any type check)\n"
    "  --low N, --high N      power tuning bytes (default: memory bytes FF8, FF9)\n"
    "  --save FILE            write the memory to FILE at the end of every session\n"
    "                         and when the program ends\n"
    "  --log FILE             record every frame received (rx) and sent (tx) in hex,\n"
    "                         one per line after the seconds since start\n"
    "  --link PATH            also make PATH a symbolic link to the terminal\n"
    "                         (it follows the terminal after a replug)\n"
    "  --once                 end after the first session\n"
    "\n"
    "Line:\n"
    "  --no-wire-time         pass bytes at once instead of at 9600 baud\n"
    "  --turnaround MS        pause before each reply (default 0.5, at most 10000)\n"
    "\n"
    "The radio is strict: a frame out of turn (a block write outside a\n"
    "programming session, a tuning change or leave without a tuning enter, a\n"
    "block outside 000-C4F...) gets no answer and changes nothing; it is\n"
    "reported on standard error and in the --log file as \"refused: WHY\".\n"
    "\n"
    "Faults (STAGE: wakeup, ident, session, block, read-ack, enter,\n"
    "change-wakeup, write-mode, value, leave-wakeup):\n"
    "  --silent STAGE         never answer the frames of STAGE (\"all\": any stage)\n"
    "  --wrong-byte STAGE[=HEX]  answer HEX (default 15) instead of the first\n"
    "                         reply byte\n"
    "  --stray-byte STAGE[=HEX]  send HEX (default 15) before the reply\n"
    "  --reply-bytes STAGE=N  send only the first N bytes of the reply\n"
    "  --flood STAGE[=HEX]    send 64 bytes HEX (default 06) instead of the reply\n"
    "  --trailing-byte STAGE[=HEX]  send HEX (default 15) after the reply\n"
    "  --pause STAGE=MS       stop MS milliseconds (at most 10000) after the first\n"
    "                         half of the reply (before a reply of one byte)\n"
    "  --hang-up STAGE        close the terminal when a frame of STAGE arrives\n"
    "  --fault-count N        the faults above hit only the first N frames of\n"
    "                         their stage\n"
    "  --stop-after-block K   answer K blocks (block 0 to K-1), then no more\n"
    "  --replug-after-block K  answer K blocks; when the next block frame\n"
    "                         arrives the terminal goes away, as an unplugged\n"
    "                         adapter does, and a new one comes back at the\n"
    "                         --link PATH (needed) a moment later; once\n"
    "  --hang-up-after-block K  answer K blocks, then close the terminal when\n"
    "                         the next block frame arrives\n"
    "  --drop-write K         acknowledge the write of block K (0 to 393; block K\n"
    "                         holds bytes 8K to 8K+7) but do not store it\n";

struct Options {
  std::string memory_file;
  std::optional<int> type;
  std::optional<int> low, high;
  std::string save_file, log_file, link_path;
  bool once = false;
  PtyRadioLine::Options line;
  RadioFaults faults;
};

// The longest a radio keeps the PC waiting, before or inside a reply: far
// beyond every read time-out, so each of them can be tried.
constexpr long kLongestPauseMs = 10'000;
// How long a replugged adapter is away: udev removes its node and makes
// the new one in about this time.
constexpr auto kReplugGap = std::chrono::milliseconds(300);

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

std::optional<long> ParseNumber(std::string_view text, int base) {
  long value = 0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::uint8_t> ParseByte(std::string_view text) {
  auto v = ParseNumber(text, 16);
  if (!v || *v < 0 || *v > 0xFF) return std::nullopt;
  return static_cast<std::uint8_t>(*v);
}

// "STAGE" or "STAGE=VALUE"; "all" selects every stage.
bool SplitStage(const std::string& arg, std::vector<Stage>& stages, std::string& value) {
  const auto eq = arg.find('=');
  const std::string name = arg.substr(0, eq);
  value = eq == std::string::npos ? "" : arg.substr(eq + 1);
  if (name == "all") {
    for (std::size_t i = 0; i < kStageCount; ++i) stages.push_back(static_cast<Stage>(i));
    return true;
  }
  auto stage = ParseStage(name);
  if (!stage) return false;
  stages.push_back(*stage);
  return true;
}

int UsageError(const std::string& message) {
  std::cerr << "z-lm5-radio-sim: " << message << "\nRun 'z-lm5-radio-sim --help' for usage.\n";
  return 2;
}

std::optional<int> ParseOptions(int argc, char** argv, Options& o) {
  std::optional<int> fault_count;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string(argv[++i]);
    };
    if (arg == "-h" || arg == "--help") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--version") {
      std::cout << "z-lm5-radio-sim " << kProgramVersion << '\n';
      return 0;
    }
    if (arg == "--once") { o.once = true; continue; }
    if (arg == "--no-wire-time") { o.line.wire_time = false; continue; }
    static constexpr std::string_view kValueOptions[] = {
        "--memory", "--save", "--log", "--link", "--type", "--low", "--high", "--turnaround",
        "--fault-count", "--stop-after-block", "--hang-up-after-block", "--drop-write", "--silent",
        "--wrong-byte", "--stray-byte", "--reply-bytes", "--flood", "--hang-up",
        "--trailing-byte", "--pause", "--replug-after-block"};
    if (std::find(std::begin(kValueOptions), std::end(kValueOptions), arg) ==
        std::end(kValueOptions)) {
      return UsageError("unknown option '" + arg + "'");
    }
    auto v = value();
    if (!v) return UsageError("option '" + arg + "' needs a value");
    if (arg == "--memory") { o.memory_file = *v; continue; }
    if (arg == "--save") { o.save_file = *v; continue; }
    if (arg == "--log") { o.log_file = *v; continue; }
    if (arg == "--link") { o.link_path = *v; continue; }
    if (arg == "--type") {
      auto b = ParseByte(*v);
      if (!b) return UsageError("--type needs a hex byte (00 to FF)");
      o.type = *b;
      continue;
    }
    if (arg == "--low" || arg == "--high") {
      auto n = ParseNumber(*v, 10);
      if (!n || *n < 0 || *n > 255) return UsageError(arg + " needs a number 0 to 255");
      (arg == "--low" ? o.low : o.high) = static_cast<int>(*n);
      continue;
    }
    if (arg == "--turnaround") {
      char* end = nullptr;
      const double ms = std::strtod(v->c_str(), &end);
      if (end == v->c_str() || *end != '\0' || ms < 0 || ms > kLongestPauseMs) {
        return UsageError("--turnaround needs milliseconds (0 to 10000)");
      }
      o.line.turnaround = std::chrono::nanoseconds(static_cast<long long>(ms * 1e6));
      continue;
    }
    if (arg == "--fault-count") {
      auto n = ParseNumber(*v, 10);
      if (!n || *n < 0) return UsageError("--fault-count needs a count");
      fault_count = static_cast<int>(*n);
      continue;
    }
    if (arg == "--replug-after-block") {
      auto n = ParseNumber(*v, 10);
      if (!n || *n < 0 || *n > 393) {
        return UsageError("--replug-after-block needs a block count 0 to 393");
      }
      o.faults.replug_after_blocks = static_cast<int>(*n);
      continue;
    }
    if (arg == "--stop-after-block" || arg == "--hang-up-after-block") {
      auto n = ParseNumber(*v, 10);
      if (!n || *n < 0 || *n > 394) return UsageError(arg + " needs a block count 0 to 394");
      (arg == "--stop-after-block" ? o.faults.stop_after_blocks : o.faults.hang_up_after_blocks) =
          static_cast<int>(*n);
      continue;
    }
    if (arg == "--drop-write") {
      auto n = ParseNumber(*v, 10);
      if (!n || *n < 0 || *n > 393) return UsageError("--drop-write needs a block 0 to 393");
      o.faults.drop_write_block = static_cast<int>(*n);
      continue;
    }
    std::vector<Stage> stages;
    std::string stage_value;
    const bool stage_option = arg == "--silent" || arg == "--wrong-byte" || arg == "--stray-byte" ||
                              arg == "--reply-bytes" || arg == "--flood" || arg == "--hang-up" ||
                              arg == "--trailing-byte" || arg == "--pause";
    if (!stage_option) return UsageError("unknown option '" + arg + "'");
    if (!SplitStage(*v, stages, stage_value)) return UsageError("unknown stage in '" + *v + "'");
    for (Stage s : stages) {
      StageFault& f = o.faults.at(s);
      if (arg == "--silent" || arg == "--hang-up") {
        if (!stage_value.empty()) return UsageError(arg + " takes a stage only");
        (arg == "--silent" ? f.silent : f.hang_up) = true;
      } else if (arg == "--reply-bytes") {
        auto n = ParseNumber(stage_value, 10);
        if (!n || *n < 0) return UsageError("--reply-bytes needs STAGE=N");
        f.reply_bytes = static_cast<std::size_t>(*n);
      } else if (arg == "--pause") {
        auto ms = ParseNumber(stage_value, 10);
        if (!ms || *ms < 0 || *ms > kLongestPauseMs) {
          return UsageError("--pause needs STAGE=MS (0 to 10000)");
        }
        f.pause = std::chrono::milliseconds(*ms);
      } else if (arg == "--flood") {
        auto b = stage_value.empty() ? std::optional<std::uint8_t>(0x06) : ParseByte(stage_value);
        if (!b) return UsageError("--flood needs STAGE or STAGE=HEX");
        f.flood = *b;
      } else {
        auto b = stage_value.empty() ? std::optional<std::uint8_t>(0x15) : ParseByte(stage_value);
        if (!b) return UsageError(arg + " needs STAGE or STAGE=HEX");
        if (arg == "--wrong-byte") {
          f.wrong_byte = *b;
        } else if (arg == "--stray-byte") {
          f.stray_byte = *b;
        } else {
          f.trailing_byte = *b;
        }
      }
    }
  }
  if (fault_count) {
    for (StageFault& f : o.faults.stages) f.count = *fault_count;
  }
  if (o.faults.replug_after_blocks && o.link_path.empty()) {
    return UsageError("--replug-after-block needs --link PATH: the port comes back there");
  }
  return std::nullopt;
}

// Points the --link path at the terminal; false (and said) when it cannot.
bool PointLink(const std::string& link, const std::string& terminal) {
  std::error_code ec;
  std::filesystem::remove(link, ec);
  std::filesystem::create_symlink(terminal, link, ec);
  if (ec) std::cerr << "z-lm5-radio-sim: " << link << ": " << ec.message() << '\n';
  return !ec;
}

// Removes the --link path while it still leads to `terminal` (another
// simulator may have taken it over meanwhile).
void RemoveLink(const std::string& link, const std::string& terminal) {
  std::error_code ec;
  if (std::filesystem::read_symlink(link, ec) == terminal) std::filesystem::remove(link, ec);
}

void Save(const std::string& path, const RadioImage& memory) {
  if (path.empty()) return;
  Status saved = SaveChannelDataFile(path, memory);
  if (!saved) std::cerr << "z-lm5-radio-sim: " << saved.error().Message() << '\n';
}

int Main(int argc, char** argv) {
  Options options;
  if (auto code = ParseOptions(argc, argv, options)) return *code;

  RadioImage memory = ChannelDocument::NewDocumentImage();
  if (!options.memory_file.empty()) {
    auto loaded = LoadChannelDataFile(options.memory_file);
    if (!loaded) {
      std::cerr << "z-lm5-radio-sim: " << loaded.error().Message() << '\n';
      return 3;
    }
    memory = *loaded;
  }
  if (options.low) memory.set(image_map::kLowPowerTuning, static_cast<std::uint8_t>(*options.low));
  if (options.high) memory.set(image_map::kHighPowerTuning, static_cast<std::uint8_t>(*options.high));

  std::ofstream log;
  if (!options.log_file.empty()) {
    log.open(options.log_file, std::ios::trunc);
    if (!log) {
      std::cerr << "z-lm5-radio-sim: " << options.log_file << ": cannot be written\n";
      return 3;
    }
  }

  // SIGINT and SIGTERM only interrupt the line's wait; they end the program
  // after the current byte, with the memory saved.
  sigset_t block;
  sigemptyset(&block);
  sigaddset(&block, SIGINT);
  sigaddset(&block, SIGTERM);
  sigprocmask(SIG_BLOCK, &block, nullptr);
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  // Wake up on time: the wire timing is made of sub-millisecond sleeps.
  prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);

  PtyRadioLine line;
  if (Status created = line.Create(); !created) {
    std::cerr << "z-lm5-radio-sim: " << created.error().Message() << '\n';
    return 1;
  }
  if (!options.link_path.empty()) {
    // Only a symbolic link (left by an earlier run) is replaced: a mistyped
    // --link must never delete a file of the user's.
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(options.link_path, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_symlink(status)) {
      std::cerr << "z-lm5-radio-sim: " << options.link_path
                << ": exists and is not a symbolic link; not replaced\n";
      return 1;
    }
    if (!PointLink(options.link_path, line.terminal_path())) return 1;
  }

  SimulatedRadio radio(memory, options.faults, static_cast<std::uint8_t>(options.type.value_or(0xFF)));
  const auto start = std::chrono::steady_clock::now();
  // "<seconds> <text>", as every line of the --log file.
  auto log_line = [&](const std::string& text) {
    if (!log.is_open()) return;
    const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%.6f", t);
    log << stamp << ' ' << text << std::endl;
  };
  if (log.is_open()) {
    radio.SetFrameSink([&](bool received, std::span<const std::uint8_t> bytes) {
      log_line((received ? "rx " : "tx ") + HexBytes(bytes));
    });
  }

  std::cout << line.terminal_path() << std::endl;

  PtyRadioLine::Hooks hooks;
  // A refused frame is a fault of the PC's side: said where the user and
  // the log reader look.
  hooks.reacted = [&](const RadioReaction& reaction) {
    if (reaction.refused.empty()) return;
    std::cerr << "z-lm5-radio-sim: refused: " << reaction.refused << std::endl;
    log_line("refused: " + reaction.refused);
  };
  // Saved at the end of a session and after a tuning value write (which
  // may never see its leave exchange), not after every block.
  hooks.answered = [&](const RadioReaction& reaction) {
    if (reaction.session_ended || (reaction.memory_changed && radio.tuning())) {
      Save(options.save_file, radio.memory());
    }
  };
  PtyRadioLine::End end;
  while ((end = line.Run(radio, options.line, hooks, options.once, g_stop)) ==
         PtyRadioLine::End::kUnplugged) {
    // As with a USB adapter: the device node goes, and a new one comes.
    const std::string old_terminal = line.terminal_path();
    RemoveLink(options.link_path, old_terminal);
    std::cerr << "z-lm5-radio-sim: unplugged " << old_terminal << std::endl;
    log_line("unplugged");
    std::this_thread::sleep_for(kReplugGap);
    if (Status created = line.Create(); !created) {
      std::cerr << "z-lm5-radio-sim: " << created.error().Message() << '\n';
      Save(options.save_file, radio.memory());
      return 1;
    }
    if (!PointLink(options.link_path, line.terminal_path())) {
      Save(options.save_file, radio.memory());
      return 1;
    }
    std::cerr << "z-lm5-radio-sim: plugged in again at " << line.terminal_path() << std::endl;
    log_line("plugged in " + line.terminal_path());
  }
  Save(options.save_file, radio.memory());
  if (!options.link_path.empty()) RemoveLink(options.link_path, line.terminal_path());
  if (end == PtyRadioLine::End::kHangUp) std::cerr << "z-lm5-radio-sim: hung up\n";
  return 0;
}

}  // namespace
}  // namespace zlm5::sim

int main(int argc, char** argv) { return zlm5::sim::Main(argc, argv); }
