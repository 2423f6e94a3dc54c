// z-lm5-cli settings: prints the radio-wide settings as the Optional
// Features dialog shows them.

#include <span>

#include "files/channel_document.h"
#include "model/optional_features.h"
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

std::string EntryOf(std::span<const std::string_view> entries, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
  return std::string(entries[index]);
}

const char* Check(bool checked) { return checked ? "checked" : "unchecked"; }

int RunSettings(const std::vector<std::string>& args) {
  CliArgs parsed;
  if (auto error = ParseCliArgs(args, {}, parsed)) return UsageError(kSettings, *error);
  if (parsed.positional.size() != 1) return UsageError(kSettings, "expected exactly one FILE");

  const Result<RadioImage> image = LoadChannelDataFile(parsed.positional.front());
  if (!image) return FileError(kSettings, image.error());

  namespace of = optional_features;
  const OptionalFeaturesValues v = LoadOptionalFeatures(*image);
  const std::pair<const char*, std::string> lines[] = {
      {"squelch", EntryOf(of::kSquelchEntries, v.squelch)},
      {"tot", v.tot_text},
      {"vox", EntryOf(of::kVoxGainEntries, v.vox_gain)},
      {"language", EntryOf(of::kLanguageEntries, v.language)},
      {"beep", Check(v.beep)},
      {"scrambler", Check(v.scrambler)},
      {"battery save", Check(v.battery_save)},
      {"optional signal", EntryOf(of::kOptSignalEntries, v.opt_signal)},
      {"begin of tx", Check(v.begin_of_tx)},
      {"end of tx", Check(v.end_of_tx)},
      {"pf1", EntryOf(of::kKeyFunctionEntries, v.pf1)},
      {"pf2", EntryOf(of::kKeyFunctionEntries, v.pf2)},
      {"priority channel", v.priority_channel >= 0 ? PriorityEntryText(v.priority_channel) : ""},
      {"ani", v.ani},
      {"radio id", v.radio_id},
      {"call id", v.call_id},
      {"check id", v.check_id},
      {"kill id", v.kill_id},
      {"listen id", v.listen_id},
  };
  std::string out;
  for (const auto& [name, value] : lines) out += std::string(name) + '\t' + value + '\n';
  return WriteOutput(kSettings, out);
}

const CliCommandRegistration kRegistration(kSettings);

}  // namespace
}  // namespace zlm5::cli
