// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/channel_checks.h"

#include <array>
#include <map>
#include <string_view>
#include <tuple>

#include "model/form_lists.h"
#include "model/frequency_text.h"

namespace zlm5 {

namespace gl = grid_layout;

namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads "<blanks>LOW - HIGHMHz", the form of every Field entry, as whole MHz.
constexpr FrequencyBand BandOfEntryText(std::string_view text) {
  std::int64_t values[2] = {0, 0};
  std::size_t pos = 0;
  for (std::int64_t& value : values) {
    while (pos < text.size() && !IsDigit(text[pos])) ++pos;
    while (pos < text.size() && IsDigit(text[pos])) value = value * 10 + (text[pos++] - '0');
  }
  return {values[0] * frequency_limits::kCountsPerMHz, values[1] * frequency_limits::kCountsPerMHz};
}

constexpr auto kFieldBands = [] {
  std::array<FrequencyBand, form_lists::kField.size()> bands{};
  for (std::size_t i = 0; i < bands.size(); ++i) bands[i] = BandOfEntryText(form_lists::kField[i]);
  return bands;
}();
static_assert(kFieldBands[0] == FrequencyBand{6700000, 7200000});
static_assert(kFieldBands[9] == FrequencyBand{46000000, 52000000});

// The entry text as words use it: without the blanks that align it in the box.
std::string_view FieldLabel(int entry) {
  std::string_view text = form_lists::kField[entry];
  return text.substr(text.find_first_not_of(' '));
}

std::string ChannelPrefix(int channel) { return "CH " + std::to_string(channel) + ": "; }

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// The Field entry selected, when it names a band.
std::optional<int> SelectedField(const ChannelGrid& grid) {
  const int entry = grid.BoxSelection(FormBox::Field);
  if (!FieldBand(entry)) return std::nullopt;
  return entry;
}

bool OutsideBand(const std::string& cell, int field_entry) {
  return !cell.empty() && !FieldBand(field_entry)->Contains(FrequencyTextToCount(cell));
}

}  // namespace

std::optional<FrequencyBand> FieldBand(int entry) {
  if (entry < 0 || static_cast<std::size_t>(entry) >= kFieldBands.size()) return std::nullopt;
  return kFieldBands[entry];
}

std::vector<ChannelFinding> CheckChannels(const ChannelGrid& grid) {
  const std::optional<int> field = SelectedField(grid);
  // First channel of each receive frequency with its tones, and of each name.
  std::map<std::tuple<std::int64_t, std::string, std::string>, int> first_with_tones;
  std::map<std::string, int> first_with_name;
  std::vector<ChannelFinding> findings;

  for (int channel = 1; channel < gl::kRows; ++channel) {
    const std::string receive = grid.TextMatrix(channel, gl::kColReceive);
    const std::string transmit = grid.TextMatrix(channel, gl::kColTransmit);
    if (receive.empty() && transmit.empty()) continue;
    const std::string prefix = ChannelPrefix(channel);

    if (field) {
      const std::string band = " MHz is outside the band " + std::string(FieldLabel(*field));
      if (OutsideBand(receive, *field)) {
        findings.push_back({ChannelCheck::OutOfBand, channel, gl::kColReceive, 0,
                            prefix + "receive frequency " + receive + band});
      }
      if (OutsideBand(transmit, *field)) {
        findings.push_back({ChannelCheck::OutOfBand, channel, gl::kColTransmit, 0,
                            prefix + "transmit frequency " + transmit + band});
      }
    }

    if (receive.empty()) {
      findings.push_back({ChannelCheck::NoReceiveFrequency, channel, gl::kColReceive, 0,
                          prefix + "in use without a receive frequency"});
    } else {
      // Compared by value, so "146.525" and "146.52500" are the same frequency.
      const auto key =
          std::make_tuple(FrequencyTextToCount(receive), grid.TextMatrix(channel, gl::kColRxTone),
                          grid.TextMatrix(channel, gl::kColTxTone));
      const auto [it, first] = first_with_tones.emplace(key, channel);
      if (!first) {
        findings.push_back(
            {ChannelCheck::SameAsEarlier, channel, gl::kColReceive, it->second,
             prefix + "same receive frequency and tones as CH " + std::to_string(it->second)});
      }
    }

    const std::string name = grid.TextMatrix(channel, gl::kColName);
    if (!IsBlank(name)) {
      const auto [it, first] = first_with_name.emplace(name, channel);
      if (!first) {
        findings.push_back({ChannelCheck::NameUsedTwice, channel, gl::kColName, it->second,
                            prefix + "name \"" + name + "\" is also the name of CH " +
                                std::to_string(it->second)});
      }
    }
  }
  return findings;
}

std::string OutOfBandReason(const ChannelGrid& grid, int row, int col) {
  if (row < 1 || row >= gl::kRows) return {};
  if (col != gl::kColReceive && col != gl::kColTransmit) return {};
  const std::optional<int> field = SelectedField(grid);
  if (!field || !OutsideBand(grid.TextMatrix(row, col), *field)) return {};
  return "Outside the band " + std::string(FieldLabel(*field)) + " chosen in the Field box";
}

}  // namespace zlm5
