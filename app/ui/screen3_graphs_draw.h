// Small drawing helpers shared by screen 3's charts (screen3_graphs*.cpp): the chart start,
// pens by colour number, text placed by its right edge or its centre, vertical text and the
// mapping of values onto a plot.
#pragma once

#include <string>

#include "framework/drawing.h"
#include "platform/dc_canvas.h"

namespace app::graphs {

using platform::Canvas;

// Colour numbers used by the charts besides those of the screen's data.
constexpr int kInkColor = 0;         // axes, frames and texts (palette 0, black)
constexpr int kGridColor = 8;        // grid and month lines (palette 8, silver)
constexpr int kRainBarColor = 201;   // precipitation bars of the result chart (a light blue)

// Fills the area with the chart background, selects "ＭＳ ゴシック" 9 point, a one-pixel solid
// pen in the ink colour and the normal drawing mode.
void BeginChart(Canvas& c, int width, int height);
// Pen colour by number, width in pixels.
void SetPen(Canvas& c, int colour, int width);
// The extent of a text in "ＭＳ ゴシック" of `size` points (the canvas font is set to it).
platform::Size TextSize(Canvas& c, const std::string& text, int size);
// Text with its top-left, top-right or top-centre at (x, y).
void TextLeft(Canvas& c, int x, int y, const std::string& text, int size, int colour);
void TextRight(Canvas& c, int x, int y, const std::string& text, int size, int colour);
void TextTopCentre(Canvas& c, int x, int y, const std::string& text, int size, int colour);
// Text centred on (x, y) both ways.
void TextCentre(Canvas& c, int x, int y, const std::string& text, int size, int colour);
// Text turned by `angle` degrees anticlockwise whose unturned cell starts at (x, y); the font
// afterwards is upright again.
void TextTurned(Canvas& c, int x, int y, const std::string& text, int size, int colour, int angle);
// Text running upwards, centred vertically on `yCentre`, its cell's left edge at x.
void TextUpwards(Canvas& c, int x, int yCentre, const std::string& text, int size, int colour);

// The pixel offset of `value` on a scale 0..maximum drawn over `length` pixels (rounded,
// kept inside 0..length).
int ScaleOffset(double value, double maximum, int length);

// ScaleOffset helpers for the usual case: the y of a value on a vertical axis whose 0 is at
// `bottom`, and the x of a value on a horizontal axis whose 0 is at `left`.
inline int YOf(double value, double maximum, int bottom, int length) {
  return bottom - ScaleOffset(value, maximum, length);
}
inline int XOf(double value, double maximum, int left, int length) {
  return left + ScaleOffset(value, maximum, length);
}

}  // namespace app::graphs
