#include "framework/input_state.h"

namespace fw {

InputControlState Input;

void SaveInputState(TInputType& out) {
  out.InputIntValue = Input.InputIntValue;
  out.InputOrgInt = Input.InputOrgInt;
  out.InputValue = static_cast<float>(Input.InputValue);
  out.InputOrgValue = static_cast<float>(Input.InputOrgValue);
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

}  // namespace fw
