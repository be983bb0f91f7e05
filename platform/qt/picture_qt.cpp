// Pictures drawn on QImages.
#include "platform/qt/picture_qt.h"

#include <algorithm>

#include "platform/qt/dc_qt.h"

namespace platform {

QImage GraphicToImage(const TGraphic& graphic) {
  QImage image(std::max(1, graphic.Width()), std::max(1, graphic.Height()), QImage::Format_RGB32);
  image.fill(Qt::white);
  if (graphic.Empty()) return image;
  QtDc dc(image);
  Canvas canvas(dc);
  graphic.Draw(canvas, Rect{0, 0, image.width(), image.height()});
  return image;
}

BitmapGraphicCanvas::BitmapGraphicCanvas(TBitmapGraphic& graphic)
    : graphic_(graphic), image_(ImageFromDib(graphic.Bitmap())) {
  if (image_.isNull()) {
    image_ = QImage(1, 1, QImage::Format_RGB32);
    image_.fill(Qt::white);
  }
  dc_ = std::make_unique<QtDc>(image_);
  canvas_ = std::make_unique<Canvas>(*dc_);
}

BitmapGraphicCanvas::~BitmapGraphicCanvas() = default;

void BitmapGraphicCanvas::Store() { graphic_.SetBitmap(DibFromImage(image_)); }

}  // namespace platform
