#include "ui/radio_operations.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QInputDialog>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <utility>

#include "link/link_texts.h"
#include "link/serial_port.h"
#include "ui/channel_view.h"
#include "ui/command_ids.h"
#include "ui/grid_control.h"
#include "ui/main_frame.h"
#include "ui/message_box.h"
#include "ui/optional_features_dialog.h"
#include "ui/power_tuning_dialogs.h"
#include "ui/progress_dialog.h"
#include "ui/qt_link_host.h"

namespace zlm5 {
namespace id = command_id;

namespace {

constexpr std::array<int, 4> kComCommands = {id::kCom1, id::kCom2, id::kCom3, id::kCom4};

// Commands that reach the radio or replace the document: none of them may
// start while a radio operation runs.
constexpr std::array<int, 13> kGuardedCommands = {
    id::kNew,           id::kOpen,           id::kSave,           id::kSaveAs,
    id::kRecentFile1,   id::kRecentFile1 + 1, id::kRecentFile1 + 2, id::kRecentFile1 + 3,
    id::kReadFromRadio, id::kWriteToRadio,   id::kOptionalFeatures, id::kHighPowerDebug,
    id::kLowPowerDebug};

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
  ShowMessage(parent,
              QStringLiteral("The radio operation stopped after an unexpected error: %1")
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

// A menu entry's text shows "&" literally.
QString MenuText(QString text) { return text.replace(QLatin1Char('&'), QStringLiteral("&&")); }

}  // namespace

RadioOperations::RadioOperations(MainFrame& frame) : QObject(&frame), frame_(frame) {
  setObjectName(QStringLiteral("radioOperations"));
  device_lister_ = [] { return ListSerialDevices(); };

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
  other_port_ = menu->addAction(OtherPortText());
  other_port_->setObjectName(QStringLiteral("otherPort"));
  other_port_->setStatusTip(QStringLiteral("Type the device path of a serial port"));
  connect(other_port_, &QAction::triggered, this, &RadioOperations::ChooseOtherPort);
  connect(menu, &QMenu::aboutToShow, this, &RadioOperations::RefreshPortMenu);
  RefreshPortMenu();

  frame_.installEventFilter(this);
}

RadioOperations::~RadioOperations() = default;

// ---------------------------------------------------------------------------
// Port

QString RadioOperations::OtherPortText() { return QStringLiteral("Other Port..."); }

bool RadioOperations::IsPortName(const QString& name) {
  const QString trimmed = name.trimmed();
  return !ComNameOf(trimmed).isEmpty() || trimmed.startsWith(QLatin1Char('/'));
}

bool RadioOperations::SetPortName(const QString& name) {
  const QString trimmed = name.trimmed();
  QString chosen = ComNameOf(trimmed);
  if (chosen.isEmpty() && trimmed.startsWith(QLatin1Char('/'))) chosen = trimmed;
  if (chosen.isEmpty()) {
    UpdatePortChecks();
    return false;
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

void RadioOperations::RefreshPortMenu() {
  std::vector<SerialDeviceInfo> devices = device_lister_ ? device_lister_()
                                                         : std::vector<SerialDeviceInfo>{};
  // A typed path that is not among the devices present gets an entry of its
  // own, so the port in use is always the one checked entry.
  const bool path_chosen = port_name_.startsWith(QLatin1Char('/'));
  const bool listed = std::any_of(devices.begin(), devices.end(), [this](const auto& d) {
    return QString::fromStdString(d.path) == port_name_;
  });
  if (path_chosen && !listed) devices.push_back({port_name_.toStdString(), std::string()});

  QList<QPair<QString, QString>> entries;  // path, menu text
  for (const SerialDeviceInfo& device : devices) {
    const QString path = QString::fromStdString(device.path);
    QString text = path;
    if (!device.description.empty()) {
      text += QStringLiteral("  (%1)").arg(QString::fromStdString(device.description));
    }
    entries.append({path, MenuText(text)});
  }

  // The entries stay as they are while the devices do not change.
  bool same = entries.size() == device_actions_.size();
  for (qsizetype i = 0; same && i < entries.size(); ++i) {
    same = device_actions_[i]->data().toString() == entries[i].first &&
           device_actions_[i]->text() == entries[i].second;
  }
  if (!same) {
    QMenu* menu = frame_.PortMenu();
    for (QAction* action : device_actions_) {
      menu->removeAction(action);
      action->deleteLater();
    }
    device_actions_.clear();
    for (const auto& [path, text] : entries) {
      auto* action = new QAction(text, menu);
      action->setData(path);
      action->setCheckable(true);
      action->setStatusTip(QStringLiteral("Use the serial port %1").arg(path));
      connect(action, &QAction::triggered, this, [this, path] { SetPortName(path); });
      menu->insertAction(other_port_, action);
      device_actions_.append(action);
    }
  }
  UpdatePortChecks();
}

void RadioOperations::UpdatePortChecks() {
  for (std::size_t i = 0; i < kComCommands.size(); ++i) {
    frame_.Action(kComCommands[i])->setChecked(port_name_ == ComName(i));
  }
  for (QAction* action : device_actions_) {
    action->setChecked(action->data().toString() == port_name_);
  }
}

void RadioOperations::ChooseOtherPort() {
  QString answer;
  if (port_prompt_) {
    answer = port_prompt_(port_name_);
  } else {
    bool ok = false;
    const QString suggestion =
        port_name_.startsWith(QLatin1Char('/')) ? port_name_ : QStringLiteral("/dev/ttyUSB0");
    answer = QInputDialog::getText(&frame_, QStringLiteral("Other Port"),
                                   QStringLiteral("Device path of the serial port:"),
                                   QLineEdit::Normal, suggestion, &ok);
    if (!ok) answer.clear();
  }
  if (answer.trimmed().isEmpty()) return;
  if (!SetPortName(answer)) {
    ShowMessage(&frame_,
                QStringLiteral("\"%1\" is not a serial port.\n\nType a device path such as "
                               "/dev/ttyUSB0, or choose COM1 to COM4.")
                    .arg(answer.trimmed()));
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
  TransferOutcome outcome = TransferOutcome::kFailed;
  Guarded(&frame_, [&] {
    try {
      outcome = RunTransferNow(*dialog, scratch ? &*scratch : nullptr);
    } catch (...) {
      // The message box must not count as an interruption.
      if (progress_) progress_->SetWatch(false);
      throw;
    }
  });
  if (progress_) progress_->Destroy();
  EndBusy();
  emit TransferFinished(outcome);
  if (scratch_done && outcome == TransferOutcome::kCompleted && !close_pending_) {
    Guarded(&frame_, [&] { scratch_done(*scratch); });
  }
  if (close_pending_) {
    close_pending_ = false;
    QTimer::singleShot(0, &frame_, &QWidget::close);
  }
}

TransferOutcome RadioOperations::RunTransferNow(TransferProgressDialog& dialog,
                                                RadioImage* scratch) {
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

  const Result<std::string> device = PortDevice();
  if (!device) {
    host.SetWatch(false);
    host.ReportPortOpenFailure(std::string(link_texts::kCouldNotOpenPort), device.error(), {});
    return TransferOutcome::kPortUnavailable;
  }
  const std::unique_ptr<SerialTransport> transport = MakeTransport();
  RadioImage& image = scratch != nullptr ? *scratch : frame_.Document().image();
  const TransferOutcome outcome =
      RunTransfer(direction_, *transport, *device, image, host, transfer_options_);
  if (scratch == nullptr && direction_ == TransferDirection::kRead &&
      outcome == TransferOutcome::kCompleted) {
    view.RefreshFromImage();
    // What came from the radio is in no file yet.
    view.MarkModified();
    view.RecordImageChange(QStringLiteral("Read From Radio"), image_before);
  }
  return outcome;
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
      frame_.View().RecordImageChange(QStringLiteral("Optional Features"), image_before);
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
  const std::unique_ptr<SerialTransport> transport = MakeTransport();
  TuningSession session(kind, *transport, host, tuning_options_);
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
  for (int command : kGuardedCommands) {
    QAction* action = frame_.Action(command);
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
