// SPDX-License-Identifier: GPL-3.0-or-later
// The Z-LM5 programming software: the desktop program.

#include <QApplication>
#include <QStringList>

#include <cstdio>

#include "ui/app/app.h"
#include "ui/app/print_controller.h"
#include "ui/app/start_arguments.h"
#include "ui/edit/check_commands.h"
#include "ui/radio/fleet_commands.h"
#include "ui/radio/radio_operations.h"

namespace {

// Exit codes, as z-lm5-cli has them.
constexpr int kExitNoDesktop = 1;  // no display to show the window on
constexpr int kExitUsage = 2;
constexpr int kExitFileError = 3;

}  // namespace

int main(int argc, char* argv[]) {
  // The arguments first: --help, --version and a usage error need no
  // display, and Qt ends the program where it finds none.
  const zlm5::StartArguments start = zlm5::ReadStartArguments(zlm5::ProgramArguments(argc, argv));
  switch (start.outcome) {
    case zlm5::StartArguments::Outcome::kHelp:
    case zlm5::StartArguments::Outcome::kVersion:
      std::fputs(qUtf8Printable(start.text), stdout);
      return 0;
    case zlm5::StartArguments::Outcome::kUsageError:
      std::fputs(qUtf8Printable(start.text), stderr);
      return kExitUsage;
    case zlm5::StartArguments::Outcome::kStart:
    case zlm5::StartArguments::Outcome::kHelpAll:
      break;
  }
  if (!zlm5::HasDesktopSession(start)) {
    std::fputs(zlm5::kNoDesktopSessionMessage, stderr);
    return kExitNoDesktop;
  }

  QApplication application(argc, argv);
  zlm5::App::SetIdentity();
  if (start.outcome == zlm5::StartArguments::Outcome::kHelpAll) zlm5::ShowHelpWithQtOptions();

  zlm5::App app;
  if (!app.Start(start.file)) return kExitFileError;

  // Read, Write, the Port menu, Optional Features and the power tuning.
  auto* radio = new zlm5::RadioOperations(*app.Frame());
  if (start.port_set) radio->SetPortName(start.port);
  // A cable plugged in where no port was set up is found by itself.
  radio->StandInForMissingPort();
  // Check Channels, Compare With and Compare With Radio.
  new zlm5::CheckCommands(*app.Frame(), *radio);
  // Program Several Radios.
  new zlm5::FleetCommands(*app.Frame(), *radio);

  // Print, Print Preview and Print Setup; the print switches use the same.
  auto* printing = new zlm5::PrintController(*app.Frame());
  if (start.print) return zlm5::PrintAndEnd(*printing, start.printer);

  app.ShowMainWindow();
  return QApplication::exec();
}
