// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "link/fleet_plan.h"
#include "link/fleet_run.h"
#include "model/identity_list.h"
#include "model/radio_image.h"

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace zlm5 {

// Program > Program Several Radios...: one image written to the radios on
// several serial ports at once, each with its own identity.
//
// One row per port: the COM names and the serial devices present, each
// with a check box, the device, the identity it will get (once an identity
// list is loaded), a progress bar and the result. The Radio column names
// the port, and the list's Name for it in brackets. The dialog opens with
// every row in view where the screen allows; the Device, Identity and
// Result columns share the width beside the others, each up to what its
// texts need, and follow the dialog's size; each cell of theirs has its
// whole text as its tooltip (the Result's with the messages of the run). Below the table: how the
// list meets the checked ports (rows naming no checked port, checked ports
// without a row), renewed whenever a check box changes; the answers given
// up front (retries, a radio of another type), the safeguards of a single
// write (a backup first, verify), strict; Load Identities..., Start,
// Cancel and Close. Every completed transfer keeps its backup as a single
// one does.
//
// Start takes the image to write from its source, and runs a FleetRun (core) on threads of its own;
// the threads never touch a widget: each change is posted to this dialog's thread, at most one
// pending update per radio. The dialog is modeless; closing it while radios are written cancels
// them, and it closes once they have ended.
class FleetDialog : public QDialog {
  Q_OBJECT

 public:
  // A port the user may check.
  struct PortChoice {
    QString name;         // "COM1", "/dev/ttyUSB0": what the report names
    QString device;       // the device opened
    QString description;  // "/dev/ttyS0", or the by-id name and product
  };

  // Gives the image to write when Start is pressed (a copy: the dialog
  // changes no document).
  using ImageSource = std::function<RadioImage()>;

  FleetDialog(ImageSource image_source, std::vector<PortChoice> ports, QWidget* parent);
  // Cancels a run and waits for its threads.
  ~FleetDialog() override;

  static QString Title();  // "Program Several Radios"
  // A radio's result as its row shows it once it ended (FleetResultText in
  // the window's language).
  static QString ResultText(const FleetRadioStatus& status);

  // Reads an identity list; on an error tells the user why (line and
  // column) and keeps the list it had. False then.
  bool LoadIdentities(const QString& path);
  // Starts the run with the checked ports; false (after a message) when no
  // port is checked, two are one device, or --strict finds the list and the
  // ports not matching.
  bool Start();
  // Every radio stops at its next step.
  void Cancel();
  bool Running() const { return run_ != nullptr && !finished_; }

  // --- What the user sees, for tests -------------------------------------
  int RowCount() const;
  void SetChecked(int row, bool checked);
  // The port of a row, as the report names it.
  QString RowPort(int row) const;
  // The Radio column as shown: "COM2 (Unit B)".
  QString RowRadio(int row) const;
  // The tooltip of a cell of the Device (1), Identity (2) or Result (4)
  // column.
  QString RowToolTip(int row, int column) const;
  QString RowIdentity(int row) const;
  QString RowResult(int row) const;
  int RowProgress(int row) const;
  // The findings of the identity list against the checked ports, one line
  // each; empty without a list or when they meet one to one.
  QStringList Findings() const;
  QSpinBox* RetriesBox() const { return retries_; }
  QCheckBox* AcceptTypeBox() const { return accept_type_; }
  QCheckBox* VerifyBox() const { return verify_; }
  QCheckBox* BackUpFirstBox() const { return back_up_first_; }
  QCheckBox* StrictBox() const { return strict_; }
  QPushButton* LoadButton() const { return load_; }
  QPushButton* StartButton() const { return start_; }
  QPushButton* CancelButton() const { return cancel_; }

  // --- Hooks for tests and automation ------------------------------------
  // Profile and ports of the transfers (see FleetOptions); the backups
  // (kept in DefaultBackupFolder() as for a single transfer), the backup
  // first and the verify are the dialog's own.
  void SetFleetOptions(FleetOptions options) { options_ = std::move(options); }
  // Asks for the identity list; an empty answer cancels. A file dialog by
  // default.
  using FileChooser = std::function<QString()>;
  void SetFileChooser(FileChooser chooser) { file_chooser_ = std::move(chooser); }
  // Where the file dialog of Load Identities... starts (the folder of the
  // user's own documents); asked each time it opens.
  using FolderSource = std::function<QString()>;
  void SetStartFolder(FolderSource folder) { start_folder_ = std::move(folder); }
  QString StartFolder() const { return start_folder_ ? start_folder_() : QString(); }

 signals:
  void RunStarted();
  // Every radio has ended; the results are in the table.
  void RunFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* MakeIntro();
  void BuildTable();
  void BuildListLabels();
  QHBoxLayout* BuildOptions();
  QHBoxLayout* BuildButtons();
  void LayOut(QLabel* intro, QHBoxLayout* retries_row, QHBoxLayout* buttons);
  void ChooseIdentities();
  // Opens with every row and column in view, as far as the screen allows.
  void FitInitialSize();
  // Shares the table's width among the columns (see the class comment).
  void FitColumns();
  // The width a column's header and cells need.
  int ContentWidth(int column) const;
  // A cell's text, and as its tooltip the text with `more` below it.
  void SetCellText(int row, int column, const QString& text, const QString& more = {});
  std::vector<FleetPort> CheckedPorts() const;
  std::vector<int> CheckedRows() const;
  // Renews the identity column and the findings for the checked ports.
  void UpdateIdentities();
  // Called on a radio's thread: posts one update of its row at a time.
  void PostChange(std::size_t radio);
  void ShowRadio(std::size_t radio);
  // The row's bar at `blocks`, and the count as its cell's accessible text.
  void ShowBlocks(int row, int blocks);
  void OnFinished();
  void UpdateButtons();

  const ImageSource image_source_;
  const std::vector<PortChoice> ports_;
  std::optional<IdentityList> identities_;
  QString identities_path_;
  QStringList findings_;

  FleetOptions options_;
  BackupStore backups_;
  FileChooser file_chooser_;
  FolderSource start_folder_;
  std::unique_ptr<FleetRun> run_;
  std::vector<int> run_rows_;  // the table row of each radio of the run
  std::unique_ptr<std::atomic<bool>[]> pending_;
  int run_generation_ = 0;  // set before a run's threads start, read by them
  bool finished_ = false;
  bool close_when_finished_ = false;

  QTableWidget* table_ = nullptr;
  QLabel* list_label_ = nullptr;
  QLabel* findings_label_ = nullptr;
  QSpinBox* retries_ = nullptr;
  QCheckBox* accept_type_ = nullptr;
  QCheckBox* verify_ = nullptr;
  QCheckBox* back_up_first_ = nullptr;
  QCheckBox* strict_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* start_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace zlm5
