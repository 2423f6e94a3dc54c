// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/radio/port_texts.h"

#include <QCoreApplication>

namespace zlm5 {
// The texts are the Port menu's: they are translated in its context.

QString PortTexts::Example() { return QStringLiteral("/dev/ttyUSB0"); }

const char* PortTexts::OtherPortPrompt() {
  return QT_TRANSLATE_NOOP("zlm5::RadioOperations", "Type the device path of a serial port");
}

QString PortTexts::Question() {
  return QCoreApplication::translate("zlm5::RadioOperations", "Device path of the serial port:");
}

QString PortTexts::NotAPort(const QString& answer) {
  return QCoreApplication::translate("zlm5::RadioOperations",
                                     "\"%1\" is not a serial port.\n\nType a device path such as "
                                     "/dev/ttyUSB0, or choose COM1 to COM4.")
      .arg(answer);
}

QString PortTexts::OptionValueName() { return QStringLiteral("path"); }

QString PortTexts::OptionHelp() {
  return QStringLiteral(
      "Use this serial port for the radio: COM1 to COM4 (see the Port menu) or a device path "
      "such as /dev/ttyUSB0. The choice is not stored.");
}

QString PortTexts::OptionError(const QString& port) {
  return QStringLiteral(
             "z-lm5: --port: \"%1\" is not a serial port; use COM1 to COM4 or a device path such "
             "as /dev/ttyUSB0\n")
      .arg(port);
}

}  // namespace zlm5
