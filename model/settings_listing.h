// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/optional_features.h"

namespace zlm5 {

// One radio-wide setting in words: its name and the text its control shows.
struct SettingText {
  std::string_view name;  // "squelch", "tot", "battery save", ...
  std::string value;      // the control's text; empty for a list without selection

  friend bool operator==(const SettingText&, const SettingText&) = default;
};

// The settings of the Optional Features dialog, as its controls show them, in
// this order: squelch, tot, vox, language, beep, scrambler, battery save,
// optional signal, begin of tx, end of tx, pf1, pf2, priority channel, ani,
// radio id, call id, check id, kill id, listen id. Lists give the selected
// entry's text ("Germany " keeps its blank), check boxes "checked" or
// "unchecked", the time-out timer "OFF" or its seconds. Hidden controls are
// listed too, since their bytes are part of the image. `z-lm5-cli settings`
// prints this list and the compare of two images names settings by it.
std::vector<SettingText> ListSettings(const OptionalFeaturesValues& values);

}  // namespace zlm5
