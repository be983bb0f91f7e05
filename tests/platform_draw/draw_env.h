// Shared helpers of the drawing tests: a QGuiApplication for fonts (created once, before
// the first test), white RGB32 images and pixel access as COLORREF.
#pragma once

#include <QImage>
#include <string>

#include "platform/dc.h"

namespace drawtest {

QImage WhiteImage(int width, int height);
platform::ColorRef At(const QImage& image, int x, int y);
// Number of pixels that differ between two images of the same size, outside `ignore`.
int DiffCount(const QImage& a, const QImage& b, const std::vector<platform::Rect>& ignore = {});
// "left,top-right,bottom" of the differing pixels, for messages.
std::string DiffBounds(const QImage& a, const QImage& b);
// Writes the image for looking at it as harvsim-draw-<name>.png in the folder HARVSIM_KEEP_PICTURES
// names (nothing without it).
void Keep(const QImage& image, const std::string& name);

}  // namespace drawtest
