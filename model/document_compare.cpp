// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/document_compare.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "model/channel_codec.h"
#include "model/form_lists.h"
#include "model/memory_grid.h"
#include "model/optional_features.h"
#include "model/settings_listing.h"

namespace zlm5 {

namespace gl = grid_layout;
namespace im = image_map;

namespace {

constexpr std::string_view kArrow = " → ";
constexpr std::string_view kEmptyText = "(empty)";
// A HiddenBytes line names at most this many offsets; the count says the rest.
constexpr std::size_t kMaxOffsetsNamed = 8;

struct BoxItem {
  FormBox box;
  std::string_view label;
};
constexpr std::array<BoxItem, 4> kBoxes = {{
    {FormBox::Field, form_lists::kFieldLabel},
    {FormBox::Type, form_lists::kTypeLabel},
    {FormBox::Manual, form_lists::kManualLabel},
    {FormBox::PowerRank, form_lists::kPowerRankLabel},
}};

struct TuningItem {
  std::size_t offset;
  std::string_view name;
};
constexpr std::array<TuningItem, 2> kTunings = {{
    {im::kLowPowerTuning, "Low power tuning"},
    {im::kHighPowerTuning, "High power tuning"},
}};

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Shown(const std::string& text) { return text.empty() ? std::string(kEmptyText) : text; }

std::string ChangeLine(const std::string& subject, const std::string& before,
                       const std::string& after) {
  return subject + ": " + Shown(before) + std::string(kArrow) + Shown(after);
}

std::string BoxEntryText(FormBox box, int index) {
  const auto entries = form_lists::Entries(box);
  if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) return {};
  return std::string(Trimmed(entries[index]));
}

std::string Hex(std::size_t offset) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%03zX", offset);
  return text;
}

// The bytes of [first, last) that differ, appended to `offsets`.
void CollectDiffering(const RadioImage& a, const RadioImage& b, std::size_t first, std::size_t last,
                      std::vector<std::size_t>& offsets) {
  for (std::size_t offset = first; offset < last; ++offset) {
    if (a.at(offset) != b.at(offset)) offsets.push_back(offset);
  }
}

// "<subject>: 2 bytes differ that <shown_by> (0x0BD, 0x0BF)".
Difference HiddenBytes(const std::string& subject, std::string_view shown_by,
                       std::vector<std::size_t> offsets) {
  std::string text = subject + ": " + std::to_string(offsets.size()) +
                     (offsets.size() == 1 ? " byte differs" : " bytes differ") + " that " +
                     std::string(shown_by) + " (";
  for (std::size_t i = 0; i < offsets.size() && i < kMaxOffsetsNamed; ++i) {
    text += (i > 0 ? ", " : "") + Hex(offsets[i]);
  }
  text += offsets.size() > kMaxOffsetsNamed ? ", ...)" : ")";
  Difference d;
  d.kind = DifferenceKind::HiddenBytes;
  d.offsets = std::move(offsets);
  d.text = std::move(text);
  return d;
}

// The two images as decoded for the grid.
struct Decoded {
  const RadioImage& image;
  MemoryGrid grid;

  explicit Decoded(const RadioImage& source) : image(source) { ImageToGrid(image, grid); }
};

// "5-7, 9, 12-128" for channels 5, 6, 7, 9, 12, ..., 128 (in ascending order).
std::string ChannelRanges(const std::vector<int>& channels) {
  std::string text;
  for (std::size_t i = 0; i < channels.size();) {
    std::size_t last = i;
    while (last + 1 < channels.size() && channels[last + 1] == channels[last] + 1) ++last;
    if (!text.empty()) text += ", ";
    text += std::to_string(channels[i]);
    if (last > i) text += "-" + std::to_string(channels[last]);
    i = last + 1;
  }
  return text;
}

void CompareChannels(const Decoded& a, const Decoded& b, std::vector<Difference>& out) {
  // Channels whose bytes differ where no cell does, gathered into one line:
  // an encode fills bytes of empty records, and 120 lines would hide the rest.
  std::vector<int> hidden_channels;
  std::vector<std::size_t> hidden_offsets;
  for (int channel = 1; channel <= im::kChannelCount; ++channel) {
    bool shown = false;
    for (int col = gl::kColReceive; col < gl::kColumns; ++col) {
      const std::string before = a.grid.TextMatrix(channel, col);
      const std::string after = b.grid.TextMatrix(channel, col);
      if (before == after) continue;
      const std::string item(Trimmed(kColumnHeaders[col]));
      out.push_back({DifferenceKind::Cell,
                     channel,
                     col,
                     item,
                     before,
                     after,
                     {},
                     ChangeLine("CH " + std::to_string(channel) + " " + item, before, after)});
      shown = true;
    }
    if (shown) continue;
    const std::size_t count = hidden_offsets.size();
    const std::size_t record = im::kChannelBase + (channel - 1) * im::kRecordSize;
    const std::size_t name = im::kNameBase + (channel - 1) * im::kNameSize;
    CollectDiffering(a.image, b.image, record, record + im::kRecordSize, hidden_offsets);
    CollectDiffering(a.image, b.image, name, name + im::kNameSize, hidden_offsets);
    if (hidden_offsets.size() > count) hidden_channels.push_back(channel);
  }
  if (hidden_channels.empty()) return;
  std::sort(hidden_offsets.begin(), hidden_offsets.end());
  Difference hidden = HiddenBytes("CH " + ChannelRanges(hidden_channels), "the grid does not show",
                                  std::move(hidden_offsets));
  if (hidden_channels.size() == 1) hidden.channel = hidden_channels.front();
  out.push_back(std::move(hidden));
}

// The form boxes and the dialog's settings: both live in the settings block.
void CompareSettingsBlock(const Decoded& a, const Decoded& b, std::vector<Difference>& out) {
  bool shown = false;
  for (const BoxItem& item : kBoxes) {
    const std::string before = BoxEntryText(item.box, a.grid.BoxSelection(item.box));
    const std::string after = BoxEntryText(item.box, b.grid.BoxSelection(item.box));
    if (before == after) continue;
    const std::string label(item.label);
    out.push_back({DifferenceKind::FormBox,
                   0,
                   0,
                   label,
                   before,
                   after,
                   {},
                   ChangeLine(label, before, after)});
    shown = true;
  }
  const std::vector<SettingText> before = ListSettings(LoadOptionalFeatures(a.image));
  const std::vector<SettingText> after = ListSettings(LoadOptionalFeatures(b.image));
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i].value == after[i].value) continue;
    const std::string name(before[i].name);
    out.push_back({DifferenceKind::Setting,
                   0,
                   0,
                   name,
                   before[i].value,
                   after[i].value,
                   {},
                   ChangeLine(name, before[i].value, after[i].value)});
    shown = true;
  }
  if (shown) return;
  std::vector<std::size_t> offsets;
  CollectDiffering(a.image, b.image, im::kSettingsBase, im::kSettingsBase + im::kSettingsSize,
                   offsets);
  if (!offsets.empty()) {
    out.push_back(HiddenBytes("Settings", "no setting shows", std::move(offsets)));
  }
}

void CompareBeyondTransfer(const RadioImage& a, const RadioImage& b, std::vector<Difference>& out) {
  for (const TuningItem& item : kTunings) {
    if (a.at(item.offset) == b.at(item.offset)) continue;
    const std::string name(item.name);
    const std::string before = std::to_string(a.at(item.offset));
    const std::string after = std::to_string(b.at(item.offset));
    out.push_back(
        {DifferenceKind::Tuning, 0, 0, name, before, after, {}, ChangeLine(name, before, after)});
  }
  // The tuning bytes are the only interpreted ones after the transferred range.
  static_assert(im::kLowPowerTuning + 1 == im::kHighPowerTuning);
  std::vector<std::size_t> offsets;
  CollectDiffering(a, b, im::kTransferEnd, im::kLowPowerTuning, offsets);
  CollectDiffering(a, b, im::kHighPowerTuning + 1, im::kSize, offsets);
  if (!offsets.empty()) {
    out.push_back(HiddenBytes("Other bytes", "the program does not show", std::move(offsets)));
  }
}

}  // namespace

std::vector<Difference> CompareImages(const RadioImage& before, const RadioImage& after,
                                      CompareScope scope) {
  std::vector<Difference> out;
  const Decoded a(before);
  const Decoded b(after);
  CompareChannels(a, b, out);
  CompareSettingsBlock(a, b, out);
  if (scope == CompareScope::WholeImage) CompareBeyondTransfer(before, after, out);
  return out;
}

}  // namespace zlm5
