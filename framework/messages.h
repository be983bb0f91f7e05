// The two report channels of every module: the one-line status text on the main window's
// status bar (four panels) and the modal message dialog; on top of them the timed error
// note, the numbered error texts of "エラー文.DAT", a random joke line, the message-pumping
// wait and the mouse-pointer routines. All texts are CP932.
#pragma once

#include <string>

#include "platform/ui.h"

namespace fw {

// The main window's status bar as the framework sees it. Panels: 0 text, 1 change state,
// 2 typing mode, 3 file name.
class StatusBarSink {
 public:
  virtual ~StatusBarSink() = default;
  virtual void SetPanelText(int panel, const std::string& text) = 0;
  virtual void SetHint(const std::string& text) = 0;
  virtual void Repaint() = 0;
};

// Set by the main window when it is created; while either is null, status output does nothing.
extern void* MainForm;
extern StatusBarSink* MainStatusBar;

extern std::string LastStatusText;
extern std::string ErrorText;
extern int ErrorNo;
extern bool DialogYes;
extern bool DialogCancel;
extern int DialogAnswer;  // 0 while a dialog is open; then 1 yes/OK, 2 no, 3 anything else
extern int DialogResult;  // the raw modal result (platform::ModalResult as int)
extern std::string LastDialogText;
extern std::string JokeFileName;

void ShowStatus(const std::string& text);
void ShowErrorStatus(const std::string& text);
void ShowErrorNo(int number);
void ShowDodoitsu();
// kind: 2 confirmation, 3 warning, 4 error, else information.
// buttons: 2 Yes+No, 3 Yes+No+Cancel, 4 Cancel+Retry, 5 Yes+Abort, else OK.
void MsgDialog(const std::string& text, int kind, int buttons);
void WaitSeconds(double seconds);
void BeginInputStatus();
void EndInputStatus();
int CountTextLines(const std::string& text);

void SaveCursorPos(int& x, int& y);
void SetCursorPosXY(int x, int y);
void MoveMouseBy(int dx, int dy);
void CenterMouseCursor();

}  // namespace fw
