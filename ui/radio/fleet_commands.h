// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

#include "link/fleet_run.h"
#include "link/serial_devices.h"

class QAction;

namespace zlm5 {

class FleetDialog;
class MainFrame;
class RadioOperations;

// Program > Program Several Radios...: opens the fleet dialog (made on
// first use, then brought back) with the ports the user may check: COM1 to
// COM4 as the ports file maps them, the serial devices present, and every
// other port the Port menu offers (a path typed under Other Port...).
//
// The dialog writes what Write To Radio would send at the moment Start is
// pressed (an open cell editor committed, the grid encoded into a copy of
// the document's image); the document itself never changes. While its
// radios are written, the window's radio and document commands are
// disabled as during a single transfer (RadioOperations::BeginBusy), and
// closing the window cancels the radios first and closes once they have
// ended. The command is not offered while another radio operation runs.
class FleetCommands : public QObject {
  Q_OBJECT

 public:
  // Adds the command to the frame's Program menu, after Write To Radio;
  // lives as the frame's child. `radio` must outlive this object (it is
  // the frame's child too).
  FleetCommands(MainFrame& frame, RadioOperations& radio);

  QAction* ProgramSeveralAction() const { return action_; }
  // Opens the dialog, or brings it back.
  void ProgramSeveralRadios();
  // The dialog while it exists; null otherwise.
  FleetDialog* Dialog() const;

  // --- Hooks for tests and automation -----------------------------------
  // Lists the serial devices (SurveySerialDevices by default).
  using DeviceLister = std::function<std::vector<SerialDevice>()>;
  void SetDeviceLister(DeviceLister lister) { device_lister_ = std::move(lister); }
  // Given to the dialog (the transfers' profile and ports).
  void SetFleetOptions(FleetOptions options) { options_ = std::move(options); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void UpdateEnabled();

  MainFrame& frame_;
  RadioOperations& radio_;
  QAction* action_ = nullptr;
  QPointer<FleetDialog> dialog_;
  bool running_ = false;
  bool close_pending_ = false;
  DeviceLister device_lister_;
  FleetOptions options_;
};

}  // namespace zlm5
