// SPDX-License-Identifier: GPL-3.0-or-later
// z-lm5-cli settings: prints the radio-wide settings as the Optional
// Features dialog shows them.

#include "files/channel_document.h"
#include "model/settings_listing.h"
#include "tools/cli/cli_args.h"

namespace zlm5::cli {
namespace {

int RunSettings(const std::vector<std::string>& args);

const CliCommand kSettings = {
    "settings",
    "print the radio-wide settings of a channel data file",
    "Usage: z-lm5-cli settings FILE\n"
    "\n"
    "Prints the radio-wide settings of FILE as the Optional Features dialog\n"
    "would show them, one NAME<TAB>VALUE line each, in this order:\n"
    "  squelch, tot, vox, language, beep, scrambler, battery save,\n"
    "  optional signal, begin of tx, end of tx, pf1, pf2, priority channel,\n"
    "  ani, radio id, call id, check id, kill id, listen id\n"
    "Lists print the selected entry's text (empty when none is selected; the\n"
    "language entry \"Germany \" ends in a blank), check boxes \"checked\" or\n"
    "\"unchecked\", the time-out timer \"OFF\" or its seconds.\n"
    "\n"
    "Exit codes: 0 printed, 2 usage error, 3 the file cannot be read or is not\n"
    "a channel data file.\n",
    30,
    RunSettings,
};

int RunSettings(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, {}, parsed)) return UsageError(kSettings, *error);
  if (parsed.positional.size() != 1) return UsageError(kSettings, "expected exactly one FILE");

  const Result<RadioImage> image = LoadChannelDataFile(parsed.positional.front());
  if (!image) return FileError(kSettings, image.error());

  std::string out;
  for (const SettingText& line : ListSettings(LoadOptionalFeatures(*image))) {
    out += std::string(line.name) + '\t' + line.value + '\n';
  }
  return WriteOutput(kSettings, out);
}

const CliCommandRegistration kRegistration(kSettings);

}  // namespace
}  // namespace zlm5::cli
