// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/radio/radio_operations.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QSettings>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <span>
#include <utility>

#include "files/backup_store.h"
#include "files/file_saving.h"
#include "link/link_texts.h"
#include "link/serial_port.h"
#include "link/wire_trace.h"
#include "ui/app/app_names.h"
#include "ui/app/command_ids.h"
#include "ui/app/core_text_translation.h"
#include "ui/app/main_frame.h"
#include "ui/app/message_box.h"
#include "ui/app/translation.h"
#include "ui/dialogs/optional_features_dialog.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"
#include "ui/radio/port_texts.h"
#include "ui/radio/power_tuning_dialogs.h"
#include "ui/radio/progress_dialog.h"
#include "ui/radio/qt_link_host.h"

namespace zlm5 {
namespace id = command_id;

namespace {

constexpr auto kComCommands = std::to_array({id::kCom1, id::kCom2, id::kCom3, id::kCom4});

// Commands that reach the radio or replace the document: none of them may
// start while a radio operation runs.
// The four recent files are kRecentFile1 and the three ids after it.
constexpr auto kGuardedCommands = std::to_array(
    {id::kNew, id::kOpen, id::kSave, id::kSaveAs, id::kRecentFile1, id::kRecentFile1 + 1,
     id::kRecentFile1 + 2, id::kRecentFile1 + 3, id::kReadFromRadio, id::kWriteToRadio,
     id::kOptionalFeatures, id::kHighPowerDebug, id::kLowPowerDebug});
static_assert(id::kRecentFileCount == 4);

QString ComName(std::size_t index) {
  return QString::fromLatin1(kPortNames[index].data(),
                             static_cast<qsizetype>(kPortNames[index].size()));
}

// "COM1".."COM4" in capitals for any letter case; empty for anything else.
QString ComNameOf(const QString& text) {
  for (std::size_t i = 0; i < kPortNames.size(); ++i) {
    if (text.compare(ComName(i), Qt::CaseInsensitive) == 0) return ComName(i);
  }
  return {};
}

void ShowUnexpected(QWidget* parent, const char* what) {
  ShowMessage(
      parent,
      QCoreApplication::translate("zlm5::RadioOperations",
                                  "The radio operation stopped after an unexpected error: %1")
          .arg(QString::fromLocal8Bit(what)),
      QMessageBox::Critical);
}

// Runs `work` inside an event handler: an exception (none is expected) is
// shown to the user instead of leaving the handler. False when one was.
template <typename Work>
bool Guarded(QWidget* parent, Work&& work) {
  try {
    work();
    return true;
  } catch (const std::exception& e) {
    ShowUnexpected(parent, e.what());
  } catch (...) {
    ShowUnexpected(parent, "unknown error");
  }
  return false;
}

// The safeguards of a write, remembered across runs.
const QString kBackUpFirstKey = QStringLiteral("Settings/BackUpBeforeWriting");
const QString kVerifyKey = QStringLiteral("Settings/VerifyAfterWriting");
// A verify's differences shown in its message box; the rest are counted.
constexpr std::size_t kDifferencesShown = 20;

// A menu entry's text shows "&" literally.
QString MenuText(QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); }

QString Text(const std::string& text) { return QString::fromStdString(text); }

// What tells a device apart in the Port menu: its product, or that it is
// the machine's own UART, and its stable by-id name.
QString DeviceDetails(const SerialDevice& device) {
  QStringList parts;
  if (!device.product.empty()) {
    parts.append(Text(device.product));
  } else if (!IsUsbSerialDevice(device)) {
    parts.append(QCoreApplication::translate("zlm5::RadioOperations", "built-in serial port"));
  }
  if (!device.by_id.empty()) {
    parts.append(QStringLiteral("by-id: ") +
                 Text(std::filesystem::path(device.by_id).filename().string()));
  }
  return parts.join(QStringLiteral("; "));
}

// The path that chooses a device: its by-id name where udev made one, which
// leads to the adapter whatever ttyUSB number it gets when plugged in again.
const std::string& ChoicePath(const SerialDevice& device) {
  return device.by_id.empty() ? device.path : device.by_id;
}

}  // namespace

RadioOperations::RadioOperations(MainFrame& frame) : QObject(&frame), frame_(frame) {
  setObjectName(QStringLiteral("radioOperations"));
  device_lister_ = [] { return ListSerialDevices(); };
  for (int command : kComCommands) com_labels_.append(frame_.Action(command)->text());

  connect(frame_.Action(id::kReadFromRadio), &QAction::triggered, this,
          &RadioOperations::ReadFromRadio);
  connect(frame_.Action(id::kWriteToRadio), &QAction::triggered, this,
          &RadioOperations::WriteToRadio);
  connect(frame_.Action(id::kOptionalFeatures), &QAction::triggered, this,
          &RadioOperations::OptionalFeatures);
  connect(frame_.Action(id::kHighPowerDebug), &QAction::triggered, this,
          [this] { PowerDebug(TuningKind::kHighPower); });
  connect(frame_.Action(id::kLowPowerDebug), &QAction::triggered, this,
          [this] { PowerDebug(TuningKind::kLowPower); });

  for (std::size_t i = 0; i < kComCommands.size(); ++i) {
    QAction* action = frame_.Action(kComCommands[i]);
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, i] { SetPortName(ComName(i)); });
  }
  QMenu* menu = frame_.PortMenu();
  devices_separator_ = menu->addSeparator();
  other_port_ = menu->addAction(QString());
  other_port_->setObjectName(QStringLiteral("otherPort"));
  SetActionTexts(*other_port_, staticMetaObject.className(), QT_TR_NOOP("Other Port..."),
                 PortTexts::OtherPortPrompt());
  connect(other_port_, &QAction::triggered, this, &RadioOperations::ChooseOtherPort);
  connect(menu, &QMenu::aboutToShow, this, &RadioOperations::RefreshPortMenu);
  RefreshPortMenu();
  BuildSafeguards();

  frame_.installEventFilter(this);
}

RadioOperations::~RadioOperations() = default;

// ---------------------------------------------------------------------------
// Port

QString RadioOperations::OtherPortText() { return tr("Other Port..."); }

// The device of a name the core opens as a device of its own, as the core
// writes it: a device path on Linux; any COM port ("com12" as "COM12") or
// "\\.\" name on Windows. Empty for a COM name of the menu and for what is
// no port.
static QString OwnDevice(const QString& name) {
  if (!ComNameOf(name).isEmpty()) return {};
  const Result<std::string> device = ResolvePortName(name.toStdString(), PortTable{});
  return device ? Text(*device) : QString();
}

bool RadioOperations::IsPortName(const QString& name) {
  const QString trimmed = name.trimmed();
  return !ComNameOf(trimmed).isEmpty() || !OwnDevice(trimmed).isEmpty();
}

bool RadioOperations::SetPortName(const QString& name) {
  const QString trimmed = name.trimmed();
  QString chosen = ComNameOf(trimmed);
  if (chosen.isEmpty()) chosen = OwnDevice(trimmed);
  if (chosen.isEmpty()) {
    UpdatePortChecks();
    return false;
  }
  if (ComNameOf(chosen).isEmpty()) {
    if (!chosen_paths_.contains(chosen)) chosen_paths_.append(chosen);
    last_path_ = chosen;
  }
  const bool changed = chosen != port_name_;
  port_name_ = chosen;
  RefreshPortMenu();
  if (changed) emit PortChanged(port_name_);
  return true;
}

Result<std::string> RadioOperations::PortDevice() const {
  const std::string name = port_name_.toStdString();
  if (port_name_.startsWith(QLatin1Char('/'))) return name;
  Result<PortTable> table = LoadPortTable(PortSettingsPath());
  if (!table) return table.error();
  return ResolvePortName(name, *table);
}

void RadioOperations::SetDeviceLister(DeviceLister lister) {
  device_lister_ = std::move(lister);
  RefreshPortMenu();
}

bool RadioOperations::StandInForMissingPort() {
  const Result<std::string> device = PortDevice();
  if (!device || !device_lister_) return false;
  const std::optional<SerialDevice> stand_in =
      LoneUsbStandIn(SystemRoots{}, *device, device_lister_());
  if (!stand_in) return false;
  // "COM1 (/dev/ttyS0)" where the ports file maps the name; the name alone
  // where it is the device (a path, or a COM port of Windows).
  const QString missing = Text(*device) == port_name_
                              ? port_name_
                              : QStringLiteral("%1 (%2)").arg(port_name_, Text(*device));
  SetPortName(Text(ChoicePath(*stand_in)));
  QString using_text = Text(stand_in->path);
  if (const QString details = DeviceDetails(*stand_in); !details.isEmpty()) {
    using_text += QStringLiteral(" (%1)").arg(details);
  }
  frame_.View().ShowStatusText(
      tr("%1 is not there: using %2, the only USB serial device").arg(missing, using_text));
  return true;
}

void RadioOperations::RefreshPortMenu() {
  const std::vector<SerialDevice> devices =
      device_lister_ ? device_lister_() : std::vector<SerialDevice>{};
  UpdateComTexts(devices);

  struct Entry {
    QStringList paths;  // the path chosen first, then any other that leads there
    QString text;
  };
  QList<Entry> entries;
  for (const SerialDevice& device : devices) {
    // A port the system itself names COM1 to COM4 (Windows) is the COM
    // entry's.
    if (!ComNameOf(Text(device.path)).isEmpty()) continue;
    QString text = Text(device.path);
    if (const QString details = DeviceDetails(device); !details.isEmpty()) {
      text += QStringLiteral("  (%1)").arg(details);
    }
    QStringList paths = {Text(ChoicePath(device))};
    if (!device.by_id.empty()) paths.append(Text(device.path));
    entries.append({paths, MenuText(text)});
  }
  // The paths chosen in this session keep their entries, so the port in use
  // is always the one checked entry and a path typed once is one click away.
  for (const QString& path : chosen_paths_) {
    const bool listed = std::any_of(entries.begin(), entries.end(),
                                    [&](const Entry& e) { return e.paths.contains(path); });
    if (!listed) entries.append({{path}, MenuText(path)});
  }

  // The entries stay as they are while the devices do not change.
  bool same = entries.size() == device_actions_.size();
  for (qsizetype i = 0; same && i < entries.size(); ++i) {
    same = device_actions_[i]->data().toStringList() == entries[i].paths &&
           device_actions_[i]->text() == entries[i].text;
  }
  if (!same) {
    QMenu* menu = frame_.PortMenu();
    for (QAction* action : device_actions_) {
      menu->removeAction(action);
      action->deleteLater();
    }
    device_actions_.clear();
    for (const Entry& entry : entries) {
      const QString path = entry.paths.front();
      auto* action = new QAction(entry.text, menu);
      action->setData(entry.paths);
      action->setCheckable(true);
      action->setStatusTip(tr("Use the serial port %1").arg(path));
      connect(action, &QAction::triggered, this, [this, path] { SetPortName(path); });
      menu->insertAction(other_port_, action);
      device_actions_.append(action);
    }
  }
  UpdatePortChecks();
}

void RadioOperations::UpdateComTexts(const std::vector<SerialDevice>& devices) {
  // Without a readable ports file no COM name leads anywhere certain.
  const Result<PortTable> table = LoadPortTable(PortSettingsPath());
  for (std::size_t i = 0; i < kComCommands.size(); ++i) {
    QAction* action = frame_.Action(kComCommands[i]);
    const QString& label = com_labels_[static_cast<qsizetype>(i)];
    if (!table) {
      action->setText(label);
      continue;
    }
    const std::string& path = table->devices[i];
    QString state;
    const auto device = std::find_if(devices.begin(), devices.end(), [&](const SerialDevice& d) {
      return d.path == path || d.by_id == path;
    });
    if (device != devices.end()) {
      if (!device->product.empty()) state = QStringLiteral("(%1)").arg(Text(device->product));
    } else if (!SerialDeviceExists(SystemRoots{}, path)) {
      state = tr("(not present)");
    }
    // "COM1(&P)  →  /dev/ttyUSB0 (FTDI FT232R USB UART)\tCtrl+C" where the
    // ports file maps the name; "COM3(&S)  (USB Serial Port)\tCtrl+E" where
    // the name is the port itself (Windows).
    QString where;
    if (Text(path) != ComName(i)) {
      where = QStringLiteral("  \u2192  ") + MenuText(Text(path));
      if (!state.isEmpty()) state.prepend(QLatin1Char(' '));
    } else if (!state.isEmpty()) {
      state.prepend(QStringLiteral("  "));
    }
    const qsizetype tab = label.indexOf(QLatin1Char('\t'));
    action->setText(label.left(tab) + where + MenuText(state) +
                    (tab < 0 ? QString() : label.mid(tab)));
  }
}

void RadioOperations::UpdatePortChecks() {
  for (std::size_t i = 0; i < kComCommands.size(); ++i) {
    frame_.Action(kComCommands[i])->setChecked(port_name_ == ComName(i));
  }
  for (QAction* action : device_actions_) {
    action->setChecked(action->data().toStringList().contains(port_name_));
  }
}

void RadioOperations::ChooseOtherPort() {
  const QString suggestion = last_path_.isEmpty() ? PortTexts::Example() : last_path_;
  QString answer;
  if (port_prompt_) {
    answer = port_prompt_(suggestion);
  } else {
    bool ok = false;
    answer = QInputDialog::getText(&frame_, tr("Other Port"), PortTexts::Question(),
                                   QLineEdit::Normal, suggestion, &ok);
    if (!ok) answer.clear();
  }
  if (answer.trimmed().isEmpty()) return;
  if (!SetPortName(answer)) {
    ShowMessage(&frame_, PortTexts::NotAPort(answer.trimmed()));
  }
}

// ---------------------------------------------------------------------------
// Transfer

TransferProgressDialog* RadioOperations::ProgressDialog() const {
  return progress_ && !progress_->Destroyed() ? progress_.data() : nullptr;
}

void RadioOperations::ReadFromRadio() { OpenProgressDialog(TransferDirection::kRead); }

void RadioOperations::WriteToRadio() { OpenProgressDialog(TransferDirection::kWrite); }

void RadioOperations::ReadIntoScratch(ScratchReadDone done) {
  if (busy_ || (ProgressDialog() != nullptr && ProgressDialog()->Running())) return;
  OpenProgressDialog(TransferDirection::kRead);
  scratch_done_ = std::move(done);
}

void RadioOperations::OpenProgressDialog(TransferDirection direction) {
  // Once Start is pressed the direction is settled.
  if (busy_ || (ProgressDialog() != nullptr && ProgressDialog()->Running())) return;
  // The grid must hold what the user typed before it is encoded or replaced.
  frame_.View().CommitOpenEditor();
  direction_ = direction;
  scratch_done_ = nullptr;
  title_ = direction == TransferDirection::kRead ? TransferProgressDialog::ReadingTitle()
                                                 : TransferProgressDialog::WritingTitle();
  // An idle dialog stays as it is, caption included; Start uses the new
  // direction.
  if (ProgressDialog() != nullptr) return;

  auto* dialog = new TransferProgressDialog(title_, &frame_);
  progress_ = dialog;
  connect(dialog, &TransferProgressDialog::StartRequested, this, &RadioOperations::OnStartTransfer,
          Qt::QueuedConnection);
  connect(dialog, &TransferProgressDialog::Closed, this, [this, dialog] {
    if (progress_ == dialog) progress_ = nullptr;
  });
  dialog->CenterOver(&frame_.View().GridWidget());
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

void RadioOperations::OnStartTransfer() {
  TransferProgressDialog* dialog = ProgressDialog();
  if (dialog == nullptr || !dialog->Running()) return;
  // A tuning command is still talking to the radio: go on when it is done.
  if (busy_) {
    start_pending_ = true;
    return;
  }
  // Cancelled between the click and this turn of the event loop: the port
  // is not even opened.
  if (dialog->CancelRequested()) {
    dialog->Destroy();
    emit TransferFinished(TransferOutcome::kCancelled);
    return;
  }
  // A read for ReadIntoScratch lands in a copy of the document's image.
  const ScratchReadDone scratch_done = std::exchange(scratch_done_, nullptr);
  std::optional<RadioImage> scratch;
  if (scratch_done) scratch = frame_.Document().image();
  BeginBusy();
  SafeTransferReport report;
  QStringList notes;
  Guarded(&frame_, [&] {
    try {
      report = RunTransferNow(*dialog, scratch ? &*scratch : nullptr, notes);
    } catch (...) {
      // The message box must not count as an interruption.
      if (progress_) progress_->SetWatch(false);
      throw;
    }
  });
  if (progress_) progress_->Destroy();
  Guarded(&frame_, [&] { TellTransferEnd(report, notes); });
  EndBusy();
  const TransferOutcome outcome = report.Overall();
  emit TransferFinished(outcome);
  if (scratch_done && outcome == TransferOutcome::kCompleted && !close_pending_) {
    Guarded(&frame_, [&] { scratch_done(*scratch); });
  }
  if (close_pending_) {
    close_pending_ = false;
    QTimer::singleShot(0, &frame_, &QWidget::close);
  }
}

SafeTransferReport RadioOperations::RunTransferNow(TransferProgressDialog& dialog,
                                                   RadioImage* scratch, QStringList& notes) {
  QtTransferHost host(dialog);
  ChannelView& view = frame_.View();
  // A read is one undo step back to the image it replaces.
  const RadioImage image_before = frame_.Document().image();
  if (direction_ == TransferDirection::kWrite) {
    // A cell typed into while the dialog waited for Start is written as the
    // grid shows it. A message about its text takes the focus, which is no
    // interruption.
    host.SetWatch(false);
    view.CommitOpenEditor();
    host.SetWatch(true);
    // Before the port is opened: the image holds the grid even when the
    // transfer then fails.
    view.EncodeToImage();
  }

  SafeTransferReport report;
  report.direction = direction_;
  trace_log_.Clear();
  const Result<std::string> device = PortDevice();
  if (!device) {
    host.SetWatch(false);
    host.ReportPortOpenFailure(std::string(link_texts::kCouldNotOpenPort), device.error(), {});
    report.outcome = TransferOutcome::kPortUnavailable;
    return report;
  }
  const std::unique_ptr<SerialTransport> port = MakeTransport();
  TracingTransport transport(
      *port, trace_log_.stream(),
      transfer_options_.clock ? *transfer_options_.clock : SteadyLinkClock());
  RadioImage& image = scratch != nullptr ? *scratch : frame_.Document().image();

  BackupStore backups(DefaultBackupFolder());
  SafeTransferOptions options;
  options.transfer = transfer_options_;
  options.backups = &backups;
  // The safeguards belong to Write To Radio; a scratch read is a read.
  const bool write = direction_ == TransferDirection::kWrite;
  options.backup_first = write && back_up_first_->isChecked();
  options.verify = write && verify_->isChecked();
  // With more than one pass, the caption says which one runs.
  if (options.backup_first || options.verify) {
    options.on_pass = [shown = QPointer<TransferProgressDialog>(&dialog)](TransferPass pass) {
      if (!shown) return;
      shown->setWindowTitle(pass == TransferPass::kTransfer
                                ? TransferProgressDialog::WritingTitle()
                                : TransferProgressDialog::ReadingTitle());
    };
  }
  report = RunSafeTransfer(direction_, transport, *device, image, host, options);
  notes = host.notes();
  if (scratch == nullptr && direction_ == TransferDirection::kRead && report.Transferred()) {
    view.RefreshFromImage();
    // What came from the radio is in no file yet.
    view.MarkModified();
    view.RecordImageChange(tr("Read From Radio"), image_before);
  }
  return report;
}

void RadioOperations::TellTransferEnd(const SafeTransferReport& report, const QStringList& notes) {
  const std::vector<std::string> lines = SafeTransferSummary(report, kDifferencesShown);
  if (lines.empty() && notes.isEmpty()) return;
  // A note (a write the user cancelled in its blocks) is no failure to
  // answer: it goes to the status bar.
  QStringList texts = notes;
  for (const std::string& line : lines) texts.append(CoreTextShown(line));
  // Whatever went well, and a backup missing after a transfer that went
  // through, fit the status bar; a radio that may not hold what was
  // written, or a write stopped for want of the radio's backup, are told
  // in a box.
  const bool tell_in_box =
      (report.Transferred() && !report.Succeeded()) ||
      (report.last_pass == TransferPass::kBackupRead && !report.backup_errors.empty());
  if (!tell_in_box) {
    frame_.SetMessageText(texts.join(QStringLiteral("; ")));
    return;
  }
  frame_.SetMessageText(texts.first());
  ShowMessage(&frame_, texts.join(QLatin1Char('\n')));
}

// ---------------------------------------------------------------------------
// Safeguards: backups, verify, the communication log

void RadioOperations::BuildSafeguards() {
  QSettings& settings = frame_.Settings();
  // `label` and `prompt` are QT_TR_NOOP texts of RadioOperations.
  const auto make = [this](const char* name, const char* label, const char* prompt) {
    auto* action = new QAction(this);
    action->setObjectName(QString::fromLatin1(name));
    SetActionTexts(*action, staticMetaObject.className(), label, prompt);
    return action;
  };
  const auto remembered = [&settings](QAction* action, const QString& key) {
    action->setCheckable(true);
    action->setChecked(settings.value(key, false).toBool());
    connect(action, &QAction::toggled, action, [&settings, key](bool on) {
      settings.setValue(key, on);
      settings.sync();
    });
  };
  back_up_first_ = make("backUpFirst", QT_TR_NOOP("&Back Up Radio Before Writing"),
                        QT_TR_NOOP("Read the radio into a backup before each write; if that "
                                   "read fails, nothing is written"));
  remembered(back_up_first_, kBackUpFirstKey);
  verify_ = make("verifyAfterWriting", QT_TR_NOOP("&Verify After Writing"),
                 QT_TR_NOOP("Read the radio back after each write and list what it does not "
                            "hold as written"));
  remembered(verify_, kVerifyKey);
  open_backup_ = make("openBackup", QT_TR_NOOP("Open &Backup..."),
                      QT_TR_NOOP("Open a copy of what a read or a write moved"));
  save_log_ = make("saveCommunicationLog", QT_TR_NOOP("Save &Communication Log..."),
                   QT_TR_NOOP("Save every byte of the last radio session to a file, for a "
                              "bug report"));
  save_log_->setEnabled(false);
  connect(open_backup_, &QAction::triggered, this, &RadioOperations::OpenBackup);
  connect(save_log_, &QAction::triggered, this, &RadioOperations::SaveCommunicationLog);

  // Program: right after Write To Radio, in its group.
  QMenu* program = frame_.ProgramMenu();
  const QList<QAction*> programs = program->actions();
  const qsizetype write = programs.indexOf(frame_.Action(id::kWriteToRadio));
  QAction* after_write = write >= 0 && write + 1 < programs.size() ? programs[write + 1] : nullptr;
  program->insertAction(after_write, back_up_first_);
  program->insertAction(after_write, verify_);
  // File: after Open....
  QMenu* file = frame_.FileMenu();
  const QList<QAction*> files = file->actions();
  const qsizetype open = files.indexOf(frame_.Action(id::kOpen));
  file->insertAction(open >= 0 && open + 1 < files.size() ? files[open + 1] : nullptr,
                     open_backup_);
  // Help: before About, in a group of its own.
  QMenu* help = frame_.HelpMenu();
  QAction* about = frame_.Action(id::kAbout);
  help->insertAction(about, save_log_);
  help->insertSeparator(about);
}

QString RadioOperations::ChooseFile(FileKind kind, const QString& start) {
  if (file_chooser_) return file_chooser_(kind, start);
  const bool backup = kind == FileKind::kBackup;
  QFileDialog dialog(&frame_, backup ? tr("Open Backup") : tr("Save Communication Log"));
  if (backup) {
    dialog.setNameFilters({app_names::FileFilter(), tr("All Files (*)")});
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDirectory(start);
  } else {
    dialog.setNameFilters({tr("Text Files (*.txt)"), tr("All Files (*)")});
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    // With the user's own documents, not in the backups folder.
    dialog.setDirectory(frame_.DocumentFolder());
    dialog.selectFile(start);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

void RadioOperations::OpenBackup() {
  if (busy_) return;
  const QString path = ChooseFile(FileKind::kBackup, QString::fromStdString(DefaultBackupFolder()));
  if (!path.isEmpty()) frame_.OpenDocumentFile(path);
}

bool RadioOperations::SaveCommunicationLog() {
  if (busy_ || trace_log_.empty()) return false;
  const QString path =
      ChooseFile(FileKind::kCommunicationLog, QStringLiteral("z-lm5-communication.txt"));
  if (path.isEmpty()) return false;
  const std::string text = trace_log_.Text();
  const Status saved =
      SaveFile(path.toStdString(),
               std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  if (!saved) {
    ShowMessage(&frame_, tr("The communication log could not be saved.\n\n%1")
                             .arg(QString::fromStdString(saved.error().Message())));
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// Optional Features and power tuning

void RadioOperations::OptionalFeatures() {
  if (busy_) return;
  Guarded(&frame_, [this] {
    const RadioImage image_before = frame_.Document().image();
    OptionalFeaturesDialog dialog(frame_.Document().image(), &frame_);
    if (RunModal(dialog) == QDialog::Accepted) {
      frame_.View().MarkModified();
      frame_.View().RecordImageChange(tr("Optional Features"), image_before);
    }
  });
}

void RadioOperations::PowerDebug(TuningKind kind) {
  if (busy_) return;
  BeginBusy();
  Guarded(&frame_, [this, kind] { RunPowerDebug(kind); });
  EndBusy();
}

void RadioOperations::RunPowerDebug(TuningKind kind) {
  PowerDebugDialog dialog(kind, &frame_.View());
  QtTuningHost host(dialog);
  const Result<std::string> device = PortDevice();
  if (!device) {
    host.ReportPortOpenFailure(std::string(link_texts::kCouldNotOpenPort), device.error(), {});
    return;
  }
  trace_log_.Clear();
  const std::unique_ptr<SerialTransport> port = MakeTransport();
  TracingTransport transport(*port, trace_log_.stream(),
                             tuning_options_.clock ? *tuning_options_.clock : SteadyLinkClock());
  TuningSession session(kind, transport, host, tuning_options_);
  RadioImage& image = frame_.Document().image();
  if (session.Enter(*device, image) != EnterOutcome::kEntered) return;

  dialog.Open(image.at(session.function().image_offset));
  // The exchanges run inside these handlers; nothing may escape them.
  connect(&dialog, &PowerDebugDialog::ScrollEnded, &dialog, [this, &session](int position) {
    Guarded(&frame_, [&] { session.RequestChange(position); });
  });
  connect(&dialog, &PowerDebugDialog::ExitRequested, &dialog, [this, &session, &dialog] {
    if (!Guarded(&frame_, [&] { session.RequestExit(); })) dialog.End();
  });
  RunModal(dialog);
  // Leaving this function closes the port if the leave exchange did not.
}

int RadioOperations::RunModal(QDialog& dialog) {
  if (dialog_hook_) {
    QTimer::singleShot(0, &dialog, [this, &dialog] {
      if (dialog_hook_) dialog_hook_(dialog);
    });
  }
  return dialog.exec();
}

// ---------------------------------------------------------------------------
// Guards

void RadioOperations::SetTransportFactory(TransportFactory factory) {
  transport_factory_ = std::move(factory);
}

std::unique_ptr<SerialTransport> RadioOperations::MakeTransport() const {
  if (transport_factory_) return transport_factory_();
  return std::make_unique<SerialPort>();
}

void RadioOperations::BeginBusy() {
  busy_ = true;
  disabled_.clear();
  QList<QAction*> guarded = {open_backup_, save_log_};
  for (int command : kGuardedCommands) guarded.append(frame_.Action(command));
  for (QAction* action : guarded) {
    if (action == nullptr) continue;
    disabled_.append({QPointer<QAction>(action), action->isEnabled()});
    action->setEnabled(false);
  }
}

void RadioOperations::EndBusy() {
  for (const auto& [action, enabled] : disabled_) {
    if (action) action->setEnabled(enabled);
  }
  disabled_.clear();
  busy_ = false;
  // The session just ended has left its trace.
  save_log_->setEnabled(!trace_log_.empty());
  if (start_pending_) {
    start_pending_ = false;
    QTimer::singleShot(0, this, &RadioOperations::OnStartTransfer);
  }
}

bool RadioOperations::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &frame_ && busy_) {
    switch (event->type()) {
      case QEvent::Close:
        // The transfer ends first (as by Cancel); the window closes after.
        event->ignore();
        if (TransferProgressDialog* dialog = ProgressDialog(); dialog && dialog->Running()) {
          dialog->Cancel();
          close_pending_ = true;
        }
        return true;
      case QEvent::DragEnter:
      case QEvent::DragMove:
      case QEvent::Drop:
        event->ignore();
        return true;
      default:
        break;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace zlm5
