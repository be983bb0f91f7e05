// The device context base: state, save/restore, clipping, regions, measuring and the
// built-in font estimate.
#include "platform/dc.h"

#include <algorithm>
#include <limits>
#include <cmath>
#include <utility>

#include "platform/cp932.h"

namespace platform {

// ---- Colours ----------------------------------------------------------------------------

ColorRef SystemColorRgb(int index) {
  // A classic light scheme (values of the Windows standard scheme).
  static const ColorRef kColors[31] = {
      RgbColor(200, 200, 200),  // 0 scroll bar
      RgbColor(0, 0, 0),        // 1 background (desktop)
      RgbColor(153, 180, 209),  // 2 active caption
      RgbColor(191, 205, 219),  // 3 inactive caption
      RgbColor(240, 240, 240),  // 4 menu
      RgbColor(255, 255, 255),  // 5 window
      RgbColor(100, 100, 100),  // 6 window frame
      RgbColor(0, 0, 0),        // 7 menu text
      RgbColor(0, 0, 0),        // 8 window text
      RgbColor(0, 0, 0),        // 9 caption text
      RgbColor(180, 180, 180),  // 10 active border
      RgbColor(244, 247, 252),  // 11 inactive border
      RgbColor(171, 171, 171),  // 12 application workspace
      RgbColor(0, 120, 215),    // 13 highlight
      RgbColor(255, 255, 255),  // 14 highlight text
      RgbColor(240, 240, 240),  // 15 button face
      RgbColor(160, 160, 160),  // 16 button shadow
      RgbColor(109, 109, 109),  // 17 grey text
      RgbColor(0, 0, 0),        // 18 button text
      RgbColor(0, 0, 0),        // 19 inactive caption text
      RgbColor(255, 255, 255),  // 20 button highlight
      RgbColor(105, 105, 105),  // 21 3D dark shadow
      RgbColor(227, 227, 227),  // 22 3D light
      RgbColor(0, 0, 0),        // 23 info text
      RgbColor(255, 255, 225),  // 24 info background
      RgbColor(0, 0, 0),        // 25 (unused)
      RgbColor(0, 102, 204),    // 26 hot light
      RgbColor(185, 209, 234),  // 27 gradient active caption
      RgbColor(215, 228, 242),  // 28 gradient inactive caption
      RgbColor(51, 153, 255),   // 29 menu highlight
      RgbColor(240, 240, 240),  // 30 menu bar
  };
  if (index < 0 || index > 30) return 0;
  return kColors[index];
}

ColorRef ColorToRgb(uint32_t color) {
  if ((color & 0xFF000000u) == kSystemColorFlag) return SystemColorRgb(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

Rect Rect::Normalized() const {
  Rect r = *this;
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

Dib Dib::Filled(int width, int height, ColorRef color) {
  Dib d;
  if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxDibPixels) return d;
  d.width = width;
  d.height = height;
  d.pixels.assign(static_cast<size_t>(width) * height, ColorToDibValue(color));
  return d;
}

Rect Dib::Part(const Rect& r) const {
  Rect s = r.Normalized();
  s.left = std::max(0, s.left);
  s.top = std::max(0, s.top);
  s.right = std::min(width, s.right);
  s.bottom = std::min(height, s.bottom);
  return s;
}

Dib Dib::Copy(const Rect& r) const {
  const Rect s = Part(r);
  Dib out;
  if (s.IsEmpty()) return out;
  out.width = s.Width();
  out.height = s.Height();
  out.pixels.reserve(static_cast<size_t>(out.width) * out.height);
  for (int y = s.top; y < s.bottom; ++y) {
    const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(y) * width;
    out.pixels.insert(out.pixels.end(), row + s.left, row + s.right);
  }
  return out;
}

bool HatchBit(uint32_t hatch, int x, int y) {
  x &= 7;
  y &= 7;
  switch (hatch) {
    case HS_HORIZONTAL: return y == 7;
    case HS_VERTICAL: return x == 7;
    case HS_FDIAGONAL: return x == y;          // "\\\\" top-left to bottom-right
    case HS_BDIAGONAL: return x + y == 7;      // "////"
    case HS_CROSS: return x == 7 || y == 7;
    case HS_DIAGCROSS: return x == y || x + y == 7;
    default: return false;
  }
}

// ---- Fonts ------------------------------------------------------------------------------

namespace {

class EstimateFontEngine final : public FontEngine {
 public:
  // Sizes held to what a font can have, whatever the logical font holds.
  static int Em(const LogFont& f) {
    if (f.height == 0) return 16;
    return static_cast<int>(std::min<int64_t>(std::llabs(static_cast<int64_t>(f.height)), kMaxFontSize));
  }
  static int Width(const LogFont& f) {
    return static_cast<int>(std::min<int64_t>(std::llabs(static_cast<int64_t>(f.width)), kMaxFontSize));
  }
  TextMetrics Metrics(const LogFont& f) override {
    TextMetrics tm;
    int em = Em(f);
    tm.ascent = (em * 7 + 4) / 8;
    tm.descent = em - tm.ascent;
    tm.height = em;
    tm.aveCharWidth = f.width != 0 ? Width(f) : std::max(1, em / 2);
    tm.maxCharWidth = 2 * tm.aveCharWidth;
    tm.weight = f.weight;
    tm.charSet = f.charSet;
    return tm;
  }
  std::vector<int> Advances(const LogFont& f, std::u16string_view text) override {
    int half = f.width != 0 ? Width(f) : std::max(1, Em(f) / 2);
    std::vector<int> out;
    out.reserve(text.size());
    for (char16_t c : text) {
      bool narrow = c < 0x100 || (c >= 0xFF61 && c <= 0xFF9F);
      out.push_back(narrow ? half : 2 * half);
    }
    return out;
  }
};

EstimateFontEngine gEstimate;
FontEngine* gEngine = &gEstimate;

}  // namespace

FontEngine& CurrentFontEngine() { return *gEngine; }

FontEngine* InstallFontEngine(FontEngine* engine) {
  FontEngine* previous = gEngine;
  gEngine = engine ? engine : &gEstimate;
  return previous == &gEstimate ? nullptr : previous;
}

std::string SubstituteFace(const std::string& face) {
  struct Entry {
    const char* windows;
    const char* here;
  };
  static const Entry kTable[] = {
      {"ＭＳ ゴシック", "IPAGothic"},   {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"ＭＳ 明朝", "IPAMincho"},
      {"ＭＳ Ｐ明朝", "IPAPMincho"},    {"MS Gothic", "IPAGothic"},       {"MS PGothic", "IPAPGothic"},
      {"MS Mincho", "IPAMincho"},       {"MS PMincho", "IPAPMincho"},     {"ＭＳ ＵＩ ゴシック", "IPAPGothic"},
      {"MS UI Gothic", "IPAPGothic"},   {"Arial", "Liberation Sans"},     {"Times New Roman", "Liberation Serif"},
      {"Courier New", "Liberation Mono"}, {"MS Sans Serif", "Liberation Sans"},
  };
  for (const Entry& e : kTable) {
    if (face == e.windows) return e.here;
  }
  if (face.empty()) return "IPAPGothic";
  return face;
}

Rect Intersection(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

Rect BoundingBox(std::span<const Point> points) {
  if (points.empty()) return Rect{};
  Rect b{points[0].x, points[0].y, points[0].x, points[0].y};
  for (const Point& p : points) {
    b.left = std::min(b.left, p.x);
    b.top = std::min(b.top, p.y);
    b.right = std::max(b.right, p.x);
    b.bottom = std::max(b.bottom, p.y);
  }
  return b;
}

// ---- Regions ----------------------------------------------------------------------------

RegionWork& RegionWorkDone() {
  thread_local RegionWork work;
  return work;
}

namespace {

using Interval = std::pair<int, int>;  // [first, second)

// `iv` sorted, overlapping and touching intervals merged.
std::vector<Interval> MergedIntervals(std::vector<Interval> iv) {
  std::sort(iv.begin(), iv.end());
  std::vector<Interval> merged;
  for (const Interval& i : iv) {
    if (!merged.empty() && i.first <= merged.back().second) {
      merged.back().second = std::max(merged.back().second, i.second);
    } else {
      merged.push_back(i);
    }
  }
  return merged;
}

// Sorted, merged x intervals of the rectangles of `rects` that cover the band [y0, y1).
std::vector<Interval> BandIntervals(const std::vector<Rect>& rects, int y0, int y1) {
  std::vector<Interval> iv;
  RegionWorkDone().rectsWalked += rects.size();
  for (const Rect& r : rects) {
    if (r.top <= y0 && r.bottom >= y1 && r.left < r.right) iv.emplace_back(r.left, r.right);
  }
  return MergedIntervals(std::move(iv));
}

// Walks the bands of a region's rectangles (runs of rectangles with one top and bottom, in
// order from the top) downwards, so that finding the band of each band edge costs no more
// than the rectangles passed on the way.
class BandWalker {
 public:
  explicit BandWalker(const std::vector<Rect>& rects) : rects_(rects) {}
  // The intervals of the band that covers the rows from y0 down to the next band edge (y0 never
  // smaller than in the call before); none where no band covers y0.
  std::vector<Interval> Covering(int y0) {
    RegionWork& work = RegionWorkDone();
    while (at_ < rects_.size() && rects_[at_].bottom <= y0) {
      ++at_;
      ++work.rectsWalked;
    }
    std::vector<Interval> iv;
    if (at_ >= rects_.size() || rects_[at_].top > y0) return iv;
    for (size_t k = at_; k < rects_.size() && rects_[k].top == rects_[at_].top; ++k) {
      ++work.rectsWalked;
      if (rects_[k].left < rects_[k].right) iv.emplace_back(rects_[k].left, rects_[k].right);
    }
    return MergedIntervals(std::move(iv));
  }

 private:
  const std::vector<Rect>& rects_;
  size_t at_ = 0;
};

bool InIntervals(const std::vector<Interval>& iv, size_t& k, int x) {
  while (k < iv.size() && iv[k].second <= x) ++k;
  return k < iv.size() && iv[k].first <= x;
}

std::vector<Interval> CombineIntervals(const std::vector<Interval>& a, const std::vector<Interval>& b, int mode) {
  std::vector<int> xs;
  for (const Interval& i : a) { xs.push_back(i.first); xs.push_back(i.second); }
  for (const Interval& i : b) { xs.push_back(i.first); xs.push_back(i.second); }
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  std::vector<Interval> out;
  size_t ka = 0, kb = 0;
  for (size_t n = 0; n + 1 < xs.size(); ++n) {
    bool ia = InIntervals(a, ka, xs[n]);
    bool ib = InIntervals(b, kb, xs[n]);
    bool in = false;
    switch (mode) {
      case RGN_AND: in = ia && ib; break;
      case RGN_OR: in = ia || ib; break;
      case RGN_XOR: in = ia != ib; break;
      case RGN_DIFF: in = ia && !ib; break;
      default: in = ib; break;
    }
    if (!in) continue;
    if (!out.empty() && out.back().second == xs[n]) {
      out.back().second = xs[n + 1];
    } else {
      out.emplace_back(xs[n], xs[n + 1]);
    }
  }
  return out;
}

// Appends the band [y0, y1) with `iv`, merging it into the previous band when that one ends
// at y0 with the same intervals.
void AppendBand(std::vector<Rect>& out, size_t& prevStart, int y0, int y1, const std::vector<Interval>& iv) {
  if (iv.empty()) return;
  bool same = prevStart < out.size() && out.back().bottom == y0 && out.size() - prevStart == iv.size();
  if (same) {
    for (size_t k = 0; k < iv.size(); ++k) {
      const Rect& r = out[prevStart + k];
      if (r.left != iv[k].first || r.right != iv[k].second) { same = false; break; }
    }
  }
  if (same) {
    for (size_t k = prevStart; k < out.size(); ++k) out[k].bottom = y1;
    return;
  }
  prevStart = out.size();
  for (const Interval& i : iv) out.push_back(Rect{i.first, y0, i.second, y1});
}

std::vector<int> BandEdges(const std::vector<Rect>& a, const std::vector<Rect>& b) {
  std::vector<int> ys;
  for (const Rect& r : a) { ys.push_back(r.top); ys.push_back(r.bottom); }
  for (const Rect& r : b) { ys.push_back(r.top); ys.push_back(r.bottom); }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  return ys;
}

// A region from one span list per row starting at `top`.
std::vector<Rect> FromRows(int top, const std::vector<std::vector<Interval>>& rows) {
  std::vector<Rect> out;
  size_t prev = 0;
  for (size_t k = 0; k < rows.size(); ++k) {
    AppendBand(out, prev, top + static_cast<int>(k), top + static_cast<int>(k) + 1, rows[k]);
  }
  return out;
}

}  // namespace

Region::Region(const Rect& r) {
  Rect n = r.Normalized();
  if (!n.IsEmpty()) rects_.push_back(n);
}

Region Region::FromRects(const std::vector<Rect>& rects) {
  std::vector<Rect> clean;
  for (const Rect& r : rects) {
    Rect n = r.Normalized();
    if (!n.IsEmpty()) clean.push_back(n);
  }
  std::sort(clean.begin(), clean.end(), [](const Rect& a, const Rect& b) { return a.top < b.top; });
  Region out;
  std::vector<int> ys = BandEdges(clean, {});
  // A sweep from the top: each band looks only at the rectangles that cross it.
  std::vector<Rect> active;
  size_t next = 0, prev = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    while (next < clean.size() && clean[next].top <= ys[k]) active.push_back(clean[next++]);
    std::erase_if(active, [&](const Rect& r) { return r.bottom <= ys[k]; });
    AppendBand(out.rects_, prev, ys[k], ys[k + 1], BandIntervals(active, ys[k], ys[k + 1]));
  }
  return out;
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
  if (mode == RGN_COPY) return a;
  Region out;
  std::vector<int> ys = BandEdges(a.rects_, b.rects_);
  BandWalker wa(a.rects_), wb(b.rects_);
  size_t prev = 0;
  for (size_t k = 0; k + 1 < ys.size(); ++k) {
    AppendBand(out.rects_, prev, ys[k], ys[k + 1], CombineIntervals(wa.Covering(ys[k]), wb.Covering(ys[k]), mode));
  }
  return out;
}

Region Region::FromRowSpans(int top, const std::vector<std::pair<int, int>>& spans) {
  std::vector<std::vector<Interval>> rows(spans.size());
  for (size_t k = 0; k < spans.size(); ++k) {
    if (spans[k].first < spans[k].second) rows[k].push_back(spans[k]);
  }
  Region out;
  out.rects_ = FromRows(top, rows);
  return out;
}

namespace {

// The rows [top, bottom) and columns [left, right) of `box` that lie within `within` (all of
// `box` without it).
Rect RowWindow(const Rect& box, const Rect* within) {
  if (!within) return box;
  const Rect w = within->Normalized();
  return Rect{std::max(box.left, w.left), std::max(box.top, w.top), std::min(box.right, w.right),
              std::min(box.bottom, w.bottom)};
}

// Appends the span [x0, x1) cut to the window's columns, when anything is left.
void AddSpan(std::vector<Interval>& row, int x0, int x1, const Rect& window) {
  x0 = std::max(x0, window.left);
  x1 = std::min(x1, window.right);
  if (x1 > x0) row.emplace_back(x0, x1);
}

}  // namespace

Region Region::Ellipse(const Rect& box, const Rect* within) {
  Rect b = box.Normalized();
  Region out;
  if (b.IsEmpty()) return out;
  const Rect window = RowWindow(b, within);
  if (window.IsEmpty()) return out;
  double cx = (static_cast<double>(b.left) + b.right) / 2.0, cy = (static_cast<double>(b.top) + b.bottom) / 2.0;
  double rx = (static_cast<double>(b.right) - b.left) / 2.0, ry = (static_cast<double>(b.bottom) - b.top) / 2.0;
  std::vector<std::vector<Interval>> rows;
  rows.reserve(static_cast<size_t>(static_cast<int64_t>(window.bottom) - window.top));
  for (int y = window.top; y < window.bottom; ++y) {
    double t = (y + 0.5 - cy) / ry;
    std::vector<Interval> row;
    if (std::fabs(t) < 1.0) {
      double dx = rx * std::sqrt(1.0 - t * t);
      AddSpan(row, static_cast<int>(std::ceil(cx - dx - 0.5)), static_cast<int>(std::floor(cx + dx - 0.5)) + 1, window);
    }
    rows.push_back(std::move(row));
  }
  out.rects_ = FromRows(window.top, rows);
  return out;
}

Region Region::RoundRect(const Rect& box, int cornerW, int cornerH, const Rect* within) {
  Rect b = box.Normalized();
  Region out;
  if (b.IsEmpty()) return out;
  const Rect window = RowWindow(b, within);
  if (window.IsEmpty()) return out;
  const double width = static_cast<double>(b.right) - b.left, height = static_cast<double>(b.bottom) - b.top;
  double rx = std::min(std::abs(static_cast<double>(cornerW)), width) / 2.0;
  double ry = std::min(std::abs(static_cast<double>(cornerH)), height) / 2.0;
  std::vector<std::vector<Interval>> rows;
  rows.reserve(static_cast<size_t>(static_cast<int64_t>(window.bottom) - window.top));
  for (int y = window.top; y < window.bottom; ++y) {
    double yc = y + 0.5;
    double inset = 0;
    double dy = 0;
    if (ry > 0 && yc < b.top + ry) dy = (b.top + ry - yc) / ry;
    if (ry > 0 && yc > b.bottom - ry) dy = (yc - (b.bottom - ry)) / ry;
    if (dy > 0) inset = dy >= 1 ? rx : rx - rx * std::sqrt(1.0 - dy * dy);
    std::vector<Interval> row;
    AddSpan(row, static_cast<int>(std::ceil(b.left + inset - 0.5)), static_cast<int>(std::floor(b.right - inset - 0.5)) + 1,
            window);
    rows.push_back(std::move(row));
  }
  out.rects_ = FromRows(window.top, rows);
  return out;
}

Region Region::Polygon(const std::vector<Point>& pts, int fillMode, const Rect* within) {
  Region out;
  if (pts.size() < 3) return out;
  int top = pts[0].y, bottom = pts[0].y;
  for (const Point& p : pts) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  // Only the rows and columns of `within` are computed: the cost follows the part that can
  // show, not the coordinates.
  double left = -std::numeric_limits<double>::infinity(), right = std::numeric_limits<double>::infinity();
  if (within) {
    const Rect b = within->Normalized();
    top = std::max(top, b.top);
    bottom = std::min(bottom, b.bottom);
    left = b.left;
    right = b.right;
  }
  std::vector<std::vector<Interval>> rows;
  if (bottom > top) rows.reserve(static_cast<size_t>(static_cast<int64_t>(bottom) - top));
  std::vector<std::pair<double, int>> xs;  // crossing, direction
  for (int y = top; y < bottom; ++y) {
    const double yc = y + 0.5;
    xs.clear();
    for (size_t k = 0; k < pts.size(); ++k) {
      const Point& a = pts[k];
      const Point& b = pts[(k + 1) % pts.size()];
      if (a.y == b.y) continue;
      int dir = b.y > a.y ? 1 : -1;
      double y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
      if (yc < y0 || yc >= y1) continue;
      double x = a.x + (yc - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
      xs.emplace_back(x, dir);
    }
    std::sort(xs.begin(), xs.end());
    std::vector<Interval> row;
    int winding = 0;
    for (size_t k = 0; k + 1 < xs.size(); ++k) {
      winding += xs[k].second;
      bool inside = fillMode == WINDING ? winding != 0 : (k % 2) == 0;
      if (!inside) continue;
      const double from = std::max(std::ceil(xs[k].first - 0.5), left);
      const double to = std::min(std::ceil(xs[k + 1].first - 0.5), right);
      if (to <= from) continue;
      const int x0 = static_cast<int>(from), x1 = static_cast<int>(to);
      if (!row.empty() && row.back().second >= x0) {
        row.back().second = std::max(row.back().second, x1);
      } else {
        row.emplace_back(x0, x1);
      }
    }
    rows.push_back(std::move(row));
  }
  out.rects_ = FromRows(top, rows);
  return out;
}

Rect Region::Bounds() const {
  if (rects_.empty()) return Rect{};
  Rect b = rects_.front();
  for (const Rect& r : rects_) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

bool Region::Contains(int x, int y) const {
  for (const Rect& r : rects_) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  }
  return false;
}

void Region::Offset(int dx, int dy) {
  for (Rect& r : rects_) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

// ---- Device capabilities ----------------------------------------------------------------

int DeviceCaps::Get(int index) const {
  switch (index) {
    case TECHNOLOGY: return technology;
    case HORZSIZE: return horzSizeMm;
    case VERTSIZE: return vertSizeMm;
    case HORZRES: return horzRes;
    case VERTRES: return vertRes;
    case BITSPIXEL: return bitsPixel;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case RASTERCAPS: return 0x7E99;  // bitblt, stretchblt, dibs, fonts, large bitmaps
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX: return logPixelsX;
    case LOGPIXELSY: return logPixelsY;
    case PHYSICALWIDTH: return physicalWidth;
    case PHYSICALHEIGHT: return physicalHeight;
    case PHYSICALOFFSETX: return offsetX;
    case PHYSICALOFFSETY: return offsetY;
    default: return 0;
  }
}

DeviceCaps DeviceCaps::Screen(int width, int height) {
  DeviceCaps c;
  c.technology = DT_RASDISPLAY;
  c.horzRes = width;
  c.vertRes = height;
  c.horzSizeMm = static_cast<int>(std::lround(width * 25.4 / kReferenceDpi));
  c.vertSizeMm = static_cast<int>(std::lround(height * 25.4 / kReferenceDpi));
  return c;
}

// ---- Device context ---------------------------------------------------------------------

DeviceContext::DeviceContext(const DeviceCaps& caps) : caps_(caps) {}
DeviceContext::~DeviceContext() = default;

void DeviceContext::SelectPen(const LogPen& pen) { state_.pen = pen; }
void DeviceContext::SelectBrush(const LogBrush& brush) { state_.brush = brush; }
void DeviceContext::SelectFont(const LogFont& font) { state_.font = font; }
void DeviceContext::SetTextColor(ColorRef color) { state_.textColor = color & 0xFFFFFF; }
void DeviceContext::SetBkColor(ColorRef color) { state_.bkColor = color & 0xFFFFFF; }
void DeviceContext::SetBkMode(int mode) {
  if (mode == TRANSPARENT || mode == OPAQUE) state_.bkMode = mode;
}
void DeviceContext::SetTextAlign(uint32_t align) { state_.textAlign = align; }
void DeviceContext::SetROP2(int rop2) {
  if (rop2 >= R2_BLACK && rop2 <= R2_WHITE) state_.rop2 = rop2;
}
void DeviceContext::SetPolyFillMode(int mode) {
  if (mode == ALTERNATE || mode == WINDING) state_.polyFillMode = mode;
}
void DeviceContext::SetStretchBltMode(int mode) { state_.stretchMode = mode; }
void DeviceContext::SetTextCharacterExtra(int extra) { state_.charExtra = extra; }
void DeviceContext::SetBrushOrg(int x, int y) { state_.brushOrg = Point{x, y}; }
void DeviceContext::SetArcDirection(int direction) {
  if (direction == AD_COUNTERCLOCKWISE || direction == AD_CLOCKWISE) state_.arcDirection = direction;
}
void DeviceContext::MoveTo(int x, int y) { state_.pos = Point{x, y}; }

void DeviceContext::SelectClipRegion(const Region* region, int mode) {
  if (mode == RGN_COPY) {
    if (region) {
      state_.clip = std::make_shared<const Region>(*region);
    } else {
      state_.clip.reset();
    }
    return;
  }
  if (!region) return;
  if (!state_.clip) {
    // Without a clip region the whole surface is the current clip.
    Region all(kWholePlane);
    state_.clip = std::make_shared<const Region>(Region::Combine(all, *region, mode));
  } else {
    state_.clip = std::make_shared<const Region>(Region::Combine(*state_.clip, *region, mode));
  }
}

bool SameClip(const std::shared_ptr<const Region>& a, const std::shared_ptr<const Region>& b) {
  return a == b || (a && b && *a == *b);
}

void DeviceContext::IntersectClipRect(const Rect& r) {
  Region rr(r);
  DeviceContext::SelectClipRegion(&rr, RGN_AND);
}

void DeviceContext::ExcludeClipRect(const Rect& r) {
  Region rr(r);
  DeviceContext::SelectClipRegion(&rr, RGN_DIFF);
}

bool DeviceContext::GetClipRegion(Region& out) const {
  if (!state_.clip) return false;
  out = *state_.clip;
  return true;
}

Rect DeviceContext::SurfaceBox() const {
  if (caps_.horzRes <= 0 || caps_.vertRes <= 0) return Rect{};
  return Rect{0, 0, caps_.horzRes, caps_.vertRes};
}

Rect DeviceContext::VisibleBox() const {
  const Rect surface = SurfaceBox();
  Rect box = surface.IsEmpty() ? kWholePlane : surface;
  if (state_.clip) {
    const Rect c = state_.clip->Bounds();
    box = Rect{std::max(box.left, c.left), std::max(box.top, c.top), std::min(box.right, c.right),
               std::min(box.bottom, c.bottom)};
  }
  return box.IsEmpty() ? Rect{} : box;
}

int DeviceContext::SaveDC() {
  saved_.push_back(state_);
  return static_cast<int>(saved_.size());
}

bool DeviceContext::RestoreDC(int level) {
  int count = static_cast<int>(saved_.size());
  int target = level < 0 ? count + level + 1 : level;
  if (target < 1 || target > count) return false;
  state_ = saved_[target - 1];
  saved_.resize(target - 1);
  return true;
}

ColorRef DeviceContext::GetPixel(int, int) const { return CLR_INVALID; }

bool DeviceContext::GetBits(const Rect&, Dib&) const { return false; }

bool DeviceContext::BitBlt(const Rect& dest, const DeviceContext& source, int sx, int sy, uint32_t rop) {
  Rect d = dest.Normalized();
  Dib bits;
  if (d.IsEmpty()) return true;
  if (!source.GetBits(Rect{sx, sy, sx + d.Width(), sy + d.Height()}, bits)) return false;
  return StretchDIBits(d, Rect{0, 0, bits.width, bits.height}, bits, rop);
}

bool DeviceContext::Native(DcFeature) const { return false; }

Rect DeviceContext::DrawableBox(const Rect& r) const {
  Rect box = r.Normalized();
  if (state_.clip) box = Intersection(box, state_.clip->Bounds());
  // A raster display or a printer page ends at its edges; a metafile picture has none.
  if (caps_.technology != DT_METAFILE && caps_.horzRes > 0 && caps_.vertRes > 0) {
    box = Intersection(box, Rect{0, 0, caps_.horzRes, caps_.vertRes});
  }
  if (box.IsEmpty() || static_cast<int64_t>(box.Width()) * box.Height() > kMaxDibPixels) return Rect{};
  return box;
}

void DeviceContext::DrawMaskedBitmap(const Rect& dest, const Dib& bitmap, const Region& mask) {
  const int level = SaveDC();
  SelectClipRegion(&mask, RGN_AND);
  StretchDIBits(dest, Rect{0, 0, bitmap.width, bitmap.height}, bitmap, SRCCOPY);
  RestoreDC(level);
}

namespace {

// A vertex colour channel as 16 bits, by index 0 red, 1 green, 2 blue.
int Channel(const TriVertex& v, int c) { return c == 0 ? v.red : c == 1 ? v.green : v.blue; }

// 16-bit channels to a Dib value (0x00RRGGBB).
uint32_t DibValue16(int64_t r, int64_t g, int64_t b) {
  auto byte = [](int64_t v) { return static_cast<uint32_t>(std::clamp<int64_t>(v, 0, 0xFFFF) >> 8); };
  return (byte(r) << 16) | (byte(g) << 8) | byte(b);
}

// The colour at `num` / `den` of the way from `a` to `b`.
uint32_t Between(const TriVertex& a, const TriVertex& b, int64_t num, int64_t den) {
  int64_t ch[3];
  for (int c = 0; c < 3; ++c) ch[c] = Channel(a, c) + (Channel(b, c) - Channel(a, c)) * num / den;
  return DibValue16(ch[0], ch[1], ch[2]);
}

}  // namespace

bool DeviceContext::GradientFill(const std::vector<TriVertex>& v, const std::vector<uint32_t>& mesh, uint32_t mode) {
  const size_t per = mode == GRADIENT_FILL_TRIANGLE ? 3 : mode <= GRADIENT_FILL_RECT_V ? 2 : 0;
  if (per == 0 || mesh.size() % per != 0) return false;
  for (uint32_t index : mesh) {
    if (index >= v.size()) return false;
  }
  for (size_t k = 0; k < mesh.size(); k += per) {
    if (per == 2) {
      const TriVertex& a = v[mesh[k]];
      const TriVertex& b = v[mesh[k + 1]];
      const Rect whole = Rect{a.x, a.y, b.x, b.y}.Normalized();
      const Rect box = DrawableBox(whole);
      if (box.IsEmpty()) continue;
      // One row (across) or one column (down) of colours, stretched over the visible part.
      const bool across = mode == GRADIENT_FILL_RECT_H;
      const TriVertex& from = across ? (a.x <= b.x ? a : b) : (a.y <= b.y ? a : b);
      const TriVertex& to = &from == &a ? b : a;
      const int n = across ? box.Width() : box.Height();
      const int64_t den = across ? whole.Width() : whole.Height();
      Dib strip;
      strip.width = across ? n : 1;
      strip.height = across ? 1 : n;
      strip.pixels.resize(static_cast<size_t>(n));
      for (int i = 0; i < n; ++i) {
        const int64_t at = across ? box.left + i - whole.left : box.top + i - whole.top;
        strip.pixels[static_cast<size_t>(i)] = Between(from, to, at, den);
      }
      StretchDIBits(box, Rect{0, 0, strip.width, strip.height}, strip, SRCCOPY);
      continue;
    }
    // A triangle: the pixels whose centres lie inside it (or on its edges), each coloured by
    // its barycentric weights (doubles: the corners may be far apart).
    const TriVertex* t[3] = {&v[mesh[k]], &v[mesh[k + 1]], &v[mesh[k + 2]]};
    const double x0 = t[0]->x, y0 = t[0]->y, x1 = t[1]->x, y1 = t[1]->y, x2 = t[2]->x, y2 = t[2]->y;
    const double area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0);
    if (area == 0) continue;
    const Rect box = DrawableBox(Rect{std::min({t[0]->x, t[1]->x, t[2]->x}), std::min({t[0]->y, t[1]->y, t[2]->y}),
                                      std::max({t[0]->x, t[1]->x, t[2]->x}) + 1,
                                      std::max({t[0]->y, t[1]->y, t[2]->y}) + 1});
    if (box.IsEmpty()) continue;
    Dib bits;
    bits.width = box.Width();
    bits.height = box.Height();
    bits.pixels.resize(static_cast<size_t>(bits.width) * bits.height);
    std::vector<std::pair<int, int>> spans(static_cast<size_t>(bits.height), {0, 0});
    bool any = false;
    for (int y = 0; y < bits.height; ++y) {
      const double py = box.top + y + 0.5;
      std::pair<int, int>& span = spans[static_cast<size_t>(y)];
      for (int x = 0; x < bits.width; ++x) {
        const double px = box.left + x + 0.5;
        const double w1 = ((px - x0) * (y2 - y0) - (x2 - x0) * (py - y0)) / area;
        const double w2 = ((x1 - x0) * (py - y0) - (px - x0) * (y1 - y0)) / area;
        const double w0 = 1 - w1 - w2;
        if (w0 < -1e-9 || w1 < -1e-9 || w2 < -1e-9) continue;
        if (span.first >= span.second) span.first = box.left + x;
        span.second = box.left + x + 1;
        any = true;
        double ch[3];
        for (int c = 0; c < 3; ++c) ch[c] = w0 * Channel(*t[0], c) + w1 * Channel(*t[1], c) + w2 * Channel(*t[2], c);
        bits.pixels[static_cast<size_t>(y) * bits.width + x] =
            DibValue16(std::llround(ch[0]), std::llround(ch[1]), std::llround(ch[2]));
      }
    }
    if (any) DrawMaskedBitmap(box, bits, Region::FromRowSpans(box.top, spans));
  }
  return true;
}

bool DeviceContext::AlphaBlend(const Rect& dest, const Dib& bitmap, const Rect& src, uint8_t alpha) {
  if (dest.Width() < 0 || dest.Height() < 0 || src.Width() < 0 || src.Height() < 0) return false;
  if (dest.IsEmpty() || bitmap.Part(src).IsEmpty()) return true;
  const Rect d = DrawableBox(dest);
  if (d.IsEmpty()) return true;
  Dib under;
  if (!GetBits(d, under)) return false;
  const int64_t a = alpha;
  for (int y = 0; y < d.Height(); ++y) {
    // The source pixel whose stretched cell holds this pixel's centre.
    const int sy = src.top + static_cast<int>((2 * static_cast<int64_t>(d.top + y - dest.top) + 1) * src.Height() /
                                            (2 * static_cast<int64_t>(dest.Height())));
    for (int x = 0; x < d.Width(); ++x) {
      const int sx = src.left + static_cast<int>((2 * static_cast<int64_t>(d.left + x - dest.left) + 1) *
                                               src.Width() / (2 * static_cast<int64_t>(dest.Width())));
      if (!bitmap.Contains(sx, sy)) continue;
      const uint32_t over = bitmap.At(sx, sy);
      uint32_t& p = under.pixels[static_cast<size_t>(y) * under.width + x];
      uint32_t out = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const int64_t o = (over >> shift) & 0xFF, u = (p >> shift) & 0xFF;
        out |= static_cast<uint32_t>((o * a + u * (255 - a) + 127) / 255) << shift;
      }
      p = out;
    }
  }
  StretchDIBits(d, Rect{0, 0, under.width, under.height}, under, SRCCOPY);
  return true;
}

namespace {

// The pixels of a classic sunken check box or radio button of w x h; for a radio button
// `round` receives, row by row, the span of pixels inside its outer ring (offset by `at`).
Dib FrameControlBits(int w, int h, bool radio, uint32_t state, Point at, std::vector<std::pair<int, int>>& round) {
  const uint32_t shadow = Dib::ColorToDibValue(SystemColorRgb(COLOR_BTNSHADOW));
  const uint32_t light = Dib::ColorToDibValue(SystemColorRgb(COLOR_BTNHIGHLIGHT));
  const uint32_t dark = Dib::ColorToDibValue(SystemColorRgb(21));   // 3D dark shadow
  const uint32_t pale = Dib::ColorToDibValue(SystemColorRgb(22));   // 3D light
  const bool grey = (state & DFCS_INACTIVE) != 0;
  const uint32_t inside = Dib::ColorToDibValue(
      SystemColorRgb(grey || (state & DFCS_PUSHED) ? COLOR_BTNFACE : COLOR_WINDOW));
  const uint32_t mark = Dib::ColorToDibValue(SystemColorRgb(grey ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
  const bool checked = (state & DFCS_CHECKED) != 0;
  Dib d = Dib::Filled(w, h, SystemColorRgb(COLOR_WINDOW));
  if (!radio) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        uint32_t c = inside;
        if (x == w - 1 || y == h - 1) c = light;       // outer edge, bottom and right
        else if (x == 0 || y == 0) c = shadow;         // outer edge, top and left
        else if (x == w - 2 || y == h - 2) c = pale;   // inner edge, bottom and right
        else if (x == 1 || y == 1) c = dark;           // inner edge, top and left
        d.pixels[static_cast<size_t>(y) * w + x] = c;
      }
    }
    // The tick: seven columns of three pixels, down to the fourth column and up again, in the
    // middle of the inside.
    static const int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
    const int ox = (w - 7) / 2, oy = (h - 7) / 2;
    if (checked && w >= 11 && h >= 11) {
      for (int c = 0; c < 7; ++c) {
        for (int k = 0; k < 3; ++k) d.pixels[static_cast<size_t>(oy + kTop[c] + k) * w + ox + c] = mark;
      }
    }
    return d;
  }
  // A radio button: rings by the distance of the pixel centre from the middle, the upper left
  // half shadowed and the lower right half lit; the dot in the middle when checked.
  const double size = std::min(w, h), r = size / 2.0;
  round.assign(static_cast<size_t>(h), {0, 0});
  for (int y = 0; y < h; ++y) {
    std::pair<int, int>& span = round[static_cast<size_t>(y)];
    for (int x = 0; x < w; ++x) {
      const double dx = x + 0.5 - r, dy = y + 0.5 - r, dist = std::sqrt(dx * dx + dy * dy);
      if (dist >= r) continue;
      if (span.first >= span.second) span.first = at.x + x;
      span.second = at.x + x + 1;
      const bool upperLeft = dx + dy < 0;
      uint32_t c = inside;
      if (dist >= r - 1) c = upperLeft ? shadow : light;
      else if (dist >= r - 2) c = upperLeft ? dark : pale;
      else if (checked && dist < size / 6.0) c = mark;
      d.pixels[static_cast<size_t>(y) * w + x] = c;
    }
  }
  return d;
}

}  // namespace

bool DeviceContext::DrawFrameControl(const Rect& r, uint32_t type, uint32_t state) {
  const uint32_t kind = state & 0xFF;
  if (type != DFC_BUTTON || (kind != DFCS_BUTTONCHECK && kind != DFCS_BUTTONRADIO)) return false;
  const Rect n = r.Normalized();
  if (n.IsEmpty()) return true;
  if (static_cast<int64_t>(n.Width()) * n.Height() > kMaxDibPixels) return false;
  std::vector<std::pair<int, int>> round;
  const Dib bits = FrameControlBits(n.Width(), n.Height(), kind == DFCS_BUTTONRADIO, state, Point{n.left, n.top}, round);
  if (round.empty()) {
    StretchDIBits(n, Rect{0, 0, bits.width, bits.height}, bits, SRCCOPY);
  } else {
    DrawMaskedBitmap(n, bits, Region::FromRowSpans(n.top, round));  // only the round part of a radio button
  }
  return true;
}

void DeviceContext::TextOutA(int x, int y, const std::string& cp932) {
  std::u16string text = Cp932ToUtf16(cp932);
  ExtTextOut(x, y, 0, nullptr, text, nullptr);
}

void DeviceContext::FillRect(const Rect& r, const LogBrush& brush) {
  LogBrush old = state_.brush;
  SelectBrush(brush);
  PatBlt(r, PATCOPY);
  SelectBrush(old);
}

void DeviceContext::FillRegion(const Region& region, const LogBrush& brush) {
  LogBrush old = state_.brush;
  SelectBrush(brush);
  for (const Rect& r : region.Rects()) PatBlt(r, PATCOPY);
  SelectBrush(old);
}

TextMetrics DeviceContext::GetTextMetrics() const { return CurrentFontEngine().Metrics(state_.font); }

std::vector<int> DeviceContext::GetCharAdvances(std::u16string_view text) const {
  std::vector<int> adv = CurrentFontEngine().Advances(state_.font, text);
  adv.resize(text.size(), 0);
  if (state_.charExtra != 0) {
    for (int& a : adv) a += state_.charExtra;
  }
  return adv;
}

int DeviceContext::TextAdvances(int& x, int& y, std::u16string_view text, const std::vector<int>* dx,
                                std::vector<int>& advances) const {
  if (dx && dx->size() >= text.size()) {
    advances.assign(dx->begin(), dx->begin() + static_cast<std::ptrdiff_t>(text.size()));
  } else {
    advances = GetCharAdvances(text);
  }
  if (state_.textAlign & TA_UPDATECP) {
    x = state_.pos.x;
    y = state_.pos.y;
  }
  // Advances from a metafile may be anything: the sum is held to the range of coordinates.
  int64_t width = 0;
  for (int a : advances) width = std::clamp<int64_t>(width + a, -(int64_t{1} << 30), int64_t{1} << 30);
  return static_cast<int>(width);
}

Size DeviceContext::GetTextExtent(std::u16string_view text) const {
  Size s;
  int64_t cx = 0;
  for (int a : GetCharAdvances(text)) cx = std::clamp<int64_t>(cx + a, -(int64_t{1} << 30), int64_t{1} << 30);
  s.cx = static_cast<int>(cx);
  s.cy = GetTextMetrics().height;
  return s;
}

Size DeviceContext::GetTextExtentA(const std::string& cp932) const { return GetTextExtent(Cp932ToUtf16(cp932)); }

// ---- Text conversions -------------------------------------------------------------------

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    uint32_t cp = 0xFFFD;
    size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < s.size()) {
      cp = ((c & 0x1F) << 6) | (s[i + 1] & 0x3F);
      len = 2;
    } else if ((c & 0xF0) == 0xE0 && i + 2 < s.size()) {
      cp = ((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
      len = 3;
    } else if ((c & 0xF8) == 0xF0 && i + 3 < s.size()) {
      cp = ((c & 0x07) << 18) | ((s[i + 1] & 0x3F) << 12) | ((s[i + 2] & 0x3F) << 6) | (s[i + 3] & 0x3F);
      len = 4;
    }
    i += len;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size() * 3);
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t cp = s[i];
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::u16string Cp932ToUtf16(std::string_view cp932) { return Utf8ToUtf16(Cp932ToUtf8(cp932)); }

Point TextCellOffset(uint32_t align, int width, const TextMetrics& tm) {
  Point p;
  if ((align & TA_CENTER) == TA_CENTER) {
    p.x = -width / 2;
  } else if (align & TA_RIGHT) {
    p.x = -width;
  }
  if ((align & TA_BASELINE) == TA_BASELINE) {
    p.y = -tm.ascent;
  } else if (align & TA_BOTTOM) {
    p.y = -tm.height;
  }
  return p;
}

Rect TextBounds(int x, int y, uint32_t align, int width, const TextMetrics& tm, int escapement) {
  Point o = TextCellOffset(align, width, tm);
  if (escapement % 3600 == 0) {
    return Rect{x + o.x, y + o.y, x + o.x + std::max(width, 1) - 1, y + o.y + std::max(tm.height, 1) - 1};
  }
  double a = escapement * M_PI / 1800.0;
  double c = std::cos(a), s = std::sin(a);
  double xs[4] = {0, 0, 0, 0}, ys[4] = {0, 0, 0, 0};
  const double cx[4] = {static_cast<double>(o.x), static_cast<double>(o.x + width), static_cast<double>(o.x),
                        static_cast<double>(o.x + width)};
  const double cy[4] = {static_cast<double>(o.y), static_cast<double>(o.y), static_cast<double>(o.y + tm.height),
                        static_cast<double>(o.y + tm.height)};
  for (int k = 0; k < 4; ++k) {
    // Anticlockwise on a y-down surface.
    xs[k] = x + cx[k] * c + cy[k] * s;
    ys[k] = y - cx[k] * s + cy[k] * c;
  }
  Rect r{static_cast<int>(std::floor(*std::min_element(xs, xs + 4))),
         static_cast<int>(std::floor(*std::min_element(ys, ys + 4))),
         static_cast<int>(std::ceil(*std::max_element(xs, xs + 4))) - 1,
         static_cast<int>(std::ceil(*std::max_element(ys, ys + 4))) - 1};
  return r;
}

double RadialAngle(const Rect& box, int x, int y) {
  double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
  double dx = x - cx, dy = cy - y;
  if (dx == 0 && dy == 0) return 0;
  // The radial meets the ellipse at the point (a cos t, b sin t) whose parameter t has
  // tan t = (dy / b) / (dx / a); on a circle t is the radial's own angle.
  const double halfWidth = box.Width() / 2.0, halfHeight = box.Height() / 2.0;
  if (halfWidth > 0 && halfHeight > 0) {
    dx /= halfWidth;
    dy /= halfHeight;
  }
  double a = std::atan2(dy, dx) * 180.0 / M_PI;
  if (a < 0) a += 360;
  return a;
}

}  // namespace platform
