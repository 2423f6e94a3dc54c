// SPDX-License-Identifier: GPL-3.0-or-later
// The Z-LM5 programming software: the desktop program.

#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>

#include "ui/app/app.h"
#include "ui/app/print_controller.h"
#include "ui/edit/check_commands.h"
#include "ui/radio/fleet_commands.h"
#include "ui/radio/radio_operations.h"
#include "zlm5_version.h"

namespace {

// Exit codes, as z-lm5-cli has them.
constexpr int kExitUsage = 2;
constexpr int kExitFileError = 3;

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  zlm5::App::SetIdentity();

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Z-LM5 programming software: reads, edits and writes the radio's channels and options, "
      "and keeps them in channel data files (.sin)."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"),
                               QStringLiteral("A channel data file (.sin) to open."),
                               QStringLiteral("[file]"));
  // Options of the radio operations (--port PATH) and of printing are added
  // here, before parsing; they act between Start() and ShowMainWindow().
  const QCommandLineOption print_option(
      QStringLiteral("print"), QStringLiteral("Print the file to the default printer, then end."));
  const QCommandLineOption print_to_option(
      QStringLiteral("print-to"),
      QStringLiteral("Print the file to the printer named <printer>, then end."),
      QStringLiteral("printer"));
  parser.addOption(print_option);
  parser.addOption(print_to_option);
  const QCommandLineOption port_option(
      QStringLiteral("port"),
      QStringLiteral("Use this serial port for the radio: COM1 to COM4 (see the Port menu) or a "
                     "device path such as /dev/ttyUSB0. The choice is not stored."),
      QStringLiteral("path"));
  parser.addOption(port_option);

  if (!parser.parse(QApplication::arguments())) {
    std::fprintf(stderr, "z-lm5: %s\n%s", qUtf8Printable(parser.errorText()),
                 qUtf8Printable(parser.helpText()));
    return kExitUsage;
  }
  if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
  if (parser.isSet(QStringLiteral("version"))) {
    // As the other two programs print it (Qt's own form names the settings).
    std::printf("z-lm5 %s\n", zlm5::kProgramVersion);
    return 0;
  }
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1) {
    std::fprintf(stderr, "z-lm5: name one file at most\n%s", qUtf8Printable(parser.helpText()));
    return kExitUsage;
  }

  const bool print_and_end = parser.isSet(print_option) || parser.isSet(print_to_option);
  if (print_and_end && files.isEmpty()) {
    std::fprintf(stderr, "z-lm5: --print and --print-to need a file\n");
    return kExitUsage;
  }

  const QString port = parser.value(port_option);
  if (parser.isSet(port_option) && !zlm5::RadioOperations::IsPortName(port)) {
    std::fprintf(stderr,
                 "z-lm5: --port: \"%s\" is not a serial port; use COM1 to COM4 or a "
                 "device path such as /dev/ttyUSB0\n",
                 qUtf8Printable(port));
    return kExitUsage;
  }

  zlm5::App app;
  if (!app.Start(files.value(0))) return kExitFileError;

  // Read, Write, the Port menu, Optional Features and the power tuning.
  auto* radio = new zlm5::RadioOperations(*app.Frame());
  if (parser.isSet(port_option)) radio->SetPortName(port);
  // A cable plugged in where no port was set up is found by itself.
  radio->StandInForMissingPort();
  // Check Channels, Compare With and Compare With Radio.
  new zlm5::CheckCommands(*app.Frame(), *radio);
  // Program Several Radios.
  new zlm5::FleetCommands(*app.Frame(), *radio);

  // Print, Print Preview and Print Setup; the print switches use the same.
  auto* printing = new zlm5::PrintController(*app.Frame());
  if (print_and_end) return zlm5::PrintAndEnd(*printing, parser.value(print_to_option));

  app.ShowMainWindow();
  return QApplication::exec();
}
