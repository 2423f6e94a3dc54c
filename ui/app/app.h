// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace zlm5 {

class MainFrame;

// Start-up of the desktop program, in two steps so that main() can act
// between them (choose a port, print and end without a window):
//
//   App app;
//   if (!app.Start(file)) return exit code 3;   // the window was never shown
//   ... options that need the frame or the document ...
//   app.ShowMainWindow();
//
// The QApplication must exist before App is made.
class App {
 public:
  // Sets the names under which the settings are stored (organisation "Local
  // AppWizard-Generated Applications", application "VRAX Electronics
  // Programming Software Z-LM5 Software"), the version and the desktop file
  // name. Call once, right after the QApplication is made.
  static void SetIdentity();

  App();
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Creates the main frame (not shown) with a new document, or with `file`
  // when one is named. A file that cannot be opened is reported on standard
  // error and, on a desktop, in a message box; Start then returns false and
  // the frame is gone.
  bool Start(const QString& file = QString());

  // Shows the main window 730 x 768 (less where the screen is smaller),
  // centred on the screen.
  void ShowMainWindow();

  MainFrame* Frame() const { return frame_.get(); }

  // The message box text for a file that cannot be opened; `reason` names
  // the file and says why.
  static QString OpenFailureMessage(const QString& reason);

 private:
  std::unique_ptr<QSettings> settings_;
  std::unique_ptr<MainFrame> frame_;
};

}  // namespace zlm5
