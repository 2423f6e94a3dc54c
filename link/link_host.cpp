// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/link_host.h"

namespace zlm5 {

std::string MessageWithReason(std::string_view text, const Error& error, const std::string& hint) {
  std::string message = std::string(text) + "\n\n" + error.Message();
  if (!hint.empty()) message += "\n\n" + hint;
  return message;
}

std::string_view MessageAnswerName(MessageAnswer answer) {
  switch (answer) {
    case MessageAnswer::kOk:
      return "OK";
    case MessageAnswer::kCancel:
      return "Cancel";
    case MessageAnswer::kRetry:
      return "Retry";
  }
  return "OK";
}

std::string MessageButtonsText(MessageButtons buttons) {
  const auto choice = [](MessageAnswer first, MessageAnswer second) {
    return " [" + std::string(MessageAnswerName(first)) + "/" +
           std::string(MessageAnswerName(second)) + "]";
  };
  switch (buttons) {
    case MessageButtons::kOk:
      return "";
    case MessageButtons::kOkCancel:
      return choice(MessageAnswer::kOk, MessageAnswer::kCancel);
    case MessageButtons::kRetryCancel:
      return choice(MessageAnswer::kRetry, MessageAnswer::kCancel);
  }
  return "";
}

void LinkHost::ReportPortOpenFailure(const std::string& text, const Error& error,
                                     const std::string& hint) {
  ShowMessage(MessageWithReason(text, error, hint), MessageButtons::kOk);
}

}  // namespace zlm5
