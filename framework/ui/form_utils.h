// Form utilities on widgets: putting lists into combos and list boxes, the file combo, silent
// setters, grid drawing and totals, memo loading and scrolling, dragging panels and windows,
// finding forms and controls by name, and placing the mouse pointer on a control. The lists
// themselves are filled by the Qt-free framework/form_utils.h.
//
// Decisions kept on purpose:
// - Silent setters block the control's signals (its change handler does not run) and never
//   disable it, so the focus does not move. Out-of-range positions are held to the range.
// - DoFormDrag moves a window by a system move and a child panel inside its parent by the
//   mouse, until the button is released.
// - Control lookup skips controls inside other windows of the form (dialogs it owns), and
//   prefers the shallowest match.
#pragma once

#include <QColor>
#include <QRect>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/ui/controls.h"

class QAbstractSlider;
class QEvent;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QTabBar;
class QTabWidget;

namespace fw {

// ---- Lists
// Replaces the items of a combo or list box (between begin and end of update; no handler
// runs).
void SetComboItems(QComboBox* combo, const std::vector<std::string>& items);
void SetListItems(QListWidget* list, const std::vector<std::string>& items);
// Lists the files of the path's folder with the path's extension (containing `filter` when
// it is not empty) as numbered items, adds the path itself when the current file name
// contains "(新規).", and selects the path's file name.
void FillComboWithFiles(TCBoxEx* combo, const std::string& path, const std::string& filter);
// Selects the item equal to `text` (prefix, case and width ignored) and returns its 1-based
// number; when none matches the combo's text is emptied and 0 returned.
int SelectComboText(TCBoxEx* combo, const std::string& text);

// ---- Silent setters (nothing for no control)
void SetUpDownSilently(QSpinBox* upDown, int position);
void SetUpDownSilently(QAbstractSlider* upDown, int position);
void SetCheckBoxSilently(QCheckBox* box, bool checked);
void SetRadioButtonSilently(QRadioButton* button, bool checked);
// Item number n (1-based; 0 or negative: none) of a radio group whose buttons have the ids
// 0, 1, 2 ... in item order.
void SetRadioGroupSilently(QButtonGroup* group, int number);
void SetTabIndexSilently(QTabWidget* tabs, int number);
void SetTabIndexSilently(QTabBar* tabs, int number);

// ---- Grids
// For a selected cell only: the cell text in the grid's font colour on the grid's colour,
// 2 pixels in from the left and top (so the selection shows no highlight). While painting.
void DrawGridCellText(TStrGridEx* grid, int col, int row, int state, const platform::Rect& rect);
// The same drawing on a given background colour (0x00BBGGRR).
void DrawGridCellColored(TStrGridEx* grid, const platform::Rect& rect, uint32_t background, const std::string& text);
// The cell as a number (TextToFloat); 0 outside the grid.
double GridCellValue(TStrGridEx* grid, int col, int row);
// Sum and count of the cells of a range (column by column, row by row), adding the values the
// grid's TotalStyle allows; with a target cell (both not 0) the sum is written there,
// formatted by the current edit format copies.
double GridRangeSum(TStrGridEx* grid, int firstCol, int lastCol, int firstRow, int lastRow, int targetCol,
                    int targetRow, int& count);
// The same range's mean (0 for no cells), written into the target cell the same way.
double SetGridRangeAverage(TStrGridEx* grid, int firstCol, int lastCol, int firstRow, int lastRow, int targetCol,
                           int targetRow);
// One line per row listed in `rowList` (a number list such as "1,3..5"): every column of the
// row right-aligned to `width` bytes, joined.
void GridToStrings(TStrGridEx* grid, const std::string& rowList, int width, std::vector<std::string>& lines);

// ---- Memos
struct MemoCaret {
  int Line = 0, Column = 0, Position = 0;
};
// The memo window's caret record: the caret and its second copy.
struct MemoDataType {
  MemoCaret Caret;
  MemoCaret CaretCopy;
};
void ReadMemoCaret(TMemoEx* memo, MemoDataType& data);
// Scrolls so that `line` (from 1; 0 counts as 1, beyond the last as the last) is the first
// visible line, then reads the caret.
void GotoMemoLine(TMemoEx* memo, MemoDataType& data, int line);
// The file's lines (each "%5d:%s" with its number when `numbered`), scrolled to line 1; a
// missing file empties the memo.
void LoadMemoFromFile(TMemoEx* memo, const std::string& path, bool numbered);

// ---- Forms
extern bool FormDragging;
// Left, top, width and height of a form (nothing for no form).
void GetFormBounds(QWidget* form, int& left, int& top, int& width, int& height);
void BeginFormDrag();
void DoFormDrag(QWidget* control);
void EndFormDrag();
// Drags a panel with the mouse from its own press, move and release events (the three routines
// above); on release the panel is held inside its parent. True when a drag ended with `e`.
bool DragPanelByMouse(QWidget* panel, QEvent* e);
// True for the mouse press, move and release events a panel drag is made of.
bool IsMouseDragEvent(const QEvent* e);
// True when a form of the application has exactly that object name.
bool IsFormOpen(const std::string& name);
// The control named prefix + suffix (case-insensitive) on a form or frame; null when absent.
QObject* FindComp(QObject* form, const std::string& prefix, const std::string& suffix);
QObject* FindEditComp(QObject* form, const std::string& suffix);
QObject* FindCBoxComp(QObject* form, const std::string& suffix);
QObject* FindMemoComp(QObject* form, const std::string& suffix);
QObject* FindLblComp(QObject* form, const std::string& suffix);
QObject* FindImagComp(QObject* form, const std::string& suffix);
QObject* FindBtnComp(QObject* form, const std::string& suffix);
QObject* FindBBtnComp(QObject* form, const std::string& suffix);
QObject* FindSBtnComp(QObject* form, const std::string& suffix);
QObject* FindRBtnComp(QObject* form, const std::string& suffix);
QObject* FindPConComp(QObject* form, const std::string& suffix);
QObject* FindSBoxComp(QObject* form, const std::string& suffix);
QObject* FindPnlComp(QObject* form, const std::string& suffix);
QObject* FindGBoxComp(QObject* form, const std::string& suffix);
QObject* FindRptComp(QObject* form, const std::string& suffix);
QObject* FindRptLblComp(QObject* form, const std::string& suffix);
QObject* FindRptImagComp(QObject* form, const std::string& suffix);
QObject* FindChatComp(QObject* form, const std::string& suffix);

// ---- Mouse pointer
// The pointer to the centre of a visible control; a visible, enabled control that takes the
// focus also gets it (MoveMouseToControl of the message module).
void MoveMouseToControl(QWidget* control);
// Only the pointer moves.
void MovePointerToControl(QWidget* control);

}  // namespace fw
