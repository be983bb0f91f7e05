// Qt back end of the device context.
#include "platform/qt/dc_qt.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <limits>
#include <cstdlib>

#include "platform/cp932.h"

namespace platform {

ColorRef QRgbToColorRef(QRgb rgb) { return RgbColor(qRed(rgb), qGreen(rgb), qBlue(rgb)); }
QColor ColorRefToQColor(ColorRef c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// ---- Fonts ------------------------------------------------------------------------------

QtFontEngine& QtFontEngine::Instance() {
  static QtFontEngine engine;
  return engine;
}

void EnsureQtFontEngine() {
  FontEngine* current = &CurrentFontEngine();
  if (current != &QtFontEngine::Instance()) {
    // Only replace the built-in estimate; an engine a test installed stays.
    FontEngine* previous = InstallFontEngine(&QtFontEngine::Instance());
    if (previous != nullptr) InstallFontEngine(previous);
  }
}

QtFontEngine::Entry& QtFontEngine::Lookup(const LogFont& lf) {
  for (auto& e : cache_) {
    if (e.first == lf) return *e.second;
  }
  auto entry = std::make_unique<Entry>();
  QFont f(QString::fromStdString(SubstituteFace(Cp932ToUtf8(lf.faceName))));
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setStyleStrategy(QFont::PreferAntialias);
  // Heights and widths held to what a font can have, whatever the logical font holds.
  const int height = static_cast<int>(std::min<int64_t>(std::llabs(static_cast<int64_t>(lf.height)), kMaxFontSize));
  int em = 16;
  if (lf.height < 0) {
    em = height;
  } else if (lf.height > 0) {
    // A cell height: the em that gives that ascent + descent.
    QFont probe = f;
    probe.setPixelSize(std::max(1, height));
    QFontMetricsF fm(probe);
    double cell = fm.ascent() + fm.descent();
    em = cell > 0 ? static_cast<int>(std::lround(static_cast<double>(height) * height / cell)) : height;
  }
  em = std::clamp(em, 1, kMaxFontSize);
  f.setPixelSize(em);
  if (lf.weight > 0) f.setWeight(static_cast<QFont::Weight>(std::clamp(lf.weight, 1, 1000)));
  f.setItalic(lf.italic != 0);
  f.setUnderline(lf.underline != 0);
  f.setStrikeOut(lf.strikeOut != 0);
  if (lf.width != 0) {
    int natural = QFontMetrics(f).averageCharWidth();
    if (natural > 0) {
      const double stretch = std::fabs(static_cast<double>(lf.width)) * 100.0 / natural;
      f.setStretch(static_cast<int>(std::lround(std::clamp(stretch, 1.0, 4000.0))));
    }
  }
  QFontMetrics fm(f);
  TextMetrics& tm = entry->metrics;
  tm.ascent = fm.ascent();
  tm.descent = fm.descent();
  tm.height = tm.ascent + tm.descent;
  tm.internalLeading = std::max(0, tm.height - em);
  tm.externalLeading = std::max(0, fm.leading());
  tm.aveCharWidth = fm.averageCharWidth();
  tm.maxCharWidth = fm.maxWidth();
  tm.weight = lf.weight > 0 ? lf.weight : FW_NORMAL;
  tm.italic = lf.italic;
  tm.underlined = lf.underline;
  tm.struckOut = lf.strikeOut;
  tm.charSet = lf.charSet;
  tm.pitchAndFamily = lf.pitchAndFamily;
  entry->font = f;
  cache_.emplace_back(lf, std::move(entry));
  if (cache_.size() > 256) cache_.erase(cache_.begin());
  return *cache_.back().second;
}

TextMetrics QtFontEngine::Metrics(const LogFont& font) { return Lookup(font).metrics; }

std::vector<int> QtFontEngine::Advances(const LogFont& font, std::u16string_view text) {
  Entry& e = Lookup(font);
  std::vector<int> out;
  out.reserve(text.size());
  QFontMetrics fm(e.font);
  for (char16_t c : text) {
    auto it = e.advances.find(c);
    if (it == e.advances.end()) it = e.advances.emplace(c, fm.horizontalAdvance(QChar(c))).first;
    out.push_back(it->second);
  }
  return out;
}

QFont QtFontEngine::MakeFont(const LogFont& font) { return Lookup(font).font; }

LogFont LogFontOf(const QFont& font) {
  LogFont lf;
  if (std::optional<std::string> face = Utf8ToCp932(font.family().toStdString())) lf.faceName = face->substr(0, 31);
  lf.height = font.pixelSize() > 0 ? -font.pixelSize()
                                   : -static_cast<int>(std::lround(font.pointSizeF() * kReferenceDpi / 72.0));
  lf.weight = font.weight();
  lf.italic = font.italic() ? 1 : 0;
  lf.underline = font.underline() ? 1 : 0;
  lf.strikeOut = font.strikeOut() ? 1 : 0;
  return lf;
}

// ---- Device context ---------------------------------------------------------------------

namespace {

// The on/off run lengths of a one-pixel pen's style; empty for a solid line.
std::vector<int> ThinPattern(const LogPen& pen) {
  switch (pen.Kind()) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    case PS_ALTERNATE: return {1, 1};
    case PS_USERSTYLE: {
      std::vector<int> v;
      for (uint32_t s : pen.userStyle) v.push_back(std::max<int>(1, static_cast<int>(std::min<uint32_t>(s, 10000))));
      if (v.size() % 2 == 1) v.push_back(v.back());
      return v;
    }
    default: return {};
  }
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// Start and sweep (degrees, anticlockwise) of an arc given by its radials.
// Clockwise arcs get a negative sweep.
void ArcAngles(const Rect& box, int xs, int ys, int xe, int ye, int direction, double& start, double& sweep) {
  start = RadialAngle(box, xs, ys);
  sweep = RadialAngle(box, xe, ye) - start;
  if (sweep <= 0) sweep += 360;
  if (direction == AD_CLOCKWISE) sweep = sweep >= 360 ? -360 : sweep - 360;
}

std::vector<QPointF> ToPointsF(const std::vector<Point>& points) {
  std::vector<QPointF> out;
  out.reserve(points.size());
  for (const Point& p : points) out.emplace_back(p.x, p.y);
  return out;
}

QPolygon ToQPolygon(const std::vector<Point>& points) {
  QPolygon poly;
  poly.reserve(static_cast<int>(points.size()));
  for (const Point& p : points) poly << QPoint(p.x, p.y);
  return poly;
}

}  // namespace

QtDc::QtDc(QImage& image) : DeviceContext(DeviceCaps::Screen(image.width(), image.height())) {
  if (image.format() != QImage::Format_RGB32) image = image.convertToFormat(QImage::Format_RGB32);
  image_ = &image;
  own_ = std::make_unique<QPainter>(&image);
  p_ = own_.get();
  raster_ = true;
  EnsureQtFontEngine();
}

QtDc::QtDc(QPainter& painter, const DeviceCaps& caps, bool raster)
    : DeviceContext(caps), p_(&painter), raster_(raster) {
  EnsureQtFontEngine();
}

QtDc::~QtDc() {
  if (own_) own_->end();
}

void QtDc::SelectClipRegion(const Region* region, int mode) {
  DeviceContext::SelectClipRegion(region, mode);
  clipDirty_ = true;
}
void QtDc::IntersectClipRect(const Rect& r) {
  DeviceContext::IntersectClipRect(r);
  clipDirty_ = true;
}
void QtDc::ExcludeClipRect(const Rect& r) {
  DeviceContext::ExcludeClipRect(r);
  clipDirty_ = true;
}
bool QtDc::RestoreDC(int level) {
  bool ok = DeviceContext::RestoreDC(level);
  clipDirty_ = true;
  return ok;
}

void QtDc::Prepare() {
  if (clipDirty_) {
    if (state_.clip) {
      QRegion q;
      std::vector<QRect> rects;
      rects.reserve(state_.clip->Rects().size());
      for (const Rect& r : state_.clip->Rects()) rects.push_back(ToQRect(r));
      q.setRects(rects.data(), static_cast<int>(rects.size()));
      p_->setClipRegion(q);
    } else {
      // No clip: a rectangle beyond every device. (Switching clipping off and later setting
      // a many-rectangle region lets texture fills of the raster engine ignore that region.)
      p_->setClipRect(QRect(-(1 << 24), -(1 << 24), 1 << 25, 1 << 25));
    }
    clipDirty_ = false;
  }
  p_->setRenderHint(QPainter::Antialiasing, false);
  p_->setRenderHint(QPainter::SmoothPixmapTransform, state_.stretchMode == HALFTONE);
  p_->setBrushOrigin(state_.brushOrg.x, state_.brushOrg.y);
}

bool QtDc::SetRop(int rop2) {
  QPainter::CompositionMode m = QPainter::CompositionMode_SourceOver;
  switch (rop2) {
    case R2_NOP: return false;
    case R2_NOT: m = QPainter::RasterOp_NotDestination; break;
    case R2_XORPEN: m = QPainter::RasterOp_SourceXorDestination; break;
    case R2_NOTXORPEN: m = QPainter::RasterOp_NotSourceXorDestination; break;
    case R2_MASKPEN: m = QPainter::RasterOp_SourceAndDestination; break;
    case R2_MERGEPEN: m = QPainter::RasterOp_SourceOrDestination; break;
    case R2_NOTCOPYPEN: m = QPainter::RasterOp_NotSource; break;
    case R2_NOTMASKPEN: m = QPainter::RasterOp_NotSourceOrNotDestination; break;
    case R2_NOTMERGEPEN: m = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case R2_MASKNOTPEN: m = QPainter::RasterOp_NotSourceAndDestination; break;
    case R2_MERGENOTPEN: m = QPainter::RasterOp_NotSourceOrDestination; break;
    case R2_MASKPENNOT: m = QPainter::RasterOp_SourceAndNotDestination; break;
    case R2_MERGEPENNOT: m = QPainter::RasterOp_SourceOrNotDestination; break;
    default: break;
  }
  SetComposition(m);
  return true;
}

void QtDc::SetComposition(QPainter::CompositionMode mode) {
  // Raster operations exist only on raster surfaces; vector devices copy.
  p_->setCompositionMode(raster_ ? mode : QPainter::CompositionMode_SourceOver);
}

QColor QtDc::PenColor() const {
  if (state_.rop2 == R2_BLACK) return Qt::black;
  if (state_.rop2 == R2_WHITE) return Qt::white;
  return ColorRefToQColor(state_.pen.color);
}

QBrush QtDc::MakeBrush() const {
  const LogBrush& b = state_.brush;
  ColorRef color = b.color;
  if (state_.rop2 == R2_BLACK) return QBrush(Qt::black);
  if (state_.rop2 == R2_WHITE) return QBrush(Qt::white);
  if (b.style == BS_HATCHED && b.hatch <= HS_DIAGCROSS) {
    QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
    QRgb fg = qRgb(RedOf(color), GreenOf(color), BlueOf(color));
    QRgb bg = state_.bkMode == OPAQUE ? qRgb(RedOf(state_.bkColor), GreenOf(state_.bkColor), BlueOf(state_.bkColor))
                                      : qRgba(0, 0, 0, 0);
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 8; ++x) tile.setPixel(x, y, HatchBit(b.hatch, x, y) ? fg : bg);
    }
    return QBrush(tile);
  }
  if ((b.style == BS_PATTERN || b.style == BS_DIBPATTERN || b.style == BS_DIBPATTERNPT) && b.pattern &&
      b.pattern->width > 0 && b.pattern->height > 0) {
    return QBrush(ImageFromDib(*b.pattern));
  }
  return QBrush(ColorRefToQColor(color));
}

QPen QtDc::WidePen() const {
  const LogPen& lp = state_.pen;
  QPen pen(PenColor());
  // Qt pens are at most 32767 pixels wide (wider ones are refused and left at one pixel).
  pen.setWidth(std::clamp(lp.width, 1, 32767));
  switch (lp.style & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE: pen.setCapStyle(Qt::SquareCap); break;
    case PS_ENDCAP_FLAT: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
  }
  switch (lp.style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL: pen.setJoinStyle(Qt::BevelJoin); break;
    case PS_JOIN_MITER: pen.setJoinStyle(Qt::MiterJoin); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
  }
  if (lp.KeepsDashes()) {
    switch (lp.Kind()) {
      case PS_DASH: pen.setStyle(Qt::DashLine); break;
      case PS_DOT: pen.setStyle(Qt::DotLine); break;
      case PS_DASHDOT: pen.setStyle(Qt::DashDotLine); break;
      case PS_DASHDOTDOT: pen.setStyle(Qt::DashDotDotLine); break;
      case PS_USERSTYLE:
      case PS_ALTERNATE: {
        std::vector<int> pattern = ThinPattern(lp);
        QList<qreal> dashes;
        for (int v : pattern) dashes.push_back(static_cast<qreal>(v) / pen.width());
        if (dashes.size() >= 2) pen.setDashPattern(dashes);
        break;
      }
      default: break;
    }
  }
  return pen;
}

void QtDc::ThinPolyline(const std::vector<Point>& pts, bool closed) {
  if (pts.empty()) return;
  if (!raster_) {
    QPen pen(PenColor());
    pen.setCosmetic(true);
    pen.setWidth(0);
    std::vector<int> pattern = ThinPattern(state_.pen);
    if (pattern.size() >= 2) {
      QList<qreal> dashes;
      for (int v : pattern) dashes.push_back(v);
      pen.setDashPattern(dashes);
    }
    std::vector<QPointF> points;
    points.reserve(pts.size());
    for (const Point& p : pts) points.emplace_back(p.x, p.y);
    StrokeClipped(points, closed, pen, nullptr);
    return;
  }
  std::vector<int> pattern = ThinPattern(state_.pen);
  int period = 0;
  for (int v : pattern) period += v;
  int64_t styleAt = 0;
  QVector<QPoint> on, off;
  // A solid pen that copies its colour draws runs of pixels in one row or one column as
  // rectangles of one pixel's width: the same pixels, whichever way they are drawn.
  const bool runs = period == 0 && (state_.rop2 == R2_COPYPEN || state_.rop2 == R2_BLACK || state_.rop2 == R2_WHITE);
  QVector<QRect> spans;
  auto put = [&](int x, int y) {
    if (runs) {
      if (!spans.isEmpty()) {
        QRect& r = spans.back();
        if (r.height() == 1 && y == r.top() && (x == r.right() + 1 || x == r.left() - 1)) {
          x > r.right() ? r.setRight(x) : r.setLeft(x);
          return;
        }
        if (r.width() == 1 && x == r.left() && (y == r.bottom() + 1 || y == r.top() - 1)) {
          y > r.bottom() ? r.setBottom(y) : r.setTop(y);
          return;
        }
      }
      spans.push_back(QRect(x, y, 1, 1));
      return;
    }
    if (period == 0) {
      on.push_back(QPoint(x, y));
      return;
    }
    int k = static_cast<int>(styleAt % period);
    size_t seg = 0;
    while (k >= pattern[seg]) {
      k -= pattern[seg];
      ++seg;
    }
    (seg % 2 == 0 ? on : off).push_back(QPoint(x, y));
    ++styleAt;
  };
  // Only the pixels inside the box can show; the steps before and after it only move the
  // dash pattern on, so the work follows the target's size, not the line's length.
  const Rect box = DrawBox(0);
  size_t n = pts.size();
  size_t segments = closed ? n : n - 1;
  for (size_t s = 0; s < segments; ++s) {
    const Point& a = pts[s];
    const Point& b = pts[(s + 1) % n];
    int64_t ddx = static_cast<int64_t>(b.x) - a.x, ddy = static_cast<int64_t>(b.y) - a.y;
    int64_t steps = std::max(std::llabs(ddx), std::llabs(ddy));
    // Each coordinate moves monotonically and stays within a pixel of a + i x d / steps, so
    // the steps whose pixel can lie inside the box form one range [lo, hi).
    int64_t lo = 0, hi = steps;
    auto limit = [&](int64_t start, int64_t d, int min, int max) {
      if (d == 0) {
        if (start < min || start >= max) hi = lo;
        return;
      }
      double i0 = (static_cast<double>(min) - 1 - start) * static_cast<double>(steps) / static_cast<double>(d);
      double i1 = (static_cast<double>(max) + 1 - start) * static_cast<double>(steps) / static_cast<double>(d);
      if (i0 > i1) std::swap(i0, i1);
      lo = std::max(lo, static_cast<int64_t>(std::max(std::floor(i0), -1.0)) - 1);
      hi = std::min(hi, static_cast<int64_t>(std::min(std::ceil(i1), static_cast<double>(steps))) + 2);
    };
    limit(a.x, ddx, box.left, box.right);
    limit(a.y, ddy, box.top, box.bottom);
    lo = std::max<int64_t>(lo, 0);
    hi = std::min(hi, steps);
    if (hi < lo) hi = lo;
    styleAt += lo;
    for (int64_t i = lo; i < hi; ++i) {
      // Minor axis rounded half away from the start, the same in every direction (in 128 bits:
      // the product of two 32-bit spans does not fit 64).
      using Wide = __int128;
      int64_t nx = ddx == 0 ? 0 : static_cast<int64_t>((2 * Wide{i} * ddx + (ddx > 0 ? steps : -steps)) / (2 * Wide{steps}));
      int64_t ny = ddy == 0 ? 0 : static_cast<int64_t>((2 * Wide{i} * ddy + (ddy > 0 ? steps : -steps)) / (2 * Wide{steps}));
      if (std::llabs(ddx) == steps) nx = ddx > 0 ? i : -i;
      if (std::llabs(ddy) == steps) ny = ddy > 0 ? i : -i;
      const int64_t x = a.x + nx, y = a.y + ny;
      if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) {
        put(static_cast<int>(x), static_cast<int>(y));
      } else {
        ++styleAt;
      }
    }
    styleAt += steps - hi;
  }
  if (!spans.isEmpty()) {
    p_->setPen(Qt::NoPen);
    p_->setBrush(PenColor());
    p_->drawRects(spans.constData(), static_cast<int>(spans.size()));
  }
  p_->setBrush(Qt::NoBrush);
  QPen pen(PenColor());
  pen.setCosmetic(true);
  pen.setWidth(0);
  if (!on.isEmpty()) {
    p_->setPen(pen);
    p_->drawPoints(on.constData(), static_cast<int>(on.size()));
  }
  if (!off.isEmpty() && state_.bkMode == OPAQUE) {
    pen.setColor(ColorRefToQColor(state_.bkColor));
    p_->setPen(pen);
    p_->drawPoints(off.constData(), static_cast<int>(off.size()));
  }
}

Rect QtDc::DrawBox(int margin) const {
  const Rect box = VisibleBox();
  if (box.IsEmpty()) return Rect{};
  auto widen = [margin](int v, int sign) {
    return static_cast<int>(std::clamp<int64_t>(v + int64_t{sign} * margin, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
  };
  return Rect{widen(box.left, -1), widen(box.top, -1), widen(box.right, 1), widen(box.bottom, 1)};
}

void QtDc::StrokeClipped(const std::vector<QPointF>& points, bool closed, const QPen& pen, const QRectF* rect) {
  if (points.size() < 2) return;
  // Beyond the margin a stroke (its caps and joins included) cannot reach into the box.
  const int margin = 2 * std::max(1, pen.width()) + 4;
  const Rect r = DrawBox(margin);
  if (r.IsEmpty()) return;
  const QRectF box(r.left, r.top, static_cast<double>(r.right) - r.left, static_cast<double>(r.bottom) - r.top);
  p_->setBrush(Qt::NoBrush);
  bool inside = true;
  for (const QPointF& p : points) inside = inside && box.contains(p);
  if (inside) {
    p_->setPen(pen);
    if (rect) {
      p_->drawRect(*rect);
    } else if (closed) {
      p_->drawPolygon(points.data(), static_cast<int>(points.size()));
    } else {
      p_->drawPolyline(points.data(), static_cast<int>(points.size()));
    }
    return;
  }
  // Runs of the lines inside the box, each stroked with the dash pattern moved on by the
  // length before it (in pen widths, as the pattern is given).
  struct Run {
    std::vector<QPointF> points;
    double start = 0;
    bool fromFirstPoint = false, toFirstPoint = false;
  };
  std::vector<Run> runs;
  bool open = false;  // the last run goes on
  double travelled = 0;
  const size_t n = points.size();
  const size_t segments = closed ? n : n - 1;
  for (size_t s = 0; s < segments; ++s) {
    const QPointF a = points[s], b = points[(s + 1) % n];
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double length = std::hypot(dx, dy);
    // The part of the segment inside the box (Liang-Barsky).
    double t0 = 0, t1 = 1;
    auto cut = [&](double p, double q) {
      if (p == 0) return q >= 0;
      const double t = q / p;
      if (p < 0) {
        if (t > t1) return false;
        t0 = std::max(t0, t);
      } else {
        if (t < t0) return false;
        t1 = std::min(t1, t);
      }
      return true;
    };
    const bool visible = cut(-dx, a.x() - box.left()) && cut(dx, box.right() - a.x()) && cut(-dy, a.y() - box.top()) &&
                         cut(dy, box.bottom() - a.y()) && t0 <= t1;
    if (!visible) {
      open = false;
    } else {
      if (!open || t0 > 0) {
        runs.push_back(Run{{QPointF(a.x() + t0 * dx, a.y() + t0 * dy)}, travelled + t0 * length, s == 0 && t0 == 0});
      }
      runs.back().points.emplace_back(a.x() + t1 * dx, a.y() + t1 * dy);
      open = t1 >= 1;
      if (closed && s + 1 == segments && open) runs.back().toFirstPoint = true;
    }
    travelled += length;
  }
  // A closed figure whose first and last runs meet at its first point is one run there.
  if (runs.size() >= 2 && runs.front().fromFirstPoint && runs.back().toFirstPoint) {
    Run& last = runs.back();
    last.points.insert(last.points.end(), runs.front().points.begin() + 1, runs.front().points.end());
    runs.erase(runs.begin());
  }
  const double unit = std::max(1.0, pen.widthF());
  for (const Run& run : runs) {
    QPen q = pen;
    q.setDashOffset(pen.dashOffset() + run.start / unit);
    p_->setPen(q);
    p_->drawPolyline(run.points.data(), static_cast<int>(run.points.size()));
  }
}

void QtDc::FillRects(const std::vector<Rect>& rects, const QBrush& brush) {
  const Rect box = DrawBox(0);
  for (const Rect& r : rects) {
    const Rect c = Intersection(r.Normalized(), box);
    if (!c.IsEmpty()) p_->fillRect(ToQRect(c), brush);
  }
}

void QtDc::MoveTo(int x, int y) {
  DeviceContext::MoveTo(x, y);
  if (PathOpen()) path_.moveTo(x, y);
}

void QtDc::LineTo(int x, int y) {
  Point from = state_.pos;
  state_.pos = Point{x, y};
  if (PathOpen()) {
    if (path_.elementCount() == 0) path_.moveTo(from.x, from.y);
    path_.lineTo(x, y);
    return;
  }
  if (!HasPen()) return;
  Prepare();
  if (!SetRop(state_.rop2)) return;
  if (state_.pen.IsThin()) {
    ThinPolyline({from, Point{x, y}}, false);
  } else {
    StrokeClipped({QPointF(from.x, from.y), QPointF(x, y)}, false, WidePen(), nullptr);
  }
}

void QtDc::Polyline(const std::vector<Point>& points) {
  if (PathOpen() && !points.empty()) {
    path_.moveTo(points[0].x, points[0].y);
    for (size_t k = 1; k < points.size(); ++k) path_.lineTo(points[k].x, points[k].y);
    return;
  }
  if (points.size() < 2 || !HasPen()) return;
  Prepare();
  if (!SetRop(state_.rop2)) return;
  if (state_.pen.IsThin()) {
    ThinPolyline(points, false);
  } else {
    StrokeClipped(ToPointsF(points), false, WidePen(), nullptr);
  }
}

void QtDc::Polygon(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  if (PathOpen()) {
    path_.addPolygon(ToQPolygon(points));
    path_.closeSubpath();
    return;
  }
  Prepare();
  if (!SetRop(state_.rop2)) return;
  if (HasBrush() && points.size() >= 3) {
    const Rect box = DrawBox(0);
    FillRects(Region::Polygon(points, state_.polyFillMode, &box).Rects(), MakeBrush());
  }
  if (!HasPen()) return;
  if (state_.pen.IsThin()) {
    ThinPolyline(points, true);
  } else {
    StrokeClipped(ToPointsF(points), true, WidePen(), nullptr);
  }
}

void QtDc::Rectangle(int left, int top, int right, int bottom) {
  Rect n = Rect{left, top, right, bottom}.Normalized();
  if (n.right - n.left < 1 || n.bottom - n.top < 1) return;
  if (PathOpen()) {
    path_.addRect(QRectF(n.left, n.top, n.Width() - 1, n.Height() - 1));
    return;
  }
  Prepare();
  if (!SetRop(state_.rop2)) return;
  const bool thin = HasPen() && state_.pen.IsThin();
  if (HasBrush()) {
    Rect inner = thin ? Rect{n.left + 1, n.top + 1, n.right - 1, n.bottom - 1}
                      : Rect{n.left, n.top, n.right - 1, n.bottom - 1};
    if (!inner.IsEmpty()) FillRects({inner}, MakeBrush());
  }
  if (!HasPen()) return;
  if (thin) {
    ThinPolyline({{n.left, n.top}, {n.right - 1, n.top}, {n.right - 1, n.bottom - 1}, {n.left, n.bottom - 1}}, true);
  } else {
    const double inset = state_.pen.Kind() == PS_INSIDEFRAME ? state_.pen.width / 2.0 : 0;
    const double l = n.left + inset, t = n.top + inset;
    const double r = static_cast<double>(n.right) - 1 - inset, b = static_cast<double>(n.bottom) - 1 - inset;
    const QRectF frame(l, t, r - l, b - t);
    StrokeClipped({QPointF(l, t), QPointF(r, t), QPointF(r, b), QPointF(l, b)}, true, WidePen(), &frame);
  }
}

void QtDc::RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
  Rect n = Rect{left, top, right, bottom}.Normalized();
  if (n.right - n.left < 2 || n.bottom - n.top < 2) return;
  QRectF box(n.left, n.top, n.Width() - 1, n.Height() - 1);
  double rx = std::min(std::abs(cornerW), n.Width()) / 2.0, ry = std::min(std::abs(cornerH), n.Height()) / 2.0;
  if (PathOpen()) {
    path_.addRoundedRect(box, rx, ry);
    return;
  }
  Prepare();
  if (!SetRop(state_.rop2)) return;
  if (HasBrush()) {
    p_->setPen(Qt::NoPen);
    p_->setBrush(MakeBrush());
    p_->drawRoundedRect(box, rx, ry);
  }
  if (!HasPen()) return;
  p_->setPen(CurvePen(box));
  p_->setBrush(Qt::NoBrush);
  p_->drawRoundedRect(box, rx, ry);
}

void QtDc::Ellipse(int left, int top, int right, int bottom) {
  Rect n = Rect{left, top, right, bottom}.Normalized();
  if (n.right - n.left < 2 || n.bottom - n.top < 2) return;
  QRect box(n.left, n.top, n.Width() - 1, n.Height() - 1);
  if (PathOpen()) {
    path_.addEllipse(QRectF(box));
    return;
  }
  Prepare();
  if (!SetRop(state_.rop2)) return;
  if (HasBrush()) {
    p_->setPen(Qt::NoPen);
    p_->setBrush(MakeBrush());
    p_->drawEllipse(box);
  }
  if (!HasPen()) return;
  p_->setPen(CurvePen(box));
  p_->setBrush(Qt::NoBrush);
  p_->drawEllipse(box);
}

void QtDc::ArcShape(ArcKind kind, int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  Rect n = Rect{l, t, r, b}.Normalized();
  if (n.right - n.left < 2 || n.bottom - n.top < 2) return;
  double a0, sweep;
  ArcAngles(n, xs, ys, xe, ye, state_.arcDirection, a0, sweep);
  QRect box(n.left, n.top, n.Width() - 1, n.Height() - 1);
  if (PathOpen()) {
    if (kind == ArcKind::Pie) {
      path_.moveTo(QRectF(box).center());
      path_.arcTo(QRectF(box), a0, sweep);
      path_.closeSubpath();
    } else {
      path_.arcMoveTo(QRectF(box), a0);
      path_.arcTo(QRectF(box), a0, sweep);
      if (kind == ArcKind::Chord) path_.closeSubpath();
    }
    return;
  }
  Prepare();
  if (!SetRop(state_.rop2)) return;
  int start16 = static_cast<int>(std::lround(a0 * 16)), span16 = static_cast<int>(std::lround(sweep * 16));
  if (kind != ArcKind::Arc && HasBrush()) {
    p_->setPen(Qt::NoPen);
    p_->setBrush(MakeBrush());
    if (kind == ArcKind::Pie) {
      p_->drawPie(box, start16, span16);
    } else {
      p_->drawChord(box, start16, span16);
    }
  }
  if (!HasPen()) return;
  p_->setPen(CurvePen(box));
  p_->setBrush(Qt::NoBrush);
  switch (kind) {
    case ArcKind::Arc: p_->drawArc(box, start16, span16); break;
    case ArcKind::Pie: p_->drawPie(box, start16, span16); break;
    case ArcKind::Chord: p_->drawChord(box, start16, span16); break;
  }
}

void QtDc::Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  ArcShape(ArcKind::Arc, l, t, r, b, xs, ys, xe, ye);
}
void QtDc::Pie(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  ArcShape(ArcKind::Pie, l, t, r, b, xs, ys, xe, ye);
}
void QtDc::Chord(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  ArcShape(ArcKind::Chord, l, t, r, b, xs, ys, xe, ye);
}

// Qt's own limit of the em it keeps glyph images for.
constexpr int64_t kCachedEm = 64;

bool GlyphsDrawnAsOutlines(const QFont& font) {
  // The widest glyph image we let Qt keep.
  constexpr int64_t kWidestCachedGlyph = 128;
  const int64_t em = font.pixelSize();
  const int64_t stretch = font.stretch() > 0 ? font.stretch() : 100;
  return em <= kCachedEm && em * stretch > kWidestCachedGlyph * 100;
}

bool MissingGlyphOfALargeFont(const QFont& font, const QFontMetricsF& metrics, char16_t c) {
  return font.pixelSize() > kCachedEm && !metrics.inFont(QChar(c));
}

void QtDc::ExtTextOut(int x, int y, uint32_t options, const Rect* rect, std::u16string_view text,
                      const std::vector<int>* dx) {
  Prepare();
  p_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  std::vector<int> advances;
  const int width = TextAdvances(x, y, text, dx, advances);
  if (PathOpen()) {
    // The glyph outlines join the path.
    TextMetrics tm = GetTextMetrics();
    Point o = TextCellOffset(state_.textAlign, width, tm);
    QFont font = QtFontEngine::Instance().MakeFont(state_.font);
    QPainterPath glyphs;
    int cx = o.x;
    for (size_t k = 0; k < text.size(); ++k) {
      glyphs.addText(QPointF(cx, o.y + tm.ascent), font, QString(QChar(text[k])));
      cx += advances[k];
    }
    QTransform t;
    t.translate(x, y);
    if (ReducedAngle(state_.font.escapement) != 0) t.rotate(-ReducedAngle(state_.font.escapement) / 10.0);
    path_.addPath(t.map(glyphs));
    if (state_.textAlign & TA_UPDATECP) state_.pos.x += width;
    return;
  }
  const QColor bk = ColorRefToQColor(state_.bkColor);
  if (rect && (options & ETO_OPAQUE)) {
    const Rect box = Intersection(rect->Normalized(), DrawBox(0));
    if (!box.IsEmpty()) p_->fillRect(ToQRect(box), bk);
  }
  p_->save();
  if (rect && (options & ETO_CLIPPED)) {
    p_->setClipRect(ToQRect(rect->Normalized()), p_->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  }
  if (!text.empty()) {
    TextMetrics tm = GetTextMetrics();
    Point o = TextCellOffset(state_.textAlign, width, tm);
    p_->translate(x, y);
    if (ReducedAngle(state_.font.escapement) != 0) p_->rotate(-ReducedAngle(state_.font.escapement) / 10.0);
    if (state_.bkMode == OPAQUE) p_->fillRect(QRect(o.x, o.y, width, tm.height), bk);
    const QFont font = QtFontEngine::Instance().MakeFont(state_.font);
    p_->setFont(font);
    p_->setPen(ColorRefToQColor(state_.textColor));
    p_->setRenderHint(QPainter::TextAntialiasing, true);
    const bool outlines = GlyphsDrawnAsOutlines(font);
    const QFontMetricsF metrics(font);
    QPainterPath glyphs;
    int cx = o.x;
    const int baseline = o.y + tm.ascent;
    for (size_t k = 0; k < text.size(); ++k) {
      char16_t c = text[k];
      if (c != u' ' && c != 0x3000) {
        if (outlines || MissingGlyphOfALargeFont(font, metrics, c)) {
          glyphs.addText(QPointF(cx, baseline), font, QString(QChar(c)));
        } else {
          p_->drawText(QPoint(cx, baseline), QString(QChar(c)));
        }
      }
      cx += advances[k];
    }
    if (!glyphs.isEmpty()) {
      p_->setRenderHint(QPainter::Antialiasing, true);
      p_->fillPath(glyphs, ColorRefToQColor(state_.textColor));
    }
  }
  p_->restore();
  clipDirty_ = true;  // restore() brought the painter's own clip back; keep ours in charge
  if (state_.textAlign & TA_UPDATECP) state_.pos.x += width;
}

bool QtDc::Native(DcFeature feature) const {
  switch (feature) {
    case DcFeature::AlphaBlend: return true;
    case DcFeature::ReadPixels: return image_ != nullptr;
    case DcFeature::RasterOps: return raster_;
    default: return false;
  }
}

bool QtDc::AlphaBlend(const Rect& dest, const Dib& bitmap, const Rect& src, uint8_t alpha) {
  // Raster images blend by the exact rule of the base class; other devices by opacity.
  if (image_) return DeviceContext::AlphaBlend(dest, bitmap, src, alpha);
  if (dest.Width() < 0 || dest.Height() < 0 || src.Width() < 0 || src.Height() < 0) return false;
  const Rect s = bitmap.Part(src);
  if (dest.IsEmpty() || s.IsEmpty()) return true;
  Prepare();
  SetComposition(QPainter::CompositionMode_SourceOver);
  p_->setOpacity(alpha / 255.0);
  p_->drawImage(ToQRect(dest), ImageFromDib(bitmap, s));
  p_->setOpacity(1.0);
  return true;
}

bool QtDc::PatBlt(const Rect& r, uint32_t rop) {
  Rect n = r.Normalized();
  if (n.IsEmpty()) return true;
  if (!raster_ && (rop == DSTINVERT || rop == PATINVERT)) return false;
  Prepare();
  QBrush brush;
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  switch (rop) {
    case BLACKNESS: brush = QBrush(Qt::black); break;
    case WHITENESS: brush = QBrush(Qt::white); break;
    case DSTINVERT:
      brush = QBrush(Qt::black);
      mode = QPainter::RasterOp_NotDestination;
      break;
    case PATINVERT:
      if (state_.brush.style == BS_NULL) return true;
      brush = MakeBrush();
      mode = QPainter::RasterOp_SourceXorDestination;
      break;
    default:
      if (state_.brush.style == BS_NULL) return true;
      brush = MakeBrush();
      break;
  }
  SetComposition(mode);
  const Rect box = Intersection(n, DrawBox(0));
  if (!box.IsEmpty()) p_->fillRect(ToQRect(box), brush);
  return true;
}

namespace {

// Copies the `width` Dib values from `from` into an RGB32 row (the same order, the top byte set).
void DibRowToRgb32(const uint32_t* from, QRgb* to, int width) {
  for (int x = 0; x < width; ++x) to[x] = 0xFF000000u | from[x];
}

// Copies an RGB32 (or ARGB32) row into Dib values (the top byte cleared).
void Rgb32RowToDib(const QRgb* from, uint32_t* to, int width) {
  for (int x = 0; x < width; ++x) to[x] = from[x] & 0xFFFFFFu;
}

// The part `s` (inside the bitmap) of `dib` as RGB32 in `img`, whose memory is reused when it
// has the size and is not shared.
void FillImageFromDib(const Dib& dib, const Rect& s, QImage& img) {
  if (img.width() != s.Width() || img.height() != s.Height() || img.format() != QImage::Format_RGB32 ||
      !img.isDetached()) {
    img = QImage(s.Width(), s.Height(), QImage::Format_RGB32);
  }
  for (int y = 0; y < img.height(); ++y) {
    DibRowToRgb32(dib.pixels.data() + static_cast<size_t>(s.top + y) * dib.width + s.left,
                  reinterpret_cast<QRgb*>(img.scanLine(y)), img.width());
  }
}

}  // namespace

bool QtDc::StretchDIBits(const Rect& dest, const Rect& src, const Dib& dib, uint32_t rop) {
  if (!raster_ && (rop == SRCAND || rop == SRCPAINT || rop == SRCINVERT)) return false;
  if (dib.width <= 0 || dib.height <= 0 || dest.Width() == 0 || dest.Height() == 0) return true;
  const Rect s = dib.Part(src);
  if (s.IsEmpty()) return true;
  if (dib.pixels.size() < static_cast<size_t>(dib.width) * dib.height) {
    // A bitmap without its pixels draws as an empty image does.
    return DrawImage(dest, QImage(), rop);
  }
  FillImageFromDib(dib, s, bits_);
  return DrawImage(dest, bits_, rop);
}

bool QtDc::DrawImage(const Rect& dest, const QImage& image, uint32_t rop) {
  if (!raster_ && (rop == SRCAND || rop == SRCPAINT || rop == SRCINVERT)) return false;
  Prepare();
  const QImage* img = &image;
  QImage changed;
  bool mirrorX = dest.Width() < 0, mirrorY = dest.Height() < 0;
  if (mirrorX || mirrorY) {
    changed = img->mirrored(mirrorX, mirrorY);
    img = &changed;
  }
  const Rect d = dest.Normalized();
  if (state_.stretchMode == HALFTONE && (d.Width() < img->width() || d.Height() < img->height())) {
    // Shrinking in halftone mode averages the source pixels, so thin lines and small text stay
    // readable instead of being dropped by sampling.
    changed = img->scaled(d.Width(), d.Height(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    img = &changed;
  }
  QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
  switch (rop) {
    case SRCAND: mode = QPainter::RasterOp_SourceAndDestination; break;
    case SRCPAINT: mode = QPainter::RasterOp_SourceOrDestination; break;
    case SRCINVERT: mode = QPainter::RasterOp_SourceXorDestination; break;
    default: break;
  }
  SetComposition(mode);
  p_->drawImage(ToQRect(d), *img);
  return true;
}

bool QtDc::BitBlt(const Rect& dest, const DeviceContext& source, int sx, int sy, uint32_t rop) {
  const auto* from = dynamic_cast<const QtDc*>(&source);
  const Rect d = dest.Normalized();
  // A copy within one image goes through a bitmap: the parts may overlap.
  if (!from || from == this || !from->image_ || d.IsEmpty()) return DeviceContext::BitBlt(dest, source, sx, sy, rop);
  const QImage& image = *from->image_;
  if (sx < 0 || sy < 0 || int64_t{sx} + d.Width() > image.width() || int64_t{sy} + d.Height() > image.height()) {
    return DeviceContext::BitBlt(dest, source, sx, sy, rop);
  }
  // The source's pixels in place (no copy): RGB32 rows are what the bitmap way would draw.
  const QImage part(image.constScanLine(sy) + static_cast<size_t>(sx) * sizeof(QRgb), d.Width(), d.Height(),
                    image.bytesPerLine(), QImage::Format_RGB32);
  return DrawImage(d, part, rop);
}

void QtDc::SetPixel(int x, int y, ColorRef color) {
  Prepare();
  p_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  QPen pen(ColorRefToQColor(color));
  pen.setCosmetic(true);
  pen.setWidth(0);
  p_->setPen(pen);
  p_->drawPoint(x, y);
}

QPen QtDc::OutlinePen() const {
  if (!state_.pen.IsThin()) return WidePen();
  QPen pen(PenColor(), 0);
  pen.setCosmetic(true);
  return pen;
}

bool DashesKeptOnCurve(const QRectF& extent) {
  constexpr qreal kLargestDashedCurve = 65536;
  return extent.width() <= kLargestDashedCurve && extent.height() <= kLargestDashedCurve;
}

QPen QtDc::CurvePen(const QRectF& extent) const {
  QPen pen = OutlinePen();
  if (pen.style() != Qt::SolidLine && !DashesKeptOnCurve(extent)) pen.setStyle(Qt::SolidLine);
  return pen;
}

void QtDc::ArcTo(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  Rect n = Rect{l, t, r, b}.Normalized();
  double a0, sweep;
  ArcAngles(n, xs, ys, xe, ye, state_.arcDirection, a0, sweep);
  QRectF box(n.left, n.top, n.Width(), n.Height());
  QPainterPath arc;
  arc.moveTo(state_.pos.x, state_.pos.y);
  arc.arcTo(box, a0, sweep);
  QPointF end = arc.currentPosition();
  if (PathOpen()) {
    if (path_.elementCount() == 0) path_.moveTo(state_.pos.x, state_.pos.y);
    path_.arcTo(box, a0, sweep);
  } else if (HasPen()) {
    Prepare();
    if (SetRop(state_.rop2)) p_->strokePath(arc, CurvePen(arc.controlPointRect()));
  }
  state_.pos = Point{static_cast<int>(std::lround(end.x())), static_cast<int>(std::lround(end.y()))};
}

void QtDc::BeginPath() {
  DeviceContext::BeginPath();
  path_ = QPainterPath();
}

void QtDc::CloseFigure() {
  if (PathOpen()) path_.closeSubpath();
}

void QtDc::WidenPath() {
  if (pathState_ == kNoPath) return;
  if (PathOpen()) EndPath();
  const QPen pen = WidePen();
  QPainterPathStroker stroker;
  stroker.setWidth(std::max(1, state_.pen.width));
  stroker.setCapStyle(pen.capStyle());
  stroker.setJoinStyle(pen.joinStyle());
  if (pen.style() != Qt::SolidLine && DashesKeptOnCurve(path_.controlPointRect())) {
    stroker.setDashPattern(pen.dashPattern());
  }
  // One outline without overlaps, so either fill mode fills it whole.
  path_ = stroker.createStroke(path_).simplified();
}

void QtDc::UsePath(bool stroke, bool fill) {
  if (pathState_ == kNoPath) return;
  pathState_ = kNoPath;
  Prepare();
  if (!SetRop(state_.rop2)) return;
  path_.setFillRule(state_.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  if (fill && HasBrush()) p_->fillPath(path_, MakeBrush());
  if (stroke && HasPen()) p_->strokePath(path_, CurvePen(path_.controlPointRect()));
  path_ = QPainterPath();
}

void QtDc::StrokePath() { UsePath(true, false); }
void QtDc::FillPath() { UsePath(false, true); }
void QtDc::StrokeAndFillPath() { UsePath(true, true); }

void QtDc::SelectClipPath(int mode) {
  if (pathState_ == kNoPath) return;
  pathState_ = kNoPath;
  // The inside of the path, figure by figure, as the same pixel region every back end uses
  // (as far as the surface reaches).
  const Rect visible = SurfaceBox();
  Region inside;
  for (const QPolygonF& poly : path_.toSubpathPolygons()) {
    std::vector<Point> pts;
    for (const QPointF& p : poly) pts.push_back(Point{static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))});
    inside = Region::Combine(inside, Region::Polygon(pts, state_.polyFillMode, visible.IsEmpty() ? nullptr : &visible),
                             state_.polyFillMode == WINDING ? RGN_OR : RGN_XOR);
  }
  path_ = QPainterPath();
  SelectClipRegion(&inside, mode);
}

bool QtDc::GetBits(const Rect& r, Dib& out) const {
  Rect n = r.Normalized();
  if (!image_ || n.IsEmpty()) return false;
  out.width = n.Width();
  out.height = n.Height();
  // The memory of `out` is reused; pixels beyond the image are white.
  out.pixels.resize(static_cast<size_t>(out.width) * out.height);
  // The columns that lie on the image.
  const int first = std::clamp(-n.left, 0, out.width);
  const int last = static_cast<int>(std::clamp<int64_t>(int64_t{image_->width()} - n.left, first, out.width));
  for (int y = 0; y < out.height; ++y) {
    uint32_t* row = out.pixels.data() + static_cast<size_t>(y) * out.width;
    const int sy = n.top + y;
    if (sy < 0 || sy >= image_->height()) {
      std::fill(row, row + out.width, 0xFFFFFFu);
      continue;
    }
    std::fill(row, row + first, 0xFFFFFFu);
    Rgb32RowToDib(reinterpret_cast<const QRgb*>(image_->constScanLine(sy)) + (n.left + first), row + first, last - first);
    std::fill(row + last, row + out.width, 0xFFFFFFu);
  }
  return true;
}

ColorRef QtDc::GetPixel(int x, int y) const {
  if (!image_ || x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return CLR_INVALID;
  if (state_.clip && !state_.clip->Contains(x, y)) return CLR_INVALID;
  return QRgbToColorRef(image_->pixel(x, y));
}

QImage ImageFromDib(const Dib& dib) { return ImageFromDib(dib, Rect{0, 0, dib.width, dib.height}); }

QImage ImageFromDib(const Dib& dib, const Rect& part) {
  const Rect s = dib.Part(part);
  if (s.IsEmpty() || dib.pixels.size() < static_cast<size_t>(dib.width) * dib.height) return QImage();
  QImage img;
  FillImageFromDib(dib, s, img);
  return img;
}

Dib DibFromImage(const QImage& source) {
  const QImage image = source.format() == QImage::Format_RGB32 || source.format() == QImage::Format_ARGB32
                           ? source
                           : source.convertToFormat(QImage::Format_RGB32);
  Dib dib;
  dib.width = image.width();
  dib.height = image.height();
  dib.pixels.resize(static_cast<size_t>(dib.width) * dib.height);
  for (int y = 0; y < dib.height; ++y) {
    Rgb32RowToDib(reinterpret_cast<const QRgb*>(image.constScanLine(y)),
                  dib.pixels.data() + static_cast<size_t>(y) * dib.width, dib.width);
  }
  return dib;
}

}  // namespace platform
