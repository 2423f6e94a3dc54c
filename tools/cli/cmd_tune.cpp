// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli tune: reads and sets a power tuning value of the radio.

#include <array>

#include "cli_platform_help.h"
#include "link/power_tuning.h"
#include "tools/cli/cli_args.h"
#include "tools/cli/cli_link_host.h"
#include "tools/cli/cli_radio.h"

namespace zlm5::cli {
namespace {

constexpr std::array<CliOption, 4> kOptions = {{
    {"-p", "--port", OptionKind::kValue, "PORT", platform_help::kTunePort},
    {"", "--set", OptionKind::kValue, "N", "the new value"},
    {"", "--retries", OptionKind::kValue, "N",
     "answer Retry to the first N errors, then Cancel\n"
     "(default 0)"},
    {"", "--trace", OptionKind::kFlag, "", "print every byte sent and received on standard error"},
}};

int RunTune(const std::vector<std::string>& args);

const CliCommand kTune = {
    .name = "tune",
    .summary = "read or set the low or high power tuning value",
    .usage =
        "Usage: z-lm5-cli tune low|high --port PORT [--set N] [--retries N] [--trace]\n"
        "\n"
        "Puts the radio into power tuning (as Low Power Debug or High Power Debug\n"
        "does), prints the value it holds on standard output, sends N when --set\n"
        "is given (low 1 to 200, high 1 to 250), and takes the radio out of\n"
        "tuning again.\n"
        "\n"
        "Options:\n",
    .order = 42,
    .run = RunTune,
    .options = kOptions,
    .usage_end =
        "\n"
        "After a Cancel (no --retries left) the port is opened again to take the\n"
        "radio out of tuning; if that fails too, switch the radio off and on.\n"
        "\n"
        "Exit codes: 0 done, 1 communication failed or cancelled, 2 usage error,\n"
        "3 the value cannot be written to standard output (nothing is sent),\n"
        "4 the port cannot be opened (or is the terminal the program runs in).\n",
};

int RunTune(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, kOptions, parsed)) return UsageError(kTune, *error);
  if (parsed.positional.size() != 1) return UsageError(kTune, "say low or high");
  const std::string& which = parsed.positional.front();
  if (which != "low" && which != "high") {
    return UsageError(kTune, "unknown function '" + which + "' (low or high)");
  }
  const TuningKind kind = which == "low" ? TuningKind::kLowPower : TuningKind::kHighPower;
  const TuningFunction& function = TuningFunctionOf(kind);
  const std::string* port = parsed.Value("--port");
  if (port == nullptr || port->empty()) return UsageError(kTune, "missing --port PORT");
  std::optional<int> value;
  if (const std::string* set = parsed.Value("--set")) {
    value = ParseInt(*set);
    if (!value || *value < 1 || *value > function.max_position) {
      return UsageError(kTune,
                        "--set needs a value from 1 to " + std::to_string(function.max_position));
    }
  }
  const auto retries = ParseRetries(kTune, parsed.Value("--retries"));
  if (!retries) return exit_code::kUsage;
  CliRadioLine line(kTune, parsed);
  if (int code = exit_code::kOk; !line.Resolve(code)) return code;

  CliTuningHost host(CliAnswers{*retries, false});
  TuningSession session(kind, line.transport(), host);
  RadioImage image;
  switch (session.Enter(line.device(), image)) {
    case EnterOutcome::kPortUnavailable:
      return exit_code::kPortError;
    case EnterOutcome::kFailed:
      return exit_code::kFailed;
    case EnterOutcome::kEntered:
      break;
  }
  // A value that cannot be printed fails the command: nothing is changed,
  // and the radio is still taken out of tuning.
  const int printed = WriteOutput(kTune, std::to_string(session.value()) + "\n");
  bool ok = true;
  if (value && printed == exit_code::kOk) {
    ok = session.RequestChange(*value) == ChangeOutcome::kSent;
  }
  const ExitOutcome left = session.RequestExit();
  if (printed != exit_code::kOk) return printed;
  ok = ok && left == ExitOutcome::kLeft;
  return ok ? exit_code::kOk : exit_code::kFailed;
}

const CliCommandRegistration kRegistration(kTune);

}  // namespace
}  // namespace zlm5::cli
