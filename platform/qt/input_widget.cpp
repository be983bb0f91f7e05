// The widget that hands its input on in the Windows form.
#include "platform/qt/input_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "platform/qt/keys_qt.h"

namespace platform {

InputWidget::InputWidget(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void InputWidget::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
}
void InputWidget::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(button, shift, x, y);
}
void InputWidget::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(shift, x, y);
}
bool InputWidget::MouseWheel(TShiftState shift, int wheelDelta, int x, int y) {
  if (!OnMouseWheel) return false;
  OnMouseWheel(shift, wheelDelta, x, y);
  return true;
}
void InputWidget::DblClick() {
  if (OnDblClick) OnDblClick();
}
void InputWidget::KeyDown(int& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(key, shift);
}
void InputWidget::KeyUp(int& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(key, shift);
}
void InputWidget::Resized() {
  if (OnResize) OnResize();
}

void InputWidget::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  HandleInput([&] { Resized(); });
}

void InputWidget::mousePressEvent(QMouseEvent* e) {
  const std::optional<MouseInput> m = MouseInputOf(e);
  if (!m) return QWidget::mousePressEvent(e);
  HandleInput([&] { MouseDown(m->button, m->shift, m->x, m->y); });
}

void InputWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  // The second press of a double click: a press with ssDouble, then the double click.
  const std::optional<MouseInput> m = MouseInputOf(e, true);
  if (!m) return QWidget::mouseDoubleClickEvent(e);
  HandleInput([&] {
    MouseDown(m->button, m->shift, m->x, m->y);
    DblClick();
  });
}

void InputWidget::mouseReleaseEvent(QMouseEvent* e) {
  const std::optional<MouseInput> m = MouseInputOf(e);
  if (!m) return QWidget::mouseReleaseEvent(e);
  HandleInput([&] { MouseUp(m->button, m->shift, m->x, m->y); });
}

void InputWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  HandleInput([&] { MouseMove(shift, p.x(), p.y()); });
}

void InputWidget::wheelEvent(QWheelEvent* e) {
  // Qt counts in eighths of a degree: 120 per notch, as the Windows wheel does.
  const int delta = e->angleDelta().y();
  if (delta == 0) return QWidget::wheelEvent(e);
  const QPoint p = e->position().toPoint();
  const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  bool used = false;
  HandleInput([&] { used = MouseWheel(shift, delta, p.x(), p.y()); });
  // An unused turn is ignored, and Qt hands it to the parent.
  e->setAccepted(used);
}

void InputWidget::keyPressEvent(QKeyEvent* e) {
  if (int key = VirtualKeyOf(e); key != 0) {
    HandleInput([&] { KeyDown(key, ShiftStateOf(e->modifiers(), Qt::NoButton)); });
    if (key == 0) return e->accept();  // swallowed
  }
  QWidget::keyPressEvent(e);
}

void InputWidget::keyReleaseEvent(QKeyEvent* e) {
  if (int key = VirtualKeyOf(e); key != 0) {
    HandleInput([&] { KeyUp(key, ShiftStateOf(e->modifiers(), Qt::NoButton)); });
    if (key == 0) return e->accept();
  }
  QWidget::keyReleaseEvent(e);
}

void InputWidget::leaveEvent(QEvent* e) {
  QWidget::leaveEvent(e);
  HandleInput([&] { MouseLeave(); });
}

}  // namespace platform
