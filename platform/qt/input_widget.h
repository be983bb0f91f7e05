// A widget that hands its mouse, wheel, key, leave and resize events on in the Windows form
// (input.h): the button pressed or released, the shift state (modifier keys and buttons held;
// ssDouble on the press of a double click, which is followed by DblClick), client coordinates,
// wheel turns in units of 120 (positive away from the user), virtual-key codes (a key-down
// handler that sets the key to 0 swallows it). Moves are reported with no button held as well.
// The virtual handlers call the On* handlers by default. A wheel turn the widget does not use
// (MouseWheel returns false: by default when there is no OnMouseWheel) goes on to the parent, so
// a scroll area around the widget scrolls. The widgets that paint through the device context
// (the canvas widget, the chart panel) are built on it.
#pragma once

#include <QWidget>
#include <functional>

#include "platform/input.h"

namespace platform {

class InputWidget : public QWidget {
 public:
  explicit InputWidget(QWidget* parent = nullptr);

  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
  std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
  std::function<void(TShiftState shift, int wheelDelta, int x, int y)> OnMouseWheel;
  std::function<void()> OnDblClick;
  std::function<void(int& key, TShiftState shift)> OnKeyDown;
  std::function<void(int& key, TShiftState shift)> OnKeyUp;
  std::function<void()> OnResize;

 protected:
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // True when the turn was used.
  virtual bool MouseWheel(TShiftState shift, int wheelDelta, int x, int y);
  virtual void DblClick();
  virtual void KeyDown(int& key, TShiftState shift);
  virtual void KeyUp(int& key, TShiftState shift);
  virtual void MouseLeave() {}
  virtual void Resized();
  // Runs the handlers of one event; a subclass may guard them (nothing may leave Qt's events).
  virtual void HandleInput(const std::function<void()>& handlers) { handlers(); }

  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void leaveEvent(QEvent* e) override;
};

}  // namespace platform
