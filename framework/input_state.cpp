#include "framework/input_state.h"

#include <cmath>
#include <limits>

#include "framework/convert.h"

namespace fw {

InputControlState Input;

void SaveInputState(TInputType& out) {
  out.InputIntValue = Input.InputIntValue;
  out.InputOrgInt = Input.InputOrgInt;
  out.InputValue = Input.InputValue;
  out.InputOrgValue = Input.InputOrgValue;
  out.InputText = Input.InputText;
  out.InputOrgText = Input.InputOrgText;
  out.InputCode = Input.InputCode;
  out.InputSection = Input.InputSection;
  out.InputMode = Input.InputMode;
  out.InputCommitted = Input.InputCommitted;
  out.InputUnchanged = Input.InputUnchanged;
}

void RestoreInputState(const TInputType& in) {
  Input.InputIntValue = in.InputIntValue;
  Input.InputOrgInt = in.InputOrgInt;
  Input.InputValue = in.InputValue;
  Input.InputOrgValue = in.InputOrgValue;
  Input.InputText = in.InputText;
  Input.InputOrgText = in.InputOrgText;
  Input.InputCode = in.InputCode;
  Input.InputSection = in.InputSection;
  Input.InputMode = in.InputMode;
  Input.InputCommitted = in.InputCommitted;
  Input.InputUnchanged = in.InputUnchanged;
}

double FieldTextValue(TEditType type, const std::string& text) {
  if (IsTextEditType(type) || text.empty()) return 0;
  return TextToFloat(text);
}

int RoundToInt(double value) {
  const int64_t r = Round(value);
  if (r > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (r < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

void CopyEditFormat(TEditType type, int maxLength, int underPoint, bool underInput, bool zeroDisplay, bool calcuable) {
  Input.InputEditType = type;
  Input.InputMaxLength = maxLength;
  Input.InputUnderPoint = underPoint;
  Input.InputUnderInput = underInput;
  Input.InputZeroDisplay = zeroDisplay;
  Input.InputCalcuable = calcuable;
}

void BeginFieldInput(const std::string& text) {
  Input.InputText = text;
  Input.InputOrgText = text;
  Input.InputValue = FieldTextValue(Input.InputEditType, text);
  Input.InputIntValue = RoundToInt(Input.InputValue);
  Input.InputOrgValue = Input.InputValue;
  Input.InputOrgInt = Input.InputIntValue;
  Input.InputChangedSaved = Input.InputChanged;
  Input.InputUnchanged = true;
  Input.LastKey = 0;
}

FieldFormat CurrentFieldFormat() {
  FieldFormat format;
  format.editType = Input.InputEditType;
  format.maxLength = Input.InputMaxLength;
  format.decimals = Input.InputUnderPoint;
  format.calculable = Input.InputCalcuable;
  format.underInput = Input.InputUnderInput;
  format.zeroDisplay = Input.InputZeroDisplay;
  format.entryText = Input.InputOrgText;
  return format;
}

std::string CommitFieldText(const std::string& typed) {
  const std::string text = FieldValueToText(CurrentFieldFormat(), typed);
  Input.InputText = text;
  Input.InputValue = FieldTextValue(Input.InputEditType, text);
  Input.InputIntValue = RoundToInt(Input.InputValue);

  bool unchanged = false;
  if (!Input.InputOrgText.empty()) {
    const TEditType type = Input.InputEditType;
    if (type == TEditType::etChar)
      unchanged = true;
    else if (IsTextEditType(type))
      unchanged = text == Input.InputOrgText;
    else if (IsIntegerEditType(type))
      unchanged = Input.InputIntValue == Input.InputOrgInt;
    else
      unchanged = Input.InputValue == Input.InputOrgValue;
  }
  if (unchanged) return RestoreFieldText();
  Input.InputUnchanged = false;
  if (Input.InputMode) Input.InputChanged = true;
  Input.InputCommitted = false;
  return text;
}

std::string RestoreFieldText() {
  Input.InputText = Input.InputOrgText;
  Input.InputValue = Input.InputOrgValue;
  Input.InputIntValue = Input.InputOrgInt;
  Input.InputUnchanged = true;
  Input.InputChanged = Input.InputChangedSaved;
  return Input.InputOrgText;
}

void ResetEditState() {
  Input.GridCellText = Input.InputOrgText;
  Input.TypedKeys = Input.InputOrgText;
  Input.InputText = Input.InputOrgText;
  Input.SelectedNo = Input.SelectedOrgNo;
  Input.InputValue = Input.InputOrgValue;
  Input.InputIntValue = Input.InputOrgInt;
  Input.InputChanged = Input.InputChangedSaved;
  Input.InputUnchanged = true;
}

void SetCurrentItemNo(int tag, char mode, int count) {
  int code = tag;
  if (count != 0) {
    switch (mode) {
      case 'X': code += Input.GridCol; break;
      case 'Y': code += Input.GridRow; break;
      case 'Z': code += count * (Input.GridRow - 1) + Input.GridCol; break;
      default: break;
    }
  }
  Input.InputCode = code;
  Input.InputSection = code / 100;
  Input.InputCommitted = false;
}

uint8_t NavigationKeyCode(int virtualKey) {
  switch (virtualKey) {
    case 38: return kKeyNavUp;
    case 40: return kKeyNavDown;
    case 37: return kKeyNavLeft;
    case 39: return kKeyNavRight;
    case 33: return kKeyNavPageUp;
    case 34: return kKeyNavPageDown;
    case 45: return kKeyNavInsert;
    case 46: return kKeyNavDelete;
    default: return static_cast<uint8_t>(virtualKey);
  }
}

}  // namespace fw
