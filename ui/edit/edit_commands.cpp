// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/edit/edit_commands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QUndoStack>

#include <algorithm>
#include <string>

#include "files/file_reading.h"
#include "files/file_saving.h"
#include "model/channel_codec.h"
#include "model/channel_rows.h"
#include "model/memory_grid.h"
#include "ui/app/command_ids.h"
#include "ui/app/core_text_translation.h"
#include "ui/app/main_frame.h"
#include "ui/app/message_box.h"
#include "ui/dialogs/import_report_dialog.h"
#include "ui/edit/edit_history.h"
#include "ui/grid/channel_view.h"
#include "ui/grid/grid_control.h"
#include "ui/radio/radio_operations.h"

namespace zlm5 {
namespace id = command_id;
namespace gl = grid_layout;

namespace {

constexpr int kLastChannel = gl::kRows - 1;
// As the command line's import: far beyond any channel list (10,000 rows
// take about a megabyte); a larger file is a mistake.
constexpr std::size_t kMaxCsvSize = 64u << 20;
constexpr std::string_view kCsvKind = "a channel list";
constexpr const char* kCsvSuffix = "csv";

// The core takes paths in UTF-8 on every platform.
std::string ToNativePath(const QString& path) { return path.toStdString(); }

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

bool IsBlank(const QString& text) { return text.trimmed().isEmpty(); }

}  // namespace

EditCommands::EditCommands(MainFrame& frame) : QObject(&frame), frame_(frame) {
  setObjectName(QStringLiteral("editCommands"));
  connect(frame_.Action(id::kUndo), &QAction::triggered, this, &EditCommands::Undo);
  connect(frame_.Action(id::kRedo), &QAction::triggered, this, &EditCommands::Redo);
  connect(frame_.Action(id::kCut), &QAction::triggered, this, &EditCommands::CutChannels);
  connect(frame_.Action(id::kCopy), &QAction::triggered, this, &EditCommands::CopyChannels);
  connect(frame_.Action(id::kPaste), &QAction::triggered, this, &EditCommands::PasteChannels);
  connect(frame_.Action(id::kInsertChannel), &QAction::triggered, this,
          &EditCommands::InsertEmptyChannel);
  connect(frame_.Action(id::kDeleteChannels), &QAction::triggered, this,
          &EditCommands::DeleteChannels);
  connect(frame_.Action(id::kMoveChannelUp), &QAction::triggered, this,
          [this] { MoveChannels(-1); });
  connect(frame_.Action(id::kMoveChannelDown), &QAction::triggered, this,
          [this] { MoveChannels(1); });
  connect(frame_.Action(id::kClearChannels), &QAction::triggered, this,
          &EditCommands::ClearChannels);
  connect(frame_.Action(id::kImportChannels), &QAction::triggered, this,
          [this] { ImportChannels(); });
  connect(frame_.Action(id::kExportChannels), &QAction::triggered, this,
          [this] { ExportChannels(); });

  context_menu_ = new QMenu(&View());
  context_menu_->setObjectName(QStringLiteral("gridContextMenu"));
  for (int command : {id::kCut, id::kCopy, id::kPaste, 0, id::kInsertChannel, id::kDeleteChannels,
                      id::kMoveChannelUp, id::kMoveChannelDown, 0, id::kClearChannels}) {
    if (command == 0) {
      context_menu_->addSeparator();
    } else {
      context_menu_->addAction(frame_.Action(command));
    }
  }
  connect(&View(), &ChannelView::ContextMenuRequested, this, [this](QPoint global_pos) {
    UpdateActions();
    context_menu_->popup(global_pos);
  });

  GridControl& grid = View().GridWidget();
  connect(&grid, &GridControl::EnterCell, this, &EditCommands::UpdateActions);
  connect(&grid, &GridControl::RowSelectionChanged, this, &EditCommands::UpdateActions);
  QUndoStack& stack = View().History().Stack();
  connect(&stack, &QUndoStack::indexChanged, this, &EditCommands::UpdateUndoTexts);
  connect(&stack, &QUndoStack::cleanChanged, this, &EditCommands::UpdateUndoTexts);
  // Undo and Redo keep naming their step when the window changes language.
  connect(&frame_, &MainFrame::LanguageChanged, this, &EditCommands::UpdateUndoTexts);
  UpdateActions();
  UpdateUndoTexts();
}

EditCommands::~EditCommands() = default;

ChannelView& EditCommands::View() const { return frame_.View(); }

QString EditCommands::CsvMimeType() { return QStringLiteral("text/csv"); }

QString EditCommands::NoRoomText() {
  return tr(
      "Channel 128 is in use, so no channel can move down to make room. Delete or clear a "
      "channel first.");
}

QString EditCommands::NothingToPasteText() {
  return tr("The clipboard holds no channels to paste.");
}

// ---------------------------------------------------------------------------
// Action states

void EditCommands::UpdateActions() {
  const std::vector<int> rows = View().SelectedChannels();
  const bool any = !rows.empty();
  for (int command : {id::kCut, id::kCopy, id::kPaste, id::kInsertChannel, id::kDeleteChannels}) {
    frame_.Action(command)->setEnabled(any);
  }
  // Its key is Delete: it must not empty a channel whose cell was merely
  // current.
  frame_.Action(id::kClearChannels)->setEnabled(!View().GridWidget().SelectedRows().empty());
  frame_.Action(id::kMoveChannelUp)->setEnabled(any && rows.front() > 1);
  frame_.Action(id::kMoveChannelDown)->setEnabled(any && rows.back() < kLastChannel);
}

void EditCommands::UpdateUndoTexts() {
  const QUndoStack& stack = View().History().Stack();
  QAction* undo = frame_.Action(id::kUndo);
  QAction* redo = frame_.Action(id::kRedo);
  undo->setEnabled(stack.canUndo());
  redo->setEnabled(stack.canRedo());
  // The step's name tells what will be undone: "Undo Import 23 Channels".
  undo->setText(stack.canUndo() ? tr("&Undo %1").arg(stack.undoText()) : tr("&Undo"));
  redo->setText(stack.canRedo() ? tr("&Redo %1").arg(stack.redoText()) : tr("&Redo"));
}

// ---------------------------------------------------------------------------
// Undo, redo

bool EditCommands::TalkingToRadio() const {
  const auto* radio = frame_.findChild<RadioOperations*>();
  return radio != nullptr && radio->Busy();
}

void EditCommands::Undo() {
  // A step may put back another image while a transfer reads or writes it.
  if (TalkingToRadio()) return;
  // What is typed into an open editor is the newest change: it goes first.
  if (View().DiscardOpenEditor()) return;
  View().History().Stack().undo();
}

void EditCommands::Redo() {
  if (TalkingToRadio()) return;
  View().CommitOpenEditor();
  View().History().Stack().redo();
}

// ---------------------------------------------------------------------------
// Clipboard

void EditCommands::CopyChannels() {
  View().CommitOpenEditor();
  const std::vector<int> rows = View().SelectedChannels();
  if (rows.empty()) return;
  CopyRows(rows);
  View().ShowStatusText(tr("%1 copied").arg(ImportReportDialog::ChannelCount(rows.size())));
}

void EditCommands::CopyRows(const std::vector<int>& rows) {
  const ChannelGrid& grid = View().Grid();
  // The CSV names each channel by its own number; a reader that places
  // them by Location puts them back where they were.
  MemoryGrid copied;
  for (const int row : rows) {
    for (int col = gl::kColReceive; col < gl::kColumns; ++col) {
      copied.SetTextMatrix(row, col, grid.TextMatrix(row, col));
    }
  }
  auto* data = new QMimeData;
  data->setText(FromUtf8(RowsToGridText(grid, rows)));
  data->setData(CsvMimeType(), QByteArray::fromStdString(ChannelsToCsv(copied)));
  QApplication::clipboard()->setMimeData(data);
}

void EditCommands::CutChannels() {
  View().CommitOpenEditor();
  const std::vector<int> rows = View().SelectedChannels();
  if (rows.empty()) return;
  CopyRows(rows);
  View().EditGrid(tr("Cut %1").arg(ImportReportDialog::ChannelCount(rows.size())),
                  [&rows](ChannelGrid& grid) { ClearRows(grid, rows); });
  View().ShowStatusText(tr("%1 cut").arg(ImportReportDialog::ChannelCount(rows.size())));
}

Result<ChannelCsvImport> EditCommands::ReadClipboard(const QMimeData* data, int first_channel) {
  const Error nothing("", NothingToPasteText().toStdString());
  if (data == nullptr) return nothing;
  const CsvImportOptions options{first_channel};
  // Plain text is a channel list when it starts with the exchange format's
  // header (a CSV file copied in a text editor), else grid texts.
  if (data->hasText() && !IsBlank(data->text())) {
    const std::string text = data->text().toStdString();
    if (Result<ChannelCsvImport> csv = ReadChannelCsv(text, options)) return csv;
    return ReadGridText(text, first_channel);
  }
  if (data->hasFormat(CsvMimeType())) {
    const QByteArray bytes = data->data(CsvMimeType());
    if (Result<ChannelCsvImport> csv = ReadChannelCsv(bytes.toStdString(), options)) return csv;
  }
  return nothing;
}

void EditCommands::PasteChannels() {
  View().CommitOpenEditor();
  const std::vector<int> rows = View().SelectedChannels();
  if (rows.empty()) return;
  const Result<ChannelCsvImport> import =
      ReadClipboard(QApplication::clipboard()->mimeData(), rows.front());
  if (!import || (import->channels.empty() && import->report.empty())) {
    ShowMessage(&frame_, NothingToPasteText(), QMessageBox::Information);
    return;
  }
  if (!import->report.empty()) {
    const ChannelCsvImport& read = *import;
    ImportReportDialog dialog(
        tr("Paste Channels"), tr("the clipboard"),
        [read](int) { return Result<ChannelCsvImport>(read); }, false, 0, &frame_);
    if (RunModal(dialog) != QDialog::Accepted) return;
  }
  WriteImport(tr("Paste"), *import, ApplyPastedChannels);
  View().ShowStatusText(
      tr("%1 pasted").arg(ImportReportDialog::ChannelCount(import->channels.size())));
}

void EditCommands::WriteImport(const QString& verb, const ChannelCsvImport& import,
                               ImportWriter write) {
  if (import.channels.empty()) return;
  View().EditGrid(
      QStringLiteral("%1 %2").arg(verb, ImportReportDialog::ChannelCount(import.channels.size())),
      [&import, write](ChannelGrid& grid) { write(import, grid); });
  // The written channels are selected, and the first of them in view.
  std::vector<int> written;
  for (const ImportedChannel& channel : import.channels) written.push_back(channel.channel);
  std::sort(written.begin(), written.end());
  GridControl& grid = View().GridWidget();
  grid.SetSelectedRows(written);
  grid.SetCurrentCell(written.front(), std::max(grid.Col(), 1));
  grid.EnsureCurrentVisible();
}

// ---------------------------------------------------------------------------
// Rows

void EditCommands::InsertEmptyChannel() {
  View().CommitOpenEditor();
  const std::vector<int> rows = View().SelectedChannels();
  if (rows.empty()) return;
  if (RowInUse(View().Grid(), kLastChannel)) {
    ShowMessage(&frame_, NoRoomText(), QMessageBox::Information);
    return;
  }
  const int at = rows.front();
  View().EditGrid(tr("Insert Empty Channel"),
                  [at](ChannelGrid& grid) { InsertEmptyRow(grid, at); });
  GridControl& grid = View().GridWidget();
  if (!grid.SelectedRows().empty()) grid.SelectRows(at, at);
}

void EditCommands::DeleteChannels() {
  View().CommitOpenEditor();
  const std::vector<int> rows = View().SelectedChannels();
  if (rows.empty()) return;
  View().EditGrid(tr("Delete %1").arg(ImportReportDialog::ChannelCount(rows.size())),
                  [&rows](ChannelGrid& grid) { DeleteRows(grid, rows); });
  View().GridWidget().ClearRowSelection();
}

void EditCommands::MoveChannels(int step) {
  View().CommitOpenEditor();
  const std::vector<int> rows = View().SelectedChannels();
  if (rows.empty() || rows.front() + step < 1 || rows.back() + step > kLastChannel) return;
  QString name;
  if (rows.size() == 1) {
    name = step < 0 ? tr("Move Channel Up") : tr("Move Channel Down");
  } else {
    name = (step < 0 ? tr("Move %1 Up") : tr("Move %1 Down"))
               .arg(ImportReportDialog::ChannelCount(rows.size()));
  }
  View().EditGrid(name, [&rows, step](ChannelGrid& grid) { MoveRows(grid, rows, step); });
  // The selection and the current cell go with the channels.
  GridControl& grid = View().GridWidget();
  if (!grid.SelectedRows().empty()) {
    std::vector<int> moved;
    for (const int row : rows) moved.push_back(row + step);
    grid.SetSelectedRows(moved);
  }
  if (std::find(rows.begin(), rows.end(), grid.Row()) != rows.end()) {
    grid.SetCurrentCell(grid.Row() + step, grid.Col());
    grid.EnsureCurrentVisible();
  }
  UpdateActions();
}

void EditCommands::ClearChannels() {
  View().CommitOpenEditor();
  const std::vector<int> rows = View().GridWidget().SelectedRows();
  if (rows.empty()) return;
  View().EditGrid(tr("Clear %1").arg(ImportReportDialog::ChannelCount(rows.size())),
                  [&rows](ChannelGrid& grid) { ClearRows(grid, rows); });
}

// ---------------------------------------------------------------------------
// Channel lists

bool EditCommands::ImportChannels() {
  View().CommitOpenEditor();
  const QString path =
      frame_.ChooseFile(MainFrame::FileDialogKind::ImportChannels, frame_.OwnDocumentPath());
  if (path.isEmpty()) return false;
  return ImportFile(path);
}

bool EditCommands::ImportFile(const QString& path) {
  View().CommitOpenEditor();
  const Result<std::string> text = ReadFileStart(ToNativePath(path), {kMaxCsvSize, true, kCsvKind});
  if (!text) {
    ShowMessage(&frame_,
                tr("The channel list cannot be read.\n\n%1").arg(ErrorShown(text.error())));
    return false;
  }
  const auto reader = [&text](int first_channel) {
    return ReadChannelCsv(*text, CsvImportOptions{first_channel});
  };
  if (Result<ChannelCsvImport> read = reader(0); !read) {
    Error error = read.error();
    ShowMessage(&frame_, tr("The channel list cannot be read.\n\n%1")
                             .arg(ErrorShown(error.Within(ToNativePath(path)))));
    return false;
  }
  ImportReportDialog dialog(tr("Import Channels"), QDir::toNativeSeparators(path), reader, true, 0,
                            &frame_);
  if (RunModal(dialog) != QDialog::Accepted) return false;
  WriteImport(tr("Import"), dialog.Import(), ApplyChannelImport);
  return true;
}

bool EditCommands::ExportChannels() {
  View().CommitOpenEditor();
  // Beside the user's own document; else a bare name (a new document's
  // title, a backup's name) in the folder of the user's documents.
  const QString document = frame_.OwnDocumentPath();
  const QString name =
      QFileInfo(QString::fromStdString(frame_.Document().title())).completeBaseName() +
      QLatin1Char('.') + kCsvSuffix;
  const QString suggested =
      document.isEmpty() ? name : QFileInfo(document).path() + QLatin1Char('/') + name;
  const QString path = frame_.ChooseFile(MainFrame::FileDialogKind::ExportChannels, suggested);
  if (path.isEmpty()) return false;
  return ExportFile(path);
}

bool EditCommands::ExportFile(const QString& path) {
  View().CommitOpenEditor();
  const QString document = QString::fromStdString(frame_.Document().path());
  // A slip in the file dialog must not turn the channel data into text.
  if (!document.isEmpty() && QFileInfo(path) == QFileInfo(document)) {
    ShowMessage(&frame_, tr("The channel list would replace the channel data file "
                            "%1. Please choose another name.")
                             .arg(QDir::toNativeSeparators(document)));
    return false;
  }
  const ChannelGrid& grid = View().Grid();
  const std::string csv = ChannelsToCsv(grid);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(csv.data());
  const Status saved =
      SaveFile(ToNativePath(path), std::span<const std::uint8_t>(bytes, csv.size()));
  if (!saved) {
    ShowMessage(&frame_,
                tr("Failed to export the channels.\n\n%1").arg(FromUtf8(saved.error().Message())));
    return false;
  }
  std::size_t exported = 0;
  for (int row = 1; row <= kLastChannel; ++row) exported += RowHasFrequency(grid, row) ? 1 : 0;
  View().ShowStatusText(
      tr("%1 exported to %2")
          .arg(ImportReportDialog::ChannelCount(exported), QDir::toNativeSeparators(path)));
  return true;
}

int EditCommands::RunModal(QDialog& dialog) {
  if (dialog_hook_) {
    QTimer::singleShot(0, &dialog, [this, &dialog] {
      if (dialog_hook_) dialog_hook_(dialog);
    });
  }
  return dialog.exec();
}

}  // namespace zlm5
