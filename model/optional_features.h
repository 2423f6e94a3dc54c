// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/radio_image.h"

namespace zlm5 {

// The Optional Features dialog without its window: the value of every
// control, how the dialog fills them from the image when it opens
// (LoadOptionalFeatures) and how OK writes them back (StoreOptionalFeatures).
// The dialog only binds its widgets to these fields; Cancel simply does not
// call StoreOptionalFeatures.
//
// Lists hold the selected entry index, -1 for no selection (a loaded byte
// that names no entry; the dialog's lists can only be chosen from).
// Controls the dialog creates hidden still load and store their values.
struct OptionalFeaturesValues {
  // --- Lists (control id; entries; image byte) ---
  int squelch = -1;           // 1016 "Squelch Level"; kSquelchEntries; 0x813
  int vox_gain = -1;          // 1077 "Vox Gain Level"; kVoxGainEntries; 0x815
  int language = -1;          // 1079 "Language Choose"; kLanguageEntries; 0x812 bits 1-0
  int pf1 = -1;               // 1085 hidden; kKeyFunctionEntries; shows 0x81A, never stored
  int pf2 = -1;               // 1086 hidden; kKeyFunctionEntries; 0x81B (the radio type byte)
  int priority_channel = -1;  // 3000 hidden; "1".."128" (PriorityEntryText); 0x81A
  int opt_signal = -1;        // 1102 "Opt Signal In Frequent Mode"; kOptSignalEntries; 0x816

  // --- Check boxes ---
  bool beep = false;          // 1074 "Beep"; 0x812 bit 6
  bool scrambler = false;     // 1075 "Scrambler Activation"; 0x812 bit 4
  bool battery_save = false;  // 1090 "Battery Save"; 0x812 bit 2
  bool begin_of_tx = false;   // 1082 "Begin of Tx", hidden; 0x810 bit 5
  bool end_of_tx = false;     // 1083 "End of Tx"; 0x810 bit 4

  // --- Time-out timer ---
  // 1089 up-down control, range 0..kMaxTotPosition, no wrap; 0x814. Only the
  // position is stored; position n means n x 15 seconds.
  int tot_position = 0;
  // 1013, the spin's buddy edit box (at most 10 characters): TotText of the
  // position. Set on loading and on every spin step; never read back.
  std::string tot_text = "OFF";

  // --- Identity codes (edit boxes, upper case) ---
  std::string ani;        // 1080 hidden, digits only, at most 4; 0x820-0x827
  std::string radio_id;   // 1081, at most 8, keys filtered (RadioIdKeyFilter); 0x830-0x837
  std::string call_id;    // 1098, at most 8; 0x828-0x82F
  std::string check_id;   // 1099 hidden, at most 8; 0x838-0x83F
  std::string kill_id;    // 1100 hidden, at most 8; 0x840-0x847
  std::string listen_id;  // 1101 hidden, at most 8; 0x848-0x84F

  friend bool operator==(const OptionalFeaturesValues&, const OptionalFeaturesValues&) = default;
};

namespace optional_features {
inline constexpr std::array<std::string_view, 10> kSquelchEntries = {"0", "1", "2", "3", "4",
                                                                     "5", "6", "7", "8", "9"};
inline constexpr std::array<std::string_view, 11> kVoxGainEntries = {"OFF", "1", "2", "3", "4", "5",
                                                                     "6",   "7", "8", "9", "10"};
// Entry 0 ends in a blank.
inline constexpr std::array<std::string_view, 3> kLanguageEntries = {"Germany ", "English", "OFF"};
inline constexpr std::array<std::string_view, 6> kKeyFunctionEntries = {
    "None", "Autodial", "Key Lock", "Monitor", "Monitor Momentary", "Scrambler"};
inline constexpr std::array<std::string_view, 2> kOptSignalEntries = {"CCIR", "OFF"};
inline constexpr int kPriorityEntryCount = 128;
inline constexpr int kMaxTotPosition = 40;

// Length limits of the edit boxes, applied when values are loaded into them.
inline constexpr int kTotTextMaxLength = 10;
inline constexpr int kAniMaxLength = 4;
inline constexpr int kIdMaxLength = 8;

inline constexpr std::string_view kTitle = "Optional Features";
}  // namespace optional_features

// "OFF" for position 0, otherwise the decimal seconds n x 15 ("15" .. "600").
std::string TotText(int position);

// Text of priority list entry `index` (0..127): the channel number "1".."128".
std::string PriorityEntryText(int index);

// The dialog's controls as it fills them on opening, from the settings block
// of `image` (the reading rules of each byte).
OptionalFeaturesValues LoadOptionalFeatures(const RadioImage& image);

// What OK does: writes the values into the settings block of `image`, in the
// dialog's order: 0x812 (language, then scrambler, beep, battery save; bits
// 7, 5 and 3 come out cleared when a language is selected), 0x810 bits 5
// and 4, squelch, time-out position, VOX gain, optional signal (2 for
// "CCIR", else 3), 0x817 = 4 and 0x818 = 0, PF2, priority channel (entry + 1,
// 0 for none; the PF1 list is not stored), then the ANI and identity fields.
// A list index outside its list counts as no selection (stored as 0xFF where
// a byte takes the index); the time-out position is clamped to 0..40.
// tot_text is not read. Other image bytes are not touched.
void StoreOptionalFeatures(const OptionalFeaturesValues& values, RadioImage& image);

}  // namespace zlm5
