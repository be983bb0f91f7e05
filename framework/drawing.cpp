// Drawing primitives, colour numbers and metafile fixes.
#include "framework/drawing.h"

#include <cmath>
#include <vector>

#include "framework/appinit.h"
#include "framework/convert.h"
#include "platform/cp932.h"
#include "platform/emf.h"
#include "platform/files.h"

namespace fw {

using namespace platform;

std::array<uint32_t, 256> Palette{};
std::string LoadedColorFile;
TPointMOVE ArcGeometry;

namespace {

void LoadPaletteIfChanged() {
  if (ColorFileName.empty() || ColorFileName == LoadedColorFile || !FileExists(ColorFileName)) return;
  std::vector<std::string> lines;
  if (!ReadTextLines(ColorFileName, lines)) return;
  for (size_t i = 0; i < Palette.size(); ++i) {
    const std::string line = i < lines.size() ? lines[i] : std::string();
    Palette[i] = line.size() > 6 ? static_cast<uint32_t>(TextToInt(line.substr(6, 7))) : 0;
  }
  LoadedColorFile = ColorFileName;
}

// Pen colour by number, or the inverting mode for -99.
void PenColorOrInvert(Canvas& c, int colour) {
  if (colour == -99) {
    c.Pen().SetMode(R2_NOT);
  } else {
    c.Pen().SetColor(ColorOf(colour));
  }
}

}  // namespace

uint32_t ColorOf(int n) {
  LoadPaletteIfChanged();
  if (n >= 0 && n <= 255) return Palette[n];
  if (n >= -15 && n <= -1) return Palette[-n];
  if (n == -17) return SystemColor(COLOR_BACKGROUND);
  if (n == -21) return SystemColor(COLOR_WINDOW);
  if (n >= -254 && n <= -16) return SystemColor(COLOR_BTNFACE);
  return static_cast<uint32_t>(n);
}

uint32_t ColorIf(bool flag, int a, int b) { return ColorOf(flag ? a : b); }
uint32_t RedUnless(bool flag) { return flag ? 0 : 0x0000FF; }
uint32_t BlueUnless(bool flag) { return flag ? 0 : 0xFF0000; }

void DrawLine(Canvas& c, int x1, int y1, int x2, int y2) {
  c.MoveTo(x1, y1);
  c.LineTo(x2, y2);
}

void DrawColorLine(Canvas& c, int x1, int y1, int colour, int x2, int y2) {
  PenColorOrInvert(c, colour);
  DrawLine(c, x1, y1, x2, y2);
}

void DrawBox(Canvas& c, int x1, int y1, int colour, int x2, int y2) {
  PenColorOrInvert(c, colour);
  c.Polyline({{x1, y1}, {x1, y2}, {x2, y2}, {x2, y1}, {x1, y1}});
}

Point ArcPoint(int x, int y, int r, int a) {
  const double rad = a * M_PI / 180.0;
  Point p;
  if (a < 45 || a >= 315) {
    p.x = x + r;
  } else if (a < 135) {
    p.x = x + static_cast<int>(Round(std::cos(rad) / std::sin(rad) * r));
  } else if (a < 225) {
    p.x = x - r;
  } else {
    p.x = x - static_cast<int>(Round(std::cos(rad) / std::sin(rad) * r));
  }
  if (a < 45 || a >= 315) {
    p.y = y - static_cast<int>(Round(std::tan(rad) * r));
  } else if (a < 135) {
    p.y = y - r;
  } else if (a < 225) {
    p.y = y + static_cast<int>(Round(std::tan(rad) * r));
  } else {
    p.y = y + r;
  }
  return p;
}

void DrawArc(Canvas& c, int x, int y, int colour, int radius) {
  if (x < 0 || y < 0) return;
  PenColorOrInvert(c, colour);
  c.Brush().SetStyle(BrushStyle::Clear);
  ArcGeometry.box = TPointBOX{x - radius, y - radius, x + radius, y + radius};
  ArcGeometry.start = ArcPoint(x, y, radius, 0);
  ArcGeometry.end = ArcPoint(x, y, radius, 360);
  const TPointBOX& b = ArcGeometry.box;
  c.Arc(b.left, b.top, b.right, b.bottom, ArcGeometry.start.x, ArcGeometry.start.y, ArcGeometry.end.x,
        ArcGeometry.end.y);
}

namespace {

void TextOutWithBrush(Canvas& c, int x, int y, const std::string& text, int size, int colour, BrushStyle brush) {
  if (x < 0 || y < 0) return;
  c.Brush().SetStyle(brush);
  c.Font().SetColor(ColorOf(colour));
  c.Font().SetSize(size);
  c.TextOut(x, y, text);
}

}  // namespace

void TextOutClear(Canvas& c, int x, int y, const std::string& text, int size, int colour) {
  TextOutWithBrush(c, x, y, text, size, colour, BrushStyle::Clear);
}

void TextOutSolid(Canvas& c, int x, int y, const std::string& text, int size, int colour) {
  TextOutWithBrush(c, x, y, text, size, colour, BrushStyle::Solid);
}

void TextOutCentered(Canvas& c, int x, int y, const std::string& text, int size, int colour) {
  if (x < 0 || y < 0) return;
  c.Font().SetSize(size);
  Size e = c.TextExtent(text);
  TextOutClear(c, x - e.cx / 2, y - e.cy / 2, text, size, colour);
}

void TextOutRotated(Canvas& c, int x, int y, const std::string& text, int height, int colour, int angle) {
  if (x < 0 || y < 0) return;
  LogFont lf;
  lf.height = height;
  lf.width = 0;
  lf.escapement = angle * 10;
  lf.orientation = 0;
  lf.weight = FW_NORMAL;
  lf.charSet = SHIFTJIS_CHARSET;
  lf.faceName = J("ＭＳ ゴシック");
  c.Font().SetLogFont(lf);
  c.Font().SetColor(ColorOf(colour));
  c.Brush().SetStyle(BrushStyle::Clear);
  c.TextOut(x, y, text);
}

void SetBrushColor(Canvas& c, int colour, int style) {
  c.Brush().SetColor(ColorOf(colour));
  c.Brush().SetStyle(style >= 0 && style <= 7 ? static_cast<BrushStyle>(style) : BrushStyle::Solid);
}

void FillBox(Canvas& c, int x1, int y1, int colour, int style, int x2, int y2) {
  SetBrushColor(c, colour, style);
  c.FillRect(Rect{x1, y1, x2, y2});
}

void SetCanvasFont(Canvas& c, const std::string& name, int size, int style) {
  c.Font().SetName(name);
  c.Font().SetSize(size);
  c.Font().SetStyle(style);
}

void FixMetafileFontWidth(Canvas& c) {
  LogFont lf = c.Font().GetLogFont();
  if (lf.width != 0) return;
  c.RealizeFont();
  TextMetrics tm = c.Dc().GetTextMetrics();
  if (tm.height == 0) return;
  lf.width = tm.aveCharWidth * (-lf.height) / tm.height;
  c.Font().SetLogFont(lf);
}

bool RescaleMetafile(std::string& emf, int dpiX, int dpiY) {
  if (dpiX == 0) dpiX = kReferenceDpi;
  if (dpiY == 0) dpiY = kReferenceDpi;
  if (dpiX < 0 || dpiY < 0) return false;
  std::optional<emf::Header> h = emf::ReadHeader(emf);
  if (!h || h->millimeters.cx <= 0 || h->millimeters.cy <= 0) return false;
  // Copy every record in order, then rewrite the header.
  std::string out;
  out.reserve(emf.size());
  emf::RecordWalker walker(emf, *h);
  emf::Record r;
  bool sawEof = false;
  while (walker.Next(r)) {
    out.append(r.data);
    sawEof = r.type == emf::EMR_EOF;
  }
  if (!sawEof) return false;
  const int64_t w = (static_cast<int64_t>(h->frame.right) - h->frame.left) * h->device.cx / h->millimeters.cx / 100;
  const int64_t hh = (static_cast<int64_t>(h->frame.bottom) - h->frame.top) * h->device.cy / h->millimeters.cy / 100;
  h->frame.right = h->frame.left + static_cast<int>(Round(w * 2540.0 / dpiX));
  h->frame.bottom = h->frame.top + static_cast<int>(Round(hh * 2540.0 / dpiY));
  h->millimeters.cx = static_cast<int>(Round(h->device.cx * 25.4 / dpiX));
  h->millimeters.cy = static_cast<int>(Round(h->device.cy * 25.4 / dpiY));
  if (h->recordSize > 100) {
    h->micrometers.cx = static_cast<int>(Round(h->device.cx * 25400.0 / dpiX));
    h->micrometers.cy = static_cast<int>(Round(h->device.cy * 25400.0 / dpiY));
  }
  emf::WriteHeader(out, *h);
  emf = std::move(out);
  return true;
}

}  // namespace fw
