// The tracing device context.
#include "platform/dc_trace.h"

#include <cmath>
#include <cstdio>

namespace platform {

namespace {

std::string Hex6(ColorRef c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c & 0xFFFFFF));
  return buf;
}

std::string Num(int v) { return std::to_string(v); }

std::string Box(int l, int t, int r, int b) { return Num(l) + "," + Num(t) + "," + Num(r) + "," + Num(b); }

std::string PointList(const std::vector<Point>& pts) {
  std::string s;
  for (const Point& p : pts) {
    if (!s.empty()) s += " ";
    s += Num(p.x) + "," + Num(p.y);
  }
  return s;
}

}  // namespace

std::vector<std::string> TraceDc::Lines(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& l : log) {
    if (l.compare(0, prefix.size(), prefix) == 0) out.push_back(l);
  }
  return out;
}

void TraceDc::SelectPen(const LogPen& pen) {
  DeviceContext::SelectPen(pen);
  log.push_back("SelectPen style=" + Num(static_cast<int>(pen.style)) + " width=" + Num(pen.width) +
                " color=" + Hex6(pen.color));
}

void TraceDc::SelectBrush(const LogBrush& brush) {
  DeviceContext::SelectBrush(brush);
  log.push_back("SelectBrush style=" + Num(static_cast<int>(brush.style)) + " color=" + Hex6(brush.color) +
                " hatch=" + Num(static_cast<int>(brush.hatch)));
}

void TraceDc::SelectFont(const LogFont& f) {
  DeviceContext::SelectFont(f);
  log.push_back("SelectFont face=\"" + Utf16ToUtf8(Cp932ToUtf16(f.faceName)) + "\" height=" + Num(f.height) +
                " width=" + Num(f.width) + " escapement=" + Num(f.escapement) + " weight=" + Num(f.weight) +
                " italic=" + Num(f.italic) + " underline=" + Num(f.underline) + " strikeout=" + Num(f.strikeOut) +
                " charset=" + Num(f.charSet));
}

void TraceDc::SetTextColor(ColorRef c) {
  DeviceContext::SetTextColor(c);
  log.push_back("SetTextColor " + Hex6(c));
}
void TraceDc::SetBkColor(ColorRef c) {
  DeviceContext::SetBkColor(c);
  log.push_back("SetBkColor " + Hex6(c));
}
void TraceDc::SetBkMode(int mode) {
  DeviceContext::SetBkMode(mode);
  log.push_back("SetBkMode " + Num(mode));
}
void TraceDc::SetTextAlign(uint32_t align) {
  DeviceContext::SetTextAlign(align);
  log.push_back("SetTextAlign " + Num(static_cast<int>(align)));
}
void TraceDc::SetROP2(int rop2) {
  DeviceContext::SetROP2(rop2);
  log.push_back("SetROP2 " + Num(rop2));
}
void TraceDc::MoveTo(int x, int y) {
  DeviceContext::MoveTo(x, y);
  log.push_back("MoveTo " + Num(x) + "," + Num(y));
}
void TraceDc::SelectClipRegion(const Region* region, int mode) {
  DeviceContext::SelectClipRegion(region, mode);
  std::string s = "SelectClipRegion mode=" + Num(mode);
  if (region) {
    Rect b = region->Bounds();
    s += " bounds=" + Box(b.left, b.top, b.right, b.bottom);
  } else {
    s += " none";
  }
  log.push_back(s);
}
void TraceDc::IntersectClipRect(const Rect& r) {
  DeviceContext::IntersectClipRect(r);
  log.push_back("IntersectClipRect " + Box(r.left, r.top, r.right, r.bottom));
}
void TraceDc::ExcludeClipRect(const Rect& r) {
  DeviceContext::ExcludeClipRect(r);
  log.push_back("ExcludeClipRect " + Box(r.left, r.top, r.right, r.bottom));
}
int TraceDc::SaveDC() {
  int level = DeviceContext::SaveDC();
  log.push_back("SaveDC " + Num(level));
  return level;
}
bool TraceDc::RestoreDC(int level) {
  log.push_back("RestoreDC " + Num(level));
  return DeviceContext::RestoreDC(level);
}

void TraceDc::LineTo(int x, int y) {
  log.push_back("LineTo " + Num(x) + "," + Num(y));
  state_.pos = Point{x, y};
}
void TraceDc::Polyline(const std::vector<Point>& pts) { log.push_back("Polyline " + PointList(pts)); }
void TraceDc::Polygon(const std::vector<Point>& pts) { log.push_back("Polygon " + PointList(pts)); }
void TraceDc::Rectangle(int l, int t, int r, int b) { log.push_back("Rectangle " + Box(l, t, r, b)); }
void TraceDc::RoundRect(int l, int t, int r, int b, int w, int h) {
  log.push_back("RoundRect " + Box(l, t, r, b) + " " + Num(w) + "," + Num(h));
}
void TraceDc::Ellipse(int l, int t, int r, int b) { log.push_back("Ellipse " + Box(l, t, r, b)); }
void TraceDc::Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  log.push_back("Arc " + Box(l, t, r, b) + " " + Box(xs, ys, xe, ye));
}
void TraceDc::Pie(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  log.push_back("Pie " + Box(l, t, r, b) + " " + Box(xs, ys, xe, ye));
}
void TraceDc::Chord(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  log.push_back("Chord " + Box(l, t, r, b) + " " + Box(xs, ys, xe, ye));
}
void TraceDc::ExtTextOut(int x, int y, uint32_t options, const Rect* rect, std::u16string_view text,
                         const std::vector<int>* dx) {
  std::string s = "ExtTextOut " + Num(x) + "," + Num(y) + " \"" + Utf16ToUtf8(text) + "\"";
  if (options) s += " options=" + Num(static_cast<int>(options));
  if (rect) s += " rect=" + Box(rect->left, rect->top, rect->right, rect->bottom);
  if (dx) {
    s += " dx=";
    for (size_t k = 0; k < dx->size(); ++k) s += (k ? "," : "") + Num((*dx)[k]);
  }
  log.push_back(s);
}
bool TraceDc::PatBlt(const Rect& r, uint32_t rop) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(rop));
  log.push_back("PatBlt " + Box(r.left, r.top, r.right, r.bottom) + " rop=" + buf);
  return true;
}
bool TraceDc::StretchDIBits(const Rect& d, const Rect& s, const Dib& dib, uint32_t) {
  log.push_back("StretchDIBits " + Box(d.left, d.top, d.right, d.bottom) + " from " +
                Box(s.left, s.top, s.right, s.bottom) + " of " + Num(dib.width) + "x" + Num(dib.height));
  return true;
}

bool TraceDc::Native(DcFeature feature) const {
  return feature == DcFeature::GradientFill || feature == DcFeature::AlphaBlend || feature == DcFeature::FrameControl;
}

bool TraceDc::GradientFill(const std::vector<TriVertex>& vertices, const std::vector<uint32_t>& mesh, uint32_t mode) {
  std::string line = "GradientFill mode=" + Num(static_cast<int>(mode));
  for (const TriVertex& v : vertices) {
    line += " " + Num(v.x) + "," + Num(v.y) + "," +
            Hex6(RgbColor(v.red >> 8, v.green >> 8, v.blue >> 8));
  }
  line += " mesh=";
  for (size_t k = 0; k < mesh.size(); ++k) line += (k ? "," : "") + Num(static_cast<int>(mesh[k]));
  log.push_back(line);
  return true;
}

bool TraceDc::AlphaBlend(const Rect& d, const Dib&, const Rect& s, uint8_t alpha) {
  log.push_back("AlphaBlend " + Box(d.left, d.top, d.right, d.bottom) + " from " + Box(s.left, s.top, s.right, s.bottom) +
                " alpha=" + Num(alpha));
  return true;
}

bool TraceDc::DrawFrameControl(const Rect& r, uint32_t type, uint32_t state) {
  log.push_back("DrawFrameControl " + Box(r.left, r.top, r.right, r.bottom) + " type=" + Num(static_cast<int>(type)) +
                " state=" + Num(static_cast<int>(state)));
  return true;
}
void TraceDc::SetPixel(int x, int y, ColorRef c) { log.push_back("SetPixel " + Num(x) + "," + Num(y) + " " + Hex6(c)); }

void TraceDc::ArcTo(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  log.push_back("ArcTo " + Box(l, t, r, b) + " " + Box(xs, ys, xe, ye));
  double a = RadialAngle(Rect{l, t, r, b}.Normalized(), xe, ye) * M_PI / 180;
  state_.pos = Point{static_cast<int>(std::lround((l + r) / 2.0 + (r - l) / 2.0 * std::cos(a))),
                     static_cast<int>(std::lround((t + b) / 2.0 - (b - t) / 2.0 * std::sin(a)))};
}
void TraceDc::BeginPath() {
  DeviceContext::BeginPath();
  log.push_back("BeginPath");
}
void TraceDc::EndPath() {
  DeviceContext::EndPath();
  log.push_back("EndPath");
}
void TraceDc::AbortPath() {
  DeviceContext::AbortPath();
  log.push_back("AbortPath");
}
void TraceDc::CloseFigure() { log.push_back("CloseFigure"); }
void TraceDc::WidenPath() { log.push_back("WidenPath"); }
void TraceDc::SetArcDirection(int direction) {
  DeviceContext::SetArcDirection(direction);
  log.push_back("SetArcDirection " + std::to_string(direction));
}
void TraceDc::StrokePath() {
  pathState_ = kNoPath;
  log.push_back("StrokePath");
}
void TraceDc::FillPath() {
  pathState_ = kNoPath;
  log.push_back("FillPath");
}
void TraceDc::StrokeAndFillPath() {
  pathState_ = kNoPath;
  log.push_back("StrokeAndFillPath");
}
void TraceDc::SelectClipPath(int mode) {
  pathState_ = kNoPath;
  log.push_back("SelectClipPath mode=" + Num(mode));
}

}  // namespace platform
