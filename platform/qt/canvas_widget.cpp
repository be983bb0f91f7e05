// The widget that paints through the device context.
#include "platform/qt/canvas_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "platform/qt/dc_qt.h"
#include "platform/qt/keys_qt.h"

namespace platform {

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted from the buffer.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

CanvasWidget::~CanvasWidget() {
  canvas_.reset();
  dc_.reset();
}

void CanvasWidget::Invalidate() {
  showOnly_ = false;
  update();
}

void CanvasWidget::ShowBuffer() {
  showOnly_ = true;
  update();
}

void CanvasWidget::EnsureBuffer() {
  const QSize size(std::max(1, width()), std::max(1, height()));
  if (dc_ && buffer_.size() == size) return;
  canvas_.reset();
  dc_.reset();
  buffer_ = QImage(size, QImage::Format_RGB32);
  buffer_.fill(palette().color(backgroundRole()));
  dc_ = std::make_unique<QtDc>(buffer_);
  canvas_ = std::make_unique<Canvas>(*dc_);
  initialState_ = dc_->SaveDC();
}

Canvas& CanvasWidget::BufferCanvas() {
  EnsureBuffer();
  return *canvas_;
}

void CanvasWidget::PaintBuffer() {
  EnsureBuffer();
  // Back to the initial state, kept for the next paint.
  dc_->RestoreDC(initialState_);
  initialState_ = dc_->SaveDC();
  const QColor back = palette().color(backgroundRole());
  dc_->FillRect(Rect{0, 0, buffer_.width(), buffer_.height()},
                LogBrush{BS_SOLID, RgbColor(back.red(), back.green(), back.blue()), 0, nullptr});
  painting_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{painting_};
  Paint(*canvas_);
}

void CanvasWidget::paintEvent(QPaintEvent*) {
  if (!showOnly_ || !dc_ || buffer_.size() != QSize(std::max(1, width()), std::max(1, height()))) PaintBuffer();
  showOnly_ = false;
  QPainter p(this);
  p.drawImage(0, 0, buffer_);
}

void CanvasWidget::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  showOnly_ = false;
  Resized();
}

void CanvasWidget::Paint(Canvas& canvas) {
  if (OnPaint) OnPaint(canvas);
}

void CanvasWidget::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
}
void CanvasWidget::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(button, shift, x, y);
}
void CanvasWidget::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(shift, x, y);
}
void CanvasWidget::MouseWheel(TShiftState shift, int wheelDelta, int x, int y) {
  if (OnMouseWheel) OnMouseWheel(shift, wheelDelta, x, y);
}
void CanvasWidget::DblClick() {
  if (OnDblClick) OnDblClick();
}
void CanvasWidget::KeyDown(int& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(key, shift);
}
void CanvasWidget::KeyUp(int& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(key, shift);
}
void CanvasWidget::Resized() {
  if (OnResize) OnResize();
}

void CanvasWidget::mousePressEvent(QMouseEvent* e) {
  const std::optional<MouseInput> m = MouseInputOf(e);
  if (!m) return QWidget::mousePressEvent(e);
  MouseDown(m->button, m->shift, m->x, m->y);
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  // The second press of a double click: a press with ssDouble, then the double click.
  const std::optional<MouseInput> m = MouseInputOf(e, true);
  if (!m) return QWidget::mouseDoubleClickEvent(e);
  MouseDown(m->button, m->shift, m->x, m->y);
  DblClick();
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* e) {
  const std::optional<MouseInput> m = MouseInputOf(e);
  if (!m) return QWidget::mouseReleaseEvent(e);
  MouseUp(m->button, m->shift, m->x, m->y);
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  MouseMove(ShiftStateOf(e->modifiers(), e->buttons()), p.x(), p.y());
}

void CanvasWidget::wheelEvent(QWheelEvent* e) {
  // Qt counts in eighths of a degree: 120 per notch, as the Windows wheel does.
  const int delta = e->angleDelta().y();
  if (delta == 0) return QWidget::wheelEvent(e);
  const QPoint p = e->position().toPoint();
  MouseWheel(ShiftStateOf(e->modifiers(), e->buttons()), delta, p.x(), p.y());
  e->accept();
}

void CanvasWidget::keyPressEvent(QKeyEvent* e) {
  if (int key = VirtualKeyOf(e); key != 0) {
    KeyDown(key, ShiftStateOf(e->modifiers(), Qt::NoButton));
    if (key == 0) return e->accept();  // swallowed
  }
  QWidget::keyPressEvent(e);
}

void CanvasWidget::keyReleaseEvent(QKeyEvent* e) {
  if (int key = VirtualKeyOf(e); key != 0) {
    KeyUp(key, ShiftStateOf(e->modifiers(), Qt::NoButton));
    if (key == 0) return e->accept();
  }
  QWidget::keyReleaseEvent(e);
}

}  // namespace platform
