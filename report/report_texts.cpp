// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/report_texts.h"

#include <cstdio>

#include "model/settings_block.h"

namespace zlm5 {
namespace report_rules {
namespace {

bool English(ReportTextSet set) { return set == ReportTextSet::English; }

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%2d", value);
  return text;
}

}  // namespace

std::string KeyText(std::uint8_t value, ReportTextSet set) {
  static constexpr std::string_view kEnglish[] = {"None",    "Autodial",          "Key Lock",
                                                  "Monitor", "Monitor Momentary", "Scrambler"};
  static constexpr std::string_view kChinese[] = {"无",   "自动拨号", "按键锁定",
                                                  "监听", "监听瞬时", "扰频器"};
  const int index = value >= 1 && value <= 5 ? value : 0;
  return std::string(English(set) ? kEnglish[index] : kChinese[index]);
}

std::string SwitchText(bool on, Switch which, ReportTextSet set) {
  if (English(set)) return on ? "Enable" : "Disable";
  switch (which) {
    case Switch::BatterySave:
      return on ? "启动" : "关闭";
    case Switch::VoxInhibit:
      return on ? "使能" : "不使能";
    case Switch::Beep:
    case Switch::Scrambler:
    case Switch::VoxFunction:
      break;
  }
  return on ? "打开" : "关闭";
}

std::string SquelchText(std::uint8_t value) { return value > 9 ? "0" : TwoDigits(value); }

std::string GainText(std::uint8_t value) {
  if (value == 0) return "OFF";
  return value > 10 ? "0" : TwoDigits(value);
}

std::string DelayText(std::uint8_t value) {
  static constexpr std::string_view kDelays[] = {"0.3s", "0.5s", "1.0s", "1.5s", "2.0s", "3.0s"};
  return std::string(value <= 5 ? kDelays[value] : kDelays[0]);
}

std::string PttIdText(std::uint8_t flags) {
  switch (flags & report_settings_map::kPttIdMask) {
    case 0:
      return "BOT";
    case 1:
      return "EOT";
    default:
      return "BOTH";
  }
}

std::string TimeText(std::uint8_t value) {
  if (value == 0 || value > 40) return "OFF";
  return std::to_string(value * 15);
}

std::string CodeText(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (const std::uint8_t b : bytes) {
    if (b >= 0x30 && b <= 0x39) text += static_cast<char>(b);
    if (b >= 0x41 && b <= 0x44) text += static_cast<char>(b);
  }
  return text;
}

}  // namespace report_rules

namespace {

const ReportLabels& EnglishLabels() {
  static const ReportLabels kEnglish{
      .titles = {"The Radio Settings", "The Second Page", "The Third Page", "The Fourth Pages",
                 "The Fifth Pages"},
      .function_setting = "Function Setting:",
      .channel_setting = "Channel Setting:",
      .type = "Type:   ",
      .field = "Frequency Field:",
      .pf1 = "Pf1:   ",
      .pf2 = "Pf2: ",
      .beep = "Beep Warning: ",
      .squelch = "Squelch Level: ",
      .power_rank = "TX power rank: ",
      .scrambler = "Scrambler Activation:",
      .vox_function = "Vox Function:",
      .vox_gain = "Vox Gain Level:",
      .vox_delay = "Vox Delay Time: ",
      .ptt_id = "PTT ID: ",
      .battery_save = "Battery Save:",
      .tx_time = "Total Tx Time(s):",
      .begin_of_tx = "Begin of Tx:",
      .end_of_tx = "End of Tx:  ",
      .vox_inhibit = "Vox inhibit on recieve:",
      .after_ch = "   Rx(MHz)   ",
      .tx_freq = "Tx(MHz)    ",
      .after_rx_tone = "  ",
      .after_tx_tone = "  ",
      .bandwidth = "W/N    ",
      .scan = "Scan Add   ",
      .tx_power = "Tx Power   ",
      .opt_signal = "Opt Signal   ",
      .ptt_id_head = "PTTID   ",
      .busy = "Busy",
  };
  return kEnglish;
}

const ReportLabels& ChineseLabels() {
  static const ReportLabels kChinese{
      .titles = {"整机设置", "第二页", "第三页", "第四页", "第五页"},
      .function_setting = "功能设置:",
      .channel_setting = "频道设置:",
      .type = "机型:   ",
      .field = "频段:",
      .pf1 = "Pf1:   ",
      .pf2 = "Pf2: ",
      .beep = "报警音提示: ",
      .squelch = "静噪等级: ",
      .power_rank = "发射功率等级: ",
      .scrambler = "扰频器激活:",
      .vox_function = "Vox 功能:",
      .vox_gain = "Vox 增益电平:",
      .vox_delay = "Vox 延迟时间(秒): ",
      .ptt_id = "PTT ID: ",
      .battery_save = "电池省电:",
      .tx_time = "发射时间(s):",
      .begin_of_tx = "发射开始:",
      .end_of_tx = "发射结束:",
      .vox_inhibit = "接收时禁止VOX:",
      .after_ch = "   接收频率     ",
      .tx_freq = "发射频率     ",
      .after_rx_tone = "   ",
      .after_tx_tone = "   ",
      .bandwidth = "宽/窄     ",
      .scan = "扫描添加    ",
      .tx_power = "发射功率   ",
      .opt_signal = "可选信令     ",
      .ptt_id_head = "PTTID   ",
      .busy = "繁忙锁定",
  };
  return kChinese;
}

}  // namespace

const ReportLabels& LabelsFor(ReportTextSet set) {
  return set == ReportTextSet::English ? EnglishLabels() : ChineseLabels();
}

std::string ChannelHeaderLine(ReportTextSet set, std::string_view header_col0,
                              std::string_view header_col3, std::string_view header_col4) {
  const ReportLabels& l = LabelsFor(set);
  std::string line;
  line.append(header_col0).append(l.after_ch).append(l.tx_freq);
  line.append(header_col3).append(l.after_rx_tone);
  line.append(header_col4).append(l.after_tx_tone);
  line.append(l.bandwidth).append(l.scan).append(l.tx_power).append(l.opt_signal);
  line.append(l.ptt_id_head).append(l.busy);
  return line;
}

}  // namespace zlm5
