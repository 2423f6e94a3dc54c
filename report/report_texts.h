// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zlm5 {

// The printed report exists in two text sets; the Chinese one is what the
// user sees unless the English texts were chosen (see ui/language.h).
enum class ReportTextSet { Chinese, English };

// The value texts of the report's settings lines. The report reads the
// settings bytes by rules of its own, which are not the ones of the
// Optional Features dialog (the beep flag, for instance, is taken from
// bit 4 of 0x812 here): report_settings_map in model/settings_block.h,
// declared beside the dialog's map and different on purpose. What the
// paper shows follows these rules. All texts are UTF-8.
namespace report_rules {

// Key function of a programmable key byte (0x810, 0x811): 1..5 name a
// function, anything else prints "None".
std::string KeyText(std::uint8_t value, ReportTextSet set);

// Which flag of 0x812 a switch text describes; the Chinese set words the
// on and off states differently for some of them.
enum class Switch { Beep, Scrambler, VoxFunction, BatterySave, VoxInhibit };
std::string SwitchText(bool on, Switch which, ReportTextSet set);

// Squelch level 0..9 as "%2d"; a byte above 9 prints "0".
std::string SquelchText(std::uint8_t value);
// VOX gain: 0 "OFF", 1..10 as "%2d", above 10 "0".
std::string GainText(std::uint8_t value);
// VOX delay: 0..5 name 0.3 s to 3.0 s; any other value prints "0.3s".
std::string DelayText(std::uint8_t value);
// PTT ID from bits 1-0 of 0x812: BOT, EOT, BOTH.
std::string PttIdText(std::uint8_t flags);
// Transmit time limit: 1..40 print n x 15 (seconds); 0 and above 40 "OFF".
std::string TimeText(std::uint8_t value);
// DTMF code bytes in order: 0x30-0x39 give digits, 0x41-0x44 give A-D, any
// other byte is left out.
std::string CodeText(std::span<const std::uint8_t> bytes);

}  // namespace report_rules

// Fixed texts of the report in one text set. Labels keep their trailing
// blanks: the value follows the label directly.
struct ReportLabels {
  std::string_view titles[5];  // pages 1..5
  std::string_view function_setting;
  std::string_view channel_setting;
  std::string_view type, field;
  std::string_view pf1, pf2, beep;
  std::string_view squelch, power_rank, scrambler;
  std::string_view vox_function, vox_gain, vox_delay;
  std::string_view ptt_id, battery_save, tx_time;
  std::string_view begin_of_tx, end_of_tx;
  std::string_view vox_inhibit;
  // The fixed pieces of the channel table's header line, in their order;
  // the pieces that repeat a grid header (columns 0, 3 and 4) are joined
  // in by ChannelHeaderLine.
  std::string_view after_ch;       // "   Rx(MHz)   "
  std::string_view tx_freq;        // "Tx(MHz)    "
  std::string_view after_rx_tone;  // blanks after the Rx Tone header
  std::string_view after_tx_tone;  // blanks after the Tx Tone header
  std::string_view bandwidth, scan, tx_power, opt_signal, ptt_id_head, busy;
};

const ReportLabels& LabelsFor(ReportTextSet set);

// The header line of the channel table: the fixed pieces with the texts of
// grid header cells (0, 0), (0, 3) and (0, 4) joined in.
std::string ChannelHeaderLine(ReportTextSet set, std::string_view header_col0,
                              std::string_view header_col3, std::string_view header_col4);

}  // namespace zlm5
