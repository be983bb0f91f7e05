#include "framework/ui/form_utils.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QWindow>
#include <algorithm>
#include <deque>
#include <memory>

#include "framework/calc_state.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/form_utils.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/qt_text.h"

namespace fw {

bool FormDragging = false;

namespace {

constexpr int kUpDownMin = -32768, kUpDownMax = 32767;

QStringList ToQStrings(const std::vector<std::string>& items) {
  QStringList list;
  list.reserve(static_cast<int>(items.size()));
  for (const std::string& s : items) list << platform::ToQString(s);
  return list;
}

void DrawCellText(TStrGridEx* grid, const platform::Rect& rect, platform::ColorRef background, const std::string& text) {
  platform::Canvas* c = grid ? grid->Canvas() : nullptr;
  if (!c) return;
  c->Brush().SetStyle(platform::BrushStyle::Solid);
  c->Brush().SetColor(background);
  c->FillRect(rect);
  c->Font().SetColor(platform::QRgbToColorRef(grid->FontColor().rgb()));
  c->TextRect(rect, rect.left + 2, rect.top + 2, text);
}

// Writes a range result into the target cell by the current edit format copies.
void WriteRangeResult(TStrGridEx* grid, int targetCol, int targetRow, double value) {
  if (targetCol == 0 || targetRow == 0) return;
  grid->SetCells(targetCol, targetRow, VariantToFieldText(CurrentFieldFormat(), value));
}

// The pointer interface of the message module over a widget.
class WidgetPointerTarget final : public PointerTarget {
 public:
  WidgetPointerTarget(QWidget* w, bool mayFocus) : w_(w), mayFocus_(mayFocus) {}
  bool IsVisible() const override { return w_->isVisible(); }
  int ClientWidth() const override { return w_->width(); }
  int ClientHeight() const override { return w_->height(); }
  platform::Point ClientToScreen(platform::Point p) const override {
    const QPoint g = w_->mapToGlobal(QPoint(p.x, p.y));
    return {g.x(), g.y()};
  }
  bool IsWindowed() const override { return mayFocus_ && w_->focusPolicy() != Qt::NoFocus; }
  bool IsEnabled() const override { return w_->isEnabled(); }
  void SetFocus() override { w_->setFocus(Qt::OtherFocusReason); }

 private:
  QWidget* w_;
  bool mayFocus_;
};

// Moves a child control with the mouse until the button is released.
class ChildDrag : public QObject {
 public:
  explicit ChildDrag(QWidget* control) : QObject(control), control_(control) { control->installEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched != control_) return false;
    if (e->type() == QEvent::MouseMove) {
      const QPoint global = static_cast<QMouseEvent*>(e)->globalPosition().toPoint();
      if (!anchored_) {
        anchored_ = true;
        anchor_ = global;
        origin_ = control_->pos();
      } else {
        control_->move(origin_ + (global - anchor_));
      }
      return true;
    }
    if (e->type() == QEvent::MouseButtonRelease) {
      control_->removeEventFilter(this);
      deleteLater();
    }
    return false;
  }

 private:
  QWidget* control_;
  bool anchored_ = false;
  QPoint anchor_, origin_;
};

bool dragCursorSet = false;

bool IsForm(const QWidget* w) {
  return w->isWindow() || qobject_cast<const QMdiSubWindow*>(w) ||
         (w->parentWidget() && qobject_cast<const QMdiSubWindow*>(w->parentWidget()));
}

}  // namespace

// ---- Lists --------------------------------------------------------------------------------------

void SetComboItems(QComboBox* combo, const std::vector<std::string>& items) {
  if (!combo) return;
  const QSignalBlocker block(combo);
  combo->setUpdatesEnabled(false);
  combo->clear();
  combo->addItems(ToQStrings(items));
  combo->setCurrentIndex(-1);
  combo->setUpdatesEnabled(true);
}

void SetListItems(QListWidget* list, const std::vector<std::string>& items) {
  if (!list) return;
  const QSignalBlocker block(list);
  list->setUpdatesEnabled(false);
  list->clear();
  list->addItems(ToQStrings(items));
  list->setUpdatesEnabled(true);
}

void FillComboWithFiles(TCBoxEx* combo, const std::string& path, const std::string& filter) {
  if (!combo) return;
  SplitFileName(path);
  const std::string folder = FileDir, ext = FileExt, name = FileNameExt;
  ListFiles(folder, "*", ext);
  combo->SetItems({});
  if (TableBuffer.FileNamesCount <= 0) return;
  std::vector<std::string> items;
  for (int i = 1; i <= TableBuffer.FileNamesCount && i <= kTableMaxRows; ++i) {
    const std::string& file = TableBuffer.FileNames[i];
    if (filter.empty() || ContainsStr(filter, file)) items.push_back(NumberedItem(static_cast<int>(items.size()) + 1, file));
  }
  const bool addPath = ContainsStr(platform::J("(新規)."), CurrentFileName);
  if (addPath) items.push_back(path);
  combo->SetItems(items);
  // A new file not yet saved is not among the listed files: the path item stands for it.
  if (SelectComboText(combo, name) == 0 && addPath) combo->SetItemIndex(combo->count() - 1);
}

int SelectComboText(TCBoxEx* combo, const std::string& text) {
  if (!combo) return 0;
  const int n = FindInStrings(combo->Items(), text);
  combo->SetItemIndex(n - 1);
  if (n == 0 && combo->isEditable()) {
    const QSignalBlocker block(combo);
    combo->setEditText(QString());
  }
  return n;
}

// ---- Silent setters -----------------------------------------------------------------------------

void SetUpDownSilently(QSpinBox* upDown, int position) {
  if (!upDown) return;
  const QSignalBlocker block(upDown);
  upDown->setValue(std::clamp(position, kUpDownMin, kUpDownMax));
}

void SetUpDownSilently(QAbstractSlider* upDown, int position) {
  if (!upDown) return;
  const QSignalBlocker block(upDown);
  upDown->setValue(std::clamp(position, kUpDownMin, kUpDownMax));
}

void SetCheckBoxSilently(QCheckBox* box, bool checked) {
  if (!box) return;
  const QSignalBlocker block(box);
  box->setChecked(checked);
}

void SetRadioButtonSilently(QRadioButton* button, bool checked) {
  if (!button) return;
  // Checking one button of an exclusive set unchecks another: none of them may signal.
  QButtonGroup* group = button->group();
  QList<QAbstractButton*> peers;
  if (group)
    peers = group->buttons();
  else if (button->autoExclusive() && button->parentWidget())
    for (QRadioButton* r : button->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
      peers << r;
  if (!peers.contains(button)) peers << button;
  std::vector<std::unique_ptr<QSignalBlocker>> blocks;
  if (group) blocks.push_back(std::make_unique<QSignalBlocker>(group));
  for (QAbstractButton* b : peers) blocks.push_back(std::make_unique<QSignalBlocker>(b));
  // The checked button of an exclusive set can only be cleared with the exclusion off.
  const bool autoExclusive = button->autoExclusive();
  const bool groupExclusive = group && group->exclusive();
  if (!checked) {
    button->setAutoExclusive(false);
    if (groupExclusive) group->setExclusive(false);
  }
  button->setChecked(checked);
  button->setAutoExclusive(autoExclusive);
  if (groupExclusive) group->setExclusive(true);
}

void SetRadioGroupSilently(QButtonGroup* group, int number) {
  if (!group) return;
  const QSignalBlocker blockGroup(group);
  const int index = std::max(number, 0) - 1;
  const bool exclusive = group->exclusive();
  group->setExclusive(false);
  for (QAbstractButton* b : group->buttons()) {
    const QSignalBlocker block(b);
    b->setChecked(group->id(b) == index);
  }
  group->setExclusive(exclusive);
}

void SetTabIndexSilently(QTabWidget* tabs, int number) {
  if (!tabs) return;
  const QSignalBlocker block(tabs);
  tabs->setCurrentIndex(std::max(number, 0) - 1);
}

void SetTabIndexSilently(QTabBar* tabs, int number) {
  if (!tabs) return;
  const QSignalBlocker block(tabs);
  tabs->setCurrentIndex(std::max(number, 0) - 1);
}

// ---- Grids --------------------------------------------------------------------------------------

void DrawGridCellText(TStrGridEx* grid, int col, int row, int state, const platform::Rect& rect) {
  if (!grid || !(state & gdSelected)) return;
  DrawCellText(grid, rect, platform::QRgbToColorRef(grid->Color().rgb()), grid->Cells(col, row));
}

void DrawGridCellColored(TStrGridEx* grid, const platform::Rect& rect, uint32_t background, const std::string& text) {
  DrawCellText(grid, rect, platform::ColorToRgb(background), text);
}

double GridCellValue(TStrGridEx* grid, int col, int row) {
  if (!grid || col < 0 || row < 0 || col >= grid->ColCount() || row >= grid->RowCount()) return 0;
  return TextToFloat(grid->Cells(col, row));
}

double GridRangeSum(TStrGridEx* grid, int firstCol, int lastCol, int firstRow, int lastRow, int targetCol,
                    int targetRow, int& count) {
  count = 0;
  double sum = 0;
  if (!grid) return 0;
  const TTotalStyleType style = grid->TotalStyle();
  for (int c = firstCol; c <= lastCol; ++c) {
    for (int r = firstRow; r <= lastRow; ++r) {
      ++count;
      const double v = GridCellValue(grid, c, r);
      if (v == 0) continue;
      if (style == TTotalStyleType::tsAll || (style == TTotalStyleType::tsPlus && v > 0) ||
          (style == TTotalStyleType::tsMinus && v < 0))
        sum += v;
    }
  }
  WriteRangeResult(grid, targetCol, targetRow, sum);
  return sum;
}

double SetGridRangeAverage(TStrGridEx* grid, int firstCol, int lastCol, int firstRow, int lastRow, int targetCol,
                           int targetRow) {
  if (!grid) return 0;
  int count = 0;
  const double sum = GridRangeSum(grid, firstCol, lastCol, firstRow, lastRow, 0, 0, count);
  const double mean = count == 0 ? 0 : sum / count;
  WriteRangeResult(grid, targetCol, targetRow, mean);
  return mean;
}

void GridToStrings(TStrGridEx* grid, const std::string& rowList, int width, std::vector<std::string>& lines) {
  lines.clear();
  if (!grid) return;
  int count = 0;
  std::vector<int64_t> rows;
  ParseNumberList(rowList, count, rows);
  for (int64_t r : rows) {
    std::string line;
    for (int c = 0; c < grid->ColCount(); ++c) {
      const std::string cell = grid->Cells(c, static_cast<int>(r));
      if (static_cast<int>(cell.size()) < width) line.append(width - cell.size(), ' ');
      line += cell;
    }
    lines.push_back(line);
  }
}

// ---- Memos --------------------------------------------------------------------------------------

void ReadMemoCaret(TMemoEx* memo, MemoDataType& data) {
  if (!memo) return;
  MemoCaret caret;
  memo->GetCaretPos(caret.Column, caret.Line, caret.Position);
  data.Caret = caret;
  data.CaretCopy = caret;
}

void GotoMemoLine(TMemoEx* memo, MemoDataType& data, int line) {
  if (!memo) return;
  line = std::clamp(line, 1, std::max(1, memo->LineCount()));
  const int first = memo->FirstVisibleLine();
  if (first != line - 1) memo->LineScroll(line - 1 - first);
  ReadMemoCaret(memo, data);
}

void LoadMemoFromFile(TMemoEx* memo, const std::string& path, bool numbered) {
  if (!memo) return;
  std::vector<std::string> lines;
  if (!platform::FileExists(path) || !platform::ReadTextLines(path, lines)) {
    memo->clear();
    return;
  }
  if (numbered) {
    char head[24];
    for (size_t i = 0; i < lines.size(); ++i) {
      std::snprintf(head, sizeof head, "%5d:", static_cast<int>(i + 1));
      lines[i] = head + lines[i];
    }
  }
  memo->SetLines(lines);
  memo->moveCursor(QTextCursor::Start);
  memo->LineScroll(-memo->FirstVisibleLine());
}

// ---- Forms --------------------------------------------------------------------------------------

void GetFormBounds(QWidget* form, int& left, int& top, int& width, int& height) {
  if (!form) return;
  const QRect r = form->isWindow() ? form->frameGeometry() : form->geometry();
  left = r.left();
  top = r.top();
  width = r.width();
  height = r.height();
}

void BeginFormDrag() {
  if (!dragCursorSet) {
    QApplication::setOverrideCursor(Qt::SizeAllCursor);
    dragCursorSet = true;
  }
  FormDragging = true;
}

void DoFormDrag(QWidget* control) {
  if (!FormDragging || !control) return;
  if (control->isWindow()) {
    if (QWindow* handle = control->windowHandle()) handle->startSystemMove();
  } else {
    new ChildDrag(control);
  }
  EndFormDrag();
}

void EndFormDrag() {
  if (dragCursorSet) {
    QApplication::restoreOverrideCursor();
    dragCursorSet = false;
  }
  FormDragging = false;
}

bool DragPanelByMouse(QWidget* panel, QEvent* e) {
  switch (e->type()) {
    case QEvent::MouseButtonPress:
      if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) BeginFormDrag();
      return false;
    case QEvent::MouseMove:
      DoFormDrag(panel);
      return false;
    case QEvent::MouseButtonRelease: {
      EndFormDrag();
      const QWidget* parent = panel->parentWidget();
      if (parent)
        panel->move(std::clamp(panel->x(), 0, std::max(0, parent->width() - panel->width())),
                    std::clamp(panel->y(), 0, std::max(0, parent->height() - panel->height())));
      return true;
    }
    default:
      return false;
  }
}

bool IsMouseDragEvent(const QEvent* e) {
  const QEvent::Type t = e->type();
  return t == QEvent::MouseButtonPress || t == QEvent::MouseMove || t == QEvent::MouseButtonRelease;
}

bool IsFormOpen(const std::string& name) {
  const QString wanted = platform::ToQString(name);
  for (QWidget* w : QApplication::allWidgets())
    if (w->objectName() == wanted && IsForm(w)) return true;
  return false;
}

QObject* FindComp(QObject* form, const std::string& prefix, const std::string& suffix) {
  if (!form) return nullptr;
  const QString wanted = platform::ToQString(prefix + suffix);
  std::deque<QObject*> queue(form->children().begin(), form->children().end());
  while (!queue.empty()) {
    QObject* o = queue.front();
    queue.pop_front();
    auto* w = qobject_cast<QWidget*>(o);
    if (w && w->isWindow()) continue;  // another window's controls are not the form's
    if (o->objectName().compare(wanted, Qt::CaseInsensitive) == 0) return o;
    for (QObject* child : o->children()) queue.push_back(child);
  }
  return nullptr;
}

QObject* FindEditComp(QObject* f, const std::string& s) { return FindComp(f, "EDIT", s); }
QObject* FindCBoxComp(QObject* f, const std::string& s) { return FindComp(f, "CBOX", s); }
QObject* FindMemoComp(QObject* f, const std::string& s) { return FindComp(f, "MEMO", s); }
QObject* FindLblComp(QObject* f, const std::string& s) { return FindComp(f, "LBL", s); }
QObject* FindImagComp(QObject* f, const std::string& s) { return FindComp(f, "IMAG", s); }
QObject* FindBtnComp(QObject* f, const std::string& s) { return FindComp(f, "BTN", s); }
QObject* FindBBtnComp(QObject* f, const std::string& s) { return FindComp(f, "BBTN", s); }
QObject* FindSBtnComp(QObject* f, const std::string& s) { return FindComp(f, "SBTN", s); }
QObject* FindRBtnComp(QObject* f, const std::string& s) { return FindComp(f, "RBTN", s); }
QObject* FindPConComp(QObject* f, const std::string& s) { return FindComp(f, "PCON", s); }
QObject* FindSBoxComp(QObject* f, const std::string& s) { return FindComp(f, "SBOX", s); }
QObject* FindPnlComp(QObject* f, const std::string& s) { return FindComp(f, "PNL", s); }
QObject* FindGBoxComp(QObject* f, const std::string& s) { return FindComp(f, "GBOX", s); }
QObject* FindRptComp(QObject* f, const std::string& s) { return FindComp(f, "RPT", s); }
QObject* FindRptLblComp(QObject* f, const std::string& s) { return FindComp(f, "RPTLBL", s); }
QObject* FindRptImagComp(QObject* f, const std::string& s) { return FindComp(f, "RPTIMAG", s); }
QObject* FindChatComp(QObject* f, const std::string& s) { return FindComp(f, "CHAT", s); }

// ---- Mouse pointer ------------------------------------------------------------------------------

void MoveMouseToControl(QWidget* control) {
  if (!control) return;
  WidgetPointerTarget target(control, true);
  fw::MoveMouseToControl(&target);
}

void MovePointerToControl(QWidget* control) {
  if (!control) return;
  WidgetPointerTarget target(control, false);
  fw::MoveMouseToControl(&target);
}

}  // namespace fw
