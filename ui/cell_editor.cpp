#include "ui/cell_editor.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>

#include "ui/name_validator.h"

namespace zlm5 {

CellEditor::CellEditor(int id, Kind kind) : id_(id), kind_(kind) {}

// The widgets belong to their parent (the grid's viewport).
CellEditor::~CellEditor() = default;

std::unique_ptr<CellEditor> CellEditor::MakeEditBox(int id, QWidget* parent,
                                                    bool upper_case_name, int max_typed) {
  std::unique_ptr<CellEditor> editor(new CellEditor(id, Kind::EditBox));
  editor->edit_ = new QLineEdit(parent);
  editor->edit_->setObjectName(QStringLiteral("cellEditor%1").arg(id));
  editor->edit_->setFrame(false);
  if (upper_case_name) editor->edit_->setValidator(new NameValidator(editor->edit_, max_typed));
  editor->edit_->hide();
  return editor;
}

std::unique_ptr<CellEditor> CellEditor::MakeSelectionBox(int id, Kind kind, QWidget* parent,
                                                         const QStringList& entries) {
  std::unique_ptr<CellEditor> editor(new CellEditor(id, kind));
  auto* combo = new QComboBox(parent);
  combo->setObjectName(QStringLiteral("cellEditor%1").arg(id));
  combo->setMaxVisibleItems(16);
  if (kind == Kind::ToneBox) {
    combo->setEditable(true);
    // Typed texts are taken as typed: no completion, no new entries.
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
  }
  combo->addItems(entries);
  combo->hide();
  editor->combo_ = combo;
  return editor;
}

QWidget* CellEditor::Widget() const {
  if (edit_ != nullptr) return edit_;
  return combo_;
}

QLineEdit* CellEditor::LineEdit() const {
  if (edit_ != nullptr) return edit_;
  return combo_->lineEdit();
}

QString CellEditor::Text() const {
  if (QLineEdit* line = LineEdit()) return line->text();
  return combo_->currentText();
}

void CellEditor::SetText(const QString& text) {
  if (edit_ != nullptr) {
    if (edit_->validator() == nullptr) {
      edit_->setText(text);
      return;
    }
    // The name editor holds name characters only: one it could not hold
    // would make the validator refuse every key typed after it.
    QString name;
    for (QChar c : text.toUpper()) {
      if (NameValidator::IsNameCharacter(c)) name += c;
    }
    edit_->setText(name);
    return;
  }
  if (kind_ == Kind::ToneBox) {
    combo_->setEditText(text);
    return;
  }
  combo_->setCurrentIndex(combo_->findText(text, Qt::MatchFixedString));
}

int CellEditor::SelectedIndex() const {
  if (combo_ == nullptr) return -1;
  if (kind_ == Kind::ToneBox) return combo_->findText(combo_->currentText(), Qt::MatchFixedString);
  return combo_->currentIndex();
}

QString CellEditor::SelectedEntryText() const {
  const int index = SelectedIndex();
  return index >= 0 ? combo_->itemText(index) : QString();
}

void CellEditor::Preload(const QString& cell_text) {
  if (edit_ != nullptr) {
    SetText(cell_text);
    return;
  }
  if (kind_ == Kind::ToneBox) {
    if (cell_text.isEmpty()) {
      combo_->setCurrentIndex(0);
      combo_->setEditText(combo_->itemText(0));
      return;
    }
    const int index = combo_->findText(cell_text, Qt::MatchFixedString);
    if (index >= 0) {
      combo_->setCurrentIndex(index);
      combo_->setEditText(combo_->itemText(index));
    } else {
      combo_->setEditText(cell_text);
    }
    return;
  }
  if (cell_text.isEmpty()) {
    combo_->setCurrentIndex(-1);
    return;
  }
  const int index = combo_->findText(cell_text, Qt::MatchStartsWith);
  combo_->setCurrentIndex(index >= 0 ? index : 0);
}

void CellEditor::SelectAll() {
  if (QLineEdit* line = LineEdit()) line->selectAll();
}

void CellEditor::PutCaretAtEnd() {
  if (QLineEdit* line = LineEdit()) {
    line->deselect();
    line->setCursorPosition(static_cast<int>(line->text().size()));
  }
}

bool CellEditor::IsOpen() const { return !Widget()->isHidden(); }

void CellEditor::ShowAt(const QRect& rect) {
  QWidget* widget = Widget();
  QRect place = rect;
  if (combo_ != nullptr && rect.width() > 0) {
    // A selection box needs room for its arrow beside the entry; it grows
    // to the right (or to the left at the grid's right edge).
    place.setWidth(std::max(rect.width(), combo_->sizeHint().width()));
    const int parent_width = widget->parentWidget()->width();
    if (place.right() >= parent_width) place.moveRight(std::max(parent_width - 1, rect.right()));
    if (place.left() < 0) place.moveLeft(0);
  }
  widget->setGeometry(place);
  widget->show();
  widget->raise();
}

void CellEditor::Hide() { Widget()->hide(); }

}  // namespace zlm5
