// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-radio-sim: a Z-LM5 radio on a pseudo-terminal, for trying the
// program and for the tests, with no radio at hand.

#include <sys/prctl.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <chrono>
#include <csignal>
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
#include "link/transfer.h"
#include "link/wire_trace.h"
#include "tools/common/command_line.h"
#include "tools/radio_sim/pty_radio_line.h"
#include "tools/radio_sim/simulated_radio.h"

namespace zlm5::sim {
namespace {

// What the program's exit status says.
namespace exit_code {
inline constexpr int kOk = 0;          // ended by a signal, after --once, or hung up
inline constexpr int kNoTerminal = 1;  // the terminal or its --link path cannot be made
inline constexpr int kUsage = 2;       // malformed command line
inline constexpr int kFileError = 3;   // --memory cannot be read, --log cannot be written
}  // namespace exit_code

constexpr std::string_view kProgramName = "z-lm5-radio-sim";

constexpr std::string_view kUsageHead =
    "Usage: z-lm5-radio-sim [OPTIONS]\n"
    "\n"
    "Stands in for a Z-LM5 radio on a pseudo-terminal. Prints the terminal's\n"
    "device path as the first line of standard output, then answers the\n"
    "programming cable protocol (read, write, power tuning) until it gets\n"
    "SIGINT or SIGTERM, or, with --once, until the first session ends.\n"
    "\n";
constexpr std::string_view kStrictRadio =
    "\n"
    "The radio is strict: a frame out of turn (a block write outside a\n"
    "programming session, a tuning change or leave without a tuning enter, a\n"
    "block outside 000-C4F...) gets no answer and changes nothing; it is\n"
    "reported on standard error and in the --log file as \"refused: WHY\".\n"
    "\n"
    "Faults (STAGE: wakeup, ident, session, block, read-ack, enter,\n"
    "change-wakeup, write-mode, value, leave-wakeup):\n";
// The options' texts start here in the help.
constexpr std::size_t kHelpColumn = 25;

struct Options {
  std::string memory_file;
  std::optional<int> type;
  std::optional<int> low, high;
  std::string save_file, log_file, link_path;
  bool once = false;
  std::optional<int> fault_count;
  PtyRadioLine::Options line;
  RadioFaults faults;
};

// The longest a radio keeps the PC waiting, before or inside a reply: far
// beyond every read time-out, so each of them can be tried.
constexpr long kLongestPauseMs = 10'000;
// How long a replugged adapter is away: udev removes its node and makes
// the new one in about this time.
constexpr auto kReplugGap = std::chrono::milliseconds(300);
constexpr int kBlockCount = transfer_limits::kBlockCount;
constexpr long kLargestByte = 0xFF;
// The identification's type byte of a radio without one: passes any check.
constexpr std::uint8_t kNoRadioType = 0xFF;
// What a faulty radio sends by default: NAK for a wrong, stray or trailing
// byte, acknowledgements for a flood.
constexpr std::uint8_t kDefaultFaultByte = 0x15;
constexpr std::uint8_t kDefaultFloodByte = 0x06;

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
  if (!v || *v < 0 || *v > kLargestByte) return std::nullopt;
  return static_cast<std::uint8_t>(*v);
}

// A number from 0 to `most`.
std::optional<int> ParseUpTo(std::string_view text, long most) {
  auto n = ParseNumber(text, 10);
  if (!n || *n < 0 || *n > most) return std::nullopt;
  return static_cast<int>(*n);
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

// Sets one option from its value; returns the message of a usage error.
using Problem = std::optional<std::string>;
using Setter = Problem (*)(Options& o, std::string_view name, const std::string& value);

std::string Named(std::string_view name, std::string_view text) {
  return std::string(name) + std::string(text);
}

// A file or path option: taken as it is.
template <std::string Options::*kMember>
Problem SetText(Options& o, std::string_view, const std::string& v) {
  o.*kMember = v;
  return std::nullopt;
}

Problem SetType(Options& o, std::string_view, const std::string& v) {
  auto b = ParseByte(v);
  if (!b) return "--type needs a hex byte (00 to FF)";
  o.type = *b;
  return std::nullopt;
}

Problem SetTuningByte(Options& o, std::string_view name, const std::string& v) {
  auto n = ParseUpTo(v, kLargestByte);
  if (!n) return Named(name, " needs a number 0 to 255");
  (name == "--low" ? o.low : o.high) = *n;
  return std::nullopt;
}

Problem SetTurnaround(Options& o, std::string_view, const std::string& v) {
  char* end = nullptr;
  const double ms = std::strtod(v.c_str(), &end);
  if (end == v.c_str() || *end != '\0' || ms < 0 || ms > kLongestPauseMs) {
    return "--turnaround needs milliseconds (0 to 10000)";
  }
  o.line.turnaround = std::chrono::duration_cast<std::chrono::nanoseconds>(
      std::chrono::duration<double, std::milli>(ms));
  return std::nullopt;
}

Problem SetFaultCount(Options& o, std::string_view, const std::string& v) {
  auto n = ParseNumber(v, 10);
  if (!n || *n < 0) return "--fault-count needs a count";
  o.fault_count = static_cast<int>(*n);
  return std::nullopt;
}

// A block count for the faults after K blocks: 0 to 394, or 0 to 393 for
// the replug, which needs a block frame after them.
Problem SetBlockFault(Options& o, std::string_view name, const std::string& v) {
  if (name == "--replug-after-block") {
    auto n = ParseUpTo(v, kBlockCount - 1);
    if (!n) return "--replug-after-block needs a block count 0 to 393";
    o.faults.replug_after_blocks = *n;
    return std::nullopt;
  }
  auto n = ParseUpTo(v, kBlockCount);
  if (!n) return Named(name, " needs a block count 0 to 394");
  (name == "--stop-after-block" ? o.faults.stop_after_blocks : o.faults.hang_up_after_blocks) = *n;
  return std::nullopt;
}

Problem SetDropWrite(Options& o, std::string_view, const std::string& v) {
  auto n = ParseUpTo(v, kBlockCount - 1);
  if (!n) return "--drop-write needs a block 0 to 393";
  o.faults.drop_write_block = *n;
  return std::nullopt;
}

// Applies `set` to the fault of each stage that "STAGE[=VALUE]" names.
template <class Set>
Problem ForStages(Options& o, const std::string& v, Set set) {
  std::vector<Stage> stages;
  std::string value;
  if (!SplitStage(v, stages, value)) return "unknown stage in '" + v + "'";
  for (Stage s : stages) {
    if (Problem problem = set(o.faults.at(s), value)) return problem;
  }
  return std::nullopt;
}

Problem SetStageOnly(Options& o, std::string_view name, const std::string& v) {
  return ForStages(o, v, [name](StageFault& f, const std::string& value) -> Problem {
    if (!value.empty()) return Named(name, " takes a stage only");
    (name == "--silent" ? f.silent : f.hang_up) = true;
    return std::nullopt;
  });
}

Problem SetReplyBytes(Options& o, std::string_view, const std::string& v) {
  return ForStages(o, v, [](StageFault& f, const std::string& value) -> Problem {
    auto n = ParseNumber(value, 10);
    if (!n || *n < 0) return "--reply-bytes needs STAGE=N";
    f.reply_bytes = static_cast<std::size_t>(*n);
    return std::nullopt;
  });
}

Problem SetPause(Options& o, std::string_view, const std::string& v) {
  return ForStages(o, v, [](StageFault& f, const std::string& value) -> Problem {
    auto ms = ParseUpTo(value, kLongestPauseMs);
    if (!ms) return "--pause needs STAGE=MS (0 to 10000)";
    f.pause = std::chrono::milliseconds(*ms);
    return std::nullopt;
  });
}

Problem SetFlood(Options& o, std::string_view, const std::string& v) {
  return ForStages(o, v, [](StageFault& f, const std::string& value) -> Problem {
    auto b = value.empty() ? std::optional<std::uint8_t>(kDefaultFloodByte) : ParseByte(value);
    if (!b) return "--flood needs STAGE or STAGE=HEX";
    f.flood = *b;
    return std::nullopt;
  });
}

// --wrong-byte, --stray-byte, --trailing-byte: STAGE or STAGE=HEX.
Problem SetFaultByte(Options& o, std::string_view name, const std::string& v) {
  return ForStages(o, v, [name](StageFault& f, const std::string& value) -> Problem {
    auto b = value.empty() ? std::optional<std::uint8_t>(kDefaultFaultByte) : ParseByte(value);
    if (!b) return Named(name, " needs STAGE or STAGE=HEX");
    (name == "--wrong-byte"   ? f.wrong_byte
     : name == "--stray-byte" ? f.stray_byte
                              : f.trailing_byte) = *b;
    return std::nullopt;
  });
}

// The rows of the option table: the option, and what it sets.
struct SimOption {
  cmdline::OptionEntry option;
  Setter set = nullptr;  // null for --help and --version
};
using cmdline::OptionKind;
// Every option may be given again; the last value counts, and the faults
// of several stage options add up.
constexpr OptionKind kEach = OptionKind::kRepeated;
constexpr OptionKind kFlag = OptionKind::kFlag;

constexpr std::array<SimOption, 2> kGeneralOptions = {{
    {cmdline::kHelpOption},
    {cmdline::kVersionOption},
}};

constexpr std::array<SimOption, 8> kRadioOptions = {{
    {{"", "--memory", kEach, "FILE",
      "start from this channel data file (default: the\n"
      "image of a new document)"},
     SetText<&Options::memory_file>},
    {{"", "--type", kEach, "HEX",
      "radio type byte of the identification (default FF:\n"
      "no type, which passes any type check)"},
     SetType},
    {{"", "--low", kEach, "N", "power tuning bytes (default: memory bytes FF8, FF9)",
      "--low N, --high N"},
     SetTuningByte},
    {{"", "--high", kEach, "N"}, SetTuningByte},
    {{"", "--save", kEach, "FILE",
      "write the memory to FILE at the end of every session\n"
      "and when the program ends"},
     SetText<&Options::save_file>},
    {{"", "--log", kEach, "FILE",
      "record every frame received (rx) and sent (tx) in hex,\n"
      "one per line after the seconds since start"},
     SetText<&Options::log_file>},
    {{"", "--link", kEach, "PATH",
      "also make PATH a symbolic link to the terminal\n"
      "(it follows the terminal after a replug)"},
     SetText<&Options::link_path>},
    {{"", "--once", kFlag, "", "end after the first session"},
     [](Options& o, std::string_view, const std::string&) -> Problem {
       o.once = true;
       return std::nullopt;
     }},
}};

constexpr std::array<SimOption, 2> kLineOptions = {{
    {{"", "--no-wire-time", kFlag, "", "pass bytes at once instead of at 9600 baud"},
     [](Options& o, std::string_view, const std::string&) -> Problem {
       o.line.wire_time = false;
       return std::nullopt;
     }},
    {{"", "--turnaround", kEach, "MS", "pause before each reply (default 0.5, at most 10000)"},
     SetTurnaround},
}};

constexpr std::array<SimOption, 13> kFaultOptions = {{
    {{"", "--silent", kEach, "STAGE", "never answer the frames of STAGE (\"all\": any stage)"},
     SetStageOnly},
    {{"", "--wrong-byte", kEach, "STAGE[=HEX]",
      "answer HEX (default 15) instead of the first\n"
      "reply byte"},
     SetFaultByte},
    {{"", "--stray-byte", kEach, "STAGE[=HEX]", "send HEX (default 15) before the reply"},
     SetFaultByte},
    {{"", "--reply-bytes", kEach, "STAGE=N", "send only the first N bytes of the reply"},
     SetReplyBytes},
    {{"", "--flood", kEach, "STAGE[=HEX]", "send 64 bytes HEX (default 06) instead of the reply"},
     SetFlood},
    {{"", "--trailing-byte", kEach, "STAGE[=HEX]", "send HEX (default 15) after the reply"},
     SetFaultByte},
    {{"", "--pause", kEach, "STAGE=MS",
      "stop MS milliseconds (at most 10000) after the first\n"
      "half of the reply (before a reply of one byte)"},
     SetPause},
    {{"", "--hang-up", kEach, "STAGE", "close the terminal when a frame of STAGE arrives"},
     SetStageOnly},
    {{"", "--fault-count", kEach, "N",
      "the faults above hit only the first N frames of\n"
      "their stage"},
     SetFaultCount},
    {{"", "--stop-after-block", kEach, "K", "answer K blocks (block 0 to K-1), then no more"},
     SetBlockFault},
    {{"", "--replug-after-block", kEach, "K",
      "answer K blocks; when the next block frame\n"
      "arrives the terminal goes away, as an unplugged\n"
      "adapter does, and a new one comes back at the\n"
      "--link PATH (needed) a moment later; once"},
     SetBlockFault},
    {{"", "--hang-up-after-block", kEach, "K",
      "answer K blocks, then close the terminal when\n"
      "the next block frame arrives"},
     SetBlockFault},
    {{"", "--drop-write", kEach, "K",
      "acknowledge the write of block K (0 to 393; block K\n"
      "holds bytes 8K to 8K+7) but do not store it"},
     SetDropWrite},
}};

// The help lines of one group of the table.
template <std::size_t N>
std::string GroupHelp(const std::array<SimOption, N>& group) {
  std::vector<cmdline::OptionEntry> entries;
  entries.reserve(N);
  for (const SimOption& row : group) entries.push_back(row.option);
  return cmdline::OptionHelp(entries, kHelpColumn);
}

std::string UsageText() {
  return std::string(kUsageHead) + GroupHelp(kGeneralOptions) + "\nRadio:\n" +
         GroupHelp(kRadioOptions) + "\nLine:\n" + GroupHelp(kLineOptions) +
         std::string(kStrictRadio) + GroupHelp(kFaultOptions);
}

// Every option the program reads, in the order of its help.
const std::vector<SimOption>& OptionTable() {
  static const std::vector<SimOption> table = [] {
    std::vector<SimOption> all;
    all.insert(all.end(), kGeneralOptions.begin(), kGeneralOptions.end());
    all.insert(all.end(), kRadioOptions.begin(), kRadioOptions.end());
    all.insert(all.end(), kLineOptions.begin(), kLineOptions.end());
    all.insert(all.end(), kFaultOptions.begin(), kFaultOptions.end());
    return all;
  }();
  return table;
}

int UsageError(const std::string& message) {
  std::cerr << "z-lm5-radio-sim: " << message << "\nRun 'z-lm5-radio-sim --help' for usage.\n";
  return exit_code::kUsage;
}

// The first thing wrong with the command line: what the parser found, or
// a word that is no option (the simulator takes no arguments).
std::optional<cmdline::UsageProblem> FirstProblem(const cmdline::ParsedArgs& parsed) {
  std::optional<cmdline::UsageProblem> problem = parsed.problem;
  if (!parsed.positional.empty()) {
    const std::size_t at = parsed.argument_positions.front();
    if (!problem || at < problem->position) {
      problem = cmdline::UsageProblem{at, "unknown option '" + parsed.positional.front() + "'"};
    }
  }
  return problem;
}

// The options in the order given, each checked as it comes: what stands
// before a mistake is applied (and may be the mistake told), --help and
// --version answer at once. Returns the exit code when the program is to
// end now.
std::optional<int> ParseOptions(int argc, char** argv, Options& o) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::vector<SimOption>& table = OptionTable();
  const cmdline::ParsedArgs parsed = cmdline::Parse(args, std::span<const SimOption>(table));
  const std::optional<cmdline::UsageProblem> problem = FirstProblem(parsed);
  for (const cmdline::OptionUse& use : parsed.uses) {
    if (problem && use.position > problem->position) break;
    const SimOption& row = table[use.row];
    if (row.option.long_name == cmdline::kHelpOption.long_name) {
      std::cout << UsageText();
      return exit_code::kOk;
    }
    if (row.option.long_name == cmdline::kVersionOption.long_name) {
      std::cout << cmdline::VersionText(kProgramName);
      return exit_code::kOk;
    }
    if (Problem wrong = row.set(o, row.option.long_name, use.value)) return UsageError(*wrong);
  }
  if (problem) return UsageError(problem->message);
  if (o.fault_count) {
    for (StageFault& f : o.faults.stages) f.count = *o.fault_count;
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

// Makes the --link path for the first terminal. Only a symbolic link (left
// by an earlier run) is replaced: a mistyped --link must never delete a
// file of the user's.
bool TakeLinkPath(const std::string& link, const std::string& terminal) {
  if (link.empty()) return true;
  std::error_code ec;
  const auto status = std::filesystem::symlink_status(link, ec);
  if (std::filesystem::exists(status) && !std::filesystem::is_symlink(status)) {
    std::cerr << "z-lm5-radio-sim: " << link
              << ": exists and is not a symbolic link; not replaced\n";
    return false;
  }
  return PointLink(link, terminal);
}

// The memory the radio starts with: --memory or a new document, with the
// tuning bytes of --low and --high. Null after the message.
std::optional<RadioImage> StartingMemory(const Options& options) {
  RadioImage memory = ChannelDocument::NewDocumentImage();
  if (!options.memory_file.empty()) {
    auto loaded = LoadChannelDataFile(options.memory_file);
    if (!loaded) {
      std::cerr << "z-lm5-radio-sim: " << loaded.error().Message() << '\n';
      return std::nullopt;
    }
    memory = *loaded;
  }
  if (options.low) memory.set(image_map::kLowPowerTuning, static_cast<std::uint8_t>(*options.low));
  if (options.high) {
    memory.set(image_map::kHighPowerTuning, static_cast<std::uint8_t>(*options.high));
  }
  return memory;
}

// SIGINT and SIGTERM only interrupt the line's wait; they end the program
// after the current byte, with the memory saved.
void StopOnSignals() {
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
}

// The radio on its terminal, from the first terminal to the end.
class Simulator {
 public:
  Simulator(const Options& options, const RadioImage& memory, std::ofstream log)
      : options_(options),
        radio_(memory, options.faults,
               static_cast<std::uint8_t>(options.type.value_or(kNoRadioType))),
        log_(std::move(log)) {
    if (log_.is_open()) {
      radio_.SetFrameSink([this](bool received, std::span<const std::uint8_t> bytes) {
        Log((received ? "rx " : "tx ") + HexBytes(bytes));
      });
    }
  }

  // Makes the terminal (and its --link); false after the message.
  bool Plug() {
    if (Status created = line_.Create(); !created) {
      std::cerr << "z-lm5-radio-sim: " << created.error().Message() << '\n';
      return false;
    }
    return TakeLinkPath(options_.link_path, line_.terminal_path());
  }

  // Answers the PC until the end; returns the exit code.
  int Serve() {
    std::cout << line_.terminal_path() << std::endl;
    const PtyRadioLine::Hooks hooks = Hooks();
    PtyRadioLine::End end;
    while ((end = line_.Run(radio_, options_.line, hooks, options_.once, g_stop)) ==
           PtyRadioLine::End::kUnplugged) {
      if (!Replug()) {
        Save();
        return exit_code::kNoTerminal;
      }
    }
    Save();
    if (!options_.link_path.empty()) RemoveLink(options_.link_path, line_.terminal_path());
    if (end == PtyRadioLine::End::kHangUp) std::cerr << "z-lm5-radio-sim: hung up\n";
    return exit_code::kOk;
  }

 private:
  // "<seconds> <text>", as every line of the --log file.
  void Log(const std::string& text) {
    if (!log_.is_open()) return;
    const double t =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%.6f", t);
    log_ << stamp << ' ' << text << std::endl;
  }

  void Save() const {
    if (options_.save_file.empty()) return;
    Status saved = SaveChannelDataFile(options_.save_file, radio_.memory());
    if (!saved) std::cerr << "z-lm5-radio-sim: " << saved.error().Message() << '\n';
  }

  PtyRadioLine::Hooks Hooks() {
    PtyRadioLine::Hooks hooks;
    // A refused frame is a fault of the PC's side: said where the user and
    // the log reader look.
    hooks.reacted = [this](const RadioReaction& reaction) {
      if (reaction.refused.empty()) return;
      std::cerr << "z-lm5-radio-sim: refused: " << reaction.refused << std::endl;
      Log("refused: " + reaction.refused);
    };
    // Saved at the end of a session and after a tuning value write (which
    // may never see its leave exchange), not after every block.
    hooks.answered = [this](const RadioReaction& reaction) {
      if (reaction.session_ended || (reaction.memory_changed && radio_.tuning())) Save();
    };
    return hooks;
  }

  // As with a USB adapter: the device node goes, and a new one comes.
  // False when the new one cannot be made.
  bool Replug() {
    const std::string old_terminal = line_.terminal_path();
    RemoveLink(options_.link_path, old_terminal);
    std::cerr << "z-lm5-radio-sim: unplugged " << old_terminal << std::endl;
    Log("unplugged");
    std::this_thread::sleep_for(kReplugGap);
    if (Status created = line_.Create(); !created) {
      std::cerr << "z-lm5-radio-sim: " << created.error().Message() << '\n';
      return false;
    }
    if (!PointLink(options_.link_path, line_.terminal_path())) return false;
    std::cerr << "z-lm5-radio-sim: plugged in again at " << line_.terminal_path() << std::endl;
    Log("plugged in " + line_.terminal_path());
    return true;
  }

  const Options& options_;
  SimulatedRadio radio_;
  std::ofstream log_;
  const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  PtyRadioLine line_;
};

int Main(int argc, char** argv) {
  Options options;
  if (auto code = ParseOptions(argc, argv, options)) return *code;
  const std::optional<RadioImage> memory = StartingMemory(options);
  if (!memory) return exit_code::kFileError;
  std::ofstream log;
  if (!options.log_file.empty()) {
    log.open(options.log_file, std::ios::trunc);
    if (!log) {
      std::cerr << "z-lm5-radio-sim: " << options.log_file << ": cannot be written\n";
      return exit_code::kFileError;
    }
  }
  StopOnSignals();
  Simulator simulator(options, *memory, std::move(log));
  if (!simulator.Plug()) return exit_code::kNoTerminal;
  return simulator.Serve();
}

}  // namespace
}  // namespace zlm5::sim

int main(int argc, char** argv) { return zlm5::sim::Main(argc, argv); }
