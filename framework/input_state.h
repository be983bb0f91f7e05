// The program-wide input-control state: what the user is typing in the one field being
// edited, shared by the input behaviour of every form and by the message dialog, which
// saves and restores it around each modal question.
#pragma once

#include <cstdint>
#include <string>

namespace fw {

// Edit types of an input control, in this order.
enum class TEditType { etByte, etChar, etDate, etDateTime, etFloat, etInteger, etSmallInt, etString, etTime, etWord };

inline bool IsTextEditType(TEditType t) {
  return t == TEditType::etChar || t == TEditType::etDate || t == TEditType::etDateTime ||
         t == TEditType::etString || t == TEditType::etTime;
}
inline bool IsIntegerEditType(TEditType t) {
  return t == TEditType::etByte || t == TEditType::etInteger || t == TEditType::etSmallInt || t == TEditType::etWord;
}

struct InputControlState {
  int InputCode = 0;
  int InputSection = 0;
  std::string InputText;
  std::string InputOrgText;
  double InputValue = 0;
  int InputIntValue = 0;
  double InputOrgValue = 0;
  int InputOrgInt = 0;
  int SelectedNo = 0;
  int SelectedOrgNo = 0;
  std::string TypedKeys;
  uint8_t LastKey = 0;
  bool InputUnchanged = true;
  bool InputCommitted = false;
  bool InputMode = false;
  bool InputChanged = false;
  bool InputChangedSaved = false;
  TEditType InputEditType = TEditType::etString;
  int InputMaxLength = 0;
  int InputUnderPoint = 0;
  bool InputUnderInput = false;
  bool InputZeroDisplay = false;
  bool InputCalcuable = false;
  int OverwriteMode = 0;  // 1: typing overwrites the character at the caret
  int GridCol = 0;
  int GridRow = 0;
  std::string GridCellText;
  // Set by range checks (InRangeInt/InRangeFloat) when a value lies outside its range.
  int RangeErrorCode = 0;
};

// The one instance.
extern InputControlState Input;

// Snapshot taken around a modal dialog; the two values are narrowed to single precision.
struct TInputType {
  int InputIntValue = 0;
  int InputOrgInt = 0;
  float InputValue = 0;
  float InputOrgValue = 0;
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

}  // namespace fw
