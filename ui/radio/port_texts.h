// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace zlm5 {

// What the window says of the port names a user types (Port > Other
// Port..., --port), in the words of the platform: device paths such as
// /dev/ttyUSB0 on Linux, COM names such as COM5 on Windows. The COM1 to
// COM4 of the Port menu are the same everywhere. (port_texts.cpp,
// port_texts_win.cpp)
struct PortTexts {
  // The name Other Port... suggests before any was typed.
  static QString Example();
  // Other Port...'s status bar prompt and tip, untranslated: the menu's
  // texts are translated whenever the language changes.
  static const char* OtherPortPrompt();
  // Other Port...'s question.
  static QString Question();
  // Other Port... given `answer`, which is no serial port.
  static QString NotAPort(const QString& answer);
  // --port in z-lm5 --help: the option's value name and its description.
  static QString OptionValueName();
  static QString OptionHelp();
  // A --port that is no serial port, ending with its line break.
  static QString OptionError(const QString& port);
};

}  // namespace zlm5
