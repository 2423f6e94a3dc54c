// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

#include "model/channel_csv.h"

class QDialog;
class QMenu;
class QMimeData;

namespace zlm5 {

class ChannelView;
class MainFrame;

// The main window's editing commands: Undo and Redo, the clipboard, the
// row commands of the Edit menu and of the grid's context menu, and File >
// Import Channels... and Export Channels... . The work is the core's
// (model/channel_csv.h, model/channel_rows.h); this class asks the user
// and the clipboard, and makes each change one step of the view's history.
//
// The row commands act on the channels the view names (SelectedChannels:
// the selected rows, else the current row). Cut, Copy and Paste carry
// whole channels: the clipboard gets the channels' grid texts separated by
// tabs (what a spreadsheet pastes) and, as "text/csv", the channels in use
// in the CSV exchange format. Paste takes either, from this program, a
// spreadsheet or a text editor, and writes it from the first selected (or
// the current) channel on through the rules of an import; when anything
// cannot be taken as it stands, the report is shown first (Apply/Cancel).
// Cut empties the channels it copied; Delete Channels closes the gap.
// Clear Channels (the Delete key) acts on selected rows only, so that the
// key never empties a channel whose cell was merely current.
//
// An open cell editor is committed before any command but Undo: Undo first
// throws away what was typed into it, and only when nothing was does it
// undo the last step. Undo and Redo do nothing while the radio operations
// talk to the radio.
class EditCommands : public QObject {
  Q_OBJECT

 public:
  // Connects the frame's editing and channel-list actions and the grid's
  // context menu; lives as the frame's child.
  explicit EditCommands(MainFrame& frame);
  ~EditCommands() override;

  void Undo();
  void Redo();
  void CutChannels();
  void CopyChannels();
  void PasteChannels();
  void InsertEmptyChannel();
  void DeleteChannels();
  void MoveChannels(int step);  // -1 up, +1 down
  void ClearChannels();
  // File > Import Channels...: asks for a CSV file, then as ImportFile.
  bool ImportChannels();
  // Reads `path`, shows what it would write and writes it on Apply.
  bool ImportFile(const QString& path);
  // File > Export Channels...: asks for a file, then as ExportFile.
  bool ExportChannels();
  bool ExportFile(const QString& path);

  // The grid's context menu.
  QMenu* ContextMenu() const { return context_menu_; }

  // The MIME type of the CSV copy on the clipboard.
  static QString CsvMimeType();
  // "Channel 128 is in use ..." when Insert Empty Channel has no room.
  static QString NoRoomText();
  // When the clipboard holds nothing Paste can read.
  static QString NothingToPasteText();

  // Called with each modal dialog (the import report) once its event loop
  // runs; the hook may work the dialog and close it. For tests.
  using DialogHook = std::function<void(QDialog&)>;
  void SetDialogHook(DialogHook hook) { dialog_hook_ = std::move(hook); }

 private:
  ChannelView& View() const;
  // True while a transfer or a tuning command runs: Undo and Redo wait, as
  // the commands that replace the document do.
  bool TalkingToRadio() const;
  void UpdateActions();
  void UpdateUndoTexts();
  int RunModal(QDialog& dialog);
  // Puts the channels of `rows` on the clipboard, as grid texts and CSV.
  void CopyRows(const std::vector<int>& rows);
  // Writes `import` with `write` (ApplyChannelImport, or ApplyPastedChannels
  // for a paste) as one step named after `verb` ("Paste 3 Channels") and
  // selects the channels written.
  using ImportWriter = void (*)(const ChannelCsvImport& import, ChannelGrid& grid);
  void WriteImport(const QString& verb, const ChannelCsvImport& import, ImportWriter write);
  // The channels of the clipboard's data, to be written from `first_channel`.
  static Result<ChannelCsvImport> ReadClipboard(const QMimeData* data, int first_channel);

  MainFrame& frame_;
  QMenu* context_menu_ = nullptr;
  DialogHook dialog_hook_;
};

}  // namespace zlm5
