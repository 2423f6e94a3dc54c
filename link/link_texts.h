// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The message texts of the radio exchanges, exactly as the user sees them.
// Leading blanks, double blanks and the full-width comma "，" belong to them.
namespace zlm5::link_texts {

inline constexpr std::string_view kCouldNotOpenPort =
    "Could not Open the Port,Please check whether the Port are occupied or the device are ok";
inline constexpr std::string_view kPortNotOpen =
    "mydebug Could not Open the Port,Please check whether the Port are occupied or the device "
    "are ok";
inline constexpr std::string_view kCommunicationError =
    "Communication Error，Please check all the connections and the radio power";

// Transfer status texts and messages.
inline constexpr std::string_view kDetectingPort =
    "Now are detecting Communication Port,Please wait...";
inline constexpr std::string_view kWaitingForRadio = "Waiting the response from radio....";
inline constexpr std::string_view kTypeMismatch =
    " Radio Type are not match for your setting，If you want continue,push ok button";
inline constexpr std::string_view kSendOrderError = " Error in the Send Order";
inline constexpr std::string_view kProgramInterrupt =
    " Program Interrupt，Please reset the radio and try again";
inline constexpr std::string_view kReadNotEnough = "not received enough  byte";
inline constexpr std::string_view kReadAckError = "Error had happen,please try again";
// A reply (a read block, the tuning value) went on after its last byte: a
// stray byte before it or a radio that keeps sending shifts its data.
inline constexpr std::string_view kReplyTooLong =
    "The radio sent more bytes than expected. Please check the cable and try again.";

// A write that ended after `written` of `total` blocks: the radio holds the
// new data up to there and its old data after it.
inline std::string PartlyWritten(int written, int total) {
  return "The radio now holds a partly written memory: " + std::to_string(written) + " of " +
         std::to_string(total) +
         " blocks were written. Write it to the radio again before using "
         "the radio.";
}

// Power tuning messages.
inline constexpr std::string_view kTuningNotEnough = "Not received enough  byte";
// A change's wake-up could not be answered: the read failed (an I/O error).
inline constexpr std::string_view kChangeWakeUpFailed = " Error had happen L1,need try again";
// A change's wake-up was answered, but not with the acknowledgement.
inline constexpr std::string_view kChangeWakeUpNotAcknowledged =
    " Error had happen L2,need try again";
// The write mode command or the value itself was not acknowledged.
inline constexpr std::string_view kChangeFailed = " Error had happen ,need try again";
// The leave exchange that follows a cancelled change failed as well.
inline constexpr std::string_view kStillTuning =
    "The radio could not be taken out of power tuning. Switch the radio off and on again "
    "before using it.";

}  // namespace zlm5::link_texts
