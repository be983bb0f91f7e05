// Qt input events in the Windows form (input.h): virtual-key codes for key-down handlers, CP932
// character bytes for key-press handlers, mouse buttons and shift states. One table maps the Qt
// keys.
#pragma once

#include <QKeyEvent>
#include <QMouseEvent>
#include <optional>
#include <string>

#include "platform/input.h"

namespace platform {

// The virtual-key code of a Qt key (letters and digits are their upper-case ASCII codes,
// keypad keys the numeric-pad codes); 0 for keys without one.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
inline int VirtualKeyOf(const QKeyEvent* e) { return VirtualKeyOf(e->key(), e->modifiers()); }

// The CP932 bytes a key event types, as a key-press handler receives them: Enter "\r", Esc
// "\x1b", Backspace "\b", control characters, printable characters. Empty for keys that type
// nothing (arrows, Delete, Tab, function keys). `encodable` is false when the event types a
// character that CP932 cannot encode.
std::string TypedBytesOf(const QKeyEvent* e, bool& encodable);

// The shift state of modifier keys and mouse buttons held; `doubleClick` adds ssDouble.
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick = false);
// The button of a press or release; false for buttons the program does not know.
bool MouseButtonOf(Qt::MouseButton button, TMouseButton& out);

// A press, release or double click in the Windows form: the button, the shift state (with
// ssDouble for a double click) and the position; nothing for buttons the program does not know.
struct MouseInput {
  TMouseButton button = TMouseButton::mbLeft;
  TShiftState shift = 0;
  int x = 0, y = 0;
};
std::optional<MouseInput> MouseInputOf(const QMouseEvent* e, bool doubleClick = false);

}  // namespace platform
