// User-interface services the framework needs from the windowing system: the modal message
// box, the beep, the millisecond tick counter, handling pending window messages, the mouse
// pointer, the screen size and how long a hint stays. The program installs the Qt
// implementation (qt/qt_ui.h); tests install a scripted one. Without any installed, a silent
// headless implementation answers every message box with its first button and never blocks.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

enum class DialogKind { Information, Confirmation, Warning, Error };

// The button sets of the standard message box.
enum class DialogButtons { Ok, YesNo, YesNoCancel, CancelRetry, YesAbort };

// Modal results, numbered as the Windows dialog identifiers.
enum class ModalResult { None = 0, Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7, Close = 8 };

enum class CursorShape { Default, Wait, NotAllowed };

// Which pending window messages a pump handles. ExceptUserInput runs repaints, timers and
// posted work but leaves mouse and key input queued in its order, so code that only wants a
// text shown never runs a click or key stroke in its middle (a press would be handled after
// its own release). WithUserInput handles input too: for waits that must stay stoppable.
enum class PumpScope { ExceptUserInput, WithUserInput };

struct Point {
  int x = 0;
  int y = 0;
};

class Ui {
 public:
  virtual ~Ui() = default;
  // Shows a modal message box; `text` and `caption` are CP932.
  virtual ModalResult ShowMessageBox(const std::string& text, const std::string& caption, DialogKind kind,
                                     DialogButtons buttons) = 0;
  virtual void Beep() = 0;
  virtual uint64_t TickCountMs() = 0;
  // Handles pending window messages once. An implementation with a fake clock may advance it.
  virtual void ProcessEvents(PumpScope scope) = 0;
  // Handles pending window messages; when none is pending, rests until one comes or `ms`
  // milliseconds have passed. This base handles them once without resting (an implementation
  // with a fake clock advances it so).
  virtual void WaitEvents(PumpScope scope, int ms) {
    (void)ms;
    ProcessEvents(scope);
  }
  virtual Point CursorPos() = 0;
  virtual void SetCursorPos(Point p) = 0;
  virtual void SetCursorShape(CursorShape shape) = 0;
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;
  // How long a hint (tool tip) stays before it hides, in milliseconds.
  virtual void SetHintHidePause(int ms) = 0;
};

// The answer a message box gives without a user: its first button (Yes, Cancel or OK).
ModalResult FirstButtonAnswer(DialogButtons buttons);

// The installed implementation (never null).
Ui& CurrentUi();
// Installs `ui` (not owned); nullptr reinstalls the headless implementation. Returns the previous one.
Ui* InstallUi(Ui* ui);

}  // namespace platform
