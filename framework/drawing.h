// Drawing primitives with colour numbers, and two fixes for recorded metafiles.
//
// A colour number maps to a colour value (COLORREF or a system colour, platform/dc.h):
//   0..255          palette entry n (the palette is read from ColorFileName, appinit.h)
//   -1..-15         palette entry -n
//   -17             the system background colour; -21 the system window colour;
//   other -254..-16 the system button-face colour;
//   >= 256, < -254  n itself as a colour value.
// -99 in the line primitives selects the inverting pen mode instead of a colour; the pen
// keeps that mode afterwards.
//
// The palette is read when ColorFileName exists and differs from the file last read: line
// i + 1 holds entry i in its characters 7 to 13 (TextToInt, so decimal or "$" hexadecimal).
// A file with fewer than 256 lines gives 0 for the missing entries and still counts as read
// (it is not read again on every call).
//
// All primitives take the canvas first; coordinates are pixels of that canvas.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/dc_canvas.h"

namespace fw {

using platform::Canvas;

extern std::array<uint32_t, 256> Palette;
extern std::string LoadedColorFile;

// The bounding box and end points of the last arc drawn by DrawArc.
struct TPointBOX {
  int left = 0, top = 0, right = 0, bottom = 0;
};
struct TPointMOVE {
  TPointBOX box;
  platform::Point start, end;
};
extern TPointMOVE ArcGeometry;

uint32_t ColorOf(int number);
uint32_t ColorIf(bool flag, int a, int b);
uint32_t RedUnless(bool flag);
uint32_t BlueUnless(bool flag);

void DrawLine(Canvas& c, int x1, int y1, int x2, int y2);
void DrawColorLine(Canvas& c, int x1, int y1, int colour, int x2, int y2);
void DrawBox(Canvas& c, int x1, int y1, int colour, int x2, int y2);
void DrawArc(Canvas& c, int x, int y, int colour, int radius);
// The point of the box around (x, y) with `radius` for `angle` degrees (the arc geometry).
platform::Point ArcPoint(int x, int y, int radius, int angle);
void TextOutClear(Canvas& c, int x, int y, const std::string& text, int size, int colour);
void TextOutSolid(Canvas& c, int x, int y, const std::string& text, int size, int colour);
void TextOutCentered(Canvas& c, int x, int y, const std::string& text, int size, int colour);
void TextOutRotated(Canvas& c, int x, int y, const std::string& text, int height, int colour, int angle);
void FillBox(Canvas& c, int x1, int y1, int colour, int style, int x2, int y2);
void SetBrushColor(Canvas& c, int colour, int style);
// style: platform::fsBold | fsItalic | fsUnderline | fsStrikeOut.
void SetCanvasFont(Canvas& c, const std::string& name, int size, int style);

// Gives the canvas font an explicit character width when it has none (average character
// width x (- font height) div text-metric height), so a metafile draws its text alike on
// every device.
void FixMetafileFontWidth(Canvas& c);

// Rewrites the header of the enhanced metafile `emf` (its bytes) for the resolution dpiX x
// dpiY (0: the screen's, 96): the picture keeps its size in pixels, the frame and the
// millimetre (and micrometre) sizes are those of a device of that resolution. Every record
// is copied; false (and `emf` unchanged) when it is not a readable metafile.
bool RescaleMetafile(std::string& emf, int dpiX, int dpiY);

}  // namespace fw
