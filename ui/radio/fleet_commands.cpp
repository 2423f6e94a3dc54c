// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/radio/fleet_commands.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <filesystem>

#include "link/port_names.h"
#include "model/channel_codec.h"
#include "ui/app/command_ids.h"
#include "ui/app/main_frame.h"
#include "ui/app/translation.h"
#include "ui/grid/channel_view.h"
#include "ui/radio/fleet_dialog.h"
#include "ui/radio/radio_operations.h"

namespace zlm5 {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// What the user needs to tell the devices apart, and what keeps one from
// being used.
QString DeviceDescription(const SerialDevice& device) {
  QStringList parts;
  if (!device.by_id.empty()) {
    parts.append(Text(std::filesystem::path(device.by_id).filename().string()));
  }
  if (!device.product.empty()) parts.append(Text(device.product));
  // Where access is not known before an open (Windows), the open will say.
  if (!device.access.can_open && device.access.known) {
    parts.append(QCoreApplication::translate("zlm5::FleetCommands", "cannot be opened: %1")
                     .arg(Text(device.access.problem)));
  }
  for (const ProcessRef& holder : device.holders) {
    parts.append(QCoreApplication::translate("zlm5::FleetCommands", "in use by %1 (PID %2)")
                     .arg(Text(holder.name))
                     .arg(holder.pid));
  }
  return parts.join(QStringLiteral("; "));
}

}  // namespace

FleetCommands::FleetCommands(MainFrame& frame, RadioOperations& radio)
    : QObject(&frame), frame_(frame), radio_(radio) {
  setObjectName(QStringLiteral("fleetCommands"));
  device_lister_ = [] {
    return SurveySerialDevices(SystemRoots{}, UserIdentity::Current()).devices;
  };

  QMenu* menu = frame_.ProgramMenu();
  action_ = new QAction(menu);
  action_->setObjectName(QStringLiteral("programSeveralRadios"));
  SetActionTexts(*action_, staticMetaObject.className(), QT_TR_NOOP("Program &Several Radios..."),
                 QT_TR_NOOP("Write the channels to several radios at once, each with its own "
                            "identity"));
  // Right after Write To Radio.
  const QList<QAction*> actions = menu->actions();
  const qsizetype write = actions.indexOf(frame_.Action(command_id::kWriteToRadio));
  QAction* before = write >= 0 && write + 1 < actions.size() ? actions[write + 1] : nullptr;
  menu->insertAction(before, action_);
  connect(action_, &QAction::triggered, this, &FleetCommands::ProgramSeveralRadios);
  connect(menu, &QMenu::aboutToShow, this, &FleetCommands::UpdateEnabled);

  frame_.installEventFilter(this);
}

FleetDialog* FleetCommands::Dialog() const { return dialog_.data(); }

void FleetCommands::UpdateEnabled() { action_->setEnabled(running_ || !radio_.Busy()); }

void FleetCommands::ProgramSeveralRadios() {
  if (dialog_) {
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
    return;
  }
  if (radio_.Busy()) return;

  std::vector<FleetDialog::PortChoice> ports;
  const std::vector<SerialDevice> devices = device_lister_();
  // COM names only as the ports file maps them: a file that cannot be read
  // might send a COM name to the wrong device. A port the system itself
  // names COM1 to COM4 (Windows) is that row's, described as it is listed.
  if (Result<PortTable> table = LoadPortTable(PortSettingsPath())) {
    for (std::size_t i = 0; i < kPortNames.size(); ++i) {
      const QString device = Text(table->devices[i]);
      const auto listed = std::find_if(devices.begin(), devices.end(), [&](const SerialDevice& d) {
        return d.path == kPortNames[i];
      });
      const QString description = listed == devices.end() ? device : DeviceDescription(*listed);
      ports.push_back({Text(std::string(kPortNames[i])), device, description});
    }
  }
  for (const SerialDevice& device : devices) {
    if (std::find(kPortNames.begin(), kPortNames.end(), device.path) != kPortNames.end()) continue;
    ports.push_back({Text(device.path), Text(device.path), DeviceDescription(device)});
  }
  // Every other port the Port menu offers: a path chosen in this session
  // (typed under Other Port..., a device since unplugged).
  for (const QString& path : radio_.ChosenPortPaths()) {
    const std::string chosen = path.toStdString();
    const bool listed = std::any_of(devices.begin(), devices.end(), [&](const SerialDevice& d) {
      return d.path == chosen || d.by_id == chosen;
    });
    if (listed) continue;
    const QString description =
        SerialDeviceExists(SystemRoots{}, chosen)
            ? QString()
            : QCoreApplication::translate("zlm5::FleetCommands", "not present");
    ports.push_back({path, path, description});
  }

  // What Write To Radio would send, taken when Start is pressed.
  const auto image_source = [this] {
    frame_.View().CommitOpenEditor();
    RadioImage image = frame_.Document().image();
    GridToImage(frame_.View().Grid(), image);
    return image;
  };
  auto* dialog = new FleetDialog(image_source, std::move(ports), &frame_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->SetFleetOptions(options_);
  // Load Identities... starts with the user's own documents.
  dialog->SetStartFolder([this] { return frame_.DocumentFolder(); });
  // The safeguards start as the window's own are set.
  dialog->BackUpFirstBox()->setChecked(radio_.BackUpFirstAction()->isChecked());
  dialog->VerifyBox()->setChecked(radio_.VerifyAction()->isChecked());
  connect(dialog, &FleetDialog::RunStarted, this, [this] {
    running_ = true;
    radio_.BeginBusy();
  });
  connect(dialog, &FleetDialog::RunFinished, this, [this] {
    running_ = false;
    radio_.EndBusy();
    if (close_pending_) {
      close_pending_ = false;
      QTimer::singleShot(0, &frame_, &QWidget::close);
    }
  });
  dialog_ = dialog;
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

bool FleetCommands::eventFilter(QObject* watched, QEvent* event) {
  // Before the radio operations' own filter, which would only refuse it.
  if (watched == &frame_ && event->type() == QEvent::Close && running_ && dialog_) {
    dialog_->Cancel();
    close_pending_ = true;
    event->ignore();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace zlm5
