// Keys as the program's handlers see them: Windows virtual-key codes for key-down handlers
// and CP932 character bytes for key-press handlers. One table maps the Qt keys.
#pragma once

#include <QKeyEvent>
#include <string>

namespace fw {

// Windows virtual-key codes the program's handlers test.
constexpr int VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18;
constexpr int VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36;
constexpr int VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46;
constexpr int VK_F1 = 112;

// The virtual-key code of a Qt key (letters and digits are their upper-case ASCII codes,
// keypad keys the numeric-pad codes); 0 for keys without one.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
inline int VirtualKeyOf(const QKeyEvent* e) { return VirtualKeyOf(e->key(), e->modifiers()); }

// The CP932 bytes a key event types, as a key-press handler receives them: Enter "\r", Esc
// "\x1b", Backspace "\b", control characters, printable characters. Empty for keys that type
// nothing (arrows, Delete, Tab, function keys). `encodable` is false when the event types a
// character that CP932 cannot encode.
std::string TypedBytesOf(const QKeyEvent* e, bool& encodable);

}  // namespace fw
