// A widget that paints through the device context. It keeps a back buffer the size of the
// widget (an RGB32 QImage with its Qt device context and Canvas); each paint fills the buffer
// with the widget's background colour, runs Paint (by default the OnPaint handler) on the
// canvas and shows the buffer. Image controls, grids, the chart panel and the report preview are
// built on it; none of them hands out a QPainter.
//
// - Invalidate() has the widget painted again when events are next handled (several calls paint
//   once); a resize makes a new buffer and paints again.
// - Each paint starts from the device context's initial state (no clip region, default modes);
//   the canvas's pen, brush and font keep their properties from paint to paint and are selected
//   again as needed.
// - Drawing on BufferCanvas() outside a paint (a rubber band during a mouse drag) is shown by
//   ShowBuffer() without running Paint; the next paint draws the whole picture again.
// - Mouse and key events reach the virtual handlers below (by default the On* handlers) in the
//   Windows form (input.h): the button pressed or released, the shift state (modifier keys and
//   buttons held; ssDouble on the press of a double click, which is followed by DblClick), client
//   coordinates, wheel turns in units of 120 (positive away from the user), virtual-key codes (a
//   key-down handler that sets the key to 0 swallows it). Moves are reported with no button held
//   as well.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/dc_canvas.h"
#include "platform/input.h"

namespace platform {

class QtDc;

class CanvasWidget : public QWidget {
  Q_OBJECT
 public:
  explicit CanvasWidget(QWidget* parent = nullptr);
  ~CanvasWidget() override;

  void Invalidate();
  // The canvas of the back buffer (made for the widget's current size).
  Canvas& BufferCanvas();
  // The picture last painted.
  const QImage& Buffer() const { return buffer_; }
  // Shows the buffer as it is now, without painting it again.
  void ShowBuffer();
  // The canvas while Paint runs; null otherwise.
  Canvas* PaintCanvas() const { return painting_ ? canvas_.get() : nullptr; }

  std::function<void(Canvas& canvas)> OnPaint;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
  std::function<void(TShiftState shift, int x, int y)> OnMouseMove;
  std::function<void(TShiftState shift, int wheelDelta, int x, int y)> OnMouseWheel;
  std::function<void()> OnDblClick;
  std::function<void(int& key, TShiftState shift)> OnKeyDown;
  std::function<void(int& key, TShiftState shift)> OnKeyUp;
  std::function<void()> OnResize;

 protected:
  virtual void Paint(Canvas& canvas);
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void MouseWheel(TShiftState shift, int wheelDelta, int x, int y);
  virtual void DblClick();
  virtual void KeyDown(int& key, TShiftState shift);
  virtual void KeyUp(int& key, TShiftState shift);
  virtual void Resized();

  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;

 private:
  // Makes buffer, device context and canvas for the current size (when it differs).
  void EnsureBuffer();
  void PaintBuffer();

  QImage buffer_;
  std::unique_ptr<QtDc> dc_;
  std::unique_ptr<Canvas> canvas_;
  int initialState_ = 0;  // the device context's saved initial state
  bool painting_ = false;
  bool showOnly_ = false;
};

}  // namespace platform
