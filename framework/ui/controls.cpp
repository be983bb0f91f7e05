#include "framework/ui/controls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QValidator>
#include <algorithm>

#include "framework/ui/focus_tracker.h"
#include "framework/ui/form_utils.h"
#include "platform/qt/keys_qt.h"
#include "platform/cp932.h"
#include "platform/dc.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/qt_text.h"

namespace fw {

namespace {

constexpr char kTagProperty[] = "Tag";

// The face every control of the program uses, through the platform's face substitution.
QFont FormFont() {
  QFont f(QString::fromStdString(platform::SubstituteFace("ＭＳ ゴシック")));
  f.setPixelSize(12);
  return f;
}

platform::ColorRef Rgb(const QColor& c) { return platform::QRgbToColorRef(c.rgb()); }

void SetTextColour(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::Text, c);
  p.setColor(QPalette::WindowText, c);
  p.setColor(QPalette::ButtonText, c);
  w->setPalette(p);
}

}  // namespace

// Refuses texts that CP932 cannot encode or that are longer than the byte limit.
class Cp932Validator : public QValidator {
 public:
  explicit Cp932Validator(QObject* parent) : QValidator(parent) {}
  int maxBytes = 0;
  State validate(QString& input, int& pos) const override {
    (void)pos;
    std::optional<std::string> bytes = platform::FromQString(input);
    if (!bytes) return Invalid;
    if (maxBytes > 0 && static_cast<int>(bytes->size()) > maxBytes) return Invalid;
    return Acceptable;
  }
};

void SetTag(QObject* control, int tag) {
  if (control) control->setProperty(kTagProperty, tag);
}

int Tag(const QObject* control) { return control ? control->property(kTagProperty).toInt() : 0; }

std::string Cp932Of(const QString& text) {
  if (std::optional<std::string> bytes = platform::FromQString(text)) return *bytes;
  std::string out;
  for (uint cp : text.toUcs4()) {
    std::optional<std::string> one = platform::FromQString(QString::fromUcs4(reinterpret_cast<const char32_t*>(&cp), 1));
    out += one ? *one : std::string("?");
  }
  return out;
}

QColor MoneyGreenColor() { return QColor(192, 220, 192); }
QColor ButtonFaceColor() { return QApplication::palette().color(QPalette::Button); }

// ---- TControlEvents ---------------------------------------------------------------------------

TControlEvents::TControlEvents(QWidget* self) : self_(self) { FocusTracker::Install(); }

void TControlEvents::FireEnter() {
  if (OnEnter) OnEnter(self_);
}

void TControlEvents::FireExit() {
  if (OnExit) OnExit(self_);
}

bool TControlEvents::RouteKeyEvent(QKeyEvent* e) {
  const int vk = platform::VirtualKeyOf(e);
  if (vk != 0 && OnKeyDown) {
    int key = vk;
    OnKeyDown(self_, key);
    if (key == 0) {
      e->accept();
      return true;
    }
  }
  bool encodable = true;
  const std::string bytes = platform::TypedBytesOf(e, encodable);
  if (!encodable) {  // a character the program's texts cannot hold
    e->accept();
    return true;
  }
  if (bytes.empty() || !OnKeyPress) return false;
  uint8_t key = static_cast<uint8_t>(bytes[0]);
  keyChars_ = bytes;
  OnKeyPress(self_, key);
  keyChars_.clear();
  if (key == 0) {
    e->accept();
    return true;
  }
  if (key != static_cast<uint8_t>(bytes[0])) {  // the handler typed another character
    if (key >= 32 && key < 0x80) InsertTyped(QString(QChar(key)));
    e->accept();
    return true;
  }
  return false;
}

// ---- TEditEx ----------------------------------------------------------------------------------

TEditEx::TEditEx(QWidget* parent) : QLineEdit(parent), TControlEvents(this), validator_(new Cp932Validator(this)) {
  setValidator(validator_);
  setFont(FormFont());
  SetCellFrame(true);
  SetCalcuable(false);
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (OnChange) OnChange(this);
  });
}

void TEditEx::SetEditType(TEditType type) {
  editType_ = type;
  switch (type) {
    case TEditType::etByte: SetMaxLength(3); break;
    case TEditType::etChar: SetMaxLength(1); break;
    case TEditType::etDate:
    case TEditType::etTime: SetMaxLength(8); break;
    case TEditType::etDateTime: SetMaxLength(17); break;
    case TEditType::etInteger: SetMaxLength(11); break;
    case TEditType::etSmallInt: SetMaxLength(6); break;
    case TEditType::etWord: SetMaxLength(5); break;
    case TEditType::etFloat:
    case TEditType::etString: break;
  }
  if (type != TEditType::etFloat) underPoint_ = 0;
  if (type == TEditType::etByte || type == TEditType::etChar || type == TEditType::etString || type == TEditType::etWord)
    underInput_ = false;
  if (IsTextEditType(type)) zeroDisplay_ = true;
  if (type != TEditType::etString) SetImeMode(TImeMode::imSAlpha);
}

void TEditEx::SetUnderPoint(int digits) {
  if (digits != 0 && maxBytes_ > 0 && maxBytes_ < digits + 3) digits = std::max(0, maxBytes_ - 3);
  underPoint_ = digits;
}

void TEditEx::SetCellFrame(bool on) {
  cellFrame_ = on;
  setVisible(!on);
  UpdateColours();
}

void TEditEx::SetCalcuable(bool on) {
  calcuable_ = on;
  UpdateColours();
}

void TEditEx::UpdateColours() {
  QPalette p = palette();
  p.setColor(QPalette::Text, cellFrame_ ? QColor(Qt::blue) : QColor(Qt::black));
  p.setColor(QPalette::Base, calcuable_ ? MoneyGreenColor() : QApplication::palette().color(QPalette::Base));
  setPalette(p);
}

void TEditEx::SetMaxLength(int bytes) {
  maxBytes_ = std::max(0, bytes);
  validator_->maxBytes = maxBytes_;
}

void TEditEx::SetImeMode(TImeMode mode) {
  imeMode_ = mode;
  setAttribute(Qt::WA_InputMethodEnabled, mode == TImeMode::imDontCare);
}

void TEditEx::SetText(const std::string& cp932) { setText(platform::ToQString(cp932)); }

bool TEditEx::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress && RouteKeyEvent(static_cast<QKeyEvent*>(e))) return true;
  return QLineEdit::event(e);
}

void TEditEx::mouseReleaseEvent(QMouseEvent* e) {
  QLineEdit::mouseReleaseEvent(e);
  if (e->button() == Qt::LeftButton && OnClick) OnClick(this);
}

// ---- TCBoxEx ----------------------------------------------------------------------------------

TCBoxEx::TCBoxEx(QWidget* parent) : QComboBox(parent), TControlEvents(this) {
  setFont(FormFont());
  setInsertPolicy(QComboBox::NoInsert);
  SetStyle(TComboBoxStyle::csDropDown);
  SetCellFrame(true);
  connect(this, &QComboBox::activated, this, [this] {
    if (OnClick) OnClick(this);
    if (OnChange) OnChange(this);
  });
}

void TCBoxEx::SetCellFrame(bool on) {
  cellFrame_ = on;
  setVisible(!on);
  SetTextColour(this, on ? QColor(Qt::blue) : QColor(Qt::black));
  if (lineEdit()) SetTextColour(lineEdit(), on ? QColor(Qt::blue) : QColor(Qt::black));
}

void TCBoxEx::SetStyle(TComboBoxStyle style) {
  style_ = style;
  const bool editable = style == TComboBoxStyle::csDropDown;
  if (editable != isEditable()) {
    const QSignalBlocker block(this);
    setEditable(editable);
  }
  if (!editable) changed_ = false;
  if (editable) AttachLineEdit();
}

void TCBoxEx::AttachLineEdit() {
  QLineEdit* line = lineEdit();
  if (!line || line->property("fwAttached").toBool()) return;
  line->setProperty("fwAttached", true);
  line->setValidator(new Cp932Validator(line));
  line->installEventFilter(this);
  SetTextColour(line, cellFrame_ ? QColor(Qt::blue) : QColor(Qt::black));
  connect(line, &QLineEdit::textEdited, this, [this] {
    if (OnChange) OnChange(this);
  });
}

void TCBoxEx::SetText(const std::string& cp932) {
  const QSignalBlocker block(this);
  const QString text = platform::ToQString(cp932);
  if (isEditable()) {
    const int index = findText(text, Qt::MatchExactly);
    if (index >= 0) setCurrentIndex(index);
    setEditText(text);
  } else {
    setCurrentIndex(findText(text, Qt::MatchExactly));
  }
}

std::vector<std::string> TCBoxEx::Items() const {
  std::vector<std::string> items;
  items.reserve(count());
  for (int i = 0; i < count(); ++i) items.push_back(Cp932Of(itemText(i)));
  return items;
}

void TCBoxEx::SetItems(const std::vector<std::string>& items) { SetComboItems(this, items); }

void TCBoxEx::SetItemIndex(int index) {
  const QSignalBlocker block(this);
  setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

void TCBoxEx::DeleteAtCaret() {
  if (lineEdit()) lineEdit()->del();
}

void TCBoxEx::InsertTyped(const QString& text) {
  if (lineEdit()) lineEdit()->insert(text);
}

bool TCBoxEx::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress && RouteKeyEvent(static_cast<QKeyEvent*>(e))) return true;
  return QComboBox::event(e);
}

bool TCBoxEx::eventFilter(QObject* watched, QEvent* e) {
  // Keys that reach the edit part directly go through the same handlers.
  if (watched == lineEdit() && e->type() == QEvent::KeyPress && RouteKeyEvent(static_cast<QKeyEvent*>(e)))
    return true;
  return QComboBox::eventFilter(watched, e);
}

// ---- TStrGridEx -------------------------------------------------------------------------------

TStrGridEx::TStrGridEx(QWidget* parent)
    : QAbstractScrollArea(parent), TControlEvents(this), view_(new platform::CanvasWidget) {
  setViewport(view_);
  view_->OnPaint = [this](platform::Canvas& canvas) { PaintCells(canvas); };
  setFont(FormFont());
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setFocusPolicy(Qt::StrongFocus);
  color_ = QApplication::palette().color(QPalette::Base);
  fixedColor_ = ButtonFaceColor();
  resize(192, 108);
  Resize();
}

void TStrGridEx::Resize() {
  colWidths_.resize(colCount_, defaultColWidth_);
  rowHeights_.resize(rowCount_, defaultRowHeight_);
  cells_.resize(rowCount_);
  for (auto& row : cells_) row.resize(colCount_);
  fixedCols_ = std::min(fixedCols_, std::max(0, colCount_ - 1));
  fixedRows_ = std::min(fixedRows_, std::max(0, rowCount_ - 1));
  col_ = std::clamp(col_, fixedCols_, std::max(fixedCols_, colCount_ - 1));
  row_ = std::clamp(row_, fixedRows_, std::max(fixedRows_, rowCount_ - 1));
  UpdateScrollBars();
  viewport()->update();
}

void TStrGridEx::SetColCount(int n) {
  colCount_ = std::max(1, n);
  Resize();
}
void TStrGridEx::SetRowCount(int n) {
  rowCount_ = std::max(1, n);
  Resize();
}
void TStrGridEx::SetFixedCols(int n) {
  fixedCols_ = std::max(0, n);
  Resize();
}
void TStrGridEx::SetFixedRows(int n) {
  fixedRows_ = std::max(0, n);
  Resize();
}

void TStrGridEx::SetDefaultColWidth(int w) {
  defaultColWidth_ = std::max(0, w);
  std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
  UpdateScrollBars();
  viewport()->update();
}

void TStrGridEx::SetDefaultRowHeight(int h) {
  defaultRowHeight_ = std::max(0, h);
  std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
  UpdateScrollBars();
  viewport()->update();
}

int TStrGridEx::ColWidths(int col) const { return col >= 0 && col < colCount_ ? colWidths_[col] : 0; }
int TStrGridEx::RowHeights(int row) const { return row >= 0 && row < rowCount_ ? rowHeights_[row] : 0; }

void TStrGridEx::SetColWidths(int col, int width) {
  if (col < 0 || col >= colCount_) return;
  colWidths_[col] = std::max(0, width);
  UpdateScrollBars();
  viewport()->update();
}

void TStrGridEx::SetRowHeights(int row, int height) {
  if (row < 0 || row >= rowCount_) return;
  rowHeights_[row] = std::max(0, height);
  UpdateScrollBars();
  viewport()->update();
}

std::string TStrGridEx::Cells(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return {};
  return cells_[row][col];
}

void TStrGridEx::SetCells(int col, int row, const std::string& cp932) {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return;
  cells_[row][col] = cp932;
  viewport()->update();
}

std::vector<std::string> TStrGridEx::Rows(int row) const {
  if (row < 0 || row >= rowCount_) return {};
  return cells_[row];
}

void TStrGridEx::SetRows(int row, const std::vector<std::string>& texts) {
  for (int c = 0; c < static_cast<int>(texts.size()) && c < colCount_; ++c) SetCells(c, row, texts[c]);
}

std::vector<std::string> TStrGridEx::Cols(int col) const {
  std::vector<std::string> out;
  if (col < 0 || col >= colCount_) return out;
  for (int r = 0; r < rowCount_; ++r) out.push_back(cells_[r][col]);
  return out;
}

void TStrGridEx::SetCols(int col, const std::vector<std::string>& texts) {
  for (int r = 0; r < static_cast<int>(texts.size()) && r < rowCount_; ++r) SetCells(col, r, texts[r]);
}

void TStrGridEx::SetCol(int col) {
  if (col < 0 || col >= colCount_) return;
  col_ = col;
  ScrollIntoView();
  viewport()->update();
}

void TStrGridEx::SetRow(int row) {
  if (row < 0 || row >= rowCount_) return;
  row_ = row;
  ScrollIntoView();
  viewport()->update();
}

int TStrGridEx::MaxLeftCol() const {
  int room = viewport()->width();
  for (int c = 0; c < fixedCols_; ++c) room -= colWidths_[c] + 1;
  int left = colCount_ - 1;
  int used = colWidths_[left] + 1;
  while (left - 1 >= fixedCols_ && used + colWidths_[left - 1] + 1 <= room) used += colWidths_[--left] + 1;
  return std::max(left, fixedCols_);
}

int TStrGridEx::MaxTopRow() const {
  int room = viewport()->height();
  for (int r = 0; r < fixedRows_; ++r) room -= rowHeights_[r] + 1;
  int top = rowCount_ - 1;
  int used = rowHeights_[top] + 1;
  while (top - 1 >= fixedRows_ && used + rowHeights_[top - 1] + 1 <= room) used += rowHeights_[--top] + 1;
  return std::max(top, fixedRows_);
}

void TStrGridEx::SetLeftCol(int col) {
  col = std::clamp(col, fixedCols_, MaxLeftCol());
  if (col == leftCol_) return;
  leftCol_ = col;
  UpdateScrollBars();
  viewport()->update();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TStrGridEx::SetTopRow(int row) {
  row = std::clamp(row, fixedRows_, MaxTopRow());
  if (row == topRow_) return;
  topRow_ = row;
  UpdateScrollBars();
  viewport()->update();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

int TStrGridEx::VisibleColCount() const {
  int x = GridColLeft(leftCol_);
  int n = 0;
  for (int c = leftCol_; c < colCount_ && x + colWidths_[c] <= viewport()->width(); ++c, ++n) x += colWidths_[c] + 1;
  return n;
}

int TStrGridEx::VisibleRowCount() const {
  int y = GridRowTop(topRow_);
  int n = 0;
  for (int r = topRow_; r < rowCount_ && y + rowHeights_[r] <= viewport()->height(); ++r, ++n) y += rowHeights_[r] + 1;
  return n;
}

int TStrGridEx::GridColLeft(int col) const {
  int x = 0;
  const int fixedEnd = std::min(col, fixedCols_);
  for (int c = 0; c < fixedEnd; ++c) x += colWidths_[c] + 1;
  for (int c = leftCol_; c < col && c < colCount_; ++c) x += colWidths_[c] + 1;
  return x;
}

int TStrGridEx::GridRowTop(int row) const {
  int y = 0;
  const int fixedEnd = std::min(row, fixedRows_);
  for (int r = 0; r < fixedEnd; ++r) y += rowHeights_[r] + 1;
  for (int r = topRow_; r < row && r < rowCount_; ++r) y += rowHeights_[r] + 1;
  return y;
}

QRect TStrGridEx::CellRect(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= rowCount_) return {};
  if ((col >= fixedCols_ && col < leftCol_) || (row >= fixedRows_ && row < topRow_)) return {};
  const QPoint origin = viewport()->geometry().topLeft();
  return QRect(origin.x() + GridColLeft(col), origin.y() + GridRowTop(row), colWidths_[col], rowHeights_[row]);
}

bool TStrGridEx::MouseToCell(const QPoint& p, int& col, int& row) const {
  const QPoint q = p - viewport()->geometry().topLeft();
  col = row = -1;
  auto find = [](int pos, int count, int fixed, int first, const std::vector<int>& sizes) {
    int at = 0;
    for (int i = 0; i < count; ++i) {
      if (i >= fixed && i < first) continue;
      if (pos >= at && pos < at + sizes[i] + 1) return i;
      at += sizes[i] + 1;
    }
    return -1;
  };
  if (q.x() < 0 || q.y() < 0) return false;
  col = find(q.x(), colCount_, fixedCols_, leftCol_, colWidths_);
  row = find(q.y(), rowCount_, fixedRows_, topRow_, rowHeights_);
  return col >= 0 && row >= 0;
}

void TStrGridEx::SetColor(const QColor& c) {
  color_ = c;
  viewport()->update();
}

void TStrGridEx::SetFixedColor(const QColor& c) {
  fixedColor_ = c;
  viewport()->update();
}

QColor TStrGridEx::FontColor() const { return palette().color(QPalette::Text); }

QColor TStrGridEx::PixelAt(const QPoint& clientPoint) {
  const QImage image = viewport()->grab(QRect(clientPoint, QSize(1, 1))).toImage();
  return image.isNull() ? color_ : image.pixelColor(0, 0);
}

void TStrGridEx::UpdateScrollBars() {
  syncingScrollBars_ = true;
  leftCol_ = std::clamp(leftCol_, fixedCols_, MaxLeftCol());
  topRow_ = std::clamp(topRow_, fixedRows_, MaxTopRow());
  horizontalScrollBar()->setRange(0, MaxLeftCol() - fixedCols_);
  horizontalScrollBar()->setPageStep(std::max(1, VisibleColCount()));
  horizontalScrollBar()->setValue(leftCol_ - fixedCols_);
  verticalScrollBar()->setRange(0, MaxTopRow() - fixedRows_);
  verticalScrollBar()->setPageStep(std::max(1, VisibleRowCount()));
  verticalScrollBar()->setValue(topRow_ - fixedRows_);
  syncingScrollBars_ = false;
}

void TStrGridEx::scrollContentsBy(int, int) {
  if (syncingScrollBars_) return;
  const int left = fixedCols_ + horizontalScrollBar()->value();
  const int top = fixedRows_ + verticalScrollBar()->value();
  if (left == leftCol_ && top == topRow_) return;
  leftCol_ = left;
  topRow_ = top;
  viewport()->update();
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

void TStrGridEx::ScrollIntoView() {
  if (col_ >= fixedCols_) {
    if (col_ < leftCol_) SetLeftCol(col_);
    else
      while (leftCol_ < MaxLeftCol() && GridColLeft(col_) + colWidths_[col_] > viewport()->width())
        SetLeftCol(leftCol_ + 1);
  }
  if (row_ >= fixedRows_) {
    if (row_ < topRow_) SetTopRow(row_);
    else
      while (topRow_ < MaxTopRow() && GridRowTop(row_) + rowHeights_[row_] > viewport()->height())
        SetTopRow(topRow_ + 1);
  }
}

void TStrGridEx::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UpdateScrollBars();
}

void TStrGridEx::DrawCell(platform::Canvas& c, int col, int row, const platform::Rect& rect) {
  const bool fixed = col < fixedCols_ || row < fixedRows_;
  int state = 0;
  if (fixed) state |= gdFixed;
  if (!fixed && col == col_ && row == row_) {
    state |= gdSelected;
    if (hasFocus()) state |= gdFocused;
  }
  if (defaultDrawing_) {
    QColor back = fixed ? fixedColor_ : color_;
    QColor fore = FontColor();
    if (state & gdSelected) {
      back = palette().color(QPalette::Highlight);
      fore = palette().color(QPalette::HighlightedText);
    }
    c.Brush().SetStyle(platform::BrushStyle::Solid);
    c.Brush().SetColor(Rgb(back));
    c.FillRect(rect);
    c.Font().SetColor(Rgb(fore));
    c.TextRect(rect, rect.left + 2, rect.top + 2, cells_[row][col]);
  }
  if (OnDrawCell) {
    // What the handler changes stays with its cell.
    const platform::CanvasPen pen(c.Pen());
    const platform::CanvasBrush brush(c.Brush());
    const platform::CanvasFont font(c.Font());
    OnDrawCell(this, col, row, rect, state);
    c.Pen().Assign(pen);
    c.Brush().Assign(brush);
    c.Font().Assign(font);
  }
}

void TStrGridEx::PaintCells(platform::Canvas& c) {
  c.Font().SetLogFont(platform::LogFontOf(font()));
  c.Brush().SetStyle(platform::BrushStyle::Solid);
  c.Brush().SetColor(Rgb(color_));
  const int width = viewport()->width(), height = viewport()->height();
  c.FillRect(platform::Rect{0, 0, width, height});
  std::vector<int> cols, rows;
  for (int col = 0; col < colCount_; ++col)
    if (col < fixedCols_ || col >= leftCol_) cols.push_back(col);
  for (int r = 0; r < rowCount_; ++r)
    if (r < fixedRows_ || r >= topRow_) rows.push_back(r);
  int y = 0;
  for (int r : rows) {
    if (y >= height) break;
    int x = 0;
    for (int col : cols) {
      if (x >= width) break;
      const platform::Rect rect{x, y, x + colWidths_[col], y + rowHeights_[r]};
      DrawCell(c, col, r, rect);
      // The 1-pixel lines on the right and below each cell.
      const bool fixed = col < fixedCols_ || r < fixedRows_;
      c.Pen().SetStyle(platform::PenStyle::Solid);
      c.Pen().SetWidth(1);
      c.Pen().SetColor(fixed ? platform::RgbColor(0, 0, 0) : platform::RgbColor(192, 192, 192));
      c.MoveTo(rect.right, rect.top);
      c.LineTo(rect.right, rect.bottom + 1);
      c.MoveTo(rect.left, rect.bottom);
      c.LineTo(rect.right + 1, rect.bottom);
      x += colWidths_[col] + 1;
    }
    y += rowHeights_[r] + 1;
  }
}

bool TStrGridEx::viewportEvent(QEvent* e) {
  // The viewport paints itself, through its canvas.
  if (e->type() == QEvent::Paint) return false;
  return QAbstractScrollArea::viewportEvent(e);
}

bool TStrGridEx::TrySelect(int col, int row) {
  if (col < fixedCols_ || row < fixedRows_ || col >= colCount_ || row >= rowCount_) return false;
  bool can = true;
  if (OnSelectCell) OnSelectCell(this, col, row, can);
  if (!can) return false;
  col_ = col;
  row_ = row;
  ScrollIntoView();
  viewport()->update();
  if (OnClick) OnClick(this);
  return true;
}

void TStrGridEx::mousePressEvent(QMouseEvent* e) {
  int col, row;
  if (e->button() == Qt::LeftButton && MouseToCell(e->position().toPoint() + viewport()->geometry().topLeft(), col, row))
    TrySelect(col, row);
  if (OnMouseDown) OnMouseDown(this, e);
}

void TStrGridEx::mouseReleaseEvent(QMouseEvent* e) {
  if (OnMouseUp) OnMouseUp(this, e);
}

void TStrGridEx::mouseDoubleClickEvent(QMouseEvent* e) {
  (void)e;
  if (OnDblClick) OnDblClick(this);
}

bool TStrGridEx::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress && RouteKeyEvent(static_cast<QKeyEvent*>(e))) return true;
  return QAbstractScrollArea::event(e);
}

void TStrGridEx::keyPressEvent(QKeyEvent* e) {
  int col = col_, row = row_;
  switch (e->key()) {
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_PageUp: row -= std::max(1, VisibleRowCount()); break;
    case Qt::Key_PageDown: row += std::max(1, VisibleRowCount()); break;
    case Qt::Key_Home: col = fixedCols_; break;
    case Qt::Key_End: col = colCount_ - 1; break;
    default: QAbstractScrollArea::keyPressEvent(e); return;
  }
  col = std::clamp(col, fixedCols_, colCount_ - 1);
  row = std::clamp(row, fixedRows_, rowCount_ - 1);
  if (col != col_ || row != row_) TrySelect(col, row);
  e->accept();
}

// ---- TMemoEx ----------------------------------------------------------------------------------

TMemoEx::TMemoEx(QWidget* parent) : QPlainTextEdit(parent), TControlEvents(this) { setFont(FormFont()); }

void TMemoEx::SetText(const std::string& cp932) { setPlainText(platform::ToQString(cp932)); }

std::vector<std::string> TMemoEx::Lines() const {
  std::vector<std::string> lines;
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) lines.push_back(Cp932Of(b.text()));
  if (lines.size() == 1 && lines[0].empty()) lines.clear();
  return lines;
}

void TMemoEx::SetLines(const std::vector<std::string>& lines) {
  QStringList list;
  list.reserve(static_cast<int>(lines.size()));
  for (const std::string& s : lines) list << platform::ToQString(s);
  setPlainText(list.join(QChar('\n')));
}

int TMemoEx::LineCount() const { return document()->isEmpty() ? 0 : document()->blockCount(); }

void TMemoEx::GetCaretPos(int& column, int& line, int& position) const {
  const QTextCursor c = textCursor();
  const int start = c.selectionStart();
  const QTextBlock block = document()->findBlock(start);
  line = block.blockNumber() + 1;
  column = start - block.position() + 1;
  position = start + 1;
}

int TMemoEx::FirstVisibleLine() const { return verticalScrollBar()->value(); }

void TMemoEx::LineScroll(int lines) { verticalScrollBar()->setValue(verticalScrollBar()->value() + lines); }

void TMemoEx::SetWordWrap(bool on) { setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap); }

bool TMemoEx::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress && RouteKeyEvent(static_cast<QKeyEvent*>(e))) return true;
  return QPlainTextEdit::event(e);
}

// ---- TImageEx ---------------------------------------------------------------------------------

TImageEx::TImageEx(QWidget* parent) : platform::CanvasWidget(parent) {}

void TImageEx::SetPicture(const QImage& image) {
  picture_ = image;
  bitmap_ = image.isNull() ? platform::Dib() : platform::DibFromImage(image);
  Invalidate();
}

void TImageEx::SetStretch(bool on) {
  stretch_ = on;
  Invalidate();
}

void TImageEx::SetCenter(bool on) {
  center_ = on;
  Invalidate();
}

void TImageEx::Paint(platform::Canvas& canvas) {
  if (!bitmap_.Empty()) {
    const int w = bitmap_.width, h = bitmap_.height;
    if (stretch_) {
      // A shrunk picture is averaged, so its thin lines and small text stay readable.
      const bool shrink = w > width() || h > height();
      canvas.Dc().SetStretchBltMode(shrink ? platform::HALFTONE : platform::COLORONCOLOR);
      canvas.StretchDraw(platform::Rect{0, 0, width(), height()}, bitmap_);
    } else if (center_) {
      canvas.Draw((width() - w) / 2, (height() - h) / 2, bitmap_);
    } else {
      canvas.Draw(0, 0, bitmap_);
    }
  }
  if (OnPaint) {
    canvas_ = &canvas;
    OnPaint(this);
    canvas_ = nullptr;
  }
}

void TImageEx::MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TImageEx::MouseMove(platform::TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TImageEx::MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
  if (button == platform::TMouseButton::mbLeft && rect().contains(x, y) && OnClick) OnClick(this);
}

}  // namespace fw
