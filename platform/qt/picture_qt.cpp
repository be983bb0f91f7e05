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

}  // namespace platform
