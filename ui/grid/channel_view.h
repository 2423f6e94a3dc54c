// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "model/channel_codec.h"
#include "model/channel_grid.h"
#include "model/channel_name.h"

class QComboBox;
class QGroupBox;
class QLabel;

namespace zlm5 {

class CellEditor;
class ChannelDocument;
class EditHistory;
class GridControl;
class RadioImage;
class ViewGrid;
struct EditState;

// The main window's one view: the four boxes of radio-wide values ("Type",
// "Field", "Manul Setting", and the hidden "Tx Power Rank") above the grid of
// the 128 channels, with the cell editors laid over the current cell.
//
// The view adapts its grid and boxes to ChannelGrid and leaves every rule of
// decoding, encoding, frequency checking and row defaults to the codec
// (model/channel_codec.h); what it adds is the editing: which editor opens
// where, what it is preloaded with, and the two ways its text is committed
// (leaving the cell, and the Enter key, which walks the row).
//
// For the commands of the main window (reading and writing the radio, the
// options dialog, the printed report):
//   - Document() is the document being edited; the view does not own it.
//   - Grid() is the channel table and the form boxes as the codec sees them.
//   - CommitOpenEditor() commits an open editor as leaving its cell does, so
//     that the grid holds what the user typed; run it before anything reads
//     the grid (save, write to radio, print) or replaces it (read, open).
//   - EncodeToImage() is GridToImage into the document's image;
//     RefreshFromImage() is ImageToGrid from it (editors are hidden first,
//     nothing is marked modified).
//   - MarkModified() marks the document modified (the options dialog calls
//     it after OK, a read from the radio after it replaced the image).
//   - BoxEntryText() is the selected entry of a form box, for the report.
//   - ShowStatusText() puts a text into the status bar's message pane (the
//     StatusMessage signal, which the main frame connects).
//
// Every change of the document made in the view is one step of History():
// a committed cell, a form box, and the whole-channel edits that run through
// EditGrid (import, paste, the row commands). A change of the image made
// elsewhere becomes a step through RecordImageChange (Optional Features,
// Read From Radio). New and Open start the history afresh (OnInitialUpdate).
// Whether the document is modified follows the history: undoing back to
// the state of the last save clears the mark, leaving it sets it again.
class ChannelView : public QWidget {
  Q_OBJECT

 public:
  // Control ids of the editors (CellEditor::Id()). Each editor's widget is
  // named after what it edits: "frequencyEditor", "nameEditor", "toneBox",
  // and "bandwidthList", "scanList", "txPowerList", "optSignalList",
  // "pttIdList", "busyLockList" for the lists of columns 5 to 10.
  static constexpr int kFrequencyEditorId = 61446;
  static constexpr int kNameEditorId = 61454;
  static constexpr int kToneBoxId = 1000;
  static constexpr int kBandwidthListId = 61452;
  static constexpr int kScanListId = 61450;
  static constexpr int kPowerListId = 61449;
  static constexpr int kSignalListId = 61448;
  static constexpr int kPttIdListId = 61451;
  static constexpr int kBusyLockListId = 61453;
  // The name editor takes at most this many typed characters.
  static constexpr int kNameEditorLimit = static_cast<int>(name_code::kEditorMaxLength);

  // The key that opens an editor (OpenCellEditor), as the character it
  // types: none (a click or a double click), Enter (carriage return, as the
  // Enter walk opens the next cell), or a typed character from the space on;
  // the control characters below the space type nothing into the editor.
  static constexpr int kNoKey = 0;
  static constexpr int kEnterKey = 13;
  static constexpr int kFirstTypedKey = 32;

  // `document` must outlive the view.
  explicit ChannelView(ChannelDocument& document, QWidget* parent = nullptr);
  ~ChannelView() override;

  ChannelDocument& Document() { return document_; }
  const ChannelDocument& Document() const { return document_; }
  ChannelGrid& Grid();
  const ChannelGrid& Grid() const;
  GridControl& GridWidget() { return *grid_; }
  QComboBox* FormBoxWidget(FormBox box) const;

  // Initialises the view for the document after New or Open: hides the
  // editors without committing them, decodes the image into the grid and the
  // boxes, writes the headers and channel numbers, makes channel 1's
  // receive frequency the current cell, scrolls the grid to it and gives
  // the grid the focus.
  void OnInitialUpdate();
  // Decodes the document's image into the grid and the boxes; hides the
  // editors first. The document's modified flag is not changed.
  void RefreshFromImage();
  // Encodes the grid and the boxes into the document's image.
  void EncodeToImage();
  // Commits an open editor exactly as leaving its cell would; does nothing
  // when no editor is open. Messages of the commit (a rejected frequency)
  // are shown.
  void CommitOpenEditor();

  void MarkModified();

  // --- Undo history and whole-channel edits -------------------------------
  EditHistory& History() { return *history_; }
  // Runs `edit` on the grid (any open editor hidden, not committed: the
  // caller commits it first) and records what it changed as one step named
  // `step`. True when something changed; the document is then modified.
  bool EditGrid(const QString& step, const std::function<void(ChannelGrid& grid)>& edit);
  // Records a change of the document's image, made by the caller since
  // `image_before` was taken, together with what it changed in the grid, as
  // one step named `step`.
  void RecordImageChange(const QString& step, const RadioImage& image_before);
  // The channels the row commands act on: the selected rows, or the current
  // row when none is selected (none while a header row is current).
  std::vector<int> SelectedChannels() const;

  // Text of the selected entry of a form box; empty when none is selected.
  QString BoxEntryText(FormBox box) const;

  // The editor serving a grid column; the frequency editor for the columns
  // that have no editor of their own.
  CellEditor& EditorForColumn(int col);
  // The open editor, or null.
  CellEditor* OpenEditor() const;
  // Places, fills and shows an editor over the current cell. `key` is the
  // character that opened it (kNoKey, kEnterKey or a typed character);
  // `editor` defaults to the current column's. The editor is named for a
  // screen reader after its cell: "Receive(MHz), channel 29".
  void OpenCellEditor(int key, CellEditor* editor = nullptr);
  // Hides every editor without committing.
  void HideAllEditors();
  // Closes an open editor without storing its text, as Esc does. True when
  // it held a text other than its cell's: something typed was thrown away.
  bool DiscardOpenEditor();

  // The "Edit Data" command.
  void EditData();

  // Shows `text` in the status bar's message pane.
  void ShowStatusText(const QString& text) { emit StatusMessage(text); }

  // Help texts shown in the status bar's message pane.
  static QString SelectionBoxHelpText();
  static QString GridHelpText();
  static QString OtherHelpText();

 signals:
  // The document was marked modified by an edit, or the mark was cleared
  // by an undo back to the saved state.
  void DocumentModified();
  // The grid's context menu was asked for, at `global_pos` on the screen.
  // A row outside the selection that it was asked for on is by then the
  // current row and selected alone.
  void ContextMenuRequested(QPoint global_pos);
  // A help text for the status bar's message pane.
  void StatusMessage(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The steps of construction, in order.
  void BuildForm();
  QComboBox* AddFormBox(FormBox box, std::string_view label, const char* object_name);
  void ConnectChooseOnlyBoxes();
  void BuildGrid();
  void BuildEditors();
  void BuildHistory();
  void LayOut();
  void WatchWidgets();
  void ConnectGrid();
  void WriteHeaders();
  void WatchWidget(QWidget* widget);

  // Grid events.
  void OnEnterCell();
  void OnLeaveCell();
  void OnDblClick();
  void OnMouseDown(Qt::MouseButton button);
  void OnKeyPress(QChar character);
  void OnScroll();
  void OnContextMenu(QPoint viewport_pos, bool by_keyboard);

  // Commits an editor's text into its cell (CommitIfChanged) and records
  // the change as a step; returns the commit's message.
  std::string CommitEditor(CellEditor& editor, int row, int col, CommitPath path);
  EditState CaptureState() const;
  // Replaces texts of the grid wholesale by `fill`: the editors hidden, no
  // modified mark per cell, one table change for a screen reader, and the
  // current cell's editor preloaded afresh.
  void RefillGrid(const std::function<void()>& fill);
  void RestoreState(const EditState& state, const RadioImage* image);

  // Keyboard handling ahead of the focused widget: the name editor's key
  // filter and the Enter key. True when the key was consumed.
  bool PreTranslateKey(QObject* watched, QKeyEvent* event);
  void EnterOnGrid();
  void EnterOnFrequencyEditor();
  void EnterOnList(CellEditor& list);
  void EnterOnNameEditor();
  void EnterElsewhere();
  // Moves the focus on as the Tab key does.
  void PressTab();
  // Makes the next shown column of the current row current and opens its
  // editor as the Enter key does.
  void MoveToNextColumnAndEdit();

  // Hides an editor; the grid takes the focus if the editor had it.
  void HideEditor(CellEditor& editor);
  void ShowCommitMessage(const std::string& message);
  CellEditor* EditorOfWidget(QObject* object) const;
  QString HelpTextFor(QObject* object) const;
  void OnBoxTextEdited(FormBox box);
  void OnManualBoxEditingFinished();

  ChannelDocument& document_;
  GridControl* grid_ = nullptr;
  QGroupBox* type_group_ = nullptr;
  std::array<QComboBox*, kFormBoxCount> boxes_{};  // indexed by FormBox
  std::array<QLabel*, kFormBoxCount> labels_{};
  std::unique_ptr<ViewGrid> view_grid_;
  std::unique_ptr<EditHistory> history_;

  std::unique_ptr<CellEditor> frequency_editor_;
  std::unique_ptr<CellEditor> name_editor_;
  std::unique_ptr<CellEditor> tone_box_;
  // Lists of columns 5..10, in column order.
  static constexpr int kListCount = grid_layout::kColBusyLock - grid_layout::kColBandwidth + 1;
  std::array<std::unique_ptr<CellEditor>, kListCount> lists_;
};

}  // namespace zlm5
