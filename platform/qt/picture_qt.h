// Pictures where a QImage is needed: a graphic drawn at its own size on a white image.
#pragma once

#include <QImage>

#include "platform/picture.h"

namespace platform {

// The picture at its own size (at least 1 x 1) on a white RGB32 image.
QImage GraphicToImage(const TGraphic& graphic);

}  // namespace platform
