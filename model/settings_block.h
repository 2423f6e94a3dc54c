// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/radio_image.h"

namespace zlm5 {

// Bytes of the 80-byte settings block, by image offset.
namespace settings_map {
inline constexpr std::size_t kFieldCode = 0x80A;   // 0xEE + "Field" entry
inline constexpr std::size_t kTypeCode = 0x80B;    // 0x38 + "Type" entry
inline constexpr std::size_t kPttIdFlags = 0x810;  // bits 5, 4
inline constexpr std::size_t kFixedA8 = 0x811;     // always 0xA8 after a grid encode
inline constexpr std::size_t kFunctionFlags =
    0x812;                                        // language, battery save, scrambler, beep, manual
inline constexpr std::size_t kSquelch = 0x813;    // 0-9
inline constexpr std::size_t kTot = 0x814;        // 0 off, n = n x 15 s (1-40)
inline constexpr std::size_t kVoxGain = 0x815;    // 0 off, 1-10
inline constexpr std::size_t kOptSignal = 0x816;  // 2 "CCIR", 3 "OFF"
inline constexpr std::size_t kFixed817 = 0x817;   // the dialog writes 4
inline constexpr std::size_t kFixed818 = 0x818;   // the dialog writes 0
inline constexpr std::size_t kPowerRank = 0x819;  // "Tx Power Rank" entry 0-9
inline constexpr std::size_t kPriority = 0x81A;   // priority channel 1-128, 0 none
inline constexpr std::size_t kRadioType =
    0x81B;  // PF2 key function; compared by the write transfer
inline constexpr std::size_t kReserved81D = 0x81D;  // 0 in a new document, otherwise untouched
inline constexpr std::size_t kAni = 0x820;          // AniField
inline constexpr std::size_t kCallId = 0x828;       // IdField
inline constexpr std::size_t kRadioId = 0x830;      // IdField
inline constexpr std::size_t kCheckId = 0x838;      // IdField
inline constexpr std::size_t kKillId = 0x840;       // IdField
inline constexpr std::size_t kListenId = 0x848;     // IdField
inline constexpr std::size_t kIdFieldSize = 8;
inline constexpr std::size_t kAniMaxDigits = 4;
inline constexpr std::size_t kIdMaxLength = 8;

// 0x810
inline constexpr std::uint8_t kBeginOfTxBit = 0x20;
inline constexpr std::uint8_t kEndOfTxBit = 0x10;
// 0x812
inline constexpr std::uint8_t kManualOpenBit = 0x80;
inline constexpr std::uint8_t kBeepBit = 0x40;
inline constexpr std::uint8_t kScramblerBit = 0x10;
inline constexpr std::uint8_t kBatterySaveBit = 0x04;
inline constexpr std::uint8_t kLanguageMask = 0x03;
inline constexpr std::uint8_t kLanguageGermany = 3;  // 1 also reads as "Germany "
inline constexpr std::uint8_t kLanguageEnglish = 2;
inline constexpr std::uint8_t kLanguageOff = 0;

inline constexpr std::uint8_t kFieldBase = 0xEE;
inline constexpr int kFieldEntries = 10;         // "Field" entries 0-9: 0xEE-0xF7
inline constexpr std::uint8_t kTypeBase = 0x38;  // the one entry of the "Type" list
// Type codes past the list's entry up to this one show no entry; higher
// codes show the first.
inline constexpr std::uint8_t kTypeLastUnlisted = kTypeBase + 2;
inline constexpr std::uint8_t kFixedA8Value = 0xA8;
inline constexpr std::uint8_t kFixed817Value = 4;
inline constexpr std::uint8_t kFixed818Value = 0;
inline constexpr std::uint8_t kOptSignalCcirValue = 2;
inline constexpr std::uint8_t kOptSignalOffValue = 3;
inline constexpr int kMaxTotPosition = 40;
inline constexpr int kTotStepSeconds = 15;
inline constexpr int kPriorityChannels = 128;
inline constexpr int kKeyFunctionCount = 6;
inline constexpr int kMaxSquelch = 9;    // levels 0-9
inline constexpr int kMaxVoxGain = 10;   // 0 off, 1-10
inline constexpr int kMaxPowerRank = 9;  // "Tx Power Rank" entries 0-9

// Entries of the dialog's lists, as the readers return them and the
// writers take them.
inline constexpr int kLanguageGermanyEntry = 0;  // "Germany "
inline constexpr int kLanguageEnglishEntry = 1;  // "English"
inline constexpr int kLanguageOffEntry = 2;      // "OFF"
inline constexpr int kOptSignalCcirEntry = 0;    // "CCIR"
inline constexpr int kOptSignalOffEntry = 1;     // "OFF"
inline constexpr int kManualOpenEntry = 0;       // "Open"
inline constexpr int kManualCloseEntry = 1;      // "Close"

// The fourteen bytes a new document sets; every other byte is 0xFF.
struct DefaultByte {
  std::size_t offset;
  std::uint8_t value;
};
// 0x812: manual "Open", beep and battery save on, scrambler and language off.
inline constexpr std::array<DefaultByte, 14> kNewDocumentDefaults = {{
    {kFieldCode, kFieldBase},
    {kTypeCode, kTypeBase},
    {kPttIdFlags, 0xC0},
    {kFixedA8, kFixedA8Value},
    {kFunctionFlags, kManualOpenBit | kBeepBit | kBatterySaveBit},
    {kSquelch, 5},
    {kTot, 0},
    {kVoxGain, 0},
    {kOptSignal, kOptSignalOffValue},
    {kFixed817, kFixed817Value},
    {kFixed818, kFixed818Value},
    {kPowerRank, kMaxPowerRank},
    {kPriority, 0},
    {kReserved81D, 0},
}};
static_assert((kManualOpenBit | kBeepBit | kBatterySaveBit) == 0xC4);
}  // namespace settings_map

// The printed report's reading of the settings bytes 0x810-0x816, which
// differs from the map above on purpose. The report has always read these
// bytes by rules of its own: the programmable keys at 0x810 and 0x811
// (where the dialog keeps the PTT ID flags and a fixed byte), the switches
// at other bits of 0x812, the VOX delay at 0x816 (the dialog's optional
// signalling) and the DTMF codes in the channel area. What the paper shows
// follows this map: do not merge the two. report/report_texts.h has the
// value texts.
namespace report_settings_map {
inline constexpr std::size_t kPf1Key = 0x810;
inline constexpr std::size_t kPf2Key = 0x811;
inline constexpr std::size_t kFlags = 0x812;
inline constexpr std::size_t kSquelch = 0x813;
inline constexpr std::size_t kTxTime = 0x814;
inline constexpr std::size_t kVoxGain = 0x815;
inline constexpr std::size_t kVoxDelay = 0x816;
inline constexpr std::size_t kBeginCode = 0x7B0;  // 16 bytes of DTMF code
inline constexpr std::size_t kEndCode = 0x7C0;
inline constexpr std::size_t kCodeLength = 16;
// Bits of the flags byte 0x812.
inline constexpr std::uint8_t kPttIdMask = 0x03;  // 0 BOT, 1 EOT, else BOTH
inline constexpr std::uint8_t kScramblerBit = 1 << 2;
inline constexpr std::uint8_t kBatterySaveBit = 1 << 3;
inline constexpr std::uint8_t kBeepBit = 1 << 4;
inline constexpr std::uint8_t kVoxBit = 1 << 5;
inline constexpr std::uint8_t kVoxInhibitBit = 1 << 6;
}  // namespace report_settings_map

// Identity code fields (8 bytes): Call ID, Radio ID, Check ID, Kill ID,
// Listen ID hold ASCII digits and upper-case letters, then 0xFF.

// The text shown for an IdField: digits and letters (lower-case bytes shown
// in upper case) in order; any other byte is skipped, so gaps close up.
std::string IdFieldToText(std::span<const std::uint8_t, 8> field);
// Writes all 8 bytes from a text: a letter gives its upper-case ASCII code,
// any other character "0" + its digit value (non-digits give "0"); 0xFF after
// the end. One UTF-8 sequence counts as one character; only 8 are used.
void TextToIdField(std::string_view text, std::span<std::uint8_t, 8> field);

// The ANI code field at 0x820: up to 4 ASCII digits, then 0xFF.
// The text shown: the digits among bytes 0-3 (bytes 4-7 are never shown).
std::string AniFieldToText(std::span<const std::uint8_t, 8> field);
// Writes all 8 bytes: "0" + the digit value of each character (non-digits
// give "0"), 0xFF after the end; a four-character code whose first digit is
// above 1 has it stored as "1".
void TextToAniField(std::string_view text, std::span<std::uint8_t, 8> field);

// A copy of the 80-byte settings block with the reading and writing rules of
// each setting. Read it from an image, change it, store it back:
//
//   SettingsBlock block(image);
//   block.SetSquelchEntry(3);
//   block.StoreInto(image);
//
// Readers return what a control shows: list entry indexes (-1 = none),
// check states and the time-out spin position. Writers take the same; an
// entry index is stored as one byte, so -1 becomes 0xFF.
class SettingsBlock {
 public:
  explicit SettingsBlock(const RadioImage& image);

  // Writes all 80 bytes back (unchanged ones included) into `image`.
  void StoreInto(RadioImage& image) const;

  // Raw byte at an image offset 0x800..0x84F (std::out_of_range otherwise).
  std::uint8_t byte(std::size_t image_offset) const;
  void set_byte(std::size_t image_offset, std::uint8_t value);

  // --- Reading rules ---
  int FieldEntry() const;      // 0x80A: 0xEE-0xF7 -> 0-9, else 0
  int TypeEntry() const;       // 0x80B: 0x38 -> 0, above 0x3A -> 0, else none (-1)
  int ManualEntry() const;     // 0x812 bit 7: 0 "Open", 1 "Close"
  int PowerRankEntry() const;  // 0x819: 0-9, else 0
  bool BeginOfTx() const;      // 0x810 bit 5
  bool EndOfTx() const;        // 0x810 bit 4
  bool Beep() const;           // 0x812 bit 6
  bool Scrambler() const;      // 0x812 bit 4
  bool BatterySave() const;    // 0x812 bit 2
  int LanguageEntry()
      const;                 // 0x812 bits 1-0: 3, 1 -> 0 "Germany ", 2 -> 1 "English", 0 -> 2 "OFF"
  int SquelchEntry() const;  // 0x813: 0-9, else 0
  int TotPosition() const;   // 0x814: 0-40, else 0
  int VoxGainEntry() const;  // 0x815: 0-10, else 0
  int OptSignalEntry() const;  // 0x816: 2 or above 3 -> 0 "CCIR"; 0, 1, 3 -> 1 "OFF"
  int PriorityEntry() const;   // 0x81A: 1-128 -> entry b-1, else none (-1)
  int Pf1Entry() const;        // 0x81A read as a key function: 0-5, else 0
  int Pf2Entry() const;        // 0x81B: 0-5, else 0
  std::string AniText() const;
  std::string CallIdText() const;
  std::string RadioIdText() const;
  std::string CheckIdText() const;
  std::string KillIdText() const;
  std::string ListenIdText() const;

  // --- Writing rules of the Optional Features dialog ---
  // 0x812 language: entry 0 -> whole byte 3, 1 -> 2, 2 -> 0; other entries
  // (-1 = none) leave the byte unchanged. Write it before the three flags.
  void SetLanguageEntry(int entry);
  void SetBeep(bool on);
  void SetScrambler(bool on);
  void SetBatterySave(bool on);
  void SetBeginOfTx(bool on);  // other bits of 0x810 preserved
  void SetEndOfTx(bool on);
  void SetSquelchEntry(int entry);
  void SetTotPosition(int position);  // clamped to 0..40
  void SetVoxGainEntry(int entry);
  void SetOptSignalEntry(int entry);  // 0 ("CCIR") -> 2, anything else -> 3
  void WriteFixedDialogBytes();       // 0x817 = 4, 0x818 = 0
  void SetPf2Entry(int entry);
  void SetPriorityEntry(int entry);  // entry + 1; -1 (none) -> 0
  void SetAniText(std::string_view text);
  void SetCallIdText(std::string_view text);
  void SetRadioIdText(std::string_view text);
  void SetCheckIdText(std::string_view text);
  void SetKillIdText(std::string_view text);
  void SetListenIdText(std::string_view text);

  // --- Writing rules of the grid encode ---
  void SetFieldEntry(int entry);      // 0xEE + entry, modulo 256
  void SetTypeEntry(int entry);       // 0x38 + entry; -1 -> 0x37
  void SetManualEntry(int entry);     // bit 7 set for entry 0 only; bits 0-6 kept
  void SetPowerRankEntry(int entry);  // entry as a byte
  void WriteFixedA8();                // 0x811 = 0xA8

 private:
  std::span<const std::uint8_t, 8> Field(std::size_t image_offset) const;
  std::span<std::uint8_t, 8> Field(std::size_t image_offset);
  void SetBit(std::size_t image_offset, std::uint8_t bit, bool on);

  std::array<std::uint8_t, image_map::kSettingsSize> bytes_;
};

}  // namespace zlm5
