// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/core_text_translation.h"

#include <QCoreApplication>

#include <array>

#include "ui/radio/link_text_translation.h"

namespace zlm5 {
namespace {

constexpr const char* kContext = "zlm5::CoreTexts";

// The core's texts, exactly as it builds them, "%1"... where it puts a
// value. To add one, add its row here (a row that wraps other texts before
// the rows it wraps, a longer row before a shorter one it starts with),
// then run scripts/update-translations and translate the new entry.
constexpr const char* kCoreTexts[] = {
    // Wrappers around another reason.
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1; the row is skipped"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1; the line is skipped"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1; rows not read from this line on: %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1 (backup not saved: %2)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1 (the verify was cancelled)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1; and %2 more"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "line %1: %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1: line %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "line %1"),

    // Importing a CSV channel list.
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "not a channel list: the file holds no header line"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "not a channel list: its first line (line %1) has no Frequency column"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Duplex '%1' is not +, -, split, off or empty"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Offset '%1' is not a frequency in MHz"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "the Frequency is empty"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Frequency '%1' is not a frequency in MHz"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Frequency %1 MHz is %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "the transmit frequency %1 MHz (Duplex '%2', Offset %3) is %4"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "outside 67-521 MHz"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "not on a 6.25, 5 or 2.5 kHz step"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Mode %1 is not FM or NFM"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1 '%2' is not a CTCSS tone of the radio"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1 '%2' is not a DCS code of the radio"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "DtcsPolarity '%1' is not NN, NR, RN or RR"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Tone %1 (reverse squelch) is not a mode the radio has"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Tone '%1' is not a tone mode of the format"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "CrossMode '%1' is not one the radio can hold"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "Power '%1' is neither High, Low nor a wattage; the channel keeps %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "Comment '%1' is not a %2 the radio has; the channel keeps %3"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Name '%1' is changed to '%2'"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Name '%1' is shortened to '%2'"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "no channel is left (channel 128 is the last)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "all 128 channels are imported"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "and %1 more lines were not taken"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "the file has no CrossMode column, which a Cross row needs"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "the file is UTF-16 text and must be saved as UTF-8 to be read as a channel "
                      "list"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Location '%1' is not a channel number"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "Location %1 is beyond channel 128 (locations count from 0)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Location %1 is beyond channel 128"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "a quoted field is not closed before the end of the file"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "the row has %1 fields where the header has %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "channel %1 was already imported from line %2"),

    // Pasting channels from grid texts.
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "the line has %1 fields where a channel has 11 (12 with its number)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1 '%2' is not a frequency within 67-521 MHz"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1 '%2' is not on a 6.25, 5 or 2.5 kHz step"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1 '%2' is not a tone of the radio"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "%1 '%2' is not an entry of its list; the channel keeps what a new channel "
                      "gets"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "no channel is left for this line (channel 128 is the last)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "a quoted field is not closed before the end of the text"),

    // Typing a frequency into the grid.
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Error Data Format，Please input again"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "Error data Value，Please input according the step value(6.25K/5k/2.5k)"),

    // Checking the channels.
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "CH %1: receive frequency %2 MHz is outside the band %3"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "CH %1: transmit frequency %2 MHz is outside the band %3"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "CH %1: in use without a receive frequency"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "CH %1: same receive frequency and tones as CH %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "CH %1: name \"%2\" is also the name of CH %3"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Outside the band %1 chosen in the Field box"),

    // Reading a file.
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "cannot read the file: it is a folder"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "cannot open the file: it is a device, not %1"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "cannot read the file: it is larger than %1 bytes, too large for %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "cannot open the file: %1"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "cannot read the file: %1"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "a channel list"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "an identity list"),

    // Identity lists.
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "RadioId \"%1\" may hold letters and digits only"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "RadioId \"%1\" is longer than 8 characters"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "CallId \"%1\" is longer than 8 characters"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Ani \"%1\" may hold digits only"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Ani \"%1\" has more than 4 digits"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "unknown column \"%1\"; the columns are Port or Order, RadioId, CallId, Ani "
                      "and Name"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "column %1 is named twice"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "both a Port and an Order column; name the radios by one"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "no Port or Order column to say which radio a row is for"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Order \"%1\" is not a position 1 to %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1 fields, but the header names %2 columns"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "no Port"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "no Order"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "port %1 has a row already (line %2)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Order %1 has a row already (line %2)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "the identity list is empty"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "the identity list names no radio"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "a quoted field is not closed"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Radio ID %1, Call ID %2, ANI %3"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Radio ID %1, Call ID %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Radio ID %1, ANI %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Call ID %1, ANI %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Radio ID %1 stored as %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Call ID %1 stored as %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "ANI %1 stored as %2"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Radio ID %1"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Call ID %1"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "ANI %1"),

    // Several radios: the ports and the identity list's rows.
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "the same port is given twice (%1)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "port %1 is %2, which line %3 names already"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Order %1, but %2 port is given"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Order %1, but %2 ports are given"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "port %1 is not among the ports given"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "%1: no row in the identity list; the radio gets the file's identity"),

    // Several radios: each radio's result.
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "verify failed: %1"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "partly written (%1 of %2 blocks): %3"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "partly written (%1 of %2 blocks)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "failed: %1"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "cancelled: %1"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "written"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "verified"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "read"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "verify failed"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "partly written"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "failed"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "cancelled"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "port unavailable"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "The transfer stopped after an unexpected error: %1"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "unknown error"),

    // The end of a transfer with its safeguards.
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1 blocks read"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "%1 blocks written"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "Cancelled while the radio was read into a backup; nothing was written"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "Nothing was written: the radio could not be read into a backup first"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "Nothing was written: the backup of the radio could not be saved"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "The backup could not be saved: %1"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "The verify was cancelled: the radio was not read back"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "The radio could not be read back to verify the write"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "Radio verified: %1 blocks match"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "Radio verify failed: the radio does not hold what was written (%1 "
                      "difference)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts",
                      "Radio verify failed: the radio does not hold what was written (%1 "
                      "differences)"),
    QT_TRANSLATE_NOOP("zlm5::CoreTexts", "... and %1 more"),
};

const std::array<PhraseTable, 2>& Tables() {
  static const std::array<PhraseTable, 2> tables = {PhraseTable{kContext, kCoreTexts},
                                                    LinkTextTable()};
  return tables;
}

}  // namespace

std::span<const PhraseTable> CoreTextTables() { return Tables(); }

QString CoreTextShown(std::string_view text) { return TranslatedParagraphs(text, Tables()); }

QString ErrorShown(const Error& error) {
  if (error.what().empty()) return CoreTextShown(error.reason());
  if (error.reason().empty()) return CoreTextShown(error.what());
  return QCoreApplication::translate("zlm5::CoreTexts", "%1: %2")
      .arg(CoreTextShown(error.what()), CoreTextShown(error.reason()));
}

}  // namespace zlm5
