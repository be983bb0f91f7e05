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
// - Mouse and key events reach the virtual handlers in the Windows form (input_widget.h).
#pragma once

#include <QImage>
#include <functional>
#include <memory>

#include "platform/dc_canvas.h"
#include "platform/qt/input_widget.h"

namespace platform {

class QtDc;

class CanvasWidget : public InputWidget {
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

 protected:
  virtual void Paint(Canvas& canvas);

  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

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
