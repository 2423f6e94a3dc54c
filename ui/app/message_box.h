// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

namespace zlm5 {

// Every message the program shows goes through ShowMessage, captioned with
// the application name ("VRAX Electronics Programming Software Z-LM5
// Software"). Message texts are the system's own and are passed exactly;
// the box breaks its lines only at blanks (invisible word joiners hold the
// other characters of the shown text together). Screen readers and Ctrl+C
// get the text without them.

struct MessageRequest {
  QWidget* parent = nullptr;
  QMessageBox::Icon icon = QMessageBox::Warning;
  QString text;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton default_button = QMessageBox::NoButton;
};

// Shows a modal message box and returns the button the user chose
// (QMessageBox::Ok for a plain message).
QMessageBox::StandardButton ShowMessage(
    QWidget* parent, const QString& text, QMessageBox::Icon icon = QMessageBox::Warning,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
    QMessageBox::StandardButton default_button = QMessageBox::NoButton);

// Replaces the boxes by a handler that receives each request and returns
// the answer: tests record the messages and script the answers with it.
// An empty handler restores real boxes. Returns the previous handler.
using MessageHandler = std::function<QMessageBox::StandardButton(const MessageRequest&)>;
MessageHandler SetMessageHandler(MessageHandler handler);

}  // namespace zlm5
