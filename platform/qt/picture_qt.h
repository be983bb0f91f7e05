// Pictures where a QImage is needed: a graphic drawn at its own size on a white image, and a
// canvas that draws on a bitmap graphic.
#pragma once

#include <QImage>
#include <memory>

#include "platform/picture.h"

namespace platform {

class QtDc;

// The picture at its own size (at least 1 x 1) on a white RGB32 image.
QImage GraphicToImage(const TGraphic& graphic);

// A canvas on the pixels of a bitmap graphic. Drawing goes to an image of the bitmap's size;
// Store() writes the image back into the graphic (the canvas never touches the graphic
// otherwise, so a graphic freed meanwhile is never written to once the canvas is dropped).
class BitmapGraphicCanvas {
 public:
  explicit BitmapGraphicCanvas(TBitmapGraphic& graphic);
  ~BitmapGraphicCanvas();
  BitmapGraphicCanvas(const BitmapGraphicCanvas&) = delete;
  BitmapGraphicCanvas& operator=(const BitmapGraphicCanvas&) = delete;

  Canvas& canvas() { return *canvas_; }
  TBitmapGraphic& Graphic() const { return graphic_; }
  void Store();

 private:
  TBitmapGraphic& graphic_;
  QImage image_;
  std::unique_ptr<QtDc> dc_;
  std::unique_ptr<Canvas> canvas_;
};

}  // namespace platform
