#include "platform/qt/keys_qt.h"

#include "platform/qt/qt_text.h"

namespace platform {

namespace {

struct KeyPair {
  int qt;
  int vk;
};

// Keys whose virtual-key code is not their ASCII code.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, VK_BACK},    {Qt::Key_Tab, VK_TAB},          {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},     {Qt::Key_Enter, VK_RETURN},     {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},   {Qt::Key_Alt, VK_MENU},         {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},          {Qt::Key_Escape, VK_ESCAPE},    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},      {Qt::Key_PageDown, VK_NEXT},    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},         {Qt::Key_Left, VK_LEFT},        {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},       {Qt::Key_Down, VK_DOWN},        {Qt::Key_Print, 44},
    {Qt::Key_Insert, VK_INSERT},     {Qt::Key_Delete, VK_DELETE},    {Qt::Key_Help, 47},
    {Qt::Key_Meta, 91},              {Qt::Key_Menu, 93},             {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},       {Qt::Key_Semicolon, 186},       {Qt::Key_Colon, 186},
    {Qt::Key_Plus, 187},             {Qt::Key_Equal, 187},           {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},             {Qt::Key_Minus, 189},           {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},           {Qt::Key_Greater, 190},         {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},         {Qt::Key_QuoteLeft, 192},       {Qt::Key_AsciiTilde, 192},
    {Qt::Key_At, 192},               {Qt::Key_BracketLeft, 219},     {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},        {Qt::Key_Bar, 220},             {Qt::Key_yen, 220},
    {Qt::Key_BracketRight, 221},     {Qt::Key_BraceRight, 221},      {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},         {Qt::Key_AsciiCircum, 222},     {Qt::Key_Henkan, 28},
    {Qt::Key_Muhenkan, 29},          {Qt::Key_Kanji, 25},
};

// Keypad keys (with the keypad modifier).
constexpr KeyPair kPadKeys[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Slash, 111}, {Qt::Key_Enter, VK_RETURN},
};

}  // namespace

int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 96 + (qtKey - Qt::Key_0);
    for (const KeyPair& k : kPadKeys)
      if (k.qt == qtKey) return k.vk;
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return VK_F1 + (qtKey - Qt::Key_F1);
  for (const KeyPair& k : kKeys)
    if (k.qt == qtKey) return k.vk;
  return 0;
}

std::string TypedBytesOf(const QKeyEvent* e, bool& encodable) {
  encodable = true;
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return "\r";
    case Qt::Key_Escape: return "\x1b";
    case Qt::Key_Backspace: return "\b";
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return {};
    default: break;
  }
  const QString text = e->text();
  if (text.isEmpty() || text == QString(QChar(0x7f))) return {};
  std::optional<std::string> bytes = platform::FromQString(text);
  if (!bytes) {
    encodable = false;
    return {};
  }
  return *bytes;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick) {
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  if (doubleClick) s |= ssDouble;
  return s;
}

bool MouseButtonOf(Qt::MouseButton button, TMouseButton& out) {
  switch (button) {
    case Qt::LeftButton: out = TMouseButton::mbLeft; return true;
    case Qt::RightButton: out = TMouseButton::mbRight; return true;
    case Qt::MiddleButton: out = TMouseButton::mbMiddle; return true;
    default: return false;
  }
}

std::optional<MouseInput> MouseInputOf(const QMouseEvent* e, bool doubleClick) {
  MouseInput m;
  if (!MouseButtonOf(e->button(), m.button)) return std::nullopt;
  m.shift = ShiftStateOf(e->modifiers(), e->buttons(), doubleClick);
  const QPoint p = e->position().toPoint();
  m.x = p.x();
  m.y = p.y();
  return m;
}

}  // namespace platform
