// SPDX-License-Identifier: GPL-3.0-or-later
// Windows names every serial port COM1 to COM256 itself; a virtual port
// driver's port may have only a device name ("\\.\CNCA0").
#include <QCoreApplication>

#include "ui/radio/port_texts.h"

namespace zlm5 {
// The texts are the Port menu's: they are translated in its context.

QString PortTexts::Example() { return QStringLiteral("COM5"); }

const char* PortTexts::OtherPortPrompt() {
  return QT_TRANSLATE_NOOP("zlm5::RadioOperations", "Type the name of a serial port, such as COM5");
}

QString PortTexts::Question() {
  return QCoreApplication::translate("zlm5::RadioOperations",
                                     "Name of the serial port (COM1 to COM256):");
}

QString PortTexts::NotAPort(const QString& answer) {
  return QCoreApplication::translate("zlm5::RadioOperations",
                                     "\"%1\" is not a serial port.\n\nType a COM port from COM1 "
                                     "to COM256, such as COM5, or a device name such as "
                                     "\\\\.\\CNCA0.")
      .arg(answer);
}

QString PortTexts::OptionValueName() { return QStringLiteral("port"); }

QString PortTexts::OptionHelp() {
  return QStringLiteral(
      "Use this serial port for the radio: COM1 to COM256 (COM1 to COM4 are in the Port menu) "
      "or a device name such as \\\\.\\CNCA0. The choice is not stored.");
}

QString PortTexts::OptionError(const QString& port) {
  return QStringLiteral(
             "z-lm5: --port: \"%1\" is not a serial port; use COM1 to COM256 or a device name "
             "such as \\\\.\\CNCA0\n")
      .arg(port);
}

}  // namespace zlm5
