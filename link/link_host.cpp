#include "link/link_host.h"

namespace zlm5 {

void LinkHost::ReportPortOpenFailure(const std::string& text, const Error& error,
                                     const std::string& hint) {
  std::string message = text + "\n\n" + error.Message();
  if (!hint.empty()) message += "\n\n" + hint;
  ShowMessage(message, MessageButtons::kOk);
}

}  // namespace zlm5
