// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli fleet: writes one channel data file to several radios at once,
// each with its own identity, or reads several radios into files.

#include <algorithm>
#include <array>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

#include "cli_platform_help.h"
#include "files/backup_store.h"
#include "files/channel_document.h"
#include "files/file_reading.h"
#include "files/file_saving.h"
#include "files/utf8_path.h"
#include "link/fleet_plan.h"
#include "link/fleet_report.h"
#include "link/fleet_run.h"
#include "link/serial_devices.h"
#include "model/channel_codec.h"
#include "model/identity_list.h"
#include "model/memory_grid.h"
#include "model/text_util.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/cli_console.h"
#include "tools/cli/cli_link_host.h"

namespace zlm5::cli {
namespace {

using namespace std::chrono_literals;

// Both modes' options, as --help lists them; --port comes first.
constexpr std::array<CliOption, 11> kOptions = {{
    {"-p", "--port", OptionKind::kRepeated, "PORT", platform_help::kFleetPort},
    {"", "--ids", OptionKind::kValue, "IDS.csv", "the identity list"},
    {"", "--strict", OptionKind::kFlag, "",
     "refuse to start when the identity list and\n"
     "the ports do not match one to one"},
    {"", "--retries", OptionKind::kValue, "N",
     "answer Retry to the first N communication\n"
     "errors of each radio, then Cancel (default 0)"},
    {"", "--accept-type-mismatch", OptionKind::kFlag, "",
     "answer OK when a radio's type differs from\n"
     "the file's (default Cancel)"},
    {"", "--verify", OptionKind::kFlag, "", "read each written radio back and compare"},
    {"", "--backup-first", OptionKind::kFlag, "",
     "read each radio into a backup before writing\n"
     "it; a radio whose read fails is not written"},
    {"", "--no-backup", OptionKind::kFlag, "", "keep no backups (not with --backup-first)"},
    {"", "--raw", OptionKind::kFlag, "", "send the bytes of FILE unchanged"},
    {"", "--out-dir", OptionKind::kValue, "DIR", "where a read saves its files (made if missing)"},
    {"", "--report", OptionKind::kValue, "REPORT.json", "also write the end table as JSON"},
}};
// The ports are taken before the mode is known: they may stand before it.
const std::span<const CliOption> kPortOption = std::span(kOptions).first(1);
// What only a write takes; 'fleet read' knows no such option.
constexpr std::array<std::string_view, 5> kWriteOnlyFlags = {"--strict", "--accept-type-mismatch",
                                                             "--verify", "--backup-first", "--raw"};

// The options of 'fleet read'.
std::vector<CliOption> ReadOptions() {
  std::vector<CliOption> options;
  for (const CliOption& option : kOptions) {
    if (std::find(kWriteOnlyFlags.begin(), kWriteOnlyFlags.end(), option.long_name) ==
        kWriteOnlyFlags.end()) {
      options.push_back(option);
    }
  }
  return options;
}

constexpr auto kRefresh = 100ms;  // progress lines are redrawn at most this often
constexpr int kBarWidth = 20;
constexpr int kPlainStep = 40;  // plain progress lines every this many blocks
constexpr int kDefaultColumns = 80;
// From here on a character takes two columns of a terminal (CJK, the
// full-width forms such as the messages' comma); near enough for cutting.
constexpr std::uint32_t kFirstWideCharacter = 0x2E80;

int RunFleet(const std::vector<std::string>& args);

// The help up to the options; how fleet read names its files depends on
// the platform's port names.
const std::string kFleetUsage =
    std::string(
        "Usage: z-lm5-cli fleet write FILE --port PORT --port PORT ... [--ids IDS.csv]\n"
        "                       [--retries N] [--accept-type-mismatch] [--verify]\n"
        "                       [--backup-first] [--no-backup] [--strict] [--raw]\n"
        "                       [--report REPORT.json]\n"
        "       z-lm5-cli fleet read --port PORT --port PORT ... --out-dir DIR\n"
        "                       [--retries N] [--no-backup] [--report REPORT.json]\n"
        "\n"
        "write: writes FILE to the radio on every PORT at the same time, one\n"
        "programming cable each, as 'z-lm5-cli write' writes one radio. With\n"
        "--ids, each radio first gets its own Radio ID, Call ID and ANI code from\n"
        "the identity list, stored as the Optional Features dialog stores them.\n"
        "read: reads the radio on every PORT into a file of its own in DIR, named\n") +
    std::string(platform_help::kFleetReadNames) +
    "Each radio's transfer keeps a backup as 'write' and 'read' do (see\n"
    "z-lm5-cli backups).\n"
    "\n"
    "The identity list is a CSV file whose header names the columns:\n"
    "  Port or Order   which radio a row is for: a port as given with --port,\n"
    "                  or its position 1, 2, ... among the --port options\n"
    "  RadioId         at most 8 letters and digits\n"
    "  CallId          at most 8 characters\n"
    "  Ani             at most 4 digits (a 4-digit code starting with 2 to 9\n"
    "                  is stored starting with 1, as the radio takes it)\n"
    "  Name            a label for the report\n"
    "An empty cell keeps the file's code. Rows naming no given port, and\n"
    "ports without a row, are listed before anything is written.\n"
    "\n"
    "Options:\n";

const CliCommand kFleet = {
    .name = "fleet",
    .summary = "write a file to several radios at once, or read several radios",
    .usage = kFleetUsage,
    .order = 43,
    .run = RunFleet,
    .options = kOptions,
    .usage_end =
        "\n"
        "Progress goes to standard error, one line per radio; the end table\n"
        "(port, label, result, identity or file, time) to standard output.\n"
        "Ctrl+C cancels every radio. Exit codes: 0 every radio succeeded, 1 a\n"
        "radio failed or the run was cancelled, 2 usage error or a rejected\n"
        "identity list (nothing written), 3 a file cannot be read or written,\n"
        "4 a port cannot be opened (the other radios still run).\n",
};

// The code point of the UTF-8 character of `length` bytes at `pos`: the
// lead byte's low bits (as many as its length leaves), then six bits from
// each continuation byte.
std::uint32_t CodePoint(const std::string& line, std::size_t pos, std::size_t length) {
  constexpr int kContinuationBits = 6;
  constexpr std::uint32_t kContinuationMask = (1u << kContinuationBits) - 1;
  constexpr std::uint32_t kByteMask = 0xFFu;
  std::uint32_t code = static_cast<unsigned char>(line[pos]);
  if (length == 1) return code;
  code &= kByteMask >> (length + 1);
  for (std::size_t i = 1; i < length; ++i) {
    code = (code << kContinuationBits) |
           (static_cast<unsigned char>(line[pos + i]) & kContinuationMask);
  }
  return code;
}

// `line` cut to fit `columns` terminal columns: a line that wraps would
// throw the redrawing off by a row.
std::string FitColumns(const std::string& line, int columns) {
  constexpr int kWideColumns = 2;
  int used = 0;
  for (std::size_t pos = 0; pos < line.size();) {
    const std::size_t length = Utf8CharLength(line, pos);
    used += CodePoint(line, pos, length) >= kFirstWideCharacter ? kWideColumns : 1;
    if (used > columns) return line.substr(0, pos);
    pos += length;
  }
  return line;
}

// Shows the run on standard error while it goes on: on a terminal one line
// per radio, redrawn in place; otherwise a plain line for each event.
class FleetProgress {
 public:
  FleetProgress(const FleetRun& run, bool terminal)
      : run_(run), terminal_(terminal), shown_(run.size()) {}

  void Show() {
    const std::vector<FleetRadioStatus> now = run_.Snapshot();
    if (terminal_) {
      Redraw(now);
    } else {
      for (std::size_t i = 0; i < now.size(); ++i) PrintEvents(i, now[i]);
    }
    shown_ = now;
  }

 private:
  std::string Port(std::size_t i) const { return run_.radio(i).port; }

  std::string StateText(const FleetRadioStatus& s) const {
    const bool reading = run_.direction() == TransferDirection::kRead;
    switch (s.stage) {
      case FleetStage::kStarting:
        return "starting";
      case FleetStage::kBackingUp:
        return "reading into a backup";
      case FleetStage::kConnecting:
        if (!s.messages.empty() && s.messages.back().answer == MessageAnswer::kRetry) {
          return OneLineMessage(s.messages.back().text) + " -> Retry";
        }
        return s.status;
      case FleetStage::kBlocks:
        return reading ? "reading" : "writing";
      case FleetStage::kVerifying:
        return "verifying";
      case FleetStage::kEnded:
        return FleetResultText(s);
    }
    return {};
  }

  void Redraw(const std::vector<FleetRadioStatus>& now) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < now.size(); ++i) width = std::max(width, Port(i).size());
    // The last column is left free: some terminals wrap a full line.
    const int columns = TerminalColumns(kDefaultColumns) - 1;
    std::ostringstream out;
    if (drawn_) out << "\x1b[" << now.size() << 'A';  // back to the first line
    for (std::size_t i = 0; i < now.size(); ++i) {
      const FleetRadioStatus& s = now[i];
      const int total = transfer_limits::kBlockCount;
      const int filled = s.blocks * kBarWidth / total;
      std::ostringstream line;
      line << Port(i) << std::string(width - Port(i).size() + 2, ' ') << '['
           << std::string(static_cast<std::size_t>(filled), '#')
           << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] " << s.blocks
           << '/' << total << "  " << StateText(s);
      out << "\r\x1b[2K" << FitColumns(line.str(), columns) << '\n';
    }
    std::cerr << out.str() << std::flush;
    drawn_ = true;
  }

  void PrintEvents(std::size_t i, const FleetRadioStatus& s) {
    const FleetRadioStatus& before = shown_[i];
    const std::string port = Port(i) + ": ";
    std::ostringstream out;
    if (s.status != before.status && !s.status.empty()) out << port << s.status << '\n';
    for (std::size_t m = before.messages.size(); m < s.messages.size(); ++m) {
      const FleetMessage& message = s.messages[m];
      out << port << OneLineMessage(message.text) << MessageButtonsText(message.buttons);
      if (message.buttons != MessageButtons::kOk) {
        out << " -> " << MessageAnswerName(message.answer);
      }
      out << '\n';
    }
    if (s.stage != before.stage) {
      if (s.stage == FleetStage::kBackingUp) out << port << "reading the radio into a backup\n";
      if (s.stage == FleetStage::kConnecting && before.stage == FleetStage::kBackingUp) {
        out << port << "writing the radio\n";
      }
      if (s.stage == FleetStage::kVerifying) out << port << "reading the radio back to verify\n";
    }
    const bool restarted = s.blocks < before.blocks || s.stage != before.stage;
    const int last = restarted ? 0 : last_block_line_[i];
    if (s.blocks != last &&
        (s.blocks - last >= kPlainStep || s.blocks == transfer_limits::kBlockCount)) {
      out << port << "block " << s.blocks << '/' << transfer_limits::kBlockCount << '\n';
      last_block_line_[i] = s.blocks;
    } else if (restarted) {
      last_block_line_[i] = 0;
    }
    if (s.stage == FleetStage::kEnded && before.stage != FleetStage::kEnded) {
      out << port << FleetResultText(s) << '\n';
    }
    std::cerr << out.str();
  }

  const FleetRun& run_;
  const bool terminal_;
  std::vector<FleetRadioStatus> shown_;
  std::map<std::size_t, int> last_block_line_;
  bool drawn_ = false;
};

// Runs the fleet to its end, showing progress; Ctrl+C cancels it.
void RunToEnd(FleetRun& run) {
  FleetProgress progress(run, StandardErrorIsTerminal());
  InstallCancelOnInterrupt();
  run.Start();
  while (!run.WaitFor(kRefresh)) {
    if (InterruptRequested()) run.Cancel();
    progress.Show();
  }
  run.Wait();
  progress.Show();
}

struct FleetCommon {
  std::vector<FleetPort> ports;
  int retries = 0;
  const std::string* report = nullptr;
};

// Resolves the ports and checks what both modes share; nullopt after a
// message, with `code` set.
std::optional<FleetCommon> ReadCommon(const std::vector<std::string>& names, const CliArgs& parsed,
                                      int& code) {
  FleetCommon common;
  if (names.empty()) {
    code = UsageError(kFleet, "missing --port PORT (one per radio)");
    return std::nullopt;
  }
  for (const std::string& name : names) {
    if (name.empty()) {
      code = UsageError(kFleet, "--port needs a port name");
      return std::nullopt;
    }
    const auto device = ResolveCliPort(kFleet, name, code);
    if (!device) return std::nullopt;
    common.ports.push_back({name, *device});
  }
  if (const Status distinct = CheckFleetPorts(common.ports); !distinct) {
    code = UsageError(kFleet, distinct.error().Message());
    return std::nullopt;
  }
  const auto retries = ParseRetries(kFleet, parsed.Value("--retries"));
  if (!retries) {
    code = exit_code::kUsage;
    return std::nullopt;
  }
  common.retries = *retries;
  common.report = parsed.Value("--report");
  if (common.report != nullptr) {
    const Result<SaveTarget> target = CheckSaveTarget(*common.report);
    if (!target) {
      code = FileError(kFleet, target.error());
      return std::nullopt;
    }
  }
  return common;
}

// The exit code of a finished run: a port that could not be opened before a
// radio that failed, as it asks the user to fix the set-up first. A read
// whose file could not be saved is no failure of its radio's: the caller
// makes it a file error.
int RunExitCode(const std::vector<FleetRadioStatus>& results, TransferDirection direction) {
  bool port_failed = false;
  bool failed = false;
  for (const FleetRadioStatus& s : results) {
    port_failed = port_failed || s.result == FleetResult::kPortUnavailable;
    // The radio did its part; the file it went to is the caller's to tell.
    if (s.not_saved) continue;
    const bool success =
        direction == TransferDirection::kRead
            ? s.result == FleetResult::kRead
            : s.result == FleetResult::kWritten || s.result == FleetResult::kVerified;
    failed = failed || !success;
  }
  if (port_failed) return exit_code::kPortError;
  return failed ? exit_code::kFailed : exit_code::kOk;
}

// The end table on standard output and, with --report, as JSON.
int Report(TransferDirection direction, const std::vector<FleetReportRow>& rows,
           const std::string* report_path, int code) {
  const int printed = WriteOutput(kFleet, FormatFleetTable(direction, rows));
  if (report_path != nullptr) {
    const std::string json = FleetReportJson(direction, rows);
    const Status saved = SaveFile(
        *report_path, std::span(reinterpret_cast<const std::uint8_t*>(json.data()), json.size()));
    if (!saved) return FileError(kFleet, saved.error());
  }
  return printed != exit_code::kOk ? printed : code;
}

// Reads and checks the identity list and how it meets the ports; prints
// the findings. nullopt after a message, with `code` set.
struct Identities {
  IdentityList list;
  IdentityAssignment assignment;
};
std::optional<Identities> ReadIdentities(const std::string& path,
                                         const std::vector<FleetPort>& ports, bool strict,
                                         int& code) {
  const Result<std::string> text =
      ReadFileStart(path, {identity_list::kMaxFileBytes, true, identity_list::kFileKind});
  if (!text) {
    code = FileError(kFleet, text.error());
    return std::nullopt;
  }
  Result<IdentityList> list = ParseIdentityList(*text);
  if (!list) {
    std::cerr << "z-lm5-cli fleet: " << Error(list.error()).Within(path).Message()
              << "\nNothing was written.\n";
    code = exit_code::kUsage;
    return std::nullopt;
  }
  // COM names in the rows go through the ports file as those of --port do.
  PortTable table;
  const bool com_rows = std::any_of(list->rows.begin(), list->rows.end(),
                                    [](const IdentityRow& r) { return IsComPortName(r.port); });
  if (com_rows) {
    Result<PortTable> loaded = LoadPortTable(PortSettingsPath());
    if (!loaded) {
      code = FileError(kFleet, loaded.error());
      return std::nullopt;
    }
    table = *loaded;
  }
  Result<IdentityAssignment> assignment = AssignIdentities(*list, ports, table);
  if (!assignment) {
    std::cerr << "z-lm5-cli fleet: " << Error(assignment.error()).Within(path).Message()
              << "\nNothing was written.\n";
    code = exit_code::kUsage;
    return std::nullopt;
  }
  const std::vector<std::string> findings = AssignmentFindings(*list, *assignment, ports);
  if (!findings.empty()) {
    std::cerr << "z-lm5-cli fleet: the identity list " << path << " and the ports:\n";
    for (const std::string& line : findings) std::cerr << "  " << line << '\n';
  }
  if (strict && !assignment->complete()) {
    std::cerr << "z-lm5-cli fleet: --strict: every port needs a row and every row a port; "
                 "nothing was written.\n";
    code = exit_code::kUsage;
    return std::nullopt;
  }
  return Identities{std::move(*list), std::move(*assignment)};
}

int RunWriteMode(const std::vector<std::string>& args, const std::vector<std::string>& port_names) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, kOptions, parsed)) return UsageError(kFleet, *error);
  if (parsed.Value("--out-dir") != nullptr) {
    return UsageError(kFleet, "--out-dir is for 'fleet read'");
  }
  if (parsed.positional.empty()) return UsageError(kFleet, "missing FILE");
  if (parsed.positional.size() > 1) {
    return UsageError(kFleet, "unexpected argument '" + parsed.positional[1] + "'");
  }
  if (parsed.Has("--backup-first") && parsed.Has("--no-backup")) {
    return UsageError(kFleet, "--backup-first needs the backups that --no-backup turns off");
  }
  int code = exit_code::kOk;
  std::optional<FleetCommon> common = ReadCommon(port_names, parsed, code);
  if (!common) return code;

  auto loaded = LoadChannelDataFile(parsed.positional.front());
  if (!loaded) return FileError(kFleet, loaded.error());
  RadioImage image = *loaded;
  if (!parsed.Has("--raw")) {
    // As 'write': the file as the grid shows it, encoded back.
    MemoryGrid grid;
    ImageToGrid(image, grid);
    GridToImage(grid, image);
  }
  std::optional<Identities> identities;
  if (const std::string* ids = parsed.Value("--ids")) {
    identities = ReadIdentities(*ids, common->ports, parsed.Has("--strict"), code);
    if (!identities) return code;
  } else if (parsed.Has("--strict")) {
    return UsageError(kFleet, "--strict needs --ids");
  }

  FleetWritePlan plan =
      identities ? PlanFleetWrite(image, common->ports, &identities->list, &identities->assignment)
                 : PlanFleetWrite(image, common->ports);
  BackupStore backups(DefaultBackupFolder());
  FleetOptions options;
  if (!parsed.Has("--no-backup")) options.backups = &backups;
  options.backup_first = parsed.Has("--backup-first");
  options.verify = parsed.Has("--verify");
  FleetRun run(TransferDirection::kWrite, std::move(plan.radios),
               FleetAnswers{common->retries, parsed.Has("--accept-type-mismatch")}, options);
  RunToEnd(run);

  const std::vector<FleetRadioStatus> results = run.Snapshot();
  std::vector<FleetReportRow> rows;
  for (std::size_t i = 0; i < run.size(); ++i) {
    const AppliedIdentity* applied =
        identities && identities->assignment.row_of_port[i] ? &plan.identities[i] : nullptr;
    rows.push_back(MakeFleetReportRow(run.radio(i), results[i], applied));
  }
  return Report(TransferDirection::kWrite, rows, common->report,
                RunExitCode(results, TransferDirection::kWrite));
}

// The file each radio's read goes to, in DIR, settled before the radios
// are read: a read takes a quarter of a minute, and its result must not be
// lost to a mistyped folder. nullopt after the message, with `code` set.
std::optional<std::vector<std::string>> ReadFilePaths(const std::string& out_dir,
                                                      const std::vector<FleetPort>& ports,
                                                      int& code) {
  std::error_code made;
  std::filesystem::create_directories(PathFromUtf8(out_dir), made);
  if (made) {
    code = FileError(kFleet, Error(out_dir, made.message()));
    return std::nullopt;
  }
  const SerialSurvey survey = SurveySerialDevices(SystemRoots{}, UserIdentity::Current());
  std::vector<std::string> paths;
  for (const std::string& name : FleetReadFileNames(ports, survey.devices)) {
    paths.push_back(Utf8FromPath(PathFromUtf8(out_dir) / PathFromUtf8(name)));
    const Result<SaveTarget> target = CheckSaveTarget(paths.back());
    if (!target) {
      code = FileError(kFleet, target.error());
      return std::nullopt;
    }
  }
  return paths;
}

int RunReadMode(const std::vector<std::string>& args, const std::vector<std::string>& port_names) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, ReadOptions(), parsed)) return UsageError(kFleet, *error);
  if (!parsed.positional.empty()) {
    return UsageError(kFleet, "unexpected argument '" + parsed.positional.front() + "'");
  }
  if (parsed.Value("--ids") != nullptr) return UsageError(kFleet, "--ids is for 'fleet write'");
  const std::string* out_dir = parsed.Value("--out-dir");
  if (out_dir == nullptr || out_dir->empty()) return UsageError(kFleet, "missing --out-dir DIR");
  int code = exit_code::kOk;
  std::optional<FleetCommon> common = ReadCommon(port_names, parsed, code);
  if (!common) return code;

  const std::optional<std::vector<std::string>> paths =
      ReadFilePaths(*out_dir, common->ports, code);
  if (!paths) return code;

  std::vector<FleetRadio> radios;
  for (const FleetPort& port : common->ports) {
    radios.push_back({port.name, port.device, {}, ChannelDocument::NewDocumentImage()});
  }
  BackupStore backups(DefaultBackupFolder());
  FleetOptions options;
  if (!parsed.Has("--no-backup")) options.backups = &backups;
  // Each radio is saved as soon as it is read, as 'read' saves: the image
  // through the grid. One whose file cannot be saved ends failed.
  options.save_read = [&paths](std::size_t index, const RadioImage& read) -> Status {
    RadioImage image = read;
    MemoryGrid grid;
    ImageToGrid(image, grid);
    GridToImage(grid, image);
    return SaveChannelDataFile((*paths)[index], image);
  };
  FleetRun run(TransferDirection::kRead, std::move(radios), FleetAnswers{common->retries, false},
               options);
  RunToEnd(run);

  std::vector<FleetRadioStatus> results = run.Snapshot();
  std::vector<FleetReportRow> rows;
  bool file_failed = false;
  for (std::size_t i = 0; i < run.size(); ++i) {
    const bool saved = results[i].result == FleetResult::kRead;
    // Its progress line and its row say which file and why.
    file_failed = file_failed || results[i].not_saved;
    rows.push_back(MakeFleetReportRow(run.radio(i), results[i], nullptr, saved ? (*paths)[i] : ""));
  }
  code = RunExitCode(results, TransferDirection::kRead);
  if (code == exit_code::kOk && file_failed) code = exit_code::kFileError;
  return Report(TransferDirection::kRead, rows, common->report, code);
}

int RunFleet(const std::vector<std::string>& args) {
  std::vector<std::string> rest = args;
  const CliArgs taken = cmdline::TakeOptions(rest, kPortOption);
  if (taken.problem) return UsageError(kFleet, taken.problem->message);
  const std::vector<std::string> ports = taken.Values("--port");
  if (rest.empty()) return UsageError(kFleet, "missing 'write' or 'read'");
  const std::string mode = rest.front();
  rest.erase(rest.begin());
  if (mode == "write") return RunWriteMode(rest, ports);
  if (mode == "read") return RunReadMode(rest, ports);
  return UsageError(kFleet, "unknown mode '" + mode + "'; use 'write' or 'read'");
}

const CliCommandRegistration kRegistration(kFleet);

}  // namespace
}  // namespace zlm5::cli
