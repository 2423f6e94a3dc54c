// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/radio/link_text_translation.h"

#include <QCoreApplication>

#include <span>

namespace zlm5 {
namespace {

constexpr const char* kContext = "zlm5::LinkTexts";

// The radio link's texts, exactly as the core words them, "%1"... where it
// puts a value (phrase_translation.h). A text missing here is shown in
// English.
constexpr const char* kLinkTexts[] = {
    QT_TRANSLATE_NOOP("zlm5::LinkTexts",
                      "Could not Open the Port,Please check whether the Port are occupied or the "
                      "device are ok"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts",
                      "mydebug Could not Open the Port,Please check whether the Port are occupied "
                      "or the device are ok"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts",
                      "Communication Error，Please check all the connections and the radio power"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", "Now are detecting Communication Port,Please wait..."),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", "Waiting the response from radio...."),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts",
                      " Radio Type are not match for your setting，If you want continue,push ok "
                      "button"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", " Error in the Send Order"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts",
                      " Program Interrupt，Please reset the radio and try again"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", "not received enough  byte"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", "Error had happen,please try again"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts",
                      "The radio sent more bytes than expected. Please check the cable and try "
                      "again."),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", "Not received enough  byte"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", " Error had happen L1,need try again"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", " Error had happen L2,need try again"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", " Error had happen ,need try again"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts",
                      "The radio could not be taken out of power tuning. Switch the radio off and "
                      "on again before using it."),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts",
                      "Your user account has no access to serial ports. On Debian, add it to the "
                      "\"dialout\" group (sudo adduser $USER dialout), then log out and in again."),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts",
                      "The radio now holds a partly written memory: %1 of %2 blocks were written. "
                      "Write it to the radio again before using the radio."),
    // Why a port could not be opened, after its path.
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", "%1: this device is not a serial port"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", "%1: this is a file, not a serial port"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", "%1: this is a named pipe, not a serial port"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", "%1: probably in use by a program of another user"),
    QT_TRANSLATE_NOOP("zlm5::LinkTexts", "%1: in use by %2"),
};

}  // namespace

PhraseTable LinkTextTable() { return {kContext, kLinkTexts}; }

QString LinkTextShown(const std::string& text) {
  const PhraseTable tables[] = {LinkTextTable()};
  return TranslatedParagraphs(text, tables);
}

}  // namespace zlm5
