// The widget that paints through the device context.
#include "platform/qt/canvas_widget.h"

#include <QPainter>
#include <algorithm>

#include "platform/qt/dc_qt.h"

namespace platform {

CanvasWidget::CanvasWidget(QWidget* parent) : InputWidget(parent) {
  // Every pixel is painted from the buffer.
  setAttribute(Qt::WA_OpaquePaintEvent);
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
  showOnly_ = false;
  InputWidget::resizeEvent(e);
}

void CanvasWidget::Paint(Canvas& canvas) {
  if (OnPaint) OnPaint(canvas);
}

}  // namespace platform
