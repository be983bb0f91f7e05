// The input behaviour shared by every form: the handlers that forms call from the entry,
// exit, key-down and key-press events of their TEditEx edits and TCBoxEx combos, the editors
// laid over grid cells, and the routines that cancel or close the active editor. The values
// live in the program-wide state of framework/input_state.h.
//
// A form wires each control's events to its own handlers, which call these and then look at
// the state (Input.InputUnchanged, Input.InputCode, Input.InputText ...) to store the value.
//
// Decisions kept on purpose:
// - PlaceEditorOnGridCell also makes the grid and cell the ones being edited (CurrentGrid,
//   GridCol, GridRow), and takes the colour under the editor from the cell itself.
// - A combo's text is compared and taken without its "%3d:" number prefix everywhere (on
//   entry, change, Enter and Esc); Esc and CancelCombo select the entry item again.
// - An editable combo entered with a text that matches no item keeps its text.
// - CloseActiveEditor and CommitActiveEditor end the current input as leaving the field would:
//   the field's exit handler runs (a typed value is committed, as Tab commits it) and the
//   field loses the focus, so the next click on it starts a new input.
#pragma once

#include <QPointer>
#include <cstdint>

#include "framework/input_state.h"
#include "framework/ui/controls.h"

namespace fw {

// The controls of the input state: the edit or combo being edited and the grid it lies over.
extern QPointer<TEditEx> CurrentEdit;
extern QPointer<TCBoxEx> CurrentCombo;
extern QPointer<TStrGridEx> CurrentGrid;

// ---- Edit handlers (nothing for a control that is not a TEditEx)
void EditEnter(QWidget* control);
void EditExit(QWidget* control);
// key: a Windows virtual-key code; Insert toggles overwrite typing and is swallowed.
void EditKeyDown(QWidget* control, int& key);
// key: a CP932 character byte; Tab and Enter commit, Esc restores, each swallowed.
void EditKeyPress(QWidget* control, uint8_t& key);

// ---- Combo handlers (nothing for a control that is not a TCBoxEx)
void ComboEnter(QWidget* control);
void ComboClick(QWidget* control);
void ComboChange(QWidget* control);
void ComboExit(QWidget* control);
void ComboKeyPress(QWidget* control, uint8_t& key);

// Assigns the shared handlers above to a control's events (forms with handlers of their own
// call the shared ones from them instead).
void UseSharedHandlers(TEditEx* edit);
void UseSharedHandlers(TCBoxEx* combo);

// ---- Editor control
// The input code from the control's Tag (see the Qt-free SetCurrentItemNo).
void SetCurrentItemNo(QWidget* control, char mode, int count);
// Sets EditType, MaxLength (0 keeps the edit's), UnderPoint (0 keeps the edit's) and
// UnderInput (-1 sets it, anything else clears it) in that order and copies the format.
void SetEditFormat(TEditEx* edit, TEditType type, int maxLength, int underInput, int underPoint);
// Makes the edit the current one, formats it, moves it onto EditorRect, shows and focuses it.
// The edit must be a child of the grid's parent.
void ShowGridEdit(TEditEx* edit, TEditType type, int maxLength, int underInput, int underPoint);
// The same for a combo: input state 0, the style, and its list opened when asked.
void ShowGridCombo(TCBoxEx* combo, TComboBoxStyle style, bool dropDown);
// Remembers the cell (text, colour, scroll position, mouse) and computes EditorRect in the
// grid's parent. Nothing for no grid or a negative column or row.
void PlaceEditorOnGridCell(TStrGridEx* grid, int col, int row);
// Writes the input back into the cell: the cell's text again when unchanged, else the input
// text after as many blanks as the cell text had in front.
void StoreEditToGridCell(TStrGridEx* grid);
// The control shows the entry text again and the state its entry values (ResetEditState).
void CancelEdit(TEditEx* edit);
void CancelCombo(TCBoxEx* combo);
// While a field is being edited: ends its input as leaving it would (see the file comment).
void CloseActiveEditor();
// Called before an action that must see the typed value stored (open, screen change,
// discard confirmation): commits the field being edited and ends its input.
void CommitActiveEditor();

// Connects the input framework to the application: the focus tracker, the commit hook of
// the file dialogs and the auxiliary input dialog for new file names. Call once after the
// QApplication exists.
void InstallInputFramework();

}  // namespace fw
