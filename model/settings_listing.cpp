// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/settings_listing.h"

#include <span>

namespace zlm5 {
namespace {

std::string EntryOf(std::span<const std::string_view> entries, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
  return std::string(entries[index]);
}

std::string Check(bool checked) { return checked ? "checked" : "unchecked"; }

}  // namespace

std::vector<SettingText> ListSettings(const OptionalFeaturesValues& v) {
  namespace of = optional_features;
  return {
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
      {"priority channel", v.priority_channel >= 0 && v.priority_channel < of::kPriorityEntryCount
                               ? PriorityEntryText(v.priority_channel)
                               : std::string()},
      {"ani", v.ani},
      {"radio id", v.radio_id},
      {"call id", v.call_id},
      {"check id", v.check_id},
      {"kill id", v.kill_id},
      {"listen id", v.listen_id},
  };
}

}  // namespace zlm5
