// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/optional_features.h"

#include <algorithm>

#include "model/settings_block.h"

namespace zlm5 {

namespace of = optional_features;

namespace {

// The index when it names an entry of a list of `count` entries, else -1.
int InList(int index, std::size_t count) {
  return (index >= 0 && static_cast<std::size_t>(index) < count) ? index : -1;
}

}  // namespace

std::string TotText(int position) {
  if (position == 0) return "OFF";
  return std::to_string(position * settings_map::kTotStepSeconds);
}

std::string PriorityEntryText(int index) { return std::to_string(index + 1); }

OptionalFeaturesValues LoadOptionalFeatures(const RadioImage& image) {
  const SettingsBlock block(image);
  OptionalFeaturesValues v;
  v.tot_position = block.TotPosition();
  v.tot_text = TotText(v.tot_position);
  v.squelch = block.SquelchEntry();
  v.pf2 = block.Pf2Entry();
  v.pf1 = block.Pf1Entry();
  v.priority_channel = block.PriorityEntry();
  v.language = block.LanguageEntry();
  v.beep = block.Beep();
  v.scrambler = block.Scrambler();
  v.battery_save = block.BatterySave();
  v.vox_gain = block.VoxGainEntry();
  v.opt_signal = block.OptSignalEntry();
  v.begin_of_tx = block.BeginOfTx();
  v.end_of_tx = block.EndOfTx();
  v.ani = block.AniText();
  v.radio_id = block.RadioIdText();
  v.kill_id = block.KillIdText();
  v.call_id = block.CallIdText();
  v.check_id = block.CheckIdText();
  v.listen_id = block.ListenIdText();
  return v;
}

void StoreOptionalFeatures(const OptionalFeaturesValues& v, RadioImage& image) {
  SettingsBlock block(image);
  block.SetLanguageEntry(InList(v.language, of::kLanguageEntries.size()));
  block.SetScrambler(v.scrambler);
  block.SetBeep(v.beep);
  block.SetBatterySave(v.battery_save);
  block.SetBeginOfTx(v.begin_of_tx);
  block.SetEndOfTx(v.end_of_tx);
  block.SetSquelchEntry(InList(v.squelch, of::kSquelchEntries.size()));
  block.SetTotPosition(std::clamp(v.tot_position, 0, of::kMaxTotPosition));
  block.SetVoxGainEntry(InList(v.vox_gain, of::kVoxGainEntries.size()));
  block.SetOptSignalEntry(InList(v.opt_signal, of::kOptSignalEntries.size()));
  block.WriteFixedDialogBytes();
  block.SetPf2Entry(InList(v.pf2, of::kKeyFunctionEntries.size()));
  block.SetPriorityEntry(InList(v.priority_channel, of::kPriorityEntryCount));
  block.SetAniText(v.ani);
  block.SetRadioIdText(v.radio_id);
  block.SetKillIdText(v.kill_id);
  block.SetCallIdText(v.call_id);
  block.SetCheckIdText(v.check_id);
  block.SetListenIdText(v.listen_id);
  block.StoreInto(image);
}

}  // namespace zlm5
