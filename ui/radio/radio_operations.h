// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/port_names.h"
#include "link/power_tuning.h"
#include "link/safe_transfer.h"
#include "link/serial_devices.h"
#include "link/serial_transport.h"
#include "link/trace_log.h"
#include "link/transfer.h"

class QAction;
class QDialog;

namespace zlm5 {

class MainFrame;
class TransferProgressDialog;

// The main window's radio commands: Read From Radio and Write To Radio with
// their progress dialog, the Port menu, Optional Features, and High and Low
// Power Debug.
//
// Port: "COM1" (at start-up; never stored) to "COM4", mapped to devices by
// the ports file (link/port_names.h), or a device path chosen from the
// serial devices present or typed under "Other Port...". The Port menu
// shows exactly one check mark: on the COM entry, or on the device entry,
// of the port chosen. The port is opened only by a transfer or a tuning
// command, and closed at its end.
//
// Each COM entry names the device the ports file maps it to, with the
// product of a device present, or "(not present)". Each device present
// shows its product (or "built-in serial port") and its stable by-id name,
// and choosing it chooses the by-id path, which stays right when the
// adapter comes back under another number. A path chosen in this session
// (Other Port..., --port, a device since unplugged) keeps an entry until
// the program ends; Other Port... starts from the last path chosen.
//
// On Windows COM1 to COM4 are the system's own ports: no ports file maps
// them, so their entries show the port's name in the system's device list
// (or "(not present)") without an arrow. Any other COM port up to COM256,
// or a driver's device name ("\\.\CNCA0"), is a device of its own; a port
// the system lists as COM1 to COM4 has no entry beside its COM entry.
//
// Read and Write commit an open cell editor, then show the progress dialog
// centred over the grid (or, while it is idle, only change the direction;
// it keeps its caption). Start posts the transfer, which runs in the event
// loop's turn after the click: Write commits a cell edited meanwhile and
// encodes the grid into the image before the port is opened; a complete Read replaces the image's
// first 3152 bytes, shows them in the grid and marks the document modified.
//
// Safeguards (the core's RunSafeTransfer does the work): every completed
// read and write keeps its image as a backup in DefaultBackupFolder(); a
// backup that cannot be saved is told in the status bar and fails nothing.
// "Back Up Radio Before Writing" and "Verify After Writing" in the Program
// menu (checkable, remembered in the settings, off at first) make a write
// read the radio into a backup first (and not write when that fails), and
// read it back afterwards to compare. The dialog's caption names the pass
// that runs. A transfer that went through says so in the status bar ("394
// blocks written; Radio verified: 394 blocks match"); a verify that did not
// match, or could not be done, and a write stopped because the radio's
// backup could not be saved, are told in a message box, the differences
// channel by channel. A write cancelled after the radio took some blocks
// says how many in the status bar. File > Open Backup... opens a backup as
// a document.
//
// The wire trace of the last transfer or tuning session (TracingTransport's
// lines) is kept in memory; Help > Save Communication Log... writes it to a
// file, and is disabled while there is none.
//
// While a transfer or a tuning command runs, nothing else may reach the
// radio or replace the document: New, Open, Open Backup, Save, Save As,
// the recent files, Read, Write, Optional Features, the power commands and
// Save Communication Log are disabled, dropped files are refused, and
// closing the window cancels the transfer first and closes once it has
// ended.
class RadioOperations : public QObject {
  Q_OBJECT

 public:
  // Connects the frame's radio and port commands; lives as the frame's
  // child.
  explicit RadioOperations(MainFrame& frame);
  ~RadioOperations() override;

  // --- Port ---------------------------------------------------------------
  QString PortName() const { return port_name_; }
  // "COM1".."COM4" (any letter case, kept in capitals) or a device path
  // starting with "/". False, with nothing changed, for anything else.
  bool SetPortName(const QString& name);
  // Whether SetPortName would take `name`.
  static bool IsPortName(const QString& name);
  // The device the port name opens; the error says why there is none (an
  // unreadable ports file).
  Result<std::string> PortDevice() const;
  static QString OtherPortText();  // "Other Port..."
  // Rebuilds the device part of the Port menu (done whenever it opens).
  void RefreshPortMenu();
  // The device paths chosen in this session, first first (Other Port...,
  // --port, a device's entry): the Port menu offers each of them, beside
  // the devices present, until the program ends.
  QStringList ChosenPortPaths() const { return chosen_paths_; }
  // At start-up: when the chosen port's device is not there and exactly
  // one USB serial device is (LoneUsbStandIn), chooses that device and
  // says so in the status bar; the ports file is left as it is. True when
  // it did.
  bool StandInForMissingPort();

  // --- Commands -----------------------------------------------------------
  void ReadFromRadio();
  void WriteToRadio();
  // Reads the radio as Read From Radio does, progress dialog and guards
  // included, into a scratch copy of the document's image instead: the
  // document is not touched. Once the read has completed, `done` gets the
  // copy with the radio's bytes 0x000-0xC4F (the event loop has run the
  // dialog's end by then); after any other outcome it is not called. Read
  // or Write chosen while the dialog waits for Start drop the scratch read.
  using ScratchReadDone = std::function<void(const RadioImage& radio)>;
  void ReadIntoScratch(ScratchReadDone done);
  void OptionalFeatures();
  void PowerDebug(TuningKind kind);
  // "Other Port...": asks for a device path.
  void ChooseOtherPort();

  // --- Safeguards -----------------------------------------------------------
  QAction* BackUpFirstAction() const { return back_up_first_; }
  QAction* VerifyAction() const { return verify_; }
  QAction* OpenBackupAction() const { return open_backup_; }
  QAction* SaveLogAction() const { return save_log_; }
  // Asks for a backup in the backups folder and opens it as File > Open
  // does (asking about unsaved changes first).
  void OpenBackup();
  // Asks for a file and writes the communication log into it; false when
  // cancelled or failed (the user is told why).
  bool SaveCommunicationLog();
  const TraceLog& CommunicationLog() const { return trace_log_; }

  // The progress dialog while it exists; null otherwise.
  TransferProgressDialog* ProgressDialog() const;
  TransferDirection Direction() const { return direction_; }
  // True while a transfer or a tuning command runs.
  bool Busy() const { return busy_; }
  // For a radio operation run by another part of the window (Program
  // Several Radios): the guards above from BeginBusy to EndBusy.
  void BeginBusy();
  void EndBusy();

  // --- Hooks for tests and automation -----------------------------------
  // Makes the port of each operation (a SerialPort by default).
  using TransportFactory = std::function<std::unique_ptr<SerialTransport>()>;
  void SetTransportFactory(TransportFactory factory);
  void SetTransferOptions(const TransferOptions& options) { transfer_options_ = options; }
  void SetTuningOptions(const TuningOptions& options) { tuning_options_ = options; }
  // Called with each modal dialog (Optional Features, the tuning dialogs)
  // once its event loop runs; the hook may work the dialog and close it.
  using DialogHook = std::function<void(QDialog&)>;
  void SetDialogHook(DialogHook hook) { dialog_hook_ = std::move(hook); }
  // Asks for a device path for "Other Port..." with the last path chosen
  // (PortTexts::Example() before any) as the suggestion; an empty answer
  // cancels.
  // A text box by default.
  using PortPrompt = std::function<QString(const QString& suggestion)>;
  void SetPortPrompt(PortPrompt prompt) { port_prompt_ = std::move(prompt); }
  // Lists the serial devices for the Port menu and the start-up stand-in
  // (ListSerialDevices by default).
  using DeviceLister = std::function<std::vector<SerialDevice>()>;
  void SetDeviceLister(DeviceLister lister);
  // Asks for the backup to open (`start` is the backups folder) or the file
  // to save the log in (`start` is a suggested name); an empty answer
  // cancels. A file dialog by default.
  enum class FileKind { kBackup, kCommunicationLog };
  using FileChooser = std::function<QString(FileKind kind, const QString& start)>;
  void SetFileChooser(FileChooser chooser) { file_chooser_ = std::move(chooser); }

 signals:
  // A transfer started from the progress dialog has ended in any way:
  // kCompleted when it went through (and was verified, when asked), as
  // SafeTransferReport::Overall() tells it.
  void TransferFinished(zlm5::TransferOutcome outcome);
  void PortChanged(const QString& name);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OpenProgressDialog(TransferDirection direction);
  void OnStartTransfer();
  // `scratch`: where a read for ReadIntoScratch goes; null for the document.
  // `notes` gets what the transfer left for the status bar (QtTransferHost).
  SafeTransferReport RunTransferNow(TransferProgressDialog& dialog, RadioImage* scratch,
                                    QStringList& notes);
  // The status bar line or message box after a transfer, the transfer's
  // notes first.
  void TellTransferEnd(const SafeTransferReport& report, const QStringList& notes);
  void BuildSafeguards();
  QString ChooseFile(FileKind kind, const QString& start);
  void UpdatePortChecks();
  // Each COM entry's label with the device it maps to.
  void UpdateComTexts(const std::vector<SerialDevice>& devices);
  void RunPowerDebug(TuningKind kind);
  int RunModal(QDialog& dialog);
  std::unique_ptr<SerialTransport> MakeTransport() const;

  MainFrame& frame_;
  QString port_name_ = QStringLiteral("COM1");
  TransferDirection direction_ = TransferDirection::kRead;
  QString title_;
  QPointer<TransferProgressDialog> progress_;
  ScratchReadDone scratch_done_;  // set while the dialog is for ReadIntoScratch

  bool busy_ = false;
  bool start_pending_ = false;                      // Start was pressed while another exchange ran
  bool close_pending_ = false;                      // the window is to close once the transfer ends
  QList<QPair<QPointer<QAction>, bool>> disabled_;  // actions and their former state

  QAction* devices_separator_ = nullptr;
  QList<QAction*> device_actions_;  // data: the paths that choose the entry
  QAction* other_port_ = nullptr;
  QList<QString> com_labels_;    // the COM entries' own labels
  QList<QString> chosen_paths_;  // every device path chosen, first first
  QString last_path_;
  QAction* back_up_first_ = nullptr;
  QAction* verify_ = nullptr;
  QAction* open_backup_ = nullptr;
  QAction* save_log_ = nullptr;
  TraceLog trace_log_;

  TransportFactory transport_factory_;
  TransferOptions transfer_options_;
  TuningOptions tuning_options_;
  DialogHook dialog_hook_;
  PortPrompt port_prompt_;
  DeviceLister device_lister_;
  FileChooser file_chooser_;
};

}  // namespace zlm5
