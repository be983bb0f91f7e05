// The program-wide input-control state: what the user is typing in the one field being
// edited, shared by the input behaviour of every form (framework/ui/input_behaviour.h) and by
// the message dialog, which saves and restores it around each modal question.
//
// The routines here are the part of the input behaviour that needs no widget: the values
// remembered when a field is entered, the commit decision of Tab/Enter (formatted text,
// changed or unchanged), the restore of Esc, and the input code of a control.
//
// Decisions kept on purpose:
// - TInputType keeps the values in double precision, so a value put back after a message
//   dialog compares equal to the value typed (12.3 stays unchanged).
// - Rounded values are held to the Integer range (a huge number never overflows).
#pragma once

#include <cstdint>
#include <string>

namespace fw {

struct FieldFormat;  // framework/convert.h

// Edit types of an input control, in this order.
enum class TEditType { etByte, etChar, etDate, etDateTime, etFloat, etInteger, etSmallInt, etString, etTime, etWord };

inline bool IsTextEditType(TEditType t) {
  return t == TEditType::etChar || t == TEditType::etDate || t == TEditType::etDateTime ||
         t == TEditType::etString || t == TEditType::etTime;
}
inline bool IsIntegerEditType(TEditType t) {
  return t == TEditType::etByte || t == TEditType::etInteger || t == TEditType::etSmallInt || t == TEditType::etWord;
}

// Navigation codes recorded in LastKey instead of the key codes, so that they never look like
// the typed characters sharing those codes.
constexpr uint8_t kKeyNavUp = 241, kKeyNavDown = 242, kKeyNavLeft = 243, kKeyNavRight = 244;
constexpr uint8_t kKeyNavPageUp = 245, kKeyNavPageDown = 246, kKeyNavInsert = 247, kKeyNavDelete = 248;

struct InputRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
struct InputPoint {
  int x = 0, y = 0;
};

struct InputControlState {
  int InputCode = 0;     // the control's Tag plus a cell offset
  int InputSection = 0;  // InputCode div 100
  std::string InputText;     // the field's text after formatting (or as typed)
  std::string InputOrgText;  // the text when the field was entered
  double InputValue = 0;     // InputText as a number (0 for text kinds and empty text)
  int InputIntValue = 0;     // InputValue rounded
  double InputOrgValue = 0;
  int InputOrgInt = 0;
  int SelectedNo = 0;     // combo: 1-based number of the chosen item (0 none)
  int SelectedOrgNo = 0;  // SelectedNo at entry
  std::string TypedKeys;  // characters typed since entry
  uint8_t LastKey = 0;    // 0, 9, 13, 27, a typed character or a navigation code
  bool InputUnchanged = true;  // nothing new committed; a form's exit handler commits only when false
  bool InputCommitted = false; // set by a form's commit routine, cleared on entry
  bool InputMode = false;      // an edit or combo of an input form is being edited
  bool InputChanged = false;   // a change was committed while InputMode was set
  bool InputChangedSaved = false;
  // Copies of the current edit's format properties.
  TEditType InputEditType = TEditType::etString;
  int InputMaxLength = 0;
  int InputUnderPoint = 0;
  bool InputUnderInput = false;
  bool InputZeroDisplay = false;
  bool InputCalcuable = false;
  int OverwriteMode = 0;  // 1: typing overwrites the character at the caret
  // The grid cell under an in-grid editor.
  int GridCol = 0;
  int GridRow = 0;
  std::string GridCellText;  // the cell's text when the editor was placed
  InputRect EditorRect;      // the editor's rectangle in the grid's parent
  uint32_t GridCellColor = 0;    // colour (0x00BBGGRR) under the editor's text
  bool GridCellEditable = false; // that colour differs from the button face
  char GridCellLastChar = 0;     // the last character of the cell text (0 when empty)
  int GridLeftColSaved = 0;      // the grid's scroll position when the editor was placed
  int GridTopRowSaved = 0;
  InputPoint EditorMousePos;     // the mouse position then
  // Set by range checks (InRangeInt/InRangeFloat) when a value lies outside its range.
  int RangeErrorCode = 0;
};

// The one instance.
extern InputControlState Input;

// Snapshot taken around a modal dialog.
struct TInputType {
  int InputIntValue = 0;
  int InputOrgInt = 0;
  double InputValue = 0;
  double InputOrgValue = 0;
  std::string InputText;
  std::string InputOrgText;
  int InputCode = 0;
  int InputSection = 0;
  bool InputMode = false;
  bool InputCommitted = false;
  bool InputUnchanged = true;
};

void SaveInputState(TInputType& out);
void RestoreInputState(const TInputType& in);

// ---- Field logic shared by the edit and combo handlers

// The value of a field text: 0 for a text kind or an empty text, else the text as a number.
double FieldTextValue(TEditType type, const std::string& text);
// Rounded to the nearest integer (halves to even), held to the Integer range.
int RoundToInt(double value);

// The format of the field being edited (the copied format properties and the entry text).
FieldFormat CurrentFieldFormat();
// Copies a control's format properties into the state.
void CopyEditFormat(TEditType type, int maxLength, int underPoint, bool underInput, bool zeroDisplay, bool calcuable);
// Entry of a field holding `text` of kind InputEditType: entry text and values remembered,
// InputChangedSaved = InputChanged, InputUnchanged set, LastKey 0.
void BeginFieldInput(const std::string& text);
// Tab or Enter: formats `typed` by the copied format, decides whether the input changed and
// returns the text the field shows afterwards (the entry text when unchanged).
// Unchanged: InputUnchanged set, InputChanged back to InputChangedSaved. Changed:
// InputUnchanged cleared, InputChanged set (while InputMode), InputCommitted cleared.
std::string CommitFieldText(const std::string& typed);
// Esc (and the unchanged case): the entry text and values return; returns the entry text.
std::string RestoreFieldText();
// The entry values of text, selection and change flag return; InputUnchanged set.
void ResetEditState();
// The input code of a control with `tag`: mode 'X' adds GridCol, 'Y' GridRow, 'Z'
// count x (GridRow - 1) + GridCol (only when count is not 0; any other mode adds nothing).
// InputSection = code div 100; InputCommitted cleared.
void SetCurrentItemNo(int tag, char mode, int count);
// The navigation code of a Windows virtual-key code (Up 241 ... Delete 248), else the code.
uint8_t NavigationKeyCode(int virtualKey);

}  // namespace fw
