// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/link_host.h"

namespace zlm5 {

std::string MessageWithReason(std::string_view text, const Error& error, const std::string& hint) {
  std::string message = std::string(text) + "\n\n" + error.Message();
  if (!hint.empty()) message += "\n\n" + hint;
  return message;
}

void LinkHost::ReportPortOpenFailure(const std::string& text, const Error& error,
                                     const std::string& hint) {
  ShowMessage(MessageWithReason(text, error, hint), MessageButtons::kOk);
}

}  // namespace zlm5
