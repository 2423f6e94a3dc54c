// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/radio/fleet_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <numeric>

#include "files/file_reading.h"
#include "link/fleet_report.h"
#include "link/port_names.h"
#include "ui/app/core_text_translation.h"
#include "ui/app/message_box.h"

namespace zlm5 {
namespace {

enum Column { kPortColumn, kDeviceColumn, kIdentityColumn, kProgressColumn, kResultColumn };
constexpr int kColumnCount = 5;
constexpr int kMaxRetries = 99;
// The least the dialog opens with: room for the five columns of a few
// radios and the options below them. It opens larger when its rows or its
// texts need it, within the screen.
constexpr QSize kInitialSize(760, 420);
// What the window manager adds around the dialog.
constexpr QSize kWindowFrameRoom(40, 60);
// The columns that share the width left beside Radio and Progress, each up
// to what its texts need; a text cut short shows whole as its tooltip.
constexpr std::array kSharedColumns = {kDeviceColumn, kIdentityColumn, kResultColumn};

// Widths for texts that want `wants` pixels each in `available` pixels:
// each gets what it wants while that is no more than an even share of what
// is left; the others share the rest evenly. What no one wants goes to the
// last.
template <std::size_t N>
std::array<int, N> ShareWidth(const std::array<int, N>& wants, int available) {
  std::array<std::size_t, N> order{};
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return wants[a] < wants[b]; });
  std::array<int, N> widths{};
  int left = std::max(available, 0);
  for (std::size_t k = 0; k < N; ++k) {
    const int share = left / static_cast<int>(N - k);
    widths[order[k]] = std::min(wants[order[k]], share);
    left -= widths[order[k]];
  }
  widths[N - 1] += left;
  return widths;
}

// COM names in a list's rows map through the ports file; an unreadable
// file maps them as the defaults do (the ports themselves were resolved
// when the dialog was made).
PortTable CurrentPortTable() {
  Result<PortTable> table = LoadPortTable(PortSettingsPath());
  return table ? *table : PortTable{};
}

// A radio's message on one line, in the window's language.
QString OneLineShown(const std::string& message) {
  return QString::fromStdString(OneLineMessage(CoreTextShown(message).toStdString()));
}

QString StageText(const FleetRadioStatus& s) {
  switch (s.stage) {
    case FleetStage::kStarting:
      return FleetDialog::tr("Starting");
    case FleetStage::kBackingUp:
      return FleetDialog::tr("Reading into a backup");
    case FleetStage::kConnecting:
      if (!s.messages.empty() && s.messages.back().answer == MessageAnswer::kRetry) {
        return OneLineShown(s.messages.back().text) + QLatin1Char(' ') +
               FleetDialog::tr("(retrying)");
      }
      return CoreTextShown(s.status);
    case FleetStage::kBlocks:
      return FleetDialog::tr("Writing");
    case FleetStage::kVerifying:
      return FleetDialog::tr("Reading back to verify");
    case FleetStage::kEnded:
      return FleetDialog::ResultText(s);
  }
  return {};
}

QString IdentityText(const AppliedIdentity& applied) {
  QString text = CoreTextShown(applied.Summary());
  for (std::size_t i = 0; i < applied.notes.size(); ++i) {
    text +=
        (i == 0 ? QStringLiteral(" (") : QStringLiteral("; ")) + CoreTextShown(applied.notes[i]);
  }
  if (!applied.notes.empty()) text += QLatin1Char(')');
  return text;
}

}  // namespace

QString FleetDialog::Title() { return tr("Program Several Radios"); }

// The radio's message, the differences and the backup errors are shown
// first, then the words the core puts around them.
QString FleetDialog::ResultText(const FleetRadioStatus& status) {
  FleetRadioStatus shown = status;
  const auto in_window = [](std::string& text) { text = CoreTextShown(text).toStdString(); };
  in_window(shown.message);
  for (std::string& difference : shown.differences) in_window(difference);
  for (std::string& error : shown.backup_errors) in_window(error);
  return CoreTextShown(FleetResultText(shown));
}

FleetDialog::FleetDialog(ImageSource image_source, std::vector<PortChoice> ports, QWidget* parent)
    : QDialog(parent),
      image_source_(std::move(image_source)),
      ports_(std::move(ports)),
      backups_(DefaultBackupFolder()) {
  setObjectName(QStringLiteral("fleetDialog"));
  setWindowTitle(Title());
  setModal(false);

  QLabel* intro = MakeIntro();
  table_ = new QTableWidget(this);
  table_->setObjectName(QStringLiteral("fleetTable"));
  table_->setAccessibleName(tr("Radios"));
  // Tab leaves the table for the buttons; the arrows move inside it.
  table_->setTabKeyNavigation(false);
  BuildTable();

  BuildListLabels();
  QHBoxLayout* retries_row = BuildOptions();
  QHBoxLayout* buttons = BuildButtons();
  LayOut(intro, retries_row, buttons);

  connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() == kPortColumn && !Running()) UpdateIdentities();
  });
  UpdateIdentities();
  UpdateButtons();
  // The viewport has its new size when its own resize event comes.
  table_->viewport()->installEventFilter(this);
  FitInitialSize();
}

void FleetDialog::FitInitialSize() {
  QHeaderView* header = table_->horizontalHeader();
  int columns = 0;
  for (int column = 0; column < kColumnCount; ++column) columns += ContentWidth(column);
  // Every row in view, and every column as wide as its texts.
  const int table_width = columns + 2 * table_->frameWidth();
  const int table_height = header->sizeHint().height() +
                           RowCount() * table_->verticalHeader()->defaultSectionSize() +
                           2 * table_->frameWidth();
  QLayout* box = layout();
  box->activate();
  const QMargins margins = box->contentsMargins();
  const QScreen* shown_on = parentWidget() != nullptr ? parentWidget()->screen() : screen();
  const QSize room = shown_on != nullptr ? shown_on->availableGeometry().size() - kWindowFrameRoom
                                         : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  const int width =
      std::min(std::max({kInitialSize.width(), table_width + margins.left() + margins.right(),
                         minimumSizeHint().width()}),
               room.width());
  const int others = box->totalHeightForWidth(width) - table_->sizeHint().height();
  const int height =
      std::min(std::max(kInitialSize.height(), others + table_height), room.height());
  resize(width, height);
  FitColumns();
}

int FleetDialog::ContentWidth(int column) const {
  // The header's and the cells' widths, as resizing to contents finds them.
  table_->resizeColumnToContents(column);
  return table_->horizontalHeader()->sectionSize(column);
}

void FleetDialog::FitColumns() {
  QHeaderView* header = table_->horizontalHeader();
  for (const int column : {kPortColumn, kProgressColumn}) table_->resizeColumnToContents(column);
  std::array<int, kSharedColumns.size()> wants{};
  for (std::size_t i = 0; i < kSharedColumns.size(); ++i) {
    wants[i] = ContentWidth(kSharedColumns[i]);
  }
  const int available = table_->viewport()->width() - header->sectionSize(kPortColumn) -
                        header->sectionSize(kProgressColumn);
  const auto widths = ShareWidth(wants, available);
  for (std::size_t i = 0; i < kSharedColumns.size(); ++i) {
    header->resizeSection(kSharedColumns[i], widths[i]);
  }
}

bool FleetDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_->viewport() && event->type() == QEvent::Resize) FitColumns();
  return QDialog::eventFilter(watched, event);
}

QLabel* FleetDialog::MakeIntro() {
  auto* intro =
      new QLabel(tr("Writes the document, as the window shows it, to the radio on every "
                    "checked port at once. Each radio gets its own Radio ID, Call ID and ANI "
                    "from an identity list, when one is loaded."),
                 this);
  intro->setWordWrap(true);
  return intro;
}

void FleetDialog::BuildListLabels() {
  list_label_ = new QLabel(tr("No identity list: every radio gets the document's identity."), this);
  list_label_->setWordWrap(true);
  findings_label_ = new QLabel(this);
  findings_label_->setObjectName(QStringLiteral("fleetFindings"));
  findings_label_->setWordWrap(true);
  findings_label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

// The answers given ahead and the safeguards; returns the retries row.
QHBoxLayout* FleetDialog::BuildOptions() {
  retries_ = new QSpinBox(this);
  retries_->setRange(0, kMaxRetries);
  retries_->setSuffix(tr(" times"));
  auto* retries_label = new QLabel(tr("After a communication error, &retry"), this);
  retries_label->setBuddy(retries_);
  accept_type_ = new QCheckBox(tr("Write to a radio of another &type"), this);
  back_up_first_ = new QCheckBox(tr("&Back up each radio before writing it"), this);
  verify_ = new QCheckBox(tr("&Verify after writing"), this);
  strict_ = new QCheckBox(tr("Start only when every checked radio has a row of the "
                             "list, and every row a checked radio"),
                          this);

  auto* retries_row = new QHBoxLayout;
  retries_row->addWidget(retries_label);
  retries_row->addWidget(retries_);
  retries_row->addStretch();
  return retries_row;
}

QHBoxLayout* FleetDialog::BuildButtons() {
  load_ = new QPushButton(tr("&Load Identities..."), this);
  start_ = new QPushButton(tr("&Start"), this);
  cancel_ = new QPushButton(tr("Cancel"), this);
  close_ = new QPushButton(tr("Close"), this);
  start_->setDefault(true);
  connect(load_, &QPushButton::clicked, this, &FleetDialog::ChooseIdentities);
  connect(start_, &QPushButton::clicked, this, [this] { Start(); });
  connect(cancel_, &QPushButton::clicked, this, &FleetDialog::Cancel);
  connect(close_, &QPushButton::clicked, this, &QDialog::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(load_);
  buttons->addStretch();
  buttons->addWidget(start_);
  buttons->addWidget(cancel_);
  buttons->addWidget(close_);
  return buttons;
}

void FleetDialog::LayOut(QLabel* intro, QHBoxLayout* retries_row, QHBoxLayout* buttons) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addWidget(table_, 1);
  layout->addWidget(list_label_);
  layout->addWidget(findings_label_);
  layout->addLayout(retries_row);
  layout->addWidget(accept_type_);
  layout->addWidget(back_up_first_);
  layout->addWidget(verify_);
  layout->addWidget(strict_);
  layout->addLayout(buttons);
}

FleetDialog::~FleetDialog() {
  if (run_) {
    run_->Cancel();
    run_->Wait();
  }
}

void FleetDialog::BuildTable() {
  table_->setColumnCount(kColumnCount);
  table_->setHorizontalHeaderLabels(
      {tr("Radio"), tr("Device"), tr("Identity"), tr("Progress"), tr("Result")});
  table_->setRowCount(static_cast<int>(ports_.size()));
  table_->verticalHeader()->hide();
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const QSignalBlocker quiet(table_);
  for (int row = 0; row < table_->rowCount(); ++row) {
    const PortChoice& port = ports_[static_cast<std::size_t>(row)];
    auto* name = new QTableWidgetItem(port.name);
    name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    name->setCheckState(Qt::Unchecked);
    table_->setItem(row, kPortColumn, name);
    auto* device = new QTableWidgetItem(port.description);
    device->setToolTip(port.description);
    table_->setItem(row, kDeviceColumn, device);
    table_->setItem(row, kIdentityColumn, new QTableWidgetItem);
    auto* bar = new QProgressBar(table_);
    bar->setRange(0, transfer_limits::kBlockCount);
    bar->setValue(0);
    bar->setFormat(QStringLiteral("%v/%m"));
    bar->setAccessibleName(tr("Progress"));
    // The bar is drawn over the cell; assistive technology reads the cell.
    table_->setItem(row, kProgressColumn, new QTableWidgetItem);
    table_->setCellWidget(row, kProgressColumn, bar);
    ShowBlocks(row, 0);
    table_->setItem(row, kResultColumn, new QTableWidgetItem);
  }
  // FitColumns sets the widths whenever the table's size or texts change.
  table_->horizontalHeader()->setStretchLastSection(false);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

// ---------------------------------------------------------------------------
// Rows

int FleetDialog::RowCount() const { return table_->rowCount(); }

void FleetDialog::SetChecked(int row, bool checked) {
  table_->item(row, kPortColumn)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QString FleetDialog::RowPort(int row) const { return ports_[static_cast<std::size_t>(row)].name; }
QString FleetDialog::RowRadio(int row) const { return table_->item(row, kPortColumn)->text(); }
QString FleetDialog::RowToolTip(int row, int column) const {
  return table_->item(row, column)->toolTip();
}
QString FleetDialog::RowIdentity(int row) const {
  return table_->item(row, kIdentityColumn)->text();
}
QString FleetDialog::RowResult(int row) const { return table_->item(row, kResultColumn)->text(); }
int FleetDialog::RowProgress(int row) const {
  return static_cast<QProgressBar*>(table_->cellWidget(row, kProgressColumn))->value();
}

void FleetDialog::ShowBlocks(int row, int blocks) {
  static_cast<QProgressBar*>(table_->cellWidget(row, kProgressColumn))->setValue(blocks);
  // "123/394", as the bar shows it.
  table_->item(row, kProgressColumn)
      ->setData(Qt::AccessibleTextRole,
                QStringLiteral("%1/%2").arg(blocks).arg(transfer_limits::kBlockCount));
}

QStringList FleetDialog::Findings() const { return findings_; }

std::vector<int> FleetDialog::CheckedRows() const {
  std::vector<int> rows;
  for (int row = 0; row < table_->rowCount(); ++row) {
    if (table_->item(row, kPortColumn)->checkState() == Qt::Checked) rows.push_back(row);
  }
  return rows;
}

std::vector<FleetPort> FleetDialog::CheckedPorts() const {
  std::vector<FleetPort> ports;
  for (const int row : CheckedRows()) {
    const PortChoice& port = ports_[static_cast<std::size_t>(row)];
    ports.push_back({port.name.toStdString(), port.device.toStdString()});
  }
  return ports;
}

// ---------------------------------------------------------------------------
// Identities

void FleetDialog::ChooseIdentities() {
  QString path;
  if (file_chooser_) {
    path = file_chooser_();
  } else {
    path = QFileDialog::getOpenFileName(this, tr("Load Identities"), StartFolder(),
                                        tr("Identity Lists (*.csv);;All Files (*)"));
  }
  if (!path.isEmpty()) LoadIdentities(path);
}

bool FleetDialog::LoadIdentities(const QString& path) {
  const std::string file = path.toStdString();
  const Result<std::string> text =
      ReadFileStart(file, {identity_list::kMaxFileBytes, true, identity_list::kFileKind});
  Result<IdentityList> list = text ? ParseIdentityList(*text) : Result<IdentityList>(text.error());
  if (!list) {
    Error error = list.error();
    if (text) error.Within(file);
    ShowMessage(this, tr("The identity list cannot be used: %1").arg(ErrorShown(error)));
    return false;
  }
  identities_ = std::move(*list);
  identities_path_ = path;
  list_label_->setText(tr("Identity list: %1 (%2 rows, by %3)")
                           .arg(path)
                           .arg(identities_->rows.size())
                           .arg(identities_->key == IdentityKey::kPort
                                    ? tr("port")
                                    : tr("order of the checked radios")));
  UpdateIdentities();
  return true;
}

void FleetDialog::UpdateIdentities() {
  const std::vector<int> rows = CheckedRows();
  const std::vector<FleetPort> ports = CheckedPorts();
  const QSignalBlocker quiet(table_);
  for (int row = 0; row < table_->rowCount(); ++row) {
    table_->item(row, kPortColumn)->setText(RowPort(row));
    SetCellText(row, kIdentityColumn, {});
  }
  findings_.clear();
  if (identities_) {
    const Result<IdentityAssignment> assignment =
        AssignIdentities(*identities_, ports, CurrentPortTable());
    if (!assignment) {
      findings_.append(ErrorShown(assignment.error()));
    } else {
      // The codes do not depend on the image they go into.
      const FleetWritePlan plan = PlanFleetWrite(RadioImage(), ports, &*identities_, &*assignment);
      for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::optional<std::size_t> list_row = assignment->row_of_port[i];
        if (!list_row) continue;
        SetCellText(rows[i], kIdentityColumn, IdentityText(plan.identities[i]));
        // The list's label for the radio, beside its port.
        const std::string& name = identities_->rows[*list_row].identity.name;
        if (!name.empty()) {
          table_->item(rows[i], kPortColumn)
              ->setText(
                  QStringLiteral("%1 (%2)").arg(RowPort(rows[i]), QString::fromStdString(name)));
        }
      }
      for (const std::string& line : AssignmentFindings(*identities_, *assignment, ports)) {
        findings_.append(CoreTextShown(line));
      }
    }
  }
  findings_label_->setText(findings_.join(QLatin1Char('\n')));
  findings_label_->setVisible(!findings_.isEmpty());
  FitColumns();
}

void FleetDialog::SetCellText(int row, int column, const QString& text, const QString& more) {
  QTableWidgetItem* item = table_->item(row, column);
  item->setText(text);
  // The whole text, whatever the column's width.
  item->setToolTip(more.isEmpty() || text.isEmpty() ? text + more
                                                    : text + QLatin1Char('\n') + more);
}

// ---------------------------------------------------------------------------
// The run

bool FleetDialog::Start() {
  if (Running()) return false;
  const std::vector<FleetPort> ports = CheckedPorts();
  if (ports.empty()) {
    ShowMessage(this, tr("Check the radios to write."));
    return false;
  }
  if (const Status distinct = CheckFleetPorts(ports); !distinct) {
    ShowMessage(this, ErrorShown(distinct.error()));
    return false;
  }
  std::optional<IdentityAssignment> assignment;
  if (identities_) {
    Result<IdentityAssignment> assigned = AssignIdentities(*identities_, ports, CurrentPortTable());
    if (!assigned) {
      ShowMessage(this,
                  tr("The identity list cannot be used: %1").arg(ErrorShown(assigned.error())));
      return false;
    }
    assignment = std::move(*assigned);
  }
  if (strict_->isChecked() && (!assignment || !assignment->complete())) {
    ShowMessage(this, identities_ ? tr("The identity list and the checked radios do "
                                       "not match one to one:\n\n%1")
                                        .arg(findings_.join(QLatin1Char('\n')))
                                  : tr("Load an identity list first."));
    return false;
  }

  const RadioImage image = image_source_();
  FleetWritePlan plan = assignment ? PlanFleetWrite(image, ports, &*identities_, &*assignment)
                                   : PlanFleetWrite(image, ports);
  FleetOptions options = options_;
  options.backups = &backups_;
  options.backup_first = back_up_first_->isChecked();
  options.verify = verify_->isChecked();
  run_.reset();
  ++run_generation_;
  run_ = std::make_unique<FleetRun>(TransferDirection::kWrite, std::move(plan.radios),
                                    FleetAnswers{retries_->value(), accept_type_->isChecked()},
                                    options);
  run_rows_ = CheckedRows();
  pending_ = std::make_unique<std::atomic<bool>[]>(run_rows_.size());
  for (std::size_t i = 0; i < run_rows_.size(); ++i) pending_[i] = false;
  finished_ = false;
  for (int row = 0; row < table_->rowCount(); ++row) {
    ShowBlocks(row, 0);
    SetCellText(row, kResultColumn, {});
  }
  UpdateButtons();
  emit RunStarted();
  run_->Start([this](std::size_t radio) { PostChange(radio); });
  return true;
}

void FleetDialog::Cancel() {
  if (Running()) run_->Cancel();
}

void FleetDialog::PostChange(std::size_t radio) {
  // One update in the queue per radio: it shows the status as it is when
  // it runs, so later changes need no update of their own.
  if (pending_[radio].exchange(true)) return;
  const int generation = run_generation_;
  QMetaObject::invokeMethod(
      this,
      [this, radio, generation] {
        // An update of an earlier run, still queued when a new one started.
        if (generation != run_generation_) return;
        pending_[radio] = false;
        ShowRadio(radio);
        if (!finished_ && run_->Finished()) OnFinished();
      },
      Qt::QueuedConnection);
}

void FleetDialog::ShowRadio(std::size_t radio) {
  const FleetRadioStatus s = run_->Status(radio);
  const int row = run_rows_[radio];
  ShowBlocks(row, s.blocks);
  QStringList messages;
  for (const FleetMessage& m : s.messages) {
    QString line = OneLineShown(m.text);
    if (m.buttons != MessageButtons::kOk) {
      line += m.answer == MessageAnswer::kRetry ? tr(" -> Retry")
              : m.answer == MessageAnswer::kOk  ? tr(" -> OK")
                                                : tr(" -> Cancel");
    }
    messages.append(line);
  }
  for (const std::string& d : s.differences) messages.append(CoreTextShown(d));
  SetCellText(row, kResultColumn, StageText(s), messages.join(QLatin1Char('\n')));
  FitColumns();
}

void FleetDialog::OnFinished() {
  finished_ = true;
  run_->Wait();
  for (std::size_t i = 0; i < run_rows_.size(); ++i) ShowRadio(i);
  UpdateButtons();
  emit RunFinished();
  if (close_when_finished_) {
    close_when_finished_ = false;
    close();
  }
}

void FleetDialog::UpdateButtons() {
  const bool running = Running();
  load_->setEnabled(!running);
  start_->setEnabled(!running);
  cancel_->setEnabled(running);
  retries_->setEnabled(!running);
  accept_type_->setEnabled(!running);
  verify_->setEnabled(!running);
  back_up_first_->setEnabled(!running);
  strict_->setEnabled(!running);
  // The radios of a run stay as they were checked.
  const QSignalBlocker quiet(table_);
  for (int row = 0; row < table_->rowCount(); ++row) {
    QTableWidgetItem* item = table_->item(row, kPortColumn);
    item->setFlags(running ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
  }
}

void FleetDialog::closeEvent(QCloseEvent* event) {
  if (Running()) {
    // The radios stop first; the dialog closes once they have.
    Cancel();
    close_when_finished_ = true;
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void FleetDialog::reject() {
  if (Running()) {
    Cancel();
    close_when_finished_ = true;
    return;
  }
  QDialog::reject();
}

}  // namespace zlm5
