// The two report channels of every module: the one-line status text on the main window's
// status bar (four panels) and the modal message dialog; on top of them the timed error
// note, the numbered error texts of "エラー文.DAT", a random joke line, the message-pumping
// wait and the mouse-pointer routines. All texts are CP932.
//
// The dialog, the beep, the tick counter, the event pump and the pointer go through
// platform::CurrentUi(), so tests answer dialogs from a script and run on a fake clock.
//
// Behaviour kept safe on purpose:
// - An empty status text (the clearing call) never becomes LastStatusText, so the text shown
//   again after an error note is the last real status text.
// - A missing or unreadable "エラー文.DAT" gives the unregistered-error text; it never fails.
// - A joke file shorter than one 81-byte record shows nothing.
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

extern std::string LastStatusText;  // the last ordinary status text; shown again after an error note
extern std::string ErrorText;       // the text of the last error note
extern int ErrorNo;                 // the last error number asked for (table files: the I/O result)
extern bool DialogYes;
extern bool DialogCancel;
extern int DialogAnswer;  // 0 while a dialog is open; then 1 yes/OK, 2 no, 3 anything else
extern int DialogResult;  // the raw modal result (platform::ModalResult as int)
extern std::string LastDialogText;
extern std::string JokeFileName;  // empty until the first ShowDodoitsu

// Caption of every message dialog.
std::string MessageDialogCaption();

// Writes a status text (marks, change state, typing mode and file name panels).
void ShowStatus(const std::string& text);
// Shows an error note for 3 to 5 seconds (by its length), then the last status text again.
void ShowErrorStatus(const std::string& text);
// Looks the number up in DatDir + "エラー文.DAT" (read anew each time) and shows it as an error
// note; 0 repeats ErrorText.
void ShowErrorNo(int number);
// A random line of the joke table DatDir + JokeFileName in the status bar.
void ShowDodoitsu();
// kind: 2 confirmation, 3 warning, 4 error, else information.
// buttons: 2 Yes+No, 3 Yes+No+Cancel, 4 Cancel+Retry, 5 Yes+Abort, else OK.
// OK/Yes: DialogYes, answer 1; No: neither flag, answer 2; anything else (Cancel, Retry,
// Abort, the close box): DialogCancel, answer 3.
void MsgDialog(const std::string& text, int kind, int buttons);
// Waits while handling pending window messages, user input included, so a run's pause and
// the playback's stay stoppable; between messages it rests (sleeps until the next message or
// the end of the wait) instead of spinning a processor. 0 returns at once, a negative value
// after one round. (The other pumps, ShowStatus's and AskPrint's, leave user input queued.)
void WaitSeconds(double seconds);
void BeginInputStatus();
void EndInputStatus();
// Number of lines as a string list counts them: split at CR LF, CR or LF; a final line break
// adds no empty line; an empty text has 0 lines.
int CountTextLines(const std::string& text);

// ---- Mouse pointer
void SaveCursorPos(int& x, int& y);
void SetCursorPosXY(int x, int y);
void MoveMouseBy(int dx, int dy);
// Centre of the screen size taken at start-up (the user interface's screen before that).
void CenterMouseCursor();

// What MoveMouseToControl needs of a control; the form layer adapts its widgets to it.
class PointerTarget {
 public:
  virtual ~PointerTarget() = default;
  virtual bool IsVisible() const = 0;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  virtual platform::Point ClientToScreen(platform::Point p) const = 0;
  // A windowed control can take the focus (a label or an image cannot).
  virtual bool IsWindowed() const = 0;
  virtual bool IsEnabled() const = 0;
  virtual void SetFocus() = 0;
};
// Puts the pointer at the centre of a visible control and focuses it when it is a visible,
// enabled windowed control. A hidden control or none does nothing.
void MoveMouseToControl(PointerTarget* control);

}  // namespace fw
