// The program's input control classes: TEditEx (single-line edit), TCBoxEx (combo box),
// TStrGridEx (string grid), TMemoEx (memo) and TImageEx (image), Qt widgets carrying the
// properties the shared input behaviour (input_behaviour.h) needs.
//
// Texts cross these classes as CP932 byte strings. Maximum lengths count CP932 bytes, and a
// character that CP932 cannot encode cannot be typed or pasted.
//
// Events: each class exposes the handlers its forms assign (std::function members named as
// the events). Entry and exit fire only when the focused control inside a form changes
// (focus_tracker.h): never when the window is activated or deactivated, when a popup list
// opens or while a message box is up. Key-down handlers receive Windows virtual-key codes and
// key-press handlers CP932 character bytes; setting the key to 0 swallows it, so a swallowed
// Enter or Esc never reaches a dialog's default or cancel button. Tab is a navigation key: it
// reaches the key-down handler but no key-press handler, and then moves the focus.
#pragma once

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/input_state.h"
#include "platform/qt/canvas_widget.h"

class QValidator;

namespace fw {

enum class TCheckInputType { ciNone, ciHorizontal, ciVertical, ciBoth };
enum class TTotalStyleType { tsNone, tsAll, tsPlus, tsMinus };
// Input-method modes: imDontCare leaves the input method to the user; the others switch it off
// (number fields type half-width characters only).
enum class TImeMode { imDontCare, imClose, imSAlpha };
enum class TComboBoxStyle { csDropDown, csDropDownList };

// The Tag of any control (input code or command number), kept as its property "Tag".
void SetTag(QObject* control, int tag);
int Tag(const QObject* control);

// CP932 text of a widget text; characters CP932 cannot encode become '?'.
std::string Cp932Of(const QString& text);

// Colours of the original control set (0x00BBGGRR values turned into QColor where needed).
QColor MoneyGreenColor();
QColor ButtonFaceColor();

// Entry, exit and key events shared by the focusable input controls.
class TControlEvents {
 public:
  using Notify = std::function<void(QWidget* sender)>;
  using KeyDownHandler = std::function<void(QWidget* sender, int& key)>;
  using KeyPressHandler = std::function<void(QWidget* sender, uint8_t& key)>;

  virtual ~TControlEvents() = default;

  Notify OnEnter;
  Notify OnExit;
  KeyDownHandler OnKeyDown;    // Windows virtual-key code; 0 swallows the key
  KeyPressHandler OnKeyPress;  // CP932 byte (the lead byte of a double-byte character); 0 swallows

  // The CP932 bytes of the character whose key press is being handled.
  const std::string& KeyChars() const { return keyChars_; }

  // Called by the focus tracker.
  void FireEnter();
  void FireExit();
  QWidget* Widget() const { return self_; }

 protected:
  explicit TControlEvents(QWidget* self);
  // Runs the key handlers for a key event. True when the event is used up (swallowed,
  // replaced by another character, or a character CP932 cannot encode).
  bool RouteKeyEvent(QKeyEvent* e);
  // Inserts a character that a key-press handler put in place of the typed one.
  virtual void InsertTyped(const QString& text) { (void)text; }

 private:
  QWidget* self_;
  std::string keyChars_;
};

// ---- TEditEx ----------------------------------------------------------------------------------

class TEditEx : public QLineEdit, public TControlEvents {
  Q_OBJECT
 public:
  explicit TEditEx(QWidget* parent = nullptr);

  TEditType EditType() const { return editType_; }
  // Sets the kind and, by kind, the maximum length (etByte 3, etChar 1, etDate 8, etTime 8,
  // etDateTime 17, etInteger 11, etSmallInt 6, etWord 5; etFloat and etString keep theirs),
  // UnderPoint 0 (all but etFloat), UnderInput off (etByte, etChar, etString, etWord),
  // ZeroDisplay on (the text kinds) and the input method off (all but etString).
  void SetEditType(TEditType type);
  bool UnderInput() const { return underInput_; }
  void SetUnderInput(bool on) { underInput_ = on; }
  int UnderPoint() const { return underPoint_; }
  // With a maximum length set, a value that leaves fewer than 3 bytes for the integer part
  // is cut to maximum length - 3 (never below 0).
  void SetUnderPoint(int digits);
  bool ZeroDisplay() const { return zeroDisplay_; }
  void SetZeroDisplay(bool on) { zeroDisplay_ = on; }
  bool CellFrame() const { return cellFrame_; }
  // On: an in-grid editor, hidden until placed over a cell, blue text. Off: shown, black text.
  void SetCellFrame(bool on);
  bool Calcuable() const { return calcuable_; }
  // On: a computed field on the money-green colour; off: the window colour.
  void SetCalcuable(bool on);
  int MaxLength() const { return maxBytes_; }  // CP932 bytes; 0 means no limit
  void SetMaxLength(int bytes);
  TImeMode ImeMode() const { return imeMode_; }
  void SetImeMode(TImeMode mode);

  std::string Text() const { return Cp932Of(text()); }
  void SetText(const std::string& cp932);
  bool Modified() const { return isModified(); }
  void SetModified(bool on) { setModified(on); }
  // Deletes the character at the caret (or the selection), as the Delete key does.
  void DeleteAtCaret() { del(); }

  Notify OnClick;
  Notify OnChange;  // every change of the text

 protected:
  bool event(QEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void InsertTyped(const QString& text) override { insert(text); }

 private:
  void UpdateColours();

  TEditType editType_ = TEditType::etString;
  bool underInput_ = false;
  int underPoint_ = 0;
  bool zeroDisplay_ = false;
  bool cellFrame_ = true;
  bool calcuable_ = false;
  int maxBytes_ = 0;
  TImeMode imeMode_ = TImeMode::imDontCare;
  class Cp932Validator* validator_;
};

// ---- TCBoxEx ----------------------------------------------------------------------------------

class TCBoxEx : public QComboBox, public TControlEvents {
  Q_OBJECT
 public:
  explicit TCBoxEx(QWidget* parent = nullptr);

  bool CellFrame() const { return cellFrame_; }
  void SetCellFrame(bool on);
  // 0 placed in a grid, 1 changed by selection, 2 a key was typed.
  uint8_t InputState() const { return inputState_; }
  void SetInputState(uint8_t state) { inputState_ = state; }
  // Always false while the style is csDropDownList.
  bool ChangedFlag() const { return changed_; }
  void SetChangedFlag(bool on) { changed_ = on && style_ != TComboBoxStyle::csDropDownList; }
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle style);

  std::string Text() const { return Cp932Of(currentText()); }
  // csDropDown: the edit text; csDropDownList: selects the item equal to the text, or none.
  void SetText(const std::string& cp932);
  std::vector<std::string> Items() const;
  // Replaces the items (no change handler runs); the text is emptied.
  void SetItems(const std::vector<std::string>& items);
  int ItemIndex() const { return currentIndex(); }
  // Selects an item (-1 none) without running the change handlers.
  void SetItemIndex(int index);
  // Deletes the character at the caret of the edit part, as the Delete key does.
  void DeleteAtCaret();

  Notify OnClick;   // the user chose an item
  Notify OnChange;  // the user chose an item or typed

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void InsertTyped(const QString& text) override;

 private:
  void AttachLineEdit();

  bool cellFrame_ = true;
  uint8_t inputState_ = 0;
  bool changed_ = false;
  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
};

// ---- TStrGridEx -------------------------------------------------------------------------------

// Draw-state flags of a grid cell.
enum GridDrawState { gdSelected = 1, gdFocused = 2, gdFixed = 4 };

// A string grid as the program knows it: ColCount x RowCount cells, the first FixedCols
// columns and FixedRows rows fixed (not scrolled, button face) but ordinary cells otherwise;
// Cells(c, r); LeftCol/TopRow as the first scrolled column and row shown; 1-pixel grid lines;
// a 1-pixel border; owner drawing through OnDrawCell after the default drawing. The cells are
// painted through the device context (the viewport is a platform::CanvasWidget): OnDrawCell
// draws on Canvas(), whose font is the grid's font.
class TStrGridEx : public QAbstractScrollArea, public TControlEvents {
  Q_OBJECT
 public:
  explicit TStrGridEx(QWidget* parent = nullptr);

  int ColCount() const { return colCount_; }
  void SetColCount(int n);
  int RowCount() const { return rowCount_; }
  void SetRowCount(int n);
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int n);
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int n);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int w);
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int h);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);

  // The text of a cell; empty outside the grid.
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& cp932);
  // One row or one column as a list (cells beyond the grid are not written).
  std::vector<std::string> Rows(int row) const;
  void SetRows(int row, const std::vector<std::string>& texts);
  std::vector<std::string> Cols(int col) const;
  void SetCols(int col, const std::vector<std::string>& texts);

  // The current cell. Setting it runs no handler and scrolls it into view.
  int Col() const { return col_; }
  int Row() const { return row_; }
  void SetCol(int col);
  void SetRow(int row);

  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int col);
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);
  int VisibleColCount() const;
  int VisibleRowCount() const;

  // Left of a column and top of a row in the client area (inside the border): the fixed
  // columns and the scrolled ones from LeftCol up to the one before, each width + 1.
  int GridColLeft(int col) const;
  int GridRowTop(int row) const;
  // The cell's rectangle in the grid's own coordinates (border included); empty when the
  // cell is scrolled out of view or outside the grid.
  QRect CellRect(int col, int row) const;
  // The cell under a point of the grid's own coordinates; false when there is none.
  bool MouseToCell(const QPoint& p, int& col, int& row) const;

  QColor Color() const { return color_; }
  void SetColor(const QColor& c);
  QColor FixedColor() const { return fixedColor_; }
  void SetFixedColor(const QColor& c);
  QColor FontColor() const;
  bool DefaultDrawing() const { return defaultDrawing_; }
  void SetDefaultDrawing(bool on) { defaultDrawing_ = on; }
  // The canvas of the cells while the grid paints (OnDrawCell); null otherwise.
  platform::Canvas* Canvas() const { return view_->PaintCanvas(); }
  // The colour painted at a point of the client area.
  QColor PixelAt(const QPoint& clientPoint);

  // Published extras.
  std::vector<std::string> ColTitles() const { return Rows(0); }
  void SetColTitles(const std::vector<std::string>& titles) { SetRows(0, titles); }
  std::vector<std::string> RowTitles() const { return Cols(0); }
  void SetRowTitles(const std::vector<std::string>& titles) { SetCols(0, titles); }
  std::vector<std::string>& ClickStrings() { return clickStrings_; }
  void SetClickStrings(const std::vector<std::string>& strings) { clickStrings_ = strings; }
  TCheckInputType ClickInput() const { return clickInput_; }
  void SetClickInput(TCheckInputType t) { clickInput_ = t; }
  int ClickNumber() const { return clickNumber_; }
  void SetClickNumber(int n) { clickNumber_ = n; }
  bool Zoom() const { return zoom_; }
  void SetZoom(bool on) { zoom_ = on; }
  TTotalStyleType TotalStyle() const { return totalStyle_; }
  void SetTotalStyle(TTotalStyleType s) { totalStyle_ = s; }

  // Handlers. The rectangle of OnDrawCell is in client coordinates (the canvas's).
  std::function<void(TStrGridEx* sender, int col, int row, const platform::Rect& rect, int state)> OnDrawCell;
  std::function<void(TStrGridEx* sender, int col, int row, bool& canSelect)> OnSelectCell;
  Notify OnClick;           // the current cell was chosen by mouse or keys
  Notify OnDblClick;
  Notify OnTopLeftChanged;  // LeftCol or TopRow changed
  std::function<void(QWidget* sender, QMouseEvent* e)> OnMouseDown;
  std::function<void(QWidget* sender, QMouseEvent* e)> OnMouseUp;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void Resize();
  void UpdateScrollBars();
  int MaxLeftCol() const;
  int MaxTopRow() const;
  bool TrySelect(int col, int row);
  void ScrollIntoView();
  void PaintCells(platform::Canvas& canvas);
  void DrawCell(platform::Canvas& canvas, int col, int row, const platform::Rect& rect);

  int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
  int defaultColWidth_ = 32, defaultRowHeight_ = 18;
  std::vector<int> colWidths_, rowHeights_;
  std::vector<std::vector<std::string>> cells_;  // [row][col]
  int col_ = 1, row_ = 1, leftCol_ = 1, topRow_ = 1;
  QColor color_, fixedColor_;
  bool defaultDrawing_ = true;
  platform::CanvasWidget* view_;
  bool syncingScrollBars_ = false;
  std::vector<std::string> clickStrings_;
  TCheckInputType clickInput_ = TCheckInputType::ciNone;
  int clickNumber_ = 0;
  bool zoom_ = false;
  TTotalStyleType totalStyle_ = TTotalStyleType::tsNone;
};

// ---- TMemoEx ----------------------------------------------------------------------------------

// A multi-line text. Positions count characters (a double-byte character is one), lines are
// separated by one position, as in the original memo.
class TMemoEx : public QPlainTextEdit, public TControlEvents {
  Q_OBJECT
 public:
  explicit TMemoEx(QWidget* parent = nullptr);

  std::string Text() const { return Cp932Of(toPlainText()); }
  void SetText(const std::string& cp932);
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  int LineCount() const;
  // The caret: column, line and position, all counted from 1.
  void GetCaretPos(int& column, int& line, int& position) const;
  // The first visible line (from 0) and scrolling by a number of lines.
  int FirstVisibleLine() const;
  void LineScroll(int lines);
  void SetWordWrap(bool on);

 protected:
  bool event(QEvent* e) override;
  void InsertTyped(const QString& text) override { insertPlainText(text); }
};

// ---- TImageEx ---------------------------------------------------------------------------------

// A picture: drawn at the top left (or stretched, or centred) through the device context (a
// platform::CanvasWidget); after each repaint OnPaint runs with the image as sender so that a
// screen can draw over the picture on Canvas(). Its events carry the sender; they take the
// place of the widget's own handlers of the same names. Mouse events come in the Windows form
// (button, shift state, client coordinates); OnClick follows a left-button release inside.
// A picture stretched into a smaller control is shrunk with averaging (smooth scaling), so thin
// lines and small text stay readable.
class TImageEx : public platform::CanvasWidget {
  Q_OBJECT
 public:
  explicit TImageEx(QWidget* parent = nullptr);

  const QImage& Picture() const { return picture_; }
  void SetPicture(const QImage& image);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool on);
  bool Center() const { return center_; }
  void SetCenter(bool on);
  bool Zoom() const { return zoom_; }
  void SetZoom(bool on) { zoom_ = on; }
  // The canvas while OnPaint runs; null otherwise.
  platform::Canvas* Canvas() const { return canvas_; }

  std::function<void(QWidget* sender)> OnPaint;
  std::function<void(QWidget* sender)> OnClick;
  std::function<void(QWidget* sender, platform::TMouseButton button, platform::TShiftState shift, int x, int y)>
      OnMouseDown;
  std::function<void(QWidget* sender, platform::TShiftState shift, int x, int y)> OnMouseMove;
  std::function<void(QWidget* sender, platform::TMouseButton button, platform::TShiftState shift, int x, int y)>
      OnMouseUp;

 protected:
  void Paint(platform::Canvas& canvas) override;
  void MouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;
  void MouseMove(platform::TShiftState shift, int x, int y) override;
  void MouseUp(platform::TMouseButton button, platform::TShiftState shift, int x, int y) override;

 private:
  QImage picture_;
  platform::Dib bitmap_;  // the picture as the device context draws it
  bool stretch_ = false;
  bool center_ = false;
  bool zoom_ = false;
  platform::Canvas* canvas_ = nullptr;
};

}  // namespace fw
