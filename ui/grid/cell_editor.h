// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace zlm5 {

// One of the nine editors that the channel view lays over the current grid
// cell: an edit box (frequencies, the channel name), the tone box (a
// selection box with a text field) or a drop-down list. The widget is a
// child of the grid's viewport, created hidden; it is shown only between
// the view's OpenCellEditor and the commit of its text (or a scroll).
//
// The editor never uses the system clipboard: texts are put into the widget
// directly.
class CellEditor {
 public:
  enum class Kind { EditBox, ToneBox, List };

  // Width in pixels of a selection box's arrow. The box lies on its cell
  // and is never wider: a column with a selection box leaves this room
  // beside its widest text.
  static constexpr int kArrowWidth = 9;

  // An edit box. `upper_case_name` makes it the name editor: upper case,
  // the name characters only, `max_typed` characters typed at most.
  // `object_name` names its widget after what it edits.
  static std::unique_ptr<CellEditor> MakeEditBox(int id, const char* object_name, QWidget* parent,
                                                 bool upper_case_name = false, int max_typed = 0);
  // A selection box holding `entries`; the tone box has a text field.
  static std::unique_ptr<CellEditor> MakeSelectionBox(int id, const char* object_name, Kind kind,
                                                      QWidget* parent, const QStringList& entries);

  ~CellEditor() = default;
  CellEditor(const CellEditor&) = delete;
  CellEditor& operator=(const CellEditor&) = delete;

  int Id() const { return id_; }
  Kind kind() const { return kind_; }
  bool IsEditBox() const { return kind_ == Kind::EditBox; }
  bool IsSelectionBox() const { return kind_ != Kind::EditBox; }
  bool HasTextField() const { return kind_ != Kind::List; }

  QWidget* Widget() const;
  // The edit box itself, or the tone box's text field; null for a list.
  QLineEdit* LineEdit() const;
  // The selection box; null for an edit box.
  QComboBox* ComboBox() const { return combo_; }

  // What the editor holds: the edit box's or text field's text, or the
  // selected entry of a list ("" when none is selected).
  QString Text() const;
  // Puts a text into an edit box or the tone box's text field (the name
  // editor turns it to upper case and drops characters a name cannot hold);
  // selects the entry equal to it, ignoring case, in a list.
  void SetText(const QString& text);
  // The selected entry of a selection box, "" when none is. The tone box's
  // selected entry is the one its text field spells (ignoring case): typing
  // a text that is no entry leaves the box without a selected entry.
  int SelectedIndex() const;
  QString SelectedEntryText() const;

  // Takes a cell's text as the cell becomes current. An edit box takes the
  // text. A list selects the first entry that begins with the text,
  // ignoring case, or entry 0 when none does; an empty cell selects
  // nothing, so that looking at a cell never changes it. The tone box
  // selects the entry equal to the text, ignoring case; entry 0 ("OFF") for
  // an empty cell; a text that is no entry is kept in the text field.
  void Preload(const QString& cell_text);

  // Text selection inside an edit box or text field.
  void SelectAll();
  void PutCaretAtEnd();

  // Names the editor for a screen reader: the widget and the tone box's
  // text field, and a selection box's label as well (on Linux a screen
  // reader hears a selection box by its label and its entry, not by the
  // box's own name).
  void SetAccessibleName(const QString& name);

  bool IsOpen() const;
  // Places the editor exactly over `rect` (viewport coordinates) and shows
  // it.
  void ShowAt(const QRect& rect);
  void Hide();

 private:
  CellEditor(int id, Kind kind);

  int id_;
  Kind kind_;
  QLineEdit* edit_ = nullptr;
  QComboBox* combo_ = nullptr;
  QLabel* label_ = nullptr;  // a selection box's, never shown
};

}  // namespace zlm5
