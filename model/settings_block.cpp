// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/settings_block.h"

#include <algorithm>
#include <stdexcept>

#include "model/text_util.h"

namespace zlm5 {

namespace sm = settings_map;

namespace {

constexpr std::uint8_t kEmpty = 0xFF;

bool IsDigitByte(std::uint8_t b) { return b >= '0' && b <= '9'; }

// Value of a character read as a one-digit number; every non-digit reads 0.
std::uint8_t DigitValue(std::string_view character) {
  if (character.size() == 1 && character[0] >= '0' && character[0] <= '9') {
    return static_cast<std::uint8_t>(character[0] - '0');
  }
  return 0;
}

// Calls `f(i, character)` for the first `limit` UTF-8 characters of `text`;
// returns how many there were.
template <typename F>
std::size_t ForEachChar(std::string_view text, std::size_t limit, F f) {
  std::size_t pos = 0;
  std::size_t i = 0;
  for (; i < limit && pos < text.size(); ++i) {
    const std::size_t length = Utf8CharLength(text, pos);
    f(i, text.substr(pos, length));
    pos += length;
  }
  return i;
}

std::uint8_t IndexByte(int entry) { return static_cast<std::uint8_t>(entry); }

}  // namespace

std::string IdFieldToText(std::span<const std::uint8_t, 8> field) {
  std::string text;
  for (const std::uint8_t b : field) {
    if (IsDigitByte(b) || (b >= 'A' && b <= 'Z')) {
      text.push_back(static_cast<char>(b));
    } else if (b >= 'a' && b <= 'z') {
      text.push_back(AsciiUpper(static_cast<char>(b)));
    }
  }
  return text;
}

void TextToIdField(std::string_view text, std::span<std::uint8_t, 8> field) {
  std::fill(field.begin(), field.end(), kEmpty);
  ForEachChar(text, field.size(), [&](std::size_t i, std::string_view c) {
    const char upper = c.size() == 1 ? AsciiUpper(c[0]) : '\0';
    field[i] = (upper >= 'A' && upper <= 'Z') ? static_cast<std::uint8_t>(upper)
                                              : static_cast<std::uint8_t>('0' + DigitValue(c));
  });
}

std::string AniFieldToText(std::span<const std::uint8_t, 8> field) {
  std::string text;
  for (std::size_t i = 0; i < sm::kAniMaxDigits; ++i) {
    if (IsDigitByte(field[i])) text.push_back(static_cast<char>(field[i]));
  }
  return text;
}

void TextToAniField(std::string_view text, std::span<std::uint8_t, 8> field) {
  std::fill(field.begin(), field.end(), kEmpty);
  const std::size_t count = ForEachChar(text, field.size(), [&](std::size_t i, std::string_view c) {
    field[i] = static_cast<std::uint8_t>('0' + DigitValue(c));
  });
  // A four-digit code may only start with 0 or 1. (count is the text's
  // length in characters, as long as that is below 8.)
  if (count == sm::kAniMaxDigits && field[0] > '1') field[0] = '1';
}

SettingsBlock::SettingsBlock(const RadioImage& image) {
  const auto all = image.bytes();
  std::copy_n(all.begin() + image_map::kSettingsBase, bytes_.size(), bytes_.begin());
}

void SettingsBlock::StoreInto(RadioImage& image) const {
  std::copy(bytes_.begin(), bytes_.end(), image.bytes().begin() + image_map::kSettingsBase);
}

std::uint8_t SettingsBlock::byte(std::size_t image_offset) const {
  if (image_offset < image_map::kSettingsBase ||
      image_offset >= image_map::kSettingsBase + image_map::kSettingsSize) {
    throw std::out_of_range("offset " + std::to_string(image_offset) +
                            " is outside the settings block");
  }
  return bytes_[image_offset - image_map::kSettingsBase];
}

void SettingsBlock::set_byte(std::size_t image_offset, std::uint8_t value) {
  byte(image_offset);  // range check
  bytes_[image_offset - image_map::kSettingsBase] = value;
}

std::span<const std::uint8_t, 8> SettingsBlock::Field(std::size_t image_offset) const {
  return std::span<const std::uint8_t, 8>(bytes_.data() + (image_offset - image_map::kSettingsBase),
                                          8);
}

std::span<std::uint8_t, 8> SettingsBlock::Field(std::size_t image_offset) {
  return std::span<std::uint8_t, 8>(bytes_.data() + (image_offset - image_map::kSettingsBase), 8);
}

void SettingsBlock::SetBit(std::size_t image_offset, std::uint8_t bit, bool on) {
  const std::uint8_t old = byte(image_offset);
  set_byte(image_offset, static_cast<std::uint8_t>(on ? (old | bit) : (old & ~bit)));
}

// --- Reading rules ---

int SettingsBlock::FieldEntry() const {
  const std::uint8_t b = byte(sm::kFieldCode);
  return (b >= sm::kFieldBase && b < sm::kFieldBase + sm::kFieldEntries) ? b - sm::kFieldBase : 0;
}

int SettingsBlock::TypeEntry() const {
  const std::uint8_t b = byte(sm::kTypeCode);
  if (b > sm::kTypeLastUnlisted) return 0;
  return b == sm::kTypeBase ? 0 : -1;  // the list has one entry
}

int SettingsBlock::ManualEntry() const {
  return (byte(sm::kFunctionFlags) & sm::kManualOpenBit) ? sm::kManualOpenEntry
                                                         : sm::kManualCloseEntry;
}

int SettingsBlock::PowerRankEntry() const {
  const std::uint8_t b = byte(sm::kPowerRank);
  return b <= sm::kMaxPowerRank ? b : 0;
}

bool SettingsBlock::BeginOfTx() const { return byte(sm::kPttIdFlags) & sm::kBeginOfTxBit; }
bool SettingsBlock::EndOfTx() const { return byte(sm::kPttIdFlags) & sm::kEndOfTxBit; }
bool SettingsBlock::Beep() const { return byte(sm::kFunctionFlags) & sm::kBeepBit; }
bool SettingsBlock::Scrambler() const { return byte(sm::kFunctionFlags) & sm::kScramblerBit; }
bool SettingsBlock::BatterySave() const { return byte(sm::kFunctionFlags) & sm::kBatterySaveBit; }

int SettingsBlock::LanguageEntry() const {
  switch (byte(sm::kFunctionFlags) & sm::kLanguageMask) {
    case sm::kLanguageEnglish:
      return sm::kLanguageEnglishEntry;
    case sm::kLanguageOff:
      return sm::kLanguageOffEntry;
    default:
      return sm::kLanguageGermanyEntry;  // 3, and 1, which is never written
  }
}

int SettingsBlock::SquelchEntry() const {
  const std::uint8_t b = byte(sm::kSquelch);
  return b <= sm::kMaxSquelch ? b : 0;
}

int SettingsBlock::TotPosition() const {
  const std::uint8_t b = byte(sm::kTot);
  return b <= sm::kMaxTotPosition ? b : 0;
}

int SettingsBlock::VoxGainEntry() const {
  const std::uint8_t b = byte(sm::kVoxGain);
  return b <= sm::kMaxVoxGain ? b : 0;
}

int SettingsBlock::OptSignalEntry() const {
  const std::uint8_t b = byte(sm::kOptSignal);
  return (b == sm::kOptSignalCcirValue || b > sm::kOptSignalOffValue) ? sm::kOptSignalCcirEntry
                                                                      : sm::kOptSignalOffEntry;
}

int SettingsBlock::PriorityEntry() const {
  const std::uint8_t b = byte(sm::kPriority);
  return (b >= 1 && b <= sm::kPriorityChannels) ? b - 1 : -1;
}

int SettingsBlock::Pf1Entry() const {
  const std::uint8_t b = byte(sm::kPriority);
  return b < sm::kKeyFunctionCount ? b : 0;
}

int SettingsBlock::Pf2Entry() const {
  const std::uint8_t b = byte(sm::kRadioType);
  return b < sm::kKeyFunctionCount ? b : 0;
}

std::string SettingsBlock::AniText() const { return AniFieldToText(Field(sm::kAni)); }
std::string SettingsBlock::CallIdText() const { return IdFieldToText(Field(sm::kCallId)); }
std::string SettingsBlock::RadioIdText() const { return IdFieldToText(Field(sm::kRadioId)); }
std::string SettingsBlock::CheckIdText() const { return IdFieldToText(Field(sm::kCheckId)); }
std::string SettingsBlock::KillIdText() const { return IdFieldToText(Field(sm::kKillId)); }
std::string SettingsBlock::ListenIdText() const { return IdFieldToText(Field(sm::kListenId)); }

// --- Writing rules of the dialog ---

void SettingsBlock::SetLanguageEntry(int entry) {
  switch (entry) {
    case sm::kLanguageGermanyEntry:
      set_byte(sm::kFunctionFlags, sm::kLanguageGermany);
      break;
    case sm::kLanguageEnglishEntry:
      set_byte(sm::kFunctionFlags, sm::kLanguageEnglish);
      break;
    case sm::kLanguageOffEntry:
      set_byte(sm::kFunctionFlags, sm::kLanguageOff);
      break;
    default:
      break;  // no selection: the byte stays as it is
  }
}

void SettingsBlock::SetBeep(bool on) { SetBit(sm::kFunctionFlags, sm::kBeepBit, on); }
void SettingsBlock::SetScrambler(bool on) { SetBit(sm::kFunctionFlags, sm::kScramblerBit, on); }
void SettingsBlock::SetBatterySave(bool on) { SetBit(sm::kFunctionFlags, sm::kBatterySaveBit, on); }
void SettingsBlock::SetBeginOfTx(bool on) { SetBit(sm::kPttIdFlags, sm::kBeginOfTxBit, on); }
void SettingsBlock::SetEndOfTx(bool on) { SetBit(sm::kPttIdFlags, sm::kEndOfTxBit, on); }
void SettingsBlock::SetSquelchEntry(int entry) { set_byte(sm::kSquelch, IndexByte(entry)); }

void SettingsBlock::SetTotPosition(int position) {
  set_byte(sm::kTot, static_cast<std::uint8_t>(std::clamp(position, 0, sm::kMaxTotPosition)));
}

void SettingsBlock::SetVoxGainEntry(int entry) { set_byte(sm::kVoxGain, IndexByte(entry)); }

void SettingsBlock::SetOptSignalEntry(int entry) {
  set_byte(sm::kOptSignal,
           entry == sm::kOptSignalCcirEntry ? sm::kOptSignalCcirValue : sm::kOptSignalOffValue);
}

void SettingsBlock::WriteFixedDialogBytes() {
  set_byte(sm::kFixed817, sm::kFixed817Value);
  set_byte(sm::kFixed818, sm::kFixed818Value);
}

void SettingsBlock::SetPf2Entry(int entry) { set_byte(sm::kRadioType, IndexByte(entry)); }

void SettingsBlock::SetPriorityEntry(int entry) {
  set_byte(sm::kPriority, entry < 0 ? 0 : IndexByte(entry + 1));
}

void SettingsBlock::SetAniText(std::string_view text) { TextToAniField(text, Field(sm::kAni)); }
void SettingsBlock::SetCallIdText(std::string_view text) {
  TextToIdField(text, Field(sm::kCallId));
}
void SettingsBlock::SetRadioIdText(std::string_view text) {
  TextToIdField(text, Field(sm::kRadioId));
}
void SettingsBlock::SetCheckIdText(std::string_view text) {
  TextToIdField(text, Field(sm::kCheckId));
}
void SettingsBlock::SetKillIdText(std::string_view text) {
  TextToIdField(text, Field(sm::kKillId));
}
void SettingsBlock::SetListenIdText(std::string_view text) {
  TextToIdField(text, Field(sm::kListenId));
}

// --- Writing rules of the grid encode ---

void SettingsBlock::SetFieldEntry(int entry) {
  set_byte(sm::kFieldCode, static_cast<std::uint8_t>(sm::kFieldBase + entry));
}

void SettingsBlock::SetTypeEntry(int entry) {
  set_byte(sm::kTypeCode, static_cast<std::uint8_t>(sm::kTypeBase + entry));
}

void SettingsBlock::SetManualEntry(int entry) {
  SetBit(sm::kFunctionFlags, sm::kManualOpenBit, entry == sm::kManualOpenEntry);
}

void SettingsBlock::SetPowerRankEntry(int entry) { set_byte(sm::kPowerRank, IndexByte(entry)); }

void SettingsBlock::WriteFixedA8() { set_byte(sm::kFixedA8, sm::kFixedA8Value); }

}  // namespace zlm5
