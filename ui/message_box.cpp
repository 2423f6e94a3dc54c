#include "ui/message_box.h"

#include <utility>

#include "ui/app_names.h"

namespace zlm5 {
namespace {

MessageHandler& Handler() {
  static MessageHandler handler;
  return handler;
}

}  // namespace

QMessageBox::StandardButton ShowMessage(QWidget* parent, const QString& text,
                                        QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton default_button) {
  MessageRequest request{parent, icon, text, buttons, default_button};
  if (Handler()) return Handler()(request);

  QMessageBox box(icon, app_names::kApplicationName, text, buttons, parent);
  if (default_button != QMessageBox::NoButton) box.setDefaultButton(default_button);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

MessageHandler SetMessageHandler(MessageHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}

}  // namespace zlm5
