// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid/grid_control.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <cmath>

#include "ui/grid/grid_accessible.h"

namespace zlm5 {
namespace {

constexpr int kDefaultColWidth = 64;
constexpr int kTextPadding = 3;          // pixels between a cell's edge and its text
constexpr int kRowPadding = 4;           // pixels added to the font's line spacing
constexpr int kHorizontalStep = 20;      // pixels per click on the horizontal arrows
constexpr double kGridLineShare = 0.25;  // of the text colour in a grid line
// A marked cell's background: this share of the mark hue over the base.
constexpr double kMarkShare = 0.35;
constexpr QColor kMarkHue(0xE6, 0x7E, 0x00);  // amber: a warning, not an error
// The current cell: the highlight colour laid over it at this alpha and a
// frame of this pen width, stronger while the grid has the focus.
constexpr int kCurrentTintAlphaFocused = 70;
constexpr int kCurrentTintAlphaUnfocused = 40;
constexpr int kCurrentFrameWidthFocused = 2;
constexpr int kCurrentFrameWidthUnfocused = 1;
// The size the grid asks for: this many rows, or as few as it has; and at
// least this many row heights each way.
constexpr int kRowsWanted = 20;
constexpr int kMinimumRowHeights = 4;
// Vertical positions (top, centre, bottom) within each horizontal step of
// the alignment values.
constexpr int kVerticalPositions = 3;
// DEL, which some keyboards type with the Delete key: no character to type.
constexpr char16_t kDeleteCharacter = 0x7F;

// The colour of the lines between cells: `kGridLineShare` of the way from
// the palette's background to its text.
QColor GridLineColor(const QPalette& palette) {
  const QColor base = palette.color(QPalette::Base);
  const QColor text = palette.color(QPalette::Text);
  const auto mix = [](int from, int to) {
    return static_cast<int>(std::lround(from + (to - from) * kGridLineShare));
  };
  return QColor(mix(base.red(), text.red()), mix(base.green(), text.green()),
                mix(base.blue(), text.blue()));
}

Qt::Alignment ToQtAlignment(int alignment) {
  Qt::Alignment horizontal = Qt::AlignLeft;
  if (alignment >= GridControl::kAlignCenterTop && alignment <= GridControl::kAlignCenterBottom) {
    horizontal = Qt::AlignHCenter;
  } else if (alignment >= GridControl::kAlignRightTop &&
             alignment <= GridControl::kAlignRightBottom) {
    horizontal = Qt::AlignRight;
  }
  Qt::Alignment vertical = Qt::AlignVCenter;
  switch (alignment % kVerticalPositions) {
    case GridControl::kAlignLeftTop:
      vertical = Qt::AlignTop;
      break;
    case GridControl::kAlignLeftBottom:
      vertical = Qt::AlignBottom;
      break;
    default:
      break;
  }
  return horizontal | vertical;
}

}  // namespace

GridControl::GridControl(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  UpdateRowHeight();
  SetDimensions(FixedRows() + 1, FixedCols() + 1);
}

void GridControl::SetDimensions(int rows, int cols) {
  // The header row and column, and at least one cell.
  rows_ = std::max(rows, FixedRows() + 1);
  cols_ = std::max(cols, FixedCols() + 1);
  cells_.assign(static_cast<std::size_t>(rows_) * cols_, QString());
  col_widths_.assign(cols_, kDefaultColWidth);
  col_alignments_.assign(cols_, kAlignLeftCenter);
  row_ = 1;
  col_ = 1;
  selected_rows_.clear();
  anchor_row_ = 0;
  UpdateScrollBars();
  viewport()->update();
}

void GridControl::SetCurrentCell(int row, int col) {
  if (!Contains(row, col) || (row == row_ && col == col_)) return;
  emit LeaveCell();
  const QRect old_rect = CellRect(row_, col_);
  row_ = row;
  col_ = col;
  viewport()->update(old_rect);
  viewport()->update(CellRect(row_, col_));
  NotifyGridCurrentCell(*this);
  emit EnterCell();
}

std::vector<int> GridControl::SelectedRows() const {
  std::vector<int> rows;
  for (std::size_t row = 0; row < selected_rows_.size(); ++row) {
    if (selected_rows_[row]) rows.push_back(static_cast<int>(row));
  }
  return rows;
}

bool GridControl::IsRowSelected(int row) const {
  return row >= 0 && static_cast<std::size_t>(row) < selected_rows_.size() && selected_rows_[row];
}

void GridControl::SelectRows(int first, int last) {
  const int low = std::clamp(std::min(first, last), 1, rows_ - 1);
  const int high = std::clamp(std::max(first, last), 1, rows_ - 1);
  std::vector<bool> selected(static_cast<std::size_t>(rows_), false);
  for (int row = low; row <= high; ++row) selected[row] = true;
  anchor_row_ = std::clamp(first, 1, rows_ - 1);
  SetRowSelection(std::move(selected));
}

void GridControl::SetSelectedRows(const std::vector<int>& rows) {
  std::vector<bool> selected(static_cast<std::size_t>(rows_), false);
  for (const int row : rows) {
    if (row >= 1 && row < rows_) selected[row] = true;
  }
  anchor_row_ = rows.empty() ? 0 : std::clamp(rows.front(), 1, rows_ - 1);
  SetRowSelection(std::move(selected));
}

void GridControl::ClearRowSelection() {
  anchor_row_ = 0;
  SetRowSelection({});
}

void GridControl::SetRowSelection(std::vector<bool> selected) {
  if (std::find(selected.begin(), selected.end(), true) == selected.end()) selected.clear();
  if (selected == selected_rows_) return;
  std::swap(selected_rows_, selected);
  NotifyGridRowSelection(*this, selected, selected_rows_);
  viewport()->update();
  emit RowSelectionChanged();
}

void GridControl::ClickRowHeader(int row, Qt::KeyboardModifiers modifiers, int previous_row) {
  if (modifiers & Qt::ShiftModifier) {
    // From the anchor of the selection, or from the row that was current.
    const int anchor = anchor_row_ > 0 && !selected_rows_.empty() ? anchor_row_ : previous_row;
    SelectRows(std::max(anchor, 1), row);
  } else if (modifiers & Qt::ControlModifier) {
    std::vector<bool> selected = selected_rows_;
    selected.resize(static_cast<std::size_t>(rows_), false);
    selected[row] = !selected[row];
    anchor_row_ = row;
    SetRowSelection(std::move(selected));
  } else {
    SelectRows(row, row);
  }
}

QRect GridControl::CellRect(int row, int col) const {
  if (!Contains(row, col)) return {};
  const int top = row == 0 ? 0 : row_height_ * (1 + row - TopRow());
  const int left =
      col == 0 ? 0 : col_widths_[0] + ContentLeft(col) - horizontalScrollBar()->value();
  return {left, top, col_widths_[col], row_height_};
}

bool GridControl::CellAt(QPoint pos, int* row, int* col) const {
  if (pos.x() < 0 || pos.y() < 0) return false;
  int r = 0;
  if (pos.y() >= row_height_) r = TopRow() + (pos.y() - row_height_) / row_height_;
  if (r >= rows_) return false;
  int c = -1;
  if (pos.x() < col_widths_[0]) {
    c = 0;
  } else {
    const int content_x = pos.x() - col_widths_[0] + horizontalScrollBar()->value();
    int left = 0;
    for (int i = 1; i < cols_; ++i) {
      if (content_x >= left && content_x < left + col_widths_[i]) {
        c = i;
        break;
      }
      left += col_widths_[i];
    }
  }
  if (c < 0) return false;
  *row = r;
  *col = c;
  return true;
}

int GridControl::ColWidth(int col) const { return col >= 0 && col < cols_ ? col_widths_[col] : 0; }

void GridControl::SetColWidth(int col, int width) {
  if (col < 0 || col >= cols_) return;
  const bool was_shown = col_widths_[col] > 0;
  col_widths_[col] = std::max(width, 0);
  UpdateScrollBars();
  viewport()->update();
  // A column hidden or shown changes the table a screen reader walks.
  if (was_shown != (col_widths_[col] > 0) && resetting_ == 0) NotifyGridReset(*this);
}

int GridControl::ColAlignment(int col) const {
  return col >= 0 && col < cols_ ? col_alignments_[col] : kAlignLeftCenter;
}

void GridControl::SetColAlignment(int col, int alignment) {
  if (col < 0 || col >= cols_) return;
  col_alignments_[col] = alignment;
  viewport()->update();
}

QString GridControl::TextMatrix(int row, int col) const {
  return Contains(row, col) ? cells_[Index(row, col)] : QString();
}

void GridControl::SetTextMatrix(int row, int col, const QString& text) {
  if (!Contains(row, col)) return;
  QString& cell = cells_[Index(row, col)];
  if (cell == text) return;
  cell = text;
  viewport()->update(CellRect(row, col));
  if (resetting_ == 0) NotifyGridCellText(*this, row, col);
}

void GridControl::Refresh() { viewport()->update(); }

void GridControl::EndReset() {
  if (resetting_ == 0 || --resetting_ > 0) return;
  NotifyGridReset(*this);
}

// ---------------------------------------------------------------------------
// Cell marks

void GridControl::SetCellMarks(CellMarks marks) {
  cell_marks_ = std::move(marks);
  viewport()->update();
}

QString GridControl::CellMark(int row, int col) const {
  if (!cell_marks_ || row < FixedRows() || col < FixedCols() || !Contains(row, col)) return {};
  return cell_marks_(row, col);
}

QColor GridControl::MarkColor(const QPalette& palette) {
  // A share of the hue over the base stays on the base's side of light and
  // dark: light amber under dark text, dark amber under light text.
  const QColor base = palette.color(QPalette::Base);
  const auto mix = [](int from, int to) {
    return static_cast<int>(std::lround(from + (to - from) * kMarkShare));
  };
  return QColor(mix(base.red(), kMarkHue.red()), mix(base.green(), kMarkHue.green()),
                mix(base.blue(), kMarkHue.blue()));
}

bool GridControl::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(event);
  const auto* help = static_cast<QHelpEvent*>(event);
  int row = 0;
  int col = 0;
  const QString mark = CellAt(help->pos(), &row, &col) ? CellMark(row, col) : QString();
  if (mark.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), mark, viewport(), CellRect(row, col));
  }
  return true;
}

int GridControl::TopRow() const { return 1 + verticalScrollBar()->value(); }

void GridControl::SetTopRow(int row) { verticalScrollBar()->setValue(row - 1); }

void GridControl::EnsureCurrentVisible() {
  if (row_ >= 1) {
    const int full = FullRowsInView();
    if (row_ < TopRow()) {
      SetTopRow(row_);
    } else if (row_ >= TopRow() + full) {
      SetTopRow(row_ - full + 1);
    }
  }
  if (col_ >= 1) {
    const int avail = std::max(viewport()->width() - col_widths_[0], 0);
    const int left = ContentLeft(col_);
    const int right = left + col_widths_[col_];
    QScrollBar* bar = horizontalScrollBar();
    if (left < bar->value()) {
      bar->setValue(left);
    } else if (right > bar->value() + avail) {
      bar->setValue(std::min(left, right - avail));
    }
  }
}

QSize GridControl::sizeHint() const {
  int width = 0;
  for (int w : col_widths_) width += w;
  width += verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
  const int height = row_height_ * std::min(rows_, kRowsWanted) + 2 * frameWidth();
  return {width, height};
}

QSize GridControl::minimumSizeHint() const {
  return {col_widths_[0] + kMinimumRowHeights * row_height_, kMinimumRowHeights * row_height_};
}

int GridControl::ContentLeft(int col) const {
  int left = 0;
  for (int i = 1; i < col && i < cols_; ++i) left += col_widths_[i];
  return left;
}

int GridControl::ScrollableWidth() const { return ContentLeft(cols_); }

int GridControl::FullRowsInView() const {
  return std::max((viewport()->height() - row_height_) / row_height_, 1);
}

int GridControl::NextVisibleCol(int col, int step) const {
  for (int c = col + step; c >= 1 && c < cols_; c += step) {
    if (col_widths_[c] > 0) return c;
  }
  return col;
}

void GridControl::UpdateRowHeight() {
  row_height_ = QFontMetrics(font()).lineSpacing() + kRowPadding;
}

void GridControl::UpdateScrollBars() {
  const int full = FullRowsInView();
  QScrollBar* vbar = verticalScrollBar();
  vbar->setRange(0, std::max(rows_ - 1 - full, 0));
  vbar->setPageStep(full);
  vbar->setSingleStep(1);

  const int avail = std::max(viewport()->width() - col_widths_[0], 0);
  QScrollBar* hbar = horizontalScrollBar();
  hbar->setRange(0, std::max(ScrollableWidth() - avail, 0));
  hbar->setPageStep(std::max(avail, 1));
  hbar->setSingleStep(kHorizontalStep);
}

void GridControl::PaintCell(QPainter& painter, int row, int col, const QRect& rect) const {
  const bool fixed = row == 0 || col == 0;
  const QPalette& pal = palette();
  painter.fillRect(rect, fixed ? pal.button() : pal.base());
  if (!fixed && !CellMark(row, col).isEmpty()) painter.fillRect(rect, MarkColor(pal));
  const bool current = row == row_ && col == col_;
  const bool selected = row > 0 && IsRowSelected(row);
  if (selected) painter.fillRect(rect, pal.highlight());
  if (current && !fixed) {
    QColor tint = pal.color(QPalette::Highlight);
    tint.setAlpha(hasFocus() ? kCurrentTintAlphaFocused : kCurrentTintAlphaUnfocused);
    painter.fillRect(rect, tint);
  }
  // Lines on the right and bottom edges, as in classic grids: a quarter of
  // the way from the background to the text, light grey on white, and as
  // faint on a dark palette.
  painter.setPen(fixed ? pal.color(QPalette::Dark) : GridLineColor(pal));
  painter.drawLine(rect.topRight(), rect.bottomRight());
  painter.drawLine(rect.bottomLeft(), rect.bottomRight());

  const QString& text = cells_[Index(row, col)];
  if (!text.isEmpty()) {
    painter.setPen(pal.color(selected ? QPalette::HighlightedText
                                      : (fixed ? QPalette::ButtonText : QPalette::Text)));
    const QRect text_rect = rect.adjusted(kTextPadding, 0, -kTextPadding, -1);
    painter.drawText(text_rect, static_cast<int>(ToQtAlignment(col_alignments_[col])), text);
  }
  if (current && !fixed) {
    QPen pen(pal.color(QPalette::Highlight));
    pen.setWidth(hasFocus() ? kCurrentFrameWidthFocused : kCurrentFrameWidthUnfocused);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(1, 1, -1, -1));
  }
}

void GridControl::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(viewport());
  painter.setFont(font());
  const QRect area = viewport()->rect();
  painter.fillRect(area, palette().window());

  const int fixed_w = col_widths_[0];
  const int first_row = TopRow();
  const int last_row = std::min(rows_ - 1, first_row + (area.height() / row_height_) + 1);

  auto paint_row = [&](int row) {
    for (int col = 1; col < cols_; ++col) {
      if (col_widths_[col] == 0) continue;
      const QRect rect = CellRect(row, col);
      if (rect.right() < fixed_w || rect.left() > area.right()) continue;
      PaintCell(painter, row, col, rect);
    }
  };

  // Scrollable cells, clipped so that they never paint over the headers.
  painter.setClipRect(
      QRect(fixed_w, row_height_, area.width() - fixed_w, area.height() - row_height_));
  for (int row = first_row; row <= last_row; ++row) paint_row(row);
  // Header row, then header column, then the corner.
  painter.setClipRect(QRect(fixed_w, 0, area.width() - fixed_w, row_height_));
  paint_row(0);
  painter.setClipRect(QRect(0, row_height_, fixed_w, area.height() - row_height_));
  if (fixed_w > 0) {
    for (int row = first_row; row <= last_row; ++row) PaintCell(painter, row, 0, CellRect(row, 0));
  }
  painter.setClipping(false);
  if (fixed_w > 0) PaintCell(painter, 0, 0, CellRect(0, 0));
}

void GridControl::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  int row = 0;
  int col = 0;
  if (!CellAt(pos, &row, &col)) {
    event->ignore();
    return;
  }
  setFocus(Qt::MouseFocusReason);
  if (event->button() == Qt::LeftButton) {
    const bool row_header = col == 0 && row > 0;
    const int previous_row = row_;
    if (!row_header) ClearRowSelection();
    SetCurrentCell(row, col);
    EnsureCurrentVisible();
    if (row_header) ClickRowHeader(row, event->modifiers(), previous_row);
  }
  emit MouseDown(event->button(), event->modifiers(), pos);
}

void GridControl::mouseDoubleClickEvent(QMouseEvent* event) {
  int row = 0;
  int col = 0;
  if (event->button() != Qt::LeftButton || !CellAt(event->position().toPoint(), &row, &col)) {
    event->ignore();
    return;
  }
  emit DblClick();
}

void GridControl::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void GridControl::MoveBy(int key, Qt::KeyboardModifiers modifiers) {
  const bool control = modifiers & Qt::ControlModifier;
  const bool vertical = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                        key == Qt::Key_PageDown ||
                        (control && (key == Qt::Key_Home || key == Qt::Key_End));
  const bool extend = (modifiers & Qt::ShiftModifier) && vertical;
  // Shift selects from the row where it began: the anchor of the selection,
  // or the current row when no row is selected yet.
  const int anchor = anchor_row_ > 0 && !selected_rows_.empty() ? anchor_row_ : std::max(row_, 1);
  int row = row_;
  int col = col_;
  const int page = FullRowsInView();
  switch (key) {
    case Qt::Key_Up:
      row = row_ - 1;
      break;
    case Qt::Key_Down:
      row = row_ + 1;
      break;
    case Qt::Key_PageUp:
      row = row_ - page;
      break;
    case Qt::Key_PageDown:
      row = row_ + page;
      break;
    case Qt::Key_Left:
      col = NextVisibleCol(std::max(col_, 1), -1);
      break;
    case Qt::Key_Right:
      col = col_ == 0 ? NextVisibleCol(0, 1) : NextVisibleCol(col_, 1);
      break;
    case Qt::Key_Home:
      col = NextVisibleCol(0, 1);
      if (control) row = 1;
      break;
    case Qt::Key_End:
      col = NextVisibleCol(cols_, -1);
      if (control) row = rows_ - 1;
      break;
    default:
      return;
  }
  // The keyboard never makes a header cell current.
  row = std::clamp(row, 1, rows_ - 1);
  col = std::max(col, 1);
  if (extend) {
    SelectRows(anchor, row);
  } else if (!(modifiers & Qt::ShiftModifier)) {
    ClearRowSelection();
  }
  SetCurrentCell(row, col);
  EnsureCurrentVisible();
}

void GridControl::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      MoveBy(event->key(), event->modifiers());
      event->accept();
      return;
    case Qt::Key_F10:
      // Shift+F10 asks for the context menu as the menu key does.
      if (event->modifiers() == Qt::ShiftModifier) {
        emit ContextMenu(CellRect(row_, col_).bottomLeft(), true);
        event->accept();
        return;
      }
      break;
    default:
      break;
  }
  const QString text = event->text();
  const bool command =
      event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (!command && !text.isEmpty() && text.front() >= QLatin1Char(' ') &&
      text.front() != QChar(kDeleteCharacter)) {
    emit KeyPress(text.front());
    event->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void GridControl::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void GridControl::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    UpdateRowHeight();
    UpdateScrollBars();
    viewport()->update();
  }
  QAbstractScrollArea::changeEvent(event);
}

void GridControl::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update(CellRect(row_, col_));
  // The widget's own focus is announced after this handler; the current
  // cell's comes after it, so that a screen reader ends on the cell.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (hasFocus()) NotifyGridCurrentCell(*this);
      },
      Qt::QueuedConnection);
}

void GridControl::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update(CellRect(row_, col_));
}

void GridControl::scrollContentsBy(int /*dx*/, int /*dy*/) {
  viewport()->update();
  emit Scroll();
}

void GridControl::contextMenuEvent(QContextMenuEvent* event) {
  const bool by_keyboard = event->reason() == QContextMenuEvent::Keyboard;
  // The keyboard's menu belongs to the current cell; the mouse's to the
  // cell under it (viewport coordinates, as the event is the viewport's).
  const QPoint pos = by_keyboard ? CellRect(row_, col_).bottomLeft() : event->pos();
  event->accept();
  emit ContextMenu(pos, by_keyboard);
}

}  // namespace zlm5
