// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/channel_view.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "files/channel_document.h"
#include "model/channel_checks.h"
#include "model/form_lists.h"
#include "model/tone_tables.h"
#include "ui/app/core_text_translation.h"
#include "ui/app/message_box.h"
#include "ui/edit/edit_history.h"
#include "ui/grid/cell_editor.h"
#include "ui/grid/grid_control.h"
#include "ui/grid/view_grid.h"

namespace zlm5 {
namespace gl = grid_layout;

namespace {

// Fonts of the form and of the grid.
constexpr const char* kFontFamily = "Times New Roman";
constexpr double kFormPointSize = 8.0;
constexpr double kGridPointSize = 9.75;

// Column widths as multiples of W, the width of column 2 (column 9, PTT ID,
// is hidden).
constexpr std::array<double, gl::kColumns> kWidthFactors = {
    0.4, 1.2, 1.2, 5.0 / 6, 5.0 / 6, 5.0 / 7, 5.0 / 7, 5.0 / 7, 1.0, 0.0, 5.0 / 6, 5.0 / 6};

// The widest texts a column shows besides its header.
const std::array<QStringList, gl::kColumns>& WidestContents() {
  static const std::array<QStringList, gl::kColumns> contents = {
      QStringList{QStringLiteral("128")},
      QStringList{QStringLiteral("521.00000")},
      QStringList{QStringLiteral("521.00000")},
      QStringList{QStringLiteral("D754N"), QStringLiteral("254.1")},
      QStringList{QStringLiteral("D754N"), QStringLiteral("254.1")},
      QStringList{QStringLiteral("Narrow")},
      QStringList{QStringLiteral("Yes")},
      QStringList{QStringLiteral("High")},
      QStringList{QStringLiteral("CCIR")},
      QStringList{},
      QStringList{QStringLiteral("Carrier"), QStringLiteral("QT/DQT")},
      QStringList{QStringLiteral("NNNNNN")}};
  return contents;
}

// Pixels around a cell's widest text: the text padding on both sides and
// the grid line.
constexpr int kCellTextMargin = 7;

// The form boxes in form order: Type, Field, Manul Setting, then the hidden
// Tx Power Rank.
struct FormBoxPlace {
  FormBox box;
  std::string_view label;
  const char* object_name;
  bool shown;
};
constexpr std::array<FormBoxPlace, kFormBoxCount> kFormBoxPlaces = {{
    {FormBox::Type, form_lists::kTypeLabel, "typeBox", true},
    {FormBox::Field, form_lists::kFieldLabel, "fieldBox", true},
    {FormBox::Manual, form_lists::kManualLabel, "manualBox", true},
    {FormBox::PowerRank, form_lists::kPowerRankLabel, "powerRankBox", false},
}};
// The form labels for the translator: each label is shown through tr().
constexpr const char* kFormLabelTexts[] = {
    QT_TRANSLATE_NOOP("zlm5::ChannelView", "Type"),
    QT_TRANSLATE_NOOP("zlm5::ChannelView", "Field"),
    QT_TRANSLATE_NOOP("zlm5::ChannelView", "Manul Setting"),
    QT_TRANSLATE_NOOP("zlm5::ChannelView", "Tx Power Rank"),
};
static_assert(form_lists::kTypeLabel == std::string_view(kFormLabelTexts[0]) &&
              form_lists::kFieldLabel == std::string_view(kFormLabelTexts[1]) &&
              form_lists::kManualLabel == std::string_view(kFormLabelTexts[2]) &&
              form_lists::kPowerRankLabel == std::string_view(kFormLabelTexts[3]));
// Pixels between a box and the next box's label.
constexpr int kFormBoxGap = 14;

// The lists of grid columns 5..10, in column order: control id and object
// name.
struct ListEditorName {
  int id;
  const char* object_name;
};
constexpr auto kListEditorNames = std::to_array<ListEditorName>({
    {ChannelView::kBandwidthListId, "bandwidthList"},
    {ChannelView::kScanListId, "scanList"},
    {ChannelView::kPowerListId, "txPowerList"},
    {ChannelView::kSignalListId, "optSignalList"},
    {ChannelView::kPttIdListId, "pttIdList"},
    {ChannelView::kBusyLockListId, "busyLockList"},
});

QStringList ToQStringList(std::span<const std::string_view> texts) {
  QStringList list;
  list.reserve(static_cast<qsizetype>(texts.size()));
  for (std::string_view text : texts) {
    list.append(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  return list;
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool IsEnterKey(const QKeyEvent* event) {
  return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Keys the name editor lets through: digits (keypad included), letters,
// minus, Enter, and the control keys and the space bar. Everything else
// (arrows, Delete, Home, End, punctuation) is swallowed.
bool NameEditorKeyPasses(const QKeyEvent* event) {
  const int key = event->key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return true;
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return true;
  switch (key) {
    case Qt::Key_Minus:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Clear:
    case Qt::Key_Escape:
    case Qt::Key_Pause:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_Mode_switch:
      return true;
    default:
      return false;
  }
}

// Commits `editor` into the current cell on `path`. An editor whose text is
// still the cell's text commits nothing: looking at a cell never changes it
// (the row rules would otherwise rewrite a tone that is no list entry as
// "OFF", cut an 8-character name to 6, or empty the name of a channel whose
// empty frequency cell was merely clicked).
std::string CommitIfChanged(ChannelGrid& grid, GridControl& control, CellEditor& editor, int row,
                            int col, CommitPath path) {
  const QString text = editor.Text();
  if (text == control.TextMatrix(row, col)) return {};
  return CommitCellText(grid, row, col, text.toStdString(), path);
}

}  // namespace

ChannelView::ChannelView(ChannelDocument& document, QWidget* parent)
    : QWidget(parent), document_(document) {
  setObjectName(QStringLiteral("channelView"));
  QFont form_font(QString::fromLatin1(kFontFamily));
  form_font.setPointSizeF(kFormPointSize);
  setFont(form_font);

  BuildForm();
  BuildGrid();
  view_grid_ = std::make_unique<ViewGrid>(*grid_, boxes_, [this] { MarkModified(); });
  BuildEditors();
  BuildHistory();
  LayOut();
  WatchWidgets();
  ConnectGrid();

  // A file dropped anywhere on the window opens (the main frame takes the
  // drop); a text field must not take the file's name as typing.
  for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->setAcceptDrops(false);

  WriteHeaders();
  history_->Reset();
}

void ChannelView::BuildHistory() {
  history_ = std::make_unique<EditHistory>(
      [this] { return CaptureState(); },
      [this](const EditState& state, const RadioImage* image) { RestoreState(state, image); });
  // The modified mark follows the history once an undo or redo reaches or
  // leaves the saved state.
  connect(&history_->Stack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
    document_.SetModified(!clean);
    emit DocumentModified();
  });
}

void ChannelView::LayOut() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(10, 7, 2, 4);
  layout->setSpacing(8);
  auto* top = new QHBoxLayout;
  top->addWidget(type_group_);
  top->addStretch(1);
  layout->addLayout(top);
  layout->addWidget(grid_, 1);
}

// Every part of the view tells the status bar what it is for when the mouse
// enters it, and passes its keys by PreTranslateKey first.
void ChannelView::WatchWidgets() {
  WatchWidget(this);
  WatchWidget(type_group_);
  for (QLabel* label : labels_) WatchWidget(label);
  for (QComboBox* box : boxes_) WatchWidget(box);
  WatchWidget(grid_);
  WatchWidget(grid_->viewport());
  for (CellEditor* editor : {frequency_editor_.get(), name_editor_.get(), tone_box_.get()}) {
    WatchWidget(editor->Widget());
  }
  for (auto& list : lists_) WatchWidget(list->Widget());
}

void ChannelView::ConnectGrid() {
  connect(grid_, &GridControl::EnterCell, this, &ChannelView::OnEnterCell);
  connect(grid_, &GridControl::LeaveCell, this, &ChannelView::OnLeaveCell);
  connect(grid_, &GridControl::DblClick, this, &ChannelView::OnDblClick);
  connect(grid_, &GridControl::MouseDown, this,
          [this](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint) { OnMouseDown(button); });
  connect(grid_, &GridControl::KeyPress, this, &ChannelView::OnKeyPress);
  connect(grid_, &GridControl::Scroll, this, &ChannelView::OnScroll);
  connect(grid_, &GridControl::ContextMenu, this, &ChannelView::OnContextMenu);

  // Frequencies outside the band of the Field box are marked, never
  // refused; a changed cell repaints itself, a changed box the whole grid.
  grid_->SetCellMarks(
      [this](int row, int col) { return CoreTextShown(OutOfBandReason(*view_grid_, row, col)); });
  connect(FormBoxWidget(FormBox::Field), &QComboBox::currentIndexChanged, grid_,
          &GridControl::Refresh);
}

ChannelView::~ChannelView() {
  // The stack's last signals (a clear on destruction) must reach no one.
  history_->Stack().disconnect();
}

ChannelGrid& ChannelView::Grid() { return *view_grid_; }
const ChannelGrid& ChannelView::Grid() const { return *view_grid_; }

QComboBox* ChannelView::FormBoxWidget(FormBox box) const {
  return boxes_.at(static_cast<std::size_t>(box));
}

void ChannelView::BuildForm() {
  type_group_ = new QGroupBox(tr("Type Setting"), this);
  type_group_->setObjectName(QStringLiteral("typeSettingGroup"));
  auto* row = new QHBoxLayout(type_group_);
  row->setContentsMargins(12, 4, 12, 6);
  row->setSpacing(6);
  for (const FormBoxPlace& place : kFormBoxPlaces) {
    if (place.box != kFormBoxPlaces.front().box) row->addSpacing(kFormBoxGap);
    QComboBox* combo = AddFormBox(place.box, place.label, place.object_name);
    QLabel* label = labels_[static_cast<std::size_t>(place.box)];
    row->addWidget(label);
    row->addWidget(combo);
    label->setVisible(place.shown);
    combo->setVisible(place.shown);
  }
  ConnectChooseOnlyBoxes();
}

QComboBox* ChannelView::AddFormBox(FormBox box, std::string_view label_text,
                                   const char* object_name) {
  const QByteArray source(label_text.data(), static_cast<qsizetype>(label_text.size()));
  auto* label = new QLabel(tr(source.constData()), type_group_);
  auto* combo = new QComboBox(type_group_);
  combo->setObjectName(QString::fromLatin1(object_name));
  combo->setEditable(true);
  combo->setCompleter(nullptr);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->addItems(ToQStringList(form_lists::Entries(box)));
  combo->setCurrentIndex(form_lists::InitialSelection(box));
  combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  label->setBuddy(combo);
  labels_[static_cast<std::size_t>(box)] = label;
  boxes_[static_cast<std::size_t>(box)] = combo;

  // Every change of a selection is an edit of the document, except while
  // the view fills the boxes from the image or from the history.
  const QString step = tr("Change %1").arg(label->text());
  connect(combo, &QComboBox::currentIndexChanged, this, [this, step] {
    if (!view_grid_ || !view_grid_->Tracking()) return;
    MarkModified();
    history_->Record(step);
  });
  return combo;
}

void ChannelView::ConnectChooseOnlyBoxes() {
  // "Type", "Field" and "Tx Power Rank" can only be chosen from their lists:
  // typing into their text field puts back at once the entry the box starts
  // with (the one radio type, 240 - 260MHz, power rank 9).
  for (const FormBox box : {FormBox::Type, FormBox::Field, FormBox::PowerRank}) {
    connect(FormBoxWidget(box)->lineEdit(), &QLineEdit::textEdited, this,
            [this, box] { OnBoxTextEdited(box); });
  }
  connect(FormBoxWidget(FormBox::Manual)->lineEdit(), &QLineEdit::editingFinished, this,
          &ChannelView::OnManualBoxEditingFinished);
}

void ChannelView::OnManualBoxEditingFinished() {
  // Typing picks the first entry that begins with the text, as the list of
  // a drop-down box does; a text that begins no entry keeps the selection.
  // Either way the box then shows the entry that will be stored.
  QComboBox* combo = FormBoxWidget(FormBox::Manual);
  const QString typed = combo->currentText().trimmed();
  const int match = typed.isEmpty() ? -1 : combo->findText(typed, Qt::MatchStartsWith);
  if (match >= 0) combo->setCurrentIndex(match);
  const int index = combo->currentIndex();
  combo->setEditText(index >= 0 ? combo->itemText(index) : QString());
}

void ChannelView::OnBoxTextEdited(FormBox box) {
  const int first_entry = form_lists::InitialSelection(box);
  QComboBox* combo = FormBoxWidget(box);
  combo->setCurrentIndex(first_entry);
  combo->setEditText(combo->itemText(first_entry));
}

void ChannelView::BuildGrid() {
  grid_ = new GridControl(this);
  grid_->setObjectName(QStringLiteral("channelGrid"));
  grid_->setAccessibleName(tr("Channels"));
  QFont grid_font(QString::fromLatin1(kFontFamily));
  grid_font.setPointSizeF(kGridPointSize);
  grid_->setFont(grid_font);
  grid_->SetDimensions(gl::kRows, gl::kColumns);

  // W, the width of column 2, is what column 2 needs to show its header.
  // The other columns get their share of W, or more where their header or
  // their widest text would not fit; in a column edited with a selection
  // box, the text must also fit beside the box's arrow.
  const QFontMetrics metrics(grid_font);
  std::array<int, gl::kColumns> needed{};
  for (int col = 0; col < gl::kColumns; ++col) {
    int contents = 0;
    for (const QString& text : WidestContents()[col]) {
      contents = std::max(contents, metrics.horizontalAdvance(text));
    }
    if (contents > 0 && cell_lists::IsSelectionColumn(col)) contents += CellEditor::kArrowWidth;
    needed[col] = std::max(metrics.horizontalAdvance(ToQString(kColumnHeaders[col])), contents) +
                  kCellTextMargin;
  }
  const double w = needed[gl::kColTransmit] / kWidthFactors[gl::kColTransmit];
  for (int col = 0; col < gl::kColumns; ++col) {
    grid_->SetColAlignment(col, GridControl::kAlignLeftCenter);
    const int share = static_cast<int>(w * kWidthFactors[col]);
    grid_->SetColWidth(col, kWidthFactors[col] == 0 ? 0 : std::max(share, needed[col]));
  }
}

void ChannelView::BuildEditors() {
  QWidget* parent = grid_->viewport();
  frequency_editor_ = CellEditor::MakeEditBox(kFrequencyEditorId, "frequencyEditor", parent);
  name_editor_ =
      CellEditor::MakeEditBox(kNameEditorId, "nameEditor", parent, true, kNameEditorLimit);

  QStringList tones;
  for (const std::string& text : ToneTables::Get().texts())
    tones.append(QString::fromStdString(text));
  tone_box_ =
      CellEditor::MakeSelectionBox(kToneBoxId, "toneBox", CellEditor::Kind::ToneBox, parent, tones);

  static_assert(kListEditorNames.size() == kListCount);
  for (int i = 0; i < kListCount; ++i) {
    const int col = gl::kColBandwidth + i;
    const ListEditorName& name = kListEditorNames[static_cast<std::size_t>(i)];
    lists_[i] = CellEditor::MakeSelectionBox(name.id, name.object_name, CellEditor::Kind::List,
                                             parent, ToQStringList(cell_lists::ForColumn(col)));
  }
}

void ChannelView::WriteHeaders() {
  view_grid_->SetTracking(false);
  WriteGridHeaders(*view_grid_);
  view_grid_->SetTracking(true);
}

void ChannelView::WatchWidget(QWidget* widget) {
  widget->installEventFilter(this);
  if (auto* combo = qobject_cast<QComboBox*>(widget); combo != nullptr && combo->lineEdit()) {
    combo->lineEdit()->installEventFilter(this);
  }
}

// ---------------------------------------------------------------------------
// Document

void ChannelView::OnInitialUpdate() {
  HideAllEditors();
  frequency_editor_->SetText(QString());
  name_editor_->SetText(QString());
  // A new document starts at its first channel, in view, whatever the
  // last one showed.
  grid_->SetCurrentCell(1, gl::kColReceive);
  RefreshFromImage();
  WriteHeaders();
  grid_->ClearRowSelection();
  history_->Reset();
  grid_->SetTopRow(1);
  grid_->EnsureCurrentVisible();
  grid_->setFocus(Qt::OtherFocusReason);
}

void ChannelView::RefreshFromImage() {
  RefillGrid([this] { ImageToGrid(document_.image(), *view_grid_); });
}

void ChannelView::RefillGrid(const std::function<void()>& fill) {
  HideAllEditors();
  view_grid_->SetTracking(false);
  grid_->BeginReset();
  fill();
  grid_->EndReset();
  view_grid_->SetTracking(true);
  // The current cell's editor was preloaded with the text it held before.
  OnEnterCell();
  grid_->Refresh();
}

void ChannelView::EncodeToImage() { GridToImage(*view_grid_, document_.image()); }

void ChannelView::MarkModified() {
  document_.SetModified(true);
  emit DocumentModified();
}

// ---------------------------------------------------------------------------
// Undo history

EditState ChannelView::CaptureState() const {
  EditState state;
  state.cells.reserve(static_cast<std::size_t>(gl::kRows - 1) *
                      static_cast<std::size_t>(gl::kColumns - 1));
  for (int row = 1; row < gl::kRows; ++row) {
    for (int col = gl::kColReceive; col < gl::kColumns; ++col) {
      state.cells.push_back(grid_->TextMatrix(row, col));
    }
  }
  for (std::size_t box = 0; box < boxes_.size(); ++box) {
    state.boxes[box] = view_grid_->BoxSelection(static_cast<FormBox>(box));
  }
  return state;
}

void ChannelView::RestoreState(const EditState& state, const RadioImage* image) {
  RefillGrid([this, &state, image] {
    std::size_t index = 0;
    for (int row = 1; row < gl::kRows; ++row) {
      for (int col = gl::kColReceive; col < gl::kColumns; ++col) {
        grid_->SetTextMatrix(row, col, state.cells.at(index++));
      }
    }
    for (std::size_t box = 0; box < boxes_.size(); ++box) {
      view_grid_->SetBoxSelection(static_cast<FormBox>(box), state.boxes[box]);
    }
    if (image != nullptr) document_.image() = *image;
  });
}

bool ChannelView::EditGrid(const QString& step,
                           const std::function<void(ChannelGrid& grid)>& edit) {
  // One mark for the whole edit instead of one per cell.
  RefillGrid([this, &edit] { edit(*view_grid_); });
  const bool changed = history_->Record(step);
  if (changed) MarkModified();
  return changed;
}

void ChannelView::RecordImageChange(const QString& step, const RadioImage& image_before) {
  history_->RecordImageChange(step, image_before, document_.image());
}

std::vector<int> ChannelView::SelectedChannels() const {
  std::vector<int> rows = grid_->SelectedRows();
  if (rows.empty() && grid_->Row() >= 1) rows.push_back(grid_->Row());
  return rows;
}

QString ChannelView::BoxEntryText(FormBox box) const {
  const QComboBox* combo = FormBoxWidget(box);
  const int index = combo->currentIndex();
  return index >= 0 ? combo->itemText(index) : QString();
}

// ---------------------------------------------------------------------------
// Editors

CellEditor& ChannelView::EditorForColumn(int col) {
  switch (EditorKindForColumn(col)) {
    case CellEditorKind::Tone:
      return *tone_box_;
    case CellEditorKind::List:
      return *lists_[col - gl::kColBandwidth];
    case CellEditorKind::Name:
      return *name_editor_;
    case CellEditorKind::Frequency:
      break;
  }
  return *frequency_editor_;
}

CellEditor* ChannelView::OpenEditor() const {
  for (CellEditor* editor : {frequency_editor_.get(), name_editor_.get(), tone_box_.get()}) {
    if (editor->IsOpen()) return editor;
  }
  for (const auto& list : lists_) {
    if (list->IsOpen()) return list.get();
  }
  return nullptr;
}

CellEditor* ChannelView::EditorOfWidget(QObject* object) const {
  for (CellEditor* editor : {frequency_editor_.get(), name_editor_.get(), tone_box_.get()}) {
    if (object == editor->Widget() || object == editor->LineEdit()) return editor;
  }
  for (const auto& list : lists_) {
    if (object == list->Widget()) return list.get();
  }
  return nullptr;
}

void ChannelView::HideEditor(CellEditor& editor) {
  QWidget* widget = editor.Widget();
  if (widget->isHidden()) return;
  // Hiding the focused widget would pass the focus on along the tab chain;
  // the grid takes it back instead.
  if (widget->hasFocus() || widget->isAncestorOf(QApplication::focusWidget())) {
    grid_->setFocus(Qt::OtherFocusReason);
  }
  editor.Hide();
}

void ChannelView::HideAllEditors() {
  for (CellEditor* editor : {frequency_editor_.get(), name_editor_.get(), tone_box_.get()}) {
    HideEditor(*editor);
  }
  for (auto& list : lists_) HideEditor(*list);
}

bool ChannelView::DiscardOpenEditor() {
  CellEditor* editor = OpenEditor();
  if (editor == nullptr) return false;
  const bool typed = editor->Text() != grid_->Text();
  HideEditor(*editor);
  OnEnterCell();
  return typed;
}

void ChannelView::ShowCommitMessage(const std::string& message) {
  if (!message.empty()) ShowMessage(this, CoreTextShown(message), QMessageBox::Warning);
}

void ChannelView::OpenCellEditor(int key, CellEditor* editor) {
  if (editor == nullptr) editor = &EditorForColumn(grid_->Col());
  // Editing a cell ends a selection of whole rows.
  grid_->ClearRowSelection();
  // The cell must be in view before the editor is laid over it; a scroll
  // hides the editors, so it comes first.
  grid_->EnsureCurrentVisible();

  const bool seeded = key != kNoKey && key != kEnterKey;
  QString text = editor->Text();
  if (key < kFirstTypedKey) {
    if (editor->IsEditBox()) editor->SelectAll();
  } else {
    const QChar typed(key);
    if (typed >= QLatin1Char('0') && typed <= QLatin1Char('9')) {
      text += typed;
    } else {
      ShowMessage(this, tr("Please input Number"), QMessageBox::Information);
    }
    if (editor->HasTextField()) editor->SetText(text);
  }

  const QRect cell(grid_->CellLeft(), grid_->CellTop(), grid_->CellWidth(), grid_->CellHeight());
  if (editor->IsSelectionBox()) {
    // The typed character goes straight into the tone box's text field.
    if (seeded && editor->HasTextField()) {
      editor->SetText(QString(QChar(key)));
      editor->PutCaretAtEnd();
    }
    editor->ShowAt(cell.adjusted(0, 0, -1, -1));
  } else {
    const QString cell_text = grid_->Text();
    if (cell_text.isEmpty()) {
      editor->SetText(text);
      editor->SelectAll();
      if (seeded) editor->PutCaretAtEnd();
    } else {
      editor->SetText(cell_text);
      editor->SelectAll();
      if (seeded) {
        editor->SetText(QString(QChar(key)));
        editor->PutCaretAtEnd();
      }
    }
    editor->ShowAt(cell.adjusted(0, 0, -1, -1));
  }
  // A screen reader says where the editor is: the column, then the channel.
  editor->SetAccessibleName(
      tr("%1, channel %2").arg(grid_->TextMatrix(0, grid_->Col()).trimmed()).arg(grid_->Row()));
  editor->Widget()->setFocus(Qt::OtherFocusReason);
  grid_->Refresh();
}

std::string ChannelView::CommitEditor(CellEditor& editor, int row, int col, CommitPath path) {
  std::string message = CommitIfChanged(*view_grid_, *grid_, editor, row, col, path);
  history_->Record(tr("Edit Channel %1").arg(row));
  return message;
}

void ChannelView::CommitOpenEditor() {
  CellEditor* editor = OpenEditor();
  if (editor == nullptr) return;
  const int row = grid_->Row();
  const int col = grid_->Col();
  std::string message;
  if (row != 0) message = CommitEditor(*editor, row, col, CommitPath::LeaveCell);
  HideEditor(*editor);
  // The cell stays current: its editor starts again from what it holds.
  OnEnterCell();
  ShowCommitMessage(message);
}

void ChannelView::EditData() {
  ShowMessage(this, tr("Please directly double click inside the table"), QMessageBox::Information);
  grid_->SetRow(1);
  grid_->SetCol(1);
  grid_->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------
// Grid events

void ChannelView::OnEnterCell() {
  if (grid_->Row() == 0) return;
  EditorForColumn(grid_->Col()).Preload(grid_->Text());
}

void ChannelView::OnLeaveCell() {
  if (grid_->Row() == 0) return;
  CellEditor& editor = EditorForColumn(grid_->Col());
  if (!editor.IsOpen()) return;
  const std::string message =
      CommitEditor(editor, grid_->Row(), grid_->Col(), CommitPath::LeaveCell);
  HideEditor(editor);
  ShowCommitMessage(message);
}

void ChannelView::OnDblClick() {
  if (grid_->Row() != 0 && grid_->Col() != 0) OpenCellEditor(kNoKey);
}

void ChannelView::OnMouseDown(Qt::MouseButton button) {
  if (button == Qt::RightButton) return;
  if (grid_->Row() != 0 && grid_->Col() != 0) OpenCellEditor(kNoKey);
}

void ChannelView::OnKeyPress(QChar character) {
  if (grid_->Row() != 0 && grid_->Col() != 0) OpenCellEditor(character.unicode());
}

void ChannelView::OnContextMenu(QPoint viewport_pos, bool by_keyboard) {
  // The menu acts on the selected rows: opened on a row outside them, it
  // selects that row (the current one, from the keyboard) alone.
  int row = grid_->Row();
  int col = grid_->Col();
  if (!by_keyboard && !grid_->CellAt(viewport_pos, &row, &col)) row = 0;
  if (row >= 1 && !grid_->IsRowSelected(row)) {
    grid_->SetCurrentCell(row, col);
    grid_->SelectRows(row, row);
  }
  emit ContextMenuRequested(grid_->viewport()->mapToGlobal(viewport_pos));
}

void ChannelView::OnScroll() {
  HideAllEditors();
  // The text left in the hidden editor was not stored; a digit typed over
  // the cell next must not be appended to it.
  OnEnterCell();
  grid_->Refresh();
}

// ---------------------------------------------------------------------------
// Keys

bool ChannelView::PreTranslateKey(QObject* watched, QKeyEvent* event) {
  CellEditor* editor = EditorOfWidget(watched);
  if (editor == name_editor_.get() && !NameEditorKeyPasses(event)) return true;

  // Esc leaves an open editor without committing it.
  if (event->key() == Qt::Key_Escape && editor != nullptr && editor->IsOpen()) {
    HideEditor(*editor);
    OnEnterCell();
    return true;
  }
  if (!IsEnterKey(event)) return false;

  if (watched == grid_ || watched == grid_->viewport()) {
    EnterOnGrid();
  } else if (editor == frequency_editor_.get()) {
    EnterOnFrequencyEditor();
  } else if (editor == name_editor_.get()) {
    EnterOnNameEditor();
  } else if (editor != nullptr && editor->kind() == CellEditor::Kind::List) {
    EnterOnList(*editor);
  } else {
    EnterElsewhere();
  }
  return true;
}

void ChannelView::EnterOnGrid() {
  if (grid_->Col() == gl::kColScan) {
    PressTab();
    return;
  }
  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QApplication::sendEvent(grid_, &right);
}

void ChannelView::EnterOnFrequencyEditor() {
  const std::string message =
      CommitEditor(*frequency_editor_, grid_->RowSel(), grid_->ColSel(), CommitPath::EnterKey);
  HideEditor(*frequency_editor_);
  ShowCommitMessage(message);
  MoveToNextColumnAndEdit();
}

void ChannelView::EnterOnList(CellEditor& list) {
  const int row = grid_->RowSel();
  const std::string message = CommitEditor(list, row, grid_->ColSel(), CommitPath::EnterKey);
  HideEditor(list);
  ShowCommitMessage(message);
  if (row == gl::kRows - 1) {
    PressTab();
  } else {
    MoveToNextColumnAndEdit();
  }
}

void ChannelView::EnterOnNameEditor() {
  const int row = grid_->RowSel();
  const std::string message =
      CommitEditor(*name_editor_, row, grid_->ColSel(), CommitPath::EnterKey);
  HideEditor(*name_editor_);
  ShowCommitMessage(message);
  if (row == gl::kRows - 1) {
    PressTab();
    return;
  }
  grid_->SetRow(row + 1);
  grid_->SetCol(gl::kColReceive);
  OpenCellEditor(kEnterKey);
}

void ChannelView::EnterElsewhere() {
  if (!tone_box_->IsOpen()) {
    PressTab();
    return;
  }
  const std::string message =
      CommitEditor(*tone_box_, grid_->RowSel(), grid_->ColSel(), CommitPath::EnterKey);
  HideEditor(*tone_box_);
  ShowCommitMessage(message);
  MoveToNextColumnAndEdit();
}

void ChannelView::PressTab() { focusNextPrevChild(true); }

void ChannelView::MoveToNextColumnAndEdit() {
  // The hidden PTT ID column is stepped over: an editor laid over a cell of
  // no width would take the keys unseen.
  int next = grid_->Col() + 1;
  while (next < gl::kColumns && grid_->ColWidth(next) == 0) ++next;
  if (next >= gl::kColumns) return;
  grid_->SetCol(next);
  OpenCellEditor(kEnterKey);
}

// ---------------------------------------------------------------------------
// Status bar help

QString ChannelView::SelectionBoxHelpText() {
  return tr("Please click the CommBox to choose value，For help，please press F1");
}

QString ChannelView::GridHelpText() {
  return tr("Please Click the cell to edit or input data，For help，please press F1");
}

QString ChannelView::OtherHelpText() { return tr("For help，please press F1"); }

QString ChannelView::HelpTextFor(QObject* object) const {
  for (QComboBox* box : boxes_) {
    if (object == box || object == box->lineEdit()) return SelectionBoxHelpText();
  }
  if (CellEditor* editor = EditorOfWidget(object)) {
    return editor->IsSelectionBox() ? SelectionBoxHelpText() : GridHelpText();
  }
  if (object == grid_ || object == grid_->viewport()) return GridHelpText();
  return OtherHelpText();
}

bool ChannelView::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (PreTranslateKey(watched, static_cast<QKeyEvent*>(event))) return true;
      break;
    case QEvent::Enter:
      emit StatusMessage(HelpTextFor(watched));
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zlm5
