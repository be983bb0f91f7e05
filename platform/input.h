// Keyboard and mouse input in the Windows form the program's handlers work with: virtual-key
// codes, the mouse button of a press or release, and the shift state (modifier keys and the
// mouse buttons held, as a set of flags). Wheel turns count 120 per notch, positive away from
// the user. The Qt side turns its events into these (qt/keys_qt.h).
#pragma once

#include <cstdint>

namespace platform {

// Windows virtual-key codes the program's handlers test (letters and digits are their
// upper-case ASCII codes).
constexpr int VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18;
constexpr int VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36;
constexpr int VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46;
constexpr int VK_F1 = 112;

// One notch of the mouse wheel.
constexpr int WHEEL_DELTA = 120;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// A set of ss* flags.
using TShiftState = uint32_t;
constexpr TShiftState ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64;

}  // namespace platform
