// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/cell_editor.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionComboBox>

#include "model/tone_tables.h"
#include "ui/grid/name_validator.h"

namespace zlm5 {
namespace {

// Pixels between the box's left edge and its text, as in a grid cell.
constexpr int kTextPadding = 3;
// A frameless line edit draws its text this far in from its own left edge.
constexpr int kLineEditTextInset = 2;
// Entries a dropped-down list shows at once before it scrolls.
constexpr int kVisibleListEntries = 16;

// Where the parts of an in-cell box lie: the arrow along the right edge,
// the text (or the tone box's text field) from the cell's text position to
// the arrow. QComboBox places its text field and tells a click on the arrow
// by these rectangles; everything else is the application style's.
class InCellGeometry : public QProxyStyle {
 public:
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override {
    if (control == CC_ComboBox) {
      const QRect r = option->rect;
      switch (part) {
        case SC_ComboBoxArrow:
          return QRect(r.right() - CellEditor::kArrowWidth + 1, r.top(), CellEditor::kArrowWidth,
                       r.height());
        case SC_ComboBoxEditField:
          return QRect(r.left() + kTextPadding - kLineEditTextInset, r.top() + 1,
                       r.width() - kTextPadding + kLineEditTextInset - CellEditor::kArrowWidth,
                       r.height() - 2);
        default:
          break;
      }
    }
    return QProxyStyle::subControlRect(control, option, part, widget);
  }
};

// A drop-down box drawn as the grid cell it lies on: the cell's background,
// the text where the grid draws it and a narrow arrow at the right edge, so
// that the box fits its cell and still shows its entry whole (a framed box
// of the style needs about 30 pixels besides its text). The list it drops
// down is the style's, as wide as its longest entry.
class InCellComboBox : public QComboBox {
 public:
  explicit InCellComboBox(QWidget* parent) : QComboBox(parent) {
    auto* geometry = new InCellGeometry;
    geometry->setParent(this);
    setStyle(geometry);
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    const QPalette& pal = palette();
    painter.fillRect(rect(), pal.base());
    QStyleOptionComboBox option;
    initStyleOption(&option);
    if (!isEditable()) {
      const QRect text =
          style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
      painter.setPen(pal.color(QPalette::Text));
      painter.drawText(text.adjusted(kLineEditTextInset, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       currentText());
    }
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    if (hasFocus()) {
      // The grid's mark of the current cell.
      painter.setPen(pal.color(QPalette::Highlight));
      painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
  }
};

}  // namespace

CellEditor::CellEditor(int id, Kind kind) : id_(id), kind_(kind) {}

// The widgets belong to their parent (the grid's viewport).
std::unique_ptr<CellEditor> CellEditor::MakeEditBox(int id, const char* object_name,
                                                    QWidget* parent, bool upper_case_name,
                                                    int max_typed) {
  std::unique_ptr<CellEditor> editor(new CellEditor(id, Kind::EditBox));
  editor->edit_ = new QLineEdit(parent);
  editor->edit_->setObjectName(QString::fromLatin1(object_name));
  editor->edit_->setFrame(false);
  if (upper_case_name) editor->edit_->setValidator(new NameValidator(editor->edit_, max_typed));
  editor->edit_->hide();
  return editor;
}

std::unique_ptr<CellEditor> CellEditor::MakeSelectionBox(int id, const char* object_name, Kind kind,
                                                         QWidget* parent,
                                                         const QStringList& entries) {
  std::unique_ptr<CellEditor> editor(new CellEditor(id, kind));
  auto* combo = new InCellComboBox(parent);
  combo->setObjectName(QString::fromLatin1(object_name));
  combo->setMaxVisibleItems(kVisibleListEntries);
  if (kind == Kind::ToneBox) {
    combo->setEditable(true);
    // Typed texts are taken as typed: no completion, no new entries.
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
  }
  combo->addItems(entries);
  // The list drops down as wide as its longest entry needs beside the
  // list's scroll bar, also where the box itself is narrower.
  QAbstractItemView* list = combo->view();
  list->setMinimumWidth(list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width() +
                        2 * list->frameWidth());
  combo->hide();
  editor->combo_ = combo;
  editor->label_ = new QLabel(parent);
  editor->label_->setObjectName(QString::fromLatin1(object_name) + QStringLiteral("Label"));
  editor->label_->setBuddy(combo);
  editor->label_->hide();
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
      combo_->setCurrentIndex(ToneTables::kOff);
      combo_->setEditText(combo_->itemText(ToneTables::kOff));
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

void CellEditor::SetAccessibleName(const QString& name) {
  Widget()->setAccessibleName(name);
  if (label_ != nullptr) label_->setText(name);
  if (QLineEdit* line = LineEdit(); line != nullptr && line != Widget()) {
    line->setAccessibleName(name);
  }
}

bool CellEditor::IsOpen() const { return !Widget()->isHidden(); }

void CellEditor::ShowAt(const QRect& rect) {
  QWidget* widget = Widget();
  widget->setGeometry(rect);
  widget->show();
  widget->raise();
}

void CellEditor::Hide() { Widget()->hide(); }

}  // namespace zlm5
