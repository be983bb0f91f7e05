// Projection, the 3D shapes and the buffered display.
#include "chart/canvas3d.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "chart/effects.h"
#include "platform/qt/dc_qt.h"

namespace chart {

using platform::BrushStyle;
using platform::PenStyle;

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// Sides of cylinders and cones, and the tip of a cone given no percent (pointed).
constexpr int kCylinderSides = 16;
constexpr int kDefaultConePercent = 0;

}  // namespace

// ---- View options -------------------------------------------------------------------------

void TView3DOptions::Changed() {
  if (parent_) parent_->Invalidate();
}

CHART_SETTER(TView3DOptions, Elevation, elevation_, double)
CHART_SETTER(TView3DOptions, Rotation, rotation_, double)
CHART_SETTER(TView3DOptions, FontZoom, fontZoom_, int)
CHART_SETTER(TView3DOptions, Orthogonal, orthogonal_, bool)
CHART_SETTER(TView3DOptions, OrthoAngle, orthoAngle_, int)
CHART_SETTER(TView3DOptions, Perspective, perspective_, int)
CHART_SETTER(TView3DOptions, Tilt, tilt_, int)
CHART_SETTER(TView3DOptions, ZoomText, zoomText_, bool)

void TView3DOptions::SetHorizOffset(int v) {
  if (!ChangeValue(horizOffset_, v)) return;
  Changed();
  if (onScrolled) onScrolled(true);
}

void TView3DOptions::SetVertOffset(int v) {
  if (!ChangeValue(vertOffset_, v)) return;
  Changed();
  if (onScrolled) onScrolled(false);
}

void TView3DOptions::SetZoom(int percent) {
  if (zoom_ == percent) return;
  if (onZoomChanged) onZoomChanged(percent);
  zoom_ = percent;
  Changed();
}

void TView3DOptions::Assign(const TView3DOptions& s) {
  elevation_ = s.elevation_;
  fontZoom_ = s.fontZoom_;
  horizOffset_ = s.horizOffset_;
  orthogonal_ = s.orthogonal_;
  orthoAngle_ = s.orthoAngle_;
  perspective_ = s.perspective_;
  rotation_ = s.rotation_;
  tilt_ = s.tilt_;
  vertOffset_ = s.vertOffset_;
  zoom_ = s.zoom_;
  zoomText_ = s.zoomText_;
}

double TView3DOptions::OrthoTangent() const {
  if (!orthogonal_) return 1;
  const int angle = orthoAngle_ > 90 ? 180 - orthoAngle_ : orthoAngle_;
  return std::tan(angle * kDegree);
}

// ---- Projection helpers of the 3D canvas --------------------------------------------------

TRect TCanvas3D::ProjectRect(const TRect& r, int z) {
  const TPoint a = ProjectPoint(r.left, r.top, z), b = ProjectPoint(r.right, r.bottom, z);
  return TRect{a.x, a.y, b.x, b.y};
}

std::array<TPoint, 4> TCanvas3D::ProjectRectCorners(const TRect& r, int z) {
  return {ProjectPoint(r.left, r.top, z), ProjectPoint(r.right, r.top, z), ProjectPoint(r.right, r.bottom, z),
          ProjectPoint(r.left, r.bottom, z)};
}

TRect TCanvas3D::ProjectedRectBounds(const TRect& r, int z) { return platform::BoundingBox(ProjectRectCorners(r, z)); }

void TCanvas3D::DrawPicture3D(const TRect& rect, const platform::TGraphic& graphic, int z) {
  if (graphic.Empty()) return;
  const platform::Dib picture = GraphicBitmap(graphic);
  Pen().SetStyle(PenStyle::Clear);
  const BrushStyle savedStyle = Brush().Style();
  const uint32_t savedColor = Brush().Color();
  Brush().SetStyle(BrushStyle::Solid);
  const double sx = static_cast<double>(rect.Width()) / picture.width;
  const double sy = static_cast<double>(rect.Height()) / picture.height;
  for (int r = 0; r < picture.height; ++r) {
    for (int c = 0; c < picture.width; ++c) {
      const int x0 = rect.left + Round(c * sx), x1 = rect.left + Round((c + 1) * sx);
      const int y0 = rect.top + Round(r * sy), y1 = rect.top + Round((r + 1) * sy);
      const TPoint quad[4] = {ProjectPoint(x0, y0, z), ProjectPoint(x1, y0, z), ProjectPoint(x1, y1, z),
                              ProjectPoint(x0, y1, z)};
      Brush().SetColor(picture.Pixel(c, r));
      DrawPolygon(quad);
    }
  }
  Brush().SetStyle(savedStyle);
  Brush().SetColor(savedColor);
}

// ---- The buffer ---------------------------------------------------------------------------

struct TPlotCanvas3D::Buffer {
  QImage image;
  std::unique_ptr<platform::QtDc> dc;
  std::unique_ptr<platform::Canvas> canvas;

  void Resize(int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    if (dc && image.width() == width && image.height() == height) return;
    canvas.reset();
    dc.reset();
    image = QImage(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    dc = std::make_unique<platform::QtDc>(image);
    canvas = std::make_unique<platform::Canvas>(*dc);
  }
};

TPlotCanvas3D::TPlotCanvas3D() = default;
TPlotCanvas3D::~TPlotCanvas3D() = default;

const QImage* TPlotCanvas3D::BufferImage() const { return buffer_ ? &buffer_->image : nullptr; }
platform::Canvas* TPlotCanvas3D::BufferCanvas() const { return buffer_ ? buffer_->canvas.get() : nullptr; }

platform::Canvas& TPlotCanvas3D::IdleCanvas() {
  if (!idle_) {
    idle_ = std::make_unique<Buffer>();
    idle_->Resize(1, 1);
  }
  return *idle_->canvas;
}

platform::Canvas& TPlotCanvas3D::OwnCanvas() { return buffer_ ? *buffer_->canvas : IdleCanvas(); }

void TPlotCanvas3D::FreeBuffer() {
  if (!buffer_) return;
  // A canvas that stood on the buffer goes on measuring and drawing on its own surface.
  if (canvas_ == buffer_->canvas.get()) SetCanvas(&IdleCanvas());
  buffer_.reset();
}

void TPlotCanvas3D::BlitBuffer(int x, int y, platform::Canvas& target) {
  if (!buffer_) return;
  const int w = buffer_->image.width(), h = buffer_->image.height();
  target.Dc().BitBlt(TRect{x, y, x + w, y + h}, *buffer_->dc, 0, 0);
}

void TPlotCanvas3D::SetBufferedDisplay(bool on) {
  if (buffered_ == on) return;
  buffered_ = on;
  if (!on && buffer_) {
    if (!keepBuffer_) {
      FreeBuffer();
      dirty_ = true;
    }
  } else if (on && buffer_) {
    SetCanvas(buffer_->canvas.get());
  }
}

void TPlotCanvas3D::SetMonochrome(bool on) {
  if (monochrome_ == on) return;
  monochrome_ = on;
  dirty_ = true;
  if (options_ && options_->Parent()) options_->Parent()->Invalidate();
}

TRect TPlotCanvas3D::BeginFrame(platform::Canvas* canvas, TView3DOptions* options, TColor, bool is3D,
                                const TRect& rect) {
  bounds_ = rect;
  options_ = options;
  // A frame that ended by an exception may have left flat drawing open.
  flatCount_ = 0;
  if (options) fontZoom_ = options->FontZoom();
  is3D_ = is3D;
  isOrthogonal_ = false;
  zoomFactor_ = 1;
  hasPerspective_ = false;
  perspectiveFactor_ = 0;
  if (is3D && options) {
    isOrthogonal_ = options->Orthogonal();
    if (isOrthogonal_) {
      int angle = options->OrthoAngle();
      orthoX_ = 1;
      if (angle > 90) {
        orthoX_ = -1;
        angle = 180 - angle;
      }
      const double a = angle * kDegree;
      orthoY_ = std::cos(a) < 0.01 ? 1 : std::tan(a);
    }
    zoomFactor_ = options->Zoom() * 0.01;
    textZoom_ = options->ZoomText();
    if (!isOrthogonal_) ComputeRotation();
  }
  if (buffered_) {
    if (!buffer_) buffer_ = std::make_unique<Buffer>();
    buffer_->Resize(rect.Width(), rect.Height());
    SetCanvas(buffer_->canvas.get());
    return TRect{0, 0, buffer_->image.width(), buffer_->image.height()};
  }
  SetCanvas(canvas);
  return rect;
}

void TPlotCanvas3D::EndFrame(platform::Canvas* target, platform::Canvas* own, const TRect& rect) {
  if (buffered_ && buffer_ && target) {
    BlitBuffer(rect.left, rect.top, *target);
    dirty_ = false;
  }
  SetCanvas(own);
}

bool TPlotCanvas3D::RepaintFromBuffer() {
  if (dirty_ || !buffer_ || !canvas_) return false;
  BlitBuffer(0, 0, *canvas_);
  return true;
}

// ---- Projection ---------------------------------------------------------------------------

void TPlotCanvas3D::ComputeRotation() {
  const double e = options_ ? -options_->ElevationValue() : 0;
  const double r = options_ ? -options_->RotationValue() : 0;
  const double t = options_ ? options_->Tilt() : 0;
  hasPerspective_ = false;
  perspectiveFactor_ = 0;
  sinE_ = std::sin(static_cast<long double>(e * kDegree));
  cosE_ = std::cos(static_cast<long double>(e * kDegree));
  sinR_ = std::sin(static_cast<long double>(r * kDegree));
  cosR_ = std::cos(static_cast<long double>(r * kDegree));
  sinT_ = std::sin(static_cast<long double>(t * kDegree));
  cosT_ = std::cos(static_cast<long double>(t * kDegree));
  hasTilt_ = t != 0;
  const double sE = static_cast<double>(sinE_), cE = static_cast<double>(cosE_);
  const double sR = static_cast<double>(sinR_), cR = static_cast<double>(cosR_);
  const double sT = static_cast<double>(sinT_), cT = static_cast<double>(cosT_);
  c2s3_ = cR * sT;
  c2c3_ = std::max(cR * cT, 1e-5);
  tempXX_ = std::max(sE * sR * sT + cE * cT, 1e-5);
  tempYX_ = cT * sE * sR - cE * sT;
  tempXZ_ = cE * sR * sT - cT * sE;
  tempYZ_ = cE * cT * sR + sE * sT;
}

void TPlotCanvas3D::SetProjectionCenter(int depth, const TRect& rect) {
  xCenter_ = (rect.left + rect.right) / 2 + Round(RotationCenter.x);
  yCenter_ = (rect.top + rect.bottom) / 2 + Round(RotationCenter.y);
  zCenter_ = Round(depth * 0.5 + RotationCenter.z);
  xCenterOffset_ = xCenter_;
  yCenterOffset_ = yCenter_;
  if (options_) {
    xCenterOffset_ += options_->HorizOffset();
    yCenterOffset_ += options_->VertOffset();
    hasPerspective_ = options_->Perspective() > 0;
    perspectiveFactor_ = options_->Perspective() * zoomFactor_ / 150.0 / std::max(1, rect.Width());
  }
}

TPoint TPlotCanvas3D::ProjectPointF(double x, double y, int z) {
  if (!is3D_) return TPoint{Round(x), Round(y)};
  if (isOrthogonal_) {
    return TPoint{Round((x - xCenter_ + z * orthoX_) * zoomFactor_ + xCenterOffset_),
                  Round((y - yCenter_ - z * orthoY_) * zoomFactor_ + yCenterOffset_)};
  }
  const long double x0 = x - xCenter_, y0 = y - yCenter_, z0 = z - zCenter_;
  const long double g = z0 * cosR_ - x0 * sinR_;
  long double s = zoomFactor_;
  if (hasPerspective_) s = zoomFactor_ / ((cosE_ * g + y0 * sinE_) * perspectiveFactor_ + 1);
  const long double c = x0 * cosR_ + z0 * sinR_;
  if (hasTilt_) {
    const long double h = y0 * cosE_ - sinE_ * g;
    return TPoint{Round(static_cast<double>(s * (cosT_ * c - sinT_ * h)) + xCenterOffset_),
                  Round(static_cast<double>(s * (h * cosT_ + c * sinT_)) + yCenterOffset_)};
  }
  return TPoint{Round(static_cast<double>(s * c) + xCenterOffset_),
                Round(static_cast<double>(s * (y0 * cosE_ - g * sinE_)) + yCenterOffset_)};
}

TPoint TPlotCanvas3D::ProjectPoint(int x, int y, int z) { return ProjectPointF(x, y, z); }

void TPlotCanvas3D::UnprojectPoint(int& x, int& y, int z) {
  if (zoomFactor_ == 0 || !is3D_) return;
  const double k = 1 / zoomFactor_;
  if (isOrthogonal_) {
    const int px = x, py = y;
    x = Round(k * (px - xCenterOffset_) - z * orthoX_) + xCenter_;
    y = Round(k * (py - yCenterOffset_) + z * orthoY_) + yCenter_;
    return;
  }
  // The rotated projection solved for (x0, y0) at the given depth: undoing the tilt gives
  // s * c and s * h, and with s = zoom / D the three equations in x0, y0 and D are linear.
  const long double sE = sinE_, cE = cosE_, sR = sinR_, cR = cosR_, sT = sinT_, cT = cosT_;
  const long double z0 = z - zCenter_;
  const long double X = x - xCenterOffset_, Y = y - yCenterOffset_;
  const long double a = (cT * X + sT * Y) / zoomFactor_, b = (cT * Y - sT * X) / zoomFactor_;
  const long double f = hasPerspective_ ? perspectiveFactor_ : 0;
  // m * (x0, y0, D) = v
  const long double m[3][3] = {{cR, 0, -a}, {sR * sE, cE, -b}, {f * cE * sR, -f * sE, 1}};
  const long double v[3] = {-z0 * sR, z0 * cR * sE, 1 + f * cE * cR * z0};
  auto det3 = [](const long double (&q)[3][3]) {
    return q[0][0] * (q[1][1] * q[2][2] - q[1][2] * q[2][1]) - q[0][1] * (q[1][0] * q[2][2] - q[1][2] * q[2][0]) +
           q[0][2] * (q[1][0] * q[2][1] - q[1][1] * q[2][0]);
  };
  const long double det = det3(m);
  if (std::fabs(static_cast<double>(det)) < 1e-12) return;
  long double mx[3][3], my[3][3];
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      mx[r][c] = c == 0 ? v[r] : m[r][c];
      my[r][c] = c == 1 ? v[r] : m[r][c];
    }
  }
  x = Round(static_cast<double>(det3(mx) / det)) + xCenter_;
  y = Round(static_cast<double>(det3(my) / det)) + yCenter_;
}

void TPlotCanvas3D::SuspendProjection() {
  savedIs3D_ = is3D_;
  is3D_ = false;
}

void TPlotCanvas3D::ResumeProjection() { is3D_ = savedIs3D_; }

void TPlotCanvas3D::BeginFlatDrawing() {
  if (flatCount_ == 0) SuspendProjection();
  ++flatCount_;
}

void TPlotCanvas3D::EndFlatDrawing() {
  if (flatCount_ <= 0) return;
  if (--flatCount_ == 0) ResumeProjection();
}

// ---- Points and lines at depth ------------------------------------------------------------

platform::ColorRef TPlotCanvas3D::GetPixel3D(int x, int y, int z) {
  const TPoint p = ProjectPoint(x, y, z);
  return GetPixel(p.x, p.y);
}

void TPlotCanvas3D::SetPixel3D(int x, int y, int z, TColor color) {
  const TPoint p = ProjectPoint(x, y, z);
  if (Pen().Width() == 1) {
    SetPixel(p.x, p.y, color);
    return;
  }
  Pen().SetColor(color);
  MoveTo(p.x, p.y);
  LineTo(p.x, p.y);
}

void TPlotCanvas3D::MoveTo3D(int x, int y, int z) {
  const TPoint p = ProjectPoint(x, y, z);
  MoveTo(p.x, p.y);
}

void TPlotCanvas3D::LineTo3D(int x, int y, int z) {
  const TPoint p = ProjectPoint(x, y, z);
  LineTo(p.x, p.y);
}

void TPlotCanvas3D::DrawLineAtZ(int x0, int y0, int x1, int y1, int z) {
  MoveTo3D(x0, y0, z);
  LineTo3D(x1, y1, z);
}

void TPlotCanvas3D::DrawHorizLine3D(int x0, int x1, int y, int z) { DrawLineAtZ(x0, y, x1, y, z); }
void TPlotCanvas3D::DrawVertLine3D(int x, int y0, int y1, int z) { DrawLineAtZ(x, y0, x, y1, z); }

void TPlotCanvas3D::DrawDepthLine(int x, int y, int z0, int z1) {
  MoveTo3D(x, y, z0);
  LineTo3D(x, y, z1);
}

// ---- Polygons at depth --------------------------------------------------------------------

void TPlotCanvas3D::PolygonAt(std::span<const TPoint3D> points) {
  std::vector<TPoint> projected;
  projected.reserve(points.size());
  for (const TPoint3D& p : points) projected.push_back(ProjectPoint(p.x, p.y, p.z));
  DrawPolygon(projected);
}

void TPlotCanvas3D::DrawPolygonAtZ(std::span<const TPoint> points, int z) {
  std::vector<TPoint> projected;
  projected.reserve(points.size());
  for (const TPoint& p : points) projected.push_back(ProjectPoint(p.x, p.y, z));
  DrawPolygon(projected);
}

void TPlotCanvas3D::DrawPolylineAtZ(std::span<const TPoint> points, int z) {
  std::vector<TPoint> projected;
  projected.reserve(points.size());
  for (const TPoint& p : points) projected.push_back(ProjectPoint(p.x, p.y, z));
  DrawPolyline(projected);
}

void TPlotCanvas3D::DrawQuadAtZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) {
  const TPoint q[4] = {p1, p2, p3, p4};
  DrawPolygonAtZ(q, z);
}

void TPlotCanvas3D::DrawPlane3D(TPoint p1, TPoint p2, int z0, int z1) {
  const TPoint3D q[4] = {{p1.x, p1.y, z1}, {p2.x, p2.y, z1}, {p2.x, p2.y, z0}, {p1.x, p1.y, z0}};
  PolygonAt(q);
}

void TPlotCanvas3D::DrawQuadBetween(const std::array<TPoint, 4>& p, int z0, int z1) {
  const TPoint3D q[4] = {{p[0].x, p[0].y, z0}, {p[1].x, p[1].y, z0}, {p[2].x, p[2].y, z1}, {p[3].x, p[3].y, z1}};
  PolygonAt(q);
}

void TPlotCanvas3D::DrawRectAtZ(const TRect& r, int z) {
  const std::array<TPoint, 4> c = ProjectRectCorners(r, z);
  DrawPolygon(c);
}

void TPlotCanvas3D::DrawHorizPlaneRect(int x0, int y, int z0, int x1, int z1) {
  const TPoint3D q[4] = {{x0, y, z0}, {x1, y, z0}, {x1, y, z1}, {x0, y, z1}};
  PolygonAt(q);
}

void TPlotCanvas3D::DrawSidePlaneRect(int x, int y0, int z0, int y1, int z1) {
  const TPoint3D q[4] = {{x, y0, z0}, {x, y0, z1}, {x, y1, z1}, {x, y1, z0}};
  PolygonAt(q);
}

void TPlotCanvas3D::DrawTriangleAtZ(TPoint p1, TPoint p2, TPoint p3, int z) {
  const TPoint t[3] = {p1, p2, p3};
  DrawPolygonAtZ(t, z);
}

void TPlotCanvas3D::DrawTriangle3D(TPoint3D p0, TPoint3D p1, TPoint3D p2, TColor color) {
  if (Brush().Style() != BrushStyle::Clear) Brush().SetColor(color);
  const TPoint3D t[3] = {p0, p1, p2};
  PolygonAt(t);
}

void TPlotCanvas3D::DrawQuadPoints() { DrawPolygon(QuadPoints); }

// ---- Clip ---------------------------------------------------------------------------------

void TPlotCanvas3D::ClipCube(const TRect& r, int z0, int z1) {
  if (!is3D_) {
    ClipRectangle(TRect{r.left + 1, r.top + 1, r.right, r.bottom - 1});
    return;
  }
  std::vector<TPoint> corners;
  for (int z : {z0, z1}) {
    for (const TPoint& p : ProjectRectCorners(r, z)) corners.push_back(p);
  }
  ConvexHull(corners);
  ClipPolygon(corners);
}

// ---- Boxes, pyramids, cylinders and cones -------------------------------------------------

void TPlotCanvas3D::RestoreFaceColor(TColor base) {
  if (Brush().Style() == BrushStyle::Solid) {
    Brush().SetColor(base);
  } else {
    SetBackColor(base);
  }
}

void TPlotCanvas3D::FaceAt(std::span<const TPoint3D> points, bool darken, TColor base, int amount) {
  if (darken) {
    ApplyDark(base, amount);
  } else {
    RestoreFaceColor(base);
  }
  PolygonAt(points);
}

namespace {

// Whether the face (its first three corners projected) turns its front to the viewer.
template <class Canvas>
bool Faces(Canvas& canvas, std::span<const TPoint3D> face) {
  const TPoint a = canvas.ProjectPoint(face[0].x, face[0].y, face[0].z);
  const TPoint b = canvas.ProjectPoint(face[1].x, face[1].y, face[1].z);
  const TPoint c = canvas.ProjectPoint(face[2].x, face[2].y, face[2].z);
  return !IsBackFacing(a, b, c);
}

}  // namespace

void TPlotCanvas3D::DrawBox3D(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) {
  const bool clear = Brush().Style() == BrushStyle::Clear;
  const TColor base = Brush().Style() == BrushStyle::Solid ? Brush().Color() : GetBackColor();
  const TPoint3D p0{left, top, z0}, p1{right, top, z0}, p2{right, bottom, z0}, p3{left, bottom, z0};
  const TPoint3D p4{left, top, z1}, p5{right, top, z1}, p6{right, bottom, z1}, p7{left, bottom, z1};
  // Each face lists its corners so that its first three turn the same way when seen from
  // outside the box.
  const TPoint3D front[4] = {p1, p0, p3, p2}, back[4] = {p4, p5, p6, p7};
  const TPoint3D leftFace[4] = {p0, p4, p7, p3}, rightFace[4] = {p5, p1, p2, p6};
  const TPoint3D topFace[4] = {p1, p5, p4, p0}, bottomFace[4] = {p7, p6, p2, p3};
  auto pair = [&](const TPoint3D(&a)[4], const TPoint3D(&b)[4], int amount) {
    const bool dark = darkSides && amount > 0;
    if (clear) {
      FaceAt(a, dark, base, amount);
      FaceAt(b, dark, base, amount);
    } else if (Faces(*this, a)) {
      FaceAt(a, dark, base, amount);
    } else {
      FaceAt(b, dark, base, amount);
    }
  };
  pair(front, back, 0);
  pair(leftFace, rightFace, 128);
  pair(topFace, bottomFace, 64);
  RestoreFaceColor(base);
}

void TPlotCanvas3D::DrawPyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                                bool darkSides) {
  const bool clear = Brush().Style() == BrushStyle::Clear;
  const TColor base = Brush().Style() == BrushStyle::Solid ? Brush().Color() : GetBackColor();
  const int zc = (z0 + z1) / 2;
  auto face = [&](std::span<const TPoint3D> points, int amount) {
    if (clear || Faces(*this, points)) FaceAt(points, darkSides, base, amount);
  };
  // The base rectangle at the near end (bottom, or left for a lying pyramid), the apex in the
  // middle of the far end.
  const TPoint3D b0 = vertical ? TPoint3D{left, bottom, z0} : TPoint3D{left, top, z0};
  const TPoint3D b1 = vertical ? TPoint3D{right, bottom, z0} : TPoint3D{left, bottom, z0};
  const TPoint3D b2 = vertical ? TPoint3D{right, bottom, z1} : TPoint3D{left, bottom, z1};
  const TPoint3D b3 = vertical ? TPoint3D{left, bottom, z1} : TPoint3D{left, top, z1};
  const TPoint3D apex = vertical ? TPoint3D{(left + right) / 2, top, zc} : TPoint3D{right, (top + bottom) / 2, zc};
  const TPoint3D f0[3] = {b0, b1, apex}, f1[3] = {b2, b3, apex}, f2[3] = {b3, b0, apex}, f3[3] = {b1, b2, apex};
  const TPoint3D floor[4] = {b0, b3, b2, b1};
  face(floor, 64);
  face(f0, 128);
  face(f1, 128);
  face(f2, 128);
  face(f3, 128);
  RestoreFaceColor(base);
}

void TPlotCanvas3D::DrawPyramidCut(const TRect& rect, int z0, int z1, int cutX, int cutZ, bool darkSides) {
  const bool clear = Brush().Style() == BrushStyle::Clear;
  const TColor base = Brush().Style() == BrushStyle::Solid ? Brush().Color() : GetBackColor();
  const int xc = (rect.left + rect.right) / 2, zc = (z0 + z1) / 2;
  const int tl = xc - cutX, tr = xc + cutX, tz0 = zc - cutZ, tz1 = zc + cutZ;
  const TPoint3D p0{tl, rect.top, tz0}, p1{tr, rect.top, tz0}, p2{rect.right, rect.bottom, z0},
      p3{rect.left, rect.bottom, z0};
  const TPoint3D p4{tl, rect.top, tz1}, p5{tr, rect.top, tz1}, p6{rect.right, rect.bottom, z1},
      p7{rect.left, rect.bottom, z1};
  const TPoint3D front[4] = {p1, p0, p3, p2}, back[4] = {p4, p5, p6, p7};
  const TPoint3D leftFace[4] = {p0, p4, p7, p3}, rightFace[4] = {p5, p1, p2, p6};
  const TPoint3D topFace[4] = {p1, p5, p4, p0}, bottomFace[4] = {p7, p6, p2, p3};
  auto face = [&](std::span<const TPoint3D> points, int amount) {
    if (clear || Faces(*this, points)) FaceAt(points, darkSides, base, amount);
  };
  face(bottomFace, 64);
  face(back, 128);
  face(leftFace, 128);
  face(rightFace, 128);
  face(front, 128);
  face(topFace, 64);
  RestoreFaceColor(base);
}

void TPlotCanvas3D::RoundBody(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                              bool darkSides, int percent) {
  const bool clear = Brush().Style() == BrushStyle::Clear;
  const TColor base = Brush().Style() == BrushStyle::Solid ? Brush().Color() : GetBackColor();
  const int acrossCenter = vertical ? (left + right) / 2 : (top + bottom) / 2;
  const int radius = vertical ? (right - left) / 2 : (bottom - top) / 2;
  const int depthCenter = (z0 + z1) / 2, depthRadius = (z1 - z0) / 2;
  const int farRadius = Round(radius * percent / 100.0), farDepthRadius = Round(depthRadius * percent / 100.0);
  const int nearAxis = vertical ? bottom : left, farAxis = vertical ? top : right;
  const int offset = vertical ? 3 : 4;
  auto point = [&](int axis, int across, int depth) {
    return vertical ? TPoint3D{acrossCenter + across, axis, depth} : TPoint3D{axis, acrossCenter + across, depth};
  };
  std::array<TPoint3D, kCylinderSides> nearRing, farRing;
  for (int k = 0; k < kCylinderSides; ++k) {
    const double a = (k + offset) * 2 * std::numbers::pi / kCylinderSides;
    nearRing[k] = point(nearAxis, Round(std::sin(a) * radius), depthCenter - Round(std::cos(a) * depthRadius));
    farRing[k] = point(farAxis, Round(std::sin(a) * farRadius), depthCenter - Round(std::cos(a) * farDepthRadius));
  }
  // The side quads are filled without the pen, so that the round side shows no seams; the pen
  // then outlines the side's own edges: its ends along both rings and, where the side turns
  // away, the line from ring to ring.
  std::array<bool, kCylinderSides> shown{};
  for (int k = 0; k < kCylinderSides; ++k) {
    const int n = (k + 1) % kCylinderSides;
    const TPoint3D side[4] = {nearRing[k], nearRing[n], farRing[n], farRing[k]};
    shown[k] = clear || Faces(*this, side);
  }
  const PenStyle penStyle = Pen().Style();
  if (!clear) {
    Pen().SetStyle(PenStyle::Clear);
    for (int k = 0; k < kCylinderSides; ++k) {
      const int n = (k + 1) % kCylinderSides;
      const TPoint3D side[4] = {nearRing[k], nearRing[n], farRing[n], farRing[k]};
      if (shown[k]) FaceAt(side, darkSides, base, 8 * k);
    }
    Pen().SetStyle(penStyle);
  }
  if (penStyle != PenStyle::Clear) {
    auto line = [&](const TPoint3D& a, const TPoint3D& b) {
      const TPoint pa = ProjectPoint(a.x, a.y, a.z), pb = ProjectPoint(b.x, b.y, b.z);
      MoveTo(pa.x, pa.y);
      LineTo(pb.x, pb.y);
    };
    for (int k = 0; k < kCylinderSides; ++k) {
      if (!shown[k]) continue;
      const int n = (k + 1) % kCylinderSides;
      line(nearRing[k], nearRing[n]);
      line(farRing[k], farRing[n]);
      if (!shown[(k + kCylinderSides - 1) % kCylinderSides]) line(nearRing[k], farRing[k]);
      if (!shown[n]) line(nearRing[n], farRing[n]);
    }
  }
  if (farRadius != 0 || farDepthRadius != 0) FaceAt(farRing, darkSides, base, 64);
  RestoreFaceColor(base);
}

void TPlotCanvas3D::DrawCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                                 bool darkSides) {
  RoundBody(vertical, left, top, right, bottom, z0, z1, darkSides, 100);
}

void TPlotCanvas3D::DrawCone(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                             bool darkSides, int conePercent) {
  RoundBody(vertical, left, top, right, bottom, z0, z1, darkSides, conePercent == 0 ? kDefaultConePercent : conePercent);
}

// ---- Ellipses, spheres and arrows ---------------------------------------------------------

void TPlotCanvas3D::DrawEllipse3D(int x1, int y1, int x2, int y2, int z) {
  if (!is3D_) {
    DrawEllipse(x1, y1, x2 + 1, y2 + 1);
    return;
  }
  if (isOrthogonal_) {
    const TPoint a = ProjectPoint(x1, y1, z), b = ProjectPoint(x2, y2, z);
    DrawEllipse(a.x, a.y, b.x, b.y);
    return;
  }
  const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0, rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
  std::vector<TPoint> ring;
  ring.reserve(64);
  for (int i = 0; i < 64; ++i) {
    const double a = i * 2 * std::numbers::pi / 63;
    ring.push_back(ProjectPointF(cx + rx * std::cos(a), cy - ry * std::sin(a), z));
  }
  const PenStyle penStyle = Pen().Style();
  if (Brush().Style() != BrushStyle::Clear) {
    // The fan from the centre covers what the ring encloses.
    Pen().SetStyle(PenStyle::Clear);
    DrawPolygon(ring);
    Pen().SetStyle(penStyle);
  }
  if (penStyle != PenStyle::Clear) DrawPolyline(ring);
}

void TPlotCanvas3D::DrawSphere(int x, int y, int z, double radius) {
  const int r = Round(radius);
  DrawEllipse3D(x - r, y - r, x + r, y + r, z);
}

void TPlotCanvas3D::DrawArrow(bool filled, TPoint from, int bodyPercent, int z, int headLength, int headWidth,
                              TPoint to) {
  const double dx = to.x - from.x, dy = to.y - from.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length <= 0) return;
  const double l = std::min<double>(headLength, Round(length));
  // The arrow's own frame: u along the shaft, v across it.
  const double ux = dx / length, uy = dy / length, vx = -uy, vy = ux;
  auto at = [&](double along, double across) {
    return ProjectPointF(from.x + ux * along + vx * across, from.y + uy * along + vy * across, z);
  };
  const double base = length - l, half = headWidth / 2.0;
  if (!filled) {
    const TPoint a = ProjectPoint(from.x, from.y, z), tip = ProjectPoint(to.x, to.y, z);
    const TPoint minus = at(base, -half), plus = at(base, half);
    DrawLine(a.x, a.y, tip.x, tip.y);
    DrawLine(tip.x, tip.y, minus.x, minus.y);
    DrawLine(tip.x, tip.y, plus.x, plus.y);
    return;
  }
  const double body = headWidth * bodyPercent / 200.0;
  const TPoint polygon[7] = {at(0, body), at(0, -body), at(base, -body), at(base, -half),
                             ProjectPoint(to.x, to.y, z), at(base, half), at(base, body)};
  DrawPolygon(polygon);
}

// ---- Texts at depth -----------------------------------------------------------------------

void TPlotCanvas3D::DrawText3D(int x, int y, int z, const std::string& text) {
  const TPoint p = ProjectPoint(x, y, z);
  platform::LogFont zoomed = Font().GetLogFont();
  if (!ZoomedFont(zoomed)) {
    DrawText2D(p.x, p.y, text);
    return;
  }
  const platform::LogFont saved = Font().GetLogFont();
  Font().SetLogFont(zoomed);
  DrawText2D(p.x, p.y, text);
  Font().SetLogFont(saved);
}

void TPlotCanvas3D::DrawRotatedText3D(int x, int y, int z, const std::string& text, double angle) {
  const TPoint p = ProjectPoint(x, y, z);
  DrawRotatedText(p.x, p.y, text, angle);
}

// ---- Pie slices ---------------------------------------------------------------------------

void TPlotCanvas3D::DrawPieSlice3D(int xc, int yc, int holePercent, TPieSides sides, bool darkSides, double endAngle,
                                   double startAngle, int z0, int z1, int yRadius, int xRadius,
                                   TCustomPlotGradient* gradient) {
  const double sweepDegrees = std::fabs(endAngle - startAngle) / kDegree;
  const int n = std::min(94, Round(sweepDegrees / 2)) + 2;
  const double step = (endAngle - startAngle) / (n - 1);
  const TColor base = Brush().Style() == BrushStyle::Solid ? Brush().Color() : GetBackColor();
  auto arc = [&](double rx, double ry, int z) {
    std::vector<TPoint> points;
    points.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      const double a = startAngle + step * i;
      points.push_back(ProjectPointF(xc + rx * std::cos(a), yc - ry * std::sin(a), z));
    }
    return points;
  };
  const std::vector<TPoint> front = arc(xRadius, yRadius, z0), back = arc(xRadius, yRadius, z1);
  const bool hole = holePercent > 0;
  const double ix = xRadius * holePercent / 100.0, iy = yRadius * holePercent / 100.0;
  std::vector<TPoint> innerFront, innerBack;
  auto shade = [&](int amount) {
    if (darkSides) {
      ApplyDark(base, amount);
    } else {
      RestoreFaceColor(base);
    }
  };
  if (hole) {
    innerFront = arc(ix, iy, z0);
    innerBack = arc(ix, iy, z1);
    std::vector<TPoint> wall(innerFront);
    wall.insert(wall.end(), innerBack.rbegin(), innerBack.rend());
    shade(32);
    DrawPolygon(wall);
  }
  if (sides != psNoSides) {
    // The radial faces asked for, each drawn only when it turns its outer side (away from the
    // slice) to the viewer. Listed from the axis out at the near depth, then back, the end
    // face turns like the faces of a box seen from outside; the start face the other way round.
    const TPoint c0 = ProjectPoint(xc, yc, z0), c1 = ProjectPoint(xc, yc, z1);
    const bool forward = endAngle >= startAngle;
    auto side = [&](size_t i, bool atEnd) {
      const TPoint a0 = hole ? innerFront[i] : c0, a1 = hole ? innerBack[i] : c1;
      const TPoint quad[4] = {a0, front[i], back[i], a1};
      const bool outward = atEnd == forward;
      if (outward ? IsBackFacing(a0, front[i], back[i]) : IsBackFacing(back[i], front[i], a0)) return;
      shade(32);
      DrawPolygon(quad);
    };
    if (sides & psEndSide) side(front.size() - 1, true);
    if (sides & psStartSide) side(0, false);
  }
  RestoreFaceColor(base);
  std::vector<TPoint> top;
  if (hole) {
    top = front;
    top.insert(top.end(), innerFront.rbegin(), innerFront.rend());
  } else {
    top.push_back(ProjectPoint(xc, yc, z0));
    top.insert(top.end(), front.begin(), front.end());
  }
  if (gradient && gradient->Visible()) {
    ClipPolygon(top);
    gradient->PaintRect(*this, PolygonBounds(top));
    Unclip();
  } else {
    DrawPolygon(top);
  }
  // The outer wall shows where the arc runs to the right on the screen.
  size_t i = 1;
  while (i < front.size()) {
    if (front[i].x <= front[i - 1].x) {
      ++i;
      continue;
    }
    const size_t first = i - 1;
    while (i < front.size() && front[i].x > front[i - 1].x) ++i;
    std::vector<TPoint> wall(front.begin() + static_cast<std::ptrdiff_t>(first), front.begin() + static_cast<std::ptrdiff_t>(i));
    wall.insert(wall.end(), std::make_reverse_iterator(back.begin() + static_cast<std::ptrdiff_t>(i)),
                std::make_reverse_iterator(back.begin() + static_cast<std::ptrdiff_t>(first)));
    shade(32);
    DrawPolygon(wall);
  }
  RestoreFaceColor(base);
}

}  // namespace chart
