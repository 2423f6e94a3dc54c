// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/error.h"
#include "model/radio_image.h"

namespace zlm5 {

// Identity lists: the Radio ID, Call ID and ANI code that each radio of a
// fleet gets, when one channel file is written to several radios.
//
// A CSV text (csv_text.h: any of the separators, quotes, a byte-order mark)
// whose first record names the columns, in any order:
//
//   Port,Name,RadioId,CallId,Ani
//   /dev/ttyUSB0,Unit 1,1001,2001,0101
//   COM2,Unit 2,1002,2002,0102
//
//   Port      the port the row is for, as the user names it (COM1..COM4 or a
//             device path); or instead
//   Order     the radio's position 1, 2, ... among the ports as given;
//   RadioId   at most 8 letters and digits (the keys the Optional Features
//             dialog's Radio ID box lets through);
//   CallId    at most 8 characters;
//   Ani       at most 4 digits;
//   Name      a label for the report, stored nowhere.
//
// Exactly one of Port and Order; any of the others. Column names are matched
// ignoring letter case, blanks, '_' and '-' ("Radio ID", "radio_id"). An
// empty RadioId, CallId or Ani cell leaves that code as the file holds it.
namespace identity_list {
inline constexpr std::size_t kIdMaxCharacters = 8;
inline constexpr std::size_t kAniMaxDigits = 4;
// An order beyond this is no position of a port anyone can plug in.
inline constexpr int kMaxOrder = 999;
// Far more than any fleet's list; a larger file is not one.
inline constexpr std::size_t kMaxFileBytes = 1u << 20;
inline constexpr std::string_view kFileKind = "an identity list";
}  // namespace identity_list

// The identity codes of one radio; nullopt where the list gives none.
struct RadioIdentity {
  std::optional<std::string> radio_id;
  std::optional<std::string> call_id;
  std::optional<std::string> ani;
  std::string name;  // the label; may be empty

  friend bool operator==(const RadioIdentity&, const RadioIdentity&) = default;
};

enum class IdentityKey { kPort, kOrder };

struct IdentityRow {
  int line = 0;      // where the row starts in the text, for messages
  std::string port;  // kPort: the Port cell, blanks trimmed
  int order = 0;     // kOrder: 1, 2, ...
  RadioIdentity identity;
};

struct IdentityList {
  IdentityKey key = IdentityKey::kPort;
  std::vector<IdentityRow> rows;
};

// Reads an identity list. Every value is checked as above, and a row must
// name its port or order (no two rows the same one, COM names in any
// case). An error names the line and the column, and says what is wrong;
// nothing of a list with an error is used.
Result<IdentityList> ParseIdentityList(std::string_view text);

// What an identity row put into one radio's copy of the image.
struct AppliedIdentity {
  // The codes as stored, read back as the dialog would show them; empty
  // where the row gave none.
  std::string radio_id;
  std::string call_id;
  std::string ani;
  // One line per code stored otherwise than the list gives it (the rules of
  // TextToIdField and TextToAniField): "ANI 5678 stored as 1678".
  std::vector<std::string> notes;

  // "Radio ID 1001, Call ID 2001, ANI 1678"; "" when no code was given.
  std::string Summary() const;
};

// Writes the identity's codes into the settings block of `image` as the
// Optional Features dialog's OK does (TextToIdField, TextToAniField); codes
// the identity does not give, and every other byte, stay.
AppliedIdentity ApplyIdentity(const RadioIdentity& identity, RadioImage& image);

}  // namespace zlm5
