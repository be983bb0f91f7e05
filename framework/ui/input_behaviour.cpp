#include "framework/ui/input_behaviour.h"

#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "framework/ui/focus_tracker.h"
#include "framework/ui/inp_form.h"
#include "platform/qt/keys_qt.h"
#include "platform/ui.h"

namespace fw {

QPointer<TEditEx> CurrentEdit;
QPointer<TCBoxEx> CurrentCombo;
QPointer<TStrGridEx> CurrentGrid;

namespace {

constexpr uint8_t kTab = 9, kEnter = 13, kEsc = 27;

// What a key press adds to TypedKeys: the whole character when the control reports it.
std::string TypedOf(QWidget* control, uint8_t key) {
  if (auto* ev = dynamic_cast<TControlEvents*>(control)) {
    const std::string& chars = ev->KeyChars();
    if (!chars.empty() && static_cast<uint8_t>(chars[0]) == key) return chars;
  }
  return std::string(1, static_cast<char>(key));
}

// The 1-based number of the combo item matching `text` (prefix and case ignored); 0 none.
int MatchingItem(const TCBoxEx* combo, const std::string& text) {
  const std::vector<std::string> items = combo->Items();
  return FindInStrings(items, text);
}

// Shows the entry item (or, without one, the entry text) again.
void RestoreComboEntry(TCBoxEx* combo) {
  if (Input.SelectedOrgNo > 0 && Input.SelectedOrgNo <= combo->count())
    combo->SetItemIndex(Input.SelectedOrgNo - 1);
  else
    combo->SetText(Input.InputOrgText);
}

// The end of an edit's or combo's input: an in-grid editor writes back and hides.
void FinishInput(QWidget* control, bool inGrid) {
  if (inGrid) {
    StoreEditToGridCell(CurrentGrid);
    control->hide();
  }
  EndInputStatus();
}

// Runs a control's exit as leaving it would, or, when the focus tracker has not entered it,
// its exit handler (the shared one when the form assigned none).
void EndInput(QWidget* control, void (*shared)(QWidget*)) {
  if (!control) return;
  if (FocusTracker::EnteredControl(FocusTracker::FormOf(control)) == control) {
    FocusTracker::Leave(control);
    return;
  }
  auto* ev = dynamic_cast<TControlEvents*>(control);
  if (ev && ev->OnExit)
    ev->OnExit(control);
  else
    shared(control);
}

}  // namespace

// ---- Edits --------------------------------------------------------------------------------------

void EditEnter(QWidget* control) {
  auto* edit = qobject_cast<TEditEx*>(control);
  if (!edit) return;
  CurrentEdit = edit;
  Input.InputMode = true;
  Input.InputCommitted = false;
  if (!edit->CellFrame())
    SetCurrentItemNo(edit, 'N', 0);
  else
    edit->SetText(Input.GridCellText);
  edit->SetImeMode(edit->EditType() == TEditType::etString ? TImeMode::imDontCare : TImeMode::imClose);
  CopyEditFormat(edit->EditType(), edit->MaxLength(), edit->UnderPoint(), edit->UnderInput(), edit->ZeroDisplay(),
                 edit->Calcuable());
  BeginFieldInput(edit->Text());
  edit->selectAll();
}

void EditKeyPress(QWidget* control, uint8_t& key) {
  auto* edit = qobject_cast<TEditEx*>(control);
  if (!edit) return;
  Input.LastKey = key;
  if (Input.OverwriteMode == 1 && key > 31) edit->DeleteAtCaret();
  if (key == kTab || key == kEnter) {
    edit->SetText(CommitFieldText(edit->Text()));
    if (!Input.InputUnchanged) edit->SetModified(true);
    key = 0;
  } else if (key == kEsc) {
    edit->SetText(RestoreFieldText());
    key = 0;
  } else {
    Input.TypedKeys += TypedOf(control, key);
  }
}

void EditKeyDown(QWidget* control, int& key) {
  if (!qobject_cast<TEditEx*>(control)) return;
  Input.LastKey = NavigationKeyCode(key);
  if (key == platform::VK_INSERT) {
    Input.OverwriteMode = Input.OverwriteMode == 1 ? 0 : 1;
    ShowStatus(LastStatusText);
    key = 0;
  }
}

void EditExit(QWidget* control) {
  auto* edit = qobject_cast<TEditEx*>(control);
  if (!edit) return;
  if (edit->Modified() && Input.LastKey != kEsc) {
    uint8_t key = kEnter;
    EditKeyPress(edit, key);
  }
  if (Input.LastKey != 0 && Input.LastKey != kTab && Input.LastKey != kEnter) {
    uint8_t key = kEsc;
    EditKeyPress(edit, key);
  }
  FinishInput(edit, edit->CellFrame());
  CurrentEdit = nullptr;
}

// ---- Combos -------------------------------------------------------------------------------------

void ComboEnter(QWidget* control) {
  auto* combo = qobject_cast<TCBoxEx*>(control);
  if (!combo) return;
  CurrentCombo = combo;
  Input.InputMode = true;
  Input.InputCommitted = false;
  std::string probe;
  if (!combo->CellFrame()) {
    SetCurrentItemNo(combo, 'N', 0);
    probe = combo->Text();
  } else {
    probe = Input.GridCellText;
  }
  Input.SelectedNo = MatchingItem(combo, probe);
  combo->SetItemIndex(Input.SelectedNo - 1);
  if (Input.SelectedNo == 0 && combo->Style() == TComboBoxStyle::csDropDown) combo->SetText(probe);
  Input.InputText = StripLabelPrefix(combo->Text());
  Input.InputOrgText = Input.InputText;
  Input.SelectedOrgNo = Input.SelectedNo;
  Input.InputChangedSaved = Input.InputChanged;
  Input.InputUnchanged = true;
  Input.LastKey = 0;
}

void ComboClick(QWidget* control) { ComboEnter(control); }

void ComboChange(QWidget* control) {
  auto* combo = qobject_cast<TCBoxEx*>(control);
  if (!combo) return;
  Input.InputText = StripLabelPrefix(combo->Text());
  Input.SelectedNo = combo->ItemIndex() + 1;
  if (Input.InputText != Input.InputOrgText || Input.SelectedNo != Input.SelectedOrgNo) {
    Input.InputUnchanged = false;
    if (Input.InputMode) Input.InputChanged = true;
  }
  combo->SetInputState(1);
}

void ComboKeyPress(QWidget* control, uint8_t& key) {
  auto* combo = qobject_cast<TCBoxEx*>(control);
  if (!combo) return;
  Input.LastKey = key;
  if (Input.OverwriteMode == 1 && key > 31) combo->DeleteAtCaret();
  combo->SetInputState(2);
  if (key == kTab || key == kEnter) {
    Input.InputText = StripLabelPrefix(combo->Text());
    Input.SelectedNo = MatchingItem(combo, Input.InputText);
    if (Input.InputText != Input.InputOrgText || Input.SelectedNo != Input.SelectedOrgNo) {
      Input.InputUnchanged = false;
      if (Input.InputMode) Input.InputChanged = true;
      combo->SetChangedFlag(true);
    }
    key = 0;
  } else if (key == kEsc) {
    RestoreComboEntry(combo);
    Input.SelectedNo = Input.SelectedOrgNo;
    Input.InputText = Input.InputOrgText;
    Input.InputUnchanged = true;
    Input.InputChanged = Input.InputChangedSaved;
    key = 0;
  } else {
    Input.TypedKeys += TypedOf(control, key);
  }
}

void ComboExit(QWidget* control) {
  auto* combo = qobject_cast<TCBoxEx*>(control);
  if (!combo) return;
  if (combo->InputState() == 2 && Input.LastKey != kEsc) {
    uint8_t key = kEnter;
    ComboKeyPress(combo, key);
  }
  FinishInput(combo, combo->CellFrame());
  CurrentCombo = nullptr;
}

void UseSharedHandlers(TEditEx* edit) {
  if (!edit) return;
  edit->OnEnter = EditEnter;
  edit->OnExit = EditExit;
  edit->OnKeyDown = EditKeyDown;
  edit->OnKeyPress = EditKeyPress;
}

void UseSharedHandlers(TCBoxEx* combo) {
  if (!combo) return;
  combo->OnEnter = ComboEnter;
  combo->OnExit = ComboExit;
  combo->OnKeyPress = ComboKeyPress;
  combo->OnChange = ComboChange;
}

// ---- Editor control -----------------------------------------------------------------------------

void SetCurrentItemNo(QWidget* control, char mode, int count) { SetCurrentItemNo(Tag(control), mode, count); }

void SetEditFormat(TEditEx* edit, TEditType type, int maxLength, int underInput, int underPoint) {
  if (!edit) return;
  edit->SetEditType(type);
  if (maxLength != 0) edit->SetMaxLength(maxLength);
  if (underPoint != 0) edit->SetUnderPoint(underPoint);
  edit->SetUnderInput(underInput == -1);
  CopyEditFormat(edit->EditType(), edit->MaxLength(), edit->UnderPoint(), edit->UnderInput(), edit->ZeroDisplay(),
                 edit->Calcuable());
}

namespace {
QRect EditorQRect() {
  const InputRect& r = Input.EditorRect;
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}
}  // namespace

void ShowGridEdit(TEditEx* edit, TEditType type, int maxLength, int underInput, int underPoint) {
  if (!edit) return;
  CurrentEdit = edit;
  SetEditFormat(edit, type, maxLength, underInput, underPoint);
  edit->setGeometry(EditorQRect());
  edit->raise();
  edit->show();
  edit->setFocus(Qt::OtherFocusReason);
}

void ShowGridCombo(TCBoxEx* combo, TComboBoxStyle style, bool dropDown) {
  if (!combo) return;
  CurrentCombo = combo;
  combo->setGeometry(EditorQRect());
  combo->SetInputState(0);
  combo->SetStyle(style);
  combo->raise();
  combo->show();
  combo->setFocus(Qt::OtherFocusReason);
  if (dropDown) combo->showPopup();
}

void PlaceEditorOnGridCell(TStrGridEx* grid, int col, int row) {
  if (!grid || col < 0 || row < 0) return;
  CurrentGrid = grid;
  Input.GridCol = col;
  Input.GridRow = row;
  const int cellX = grid->GridColLeft(col), cellY = grid->GridRowTop(row);
  const QPoint client = grid->viewport()->geometry().topLeft();
  const int x = grid->x() + client.x() + cellX;
  const int y = grid->y() + client.y() + cellY;
  const std::string text = grid->Cells(col, row);
  Input.GridCellText = text;
  const QColor under = grid->PixelAt(QPoint(cellX + 3, cellY + 4));
  Input.GridCellColor = static_cast<uint32_t>(under.red()) | (static_cast<uint32_t>(under.green()) << 8) |
                        (static_cast<uint32_t>(under.blue()) << 16);
  Input.GridCellEditable = under != ButtonFaceColor();
  Input.GridCellLastChar = text.empty() ? 0 : text.back();
  Input.GridLeftColSaved = grid->LeftCol();
  Input.GridTopRowSaved = grid->TopRow();
  Input.EditorRect = {x, y, x + grid->ColWidths(col), y + grid->RowHeights(row)};
  const platform::Point mouse = platform::CurrentUi().CursorPos();
  Input.EditorMousePos = {mouse.x, mouse.y};
  DialogAnswer = 0;
}

void StoreEditToGridCell(TStrGridEx* grid) {
  if (!grid || Input.GridCol < 0 || Input.GridRow < 0) return;
  if (Input.InputUnchanged) {
    grid->SetCells(Input.GridCol, Input.GridRow, Input.GridCellText);
    return;
  }
  const size_t blanks = Input.GridCellText.find_first_not_of(' ');
  const std::string lead(blanks == std::string::npos ? Input.GridCellText.size() : blanks, ' ');
  grid->SetCells(Input.GridCol, Input.GridRow, lead + Input.InputText);
  Input.GridCellText = Input.InputText;
}

void CancelEdit(TEditEx* edit) {
  if (edit) edit->SetText(Input.InputOrgText);
  ResetEditState();
}

void CancelCombo(TCBoxEx* combo) {
  if (combo) RestoreComboEntry(combo);
  ResetEditState();
}

void CloseActiveEditor() {
  if (!Input.InputMode) return;
  EndInput(CurrentEdit, EditExit);
  EndInput(CurrentCombo, ComboExit);
  ShowStatus(std::string());
}

void CommitActiveEditor() { CloseActiveEditor(); }

void InstallInputFramework() {
  FocusTracker::Install();
  CommitActiveEditHook = &CommitActiveEditor;
  AskTextHook = &AskTextWithInpForm;
}

}  // namespace fw
